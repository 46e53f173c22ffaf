#include "core/app/freedesktopassociationstore.h"

#include "core/app/desktopentry.h"
#include "core/app/filetypes.h"
#include "core/app/mimeappslist.h"
#include "core/app/settingsstore.h"
#include "core/data/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

struct SMimeType
{
    const char* pszExtension;
    const char* pszMimeType;
    const char* pszComment;   // only for the types we define ourselves
    const char* pszDocument;  // what the editor edits, in its desktop file
};

constexpr SMimeType kMimeTypes[] = {
    {".sqs", "text/x-velk-script", "Mission script file", "a mission script file"},
    {".sqf", "text/x-velk-function", "Mission function file", "a mission function file"},
    {".ext", "text/x-velk-description", "Mission description file", "a mission description file"},
    {".csv", "text/csv", nullptr, "a mission string table"},
    {".html", "text/html", nullptr, "a briefing or overview page"},
    {".txt", "text/plain", nullptr, "a text file"},
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

CFreedesktopAssociationStore::SFolders CFreedesktopAssociationStore::UserFolders(const QString& sExecutable)
{
    const QString sHome = QDir::homePath();
    return {EnvOr("XDG_CONFIG_HOME", sHome + QStringLiteral("/.config")),
            EnvOr("XDG_DATA_HOME", sHome + QStringLiteral("/.local/share")), sHome,
            EnvOr("XDG_DATA_DIRS", QStringLiteral("/usr/local/share/:/usr/share/"))
                .split(QLatin1Char(':'), Qt::SkipEmptyParts),
            sExecutable};
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

QString CFreedesktopAssociationStore::OwnDesktopFilePath(const QString& sIdentifier) const
{
    return m_folders.sDataHome + QStringLiteral("/applications/") + sIdentifier + kDesktopSuffix;
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

bool CFreedesktopAssociationStore::IsInstalledElsewhere(const QString& sIdentifier) const
{
    for (const QString& sDir : m_folders.dataDirs)
        if (QFileInfo::exists(sDir + QStringLiteral("/applications/") + sIdentifier + kDesktopSuffix))
            return true;
    return false;
}

bool CFreedesktopAssociationStore::ProvideDesktopFile(const QString& sExt, const QString& sIdentifier)
{
    const SFileTypeInfo* pType = FindFileType(sExt);
    // Another program's identifier (a handler put back) is never ours to provide.
    if (m_folders.sExecutable.isEmpty() || !pType || sIdentifier != QLatin1String(pType->pszIdentifier))
        return true;
    const QString sPath = OwnDesktopFilePath(sIdentifier);
    const SMimeType* pMime = FindMimeType(sExt);
    const QByteArray wanted = DesktopEntry::Text(
        m_folders.sExecutable, QLatin1String(pMime->pszMimeType),
        QStringLiteral("Edit %1 (%2) for Velk Vanguard and Qonmar Front").arg(QLatin1String(pMime->pszDocument), sExt));
    QFile existing(sPath);
    if (existing.exists()) {
        // One the user made is theirs; one of ours may name a copy that has moved since.
        if (!existing.open(QIODevice::ReadOnly))
            return true;
        const QByteArray bytes = existing.readAll();
        if (!DesktopEntry::IsOwn(bytes) || bytes == wanted)
            return true;
    } else if (IsInstalledElsewhere(sIdentifier)) {
        return true;
    }
    const QString sFolder = QFileInfo(sPath).path();
    if (!QDir().mkpath(sFolder))
        return Fail(QStringLiteral("The folder %1 could not be created.").arg(sFolder));
    QString sError;
    if (!AtomicFile::Write(sPath, wanted, &sError))
        return Fail(QStringLiteral("%1 could not be written: %2").arg(sPath, sError));
    return true;
}

bool CFreedesktopAssociationStore::RemoveUnusedDesktopFiles()
{
    CMimeAppsList list;
    if (!list.Load(MimeAppsPath()))
        return Fail(QStringLiteral("%1 could not be read.").arg(MimeAppsPath()));
    // A default may list several desktop files, the first one available winning.
    QStringList used;
    for (const SMimeType& type : kMimeTypes)
        for (const QString& sEntry : list.Value(CMimeAppsList::kDefaults, QLatin1String(type.pszMimeType))
                                         .split(QLatin1Char(';'), Qt::SkipEmptyParts))
            used.append(IdentifierOf(sEntry.trimmed()));
    for (const SFileTypeInfo& type : FileTypes()) {
        const QString sIdentifier = QLatin1String(type.pszIdentifier);
        const QString sPath = OwnDesktopFilePath(sIdentifier);
        if (used.contains(sIdentifier) || !QFileInfo(sPath).isFile())
            continue;
        QFile file(sPath);
        if (!file.open(QIODevice::ReadOnly) || !DesktopEntry::IsOwn(file.readAll()))
            continue;
        file.close();
        if (!RemoveFile(sPath))
            return false;
    }
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
    // The desktop file first: the list never names one that is not there.
    if (!ProvideDesktopFile(sExt, sIdentifier))
        return false;
    list.SetValue(CMimeAppsList::kDefaults, MimeTypeOf(sExt), EntryOf(sIdentifier));
    return SaveMimeApps(list) && RemoveUnusedDesktopFiles();
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
    if (!DeleteValue(sExt, kOldDefault) || !RemoveUnusedDesktopFiles())
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
