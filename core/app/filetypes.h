#pragma once

#include <QString>

#include <span>

class IAssociationStore;
struct CAppSettings;

// The six extensions the editor can take over in the shell.
struct SFileTypeInfo
{
    const char* pszExtension;
    const char* pszIdentifier;
    int CAppSettings::*pbFlag;
    bool bShellNew;
};

std::span<const SFileTypeInfo> FileTypes();
const SFileTypeInfo* FindFileType(const QString& sExtension);

inline const QString kOldDefault = QStringLiteral("(Old Default)");

void RegisterFileType(IAssociationStore& store, const SFileTypeInfo& type);
void UnregisterFileType(IAssociationStore& store, const SFileTypeInfo& type);
// The routine of one extension: registers when its flag is set, else unregisters.
void UpdateFileType(IAssociationStore& store, const CAppSettings& settings, const SFileTypeInfo& type);
// Clears every set flag in turn and unregisters its extension. The cleared
// flags stay in memory only; the store keeps its values.
void UnregisterFileTypes(IAssociationStore& store, CAppSettings& settings);
// A first start takes over .sqs and .ext.
void RegisterOnFirstRun(IAssociationStore& store, CAppSettings& settings);
