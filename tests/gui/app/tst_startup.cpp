#include "gui/app/singleinstance.h"
#include "gui/documents/scriptdoc.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorharness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace VelkTest;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartOpensCentredWindowWithDictionary();
    void unregisterArgumentEndsBeforeAnyWindow_data();
    void unregisterArgumentEndsBeforeAnyWindow();
    void fileArgumentOpensAndDropsTheProject();
    void missingCommandsFileStartsSilently();
    void reloadReportsMissingFiles();
    void storedMaximisedStartsMaximised();
    void secondStartHandsItsFilesToTheFirst();
    void fileThatCannotOpenFromASecondStartIsReportedSafely();
    void fileNameWithLineBreaksOpensFromASecondStart();
    void storedBookmarksOutsideTheFileAreDropped();
    void portableFolderIsUsedForData();
    void firstRunRegistersScriptAndDescriptionOnce();
    void unregisterKeepsTheStoredFlags();
    void currentProjectIsLoadedAndSavedBack();
    void missingProjectListIsCreatedEmpty();
    void unknownCurrentProjectIsDropped();
    void unwritableProjectListIsReported();
    void startFileReopensOnlyInsideItsProject_data();
    void startFileReopensOnlyInsideItsProject();
};

void TestStartup::firstStartOpensCentredWindowWithDictionary()
{
    CStart start;
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    QVERIFY(pFrame);
    QVERIFY(pFrame->isVisible());
    QVERIFY(!pFrame->isMaximized());
    QCOMPARE(pFrame->windowTitle(), QStringLiteral("Velk Edit"));
    const QSize screen = QGuiApplication::primaryScreen()->size();
    QCOMPARE(pFrame->StoredPlacement(), QRect(screen.width() / 2 - 425, screen.height() / 2 - 300, 850, 600));
    QVERIFY(start.App().Dictionary().m_arCommands.size() >= 300);
    QVERIFY(!start.App().Dictionary().m_arAutoComplete.isEmpty());
    QVERIFY(start.Prompter().m_messages.isEmpty());
    QVERIFY(start.App().Documents().AllDocuments().isEmpty());

    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("AppMax"), -1), 0);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("WinWidth"), -1), 850);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("DocMax"), -1), 1);
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("StartFile"), QStringLiteral("x")), QString());
}

void TestStartup::unregisterArgumentEndsBeforeAnyWindow_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("as written") << QStringLiteral("-UnregFileTypes");
    QTest::newRow("lower case") << QStringLiteral("-unregfiletypes");
    QTest::newRow("mixed case") << QStringLiteral("-UNREGfiletypes");
}

void TestStartup::unregisterArgumentEndsBeforeAnyWindow()
{
    QFETCH(QString, argument);
    CStart start({argument});
    QVERIFY(!start.App().InitInstance());
    QCOMPARE(start.App().ExitCode(), 0);
    QVERIFY(!start.App().MainFrame());
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY(start.App().Dictionary().m_arCommands.isEmpty());
    QVERIFY(start.Store().WriteLog().isEmpty());
}

void TestStartup::fileArgumentOpensAndDropsTheProject()
{
    CMemorySettingsStore seed;
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op Nightfall"));
    QTemporaryDir dir;
    const QString sScript = dir.filePath(QStringLiteral("intro.sqs"));
    WriteFile(sScript, "hint \"intro\"\r\n");
    CStart start({sScript}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(start.App().Documents().FindDocument(sScript));
    QCOMPARE(start.App().Documents().AllDocuments().size(), 1);
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("x")), QString());
}

void TestStartup::missingCommandsFileStartsSilently()
{
    CStart start;
    QFile::remove(QDir(start.ExeDir()).filePath(QStringLiteral("commands.dat")));
    // Without commands.dat the executable's folder is no data folder, and with
    // no installed defaults the new user folder stays empty.
    QVERIFY(start.App().InitInstance());
    QVERIFY(start.App().Dictionary().m_arCommands.isEmpty());
    QVERIFY(start.App().Dictionary().m_arAutoComplete.size() <= 2);
    QVERIFY(start.Prompter().m_messages.isEmpty());
    start.CloseAndKeepStore();
}

void TestStartup::reloadReportsMissingFiles()
{
    CStart start;
    QVERIFY(start.App().InitInstance());
    QVERIFY(start.App().ReloadDataFiles());
    QVERIFY(start.Prompter().m_messages.isEmpty());
    QFile::remove(start.App().Paths().m_sHeaderFile);
    QVERIFY(!start.App().ReloadDataFiles());
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages.first().startsWith(
        QStringLiteral("There were some errors while loading the data files.\n")));
    // The reload empties the completion list until the next start.
    QVERIFY(start.App().Dictionary().m_arAutoComplete.isEmpty());
    QVERIFY(!start.App().Dictionary().m_arCommands.isEmpty());
    start.CloseAndKeepStore();
}

void TestStartup::storedMaximisedStartsMaximised()
{
    CMemorySettingsStore seed;
    seed.WriteInt(kSettingsSection, QStringLiteral("AppMax"), 1);
    seed.WriteInt(kSettingsSection, QStringLiteral("WinX"), 40);
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(start.App().MainFrame()->isMaximized());
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("AppMax"), -1), 1);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("WinX"), -1), 40);
}

void TestStartup::secondStartHandsItsFilesToTheFirst()
{
    CStart first;
    QVERIFY(first.App().InitInstance());
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("a b")));
    const QStringList files
        = {dir.filePath(QStringLiteral("a b/init.sqs")), dir.filePath(QStringLiteral("brücke.sqf"))};
    for (const QString& sFile : files)
        WriteFile(sFile, "// x\r\n");
    CSingleInstance second(CStart::InstanceName());
    QVERIFY(second.HandOff(files));
    QTRY_COMPARE(first.App().Documents().AllDocuments().size(), 2);
    for (const QString& sFile : files)
        QVERIFY(first.App().Documents().FindDocument(sFile));
    first.CloseAndKeepStore();
}

void TestStartup::fileThatCannotOpenFromASecondStartIsReportedSafely()
{
    CStart first;
    QVERIFY(first.App().InitInstance());
    // A message box runs an event loop of its own, and whatever is due is
    // deleted in it; the editor must come through that and go on.
    first.Prompter().m_whileAsking = [] {
        QEventLoop loop;
        QTimer::singleShot(200, &loop, &QEventLoop::quit);
        loop.exec();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    QTemporaryDir dir;
    const QString sMissing = dir.filePath(QStringLiteral("gone.sqs"));
    CSingleInstance second(CStart::InstanceName());
    QVERIFY(second.HandOff({sMissing}));
    QTRY_COMPARE(first.Prompter().m_messages.size(), 1);
    QVERIFY(first.Prompter().m_messages.first().contains(sMissing));
    QVERIFY(first.App().Documents().AllDocuments().isEmpty());

    // The editor goes on taking files.
    const QString sPresent = dir.filePath(QStringLiteral("here.sqs"));
    WriteFile(sPresent, "hint \"x\"\r\n");
    CSingleInstance third(CStart::InstanceName());
    QVERIFY(third.HandOff({sPresent}));
    QTRY_VERIFY(first.App().Documents().FindDocument(sPresent));
    first.CloseAndKeepStore();
}

// A name is any bytes but "/" and NUL: one holding line breaks opens as
// itself, not as two files that are not there.
void TestStartup::fileNameWithLineBreaksOpensFromASecondStart()
{
    CStart first;
    QVERIFY(first.App().InitInstance());
    QTemporaryDir dir;
    const QString sFile = dir.filePath(QStringLiteral("two\nlines\n\n.sqs"));
    WriteFile(sFile, "hint \"x\"\r\n");
    CSingleInstance second(CStart::InstanceName());
    QVERIFY(second.HandOff({sFile}));
    QTRY_VERIFY(first.App().Documents().FindDocument(sFile));
    QVERIFY(first.Prompter().m_messages.isEmpty());
    QCOMPARE(first.App().Documents().AllDocuments().size(), 1);
    first.CloseAndKeepStore();
}

// The store is a text file the user may edit, and the file may have shrunk
// since its bookmarks were stored.
void TestStartup::storedBookmarksOutsideTheFileAreDropped()
{
    QTemporaryDir dir;
    const QString sScript = dir.filePath(QStringLiteral("short.sqs"));
    WriteFile(sScript, "a\r\nb\r\nc");
    CMemorySettingsStore seed;
    seed.WriteString(kBookmarksSection, sScript, QStringLiteral("-4,0,2147483647,2,3,"));
    CStart start({sScript}, &seed);
    QVERIFY(start.App().InitInstance());
    const CScriptDoc* pDoc = start.App().Documents().FindDocument(sScript);
    QVERIFY(pDoc);
    const CBookmarkSlots& arSlots = pDoc->Bookmarks();
    QCOMPARE(QList<int>(arSlots.begin(), arSlots.begin() + 6), QList<int>({-1, 0, -1, 2, -1, -1}));
    start.CloseAndKeepStore();
}

void TestStartup::portableFolderIsUsedForData()
{
    CStart start;
    QVERIFY(start.App().InitInstance());
    QCOMPARE(start.App().Paths().m_sAppPath, start.ExeDir() + QLatin1Char('/'));
    QCOMPARE(start.App().Paths().m_sCommandsFile, start.ExeDir() + QStringLiteral("/commands.dat"));
    QCOMPARE(start.App().Paths().m_sSnippetsPath, start.ExeDir() + QStringLiteral("/snippets/"));
    start.CloseAndKeepStore();
}

void TestStartup::firstRunRegistersScriptAndDescriptionOnce()
{
    CMemorySettingsStore seed;
    {
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QCOMPARE(start.Associations().ReadDefault(QStringLiteral(".sqs")), QStringLiteral("VELK.Script.Document"));
        QCOMPARE(start.Associations().ReadDefault(QStringLiteral(".ext")), QStringLiteral("VELK.Description.Document"));
        QVERIFY(start.Associations().m_keys.value(QStringLiteral(".sqs")).bShellNew);
        QVERIFY(!start.Associations().KeyExists(QStringLiteral(".txt")));
        seed = start.CloseAndKeepStore();
    }
    QCOMPARE(seed.ReadInt(kSettingsSection, QStringLiteral("FirstRun"), -1), 0);
    QCOMPARE(seed.ReadInt(kSettingsSection, QStringLiteral("RegSQS"), -1), 1);
    QCOMPARE(seed.ReadInt(kSettingsSection, QStringLiteral("RegEXT"), -1), 1);

    CStart again({}, &seed);
    QVERIFY(again.App().InitInstance());
    QVERIFY(again.Associations().m_keys.isEmpty());
    again.CloseAndKeepStore();
}

void TestStartup::unregisterKeepsTheStoredFlags()
{
    CMemorySettingsStore seed;
    seed.WriteInt(kSettingsSection, QStringLiteral("FirstRun"), 0);
    seed.WriteInt(kSettingsSection, QStringLiteral("RegSQS"), 1);
    seed.WriteInt(kSettingsSection, QStringLiteral("RegEXT"), 1);
    CStart start({QStringLiteral("-UNREGFILETYPES")}, &seed);
    auto& keys = start.Associations().m_keys;
    keys[QStringLiteral(".sqs")].sDefault = QStringLiteral("VELK.Script.Document");
    keys[QStringLiteral(".sqs")].bShellNew = true;
    keys[QStringLiteral(".ext")].sDefault = QStringLiteral("VELK.Description.Document");
    keys[QStringLiteral(".ext")].values[QStringLiteral("(Old Default)")] = QStringLiteral("gedit");
    keys[QStringLiteral(".txt")].sDefault = QStringLiteral("VELK.Text.Document");  // flag not set: untouched
    QVERIFY(!start.App().InitInstance());
    QVERIFY(!keys.contains(QStringLiteral(".sqs")));
    QCOMPARE(keys.value(QStringLiteral(".ext")).sDefault, QStringLiteral("gedit"));
    QVERIFY(keys.value(QStringLiteral(".ext")).values.isEmpty());
    QCOMPARE(keys.value(QStringLiteral(".txt")).sDefault, QStringLiteral("VELK.Text.Document"));
    QCOMPARE(start.Store().ReadInt(kSettingsSection, QStringLiteral("RegSQS"), -1), 1);
    QCOMPARE(start.Store().ReadInt(kSettingsSection, QStringLiteral("RegEXT"), -1), 1);
    QVERIFY(!start.App().MainFrame());
}

void TestStartup::currentProjectIsLoadedAndSavedBack()
{
    QTemporaryDir files;
    const QString sInit = files.filePath(QStringLiteral("init.sqs"));
    const QString sGone = files.filePath(QStringLiteral("gone.sqf"));
    WriteFile(sInit, "hint \"x\"\r\n");
    CMemorySettingsStore seed;
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("op nightfall"));
    CStart start({}, &seed);
    const QString sList = QDir(start.ExeDir()).filePath(QStringLiteral("project.dat"));
    WriteFile(sList, ("[PROJECT]\nOp Nightfall\n*" + sInit + "\n\n*" + sGone + "\n[PROJECT]\nOther\n").toUtf8());
    QVERIFY(start.App().InitInstance());
    CProjectModel& project = start.App().Project();
    QCOMPARE(project.ProjectFileCount(), 2);
    QCOMPARE(project.m_ProjectFiles[0].bOpen, 1);
    QCOMPARE(project.m_ProjectFiles[0].sName, QStringLiteral("init"));
    QCOMPARE(project.m_ProjectFiles[1].bOpen, 0);  // missing on disk: listed, closed
    QVERIFY(project.m_ProjectFiles[0].pDoc);
    QCOMPARE(start.App().Documents().AllDocuments().size(), 1);
    // Project openings leave the recent-file list as it was.
    QCOMPARE(start.App().RecentFiles()->Count(), 0);
    start.CloseAndKeepStore();
    QCOMPARE(ReadFile(sList),
             ("[PROJECT]\r\nOp Nightfall\r\n*" + sInit + "\r\n" + sGone + "\r\n[PROJECT]\r\nOther\r\n").toUtf8());
    QCOMPARE(start.Store().ReadString(kSettingsSection, QStringLiteral("CurProject"), QString()),
             QStringLiteral("op nightfall"));
}

void TestStartup::missingProjectListIsCreatedEmpty()
{
    CStart start;
    const QString sList = QDir(start.ExeDir()).filePath(QStringLiteral("project.dat"));
    QVERIFY(!QFileInfo::exists(sList));
    QVERIFY(start.App().InitInstance());
    QVERIFY(QFileInfo(sList).isFile());
    QCOMPARE(QFileInfo(sList).size(), 0);
    start.CloseAndKeepStore();
}

void TestStartup::unknownCurrentProjectIsDropped()
{
    CMemorySettingsStore seed;
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Deleted Op"));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QCOMPARE(start.App().Project().ProjectFileCount(), 0);
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("x")), QString());
}

void TestStartup::unwritableProjectListIsReported()
{
    CStart start;
    QVERIFY(start.App().InitInstance());
    const QString sList = start.App().Paths().m_sProjectFile;
    QVERIFY(QFile::remove(sList));
    QVERIFY(QDir().mkdir(sList));  // a folder where the file should go cannot be replaced
    start.CloseAndKeepStore();
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages.first().startsWith(QStringLiteral("Error saving the project list file:")));
}

void TestStartup::startFileReopensOnlyInsideItsProject_data()
{
    QTest::addColumn<bool>("inProject");
    QTest::newRow("start file of the project becomes active") << true;
    QTest::newRow("start file outside the project stays closed") << false;
}

void TestStartup::startFileReopensOnlyInsideItsProject()
{
    QFETCH(bool, inProject);
    QTemporaryDir files;
    const QString sInit = files.filePath(QStringLiteral("init.sqs"));
    const QString sBrief = files.filePath(QStringLiteral("briefing.html"));
    const QString sOther = files.filePath(QStringLiteral("other.sqs"));
    for (const QString& sFile : {sInit, sBrief, sOther})
        WriteFile(sFile, "x\r\n");
    CMemorySettingsStore seed;
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op"));
    seed.WriteString(kSettingsSection, QStringLiteral("StartFile"), inProject ? sInit : sOther);
    CStart start({}, &seed);
    WriteFile(QDir(start.ExeDir()).filePath(QStringLiteral("project.dat")),
              ("[PROJECT]\nOp\n*" + sInit + "\n*" + sBrief + "\n").toUtf8());
    QVERIFY(start.App().InitInstance());
    QCOMPARE(start.App().Documents().AllDocuments().size(), 2);
    QVERIFY(!start.App().Documents().FindDocument(sOther));
    const QString sActive = start.App().MainFrame()->ActiveDocument()->GetPathName();
    if (inProject)
        QCOMPARE(sActive, sInit);
    else
        QCOMPARE(sActive, sBrief);  // the last one the project opened
    start.CloseAndKeepStore();
}

int main(int argc, char** argv)
{
    // Every test makes its own application object; QtTest only needs the
    // arguments for its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
