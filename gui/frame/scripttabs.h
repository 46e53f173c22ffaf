#pragma once

#include <QToolBar>

#include <functional>

class CChildFrame;
class QMdiArea;
class QTabBar;

// The strip of script tabs, one per document window, on a row of its own.
// Files of the project keep alphabetical order; the others follow in the
// order they were opened.
class CScriptTabs : public QToolBar
{
    Q_OBJECT
public:
    using IsProjectFile = std::function<bool(const QString& sPath)>;

    CScriptTabs(QMdiArea& area, IsProjectFile isProjectFile, QWidget* pParent);

    QTabBar* TabBar() const { return m_pTabs; }
    int FindTabIndex(const CChildFrame* pFrame) const;
    void UpdateScriptTab(CChildFrame* pFrame);
    void RemoveScriptTab(CChildFrame* pFrame);
    // The tab of the window the area made active.
    void Follow(CChildFrame* pFrame);

private:
    QMdiArea& m_area;
    IsProjectFile m_isProjectFile;
    QTabBar* m_pTabs;
    QAction* m_pTabsAction;
};
