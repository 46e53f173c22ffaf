#include "core/app/desktopentry.h"
#include "core/app/filetypes.h"
#include "core/app/freedesktopassociationstore.h"
#include "core/app/memoryassociationstore.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/mimeappslist.h"
#include "core/app/prompter.h"
#include "core/app/settings.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const SFileTypeInfo& Type(const char* pszExt)
{
    return *FindFileType(QLatin1String(pszExt));
}

QByteArray ReadFile(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& sPath, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(sPath).path());
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Remembers every message instead of showing it.
class CRecordingPrompter : public IPrompter
{
public:
    EAnswer Ask(const QString& sText, const QString& sCaption, EButtons, EIcon eIcon) override
    {
        m_messages.append(sText);
        m_captions.append(sCaption);
        m_icons.append(eIcon);
        return EAnswer::Ok;
    }
    QString GetOpenFileName(const QString&, const QString&) override { return QString(); }

    QStringList m_messages;
    QStringList m_captions;
    QList<EIcon> m_icons;
};

// The program's own settings file, on a disk that may refuse to take it.
class COwnStore : public CMemorySettingsStore
{
public:
    bool Flush() override { return !m_bUnwritable; }
    bool m_bUnwritable = false;
};

// A user's desktop in temporary folders, so nothing touches the real one.
struct CDesktop
{
    QTemporaryDir home;
    COwnStore ownStore;
    std::unique_ptr<CFreedesktopAssociationStore> pStore;

    // sExecutable: the program as it runs, named by the desktop files it writes.
    explicit CDesktop(const QString& sExecutable = QString())
    {
        pStore = std::make_unique<CFreedesktopAssociationStore>(
            ownStore,
            CFreedesktopAssociationStore::SFolders{
                home.filePath(QStringLiteral(".config")),
                home.filePath(QStringLiteral(".local/share")),
                home.path(),
                {home.filePath(QStringLiteral("usr/local/share")), home.filePath(QStringLiteral("usr/share"))},
                sExecutable});
    }
    QString MimeApps() const { return home.filePath(QStringLiteral(".config/mimeapps.list")); }
    QString UserApplications() const { return home.filePath(QStringLiteral(".local/share/applications")); }
    QString UserDesktopFile(const char* pszIdentifier) const
    {
        return UserApplications() + QLatin1Char('/') + QLatin1String(pszIdentifier) + QStringLiteral(".desktop");
    }
    // Desktop files in the user's folder, by name.
    QStringList UserDesktopFiles() const { return QDir(UserApplications()).entryList(QDir::Files, QDir::Name); }
};

const QString kPortableExe = QStringLiteral("/media/stick/Velk Edit/velkedit");

}  // namespace

class TestFileTypes : public QObject
{
    Q_OBJECT

private slots:
    void registerRestoresPreviousDefault_data();
    void registerRestoresPreviousDefault();
    void unregisterWithoutPreviousDefaultRemovesKey();
    void registeringTwiceKeepsTheFirstOldDefault();
    void shellNewOnlyForScripts();
    void unregisterFileTypesClearsOnlySetFlags();
    void firstRunRegistersScriptAndDescription();
    void failedWritesAreReported_data();
    void failedWritesAreReported();

    void mimeAppsListKeepsOtherEntries();
    void registeringKeepsEveryOtherLineByteForByte_data();
    void registeringKeepsEveryOtherLineByteForByte();
    void mimeAppsListEditsTouchOnlyTheirOwnLines();
    void freedesktopRegisterAndRestore();
    void freedesktopOwnTypesGetAMimePackage();
    void freedesktopShellNewFollowsUserDirs_data();
    void freedesktopShellNewFollowsUserDirs();
    void freedesktopLeavesFilledTemplateAlone();
    void freedesktopFailureKeepsThePreviousHandler_data();
    void freedesktopFailureKeepsThePreviousHandler();

    void portableCopyWritesAndRemovesItsDesktopFiles();
    void desktopFileOnlyWhereNoneIsThere_data();
    void desktopFileOnlyWhereNoneIsThere();
    void desktopFileThatCannotBeWrittenKeepsThePreviousHandler();
    void execValueQuotesWhatALauncherWouldSplit_data();
    void execValueQuotesWhatALauncherWouldSplit();
};

void TestFileTypes::registerRestoresPreviousDefault_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("previous");
    QTest::newRow("text file had another editor") << QStringLiteral(".txt") << QStringLiteral("txtfile");
    QTest::newRow("page had a browser") << QStringLiteral(".html") << QStringLiteral("htmlfile");
    QTest::newRow("case differs from ours") << QStringLiteral(".sqf") << QStringLiteral("velk.function.document");
}

void TestFileTypes::registerRestoresPreviousDefault()
{
    QFETCH(QString, extension);
    QFETCH(QString, previous);
    CMemoryAssociationStore store;
    store.CreateKey(extension);
    store.WriteDefault(extension, previous);
    const SFileTypeInfo& type = *FindFileType(extension);
    RegisterFileType(store, type);
    QCOMPARE(store.ReadDefault(extension), QLatin1String(type.pszIdentifier));
    QCOMPARE(store.ReadValue(extension, kOldDefault), previous);
    UnregisterFileType(store, type);
    QCOMPARE(store.ReadDefault(extension), previous);
    QVERIFY(!store.m_keys.value(extension).values.contains(kOldDefault));
}

void TestFileTypes::unregisterWithoutPreviousDefaultRemovesKey()
{
    CMemoryAssociationStore store;
    RegisterFileType(store, Type(".csv"));
    QVERIFY(store.KeyExists(QStringLiteral(".csv")));
    QVERIFY(!store.m_keys.value(QStringLiteral(".csv")).values.contains(kOldDefault));
    UnregisterFileType(store, Type(".csv"));
    QVERIFY(!store.KeyExists(QStringLiteral(".csv")));
    // Unregistering what was never registered changes nothing.
    UnregisterFileType(store, Type(".csv"));
    QVERIFY(store.m_keys.isEmpty());
}

void TestFileTypes::registeringTwiceKeepsTheFirstOldDefault()
{
    CMemoryAssociationStore store;
    store.CreateKey(QStringLiteral(".sqs"));
    store.WriteDefault(QStringLiteral(".sqs"), QStringLiteral("OtherEditor.Script"));
    RegisterFileType(store, Type(".sqs"));
    RegisterFileType(store, Type(".sqs"));
    QCOMPARE(store.ReadValue(QStringLiteral(".sqs"), kOldDefault), QStringLiteral("OtherEditor.Script"));
    UnregisterFileType(store, Type(".sqs"));
    QCOMPARE(store.ReadDefault(QStringLiteral(".sqs")), QStringLiteral("OtherEditor.Script"));
}

void TestFileTypes::shellNewOnlyForScripts()
{
    CMemoryAssociationStore store;
    for (const SFileTypeInfo& type : FileTypes())
        RegisterFileType(store, type);
    for (const SFileTypeInfo& type : FileTypes())
        QCOMPARE(store.m_keys.value(QLatin1String(type.pszExtension)).bShellNew,
                 QLatin1String(type.pszExtension) == QLatin1String(".sqs"));
    UnregisterFileType(store, Type(".sqs"));
    QVERIFY(!store.m_keys.value(QStringLiteral(".sqs")).bShellNew);
}

void TestFileTypes::unregisterFileTypesClearsOnlySetFlags()
{
    CMemorySettingsStore settingsStore;
    CSettings settings;
    settings.Read(settingsStore, QSize());
    settings.m_bRegSQS = 1;
    settings.m_bRegTXT = 1;
    CMemoryAssociationStore store;
    RegisterFileType(store, Type(".sqs"));
    RegisterFileType(store, Type(".txt"));
    RegisterFileType(store, Type(".ext"));  // registered, but its flag says otherwise: left alone
    CRecordingPrompter prompter;
    QVERIFY(UnregisterFileTypes(store, settings, prompter));
    QVERIFY(prompter.m_messages.isEmpty());
    QCOMPARE(settings.m_bRegSQS, 0);
    QCOMPARE(settings.m_bRegTXT, 0);
    QVERIFY(!store.KeyExists(QStringLiteral(".sqs")));
    QVERIFY(!store.KeyExists(QStringLiteral(".txt")));
    QVERIFY(store.KeyExists(QStringLiteral(".ext")));
    QVERIFY(settingsStore.WriteLog().isEmpty());
}

void TestFileTypes::firstRunRegistersScriptAndDescription()
{
    CMemorySettingsStore settingsStore;
    CSettings settings;
    settings.Read(settingsStore, QSize());
    CMemoryAssociationStore store;
    CRecordingPrompter prompter;
    QVERIFY(RegisterOnFirstRun(store, settings, prompter));
    QVERIFY(prompter.m_messages.isEmpty());
    QCOMPARE(settings.m_bFirstRun, 0);
    QCOMPARE(settings.m_bRegSQS, 1);
    QCOMPARE(settings.m_bRegEXT, 1);
    QCOMPARE(store.m_keys.keys(), (QStringList{".ext", ".sqs"}));
    store.m_keys.clear();
    QVERIFY(RegisterOnFirstRun(store, settings, prompter));
    QVERIFY(store.m_keys.isEmpty());
}

namespace {

// One line per key, so a failed routine can be shown to have changed nothing.
QStringList Dump(const CMemoryAssociationStore& store)
{
    QStringList lines;
    for (auto it = store.m_keys.cbegin(); it != store.m_keys.cend(); ++it) {
        QString sLine = it.key() + QLatin1Char('=') + it->sDefault;
        for (auto value = it->values.cbegin(); value != it->values.cend(); ++value)
            sLine += QStringLiteral(" %1=%2").arg(value.key(), value.value());
        if (it->bShellNew)
            sLine += QStringLiteral(" new");
        lines.append(sLine);
    }
    return lines;
}

}  // namespace

void TestFileTypes::failedWritesAreReported_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QStringList>("registered");  // before the store turns read-only
    QTest::addColumn<QStringList>("flags");       // set before the routine runs
    QTest::addColumn<QString>("named");           // the extensions the message names
    QTest::newRow("first start") << "first run" << QStringList{} << QStringList{} << ".sqs, .ext";
    QTest::newRow("unregistering from the command line")
        << "unregister all" << QStringList{".sqs", ".txt"} << QStringList{".sqs", ".txt"} << ".sqs, .txt";
    QTest::newRow("options register one type") << "update .csv" << QStringList{} << QStringList{".csv"} << ".csv";
    QTest::newRow("options unregister one type") << "update .html" << QStringList{".html"} << QStringList{} << ".html";
    QTest::newRow("options register script with its New entry")
        << "update .sqs" << QStringList{} << QStringList{".sqs"} << ".sqs";
}

void TestFileTypes::failedWritesAreReported()
{
    QFETCH(QString, routine);
    QFETCH(QStringList, registered);
    QFETCH(QStringList, flags);
    QFETCH(QString, named);
    CMemoryAssociationStore store;
    store.CreateKey(QStringLiteral(".txt"));
    store.WriteDefault(QStringLiteral(".txt"), QStringLiteral("org.example.Notes"));
    for (const QString& sExt : registered)
        QVERIFY(RegisterFileType(store, *FindFileType(sExt)));
    const QStringList before = Dump(store);
    CMemorySettingsStore settingsStore;
    CSettings settings;
    settings.Read(settingsStore, QSize());
    for (const QString& sExt : flags)
        settings.*FindFileType(sExt)->pbFlag = 1;
    store.m_bReadOnly = true;

    CRecordingPrompter prompter;
    bool bOk = true;
    if (routine == QLatin1String("first run"))
        bOk = RegisterOnFirstRun(store, settings, prompter);
    else if (routine == QLatin1String("unregister all"))
        bOk = UnregisterFileTypes(store, settings, prompter);
    else
        bOk = UpdateFileType(store, settings, *FindFileType(routine.section(u' ', 1)), prompter);

    QVERIFY(!bOk);
    QCOMPARE(Dump(store), before);
    // One box for the whole routine, however many types failed.
    QCOMPARE(prompter.m_messages.size(), 1);
    QCOMPARE(prompter.m_captions, QStringList{"FILE ERROR"});
    QCOMPARE(prompter.m_icons, QList<IPrompter::EIcon>{IPrompter::EIcon::Error});
    QVERIFY2(prompter.m_messages[0].contains(named), qPrintable(prompter.m_messages[0]));
    // A failed first start is not tried again at every start after it.
    if (routine == QLatin1String("first run"))
        QCOMPARE(settings.m_bFirstRun, 0);
}

void TestFileTypes::mimeAppsListKeepsOtherEntries()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("mimeapps.list"));
    const QByteArray original = "# my associations\n"
                                "[Added Associations]\n"
                                "text/plain=gedit.desktop;\n"
                                "\n"
                                "[Default Applications]\n"
                                "image/png=eog.desktop\n"
                                "text/plain = gedit.desktop;\n"
                                "\n"
                                "[Removed Associations]\n"
                                "text/html=firefox.desktop;\n";
    WriteFile(sPath, original);
    CMimeAppsList list;
    QVERIFY(list.Load(sPath));
    QCOMPARE(list.Value(CMimeAppsList::kDefaults, QStringLiteral("text/plain")), QStringLiteral("gedit.desktop;"));
    QCOMPARE(list.Value(QStringLiteral("Removed Associations"), QStringLiteral("image/png")), QString());
    list.SetValue(CMimeAppsList::kDefaults, QStringLiteral("text/plain"),
                  QStringLiteral("VELK.Text.Document.desktop;"));
    list.SetValue(CMimeAppsList::kDefaults, QStringLiteral("text/csv"),
                  QStringLiteral("VELK.StringTable.Document.desktop;"));
    QVERIFY(list.Save(sPath));
    QCOMPARE(ReadFile(sPath),
             QByteArray("# my associations\n"
                        "[Added Associations]\n"
                        "text/plain=gedit.desktop;\n"
                        "\n"
                        "[Default Applications]\n"
                        "image/png=eog.desktop\n"
                        "text/plain=VELK.Text.Document.desktop;\n"
                        "text/csv=VELK.StringTable.Document.desktop;\n"
                        "\n"
                        "[Removed Associations]\n"
                        "text/html=firefox.desktop;\n"));
    list.SetValue(CMimeAppsList::kDefaults, QStringLiteral("text/plain"), QStringLiteral("gedit.desktop;"));
    list.RemoveValue(CMimeAppsList::kDefaults, QStringLiteral("text/csv"));
    QVERIFY(list.Save(sPath));
    QCOMPARE(ReadFile(sPath), QByteArray(original).replace("text/plain = gedit", "text/plain=gedit"));
}

void TestFileTypes::freedesktopRegisterAndRestore()
{
    CDesktop desktop;
    WriteFile(desktop.MimeApps(),
              "[Default Applications]\ntext/plain=org.example.Notes.desktop;\nimage/png=eog.desktop\n");
    CFreedesktopAssociationStore& store = *desktop.pStore;
    QCOMPARE(store.ReadDefault(QStringLiteral(".txt")), QStringLiteral("org.example.Notes"));

    RegisterFileType(store, Type(".txt"));
    QVERIFY(ReadFile(desktop.MimeApps()).contains("text/plain=VELK.Text.Document.desktop;\n"));
    QCOMPARE(store.ReadDefault(QStringLiteral(".txt")), QStringLiteral("VELK.Text.Document"));
    QCOMPARE(store.ReadValue(QStringLiteral(".txt"), kOldDefault), QStringLiteral("org.example.Notes"));

    UnregisterFileType(store, Type(".txt"));
    QCOMPARE(ReadFile(desktop.MimeApps()),
             QByteArray("[Default Applications]\ntext/plain=org.example.Notes.desktop;\nimage/png=eog.desktop\n"));
    QCOMPARE(store.ReadValue(QStringLiteral(".txt"), kOldDefault), QString());

    // With no previous handler the entry goes away again, and only it.
    RegisterFileType(store, Type(".csv"));
    QVERIFY(ReadFile(desktop.MimeApps()).contains("text/csv=VELK.StringTable.Document.desktop;"));
    UnregisterFileType(store, Type(".csv"));
    QVERIFY(!ReadFile(desktop.MimeApps()).contains("text/csv"));
    QVERIFY(ReadFile(desktop.MimeApps()).contains("image/png=eog.desktop"));
}

void TestFileTypes::freedesktopOwnTypesGetAMimePackage()
{
    CDesktop desktop;
    CFreedesktopAssociationStore& store = *desktop.pStore;
    QVERIFY(!store.KeyExists(QStringLiteral(".sqf")));
    RegisterFileType(store, Type(".sqf"));
    const QByteArray package = ReadFile(store.PackagePath(QStringLiteral(".sqf")));
    QVERIFY(package.contains("type=\"text/x-velk-function\""));
    QVERIFY(package.contains("<glob pattern=\"*.sqf\"/>"));
    QVERIFY(store.KeyExists(QStringLiteral(".sqf")));
    QVERIFY(ReadFile(desktop.MimeApps()).contains("text/x-velk-function=VELK.Function.Document.desktop;"));
    UnregisterFileType(store, Type(".sqf"));
    QVERIFY(!QFileInfo::exists(store.PackagePath(QStringLiteral(".sqf"))));
    QVERIFY(!store.KeyExists(QStringLiteral(".sqf")));
    // Standard types need no package of ours.
    RegisterFileType(store, Type(".html"));
    QVERIFY(!QFileInfo::exists(store.PackagePath(QStringLiteral(".html"))));
}

void TestFileTypes::freedesktopShellNewFollowsUserDirs_data()
{
    QTest::addColumn<QByteArray>("userDirs");
    QTest::addColumn<QString>("expected");  // relative to home; empty: no template
    QTest::newRow("no user-dirs file") << QByteArray() << QStringLiteral("Templates/Script.sqs");
    QTest::newRow("named templates folder")
        << QByteArray("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_TEMPLATES_DIR=\"$HOME/Vorlagen\"\n")
        << QStringLiteral("Vorlagen/Script.sqs");
    QTest::newRow("templates disabled by pointing at home")
        << QByteArray("XDG_TEMPLATES_DIR=\"$HOME/\"\n") << QString();
}

void TestFileTypes::freedesktopShellNewFollowsUserDirs()
{
    QFETCH(QByteArray, userDirs);
    QFETCH(QString, expected);
    CDesktop desktop;
    if (!userDirs.isEmpty())
        WriteFile(desktop.home.filePath(QStringLiteral(".config/user-dirs.dirs")), userDirs);
    RegisterFileType(*desktop.pStore, Type(".sqs"));
    if (expected.isEmpty()) {
        QVERIFY(!QFileInfo::exists(desktop.home.filePath(QStringLiteral("Script.sqs"))));
        return;
    }
    const QString sTemplate = desktop.home.filePath(expected);
    QVERIFY(QFileInfo(sTemplate).isFile());
    QCOMPARE(QFileInfo(sTemplate).size(), 0);
    UnregisterFileType(*desktop.pStore, Type(".sqs"));
    QVERIFY(!QFileInfo::exists(sTemplate));
}

void TestFileTypes::freedesktopLeavesFilledTemplateAlone()
{
    CDesktop desktop;
    RegisterFileType(*desktop.pStore, Type(".sqs"));
    const QString sTemplate = desktop.home.filePath(QStringLiteral("Templates/Script.sqs"));
    WriteFile(sTemplate, "; my own template\r\n");
    UnregisterFileType(*desktop.pStore, Type(".sqs"));
    QCOMPARE(ReadFile(sTemplate), QByteArray("; my own template\r\n"));
}

void TestFileTypes::freedesktopFailureKeepsThePreviousHandler_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::addColumn<QString>("detail");  // what the message must point the user at
    QTest::newRow("own settings file cannot be written") << "own store"
                                                         << "settings file";
    QTest::newRow("configuration folder is a plain file") << "config file"
                                                          << ".config";
    QTest::newRow("mimeapps.list cannot be read") << "list folder"
                                                  << "mimeapps.list could not be read";
}

void TestFileTypes::freedesktopFailureKeepsThePreviousHandler()
{
    QFETCH(QString, blocker);
    QFETCH(QString, detail);
    CDesktop desktop;
    const QByteArray list = "[Default Applications]\ntext/plain=org.example.Notes.desktop;\n";
    if (blocker == QLatin1String("own store")) {
        WriteFile(desktop.MimeApps(), list);
        desktop.ownStore.m_bUnwritable = true;
    } else if (blocker == QLatin1String("config file")) {
        WriteFile(desktop.home.filePath(QStringLiteral(".config")), "not a folder");
    } else {
        QVERIFY(QDir().mkpath(desktop.MimeApps()));
    }
    CMemorySettingsStore settingsStore;
    CSettings settings;
    settings.Read(settingsStore, QSize());
    settings.m_bRegTXT = 1;

    CRecordingPrompter prompter;
    QVERIFY(!UpdateFileType(*desktop.pStore, settings, Type(".txt"), prompter));
    QCOMPARE(prompter.m_captions, QStringList{"FILE ERROR"});
    QVERIFY2(prompter.m_messages[0].contains(detail), qPrintable(prompter.m_messages[0]));
    // Nothing of the user's own list may be given up for a write that failed.
    if (blocker == QLatin1String("own store"))
        QCOMPARE(ReadFile(desktop.MimeApps()), list);
    else
        QCOMPARE(QFileInfo(desktop.MimeApps()).isFile(), false);
}

void TestFileTypes::portableCopyWritesAndRemovesItsDesktopFiles()
{
    CDesktop desktop(kPortableExe);
    WriteFile(desktop.MimeApps(), "[Default Applications]\ntext/plain=org.example.Notes.desktop;\n");
    CFreedesktopAssociationStore& store = *desktop.pStore;
    QVERIFY(RegisterFileType(store, Type(".sqs")));
    QVERIFY(RegisterFileType(store, Type(".txt")));
    QCOMPARE(desktop.UserDesktopFiles(), (QStringList{"VELK.Script.Document.desktop", "VELK.Text.Document.desktop"}));
    const QByteArray script = ReadFile(desktop.UserDesktopFile("VELK.Script.Document"));
    QVERIFY2(script.contains("\nExec=\"/media/stick/Velk Edit/velkedit\" %f\n"), script.constData());
    QVERIFY(script.contains("\nMimeType=text/x-velk-script;\n"));
    QVERIFY(script.startsWith("[Desktop Entry]\nType=Application\n"));
    QVERIFY(ReadFile(desktop.UserDesktopFile("VELK.Text.Document")).contains("\nMimeType=text/plain;\n"));

    // One type given up: only its file goes, the other type still opens.
    QVERIFY(UnregisterFileType(store, Type(".txt")));
    QCOMPARE(desktop.UserDesktopFiles(), QStringList{"VELK.Script.Document.desktop"});
    // The handler put back is another program's; we write no file for it.
    QCOMPARE(store.ReadDefault(QStringLiteral(".txt")), QStringLiteral("org.example.Notes"));
    QVERIFY(UnregisterFileType(store, Type(".sqs")));
    QCOMPARE(desktop.UserDesktopFiles(), QStringList{});
}

void TestFileTypes::desktopFileOnlyWhereNoneIsThere_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("existing");  // relative to home; empty: none
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("written");         // the user's folder gets one of ours
    QTest::addColumn<bool>("keptAfterwards");  // the existing file is still there, unchanged

    const QByteArray installed = "[Desktop Entry]\nType=Application\nName=Velk Edit\nExec=/usr/bin/velkedit %f\n";
    QTest::newRow("installed with the program")
        << kPortableExe << "usr/share/applications/VELK.Script.Document.desktop" << installed << false << true;
    QTest::newRow("installed under /usr/local")
        << kPortableExe << "usr/local/share/applications/VELK.Script.Document.desktop" << installed << false << true;
    QTest::newRow("the user's own") << kPortableExe << ".local/share/applications/VELK.Script.Document.desktop"
                                    << installed << false << true;
    QTest::newRow("ours for a copy that has moved")
        << kPortableExe << ".local/share/applications/VELK.Script.Document.desktop"
        << DesktopEntry::Text(QStringLiteral("/old/place/velkedit"), QStringLiteral("text/x-velk-script"),
                              QStringLiteral("old"))
        << true << false;
    QTest::newRow("program's path unknown") << QString() << QString() << QByteArray() << false << false;
    QTest::newRow("nothing there") << kPortableExe << QString() << QByteArray() << true << false;
}

void TestFileTypes::desktopFileOnlyWhereNoneIsThere()
{
    QFETCH(QString, executable);
    QFETCH(QString, existing);
    QFETCH(QByteArray, content);
    QFETCH(bool, written);
    QFETCH(bool, keptAfterwards);
    CDesktop desktop(executable);
    if (!existing.isEmpty())
        WriteFile(desktop.home.filePath(existing), content);
    const QString sOwn = desktop.UserDesktopFile("VELK.Script.Document");

    QVERIFY(RegisterFileType(*desktop.pStore, Type(".sqs")));
    QVERIFY(ReadFile(desktop.MimeApps()).contains("text/x-velk-script=VELK.Script.Document.desktop;"));
    const QByteArray own = ReadFile(sOwn);
    if (written) {
        QVERIFY(DesktopEntry::IsOwn(own));
        QVERIFY2(own.contains("Exec=" + DesktopEntry::ExecValue(executable).toUtf8() + "\n"), own.constData());
    } else if (existing.startsWith(QLatin1String(".local"))) {
        QCOMPARE(own, content);
    } else {
        QVERIFY(!QFileInfo::exists(sOwn));
    }

    QVERIFY(UnregisterFileType(*desktop.pStore, Type(".sqs")));
    if (keptAfterwards)
        QCOMPARE(ReadFile(desktop.home.filePath(existing)), content);
    else
        QVERIFY(!QFileInfo::exists(sOwn));
}

void TestFileTypes::desktopFileThatCannotBeWrittenKeepsThePreviousHandler()
{
    CDesktop desktop(kPortableExe);
    const QByteArray list = "[Default Applications]\ntext/plain=org.example.Notes.desktop;\n";
    WriteFile(desktop.MimeApps(), list);
    WriteFile(desktop.UserApplications(), "a file where the folder should be");
    CMemorySettingsStore settingsStore;
    CSettings settings;
    settings.Read(settingsStore, QSize());
    settings.m_bRegTXT = 1;

    CRecordingPrompter prompter;
    QVERIFY(!UpdateFileType(*desktop.pStore, settings, Type(".txt"), prompter));
    QCOMPARE(prompter.m_captions, QStringList{"FILE ERROR"});
    QVERIFY2(prompter.m_messages[0].contains(desktop.UserApplications()), qPrintable(prompter.m_messages[0]));
    // The list never names a desktop file that is not there.
    QCOMPARE(ReadFile(desktop.MimeApps()), list);
}

void TestFileTypes::execValueQuotesWhatALauncherWouldSplit_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain path") << "/opt/velkedit/velkedit"
                                << "/opt/velkedit/velkedit %f";
    QTest::newRow("blank in a folder name") << "/media/stick/Velk Edit/velkedit"
                                            << "\"/media/stick/Velk Edit/velkedit\" %f";
    QTest::newRow("characters escaped inside quotes") << "/home/jo/a$b\\c\"d`e/velkedit"
                                                      << "\"/home/jo/a\\\\$b\\\\\\\\c\\\\\"d\\\\`e/velkedit\" %f";
    QTest::newRow("percent is no field code") << "/opt/100%/velkedit"
                                              << "/opt/100%%/velkedit %f";
    QTest::newRow("percent inside quotes") << "/opt/100% sure/velkedit"
                                           << "\"/opt/100%% sure/velkedit\" %f";
}

void TestFileTypes::execValueQuotesWhatALauncherWouldSplit()
{
    QFETCH(QString, executable);
    QFETCH(QString, exec);
    QCOMPARE(DesktopEntry::ExecValue(executable), exec);
}

void TestFileTypes::registeringKeepsEveryOtherLineByteForByte_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("registered");
    QTest::addColumn<QByteArray>("unregistered");

    const QByteArray ours = "text/plain=VELK.Text.Document.desktop;";
    QTest::newRow("Latin-1 byte in a comment") << QByteArray("# caf\xE9\n[Default Applications]\n")
                                               << QByteArray("# caf\xE9\n[Default Applications]\n") + ours + "\n"
                                               << QByteArray("# caf\xE9\n[Default Applications]\n");
    const QByteArray crlf = QByteArrayLiteral("[Added Associations]\r\ntext/html=a\x00"
                                              "b.desktop;\r\n\r\n[Default Applications]\r\nimage/png=eog.desktop\r\n");
    QTest::newRow("CR LF lines and a NUL in another group") << crlf << crlf + ours + "\r\n" << crlf;
    QTest::newRow("last line without a line feed")
        << QByteArray("[Default Applications]\nimage/png=caf\xE9.desktop")
        << QByteArray("[Default Applications]\nimage/png=caf\xE9.desktop\n") + ours + "\n"
        << QByteArray("[Default Applications]\nimage/png=caf\xE9.desktop\n");
    QTest::newRow("previous handler comes back beside a Windows-1252 comment")
        << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\n# Gr\xFC\xDF"
                      "e\n")
        << QByteArray("[Default Applications]\n") + ours
            + "\n# Gr\xFC\xDF"
              "e\n"
        << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\n# Gr\xFC\xDF"
                      "e\n");
    // A second line for the type would take over once ours went.
    QTest::newRow("second line for the same type")
        << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\ntext/plain=kate.desktop;\n")
        << QByteArray("[Default Applications]\n") + ours + "\n"
        << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\n");
}

// The desktop's list belongs to the user and to every other program: only
// the line of the type we register may change.
void TestFileTypes::registeringKeepsEveryOtherLineByteForByte()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, registered);
    QFETCH(QByteArray, unregistered);
    CDesktop desktop;
    WriteFile(desktop.MimeApps(), original);
    QVERIFY(RegisterFileType(*desktop.pStore, Type(".txt")));
    QCOMPARE(ReadFile(desktop.MimeApps()), registered);
    QVERIFY(UnregisterFileType(*desktop.pStore, Type(".txt")));
    QCOMPARE(ReadFile(desktop.MimeApps()), unregistered);
}

namespace {

const QStringList kOwnKeys
    = {QStringLiteral("text/x-velk-script"), QStringLiteral("text/csv"), QStringLiteral("text/plain")};

QByteArray RandomBytes(QRandomGenerator& random, int nMax)
{
    QByteArray bytes;
    for (int i = random.bounded(nMax + 1); i > 0; --i) {
        const char ch = char(random.bounded(256));
        if (ch != '\n')
            bytes += ch;
    }
    return bytes;
}

// A list such as desktops and users write, in any bytes: groups, entries of
// our keys and of others, comments and garbage, LF or CR LF.
QByteArray RandomMimeApps(QRandomGenerator& random)
{
    static const QByteArray kFragments[] = {
        "[Default Applications]",
        "[Added Associations]",
        " [Removed Associations] ",
        "",
        "text/plain=gedit.desktop;",
        "text/csv = calc.desktop",
        "text/x-velk-script=old.desktop;",
        "image/png=eog.desktop",
        "text/html",
    };
    QByteArray bytes;
    for (int i = random.bounded(12); i > 0; --i) {
        switch (random.bounded(4)) {
        case 0:
            bytes += "#" + RandomBytes(random, 12);
            break;
        case 1:
            bytes += RandomBytes(random, 12);
            break;
        default:
            bytes += kFragments[random.bounded(int(std::size(kFragments)))];
        }
        bytes += random.bounded(3) == 0 ? "\r\n" : "\n";
    }
    if (random.bounded(4) == 0 && bytes.endsWith('\n'))
        bytes.chop(bytes.endsWith("\r\n") ? 2 : 1);
    return bytes;
}

// Every line but those of our keys in the defaults group, without the line
// feed (a last line may gain one when something goes after it).
QList<QByteArray> OthersLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    bool bDefaults = false;
    for (QByteArray line : bytes.split('\n')) {
        const QString sText = QString::fromUtf8(line).trimmed();
        if (sText.startsWith(u'[') && sText.endsWith(u']'))
            bDefaults = sText == QLatin1String("[Default Applications]");
        else if (bDefaults && kOwnKeys.contains(sText.section(u'=', 0, 0).trimmed()) && sText.contains(u'='))
            continue;
        lines.append(line);
    }
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

void TestFileTypes::mimeAppsListEditsTouchOnlyTheirOwnLines()
{
    QRandomGenerator random(1811);
    for (int nCase = 0; nCase < 2000; ++nCase) {
        const QByteArray original = RandomMimeApps(random);
        CMimeAppsList list;
        list.Parse(original);
        QMap<QString, QString> expected;
        for (int nOp = random.bounded(1, 5); nOp > 0; --nOp) {
            const QString sKey = kOwnKeys[random.bounded(int(kOwnKeys.size()))];
            if (random.bounded(3) == 0) {
                list.RemoveValue(CMimeAppsList::kDefaults, sKey);
                expected[sKey] = QString();
            } else {
                const QString sValue = QStringLiteral("VELK.%1.\u00E9.desktop;").arg(random.bounded(100));
                list.SetValue(CMimeAppsList::kDefaults, sKey, sValue);
                expected[sKey] = sValue;
            }
        }
        const QByteArray saved = list.Bytes();
        const QString sCase = QStringLiteral("case %1: %2").arg(nCase).arg(QString::fromLatin1(original.toHex(' ')));

        // Whatever we add goes after the user's lines: a missing group at the
        // end, behind a blank line.
        const QList<QByteArray> before = OthersLines(original);
        QList<QByteArray> after = OthersLines(saved);
        while (after.size() > before.size()
               && (after.constLast().trimmed().isEmpty() || after.constLast().trimmed() == "[Default Applications]"))
            after.removeLast();
        QVERIFY2(after == before, qPrintable(sCase));
        if (original.endsWith('\n'))
            QVERIFY2(saved.endsWith('\n'), qPrintable(sCase));

        CMimeAppsList reloaded;
        reloaded.Parse(saved);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QVERIFY2(reloaded.Value(CMimeAppsList::kDefaults, it.key()) == it.value(), qPrintable(sCase));
    }
}

QTEST_GUILESS_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
