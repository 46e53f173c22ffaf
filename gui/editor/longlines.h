#pragma once

#include <QList>
#include <QPlainTextDocumentLayout>
#include <QTextLayout>

class QPainter;
class QTextBlock;

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
class CDocumentLayout : public QPlainTextDocumentLayout
{
public:
    explicit CDocumentLayout(QTextDocument* pDocument) : QPlainTextDocumentLayout(pDocument) { }

protected:
    void documentChanged(int nFrom, int nRemoved, int nAdded) override;

private:
    int m_nBlocks = 1;  // as the plain-text layout counted them last
};

}  // namespace LongLines
