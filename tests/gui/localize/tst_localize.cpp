// Localize Strings over a real project: open scripts changed in the editor,
// closed ones on disk byte for byte, the table found, made or taken in.
#include "core/data/projectmodel.h"
#include "gui/controls/commands.h"
#include "tests/support/editorfixture.h"
#include "tests/support/filesizelimit.h"

#include <QFileDevice>

using namespace VelkTest;

namespace {

const QString kDone = QStringLiteral("Localize strings completed without errors.");
const QString kFailed = QStringLiteral("ERROR: Localize strings did not complete.");

struct SLocalizeFixture
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = Seed();
    CStart start{{}, &seed};

    SLocalizeFixture() { QVERIFY(start.App().InitInstance()); }
    CProjectModel& Project() { return start.App().Project(); }
    QString File(const char* pszName, const QByteArray& content) { return WriteScript(dir, pszName, content); }
    void MakeProject(const QStringList& paths)
    {
        Project().AddNewProject(QStringLiteral("Op"));
        Project().SwitchProject(QStringLiteral("Op"));
        for (const QString& sPath : paths)
            Project().AddProjectFile(sPath);
    }
    // Runs the command, agreeing to every question.
    QString Run(QList<IPrompter::EAnswer> answers = {IPrompter::EAnswer::Ok, IPrompter::EAnswer::Ok})
    {
        start.Prompter().m_answers = answers;
        start.App().MainFrame()->Commands().Action(ECommand::LocalizeStrings)->trigger();
        return start.Prompter().m_messages.value(start.Prompter().m_messages.size() - 1);
    }
    QString DocText(const QString& sPath)
    {
        CScriptDoc* pDoc = start.App().Documents().FindDocument(sPath);
        return pDoc ? Text(View(pDoc)) : QStringLiteral("<not open>");
    }
};

}  // namespace

class TestLocalize : public QObject
{
    Q_OBJECT

private slots:
    void newTableOpenAndClosedScripts()
    {
        SLocalizeFixture f;
        const QString sOpen = f.File("open.sqs", "hint \"Move out\"\r\n");
        const QString sClosed = f.File("closed.sqf", "titleText [\"Caf\xE9\", \"PLAIN\"];\r\nsideChat \"Go\"\r\n");
        f.MakeProject({sOpen, sClosed});
        f.Project().OpenProjectFileByPath(sOpen);
        CScriptDoc* pOpen = f.start.App().Documents().FindDocument(sOpen);
        const int nSteps = Steps(View(pOpen));

        QCOMPARE(f.Run(), kDone);
        QCOMPARE(f.start.Prompter().m_captions.first(), QStringLiteral("Localize Strings"));
        QCOMPARE(f.start.Prompter().m_captions[1], QStringLiteral("String Table Not Found"));
        const QString sTable = f.dir.filePath("StringTable.csv");
        QVERIFY(f.Project().IsProjectFile(sTable));
        QCOMPARE(ReadFile(sTable), QByteArray("LANGUAGE,\"English\"\r\n\r\n"));
        QCOMPARE(f.DocText(sTable),
                 QStringLiteral("LANGUAGE,\"English\"\n\nSTR_00,\"Move out\"\n"
                                "STR_01,\"Caf\u00e9\"\nSTR_02,\"Go\"\n"));
        QCOMPARE(Text(View(pOpen)), QStringLiteral("hint localize \"STR_00\"\n"));
        QVERIFY(pOpen->IsModified());
        QCOMPARE(Steps(View(pOpen)), nSteps + 1);
        QCOMPARE(ReadFile(sOpen), QByteArray("hint \"Move out\"\r\n"));
        QCOMPARE(ReadFile(sClosed),
                 QByteArray("titleText [localize \"STR_01\", \"PLAIN\"];\r\nsideChat localize \"STR_02\"\r\n"));
    }

    void anExistingTableBesideTheScriptsIsTakenIn()
    {
        SLocalizeFixture f;
        const QString sScript = f.File("a.sqs", "hint \"x\"");
        const QString sTable = f.File("StringTable.csv", "LANGUAGE,\"English\"\r\nSTR_00,\"old\"");
        f.MakeProject({sScript});
        QCOMPARE(f.Run(), kDone);
        QVERIFY(f.start.Prompter().m_messages[1].contains("added to the project"));
        QCOMPARE(f.DocText(sTable), QStringLiteral("LANGUAGE,\"English\"\nSTR_00,\"old\"\nSTR_01,\"x\"\n"));
        QCOMPARE(ReadFile(sScript), QByteArray("hint localize \"STR_01\""));
    }

    void theLaterOfTwoTablesTakesTheEntries()
    {
        SLocalizeFixture f;
        QDir(f.dir.path()).mkdir("sub");
        const QString sFirst = f.File("stringtable.csv", "LANGUAGE,\"English\"\r\n");
        const QString sLater = f.File("sub/STRINGTABLE.CSV", "LANGUAGE,\"English\"\r\n");
        const QString sScript = f.File("a.sqs", "hint \"x\"");
        f.MakeProject({sFirst, sScript, sLater});
        QCOMPARE(f.Run({IPrompter::EAnswer::Ok}), kDone);
        QCOMPARE(f.DocText(sLater), QStringLiteral("LANGUAGE,\"English\"\nSTR_00,\"x\"\n"));
        QCOMPARE(f.DocText(sFirst), QStringLiteral("<not open>"));
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::newRow("no scripts") << "none";
        QTest::newRow("table refused") << "cancel";
        QTest::newRow("closed script cannot be written") << "full";
    }
    void failuresAreReported()
    {
        QFETCH(QString, problem);
        SLocalizeFixture f;
        const QString sScript = f.File(problem == "none" ? "notes.txt" : "a.sqs", "hint \"x\"\r\n");
        QStringList files{sScript};
        if (problem == "full")
            files << f.File("b.sqs", QByteArray("hint \"y\"\0\0", 10))
                  << f.File("StringTable.csv", "LANGUAGE,\"English\"\r\n\r\n");
        f.MakeProject(files);
        // The disk fills up before the rewritten script is written whole.
        std::optional<CFileSizeLimit> full;
        if (problem == "full")
            full.emplace(8);
        const QString sLast = f.Run(problem == "cancel" ? QList{IPrompter::EAnswer::Ok, IPrompter::EAnswer::Cancel}
                                                        : QList{IPrompter::EAnswer::Ok, IPrompter::EAnswer::Ok});
        full.reset();
        QCOMPARE(sLast, kFailed);
        QCOMPARE(ReadFile(sScript), QByteArray("hint \"x\"\r\n"));
        if (problem == "none")
            QVERIFY(f.start.Prompter().m_messages.contains("No scripts found in current project."));
        if (problem == "full") {
            const QString sReport = f.start.Prompter().m_messages.value(f.start.Prompter().m_messages.size() - 2);
            QVERIFY2(sReport.contains("a.sqs could not be written") && sReport.contains("b.sqs was left alone"),
                     qPrintable(sReport));
            QCOMPARE(ReadFile(files[1]), QByteArray("hint \"y\"\0\0", 10));
            // No entry for a text the script does not refer to.
            QCOMPARE(f.DocText(files[2]), QStringLiteral("LANGUAGE,\"English\"\n\n"));
        }
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestLocalize test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_localize.moc"
