#include "gui/documents/docmanager.h"

#include "core/app/prompter.h"
#include "core/app/recentfilelist.h"
#include "core/app/settings.h"
#include "core/documents/doctitle.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"

#include <QFileInfo>

CDocManager::CDocManager(const SDocServices& services, QObject* pParent) : QObject(pParent), m_services(services)
{
    for (const SDocTypeInfo& type : DocTypes())
        m_templates.append(new CDocTemplate(*this, type));
}

CDocTemplate* CDocManager::Template(EDocKind eKind) const
{
    return m_templates.value(int(eKind));
}

QList<CScriptDoc*> CDocManager::AllDocuments() const
{
    QList<CScriptDoc*> documents;
    for (const CDocTemplate* pTemplate : m_templates)
        documents += pTemplate->Documents();
    return documents;
}

CScriptDoc* CDocManager::FindDocument(const QString& sPath) const
{
    const QString sAbsolute = QFileInfo(sPath).absoluteFilePath();
    for (CScriptDoc* pDoc : AllDocuments())
        if (pDoc->GetPathName() == sAbsolute)
            return pDoc;
    return nullptr;
}

CScriptDoc* CDocManager::OpenDocumentFile(const QString& sPath, bool bAddToRecent)
{
    if (!m_pWindows)
        return nullptr;
    if (CScriptDoc* pOpen = FindDocument(sPath)) {
        if (pOpen->Frame())
            m_pWindows->ActivateDocumentWindow(pOpen->Frame());
        return pOpen;
    }
    const SDocTypeInfo& type = DocTypeForPath(sPath);
    return Template(type.eKind)->OpenDocumentFile(QFileInfo(sPath).absoluteFilePath(), bAddToRecent);
}

CScriptDoc* CDocManager::NewDocument(EDocKind eKind, EHeader eHeader)
{
    if (!m_pWindows)
        return nullptr;
    const bool bHeader = eHeader == EHeader::AsSettings && m_services.settings.m_bAddHeader != 0;
    return Template(eKind)->NewDocument(bHeader);
}

CScriptDoc* CDocManager::CreateDocFromText(EDocKind eKind, const QString& sText, const QString& sTitle)
{
    CDocTemplate* pTemplate = Template(eKind);
    CScriptDoc* pDoc = pTemplate ? NewDocument(eKind, EHeader::None) : nullptr;
    if (!pDoc)
        return nullptr;
    const QString sExt = m_services.settings.m_bShowExt ? pTemplate->GetDocString(EDocField::FilterExt) : QString();
    pDoc->SetTitle(sTitle + sExt);
    pDoc->ReplaceAll(sText);
    return pDoc;
}

void CDocManager::OpenRecentFile(int nIndex)
{
    CRecentFileList* pRecent = m_services.pRecentFiles;
    const QString sPath = pRecent ? pRecent->GetAt(nIndex) : QString();
    if (!sPath.isEmpty() && !OpenDocumentFile(sPath))
        pRecent->Remove(nIndex);
}

bool CDocManager::SaveAllModified()
{
    QList<CScriptDoc*> modified;
    QStringList names;
    for (CScriptDoc* pDoc : AllDocuments()) {
        if (!pDoc->IsModified())
            continue;
        modified.append(pDoc);
        names.append(DocTitle::ListName(pDoc->GetPathName(), pDoc->GetTitle()));
    }
    if (modified.isEmpty())
        return true;
    QList<bool> selected;
    switch (m_services.prompter.SaveModified(names, &selected)) {
    case IPrompter::EAnswer::Yes: {
        bool bAllSaved = true;
        for (int i = 0; i < modified.size(); ++i)
            if (selected.value(i))
                bAllSaved = modified[i]->DoFileSave() && bAllSaved;
        return bAllSaved;
    }
    case IPrompter::EAnswer::No:
        return true;
    default:
        return false;
    }
}

void CDocManager::CloseAllDocuments()
{
    for (CScriptDoc* pDoc : AllDocuments())
        pDoc->OnCloseDocument();
}

void CDocManager::SaveAll()
{
    for (CScriptDoc* pDoc : AllDocuments())
        if (pDoc->IsModified())
            pDoc->DoFileSave();
}
