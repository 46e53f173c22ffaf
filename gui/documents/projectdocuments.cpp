#include "gui/documents/projectdocuments.h"

#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"

namespace {

CScriptDoc* AsDoc(QObject* pDoc)
{
    return qobject_cast<CScriptDoc*>(pDoc);
}

}  // namespace

QObject* CProjectDocuments::OpenDocument(const QString& sPath)
{
    // Files a project opens stay off the recent-file list from the start.
    return m_documents.OpenDocumentFile(sPath, false);
}

bool CProjectDocuments::IsModified(QObject* pDoc) const
{
    const CScriptDoc* pScript = AsDoc(pDoc);
    return pScript && pScript->IsModified();
}

void CProjectDocuments::SaveModifiedCheck(QObject* pDoc)
{
    if (CScriptDoc* pScript = AsDoc(pDoc))
        pScript->SaveModified();
}

void CProjectDocuments::CloseDocument(QObject* pDoc)
{
    if (CScriptDoc* pScript = AsDoc(pDoc))
        pScript->OnCloseDocument();
}

QString CProjectDocuments::DocumentPath(QObject* pDoc) const
{
    const CScriptDoc* pScript = AsDoc(pDoc);
    return pScript ? pScript->GetPathName() : QString();
}
