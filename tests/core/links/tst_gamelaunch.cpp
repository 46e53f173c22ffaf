#include "core/links/gameinfo.h"
#include "core/links/launchplan.h"
#include "core/links/wineprefix.h"
#include "core/links/wineregistry.h"
#include "tests/support/fakewineprefix.h"

#include <QtTest>

using namespace VelkTest;
using EResult = CWineRegistry::EResult;

namespace {

const QString kVelkKey = QStringLiteral("Software\\Pellworth Studio\\Velk");

}  // namespace

class TestGameLaunch : public QObject
{
    Q_OBJECT

private slots:
    void registryValues_data();
    void registryValues();
    void installFolderFromPrefix_data();
    void installFolderFromPrefix();
    void launchPlan_data();
    void launchPlan();
};

void TestGameLaunch::registryValues_data()
{
    QTest::addColumn<QByteArray>("reg");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("value");

    const QByteArray velk = "[Software\\\\Pellworth Studio\\\\Velk] 1700000000\n#time=1d9f0a1b2c3d4e5\n";
    QTest::newRow("plain string") << velk + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
                                  << kVelkKey << int(EResult::Found) << "C:\\Games\\Velk";
    QTest::newRow("key and value names in other case")
        << QByteArray("[software\\\\PELLWORTH STUDIO\\\\velk] 1\n\"main\"=\"D:\\\\Velk\"\n") << kVelkKey
        << int(EResult::Found) << "D:\\Velk";
    QTest::newRow("Wine's escapes") << velk + R"("MAIN"="C:\\Jeux\\\"V\" \xe9t\x20ac\101\t\\x")" + "\n"
                                    << kVelkKey << int(EResult::Found)
                                    << QStringLiteral("C:\\Jeux\\\"V\" \u00e9t\u20acA\t\\x");
    QTest::newRow("four hex digits at most") << velk + R"("MAIN"="\x00e9e")" + "\n"
                                             << kVelkKey << int(EResult::Found) << QStringLiteral("\u00e9e");
    QTest::newRow("stored with its terminating NUL") << velk + R"("MAIN"="C:\\Velk\0")" + "\n"
                                                     << kVelkKey << int(EResult::Found) << "C:\\Velk";
    QTest::newRow("CR LF lines") << QByteArray("[Software\\\\Pellworth Studio\\\\Velk] 1\r\n\"MAIN\"=\"C:\\\\V\"\r\n")
                                 << kVelkKey << int(EResult::Found) << "C:\\V";
    QTest::newRow("other values and the default around it")
        << velk + "@=\"not this\"\n\"MAINX\"=\"nor this\"\n\"Version\"=dword:00000002\n\"MAIN\"=\"C:\\\\Velk\"\n"
        << kVelkKey << int(EResult::Found) << "C:\\Velk";
    QTest::newRow("a sub-key's value is not the key's")
        << QByteArray("[Software\\\\Pellworth Studio\\\\Velk\\\\Patch] 1\n\"MAIN\"=\"C:\\\\Patch\"\n\n") + velk
            + "\"MAIN\"=\"C:\\\\Velk\"\n"
        << kVelkKey << int(EResult::Found) << "C:\\Velk";
    QTest::newRow("value of the next key does not count")
        << velk + "\"Other\"=\"x\"\n\n[Software\\\\Pellworth Studio\\\\Velk2] 1\n\"MAIN\"=\"C:\\\\Two\"\n"
        << kVelkKey << int(EResult::NoValue) << QString();
    QTest::newRow("no such key") << QByteArray("[Software\\\\Dunmoor\\\\Qonmar Front] 1\n\"MAIN\"=\"C:\\\\Q\"\n")
                                 << kVelkKey << int(EResult::NoKey) << QString();
    QTest::newRow("number, not a string") << velk + "\"MAIN\"=dword:00000001\n"
                                          << kVelkKey << int(EResult::NotAString) << QString();
    QTest::newRow("expandable string is not a plain one") << velk + "\"MAIN\"=str(2):\"%ProgramFiles%\\\\Velk\"\n"
                                                          << kVelkKey << int(EResult::NotAString) << QString();
    QTest::newRow("string never closed") << velk + "\"MAIN\"=\"C:\\\\Velk\n"
                                         << kVelkKey << int(EResult::NotAString) << QString();
    const QString s260 = QStringLiteral("C:\\") + QString(257, u'a');
    QTest::newRow("260 characters") << velk + "\"MAIN\"=\"" + s260.toUtf8().replace("\\", "\\\\") + "\"\n"
                                    << kVelkKey << int(EResult::Found) << s260;
    QTest::newRow("261 characters") << velk + "\"MAIN\"=\"" + s260.toUtf8().replace("\\", "\\\\") + "b\"\n"
                                    << kVelkKey << int(EResult::TooLong) << QString();
    QTest::newRow("escapes count as one character")
        << velk + "\"MAIN\"=\"" + QByteArray(129, 'a') + QByteArray(130, 'b').replace("b", "\\x41") + "\"\n"
        << kVelkKey << int(EResult::Found) << QString(129, u'a') + QString(130, u'A');
    QTest::newRow("empty file") << QByteArray() << kVelkKey << int(EResult::NoKey) << QString();
}

void TestGameLaunch::registryValues()
{
    QFETCH(QByteArray, reg);
    QFETCH(QString, key);
    QFETCH(int, result);
    QFETCH(QString, value);
    const CWineRegistry::SLookup lookup = CWineRegistry(reg).ReadString(key, QStringLiteral("MAIN"));
    QCOMPARE(int(lookup.eResult), result);
    QCOMPARE(lookup.sValue, value);
}

void TestGameLaunch::installFolderFromPrefix_data()
{
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QByteArray>("reg");       // empty: the prefix has no system.reg
    QTest::addColumn<QStringList>("folders");  // made in the prefix
    QTest::addColumn<QString>("expected");     // relative to the prefix; empty: not found
    QTest::addColumn<QStringList>("problem");  // what the message must name

    const QByteArray velkKey = "[Software\\\\Pellworth Studio\\\\Velk] 1\n";
    const QByteArray wowKey = "[Software\\\\Wow6432Node\\\\Pellworth Studio\\\\Velk] 1\n";
    const QStringList velkFolder{"drive_c/Games/Velk"};
    QTest::newRow("drive C through dosdevices") << true << velkKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
                                                << velkFolder << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("32-bit installer in a 64-bit prefix") << true << wowKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
                                                         << velkFolder << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("key itself before Wow6432Node")
        << true << velkKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n\n" + wowKey + "\"MAIN\"=\"C:\\\\Old\"\n"
        << QStringList{"drive_c/Games/Velk", "drive_c/Old"} << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("key without a folder, Wow6432Node with one")
        << true << velkKey + "\"Version\"=\"1.1\"\n\n" + wowKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
        << velkFolder << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("older game's key")
        << false << QByteArray("[Software\\\\Dunmoor\\\\Qonmar Front] 1\n\"MAIN\"=\"C:\\\\Dunmoor\\\\QF\"\n")
        << QStringList{"drive_c/Dunmoor/QF"} << "drive_c/Dunmoor/QF" << QStringList{};
    QTest::newRow("Windows does not care about case") << true << velkKey + "\"MAIN\"=\"c:\\\\GAMES\\\\velk\\\\\"\n"
                                                      << velkFolder << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("another drive letter") << true << velkKey + "\"MAIN\"=\"D:\\\\Velk\"\n"
                                          << QStringList{"cdrom/Velk"} << "cdrom/Velk" << QStringList{};
    QTest::newRow("dot-dot stops at the drive's root")
        << true << velkKey + "\"MAIN\"=\"C:\\\\..\\\\..\\\\Games\\\\.\\\\Velk\"\n"
        << velkFolder << "drive_c/Games/Velk" << QStringList{};
    QTest::newRow("no prefix there") << true << QByteArray() << velkFolder << QString()
                                     << QStringList{"system.reg", "WINEPREFIX"};
    QTest::newRow("older game not installed")
        << false << velkKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
        << velkFolder << QString()
        << QStringList{"Qonmar Front", "HKEY_LOCAL_MACHINE\\Software\\Dunmoor\\Qonmar Front"};
    QTest::newRow("key without the value")
        << true << velkKey + "\"Version\"=\"1.1\"\n"
        << velkFolder << QString() << QStringList{"\"MAIN\"", "HKEY_LOCAL_MACHINE\\Software\\Pellworth"};
    QTest::newRow("value names a folder that is gone")
        << true << velkKey + "\"MAIN\"=\"C:\\\\Games\\\\Velk\"\n"
        << QStringList{} << QString() << QStringList{"C:\\Games\\Velk", "does not exist"};
    QTest::newRow("drive the prefix does not have") << true << velkKey + "\"MAIN\"=\"E:\\\\Velk\"\n"
                                                    << velkFolder << QString() << QStringList{"E:", "dosdevices/e:"};
    QTest::newRow("network path") << true << velkKey + "\"MAIN\"=\"\\\\\\\\server\\\\games\"\n"
                                  << velkFolder << QString() << QStringList{"\\\\server\\games"};
}

void TestGameLaunch::installFolderFromPrefix()
{
    QFETCH(bool, velk);
    QFETCH(QByteArray, reg);
    QFETCH(QStringList, folders);
    QFETCH(QString, expected);
    QFETCH(QStringList, problem);
    CFakeWinePrefix prefix;
    if (!reg.isEmpty())
        QVERIFY(prefix.WriteSystemReg(reg));
    for (const QString& sFolder : folders)
        QVERIFY(prefix.MakeFolder(sFolder));
    QVERIFY(prefix.MakeFolder(QStringLiteral("cdrom")));
    QVERIFY(prefix.LinkDrive(QStringLiteral("d"), QStringLiteral("../cdrom")));

    const SInstallFolder folder = CWinePrefix(prefix.Path()).InstallFolder(GameInfo(velk));
    if (expected.isEmpty()) {
        QVERIFY(folder.sPath.isEmpty());
        for (const QString& sPart : problem)
            QVERIFY2(folder.sProblem.contains(sPart), qPrintable(folder.sProblem));
    } else {
        QVERIFY2(folder.sProblem.isEmpty(), qPrintable(folder.sProblem));
        QCOMPARE(folder.sPath, QFileInfo(prefix.FilePath(expected)).canonicalFilePath());
    }
}

void TestGameLaunch::launchPlan_data()
{
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QString>("folder");     // empty: not found
    QTest::addColumn<QStringList>("files");  // a trailing "*" marks an executable
    QTest::addColumn<QString>("wine");
    QTest::addColumn<QStringList>("command");  // program, then its arguments; empty: refused
    QTest::addColumn<QStringList>("message");  // what the refusal must name

    const QString sWine = QStringLiteral("/usr/bin/wine");
    QTest::newRow("newer game through wine") << true << "/g/Velk" << QStringList{"Velk.exe", "readme.txt"} << sWine
                                             << QStringList{sWine, "/g/Velk/Velk.exe", "-nosplash"} << QStringList{};
    QTest::newRow("older game through wine")
        << false << "/g/QF" << QStringList{"QonmarHoldout.exe", "Velk.exe"} << sWine
        << QStringList{sWine, "/g/QF/QonmarHoldout.exe", "-nosplash"} << QStringList{};
    QTest::newRow("executable spelled in another case")
        << true << "/g/Velk" << QStringList{"VELK.EXE"} << sWine << QStringList{sWine, "/g/Velk/VELK.EXE", "-nosplash"}
        << QStringList{};
    QTest::newRow("native build started directly, wine or not")
        << true << "/g/Velk" << QStringList{"Velk.exe", "Velk*"} << QString()
        << QStringList{"/g/Velk/Velk", "-nosplash"} << QStringList{};
    QTest::newRow("native build shipped with its architecture")
        << false << "/g/QF" << QStringList{"QonmarHoldout.x86_64*"} << sWine
        << QStringList{"/g/QF/QonmarHoldout.x86_64", "-nosplash"} << QStringList{};
    QTest::newRow("a file of that name we may not run is no native build")
        << true << "/g/Velk" << QStringList{"Velk", "Velk.exe"} << sWine
        << QStringList{sWine, "/g/Velk/Velk.exe", "-nosplash"} << QStringList{};
    QTest::newRow("the other game's native build does not count")
        << false << "/g/QF" << QStringList{"Velk*", "QonmarHoldout.exe"} << sWine
        << QStringList{sWine, "/g/QF/QonmarHoldout.exe", "-nosplash"} << QStringList{};
    QTest::newRow("Windows game without wine") << true << "/g/Velk" << QStringList{"Velk.exe"} << QString()
                                               << QStringList{} << QStringList{"Velk Vanguard", "wine", "PATH"};
    QTest::newRow("folder without the game") << false << "/g/QF" << QStringList{"Velk.exe"} << sWine << QStringList{}
                                             << QStringList{"QonmarHoldout.exe", "/g/QF", "QonmarHoldout.x86_64"};
    QTest::newRow("no folder") << true << QString() << QStringList{} << sWine << QStringList{}
                               << QStringList{"the prefix's own words"};
}

void TestGameLaunch::launchPlan()
{
    QFETCH(bool, velk);
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    QFETCH(QString, wine);
    QFETCH(QStringList, command);
    QFETCH(QStringList, message);
    QList<SFolderEntry> entries;
    for (QString sFile : files) {
        const bool bExecutable = sFile.endsWith(u'*');
        if (bExecutable)
            sFile.chop(1);
        entries.append({sFile, bExecutable});
    }
    const SInstallFolder install{folder, folder.isEmpty() ? QStringLiteral("the prefix's own words") : QString()};

    const SLaunchPlan plan = PlanLaunch(GameInfo(velk), install, entries, wine);
    if (command.isEmpty()) {
        QVERIFY(!plan.CanStart());
        for (const QString& sPart : message)
            QVERIFY2(plan.sMessage.contains(sPart), qPrintable(plan.sMessage));
        return;
    }
    QVERIFY2(plan.CanStart(), qPrintable(plan.sMessage));
    QCOMPARE(QStringList{plan.sProgram} + plan.args, command);
    QCOMPARE(plan.sWorkingDir, folder);
}

QTEST_GUILESS_MAIN(TestGameLaunch)
#include "tst_gamelaunch.moc"
