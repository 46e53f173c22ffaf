#pragma once

#include <QList>
#include <QString>

class CScriptView;
class QLabel;
class QStatusBar;

// Panes 2 to 8 of the status bar: line, column, file type, game, and the
// two lock indicators; pane 1 is the bar's own message, "Ready" when idle.
class CStatusBarPanes
{
public:
    explicit CStatusBarPanes(QStatusBar& bar);

    int Count() const { return int(m_panes.size()); }
    QString PaneText(int nPane) const;
    // What the active view's selection and the game show; no view, empty panes.
    void Update(const CScriptView* pView, bool bVelk);

private:
    QStatusBar& m_bar;
    QList<QLabel*> m_panes;
};
