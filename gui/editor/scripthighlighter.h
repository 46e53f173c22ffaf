#pragma once

#include "core/editor/colourer.h"

#include <QObject>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextLayout>
#include <QTimer>

#include <array>

class QTextDocument;

// Applies the colourer's runs to the lines the user sees, and keeps for
// every line whether the next one starts inside a block comment.
//
// A script of 20 MB has half a million lines: colours kept for all of them
// would cost many times the text itself, and colouring them all would keep
// the user waiting. So only shown lines are coloured, just before they are
// painted and again whenever they change; the comment state, which a line
// needs from all the lines above it, is carried down the text in slices
// while the user works, and up to any line at once when it is about to be
// shown before the slices got there. Colours follow from the text alone, so
// coloured late is coloured the same.
class CScriptHighlighter : public QObject
{
    Q_OBJECT
public:
    CScriptHighlighter(QTextDocument* pDocument, const CColourer& colourer);

    void SetEnabled(bool bEnabled) { m_bEnabled = bEnabled; }
    void SetFileType(EFileType eType) { m_eType = eType; }
    void SetSwitches(const SColourSwitches& switches) { m_switches = switches; }
    void SetColour(EColourClass eClass, const QColor& colour);
    // A stretch of the document coloured as if it were not there: the
    // typed part of a word keeps its colours while a completion shows.
    void SetHidden(int nPos, int nLength);
    EFileType FileType() const { return m_eType; }
    const SColourSwitches& Switches() const { return m_switches; }

    // The colours of one line, given whether it starts inside a block
    // comment; *pbOpenAtEnd tells whether the next one does. Printing uses
    // it to colour its copy the way the view is coloured.
    QList<QTextLayout::FormatRange> Formats(const QString& sText, bool bOpenAtStart, bool* pbOpenAtEnd) const;

    // Settings changed: every line is coloured anew when next shown, and
    // colours switched off go at once.
    void Rehighlight();
    // The lines from nFirst to nLast get their colours now.
    void ColourLines(int nFirst, int nLast);
    // Nothing is coloured any more: the document outlives the view.
    void Detach();

signals:
    // The comment state of lines below an edit changed: shown ones need
    // painting again.
    void StatesChanged();

private:
    // A line's user state: whether the next line starts inside a comment,
    // whether the line carries colours and from which start state and which
    // round of settings they were made.
    enum EStateBits { kOpenAtEnd = 1, kColoured = 2, kColouredOpen = 4, kRoundShift = 3 };

    bool TracksComments() const;
    bool OpenBefore(const QTextBlock& block);
    // Works out the comment state of every line before nLine.
    void CarryTo(int nLine);
    // One line's state from the one before; true when it changed.
    bool CarryLine(QTextBlock& block, bool bOpenAtStart);
    void CarrySlice();
    void OnContentsChange(int nPos, int nRemoved, int nAdded);
    void Colour(QTextBlock& block, bool bOpenAtStart);
    void SetFormats(QTextBlock& block, const QList<QTextLayout::FormatRange>& ranges);
    // Formats() of a long line, remembered: a completion shown is coloured
    // as if it were not there, which for the line just typed on is the
    // text coloured a moment before.
    QList<QTextLayout::FormatRange> RememberedFormats(const QString& sText, bool bOpenAtStart, bool* pbOpenAtEnd);
    QList<QTextLayout::FormatRange> Ranges(const SLineColours& colours) const;

    QTextDocument* m_pDocument;
    const CColourer& m_colourer;
    bool m_bEnabled = false;
    EFileType m_eType = kFileTXT;
    SColourSwitches m_switches;
    std::array<QTextCharFormat, 6> m_formats;
    int m_nHiddenPos = 0;
    int m_nHiddenLength = 0;
    // Lines before this one have their comment state right.
    int m_nCarried = 0;
    int m_nBlockCount = 1;
    int m_nRound = 0;
    struct SRemembered
    {
        QString sText;
        bool bOpenAtStart = false;
        int nRound = -1;
        bool bOpenAtEnd = false;
        QList<QTextLayout::FormatRange> ranges;
    };
    SRemembered m_lastLong;
    // What the colourer keeps of that line to colour it again from before
    // an edit.
    SColouredLongLine m_keptLong;
    QTimer m_timer;
};
