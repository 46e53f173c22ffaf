// Find and replace as an author uses them: one match at a time in the active
// document, and whole runs over the selection, the document, the open
// documents and the project's files on disk.
#include "core/data/projectmodel.h"
#include "gui/controls/commands.h"
#include "gui/search/findreplacedlg.h"
#include "gui/search/searchcommands.h"
#include "tests/support/editorfixture.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

using namespace VelkTest;

namespace {

struct SSearchFixture
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = Seed();
    CStart start{{}, &seed};

    SSearchFixture() { QVERIFY(start.App().InitInstance()); }
    CSearchCommands& Search() { return start.App().MainFrame()->Search(); }
    CFindReplaceDlg& Dialog() { return Search().Dialog(); }
    // The dialog opened by its command, with the fields a test needs.
    void Ask(int nAction, int nScope, const QString& sFind, const QString& sReplace = QString())
    {
        Search().Open(nAction, nScope);
        Dialog().FindEdit()->setText(sFind);
        Dialog().ReplaceEdit()->setText(sReplace);
    }
    QStringList Lines()
    {
        QStringList lines;
        for (int i = 0; i < Dialog().Results().LineCount(); ++i)
            lines << Dialog().Results().Line(i);
        return lines;
    }
    // A project of these files, made through the model as the commands do.
    void MakeProject(const QStringList& paths)
    {
        CProjectModel& project = start.App().Project();
        project.AddNewProject(QStringLiteral("Op"));
        project.SwitchProject(QStringLiteral("Op"));
        for (const QString& sPath : paths)
            project.AddProjectFile(sPath);
    }
};

}  // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void findNextWrapsAroundAndGoesOn()
    {
        SSearchFixture f;
        CScriptView* pView = View(Open(f.start, f.dir, "a.sqs", "hint 1\nexit\nhint 2\n"));
        pView->SetSelection(18, 18);
        f.Ask(SFindFields::kFind, SFindFields::kDocument, "HINT");
        f.Search().FindNext();
        QCOMPARE(pView->Selection(), qMakePair(0, 4));
        QCOMPARE(f.Lines(),
                 QStringList({"Search for next: \"HINT\"", "Text found: Line 1, Char 1, a.sqs", "      hint 1"}));
        f.Search().FindNext();
        QCOMPARE(pView->Selection(), qMakePair(12, 16));
        f.Dialog().ScopeButton(SFindFields::kSelection)->click();
        pView->SetSelection(5, 5);
        f.Search().FindNext();
        QCOMPARE(f.Lines(), QStringList{"No match was found."});
        QVERIFY(f.Dialog().ResultsShown());
    }

    void replaceFollowsTheCaseRule_data()
    {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selEnd");
        QTest::newRow("case ignored: replaced") << false << "titleText\nHINT \"a\"\nhint \"b\"" << 10 << 18;
        QTest::newRow("case kept: finds the next instead") << true << "titleText\nHINT \"a\"\nhint \"b\"" << 19 << 23;
    }
    void replaceFollowsTheCaseRule()
    {
        QFETCH(bool, matchCase);
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selEnd);
        SSearchFixture f;
        CScriptView* pView = View(Open(f.start, f.dir, "a.sqs", text.toUtf8()));
        pView->SetSelection(10, 14);
        f.Ask(SFindFields::kReplace, SFindFields::kDocument, "hint", "sideChat");
        for (QAbstractButton* pBox : f.Dialog().findChildren<QAbstractButton*>())
            if (pBox->text() == QStringLiteral("Match &case"))
                pBox->setChecked(matchCase);
        f.Search().ReplaceOne();
        QCOMPARE(pView->Selection(), qMakePair(selStart, selEnd));
        QCOMPARE(Text(pView).contains("sideChat"), !matchCase);
        if (!matchCase)
            QCOMPARE(f.Lines(),
                     QStringList({"Replace text: \"hint\"    With text: \"sideChat\"",
                                  "Text replaced: Line 2, Char 1, a.sqs", "      sideChat \"a\""}));
    }

    void onlyAShortPlainSelectionBecomesTheFindText()
    {
        SSearchFixture f;
        CScriptView* pView = View(Open(f.start, f.dir, "a.sqs", QByteArray(70, 'x') + "\nhint\tx\nexit"));
        f.Dialog().FindEdit()->setText("kept");
        pView->SetSelection(0, 70);
        f.Search().Open(SFindFields::kFind, SFindFields::kDocument);
        QCOMPARE(f.Dialog().FindEdit()->text(), QStringLiteral("kept"));
        pView->SetSelection(71, 77);
        f.Search().Open(SFindFields::kFind, SFindFields::kDocument);
        QCOMPARE(f.Dialog().FindEdit()->text(), QStringLiteral("kept"));
        pView->SetSelection(78, 82);
        f.Search().Open(SFindFields::kFind, SFindFields::kDocument);
        QCOMPARE(f.Dialog().FindEdit()->text(), QStringLiteral("exit"));
    }

    void findAllListsAndGoesToAResult()
    {
        SSearchFixture f;
        CScriptDoc* pDoc = Open(f.start, f.dir, "a.sqs", "_x = 1\n\t_x = _x + 1\nexit");
        f.Ask(SFindFields::kFind, SFindFields::kDocument, "_x");
        f.Dialog().Button("Find &All")->click();
        QCOMPARE(f.Lines(),
                 QStringList({"Search results for: \"_x\"", "Total found: 3", "Text found: Ln 1, Ch 1, a.sqs",
                              "      _x = 1", "Text found: Ln 2, Ch 2, a.sqs", "      _x = _x + 1",
                              "Text found: Ln 2, Ch 7, a.sqs", "      _x = _x + 1"}));
        View(pDoc)->SetSelection(0, 0);
        const QModelIndex header = f.Dialog().ResultsList()->model()->index(1, 0);
        emit f.Dialog().ResultsList()->doubleClicked(header);
        QCOMPARE(View(pDoc)->Selection(), qMakePair(0, 0));
        emit f.Dialog().ResultsList()->doubleClicked(header.siblingAtRow(7));
        QCOMPARE(View(pDoc)->Selection(), qMakePair(13, 15));
    }

    void replaceAllIsOneStepAndNeverLoops()
    {
        SSearchFixture f;
        CScriptDoc* pDoc = Open(f.start, f.dir, "a.sqs", "a b a\nbanana");
        CScriptView* pView = View(pDoc);
        const int nSteps = Steps(pView);
        f.Ask(SFindFields::kReplace, SFindFields::kDocument, "a", "aa");
        f.Dialog().Button("Replace &All")->click();
        QCOMPARE(Text(pView), QStringLiteral("aa b aa\nbaanaanaa"));
        QCOMPARE(f.Lines()[1], QStringLiteral("Total replaced: 5"));
        QCOMPARE(Steps(pView), nSteps + 1);
        QVERIFY(pDoc->IsModified());
        pDoc->Undo();
        QCOMPARE(Text(pView), QStringLiteral("a b a\nbanana"));

        f.Dialog().ReplaceEdit()->clear();
        f.Dialog().Button("Replace &All")->click();
        QCOMPARE(Text(pView), QStringLiteral("a b a\nbanana"));
        QVERIFY(f.Lines().isEmpty());
    }

    void projectRunCountsFilesAndLeavesClosedOnesAlone()
    {
        SSearchFixture f;
        QStringList paths;
        for (const char* pszName : {"one.sqs", "two.sqs", "three.sqs", "four.sqs"})
            paths << WriteScript(f.dir, pszName, QByteArray("exit\r\n"));
        WriteFile(paths[1], "hint \"x\"\r\n");
        WriteFile(paths[3], "; hint\r\nhint \"y\"");
        f.MakeProject(paths);
        f.start.App().Project().OpenProjectFileByPath(paths[0]);
        f.start.App().Project().OpenProjectFileByPath(paths[1]);

        f.Ask(SFindFields::kFind, SFindFields::kProject, "hint");
        f.Dialog().Button("Find &All")->click();
        QCOMPARE(f.Lines()[1], QStringLiteral("Total found: 3    Files searched: 4    Files matched: 2"));
        QCOMPARE(ReadFile(paths[3]), QByteArray("; hint\r\nhint \"y\""));
    }

    void projectReplaceAsksThenKeepsEachFilesBytes()
    {
        SSearchFixture f;
        const QString sClosed = WriteScript(f.dir, "closed.sqs", "hint \"caf\xE9\"\r\nexit\r\n");
        const QString sGone = WriteScript(f.dir, "gone.sqs", "hint \"x\"\r\n");
        f.MakeProject({sGone, sClosed});
        QFile::remove(sGone);

        f.Ask(SFindFields::kReplace, SFindFields::kProject, "hint", "sideChat");
        f.start.Prompter().m_answers << IPrompter::EAnswer::Cancel;
        f.Dialog().Button("Replace &All")->click();
        QCOMPARE(f.start.Prompter().m_captions, QStringList{"Replace Warning"});
        QVERIFY(f.Lines().isEmpty());
        QCOMPARE(ReadFile(sClosed), QByteArray("hint \"caf\xE9\"\r\nexit\r\n"));

        f.Dialog().Button("Replace &All")->click();
        QCOMPARE(ReadFile(sClosed), QByteArray("sideChat \"caf\xE9\"\r\nexit\r\n"));
        QCOMPARE(
            f.Lines(),
            QStringList({"Search results for: \"hint\"", "Total replaced: 1    Files searched: 2    Files matched: 1",
                         f.Lines().value(2), "Text replaced: Ln 1, Ch 1, closed.sqs", "      sideChat \"caf\u00e9\""}));
        QVERIFY(f.Lines().value(2).startsWith("File not searched: gone.sqs"));
    }

    void resultsFoldAwayAndBack()
    {
        SSearchFixture f;
        f.Search().Open(SFindFields::kFind, SFindFields::kDocument);
        QCoreApplication::processEvents();
        const int nHeight = f.Dialog().height();
        const int nList = f.Dialog().ResultsList()->height();
        f.Dialog().Button("Hide Res&ults")->click();
        QVERIFY(f.Dialog().height() <= nHeight - nList);
        QVERIFY(f.Dialog().ResultsList()->isHidden());
        QVERIFY(!f.Dialog().ResultsShown());
        f.Dialog().Button("Show Res&ults")->click();
        QCOMPARE(f.Dialog().height(), nHeight);
    }

    void projectScopeNeedsAProject()
    {
        SSearchFixture f;
        f.Search().Open(SFindFields::kReplace, SFindFields::kProject);
        QVERIFY(!f.Dialog().ScopeButton(SFindFields::kProject)->isEnabled());
        QVERIFY(f.Dialog().ScopeButton(SFindFields::kOpenDocuments)->isChecked());
        QCOMPARE(f.Dialog().windowTitle(), QStringLiteral("Replace Text"));
        QVERIFY(f.Dialog().ReplaceEdit()->isEnabled());
        f.Dialog().ActionButton(SFindFields::kFind)->click();
        QCOMPARE(f.Dialog().windowTitle(), QStringLiteral("Find Text"));
        QVERIFY(!f.Dialog().ReplaceEdit()->isEnabled());
        QVERIFY(f.Dialog().Button("Find &All"));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestSearch test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_search.moc"
