#include "gui/editor/scripthighlighter.h"

CScriptHighlighter::CScriptHighlighter(QTextDocument* pDocument, const CColourer& colourer)
    : QSyntaxHighlighter(pDocument), m_colourer(colourer)
{
}

void CScriptHighlighter::SetColour(EColourClass eClass, const QColor& colour)
{
    m_formats[size_t(eClass)].setForeground(colour);
}

void CScriptHighlighter::highlightBlock(const QString& sText)
{
    setCurrentBlockState(kOutsideComment);
    if (!m_bEnabled)
        return;
    for (const SColourRun& run : m_colourer.ColourLine(sText, m_eType, m_switches, m_pCollect))
        setFormat(run.nFrom, run.nTo - run.nFrom, m_formats[size_t(run.eClass)]);
    if (m_eType != kFileSQF || !m_switches.bFormatRem)
        return;
    const SBlockComments comments = CColourer::BlockComments(sText, previousBlockState() == kInsideComment);
    for (const auto& [nFrom, nTo] : comments.spans)
        setFormat(nFrom, nTo - nFrom, m_formats[size_t(EColourClass::Remark)]);
    setCurrentBlockState(comments.bOpenAtEnd ? kInsideComment : kOutsideComment);
}
