#include "gui/documents/childfrm.h"

#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CScriptDoc& doc, CEditorContext& context)
    : m_doc(doc)
    , m_pView(new CScriptView(doc, context, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    setWindowTitle(m_doc.GetTitle());
    connect(&m_doc, &CScriptDoc::TitleChanged, this, [this] { setWindowTitle(m_doc.GetTitle()); });
    // The document outlives its window only until the window is gone.
    connect(this, &QObject::destroyed, &m_doc, &QObject::deleteLater);
}

CChildFrame::~CChildFrame()
{
    // However the window goes, the bookmarks are kept for the next time.
    if (!m_bClosed)
        m_doc.SaveBookmarks();
}

void CChildFrame::CloseWithoutAsking()
{
    m_bForceClose = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* pEvent)
{
    if (!m_bForceClose && !m_doc.SaveModified()) {
        pEvent->ignore();
        return;
    }
    if (!m_bClosed) {
        m_bClosed = true;
        m_doc.SaveBookmarks();
        emit Closing(this);
        m_doc.SetFrame(nullptr);
        m_doc.OnFrameClosed();
    }
    QMdiSubWindow::closeEvent(pEvent);
}
