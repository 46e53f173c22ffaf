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

// Only what the program ships, never whatever else shares the executable's
// folder; a file the user already has stays as it is.
void CopyDefaults(const QString& sFrom, const QString& sTo)
{
    const QDir from(sFrom);
    const QDir to(sTo);
    QDir().mkpath(sTo);
    for (const char* pszFile : {"commands.dat", "unit.dat", "header.dat"})
        QFile::copy(from.filePath(QLatin1String(pszFile)), to.filePath(QLatin1String(pszFile)));
    for (const char* pszFolder : {"snippets", "help"}) {
        const QString sFolder = QLatin1String(pszFolder);
        QDirIterator it(from.filePath(sFolder), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        to.mkpath(sFolder);
        while (it.hasNext()) {
            const QString sSource = it.next();
            const QString sTarget = to.filePath(from.relativeFilePath(sSource));
            if (it.fileInfo().isDir())
                QDir().mkpath(sTarget);
            else
                QFile::copy(sSource, sTarget);
        }
    }
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
    // again; files already there are never overwritten.
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
