#pragma once

#include "core/frame/commandtable.h"

#include <QTreeWidget>

#include <functional>

// A tree that selects the item under a right click and offers the context
// menu for that kind of item; a click on empty space does neither.
class CMenuTreeCtrl : public QTreeWidget
{
    Q_OBJECT
public:
    enum class EItemKind { Root, Parent, Leaf };
    // The menu for a kind of item; an empty list shows nothing.
    using MenuFor = std::function<QList<SMenuEntry>(EItemKind)>;
    using ShowMenu = std::function<void(const QList<SMenuEntry>&, const QPoint& ptGlobal)>;

    explicit CMenuTreeCtrl(QWidget* pParent = nullptr);
    void SetMenus(MenuFor menuFor, ShowMenu showMenu);
    static EItemKind KindOf(const QTreeWidgetItem* pItem);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    QPoint m_ptRightClick;
    bool m_bRightPressOnItem = false;
    MenuFor m_menuFor;
    ShowMenu m_showMenu;
};
