#include "gui/editor/longlines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

#include <optional>

namespace {

using FormatRanges = QList<QTextLayout::FormatRange>;

// Long enough that a screenful of ordinary lines never takes this way.
int g_nThreshold = 2000;
// How many characters' width the part drawn reaches beyond each edge of
// the window.
constexpr int kOverhang = 2;

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

// Where the part shown starts: a little before the window's left edge, and
// never inside a character made of several (a pair of surrogates, a letter
// and its accents).
int FirstShown(const QTextLayout& layout, qreal rLeft)
{
    const QTextLine line = layout.lineAt(0);
    int nFrom = line.xToCursor(rLeft, QTextLine::CursorOnCharacter);
    while (nFrom > line.textStart() && !layout.isValidCursorPosition(nFrom))
        --nFrom;
    return nFrom;
}

// A layout of the characters from nFrom to nTo of a line, coloured as the
// line is.
class CPart
{
public:
    // Colours change no glyph's width: a part only measured goes without.
    CPart(const QTextBlock& block, const QString& sText, int nFrom, int nTo, bool bColoured = true)
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
        line.setLineWidth(block.layout()->lineAt(0).width());
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
std::optional<SStart> StartFromNear(const QTextBlock& block, const QString& sText, const QTextLine& line, int nNear,
                                    qreal rLeft, qreal rRight, qreal rCharWidth)
{
    const QTextLayout& layout = *block.layout();
    const int nLineFrom = line.textStart();
    if (nNear < nLineFrom || nNear > nLineFrom + line.textLength() || !layout.isValidCursorPosition(nNear))
        return std::nullopt;
    const qreal rNear = line.cursorToX(nNear);
    if (rNear < rLeft || rNear > rRight)
        return std::nullopt;
    for (qsizetype nBack = qsizetype((rNear - rLeft) / rCharWidth) + 2;; nBack *= 2) {
        int nFrom = int(std::max<qsizetype>(nLineFrom, nNear - nBack));
        while (nFrom > nLineFrom && !layout.isValidCursorPosition(nFrom))
            --nFrom;
        if (QStringView(sText).mid(nFrom, nNear - nFrom).contains(u'\t'))
            return std::nullopt;
        const qreal rFrom = rNear - CPart(block, sText, nFrom, nNear, false).X(nNear - nFrom);
        if (rFrom <= rLeft || nFrom == nLineFrom)
            return SStart{nFrom, rFrom};
    }
}

void DrawShownPart(QPainter& painter, const QTextBlock& block, const QString& sText, const QTextLine& line,
                   const QPointF& ptOffset, const FormatRanges& selections, const QRectF& rcClip, int nCaret,
                   int nCaretWidth, int nNear)
{
    const QTextLayout& layout = *block.layout();
    const int nLineFrom = line.textStart();
    const int nLineTo = nLineFrom + line.textLength();
    // A glyph may reach over the cell it stands in: the part starts and
    // ends a few characters' width beyond the window.
    const qreal rCharWidth = std::max<qreal>(QFontMetricsF(block.document()->defaultFont()).averageCharWidth(), 1);
    const qreal rLeft = rcClip.left() - ptOffset.x() - kOverhang * rCharWidth;
    const qreal rRight = rcClip.right() + 1 - ptOffset.x() + kOverhang * rCharWidth;
    const bool bWhole = HasRightToLeft(sText);
    std::optional<SStart> start;
    if (!bWhole)
        start = StartFromNear(block, sText, line, nNear, rLeft, rRight, rCharWidth);
    int nFrom = start ? start->nFrom : bWhole ? nLineFrom : FirstShown(layout, rLeft);
    qreal rFrom = start ? start->rFrom : line.cursorToX(nFrom);
    // Laid out longer and longer until it reaches past the window's right
    // edge: measuring the line up to there would cost as much as the line.
    qsizetype nCount
        = bWhole ? nLineTo - nLineFrom : std::max<qsizetype>(qsizetype((rRight - rFrom) / rCharWidth), 0) + 16;
    for (;;) {
        int nTo = int(std::min<qsizetype>(nLineTo, nFrom + nCount));
        while (nTo < nLineTo && !layout.isValidCursorPosition(nTo))
            ++nTo;
        // A tab reaches to the next stop counted from the start of the line.
        if (nFrom != nLineFrom && QStringView(sText).mid(nFrom, nTo - nFrom).contains(u'\t')) {
            nCount += nFrom - nLineFrom;
            nFrom = nLineFrom;
            rFrom = line.cursorToX(nFrom);
            continue;
        }
        CPart part(block, sText, nFrom, nTo);
        if (nTo < nLineTo && part.Width() < rRight - rFrom) {
            nCount *= 2;
            continue;
        }
        const QPointF ptAt(ptOffset.x() + rFrom, ptOffset.y() + line.y());
        part.Layout().draw(&painter, ptAt, Slice(selections, nFrom, nTo, nTo == nLineTo), rcClip);
        if (nCaret >= nFrom && nCaret <= nTo)
            part.Layout().drawCursor(&painter, ptAt, nCaret - nFrom, nCaretWidth);
        return;
    }
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
    if (sText.isEmpty() && selections.isEmpty() && nCaret < 0 && EndsLeftOf(block, ptOffset, rcClip))
        return;
    if (sText.isEmpty() || pLayout->lineCount() != 1 || !pLayout->preeditAreaText().isEmpty()) {
        pLayout->draw(&painter, ptOffset, selections, rcClip);
        if (nCaret >= 0)
            pLayout->drawCursor(&painter, ptOffset, nCaret, nCaretWidth);
        return;
    }
    // Its glyphs are kept between layouts: finding the part shown, and
    // placing the caret after every key, would shape the whole line again.
    pLayout->setCacheEnabled(true);
    DrawShownPart(painter, block, sText, pLayout->lineAt(0), ptOffset, selections, rcClip, nCaret, nCaretWidth, nNear);
}

void CDocumentLayout::documentChanged(int nFrom, int nRemoved, int nAdded)
{
    QTextDocument* pDocument = document();
    const int nBlocks = pDocument->blockCount();
    QTextBlock block = pDocument->findBlock(nFrom);
    const bool bWithin = pDocument->findBlock(std::max(0, nFrom + nRemoved + nAdded - 1)) == block;
    if (nBlocks == m_nBlocks && bWithin && IsLong(block)) {
        block.clearLayout();
        emit update();
        return;
    }
    m_nBlocks = nBlocks;
    QPlainTextDocumentLayout::documentChanged(nFrom, nRemoved, nAdded);
}

}  // namespace LongLines
