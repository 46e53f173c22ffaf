#include "gui/editor/longlines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

using FormatRanges = QList<QTextLayout::FormatRange>;

// Long enough that a screenful of ordinary lines never takes this way.
int g_nThreshold = 2000;
// How many characters' width the part drawn reaches beyond each edge of
// the window.
constexpr int kOverhang = 2;
// A line waits to be laid out only while what changed at its end stays
// short enough to be measured alone at every key.
constexpr int kWaitingTail = 4096;
// How many characters' width a character whose place is known may stand
// off the window for the part shown to be found from it.
constexpr int kNear = 1024;
// How long typing pauses before a waiting line is laid out after all.
constexpr int kSettleMs = 400;

class CKeptColours : public QTextBlockUserData
{
public:
    explicit CKeptColours(const FormatRanges& ranges) : m_ranges(ranges) { }
    FormatRanges m_ranges;
};

// The ranges as they fall on the characters from nFrom to nTo, counted from
// nFrom. A range running on past nTo keeps going when bOpenEnd: a selection
// through the line's break fills a little beyond its last character.
FormatRanges Slice(const FormatRanges& ranges, int nFrom, int nTo, bool bOpenEnd)
{
    FormatRanges sliced;
    for (const QTextLayout::FormatRange& range : ranges) {
        const int nStart = std::max(range.start, nFrom);
        const int nEnd = bOpenEnd ? range.start + range.length : std::min(range.start + range.length, nTo);
        if (nEnd > nStart && nStart <= nTo)
            sliced.append({nStart - nFrom, nEnd - nStart, range.format});
    }
    return sliced;
}

// Right-to-left letters are laid out in an order of their own: the part of
// the line the window shows is then no stretch of its characters, and the
// line is drawn whole.
bool HasRightToLeft(QStringView text)
{
    // Most lines hold no character from Hebrew on: one pass the compiler
    // can do sixteen at a time rules them out.
    char16_t cGreatest = 0;
    for (const QChar ch : text)
        cGreatest = std::max(cGreatest, ch.unicode());
    if (cGreatest < 0x0590)
        return false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        // Hebrew to the end of the Arabic supplements and their
        // presentation forms; the surrogates of the right-to-left planes.
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) || c == 0xD802
            || c == 0xD803 || c == 0xD83A || c == 0xD83B || c == 0x200F || c == 0x202B || c == 0x202E || c == 0x2067)
            return true;
    }
    return false;
}

// Whether a character starts at n, not the second half of a pair of
// surrogates nor an accent on a letter. The line's layout would read all
// of the line to tell, and a line waiting to be laid out has read nothing.
bool StartsCharacter(QStringView text, qsizetype n)
{
    constexpr qsizetype kAround = 32;
    const qsizetype nFrom = std::max<qsizetype>(0, n - kAround);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme,
                               text.mid(nFrom, std::min(text.size(), n + kAround) - nFrom));
    finder.setPosition(n - nFrom);
    return finder.isAtBoundary();
}

// Where the part shown starts: a little before the window's left edge, and
// never inside a character made of several.
int FirstShown(QStringView text, const QTextLine& line, qreal rLeft)
{
    int nFrom = line.xToCursor(rLeft, QTextLine::CursorOnCharacter);
    while (nFrom > line.textStart() && !StartsCharacter(text, nFrom))
        --nFrom;
    return nFrom;
}

// The characters from nFrom to nTo of a line, without the rest of it. The
// text as loaded is one piece of the line; a few characters of it are read
// one by one rather than copying all of it.
QString TextOf(const QTextBlock& block, int nFrom, int nTo)
{
    QString sText;
    const int nBlock = block.position();
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int nStart = std::max(fragment.position() - nBlock, nFrom);
        const int nEnd = std::min(fragment.position() - nBlock + fragment.length(), nTo);
        if (nEnd <= nStart)
            continue;
        if (fragment.length() > 4 * (nEnd - nStart) + 64) {
            for (int n = nStart; n < nEnd; ++n)
                sText += block.document()->characterAt(nBlock + n);
        } else {
            sText += fragment.text().mid(nStart - (fragment.position() - nBlock), nEnd - nStart);
        }
    }
    return sText;
}

// A layout of the characters from nFrom to nTo of a line, coloured as the
// line is.
class CPart
{
public:
    // Colours change no glyph's width: a part only measured goes without.
    CPart(const QTextBlock& block, const QString& sText, int nFrom, int nTo, qreal rLineWidth, bool bColoured = true)
        : m_layout(sText.mid(nFrom, nTo - nFrom), block.document()->defaultFont())
    {
        QTextOption option = block.layout()->textOption();
        option.setWrapMode(QTextOption::NoWrap);
        option.setTextDirection(block.textDirection());
        m_layout.setTextOption(option);
        if (bColoured)
            m_layout.setFormats(Slice(LongLines::Colours(block), nFrom, nTo, false));
        m_layout.beginLayout();
        QTextLine line = m_layout.createLine();
        line.setLeadingIncluded(true);
        line.setLineWidth(rLineWidth);
        line.setPosition(QPointF(0, 0));
        m_layout.endLayout();
    }
    qreal Width() const { return m_layout.lineAt(0).naturalTextWidth(); }
    // Where the part's character n stands, spaces before it counted.
    qreal X(int n) const { return m_layout.lineAt(0).cursorToX(n); }
    QTextLayout& Layout() { return m_layout; }

private:
    QTextLayout m_layout;
};

// What drawing the part shown needs of a line: the line of its layout, or
// what is kept of it while it waits to be laid out.
struct SLine
{
    int nFrom = 0;  // its first character and one past its last
    int nTo = 0;
    QPointF pt;                                  // where it stands in its block
    qreal rLayoutWidth = 0;                      // the width it is laid out to
    std::function<std::optional<qreal>(int)> x;  // where a character stands, if that can be told
    const QTextLine* pLaidOut = nullptr;         // none while it waits
    // A waiting line holds no right-to-left letter before its kept place,
    // and after it its characters' places are told only when it holds none.
    bool bLeftToRight = false;
};

SLine LineOf(const QTextLine& line)
{
    return {line.textStart(),
            line.textStart() + line.textLength(),
            line.position(),
            line.width(),
            [&line](int n) -> std::optional<qreal> { return line.cursorToX(n); },
            &line,
            false};
}

struct SStart
{
    int nFrom = 0;
    qreal rFrom = 0;
};

// Where the part shown starts, found from a character near the window
// whose place is asked (the text cursor's, while the user types): that
// takes one walk along the line, where finding the character at the
// window's edge and then its place take two. The stretch between them is
// measured on its own, so no tab may lie in it: a tab reaches to a stop
// counted from the start of the line.
std::optional<SStart> StartFromNear(const QTextBlock& block, const QString& sText, const SLine& line, int nNear,
                                    qreal rLeft, qreal rRight, qreal rCharWidth)
{
    if (nNear < line.nFrom || nNear > line.nTo || !StartsCharacter(sText, nNear))
        return std::nullopt;
    // Measured from further off, the part would cost what the line does.
    const std::optional<qreal> rNear = line.x(nNear);
    if (!rNear || *rNear < rLeft - kNear * rCharWidth || *rNear > rRight + kNear * rCharWidth)
        return std::nullopt;
    if (*rNear <= rLeft)
        return SStart{nNear, *rNear};
    for (qsizetype nBack = qsizetype((*rNear - rLeft) / rCharWidth) + 2;; nBack *= 2) {
        int nFrom = int(std::max<qsizetype>(line.nFrom, nNear - nBack));
        while (nFrom > line.nFrom && !StartsCharacter(sText, nFrom))
            --nFrom;
        if (QStringView(sText).mid(nFrom, nNear - nFrom).contains(u'\t'))
            return std::nullopt;
        const qreal rFrom = *rNear - CPart(block, sText, nFrom, nNear, line.rLayoutWidth, false).X(nNear - nFrom);
        if (rFrom <= rLeft || nFrom == line.nFrom)
            return SStart{nFrom, rFrom};
    }
}

// Where the part shown starts when no character near the window is known:
// only the line's layout can tell.
std::optional<SStart> StartFromEdge(const QString& sText, const SLine& line, bool bWhole, qreal rLeft)
{
    if (!line.pLaidOut)
        return std::nullopt;
    const int nFrom = bWhole ? line.nFrom : FirstShown(sText, *line.pLaidOut, rLeft);
    return SStart{nFrom, line.pLaidOut->cursorToX(nFrom)};
}

// False when the line must be laid out to tell what part of it is shown.
bool DrawShownPart(QPainter& painter, const QTextBlock& block, const QString& sText, const SLine& line,
                   const QPointF& ptOffset, const FormatRanges& selections, const QRectF& rcClip, int nCaret,
                   int nCaretWidth, int nNear)
{
    // A glyph may reach over the cell it stands in: the part starts and
    // ends a few characters' width beyond the window.
    const qreal rCharWidth = std::max<qreal>(QFontMetricsF(block.document()->defaultFont()).averageCharWidth(), 1);
    const qreal rLeft = rcClip.left() - ptOffset.x() - kOverhang * rCharWidth;
    const qreal rRight = rcClip.right() + 1 - ptOffset.x() + kOverhang * rCharWidth;
    const bool bWhole = !line.bLeftToRight && HasRightToLeft(sText);
    std::optional<SStart> start;
    if (!bWhole)
        start = StartFromNear(block, sText, line, nNear, rLeft, rRight, rCharWidth);
    if (!start)
        start = StartFromEdge(sText, line, bWhole, rLeft);
    if (!start)
        return false;
    auto [nFrom, rFrom] = *start;
    // Laid out longer and longer until it reaches past the window's right
    // edge: measuring the line up to there would cost as much as the line.
    qsizetype nCount
        = bWhole ? line.nTo - line.nFrom : std::max<qsizetype>(qsizetype((rRight - rFrom) / rCharWidth), 0) + 16;
    for (;;) {
        int nTo = int(std::min<qsizetype>(line.nTo, nFrom + nCount));
        while (nTo < line.nTo && !StartsCharacter(sText, nTo))
            ++nTo;
        // A tab reaches to the next stop counted from the start of the line.
        if (nFrom != line.nFrom && QStringView(sText).mid(nFrom, nTo - nFrom).contains(u'\t')) {
            const std::optional<qreal> rStart = line.x(line.nFrom);
            if (!rStart)
                return false;
            nCount += nFrom - line.nFrom;
            nFrom = line.nFrom;
            rFrom = *rStart;
            continue;
        }
        CPart part(block, sText, nFrom, nTo, line.rLayoutWidth);
        if (nTo < line.nTo && part.Width() < rRight - rFrom) {
            nCount *= 2;
            continue;
        }
        const QPointF ptAt(ptOffset.x() + rFrom, ptOffset.y() + line.pt.y());
        part.Layout().draw(&painter, ptAt, Slice(selections, nFrom, nTo, nTo == line.nTo), rcClip);
        if (nCaret >= nFrom && nCaret <= nTo)
            part.Layout().drawCursor(&painter, ptAt, nCaret - nFrom, nCaretWidth);
        return true;
    }
}

// A line waiting to be laid out, drawn from what is kept of it; false when
// that does not tell enough.
bool DrawWaiting(QPainter& painter, const QTextBlock& block, const QString& sText, const QPointF& ptOffset,
                 const FormatRanges& selections, const QRectF& rcClip, int nCaret, int nCaretWidth, int nNear)
{
    const LongLines::CDocumentLayout* pDocumentLayout = LongLines::CDocumentLayout::Of(block.document());
    const auto shape = pDocumentLayout ? pDocumentLayout->WaitingLine(block) : std::nullopt;
    if (!shape)
        return false;
    const SLine line{0,
                     int(sText.size()),
                     shape->rc.topLeft(),
                     shape->rLayoutWidth,
                     [&](int n) { return pDocumentLayout->WaitingX(block, n); },
                     nullptr,
                     true};
    // The caret may have gone beyond the window with a completion shown;
    // the kept place is known too.
    return DrawShownPart(painter, block, sText, line, ptOffset, selections, rcClip, nCaret, nCaretWidth, nNear)
        || DrawShownPart(painter, block, sText, line, ptOffset, selections, rcClip, nCaret, nCaretWidth,
                         pDocumentLayout->KeptPlace());
}

}  // namespace

namespace LongLines {

bool IsLong(const QTextBlock& block)
{
    // A wrapped line is drawn a short line at a time already.
    return block.length() > g_nThreshold && block.document()->defaultTextOption().wrapMode() == QTextOption::NoWrap;
}

void SetThreshold(int nLength)
{
    g_nThreshold = nLength;
}

int Threshold()
{
    return g_nThreshold;
}

FormatRanges Colours(const QTextBlock& block)
{
    if (const auto* pKept = dynamic_cast<const CKeptColours*>(block.userData()))
        return pKept->m_ranges;
    return block.layout()->formats();
}

void KeepColours(QTextBlock& block, const FormatRanges& ranges)
{
    if (auto* pKept = dynamic_cast<CKeptColours*>(block.userData()))
        pKept->m_ranges = ranges;
    else
        block.setUserData(new CKeptColours(ranges));
}

void ForgetColours(QTextBlock& block)
{
    if (block.userData())
        block.setUserData(nullptr);
}

bool EndsLeftOf(const QTextBlock& block, const QPointF& ptOffset, const QRectF& rcClip)
{
    const QTextLayout& layout = *block.layout();
    const qreal rOverhang = kOverhang * QFontMetricsF(block.document()->defaultFont()).averageCharWidth();
    for (int i = 0; i < layout.lineCount(); ++i) {
        if (layout.lineAt(i).naturalTextRect().right() + ptOffset.x() + rOverhang >= rcClip.left())
            return false;
    }
    return true;
}

void Draw(QPainter& painter, const QTextBlock& block, const QPointF& ptOffset, const FormatRanges& selections,
          const QRectF& rcClip, int nCaret, int nCaretWidth, int nNear)
{
    QTextLayout* pLayout = block.layout();
    // Text an input method is composing lives in the line's own layout
    // only: while it is composed, the line is drawn whole and plain.
    const QString sText = IsLong(block) ? block.text() : QString();
    const bool bComposing = !pLayout->preeditAreaText().isEmpty();
    if (!sText.isEmpty() && !bComposing && pLayout->lineCount() == 0) {
        if (DrawWaiting(painter, block, sText, ptOffset, selections, rcClip, nCaret, nCaretWidth, nNear))
            return;
        CDocumentLayout::LayOutLine(block);
    }
    if (sText.isEmpty() && selections.isEmpty() && nCaret < 0 && EndsLeftOf(block, ptOffset, rcClip))
        return;
    if (sText.isEmpty() || pLayout->lineCount() != 1 || bComposing) {
        pLayout->draw(&painter, ptOffset, selections, rcClip);
        if (nCaret >= 0)
            pLayout->drawCursor(&painter, ptOffset, nCaret, nCaretWidth);
        return;
    }
    // Its glyphs are kept between layouts: finding the part shown, and
    // placing the caret after every key, would shape the whole line again.
    pLayout->setCacheEnabled(true);
    const QTextLine line = pLayout->lineAt(0);
    DrawShownPart(painter, block, sText, LineOf(line), ptOffset, selections, rcClip, nCaret, nCaretWidth, nNear);
}

bool CDocumentLayout::StillStarts(const SKeptPlace& kept)
{
    const int nFrom = std::max(kept.nAt - 32, 0);
    return StartsCharacter(TextOf(kept.block, nFrom, kept.nAt + 32), kept.nAt - nFrom);
}

CDocumentLayout::CDocumentLayout(QTextDocument* pDocument)
    : QPlainTextDocumentLayout(pDocument)
    , m_pSettle(new QTimer(this))
{
    m_pSettle->setSingleShot(true);
    m_pSettle->setInterval(kSettleMs);
    connect(m_pSettle, &QTimer::timeout, this, [this] {
        if (m_kept)
            LayOut(m_kept->block);
    });
}

CDocumentLayout* CDocumentLayout::Of(const QTextDocument* pDocument)
{
    return pDocument ? dynamic_cast<CDocumentLayout*>(pDocument->documentLayout()) : nullptr;
}

bool CDocumentLayout::IsWaiting(const QTextBlock& block) const
{
    return m_kept && m_kept->block == block && block.layout()->lineCount() == 0;
}

void CDocumentLayout::KeepPlace(int nPos)
{
    const QTextBlock block = document()->findBlock(nPos);
    const int nAt = nPos - block.position();
    if (IsWaiting(block) && nAt >= m_kept->nAt)
        return;
    m_kept.reset();
    m_naturalWidth.reset();
    const QTextLayout* pLayout = block.layout();
    if (!IsLong(block) || pLayout->lineCount() != 1 || !pLayout->preeditAreaText().isEmpty()
        || block.length() - 1 - nAt > kWaitingTail)
        return;
    // Right-to-left words reorder the line around them: no part of it is
    // then measured alone.
    const QString sText = block.text();
    if (HasRightToLeft(sText) || !StartsCharacter(sText, nAt))
        return;
    const QTextLine line = pLayout->lineAt(0);
    const qreal rDocumentWidth = QPlainTextDocumentLayout::documentSize().width();
    m_kept = SKeptPlace{block,
                        nAt,
                        line.cursorToX(nAt),
                        {QRectF(line.position(), QSizeF(0, line.height())), line.width()},
                        QPlainTextDocumentLayout::blockBoundingRect(block),
                        line.naturalTextWidth(),
                        rDocumentWidth,
                        line.naturalTextWidth() + 2 * document()->documentMargin() >= rDocumentWidth,
                        std::nullopt};
}

qreal CDocumentLayout::WidestBut(const QTextBlock& skipped) const
{
    // As the plain-text layout measures its lines when its widest shrinks.
    qreal rWidest = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        const QTextLayout* pLayout = block.layout();
        for (int i = 0; block != skipped && i < pLayout->lineCount(); ++i)
            rWidest = std::max(rWidest, pLayout->lineAt(i).naturalTextWidth() + 2 * document()->documentMargin());
    }
    return rWidest;
}

std::optional<qreal> CDocumentLayout::WaitingX(const QTextBlock& block, int n) const
{
    if (!m_kept || m_kept->block != block || n < m_kept->nAt || n > block.length() - 1
        || n - m_kept->nAt > kWaitingTail)
        return std::nullopt;
    const QString sPart = TextOf(block, m_kept->nAt, n);
    if (sPart.contains(u'\t') || HasRightToLeft(sPart))
        return std::nullopt;
    const int nLength = int(sPart.size());
    return m_kept->rX + CPart(block, sPart, 0, nLength, m_kept->line.rLayoutWidth, false).X(nLength);
}

int CDocumentLayout::KeptPlace() const
{
    return m_kept ? m_kept->nAt : -1;
}

std::optional<CDocumentLayout::SLineShape> CDocumentLayout::WaitingLine(const QTextBlock& block) const
{
    if (!IsWaiting(block))
        return std::nullopt;
    return m_kept->line;
}

std::optional<qreal> CDocumentLayout::WaitingNaturalWidth() const
{
    if (!m_naturalWidth) {
        // An unwrapped line's width takes in the spaces at its end.
        const std::optional<qreal> rEnd = WaitingX(m_kept->block, m_kept->block.length() - 1);
        m_naturalWidth = rEnd ? std::optional<qreal>(*rEnd - m_kept->line.rc.x()) : std::nullopt;
    }
    return *m_naturalWidth;
}

QRectF CDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (m_nHolds > 0 && IsWaiting(block)) {
        if (const std::optional<qreal> rNatural = WaitingNaturalWidth()) {
            QRectF rc = m_kept->rcBlock;
            rc.setWidth(rc.width() + *rNatural - m_kept->rNaturalWidth);
            return rc;
        }
    }
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

QSizeF CDocumentLayout::documentSize() const
{
    QSizeF size = QPlainTextDocumentLayout::documentSize();
    // The width of a waiting line stands in for what the plain-text layout
    // knew of it. Had it been the widest and is no longer, the others are
    // measured, as the plain-text layout measures them then; any line it
    // has laid out wider since counts as well.
    const std::optional<qreal> rNatural = m_kept && IsWaiting(m_kept->block) ? WaitingNaturalWidth() : std::nullopt;
    if (rNatural) {
        const qreal rOwn = *rNatural + 2 * document()->documentMargin();
        const bool bShrunk = m_kept->bWidest && size.width() <= m_kept->rDocumentWidth && rOwn < size.width();
        if (bShrunk && !m_kept->rOthersWidth)
            m_kept->rOthersWidth = WidestBut(m_kept->block);
        size.setWidth(std::max(bShrunk ? *m_kept->rOthersWidth : size.width(), rOwn));
    }
    return size;
}

void CDocumentLayout::LayOutLine(const QTextBlock& block)
{
    if (CDocumentLayout* pLayout = Of(block.document()))
        pLayout->LayOut(block);
}

void CDocumentLayout::LayOut(const QTextBlock& block)
{
    const QSizeF before = documentSize();
    QPlainTextDocumentLayout::blockBoundingRect(block);
    if (documentSize() != before)
        emit documentSizeChanged(documentSize());
}

void CDocumentLayout::documentChanged(int nFrom, int nRemoved, int nAdded)
{
    QTextDocument* pDocument = document();
    const int nBlocks = pDocument->blockCount();
    QTextBlock block = pDocument->findBlock(nFrom);
    // What was removed is gone: the change now spans only what was added.
    const bool bWithinALine = nBlocks == m_nBlocks && pDocument->findBlock(nFrom + std::max(nAdded, 1) - 1) == block;
    m_naturalWidth.reset();
    // What stands before the kept place is as it was laid out, and a
    // character still starts there: an accent typed after a letter joins
    // the two. Other lines changing, colours put on them say, leave it be.
    if (m_kept
        && (!bWithinALine
            || (m_kept->block == block && (nFrom - block.position() < m_kept->nAt || !StillStarts(*m_kept)))))
        m_kept.reset();
    if (bWithinALine && IsLong(block)) {
        block.clearLayout();
        if (m_kept && m_kept->block == block)
            m_pSettle->start();
        emit update();
        return;
    }
    m_nBlocks = nBlocks;
    QPlainTextDocumentLayout::documentChanged(nFrom, nRemoved, nAdded);
}

CDocumentLayout::CHold::CHold(const QTextDocument* pDocument) : m_pLayout(Of(pDocument))
{
    if (m_pLayout)
        ++m_pLayout->m_nHolds;
}

CDocumentLayout::CHold::~CHold()
{
    if (m_pLayout)
        --m_pLayout->m_nHolds;
}

}  // namespace LongLines
