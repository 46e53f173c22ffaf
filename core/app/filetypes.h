#pragma once

#include <QString>

#include <span>

class IAssociationStore;
class IPrompter;
class CSettings;

// The six extensions the editor can take over in the shell.
struct SFileTypeInfo
{
    const char* pszExtension;
    const char* pszIdentifier;
    int CSettings::*pbFlag;
    bool bShellNew;
};

std::span<const SFileTypeInfo> FileTypes();
const SFileTypeInfo* FindFileType(const QString& sExtension);

inline const QString kOldDefault = QStringLiteral("(Old Default)");

// False when the store could not write a step; the steps after it are left
// undone, so the handler that came before us is never lost.
bool RegisterFileType(IAssociationStore& store, const SFileTypeInfo& type);
bool UnregisterFileType(IAssociationStore& store, const SFileTypeInfo& type);

// The routines below tell the user, through the prompter, about every
// extension whose records could not be written, and return false then.

// The routine of one extension: registers when its flag is set, else unregisters.
bool UpdateFileType(IAssociationStore& store, const CSettings& settings, const SFileTypeInfo& type,
                    IPrompter& prompter);
// Clears every set flag in turn and unregisters its extension. The cleared
// flags stay in memory only; the store keeps its values.
bool UnregisterFileTypes(IAssociationStore& store, CSettings& settings, IPrompter& prompter);
// A first start takes over .sqs and .ext. It is not tried again at the next
// start when it failed: the user was told, and the options can retry it.
bool RegisterOnFirstRun(IAssociationStore& store, CSettings& settings, IPrompter& prompter);
