#include "gui/editor/scripthighlighter.h"

CScriptHighlighter::CScriptHighlighter(QTextDocument* pDocument, const CColourer& colourer)
    : QSyntaxHighlighter(pDocument)
    , m_colourer(colourer)
{
}

void CScriptHighlighter::SetColour(EColourClass eClass, const QColor& colour)
{
    m_formats[size_t(eClass)].setForeground(colour);
}

QList<QTextLayout::FormatRange> CScriptHighlighter::Formats(const QString& sText, bool bOpenAtStart,
                                                            bool* pbOpenAtEnd) const
{
    QList<QTextLayout::FormatRange> ranges;
    *pbOpenAtEnd = false;
    if (!m_bEnabled)
        return ranges;
    const SLineColours colours = m_colourer.ColourLine(sText, bOpenAtStart, m_eType, m_switches);
    ranges.reserve(colours.runs.size());
    for (const SColourRun& run : colours.runs)
        ranges.append({run.nFrom, run.nTo - run.nFrom, m_formats[size_t(run.eClass)]});
    *pbOpenAtEnd = colours.bCommentOpenAtEnd;
    return ranges;
}

void CScriptHighlighter::highlightBlock(const QString& sText)
{
    bool bOpenAtEnd = false;
    // Later ranges overwrite earlier ones, as setFormat does.
    for (const QTextLayout::FormatRange& range : Formats(sText, previousBlockState() == kInsideComment, &bOpenAtEnd))
        setFormat(range.start, range.length, range.format);
    setCurrentBlockState(bOpenAtEnd ? kInsideComment : kOutsideComment);
}
