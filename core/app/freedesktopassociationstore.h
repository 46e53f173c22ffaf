#pragma once

#include "core/app/associationstore.h"

#include <QStringList>

class CMimeAppsList;
class ISettingsStore;

// The shell's records on a freedesktop desktop. An extension's "key" is its
// MIME type (our own shared-mime-info package for .sqs, .sqf and .ext, the
// standard types otherwise); the default identifier is the type's default
// application in mimeapps.list, identifier X standing for the desktop file
// X.desktop; other values live in the program's own store; the "New" entry
// is an empty file in the user's templates folder.
class CFreedesktopAssociationStore : public IAssociationStore
{
public:
    struct SFolders
    {
        QString sConfigHome;   // XDG_CONFIG_HOME: mimeapps.list, user-dirs.dirs
        QString sDataHome;     // XDG_DATA_HOME: mime/packages
        QString sHome;         // where "$HOME" in user-dirs.dirs points
        QStringList dataDirs;  // XDG_DATA_DIRS: where installed desktop files are looked for
        // The running program, named by the desktop file written for a type
        // that has none installed; empty: no desktop file is ever written.
        QString sExecutable;
    };

    CFreedesktopAssociationStore(ISettingsStore& ownStore, SFolders folders);
    // The folders of the current user, from the XDG variables and their
    // defaults; sExecutable is the running program's path.
    static SFolders UserFolders(const QString& sExecutable = QString());

    bool CreateKey(const QString& sExt) override;
    bool KeyExists(const QString& sExt) const override;
    QString ReadDefault(const QString& sExt) const override;
    bool WriteDefault(const QString& sExt, const QString& sIdentifier) override;
    QString ReadValue(const QString& sExt, const QString& sName) const override;
    bool WriteValue(const QString& sExt, const QString& sName, const QString& sValue) override;
    bool DeleteValue(const QString& sExt, const QString& sName) override;
    bool DeleteKey(const QString& sExt) override;
    bool CreateShellNew(const QString& sExt) override;
    bool DeleteShellNew(const QString& sExt) override;
    QString LastError() const override { return m_sLastError; }

    static QString MimeTypeOf(const QString& sExt);
    QString MimeAppsPath() const;
    QString PackagePath(const QString& sExt) const;
    QString ShellNewPath(const QString& sExt) const;
    QString TemplatesFolder() const;
    // Where the program puts the desktop file of one of its identifiers.
    QString OwnDesktopFilePath(const QString& sIdentifier) const;

    static inline const QString kSection = QStringLiteral("File Types");

private:
    static bool HasOwnPackage(const QString& sExt);
    bool WritePackage(const QString& sExt);
    void UpdateMimeDatabase() const;
    QString OwnValueName(const QString& sExt, const QString& sName) const;
    // Writes the list back, creating its folder when needed.
    bool SaveMimeApps(const CMimeAppsList& list);
    bool FlushOwnStore();
    // A type we become the handler of needs a desktop file of its identifier;
    // a portable copy has none installed, so it gets one of ours.
    bool ProvideDesktopFile(const QString& sExt, const QString& sIdentifier);
    bool IsInstalledElsewhere(const QString& sIdentifier) const;
    // Our own desktop files go once no type names them any more.
    bool RemoveUnusedDesktopFiles();
    bool RemoveFile(const QString& sPath);
    bool Fail(const QString& sError);

    ISettingsStore& m_ownStore;
    SFolders m_folders;
    QString m_sLastError;
};
