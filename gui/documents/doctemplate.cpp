#include "gui/documents/doctemplate.h"

#include "core/app/settings.h"
#include "core/documents/textfile.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"

CDocTemplate::CDocTemplate(CDocManager& manager, const SDocTypeInfo& type)
    : QObject(&manager)
    , m_manager(manager)
    , m_type(type)
{
}

QString CDocTemplate::SaveFilter() const
{
    return GetDocString(EDocField::FilterName) + QStringLiteral("|*") + GetDocString(EDocField::FilterExt)
        + QStringLiteral("|All Files (*.*)|*.*||");
}

CScriptDoc* CDocTemplate::OpenDocumentFile(const QString& sPath, bool bAddToRecent)
{
    if (!m_manager.Windows())
        return nullptr;
    auto* pDoc = new CScriptDoc(*this);
    QString sText;
    if (!pDoc->ReadFile(sPath, &sText)) {
        delete pDoc;
        return nullptr;
    }
    pDoc->SetPathName(sPath, bAddToRecent);
    // The window is made while the document is still empty: a view that
    // takes on a text of half a million lines sets up a layout object for
    // every one of them, which costs more memory than the text itself.
    return Show(pDoc, [&] {
        pDoc->Load(sText);
        pDoc->LoadBookmarks();
    });
}

CScriptDoc* CDocTemplate::NewDocument(bool bHeader)
{
    if (!m_manager.Windows())
        return nullptr;
    auto* pDoc = new CScriptDoc(*this);
    pDoc->SetTitle();
    // A file read from disk keeps its text as it was, even one without an
    // extension: only documents made new get a header.
    if (bHeader) {
        const SDocServices& services = m_manager.Services();
        const QString sHeader = ExpandHeader(HeaderTextFor(services.dictionary, pDoc->FileType()),
                                             services.settings.m_bVelk != 0, services.settings.m_sAuthor);
        pDoc->ApplyEdits({{0, 0, TextFile::NormaliseLineEnds(sHeader)}}, EEditHistory::Restart);
    }
    return Show(pDoc);
}

CScriptDoc* CDocTemplate::Show(CScriptDoc* pDoc, const std::function<void()>& fill)
{
    m_documents.append(pDoc);
    auto* pFrame = new CChildFrame(*pDoc, m_manager.Windows()->EditorContext());
    pDoc->SetFrame(pFrame);
    m_manager.Windows()->AddDocumentWindow(pFrame);
    if (fill)
        fill();
    pFrame->View()->OnInitialUpdate();
    return pDoc;
}
