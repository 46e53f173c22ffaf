#include "core/app/appinfo.h"
#include "core/frame/commandtable.h"
#include "gui/controls/commands.h"
#include "tests/support/editorfixture.h"
#include "tests/support/fakewineprefix.h"

#include <QAction>

using namespace VelkTest;
using SCall = CRecordingShell::SCall;

namespace {

const QByteArray kVelkReg = "[Software\\\\Pellworth Studio\\\\Velk] 1700000000\n\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n";
const QByteArray kQonmarReg = "[Software\\\\Wow6432Node\\\\Dunmoor\\\\Qonmar Front] 1700000000\n"
                              "\"MAIN\"=\"C:\\\\Program Files\\\\Dunmoor\\\\Qonmar Front\"\n";

void Run(CStart& start, ECommand eCommand)
{
    QAction* pAction = start.App().MainFrame()->Commands().Action(eCommand);
    QVERIFY(pAction);
    QVERIFY(pAction->isEnabled());
    pAction->trigger();
}

void TypeInto(CScriptDoc* pDoc, const QString& sText)
{
    QTest::keyClicks(View(pDoc), sText);
    QVERIFY(pDoc->IsModified());
}

// The environment variable set for one test, and put back after it.
class CEnvironment
{
public:
    CEnvironment(const char* pszName, const QByteArray& value) : m_pszName(pszName)
    {
        m_bHad = qEnvironmentVariableIsSet(pszName);
        m_old = qgetenv(pszName);
        qputenv(pszName, value);
    }
    ~CEnvironment()
    {
        if (m_bHad)
            qputenv(m_pszName, m_old);
        else
            qunsetenv(m_pszName);
    }

private:
    const char* m_pszName;
    bool m_bHad = false;
    QByteArray m_old;
};

QString Canonical(const CFakeWinePrefix& prefix, const QString& sRelative)
{
    return QFileInfo(prefix.FilePath(sRelative)).canonicalFilePath();
}

void Quit(CStart& start)
{
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

}  // namespace

class TestLinks : public QObject
{
    Q_OBJECT

private slots:
    void launchSavesEveryModifiedDocumentFirst();
    void olderGameStartsThroughWine();
    void failedSaveDoesNotStopTheLaunch();
    void missingWineIsNamed();
    void webLinksOpenTheirAddresses_data();
    void webLinksOpenTheirAddresses();
};

void TestLinks::launchSavesEveryModifiedDocumentFirst()
{
    CFakeWinePrefix prefix;
    QVERIFY(prefix.WriteSystemReg(kVelkReg));
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Games/Velk/Velk.exe"), "MZ"));
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Games/Velk/Velk"), "#!/bin/sh\n", true));
    CEnvironment winePrefix("WINEPREFIX", prefix.Path().toLocal8Bit());
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"Velk", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pInit = Open(start, dir, QStringLiteral("init.sqs"), "hint \"a\"\r\n");
    CScriptDoc* pBriefing = Open(start, dir, QStringLiteral("briefing.html"), "<p>\r\n");
    QVERIFY(pInit && pBriefing);
    TypeInto(pInit, QStringLiteral("go"));
    TypeInto(pBriefing, QStringLiteral("x"));

    Run(start, ECommand::LaunchGame);
    QVERIFY(!pInit->IsModified());
    QVERIFY(!pBriefing->IsModified());
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("init.sqs"))), QByteArray("gohint \"a\"\r\n"));
    QCOMPARE(ReadFile(dir.filePath(QStringLiteral("briefing.html"))), QByteArray("x<p>\r\n"));
    const QString sFolder = Canonical(prefix, QStringLiteral("drive_c/Games/Velk"));
    QCOMPARE(start.Shell().m_calls,
             (QList<SCall>{
                 {SCall::EKind::StartProgram, sFolder + QStringLiteral("/Velk"), QStringList{"-nosplash"}, sFolder}}));
    QCOMPARE(start.Prompter().m_messages, QStringList{});
    Quit(start);
}

void TestLinks::olderGameStartsThroughWine()
{
    CFakeWinePrefix prefix;
    QVERIFY(prefix.WriteSystemReg(kQonmarReg));
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Program Files/Dunmoor/Qonmar Front/QonmarHoldout.exe"), "MZ"));
    // The other game's Linux build in the same place is not the one selected.
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Program Files/Dunmoor/Qonmar Front/Velk"), "#!/bin/sh\n", true));
    QVERIFY(prefix.Write(QStringLiteral("bin/wine"), "#!/bin/sh\nexit 1\n", true));
    CEnvironment winePrefix("WINEPREFIX", prefix.Path().toLocal8Bit());
    CEnvironment path("PATH", prefix.FilePath(QStringLiteral("bin")).toLocal8Bit() + ':' + qgetenv("PATH"));
    CMemorySettingsStore seed = Seed({{"Velk", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());

    Run(start, ECommand::LaunchGame);
    const QString sFolder = Canonical(prefix, QStringLiteral("drive_c/Program Files/Dunmoor/Qonmar Front"));
    QCOMPARE(start.Shell().m_calls,
             (QList<SCall>{{SCall::EKind::StartProgram, prefix.FilePath(QStringLiteral("bin/wine")),
                            QStringList{sFolder + QStringLiteral("/QonmarHoldout.exe"), "-nosplash"}, sFolder}}));
    QCOMPARE(start.Prompter().m_messages, QStringList{});

    // A desktop that would not start it: the user hears so.
    start.Shell().m_bResult = false;
    Run(start, ECommand::LaunchGame);
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY2(start.Prompter().m_messages[0].contains(QStringLiteral("Qonmar Front could not be started")),
             qPrintable(start.Prompter().m_messages[0]));
    Quit(start);
}

void TestLinks::failedSaveDoesNotStopTheLaunch()
{
    CFakeWinePrefix prefix;
    QVERIFY(prefix.WriteSystemReg(kVelkReg));
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Games/Velk/Velk.x86_64"),
                         "\x7f"
                         "ELF",
                         true));
    CEnvironment winePrefix("WINEPREFIX", prefix.Path().toLocal8Bit());
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({}, {{"Velk", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("init.sqs"), "hint \"a\"\r\n");
    QVERIFY(pDoc);
    TypeInto(pDoc, QStringLiteral("go"));
    // The file's place taken by a folder: the save cannot replace it.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("init.sqs"))));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("init.sqs")));

    Run(start, ECommand::LaunchGame);
    QVERIFY(pDoc->IsModified());
    QCOMPARE(start.Prompter().m_messages.size(), 1);  // the save's own report
    QCOMPARE(start.Shell().m_calls.size(), 1);
    QCOMPARE(start.Shell().m_calls[0].sTarget,
             Canonical(prefix, QStringLiteral("drive_c/Games/Velk")) + QStringLiteral("/Velk.x86_64"));
    Quit(start);
}

void TestLinks::missingWineIsNamed()
{
    CFakeWinePrefix prefix;
    QVERIFY(prefix.WriteSystemReg(kVelkReg));
    QVERIFY(prefix.Write(QStringLiteral("drive_c/Games/Velk/Velk.exe"), "MZ"));
    QTemporaryDir emptyPath;
    CEnvironment winePrefix("WINEPREFIX", prefix.Path().toLocal8Bit());
    CEnvironment path("PATH", emptyPath.path().toLocal8Bit());
    CMemorySettingsStore seed = Seed({{"Velk", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());

    Run(start, ECommand::LaunchGame);
    QCOMPARE(start.Shell().m_calls, QList<SCall>{});
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY2(start.Prompter().m_messages[0].contains(QStringLiteral("wine was not found")),
             qPrintable(start.Prompter().m_messages[0]));

    // A prefix where the game was never installed says what it looked for.
    CEnvironment otherPrefix("WINEPREFIX", emptyPath.path().toLocal8Bit());
    Run(start, ECommand::LaunchGame);
    QCOMPARE(start.Prompter().m_messages.size(), 2);
    QVERIFY2(start.Prompter().m_messages[1].contains(QStringLiteral("system.reg")),
             qPrintable(start.Prompter().m_messages[1]));
    Quit(start);
}

void TestLinks::webLinksOpenTheirAddresses_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("makerSite");  // MakerSiteUrl in the settings file; empty: none
    QTest::addColumn<QString>("address");

    QTest::newRow("command reference") << int(ECommand::CommandReference) << QString()
                                       << AppInfo::kCommandReferencePage;
    QTest::newRow("updates") << int(ECommand::CheckForUpdates) << QString()
                             << AppInfo::kMakerSite + QStringLiteral("update.php?version=1.3.4000");
    QTest::newRow("error report") << int(ECommand::ReportError) << QString()
                                  << AppInfo::kMakerSite + QStringLiteral("report.php?version=1.3.4000");
    QTest::newRow("updates from the user's mirror")
        << int(ECommand::CheckForUpdates) << "https://mirror.example.org/velk"
        << "https://mirror.example.org/velk/update.php?version=1.3.4000";
}

void TestLinks::webLinksOpenTheirAddresses()
{
    QFETCH(int, command);
    QFETCH(QString, makerSite);
    QFETCH(QString, address);
    CMemorySettingsStore seed = makerSite.isEmpty() ? Seed() : Seed({{"MakerSiteUrl", makerSite}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());

    Run(start, ECommand(command));
    QCOMPARE(start.Shell().m_calls, (QList<SCall>{{SCall::EKind::OpenUrl, address, {}, {}}}));
    QCOMPARE(start.Prompter().m_messages, QStringList{});

    // Without a browser the address is shown, so the user can copy it.
    start.Shell().m_bResult = false;
    Run(start, ECommand(command));
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages[0].contains(address));
    // The user's value is theirs: the close batch neither writes nor drops it.
    start.Store().ClearWriteLog();
    Quit(start);
    QVERIFY(!start.Store().WriteLog().join(u' ').contains(QStringLiteral("MakerSiteUrl")));
    QCOMPARE(start.Store().Contains(kSettingsSection, QStringLiteral("MakerSiteUrl")), !makerSite.isEmpty());
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestLinks test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_links.moc"
