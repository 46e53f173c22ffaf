#include "gui/workspace/projectcommands.h"

#include "core/data/projectmodel.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"
#include "gui/workspace/projecttree.h"

CProjectCommands::CProjectCommands(CCommandDlg& bar, CProjectModel& project, ShowMenu showMenu)
    : QObject(&bar)
    , m_project(project)
    , m_pTree(std::make_unique<CProjectTree>(*bar.ProjectTree()))
{
    m_project.SetTree(m_pTree.get());
    using EKind = CMenuTreeCtrl::EItemKind;
    bar.ProjectTree()->SetMenus(
        [](EKind eKind) { return eKind == EKind::Root ? ProjectBackgroundMenu() : ProjectFileMenu(); }, showMenu);
    bar.CommandsTree()->SetMenus(
        [](EKind eKind) { return eKind == EKind::Leaf ? CommandItemMenu() : QList<SMenuEntry>(); }, showMenu);
    bar.SnippetsTree()->SetMenus(
        [](EKind eKind) { return eKind == EKind::Leaf ? SnippetItemMenu() : QList<SMenuEntry>(); }, showMenu);
    // A project file opens with a double click.
    connect(bar.ProjectTree(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* pItem) {
        const HTreeItem hItem = m_pTree->HandleOf(pItem);
        if (hItem != kRootTreeItem)
            m_project.OpenProjectFile(hItem);
    });
}

CProjectCommands::~CProjectCommands()
{
    m_project.SetTree(nullptr);
}
