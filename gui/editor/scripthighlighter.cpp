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

void CScriptHighlighter::SetHidden(int nPos, int nLength)
{
    m_nHiddenPos = nPos;
    m_nHiddenLength = nLength;
}

void CScriptHighlighter::highlightBlock(const QString& sText)
{
    // The hidden stretch is cut out before colouring; runs after it move
    // back over it, and a run across it goes on after it.
    const int nHidden = m_nHiddenPos - currentBlock().position();
    const bool bHides = m_nHiddenLength > 0 && nHidden >= 0 && nHidden + m_nHiddenLength <= sText.size();
    const QString sColoured = bHides ? sText.left(nHidden) + sText.mid(nHidden + m_nHiddenLength) : sText;
    const int nShift = bHides ? m_nHiddenLength : 0;
    bool bOpenAtEnd = false;
    // Later ranges overwrite earlier ones, as setFormat does.
    for (const QTextLayout::FormatRange& range :
         Formats(sColoured, previousBlockState() == kInsideComment, &bOpenAtEnd)) {
        const int nFrom = range.start;
        const int nTo = range.start + range.length;
        if (!bHides || nTo <= nHidden) {
            setFormat(nFrom, nTo - nFrom, range.format);
        } else if (nFrom >= nHidden) {
            setFormat(nFrom + nShift, nTo - nFrom, range.format);
        } else {
            setFormat(nFrom, nHidden - nFrom, range.format);
            setFormat(nHidden + nShift, nTo - nHidden, range.format);
        }
    }
    setCurrentBlockState(bOpenAtEnd ? kInsideComment : kOutsideComment);
}
