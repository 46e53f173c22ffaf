#include "core/app/inisettingsstore.h"
#include "core/app/memorysettingsstore.h"
#include "core/app/recentfilelist.h"
#include "core/app/settings.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Which member holds which setting, read straight off the members: the
// oracle the table's bindings are checked against.
QVariantMap Members(const CSettings& s)
{
    return {
        {"AllowMenus", s.m_nAllowMenus},
        {"FirstRun", s.m_bFirstRun},
        {"AppMax", s.m_bAppMax},
        {"DocMax", s.m_bDocMax},
        {"Velk", s.m_bVelk},
        {"ShowExt", s.m_bShowExt},
        {"ShowHtml", s.m_bShowHtml},
        {"RegSQS", s.m_bRegSQS},
        {"RegEXT", s.m_bRegEXT},
        {"RegSQF", s.m_bRegSQF},
        {"RegCSV", s.m_bRegCSV},
        {"RegHTML", s.m_bRegHTML},
        {"RegTXT", s.m_bRegTXT},
        {"AutoComplete", s.m_bAutoComplete},
        {"CurProject", s.m_sCurProject},
        {"StartFile", s.m_sStartFile},
        {"WinX", s.m_nWinX},
        {"WinY", s.m_nWinY},
        {"WinWidth", s.m_nWinWidth},
        {"WinHeight", s.m_nWinHeight},
        {"DlgX", s.m_nDlgX},
        {"DlgY", s.m_nDlgY},
        {"BarWidth", s.m_nBarWidth},
        {"BarRight", s.m_bBarRight},
        {"ToolBar", s.m_bToolBar},
        {"CommandBar", s.m_bCommandBar},
        {"ScriptsBar", s.m_bScriptsBar},
        {"StatusBar", s.m_bStatusBar},
        {"Format", s.m_bFormat},
        {"AddHeader", s.m_bAddHeader},
        {"BoldFonts", s.m_bBoldFonts},
        {"FormatRem", s.m_bFormatRem},
        {"FormatCom", s.m_bFormatCom},
        {"FormatWeap", s.m_bFormatWeap},
        {"FormatSys", s.m_bFormatSys},
        {"FormatVar", s.m_bFormatVar},
        {"LineNumbers", s.m_bLineNumbers},
        {"AutoTabs", s.m_bAutoTabs},
        {"WhiteSpace", s.m_bWhiteSpace},
        {"WrapText", s.m_bWrapText},
        {"FontSize", s.m_nFontSize},
        {"TextColor", s.m_crText},
        {"RemColor", s.m_crRem},
        {"ComColor", s.m_crCom},
        {"WeapColor", s.m_crWeap},
        {"SysColor", s.m_crSys},
        {"VarColor", s.m_crVar},
        {"WindowColor", s.m_crWindow},
        {"Font", s.m_sFont},
        {"Author", s.m_sAuthor},
    };
}

// A store holding a value unlike any default for every setting, each one
// different from all the others.
QVariantMap WriteDistinctValues(ISettingsStore& store)
{
    QVariantMap written;
    int nValue = 7000;
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
    return written;
}

}  // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void emptyStoreGivesTheDefaults();
    void windowDefaultsFollowTheScreen_data();
    void windowDefaultsFollowTheScreen();
    void storedValuesWinOverDefaults();
    void everyMemberHasOneRow();
    void eachRowReadsItsOwnMember_data();
    void eachRowReadsItsOwnMember();
    void eachRowWritesItsOwnMember();
    void tableAndBindingsAgree();
    void closeBatchWritesInItsOrder();
    void closeMaximisedLeavesWindowRectAlone();
    void closeWithNoDocumentStoresEmptyStartFile();
    void closeWritesAgainWhenUserCancelsLater();
    void notifyChangedTellsListenersOnce();
    void iniRoundTripsPathNames_data();
    void iniRoundTripsPathNames();
    void iniDeleteRemovesOnlyThatValue();
    void iniReadsBackAfterReopen();
    void recentListKeepsNewestFirstWithinItsSize();
};

void TestSettings::emptyStoreGivesTheDefaults()
{
    CMemorySettingsStore store;
    CSettings settings;
    // Before any read the object already holds the table's defaults, never
    // garbage, whatever reaches it first.
    CSettings empty;
    empty.Read(store, QSize(0, 0));
    QCOMPARE(Members(settings), Members(empty));

    settings.Read(store, QSize(1920, 1080));
    QCOMPARE(settings.m_nAllowMenus, 1);
    QCOMPARE(settings.m_bFirstRun, 1);
    QCOMPARE(settings.m_bAppMax, 0);
    QCOMPARE(settings.m_bDocMax, 1);
    QCOMPARE(settings.m_bVelk, 1);
    QCOMPARE(settings.m_bAutoComplete, 1);
    QCOMPARE(settings.m_bRegSQS + settings.m_bRegEXT + settings.m_bRegSQF + settings.m_bRegCSV + settings.m_bRegHTML
                 + settings.m_bRegTXT,
             0);
    QVERIFY(settings.m_sCurProject.isEmpty());

    QCOMPARE(settings.m_nWinWidth, 850);
    QCOMPARE(settings.m_nWinHeight, 600);
    QCOMPARE(settings.m_nBarWidth, 230);
    QCOMPARE(settings.m_sFont, QStringLiteral("Courier New"));
    QCOMPARE(settings.m_nFontSize, 10);
    QCOMPARE(settings.m_sAuthor, QStringLiteral("TODO: Author Name"));
    // Colours are stored red in the low byte.
    QCOMPARE(settings.m_crRem, 32768);
    QCOMPARE(settings.m_crCom, 255);
    QCOMPARE(settings.m_crWeap, 16711935);
    QCOMPARE(settings.m_crSys, 16711680);
    QCOMPARE(settings.m_crVar, 8421504);
    QCOMPARE(settings.m_crWindow, 16777215);
    QCOMPARE(settings.m_crText, 0);
    QCOMPARE(settings.m_bLineNumbers, 0);
    QCOMPARE(settings.m_bBoldFonts, 0);
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
    CSettings settings;
    settings.Read(store, screen);
    QCOMPARE(settings.m_nWinX, x);
    QCOMPARE(settings.m_nWinY, y);
}

void TestSettings::storedValuesWinOverDefaults()
{
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, QStringLiteral("Velk"), 0);
    store.WriteInt(kSettingsSection, QStringLiteral("WinX"), -3000);  // off every screen, used unchanged
    store.WriteString(kSettingsSection, QStringLiteral("Font"), QStringLiteral("DejaVu Sans Mono"));
    store.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op Nightfall"));
    CSettings settings;
    settings.Read(store, QSize(1024, 768));
    QCOMPARE(settings.m_bVelk, 0);
    QCOMPARE(settings.m_sCurProject, QStringLiteral("Op Nightfall"));
    QCOMPARE(settings.m_nWinX, -3000);
    QCOMPARE(settings.m_sFont, QStringLiteral("DejaVu Sans Mono"));
}

void TestSettings::everyMemberHasOneRow()
{
    QStringList tableNames;
    for (const SSettingInfo& info : SettingsTable())
        tableNames.append(QLatin1String(info.pszName));
    tableNames.sort();
    QCOMPARE(tableNames, Members(CSettings()).keys());
}

void TestSettings::eachRowReadsItsOwnMember_data()
{
    QTest::addColumn<QString>("name");
    for (const SSettingInfo& info : SettingsTable())
        QTest::newRow(info.pszName) << QString(QLatin1String(info.pszName));
}

void TestSettings::eachRowReadsItsOwnMember()
{
    // A value stored for this setting alone must change its member and no
    // other: a row bound to a neighbour's member, or two rows sharing one,
    // move the wrong entry or none.
    QFETCH(QString, name);
    const SSettingInfo& info = *FindSetting(name);
    QVERIFY2((info.eType == ESettingType::Int) == (info.pnMember != nullptr), "int binding");
    QVERIFY2((info.eType == ESettingType::String) == (info.psMember != nullptr), "string binding");
    const QSize screen(1280, 1024);
    CMemorySettingsStore empty;
    CSettings defaults;
    defaults.Read(empty, screen);

    CMemorySettingsStore store;
    QVariant stored;
    if (info.eType == ESettingType::Int) {
        stored = DefaultInt(info, screen) + 4321;
        store.WriteInt(kSettingsSection, name, stored.toInt());
    } else {
        stored = QStringLiteral("stored ") + name;
        store.WriteString(kSettingsSection, name, stored.toString());
    }
    CSettings settings;
    settings.Read(store, screen);

    const QVariantMap before = Members(defaults);
    const QVariantMap after = Members(settings);
    QStringList changed;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (it.value() != before.value(it.key()))
            changed.append(it.key());
    QCOMPARE(changed, QStringList{name});
    QCOMPARE(after.value(name), stored);
}

void TestSettings::eachRowWritesItsOwnMember()
{
    // Every member holds a value of its own; each setting the batch takes
    // from the members must be stored with exactly its member's value.
    CMemorySettingsStore source;
    WriteDistinctValues(source);
    CSettings settings;
    settings.Read(source, QSize(1024, 768));
    const QVariantMap members = Members(settings);
    QStringList values;
    for (const QVariant& value : members)
        values.append(value.toString());
    values.removeDuplicates();
    QCOMPARE(values.size(), members.size());

    CMemorySettingsStore out;
    settings.WriteOnClose(out, CCloseState{}, {});
    for (const SSettingInfo& info : SettingsTable()) {
        const QString sName = QLatin1String(info.pszName);
        if (info.eClose != ECloseBatch::BeforeWindow && info.eClose != ECloseBatch::AfterWindow)
            continue;
        const QVariant stored = info.eType == ESettingType::Int
            ? QVariant(out.ReadInt(kSettingsSection, sName, -1))
            : QVariant(out.ReadString(kSettingsSection, sName, QString()));
        QCOMPARE(stored, members.value(sName));
    }
}

void TestSettings::tableAndBindingsAgree()
{
    // Every setting the table names must reach a member: write a value unlike
    // its default to each one and expect every one to come back.
    CMemorySettingsStore store;
    const QVariantMap written = WriteDistinctValues(store);
    store.ClearWriteLog();
    CSettings settings;
    settings.Read(store, QSize(1024, 768));
    CCloseState close;
    close.rcWindow = QRect(written.value("WinX").toInt(), written.value("WinY").toInt(),
                           written.value("WinWidth").toInt(), written.value("WinHeight").toInt());
    close.sStartFile = written.value("StartFile").toString();
    close.bDocMax = true;
    CMemorySettingsStore out;
    settings.WriteOnClose(out, close, {});
    for (const SSettingInfo& info : SettingsTable()) {
        const QString sName = QLatin1String(info.pszName);
        if (info.eClose == ECloseBatch::Never) {
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
    // What was written reads back whole into a fresh object; the settings
    // never written come back as their defaults.
    CSettings reread;
    reread.Read(out, QSize(1024, 768));
    QVariantMap expected = Members(settings);
    const QVariantMap defaults = Members(CSettings());
    for (const SSettingInfo& info : SettingsTable())
        if (info.eClose == ECloseBatch::Never)
            expected[QLatin1String(info.pszName)] = defaults.value(QLatin1String(info.pszName));
    expected["AppMax"] = 0;
    expected["DocMax"] = 1;
    QCOMPARE(Members(reread), expected);
}

void TestSettings::closeBatchWritesInItsOrder()
{
    CMemorySettingsStore store;
    CSettings settings;
    settings.Read(store, QSize(1024, 768));
    CCloseState close;
    close.rcWindow = QRect(10, 20, 800, 500);
    QStringList order;
    settings.WriteOnClose(store, close, [&] {
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
    CSettings settings;
    settings.Read(store, QSize(1920, 1080));
    settings.WriteOnClose(store, close, {});
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
    CSettings settings;
    settings.Read(store, QSize(1024, 768));
    settings.WriteOnClose(store, close, {});
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("StartFile"), QStringLiteral("x")), QString());
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("DocMax"), -1), 1);
}

void TestSettings::closeWritesAgainWhenUserCancelsLater()
{
    // A changed in-memory value reaches the store only through the batch, and
    // the batch does not depend on what follows it.
    CMemorySettingsStore store;
    CSettings settings;
    settings.Read(store, QSize(1024, 768));
    settings.m_sFont = QStringLiteral("Liberation Mono");
    settings.NotifyChanged();
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("Font"), QStringLiteral("unset")),
             QStringLiteral("unset"));
    settings.WriteOnClose(store, CCloseState{}, {});
    QCOMPARE(store.ReadString(kSettingsSection, QStringLiteral("Font"), QString()), QStringLiteral("Liberation Mono"));
}

void TestSettings::notifyChangedTellsListenersOnce()
{
    CSettings settings;
    QSignalSpy spy(&settings, &CSettings::Changed);
    settings.m_nFontSize = 14;
    QCOMPARE(spy.count(), 0);  // members are plain; only the notice tells
    settings.NotifyChanged();
    QCOMPARE(spy.count(), 1);
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
