#include "gui/workspace/snippetcommands.h"

#include "core/app/datapaths.h"
#include "core/app/prompter.h"
#include "core/data/filetype.h"
#include "gui/controls/commands.h"
#include "gui/controls/imagelist.h"
#include "gui/controls/menutreectrl.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/editor/scriptview.h"
#include "gui/workspace/commanddlg.h"

#include <QAction>

namespace {

const QString kRootText = QStringLiteral("Snippet List");
const QString kFileError = QStringLiteral("FILE ERROR");

}  // namespace

CSnippetCommands::CSnippetCommands(const SWorkspaceServices& services) : QObject(&services.bar), m_services(services)
{
    // Every snippet command works on a snippet, so the root offers none.
    Tree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Leaf ? SnippetItemMenu() : QList<SMenuEntry>();
        },
        m_services.showMenu);
    BindCommands();
    connect(Tree(), &QTreeWidget::currentItemChanged, this, [this] { m_services.commands.Refresh(); });
    connect(Tree(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* pItem) {
        if (pItem->parent())
            m_services.commands.Action(ECommand::InsertSnippet)->trigger();
    });
}

void CSnippetCommands::BindCommands()
{
    CCommands& commands = m_services.commands;
    const auto snippetChosen = [this] { return !CurrentSnippet().isEmpty(); };
    commands.Bind(
        ECommand::SaveSnippet, [this] { OnSaveSnippet(); },
        [this] {
            const CScriptView* pView = ActiveView();
            return pView && pView->Selection().first != pView->Selection().second;
        });
    commands.Bind(
        ECommand::InsertSnippet, [this] { OnInsertSnippet(); }, snippetChosen);
    commands.Bind(
        ECommand::EditSnippet, [this] { OnEditSnippet(); }, snippetChosen);
    commands.Bind(ECommand::RenameSnippet, [this] { OnRenameSnippet(); });
    commands.Bind(
        ECommand::DeleteSnippet, [this] { OnDeleteSnippet(); }, snippetChosen);
    // Del deletes a snippet only from the tree; in the editor it keeps deleting text.
    commands.BindKeyTo(ECommand::DeleteSnippet, Tree());
}

CMenuTreeCtrl* CSnippetCommands::Tree() const
{
    return m_services.bar.SnippetsTree();
}

CSnippetStore CSnippetCommands::Store() const
{
    return CSnippetStore(m_services.paths.m_sSnippetsPath);
}

CScriptView* CSnippetCommands::ActiveView() const
{
    const CChildFrame* pFrame = m_services.activeFrame();
    return pFrame ? pFrame->View() : nullptr;
}

QString CSnippetCommands::CurrentSnippet() const
{
    const QTreeWidgetItem* pItem = Tree()->currentItem();
    return pItem && pItem->parent() ? pItem->text(0) : QString();
}

void CSnippetCommands::RefreshSnippetList()
{
    RefreshSnippetList(QString());
}

void CSnippetCommands::RefreshSnippetList(const QString& sCurrent)
{
    CMenuTreeCtrl* pTree = Tree();
    pTree->clear();
    auto* pRoot = new QTreeWidgetItem(QStringList(kRootText));
    pRoot->setIcon(0, ImageListIcon(kImageSnippetsRoot));
    QList<QTreeWidgetItem*> items;
    QTreeWidgetItem* pCurrent = nullptr;
    const QIcon snippetIcon = ImageListIcon(kImageSnippet);
    for (const QString& sName : Store().Names()) {
        auto* pItem = new QTreeWidgetItem(QStringList(sName));
        pItem->setIcon(0, snippetIcon);
        items.append(pItem);
        if (sName == sCurrent)
            pCurrent = pItem;
    }
    pRoot->addChildren(items);
    pTree->addTopLevelItem(pRoot);
    pRoot->setExpanded(!items.isEmpty());
    if (pCurrent)
        pTree->setCurrentItem(pCurrent);
}

void CSnippetCommands::OnSaveSnippet()
{
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    const QString sTyped = m_services.prompter.GetName(QStringLiteral("New Snippet"), QString());
    if (sTyped.isEmpty())
        return;
    const CSnippetStore::SResult result = Store().Save(sTyped, pView->GetSelectedText());
    switch (result.eStatus) {
    case CSnippetStore::SResult::Nothing:
        return;
    case CSnippetStore::SResult::Failed:
        qWarning("Snippet %s not saved: %s", qPrintable(Store().PathOf(result.sName)), qPrintable(result.sError));
        m_services.prompter.ShowMessage(QStringLiteral("Error saving snippet file."), kFileError,
                                        IPrompter::EIcon::Error);
        return;
    case CSnippetStore::SResult::Done:
        RefreshSnippetList(result.sName);
        return;
    }
}

void CSnippetCommands::OnInsertSnippet()
{
    const QString sName = CurrentSnippet();
    if (sName.isEmpty())
        return;
    const QString sText = Store().ReadForInsertion(sName);
    CScriptView* pView = ActiveView();
    if (pView && !sText.isEmpty())
        pView->InsertText(sText, true);
}

void CSnippetCommands::OnEditSnippet()
{
    const QString sName = CurrentSnippet();
    if (!sName.isEmpty())
        m_services.documents.OpenDocumentFile(Store().PathOf(sName));
}

void CSnippetCommands::OnRenameSnippet()
{
    const QString sOld = CurrentSnippet();
    if (sOld.isEmpty())
        return;
    const QString sTyped = m_services.prompter.GetName(IPrompter::kNewName, sOld);
    if (sTyped.isEmpty())
        return;
    const CSnippetStore::SResult result = Store().Rename(sOld, sTyped);
    if (result.eStatus == CSnippetStore::SResult::Nothing)
        return;
    if (result.eStatus == CSnippetStore::SResult::Failed)
        m_services.prompter.ShowMessage(result.sError, kFileError, IPrompter::EIcon::Error);
    RefreshSnippetList(result.sName);
}

void CSnippetCommands::OnDeleteSnippet()
{
    const QString sName = CurrentSnippet();
    if (sName.isEmpty())
        return;
    Store().Delete(sName);
    RefreshSnippetList();
}
