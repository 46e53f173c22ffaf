#include "gui/workspace/projectcommands.h"

#include "core/data/projectmodel.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"
#include "gui/workspace/projecttree.h"

CProjectCommands::CProjectCommands(const SWorkspaceServices& services)
    : QObject(&services.bar)
    , m_services(services)
    , m_pTree(std::make_unique<CProjectTree>(*services.bar.ProjectTree()))
{
    CProjectModel& project = m_services.project;
    project.SetTree(m_pTree.get());
    using EKind = CMenuTreeCtrl::EItemKind;
    m_services.bar.ProjectTree()->SetMenus(
        [](EKind eKind) { return eKind == EKind::Root ? ProjectBackgroundMenu() : ProjectFileMenu(); },
        m_services.showMenu);
    // A project file opens with a double click.
    connect(m_services.bar.ProjectTree(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* pItem) {
        const HTreeItem hItem = m_pTree->HandleOf(pItem);
        if (hItem != kRootTreeItem)
            m_services.project.OpenProjectFile(hItem);
    });
}

CProjectCommands::~CProjectCommands()
{
    m_services.project.SetTree(nullptr);
}
