#include "core/app/freedesktopassociationstore.h"

#include "core/app/filetypes.h"
#include "core/app/mimeappslist.h"
#include "core/app/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include "core/data/atomicfile.h"
#include <QStandardPaths>

namespace {

struct SMimeType
{
    const char* pszExtension;
    const char* pszMimeType;
    const char* pszComment;  // only for the types we define ourselves
};

constexpr SMimeType kMimeTypes[] = {
    {".sqs", "text/x-velk-script", "Mission script file"},
    {".sqf", "text/x-velk-function", "Mission function file"},
    {".ext", "text/x-velk-description", "Mission description file"},
    {".csv", "text/csv", nullptr},
    {".html", "text/html", nullptr},
    {".txt", "text/plain", nullptr},
};

const SMimeType* FindMimeType(const QString& sExt)
{
    for (const SMimeType& type : kMimeTypes)
        if (sExt == QLatin1String(type.pszExtension))
            return &type;
    return nullptr;
}

const QString kDesktopSuffix = QStringLiteral(".desktop");

// mimeapps.list names desktop files; identifiers name them without the suffix.
QString IdentifierOf(const QString& sEntry)
{
    QString sValue = sEntry;
    if (sValue.endsWith(QLatin1Char(';')))
        sValue.chop(1);
    if (!sValue.contains(QLatin1Char(';')) && sValue.endsWith(kDesktopSuffix))
        sValue.chop(kDesktopSuffix.size());
    return sValue;
}

QString EntryOf(const QString& sIdentifier)
{
    if (sIdentifier.contains(QLatin1Char(';')) || sIdentifier.endsWith(kDesktopSuffix))
        return sIdentifier;
    return sIdentifier + kDesktopSuffix + QLatin1Char(';');
}

QString EnvOr(const char* pszName, const QString& sFallback)
{
    const QString sValue = qEnvironmentVariable(pszName);
    return sValue.isEmpty() ? sFallback : sValue;
}

}  // namespace

CFreedesktopAssociationStore::CFreedesktopAssociationStore(ISettingsStore& ownStore, SFolders folders)
    : m_ownStore(ownStore)
    , m_folders(std::move(folders))
{
}

CFreedesktopAssociationStore::SFolders CFreedesktopAssociationStore::UserFolders()
{
    const QString sHome = QDir::homePath();
    return {EnvOr("XDG_CONFIG_HOME", sHome + QStringLiteral("/.config")),
            EnvOr("XDG_DATA_HOME", sHome + QStringLiteral("/.local/share")), sHome};
}

QString CFreedesktopAssociationStore::MimeTypeOf(const QString& sExt)
{
    const SMimeType* pType = FindMimeType(sExt);
    return pType ? QLatin1String(pType->pszMimeType) : QString();
}

bool CFreedesktopAssociationStore::HasOwnPackage(const QString& sExt)
{
    const SMimeType* pType = FindMimeType(sExt);
    return pType && pType->pszComment;
}

QString CFreedesktopAssociationStore::MimeAppsPath() const
{
    return m_folders.sConfigHome + QStringLiteral("/mimeapps.list");
}

QString CFreedesktopAssociationStore::PackagePath(const QString& sExt) const
{
    return m_folders.sDataHome + QStringLiteral("/mime/packages/velkedit-") + sExt.mid(1) + QStringLiteral(".xml");
}

QString CFreedesktopAssociationStore::TemplatesFolder() const
{
    QString sFolder;
    QFile dirs(m_folders.sConfigHome + QStringLiteral("/user-dirs.dirs"));
    if (dirs.open(QIODevice::ReadOnly)) {
        static const QRegularExpression reTemplates(QStringLiteral("^\\s*XDG_TEMPLATES_DIR\\s*=\\s*\"(.*)\"\\s*$"));
        for (const QByteArray& line : dirs.readAll().split('\n')) {
            const QRegularExpressionMatch match = reTemplates.match(QString::fromUtf8(line));
            if (match.hasMatch())
                sFolder = match.captured(1).replace(QStringLiteral("$HOME"), m_folders.sHome);
        }
    }
    if (sFolder.isEmpty())
        sFolder = m_folders.sHome + QStringLiteral("/Templates");
    // A templates folder set to the home folder means the user has none; an
    // empty script in the home folder would only be litter.
    if (QDir(sFolder) == QDir(m_folders.sHome))
        return QString();
    return sFolder;
}

QString CFreedesktopAssociationStore::ShellNewPath(const QString& sExt) const
{
    const QString sFolder = TemplatesFolder();
    if (sFolder.isEmpty() || sExt != QLatin1String(".sqs"))
        return QString();
    return sFolder + QStringLiteral("/Script.sqs");
}

QString CFreedesktopAssociationStore::OwnValueName(const QString& sExt, const QString& sName) const
{
    return sExt + QLatin1Char(' ') + sName;
}

bool CFreedesktopAssociationStore::Fail(const QString& sError)
{
    m_sLastError = sError;
    return false;
}

bool CFreedesktopAssociationStore::SaveMimeApps(const CMimeAppsList& list)
{
    QString sError;
    if (!QDir().mkpath(m_folders.sConfigHome))
        return Fail(QStringLiteral("The folder %1 could not be created.").arg(m_folders.sConfigHome));
    if (!list.Save(MimeAppsPath(), &sError))
        return Fail(QStringLiteral("%1 could not be written: %2").arg(MimeAppsPath(), sError));
    return true;
}

bool CFreedesktopAssociationStore::FlushOwnStore()
{
    if (m_ownStore.Flush())
        return true;
    return Fail(QStringLiteral("The program's settings file could not be written."));
}

bool CFreedesktopAssociationStore::RemoveFile(const QString& sPath)
{
    QFile file(sPath);
    if (file.remove())
        return true;
    return Fail(QStringLiteral("%1 could not be deleted: %2").arg(sPath, file.errorString()));
}

bool CFreedesktopAssociationStore::WritePackage(const QString& sExt)
{
    const SMimeType* pType = FindMimeType(sExt);
    const QString sXml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                        "  <mime-type type=\"%1\">\n"
                                        "    <comment>%2</comment>\n"
                                        "    <sub-class-of type=\"text/plain\"/>\n"
                                        "    <glob pattern=\"*%3\"/>\n"
                                        "  </mime-type>\n"
                                        "</mime-info>\n")
                             .arg(QLatin1String(pType->pszMimeType), QLatin1String(pType->pszComment), sExt);
    const QString sPath = PackagePath(sExt);
    QString sError;
    if (!QDir().mkpath(QFileInfo(sPath).path()))
        return Fail(QStringLiteral("The folder %1 could not be created.").arg(QFileInfo(sPath).path()));
    if (!AtomicFile::Write(sPath, sXml.toUtf8(), &sError))
        return Fail(QStringLiteral("%1 could not be written: %2").arg(sPath, sError));
    UpdateMimeDatabase();
    return true;
}

void CFreedesktopAssociationStore::UpdateMimeDatabase() const
{
    const QString sTool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (sTool.isEmpty())
        return;
    QProcess process;
    process.start(sTool, {m_folders.sDataHome + QStringLiteral("/mime")});
    if (process.waitForStarted())
        process.waitForFinished(30000);
}

bool CFreedesktopAssociationStore::CreateKey(const QString& sExt)
{
    if (!FindMimeType(sExt))
        return false;
    if (!HasOwnPackage(sExt) || QFileInfo::exists(PackagePath(sExt)))
        return true;
    return WritePackage(sExt);
}

bool CFreedesktopAssociationStore::KeyExists(const QString& sExt) const
{
    if (!FindMimeType(sExt))
        return false;
    if (HasOwnPackage(sExt) && QFileInfo::exists(PackagePath(sExt)))
        return true;
    return !ReadDefault(sExt).isEmpty()
        || !m_ownStore.ReadString(kSection, OwnValueName(sExt, kOldDefault), QString()).isEmpty();
}

QString CFreedesktopAssociationStore::ReadDefault(const QString& sExt) const
{
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return QString();
    return IdentifierOf(list.Value(CMimeAppsList::kDefaults, MimeTypeOf(sExt)));
}

bool CFreedesktopAssociationStore::WriteDefault(const QString& sExt, const QString& sIdentifier)
{
    if (!FindMimeType(sExt))
        return false;
    CMimeAppsList list;
    // Rewriting a list we could not read would throw away the user's other entries.
    if (!list.Load(MimeAppsPath()))
        return Fail(QStringLiteral("%1 could not be read.").arg(MimeAppsPath()));
    list.SetValue(CMimeAppsList::kDefaults, MimeTypeOf(sExt), EntryOf(sIdentifier));
    return SaveMimeApps(list);
}

QString CFreedesktopAssociationStore::ReadValue(const QString& sExt, const QString& sName) const
{
    return m_ownStore.ReadString(kSection, OwnValueName(sExt, sName), QString());
}

bool CFreedesktopAssociationStore::WriteValue(const QString& sExt, const QString& sName, const QString& sValue)
{
    m_ownStore.WriteString(kSection, OwnValueName(sExt, sName), sValue);
    return FlushOwnStore();
}

bool CFreedesktopAssociationStore::DeleteValue(const QString& sExt, const QString& sName)
{
    m_ownStore.DeleteValue(kSection, OwnValueName(sExt, sName));
    return FlushOwnStore();
}

bool CFreedesktopAssociationStore::DeleteKey(const QString& sExt)
{
    if (!FindMimeType(sExt))
        return true;
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return Fail(QStringLiteral("%1 could not be read.").arg(MimeAppsPath()));
    if (!list.Value(CMimeAppsList::kDefaults, MimeTypeOf(sExt)).isEmpty()) {
        list.RemoveValue(CMimeAppsList::kDefaults, MimeTypeOf(sExt));
        if (!SaveMimeApps(list))
            return false;
    }
    if (!DeleteValue(sExt, kOldDefault))
        return false;
    if (!HasOwnPackage(sExt) || !QFileInfo::exists(PackagePath(sExt)))
        return true;
    if (!RemoveFile(PackagePath(sExt)))
        return false;
    UpdateMimeDatabase();
    return true;
}

bool CFreedesktopAssociationStore::CreateShellNew(const QString& sExt)
{
    const QString sPath = ShellNewPath(sExt);
    // A user without a templates folder has no "New" menu to add to.
    if (sPath.isEmpty() || QFileInfo::exists(sPath))
        return true;
    const QString sFolder = QFileInfo(sPath).path();
    if (!QDir().mkpath(sFolder))
        return Fail(QStringLiteral("The folder %1 could not be created.").arg(sFolder));
    QString sError;
    if (!AtomicFile::Write(sPath, QByteArray(), &sError))
        return Fail(QStringLiteral("%1 could not be written: %2").arg(sPath, sError));
    return true;
}

bool CFreedesktopAssociationStore::DeleteShellNew(const QString& sExt)
{
    const QString sPath = ShellNewPath(sExt);
    // Only our own empty file: a template the user filled is theirs.
    if (sPath.isEmpty() || !QFileInfo(sPath).isFile() || QFileInfo(sPath).size() != 0)
        return true;
    return RemoveFile(sPath);
}
