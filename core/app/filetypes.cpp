#include "core/app/filetypes.h"

#include "core/app/associationstore.h"
#include "core/app/prompter.h"
#include "core/app/settings.h"

namespace {

constexpr SFileTypeInfo kFileTypes[] = {
    {".sqs", "VELK.Script.Document", &CSettings::m_bRegSQS, true},
    {".ext", "VELK.Description.Document", &CSettings::m_bRegEXT, false},
    {".sqf", "VELK.Function.Document", &CSettings::m_bRegSQF, false},
    {".csv", "VELK.StringTable.Document", &CSettings::m_bRegCSV, false},
    {".html", "VELK.Briefing.Document", &CSettings::m_bRegHTML, false},
    {".txt", "VELK.Text.Document", &CSettings::m_bRegTXT, false},
};

bool RunRoutine(IAssociationStore& store, const CSettings& settings, const SFileTypeInfo& type)
{
    return settings.*type.pbFlag ? RegisterFileType(store, type) : UnregisterFileType(store, type);
}

bool Report(const IAssociationStore& store, const QStringList& failed, IPrompter& prompter)
{
    if (failed.isEmpty())
        return true;
    QString sText = QStringLiteral("The desktop's file associations for %1 could not be saved.\n"
                                   "Double-clicking such files may not open the program you expect.")
                        .arg(failed.join(QStringLiteral(", ")));
    const QString sDetail = store.LastError();
    if (!sDetail.isEmpty())
        sText += QStringLiteral("\n\n") + sDetail;
    prompter.ShowMessage(sText, QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
    return false;
}

}  // namespace

std::span<const SFileTypeInfo> FileTypes()
{
    return kFileTypes;
}

const SFileTypeInfo* FindFileType(const QString& sExtension)
{
    for (const SFileTypeInfo& type : kFileTypes)
        if (sExtension == QLatin1String(type.pszExtension))
            return &type;
    return nullptr;
}

bool RegisterFileType(IAssociationStore& store, const SFileTypeInfo& type)
{
    const QString sExt = QLatin1String(type.pszExtension);
    const QString sIdentifier = QLatin1String(type.pszIdentifier);
    if (!store.CreateKey(sExt))
        return false;
    const QString sCurrent = store.ReadDefault(sExt);
    // A second registration finds itself as the default and keeps the first
    // one's record of what came before.
    if (!sCurrent.isEmpty() && sCurrent != sIdentifier && !store.WriteValue(sExt, kOldDefault, sCurrent))
        return false;
    if (!store.WriteDefault(sExt, sIdentifier))
        return false;
    return !type.bShellNew || store.CreateShellNew(sExt);
}

bool UnregisterFileType(IAssociationStore& store, const SFileTypeInfo& type)
{
    const QString sExt = QLatin1String(type.pszExtension);
    bool bOk = true;
    if (store.KeyExists(sExt)) {
        const QString sOld = store.ReadValue(sExt, kOldDefault);
        if (!sOld.isEmpty())
            // The record of the old handler goes only once it is the default again.
            bOk = store.WriteDefault(sExt, sOld) && store.DeleteValue(sExt, kOldDefault);
        else
            bOk = store.DeleteKey(sExt);
    }
    if (type.bShellNew && !store.DeleteShellNew(sExt))
        bOk = false;
    return bOk;
}

bool UpdateFileType(IAssociationStore& store, const CSettings& settings, const SFileTypeInfo& type, IPrompter& prompter)
{
    QStringList failed;
    if (!RunRoutine(store, settings, type))
        failed.append(QLatin1String(type.pszExtension));
    return Report(store, failed, prompter);
}

bool UnregisterFileTypes(IAssociationStore& store, CSettings& settings, IPrompter& prompter)
{
    QStringList failed;
    for (const SFileTypeInfo& type : kFileTypes) {
        if (!(settings.*type.pbFlag))
            continue;
        settings.*type.pbFlag = 0;
        if (!RunRoutine(store, settings, type))
            failed.append(QLatin1String(type.pszExtension));
    }
    return Report(store, failed, prompter);
}

bool RegisterOnFirstRun(IAssociationStore& store, CSettings& settings, IPrompter& prompter)
{
    if (!settings.m_bFirstRun)
        return true;
    settings.m_bRegSQS = 1;
    settings.m_bRegEXT = 1;
    QStringList failed;
    for (const char* pszExt : {".sqs", ".ext"})
        if (!RunRoutine(store, settings, *FindFileType(QLatin1String(pszExt))))
            failed.append(QLatin1String(pszExt));
    settings.m_bFirstRun = 0;
    return Report(store, failed, prompter);
}
