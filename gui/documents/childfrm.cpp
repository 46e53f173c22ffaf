#include "gui/documents/childfrm.h"

#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"

#include <QCloseEvent>

CChildFrame::CChildFrame(CScriptDoc& doc) : m_doc(doc), m_pView(new CScriptView(doc, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_pView);
    UpdateTitle();
    connect(&m_doc, &CScriptDoc::TitleChanged, this, &CChildFrame::UpdateTitle);
    // The document outlives its window only until the window is gone.
    connect(this, &QObject::destroyed, &m_doc, &QObject::deleteLater);
}

void CChildFrame::UpdateTitle()
{
    setWindowTitle(m_doc.GetTitle());
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
        m_doc.SetFrame(nullptr);
        m_doc.OnFrameClosed();
    }
    QMdiSubWindow::closeEvent(pEvent);
}
