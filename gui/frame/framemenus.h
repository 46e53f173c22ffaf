#pragma once

#include "core/frame/commandtable.h"

#include <QObject>

#include <functional>

class CCommands;
class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

// The main window's menu bar, tool bar and context menus, all built from
// the command table.
class CFrameMenus : public QObject
{
    Q_OBJECT
public:
    using ListFiller = std::function<void(QMenu*, SMenuEntry::EKind)>;

    CFrameMenus(CCommands& commands, QMainWindow& window, ListFiller fillList);

    QToolBar* CreateToolBar();
    // The no-document or the document menu bar; built again only when that changes.
    void BuildMenuBar(bool bDocuments);
    void ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal);
    // The menu bar's command with this menu text (without its accelerator).
    QAction* Action(const QString& sText) const;

private:
    CCommands& m_commands;
    QMainWindow& m_window;
    ListFiller m_fillList;
    int m_nMenuBarDocument = -1;  // which menu bar stands: 0 without, 1 with documents
};
