// The crate script, character for character, from crates filled as the
// builder's buttons fill them.
#include "core/wizards/cratewizard.h"
#include "tests/core/wizards/missionwizardgolden.h"

#include <QtTest>

using namespace CrateWizard;

namespace {

// The "Add" buttons' rule, as the dialog applies it.
void Add(QStringList& rows, const QString& sCommand, const QString& sValue)
{
    const auto [sName, nCount] = GoldenTest::NameAndCount(sValue);
    if (!HasRow(rows, RowPrefix(sCommand, sName)))
        rows.append(Row(sCommand, sName, nCount));
}

struct SRun
{
    bool bVelk = true;
    QString sVersion = QStringLiteral("Version 1.3.4000");
    SForm form;
};

SRun ReadRun(const QString& sPath)
{
    SRun run;
    for (const GoldenTest::SEntry& entry : GoldenTest::ReadForm(sPath)) {
        const QString& k = entry.sKey;
        const QString& v = entry.sValue;
        if (k == QLatin1String("game"))
            run.bVelk = v == QLatin1String("velk");
        else if (k == QLatin1String("version"))
            run.sVersion = v;
        else if (k == QLatin1String("CrateName"))
            run.form.sCrateName = v;
        else if (k == QLatin1String("EmptyCrate"))
            run.form.bEmptyCrate = v == QLatin1String("1");
        else if (k == QLatin1String("addWeapon"))
            Add(run.form.rows, kWeaponCargo, v);
        else if (k == QLatin1String("addMagazine"))
            Add(run.form.rows, kMagazineCargo, v);
        else if (k == QLatin1String("addEquipment"))
            Add(run.form.rows, EquipmentCommand(GoldenTest::NameAndCount(v).first), v);
        else
            qWarning("unknown form key %s in %s", qPrintable(k), qPrintable(sPath));
    }
    return run;
}

}  // namespace

class TestCrateWizard : public QObject
{
    Q_OBJECT

private slots:
    void formsGiveTheirGoldenScript_data() { GoldenTest::AddFormRows("crate"); }
    void formsGiveTheirGoldenScript()
    {
        QFETCH(QString, sForm);
        const SRun run = ReadRun(sForm);
        const QString sText = BuildScript(run.form, run.bVelk, run.sVersion);
        const QString sDiff = GoldenTest::Compare(GoldenTest::GoldenPath(sForm, ".sqs"), sText);
        QVERIFY2(sDiff.isEmpty(), qPrintable(sDiff));
        QCOMPARE(sText.count(u'\n'), sText.count(QLatin1String("\r\n")));
        if (GoldenTest::Regenerating())
            QSKIP("golden script rewritten: review it before committing");
    }

    void rowsReadAsCommands()
    {
        QCOMPARE(Row(kWeaponCargo, QStringLiteral("M16"), 5), QStringLiteral("addWeaponCargo [\"M16\", 5]"));
        QCOMPARE(Row(kMagazineCargo, QStringLiteral("Mag"), 0), QStringLiteral("addMagazineCargo [\"Mag\", 0]"));
    }

    void anItemGoesInOncePerCommand_data()
    {
        QTest::addColumn<QString>("sRow");
        QTest::addColumn<QString>("sCommand");
        QTest::addColumn<QString>("sName");
        QTest::addColumn<bool>("bRefused");
        QTest::newRow("same item, other count") << "addWeaponCargo [\"M16\", 5]" << kWeaponCargo << "M16" << true;
        QTest::newRow("other case") << "addWeaponCargo [\"M16\", 5]" << kWeaponCargo << "m16" << true;
        QTest::newRow("as a magazine too") << "addWeaponCargo [\"M16\", 5]" << kMagazineCargo << "M16" << false;
        QTest::newRow("a longer name") << "addWeaponCargo [\"M16\", 5]" << kWeaponCargo << "M16A2" << false;
        QTest::newRow("a shorter name") << "addWeaponCargo [\"M16A2\", 5]" << kWeaponCargo << "M16" << false;
        QTest::newRow("binoculars as equipment after the weapon")
            << "addWeaponCargo [\"Binocular\", 1]" << EquipmentCommand(QStringLiteral("Binocular")) << "Binocular"
            << true;
    }
    void anItemGoesInOncePerCommand()
    {
        QFETCH(QString, sRow);
        QFETCH(QString, sCommand);
        QFETCH(QString, sName);
        QTEST(HasRow({sRow}, RowPrefix(sCommand, sName)), "bRefused");
    }

    void equipmentCommands()
    {
        QCOMPARE(EquipmentCommand(QStringLiteral("Binocular")), kWeaponCargo);
        QCOMPARE(EquipmentCommand(QStringLiteral("NVGoggles")), kWeaponCargo);
        QCOMPARE(EquipmentCommand(QStringLiteral("binocular")), kMagazineCargo);
        QCOMPARE(EquipmentCommand(QStringLiteral("Mine")), kMagazineCargo);
    }
};

QTEST_GUILESS_MAIN(TestCrateWizard)

#include "tst_cratewizard.moc"
