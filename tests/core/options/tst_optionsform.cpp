#include "core/app/filetypes.h"
#include "core/app/memorysettingsstore.h"
#include "core/options/optionsform.h"

#include <QtTest>

using namespace Options;

namespace {

// Settings as a start reads them from an empty store.
struct SDefaults
{
    CMemorySettingsStore store;
    CSettings settings;
    SDefaults() { settings.Read(store, QSize(1024, 768)); }
};

QStringList Extensions(const SApplied& applied)
{
    QStringList extensions;
    for (const SFileTypeInfo* pType : applied.fileTypes)
        extensions << QLatin1String(pType->pszExtension);
    return extensions;
}

// The sample's runs as "text=colour", lines joined by "|".
QString SampleOf(const SForm& form)
{
    QStringList lines;
    for (const QList<SSampleRun>& line : SampleLines(form)) {
        QStringList runs;
        for (const SSampleRun& run : line)
            runs << QStringLiteral("%1=%2").arg(run.sText.trimmed()).arg(run.crColour, 6, 16, QLatin1Char('0'));
        lines << runs.join(u' ');
    }
    return lines.join(u'|');
}

}  // namespace

class TestOptionsForm : public QObject
{
    Q_OBJECT

private slots:
    void unchangedFormChangesNothing()
    {
        SDefaults d;
        const SApplied applied = Apply(FormOf(d.settings), d.settings);
        QVERIFY(!applied.bFont);
        QVERIFY(!applied.bGame);
        QVERIFY(applied.fileTypes.isEmpty());
        QCOMPARE(FormOf(d.settings).sFont, kDefaultFont);
    }

    void whatOkReports_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("font");
        QTest::addColumn<bool>("game");
        QTest::addColumn<QStringList>("types");

        QTest::newRow("a colour only keeps the font") << "colour" << false << false << QStringList();
        QTest::newRow("size") << "size" << true << false << QStringList();
        QTest::newRow("bold") << "bold" << true << false << QStringList();
        QTest::newRow("face") << "face" << true << false << QStringList();
        QTest::newRow("older game") << "game" << false << true << QStringList();
        QTest::newRow("script files unchecked, text files checked")
            << "types" << false << false << QStringList({".sqs", ".txt"});
    }
    void whatOkReports()
    {
        QFETCH(QString, change);
        QFETCH(bool, font);
        QFETCH(bool, game);
        QFETCH(QStringList, types);
        SDefaults d;
        d.settings.m_bRegSQS = 1;
        SForm form = FormOf(d.settings);
        if (change == "colour")
            form.colours[3] = Rgb(1, 2, 3);
        else if (change == "size")
            form.nFontSize = 12;
        else if (change == "bold")
            form.bBold = true;
        else if (change == "face")
            form.sFont = "DejaVu Sans Mono";
        else if (change == "game")
            form.nGame = 1;
        else if (change == "types")
            form.fileTypes = {false, false, false, false, false, true};

        const SApplied applied = Apply(form, d.settings);
        QCOMPARE(applied.bFont, font);
        QCOMPARE(applied.bGame, game);
        QCOMPARE(Extensions(applied), types);
        QCOMPARE(d.settings.m_crCom, form.colours[3]);
        QCOMPARE(d.settings.m_bVelk, form.nGame == 0 ? 1 : 0);
        QCOMPARE(d.settings.m_bRegSQS, int(form.fileTypes[0]));
        QCOMPARE(d.settings.m_bRegTXT, int(form.fileTypes[5]));
    }

    void restoreDefaultsPerPage()
    {
        SDefaults d;
        SForm form = FormOf(d.settings);
        form.nGame = 1;
        form.sFont = "Other";
        form.colours.fill(Rgb(9, 9, 9));
        form.formats.fill(false);
        form.checks.fill(true);
        form.sAuthor = "Sgt. Kowalczyk";
        form.fileTypes.fill(true);
        RestoreSettingsDefaults(form);
        QCOMPARE(form.sAuthor, QStringLiteral("Sgt. Kowalczyk"));
        QCOMPARE(form.checks, (std::array<bool, 9>{true, true, true, true, true, true, false, false, false}));
        QCOMPARE(form.nGame, 1);
        RestoreFileTypeDefaults(form);
        QCOMPARE(form.fileTypes, (std::array<bool, 6>{true, true, false, false, false, false}));
        RestoreGeneralDefaults(form);
        QCOMPARE(form.nGame, 0);
        QCOMPARE(form.sFont, kDefaultFont);
        QCOMPARE(form.colours[1], Rgb(255, 255, 255));
        QCOMPARE(form.colours[2], Rgb(0, 128, 0));
        QCOMPARE(form.colours[6], Rgb(128, 128, 128));
        QCOMPARE(form.formats, (std::array<bool, 7>{true, true, true, true, true, true, true}));
    }

    void sampleShowsUnformattedClassesInTheTextColour_data()
    {
        QTest::addColumn<int>("offItem");
        QTest::addColumn<QString>("expected");
        const QString sAll = "; Some sample text=008000|_unit=808080 =000000 addWeapon=0000ff \"=000000 "
                             "M4A1=ff00ff \"=000000||if=ff0000 (=000000 _x=808080 == 0)=000000 then=ff0000 "
                             "(=000000 _x=808080 = 5)=000000";
        QTest::newRow("all formatted") << -1 << sAll;
        QTest::newRow("commands off") << 3 << QString(sAll).replace("addWeapon=0000ff", "addWeapon=000000");
        QTest::newRow("remarks off") << 2 << QString(sAll).replace("text=008000", "text=000000");
    }
    void sampleShowsUnformattedClassesInTheTextColour()
    {
        QFETCH(int, offItem);
        QFETCH(QString, expected);
        SDefaults d;
        SForm form = FormOf(d.settings);
        if (offItem >= 0)
            form.formats[size_t(offItem)] = false;
        QCOMPARE(SampleOf(form), expected);
    }

    void standInNoteNamesBothFaces_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("inUse");
        QTest::addColumn<QString>("note");
        QTest::newRow("installed") << "DejaVu Sans Mono"
                                   << "DejaVu Sans Mono"
                                   << "";
        QTest::newRow("installed, other case") << "courier new"
                                               << "Courier New"
                                               << "";
        QTest::newRow("metric twin") << "Courier New"
                                     << "Liberation Mono"
                                     << "Shown with Liberation Mono: Courier New is not installed";
        QTest::newRow("no font at all") << "Courier New"
                                        << ""
                                        << "";
    }
    void standInNoteNamesBothFaces()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, inUse);
        QFETCH(QString, note);
        QCOMPARE(StandInNote(chosen, inUse), note);
    }
};

QTEST_APPLESS_MAIN(TestOptionsForm)
#include "tst_optionsform.moc"
