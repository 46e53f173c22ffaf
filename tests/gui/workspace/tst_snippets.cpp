#include "gui/controls/commands.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"
#include "tests/support/editorfixture.h"

#include <QTabBar>
#include <QtTest>

using namespace VelkTest;

namespace {

const QString kFileError = QStringLiteral("FILE ERROR");

QString SnippetsFolder(const CStart& start)
{
    return start.ExeDir() + QStringLiteral("/snippets");
}

QString SnippetFile(const CStart& start, const QString& sName)
{
    return SnippetsFolder(start) + u'/' + sName + QStringLiteral(".txt");
}

// Snippets made by hand before the editor starts.
void MakeSnippets(const CStart& start, const QList<QPair<QString, QByteArray>>& snippets)
{
    QVERIFY(QDir().mkpath(SnippetsFolder(start)));
    for (const auto& [sName, content] : snippets)
        WriteFile(SnippetFile(start, sName), content);
}

CMenuTreeCtrl* Tree(CStart& start)
{
    return start.App().MainFrame()->CommandBar()->SnippetsTree();
}

// The tree as the user reads it: the root, then its children indented.
QStringList Shown(CStart& start)
{
    QStringList lines;
    CMenuTreeCtrl* pTree = Tree(start);
    for (int i = 0; i < pTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* pRoot = pTree->topLevelItem(i);
        lines.append(pRoot->text(0));
        for (int j = 0; j < pRoot->childCount(); ++j)
            lines.append(QStringLiteral("  ") + pRoot->child(j)->text(0));
    }
    return lines;
}

QTreeWidgetItem* Snippet(CStart& start, const QString& sName)
{
    const QList<QTreeWidgetItem*> found = Tree(start)->findItems(sName, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QAction* Command(CStart& start, ECommand eId)
{
    CCommands& commands = start.App().MainFrame()->Commands();
    commands.Refresh();
    return commands.Action(eId);
}

// The Snippets tab in front and the window able to take keys.
void ShowSnippetsTab(CStart& start)
{
    CMainFrame* pMain = start.App().MainFrame();
    pMain->CommandBar()->Tabs()->setCurrentIndex(CCommandDlg::kSnippetsTab);
    pMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(pMain));
}

}  // namespace

class TestSnippets : public QObject
{
    Q_OBJECT

private slots:
    void emptyFolderLeavesTheRootAlone();
    void savedSelectionInsertsIntoAnotherDocumentAsOneStep_data();
    void savedSelectionInsertsIntoAnotherDocumentAsOneStep();
    void saveNeedsASelection();
    void failedSaveIsTold();
    void delKeyDeletesOnlyASnippet_data();
    void delKeyDeletesOnlyASnippet();
    void delInTheEditorStillDeletesText();
    void renameOffersTheNameAndToldWhenTaken();
    void editOpensTheSnippetAsText();
    void snippetsTabWithTwoSnippets();
};

void TestSnippets::emptyFolderLeavesTheRootAlone()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());

    QCOMPARE(Shown(start), QStringList{"Snippet List"});
    QVERIFY(!Tree(start)->topLevelItem(0)->isExpanded());
    Tree(start)->setCurrentItem(Tree(start)->topLevelItem(0));
    for (ECommand eId : {ECommand::InsertSnippet, ECommand::EditSnippet, ECommand::DeleteSnippet})
        QVERIFY2(!Command(start, eId)->isEnabled(), CommandInfo(eId).pszText);
}

void TestSnippets::savedSelectionInsertsIntoAnotherDocumentAsOneStep_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+E") << QStringLiteral("key");
    QTest::newRow("double click") << QStringLiteral("double click");
    QTest::newRow("Edit menu") << QStringLiteral("menu");
}

void TestSnippets::savedSelectionInsertsIntoAnotherDocumentAsOneStep()
{
    QFETCH(QString, how);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());

    CScriptDoc* pFrom = Open(start, dir, "from.sqs", "#loop\r\n~1\r\ngoto \"loop\"\r\nexit");
    QVERIFY(pFrom);
    CScriptView* pFromView = View(pFrom);
    pFromView->SetSelection(0, LineStart(pFromView, 3));
    start.Prompter().m_names = {QStringLiteral("Lo:op")};
    QVERIFY(Command(start, ECommand::SaveSnippet)->isEnabled());
    Command(start, ECommand::SaveSnippet)->trigger();

    QCOMPARE(start.Prompter().m_nameCaptions, QStringList{"New Snippet"});
    QCOMPARE(start.Prompter().m_nameInitials, QStringList{QString()});
    QCOMPARE(ReadFile(SnippetFile(start, "Loop")), QByteArray("#loop\r\n~1\r\ngoto \"loop\"\r\n"));
    QCOMPARE(Shown(start), (QStringList{"Snippet List", "  Loop"}));
    QVERIFY(Tree(start)->topLevelItem(0)->isExpanded());

    CScriptDoc* pTo = Open(start, dir, "to.sqs", "a\r\nb");
    QVERIFY(pTo);
    CScriptView* pView = View(pTo);
    pView->SetSelection(2, 2);
    const int nSteps = Steps(pView);
    QTreeWidgetItem* pItem = Snippet(start, "Loop");
    QVERIFY(pItem);
    Tree(start)->setCurrentItem(pItem);
    if (how == QLatin1String("key")) {
        ShowSnippetsTab(start);
        pView->setFocus();
        QTest::keyClick(pView, Qt::Key_E, Qt::ControlModifier);
    } else if (how == QLatin1String("double click")) {
        emit Tree(start)->itemDoubleClicked(pItem, 0);
    } else {
        QAction* pAction = EditAction(start, QStringLiteral("I&nsert Snippet"));
        QVERIFY(pAction && pAction->isEnabled());
        pAction->trigger();
    }

    // The final line break stays out, so the next line is not pushed down.
    QCOMPARE(Text(pView), QStringLiteral("a\n#loop\n~1\ngoto \"loop\"b"));
    QCOMPARE(Steps(pView), nSteps + 1);
    QCOMPARE(Classes(pView, 3), ExpectedLineClasses(start.App().Dictionary(), "goto \"loop\"b", kFileSQS));
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("a\nb"));
    // The root inserts nothing, however it is asked.
    Tree(start)->setCurrentItem(Tree(start)->topLevelItem(0));
    emit Tree(start)->itemDoubleClicked(Tree(start)->topLevelItem(0), 0);
    QCOMPARE(Text(pView), QStringLiteral("a\nb"));
    QVERIFY(!Command(start, ECommand::InsertSnippet)->isEnabled());
}

void TestSnippets::saveNeedsASelection()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(!Command(start, ECommand::SaveSnippet)->isEnabled());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint \"a\"");
    QVERIFY(pDoc);
    View(pDoc)->SetSelection(3, 3);
    QVERIFY(!Command(start, ECommand::SaveSnippet)->isEnabled());
    View(pDoc)->SetSelection(3, 5);
    QVERIFY(Command(start, ECommand::SaveSnippet)->isEnabled());
    // A cancelled name prompt saves nothing.
    Command(start, ECommand::SaveSnippet)->trigger();
    QVERIFY(!QFileInfo::exists(SnippetsFolder(start)));
}

void TestSnippets::failedSaveIsTold()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    MakeSnippets(start, {});
    QVERIFY(QDir().mkdir(SnippetFile(start, "Loop")));
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint \"a\"");
    QVERIFY(pDoc);
    View(pDoc)->SetSelection(0, 4);
    start.Prompter().m_names = {QStringLiteral("Loop")};
    Command(start, ECommand::SaveSnippet)->trigger();

    QCOMPARE(start.Prompter().m_messages, QStringList{"Error saving snippet file."});
    QCOMPARE(start.Prompter().m_captions, QStringList{kFileError});
    QVERIFY(QFileInfo(SnippetFile(start, "Loop")).isDir());
    QCOMPARE(Text(View(pDoc)), QStringLiteral("hint \"a\""));
    QCOMPARE(Shown(start), QStringList{"Snippet List"});
}

void TestSnippets::delKeyDeletesOnlyASnippet_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("root: nothing") << QStringLiteral("Snippet List")
                                   << QStringList{"Snippet List", "  Countdown", "  Loop"};
    QTest::newRow("snippet: deleted at once") << QStringLiteral("Loop") << QStringList{"Snippet List", "  Countdown"};
}

void TestSnippets::delKeyDeletesOnlyASnippet()
{
    QFETCH(QString, current);
    QFETCH(QStringList, shown);
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    MakeSnippets(start, {{"Loop", "~1"}, {"Countdown", "hint \"3\""}});
    QVERIFY(start.App().InitInstance());
    ShowSnippetsTab(start);
    CMenuTreeCtrl* pTree = Tree(start);
    pTree->setCurrentItem(Snippet(start, current));
    pTree->setFocus();
    QTest::keyClick(pTree, Qt::Key_Delete);

    QCOMPARE(Shown(start), shown);
    QCOMPARE(QFileInfo::exists(SnippetFile(start, "Loop")), shown.contains(QStringLiteral("  Loop")));
    QVERIFY(start.Prompter().m_messages.isEmpty());
}

void TestSnippets::delInTheEditorStillDeletesText()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    MakeSnippets(start, {{"Loop", "~1"}});
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "abc");
    QVERIFY(pDoc);
    ShowSnippetsTab(start);
    Tree(start)->setCurrentItem(Snippet(start, "Loop"));
    QVERIFY(Command(start, ECommand::DeleteSnippet)->isEnabled());
    CScriptView* pView = View(pDoc);
    pView->setFocus();
    pView->SetSelection(1, 1);
    QTest::keyClick(pView, Qt::Key_Delete);

    QCOMPARE(Text(pView), QStringLiteral("ac"));
    QVERIFY(QFileInfo::exists(SnippetFile(start, "Loop")));
    QCOMPARE(Shown(start), (QStringList{"Snippet List", "  Loop"}));
}

void TestSnippets::renameOffersTheNameAndToldWhenTaken()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    MakeSnippets(start, {{"Loop", "loop"}, {"Countdown", "count"}});
    QVERIFY(start.App().InitInstance());
    CScriptedPrompter& prompter = start.Prompter();

    // On the root there is nothing to rename and nobody is asked.
    Tree(start)->setCurrentItem(Tree(start)->topLevelItem(0));
    QVERIFY(Command(start, ECommand::RenameSnippet)->isEnabled());
    Command(start, ECommand::RenameSnippet)->trigger();
    QVERIFY(prompter.m_nameInitials.isEmpty());

    Tree(start)->setCurrentItem(Snippet(start, "Loop"));
    prompter.m_names = {QStringLiteral("Wait Loop")};
    Command(start, ECommand::RenameSnippet)->trigger();
    QCOMPARE(prompter.m_nameInitials, QStringList{"Loop"});
    QCOMPARE(Shown(start), (QStringList{"Snippet List", "  Countdown", "  Wait Loop"}));
    QCOMPARE(ReadFile(SnippetFile(start, "Wait Loop")), QByteArray("loop"));

    Tree(start)->setCurrentItem(Snippet(start, "Wait Loop"));
    prompter.m_names = {QStringLiteral("Countdown")};
    Command(start, ECommand::RenameSnippet)->trigger();
    QCOMPARE(prompter.m_captions, QStringList{kFileError});
    QCOMPARE(prompter.m_messages.size(), 1);
    QVERIFY(!prompter.m_messages.first().isEmpty());
    QCOMPARE(ReadFile(SnippetFile(start, "Countdown")), QByteArray("count"));
    QCOMPARE(ReadFile(SnippetFile(start, "Wait Loop")), QByteArray("loop"));
}

void TestSnippets::editOpensTheSnippetAsText()
{
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    MakeSnippets(start, {{"Loop", "#loop\r\ngoto \"loop\""}});
    QVERIFY(start.App().InitInstance());
    Tree(start)->setCurrentItem(Snippet(start, "Loop"));
    // With no document open, the snippet's own menu is the way to it.
    QVERIFY(Command(start, ECommand::EditSnippet)->isEnabled());
    Command(start, ECommand::EditSnippet)->trigger();

    CScriptView* pView = start.App().MainFrame()->ActiveView();
    QVERIFY(pView);
    QCOMPARE(pView->FileType(), kFileTXT);
    QCOMPARE(Text(pView), QStringLiteral("#loop\ngoto \"loop\""));
    QVERIFY(start.App().Documents().FindDocument(SnippetFile(start, "Loop")));
}

// A picture for people to look at: VELK_SNIPPETS_PICTURE names where it goes.
void TestSnippets::snippetsTabWithTwoSnippets()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = Seed();
    CStart start({}, &seed);
    MakeSnippets(start, {{"SQS Loop", "#loop\r\n~1\r\ngoto \"loop\""}, {"Countdown Hint", "hint \"3\""}});
    QVERIFY(start.App().InitInstance());
    QVERIFY(Open(start, dir, "init.sqs", "; start\r\nhint \"ready\"\r\n"));
    ShowSnippetsTab(start);
    Tree(start)->setCurrentItem(Snippet(start, "SQS Loop"));
    QVERIFY(Tree(start)->isVisible());
    QVERIFY(Tree(start)->visualItemRect(Snippet(start, "Countdown Hint")).isValid());

    const QPixmap picture = start.App().MainFrame()->grab();
    QVERIFY(!picture.isNull());
    const QByteArray path = qgetenv("VELK_SNIPPETS_PICTURE");
    if (!path.isEmpty())
        QVERIFY(picture.save(QString::fromLocal8Bit(path)));
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestSnippets test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_snippets.moc"
