#include "gui/documents/doctemplate.h"

#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"

CDocTemplate::CDocTemplate(CScriptEditApp& app, const SDocTypeInfo& type) : QObject(&app), m_app(app), m_type(type)
{
}

QString CDocTemplate::SaveFilter() const
{
    return GetDocString(EDocField::FilterName) + QStringLiteral("|*") + GetDocString(EDocField::FilterExt)
        + QStringLiteral("|All Files (*.*)|*.*||");
}

CScriptDoc* CDocTemplate::OpenDocumentFile(const QString& sPath, bool bAddToRecent)
{
    if (!m_app.MainFrame())
        return nullptr;
    auto* pDoc = new CScriptDoc(*this);
    if (sPath.isEmpty()) {
        pDoc->SetTitle();
    } else {
        if (!pDoc->OnOpenDocument(sPath)) {
            delete pDoc;
            return nullptr;
        }
        pDoc->SetPathName(sPath, bAddToRecent);
    }
    m_documents.append(pDoc);
    auto* pFrame = new CChildFrame(*pDoc);
    pDoc->SetFrame(pFrame);
    m_app.MainFrame()->AddDocumentWindow(pFrame);
    pFrame->View()->OnInitialUpdate();
    return pDoc;
}
