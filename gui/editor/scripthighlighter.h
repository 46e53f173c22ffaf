#pragma once

#include "core/editor/colourer.h"

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QTextLayout>

#include <array>

// Applies the colourer's runs to a document's lines and keeps the state the
// colourer hands from line to line as the block state. Colours follow from
// the text alone, so any change recolours exactly the lines whose colours
// change.
class CScriptHighlighter : public QSyntaxHighlighter
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

protected:
    void highlightBlock(const QString& sText) override;

private:
    enum EBlockState { kOutsideComment = 0, kInsideComment = 1 };

    const CColourer& m_colourer;
    bool m_bEnabled = false;
    EFileType m_eType = kFileTXT;
    SColourSwitches m_switches;
    std::array<QTextCharFormat, 6> m_formats;
    int m_nHiddenPos = 0;
    int m_nHiddenLength = 0;
};
