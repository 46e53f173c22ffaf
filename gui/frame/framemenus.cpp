#include "gui/frame/framemenus.h"

#include "gui/controls/commands.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

using C = ECommand;

CFrameMenus::CFrameMenus(CCommands& commands, QMainWindow& window, ListFiller fillList)
    : QObject(&window)
    , m_commands(commands)
    , m_window(window)
    , m_fillList(std::move(fillList))
{
}

QToolBar* CFrameMenus::CreateToolBar()
{
    auto* pToolBar = new QToolBar(QStringLiteral("Main Toolbar"), &m_window);
    pToolBar->setObjectName(QStringLiteral("MainToolbar"));
    pToolBar->setIconSize(QSize(16, 16));
    pToolBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    for (const SMenuEntry& entry : ToolBarButtons()) {
        if (entry.eKind == SMenuEntry::Separator) {
            pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = m_commands.Action(entry.eCommand);
        pToolBar->addAction(pAction);
        // New File and Find carry a drop-down arrow with their popup.
        if (entry.eCommand != C::FileNew && entry.eCommand != C::Find)
            continue;
        auto* pButton = qobject_cast<QToolButton*>(pToolBar->widgetForAction(pAction));
        auto* pPopup = new QMenu(pButton);
        m_commands.BuildMenu(pPopup, entry.eCommand == C::FileNew ? NewFileMenu() : FindMenu(), {});
        pButton->setMenu(pPopup);
        pButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    m_window.addToolBar(Qt::TopToolBarArea, pToolBar);
    return pToolBar;
}

void CFrameMenus::BuildMenuBar(bool bDocuments)
{
    const int nDocument = bDocuments ? 1 : 0;
    if (nDocument == m_nMenuBarDocument)
        return;
    m_nMenuBarDocument = nDocument;
    QMenuBar* pBar = m_window.menuBar();
    pBar->clear();
    for (const SMenu& menu : MenuBar(bDocuments)) {
        QMenu* pMenu = pBar->addMenu(QLatin1String(menu.pszTitle));
        m_commands.BuildMenu(pMenu, menu.entries, m_fillList);
    }
}

void CFrameMenus::ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal)
{
    m_commands.Refresh();
    QMenu menu(&m_window);
    m_commands.BuildMenu(&menu, entries, {});
    menu.exec(ptGlobal);
}

QAction* CFrameMenus::Action(const QString& sText) const
{
    // Only the menu bar's commands: document windows carry menus of their own.
    QList<QAction*> pending = m_window.menuBar()->actions();
    while (!pending.isEmpty()) {
        QAction* pAction = pending.takeFirst();
        if (pAction->text() == sText)
            return pAction;
        if (pAction->menu())
            pending += pAction->menu()->actions();
    }
    return nullptr;
}
