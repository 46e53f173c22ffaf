#pragma once

#include <QDockWidget>

class CCommandDlg;

// The command bar docked at the left or right edge; the user drags its
// inner edge, and the width stays within the bar's range.
class CCommandBarDock : public QDockWidget
{
    Q_OBJECT
public:
    explicit CCommandBarDock(QWidget* pParent);

    CCommandDlg* Bar() const { return m_pBar; }
    // The width as it is stored: the last one in range.
    int StoredWidth(int nPrevious) const;
    // The stored width, or the default one when that is out of range.
    static int StartWidth(int nStored);

private:
    CCommandDlg* m_pBar;
};
