#pragma once

#include <QWidget>

class CMenuTreeCtrl;
class QComboBox;
class QStackedWidget;
class QTabBar;

// The command bar: the go-to list above the three trees of the project,
// the dictionary's commands and the snippets, one shown at a time by tab.
class CCommandDlg : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kMinWidth = 181;
    static constexpr int kMaxWidth = 399;
    enum ETab { kProjectTab = 0, kCommandsTab = 1, kSnippetsTab = 2 };

    explicit CCommandDlg(QWidget* pParent = nullptr);

    QComboBox* GotoList() const { return m_pGoto; }
    QTabBar* Tabs() const { return m_pTabs; }
    CMenuTreeCtrl* ProjectTree() const { return m_pTrees[kProjectTab]; }
    CMenuTreeCtrl* CommandsTree() const { return m_pTrees[kCommandsTab]; }
    CMenuTreeCtrl* SnippetsTree() const { return m_pTrees[kSnippetsTab]; }
    // Widths outside the range are left alone, as a drag beyond it is.
    static bool AcceptsWidth(int nWidth) { return nWidth >= kMinWidth && nWidth <= kMaxWidth; }

private:
    QComboBox* m_pGoto;
    QTabBar* m_pTabs;
    QStackedWidget* m_pStack;
    CMenuTreeCtrl* m_pTrees[3];
};
