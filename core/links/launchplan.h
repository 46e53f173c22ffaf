#pragma once

#include "core/links/wineprefix.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SGameInfo;

// One file of the install folder, as the launcher needs to know it.
struct SFolderEntry
{
    QString sName;
    bool bExecutable = false;
};

// How the game is started, or why it cannot be.
struct SLaunchPlan
{
    QString sProgram;  // empty when the game cannot be started
    QStringList args;
    QString sWorkingDir;
    QString sMessage;  // what is missing, for the user

    bool CanStart() const { return !sProgram.isEmpty(); }
};

inline const QString kLaunchArgument = QStringLiteral("-nosplash");

// The names a Linux build of the game may go by in its install folder, in the
// order they are preferred: the executable's name without ".exe", then with
// the architecture or script suffix such builds are shipped with.
QStringList NativeNames(const SGameInfo& game);

// A Linux build in the folder is started directly; otherwise the Windows
// executable through wine (sWine: its full path, empty when it is not on
// PATH). Names are matched without regard to case, as the game's Windows
// installer did not care about it either.
SLaunchPlan PlanLaunch(const SGameInfo& game, const SInstallFolder& folder, const QList<SFolderEntry>& files,
                       const QString& sWine);

// The regular files of a folder, for PlanLaunch.
QList<SFolderEntry> ListFolder(const QString& sFolder);
