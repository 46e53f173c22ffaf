#pragma once

#include <QDockWidget>

class CCommandDlg;

// The command bar docked at the left or right edge. The user drags the grip
// along its inner edge; a width outside the bar's range is not taken, so the
// bar keeps the width it had.
class CCommandBarDock : public QDockWidget
{
    Q_OBJECT
public:
    CCommandBarDock(bool bRight, QWidget* pParent);

    CCommandDlg* Bar() const { return m_pBar; }
    QWidget* Grip() const { return m_pGrip; }
    // Taken only within the range; true when it was.
    bool SetBarWidth(int nWidth);
    // The width as it is stored: the last one in range.
    int StoredWidth(int nPrevious) const;
    // The stored width, or the default one when that is out of range.
    static int StartWidth(int nStored);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    bool m_bRight;
    CCommandDlg* m_pBar;
    QWidget* m_pGrip;
    bool m_bDragging = false;
};
