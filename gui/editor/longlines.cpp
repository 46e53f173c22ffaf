#include "gui/editor/longlines.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

namespace {

using FormatRanges = QList<QTextLayout::FormatRange>;

// Long enough that a screenful of ordinary lines never takes this way.
int g_nThreshold = 2000;
// Characters drawn beyond each edge of the window: a glyph may reach over
// the cell it stands in.
constexpr int kOverhang = 2;

class CKeptColours : public QTextBlockUserData
{
public:
    explicit CKeptColours(const FormatRanges& ranges)
        : m_ranges(ranges)
    {
    }
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
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        // Hebrew to the end of the Arabic supplements and their
        // presentation forms; the surrogates of the right-to-left planes.
        if ((c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)
            || c == 0xD802 || c == 0xD803 || c == 0xD83A || c == 0xD83B || c == 0x200F || c == 0x202B
            || c == 0x202E || c == 0x2067)
            return true;
    }
    return false;
}

// The characters of a line the stretch from rLeft to rRight covers, in the
// layout's coordinates.
std::pair<int, int> Shown(const QString& sText, const QTextLine& line, qreal rLeft, qreal rRight)
{
    const int nLineFrom = line.textStart();
    const int nLineTo = nLineFrom + line.textLength();
    if (HasRightToLeft(sText))
        return {nLineFrom, nLineTo};
    int nFrom = std::max(nLineFrom, line.xToCursor(rLeft, QTextLine::CursorOnCharacter) - kOverhang);
    int nTo = std::min(nLineTo, line.xToCursor(rRight, QTextLine::CursorOnCharacter) + 1 + kOverhang);
    // A tab reaches to the next stop counted from the start of the line.
    if (QStringView(sText).mid(nFrom, std::max(nTo - nFrom, 0)).contains(u'\t'))
        nFrom = nLineFrom;
    // Both halves of a pair of surrogates, or neither.
    if (nFrom > nLineFrom && sText.at(nFrom).isLowSurrogate())
        --nFrom;
    if (nTo < nLineTo && sText.at(nTo).isLowSurrogate())
        ++nTo;
    return {nFrom, std::max(nFrom, nTo)};
}

void DrawShownPart(QPainter& painter, const QTextBlock& block, const QString& sText, const QTextLine& line,
                   const QPointF& ptOffset, const FormatRanges& selections, const QRectF& rcClip)
{
    const QTextLayout* pLayout = block.layout();
    const auto [nFrom, nTo] = Shown(sText, line, rcClip.left() - ptOffset.x(), rcClip.right() + 1 - ptOffset.x());
    const bool bBreakFollows = nTo == line.textStart() + line.textLength();

    QTextLayout part(sText.mid(nFrom, nTo - nFrom), block.document()->defaultFont());
    QTextOption option = pLayout->textOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(block.textDirection());
    part.setTextOption(option);
    part.setFormats(Slice(LongLines::Colours(block), nFrom, nTo, false));
    part.beginLayout();
    QTextLine partLine = part.createLine();
    partLine.setLeadingIncluded(true);
    partLine.setLineWidth(line.width());
    partLine.setPosition(QPointF(0, 0));
    part.endLayout();
    const QPointF ptAt(ptOffset.x() + line.cursorToX(nFrom), ptOffset.y() + line.y());
    part.draw(&painter, ptAt, Slice(selections, nFrom, nTo, bBreakFollows), rcClip);
}

}  // namespace

namespace LongLines {

bool IsLong(const QTextBlock& block)
{
    // A wrapped line is drawn a short line at a time already.
    return block.length() > g_nThreshold
        && block.document()->defaultTextOption().wrapMode() == QTextOption::NoWrap;
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

void Draw(QPainter& painter, const QTextBlock& block, const QPointF& ptOffset, const FormatRanges& selections,
          const QRectF& rcClip)
{
    QTextLayout* pLayout = block.layout();
    // Text an input method is composing lives in the line's own layout
    // only: while it is composed, the line is drawn whole and plain.
    const QString sText = IsLong(block) ? block.text() : QString();
    if (sText.isEmpty() || pLayout->lineCount() != 1 || !pLayout->preeditAreaText().isEmpty()) {
        pLayout->draw(&painter, ptOffset, selections, rcClip);
        return;
    }
    // Its glyphs are kept between layouts: finding the part shown, and
    // placing the caret after every key, would shape the whole line again.
    pLayout->setCacheEnabled(true);
    DrawShownPart(painter, block, sText, pLayout->lineAt(0), ptOffset, selections, rcClip);
}

}  // namespace LongLines
