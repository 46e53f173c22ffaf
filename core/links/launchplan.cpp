#include "core/links/launchplan.h"

#include "core/links/gameinfo.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kExeSuffix = QStringLiteral(".exe");

// The entry named sName, the one spelled exactly so preferred.
const SFolderEntry* FindFile(const QList<SFolderEntry>& files, const QString& sName)
{
    const SFolderEntry* pFound = nullptr;
    for (const SFolderEntry& entry : files) {
        if (entry.sName == sName)
            return &entry;
        if (!pFound && entry.sName.compare(sName, Qt::CaseInsensitive) == 0)
            pFound = &entry;
    }
    return pFound;
}

SLaunchPlan Refuse(const QString& sMessage)
{
    SLaunchPlan plan;
    plan.sMessage = sMessage;
    return plan;
}

}  // namespace

QStringList NativeNames(const SGameInfo& game)
{
    QString sBase = game.sExecutable;
    if (sBase.endsWith(kExeSuffix, Qt::CaseInsensitive))
        sBase.chop(kExeSuffix.size());
    return {sBase, sBase + QStringLiteral(".x86_64"), sBase + QStringLiteral(".sh")};
}

SLaunchPlan PlanLaunch(const SGameInfo& game, const SInstallFolder& folder, const QList<SFolderEntry>& files,
                       const QString& sWine)
{
    if (folder.sPath.isEmpty())
        return Refuse(folder.sProblem);
    const QDir dir(folder.sPath);
    const QStringList nativeNames = NativeNames(game);
    for (const QString& sName : nativeNames) {
        const SFolderEntry* pEntry = FindFile(files, sName);
        if (pEntry && pEntry->bExecutable)
            return {dir.filePath(pEntry->sName), {kLaunchArgument}, folder.sPath, {}};
    }
    const SFolderEntry* pExe = FindFile(files, game.sExecutable);
    if (!pExe)
        return Refuse(QStringLiteral("%1 cannot be started: neither %2 nor a Linux build of the game (%3) was found "
                                     "in its install folder %4.")
                          .arg(game.sTitle, game.sExecutable, nativeNames.join(QStringLiteral(", ")), folder.sPath));
    if (sWine.isEmpty())
        return Refuse(QStringLiteral("%1 is a Windows program and is started through wine, but wine was not found "
                                     "on the PATH. Install wine and try again.")
                          .arg(game.sTitle));
    return {sWine, {dir.filePath(pExe->sName), kLaunchArgument}, folder.sPath, {}};
}

QList<SFolderEntry> ListFolder(const QString& sFolder)
{
    QList<SFolderEntry> files;
    for (const QFileInfo& info : QDir(sFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot))
        files.append({info.fileName(), info.isExecutable()});
    return files;
}
