#include "gui/workspace/commandbarcommands.h"

#include "core/app/shell.h"
#include "core/search/textsearch.h"
#include "core/workspace/commandtree.h"
#include "core/workspace/gotolist.h"
#include "gui/controls/commands.h"
#include "gui/controls/menutreectrl.h"
#include "gui/documents/childfrm.h"
#include "gui/editor/scriptview.h"
#include "gui/workspace/commanddlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Items are made with their children before the tree sees any of them, so
// the tree takes the whole dictionary in one insertion.
QTreeWidgetItem* MakeItem(const SCommandNode& node)
{
    auto* pItem = new QTreeWidgetItem(QStringList{node.sText});
    if (!node.children.isEmpty()) {
        QList<QTreeWidgetItem*> children;
        children.reserve(node.children.size());
        for (const SCommandNode& child : node.children)
            children.append(MakeItem(child));
        pItem->addChildren(children);
    }
    return pItem;
}

// The presses that open a closed drop-down list; the list must be filled
// before it opens, since it sizes itself, and does not open at all, by what
// it holds.
bool OpensPopup(const QEvent* pEvent)
{
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent*>(pEvent)->button() == Qt::LeftButton;
    case QEvent::KeyPress: {
        const auto* pKey = static_cast<const QKeyEvent*>(pEvent);
        switch (pKey->key()) {
        case Qt::Key_F4:
        case Qt::Key_Space:
        case Qt::Key_Select:
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            return pKey->modifiers().testFlag(Qt::AltModifier);
        default:
            return false;
        }
    }
    default:
        return false;
    }
}

}  // namespace

CCommandBarCommands::CCommandBarCommands(const SWorkspaceServices& services)
    : QObject(&services.bar)
    , m_services(services)
    , m_pGoto(services.bar.GotoList())
{
    CMenuTreeCtrl* pTree = m_services.bar.CommandsTree();
    // Weapons hold their magazines, so an item with children is as much an
    // entry as one without; only the categories have no menu.
    pTree->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Root ? QList<SMenuEntry>() : CommandItemMenu();
        },
        m_services.showMenu);
    connect(pTree, &QTreeWidget::itemDoubleClicked, this, [this] { OnInsertCommand(); });
    connect(pTree, &QTreeWidget::currentItemChanged, this, [this] { m_services.commands.Refresh(); });

    m_services.commands.Bind(
        ECommand::InsertCommand, [this] { OnInsertCommand(); }, [this] { return CanInsertCommand(); });
    m_services.commands.Bind(
        ECommand::GetCommandHelp, [this] { OnGetCommandHelp(); }, [this] { return CanGetCommandHelp(); });

    QComboBox* pGoto = m_pGoto;
    pGoto->installEventFilter(this);
    connect(pGoto, &QComboBox::activated, this, [this, pGoto](int nIndex) { GoTo(pGoto->itemText(nIndex)); });
}

void CCommandBarCommands::BuildCommandsTree()
{
    const QList<SCommandNode> nodes = CommandTree::Build(m_services.dictionary);
    QList<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    for (const SCommandNode& node : nodes)
        items.append(MakeItem(node));
    CMenuTreeCtrl* pTree = m_services.bar.CommandsTree();
    pTree->clear();
    pTree->insertTopLevelItems(0, items);
    m_services.commands.Refresh();
}

QTreeWidgetItem* CCommandBarCommands::SelectedItem() const
{
    return m_services.bar.CommandsTree()->currentItem();
}

CScriptView* CCommandBarCommands::ActiveView() const
{
    const CChildFrame* pFrame = m_services.activeFrame ? m_services.activeFrame() : nullptr;
    return pFrame ? pFrame->View() : nullptr;
}

bool CCommandBarCommands::CanInsertCommand() const
{
    const QTreeWidgetItem* pItem = SelectedItem();
    return pItem && pItem->parent();
}

bool CCommandBarCommands::CanGetCommandHelp() const
{
    const QTreeWidgetItem* pItem = SelectedItem();
    return pItem && pItem->parent() && pItem->parent() == m_services.bar.CommandsTree()->topLevelItem(0);
}

void CCommandBarCommands::OnInsertCommand()
{
    const QTreeWidgetItem* pItem = SelectedItem();
    if (!pItem || !pItem->parent())
        return;
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    // Exactly as shown: a command bare, every other name already quoted.
    pView->InsertText(pItem->text(0), true);
}

void CCommandBarCommands::OnGetCommandHelp()
{
    const QTreeWidgetItem* pItem = SelectedItem();
    if (!pItem)
        return;
    const QString sAddress = CommandTree::HelpAddress(pItem->text(0));
    if (!sAddress.isEmpty())
        m_services.shell.OpenUrl(sAddress);
}

void CCommandBarCommands::FillGotoList()
{
    QComboBox* pGoto = m_pGoto;
    pGoto->clear();
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    // A completion on offer is no text of the document yet.
    pView->Document().SettleText();
    pGoto->addItems(GotoList::Entries(pView->Document().PlainText(), pView->FileType()));
    // Nothing is chosen merely by opening the list.
    pGoto->setCurrentIndex(-1);
}

void CCommandBarCommands::GoTo(const QString& sEntry)
{
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    CEditBuffer& doc = pView->Document();
    doc.SettleText();
    const QString sText = doc.PlainText();
    const int nEnd = int(sText.size());
    // The search runs back from the end, so the caret stays there when the
    // entry is no longer in the text.
    pView->SetSelection(nEnd, nEnd);
    const STextMatch match = TextSearch::FindNext(sText, sEntry, nEnd, {.bWholeWord = true, .bForward = false});
    if (match.IsFound())
        pView->SetSelection(match.nStart, match.End());
    pView->ensureCursorVisible();
    pView->setFocus();
}

bool CCommandBarCommands::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pGoto && OpensPopup(pEvent))
        FillGotoList();
    return QObject::eventFilter(pWatched, pEvent);
}
