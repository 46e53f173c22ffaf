#include "core/app/filetypes.h"
#include "core/app/freedesktopassociationstore.h"
#include "core/app/memoryassociationstore.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/mimeappslist.h"
#include "core/app/settings.h"

#include <QDir>
#include <QFile>
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

// A user's desktop in temporary folders, so nothing touches the real one.
struct CDesktop
{
    QTemporaryDir home;
    CMemorySettingsStore ownStore;
    std::unique_ptr<CFreedesktopAssociationStore> pStore;

    CDesktop()
    {
        pStore = std::make_unique<CFreedesktopAssociationStore>(
            ownStore,
            CFreedesktopAssociationStore::SFolders{home.filePath(QStringLiteral(".config")),
                                                   home.filePath(QStringLiteral(".local/share")), home.path()});
    }
    QString MimeApps() const { return home.filePath(QStringLiteral(".config/mimeapps.list")); }
};

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

    void mimeAppsListKeepsOtherEntries();
    void freedesktopRegisterAndRestore();
    void freedesktopOwnTypesGetAMimePackage();
    void freedesktopShellNewFollowsUserDirs_data();
    void freedesktopShellNewFollowsUserDirs();
    void freedesktopLeavesFilledTemplateAlone();
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
    CAppSettings settings = ReadAppSettings(settingsStore);
    settings.m_bRegSQS = 1;
    settings.m_bRegTXT = 1;
    CMemoryAssociationStore store;
    RegisterFileType(store, Type(".sqs"));
    RegisterFileType(store, Type(".txt"));
    RegisterFileType(store, Type(".ext"));  // registered, but its flag says otherwise: left alone
    UnregisterFileTypes(store, settings);
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
    CAppSettings settings = ReadAppSettings(settingsStore);
    CMemoryAssociationStore store;
    RegisterOnFirstRun(store, settings);
    QCOMPARE(settings.m_bFirstRun, 0);
    QCOMPARE(settings.m_bRegSQS, 1);
    QCOMPARE(settings.m_bRegEXT, 1);
    QCOMPARE(store.m_keys.keys(), (QStringList{".ext", ".sqs"}));
    store.m_keys.clear();
    RegisterOnFirstRun(store, settings);
    QVERIFY(store.m_keys.isEmpty());
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

QTEST_GUILESS_MAIN(TestFileTypes)
#include "tst_filetypes.moc"
