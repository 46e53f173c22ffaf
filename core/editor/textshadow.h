#pragma once

#include "core/editor/undohistory.h"

#include <QStringList>
#include <QVarLengthArray>

// A copy of the editor's text, so that the text an edit removed is known
// without copying the whole document at every keystroke. It is kept in one
// buffer with a gap where the last edit was: edits cluster, so the next one
// moves few characters, and the copy costs two bytes a character and no
// more, where a string per line cost three times that for a script.
class CTextShadow
{
public:
    void Reset(const QString& sText);
    // Replaces nRemoved characters at nPos (a line break counts as one) and
    // tells what was there. Out-of-range parts are clipped.
    STextChange Replace(int nPos, int nRemoved, const QString& sInserted);
    // What the text holds from nPos, nLength characters long.
    QString Mid(int nPos, int nLength) const;

    QString Text() const { return Mid(0, Length()); }
    int Length() const { return int(m_buffer.size() - GapLength()); }
    int LineCount() const;
    QString Line(int nLine) const;
    // The whole text as up to three views of whole lines, for reading all of
    // it without a copy: the lines before the gap, the one line that runs
    // across the gap (copied into *psCrossing, which must outlive the
    // views) and the lines after it. Joined by "\n" they make the text.
    QVarLengthArray<QStringView, 3> LineRuns(QString* psCrossing) const;

private:
    qsizetype GapLength() const { return m_nGapEnd - m_nGapStart; }
    // Moves the gap to nPos and makes it at least nLength long.
    void OpenGap(qsizetype nPos, qsizetype nLength);

    QString m_buffer;
    qsizetype m_nGapStart = 0;
    qsizetype m_nGapEnd = 0;
};
