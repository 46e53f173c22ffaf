#include "gui/controls/menutreectrl.h"

#include <QMouseEvent>

CMenuTreeCtrl::CMenuTreeCtrl(QWidget* pParent) : QTreeWidget(pParent)
{
    setHeaderHidden(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
}

void CMenuTreeCtrl::SetMenus(MenuFor menuFor, ShowMenu showMenu)
{
    m_menuFor = std::move(menuFor);
    m_showMenu = std::move(showMenu);
}

CMenuTreeCtrl::EItemKind CMenuTreeCtrl::KindOf(const QTreeWidgetItem* pItem)
{
    if (!pItem->parent())
        return EItemKind::Root;
    return pItem->childCount() > 0 ? EItemKind::Parent : EItemKind::Leaf;
}

void CMenuTreeCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::RightButton) {
        QTreeWidget::mousePressEvent(pEvent);
        return;
    }
    QTreeWidgetItem* pItem = itemAt(pEvent->position().toPoint());
    m_bRightPressOnItem = pItem != nullptr;
    if (!pItem)
        return;
    setFocus();
    m_ptRightClick = pEvent->position().toPoint();
    setCurrentItem(pItem);
}

void CMenuTreeCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::RightButton) {
        QTreeWidget::mouseReleaseEvent(pEvent);
        return;
    }
    const QTreeWidgetItem* pItem = m_bRightPressOnItem ? itemAt(m_ptRightClick) : nullptr;
    m_bRightPressOnItem = false;
    if (!pItem || !m_menuFor || !m_showMenu)
        return;
    const QList<SMenuEntry> entries = m_menuFor(KindOf(pItem));
    if (!entries.isEmpty())
        m_showMenu(entries, viewport()->mapToGlobal(m_ptRightClick));
}
