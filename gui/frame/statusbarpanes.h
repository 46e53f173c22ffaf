#pragma once

#include "gui/frame/lockkeys.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class CScriptView;
class QLabel;
class QStatusBar;

// Panes 2 to 8 of the status bar: line, column, file type, game, and the
// two lock indicators; pane 1 is the bar's own message, "Ready" when idle.
class CStatusBarPanes : public QObject
{
public:
    using LockReader = std::function<std::optional<SLockKeys>()>;

    // The lock panes follow the lock keys as the user presses them and
    // whenever the program comes back to the front.
    explicit CStatusBarPanes(QStatusBar& bar, LockReader readLocks = ReadLockKeys);

    int Count() const { return int(m_panes.size()); }
    QString PaneText(int nPane) const;
    // What the active view's selection and the game show; no view, empty panes.
    void Update(const CScriptView* pView, bool bVelk);
    void UpdateLocks();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QStatusBar& m_bar;
    QList<QLabel*> m_panes;
    LockReader m_readLocks;
};
