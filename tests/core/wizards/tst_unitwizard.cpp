// The custom unit wizard without its window: unit.dat read into the four
// tables, what a soldier carries, and the script that arms him.
#include "core/data/textlines.h"
#include "core/wizards/missionwizards.h"
#include "core/wizards/unitdata.h"
#include "core/wizards/unitwizard.h"
#include "tests/core/wizards/missionwizardgolden.h"

#include <QtTest>

using namespace UnitData;
using namespace UnitWizard;

namespace {

QStringList GoldenData()
{
    QStringList lines;
    TextLines::Read(GoldenTest::Folder("unit") + QStringLiteral("/units.dat"), &lines);
    return lines;
}

// A name not in the list is "NONE".
int Position(const QStringList& list, const QString& sName)
{
    return std::max<int>(0, int(list.indexOf(sName)));
}

struct SRun
{
    bool bVelk = true;
    QString sVersion = QStringLiteral("Version 1.3.4000");
    SForm form;
};

SRun ReadRun(const QString& sPath, const QStringList& data)
{
    const QList<GoldenTest::SEntry> entries = GoldenTest::ReadForm(sPath);
    SRun run;
    for (const GoldenTest::SEntry& entry : entries)
        if (entry.sKey == QLatin1String("game"))
            run.bVelk = entry.sValue == QLatin1String("velk");
    const STables tables = Parse(data, run.bVelk);
    SForm& form = run.form;
    form.equipmentCounts = QList<int>(tables.equipment.size(), 0);
    for (const GoldenTest::SEntry& entry : entries) {
        const QString& k = entry.sKey;
        const QString& v = entry.sValue;
        const int n = v.toInt();
        if (k == QLatin1String("game"))
            continue;
        if (k == QLatin1String("version"))
            run.sVersion = v;
        else if (k == QLatin1String("UnitName"))
            form.sUnitName = v;
        else if (k == QLatin1String("primary"))
            form.nPrimary = Position(tables.primaryList, v);
        else if (k == QLatin1String("secondary"))
            form.nSecondary = Position(tables.secondaryList, v);
        else if (k == QLatin1String("handgun"))
            form.nHandgun = Position(tables.handgunList, v);
        else if (k == QLatin1String("PrimaryMags"))
            form.nPrimaryMags = n;
        else if (k == QLatin1String("Grenades"))
            form.nGrenades = n;
        else if (k == QLatin1String("Flares"))
            form.nFlares = n;
        else if (k == QLatin1String("Rockets"))
            form.nRockets = n;
        else if (k == QLatin1String("HandgunMags"))
            form.nHandgunMags = n;
        else if (k == QLatin1String("Binoculars"))
            form.bBinoculars = n != 0;
        else if (k == QLatin1String("NVGoggles"))
            form.bNVGoggles = n != 0;
        else if (k == QLatin1String("SniperUnit"))
            form.bSniperUnit = n != 0;
        else if (k == QLatin1String("RemoveGear"))
            form.bRemoveGear = n != 0;
        else if (k == QLatin1String("equipment")) {
            const auto [sItem, nCount] = GoldenTest::NameAndCount(v);
            const qsizetype nRow = tables.equipmentItems.indexOf(sItem);
            if (nRow >= 0)
                form.equipmentCounts[nRow] = nCount;
            else
                qWarning("no equipment %s", qPrintable(sItem));
        } else {
            qWarning("unknown form key %s in %s", qPrintable(k), qPrintable(sPath));
        }
    }
    return run;
}

QStringList Lines(const char* pszText)
{
    return QString::fromLatin1(pszText).split(u'\n');
}

QStringList Numbered(const char* pszFormat, int nCount)
{
    QStringList lines;
    for (int i = 1; i <= nCount; ++i)
        lines.append(QString::asprintf(pszFormat, i));
    return lines;
}

}  // namespace

class TestUnitWizard : public QObject
{
    Q_OBJECT

private slots:
    void formsGiveTheirGoldenScript_data() { GoldenTest::AddFormRows("unit"); }
    void formsGiveTheirGoldenScript()
    {
        QFETCH(QString, sForm);
        const QStringList data = GoldenData();
        QVERIFY(!data.isEmpty());
        const SRun run = ReadRun(sForm, data);
        const QString sText = BuildScript(run.form, Parse(data, run.bVelk), run.bVelk, run.sVersion);
        const QString sDiff = GoldenTest::Compare(GoldenTest::GoldenPath(sForm, ".sqs"), sText);
        QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
        QCOMPARE(sText.count(u'\n'), sText.count(QLatin1String("\r\n")));
        if (GoldenTest::Regenerating())
            QSKIP("golden script rewritten: review it before committing");
    }

    void sectionsAreFoundAndEnded_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("primary");
        QTest::addColumn<QStringList>("handguns");
        QTest::newRow("last section runs to the end of the list")
            << Lines("[HANDGUNS VELK]\nM9,Mag\n\n[PRIMARY WEAPONS VELK]\nA,m,1\nB,m,2") << QStringList{"NONE", "A", "B"}
            << QStringList{"NONE", "M9"};
        QTest::newRow("a section not ended runs into the next, header and all")
            << Lines("[PRIMARY WEAPONS VELK]\nA,m,1\n[HANDGUNS VELK]\nP,pm\n") << QStringList{"NONE", "A", "P"}
            << QStringList{"NONE", "P"};
        QTest::newRow("the first of two headers counts")
            << Lines("[HANDGUNS VELK]\nM9,Mag\n\n[HANDGUNS VELK]\nColt,Mag\n")
            << QStringList{"NONE", "ERROR: Not Available"} << QStringList{"NONE", "M9"};
        QTest::newRow("a header with a trailing blank is none")
            << Lines("[PRIMARY WEAPONS VELK] \nA,m,1\n") << QStringList{"NONE", "ERROR: Not Available"}
            << QStringList{"NONE", "ERROR: Not Available"};
        QTest::newRow("headers are case-sensitive")
            << Lines("[Handguns VELK]\nM9,Mag\n") << QStringList{"NONE", "ERROR: Not Available"}
            << QStringList{"NONE", "ERROR: Not Available"};
        QTest::newRow("the other game's sections are not read")
            << Lines("[PRIMARY WEAPONS QON]\nA,m,1\n\n[HANDGUNS QON]\nP,m\n")
            << QStringList{"NONE", "ERROR: Not Available"} << QStringList{"NONE", "ERROR: Not Available"};
        QTest::newRow("lines without a comma leave no gap")
            << Lines("[PRIMARY WEAPONS VELK]\nA,m,1\njunk\n   \nB,m,2\n\n[HANDGUNS VELK]\nloose\nP,pm\n")
            << QStringList{"NONE", "A", "B"} << QStringList{"NONE", "P"};
        QTest::newRow("an empty section has only NONE")
            << Lines("[PRIMARY WEAPONS VELK]\n\n[HANDGUNS VELK]\n") << QStringList{"NONE"} << QStringList{"NONE"};
    }
    void sectionsAreFoundAndEnded()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, primary);
        QFETCH(QStringList, handguns);
        const STables tables = Parse(lines, true);
        QCOMPARE(tables.primaryList, primary);
        QCOMPARE(tables.handgunList, handguns);
        // Every position selects the entry it shows.
        QCOMPARE(tables.primary.size(), primary.size());
        QCOMPARE(tables.handguns.size(), handguns.size());
        for (int i = 1; i < primary.size(); ++i) {
            const SPrimaryWeapon* pWeapon = PrimaryAt(tables, i);
            QCOMPARE(pWeapon ? pWeapon->sWeapon : QStringLiteral("ERROR: Not Available"), primary[i]);
        }
        for (int i = 1; i < handguns.size(); ++i) {
            const SHandgun* pHandgun = HandgunAt(tables, i);
            QCOMPARE(pHandgun ? pHandgun->sWeapon : QStringLiteral("ERROR: Not Available"), handguns[i]);
        }
        QVERIFY(!PrimaryAt(tables, 0));
        QVERIFY(!PrimaryAt(tables, int(primary.size())));
    }

    void tablesStopAtTheirSize_data()
    {
        QTest::addColumn<QString>("sHeader");
        QTest::addColumn<QString>("sFormat");
        QTest::addColumn<int>("nEntries");
        QTest::newRow("primary, 255 and NONE") << "[PRIMARY WEAPONS QON]"
                                               << "P%d,m,1" << kPrimaryEntries;
        QTest::newRow("secondary, 31 and NONE") << "[SECONDARY WEAPONS QON]"
                                                << "S%d,r,1" << kSecondaryEntries;
        QTest::newRow("handguns, 31 and NONE") << "[HANDGUNS QON]"
                                               << "H%d,m" << kHandgunEntries;
        QTest::newRow("equipment, 32") << "[EQUIPMENT QON]"
                                       << "E%d,1" << kEquipmentEntries;
    }
    void tablesStopAtTheirSize()
    {
        QFETCH(QString, sHeader);
        QFETCH(QString, sFormat);
        QFETCH(int, nEntries);
        QStringList lines{sHeader};
        lines += Numbered(qPrintable(sFormat), 300);
        const STables tables = Parse(lines, false);
        const QList<QPair<qsizetype, QStringList>> lists{{tables.primary.size(), tables.primaryList},
                                                         {tables.secondary.size(), tables.secondaryList},
                                                         {tables.handguns.size(), tables.handgunList},
                                                         {tables.equipment.size(), tables.equipmentItems}};
        bool bFound = false;
        for (const auto& [nTable, list] : lists) {
            if (list.size() < 3)
                continue;
            bFound = true;
            QCOMPARE(nTable, nEntries);
            QCOMPARE(list.size(), nEntries);
            // The last entry shown is the last one the table took.
            const int nLast = sHeader.startsWith(QLatin1String("[EQUIPMENT")) ? nEntries : nEntries - 1;
            QCOMPARE(list.last(), QString(sFormat.at(0)) + QString::number(nLast));
        }
        QVERIFY(bFound);
    }

    void primaryFields_data()
    {
        QTest::addColumn<QString>("sLine");
        QTest::addColumn<QString>("sMagazine");
        QTest::addColumn<int>("nSlots");
        QTest::addColumn<QString>("sGrenades");
        QTest::addColumn<int>("nGrenadeSlots");
        QTest::newRow("two commas") << "W,M,3"
                                    << "M" << 3 << "" << 0;
        QTest::newRow("one comma: no slots") << "W,M"
                                             << "M" << 0 << "" << 0;
        QTest::newRow("three commas: third field, no launcher") << "W,M,2,G"
                                                                << "M" << 2 << "" << 0;
        QTest::newRow("four commas: a launcher") << "W,M,2,G,1"
                                                 << "M" << 2 << "G" << 1;
        QTest::newRow("grenade slots run to the end") << "W,M,2,G,3,9"
                                                      << "M" << 2 << "G" << 3;
        QTest::newRow("an empty grenade field is no launcher") << "W,M,1,,5"
                                                               << "M" << 1 << "" << 5;
        QTest::newRow("blanks are kept in names") << "W, M ,1"
                                                  << " M " << 1 << "" << 0;
        QTest::newRow("unreadable slots are 0") << "W,M,abc"
                                                << "M" << 0 << "" << 0;
        QTest::newRow("slots read up to the first other character") << "W,M, 7x,G,2"
                                                                    << "M" << 7 << "G" << 2;
    }
    void primaryFields()
    {
        QFETCH(QString, sLine);
        const SPrimaryWeapon weapon = ParsePrimary(sLine);
        QCOMPARE(weapon.sWeapon, QStringLiteral("W"));
        QTEST(weapon.sMagazine, "sMagazine");
        QTEST(weapon.nSlots, "nSlots");
        QTEST(weapon.sGrenadeMagazine, "sGrenades");
        QTEST(weapon.nGrenadeSlots, "nGrenadeSlots");
    }

    void otherFields()
    {
        const SSecondaryWeapon launcher = ParseSecondary(QStringLiteral("LAW,Rocket,4,5"));
        QCOMPARE(launcher.sWeapon, QStringLiteral("LAW"));
        QCOMPARE(launcher.sMagazine, QStringLiteral("Rocket"));
        QCOMPARE(launcher.nSlots, 4);
        QCOMPARE(ParseSecondary(QStringLiteral("LAW,Rocket")).nSlots, 0);
        // A handgun's magazine is everything after the first comma.
        QCOMPARE(ParseHandgun(QStringLiteral("P,Mag,extra")).sMagazine, QStringLiteral("Mag,extra"));
        const SEquipment item = ParseEquipment(QStringLiteral("Mine, 3,1"));
        QCOMPARE(item.sItem, QStringLiteral("Mine"));
        QCOMPARE(item.nSlots, 3);
    }

    void numbersReadAsTheGameDoes_data()
    {
        QTest::addColumn<QString>("sField");
        QTest::addColumn<int>("nValue");
        QTest::newRow("plain") << "12" << 12;
        QTest::newRow("leading blanks") << " \t4" << 4;
        QTest::newRow("plus") << "+5" << 5;
        QTest::newRow("minus, then other text") << "-3x" << -3;
        QTest::newRow("text first") << "x3" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("sign alone") << "-" << 0;
        QTest::newRow("too long stops at the largest") << "99999999999" << 2147483647;
        QTest::newRow("too long negative") << "-99999999999" << int(-2147483648LL);
    }
    void numbersReadAsTheGameDoes()
    {
        QFETCH(QString, sField);
        QTEST(ReadNumber(sField), "nValue");
    }

    void missingSectionsSelectNothing()
    {
        const STables tables = Parse(Lines("[PRIMARY WEAPONS VELK]\nA,m,1\n"), true);
        QCOMPARE(tables.secondaryList, QStringList({"NONE", "ERROR: Not Available"}));
        QVERIFY(!SecondaryAt(tables, 1));
        QVERIFY(tables.bEquipmentMissing);
        QVERIFY(tables.equipment.isEmpty());
        // Choosing the error entry writes nothing for it.
        SForm form;
        form.sUnitName = QStringLiteral("U");
        form.nSecondary = 1;
        form.nRockets = 3;
        form.nHandgun = 1;
        form.nHandgunMags = 2;
        const QString sScript = BuildScript(form, tables, true, QStringLiteral("V"));
        QVERIFY(!sScript.contains(QLatin1String("addWeapon")));
        QVERIFY(!sScript.contains(QLatin1String("addMagazine")));
    }

    void capacity_data()
    {
        QTest::addColumn<bool>("bVelk");
        QTest::addColumn<QString>("sPrimary");
        QTest::addColumn<QList<int>>("counts");  // mags, grenades, flares, rockets, handgun mags
        QTest::addColumn<QString>("sSecondary");
        QTest::addColumn<QList<int>>("equipment");
        QTest::addColumn<bool>("bRemoveGear");
        QTest::addColumn<bool>("bSniper");
        QTest::addColumn<QList<int>>("expected");  // P, S, capacity P, capacity S, overloaded
        const QList<int> none{0, 0, 0, 0, 0};
        QTest::newRow("newer game, empty")
            << true << "" << none << "" << QList<int>{} << true << false << QList<int>{0, 0, 12, 8, 0};
        QTest::newRow("newer game keeps his gear")
            << true << "" << none << "" << QList<int>{} << false << false << QList<int>{10, 4, 12, 8, 0};
        QTest::newRow("older game keeps his gear")
            << false << "" << none << "" << QList<int>{} << false << false << QList<int>{4, 0, 10, 4, 0};
        QTest::newRow("older sniper keeps his gear: overloaded at once")
            << false << "" << none << "" << QList<int>{} << false << true << QList<int>{10, 0, 4, 4, 1};
        QTest::newRow("older sniper stripped")
            << false << "" << none << "" << QList<int>{} << true << true << QList<int>{0, 0, 4, 4, 0};
        QTest::newRow("newer game: grenades and flares are secondary")
            << true << "M4A1GL" << QList<int>{0, 3, 2, 0, 0} << "" << QList<int>{} << true << false
            << QList<int>{0, 8, 12, 8, 0};
        QTest::newRow("older game: grenades and flares are primary")
            << false << "M16GL" << QList<int>{0, 3, 2, 0, 0} << "" << QList<int>{} << true << false
            << QList<int>{5, 0, 10, 4, 0};
        QTest::newRow("magazines times their slots") << true << "M249_SAW" << QList<int>{6, 0, 0, 0, 0} << ""
                                                     << QList<int>{} << true << false << QList<int>{12, 0, 12, 8, 0};
        QTest::newRow("one more is overloaded") << true << "M249_SAW" << QList<int>{6, 0, 0, 1, 0} << "M136"
                                                << QList<int>{} << true << false << QList<int>{16, 0, 12, 8, 1};
        QTest::newRow("rockets without a launcher weigh nothing")
            << true << "" << QList<int>{0, 0, 0, 5, 0} << "" << QList<int>{} << true << false
            << QList<int>{0, 0, 12, 8, 0};
        QTest::newRow("handgun magazines are secondary, one each")
            << true << "" << QList<int>{0, 0, 0, 0, 9} << "" << QList<int>{} << true << false
            << QList<int>{0, 9, 12, 8, 1};
        QTest::newRow("equipment counts times slots")
            << true << "" << none << "" << QList<int>{2, 1, 0} << true << false << QList<int>{7, 0, 12, 8, 0};
    }
    void capacity()
    {
        QFETCH(bool, bVelk);
        QFETCH(QString, sPrimary);
        QFETCH(QList<int>, counts);
        QFETCH(QString, sSecondary);
        QFETCH(QList<int>, equipment);
        QFETCH(bool, bRemoveGear);
        QFETCH(bool, bSniper);
        QFETCH(QList<int>, expected);
        const STables tables = Parse(GoldenData(), bVelk);
        SForm form;
        form.nPrimary = Position(tables.primaryList, sPrimary);
        QCOMPARE(form.nPrimary > 0, !sPrimary.isEmpty());
        form.nSecondary = Position(tables.secondaryList, sSecondary);
        form.nPrimaryMags = counts[0];
        form.nGrenades = counts[1];
        form.nFlares = counts[2];
        form.nRockets = counts[3];
        form.nHandgunMags = counts[4];
        form.equipmentCounts = equipment;
        form.bRemoveGear = bRemoveGear;
        form.bSniperUnit = bSniper;
        const SCapacity capacity = Capacity(form, tables, bVelk);
        QCOMPARE((QList<int>{capacity.nPrimary, capacity.nSecondary, capacity.nPrimaryCapacity,
                             capacity.nSecondaryCapacity, int(capacity.bOverloaded)}),
                 expected);
    }

    void hugeSlotsDoNotWrap()
    {
        const STables tables = Parse(Lines("[PRIMARY WEAPONS VELK]\nBig,m,2147483647\n\n"
                                           "[EQUIPMENT VELK]\nHeavy,2147483647\n"),
                                     true);
        SForm form;
        form.nPrimary = 1;
        form.nPrimaryMags = 2147483647;
        form.equipmentCounts = {2147483647};
        const SCapacity capacity = Capacity(form, tables, true);
        QCOMPARE(capacity.nPrimary, 2147483647);
        QVERIFY(capacity.bOverloaded);
    }

    void captionsAndRows()
    {
        SCapacity capacity;
        capacity.nPrimary = 3;
        capacity.nPrimaryCapacity = 12;
        capacity.nSecondary = 9;
        capacity.nSecondaryCapacity = 8;
        QCOMPARE(PrimaryCaption(capacity), QStringLiteral("Primary Magazines (3/12)"));
        QCOMPARE(SecondaryCaption(capacity), QStringLiteral("Secondary Magazines (9/8)"));
        QCOMPARE(EquipmentRowText(1, QStringLiteral("Item")), QStringLiteral("(1) Item"));
        QCOMPARE(EquipmentRowText(0, QStringLiteral("Item")), QStringLiteral("(0) Item"));
        QCOMPARE(MaxHandgunMags(true), 8);
        QCOMPARE(MaxHandgunMags(false), 4);
    }

    void namesAreFileNames_data()
    {
        QTest::addColumn<QString>("sName");
        QTest::addColumn<bool>("bValid");
        QTest::newRow("default") << MissionWizards::DefaultName(QStringLiteral("UNIT_"), [] { return 999; }) << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("colon") << "UNIT:1" << false;
        for (const QChar c : QStringLiteral("\\/*?|\"<>"))
            QTest::newRow(qPrintable(QStringLiteral("holding ") + c)) << QStringLiteral("a") + c << false;
        QTest::newRow("blanks and dots") << "my unit.v2" << true;
    }
    void namesAreFileNames()
    {
        QFETCH(QString, sName);
        QTEST(MissionWizards::IsValidName(sName), "bValid");
    }

    void defaultNamesTakeTheRandomNumber()
    {
        QCOMPARE(MissionWizards::DefaultName(QStringLiteral("UNIT_"), [] { return 7; }), QStringLiteral("UNIT_7"));
        const MissionWizards::RandomSource random = MissionWizards::SystemRandom();
        for (int i = 0; i < 200; ++i) {
            const int n = random();
            QVERIFY(n >= 0 && n <= 999);
        }
    }
};

QTEST_GUILESS_MAIN(TestUnitWizard)

#include "tst_unitwizard.moc"
