#include "core/app/inisettingsstore.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/recentfilelist.h"
#include "core/app/settings.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void emptyStoreGivesTheDefaults();
    void windowDefaultsFollowTheScreen_data();
    void windowDefaultsFollowTheScreen();
    void storedValuesWinOverDefaults();
    void tableAndBindingsAgree();
    void closeBatchWritesInItsOrder();
    void closeMaximisedLeavesWindowRectAlone();
    void closeWithNoDocumentStoresEmptyStartFile();
    void closeWritesAgainWhenUserCancelsLater();
    void iniRoundTripsPathNames_data();
    void iniRoundTripsPathNames();
    void iniDeleteRemovesOnlyThatValue();
    void iniReadsBackAfterReopen();
    void recentListKeepsNewestFirstWithinItsSize();
};

void TestSettings::emptyStoreGivesTheDefaults()
{
    CMemorySettingsStore store;
    const CAppSettings app = ReadAppSettings(store);
    QCOMPARE(app.m_nAllowMenus, 1);
    QCOMPARE(app.m_bFirstRun, 1);
    QCOMPARE(app.m_bAppMax, 0);
    QCOMPARE(app.m_bDocMax, 1);
    QCOMPARE(app.m_bVelk, 1);
    QCOMPARE(app.m_bAutoComplete, 1);
    QCOMPARE(app.m_bRegSQS + app.m_bRegEXT + app.m_bRegSQF + app.m_bRegCSV + app.m_bRegHTML + app.m_bRegTXT, 0);
    QVERIFY(app.m_sCurProject.isEmpty());

    const CFrameSettings frame = ReadFrameSettings(store, QSize(1920, 1080));
    QCOMPARE(frame.m_nWinWidth, 850);
    QCOMPARE(frame.m_nWinHeight, 600);
    QCOMPARE(frame.m_nBarWidth, 230);
    QCOMPARE(frame.m_sFont, QStringLiteral("Courier New"));
    QCOMPARE(frame.m_nFontSize, 10);
    QCOMPARE(frame.m_sAuthor, QStringLiteral("TODO: Author Name"));
    // Colours are stored red in the low byte.
    QCOMPARE(frame.m_crRem, 32768);
    QCOMPARE(frame.m_crCom, 255);
    QCOMPARE(frame.m_crWeap, 16711935);
    QCOMPARE(frame.m_crSys, 16711680);
    QCOMPARE(frame.m_crVar, 8421504);
    QCOMPARE(frame.m_crWindow, 16777215);
    QCOMPARE(frame.m_crText, 0);
    QCOMPARE(frame.m_bLineNumbers, 0);
    QCOMPARE(frame.m_bBoldFonts, 0);
}

void TestSettings::windowDefaultsFollowTheScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("full hd centres 850x600") << QSize(1920, 1080) << 535 << 240;
    QTest::newRow("odd sizes halve toward zero") << QSize(1367, 769) << 258 << 84;
    QTest::newRow("screen smaller than the window goes negative") << QSize(800, 480) << -25 << -60;
}

void TestSettings::windowDefaultsFollowTheScreen()
{
    QFETCH(QSize, screen);
    QFETCH(int, x);
    QFETCH(int, y);
    CMemorySettingsStore store;
    const CFrameSettings frame = ReadFrameSettings(store, screen);
    QCOMPARE(frame.m_nWinX, x);
    QCOMPARE(frame.m_nWinY, y);
}

void TestSettings::storedValuesWinOverDefaults()
{
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, QStringLiteral("Velk"), 0);
    store.WriteInt(kSettingsSection, QStringLiteral("WinX"), -3000);  // off every screen, used unchanged
    store.WriteString(kSettingsSection, QStringLiteral("Font"), QStringLiteral("DejaVu Sans Mono"));
    store.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op Nightfall"));
    QCOMPARE(ReadAppSettings(store).m_bVelk, 0);
    QCOMPARE(ReadAppSettings(store).m_sCurProject, QStringLiteral("Op Nightfall"));
    QCOMPARE(ReadFrameSettings(store, QSize(1024, 768)).m_nWinX, -3000);
    QCOMPARE(ReadFrameSettings(store, QSize(1024, 768)).m_sFont, QStringLiteral("DejaVu Sans Mono"));
}

void TestSettings::tableAndBindingsAgree()
{
    // Every setting the table names must reach a member: write a value unlike
    // its default to each one and expect every one to come back.
    CMemorySettingsStore store;
    int nValue = 7000;
    QHash<QString, QVariant> written;
    for (const SSettingInfo& info : SettingsTable()) {
        const QString sName = QLatin1String(info.pszName);
        if (info.eType == ESettingType::Int) {
            store.WriteInt(kSettingsSection, sName, ++nValue);
            written[sName] = nValue;
        } else {
            store.WriteString(kSettingsSection, sName, sName + QStringLiteral(" text"));
            written[sName] = sName + QStringLiteral(" text");
        }
    }
    store.ClearWriteLog();
    const CAppSettings app = ReadAppSettings(store);
    const CFrameSettings frame = ReadFrameSettings(store, QSize(1024, 768));
    CCloseState close;
    close.rcWindow = QRect(written.value("WinX").toInt(), written.value("WinY").toInt(),
                           written.value("WinWidth").toInt(), written.value("WinHeight").toInt());
    close.sStartFile = written.value("StartFile").toString();
    close.bDocMax = true;
    CMemorySettingsStore out;
    WriteSettingsOnClose(out, app, frame, close, {});
    for (const SSettingInfo& info : SettingsTable()) {
        const QString sName = QLatin1String(info.pszName);
        if (info.eWriter == ESettingWriter::Never) {
            QVERIFY2(!out.Contains(kSettingsSection, sName), qPrintable(sName));
            continue;
        }
        if (sName == QLatin1String("AppMax") || sName == QLatin1String("DocMax"))
            continue;  // taken from the window at close, not from the read value
        QVERIFY2(out.Contains(kSettingsSection, sName), qPrintable(sName));
        if (info.eType == ESettingType::Int)
            QCOMPARE(out.ReadInt(kSettingsSection, sName, -1), written.value(sName).toInt());
        else
            QCOMPARE(out.ReadString(kSettingsSection, sName, QString()), written.value(sName).toString());
    }
}

void TestSettings::closeBatchWritesInItsOrder()
{
    CMemorySettingsStore store;
    const CAppSettings app = ReadAppSettings(store);
    const CFrameSettings frame = ReadFrameSettings(store, QSize(1024, 768));
    CCloseState close;
    close.rcWindow = QRect(10, 20, 800, 500);
    QStringList order;
    WriteSettingsOnClose(store, app, frame, close, [&] {
        order = store.WriteLog();
        store.WriteString(QStringLiteral("Projects"), QStringLiteral("marker"), QString());
    });
    const QStringList expected = QStringList{
        "DlgX",      "DlgY",       "BarWidth",  "BarRight",     "AppMax",     "WinX",        "WinY",      "WinWidth",
        "WinHeight", "Velk",       "ShowExt",   "FirstRun",     "RegSQS",     "RegEXT",      "RegSQF",    "RegCSV",
        "RegHTML",   "RegTXT",     "ToolBar",   "CommandBar",   "ScriptsBar", "StatusBar",   "Format",    "AddHeader",
        "BoldFonts", "FontSize",   "FormatRem", "FormatCom",    "FormatWeap", "FormatSys",   "FormatVar", "LineNumbers",
        "AutoTabs",  "WhiteSpace", "WrapText",  "AutoComplete", "TextColor",  "WindowColor", "RemColor",  "ComColor",
        "WeapColor", "SysColor",   "VarColor",  "Font",         "Author",     "CurProject"};
    QStringList expectedKeys;
    for (const QString& sName : expected)
        expectedKeys.append(QStringLiteral("Settings/") + sName);
    QCOMPARE(order, expectedKeys);
    // The project data come between the settings and StartFile/DocMax.
    QCOMPARE(store.WriteLog().mid(order.size()),
             (QStringList{"Projects/marker", "Settings/StartFile", "Settings/DocMax"}));
}

void TestSettings::closeMaximisedLeavesWindowRectAlone()
{
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, QStringLiteral("WinX"), 111);
    store.WriteInt(kSettingsSection, QStringLiteral("WinWidth"), 901);
    CCloseState close;
    close.bMaximised = true;
    close.rcWindow = QRect(0, 0, 1920, 1080);
    WriteSettingsOnClose(store, ReadAppSettings(store), ReadFrameSettings(store, QSize(1920, 1080)), close, {});
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("AppMax"), -1), 1);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("WinX"), -1), 111);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("WinWidth"), -1), 901);
    QVERIFY(!store.Contains(kSettingsSection, QStringLiteral("WinY")));
}

void TestSettings::closeWithNoDocumentStoresEmptyStartFile()
{
    CMemorySettingsStore store;
    store.WriteString(kSettingsSection, QStringLiteral("StartFile"), QStringLiteral("/missions/old.sqs"));
    store.WriteInt(kSettingsSection, QStringLiteral("DocMax"), 0);
    CCloseState close;  // no active document
    WriteSettingsOnClose(store, ReadAppSettings(store), ReadFrameSettings(store, QSize(1024, 768)), close, {});
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("StartFile"), QStringLiteral("x")), QString());
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("DocMax"), -1), 1);
}

void TestSettings::closeWritesAgainWhenUserCancelsLater()
{
    // A changed in-memory value reaches the store only through the batch, and
    // the batch does not depend on what follows it.
    CMemorySettingsStore store;
    CFrameSettings frame = ReadFrameSettings(store, QSize(1024, 768));
    frame.m_sFont = QStringLiteral("Liberation Mono");
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("Font"), QStringLiteral("unset")),
             QStringLiteral("unset"));
    WriteSettingsOnClose(store, ReadAppSettings(store), frame, CCloseState{}, {});
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("Font"), QString()), QStringLiteral("Liberation Mono"));
}

void TestSettings::iniRoundTripsPathNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("absolute path with slashes") << QStringLiteral("/home/ana/missions/intro.sqs");
    QTest::newRow("spaces") << QStringLiteral("/home/ana/My Missions/a b.sqf");
    QTest::newRow("non-ascii") << QStringLiteral("/home/jürgen/Einsätze/brücke.sqs");
    QTest::newRow("backslashes and colon") << QStringLiteral("C:\\Games\\Qonmar\\mission.sqs");
    QTest::newRow("ini specials") << QStringLiteral("/tmp/a=b;c#d[e]%20f,g.sqs");
    QTest::newRow("percent sequences stay literal") << QStringLiteral("/tmp/%2F%25.sqs");
}

void TestSettings::iniRoundTripsPathNames()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    const QString sFile = dir.filePath(QStringLiteral("store.ini"));
    {
        CIniSettingsStore store(sFile);
        store.WriteString(kBookmarksSection, path, QStringLiteral("3,17,"));
        QVERIFY(store.Flush());
    }
    CIniSettingsStore reopened(sFile);
    QCOMPARE(reopened.ReadString(kBookmarksSection, path, QString()), QStringLiteral("3,17,"));
    // A similar path must not see it.
    QCOMPARE(reopened.ReadString(kBookmarksSection, path + QLatin1Char('x'), QStringLiteral("none")),
             QStringLiteral("none"));
}

void TestSettings::iniDeleteRemovesOnlyThatValue()
{
    QTemporaryDir dir;
    const QString sFile = dir.filePath(QStringLiteral("store.ini"));
    CIniSettingsStore store(sFile);
    store.WriteString(kBookmarksSection, QStringLiteral("/a/one.sqs"), QStringLiteral("1,"));
    store.WriteString(kBookmarksSection, QStringLiteral("/a/two.sqs"), QStringLiteral("2,"));
    store.DeleteValue(kBookmarksSection, QStringLiteral("/a/one.sqs"));
    QVERIFY(store.Flush());
    CIniSettingsStore reopened(sFile);
    QCOMPARE(reopened.ReadString(kBookmarksSection, QStringLiteral("/a/one.sqs"), QStringLiteral("gone")),
             QStringLiteral("gone"));
    QCOMPARE(reopened.ReadString(kBookmarksSection, QStringLiteral("/a/two.sqs"), QString()), QStringLiteral("2,"));
}

void TestSettings::iniReadsBackAfterReopen()
{
    QTemporaryDir dir;
    const QString sFile = dir.filePath(QStringLiteral("store.ini"));
    {
        CIniSettingsStore store(sFile);
        store.WriteInt(kSettingsSection, QStringLiteral("FontSize"), 14);
        store.WriteInt(kSettingsSection, QStringLiteral("WinX"), -12);
        store.WriteString(kSettingsSection, QStringLiteral("Author"), QStringLiteral("Sgt. Brandt, 3rd \"Wolves\""));
        QVERIFY(store.Flush());
    }
    CIniSettingsStore store(sFile);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("FontSize"), 0), 14);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("WinX"), 0), -12);
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("Author"), QString()),
             QStringLiteral("Sgt. Brandt, 3rd \"Wolves\""));
    // A string where a number is expected falls back to the default rather than 0.
    store.WriteString(kSettingsSection, QStringLiteral("FontSize"), QStringLiteral("big"));
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("FontSize"), 10), 10);
}

void TestSettings::recentListKeepsNewestFirstWithinItsSize()
{
    CMemorySettingsStore store;
    {
        CRecentFileList list(store, 4);
        for (const char* psz : {"/m/a.sqs", "/m/b.sqs", "/m/c.sqs", "/m/d.sqs", "/m/e.sqs", "/m/b.sqs"})
            list.Add(QLatin1String(psz));
        QCOMPARE(list.Count(), 4);
        QCOMPARE(list.GetAt(0), QStringLiteral("/m/b.sqs"));
        QCOMPARE(list.GetAt(1), QStringLiteral("/m/e.sqs"));
        QCOMPARE(list.GetAt(3), QStringLiteral("/m/c.sqs"));
        QCOMPARE(list.GetAt(4), QString());
        QCOMPARE(list.GetAt(-1), QString());
        list.Remove(1);
    }
    CRecentFileList reread(store, 4);
    reread.Read();
    QCOMPARE(reread.Count(), 3);
    QCOMPARE(reread.GetAt(1), QStringLiteral("/m/d.sqs"));
    // A shorter list after AllowMenus changed reads only its own entries.
    CRecentFileList shorter(store, 2);
    shorter.Read();
    QCOMPARE(shorter.Count(), 2);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
