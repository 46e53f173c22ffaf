#pragma once

#include <QList>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include <optional>

class QPainter;
class QTimer;

// A position table of 150 KB on one line is laid out again at every key,
// and the text layout draws every glyph of a line, the ones beyond the
// window's edges included. So a long line keeps its colours beside its
// layout, which then holds one run of text and lays out quickly, and only
// the part of it the window shows is drawn, coloured, from a layout of that
// part alone. What it shows is what the line's own layout would draw.
namespace LongLines {

bool IsLong(const QTextBlock& block);
// Lines at least this long count as long; tests set it to compare both ways
// of drawing the same line.
void SetThreshold(int nLength);
int Threshold();

// The colours of a line: kept beside a long one, in the layout of any other.
QList<QTextLayout::FormatRange> Colours(const QTextBlock& block);
// Keeps the colours of a long line beside its layout; a line no longer long
// loses them and goes back to its layout's own.
void KeepColours(QTextBlock& block, const QList<QTextLayout::FormatRange>& ranges);
void ForgetColours(QTextBlock& block);

// Whether all of a laid-out line, its glyphs reaching over their cells
// included, lies left of rcClip when its layout sits at ptOffset. Beside a
// long line scrolled far to the right, the short lines around it end there;
// laying their glyphs out for a painter that clips them all cost more than
// drawing the long one.
bool EndsLeftOf(const QTextBlock& block, const QPointF& ptOffset, const QRectF& rcClip);

// Draws a laid-out line the way its layout would, with its colours, the
// given selections and a caret before character nCaret (none when -1), but
// only within rcClip. ptOffset is where the line's layout sits in the
// painter's coordinates. nNear, when not -1, is a character likely to stand
// in the window (the text cursor's, shown or not), from which the part
// shown is found faster.
void Draw(QPainter& painter, const QTextBlock& block, const QPointF& ptOffset,
          const QList<QTextLayout::FormatRange>& selections, const QRectF& rcClip, int nCaret, int nCaretWidth,
          int nNear = -1);

// The plain-text layout lays a changed line out at once, the whole of it,
// and a line left to be laid out later twice: before the change and after.
// A key that shows a completion changes the line twice before anything is
// drawn, so a changed long line is only marked, and laid out when something
// first asks where its characters stand.
//
// Typing at the end of a long line need not lay it out at all: the place of
// the first character changed is kept from the line's last layout, and
// what follows it is measured alone. While a CHold lives, a line waiting so
// answers for its rectangle from that instead of being laid out; the typing
// keys, placing the caret after them and painting hold one. Anything else
// asking lays the line out as before, and so does a pause in the typing.
class CDocumentLayout : public QPlainTextDocumentLayout
{
public:
    explicit CDocumentLayout(QTextDocument* pDocument);
    static CDocumentLayout* Of(const QTextDocument* pDocument);

    QRectF blockBoundingRect(const QTextBlock& block) const override;
    QSizeF documentSize() const override;

    // Called before the text changes at nPos.
    void KeepPlace(int nPos);
    // Where character n of a line waiting to be laid out stands, as its
    // layout would put it, when that can be told from the kept place.
    std::optional<qreal> WaitingX(const QTextBlock& block, int n) const;
    struct SLineShape
    {
        QRectF rc;               // where the line stands in its block, its width left out
        qreal rLayoutWidth = 0;  // the width it is laid out to
    };
    std::optional<SLineShape> WaitingLine(const QTextBlock& block) const;
    // The character of the waiting line whose place is kept; -1 if none.
    int KeptPlace() const;
    // Lays a waiting line out now.
    void LayOut(const QTextBlock& block);
    // The same for a line of any document.
    static void LayOutLine(const QTextBlock& block);

    class CHold
    {
    public:
        explicit CHold(const QTextDocument* pDocument);
        ~CHold();
        CHold(const CHold&) = delete;
        CHold& operator=(const CHold&) = delete;

    private:
        CDocumentLayout* m_pLayout;
    };

protected:
    void documentChanged(int nFrom, int nRemoved, int nAdded) override;

private:
    struct SKeptPlace
    {
        QTextBlock block;
        int nAt = 0;   // the characters before it are as they were laid out
        qreal rX = 0;  // where character nAt stood
        SLineShape line;
        QRectF rcBlock;                             // the block's rectangle then
        qreal rNaturalWidth = 0;                    // its text's width then
        qreal rDocumentWidth = 0;                   // the document's width then
        bool bWidest = false;                       // whether it was the widest line then
        mutable std::optional<qreal> rOthersWidth;  // the widest of the others, once measured
    };

    bool IsWaiting(const QTextBlock& block) const;
    static bool StillStarts(const SKeptPlace& kept);
    qreal WidestBut(const QTextBlock& skipped) const;
    // The width of a waiting line's text, as its layout would measure it.
    std::optional<qreal> WaitingNaturalWidth() const;

    int m_nBlocks = 1;  // as the plain-text layout counted them last
    int m_nHolds = 0;
    std::optional<SKeptPlace> m_kept;
    mutable std::optional<std::optional<qreal>> m_naturalWidth;  // of the waiting line, once measured
    QTimer* m_pSettle;
};

}  // namespace LongLines
