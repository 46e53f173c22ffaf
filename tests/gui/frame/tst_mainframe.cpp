#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/links/aboutdlg.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"
#include "gui/controls/commands.h"
#include "gui/frame/mainfrm.h"
#include "gui/frame/scripttabs.h"
#include "tests/support/editorharness.h"

#include <QClipboard>
#include <QDockWidget>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>

using namespace VelkTest;

namespace {

QStringList TabTexts(CStart& start)
{
    QStringList texts;
    const QTabBar* pTabs = start.App().MainFrame()->ScriptTabsBar()->TabBar();
    for (int i = 0; i < pTabs->count(); ++i)
        texts.append(pTabs->tabText(i));
    return texts;
}

CMemorySettingsStore Seeded(std::initializer_list<std::pair<const char*, int>> values)
{
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, QStringLiteral("FirstRun"), 0);
    for (const auto& [pszName, nValue] : values)
        store.WriteInt(kSettingsSection, QLatin1String(pszName), nValue);
    return store;
}

}  // namespace

class TestMainFrame : public QObject
{
    Q_OBJECT

private slots:
    void panesWithoutDocumentShowOnlyTheGame_data();
    void panesWithoutDocumentShowOnlyTheGame();
    void panesFollowTheSelection();
    void panesFollowSelectAll();
    void commandStatesFollowTheEditorWhenIdle();
    void settingsThatCannotBeWrittenAreReported();
    void helpOpensThroughTheDesktopOrSaysWhyNot();
    void tabStripsSpanTheirRowsAndMarkTheSelectedTab();
    void projectFilesTakeAlphabeticalTabs();
    void tabsFollowTitlesAndCloseWithTheirWindows();
    void selectingATabActivatesItsWindow();
    void placementZeroKeepsTheDefault();
    void placementOffEveryScreenComesBack_data();
    void placementOffEveryScreenComesBack();
    void documentFromTextStartsItsHistoryThere();
    void dataFilesOpenAsDataDocuments();
    void windowMenuListsTheFirst24();
    void barTogglesHideAndRemember();
    void commandBarWidthStaysInItsRange_data();
    void commandBarWidthStaysInItsRange();
    void draggingTheGripTakesOnlyWidthsInRange_data();
    void draggingTheGripTakesOnlyWidthsInRange();
    void projectTreeShowsTheCurrentProject();
    void commandsFollowTheirRulesAndShortcutsAreBound();
    void aboutBoxShowsVersionAndMemory();
    void recentFilesShowTheFirstSix();
    void treeRightClickOnEmptySpaceDoesNothing();
};

void TestMainFrame::panesWithoutDocumentShowOnlyTheGame_data()
{
    QTest::addColumn<int>("velk");
    QTest::addColumn<QString>("game");
    QTest::newRow("Velk Vanguard") << 1 << "VELK";
    QTest::newRow("Qonmar Front") << 0 << "QON";
}

void TestMainFrame::panesWithoutDocumentShowOnlyTheGame()
{
    QFETCH(int, velk);
    QFETCH(QString, game);
    CMemorySettingsStore seed = Seeded({{"Velk", velk}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    for (int nPane : {3, 4, 5})
        QCOMPARE(pFrame->PaneText(nPane), QString());
    QCOMPARE(pFrame->PaneText(6), game);
    QCOMPARE(pFrame->PaneText(1), QStringLiteral("Ready"));
    QCOMPARE(pFrame->ActiveViewType(), -1);
    // Without a document the menu bar has no Save All; the command itself is off.
    QVERIFY(!pFrame->Action(QStringLiteral("Save A&ll")));
    pFrame->Commands().Refresh();
    QVERIFY(!pFrame->Commands().Action(ECommand::SaveAll)->isEnabled());
    start.CloseAndKeepStore();
}

void TestMainFrame::panesFollowTheSelection()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("brief.html"));
    WriteFile(sPath, "first line\r\nsecond\r\nthird\r\n");
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().OpenDocumentFile(sPath);
    CMainFrame* pFrame = start.App().MainFrame();
    CScriptView* pView = pFrame->ActiveView();
    pView->SetSelection(11, 18);  // start of line 2 to start of line 3
    QTRY_COMPARE(pFrame->PaneText(3), QStringLiteral("Ln: 2-3"));
    QCOMPARE(pFrame->PaneText(4), QStringLiteral("Ch: 1-0"));
    QCOMPARE(pFrame->PaneText(5), QStringLiteral("HTML"));
    pView->SetSelection(0, 5);
    QTRY_COMPARE(pFrame->PaneText(4), QStringLiteral("Ch: 1-5"));
    QCOMPARE(pFrame->PaneText(3), QStringLiteral("Ln: 1"));
    QCOMPARE(pFrame->ActiveViewType(), int(kFileHTML));
    start.CloseAndKeepStore();
}

void TestMainFrame::panesFollowSelectAll()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("five.sqs"));
    WriteFile(sPath, "one\r\ntwo\r\nthree\r\nfour\r\nfive");
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().OpenDocumentFile(sPath);
    CMainFrame* pFrame = start.App().MainFrame();
    QTRY_COMPARE(pFrame->PaneText(3), QStringLiteral("Ln: 1"));
    pFrame->Commands().Action(ECommand::SelectAll)->trigger();
    QTRY_COMPARE(pFrame->PaneText(3), QStringLiteral("Ln: 1-5"));
    QCOMPARE(pFrame->PaneText(4), QStringLiteral("Ch: 1-4"));
    start.CloseAndKeepStore();
}

void TestMainFrame::commandStatesFollowTheEditorWhenIdle()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("intro.sqs"));
    WriteFile(sPath, "hint\r\nsleep 1\r\n");
    CMemorySettingsStore seed = Seeded({{"AutoComplete", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    const auto enabled = [pFrame](ECommand eCommand) { return pFrame->Commands().Action(eCommand)->isEnabled(); };
    // The tool bar draws these as the actions say, from the very first start.
    for (ECommand eCommand : {ECommand::Save, ECommand::SaveAll, ECommand::Cut, ECommand::Copy, ECommand::Paste,
                              ECommand::Undo, ECommand::Redo})
        QVERIFY2(!enabled(eCommand), qPrintable(pFrame->Commands().Action(eCommand)->text()));

    start.App().OpenDocumentFile(sPath);
    CScriptView* pView = pFrame->ActiveView();
    QVERIFY(enabled(ECommand::Save));
    QVERIFY(!enabled(ECommand::Undo));
    QTest::keyClicks(pView, "x");
    QTRY_VERIFY(enabled(ECommand::Undo));
    QVERIFY(!enabled(ECommand::Copy));

    pView->SetSelection(0, 5);
    QTRY_VERIFY(enabled(ECommand::Copy));
    QVERIFY(enabled(ECommand::Cut));
    QGuiApplication::clipboard()->clear();
    pFrame->Commands().Action(ECommand::Copy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("xhint"));
    QTRY_VERIFY(enabled(ECommand::Paste));

    pView->OnEditUndo();
    QTRY_VERIFY(enabled(ECommand::Redo));
    QVERIFY(!enabled(ECommand::Undo));
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

void TestMainFrame::settingsThatCannotBeWrittenAreReported()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("marked.sqs"));
    WriteFile(sPath, "hint\r\nsleep 1\r\n");
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.Store().m_bRefuseFlush = true;
    start.App().OpenDocumentFile(sPath);
    start.App().MainFrame()->ActiveView()->ToggleBookmark(1);
    start.CloseAndKeepStore();
    // One message for the window's settings, one for the file's bookmarks.
    QCOMPARE(start.Prompter().m_captions, QStringList({QStringLiteral("FILE ERROR"), QStringLiteral("FILE ERROR")}));
    QVERIFY(start.Prompter().m_messages[0].contains(QStringLiteral("settings")));
    QVERIFY(start.Prompter().m_messages[1].contains(QStringLiteral("marked.sqs")));
}

void TestMainFrame::helpOpensThroughTheDesktopOrSaysWhyNot()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QDir(start.ExeDir()).mkpath(QStringLiteral("help"));
    const QString sPage = QDir(start.ExeDir()).filePath(QStringLiteral("help/index.html"));
    WriteFile(sPage, "<html></html>");
    QAction* pHelp = start.App().MainFrame()->Commands().Action(ECommand::HelpContents);
    pHelp->trigger();
    QCOMPARE(start.Shell().m_calls.size(), 1);
    QCOMPARE(start.Shell().m_calls[0].eKind, CRecordingShell::SCall::EKind::OpenUrl);
    QCOMPARE(QUrl(start.Shell().m_calls[0].sTarget).toLocalFile(), sPage);
    QVERIFY(start.Prompter().m_messages.isEmpty());

    // A desktop that cannot open it: the user hears where the page is.
    start.Shell().m_bResult = false;
    pHelp->trigger();
    QCOMPARE(start.Prompter().m_messages.size(), 1);
    QVERIFY(start.Prompter().m_messages[0].contains(sPage));
    start.CloseAndKeepStore();
}

void TestMainFrame::tabStripsSpanTheirRowsAndMarkTheSelectedTab()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("one.sqs"));
    WriteFile(sPath, "x\r\n");
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().OpenDocumentFile(sPath);
    CMainFrame* pFrame = start.App().MainFrame();
    QCoreApplication::processEvents();
    // The script tabs' base line runs under the whole row, not only under the tabs.
    const QTabBar* pScripts = pFrame->ScriptTabsBar()->TabBar();
    QVERIFY(pScripts->width() > pScripts->tabRect(0).width() * 2);

    // The three command bar tabs fit its narrowest width, and the selected
    // one is drawn unlike the others.
    pFrame->resizeDocks({pFrame->CommandBarDock()}, {CCommandDlg::kMinWidth}, Qt::Horizontal);
    QCoreApplication::processEvents();
    QTabBar* pTabs = pFrame->CommandBar()->Tabs();
    QVERIFY2(pTabs->tabRect(2).right() < pTabs->width(),
             qPrintable(QStringLiteral("%1 in %2").arg(pTabs->tabRect(2).right()).arg(pTabs->width())));
    const QImage image = pTabs->grab().toImage();
    const auto face = [&image, pTabs](int nTab) { return image.pixel(pTabs->tabRect(nTab).center() + QPoint(0, 6)); };
    pTabs->setCurrentIndex(1);
    const QImage selected = pTabs->grab().toImage();
    QVERIFY(face(0) != QColor(selected.pixel(pTabs->tabRect(0).center() + QPoint(0, 6))).rgb()
            || face(1) != QColor(selected.pixel(pTabs->tabRect(1).center() + QPoint(0, 6))).rgb());
    start.CloseAndKeepStore();
}

void TestMainFrame::projectFilesTakeAlphabeticalTabs()
{
    QTemporaryDir dir;
    QStringList paths;
    for (const char* pszName : {"zeta.sqs", "alpha.sqs", "mike.sqs", "outside.sqs"}) {
        paths.append(dir.filePath(QLatin1String(pszName)));
        WriteFile(paths.last(), "x\r\n");
    }
    CMemorySettingsStore seed = Seeded({});
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op"));
    CStart start({}, &seed);
    WriteFile(QDir(start.ExeDir()).filePath(QStringLiteral("project.dat")),
              ("[PROJECT]\nOp\n" + paths[0] + "\n" + paths[1] + "\n" + paths[2] + "\n").toUtf8());
    QVERIFY(start.App().InitInstance());
    start.App().OpenDocumentFile(paths[0]);
    start.App().OpenDocumentFile(paths[3]);  // not in the project: appended at the end
    start.App().OpenDocumentFile(paths[1]);
    start.App().OpenDocumentFile(paths[2]);
    // A project file goes before the first tab whose text sorts after it,
    // whatever that tab holds.
    QCOMPARE(TabTexts(start), (QStringList{"alpha", "mike", "zeta", "outside"}));
    start.CloseAndKeepStore();
}

void TestMainFrame::tabsFollowTitlesAndCloseWithTheirWindows()
{
    CMemorySettingsStore seed = Seeded({{"DocMax", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    QVERIFY(!pFrame->ScriptTabsBar()->TabBar()->isVisible());
    start.App().Documents().NewDocument(EDocKind::Script);
    start.App().Documents().NewDocument(EDocKind::Function);
    QCOMPARE(TabTexts(start), (QStringList{"Script", "Function"}));
    QTRY_VERIFY(pFrame->ScriptTabsBar()->TabBar()->isVisible());
    QCOMPARE(pFrame->ScriptTabsBar()->TabBar()->currentIndex(), 1);
    CScriptView* pView = pFrame->ActiveView();
    QTest::keyClicks(pView, "x");
    QCOMPARE(TabTexts(start), (QStringList{"Script", "Function*"}));
    // Closing discards through the scripted answer "No".
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    for (CScriptDoc* pDoc : start.App().Documents().AllDocuments())
        pDoc->Frame()->close();
    QTRY_COMPARE(pFrame->ScriptTabsBar()->TabBar()->count(), 0);
    QTRY_VERIFY(!pFrame->ScriptTabsBar()->TabBar()->isVisible());
    start.CloseAndKeepStore();
}

void TestMainFrame::selectingATabActivatesItsWindow()
{
    CMemorySettingsStore seed = Seeded({{"DocMax", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptDoc* pFirst = start.App().MainFrame()->ActiveDocument();
    start.App().Documents().NewDocument(EDocKind::Text);
    CMainFrame* pFrame = start.App().MainFrame();
    pFrame->ScriptTabsBar()->TabBar()->setCurrentIndex(0);
    QCOMPARE(pFrame->ActiveDocument(), pFirst);
    start.CloseAndKeepStore();
}

void TestMainFrame::placementZeroKeepsTheDefault()
{
    CMemorySettingsStore seed = Seeded({{"WinX", 77}, {"WinY", 66}, {"WinWidth", 0}, {"WinHeight", 500}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QVERIFY(start.App().MainFrame()->pos() != QPoint(77, 66));
    start.CloseAndKeepStore();
}

void TestMainFrame::placementOffEveryScreenComesBack_data()
{
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<bool>("keptAsStored");
    QTest::newRow("off every screen comes back onto the primary one") << QPoint(-5000, -4000) << false;
    QTest::newRow("on a screen stays exactly as stored") << QPoint(10, 20) << true;
}

void TestMainFrame::placementOffEveryScreenComesBack()
{
    QFETCH(QPoint, stored);
    QFETCH(bool, keptAsStored);
    CMemorySettingsStore seed
        = Seeded({{"WinX", stored.x()}, {"WinY", stored.y()}, {"WinWidth", 700}, {"WinHeight", 500}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    const QRect rc = start.App().MainFrame()->StoredPlacement();
    QCOMPARE(rc.size(), QSize(700, 500));
    QVERIFY(QGuiApplication::primaryScreen()->geometry().intersects(rc));
    QCOMPARE(rc.topLeft() == stored, keptAsStored);
    start.CloseAndKeepStore();
}

void TestMainFrame::documentFromTextStartsItsHistoryThere()
{
    CMemorySettingsStore seed = Seeded({{"ShowExt", 1}, {"AddHeader", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    CScriptDoc* pDoc = pFrame->Documents().CreateDocFromText(EDocKind::Script, QStringLiteral("hint \"ready\"\n~5\n"),
                                                             QStringLiteral("Unit"));
    QVERIFY(pDoc);
    CScriptView* pView = pDoc->Frame()->View();
    // No header: the text alone, and nothing to undo before it.
    QCOMPARE(pDoc->PlainText(), QStringLiteral("hint \"ready\"\n~5\n"));
    QVERIFY(!pView->CanUndo());
    QVERIFY(pDoc->IsModified());
    QCOMPARE(pDoc->GetTitle(), QStringLiteral("Unit.sqs*"));
    QCOMPARE(pFrame->Settings().m_bAddHeader, 1);
    pView->Document().ReplaceAll(QStringLiteral("exit\n"));
    QCOMPARE(pDoc->PlainText(), QStringLiteral("exit\n"));
    QVERIFY(!pView->CanUndo());
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

void TestMainFrame::dataFilesOpenAsDataDocuments()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    pFrame->Action(QStringLiteral("Edit Auto &Header Data"))->trigger();
    QCOMPARE(pFrame->ActiveDocument()->GetPathName(), start.App().Paths().m_sHeaderFile);
    QCOMPARE(pFrame->ActiveViewType(), int(kFileDAT));
    QTRY_COMPARE(pFrame->PaneText(5), QStringLiteral("DAT"));
    // "[SCRIPT]" stands out as a section header in the data file.
    QVERIFY(pFrame->ActiveDocument()->PlainText().contains(QStringLiteral("[SCRIPT]")));
    start.CloseAndKeepStore();
}

void TestMainFrame::windowMenuListsTheFirst24()
{
    CMemorySettingsStore seed = Seeded({{"DocMax", 0}, {"AddHeader", 0}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    for (int i = 0; i < 30; ++i)
        start.App().Documents().NewDocument(EDocKind::Text);
    CMainFrame* pFrame = start.App().MainFrame();
    QMenu* pWindow = nullptr;
    for (QAction* pAction : pFrame->menuBar()->actions())
        if (pAction->text() == QLatin1String("&Window"))
            pWindow = pAction->menu();
    QVERIFY(pWindow);
    emit pWindow->aboutToShow();
    QStringList entries;
    for (QAction* pAction : pWindow->actions())
        if (!pAction->isSeparator())
            entries.append(pAction->text());
    QCOMPARE(entries.mid(0, 4), (QStringList{"&Cascade", "Tile &Horizontally", "Tile &Vertically", "&Arrange Icons"}));
    QCOMPARE(entries.size(), 4 + 24);
    QCOMPARE(entries[4], QStringLiteral("&1 Text"));
    QCOMPARE(entries[12], QStringLiteral("&9 Text"));
    QCOMPARE(entries[13], QStringLiteral("10 Text"));
    // The active window is the newest one, beyond the listed 24: nothing is checked.
    for (QAction* pAction : pWindow->actions())
        QVERIFY(!pAction->isChecked());
    start.CloseAndKeepStore();
}

void TestMainFrame::barTogglesHideAndRemember()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    QVERIFY(pFrame->statusBar()->isVisible());
    pFrame->Action(QStringLiteral("S&tatus Bar"))->trigger();
    QVERIFY(!pFrame->statusBar()->isVisible());
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("StatusBar"), -1), 0);
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("ScriptsBar"), -1), 1);
}

void TestMainFrame::commandBarWidthStaysInItsRange_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("180 is too narrow") << 180 << false;
    QTest::newRow("181 is the narrowest") << 181 << true;
    QTest::newRow("399 is the widest") << 399 << true;
    QTest::newRow("400 is too wide") << 400 << false;
}

void TestMainFrame::commandBarWidthStaysInItsRange()
{
    QFETCH(int, width);
    QFETCH(bool, accepted);
    QCOMPARE(CCommandDlg::AcceptsWidth(width), accepted);
    CMemorySettingsStore seed = Seeded({{"BarWidth", width}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    const int nShown = pFrame->CommandBarDock()->width();
    QVERIFY2(nShown >= 181 && nShown <= 399, qPrintable(QString::number(nShown)));
    if (accepted)
        QCOMPARE(nShown, width);
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    const int nStored = store.ReadInt(kSettingsSection, QStringLiteral("BarWidth"), -1);
    QVERIFY(CCommandDlg::AcceptsWidth(nStored));
}

void TestMainFrame::draggingTheGripTakesOnlyWidthsInRange_data()
{
    QTest::addColumn<int>("barRight");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("expected");
    for (const int bRight : {0, 1}) {
        const char* pszSide = bRight ? "right: " : "left: ";
        QTest::addRow("%s180 refused", pszSide) << bRight << 180 << 300;
        QTest::addRow("%s181 taken", pszSide) << bRight << 181 << 181;
        QTest::addRow("%s399 taken", pszSide) << bRight << 399 << 399;
        QTest::addRow("%s400 refused", pszSide) << bRight << 400 << 300;
        QTest::addRow("%sfar beyond refused", pszSide) << bRight << 900 << 300;
    }
}

void TestMainFrame::draggingTheGripTakesOnlyWidthsInRange()
{
    QFETCH(int, barRight);
    QFETCH(int, target);
    QFETCH(int, expected);
    CMemorySettingsStore seed = Seeded({{"BarWidth", 300}, {"BarRight", barRight}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CMainFrame* pFrame = start.App().MainFrame();
    pFrame->resize(1400, 800);
    CCommandBarDock* pDock = pFrame->CommandBarDock();
    QCOMPARE(pDock->width(), 300);
    // The pointer goes in one move from the grip to where the bar's inner
    // edge would lie at the target width.
    QWidget* pGrip = pDock->Grip();
    const QPoint ptGrip = pGrip->rect().center();
    const int nEdgeX = barRight ? pDock->width() - target : target;
    const QPoint ptTarget = pGrip->mapFromGlobal(pDock->mapToGlobal(QPoint(nEdgeX, ptGrip.y())));
    QTest::mousePress(pGrip, Qt::LeftButton, Qt::NoModifier, ptGrip);
    QMouseEvent move(QEvent::MouseMove, ptTarget, pGrip->mapToGlobal(ptTarget), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(pGrip, &move);
    QTest::mouseRelease(pGrip, Qt::LeftButton, Qt::NoModifier, ptTarget);
    QCOMPARE(pDock->width(), expected);
    const CMemorySettingsStore store = start.CloseAndKeepStore();
    QCOMPARE(store.ReadInt(kSettingsSection, QStringLiteral("BarWidth"), -1), expected);
}

void TestMainFrame::projectTreeShowsTheCurrentProject()
{
    QTemporaryDir dir;
    const QString sInit = dir.filePath(QStringLiteral("init.sqs"));
    WriteFile(sInit, "x\r\n");
    CMemorySettingsStore seed = Seeded({});
    seed.WriteString(kSettingsSection, QStringLiteral("CurProject"), QStringLiteral("Op Nightfall"));
    CStart start({}, &seed);
    WriteFile(QDir(start.ExeDir()).filePath(QStringLiteral("project.dat")),
              ("[PROJECT]\nOp Nightfall\n" + sInit + "\n").toUtf8());
    QVERIFY(start.App().InitInstance());
    QTreeWidget* pTree = start.App().MainFrame()->CommandBar()->ProjectTree();
    QCOMPARE(pTree->topLevelItemCount(), 1);
    QTreeWidgetItem* pRoot = pTree->topLevelItem(0);
    QCOMPARE(pRoot->text(0), QStringLiteral("Op Nightfall"));
    QCOMPARE(pRoot->childCount(), 1);
    QCOMPARE(pRoot->child(0)->text(0), QStringLiteral("init"));
    QVERIFY(pRoot->isExpanded());
    // A double click opens the file through the project.
    emit pTree->itemDoubleClicked(pRoot->child(0), 0);
    QVERIFY(start.App().Documents().FindDocument(sInit));
    QCOMPARE(start.App().Project().m_ProjectFiles[0].bOpen, 1);
    start.CloseAndKeepStore();
}

void TestMainFrame::commandsFollowTheirRulesAndShortcutsAreBound()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CCommands& commands = start.App().MainFrame()->Commands();
    commands.Refresh();
    for (ECommand eCommand : {ECommand::EditBriefing, ECommand::EditOverview, ECommand::InsertSnippet})
        QVERIFY2(!commands.Action(eCommand)->isEnabled(), CommandInfo(eCommand).pszText);
    for (ECommand eCommand :
         {ECommand::Save, ECommand::SelectAll, ECommand::CommentOut, ECommand::About, ECommand::OpenProject,
          ECommand::Find, ECommand::BriefingWizard, ECommand::Options, ECommand::LaunchGame, ECommand::UnitWizard})
        QVERIFY2(commands.Action(eCommand)->isEnabled(), CommandInfo(eCommand).pszText);
    QVERIFY(commands.Action(ECommand::Copy)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Insert"))));
    QVERIFY(commands.Action(ECommand::Paste)->shortcuts().contains(QKeySequence(QStringLiteral("Shift+Insert"))));
    QCOMPARE(commands.Action(ECommand::Save)->statusTip(), QStringLiteral("Save the active document"));
    QCOMPARE(commands.Action(ECommand::Save)->toolTip(), QStringLiteral("Save"));
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

void TestMainFrame::aboutBoxShowsVersionAndMemory()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CAboutDlg about(start.App().Version());
    QCOMPARE(about.windowTitle(), QStringLiteral("About Velk Edit"));
    QStringList groups;
    for (const QGroupBox* pGroup : about.findChildren<QGroupBox*>())
        groups.append(pGroup->title());
    QCOMPARE(
        groups,
        (QStringList{"Application Information", "Application Description", "Editable Document Types", "System Info"}));
    QVERIFY(about.MemoryText().startsWith(QStringLiteral("Total Memory:\t")));
    bool bVersionShown = false;
    for (const QLabel* pLabel : about.findChildren<QLabel*>())
        bVersionShown = bVersionShown || pLabel->text() == QStringLiteral("Version 1.3.4000");
    QVERIFY(bVersionShown);
    start.CloseAndKeepStore();
}

void TestMainFrame::recentFilesShowTheFirstSix()
{
    CMemorySettingsStore seed = Seeded({});
    for (int i = 0; i < 10; ++i)
        seed.WriteString(QStringLiteral("Recent File List"), QStringLiteral("File%1").arg(i + 1),
                         QStringLiteral("/missions/op%1/Init%1.sqs").arg(i));
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QCOMPARE(start.App().RecentFiles()->Count(), 10);
    QCOMPARE(start.App().RecentFiles()->GetAt(9), QStringLiteral("/missions/op9/Init9.sqs"));
    QCOMPARE(start.App().RecentFiles()->GetAt(10), QString());
    CMainFrame* pFrame = start.App().MainFrame();
    QMenu* pFile = pFrame->menuBar()->actions().first()->menu();
    emit pFile->aboutToShow();
    QMenu* pRecent = nullptr;
    for (QAction* pAction : pFile->actions())
        if (pAction->text() == QLatin1String("&Recent Files"))
            pRecent = pAction->menu();
    QVERIFY(pRecent);
    QStringList labels;
    for (QAction* pAction : pRecent->actions())
        labels.append(pAction->text());
    QCOMPARE(labels,
             (QStringList{"&1 ...\\Init0.sqs", "&2 ...\\Init1.sqs", "&3 ...\\Init2.sqs", "&4 ...\\Init3.sqs",
                          "&5 ...\\Init4.sqs", "&6 ...\\Init5.sqs"}));
    start.CloseAndKeepStore();
}

void TestMainFrame::treeRightClickOnEmptySpaceDoesNothing()
{
    CMemorySettingsStore seed = Seeded({});
    CStart start({}, &seed);  // every widget here needs the application object
    CMenuTreeCtrl tree;
    auto* pRoot = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Op")});
    new QTreeWidgetItem(pRoot, QStringList{QStringLiteral("init")});
    pRoot->setExpanded(true);
    tree.resize(200, 300);
    tree.show();
    QList<CMenuTreeCtrl::EItemKind> asked;
    int nShown = 0;
    tree.SetMenus(
        [&](CMenuTreeCtrl::EItemKind eKind) {
            asked.append(eKind);
            return ProjectFileMenu();
        },
        [&](const QList<SMenuEntry>&, const QPoint&) { ++nShown; });
    tree.setCurrentItem(pRoot);
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, QPoint(100, 280));
    QCOMPARE(nShown, 0);
    QCOMPARE(tree.currentItem(), pRoot);
    // On an item the click selects it and asks for the menu of its kind.
    const QRect rcChild = tree.visualItemRect(pRoot->child(0));
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, rcChild.center());
    QCOMPARE(tree.currentItem(), pRoot->child(0));
    QCOMPARE(nShown, 1);
    QCOMPARE(asked, QList<CMenuTreeCtrl::EItemKind>{CMenuTreeCtrl::EItemKind::Leaf});
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestMainFrame test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainframe.moc"
