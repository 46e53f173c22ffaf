#include "gui/documents/childfrm.h"

#include "gui/app/scripteditapp.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/frame/mainfrm.h"
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

CMainFrame* CChildFrame::MainFrame() const
{
    return m_doc.Template().App().MainFrame();
}

void CChildFrame::UpdateTitle()
{
    setWindowTitle(m_doc.GetTitle());
    if (MainFrame() && MainFrame()->FindTabIndex(this) >= 0)
        MainFrame()->UpdateScriptTab(this);
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
        if (MainFrame())
            MainFrame()->RemoveScriptTab(this);
        m_doc.SetFrame(nullptr);
        m_doc.OnFrameClosed();
    }
    QMdiSubWindow::closeEvent(pEvent);
}
