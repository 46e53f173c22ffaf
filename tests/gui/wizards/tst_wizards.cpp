#include "core/app/prompter.h"
#include "core/data/codepage.h"
#include "core/wizards/briefingpage.h"
#include "core/wizards/overviewpage.h"
#include "gui/controls/commands.h"
#include "gui/wizards/briefingdlg.h"
#include "gui/wizards/overviewdlg.h"
#include "gui/wizards/pagepreview.h"
#include "gui/wizards/wizardcommands.h"
#include "tests/support/editorfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace VelkTest;

namespace {

template <class T> T* Child(const QWidget& parent, const QString& sName)
{
    T* pChild = parent.findChild<T*>(sName);
    if (!pChild)
        qWarning("no control named %s", qPrintable(sName));
    return pChild;
}

QPlainTextEdit* Box(const QWidget& dialog, const char* pszName)
{
    return Child<QPlainTextEdit>(dialog, QLatin1String(pszName));
}

QLineEdit* Line(const QWidget& dialog, const QString& sName)
{
    return Child<QLineEdit>(dialog, sName);
}

QPushButton* Button(const QWidget& dialog, const char* pszName)
{
    return Child<QPushButton>(dialog, QLatin1String(pszName));
}

QString BoxText(const QWidget& dialog, const char* pszName)
{
    return Box(dialog, pszName)->toPlainText();
}

// The four group captions of the briefing form, in their order.
QStringList GroupCaptions(const CBriefingDlg& dialog)
{
    QStringList captions;
    for (const QGroupBox* pGroup : dialog.findChildren<QGroupBox*>())
        if (pGroup->title() != QStringLiteral("Map Hyperlinks") && pGroup->title() != QStringLiteral("Preview"))
            captions.append(pGroup->title());
    return captions;
}

QList<bool> RadiosEnabled(const CBriefingDlg& dialog)
{
    QList<bool> enabled;
    for (int nSide = 0; nSide < Briefing::kSides; ++nSide)
        enabled.append(Child<QRadioButton>(dialog, QStringLiteral("side%1").arg(nSide))->isEnabled());
    return enabled;
}

CWizardCommands& Wizards(CStart& start)
{
    return *start.App().MainFrame()->findChild<CWizardCommands*>();
}

template <class TDialog> CWizardCommands::Runner Drive(std::function<bool(TDialog&)> drive)
{
    return [drive](QDialog& dialog) {
        auto* pDialog = qobject_cast<TDialog*>(&dialog);
        return pDialog && drive(*pDialog);
    };
}

bool Enabled(CStart& start, ECommand eCommand)
{
    CCommands& commands = start.App().MainFrame()->Commands();
    commands.Refresh();
    return commands.Action(eCommand)->isEnabled();
}

// Runs a command as the menu would: only while its rule enables it.
bool Run(CStart& start, ECommand eCommand)
{
    if (!Enabled(start, eCommand))
        return false;
    start.App().MainFrame()->Commands().Action(eCommand)->trigger();
    return true;
}

QList<CScriptDoc*> Documents(CStart& start)
{
    return start.App().Documents().AllDocuments();
}

// A new document from a wizard is unsaved: its title carries the "*".
CScriptDoc* UnsavedTitled(CStart& start, const QString& sTitle)
{
    for (CScriptDoc* pDoc : Documents(start))
        if (pDoc->GetTitle() == sTitle + u'*')
            return pDoc;
    return nullptr;
}

// The text as saving writes it: CR LF line ends.
QString SavedText(const CScriptDoc& doc)
{
    return doc.PlainText().replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

Briefing::SContext Context(bool bVelk)
{
    return {bVelk, QStringLiteral("Version 1.3.4000"), QStringLiteral("; init\r\n")};
}

// A page of one side made by the wizard itself, with a plan on two lines.
QByteArray SingleSidedPage()
{
    Briefing::SForm form;
    form.current.sPlan = QStringLiteral("Go north.\r\nThen east.");
    form.current.arObjective[0] = QStringLiteral("Find the pilot");
    form.current.arHide[0] = true;
    return Briefing::Create(form, Context(true)).sPage.toLatin1();
}

// Remembers what the file chooser was asked.
class CChooserPrompter : public IPrompter
{
public:
    EAnswer Ask(const QString& sText, const QString&, EButtons, EIcon) override
    {
        m_messages.append(sText);
        return EAnswer::Ok;
    }
    QString GetOpenFileName(const QString& sTitle, const QString& sFilter) override
    {
        m_sTitle = sTitle;
        m_sFilter = sFilter;
        return m_sAnswer;
    }

    QString m_sAnswer;
    QString m_sTitle;
    QString m_sFilter;
    QStringList m_messages;
};

// Pictures for people to look at, when VELK_WIZARD_PICTURES names a folder.
void Picture(QWidget& dialog, const QString& sName)
{
    const QString sDir = qEnvironmentVariable("VELK_WIZARD_PICTURES");
    if (!sDir.isEmpty())
        dialog.grab().save(QDir(sDir).filePath(sName));
}

}  // namespace

class TestWizards : public QObject
{
    Q_OBJECT

private slots:
    void newBriefingOpensPageAndInitDocuments_data();
    void newBriefingOpensPageAndInitDocuments();
    void emptyBriefingOpensNoInitDocument();
    void editCommandsFollowTitleAndMarker_data();
    void editCommandsFollowTitleAndMarker();
    void editBriefingReadsBackAndReplacesThePage();
    void editBriefingOfUnreadablePageSaysSoAndStillReplaces();
    void otherGamesPageForSeveralSidesLoadsNothingAndSaysNothing();
    void cancelLeavesEverythingAsItWas();

    void sidesStoreAndLoadTheForm();
    void olderGameNamesItsSides();
    void resetClearsEverything();
    void insertHyperlinkFollowsTheFocus();
    void previewShowsThePageAsItIsTyped();
    void everyControlIsReachableByKeyboard();

    void newOverviewOpensItsPage_data();
    void newOverviewOpensItsPage();
    void textBeyondTheCodePageIsKeptWhenSaved();
    void browseTakesTheFileNameAlone();
    void editOverviewKeepsLineBreaks();
    void editOverviewOfBrokenPageKeepsWhatWasRead();
};

void TestWizards::newBriefingOpensPageAndInitDocuments_data()
{
    QTest::addColumn<int>("velk");
    QTest::addColumn<int>("showExt");
    QTest::addColumn<QString>("briefingTitle");
    QTest::addColumn<QString>("initTitle");
    QTest::addColumn<QString>("game");
    QTest::newRow("velk") << 1 << 0 << "Briefing"
                          << "Init"
                          << "Velk Vanguard";
    QTest::newRow("qonmar, extensions shown") << 0 << 1 << "Briefing.html"
                                              << "Init.sqs"
                                              << "Qonmar Front";
}

void TestWizards::newBriefingOpensPageAndInitDocuments()
{
    QFETCH(int, velk);
    QFETCH(int, showExt);
    QFETCH(QString, briefingTitle);
    QFETCH(QString, initTitle);
    QFETCH(QString, game);
    CMemorySettingsStore seed = Seed({{"Velk", velk}, {"ShowExt", showExt}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    Briefing::SForm shown;
    Wizards(start).SetRunner(Drive<CBriefingDlg>([&](CBriefingDlg& dialog) {
        QTest::keyClicks(Box(dialog, "plan"), QStringLiteral("Go north."));
        QTest::keyClick(Box(dialog, "plan"), Qt::Key_Return);
        QTest::keyClicks(Box(dialog, "plan"), QStringLiteral("Then east."));
        QTest::keyClicks(Line(dialog, QStringLiteral("objective2")), QStringLiteral("Find the pilot"));
        Child<QCheckBox>(dialog, QStringLiteral("hide2"))->setChecked(true);
        Child<QCheckBox>(dialog, QStringLiteral("done4"))->setChecked(true);
        QTest::keyClicks(Line(dialog, QStringLiteral("endingTitle1")), QStringLiteral("Rescued"));
        shown = dialog.Form();
        Button(dialog, "createSave")->click();
        return dialog.result() == QDialog::Accepted;
    }));
    // From the menu, as the user finds it.
    QVERIFY(Trigger(start, QStringLiteral("&Briefing Wizard...")));

    QCOMPARE(shown.current.sPlan, QStringLiteral("Go north.\r\nThen east."));
    CScriptDoc* pBriefing = UnsavedTitled(start, briefingTitle);
    CScriptDoc* pInit = UnsavedTitled(start, initTitle);
    QVERIFY(pBriefing && pInit);
    QCOMPARE(Documents(start).size(), 2);
    const QString sPage = SavedText(*pBriefing);
    QVERIFY(sPage.contains(QStringLiteral("<!-- [PLAN] -->\r\nGo north.<br>Then east.\r\n<!-- [END] -->\r\n")));
    QVERIFY(sPage.contains(QStringLiteral("<p><a name=\"obj_2\"></a>\r\n<!-- [OBJ_2] -->\r\nFind the pilot\r\n")));
    QVERIFY(sPage.contains(QStringLiteral("<!-- Briefing file for ") + game));
    // The header is header.dat's, with the game filled in.
    QVERIFY(SavedText(*pInit).startsWith(QStringLiteral("; ****")));
    QVERIFY(SavedText(*pInit).contains(QStringLiteral("Init script for ") + game + QStringLiteral("\r\n")));
    QVERIFY(SavedText(*pInit).endsWith(QStringLiteral("\r\n\r\n\"2\" objStatus \"HIDDEN\"\r\n"
                                                      "\"4\" objStatus \"DONE\"\r\n\r\nexit\r\n")));
    QCOMPARE(start.Prompter().m_messages, QStringList{QStringLiteral("Briefing was created successfully.")});
    QCOMPARE(start.Prompter().m_captions, QStringList{QStringLiteral("Briefing Created")});
    // New documents: unsaved, no file, their history starting at the page.
    QVERIFY(pBriefing->GetPathName().isEmpty());
    QVERIFY(!pBriefing->CanUndo());

    // Saved, the page is the bytes the wizard made: CR LF, Windows-1252.
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("briefing.html"));
    QVERIFY(pBriefing->OnSaveDocument(sPath));
    QCOMPARE(ReadFile(sPath), sPage.toLatin1());
}

void TestWizards::emptyBriefingOpensNoInitDocument()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    Wizards(start).SetRunner(Drive<CBriefingDlg>([](CBriefingDlg& dialog) {
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Run(start, ECommand::BriefingWizard));
    QCOMPARE(Documents(start).size(), 1);
    QVERIFY(UnsavedTitled(start, QStringLiteral("Briefing")));
    QVERIFY(SavedText(*Documents(start).first())
                .contains(QStringLiteral("<!-- [PLAN] -->\r\n\r\n<!-- [END] -->\r\n</p><hr>")));
}

void TestWizards::editCommandsFollowTitleAndMarker_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("briefing");
    QTest::addColumn<bool>("overview");
    const QByteArray briefing = "<html>\r\n<!-- [BRIEFING_WIZARD_30] -->\r\n</html>\r\n";
    const QByteArray overview = "<html>\r\n<!-- [OVERVIEW_WIZARD_20] -->\r\n</html>\r\n";
    QTest::newRow("Briefing2.html: the title's first eight characters")
        << "Briefing2.html" << briefing << true << false;
    QTest::newRow("MyBriefing.html") << "MyBriefing.html" << briefing << false << false;
    QTest::newRow("BRIEFING.HTML in capitals") << "BRIEFING.HTML" << briefing << true << false;
    QTest::newRow("briefing.html without the marker") << "briefing.html" << QByteArray("<html>\r\n") << false << false;
    QTest::newRow("briefing title, overview marker") << "briefing.html" << overview << false << false;
    QTest::newRow("overview2.html") << "overview2.html" << overview << false << true;
    QTest::newRow("myoverview.html") << "myoverview.html" << overview << false << false;
    QTest::newRow("a script named overview") << "overview.sqs" << overview << false << true;
}

void TestWizards::editCommandsFollowTitleAndMarker()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, briefing);
    QFETCH(bool, overview);
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(!Enabled(start, ECommand::EditBriefing));
    QVERIFY(!Enabled(start, ECommand::EditOverview));
    QTemporaryDir dir;
    QVERIFY(Open(start, dir, file, content));
    QCOMPARE(Enabled(start, ECommand::EditBriefing), briefing);
    QCOMPARE(Enabled(start, ECommand::EditOverview), overview);
    QVERIFY(Enabled(start, ECommand::BriefingWizard));
    QVERIFY(Enabled(start, ECommand::OverviewWizard));
}

void TestWizards::editBriefingReadsBackAndReplacesThePage()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("Briefing.html"), SingleSidedPage());
    QVERIFY(pDoc);
    QString sPlan;
    bool bHidden = true;
    Wizards(start).SetRunner(Drive<CBriefingDlg>([&](CBriefingDlg& dialog) {
        sPlan = BoxText(dialog, "plan");
        bHidden = Child<QCheckBox>(dialog, QStringLiteral("hide1"))->isChecked();
        Line(dialog, QStringLiteral("objective1"))->setText(QStringLiteral("Find the pilot alive"));
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Run(start, ECommand::EditBriefing));
    QCOMPARE(sPlan, QStringLiteral("Go north.\nThen east."));
    QVERIFY2(!bHidden, "the page holds no Hide/Done flags");
    // The same document, its text replaced, modified, its history restarted.
    QCOMPARE(Documents(start), QList<CScriptDoc*>{pDoc});
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("<!-- [OBJ_1] -->\r\nFind the pilot alive\r\n")));
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("Go north.<br>Then east.")));
    QVERIFY(pDoc->IsModified());
    QVERIFY(!pDoc->CanUndo());
    QCOMPARE(start.Prompter().m_messages, QStringList{QStringLiteral("The briefing was changed successfully.")});
    QCOMPARE(start.Prompter().m_captions, QStringList{QStringLiteral("Briefing Changed")});
}

void TestWizards::editBriefingOfUnreadablePageSaysSoAndStillReplaces()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("briefing.html"),
                            "<html>\r\n<!-- [BRIEFING_WIZARD_30] -->\r\n<!-- [PLAN] -->\r\nno end\r\n</html>\r\n");
    QVERIFY(pDoc);
    int nMessagesWhenShown = -1;
    QString sPlan = QStringLiteral("unset");
    Wizards(start).SetRunner(Drive<CBriefingDlg>([&](CBriefingDlg& dialog) {
        nMessagesWhenShown = int(start.Prompter().m_messages.size());
        sPlan = BoxText(dialog, "plan");
        QTest::keyClicks(Box(dialog, "plan"), QStringLiteral("New plan"));
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Run(start, ECommand::EditBriefing));
    QCOMPARE(nMessagesWhenShown, 1);
    QCOMPARE(start.Prompter().m_messages.first(), Briefing::ReadBackError());
    QCOMPARE(start.Prompter().m_captions.first(), QStringLiteral("FILE ERROR"));
    QCOMPARE(sPlan, QString());
    QCOMPARE(Documents(start).size(), 1);
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("<!-- [PLAN] -->\r\nNew plan\r\n<!-- [END] -->")));
    QCOMPARE(start.Prompter().m_captions.last(), QStringLiteral("Briefing Changed"));
}

void TestWizards::otherGamesPageForSeveralSidesLoadsNothingAndSaysNothing()
{
    Briefing::SForm form;
    form.bMultiSided = true;
    form.current.sPlan = QStringLiteral("West plan");
    const QString sPage = Briefing::Create(form, Context(true)).sPage;

    CMemorySettingsStore seed = Seed({{"Velk", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    QVERIFY(Open(start, dir, QStringLiteral("briefing.html"), sPage.toLatin1()));
    bool bMultiSided = false;
    QList<bool> radios;
    QStringList captions;
    QString sPlan = QStringLiteral("unset");
    Wizards(start).SetRunner(Drive<CBriefingDlg>([&](CBriefingDlg& dialog) {
        bMultiSided = Child<QCheckBox>(dialog, QStringLiteral("multiSided"))->isChecked();
        radios = RadiosEnabled(dialog);
        captions = GroupCaptions(dialog);
        sPlan = BoxText(dialog, "plan");
        return false;
    }));
    QVERIFY(Run(start, ECommand::EditBriefing));
    QCOMPARE(start.Prompter().m_messages, QStringList());
    QVERIFY(bMultiSided);
    QCOMPARE(radios, QList<bool>({true, true, true}));
    QCOMPARE(captions, QStringList({"Plan - WEST", "Notes - WEST", "Objectives - WEST", "Endings - WEST"}));
    QCOMPARE(sPlan, QString());
}

void TestWizards::cancelLeavesEverythingAsItWas()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    const QByteArray page = "<html>\r\n<!-- [OVERVIEW_WIZARD_20] -->\r\n<!-- [TITLE] -->\r\nT\r\n<!-- [END] -->\r\n"
                            "<!-- [TEXT] -->\r\nX\r\n<!-- [END] -->\r\n<img src=\"p.jpg\">\r\n";
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("overview.html"), page);
    QVERIFY(pDoc);
    Wizards(start).SetRunner([](QDialog& dialog) {
        if (auto* pOverview = qobject_cast<COverviewDlg*>(&dialog))
            Line(*pOverview, QStringLiteral("missionTitle"))->setText(QStringLiteral("changed"));
        Button(dialog, "cancel")->click();
        return dialog.result() == QDialog::Accepted;
    });
    QVERIFY(Run(start, ECommand::EditOverview));
    QVERIFY(Run(start, ECommand::BriefingWizard));
    QVERIFY(Run(start, ECommand::OverviewWizard));
    QCOMPARE(Documents(start), QList<CScriptDoc*>{pDoc});
    QCOMPARE(SavedText(*pDoc).toLatin1(), page);
    QVERIFY(!pDoc->IsModified());
    QCOMPARE(start.Prompter().m_messages, QStringList());
}

void TestWizards::sidesStoreAndLoadTheForm()
{
    CStart start;
    CBriefingDlg dialog(Context(true), {}, {}, nullptr);
    auto* pMulti = Child<QCheckBox>(dialog, QStringLiteral("multiSided"));
    QCOMPARE(RadiosEnabled(dialog), QList<bool>({false, false, false}));
    QCOMPARE(GroupCaptions(dialog), QStringList({"Plan", "Notes", "Objectives", "Endings"}));
    pMulti->click();
    QCOMPARE(RadiosEnabled(dialog), QList<bool>({true, true, true}));
    QCOMPARE(GroupCaptions(dialog),
             QStringList({"Plan - BLUFOR", "Notes - BLUFOR", "Objectives - BLUFOR", "Endings - BLUFOR"}));
    QTest::keyClicks(Box(dialog, "plan"), QStringLiteral("west"));
    Child<QCheckBox>(dialog, QStringLiteral("done3"))->setChecked(true);
    Child<QRadioButton>(dialog, QStringLiteral("side2"))->click();
    QCOMPARE(GroupCaptions(dialog).first(), QStringLiteral("Plan - INDEPENDENT"));
    QCOMPARE(BoxText(dialog, "plan"), QString());
    QVERIFY(!Child<QCheckBox>(dialog, QStringLiteral("done3"))->isChecked());
    QTest::keyClicks(Box(dialog, "plan"), QStringLiteral("guerrila"));
    Child<QRadioButton>(dialog, QStringLiteral("side0"))->click();
    QCOMPARE(BoxText(dialog, "plan"), QStringLiteral("west"));
    QVERIFY(Child<QCheckBox>(dialog, QStringLiteral("done3"))->isChecked());
    // Cleared, the box goes back to side 0; the other sides wait in the store.
    Child<QRadioButton>(dialog, QStringLiteral("side2"))->click();
    pMulti->click();
    QCOMPARE(BoxText(dialog, "plan"), QStringLiteral("west"));
    QCOMPARE(RadiosEnabled(dialog), QList<bool>({false, false, false}));
    QVERIFY(Child<QRadioButton>(dialog, QStringLiteral("side0"))->isChecked());
    QCOMPARE(GroupCaptions(dialog).first(), QStringLiteral("Plan"));
    QCOMPARE(dialog.Form().arSides[2].sPlan, QStringLiteral("guerrila"));
}

void TestWizards::olderGameNamesItsSides()
{
    CStart start;
    CBriefingDlg dialog(Context(false), {}, {}, nullptr);
    QStringList captions;
    for (int nSide = 0; nSide < Briefing::kSides; ++nSide)
        captions.append(Child<QRadioButton>(dialog, QStringLiteral("side%1").arg(nSide))->text());
    QCOMPARE(captions, QStringList({"Edit WEST", "Edit EAST", "Edit RESISTANCE"}));
    Child<QCheckBox>(dialog, QStringLiteral("multiSided"))->click();
    Child<QRadioButton>(dialog, QStringLiteral("side1"))->click();
    QCOMPARE(GroupCaptions(dialog).last(), QStringLiteral("Endings - EAST"));
}

void TestWizards::resetClearsEverything()
{
    CStart start;
    CBriefingDlg dialog(Context(true), {}, {}, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Child<QCheckBox>(dialog, QStringLiteral("multiSided"))->click();
    QTest::keyClicks(Box(dialog, "notes"), QStringLiteral("west notes"));
    Child<QRadioButton>(dialog, QStringLiteral("side1"))->click();
    QTest::keyClicks(Line(dialog, QStringLiteral("objective8")), QStringLiteral("east 8"));
    Child<QCheckBox>(dialog, QStringLiteral("hide8"))->setChecked(true);
    Line(dialog, QStringLiteral("markerName"))->setText(QStringLiteral("m1"));
    Line(dialog, QStringLiteral("endingText3"))->setFocus();
    Button(dialog, "reset")->click();
    QCOMPARE(dialog.Form(), Briefing::SForm());
    QCOMPARE(Line(dialog, QStringLiteral("objective8"))->text(), QString());
    QVERIFY(!Child<QCheckBox>(dialog, QStringLiteral("multiSided"))->isChecked());
    QCOMPARE(RadiosEnabled(dialog), QList<bool>({false, false, false}));
    QCOMPARE(GroupCaptions(dialog), QStringList({"Plan", "Notes", "Objectives", "Endings"}));
    QCOMPARE(QApplication::focusWidget(), Box(dialog, "plan"));
}

void TestWizards::insertHyperlinkFollowsTheFocus()
{
    CStart start;
    CBriefingDlg dialog(Context(true), {}, {}, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QPlainTextEdit* pPlan = Box(dialog, "plan");
    QLineEdit* pObjective = Line(dialog, QStringLiteral("objective3"));
    QPushButton* pInsert = Button(dialog, "insertHyperlink");
    QVERIFY(!pInsert->isEnabled());

    // No marker name: entering a box leaves the button off.
    pPlan->setFocus();
    QVERIFY(!pInsert->isEnabled());
    Line(dialog, QStringLiteral("markerName"))->setFocus();
    QTest::keyClicks(Line(dialog, QStringLiteral("markerName")), QStringLiteral("obj1"));
    pPlan->setFocus();
    QVERIFY(pInsert->isEnabled());

    // The selection of the box the focus left for the button becomes a link.
    pPlan->setPlainText(QStringLiteral("Cross the bridge now"));
    QTextCursor cursor = pPlan->textCursor();
    cursor.setPosition(6);
    cursor.setPosition(16, QTextCursor::KeepAnchor);
    pPlan->setTextCursor(cursor);
    QTest::mouseClick(pInsert, Qt::LeftButton);
    QCOMPARE(pPlan->toPlainText(), QStringLiteral("Cross <a href = \"marker:obj1\">the bridge</a> now"));
    QCOMPARE(QApplication::focusWidget(), pPlan);

    // An objective's box forgets its selection as the focus leaves: the link
    // still takes what was selected. Alt+I moves the focus as a click would.
    pObjective->setFocus();
    pObjective->setText(QStringLiteral("Blow the dam"));
    pObjective->setSelection(9, 3);
    QTest::keyClick(&dialog, Qt::Key_I, Qt::AltModifier);
    QTRY_COMPARE(pObjective->text(), QStringLiteral("Blow the <a href = \"marker:obj1\">dam</a>"));

    // Nothing selected: nothing inserted.
    pObjective->deselect();
    QTest::mouseClick(pInsert, Qt::LeftButton);
    QCOMPARE(pObjective->text(), QStringLiteral("Blow the <a href = \"marker:obj1\">dam</a>"));

    // The focus went elsewhere first: the button is off and the box forgotten.
    pPlan->setFocus();
    pPlan->selectAll();
    Line(dialog, QStringLiteral("endingTitle1"))->setFocus();
    QVERIFY(!pInsert->isEnabled());
    pInsert->click();
    QCOMPARE(pPlan->toPlainText(), QStringLiteral("Cross <a href = \"marker:obj1\">the bridge</a> now"));
    Child<QCheckBox>(dialog, QStringLiteral("multiSided"))->click();
    Picture(dialog, QStringLiteral("briefing-wizard-links.png"));
}

void TestWizards::previewShowsThePageAsItIsTyped()
{
    CStart start;
    CBriefingDlg briefing(Context(true), {}, {}, nullptr);
    briefing.show();
    QVERIFY(QTest::qWaitForWindowExposed(&briefing));
    QVERIFY(briefing.Preview()->isReadOnly());
    QTest::keyClicks(Box(briefing, "plan"), QStringLiteral("Storm the ridge"));
    QTest::keyClicks(Line(briefing, QStringLiteral("objective1")), QStringLiteral("Take the radio mast"));
    QTest::keyClicks(Line(briefing, QStringLiteral("endingTitle1")), QStringLiteral("Ridge Taken"));
    QTest::keyClicks(Line(briefing, QStringLiteral("endingText1")), QStringLiteral("The way north is open."));
    QTest::keyClicks(Box(briefing, "notes"), QStringLiteral("Expect snipers."));
    // What the reader sees of the page: text, not markup.
    const QString sShown = briefing.Preview()->toPlainText();
    for (const char* pszText :
         {"Storm the ridge", "Take the radio mast", "Ridge Taken", "The way north is open.", "Expect snipers."})
        QVERIFY2(sShown.contains(QLatin1String(pszText)), pszText);
    QVERIFY(!sShown.contains(QStringLiteral("[PLAN]")));
    // It is the page saving would make, and showing it changed nothing.
    Briefing::SForm form = briefing.Form();
    QCOMPARE(briefing.Preview()->Page(), Briefing::Create(form, Context(true)).sPage);
    QCOMPARE(BoxText(briefing, "plan"), QStringLiteral("Storm the ridge"));
    Picture(briefing, QStringLiteral("briefing-wizard.png"));

    QTemporaryDir dir;
    QImage image(256, 128, QImage::Format_RGB32);
    image.fill(QColor(70, 90, 60));
    QVERIFY(image.save(dir.filePath(QStringLiteral("nightfall.jpg")), "JPG"));
    CChooserPrompter prompter;
    prompter.m_sAnswer = dir.filePath(QStringLiteral("nightfall.jpg"));
    COverviewDlg overview({true, QStringLiteral("Version 1.3.4000"), QString()}, {}, prompter, {}, nullptr);
    overview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overview));
    Button(overview, "browse")->click();
    QTest::keyClicks(Line(overview, QStringLiteral("missionTitle")), QStringLiteral("Operation Nightfall"));
    QTest::keyClicks(Box(overview, "missionOverview"), QStringLiteral("Clear the valley."));
    QTest::keyClick(Box(overview, "missionOverview"), Qt::Key_Return);
    QTest::keyClicks(Box(overview, "missionOverview"), QStringLiteral("No air support."));
    QVERIFY(overview.Preview()->toPlainText().contains(QStringLiteral("Operation Nightfall")));
    QVERIFY(overview.Preview()->toPlainText().contains(QStringLiteral("No air support.")));
    QCOMPARE(overview.Preview()->Page(), Overview::Page(overview.Form(), true, QStringLiteral("Version 1.3.4000")));
    Picture(overview, QStringLiteral("overview-wizard.png"));
}

void TestWizards::everyControlIsReachableByKeyboard()
{
    CStart start;
    CChooserPrompter prompter;
    CBriefingDlg briefing(Context(true), {}, {}, nullptr);
    COverviewDlg overview({true, QString(), QString()}, {}, prompter, {}, nullptr);
    for (const QDialog* pDialog : {static_cast<QDialog*>(&briefing), static_cast<QDialog*>(&overview)}) {
        for (const QWidget* pControl : pDialog->findChildren<QWidget*>()) {
            if (qobject_cast<const QAbstractButton*>(pControl) || qobject_cast<const QLineEdit*>(pControl)
                || qobject_cast<const QPlainTextEdit*>(pControl))
                QVERIFY2(pControl->focusPolicy() & Qt::TabFocus, qPrintable(pControl->objectName()));
        }
        for (const QLabel* pLabel : pDialog->findChildren<QLabel*>()) {
            // The help text and the column heading name no single control.
            if (pLabel->objectName() == QStringLiteral("linkHelp") || pLabel->text() == QStringLiteral("Hide/Done"))
                continue;
            QVERIFY2(pLabel->buddy(), qPrintable(pLabel->text()));
        }
    }
    // Tab walks down the form as it reads.
    const auto tabOrder = [](QWidget* pFirst, int nCount) {
        QStringList names;
        for (QWidget* pAt = pFirst; names.size() < nCount; pAt = pAt->nextInFocusChain())
            if (pAt->focusPolicy() & Qt::TabFocus)
                names.append(pAt->objectName());
        return names;
    };
    QCOMPARE(tabOrder(Box(briefing, "plan"), 7),
             QStringList({"plan", "notes", "objective1", "hide1", "done1", "objective2", "hide2"}));
    QCOMPARE(tabOrder(Line(briefing, QStringLiteral("endingText3")), 5),
             QStringList({"endingText3", "markerName", "insertHyperlink", "multiSided", "side0"}));
    QCOMPARE(
        tabOrder(Line(overview, QStringLiteral("missionTitle")), 7),
        QStringList({"missionTitle", "missionOverview", "pictureFile", "browse", "createSave", "cancel", "preview"}));
    // Plan and notes take Enter as a line break, Tab as the way out.
    QVERIFY(Box(briefing, "plan")->tabChangesFocus());
    QVERIFY(Box(overview, "missionOverview")->tabChangesFocus());
}

void TestWizards::newOverviewOpensItsPage_data()
{
    QTest::addColumn<int>("velk");
    QTest::addColumn<int>("showExt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("picture");
    QTest::newRow("velk") << 1 << 0 << "Overview"
                          << "<br><p align=\"center\"><img src=\"pic.jpg\" width=\"155\" height=\"95\"></p>\r\n";
    QTest::newRow("qonmar, extensions shown")
        << 0 << 1 << "Overview.html"
        << "<p align=\"center\"><img src=\"pic.jpg\" width=\"128\" height=\"64\"></p>\r\n";
}

void TestWizards::newOverviewOpensItsPage()
{
    QFETCH(int, velk);
    QFETCH(int, showExt);
    QFETCH(QString, title);
    QFETCH(QString, picture);
    CMemorySettingsStore seed = Seed({{"Velk", velk}, {"ShowExt", showExt}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    Wizards(start).SetRunner(Drive<COverviewDlg>([&](COverviewDlg& dialog) {
        QTest::keyClicks(Line(dialog, QStringLiteral("missionTitle")), QStringLiteral("Dawn"));
        QTest::keyClicks(Box(dialog, "missionOverview"), QStringLiteral("Two"));
        QTest::keyClick(Box(dialog, "missionOverview"), Qt::Key_Return);
        QTest::keyClicks(Box(dialog, "missionOverview"), QStringLiteral("lines"));
        Line(dialog, QStringLiteral("pictureFile"))->setText(QStringLiteral("pic.jpg"));
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Trigger(start, QStringLiteral("&Overview Wizard...")));
    CScriptDoc* pDoc = UnsavedTitled(start, title);
    QVERIFY(pDoc);
    QCOMPARE(Documents(start).size(), 1);
    const QString sPage = SavedText(*pDoc);
    QVERIFY(sPage.contains(picture));
    QVERIFY(sPage.contains(QStringLiteral("<!-- [TITLE] -->\r\nDawn\r\n<!-- [END] -->\r\n")));
    QVERIFY(sPage.contains(QStringLiteral("<!-- [TEXT] -->\r\nTwo\r\nlines\r\n<!-- [END] -->\r\n")));
    QCOMPARE(start.Prompter().m_messages, QStringList{QStringLiteral("Overview was created successfully.")});
    QCOMPARE(start.Prompter().m_captions, QStringList{QStringLiteral("Overview Created")});
}

void TestWizards::textBeyondTheCodePageIsKeptWhenSaved()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    Wizards(start).SetRunner(Drive<COverviewDlg>([](COverviewDlg& dialog) {
        Line(dialog, QStringLiteral("missionTitle"))->setText(QStringLiteral("Операция Ω"));
        Box(dialog, "missionOverview")->setPlainText(QStringLiteral("Café à 5 €"));
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Run(start, ECommand::OverviewWizard));
    CScriptDoc* pDoc = UnsavedTitled(start, QStringLiteral("Overview"));
    QVERIFY(pDoc);
    start.Prompter().m_messages.clear();
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("overview.html"));
    QVERIFY(pDoc->OnSaveDocument(sPath));
    // Nothing became "?": the page went out as UTF-8, and the user was told.
    QCOMPARE(QString::fromUtf8(ReadFile(sPath)), SavedText(*pDoc));
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("Операция Ω")));
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages.first().contains(QStringLiteral("UTF-8")));
}

void TestWizards::browseTakesTheFileNameAlone()
{
    CStart start;
    QTemporaryDir dir;
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString sPicture = dir.filePath(QStringLiteral("valley.jpg"));
    QVERIFY(image.save(sPicture, "JPG"));
    CChooserPrompter prompter;
    QString sSaved;
    COverviewDlg dialog(
        {false, QStringLiteral("Version 1.3.4000"), QString()}, {QStringLiteral("Kept"), {}, {}}, prompter,
        [&](const QString& sPage) { sSaved = sPage; }, nullptr);
    Button(dialog, "browse")->click();
    QCOMPARE(prompter.m_sTitle, QStringLiteral("Find JPEG"));
    QCOMPARE(prompter.m_sFilter, QStringLiteral("JPEG Picture Files (*.jpeg, *.jpg)|*.jpeg;*.jpg||"));
    QCOMPARE(Line(dialog, QStringLiteral("pictureFile"))->text(), QString());  // cancelled
    prompter.m_sAnswer = sPicture;
    Button(dialog, "browse")->click();
    QCOMPARE(Line(dialog, QStringLiteral("pictureFile"))->text(), QStringLiteral("valley.jpg"));
    QCOMPARE(Line(dialog, QStringLiteral("missionTitle"))->text(), QStringLiteral("Kept"));
    // The preview finds the picture where it was chosen.
    QVERIFY(!dialog.Preview()
                 ->document()
                 ->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("valley.jpg")))
                 .isNull());
    Button(dialog, "createSave")->click();
    QVERIFY(sSaved.contains(QStringLiteral("<img src=\"valley.jpg\" width=\"128\" height=\"64\">")));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestWizards::editOverviewKeepsLineBreaks()
{
    const QString sPage = Overview::Page(
        {QStringLiteral("Dawn"), QStringLiteral("First line\r\nsecond line"), QStringLiteral("dawn.jpg")}, false,
        QStringLiteral("Version 1.3.4000"));
    CMemorySettingsStore seed = Seed({{"Velk", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("overview2.html"), sPage.toLatin1());
    QVERIFY(pDoc);
    Overview::SForm shown;
    Wizards(start).SetRunner(Drive<COverviewDlg>([&](COverviewDlg& dialog) {
        shown = dialog.Form();
        Button(dialog, "createSave")->click();
        return true;
    }));
    QVERIFY(Run(start, ECommand::EditOverview));
    // The page of the older game, read under the newer one.
    QCOMPARE(shown.sMissionTitle, QStringLiteral("Dawn"));
    QCOMPARE(shown.sMissionOverview, QStringLiteral("First line\r\nsecond line"));
    QCOMPARE(shown.sPictureFile, QStringLiteral("dawn.jpg"));
    QCOMPARE(Documents(start), QList<CScriptDoc*>{pDoc});
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("<!-- [TEXT] -->\r\nFirst line\r\nsecond line\r\n")));
    QVERIFY(SavedText(*pDoc).contains(QStringLiteral("width=\"155\" height=\"95\"")));
    QCOMPARE(start.Prompter().m_messages, QStringList{QStringLiteral("The overview was changed successfully.")});
    QCOMPARE(start.Prompter().m_captions, QStringList{QStringLiteral("Overview Changed")});
}

void TestWizards::editOverviewOfBrokenPageKeepsWhatWasRead()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("Overview.html"),
                            "<!-- [OVERVIEW_WIZARD_20] -->\r\n<!-- [TITLE] -->\r\nKept\r\n<!-- [END] -->\r\n"
                            "<!-- [TEXT] -->\r\nno end\r\n");
    QVERIFY(pDoc);
    QString sTitle;
    Wizards(start).SetRunner(Drive<COverviewDlg>([&](COverviewDlg& dialog) {
        sTitle = Line(dialog, QStringLiteral("missionTitle"))->text();
        return false;
    }));
    QVERIFY(Run(start, ECommand::EditOverview));
    QCOMPARE(start.Prompter().m_messages, QStringList{Overview::ReadBackError()});
    QCOMPARE(start.Prompter().m_captions, QStringList{QStringLiteral("FILE ERROR")});
    QCOMPARE(sTitle, QStringLiteral("Kept"));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestWizards test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wizards.moc"
