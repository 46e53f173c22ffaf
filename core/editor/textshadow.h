#pragma once

#include "core/editor/undohistory.h"

#include <QStringList>

// A copy of the editor's text kept line by line, so that the text an edit
// removed is known without copying the whole document at every keystroke.
class CTextShadow
{
public:
    void Reset(const QString& sText);
    // Replaces nRemoved characters at nPos (a line break counts as one) and
    // tells what was there. Out-of-range parts are clipped.
    STextChange Replace(int nPos, int nRemoved, const QString& sInserted);
    // What the text holds from nPos, nLength characters long.
    QString Mid(int nPos, int nLength) const;

    QString Text() const { return m_lines.join(QLatin1Char('\n')); }
    int Length() const { return m_nLength; }
    int LineCount() const { return int(m_lines.size()); }
    const QString& Line(int nLine) const { return m_lines[nLine]; }

private:
    // Line and column of a position; the position at a line's end belongs to that line.
    QPair<int, int> Locate(int nPos) const;

    QStringList m_lines{QString()};
    int m_nLength = 0;
    // The line of the last edit and where it starts: edits cluster, so the
    // next lookup usually starts right there instead of at the top.
    mutable int m_nCacheLine = 0;
    mutable int m_nCacheStart = 0;
};
