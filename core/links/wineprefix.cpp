#include "core/links/wineprefix.h"

#include "core/links/gameinfo.h"
#include "core/links/wineregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kMachineHive = QStringLiteral("HKEY_LOCAL_MACHINE\\");

QString Wow64Key(const QString& sKey)
{
    static const QString sSoftware = QStringLiteral("Software\\");
    if (!sKey.startsWith(sSoftware, Qt::CaseInsensitive))
        return QString();
    return sSoftware + QStringLiteral("Wow6432Node\\") + sKey.mid(sSoftware.size());
}

// The further a lookup got, the more its failure tells the user.
int Progress(CWineRegistry::EResult eResult)
{
    switch (eResult) {
    case CWineRegistry::EResult::NoKey:
        return 0;
    case CWineRegistry::EResult::NoValue:
        return 1;
    case CWineRegistry::EResult::NotAString:
        return 2;
    case CWineRegistry::EResult::TooLong:
        return 3;
    case CWineRegistry::EResult::Found:
        break;
    }
    return 4;
}

QString LookupProblem(CWineRegistry::EResult eResult, const SGameInfo& game, const QString& sKey,
                      const QString& sPrefix)
{
    const QString sFullKey = kMachineHive + sKey;
    switch (eResult) {
    case CWineRegistry::EResult::NoKey:
        return QStringLiteral("%1 is not installed in the Wine prefix %2: its registry has no key %3.")
            .arg(game.sTitle, sPrefix, kMachineHive + game.sRegistryKey);
    case CWineRegistry::EResult::NoValue:
        return QStringLiteral("The registry key %1 of the Wine prefix %2 has no value \"%3\" naming the install "
                              "folder of %4.")
            .arg(sFullKey, sPrefix, game.sValueName, game.sTitle);
    case CWineRegistry::EResult::NotAString:
        return QStringLiteral("The value \"%1\" of the registry key %2 in the Wine prefix %3 is not a folder name.")
            .arg(game.sValueName, sFullKey, sPrefix);
    case CWineRegistry::EResult::TooLong:
        return QStringLiteral("The value \"%1\" of the registry key %2 in the Wine prefix %3 is longer than %4 "
                              "characters, so it names no folder.")
            .arg(game.sValueName, sFullKey, sPrefix)
            .arg(CWineRegistry::kMaxValueLength);
    case CWineRegistry::EResult::Found:
        break;
    }
    return QString();
}

// The entry of sFolder named sName, found as Windows would find it.
QString FindEntry(const QString& sFolder, const QString& sName)
{
    const QString sExact = sFolder + QLatin1Char('/') + sName;
    if (QFileInfo::exists(sExact))
        return sExact;
    const QStringList entries = QDir(sFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& sEntry : entries)
        if (sEntry.compare(sName, Qt::CaseInsensitive) == 0)
            return sFolder + QLatin1Char('/') + sEntry;
    return sExact;
}

}  // namespace

CWinePrefix::CWinePrefix(QString sFolder) : m_sFolder(std::move(sFolder))
{
}

QString CWinePrefix::DefaultFolder()
{
    const QString sPrefix = qEnvironmentVariable("WINEPREFIX");
    return sPrefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : sPrefix;
}

QString CWinePrefix::SystemRegPath() const
{
    return m_sFolder + QStringLiteral("/system.reg");
}

SInstallFolder CWinePrefix::InstallFolder(const SGameInfo& game) const
{
    QFile file(SystemRegPath());
    if (!file.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("%1 cannot be looked for: there is no Wine prefix at %2 (%3 cannot be read). Set "
                               "WINEPREFIX to the prefix the game is installed in.")
                    .arg(game.sTitle, m_sFolder, SystemRegPath())};
    const CWineRegistry registry(file.readAll());

    QString sKey = game.sRegistryKey;
    CWineRegistry::SLookup lookup = registry.ReadString(sKey, game.sValueName);
    const QString sWowKey = Wow64Key(game.sRegistryKey);
    if (lookup.eResult != CWineRegistry::EResult::Found && !sWowKey.isEmpty()) {
        const CWineRegistry::SLookup wow = registry.ReadString(sWowKey, game.sValueName);
        if (Progress(wow.eResult) > Progress(lookup.eResult)) {
            lookup = wow;
            sKey = sWowKey;
        }
    }
    if (lookup.eResult != CWineRegistry::EResult::Found)
        return {{}, LookupProblem(lookup.eResult, game, sKey, m_sFolder)};

    QString sProblem;
    const QString sPath = ToUnixPath(lookup.sValue, &sProblem);
    if (sPath.isEmpty())
        return {{}, sProblem};
    if (!QFileInfo(sPath).isDir())
        return {{},
                QStringLiteral("The install folder of %1, %2, does not exist (looked for at %3).")
                    .arg(game.sTitle, lookup.sValue, sPath)};
    return {sPath, {}};
}

QString CWinePrefix::DriveRoot(QChar cLetter) const
{
    const QString sLink = m_sFolder + QStringLiteral("/dosdevices/") + cLetter.toLower() + QLatin1Char(':');
    const QFileInfo link(sLink);
    if (link.exists())
        return link.canonicalFilePath();
    // A prefix whose links were lost still keeps its system drive beside them.
    const QFileInfo driveC(m_sFolder + QStringLiteral("/drive_c"));
    if (cLetter.toLower() == u'c' && driveC.isDir())
        return driveC.canonicalFilePath();
    return QString();
}

QString CWinePrefix::ToUnixPath(const QString& sWindowsPath, QString* psProblem) const
{
    static const QRegularExpression reDrive(QStringLiteral("^([A-Za-z]):(.*)$"));
    const QRegularExpressionMatch match = reDrive.match(sWindowsPath);
    if (!match.hasMatch()) {
        *psProblem
            = QStringLiteral("\"%1\" is no folder on a drive of the Wine prefix %2.").arg(sWindowsPath, m_sFolder);
        return QString();
    }
    const QChar cLetter = match.captured(1).at(0);
    const QString sRoot = DriveRoot(cLetter);
    QString sPath = sRoot;
    if (sRoot.isEmpty()) {
        *psProblem
            = QStringLiteral("The drive %1: of \"%2\" is not set up in the Wine prefix %3 (no %3/dosdevices/%4:).")
                  .arg(cLetter.toUpper(), sWindowsPath, m_sFolder, cLetter.toLower());
        return QString();
    }
    static const QRegularExpression reSeparators(QStringLiteral("[\\\\/]"));
    for (const QString& sPart : match.captured(2).split(reSeparators, Qt::SkipEmptyParts)) {
        if (sPart == QLatin1String("."))
            continue;
        // As on Windows, ".." stops at the root of its drive.
        if (sPart == QLatin1String(".."))
            sPath = sPath == sRoot ? sRoot : QFileInfo(sPath).path();
        else
            sPath = FindEntry(sPath, sPart);
    }
    return QDir::cleanPath(sPath);
}
