#include "core/wizards/briefingform.h"
#include "core/wizards/briefingpage.h"
#include "tests/core/wizards/goldenfile.h"
#include "tests/core/wizards/wizardforms.h"

#include <QDir>
#include <QtTest>

using namespace VelkTest;
using namespace Briefing;

namespace {

const QString kHeader = QStringLiteral("; ****************************************************************\r\n"
                                       "; Init script for [GAME STRING]\r\n"
                                       "; ****************************************************************\r\n");

SContext Context(bool bVelk)
{
    return {bVelk, QStringLiteral("Version 1.3.4000"), kHeader};
}

QString GoldenDir()
{
    return QFINDTESTDATA("golden/briefing");
}

struct SCase
{
    SForm form;
    bool bVelk = true;
};

SCase ReadCase(const QString& sName)
{
    bool bRead = false;
    const SFormFile file = ReadFormFile(QDir(GoldenDir()).filePath(sName + QStringLiteral(".form")), &bRead);
    [&] { QVERIFY2(bRead, qPrintable(sName)); }();
    QStringList unknown;
    SCase testCase{BriefingForm(file, &unknown), file.bVelk};
    [&] { QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join(u','))); }();
    return testCase;
}

// What a page keeps of a side: not the flags, nothing of an ending
// without a title.
SSide KeptSide(SSide side)
{
    side.arHide = {};
    side.arDone = {};
    for (int n = 0; n < kEndings; ++n)
        if (side.arEndingTitle[n].isEmpty())
            side.arEndingText[n].clear();
    return side;
}

// The form reading the page gives back, as the form was when saved.
SForm KeptForm(SForm form)
{
    SForm kept;
    if (!form.bMultiSided) {
        kept.current = KeptSide(form.current);
        return kept;
    }
    form.arSides[form.nCurrentSide] = form.current;
    kept.bMultiSided = true;
    for (int nSide = 0; nSide < kSides; ++nSide)
        kept.arSides[nSide] = form.arSides[nSide].sPlan.isEmpty() ? SSide() : KeptSide(form.arSides[nSide]);
    kept.current = kept.arSides[0];
    return kept;
}

const char* const kCases[] = {
    "single-empty",
    "single-plan-two-lines",
    "single-objective-gaps",
    "single-hide-done-order",
    "single-flag-on-empty-objective",
    "single-endings",
    "single-qonmar",
    "single-code-page",
    "single-beyond-code-page",
    "multi-plan-two-lines",
    "multi-only-side1",
    "multi-three-sides-qonmar",
    "multi-current-side-unsaved",
};

void AddCaseRows()
{
    QTest::addColumn<QString>("name");
    for (const char* pszCase : kCases)
        QTest::newRow(pszCase) << QString::fromLatin1(pszCase);
}

SOutput Made(const SCase& testCase)
{
    SForm form = testCase.form;
    return Create(form, Context(testCase.bVelk));
}

}  // namespace

class TestBriefingWizard : public QObject
{
    Q_OBJECT

private slots:
    void pagesMatchTheGoldenFiles_data() { AddCaseRows(); }
    void pagesMatchTheGoldenFiles();
    void everyGoldenFileHasItsCase();
    void pagesReadBackIntoTheFormTheyCameFrom_data() { AddCaseRows(); }
    void pagesReadBackIntoTheFormTheyCameFrom();
    void pagesReadUnderTheOtherGame_data() { AddCaseRows(); }
    void pagesReadUnderTheOtherGame();

    void initListsHiddenBeforeDone();
    void planOnTwoLines_data();
    void planOnTwoLines();
    void readBack_data();
    void readBack();
    void readBackLeavesSlotsOfMissingValues();

    void sideTable_data();
    void sideTable();
    void groupCaptionsNameTheSideShown_data();
    void groupCaptionsNameTheSideShown();
    void switchingSidesKeepsEachSidesText();
    void clearingSeveralSidesReturnsToSideZeroAndKeepsTheOthers();
    void resetClearsStoreAndMode();
    void mapLinkWrapsTheSelection();
};

void TestBriefingWizard::pagesMatchTheGoldenFiles()
{
    QFETCH(QString, name);
    const SCase testCase = ReadCase(name);
    if (QTest::currentTestFailed())
        return;
    const SOutput output = Made(testCase);
    const QDir dir(GoldenDir());
    const QString sPageError = AgainstGolden(dir.filePath(name + QStringLiteral(".html")), SavedBytes(output.sPage));
    QVERIFY2(sPageError.isEmpty(), qPrintable(sPageError));
    const QString sInitError = AgainstGolden(dir.filePath(name + QStringLiteral(".sqs")), SavedBytes(output.sInit));
    QVERIFY2(sInitError.isEmpty(), qPrintable(sInitError));
    // Whatever the code page, the saved bytes give the text back: no
    // character was traded for a "?".
    const QByteArray bytes = SavedBytes(output.sPage);
    QCOMPARE(CodePage::Decode(bytes, CodePage::DetectEncoding(bytes)), output.sPage);
}

void TestBriefingWizard::everyGoldenFileHasItsCase()
{
    QStringList names;
    for (const char* pszCase : kCases)
        names.append(QString::fromLatin1(pszCase));
    const QStringList files = QDir(GoldenDir()).entryList(QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString& sFile : files)
        QVERIFY2(names.contains(QFileInfo(sFile).completeBaseName()), qPrintable(sFile));
}

void TestBriefingWizard::pagesReadBackIntoTheFormTheyCameFrom()
{
    QFETCH(QString, name);
    const SCase testCase = ReadCase(name);
    SForm loaded;
    QVERIFY(LoadBriefing(Made(testCase).sPage, testCase.bVelk, &loaded));
    QCOMPARE(loaded, KeptForm(testCase.form));
}

void TestBriefingWizard::pagesReadUnderTheOtherGame()
{
    QFETCH(QString, name);
    const SCase testCase = ReadCase(name);
    SForm loaded;
    QVERIFY(LoadBriefing(Made(testCase).sPage, !testCase.bVelk, &loaded));
    if (testCase.form.bMultiSided) {
        SForm expected;
        expected.bMultiSided = true;
        QCOMPARE(loaded, expected);
    } else {
        // One side's markers carry no label: the other game reads them all.
        QCOMPARE(loaded, KeptForm(testCase.form));
    }
}

void TestBriefingWizard::initListsHiddenBeforeDone()
{
    SForm form;
    form.current.arHide[1] = true;
    form.current.arHide[2] = true;
    form.current.arDone[2] = true;
    QCOMPARE(Create(form, Context(false)).sInit,
             QStringLiteral("; ****************************************************************\r\n"
                            "; Init script for Qonmar Front\r\n"
                            "; ****************************************************************\r\n"
                            "\r\n"
                            "\"2\" objStatus \"HIDDEN\"\r\n"
                            "\"3\" objStatus \"HIDDEN\"\r\n"
                            "\"3\" objStatus \"DONE\"\r\n"
                            "\r\n"
                            "exit\r\n"));
}

void TestBriefingWizard::planOnTwoLines_data()
{
    QTest::addColumn<bool>("multiSided");
    QTest::addColumn<QString>("inPage");
    QTest::newRow("one side: joined by <br>")
        << false << QStringLiteral("<!-- [PLAN] -->\r\nfirst line<br>second line\r\n<!-- [END] -->");
    QTest::newRow("several sides: as typed")
        << true << QStringLiteral("<!-- [PLAN_BLUFOR] -->\r\nfirst line\r\nsecond line\r\n<!-- [END] -->");
}

void TestBriefingWizard::planOnTwoLines()
{
    QFETCH(bool, multiSided);
    QFETCH(QString, inPage);
    SForm form;
    form.bMultiSided = multiSided;
    form.current.sPlan = QStringLiteral("first line\r\nsecond line");
    const QString sPage = Create(form, Context(true)).sPage;
    QVERIFY2(sPage.contains(inPage), qPrintable(sPage));
    SForm loaded;
    QVERIFY(LoadBriefing(sPage, true, &loaded));
    QCOMPARE(loaded.current.sPlan, QStringLiteral("first line\r\nsecond line"));
}

void TestBriefingWizard::readBack_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("velk");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QString>("objective1");
    QTest::addColumn<QString>("endingText1");
    QTest::addColumn<bool>("multiSided");

    const QString sPlan = QStringLiteral("<!-- [PLAN] -->\r\nP\r\n<!-- [END] -->\r\n");
    QTest::newRow("no plan marker") << QStringLiteral("<html>\r\n<!-- [NOTES] -->\r\nN\r\n<!-- [END] -->\r\n") << true
                                    << false << ""
                                    << ""
                                    << "" << false;
    QTest::newRow("plan without its end")
        << QStringLiteral("<!-- [PLAN] -->\r\nP\r\n<!-- [OBJ_1] -->\r\n") << true << false << ""
        << ""
        << "" << false;
    QTest::newRow("end marker not on a line of its own")
        << QStringLiteral("<!-- [PLAN] -->\r\nP<!-- [END] -->\r\n") << true << false << ""
        << ""
        << "" << false;
    QTest::newRow("plan marker without its line end")
        << QStringLiteral("<!-- [PLAN] -->P\r\n<!-- [END] -->\r\n") << true << false << ""
        << ""
        << "" << false;
    QTest::newRow("hand edits around the markers survive")
        << QStringLiteral("<h1>Mine</h1>\r\n<!-- [PLAN] -->\r\nP\r\n<!-- [END] --> <b>x</b>\r\n<!-- [OBJ_1] -->\r\n"
                          "O1\r\n<!-- [END] -->")
        << true << true << "P"
        << "O1"
        << "" << false;
    QTest::newRow("<br> in the plan comes back as a line break")
        << QStringLiteral("<!-- [PLAN] -->\r\na<br>b<br>\r\n<!-- [END] -->") << false << true << "a\r\nb\r\n"
        << ""
        << "" << false;
    QTest::newRow("ending text without its title is not read")
        << sPlan + QStringLiteral("<!-- [TEXT_1] -->\r\nT\r\n<!-- [END] -->\r\n") << true << true << "P"
        << ""
        << "" << false;
    QTest::newRow("ending title with its text") << sPlan
            + QStringLiteral("<!-- [TITLE_1] -->\r\nW\r\n<!-- [END] -->\r\n<!-- [TEXT_1] -->\r\nT\r\n<!-- [END] -->")
                                                << true << true << "P"
                                                << ""
                                                << "T" << false;
    QTest::newRow("a marker typed into a value is found first")
        << QStringLiteral("<!-- [PLAN] -->\r\nsee <!-- [OBJ_1] -->\r\nfake\r\n<!-- [END] -->\r\n"
                          "<!-- [OBJ_1] -->\r\nreal\r\n<!-- [END] -->")
        << true << true << "see <!-- [OBJ_1] -->\r\nfake"
        << "fake"
        << "" << false;
    QTest::newRow("several sides, nothing found, nothing said")
        << QStringLiteral("<!-- [MULTI-SIDED] -->\r\n") << true << true << ""
        << ""
        << "" << true;
    QTest::newRow("several sides of this game")
        << QStringLiteral("<!-- [MULTI-SIDED] -->\r\n<!-- [PLAN_WEST] -->\r\nW\r\n<!-- [END] -->\r\n"
                          "<!-- [OBJ_1_WEST] -->\r\nO\r\n<!-- [END] -->\r\n")
        << false << true << "W"
        << "O"
        << "" << true;
    QTest::newRow("several sides of the other game")
        << QStringLiteral("<!-- [MULTI-SIDED] -->\r\n<!-- [PLAN_WEST] -->\r\nW\r\n<!-- [END] -->\r\n") << true << true
        << ""
        << ""
        << "" << true;
}

void TestBriefingWizard::readBack()
{
    QFETCH(QString, page);
    QFETCH(bool, velk);
    QFETCH(bool, loaded);
    QFETCH(QString, plan);
    QFETCH(QString, objective1);
    QFETCH(QString, endingText1);
    QFETCH(bool, multiSided);
    SForm form;
    QCOMPARE(LoadBriefing(page, velk, &form), loaded);
    QCOMPARE(form.current.sPlan, plan);
    QCOMPARE(form.current.arObjective[0], objective1);
    QCOMPARE(form.current.arEndingText[0], endingText1);
    QCOMPARE(form.bMultiSided, multiSided);
    QCOMPARE(form.nCurrentSide, 0);
}

void TestBriefingWizard::readBackLeavesSlotsOfMissingValues()
{
    SForm form;
    form.arSides[1].sNotes = QStringLiteral("kept");
    form.arSides[0].arObjective[4] = QStringLiteral("kept too");
    QVERIFY(LoadBriefing(QStringLiteral("<!-- [MULTI-SIDED] -->\r\n<!-- [NOTES_BLUFOR] -->\r\nread\r\n<!-- [END] -->"),
                         true, &form));
    QCOMPARE(form.arSides[1].sNotes, QStringLiteral("kept"));
    QCOMPARE(form.current.sNotes, QStringLiteral("read"));
    QCOMPARE(form.current.arObjective[4], QStringLiteral("kept too"));
}

void TestBriefingWizard::sideTable_data()
{
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("initName");
    QTest::addColumn<QString>("radio");
    QTest::newRow("0 velk") << 0 << true << "west"
                            << "BLUFOR"
                            << "BLUFOR"
                            << "Edit BLUFOR";
    QTest::newRow("1 velk") << 1 << true << "east"
                            << "OPFOR"
                            << "OPFOR"
                            << "Edit OPFOR";
    QTest::newRow("2 velk") << 2 << true << "guerrila"
                            << "INDEPENDENT"
                            << "GUERRILA"
                            << "Edit INDEPENDENT";
    QTest::newRow("0 qonmar") << 0 << false << "west"
                              << "WEST"
                              << "WEST"
                              << "Edit WEST";
    QTest::newRow("1 qonmar") << 1 << false << "east"
                              << "EAST"
                              << "EAST"
                              << "Edit EAST";
    QTest::newRow("2 qonmar") << 2 << false << "guerrila"
                              << "RESISTANCE"
                              << "GUERRILA"
                              << "Edit RESISTANCE";
}

void TestBriefingWizard::sideTable()
{
    QFETCH(int, side);
    QFETCH(bool, velk);
    QFETCH(QString, anchor);
    QFETCH(QString, label);
    QFETCH(QString, initName);
    QFETCH(QString, radio);
    QCOMPARE(SideAnchor(side), anchor);
    QCOMPARE(SideLabel(side, velk), label);
    QCOMPARE(InitSideName(side, velk), initName);
    QCOMPARE(RadioCaption(side, velk), radio);
}

void TestBriefingWizard::groupCaptionsNameTheSideShown_data()
{
    QTest::addColumn<bool>("multiSided");
    QTest::addColumn<int>("side");
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("one side") << false << 0 << true << QStringList{"Plan", "Notes", "Objectives", "Endings"};
    QTest::newRow("side 1, velk") << true << 1 << true
                                  << QStringList{"Plan - OPFOR", "Notes - OPFOR", "Objectives - OPFOR",
                                                 "Endings - OPFOR"};
    QTest::newRow("side 2, qonmar") << true << 2 << false
                                    << QStringList{"Plan - RESISTANCE", "Notes - RESISTANCE", "Objectives - RESISTANCE",
                                                   "Endings - RESISTANCE"};
}

void TestBriefingWizard::groupCaptionsNameTheSideShown()
{
    QFETCH(bool, multiSided);
    QFETCH(int, side);
    QFETCH(bool, velk);
    QFETCH(QStringList, captions);
    SForm form;
    form.bMultiSided = multiSided;
    form.nCurrentSide = side;
    QStringList actual;
    for (EGroup eGroup : {EGroup::Plan, EGroup::Notes, EGroup::Objectives, EGroup::Endings})
        actual.append(GroupCaption(form, eGroup, velk));
    QCOMPARE(actual, captions);
}

void TestBriefingWizard::switchingSidesKeepsEachSidesText()
{
    SForm form;
    SetMultiSided(form, true);
    form.current.sPlan = QStringLiteral("west plan");
    form.current.arHide[3] = true;
    SwitchSide(form, 2);
    QCOMPARE(form.nCurrentSide, 2);
    QCOMPARE(form.current, SSide());
    form.current.sNotes = QStringLiteral("guerrila notes");
    SwitchSide(form, 0);
    QCOMPARE(form.current.sPlan, QStringLiteral("west plan"));
    QVERIFY(form.current.arHide[3]);
    QCOMPARE(form.arSides[2].sNotes, QStringLiteral("guerrila notes"));
}

void TestBriefingWizard::clearingSeveralSidesReturnsToSideZeroAndKeepsTheOthers()
{
    SForm form;
    SetMultiSided(form, true);
    form.current.sPlan = QStringLiteral("west");
    SwitchSide(form, 1);
    form.current.sPlan = QStringLiteral("east, not yet stored");
    SetMultiSided(form, false);
    QCOMPARE(form.nCurrentSide, 0);
    QCOMPARE(form.nSideChoice, 0);
    QCOMPARE(form.current.sPlan, QStringLiteral("west"));
    // Ticked again before saving, the other side is still there and written.
    SetMultiSided(form, true);
    QVERIFY(Create(form, Context(true)).sPage.contains(QStringLiteral("east, not yet stored")));
}

void TestBriefingWizard::resetClearsStoreAndMode()
{
    SForm form;
    SetMultiSided(form, true);
    form.sMarkerName = QStringLiteral("m");
    form.current.sPlan = QStringLiteral("x");
    SwitchSide(form, 2);
    Reset(form);
    QCOMPARE(form, SForm());
}

void TestBriefingWizard::mapLinkWrapsTheSelection()
{
    QCOMPARE(MapLink(QStringLiteral("obj1"), QStringLiteral("the bridge")),
             QStringLiteral("<a href = \"marker:obj1\">the bridge</a>"));
}

QTEST_GUILESS_MAIN(TestBriefingWizard)

#include "tst_briefingwizard.moc"
