#include "gui/editor/gutter.h"

#include "core/editor/bookmarks.h"
#include "gui/editor/scriptview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

const QColor kBookmark(128, 0, 0);

}  // namespace

CGutter::CGutter(CScriptView& view) : QWidget(&view), m_view(view)
{
    setCursor(Qt::ArrowCursor);
}

void CGutter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    constexpr int kEdge = CScriptView::kGutterWidth;
    painter.fillRect(QRect(0, 0, kEdge, height()), m_view.m_crGutter);
    painter.fillRect(QRect(kEdge + 1, 0, width() - kEdge - 1, height()), CScriptView::ColourOf(m_view.m_crWindow));
    painter.setPen(m_view.m_crGutterEdge);
    painter.drawLine(kEdge, 0, kEdge, height());
    painter.setFont(m_view.m_fontGutter);

    const QPointF offset = m_view.contentOffset();
    for (QTextBlock block = m_view.firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF rcBlock = m_view.blockBoundingGeometry(block).translated(offset);
        const int y = int(rcBlock.top());
        if (y > height())
            break;
        // A wrapped line numbers its first row only.
        const int h = block.layout() && block.layout()->lineCount() > 0 ? int(block.layout()->lineAt(0).height())
                                                                        : int(rcBlock.height());
        const bool bMarked = Bookmarks::Has(m_view.m_nBookmarks, block.blockNumber());
        if (bMarked) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(kBookmark);
            if (m_view.m_bLineNumbers)
                painter.drawRect(QRect(QPoint(0, y + 1), QPoint(kEdge - 1, y + h - 2)));
            else
                painter.drawEllipse(QRect(QPoint(3, y + 2), QPoint(18, y + h - 3)));
        }
        if (m_view.m_bLineNumbers) {
            painter.setPen(bMarked ? Qt::white : Qt::black);
            painter.drawText(QRect(1, y, kEdge - 1, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             QStringLiteral("%1").arg(block.blockNumber() + 1, 4, 10, QLatin1Char('0')));
        }
    }
}

void CGutter::mousePressEvent(QMouseEvent* pEvent)
{
    // Only the strip toggles; the rest of the margin belongs to the text.
    if (pEvent->button() != Qt::LeftButton || pEvent->position().x() >= CScriptView::kGutterWidth) {
        pEvent->ignore();
        return;
    }
    const QTextCursor cursor = m_view.cursorForPosition(QPoint(0, int(pEvent->position().y())));
    m_view.ToggleBookmark(cursor.blockNumber());
    pEvent->accept();
}
