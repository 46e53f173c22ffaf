#include "core/editor/colourer.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorfixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace VelkTest;

namespace {

// The middle of the character at nPos, in viewport coordinates.
QPoint PointOf(const CScriptView* pView, int nPos)
{
    QTextCursor cursor(pView->document());
    cursor.setPosition(nPos);
    const QRect rcLeft = pView->cursorRect(cursor);
    cursor.setPosition(nPos + 1);
    const QRect rcRight = pView->cursorRect(cursor);
    return QPoint((rcLeft.left() + rcRight.left()) / 2, rcLeft.center().y());
}

const QString kCommentOut = QStringLiteral("&Comment Out Line(s)");
const QString kUncomment = QStringLiteral("U&ncomment Line(s)");

}  // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    // Line and case commands.
    void caseChangeMarksTheDocumentModified();
    void undoingPastASaveCountsAsAChange();
    void commandsRemoveAShownSuggestionFirst_data();
    void commandsRemoveAShownSuggestionFirst();
    void commentOutSkipsTheEmptyLineAndSelectsAllLines();
    void lineCommandsEditTheQualifyingLines_data();
    void lineCommandsEditTheQualifyingLines();
    void lineCommandsWithNothingToDoTakeNoStep_data();
    void lineCommandsWithNothingToDoTakeNoStep();
    void commentCommandsFollowTheFileType_data();
    void commentCommandsFollowTheFileType();
    void uppercaseWithoutSelectionTakesTheNextCharacter();
    void lowercaseKeepsTheSelection();
    // Keys.
    void enterIndentsTheNewLine_data();
    void enterIndentsTheNewLine();
    void undoRightAfterAnUnrecordedEditRestoresTheTextBefore_data();
    void undoRightAfterAnUnrecordedEditRestoresTheTextBefore();
    void closingBraceAfterTabOutdents_data();
    void closingBraceAfterTabOutdents();
    void upAndDownKeepToTheColumnTypedTo_data();
    void upAndDownKeepToTheColumnTypedTo();
    // Mouse.
    void doubleClickSelectsTheRunUnderThePointer_data();
    void doubleClickSelectsTheRunUnderThePointer();
    void rightClickMovesTheCaretOnlyOutsideTheSelection();
    void contextMenuOffersTheEditorCommands();
    // Paste and text services.
    void pastedRichTextArrivesPlainAndColoured();
    void pasteWithoutTextInsertsNothingButIsAStep();
    void pasteMovesBookmarksBelow();
    void droppedDataNeedsPlainText();
    void insertTextReplacesSelectionAndStepsOnRequest_data();
    void insertTextReplacesSelectionAndStepsOnRequest();
    void textServicesReadWordsSelectionAndLines();
    void wordsAreFoundWhateverTheLineAroundThem_data();
    void wordsAreFoundWhateverTheLineAroundThem();
    // Auto-completion.
    void typedPrefixShowsTheRestSelected();
    void enterAcceptsTheSuggestionWithoutLineBreak();
    void typingOnReplacesTheSuggestion();
    void backspaceRemovesOnlyTheSuggestion();
    void arrowsStepThroughEntriesWithTheSamePrefix();
    void exactWordWithoutLongerEntryShowsNothing();
    void finishedWordIsLearned();
    void keypadDigitsNeverSuggest_data();
    void keypadDigitsNeverSuggest();
    void plainTextViewsNeverSuggest_data();
    void plainTextViewsNeverSuggest();
    void clickRemovesTheSuggestion();
    void undoRemovesTheSuggestionAndKeepsTheHistorySound();
    void keysTypedOverSuggestionsAreOneStepEach();
    void shortcutReleaseOffersNothing();

private:
    // An editor with auto-completion on and a word list of the test's own.
    CScriptView* CompletingView(CStart& start, const QTemporaryDir& dir, const QString& sName = "a.sqs",
                                const QByteArray& content = QByteArray());
};

void TestEditing::commentOutSkipsTheEmptyLineAndSelectsAllLines()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "intro.sqs", "hint \"a\"\r\n\r\nexit");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(2, LineStart(pView, 2) + 1);
    const int nSteps = Steps(pView);
    QAction* pAction = EditAction(start, kCommentOut);
    QVERIFY(pAction && pAction->isEnabled());
    pAction->trigger();
    QCOMPARE(Text(pView), QStringLiteral(";hint \"a\"\n\n;exit"));
    QCOMPARE(pView->Selection(), qMakePair(0, int(Text(pView).size())));
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(pDoc->IsModified());
    QCOMPARE(Classes(pView, 0), QString(9, u'R'));
    QCOMPARE(Classes(pView, 2), QString(5, u'R'));
}

void TestEditing::lineCommandsEditTheQualifyingLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("result");
    QTest::newRow("uncomment '//' in a script") << "a.sqs" << QByteArray("//hint \"a\"") << kUncomment << "hint \"a\"";
    QTest::newRow("uncomment ';' and '//' in a function file")
        << "a.sqf" << QByteArray(";a\r\n//b\r\nc") << kUncomment << "a\nb\nc";
    QTest::newRow("indent adds a tab to non-empty lines")
        << "a.sqs" << QByteArray("a\r\n\r\n  b") << "&Increase Line Indent"
        << "\ta\n\n\t  b";
    QTest::newRow("outdent removes one tab per line")
        << "a.sqs" << QByteArray("\t\ta\r\n\tb\r\n    c") << "&Decrease Line Indent"
        << "\ta\nb\n    c";
    QTest::newRow("comment out in a function file") << "a.sqf" << QByteArray("a\r\n\tb") << kCommentOut << "//a\n//\tb";
}

void TestEditing::lineCommandsEditTheQualifyingLines()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, command);
    QFETCH(QString, result);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, name, content);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(1, int(Text(pView).size()));
    const int nSteps = Steps(pView);
    QAction* pAction = EditAction(start, command);
    QVERIFY(pAction && pAction->isEnabled());
    pAction->trigger();
    QCOMPARE(Text(pView), result);
    QCOMPARE(pView->Selection(), qMakePair(0, int(result.size())));
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(pDoc->IsModified());
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QString::fromLatin1(content).replace(QLatin1String("\r\n"), QLatin1String("\n")));
}

void TestEditing::lineCommandsWithNothingToDoTakeNoStep_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("command");
    QTest::newRow("uncomment of a prefix after a tab") << "a.sqf" << QByteArray("\t//hint") << kUncomment;
    QTest::newRow("uncomment of a prefix after blanks") << "a.sqs" << QByteArray("  ;hint") << kUncomment;
    QTest::newRow("outdent of four spaces") << "a.sqs" << QByteArray("    hint") << "&Decrease Line Indent";
    QTest::newRow("comment out of empty lines") << "a.sqs" << QByteArray("\r\n\r\n") << kCommentOut;
    QTest::newRow("indent of empty lines") << "a.sqs" << QByteArray("\r\n") << "&Increase Line Indent";
}

void TestEditing::lineCommandsWithNothingToDoTakeNoStep()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, command);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, name, content);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QString sBefore = Text(pView);
    pView->SetSelection(0, int(sBefore.size()));
    const int nSteps = Steps(pView);
    QAction* pAction = EditAction(start, command);
    QVERIFY(pAction);
    pAction->trigger();
    QCOMPARE(Text(pView), sBefore);
    QCOMPARE(Steps(pView), nSteps);
    QVERIFY(!pDoc->IsModified());
    QVERIFY(!pView->document()->isModified());
}

void TestEditing::commentCommandsFollowTheFileType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("sqs") << "a.sqs" << true;
    QTest::newRow("sqf") << "a.sqf" << true;
    QTest::newRow("ext") << "description.ext" << true;
    QTest::newRow("html") << "a.html" << false;
    QTest::newRow("csv") << "a.csv" << false;
    QTest::newRow("dat") << "a.dat" << false;
    QTest::newRow("txt") << "a.txt" << false;
}

void TestEditing::commentCommandsFollowTheFileType()
{
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, name, ";x\r\ny");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QCOMPARE(start.App().MainFrame()->ActiveView(), pView);
    QCOMPARE(EditAction(start, kCommentOut)->isEnabled(), enabled);
    QCOMPARE(EditAction(start, kUncomment)->isEnabled(), enabled);
    // The commands themselves refuse too, whoever calls them.
    pView->SetSelection(0, 4);
    pView->OnEditUncomment();
    pView->OnEditCommentOut();
    QCOMPARE(Text(pView) == QStringLiteral(";x\ny"), !enabled);
}

void TestEditing::uppercaseWithoutSelectionTakesTheNextCharacter()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint xy");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(5, 5);
    const int nSteps = Steps(pView);
    EditAction(start, "Make Selection &Uppercase")->trigger();
    QCOMPARE(Text(pView), QStringLiteral("hint Xy"));
    QCOMPARE(pView->Selection(), qMakePair(6, 6));
    QCOMPARE(Steps(pView), nSteps + 1);
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("hint xy"));
}

void TestEditing::caseChangeMarksTheDocumentModified()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint x");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(0, 4);
    pView->ChangeCase(true);
    // The case change is an edit like any other: the title shows it and
    // closing asks before it is lost.
    QVERIFY(pDoc->IsModified());
    QCOMPARE(pDoc->GetTitle(), QStringLiteral("a*"));
    // A change that changes nothing leaves the document as it was.
    pView->OnEditUndo();
    QVERIFY(!pDoc->IsModified());
    pView->SetSelection(4, 6);
    pView->ChangeCase(false);
    QVERIFY(!pDoc->IsModified());
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

void TestEditing::undoingPastASaveCountsAsAChange()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(4, 4);
    QTest::keyClicks(pView, "xy");
    QVERIFY(pDoc->DoFileSave());
    QVERIFY(!pDoc->IsModified());
    // The file now holds "hintxy": going back leaves it, so closing must ask.
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("hintx"));
    QVERIFY(pDoc->IsModified());
    pView->OnEditUndo();
    QVERIFY(pDoc->IsModified());
    pView->OnEditRedo();
    pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("hintxy"));
    QVERIFY(!pDoc->IsModified());
    start.CloseAndKeepStore();
}

void TestEditing::commandsRemoveAShownSuggestionFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("indent") << QStringLiteral("&Increase Line Indent");
    QTest::newRow("comment out") << QStringLiteral("&Comment Out Line(s)");
    QTest::newRow("uppercase") << QStringLiteral("Make Selection &Uppercase");
}

void TestEditing::commandsRemoveAShownSuggestionFirst()
{
    QFETCH(QString, command);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir, QStringLiteral("s.sqs"), "player ");
    QVERIFY(pView);
    QTest::keyClicks(pView, "setd");
    QVERIFY(pView->IsSuggestionShown());
    EditAction(start, command)->trigger();
    QVERIFY(!pView->IsSuggestionShown());
    // Whatever the command did, the typed word is whole and no piece of
    // the suggestion stays behind; the next key cannot cut into the text.
    QVERIFY2(Text(pView).contains(QStringLiteral("setd"), Qt::CaseInsensitive), qPrintable(Text(pView)));
    QVERIFY2(!Text(pView).contains(QStringLiteral("amage"), Qt::CaseInsensitive), qPrintable(Text(pView)));
    const QString sBefore = Text(pView);
    QTest::keyClick(pView, Qt::Key_End);
    QCOMPARE(Text(pView), sBefore);
    start.Prompter().m_saveModifiedAnswers.append({IPrompter::EAnswer::No, {}});
    start.CloseAndKeepStore();
}

void TestEditing::lowercaseKeepsTheSelection()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "HINT \"ABC\"");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(2, 8);
    EditAction(start, "Make Selection &Lowercase")->trigger();
    QCOMPARE(Text(pView), QStringLiteral("HInt \"abC\""));
    QCOMPARE(pView->Selection(), qMakePair(2, 8));
}

void TestEditing::enterIndentsTheNewLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("whiteSpace");
    QTest::addColumn<bool>("autoTabs");
    QTest::addColumn<QString>("newLine");
    QTest::newRow("brace copies the indentation and adds a tab") << QByteArray("\t  {") << false << true << "\t\t  ";
    QTest::newRow("no brace with white space off inserts nothing") << QByteArray("hint x") << false << true << "";
    QTest::newRow("white space on copies tabs and spaces") << QByteArray("\t hint x") << true << false << "\t ";
    QTest::newRow("brace without auto tabs only copies") << QByteArray("\t{") << false << false << "\t";
}

void TestEditing::enterIndentsTheNewLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, whiteSpace);
    QFETCH(bool, autoTabs);
    QFETCH(QString, newLine);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bWhiteSpace = whiteSpace, .bAutoTabs = autoTabs});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", line);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QString sBefore = Text(pView);
    pView->SetSelection(int(sBefore.size()), int(sBefore.size()));
    const int nSteps = Steps(pView);
    QTest::keyClick(pView, Qt::Key_Return);
    QCOMPARE(pView->GetLineText(1), newLine);
    QCOMPARE(pView->Selection().first, int(sBefore.size()) + 1 + int(newLine.size()));
    // The indentation is no step of its own; the next edit carries it.
    QCOMPARE(Steps(pView), nSteps + 1);
    QTest::keyClicks(pView, "x");
    QCOMPARE(pView->GetLineText(1), newLine + "x");
    QCOMPARE(Steps(pView), nSteps + 2);
    pView->OnEditUndo();
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sBefore);
    QCOMPARE(pView->Document().Shadow().Text(), sBefore);
}

void TestEditing::undoRightAfterAnUnrecordedEditRestoresTheTextBefore_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("edited");
    QTest::newRow("automatic indentation")
        << QByteArray("\tif (a) then {") << int(Qt::Key_Return) << "\tif (a) then {\n\t\t";
    QTest::newRow("closing-brace outdent")
        << QByteArray("if (a) then {\r\n\t") << int(Qt::Key_BraceRight) << "if (a) then {\n}";
}

// The view adds these edits on its own, recorded with the next step; an
// undo before that step must still take the text back to the last snapshot.
void TestEditing::undoRightAfterAnUnrecordedEditRestoresTheTextBefore()
{
    QFETCH(QByteArray, content);
    QFETCH(int, key);
    QFETCH(QString, edited);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bWhiteSpace = true, .bAutoTabs = true});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqf", content);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QString sBefore = Text(pView);
    pView->SetSelection(int(sBefore.size()), int(sBefore.size()));
    if (key == Qt::Key_BraceRight)
        QTest::keyClick(pView, '}');
    else
        QTest::keyClick(pView, Qt::Key(key));
    QCOMPARE(Text(pView), edited);
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sBefore);
    QCOMPARE(pView->Document().Shadow().Text(), Text(pView));
    QVERIFY(!pDoc->IsModified());
}

void TestEditing::closingBraceAfterTabOutdents_data()
{
    QTest::addColumn<char>("key");
    QTest::addColumn<bool>("autoTabs");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("autoComplete");  // typed through the buffer rather than the toolkit
    for (const bool bAuto : {false, true}) {
        const char* pszHow = bAuto ? ", completing" : "";
        QTest::addRow("brace after a tab loses the tab%s", pszHow) << '}' << true << "}" << bAuto;
        QTest::addRow("bracket keeps the tab%s", pszHow) << ']' << true << "\t]" << bAuto;
        QTest::addRow("brace without auto tabs keeps the tab%s", pszHow) << '}' << false << "\t}" << bAuto;
    }
}

void TestEditing::closingBraceAfterTabOutdents()
{
    QFETCH(char, key);
    QFETCH(bool, autoTabs);
    QFETCH(QString, line);
    QFETCH(bool, autoComplete);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = autoComplete, .bAutoTabs = autoTabs});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqf", "if (a) then {\r\n\t");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const int nEnd = int(Text(pView).size());
    pView->SetSelection(nEnd, nEnd);
    QTest::keyClick(pView, key);
    QCOMPARE(pView->GetLineText(1), line);
    const int nCaret = LineStart(pView, 1) + int(line.size());
    QCOMPARE(pView->Selection(), qMakePair(nCaret, nCaret));
}

void TestEditing::upAndDownKeepToTheColumnTypedTo_data()
{
    QTest::addColumn<bool>("autoComplete");
    QTest::addColumn<bool>("settled");  // events handled between the typing and the arrow
    QTest::addColumn<int>("key");
    for (const bool bAuto : {false, true}) {
        for (const bool bSettled : {false, true}) {
            for (const int nKey : {int(Qt::Key_Up), int(Qt::Key_Down)}) {
                QTest::addRow("%s, %s, %s", bAuto ? "completing" : "plain", bSettled ? "settled" : "at once",
                              nKey == Qt::Key_Up ? "up" : "down")
                    << bAuto << bSettled << nKey;
            }
        }
    }
}

void TestEditing::upAndDownKeepToTheColumnTypedTo()
{
    QFETCH(bool, autoComplete);
    QFETCH(bool, settled);
    QFETCH(int, key);
    SOpenedFile e(TypingSeed({.bAutoComplete = autoComplete}));
    QVERIFY(e.Open("0123456789abcdef\nxy\n0123456789abcdef\n", "column.sqf"));
    const int nEnd = LineStart(e.pView, 1) + 2;
    e.pView->SetSelection(nEnd, nEnd);
    QTest::keyClicks(e.pView, "1234");
    if (settled)
        QCoreApplication::processEvents();
    QTest::keyClick(e.pView, Qt::Key(key));
    const int nCaret = LineStart(e.pView, key == Qt::Key_Up ? 0 : 2) + 6;
    QCOMPARE(e.pView->Selection(), qMakePair(nCaret, nCaret));
}

void TestEditing::doubleClickSelectsTheRunUnderThePointer_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("clickAt");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("run of blanks") << QByteArray("hint    player") << 6 << 4 << 8;
    QTest::newRow("blanks and punctuation") << QByteArray("a = \"b\"") << 2 << 1 << 5;
    QTest::newRow("word") << QByteArray("hint player") << 7 << 5 << 11;
    QTest::newRow("word on the second line") << QByteArray("x\r\n_myVar = 1") << 4 << 2 << 8;
}

void TestEditing::doubleClickSelectsTheRunUnderThePointer()
{
    QFETCH(QByteArray, content);
    QFETCH(int, clickAt);
    QFETCH(int, start);
    QFETCH(int, end);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart startup({}, &seed);
    QVERIFY(startup.App().InitInstance());
    CScriptDoc* pDoc = Open(startup, dir, "a.sqs", content);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {}, PointOf(pView, clickAt));
    QCOMPARE(pView->Selection(), qMakePair(start, end));
}

void TestEditing::rightClickMovesTheCaretOnlyOutsideTheSelection()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint player");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(5, 11);
    QTest::mousePress(pView->viewport(), Qt::RightButton, {}, PointOf(pView, 7));
    QCOMPARE(pView->Selection(), qMakePair(5, 11));
    // Its left half still belongs to the character before the selection.
    QTest::mousePress(pView->viewport(), Qt::RightButton, {}, PointOf(pView, 2));
    const int nCaret = pView->Selection().first;
    QVERIFY2(nCaret == 2 || nCaret == 3, qPrintable(QString::number(nCaret)));
    QCOMPARE(pView->Selection().second, nCaret);
}

void TestEditing::contextMenuOffersTheEditorCommands()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QStringList items;
    bool bShown = false;
    // The menu runs its own loop; it is read and closed from inside it.
    std::function<void()> readMenu = [&] {
        if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* pAction : pMenu->actions())
                items.append(pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
            bShown = true;
            pMenu->close();
        } else {
            QTimer::singleShot(10, readMenu);
        }
    };
    QTimer::singleShot(0, readMenu);
    const QPoint pt = PointOf(pView, 1);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pt, pView->viewport()->mapToGlobal(pt));
    QApplication::sendEvent(pView->viewport(), &event);
    QVERIFY(bShown);
    const QStringList expected{"&Cut", "C&opy",           "&Paste",          "-", "&Insert Command",
                               "-",    "I&nsert Snippet", "&Save Snippet..."};
    QCOMPARE(items.mid(0, expected.size()), expected);
}

void TestEditing::pastedRichTextArrivesPlainAndColoured()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "x");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(1, 1);
    const int nSteps = Steps(pView);
    auto* pMime = new QMimeData;
    pMime->setHtml(QStringLiteral("<p><b style=\"color:#00ff00\">hint</b> <i>\"a\"</i></p><p>; done</p>"));
    pMime->setText(QStringLiteral(" hint \"a\"\n; done"));
    QApplication::clipboard()->setMimeData(pMime);
    pView->paste();
    QCOMPARE(Text(pView), QStringLiteral("x hint \"a\"\n; done"));
    for (QTextBlock block = pView->document()->begin(); block.isValid(); block = block.next())
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            QVERIFY(it.fragment().charFormat().fontWeight() != QFont::Bold);
            QVERIFY(!it.fragment().charFormat().fontItalic());
        }
    QCOMPARE(Classes(pView, 0), ExpectedLineClasses(start.App().Dictionary(), pView->GetLineText(0), kFileSQS));
    QCOMPARE(Classes(pView, 1), QString(6, u'R'));
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(pDoc->IsModified());
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("x"));
}

void TestEditing::pasteWithoutTextInsertsNothingButIsAStep()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "hint");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const int nSteps = Steps(pView);
    auto* pMime = new QMimeData;
    pMime->setData(QStringLiteral("application/x-velk-other"), "hint \"a\"");
    QApplication::clipboard()->setMimeData(pMime);
    pView->paste();
    QCOMPARE(Text(pView), QStringLiteral("hint"));
    QCOMPARE(Steps(pView), nSteps + 1);
    QVERIFY(!pDoc->IsModified());
}

void TestEditing::pasteMovesBookmarksBelow()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "a\r\nb\r\nc");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->ToggleBookmark(0);
    pView->ToggleBookmark(2);
    pView->SetSelection(LineStart(pView, 1), LineStart(pView, 1));
    auto* pMime = new QMimeData;
    pMime->setText(QStringLiteral("x\ny\n"));
    QApplication::clipboard()->setMimeData(pMime);
    pView->paste();
    QCOMPARE(pView->GetLineText(4), QStringLiteral("c"));
    QCOMPARE(pView->Document().Bookmarks()[0], 0);
    QCOMPARE(pView->Document().Bookmarks()[1], 4);
}

void TestEditing::droppedDataNeedsPlainText()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "x");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    // Past the end of the line: the drop lands after "x".
    const QPoint pt(pView->viewport()->width() - 4, PointOf(pView, 0).y());
    auto drop = [&](const QMimeData& mime) {
        QDragEnterEvent enter(pt, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pView->viewport(), &enter);
        QDragMoveEvent move(pt, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pView->viewport(), &move);
        QDropEvent dropped(pt, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pView->viewport(), &dropped);
        return enter.isAccepted();
    };
    QMimeData htmlOnly;
    htmlOnly.setHtml(QStringLiteral("<b>sleep</b>"));
    QVERIFY(!drop(htmlOnly));
    QCOMPARE(Text(pView), QStringLiteral("x"));
    QMimeData rich;
    rich.setHtml(QStringLiteral("<b>hint</b>"));
    rich.setText(QStringLiteral("hint "));
    QVERIFY(drop(rich));
    QCOMPARE(Text(pView), QStringLiteral("xhint "));
    for (QTextBlock::iterator it = pView->document()->begin().begin(); !it.atEnd(); ++it)
        QVERIFY(it.fragment().charFormat().fontWeight() != QFont::Bold);
}

void TestEditing::insertTextReplacesSelectionAndStepsOnRequest_data()
{
    QTest::addColumn<bool>("snapshot");
    QTest::newRow("with snapshot") << true;
    QTest::newRow("without snapshot") << false;
}

void TestEditing::insertTextReplacesSelectionAndStepsOnRequest()
{
    QFETCH(bool, snapshot);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "x = 1\r\nexit");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const int nSteps = Steps(pView);
    pView->InsertText(QString(), true);
    QCOMPARE(Steps(pView), nSteps);
    QVERIFY(!pDoc->IsModified());

    pView->SetSelection(0, 5);
    pView->InsertText(QStringLiteral("hint \"a\"\n; b"), snapshot);
    QCOMPARE(Text(pView), QStringLiteral("hint \"a\"\n; b\nexit"));
    QCOMPARE(Classes(pView, 0), ExpectedLineClasses(start.App().Dictionary(), pView->GetLineText(0), kFileSQS));
    QCOMPARE(Classes(pView, 1), QStringLiteral("RRR"));
    QCOMPARE(Steps(pView), nSteps + (snapshot ? 1 : 0));
    QVERIFY(pDoc->IsModified());
}

void TestEditing::textServicesReadWordsSelectionAndLines()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, "a.sqs", "Hint Player\r\nsleep  1\r\n\r\nx");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QPair<int, int> range{-5, -5};
    QCOMPARE(pView->GetWordAt(7, &range), QStringLiteral("player"));
    QCOMPARE(range, qMakePair(5, 11));
    QCOMPARE(pView->GetWordAt(14, &range), QStringLiteral("sleep"));
    QCOMPARE(range, qMakePair(12, 17));
    QCOMPARE(pView->GetWordAt(17, &range), QStringLiteral("sleep"));
    QCOMPARE(pView->GetWordAt(18, &range), QStringLiteral("  "));
    QCOMPARE(range, qMakePair(17, 19));
    range = {-5, -5};
    QCOMPARE(pView->GetWordAt(LineStart(pView, 2), &range), QString());
    QCOMPARE(range, qMakePair(-5, -5));

    QCOMPARE(pView->GetSelectedText(), QString());
    pView->SetSelection(5, 17);
    QCOMPARE(pView->GetSelectedText(), QStringLiteral("Player\nsleep"));
    QCOMPARE(pView->GetLineText(0), QStringLiteral("Hint Player"));
    QCOMPARE(pView->GetLineText(1), QStringLiteral("sleep  1"));
    QCOMPARE(pView->GetLineText(2), QString());
    QCOMPARE(pView->GetLineText(3), QStringLiteral("x"));
}

void TestEditing::wordsAreFoundWhateverTheLineAroundThem_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("wordStart");
    QTest::addColumn<int>("wordEnd");
    const QString sLong = QString(300, u'a') + u'B' + QString(300, u'c');
    QTest::newRow("a word longer than the stretch read around it") << "x = " + sLong + ";" << 304 << 4 << 605;
    QTest::newRow("a run of brackets longer still") << QString(1000, u'[') + "word" << 500 << 0 << 1000;
    QTest::newRow("at the end of a long line") << QString(5000, u'y') + ", _Count" << 5008 << 5002 << 5008;
    // Its small form is two characters: columns after it must not move.
    QTest::newRow("after a dotted capital I") << QStringLiteral("\u0130 hint") << 3 << 2 << 6;
}

void TestEditing::wordsAreFoundWhateverTheLineAroundThem()
{
    QFETCH(QString, line);
    QFETCH(int, position);
    QFETCH(int, wordStart);
    QFETCH(int, wordEnd);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptView* pView = View(Open(start, dir, "a.sqf", "x"));
    pView->selectAll();
    pView->InsertText(line, false);
    QPair<int, int> range{-1, -1};
    QCOMPARE(pView->GetWordAt(position, &range), line.mid(wordStart, wordEnd - wordStart).toLower());
    QCOMPARE(range, qMakePair(wordStart, wordEnd));
}

CScriptView* TestEditing::CompletingView(CStart& start, const QTemporaryDir& dir, const QString& sName,
                                         const QByteArray& content)
{
    if (!start.App().InitInstance())
        return nullptr;
    CSortStringArray& list = start.App().Dictionary().m_arAutoComplete;
    list = CSortStringArray(QStringList{"hint", "setDamage", "setdir", "setpos", "sleep", "vehicle", "x12"});
    CScriptDoc* pDoc = Open(start, dir, sName, content);
    if (!pDoc)
        return nullptr;
    CScriptView* pView = View(pDoc);
    const int nEnd = int(Text(pView).size());
    pView->SetSelection(nEnd, nEnd);
    return pView;
}

void TestEditing::typedPrefixShowsTheRestSelected()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QVERIFY(pView->Options().bAutoComplete);
    const int nSteps = Steps(pView);
    QTest::keyClicks(pView, "setD");
    QCOMPARE(Text(pView), QStringLiteral("setDamage"));
    QCOMPARE(pView->GetSelectedText(), QStringLiteral("amage"));
    QCOMPARE(pView->Selection(), qMakePair(4, 9));
    QVERIFY(pView->IsSuggestionShown());
    // Showing a suggestion is no step: only the four keystrokes are.
    QCOMPARE(Steps(pView), nSteps + 4);
}

void TestEditing::enterAcceptsTheSuggestionWithoutLineBreak()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    const int nSteps = Steps(pView);
    QTest::keyClick(pView, Qt::Key_Return);
    QCOMPARE(Text(pView), QStringLiteral("setDamage"));
    QCOMPARE(pView->Selection(), qMakePair(9, 9));
    QVERIFY(!pView->IsSuggestionShown());
    QCOMPARE(Steps(pView), nSteps + 1);
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("setD"));
}

void TestEditing::typingOnReplacesTheSuggestion()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    QTest::keyPress(pView, Qt::Key_A);
    QCOMPARE(Text(pView), QStringLiteral("setDa"));
    QVERIFY(!pView->IsSuggestionShown());
    QTest::keyRelease(pView, Qt::Key_A);
    QCOMPARE(Text(pView), QStringLiteral("setDamage"));
    QCOMPARE(pView->Selection(), qMakePair(5, 9));
    QVERIFY(pView->IsSuggestionShown());
}

void TestEditing::backspaceRemovesOnlyTheSuggestion()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    QTest::keyClick(pView, Qt::Key_Backspace);
    QCOMPARE(Text(pView), QStringLiteral("setD"));
    QCOMPARE(pView->Selection(), qMakePair(4, 4));
    QVERIFY(!pView->IsSuggestionShown());
}

void TestEditing::arrowsStepThroughEntriesWithTheSamePrefix()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    QTest::keyClick(pView, Qt::Key_Down);
    QCOMPARE(Text(pView), QStringLiteral("setDir"));
    QCOMPARE(pView->Selection(), qMakePair(4, 6));
    // The next entry, setpos, lacks the typed "setD".
    QTest::keyClick(pView, Qt::Key_Down);
    QCOMPARE(Text(pView), QStringLiteral("setDir"));
    QCOMPARE(pView->Selection(), qMakePair(4, 6));
    QTest::keyClick(pView, Qt::Key_Up);
    QCOMPARE(Text(pView), QStringLiteral("setDamage"));
    QCOMPARE(pView->Selection(), qMakePair(4, 9));
    QTest::keyClick(pView, Qt::Key_Left);
    QCOMPARE(Text(pView), QStringLiteral("setDamage"));
    QCOMPARE(pView->Selection(), qMakePair(4, 9));
    QVERIFY(pView->IsSuggestionShown());
}

void TestEditing::exactWordWithoutLongerEntryShowsNothing()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "sleep");
    QCOMPARE(Text(pView), QStringLiteral("sleep"));
    QCOMPARE(pView->Selection(), qMakePair(5, 5));
    QVERIFY(!pView->IsSuggestionShown());
}

void TestEditing::finishedWordIsLearned()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "myvar ");
    QVERIFY(start.App().Dictionary().m_arAutoComplete.Find(QStringLiteral("myvar")) >= 0);
    QTest::keyClicks(pView, "myv");
    QCOMPARE(Text(pView), QStringLiteral("myvar myvar"));
    QCOMPARE(pView->GetSelectedText(), QStringLiteral("ar"));
}

void TestEditing::keypadDigitsNeverSuggest_data()
{
    QTest::addColumn<bool>("keypad");
    QTest::newRow("keypad digit") << true;
    QTest::newRow("main digit") << false;
}

void TestEditing::keypadDigitsNeverSuggest()
{
    QFETCH(bool, keypad);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClick(pView, Qt::Key_X);
    QTest::keyClick(pView, Qt::Key_1, keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(Text(pView), keypad ? QStringLiteral("x1") : QStringLiteral("x12"));
    QCOMPARE(pView->IsSuggestionShown(), !keypad);
}

void TestEditing::plainTextViewsNeverSuggest_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("html") << "briefing.html";
    QTest::newRow("txt") << "notes.txt";
}

void TestEditing::plainTextViewsNeverSuggest()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir, name);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setd hin");
    QCOMPARE(Text(pView), QStringLiteral("setd hin"));
    QVERIFY(!pView->IsSuggestionShown());
    QVERIFY(!pView->textCursor().hasSelection());
}

void TestEditing::clickRemovesTheSuggestion()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir, "a.sqs", "exit\r\n");
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    QVERIFY(pView->IsSuggestionShown());
    QTest::mouseClick(pView->viewport(), Qt::LeftButton, {}, PointOf(pView, 1));
    QCOMPARE(Text(pView), QStringLiteral("exit\nsetD"));
    QVERIFY(!pView->IsSuggestionShown());
}

void TestEditing::undoRemovesTheSuggestionAndKeepsTheHistorySound()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir, "a.sqs", "exit\r\n");
    QVERIFY(pView);
    QTest::keyClicks(pView, "setD");
    QVERIFY(pView->IsSuggestionShown());
    pView->OnEditUndo();
    QVERIFY(!pView->IsSuggestionShown());
    QCOMPARE(Text(pView), QStringLiteral("exit\nset"));
    // The removed suggestion must leave nothing behind in later steps.
    QTest::keyClick(pView, Qt::Key_Period);
    QCOMPARE(Text(pView), QStringLiteral("exit\nset."));
    QCOMPARE(pView->Document().Shadow().Text(), Text(pView));
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("exit\nset"));
    pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("exit\nset."));
    QCOMPARE(pView->Document().Shadow().Text(), Text(pView));
}

// Each key after the first is typed over the rest the one before offered:
// the history must still hold one step a key, and nothing of the rests.
void TestEditing::keysTypedOverSuggestionsAreOneStepEach()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir, "a.sqs", "exit\r\n");
    QVERIFY(pView);
    const int nSteps = Steps(pView);
    QTest::keyClicks(pView, "setD");
    QCOMPARE(Text(pView), QStringLiteral("exit\nsetDamage"));
    QCOMPARE(Steps(pView), nSteps + 4);
    QVERIFY(pView->Document().IsModified());
    // A key that is no word character takes the rest's place as well.
    QTest::keyClick(pView, Qt::Key_Semicolon);
    QCOMPARE(Text(pView), QStringLiteral("exit\nsetD;"));
    QCOMPARE(Steps(pView), nSteps + 5);
    const QStringList expected{"exit\nsetD", "exit\nset", "exit\nse", "exit\ns", "exit\n"};
    for (const QString& sText : expected) {
        pView->OnEditUndo();
        QCOMPARE(Text(pView), sText);
        QCOMPARE(pView->Document().Shadow().Text(), sText);
    }
    QVERIFY(!pView->Document().IsModified());
    for (int i = 0; i < 5; ++i)
        pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("exit\nsetD;"));
    QCOMPARE(pView->Selection(), qMakePair(10, 10));
}

void TestEditing::shortcutReleaseOffersNothing()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed({.bAutoComplete = true});
    CStart start({}, &seed);
    CScriptView* pView = CompletingView(start, dir);
    QVERIFY(pView);
    QTest::keyClicks(pView, "setd");
    QTest::keyClick(pView, Qt::Key_Backspace);
    QCOMPARE(Text(pView), QStringLiteral("setd"));
    QTest::keyClick(pView, Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(Text(pView), QStringLiteral("setd"));
    QVERIFY(!pView->IsSuggestionShown());
    QVERIFY(!pView->textCursor().hasSelection());
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEditing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editing.moc"
