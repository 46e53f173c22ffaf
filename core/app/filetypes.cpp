#include "core/app/filetypes.h"

#include "core/app/associationstore.h"
#include "core/app/settings.h"

namespace {

constexpr SFileTypeInfo kFileTypes[] = {
    {".sqs", "VELK.Script.Document", &CAppSettings::m_bRegSQS, true},
    {".ext", "VELK.Description.Document", &CAppSettings::m_bRegEXT, false},
    {".sqf", "VELK.Function.Document", &CAppSettings::m_bRegSQF, false},
    {".csv", "VELK.StringTable.Document", &CAppSettings::m_bRegCSV, false},
    {".html", "VELK.Briefing.Document", &CAppSettings::m_bRegHTML, false},
    {".txt", "VELK.Text.Document", &CAppSettings::m_bRegTXT, false},
};

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

void RegisterFileType(IAssociationStore& store, const SFileTypeInfo& type)
{
    const QString sExt = QLatin1String(type.pszExtension);
    const QString sIdentifier = QLatin1String(type.pszIdentifier);
    if (!store.CreateKey(sExt))
        return;
    const QString sCurrent = store.ReadDefault(sExt);
    // A second registration finds itself as the default and keeps the first
    // one's record of what came before.
    if (!sCurrent.isEmpty() && sCurrent != sIdentifier)
        store.WriteValue(sExt, kOldDefault, sCurrent);
    store.WriteDefault(sExt, sIdentifier);
    if (type.bShellNew)
        store.CreateShellNew(sExt);
}

void UnregisterFileType(IAssociationStore& store, const SFileTypeInfo& type)
{
    const QString sExt = QLatin1String(type.pszExtension);
    if (store.KeyExists(sExt)) {
        const QString sOld = store.ReadValue(sExt, kOldDefault);
        if (!sOld.isEmpty()) {
            store.WriteDefault(sExt, sOld);
            store.DeleteValue(sExt, kOldDefault);
        } else {
            store.DeleteKey(sExt);
        }
    }
    if (type.bShellNew)
        store.DeleteShellNew(sExt);
}

void UpdateFileType(IAssociationStore& store, const CAppSettings& settings, const SFileTypeInfo& type)
{
    if (settings.*type.pbFlag)
        RegisterFileType(store, type);
    else
        UnregisterFileType(store, type);
}

void UnregisterFileTypes(IAssociationStore& store, CAppSettings& settings)
{
    for (const SFileTypeInfo& type : kFileTypes) {
        if (!(settings.*type.pbFlag))
            continue;
        settings.*type.pbFlag = 0;
        UpdateFileType(store, settings, type);
    }
}

void RegisterOnFirstRun(IAssociationStore& store, CAppSettings& settings)
{
    if (!settings.m_bFirstRun)
        return;
    settings.m_bRegSQS = 1;
    settings.m_bRegEXT = 1;
    UpdateFileType(store, settings, *FindFileType(QStringLiteral(".sqs")));
    UpdateFileType(store, settings, *FindFileType(QStringLiteral(".ext")));
    settings.m_bFirstRun = 0;
}
