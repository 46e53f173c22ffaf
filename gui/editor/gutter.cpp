#include "gui/editor/gutter.h"

#include "core/editor/bookmarks.h"
#include "gui/editor/longlines.h"
#include "gui/editor/scriptview.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

const QColor kBookmark(128, 0, 0);

}  // namespace

CGutter::CGutter(CScriptView& view)
    : QWidget(&view)
    , m_view(view)
    , m_crStrip(view.palette().color(QPalette::Button))
    , m_crEdge(view.palette().color(QPalette::Dark))
    , m_fontNumbers(QStringLiteral("Tahoma"))
{
    setCursor(Qt::ArrowCursor);
    m_fontNumbers.setStyleHint(QFont::SansSerif);
    m_fontNumbers.setWeight(QFont::Normal);
    m_fontNumbers.setPixelSize(qMax(1, qRound(7 * view.logicalDpiY() / 72.0)));
    // Where the narrow face is missing, a wider one must still fit four
    // digits into the strip.
    while (m_fontNumbers.pixelSize() > 5
           && QFontMetrics(m_fontNumbers).horizontalAdvance(QStringLiteral("0000")) > CScriptView::kGutterWidth - 2)
        m_fontNumbers.setPixelSize(m_fontNumbers.pixelSize() - 1);
}

int CGutter::StripWidth() const
{
    int nDigits = 1;
    for (int nLines = m_view.document()->blockCount(); nLines >= 10; nLines /= 10)
        ++nDigits;
    if (nDigits <= 4)
        return CScriptView::kGutterWidth;
    return CScriptView::kGutterWidth + (nDigits - 4) * QFontMetrics(m_fontNumbers).horizontalAdvance(QLatin1Char('0'));
}

int CGutter::Width() const
{
    return StripWidth() + CScriptView::kTextIndent - CScriptView::kGutterWidth;
}

void CGutter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int kEdge = StripWidth();
    painter.fillRect(QRect(0, 0, kEdge, height()), m_crStrip);
    painter.fillRect(QRect(kEdge + 1, 0, width() - kEdge - 1, height()),
                     CScriptView::ColourOf(m_view.Options().crWindow));
    painter.setPen(m_crEdge);
    painter.drawLine(kEdge, 0, kEdge, height());
    painter.setFont(m_fontNumbers);

    const QPointF offset = m_view.contentOffset();
    LongLines::CDocumentLayout::CHold waiting(m_view.document());
    const LongLines::CDocumentLayout* pLayout = LongLines::CDocumentLayout::Of(m_view.document());
    for (QTextBlock block = m_view.firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rcBlock = m_view.blockBoundingGeometry(block).translated(offset);
        const int y = int(rcBlock.top());
        if (y > height())
            break;
        // A wrapped line numbers its first row only.
        const auto waiting = pLayout ? pLayout->WaitingLine(block) : std::nullopt;
        const int h = waiting                                   ? int(waiting->rc.height())
            : block.layout() && block.layout()->lineCount() > 0 ? int(block.layout()->lineAt(0).height())
                                                                : int(rcBlock.height());
        const bool bMarked = Bookmarks::Has(m_view.Document().Bookmarks(), block.blockNumber());
        if (bMarked) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(kBookmark);
            if (m_view.Options().bLineNumbers)
                painter.drawRect(QRect(QPoint(0, y + 1), QPoint(kEdge - 1, y + h - 2)));
            else
                painter.drawEllipse(QRect(QPoint(3, y + 2), QPoint(18, y + h - 3)));
        }
        if (m_view.Options().bLineNumbers) {
            painter.setPen(bMarked ? Qt::white : Qt::black);
            painter.drawText(QRect(1, y, kEdge - 1, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             QStringLiteral("%1").arg(block.blockNumber() + 1, 4, 10, QLatin1Char('0')));
        }
    }
}

void CGutter::mousePressEvent(QMouseEvent* pEvent)
{
    // Only the strip toggles; the rest of the margin belongs to the text.
    if (pEvent->button() != Qt::LeftButton || pEvent->position().x() >= StripWidth()) {
        pEvent->ignore();
        return;
    }
    const QTextCursor cursor = m_view.cursorForPosition(QPoint(0, int(pEvent->position().y())));
    m_view.ToggleBookmark(cursor.blockNumber());
    pEvent->accept();
}
