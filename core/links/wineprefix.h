#pragma once

#include <QString>

struct SGameInfo;

// Where a game lives, or why that is not known, in words for the user.
struct SInstallFolder
{
    QString sPath;  // a Unix folder that exists; empty when not known
    QString sProblem;
};

// A Wine prefix: the Windows machine whose registry says where a game was
// installed, and whose drive letters say where that is on this disk.
class CWinePrefix
{
public:
    explicit CWinePrefix(QString sFolder);
    // The prefix wine itself would use: $WINEPREFIX, else ~/.wine.
    static QString DefaultFolder();

    const QString& Folder() const { return m_sFolder; }
    // The file that holds HKEY_LOCAL_MACHINE.
    QString SystemRegPath() const;

    // The game's install folder from its registry value; a 32-bit installer
    // in a 64-bit prefix writes under Software\Wow6432Node, so that is read
    // when the key itself has no folder.
    SInstallFolder InstallFolder(const SGameInfo& game) const;

    // A Windows path ("C:\Games\Velk") on this disk through the prefix's
    // dosdevices links, each folder name matched without regard to case as Windows
    // does. Empty, with *psProblem set, when no drive of the prefix holds it.
    QString ToUnixPath(const QString& sWindowsPath, QString* psProblem) const;

private:
    QString DriveRoot(QChar cLetter) const;

    QString m_sFolder;
};
