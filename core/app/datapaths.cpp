#include "core/app/datapaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

QString WithSeparator(const QString& sDir)
{
    return sDir.endsWith(QLatin1Char('/')) ? sDir : sDir + QLatin1Char('/');
}

bool IsDataFolder(const QString& sDir)
{
    return QFileInfo(QDir(sDir).filePath(QStringLiteral("commands.dat"))).isFile();
}

// A file the user already has stays as it is.
bool CopyIfMissing(const QString& sSource, const QString& sTarget)
{
    return QFileInfo(sTarget).isFile() || QFile::copy(sSource, sTarget);
}

// The folders the program ships may be left out of a copy; what is in them must arrive.
bool CopyFolder(const QDir& from, const QDir& to, const QString& sFolder)
{
    bool bOk = to.mkpath(sFolder);
    QDirIterator it(from.filePath(sFolder), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sSource = it.next();
        const QString sTarget = to.filePath(from.relativeFilePath(sSource));
        if (it.fileInfo().isDir())
            bOk = QDir().mkpath(sTarget) && bOk;
        else
            bOk = CopyIfMissing(sSource, sTarget) && bOk;
    }
    return bOk;
}

// Only what the program ships, never whatever else shares the executable's
// folder. commands.dat marks a finished folder, so it is copied last and only
// when everything before it arrived: a copy cut short is redone at the next start.
void CopyDefaults(const QString& sFrom, const QString& sTo)
{
    const QDir from(sFrom);
    const QDir to(sTo);
    bool bOk = QDir().mkpath(sTo);
    for (const char* pszFile : {"unit.dat", "header.dat"})
        bOk = CopyIfMissing(from.filePath(QLatin1String(pszFile)), to.filePath(QLatin1String(pszFile))) && bOk;
    for (const char* pszFolder : {"snippets", "help"})
        bOk = CopyFolder(from, to, QLatin1String(pszFolder)) && bOk;
    if (bOk)
        CopyIfMissing(from.filePath(QStringLiteral("commands.dat")), to.filePath(QStringLiteral("commands.dat")));
}

}  // namespace

CDataPaths CDataPaths::FromAppPath(const QString& sAppPath)
{
    CDataPaths paths;
    paths.m_sAppPath = WithSeparator(sAppPath);
    paths.m_sProjectFile = paths.m_sAppPath + QStringLiteral("project.dat");
    paths.m_sCommandsFile = paths.m_sAppPath + QStringLiteral("commands.dat");
    paths.m_sUnitFile = paths.m_sAppPath + QStringLiteral("unit.dat");
    paths.m_sHeaderFile = paths.m_sAppPath + QStringLiteral("header.dat");
    paths.m_sSnippetsPath = paths.m_sAppPath + QStringLiteral("snippets/");
    return paths;
}

QString CDataPaths::ChooseAppPath(const QString& sExeDir, const QString& sUserDataDir, const QString& sDefaultsDir,
                                  std::optional<bool> bExeDirWritable)
{
    const bool bWritable = bExeDirWritable.value_or(QFileInfo(sExeDir).isWritable());
    if (IsDataFolder(sExeDir) && bWritable)
        return WithSeparator(sExeDir);
    // A folder that lacks its dictionary (a first copy cut short) is filled
    // again.
    if (!IsDataFolder(sUserDataDir)) {
        if (IsDataFolder(sExeDir))
            CopyDefaults(sExeDir, sUserDataDir);
        else if (IsDataFolder(sDefaultsDir))
            CopyDefaults(sDefaultsDir, sUserDataDir);
        else
            QDir().mkpath(sUserDataDir);
    }
    return WithSeparator(sUserDataDir);
}
