#include "gui/workspace/commandbardock.h"

#include "gui/workspace/commanddlg.h"

#include <QHBoxLayout>
#include <QMouseEvent>

namespace {

constexpr int kGripWidth = 6;

}  // namespace

CCommandBarDock::CCommandBarDock(bool bRight, QWidget* pParent)
    : QDockWidget(QStringLiteral("Command Bar"), pParent)
    , m_bRight(bRight)
    , m_pBar(new CCommandDlg)
    , m_pGrip(new QWidget)
{
    setObjectName(QStringLiteral("CommandBar"));
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    m_pGrip->setFixedWidth(kGripWidth);
    m_pGrip->setCursor(Qt::SizeHorCursor);
    m_pGrip->installEventFilter(this);
    auto* pContent = new QWidget(this);
    auto* pLayout = new QHBoxLayout(pContent);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_bRight ? m_pGrip : m_pBar);
    pLayout->addWidget(m_bRight ? m_pBar : m_pGrip);
    setWidget(pContent);
    // The width changes only through the grip: the main window's own
    // separator would clamp a drag beyond the range instead of ignoring it.
    setFixedWidth(StartWidth(0));
}

bool CCommandBarDock::SetBarWidth(int nWidth)
{
    if (!CCommandDlg::AcceptsWidth(nWidth))
        return false;
    setFixedWidth(nWidth);
    return true;
}

bool CCommandBarDock::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched != m_pGrip)
        return QDockWidget::eventFilter(pWatched, pEvent);
    switch (pEvent->type()) {
    case QEvent::MouseButtonPress:
        m_bDragging = static_cast<QMouseEvent*>(pEvent)->button() == Qt::LeftButton;
        return true;
    case QEvent::MouseButtonRelease:
        m_bDragging = false;
        return true;
    case QEvent::MouseMove:
        if (m_bDragging) {
            const QPoint ptGlobal = static_cast<QMouseEvent*>(pEvent)->globalPosition().toPoint();
            const int nOffset = mapFromGlobal(ptGlobal).x();
            SetBarWidth(m_bRight ? width() - nOffset : nOffset);
        }
        return true;
    default:
        return QDockWidget::eventFilter(pWatched, pEvent);
    }
}

int CCommandBarDock::StoredWidth(int nPrevious) const
{
    return CCommandDlg::AcceptsWidth(width()) ? width() : nPrevious;
}

int CCommandBarDock::StartWidth(int nStored)
{
    return CCommandDlg::AcceptsWidth(nStored) ? nStored : 230;
}
