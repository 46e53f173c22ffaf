#include "gui/localize/localizecommands.h"

#include "core/app/appinfo.h"
#include "core/app/prompter.h"
#include "core/data/projectmodel.h"
#include "core/documents/textfile.h"
#include "core/localize/localizer.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kTableName = QStringLiteral("StringTable.csv");

const char* const kConfirmation
    = "EXPLANATION: This tool will localize all of the strings found in the script files\n"
      "of the current project to the string table file.\n"
      "   1. If the current project does not have a string table one will be created.\n"
      "   2. Strings after commands like 'hint' are changed to the localize \"STR_xx\" command.\n"
      "   3. Strings are then copied to the string table with the corrisponding STR_xx tag.\n"
      "   4. This tool can be used multiple times during the project creation.\n"
      "\n"
      "WARNING: This action will replace text in closed documents and can NOT be undone.\n"
      "Press OK to continue...\n";

bool IsScript(const QString& sPath)
{
    const QString sName = QFileInfo(sPath).fileName();
    const QString sExtension = sName.mid(sName.lastIndexOf(u'.') + 1);
    return sName.contains(u'.')
        && (sExtension.compare(QLatin1String("sqs"), Qt::CaseInsensitive) == 0
            || sExtension.compare(QLatin1String("sqf"), Qt::CaseInsensitive) == 0);
}

// Replaces only the stretch that changed, as one step of the document's history.
void ApplyLocalized(CScriptDoc& doc, const QString& sOld, const Localize::SLocalized& localized)
{
    const int nNewEnd = int(localized.sText.size()) - (int(sOld.size()) - localized.nOldEnd);
    doc.ApplyEdits({{localized.nFirstChange, localized.nOldEnd - localized.nFirstChange,
                     localized.sText.mid(localized.nFirstChange, nNewEnd - localized.nFirstChange)}},
                   EEditHistory::Step);
}

}  // namespace

CLocalizeCommands::CLocalizeCommands(const SServices& services, QObject* pParent)
    : QObject(pParent)
    , m_services(services)
{
    m_services.commands.Bind(ECommand::LocalizeStrings, [this] { OnLocalizeStrings(); });
}

void CLocalizeCommands::OnLocalizeStrings()
{
    if (m_services.prompter.Ask(QLatin1String(kConfirmation), QStringLiteral("Localize Strings"),
                                IPrompter::EButtons::OkCancel, IPrompter::EIcon::Information)
        != IPrompter::EAnswer::Ok)
        return;
    if (Run())
        m_services.prompter.ShowMessage(QStringLiteral("Localize strings completed without errors."), AppInfo::kTitle,
                                        IPrompter::EIcon::Information);
    else
        m_services.prompter.ShowMessage(QStringLiteral("ERROR: Localize strings did not complete."), AppInfo::kTitle,
                                        IPrompter::EIcon::Error);
}

QString CLocalizeCommands::StringTablePath(const QString& sFirstScript)
{
    QString sTable;
    for (const CProjectFile& file : m_services.project.m_ProjectFiles)
        if (file.InUse() && QFileInfo(file.sPath).fileName().compare(kTableName, Qt::CaseInsensitive) == 0)
            sTable = file.sPath;
    if (!sTable.isEmpty())
        return sTable;
    const QString sPath = QDir(QFileInfo(sFirstScript).path()).filePath(kTableName);
    // An author's own table beside the scripts is taken into the project,
    // never replaced by an empty one.
    const bool bExists = QFileInfo::exists(sPath);
    const QString sQuestion = bExists
        ? QStringLiteral("No StringTable.csv file could be found in the current project.\n"
                         "Would you like the one in this directory added to the project:\n")
        : QStringLiteral("No StringTable.csv file could be found in the current project.\n"
                         "Would you like one created for you in this directory:\n");
    if (m_services.prompter.Ask(sQuestion + QDir::toNativeSeparators(sPath), QStringLiteral("String Table Not Found"),
                                IPrompter::EButtons::OkCancel, IPrompter::EIcon::Question)
        != IPrompter::EAnswer::Ok)
        return QString();
    if (!bExists && !TextFile::Save(sPath, QStringLiteral("LANGUAGE,\"English\"\n\n"), ETextEncoding::Cp1252).bOk)
        return QString();
    return m_services.project.AddProjectFile(sPath) < 0 ? QString() : sPath;
}

CScriptDoc* CLocalizeCommands::OpenTable(const QString& sPath)
{
    m_services.project.OpenProjectFileByPath(sPath);
    CScriptDoc* pDoc = m_services.documents.FindDocument(sPath);
    return pDoc && pDoc->Frame() && pDoc->Frame()->View() ? pDoc : nullptr;
}

bool CLocalizeCommands::Run()
{
    QList<const CProjectFile*> scripts;
    for (const CProjectFile& file : m_services.project.m_ProjectFiles)
        if (file.InUse() && IsScript(file.sPath))
            scripts.append(&file);
    if (scripts.isEmpty()) {
        m_services.prompter.ShowMessage(QStringLiteral("No scripts found in current project."), AppInfo::kTitle,
                                        IPrompter::EIcon::Error);
        return false;
    }
    const QString sTablePath = StringTablePath(scripts.first()->sPath);
    CScriptDoc* pTable = sTablePath.isEmpty() ? nullptr : OpenTable(sTablePath);
    if (!pTable)
        return false;
    pTable->SettleText();
    const QString sTable = pTable->PlainText();
    int nNext = Localize::FirstFreeNumber(sTable);
    // New entries start on a line of their own.
    QString sEntries = sTable.isEmpty() || sTable.endsWith(u'\n') ? QString() : QStringLiteral("\n");
    const qsizetype nNoEntries = sEntries.size();
    bool bComplete = true;
    QStringList problems;
    for (const CProjectFile* pFile : scripts) {
        CScriptDoc* pDoc = m_services.documents.FindDocument(pFile->sPath);
        if (pFile->bOpen || pDoc) {
            // Open in the editor: changed there, one step to undo, not saved.
            if (!pDoc || !pDoc->Frame())
                continue;
            pDoc->SettleText();
            const QString sText = pDoc->PlainText();
            const Localize::SLocalized localized = Localize::LocalizeText(sText, nNext);
            if (localized.nCount == 0)
                continue;
            ApplyLocalized(*pDoc, sText, localized);
            sEntries += localized.sTableLines;
            nNext = localized.nNext;
            continue;
        }
        TextFile::SLoaded loaded;
        QString sError;
        const TextFile::ELoad eLoad = TextFile::Load(pFile->sPath, &loaded, &sError);
        if (eLoad == TextFile::ELoad::NotText) {
            problems << QStringLiteral("%1 was left alone: %2").arg(QDir::toNativeSeparators(pFile->sPath), sError);
            continue;
        }
        if (eLoad != TextFile::ELoad::Ok) {
            problems << QStringLiteral("%1 could not be read: %2").arg(QDir::toNativeSeparators(pFile->sPath), sError);
            bComplete = false;
            break;
        }
        const Localize::SLocalized localized = Localize::LocalizeText(loaded.sText, nNext);
        if (localized.nCount == 0)
            continue;
        // The table gets the texts only of a script that now refers to them.
        const TextFile::SSaved saved = TextFile::Save(pFile->sPath, localized.sText, &loaded.format);
        if (!saved.bOk) {
            problems << QStringLiteral("%1 could not be written: %2")
                            .arg(QDir::toNativeSeparators(pFile->sPath), saved.sError);
            bComplete = false;
            continue;
        }
        sEntries += localized.sTableLines;
        nNext = localized.nNext;
    }
    if (sEntries.size() > nNoEntries) {
        CScriptView* pView = pTable->Frame()->View();
        const int nEnd = pTable->Length();
        pView->SetSelection(nEnd, nEnd);
        pView->InsertText(sEntries, true);
    }
    if (!problems.isEmpty())
        m_services.prompter.ShowMessage(problems.join(u'\n'), QStringLiteral("Localize Strings"),
                                        IPrompter::EIcon::Warning);
    return bComplete;
}
