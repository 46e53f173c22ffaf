// The project commands as a mission author uses them: making, listing,
// deleting and filling projects, renaming and closing their files.
#include "core/data/projectmodel.h"
#include "gui/controls/commands.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"
#include "gui/workspace/projectsdlg.h"
#include "tests/support/editorfixture.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace VelkTest;
using C = ECommand;

namespace {

bool Enabled(CStart& start, C eCommand)
{
    start.App().MainFrame()->Commands().Refresh();
    return start.App().MainFrame()->Commands().Action(eCommand)->isEnabled();
}

void Run(CStart& start, C eCommand)
{
    start.App().MainFrame()->Commands().Action(eCommand)->trigger();
}

QTreeWidget* ProjectTree(CStart& start)
{
    return start.App().MainFrame()->CommandBar()->ProjectTree();
}

QStringList TreeTexts(CStart& start)
{
    QStringList texts;
    const QTreeWidgetItem* pRoot = ProjectTree(start)->topLevelItem(0);
    texts << pRoot->text(0);
    for (int i = 0; i < pRoot->childCount(); ++i)
        texts << pRoot->child(i)->text(0);
    return texts;
}

void SelectFile(CStart& start, const QString& sText)
{
    const QList<QTreeWidgetItem*> items = ProjectTree(start)->findItems(sText, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY(!items.isEmpty());
    ProjectTree(start)->setCurrentItem(items.first());
}

// A new project named sName holding the files, made through the commands.
void MakeProject(CStart& start, const QString& sName, const QStringList& paths)
{
    start.Prompter().m_names << sName;
    Run(start, C::NewProject);
    QCOMPARE(start.App().Project().CurProject(), sName);
    start.Prompter().m_openManyNames << paths;
    Run(start, C::AddProjectFiles);
}

QStringList Files(const QTemporaryDir& dir, int nCount)
{
    QStringList paths;
    for (int i = 1; i <= nCount; ++i)
        paths << WriteScript(dir, QStringLiteral("f%1.sqs").arg(i, 2, 10, QLatin1Char('0')), "hint \"x\"\r\n");
    return paths;
}

// Runs while the modal dialog is up, then lets it go its way.
void WhileModal(const std::function<void(CProjectsDlg&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* pDialog = qobject_cast<CProjectsDlg*>(QApplication::activeModalWidget());
        QVERIFY(pDialog);
        act(*pDialog);
        if (pDialog->isVisible())
            pDialog->reject();
    });
}

QPushButton* Button(QDialog& dialog, const QString& sText)
{
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>())
        if (pButton->text() == sText)
            return pButton;
    return nullptr;
}

QString SelectedRow(const CProjectsDlg& dialog)
{
    const QListWidgetItem* pItem = dialog.List()->currentItem();
    return pItem && pItem->isSelected() ? pItem->text() : QStringLiteral("<none>");
}

}  // namespace

class TestProjects : public QObject
{
    Q_OBJECT

private slots:
    void addingStopsAtThirtyOneFiles()
    {
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        QVERIFY(!Enabled(start, C::AddProjectFiles));
        MakeProject(start, "Alpha", Files(dir, 30));
        QCOMPARE(start.Prompter().m_openManyTitles, QStringList{"Add Project Files"});
        QCOMPARE(start.App().Project().ProjectFileCount(), 30);
        QVERIFY(Enabled(start, C::AddProjectFiles));

        CScriptDoc* pOutside = Open(start, dir, "outside.sqs", "exit\r\n");
        QVERIFY(Enabled(start, C::AddActiveFile));
        Run(start, C::AddActiveFile);
        QCOMPARE(start.App().Project().ProjectFileCount(), 31);
        QVERIFY(start.App().Project().IsProjectFile(pOutside->GetPathName()));
        QVERIFY(!Enabled(start, C::AddActiveFile));
        QVERIFY(!Enabled(start, C::AddProjectFiles));
    }

    void projectsListSelectsAndOpens()
    {
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        CProjectModel& project = start.App().Project();
        {
            CProjectsDlg empty(project, start.Prompter());
            QCOMPARE(SelectedRow(empty), QStringLiteral("<none>"));
            Button(empty, "&Open Project")->click();
            QCOMPARE(empty.result(), int(QDialog::Accepted));
            QCOMPARE(empty.SelectedProject(), QString());
        }
        project.AddNewProject("zeta");
        project.AddNewProject("Beta");
        project.AddNewProject("alpha");
        {
            CProjectsDlg none(project, start.Prompter());
            QCOMPARE(none.List()->count(), 3);
            QCOMPARE(SelectedRow(none), QStringLiteral("alpha"));
        }
        project.SwitchProject("zeta");
        WhileModal([](CProjectsDlg& dialog) {
            QCOMPARE(SelectedRow(dialog), QStringLiteral("zeta"));
            dialog.List()->setCurrentRow(1);
            Button(dialog, "&Open Project")->click();
        });
        Run(start, C::OpenProject);
        QCOMPARE(project.CurProject(), QStringLiteral("Beta"));
        QCOMPARE(TreeTexts(start), QStringList{"Beta"});
    }

    void deletingTheCurrentProjectUnloadsIt()
    {
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        MakeProject(start, "Alpha", Files(dir, 2));
        CProjectModel& project = start.App().Project();
        project.AddNewProject("Beta");
        CProjectsDlg dialog(project, start.Prompter());
        QCOMPARE(SelectedRow(dialog), QStringLiteral("Alpha"));

        start.Prompter().m_answers << IPrompter::EAnswer::No;
        Button(dialog, "&Delete Project")->click();
        QCOMPARE(project.ProjectNames(), QStringList({"Alpha", "Beta"}));
        start.Prompter().m_answers << IPrompter::EAnswer::Yes;
        Button(dialog, "&Delete Project")->click();
        QCOMPARE(start.Prompter().m_captions, QStringList({"Delete Project", "Delete Project"}));
        QCOMPARE(project.ProjectNames(), QStringList{"Beta"});
        QCOMPARE(project.CurProject(), QString());
        QCOMPARE(TreeTexts(start), QStringList{CProjectModel::kNoProject});
        QCOMPARE(SelectedRow(dialog), QStringLiteral("Beta"));
    }

    void renameFile_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("newName");  // empty: nothing renamed
        QTest::addColumn<QString>("message");

        QTest::newRow("no extension keeps .sqs") << "b"
                                                 << "b.sqs"
                                                 << "";
        QTest::newRow("own extension") << "b.sqf"
                                       << "b.sqf"
                                       << "";
        QTest::newRow("forbidden characters dropped") << "x:y"
                                                      << "xy.sqs"
                                                      << "";
        QTest::newRow("onto an existing file") << "taken"
                                               << ""
                                               << "That file name already exsists.";
        QTest::newRow("cancelled") << ""
                                   << ""
                                   << "";
    }
    void renameFile()
    {
        QFETCH(QString, entered);
        QFETCH(QString, newName);
        QFETCH(QString, message);
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        const QString sOld = WriteScript(dir, "a.sqs", "hint \"a\"\r\n");
        WriteScript(dir, "taken.sqs", "taken\r\n");
        MakeProject(start, "Alpha", {sOld});
        start.Store().WriteString(kBookmarksSection, sOld, "0");

        SelectFile(start, "a");
        start.Prompter().m_names << entered;
        Run(start, C::RenameFile);
        QCOMPARE(start.Prompter().m_nameInitials, QStringList({"", "a"}));
        QCOMPARE(start.Prompter().m_messages, message.isEmpty() ? QStringList() : QStringList{message});
        const QString sExpected = newName.isEmpty() ? sOld : dir.filePath(newName);
        QVERIFY(QFileInfo::exists(sExpected));
        QCOMPARE(QFileInfo::exists(sOld), newName.isEmpty());
        QCOMPARE(start.App().Project().m_ProjectFiles[0].sPath, sExpected);
        QCOMPARE(TreeTexts(start), QStringList({"Alpha", QFileInfo(sExpected).completeBaseName()}));
        QCOMPARE(start.Store().ReadString(kBookmarksSection, sOld, QString()).isEmpty(), !newName.isEmpty());
    }

    void renamedOpenDocumentKeepsItsUnsavedWork()
    {
        CMemorySettingsStore seed = Seed({{"ShowExt", 1}});
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint \"a\"\r\n");
        MakeProject(start, "Alpha", {});
        Run(start, C::AddActiveFile);
        CScriptView* pView = View(pDoc);
        pView->InsertText("exit\n", true);
        const int nSteps = Steps(pView);

        SelectFile(start, "a.sqs");
        start.Prompter().m_names << "b.sqf";
        Run(start, C::RenameFile);
        QCOMPARE(start.Prompter().m_nameInitials.last(), QStringLiteral("a.sqs"));
        QCOMPARE(pDoc->GetPathName(), dir.filePath("b.sqf"));
        QCOMPARE(pDoc->GetTitle(), QStringLiteral("b.sqf*"));
        QVERIFY(pDoc->IsModified());
        QCOMPARE(Text(pView), QStringLiteral("exit\nhint \"a\"\n"));
        QCOMPARE(Steps(pView), nSteps);
        QCOMPARE(pDoc->FileType(), kFileSQF);
        QCOMPARE(ReadFile(dir.filePath("b.sqf")), QByteArray("hint \"a\"\r\n"));
    }

    void delKeyRemovesInTheTreeOnly()
    {
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        const QStringList paths = Files(dir, 2);
        MakeProject(start, "Alpha", paths);
        CScriptDoc* pDoc = Open(start, dir, "edit.sqs", "abc");
        CScriptView* pView = View(pDoc);
        SelectFile(start, "f01");
        QVERIFY(Enabled(start, C::RemoveProjectFile));
        // Keys reach a widget's shortcuts only in the active window.
        start.App().MainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(start.App().MainFrame()));

        pView->setFocus();
        QTest::keyClick(pView, Qt::Key_Delete);
        QCOMPARE(Text(pView), QStringLiteral("bc"));
        QCOMPARE(start.App().Project().ProjectFileCount(), 2);

        ProjectTree(start)->setFocus();
        QTest::keyClick(ProjectTree(start), Qt::Key_Delete);
        QCOMPARE(TreeTexts(start), QStringList({"Alpha", "f02"}));
        QVERIFY(QFileInfo::exists(paths[0]));
        SelectFile(start, "Alpha");
        QVERIFY(!Enabled(start, C::RemoveProjectFile));
        QTest::keyClick(ProjectTree(start), Qt::Key_Delete);
        QCOMPARE(TreeTexts(start), QStringList({"Alpha", "f02"}));
    }

    void closeFileDiscardsWithoutAsking()
    {
        CMemorySettingsStore seed = Seed();
        CStart start({}, &seed);
        QVERIFY(start.App().InitInstance());
        QTemporaryDir dir;
        MakeProject(start, "Alpha", Files(dir, 1));
        SelectFile(start, "f01");
        Run(start, C::OpenFile);
        CScriptDoc* pDoc = start.App().Documents().FindDocument(dir.filePath("f01.sqs"));
        QVERIFY(pDoc);
        View(pDoc)->InsertText("lost", true);

        Run(start, C::CloseFile);
        QVERIFY(!start.App().Documents().FindDocument(dir.filePath("f01.sqs")));
        QVERIFY(start.Prompter().m_messages.isEmpty());
        QCOMPARE(ReadFile(dir.filePath("f01.sqs")), QByteArray("hint \"x\"\r\n"));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestProjects test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_projects.moc"
