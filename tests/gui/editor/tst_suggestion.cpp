#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorfixture.h"

#include <QtTest>

using namespace VelkTest;

// A shown completion is no text of the document: it never enters the
// history, never colours the typed word, never reaches a file.
class TestSuggestion : public QObject
{
    Q_OBJECT

private slots:
    void undoNeverBringsASuggestionBack_data();
    void undoNeverBringsASuggestionBack();
    void typedPartKeepsItsOwnColours();
    void commandsSeeTheTextWithoutTheSuggestion_data();
    void commandsSeeTheTextWithoutTheSuggestion();
    void shortcutLetterLetGoAfterCtrlOffersNothing();
};

namespace {

// Ctrl+Z as people type it: Ctrl goes up before the letter does.
void UndoKeys(QWidget* pView)
{
    QTest::keyPress(pView, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyRelease(pView, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(pView, Qt::Key_Z, Qt::NoModifier);
}

}  // namespace

void TestSuggestion::undoNeverBringsASuggestionBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a word and a space") << "player ";
    QTest::newRow("a word still offered") << "setD";
    QTest::newRow("a local variable") << "_th";
}

void TestSuggestion::undoNeverBringsASuggestionBack()
{
    QFETCH(QString, typed);
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open());
    QTest::keyClicks(e.pView, typed);
    // Step by step, every state is a part of what was typed, and none shows an offer.
    for (int i = 0; e.pView->CanUndo(); ++i) {
        UndoKeys(e.pView);
        QVERIFY(!e.pView->IsSuggestionShown());
        QVERIFY2(typed.startsWith(Text(e.pView)), qPrintable(Text(e.pView)));
        QVERIFY(i < typed.size());
    }
    QCOMPARE(Text(e.pView), QString());
    while (e.pView->CanRedo()) {
        e.pView->OnEditRedo();
        QVERIFY2(typed.startsWith(Text(e.pView)), qPrintable(Text(e.pView)));
    }
    QCOMPARE(Text(e.pView), typed);
}

void TestSuggestion::typedPartKeepsItsOwnColours()
{
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open());
    for (const QString& sTyped : {QStringLiteral("setD"), QStringLiteral("_th")}) {
        e.pView->selectAll();
        e.pView->InsertText(QStringLiteral("x"), true);
        e.pView->selectAll();
        QTest::keyClicks(e.pView, sTyped);
        QVERIFY2(e.pView->IsSuggestionShown(), qPrintable(sTyped));
        const QString sShown = Classes(e.pView, 0);
        QCOMPARE(sShown.left(sTyped.size()), ExpectedLineClasses(e.start.App().Dictionary(), sTyped, kFileSQS));
    }
}

void TestSuggestion::commandsSeeTheTextWithoutTheSuggestion_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Save from the menu") << 0;
    QTest::newRow("the save question on close") << 1;
    QTest::newRow("a shortcut key") << 2;
}

void TestSuggestion::commandsSeeTheTextWithoutTheSuggestion()
{
    QFETCH(int, way);
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open("\r\nsleep 1\r\n"));
    QTest::keyClicks(e.pView, "hint");
    QVERIFY(e.pView->IsSuggestionShown());
    switch (way) {
    case 0:
        e.start.App().MainFrame()->Commands().Action(ECommand::Save)->trigger();
        break;
    case 1:
        e.start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::Yes, {}});
        QVERIFY(e.pDoc->SaveModified());
        break;
    default:
        QTest::keyClick(e.pView, Qt::Key_F2);
        QVERIFY(!e.pView->IsSuggestionShown());
        e.pDoc->OnFileSave();
        break;
    }
    QCOMPARE(ReadFile(e.pDoc->GetPathName()), QByteArray("hint\r\nsleep 1\r\n"));
    QCOMPARE(e.pDoc->PlainText(), QStringLiteral("hint\nsleep 1\n"));
}

void TestSuggestion::shortcutLetterLetGoAfterCtrlOffersNothing()
{
    SOpenedFile e(TypingSeed({true, false, false}));
    QVERIFY(e.Open());
    QTest::keyClicks(e.pView, "hint");
    QVERIFY(e.pView->IsSuggestionShown());
    QTest::keyPress(e.pView, Qt::Key_S, Qt::ControlModifier);
    QTest::keyRelease(e.pView, Qt::Key_Control, Qt::ControlModifier);
    QTest::keyRelease(e.pView, Qt::Key_S, Qt::NoModifier);
    QVERIFY(!e.pView->IsSuggestionShown());
    QCOMPARE(Text(e.pView), QStringLiteral("hint"));
}

// Each test starts an editor of its own, whose application object Qt Test must not duplicate.
int main(int argc, char** argv)
{
    TestSuggestion test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_suggestion.moc"
