#include "gui/editor/scripthighlighter.h"

#include "gui/editor/longlines.h"

#include <QElapsedTimer>
#include <QTextDocument>

namespace {

// Edits of more lines than this (a paste, Replace All, a file read) leave
// their lines to be coloured when shown rather than all at once.
constexpr int kColourNowLines = 64;
// How far an edit carries a changed comment state down at once; the rest
// goes with the slices.
constexpr int kCarryNowLines = 4096;
constexpr int kSliceMilliseconds = 8;
constexpr int kRoundMask = 0xFFFFF;

bool Known(int nState)
{
    return nState >= 0;
}

// Every open script carries its states on a timer of its own, and the event
// loop fires all due timers in one pass: with several big scripts open, their
// slices would follow one another with no input in between. A slice that
// comes right after another script's waits for the next pass instead.
struct SLastSlice
{
    const void* pOwner = nullptr;  // compared only, never followed
    QElapsedTimer sinceEnd;
};
SLastSlice g_lastSlice;
constexpr qint64 kSamePassNanoseconds = 1'000'000;

}  // namespace

CScriptHighlighter::CScriptHighlighter(QTextDocument* pDocument, const CColourer& colourer)
    : QObject(pDocument)
    , m_pDocument(pDocument)
    , m_colourer(colourer)
    , m_nBlockCount(pDocument->blockCount())
{
    connect(pDocument, &QTextDocument::contentsChange, this, &CScriptHighlighter::OnContentsChange);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &CScriptHighlighter::CarrySlice);
}

void CScriptHighlighter::SetColour(EColourClass eClass, const QColor& colour)
{
    m_formats[size_t(eClass)].setForeground(colour);
}

QList<QTextLayout::FormatRange> CScriptHighlighter::Formats(const QString& sText, bool bOpenAtStart,
                                                            bool* pbOpenAtEnd) const
{
    *pbOpenAtEnd = false;
    if (!m_bEnabled)
        return {};
    const SLineColours colours = m_colourer.ColourLine(sText, bOpenAtStart, m_eType, m_switches);
    *pbOpenAtEnd = colours.bCommentOpenAtEnd;
    return Ranges(colours);
}

QList<QTextLayout::FormatRange> CScriptHighlighter::Ranges(const SLineColours& colours) const
{
    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(colours.runs.size());
    for (const SColourRun& run : colours.runs)
        ranges.append({run.nFrom, run.nTo - run.nFrom, m_formats[size_t(run.eClass)]});
    return ranges;
}

QList<QTextLayout::FormatRange> CScriptHighlighter::RememberedFormats(const QString& sText, bool bOpenAtStart,
                                                                      bool* pbOpenAtEnd)
{
    if (sText.size() < LongLines::Threshold() || !m_bEnabled)
        return Formats(sText, bOpenAtStart, pbOpenAtEnd);
    SRemembered& last = m_lastLong;
    if (last.nRound != m_nRound || last.bOpenAtStart != bOpenAtStart || last.sText != sText) {
        // Another round may colour words otherwise: nothing of the line is kept.
        if (last.nRound != m_nRound)
            m_keptLong = SColouredLongLine();
        const SLineColours& colours = m_colourer.ColourLongLine(sText, bOpenAtStart, m_eType, m_switches, m_keptLong);
        last.ranges = Ranges(colours);
        last.bOpenAtEnd = colours.bCommentOpenAtEnd;
        last.sText = sText;
        last.bOpenAtStart = bOpenAtStart;
        last.nRound = m_nRound;
    }
    *pbOpenAtEnd = last.bOpenAtEnd;
    return last.ranges;
}

void CScriptHighlighter::SetHidden(int nPos, int nLength)
{
    // The lines of the old and the new stretch are coloured anew when shown.
    for (int nAt : {m_nHiddenPos, nPos}) {
        if (!m_pDocument)
            break;
        QTextBlock block = m_pDocument->findBlock(nAt);
        if (block.isValid() && Known(block.userState()))
            block.setUserState(block.userState() & kOpenAtEnd);
    }
    m_nHiddenPos = nPos;
    m_nHiddenLength = nLength;
}

bool CScriptHighlighter::TracksComments() const
{
    return m_bEnabled && m_eType == kFileSQF && m_switches.bFormatRem;
}

void CScriptHighlighter::Rehighlight()
{
    if (!m_pDocument)
        return;
    m_nRound = (m_nRound + 1) & kRoundMask;
    m_nCarried = 0;
    m_nBlockCount = m_pDocument->blockCount();
    if (!m_bEnabled) {
        // Colours switched off: the ones already laid on must go.
        for (QTextBlock block = m_pDocument->begin(); block.isValid(); block = block.next()) {
            if (Known(block.userState()) && (block.userState() & kColoured))
                SetFormats(block, {});
            block.setUserState(-1);
        }
    }
    if (TracksComments())
        m_timer.start();
    else
        m_timer.stop();
}

void CScriptHighlighter::Detach()
{
    m_timer.stop();
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = nullptr;
}

bool CScriptHighlighter::CarryLine(QTextBlock& block, bool bOpenAtStart)
{
    const bool bOpen = TracksComments() && CColourer::BlockComments(block.text(), bOpenAtStart).bOpenAtEnd;
    const int nOld = block.userState();
    const int nKept = Known(nOld) ? nOld & ~kOpenAtEnd : 0;
    block.setUserState(nKept | (bOpen ? kOpenAtEnd : 0));
    return !Known(nOld) || bool(nOld & kOpenAtEnd) != bOpen;
}

void CScriptHighlighter::CarryTo(int nLine)
{
    if (!m_pDocument || !TracksComments() || m_nCarried >= nLine)
        return;
    QTextBlock block = m_pDocument->findBlockByNumber(m_nCarried);
    bool bOpen = m_nCarried > 0 && (block.previous().userState() & kOpenAtEnd);
    for (; block.isValid() && m_nCarried < nLine; block = block.next(), ++m_nCarried) {
        CarryLine(block, bOpen);
        bOpen = block.userState() & kOpenAtEnd;
    }
}

bool CScriptHighlighter::OpenBefore(const QTextBlock& block)
{
    const int nLine = block.blockNumber();
    if (!TracksComments() || nLine <= 0)
        return false;
    CarryTo(nLine);
    const int nState = block.previous().userState();
    return Known(nState) && (nState & kOpenAtEnd);
}

void CScriptHighlighter::CarrySlice()
{
    if (!m_pDocument || !TracksComments()) {
        m_timer.stop();
        return;
    }
    if (g_lastSlice.pOwner != this && g_lastSlice.sinceEnd.isValid()
        && g_lastSlice.sinceEnd.nsecsElapsed() < kSamePassNanoseconds)
        return;
    QElapsedTimer timer;
    timer.start();
    const int nCount = m_pDocument->blockCount();
    while (m_nCarried < nCount && timer.elapsed() < kSliceMilliseconds)
        CarryTo(std::min(m_nCarried + 2048, nCount));
    if (m_nCarried >= nCount)
        m_timer.stop();
    g_lastSlice.pOwner = this;
    g_lastSlice.sinceEnd.start();
}

void CScriptHighlighter::Colour(QTextBlock& block, bool bOpenAtStart)
{
    // The hidden stretch is cut out before colouring; runs after it move
    // back over it, and a run across it goes on after it.
    const QString sText = block.text();
    const int nHidden = m_nHiddenPos - block.position();
    const bool bHides = m_nHiddenLength > 0 && nHidden >= 0 && nHidden + m_nHiddenLength <= sText.size();
    const QString sColoured = bHides ? sText.left(nHidden) + sText.mid(nHidden + m_nHiddenLength) : sText;
    const int nShift = bHides ? m_nHiddenLength : 0;
    bool bOpenAtEnd = false;
    QList<QTextLayout::FormatRange> ranges;
    for (QTextLayout::FormatRange range : RememberedFormats(sColoured, bOpenAtStart, &bOpenAtEnd)) {
        const int nFrom = range.start;
        const int nTo = range.start + range.length;
        if (!bHides || nTo <= nHidden) {
            ranges.append(range);
        } else if (nFrom >= nHidden) {
            range.start += nShift;
            ranges.append(range);
        } else {
            range.length = nHidden - nFrom;
            ranges.append(range);
            range.start = nHidden + nShift;
            range.length = nTo - nHidden;
            ranges.append(range);
        }
    }
    SetFormats(block, ranges);
    const int nOld = block.userState();
    const int nOpenAtEnd = Known(nOld) ? nOld & kOpenAtEnd : 0;
    block.setUserState(nOpenAtEnd | kColoured | (bOpenAtStart ? kColouredOpen : 0) | (m_nRound << kRoundShift));
}

void CScriptHighlighter::SetFormats(QTextBlock& block, const QList<QTextLayout::FormatRange>& ranges)
{
    QTextLayout* pLayout = block.layout();
    if (LongLines::IsLong(block)) {
        LongLines::KeepColours(block, ranges);
        // A layout that still holds colours splits the line at each of them.
        if (!pLayout->formats().isEmpty()) {
            pLayout->clearFormats();
            m_pDocument->markContentsDirty(block.position(), block.length());
        }
        return;
    }
    LongLines::ForgetColours(block);
    // Later ranges overwrite earlier ones; the layout draws overlapping
    // ranges in their order, so that is what it shows.
    pLayout->setFormats(ranges);
    m_pDocument->markContentsDirty(block.position(), block.length());
}

void CScriptHighlighter::ColourLines(int nFirst, int nLast)
{
    if (!m_pDocument || !m_bEnabled)
        return;
    CarryTo(nLast);
    QTextBlock block = m_pDocument->findBlockByNumber(std::max(nFirst, 0));
    bool bOpen = block.isValid() && OpenBefore(block);
    for (; block.isValid() && block.blockNumber() <= nLast; block = block.next()) {
        const int nState = block.userState();
        const bool bFresh = Known(nState) && (nState & kColoured) && bool(nState & kColouredOpen) == bOpen
            && (nState >> kRoundShift) == m_nRound;
        if (!bFresh)
            Colour(block, bOpen);
        bOpen = TracksComments() && (block.userState() & kOpenAtEnd);
    }
}

void CScriptHighlighter::OnContentsChange(int nPos, int nRemoved, int nAdded)
{
    Q_UNUSED(nRemoved);
    const int nCount = m_pDocument->blockCount();
    const int nDelta = nCount - m_nBlockCount;
    m_nBlockCount = nCount;
    QTextBlock first = m_pDocument->findBlock(nPos);
    QTextBlock last = m_pDocument->findBlock(nPos + nAdded);
    if (!first.isValid())
        return;
    if (!last.isValid())
        last = m_pDocument->lastBlock();
    const int nFirst = first.blockNumber();
    const int nLast = last.blockNumber();
    const int nCarried = m_nCarried;
    // Lines above the change keep their state; the changed ones are worked
    // out again, and the lines below as far as their start state changed.
    m_nCarried = std::min(m_nCarried, nFirst);
    if (nLast - nFirst > kColourNowLines) {
        for (QTextBlock block = first; block.isValid() && block.blockNumber() <= nLast; block = block.next())
            block.setUserState(-1);
        if (TracksComments())
            m_timer.start();
        return;
    }
    // Within the change notice, colours laid on now go with the layout the
    // edit does anyway instead of one of their own.
    bool bOpen = OpenBefore(first);
    QTextBlock block = first;
    for (; block.isValid() && block.blockNumber() <= nLast; block = block.next()) {
        CarryLine(block, bOpen);
        if (m_bEnabled)
            Colour(block, bOpen);
        bOpen = block.userState() & kOpenAtEnd;
    }
    m_nCarried = nLast + 1;
    if (!TracksComments())
        return;
    // Below the change: the old states hold again from the first line whose
    // start state is the same as before.
    const int nOldFrontier = nCarried + nDelta;
    bool bChanged = true;
    bool bAnyChanged = false;
    for (; block.isValid() && m_nCarried < nOldFrontier && bChanged && m_nCarried - nLast < kCarryNowLines;
         block = block.next(), ++m_nCarried) {
        bChanged = CarryLine(block, bOpen);
        bAnyChanged = bAnyChanged || bChanged;
        bOpen = block.userState() & kOpenAtEnd;
    }
    if (!bChanged)
        m_nCarried = std::max(m_nCarried, nOldFrontier);
    // Lines below may now show the wrong colours: they are coloured anew as
    // they are painted.
    if (bAnyChanged)
        emit StatesChanged();
    if (m_nCarried < nCount)
        m_timer.start();
}
