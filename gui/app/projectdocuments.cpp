#include "gui/app/projectdocuments.h"

#include "gui/app/scripteditapp.h"
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
    return m_app.OpenDocumentFile(sPath, false);
}

void CProjectDocuments::RemoveNewestRecentFile()
{
    // Nothing to take back: OpenDocument never added an entry. Removing the
    // newest one here would drop an unrelated file whenever the project's
    // file was open already and only got activated.
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
