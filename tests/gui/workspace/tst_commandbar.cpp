#include "core/workspace/commandtree.h"
#include "gui/controls/commands.h"
#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commandbarcommands.h"
#include "gui/workspace/commanddlg.h"
#include "tests/support/editorfixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QtTest>

using namespace VelkTest;

namespace {

CCommandDlg* Bar(CStart& start)
{
    return start.App().MainFrame()->CommandBar();
}

CMenuTreeCtrl* Tree(CStart& start)
{
    return Bar(start)->CommandsTree();
}

QAction* Command(CStart& start, ECommand eId)
{
    return start.App().MainFrame()->Commands().Action(eId);
}

// An item by its path of texts from a category down; null when there is none.
QTreeWidgetItem* ItemAt(CStart& start, const QStringList& path)
{
    QTreeWidgetItem* pItem = nullptr;
    for (const QString& sText : path) {
        const int nCount = pItem ? pItem->childCount() : Tree(start)->topLevelItemCount();
        QTreeWidgetItem* pFound = nullptr;
        for (int i = 0; i < nCount && !pFound; ++i) {
            QTreeWidgetItem* pChild = pItem ? pItem->child(i) : Tree(start)->topLevelItem(i);
            if (pChild->text(0) == sText)
                pFound = pChild;
        }
        if (!pFound)
            return nullptr;
        pItem = pFound;
    }
    return pItem;
}

// The Commands tab shown and the item in sight, so the mouse can reach it.
QPoint PointOf(CStart& start, QTreeWidgetItem* pItem)
{
    Bar(start)->Tabs()->setCurrentIndex(CCommandDlg::kCommandsTab);
    for (QTreeWidgetItem* pParent = pItem->parent(); pParent; pParent = pParent->parent())
        pParent->setExpanded(true);
    Tree(start)->scrollToItem(pItem);
    return Tree(start)->visualItemRect(pItem).center();
}

// As the desktop delivers one: a click, then the second press as a double click.
void DoubleClick(QWidget* pWidget, const QPoint& pt)
{
    QTest::mouseClick(pWidget, Qt::LeftButton, {}, pt);
    QTest::mouseDClick(pWidget, Qt::LeftButton, {}, pt);
}

// The texts of the popup menu that the action opens, read and closed from
// inside the menu's own loop; empty when no menu opened.
QStringList MenuOpenedBy(const std::function<void()>& action)
{
    QStringList items;
    bool bDone = false;
    std::function<void()> readMenu = [&] {
        if (bDone)
            return;
        if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* pAction : pMenu->actions())
                items.append(pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
            pMenu->close();
        } else {
            QTimer::singleShot(10, readMenu);
        }
    };
    QTimer::singleShot(0, readMenu);
    action();
    bDone = true;
    return items;
}

// Opens the go-to list as a click does and gives what it offers.
QStringList OpenGotoList(CStart& start)
{
    QComboBox* pGoto = Bar(start)->GotoList();
    pGoto->hidePopup();
    QTest::mouseClick(pGoto, Qt::LeftButton);
    QStringList entries;
    for (int i = 0; i < pGoto->count(); ++i)
        entries.append(pGoto->itemText(i));
    return entries;
}

const QByteArray kLoopScript = "  #loop\r\nhint \"a\"\r\n; back to #LOOP now\r\n#loops\r\ngoto \"loop\"\r\n";

}  // namespace

class TestCommandBar : public QObject
{
    Q_OBJECT

private slots:
    void insertCommandPutsTheItemTextInOneStep_data();
    void insertCommandPutsTheItemTextInOneStep();
    void doubleClickInsertsTheItem();
    void commandsFollowTheSelectedItem_data();
    void commandsFollowTheSelectedItem();
    void commandHelpOpensTheLetterPage();
    void itemMenuShowsForEntriesNotCategories_data();
    void itemMenuShowsForEntriesNotCategories();
    void treeIsRebuiltFromTheDictionary();
    void gotoListSelectsTheLastWholeWordOccurrence();
    void gotoListIsRefilledOnEveryOpening();
};

void TestCommandBar::insertCommandPutsTheItemTextInOneStep_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("inserted");

    QTest::newRow("command bare") << QStringList{"Commands", "sideChat"} << "sideChat";
    QTest::newRow("weapon quoted") << QStringList{"Infantry Weapons", "\"M16A2\""} << "\"M16A2\"";
    QTest::newRow("magazine quoted") << QStringList{"Infantry Weapons", "\"M16A2\"", "\"Mag30_556_Tracer\""}
                                     << "\"Mag30_556_Tracer\"";
    QTest::newRow("vehicle quoted") << QStringList{"Vehicles", "\"HMMWV\""} << "\"HMMWV\"";
}

void TestCommandBar::insertCommandPutsTheItemTextInOneStep()
{
    QFETCH(QStringList, path);
    QFETCH(QString, inserted);

    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "_w = OLD\r\nexit");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(5, 8);
    const int nSteps = Steps(pView);

    QTreeWidgetItem* pItem = ItemAt(start, path);
    QVERIFY(pItem);
    Tree(start)->setCurrentItem(pItem);
    QVERIFY(Command(start, ECommand::InsertCommand)->isEnabled());
    Command(start, ECommand::InsertCommand)->trigger();

    QCOMPARE(Text(pView), "_w = " + inserted + "\nexit");
    QCOMPARE(pView->Selection(), qMakePair(5 + int(inserted.size()), 5 + int(inserted.size())));
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(pDoc->IsModified());
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("_w = OLD\nexit"));
}

void TestCommandBar::doubleClickInsertsTheItem()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);

    QTreeWidgetItem* pWeapon = ItemAt(start, {"Infantry Weapons", "\"M16A2\""});
    QVERIFY(pWeapon);
    DoubleClick(Tree(start)->viewport(), PointOf(start, pWeapon));
    QCOMPARE(Text(pView), QStringLiteral("\"M16A2\""));

    // A category is no entry: nothing goes in.
    QTreeWidgetItem* pCategory = ItemAt(start, {"Equipment"});
    DoubleClick(Tree(start)->viewport(), PointOf(start, pCategory));
    QCOMPARE(Tree(start)->currentItem(), pCategory);
    QCOMPARE(Text(pView), QStringLiteral("\"M16A2\""));
}

void TestCommandBar::commandsFollowTheSelectedItem_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<bool>("insertEnabled");
    QTest::addColumn<bool>("helpEnabled");

    QTest::newRow("nothing selected") << QStringList() << false << false;
    QTest::newRow("category Commands") << QStringList{"Commands"} << false << false;
    QTest::newRow("category Vehicles") << QStringList{"Vehicles"} << false << false;
    QTest::newRow("command") << QStringList{"Commands", "sideChat"} << true << true;
    QTest::newRow("weapon") << QStringList{"Infantry Weapons", "\"M16A2\""} << true << false;
    QTest::newRow("magazine") << QStringList{"Infantry Weapons", "\"M16A2\"", "\"Mag30_556_STANAG\""} << true << false;
    QTest::newRow("equipment") << QStringList{"Equipment", "\"Binocular\""} << true << false;
}

void TestCommandBar::commandsFollowTheSelectedItem()
{
    QFETCH(QStringList, path);
    QFETCH(bool, insertEnabled);
    QFETCH(bool, helpEnabled);

    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    // From the opposite state, so a rule that is never evaluated shows.
    Tree(start)->setCurrentItem(insertEnabled ? ItemAt(start, {"Commands"}) : ItemAt(start, {"Commands", "hint"}));
    QCOMPARE(Command(start, ECommand::InsertCommand)->isEnabled(), !insertEnabled);

    QTreeWidgetItem* pItem = path.isEmpty() ? nullptr : ItemAt(start, path);
    QVERIFY(path.isEmpty() || pItem);
    Tree(start)->setCurrentItem(pItem);
    QCOMPARE(Command(start, ECommand::InsertCommand)->isEnabled(), insertEnabled);
    QCOMPARE(Command(start, ECommand::GetCommandHelp)->isEnabled(), helpEnabled);
}

void TestCommandBar::commandHelpOpensTheLetterPage()
{
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    Tree(start)->setCurrentItem(ItemAt(start, {"Commands", "sideChat"}));
    Command(start, ECommand::GetCommandHelp)->trigger();
    QCOMPARE(start.Shell().m_calls.size(), 1);
    const CRecordingShell::SCall& call = start.Shell().m_calls.first();
    QCOMPARE(call.eKind, CRecordingShell::SCall::EKind::OpenUrl);
    QVERIFY2(call.sTarget.endsWith(QLatin1String("/COMREF/index.php?action=list&game=All&letter=s")),
             qPrintable(call.sTarget));
}

void TestCommandBar::itemMenuShowsForEntriesNotCategories_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<bool>("menu");

    QTest::newRow("category") << QStringList{"Infantry Weapons"} << false;
    QTest::newRow("weapon with magazines") << QStringList{"Infantry Weapons", "\"M16A2\""} << true;
    QTest::newRow("magazine") << QStringList{"Infantry Weapons", "\"M16A2\"", "\"Mag30_556_STANAG\""} << true;
    QTest::newRow("command") << QStringList{"Commands", "sideChat"} << true;
}

void TestCommandBar::itemMenuShowsForEntriesNotCategories()
{
    QFETCH(QStringList, path);
    QFETCH(bool, menu);

    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QTreeWidgetItem* pItem = ItemAt(start, path);
    QVERIFY(pItem);
    const QPoint pt = PointOf(start, pItem);
    const QStringList items = MenuOpenedBy([&] {
        QTest::mousePress(Tree(start)->viewport(), Qt::RightButton, {}, pt);
        QTest::mouseRelease(Tree(start)->viewport(), Qt::RightButton, {}, pt);
    });
    QCOMPARE(Tree(start)->currentItem(), pItem);
    const QStringList expected = menu ? QStringList{"&Insert Command", "Get Command &Help"} : QStringList();
    QCOMPARE(items, expected);
}

void TestCommandBar::treeIsRebuiltFromTheDictionary()
{
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    auto* pController = Bar(start)->findChild<CCommandBarCommands*>();
    QVERIFY(pController);
    QVERIFY(ItemAt(start, {"Vehicles", "\"HMMWV\""}));
    Tree(start)->setCurrentItem(ItemAt(start, {"Vehicles", "\"HMMWV\""}));
    QVERIFY(Command(start, ECommand::InsertCommand)->isEnabled());

    CDictionary& dict = start.App().Dictionary();
    dict.m_arVehicles.clear();
    dict.m_arCommands = QStringList{"zeta", "Alpha"};
    pController->BuildCommandsTree();

    QCOMPARE(Tree(start)->topLevelItemCount(), 5);
    QStringList categories;
    for (int i = 0; i < Tree(start)->topLevelItemCount(); ++i)
        categories.append(Tree(start)->topLevelItem(i)->text(0));
    QCOMPARE(categories,
             (QStringList{"Commands", "Infantry Weapons", "Vehicle/Static Weapons", "Vehicles", "Equipment"}));
    QTreeWidgetItem* pCommands = Tree(start)->topLevelItem(0);
    QCOMPARE(pCommands->childCount(), 2);
    QCOMPARE(pCommands->child(0)->text(0), QStringLiteral("Alpha"));
    QCOMPARE(pCommands->child(1)->text(0), QStringLiteral("zeta"));
    QTreeWidgetItem* pVehicles = Tree(start)->topLevelItem(3);
    QCOMPARE(pVehicles->childCount(), 1);
    QCOMPARE(pVehicles->child(0)->text(0), CommandTree::NotAvailable());
    // The item selected before is gone, and so are its commands.
    QVERIFY(!Command(start, ECommand::InsertCommand)->isEnabled());

    // "Not Available" is an entry like any other.
    QTemporaryDir dir;
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "");
    QVERIFY(pDoc);
    Tree(start)->setCurrentItem(pVehicles->child(0));
    Command(start, ECommand::InsertCommand)->trigger();
    QCOMPARE(Text(View(pDoc)), QStringLiteral("Not Available"));
}

void TestCommandBar::gotoListSelectsTheLastWholeWordOccurrence()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", kLoopScript);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(0, 0);

    QComboBox* pGoto = Bar(start)->GotoList();
    QVERIFY(pGoto->isEnabled());
    QCOMPARE(OpenGotoList(start), (QStringList{"#loop", "#loops"}));
    QVERIFY(pGoto->view()->isVisible());
    // Chosen in the open list: the first row highlighted, then Enter.
    pGoto->view()->setCurrentIndex(pGoto->model()->index(0, 0));
    QTest::keyClick(pGoto->view(), Qt::Key_Return);
    QVERIFY(!pGoto->view()->isVisible());

    const QString sText = Text(pView);
    const int nAt = int(sText.indexOf(QLatin1String("#LOOP")));
    QCOMPARE(pView->Selection(), qMakePair(nAt, nAt + 5));
    QCOMPARE(pView->GetSelectedText(), QStringLiteral("#LOOP"));
    // The typing goes on where the caret went.
    QCOMPARE(pView->window()->focusWidget(), pView);

    // An entry no longer in the text leaves the caret at the end.
    pView->SetSelection(0, 0);
    emit pGoto->activated(pGoto->findText(QStringLiteral("#loops")));
    QCOMPARE(pView->GetSelectedText(), QStringLiteral("#loops"));
    pGoto->addItem(QStringLiteral("#gone"));
    emit pGoto->activated(pGoto->count() - 1);
    QCOMPARE(pView->Selection(), qMakePair(int(sText.size()), int(sText.size())));
}

void TestCommandBar::gotoListIsRefilledOnEveryOpening()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    QCOMPARE(OpenGotoList(start), QStringList());

    CScriptDoc* pScript = Open(start, dir, "a.sqs", kLoopScript);
    QVERIFY(pScript);
    QCOMPARE(OpenGotoList(start), (QStringList{"#loop", "#loops"}));
    CScriptView* pView = View(pScript);
    pView->SetSelection(0, 0);
    pView->InsertText(QStringLiteral("#top\n"), true);
    QCOMPARE(OpenGotoList(start), (QStringList{"#top", "#loop", "#loops"}));
    // Nothing is chosen by opening alone.
    QCOMPARE(pView->Selection(), qMakePair(5, 5));

    CScriptDoc* pTable = Open(start, dir, "StringTable.csv", "#loop,class A b\r\n");
    QVERIFY(pTable);
    QCOMPARE(start.App().MainFrame()->ActiveView(), View(pTable));
    QCOMPARE(OpenGotoList(start), QStringList());

    CScriptDoc* pDescription = Open(start, dir, "description.ext", "class CfgSounds\r\n{\r\n};\r\n");
    QVERIFY(pDescription);
    QCOMPARE(OpenGotoList(start), QStringList{"class CfgSounds"});
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestCommandBar test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commandbar.moc"
