#include "core/editor/colourer.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorfixture.h"

#include <QAction>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

using namespace VelkTest;

namespace {

// Puts a line into one bookmark slot, as a click in the gutter would, but
// into a slot of the test's choosing.
void SetSlot(CScriptView* pView, int nSlot, int nLine)
{
    CBookmarkSlots arSlots = pView->Document().Bookmarks();
    arSlots[nSlot] = nLine;
    pView->Document().SetBookmarks(arSlots);
}

bool HasAnyColour(const CScriptView* pView)
{
    for (QTextBlock block = pView->document()->begin(); block.isValid(); block = block.next())
        if (!LongLines::Colours(block).isEmpty())
            return true;
    return false;
}

const QByteArray kTenLines = "hint \"a\"\r\nsleep 1\r\nhint \"b\"\r\nalive player\r\nsleep 2\r\n"
                             "hint \"c\"\r\nplayer\r\nsleep 3\r\nalive player\r\nhint \"d\"";

}  // namespace

class TestScriptView : public QObject
{
    Q_OBJECT

private slots:
    void openedFileShowsTheDefaultColours();
    void plainTextViewsStayUncoloured_data();
    void plainTextViewsStayUncoloured();
    void typedBlockCommentColoursToTheEndAndClosingRestoresTheRest();
    void appliedSettingsRecolourAndRestartTheHistory();
    void undoingEveryKeystrokeRestoresTheOpenedFile();
    void onlyTheLastFortySevenChangesCanBeUndone();
    void typingAfterUndoEndsRedo();
    void redoRestoresTheBookmarksOfItsStep();
    void bookmarkSetBetweenEditsGoesWithTheNextEdit();
    void editsWhileUpdatingFoldIntoTheNextStep();
    void undoAndRedoKeysOnTheView();
    void stepsHoldTheChangeNotTheWholeText();
    void newDocumentHeaderIsNoStep();
    void enterIsOneStep_data();
    void enterIsOneStep();
    void randomEditingKeepsShadowTextAndColours();
    void everyLineReadsFromTheLeft();
};

void TestScriptView::openedFileShowsTheDefaultColours()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"),
                            "? alive player : hint \"M16A2\"\r\n_v = _this\r\n; remark\r\n#loop\r\n");
    QVERIFY(pDoc);
    const CScriptView* pView = View(pDoc);
    QCOMPARE(pView->FileType(), kFileSQS);
    QCOMPARE(AllClasses(pView), ExpectedClasses(start.App().Dictionary(), Text(pView), kFileSQS));
    // Agreeing with the colourer says nothing of the colours themselves.
    QCOMPARE(Classes(pView, 0), QStringLiteral("STCCCCCTCCCCCCTSTCCCCTTWWWWWT"));
    QCOMPARE(Classes(pView, 1), QStringLiteral("VVTTTSSSSS"));
    QCOMPARE(Classes(pView, 2), QStringLiteral("RRRRRRRR"));
    QCOMPARE(Classes(pView, 3), QStringLiteral("SSSSS"));
    QVERIFY(!pDoc->IsModified());
    QVERIFY(!pView->CanUndo());
}

void TestScriptView::plainTextViewsStayUncoloured_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("text file") << QStringLiteral("notes.txt");
    QTest::newRow("web page") << QStringLiteral("briefing.html");
}

void TestScriptView::plainTextViewsStayUncoloured()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    seed.WriteInt(kSettingsSection, QStringLiteral("AutoComplete"), 1);
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, name, "#loop\r\nhint \"M16A2\" ; x\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QVERIFY(!pView->Options().bFormat);
    QVERIFY(!pView->Options().bAutoComplete);
    QTest::keyClicks(pView, "hint _x");
    QCOMPARE(Text(pView).left(7), QStringLiteral("hint _x"));
    QVERIFY(!HasAnyColour(pView));
}

void TestScriptView::typedBlockCommentColoursToTheEndAndClosingRestoresTheRest()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("helpers.sqf"), kTenLines);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QCOMPARE(pView->document()->blockCount(), 10);
    const QStringList opened = AllClasses(pView);
    QCOMPARE(opened[5], QStringLiteral("CCCCTTTT"));

    pView->SetSelection(LineStart(pView, 2), LineStart(pView, 2));
    QTest::keyClicks(pView, "/*");
    QStringList classes = AllClasses(pView);
    QCOMPARE(classes.mid(0, 2), opened.mid(0, 2));
    for (int i = 2; i < 10; ++i)
        QVERIFY2(!classes[i].isEmpty() && classes[i] == QString(classes[i].size(), u'R'),
                 qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(classes[i])));

    const int nEndOfLine5 = LineStart(pView, 5) - 1;
    pView->SetSelection(nEndOfLine5, nEndOfLine5);
    QTest::keyClicks(pView, "*/");
    classes = AllClasses(pView);
    QCOMPARE(classes[4], QStringLiteral("RRRRRRRRR"));
    QCOMPARE(classes.mid(5), opened.mid(5));
    QCOMPARE(classes, ExpectedClasses(start.App().Dictionary(), Text(pView), kFileSQF));

    // Colours follow the text back when the closing is undone.
    pView->OnEditUndo();
    pView->OnEditUndo();
    for (int i = 5; i < 10; ++i)
        QCOMPARE(Classes(pView, i), QString(opened[i].size(), u'R'));
}

void TestScriptView::appliedSettingsRecolourAndRestartTheHistory()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "hint _x\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(7, 7);
    QTest::keyClicks(pView, "y");
    QVERIFY(pView->CanUndo());
    QVERIFY(pDoc->IsModified());

    start.App().Settings().m_bFormatCom = 0;
    start.App().Settings().NotifyChanged();
    QCOMPARE(Classes(pView, 0), QStringLiteral("TTTTTVVV"));
    QVERIFY(!pView->CanUndo());
    QVERIFY(pDoc->IsModified());

    start.App().Settings().m_bFormat = 0;
    start.App().Settings().NotifyChanged();
    QVERIFY(!HasAnyColour(pView));
    QVERIFY(pDoc->IsModified());
}

void TestScriptView::undoingEveryKeystrokeRestoresTheOpenedFile()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "hint \"x\"\r\nsleep 5\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QString sOpened = Text(pView);
    const QStringList coloursOpened = AllClasses(pView);
    const QString sTitle = pDoc->Frame()->windowTitle();
    QVERIFY(!sTitle.contains(u'*'));
    QVERIFY(!EditCommandEnabled(start, QStringLiteral("&Undo")));

    // Caret and bookmark moved after opening: only the opening state may
    // come back, not whatever the view held just before the first keystroke.
    SetSlot(pView, 0, 1);
    pView->SetSelection(LineStart(pView, 1), LineStart(pView, 1));
    QTest::keyClicks(pView, "abc");
    QCOMPARE(Classes(pView, 1), QStringLiteral("TTTTTTTTTT"));
    QVERIFY(pDoc->Frame()->windowTitle().contains(u'*'));
    QVERIFY(EditCommandEnabled(start, QStringLiteral("&Undo")));

    for (int i = 0; i < 3; ++i)
        pView->OnEditUndo();
    QCOMPARE(Text(pView), sOpened);
    QCOMPARE(AllClasses(pView), coloursOpened);
    QCOMPARE(pView->Selection(), qMakePair(0, 0));
    QCOMPARE(pView->Document().Bookmarks(), EmptyBookmarks());
    QVERIFY(!pDoc->IsModified());
    QCOMPARE(pDoc->Frame()->windowTitle(), sTitle);
    QVERIFY(!pView->CanUndo());
    QVERIFY(!EditCommandEnabled(start, QStringLiteral("&Undo")));
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sOpened);
    QVERIFY(EditCommandEnabled(start, QStringLiteral("&Redo")));
}

void TestScriptView::onlyTheLastFortySevenChangesCanBeUndone()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QString sTyped;
    for (int i = 0; i < 60; ++i)
        sTyped += QChar(u'a' + i % 26);
    QTest::keyClicks(pView, sTyped);
    QCOMPARE(Text(pView), sTyped);
    int nUndone = 0;
    while (pView->CanUndo() && nUndone < 100) {
        pView->OnEditUndo();
        ++nUndone;
        // One keystroke per step: nothing grouped.
        QCOMPARE(Text(pView), sTyped.left(60 - nUndone));
    }
    QCOMPARE(nUndone, 47);
    QVERIFY(pDoc->IsModified());
    while (pView->CanRedo())
        pView->OnEditRedo();
    QCOMPARE(Text(pView), sTyped);
}

void TestScriptView::typingAfterUndoEndsRedo()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "x");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(1, 1);
    QTest::keyClicks(pView, "abc");
    pView->OnEditUndo();
    pView->OnEditUndo();
    QVERIFY(pView->CanRedo());
    QTest::keyClicks(pView, "z");
    QCOMPARE(Text(pView), QStringLiteral("xaz"));
    QVERIFY(!pView->CanRedo());
    QVERIFY(!EditCommandEnabled(start, QStringLiteral("&Redo")));
    pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("xaz"));
}

void TestScriptView::redoRestoresTheBookmarksOfItsStep()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "hint\r\nsleep 1\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QTest::keyClicks(pView, "a");
    SetSlot(pView, 0, 1);
    SetSlot(pView, 5, 0);
    QTest::keyClicks(pView, "b");
    const CBookmarkSlots marked = pView->Document().Bookmarks();
    SetSlot(pView, 0, -1);
    pView->OnEditUndo();
    QCOMPARE(pView->Document().Bookmarks(), EmptyBookmarks());
    pView->OnEditRedo();
    QCOMPARE(pView->Document().Bookmarks(), marked);
    QCOMPARE(Text(pView), QStringLiteral("abhint\nsleep 1\n"));
}

void TestScriptView::bookmarkSetBetweenEditsGoesWithTheNextEdit()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "hint\r\nsleep 1\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QTest::keyClicks(pView, "a");
    SetSlot(pView, 2, 1);
    QTest::keyClicks(pView, "b");
    pView->OnEditUndo();
    // The bookmark had no step of its own: the undone step took it along.
    QCOMPARE(Text(pView), QStringLiteral("ahint\nsleep 1\n"));
    QCOMPARE(pView->Document().Bookmarks(), EmptyBookmarks());
    QVERIFY(pView->CanUndo());
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("hint\nsleep 1\n"));
    QVERIFY(!pView->CanUndo());
}

void TestScriptView::editsWhileUpdatingFoldIntoTheNextStep()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "hint\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    pView->SetSelection(4, 4);
    {
        auto updating = pView->Document().Updating();
        QTextCursor cursor = pView->textCursor();
        cursor.insertText(QStringLiteral("\n\t"));
        pView->setTextCursor(cursor);
    }
    QVERIFY(!pView->CanUndo());
    QCOMPARE(pView->Document().Shadow().Text(), Text(pView));
    QTest::keyClicks(pView, "x");
    QCOMPARE(Text(pView), QStringLiteral("hint\n\tx\n"));
    pView->OnEditUndo();
    QCOMPARE(Text(pView), QStringLiteral("hint\n"));
    QVERIFY(!pView->CanUndo());
    pView->OnEditRedo();
    QCOMPARE(Text(pView), QStringLiteral("hint\n\tx\n"));
}

void TestScriptView::undoAndRedoKeysOnTheView()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), "");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QTest::keyClicks(pView, "ab");
    QTest::keyClick(pView, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Text(pView), QStringLiteral("a"));
    QTest::keyClick(pView, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Text(pView), QString());
    QTest::keyClick(pView, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Text(pView), QStringLiteral("a"));
    QTest::keyClick(pView, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Text(pView), QStringLiteral("ab"));
    QVERIFY(!pView->CanRedo());
}

void TestScriptView::stepsHoldTheChangeNotTheWholeText()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("big.sqs"), QByteArray("hint \"x\"\r\n").repeated(5000));
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    QTest::keyClicks(pView, "abc");
    QVERIFY(pView->CanUndo());
    QVERIFY2(pView->Document().History().TextBytes() < 256,
             qPrintable(QString::number(pView->Document().History().TextBytes())));
}

void TestScriptView::newDocumentHeaderIsNoStep()
{
    CMemorySettingsStore seed = TypingSeed({}, {{"AddHeader", 1}});
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    start.App().Documents().NewDocument(EDocKind::Script);
    CScriptView* pView = start.App().MainFrame()->ActiveView();
    QVERIFY(pView);
    const QString sHeader = Text(pView);
    QVERIFY(sHeader.startsWith(u';'));
    QVERIFY(!pView->CanUndo());
    QTest::keyClick(pView, Qt::Key_Z, Qt::ControlModifier);
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sHeader);
    QTest::keyClicks(pView, "x");
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sHeader);
    QVERIFY(!pView->Document().IsModified());
    QVERIFY(!pView->CanUndo());
}

void TestScriptView::enterIsOneStep_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("entered");
    QTest::newRow("inside a line") << QByteArray("hint\r\n") << 2 << 2 << "hi\nnt\n";
    QTest::newRow("on an empty line inside the text") << QByteArray("hint\r\n\r\nx") << 5 << 5 << "hint\n\n\nx";
    QTest::newRow("at the end of a last line without a break") << QByteArray("hint") << 4 << 4 << "hint\n";
    QTest::newRow("at the end of a text ending in a line break") << QByteArray("hint\r\n") << 5 << 5 << "hint\n\n";
    QTest::newRow("over a selection reaching the end of the text") << QByteArray("hint;\r\n") << 4 << 6 << "hint\n";
}

void TestScriptView::enterIsOneStep()
{
    QFETCH(QByteArray, content);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, entered);
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("intro.sqs"), content);
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const QString sOpened = Text(pView);
    pView->SetSelection(from, to);
    QTest::keyClick(pView, Qt::Key_Return);
    QCOMPARE(Text(pView), entered);
    pView->OnEditUndo();
    QCOMPARE(Text(pView), sOpened);
    // One keystroke, one step: back at the opened file nothing is left to
    // undo and the document counts as unchanged.
    QVERIFY(!pView->CanUndo());
    QVERIFY(!pDoc->IsModified());
}

void TestScriptView::randomEditingKeepsShadowTextAndColours()
{
    QTemporaryDir dir;
    CMemorySettingsStore seed = TypingSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = Open(start, dir, QStringLiteral("random.sqf"), "hint \"M16A2\"\r\n/* x */ _a = 1;\r\n");
    QVERIFY(pDoc);
    CScriptView* pView = View(pDoc);
    const CDictionary& dict = start.App().Dictionary();
    QRandomGenerator random(31337);
    const char szTyped[] = "ab/*\"; _x";
    // The texts that undo and redo must bring back, newest first.
    QStringList undoSide{Text(pView)};
    QStringList redoSide;
    for (int nOp = 0; nOp < 600; ++nOp) {
        const int nLength = int(Text(pView).size());
        const int nKind = random.bounded(12);
        const QString sBefore = Text(pView);
        if (nKind < 8) {
            const int nFrom = random.bounded(nLength + 1);
            int nTo = nFrom;
            if (nKind == 6 && nLength >= 2)
                nTo = std::clamp(nFrom + (random.bounded(2) ? 2 : -2) * random.bounded(1, 4), 0, nLength);
            // Typing over a selection of two or more always changes the text,
            // so every edit below makes exactly one step.
            if (std::abs(nTo - nFrom) == 1)
                nTo = nFrom;
            pView->SetSelection(nFrom, nTo);
            const int nKey = random.bounded(12);
            if (nKey < 9)
                QTest::keyClick(pView, szTyped[nKey]);
            else if (nKey == 9)
                QTest::keyClick(pView, Qt::Key_Return);
            else if (nKey == 10)
                QTest::keyClick(pView, Qt::Key_Backspace);
            else
                QTest::keyClick(pView, Qt::Key_Delete);
            if (Text(pView) != sBefore) {
                undoSide.prepend(Text(pView));
                if (undoSide.size() > CUndoHistory::kRecords)
                    undoSide.removeLast();
                redoSide.clear();
            }
        } else if (nKind < 10) {
            // Runs of undos reach deep into the history and fill the redo side.
            for (int i = random.bounded(1, 10); i > 0; --i) {
                if (random.bounded(2))
                    QTest::keyClick(pView, Qt::Key_Z, Qt::ControlModifier);
                else
                    pView->OnEditUndo();
                if (undoSide.size() > 1)
                    redoSide.prepend(undoSide.takeFirst());
            }
        } else {
            for (int i = random.bounded(1, 6); i > 0; --i) {
                if (random.bounded(2))
                    QTest::keyClick(pView, Qt::Key_Y, Qt::ControlModifier);
                else
                    pView->OnEditRedo();
                if (!redoSide.isEmpty())
                    undoSide.prepend(redoSide.takeFirst());
            }
        }
        const QString sText = Text(pView);
        const QString sWhere = QStringLiteral("after operation %1 on \"%2\"").arg(nOp).arg(sBefore);
        QVERIFY2(sText == undoSide.first(), qPrintable(sWhere));
        QVERIFY2(pView->Document().Shadow().Text() == sText, qPrintable(sWhere));
        QVERIFY2(Steps(pView) == undoSide.size(), qPrintable(sWhere));
        QCOMPARE(pView->CanRedo(), !redoSide.isEmpty());
        QCOMPARE(AllClasses(pView), ExpectedClasses(dict, sText, kFileSQF));
    }
}

void TestScriptView::everyLineReadsFromTheLeft()
{
    // A line that begins with a right-to-left word reads from the left as
    // well; the word itself still reads from its right.
    SOpenedFile e;
    QVERIFY(e.Open("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d = 1;\nabc\n", "mixed.sqf"));
    const auto caretX = [&](int nPos) {
        e.pView->SetSelection(nPos, nPos);
        return e.pView->cursorRect().x();
    };
    const int nEnd = LineStart(e.pView, 1) - 1;
    QVERIFY(caretX(nEnd) > caretX(0));
    QVERIFY(caretX(1) > caretX(3));
}

int main(int argc, char** argv)
{
    // Every test makes its own application object; QtTest only needs the
    // arguments for its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestScriptView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_scriptview.moc"
