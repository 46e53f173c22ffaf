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
    for (const SColourRun& run : m_colourer.ColourLine(sText, m_eType, m_switches, m_pCollect))
        ranges.append({run.nFrom, run.nTo - run.nFrom, m_formats[size_t(run.eClass)]});
    if (m_eType != kFileSQF || !m_switches.bFormatRem)
        return ranges;
    const SBlockComments comments = CColourer::BlockComments(sText, bOpenAtStart);
    for (const auto& [nFrom, nTo] : comments.spans)
        ranges.append({nFrom, nTo - nFrom, m_formats[size_t(EColourClass::Remark)]});
    *pbOpenAtEnd = comments.bOpenAtEnd;
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
