#include "gui/documents/scriptdoc.h"

#include "core/app/appinfo.h"
#include "core/app/prompter.h"
#include "core/app/recentfilelist.h"
#include "core/app/settings.h"
#include "core/app/settingsstore.h"
#include "core/data/projectmodel.h"
#include "core/documents/doctitle.h"
#include "core/documents/textfile.h"
#include "core/editor/bookmarks.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/doctemplate.h"

#include <QFileInfo>

CScriptDoc::CScriptDoc(CDocTemplate& docTemplate) : CEditBuffer(&docTemplate), m_template(docTemplate)
{
    SetFileType(ViewFileType(QString(), m_template.Type()));
    connect(this, &CEditBuffer::ModifiedChanged, this,
            [this](bool bModified) { StoreTitle(DocTitle::Marked(m_sTitle, bModified)); });
}

CScriptDoc::~CScriptDoc() = default;

SDocServices& CScriptDoc::Services() const
{
    return m_template.Manager().Services();
}

bool CScriptDoc::ShowExt() const
{
    return Services().settings.m_bShowExt != 0;
}

void CScriptDoc::StoreTitle(const QString& sTitle)
{
    if (sTitle == m_sTitle)
        return;
    m_sTitle = sTitle;
    emit TitleChanged();
}

void CScriptDoc::SetTitle()
{
    StoreTitle(DocTitle::Compute(m_sPathName, NewDocumentName(m_template.Type()), ShowExt()));
}

void CScriptDoc::SetPathName(const QString& sPath, bool bAddToRecent)
{
    m_sPathName = QFileInfo(sPath).absoluteFilePath();
    SetFileType(ViewFileType(m_sPathName, m_template.Type()));
    SetTitle();
    if (bAddToRecent && Services().pRecentFiles)
        Services().pRecentFiles->Add(m_sPathName);
}

void CScriptDoc::FileMoved(const QString& sNewPath)
{
    SetPathName(sNewPath);
    StoreTitle(DocTitle::Marked(m_sTitle, IsModified()));
}

bool CScriptDoc::OnOpenDocument(const QString& sPath)
{
    QString sText;
    if (!ReadFile(sPath, &sText))
        return false;
    Load(sText);
    return true;
}

bool CScriptDoc::ReadFile(const QString& sPath, QString* psText)
{
    TextFile::SLoaded loaded;
    QString sError;
    if (TextFile::Load(sPath, &loaded, &sError) != TextFile::ELoad::Ok) {
        Services().prompter.ShowMessage(QStringLiteral("Cannot open the file:\n%1\n\n%2").arg(sPath, sError),
                                        AppInfo::kTitle, IPrompter::EIcon::Error);
        return false;
    }
    m_format = loaded.format;
    *psText = std::move(loaded.sText);
    return true;
}

bool CScriptDoc::OnSaveDocument(const QString& sPath)
{
    SettleText();
    const TextFile::SSaved saved = TextFile::Save(sPath, PlainText(), &m_format);
    if (!saved.bOk) {
        Services().prompter.ShowMessage(QStringLiteral("Error saving the file:\n%1\n\n%2").arg(sPath, saved.sError),
                                        QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
        return false;
    }
    if (saved.bSwitchedToUtf8) {
        Services().prompter.ShowMessage(
            QStringLiteral("%1 holds characters that the Windows-1252 code page cannot store.\n"
                           "It was saved as UTF-8 so that none of them is lost.")
                .arg(QFileInfo(sPath).fileName()),
            AppInfo::kTitle, IPrompter::EIcon::Information);
    }
    // The document keeps its encoding: the game reads the bytes as they are.
    // Only this editor's next open would take them otherwise, so say so.
    if (saved.bNowReadsBackOther)
        Services().prompter.ShowMessage(
            QStringLiteral("%1 was saved in %2, the encoding it was opened in.\n"
                           "Its bytes also read as %3, though: the next time it is opened, "
                           "its text will show differently.")
                .arg(QFileInfo(sPath).fileName(), CodePage::Name(m_format.eEncoding), saved.sReadBackAs),
            AppInfo::kTitle, IPrompter::EIcon::Warning);
    return true;
}

bool CScriptDoc::DoSave(const QString& sPath)
{
    QString sTarget = sPath;
    if (sTarget.isEmpty()) {
        const QString sProposed = m_sPathName.isEmpty() ? m_sTitle : m_sPathName;
        const QString sExt = m_template.GetDocString(EDocField::FilterExt);
        sTarget = Services().prompter.GetSaveFileName(sProposed, m_template.SaveFilter(), sExt);
        if (sTarget.isEmpty())
            return false;
        if (QFileInfo(sTarget).suffix().isEmpty())
            sTarget += sExt;
    }
    if (!OnSaveDocument(sTarget))
        return false;
    SetPathName(sTarget);
    SetModifiedFlag(false);
    // Undoing past a save leads away from the file, so those steps count as changes.
    MarkSaved();
    emit Saved();
    return true;
}

bool CScriptDoc::SaveInFrame(const QString& sPathOrEmpty)
{
    const DocTitle::SSaveFrame frame = DocTitle::BeforeSave(m_sTitle, ShowExt(), !m_sPathName.isEmpty());
    StoreTitle(frame.sTitle);
    const bool bSaved = DoSave(sPathOrEmpty);
    StoreTitle(DocTitle::AfterSave(frame, m_sPathName, ShowExt(), IsModified()));
    return bSaved;
}

bool CScriptDoc::DoFileSave()
{
    return SaveInFrame(m_sPathName);
}

void CScriptDoc::OnFileSave()
{
    SaveInFrame(m_sPathName);
}

void CScriptDoc::OnFileSaveAs()
{
    SaveInFrame(QString());
}

bool CScriptDoc::SaveModified()
{
    SettleText();
    if (!IsModified())
        return true;
    StoreTitle(DocTitle::StripStars(m_sTitle));
    QList<bool> selected;
    const IPrompter::EAnswer eAnswer
        = Services().prompter.SaveModified({DocTitle::ListName(m_sPathName, m_sTitle)}, &selected);
    if (eAnswer == IPrompter::EAnswer::No)
        return true;
    if (eAnswer == IPrompter::EAnswer::Yes && selected.value(0) && DoFileSave())
        return true;
    SetModifiedFlag(IsModified());
    return false;
}

void CScriptDoc::OnCloseDocument()
{
    if (m_pFrame)
        m_pFrame->CloseWithoutAsking();
}

void CScriptDoc::OnCloseWindow()
{
    if (m_pFrame)
        m_pFrame->close();
}

void CScriptDoc::OnFrameClosed()
{
    Services().project.ProjectDocClosed(this);
    m_template.RemoveDocument(this);
}

void CScriptDoc::LoadBookmarks()
{
    if (!m_sPathName.isEmpty())
        SetBookmarks(
            Bookmarks::FromStored(Services().store.ReadString(kBookmarksSection, m_sPathName, QString()), LineCount()));
}

void CScriptDoc::SaveBookmarks()
{
    // An untitled document keeps no bookmarks: stored under the empty name,
    // they would turn up in the next untitled document.
    if (m_sPathName.isEmpty())
        return;
    ISettingsStore& store = Services().store;
    const QString sStored = Bookmarks::ToStored(Bookmarks());
    if (!sStored.isEmpty())
        store.WriteString(kBookmarksSection, m_sPathName, sStored);
    else if (!store.ReadString(kBookmarksSection, m_sPathName, QString()).isEmpty())
        store.DeleteValue(kBookmarksSection, m_sPathName);
    else
        return;
    if (!store.Flush())
        Services().prompter.ShowMessage(
            QStringLiteral("The bookmarks of %1 could not be stored: the settings file cannot be written.")
                .arg(QFileInfo(m_sPathName).fileName()),
            QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
}
