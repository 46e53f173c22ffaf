#pragma once

#include "core/data/projectviews.h"

#include <QHash>

class CMenuTreeCtrl;
class QTreeWidgetItem;

// Shows the current project in the command bar's project tree, as the
// project model tells it.
class CProjectTree : public IProjectTree
{
public:
    explicit CProjectTree(CMenuTreeCtrl& tree) : m_tree(tree) { }

    void ClearTree() override;
    void SetRoot(const QString& sText, int nImage) override;
    void AddItem(HTreeItem hItem, const QString& sText, int nImage) override;
    void RemoveItem(HTreeItem hItem) override;
    void SetItemImage(HTreeItem hItem, int nImage) override;
    void SetItemText(HTreeItem hItem, const QString& sText) override;
    void SetRootText(const QString& sText) override;
    void ExpandAndSelectRoot() override;
    void ExpandRootAndShow(HTreeItem hItem) override;

    // The model's handle of a tree item; kNoTreeItem for none.
    HTreeItem HandleOf(const QTreeWidgetItem* pItem) const;
    // The model's handle of the selected item; kNoTreeItem for none.
    HTreeItem Selected() const;

private:
    CMenuTreeCtrl& m_tree;
    QTreeWidgetItem* m_pRoot = nullptr;
    QHash<HTreeItem, QTreeWidgetItem*> m_items;
};
