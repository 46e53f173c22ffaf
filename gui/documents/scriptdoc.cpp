#include "gui/documents/scriptdoc.h"

#include "core/app/appinfo.h"
#include "core/documents/doctitle.h"
#include "core/documents/textfile.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"

#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>

CScriptDoc::CScriptDoc(CDocTemplate& docTemplate)
    : QObject(&docTemplate)
    , m_template(docTemplate)
    , m_pText(new QTextDocument(this))
{
    // The view copies the text's modify flag over after each real change;
    // colouring touches the text's flag too, so the document does not follow it.
    m_pText->setDocumentLayout(new QPlainTextDocumentLayout(m_pText));
}

CScriptDoc::~CScriptDoc() = default;

CScriptEditApp& CScriptDoc::App() const
{
    return m_template.App();
}

bool CScriptDoc::ShowExt() const
{
    return App().Settings().m_bShowExt != 0;
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
    SetTitle();
    if (bAddToRecent && App().RecentFiles())
        App().RecentFiles()->Add(m_sPathName);
}

void CScriptDoc::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
    if (m_pText->isModified() != bModified)
        m_pText->setModified(bModified);
    StoreTitle(DocTitle::Marked(m_sTitle, bModified));
}

QString CScriptDoc::PlainText() const
{
    QString sText;
    sText.reserve(m_pText->characterCount());
    for (QTextBlock block = m_pText->begin(); block.isValid(); block = block.next()) {
        if (block != m_pText->begin())
            sText += QLatin1Char('\n');
        sText += block.text();
    }
    // A line separator inside a block is a line break in the file too.
    sText.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return sText;
}

bool CScriptDoc::OnOpenDocument(const QString& sPath)
{
    TextFile::SLoaded loaded;
    QString sError;
    if (TextFile::Load(sPath, &loaded, &sError) != TextFile::ELoad::Ok) {
        App().Prompter().ShowMessage(QStringLiteral("Cannot open the file:\n%1\n\n%2").arg(sPath, sError),
                                     AppInfo::kTitle, IPrompter::EIcon::Error);
        return false;
    }
    m_eEncoding = loaded.eEncoding;
    m_pText->setPlainText(loaded.sText);
    SetModifiedFlag(false);
    return true;
}

bool CScriptDoc::OnSaveDocument(const QString& sPath)
{
    const TextFile::SSaved saved = TextFile::Save(sPath, PlainText(), m_eEncoding);
    if (!saved.bOk) {
        App().Prompter().ShowMessage(QStringLiteral("Error saving the file:\n%1\n\n%2").arg(sPath, saved.sError),
                                     QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
        return false;
    }
    if (saved.bSwitchedToUtf8) {
        m_eEncoding = ETextEncoding::Utf8;
        App().Prompter().ShowMessage(
            QStringLiteral("%1 holds characters that the Windows-1252 code page cannot store.\n"
                           "It was saved as UTF-8 so that none of them is lost.")
                .arg(QFileInfo(sPath).fileName()),
            AppInfo::kTitle, IPrompter::EIcon::Information);
    }
    return true;
}

bool CScriptDoc::DoSave(const QString& sPath)
{
    QString sTarget = sPath;
    if (sTarget.isEmpty()) {
        const QString sProposed = m_sPathName.isEmpty() ? m_sTitle : m_sPathName;
        const QString sExt = m_template.GetDocString(EDocField::FilterExt);
        sTarget = App().Prompter().GetSaveFileName(sProposed, m_template.SaveFilter(), sExt);
        if (sTarget.isEmpty())
            return false;
        if (QFileInfo(sTarget).suffix().isEmpty())
            sTarget += sExt;
    }
    if (!OnSaveDocument(sTarget))
        return false;
    SetPathName(sTarget);
    SetModifiedFlag(false);
    emit Saved();
    return true;
}

bool CScriptDoc::SaveInFrame(const QString& sPathOrEmpty)
{
    const DocTitle::SSaveFrame frame = DocTitle::BeforeSave(m_sTitle, ShowExt(), !m_sPathName.isEmpty());
    StoreTitle(frame.sTitle);
    const bool bSaved = DoSave(sPathOrEmpty);
    StoreTitle(DocTitle::AfterSave(frame, m_sPathName, ShowExt(), m_bModified));
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
    if (!m_bModified)
        return true;
    StoreTitle(DocTitle::StripStars(m_sTitle));
    QList<bool> selected;
    const IPrompter::EAnswer eAnswer
        = App().Prompter().SaveModified({DocTitle::ListName(m_sPathName, m_sTitle)}, &selected);
    if (eAnswer == IPrompter::EAnswer::No)
        return true;
    if (eAnswer == IPrompter::EAnswer::Yes && selected.value(0) && DoFileSave())
        return true;
    SetModifiedFlag(m_bModified);
    return false;
}

void CScriptDoc::OnCloseDocument()
{
    if (m_pFrame)
        m_pFrame->CloseWithoutAsking();
}

void CScriptDoc::OnFrameClosed()
{
    App().Project().ProjectDocClosed(this);
    m_template.RemoveDocument(this);
}
