// The description file, character for character, from forms filled in as
// the wizard's controls fill them.
#include "core/wizards/descriptiontext.h"
#include "core/wizards/missionwizards.h"
#include "tests/core/wizards/missionwizardgolden.h"

#include <QtTest>

using namespace DescriptionText;

namespace {

bool IsOn(const QString& sValue)
{
    return sValue == QLatin1String("1");
}

// The "Add" buttons' rule, as the dialog applies it.
void AddGear(QList<SGearRow>& rows, const QString& sValue)
{
    const auto [sName, nCount] = GoldenTest::NameAndCount(sValue);
    if (!HasGearRow(rows, sName))
        rows.append({GearRowText(sName, nCount), nCount});
}

struct SRun
{
    SForm form;
    bool bVelk = true;
    QString sVersion = QStringLiteral("Version 1.3.4000");
};

SRun ReadRun(const QString& sPath)
{
    SRun run;
    SForm& form = run.form;
    for (const GoldenTest::SEntry& entry : GoldenTest::ReadForm(sPath)) {
        const QString& k = entry.sKey;
        const QString& v = entry.sValue;
        if (k == QLatin1String("game"))
            run.bVelk = v == QLatin1String("velk");
        else if (k == QLatin1String("version"))
            run.sVersion = v;
        else if (k == QLatin1String("AddGear"))
            form.bAddGear = IsOn(v);
        else if (k == QLatin1String("AddRespawn"))
            form.bAddRespawn = IsOn(v);
        else if (k == QLatin1String("AddSounds"))
            form.bAddSounds = IsOn(v);
        else if (k == QLatin1String("ShowCompass"))
            form.bShowCompass = IsOn(v);
        else if (k == QLatin1String("ShowGPS"))
            form.bShowGPS = IsOn(v);
        else if (k == QLatin1String("ShowWatch"))
            form.bShowWatch = IsOn(v);
        else if (k == QLatin1String("HighScore"))
            form.nHighScore = v.toInt();
        else if (k == QLatin1String("AvgScore"))
            form.nAvgScore = v.toInt();
        else if (k == QLatin1String("LowScore"))
            form.nLowScore = v.toInt();
        else if (k == QLatin1String("RespawnType"))
            form.nRespawnType = v.toInt();
        else if (k == QLatin1String("RespawnDelay"))
            form.sRespawnDelay = v;
        else if (k == QLatin1String("addWeapon"))
            AddGear(form.weaponRows, v);
        else if (k == QLatin1String("addMagazine"))
            AddGear(form.magazineRows, v);
        else if (k == QLatin1String("addEquipment"))
            AddGear(EquipmentList(GoldenTest::NameAndCount(v).first) == EGearList::Weapons ? form.weaponRows
                                                                                           : form.magazineRows,
                    v);
        else if (k == QLatin1String("sound"))
            form.soundFiles[v.section(u' ', 0, 0).toInt()].append(v.section(u' ', 1));
        else
            qWarning("unknown form key %s in %s", qPrintable(k), qPrintable(sPath));
    }
    return run;
}

}  // namespace

class TestDescriptionText : public QObject
{
    Q_OBJECT

private slots:
    void formsGiveTheirGoldenText_data() { GoldenTest::AddFormRows("description"); }
    void formsGiveTheirGoldenText()
    {
        QFETCH(QString, sForm);
        const SRun run = ReadRun(sForm);
        const QString sText = BuildText(run.form, run.bVelk, run.sVersion);
        const QString sDiff = GoldenTest::Compare(GoldenTest::GoldenPath(sForm, ".ext"), sText);
        QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
        // The games read CR LF only: no line feed may stand alone.
        QCOMPARE(sText.count(u'\n'), sText.count(QLatin1String("\r\n")));
        if (GoldenTest::Regenerating())
            QSKIP("golden text rewritten: review it before committing");
    }

    void gearRowsAreFoundByNameAndBlank_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("sName");
        QTest::addColumn<bool>("bListed");
        QTest::newRow("same name, other case") << QStringList{"M16A2 (3)"} << "m16a2" << true;
        QTest::newRow("a longer name is another item") << QStringList{"M16A2GL (3)"} << "M16A2" << false;
        QTest::newRow("a shorter name is another item") << QStringList{"M16 (3)"} << "M16A2" << false;
        QTest::newRow("found after other rows") << QStringList{"AK (1)", "NVGoggles (2)"} << "NVGOGGLES" << true;
        QTest::newRow("empty list") << QStringList{} << "AK" << false;
    }
    void gearRowsAreFoundByNameAndBlank()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, sName);
        QFETCH(bool, bListed);
        QList<SGearRow> gear;
        for (const QString& sRow : rows)
            gear.append({sRow, 1});
        QCOMPARE(HasGearRow(gear, sName), bListed);
    }

    void onlyTheTwoOpticsAreWeapons_data()
    {
        QTest::addColumn<QString>("sItem");
        QTest::addColumn<bool>("bWeapon");
        QTest::newRow("Binocular") << "Binocular" << true;
        QTest::newRow("NVGoggles") << "NVGoggles" << true;
        QTest::newRow("case counts") << "nvgoggles" << false;
        QTest::newRow("other equipment") << "Medikit" << false;
    }
    void onlyTheTwoOpticsAreWeapons()
    {
        QFETCH(QString, sItem);
        QFETCH(bool, bWeapon);
        QCOMPARE(EquipmentList(sItem) == EGearList::Weapons, bWeapon);
    }

    void soundNamesLoseEveryLowerCaseOgg_data()
    {
        QTest::addColumn<QString>("sFile");
        QTest::addColumn<QString>("sBase");
        QTest::newRow("plain") << "alarm.ogg"
                               << "alarm";
        QTest::newRow("upper case stays") << "Intro.OGG"
                                          << "Intro.OGG";
        QTest::newRow("every occurrence") << "a.ogg.ogg"
                                          << "a";
        QTest::newRow("inside the name") << "my.oggfile.ogg"
                                         << "myfile";
    }
    void soundNamesLoseEveryLowerCaseOgg()
    {
        QFETCH(QString, sFile);
        QFETCH(QString, sBase);
        QCOMPARE(SoundBaseName(sFile), sBase);
    }

    void delaysAndRespawnWords()
    {
        const QStringList delays = RespawnDelays();
        QCOMPARE(delays.size(), 13);
        QCOMPARE(delays.first(), QStringLiteral("0"));
        QCOMPARE(delays[3], kDefaultDelay);
        QCOMPARE(delays.last(), QStringLiteral("60"));
        QStringList words;
        for (int i = 0; i < kRespawnTypes; ++i)
            words.append(RespawnWord(i));
        QCOMPARE(words, QStringList({"NONE", "BIRD", "INSTANT", "BASE", "GROUP", "SIDE"}));
    }

    void choiceListsSortIgnoringCaseOrSayNotAvailable_data()
    {
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<bool>("bSorted");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("sorted ignoring case")
            << QStringList{"b", "C", "a", "B"} << true << QStringList{"a", "b", "B", "C"};
        QTest::newRow("source order kept") << QStringList{"b", "C", "a"} << false << QStringList{"b", "C", "a"};
        QTest::newRow("empty sorted") << QStringList{} << true << QStringList{"ERROR: Not Available"};
        QTest::newRow("empty unsorted") << QStringList{} << false << QStringList{"ERROR: Not Available"};
    }
    void choiceListsSortIgnoringCaseOrSayNotAvailable()
    {
        QFETCH(QStringList, source);
        QFETCH(bool, bSorted);
        QFETCH(QStringList, items);
        QCOMPARE(MissionWizards::ChoiceItems(source, bSorted), items);
    }

    void magazineFollowsByPrefixIgnoringCase_data()
    {
        QTest::addColumn<QString>("sPrefix");
        QTest::addColumn<int>("nIndex");
        QTest::newRow("first beginning with it") << "mag30" << 1;
        QTest::newRow("exact") << "Mag100" << 0;
        QTest::newRow("none") << "Belt" << -1;
        QTest::newRow("no magazine") << "" << -1;
    }
    void magazineFollowsByPrefixIgnoringCase()
    {
        QFETCH(QString, sPrefix);
        QFETCH(int, nIndex);
        QCOMPARE(MissionWizards::FindPrefix({"Mag100", "Mag30_556", "Mag30_762"}, sPrefix), nIndex);
    }
};

QTEST_GUILESS_MAIN(TestDescriptionText)

#include "tst_descriptiontext.moc"
