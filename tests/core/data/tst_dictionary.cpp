#include "core/app/datapaths.h"
#include "core/app/prompter.h"
#include "core/data/dictionary.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Answers every box with OK and remembers what it was asked to show.
class CFakePrompter : public IPrompter
{
public:
    struct SMessage
    {
        QString sText;
        EButtons eButtons;
    };
    QList<SMessage> m_messages;

    EAnswer Ask(const QString& sText, const QString&, EButtons eButtons, EIcon) override
    {
        m_messages.append({sText, eButtons});
        return EAnswer::Ok;
    }
    QString GetOpenFileName(const QString&, const QString&) override { return QString(); }
};

// One line per non-empty list or weapon record, so a row's expectation reads
// like the file it came from and shows every list that must stay empty.
QStringList Dump(const CDictionary& dict)
{
    QStringList dump;
    auto list = [&dump](const char* pszName, const QStringList& ar) {
        if (!ar.isEmpty())
            dump.append(QLatin1String(pszName) + QStringLiteral(": ") + ar.join(u'|'));
    };
    auto table = [&dump](const char* pszName, const CWeaponTable& records) {
        for (int i = 0; i < kWeaponRecords; ++i)
            if (!records[i].sName.isEmpty() || !records[i].arAmmo.isEmpty())
                dump.append(QStringLiteral("%1 %2: %3 <%4>")
                                .arg(QLatin1String(pszName))
                                .arg(i)
                                .arg(records[i].sName, records[i].arAmmo.join(u'|')));
    };
    list("commands", dict.m_arCommands);
    list("infWeapons", dict.m_arInfWeapons);
    list("infMagazines", dict.m_arInfMagazines);
    list("vehWeapons", dict.m_arVehWeapons);
    list("vehMagazines", dict.m_arVehMagazines);
    list("vehicles", dict.m_arVehicles);
    list("equipment", dict.m_arEquipment);
    table("inf", dict.m_InfWeaponMags);
    table("veh", dict.m_VehWeaponMags);
    list("unit", dict.m_arUnitData);
    list("autoComplete", dict.m_arAutoComplete);
    return dump;
}

QStringList DumpHeaders(const CDictionary& dict)
{
    QStringList dump;
    const std::pair<const char*, const QString*> texts[] = {
        {"script", &dict.m_sHeaderScript},     {"init", &dict.m_sHeaderInit},
        {"function", &dict.m_sHeaderFunction}, {"description", &dict.m_sHeaderDescription},
        {"html", &dict.m_sHeaderHtml},         {"stringTable", &dict.m_sHeaderStringTable},
        {"text", &dict.m_sHeaderText},
    };
    for (const auto& [pszName, pText] : texts)
        if (!pText->isEmpty())
            dump.append(QLatin1String(pszName) + QStringLiteral(": ") + *pText);
    return dump;
}

bool WriteFile(const QString& sPath, const QByteArray& bytes)
{
    QFile file(sPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray RandomBytes(QRandomGenerator& rng, qsizetype nSize)
{
    QByteArray bytes(nSize, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(rng.bounded(256));
    return bytes;
}

// Headers of both games, blank and indented lines, and junk, so that sections
// open, close and repeat at random.
QByteArray RandomSectionSoup(QRandomGenerator& rng)
{
    const QByteArrayList pieces{"[COMMANDS]",
                                "[INFANTRY WEAPONS VELK]",
                                "[INFANTRY WEAPONS QON]",
                                "[VEHICLE/STATIC WEAPONS VELK]",
                                "[INFANTRY MAGAZINES VELK]",
                                "[VEHICLES VELK]",
                                "[EQUIPMENT VELK]",
                                "[SCRIPT]",
                                "[INIT]",
                                "[TEXT]",
                                "",
                                "",
                                " Mag",
                                "  ",
                                "\tx",
                                "M4",
                                "[BLANK LINE]"};
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i) {
        if (rng.bounded(4) == 0)
            bytes += RandomBytes(rng, rng.bounded(12)).replace('\n', 'n');
        else
            bytes += pieces[rng.bounded(int(pieces.size()))];
        bytes += rng.bounded(2) ? "\r\n" : "\n";
    }
    return bytes;
}

const QString kLoadErrorStart = QStringLiteral("There were some errors while loading the data files.\n"
                                               "The application is not going to function properly.\n"
                                               "Please reinstall the application or undo your latest\n"
                                               "data file changes to repair.\n\n"
                                               "Download the latest version at:\n");

const QByteArray kCommandsDat = "[COMMANDS]\r\nabs\r\n\r\n"
                                "[INFANTRY WEAPONS VELK]\r\nM4\r\n Mag30\r\n\r\n"
                                "[INFANTRY WEAPONS QON]\r\nM16\r\n Mag30_M16\r\nAK74\r\n";
const QByteArray kUnitDat = "a\r\n\r\nb\r\n";
const QByteArray kHeaderDat = "[SCRIPT]\r\n; s\r\n";

}  // namespace

class TestDictionary : public QObject
{
    Q_OBJECT

private slots:
    void readCommands_data();
    void readCommands();
    void readHeaders_data();
    void readHeaders();
    void surplusWeaponsKeepOnlyTheirNames();
    void loadDataFiles_data();
    void loadDataFiles();
    void loadForOtherGameReplacesEverything();
    void reloadFailureShowsOneMessage();
    void reloadSuccessShowsNothing();
    void badInputLoads_data();
    void badInputLoads();
    void longLinesKeptWhole();
    void shippedDataFiles_data();
    void shippedDataFiles();
    void autoCompleteKeepsFirstSpelling();
    void autoCompleteOff();
    void getWeaponAmmo_data();
    void getWeaponAmmo();
};

void TestDictionary::readCommands_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QStringList>("dump");

    const QString inf = QStringLiteral("[INFANTRY WEAPONS VELK]");
    QTest::newRow("weapons followed by indented magazines")
        << QStringList{inf, "M4", " Mag30", " Mag100", "AK", ""} << true
        << QStringList{"infWeapons: M4|AK", "inf 0: M4 <Mag30|Mag100>", "inf 1: AK <>"};
    QTest::newRow("other game's sections ignored") << QStringList{inf,
                                                                  "M4",
                                                                  " Mag30",
                                                                  "",
                                                                  "[INFANTRY MAGAZINES VELK]",
                                                                  "Mag30",
                                                                  "",
                                                                  "[VEHICLE/STATIC WEAPONS VELK]",
                                                                  "M256",
                                                                  " Sabot",
                                                                  "",
                                                                  "[VEHICLE/STATIC MAGAZINES VELK]",
                                                                  "Sabot",
                                                                  "",
                                                                  "[VEHICLES VELK]",
                                                                  "M1A1",
                                                                  "",
                                                                  "[EQUIPMENT VELK]",
                                                                  "NVGoggles",
                                                                  ""}
                                                   << false << QStringList{};
    QTest::newRow("commands serve both games") << QStringList{"[COMMANDS]", "abs", "", "[VEHICLES QON]", "T55"} << false
                                               << QStringList{"commands: abs", "vehicles: T55"};
    QTest::newRow("each header fills its own list")
        << QStringList{"[COMMANDS]",
                       "abs",
                       "",
                       inf,
                       "M4",
                       " Mag30",
                       "",
                       "[INFANTRY MAGAZINES VELK]",
                       "Mag100",
                       "",
                       "[VEHICLE/STATIC WEAPONS VELK]",
                       "M256",
                       " Sabot",
                       "",
                       "[VEHICLE/STATIC MAGAZINES VELK]",
                       "Heat",
                       "",
                       "[VEHICLES VELK]",
                       "M1A1",
                       "",
                       "[EQUIPMENT VELK]",
                       "NVGoggles"}
        << true << QStringList{"commands: abs",        "infWeapons: M4",     "infMagazines: Mag100",
                               "vehWeapons: M256",     "vehMagazines: Heat", "vehicles: M1A1",
                               "equipment: NVGoggles", "inf 0: M4 <Mag30>",  "veh 0: M256 <Sabot>"};
    QTest::newRow("header directly after entries is an entry")
        << QStringList{"[COMMANDS]", "abs", "[VEHICLES VELK]", "M1A1", ""} << true
        << QStringList{"commands: abs|[VEHICLES VELK]|M1A1"};
    QTest::newRow("header with trailing space not recognised")
        << QStringList{"[VEHICLES VELK] ", "M1A1", ""} << true << QStringList{};
    QTest::newRow("header with leading space not recognised")
        << QStringList{" [COMMANDS]", "abs"} << true << QStringList{};
    QTest::newRow("header case matters") << QStringList{"[Commands]", "abs"} << true << QStringList{};
    QTest::newRow("section ends at the empty line")
        << QStringList{"[COMMANDS]", "abs", "", "acos"} << true << QStringList{"commands: abs"};
    QTest::newRow("last section needs no empty line")
        << QStringList{"[EQUIPMENT VELK]", "Binocular"} << true << QStringList{"equipment: Binocular"};
    QTest::newRow("notes between sections ignored")
        << QStringList{"// note", "[COMMANDS]",       "abs",      "", "// more", "[COMMANDS] x", "acos",
                       "",        "[EQUIPMENT VELK]", "NVGoggles"}
        << true << QStringList{"commands: abs", "equipment: NVGoggles"};
    QTest::newRow("empty section then the next header")
        << QStringList{"[COMMANDS]", "", "[EQUIPMENT VELK]", "NVGoggles"} << true
        << QStringList{"equipment: NVGoggles"};
    QTest::newRow("entries kept unchanged")
        << QStringList{"[COMMANDS]", " abs ", "\tacos", "  "} << true << QStringList{"commands:  abs |\tacos|  "};
    QTest::newRow("magazine section keeps indented lines as they are")
        << QStringList{"[INFANTRY MAGAZINES VELK]", " Mag30"} << true << QStringList{"infMagazines:  Mag30"};
    QTest::newRow("tab does not start a magazine")
        << QStringList{inf, "M4", "\tMag30"} << true
        << QStringList{"infWeapons: M4|\tMag30", "inf 0: M4 <>", "inf 1: \tMag30 <>"};
    QTest::newRow("all leading spaces removed, trailing kept")
        << QStringList{inf, "M4", "   Mag30 "} << true << QStringList{"infWeapons: M4", "inf 0: M4 <Mag30 >"};
    QTest::newRow("magazine before the first weapon ignored")
        << QStringList{inf, " Stray", "M4", " Mag30"} << true << QStringList{"infWeapons: M4", "inf 0: M4 <Mag30>"};
    QTest::newRow("repeated weapon header restarts the records")
        << QStringList{inf, "M4", " Mag30", "AK", " MagAK", "", inf, "G36", " MagG36", ""} << true
        << QStringList{"infWeapons: M4|AK|G36", "inf 0: G36 <Mag30|MagG36>", "inf 1: AK <MagAK>"};
    QTest::newRow("repeated weapon header drops a magazine before its first weapon")
        << QStringList{inf, "M4", "AK", "", inf, " Stray", ""} << true
        << QStringList{"infWeapons: M4|AK", "inf 0: M4 <>", "inf 1: AK <>"};
    QTest::newRow("repeated list header appends")
        << QStringList{"[COMMANDS]", "abs", "", "[COMMANDS]", "acos"} << true << QStringList{"commands: abs|acos"};
}

void TestDictionary::readCommands()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, velk);
    QFETCH(QStringList, dump);
    CDictionary dict;
    dict.ReadCommands(lines, velk);
    QCOMPARE(Dump(dict), dump);
}

void TestDictionary::readHeaders_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("dump");

    QTest::newRow("comment line and blank line token") << QStringList{"[SCRIPT]", "; comment", "[BLANK LINE]", ""}
                                                       << QStringList{"script: ; comment\r\n[BLANK LINE]\r\n"};
    QTest::newRow("each header fills its own text")
        << QStringList{"[TEXT]",     "t", "", "[STRING TABLE]", "st", "", "[HTML]",   "h", "", "[DESCRIPTION]", "d", "",
                       "[FUNCTION]", "f", "", "[INIT]",         "i",  "", "[SCRIPT]", "s"}
        << QStringList{"script: s\r\n", "init: i\r\n",         "function: f\r\n", "description: d\r\n",
                       "html: h\r\n",   "stringTable: st\r\n", "text: t\r\n"};
    QTest::newRow("tokens kept for insertion") << QStringList{"[TEXT]", "By [AUTHOR STRING] for [GAME STRING]"}
                                               << QStringList{"text: By [AUTHOR STRING] for [GAME STRING]\r\n"};
    QTest::newRow("section ends at the empty line")
        << QStringList{"[HTML]", "<html>", "", "<body>"} << QStringList{"html: <html>\r\n"};
    QTest::newRow("no game suffix") << QStringList{"[SCRIPT VELK]", "x"} << QStringList{};
    QTest::newRow("header with trailing space not recognised") << QStringList{"[INIT] ", "x"} << QStringList{};
    QTest::newRow("repeated header appends")
        << QStringList{"[INIT]", "a", "", "[INIT]", "b"} << QStringList{"init: a\r\nb\r\n"};
    QTest::newRow("dictionary headers mean nothing here") << QStringList{"[COMMANDS]", "abs"} << QStringList{};
}

void TestDictionary::readHeaders()
{
    QFETCH(QStringList, lines);
    QFETCH(QStringList, dump);
    CDictionary dict;
    dict.ReadHeaders(lines);
    QCOMPARE(DumpHeaders(dict), dump);
    QVERIFY(Dump(dict).isEmpty());
}

void TestDictionary::surplusWeaponsKeepOnlyTheirNames()
{
    const int nWeapons = kWeaponRecords + 2;
    QStringList lines{"[INFANTRY WEAPONS VELK]"};
    for (int i = 0; i < nWeapons; ++i)
        lines << QStringLiteral("W%1").arg(i) << QStringLiteral(" Mag%1").arg(i);
    lines << ""
          << "[VEHICLE/STATIC WEAPONS VELK]"
          << "M256"
          << " Sabot";
    CDictionary dict;
    dict.ReadCommands(lines, true);

    QCOMPARE(dict.m_arInfWeapons.size(), nWeapons);
    QCOMPARE(dict.m_arInfWeapons.last(), QStringLiteral("W%1").arg(nWeapons - 1));
    for (int i = 0; i < kWeaponRecords; ++i) {
        QCOMPARE(dict.m_InfWeaponMags[i].sName, QStringLiteral("W%1").arg(i));
        // The surplus weapons' magazines must not pile onto the last record.
        QCOMPARE(QStringList(dict.m_InfWeaponMags[i].arAmmo), QStringList{QStringLiteral("Mag%1").arg(i)});
    }
    QCOMPARE(dict.m_VehWeaponMags[0].sName, QStringLiteral("M256"));
    QCOMPARE(QStringList(dict.m_VehWeaponMags[0].arAmmo), QStringList{"Sabot"});
    QVERIFY(dict.m_VehWeaponMags[1].sName.isEmpty() && dict.m_VehWeaponMags[1].arAmmo.isEmpty());
    QCOMPARE(dict.GetWeaponAmmo(QStringLiteral("W%1").arg(nWeapons - 1)), QString());
}

void TestDictionary::loadDataFiles_data()
{
    QTest::addColumn<bool>("commandsDat");
    QTest::addColumn<bool>("unitDat");
    QTest::addColumn<bool>("headerDat");
    QTest::addColumn<QStringList>("dump");
    QTest::addColumn<QString>("script");

    const QStringList commands{"commands: abs", "infWeapons: M4", "inf 0: M4 <Mag30>"};
    QTest::newRow("all three read") << true << true << true << (commands + QStringList{"unit: a||b"})
                                    << QStringLiteral("; s\r\n");
    QTest::newRow("missing commands.dat reads nothing") << false << true << true << QStringList{} << QString();
    QTest::newRow("missing unit.dat stops before header.dat") << true << false << true << commands << QString();
    QTest::newRow("missing header.dat keeps the rest")
        << true << true << false << (commands + QStringList{"unit: a||b"}) << QString();
}

void TestDictionary::loadDataFiles()
{
    QFETCH(bool, commandsDat);
    QFETCH(bool, unitDat);
    QFETCH(bool, headerDat);
    QFETCH(QStringList, dump);
    QFETCH(QString, script);

    // Something of everything from an earlier load, so that a list left
    // uncleared shows up in the dump.
    QTemporaryDir before;
    QVERIFY(before.isValid());
    QVERIFY(WriteFile(before.filePath("commands.dat"),
                      "[COMMANDS]\nold\n\n[INFANTRY WEAPONS VELK]\nOld1\n Old1Mag\nOld2\n Old2Mag\n\n"
                      "[VEHICLE/STATIC WEAPONS VELK]\nOldV\n OldVMag\n"));
    QVERIFY(WriteFile(before.filePath("unit.dat"), "old unit\n"));
    QVERIFY(WriteFile(before.filePath("header.dat"), "[SCRIPT]\nold\n\n[TEXT]\nold\n"));
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(CDataPaths::FromAppPath(before.path()), true));
    dict.BuildAutoComplete(true);
    QVERIFY(!dict.m_arAutoComplete.isEmpty());

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(!commandsDat || WriteFile(dir.filePath("commands.dat"), kCommandsDat));
    QVERIFY(!unitDat || WriteFile(dir.filePath("unit.dat"), kUnitDat));
    QVERIFY(!headerDat || WriteFile(dir.filePath("header.dat"), kHeaderDat));
    QCOMPARE(dict.LoadDataFiles(CDataPaths::FromAppPath(dir.path()), true), commandsDat && unitDat && headerDat);
    QCOMPARE(Dump(dict), dump);
    // The colourer asks the index, not the lists; it must forget the old words too.
    QCOMPARE(dict.Index().ListsOf(QStringLiteral("OLD")), quint8(0));
    QCOMPARE(dict.Index().Contains(EWordList::Commands, QStringLiteral("ABS")), commandsDat);
    QCOMPARE(DumpHeaders(dict), script.isEmpty() ? QStringList{} : QStringList{"script: " + script});
}

void TestDictionary::loadForOtherGameReplacesEverything()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath("commands.dat"), kCommandsDat));
    QVERIFY(WriteFile(dir.filePath("unit.dat"), kUnitDat));
    QVERIFY(WriteFile(dir.filePath("header.dat"), kHeaderDat));
    const CDataPaths paths = CDataPaths::FromAppPath(dir.path());
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(paths, true));
    QVERIFY(dict.LoadDataFiles(paths, false));
    QCOMPARE(Dump(dict),
             (QStringList{"commands: abs", "infWeapons: M16|AK74", "inf 0: M16 <Mag30_M16>", "inf 1: AK74 <>",
                          "unit: a||b"}));
    QCOMPARE(DumpHeaders(dict), QStringList{"script: ; s\r\n"});
}

void TestDictionary::reloadFailureShowsOneMessage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath("commands.dat"), kCommandsDat));
    QVERIFY(WriteFile(dir.filePath("unit.dat"), kUnitDat));
    CDictionary dict;
    CFakePrompter prompter;
    QVERIFY(!dict.ReloadDataFiles(CDataPaths::FromAppPath(dir.path()), true, prompter));
    QCOMPARE(prompter.m_messages.size(), 1);
    const CFakePrompter::SMessage& message = prompter.m_messages.first();
    QCOMPARE(message.eButtons, IPrompter::EButtons::Ok);
    QVERIFY2(message.sText.startsWith(kLoadErrorStart), qPrintable(message.sText));
    const QString sAddress = message.sText.mid(kLoadErrorStart.size());
    QVERIFY2(sAddress.startsWith(QStringLiteral("http")) && !sAddress.contains(u'\n'), qPrintable(sAddress));
}

void TestDictionary::reloadSuccessShowsNothing()
{
    CDictionary dict;
    CFakePrompter prompter;
    QVERIFY(dict.ReloadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), true, prompter));
    QVERIFY(prompter.m_messages.isEmpty());
}

void TestDictionary::badInputLoads_data()
{
    QTest::addColumn<QByteArray>("commandsDat");
    QTest::addColumn<QByteArray>("headerDat");

    QRandomGenerator rng(4242);
    const qsizetype nMegabyte = 1 << 20;
    QTest::newRow("megabyte of random bytes as commands.dat") << RandomBytes(rng, nMegabyte) << kHeaderDat;
    QTest::newRow("megabyte of random bytes as header.dat") << kCommandsDat << RandomBytes(rng, nMegabyte);
    QTest::newRow("only NULs") << QByteArray(4096, '\0') << QByteArray(4096, '\0');
    const QByteArray soup = RandomSectionSoup(rng);
    QTest::newRow("random mix of headers and junk lines") << soup << soup;
}

void TestDictionary::badInputLoads()
{
    QFETCH(QByteArray, commandsDat);
    QFETCH(QByteArray, headerDat);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(WriteFile(dir.filePath("commands.dat"), commandsDat));
    QVERIFY(WriteFile(dir.filePath("unit.dat"), commandsDat));
    QVERIFY(WriteFile(dir.filePath("header.dat"), headerDat));
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(CDataPaths::FromAppPath(dir.path()), true));
    dict.BuildAutoComplete(true);

    for (const CSortStringArray* pList :
         {&dict.m_arCommands, &dict.m_arInfWeapons, &dict.m_arInfMagazines, &dict.m_arVehWeapons,
          &dict.m_arVehMagazines, &dict.m_arVehicles, &dict.m_arEquipment, &dict.m_arAutoComplete})
        for (const QString& sEntry : *pList)
            QVERIFY2(!sEntry.isEmpty() && !sEntry.contains(u'\n') && !sEntry.contains(QChar(0)),
                     qPrintable(sEntry.toUtf8().toHex()));
    for (const CWeaponEntry& entry : dict.m_InfWeaponMags) {
        QVERIFY(!entry.sName.startsWith(u' '));
        QVERIFY(!entry.sName.isEmpty() || entry.arAmmo.isEmpty());
        for (const QString& sMag : entry.arAmmo)
            QVERIFY(!sMag.startsWith(u' '));
    }
    // The inserting code relies on header texts holding no empty line.
    for (const QString& sText : DumpHeaders(dict)) {
        QVERIFY(!sText.contains(QStringLiteral("\r\n\r\n")));
        QVERIFY(sText.endsWith(QStringLiteral("\r\n")));
    }
}

void TestDictionary::longLinesKeptWhole()
{
    const QByteArray sLong(100000, 'x');
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(
        WriteFile(dir.filePath("commands.dat"),
                  "[COMMANDS]\r\n" + sLong + "\r\n\r\n[INFANTRY WEAPONS VELK]\r\n" + sLong + "\r\n " + sLong + "\r\n"));
    QVERIFY(WriteFile(dir.filePath("unit.dat"), sLong));
    QVERIFY(WriteFile(dir.filePath("header.dat"), "[SCRIPT]\n" + sLong + "\n"));
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(CDataPaths::FromAppPath(dir.path()), true));
    const QString sExpected = QString::fromLatin1(sLong);
    QCOMPARE(QStringList(dict.m_arCommands), QStringList{sExpected});
    QCOMPARE(dict.m_InfWeaponMags[0].sName, sExpected);
    QCOMPARE(dict.GetWeaponAmmo(sExpected), sExpected);
    QCOMPARE(QStringList(dict.m_arUnitData), QStringList{sExpected});
    QCOMPARE(dict.m_sHeaderScript, sExpected + QStringLiteral("\r\n"));
}

void TestDictionary::shippedDataFiles_data()
{
    QTest::addColumn<bool>("velk");
    QTest::newRow("Velk Vanguard") << true;
    QTest::newRow("Qonmar Front") << false;
}

void TestDictionary::shippedDataFiles()
{
    QFETCH(bool, velk);
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), velk));
    QVERIFY(dict.m_arCommands.size() >= 300);
    QVERIFY(dict.m_arInfWeapons.size() >= 25);
    QVERIFY(dict.m_arInfWeapons.size() <= kWeaponRecords);
    QVERIFY(dict.m_arVehWeapons.size() >= 10);
    QVERIFY(dict.m_arVehicles.size() >= 40);
    QVERIFY(!dict.m_arInfMagazines.isEmpty() && !dict.m_arVehMagazines.isEmpty());
    QVERIFY(dict.m_arEquipment.Find(QStringLiteral("Binocular"), 0, true) >= 0);
    QVERIFY(dict.m_arEquipment.Find(QStringLiteral("NVGoggles"), 0, true) >= 0);
    // The wizards write each infantry weapon with its first magazine.
    for (int i = 0; i < dict.m_arInfWeapons.size(); ++i) {
        const CWeaponEntry& entry = dict.m_InfWeaponMags[i];
        QCOMPARE(entry.sName, dict.m_arInfWeapons[i]);
        QVERIFY2(!entry.arAmmo.isEmpty(), qPrintable(entry.sName));
        QCOMPARE(dict.GetWeaponAmmo(entry.sName.toUpper()), entry.arAmmo.first());
    }
    QVERIFY(dict.m_arUnitData.size() > 10);
    QCOMPARE(DumpHeaders(dict).size(), 7);

    dict.BuildAutoComplete(true);
    const CSortStringArray& ar = dict.m_arAutoComplete;
    QVERIFY(ar.Find(QStringLiteral("_this"), 0, true) >= 0);
    QVERIFY(ar.Find(QStringLiteral("_time"), 0, true) >= 0);
    for (qsizetype i = 1; i < ar.size(); ++i)
        QVERIFY2(CompareNoCase(ar[i - 1], ar[i]) < 0, qPrintable(ar[i - 1] + QStringLiteral(" / ") + ar[i]));
    for (const CSortStringArray* pList :
         {&dict.m_arCommands, &dict.m_arInfWeapons, &dict.m_arInfMagazines, &dict.m_arVehWeapons,
          &dict.m_arVehMagazines, &dict.m_arVehicles, &dict.m_arEquipment})
        for (const QString& sWord : *pList)
            QVERIFY2(ar.Find(sWord) >= 0, qPrintable(sWord));
}

void TestDictionary::autoCompleteKeepsFirstSpelling()
{
    // Each spelling below also occurs in a list appended later; the earlier
    // list's spelling must win, and the two locals come last of all.
    CDictionary dict;
    dict.ReadCommands({"[COMMANDS]",
                       "_THIS",
                       "zeta",
                       "",
                       "[INFANTRY WEAPONS VELK]",
                       "M4",
                       "Flare",
                       "",
                       "[VEHICLE/STATIC WEAPONS VELK]",
                       "flare",
                       "M256",
                       "",
                       "[INFANTRY MAGAZINES VELK]",
                       "m256",
                       "Mag30",
                       "",
                       "[VEHICLE/STATIC MAGAZINES VELK]",
                       "MAG30",
                       "Sabot",
                       "",
                       "[VEHICLES VELK]",
                       "sabot",
                       "T72",
                       "",
                       "[EQUIPMENT VELK]",
                       "t72",
                       "_Time",
                       ""},
                      true);
    dict.BuildAutoComplete(true);
    QCOMPARE(QStringList(dict.m_arAutoComplete),
             (QStringList{"_THIS", "_Time", "Flare", "M256", "M4", "Mag30", "Sabot", "T72", "zeta"}));
}

void TestDictionary::autoCompleteOff()
{
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), true));
    dict.BuildAutoComplete(false);
    QVERIFY(dict.m_arAutoComplete.isEmpty());
}

void TestDictionary::getWeaponAmmo_data()
{
    QTest::addColumn<QString>("weapon");
    QTest::addColumn<QString>("magazine");

    QTest::newRow("first magazine of the weapon") << "M4"
                                                  << "Mag30";
    QTest::newRow("case ignored") << "m4"
                                  << "Mag30";
    QTest::newRow("first matching record wins") << "M16"
                                                << "Mag30_M16";
    QTest::newRow("weapon without magazines") << "AK"
                                              << "";
    QTest::newRow("unknown weapon") << "G36"
                                    << "";
    QTest::newRow("prefix of a weapon") << "M"
                                        << "";
    QTest::newRow("vehicle weapons not searched") << "M256"
                                                  << "";
}

void TestDictionary::getWeaponAmmo()
{
    QFETCH(QString, weapon);
    QFETCH(QString, magazine);
    CDictionary dict;
    dict.ReadCommands({"[INFANTRY WEAPONS VELK]", "M4", " Mag30", " Mag100", "AK", "M16", " Mag30_M16", "m16", " Other",
                       "", "[VEHICLE/STATIC WEAPONS VELK]", "M256", " Sabot"},
                      true);
    QCOMPARE(dict.GetWeaponAmmo(weapon), magazine);
}

QTEST_GUILESS_MAIN(TestDictionary)
#include "tst_dictionary.moc"
