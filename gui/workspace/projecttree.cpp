#include "gui/workspace/projecttree.h"

#include "gui/controls/menutreectrl.h"
#include "gui/controls/imagelist.h"

void CProjectTree::ClearTree()
{
    m_tree.clear();
    m_pRoot = nullptr;
    m_items.clear();
}

void CProjectTree::SetRoot(const QString& sText, int nImage)
{
    m_pRoot = new QTreeWidgetItem(&m_tree, QStringList{sText});
    m_pRoot->setIcon(0, ImageListIcon(nImage));
    m_items.insert(kRootTreeItem, m_pRoot);
}

void CProjectTree::AddItem(HTreeItem hItem, const QString& sText, int nImage)
{
    if (!m_pRoot)
        return;
    auto* pItem = new QTreeWidgetItem(m_pRoot, QStringList{sText});
    pItem->setIcon(0, ImageListIcon(nImage));
    m_items.insert(hItem, pItem);
}

void CProjectTree::RemoveItem(HTreeItem hItem)
{
    delete m_items.take(hItem);
}

void CProjectTree::SetItemImage(HTreeItem hItem, int nImage)
{
    if (QTreeWidgetItem* pItem = m_items.value(hItem))
        pItem->setIcon(0, ImageListIcon(nImage));
}

void CProjectTree::SetItemText(HTreeItem hItem, const QString& sText)
{
    if (QTreeWidgetItem* pItem = m_items.value(hItem))
        pItem->setText(0, sText);
}

void CProjectTree::SetRootText(const QString& sText)
{
    if (m_pRoot)
        m_pRoot->setText(0, sText);
}

void CProjectTree::ExpandAndSelectRoot()
{
    if (!m_pRoot)
        return;
    m_pRoot->setExpanded(true);
    m_tree.setCurrentItem(m_pRoot);
}

void CProjectTree::ExpandRootAndShow(HTreeItem hItem)
{
    if (m_pRoot)
        m_pRoot->setExpanded(true);
    if (QTreeWidgetItem* pItem = m_items.value(hItem))
        m_tree.scrollToItem(pItem);
}

HTreeItem CProjectTree::HandleOf(const QTreeWidgetItem* pItem) const
{
    for (auto it = m_items.cbegin(); it != m_items.cend(); ++it)
        if (it.value() == pItem)
            return it.key();
    return kNoTreeItem;
}

HTreeItem CProjectTree::Selected() const
{
    return HandleOf(m_tree.currentItem());
}
