#include "gui/frame/mainfrm.h"

#include "core/app/appinfo.h"
#include "gui/app/logoimage.h"
#include "gui/app/scripteditapp.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMimeData>
#include <QScreen>

namespace {

QSize PrimaryScreenSize()
{
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    return pScreen ? pScreen->size() : QSize(1024, 768);
}

} // namespace

CMainFrame::CMainFrame(CScriptEditApp& app)
    : m_app(app)
    , m_settings(ReadFrameSettings(app.Store(), PrimaryScreenSize()))
    , m_pMdiArea(new QMdiArea(this))
{
    setWindowTitle(AppInfo::kTitle);
    setWindowIcon(QIcon(QPixmap::fromImage(LoadAppImage(QStringLiteral("velkedit.png")))));
    m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    ApplyPlacement();
}

void CMainFrame::ApplyPlacement()
{
    move(m_settings.m_nWinX, m_settings.m_nWinY);
    resize(m_settings.m_nWinWidth, m_settings.m_nWinHeight);
}

QRect CMainFrame::StoredPlacement() const
{
    // pos() is where move() put the frame and size() what resize() gave, so a
    // stored placement comes back exactly at the next start.
    return QRect(pos(), size());
}

CCloseState CMainFrame::CloseState() const
{
    CCloseState state;
    state.bMaximised = isMaximized();
    state.rcWindow = StoredPlacement();
    return state;
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    WriteSettingsOnClose(m_app.Store(), m_app.Settings(), m_settings, CloseState(), [this] { m_app.SaveProjectData(); });
    m_app.Store().Flush();
    if (!m_app.SaveAllModified()) {
        pEvent->ignore();
        return;
    }
    pEvent->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (pEvent->mimeData()->hasUrls())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (url.isLocalFile())
            m_app.OpenDocumentFile(url.toLocalFile());
    pEvent->acceptProposedAction();
}
