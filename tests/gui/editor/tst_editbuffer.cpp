// The document's one edit path, on a bare buffer: no view and no application
// object of the editor's, only the text document the buffer keeps, which
// lays its text out with fonts and so needs the GUI application.
#include "gui/editor/editbuffer.h"
#include "tests/support/editorfixture.h"

#include <QGuiApplication>
#include <QPlainTextDocumentLayout>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

using namespace VelkTest;

using CSelection = QPair<int, int>;
Q_DECLARE_METATYPE(SEdit)

namespace {

// Positions: "alpha" 0-4, break 5, "beta" 6-9, break 10, "gamma" 11-15,
// break 16, "delta" 17-21; 22 characters.
const QString kFourLines = QStringLiteral("alpha\nbeta\ngamma\ndelta");

// A buffer as a view's first showing leaves it: the opened text with its
// selection and bookmarks as the state the history starts from.
void Prepare(CEditBuffer& buffer, const QString& sText, CSelection sel, const QList<int>& marks)
{
    buffer.Load(sText);
    buffer.Select(sel.first, sel.second);
    buffer.SetBookmarks(SlotsOf(MarksOf(marks)));
    buffer.ClearUndo();
    buffer.PushUndo();
}

void AddRow(const char* pszName, const QString& sBefore, const QList<SEdit>& edits, CSelection sel,
            std::optional<CSelection> selAfter, const QList<int>& marks, const QString& sAfter, CSelection selExpected,
            const QList<int>& marksExpected)
{
    QTest::newRow(pszName) << sBefore << edits << sel << selAfter.value_or(CSelection(-1, -1)) << marks << sAfter
                           << selExpected << marksExpected;
}

}  // namespace

class TestEditBuffer : public QObject
{
    Q_OBJECT

private slots:
    void appliedEditsUndoAndRedoExactly_data();
    void appliedEditsUndoAndRedoExactly();
    void unchangedTextLeavesTheFlagAsItWas();
    void restartLeavesNothingToUndo();
    void laterEditsGoWithTheNextStep();
    void undoRightAfterALaterEditGoesBackPastTheLastStep();
    void typingIsAStepExceptWhileUpdating();
    void typedTextIsLaidOutOnce();
    void typedLineBreakMovesTheBookmarksBelowTheCaret();
    void undoPastTheSavedStateCountsAsModified();
    void onlyTheLastFortySevenEditsCanBeUndone();
    void loadAndReplaceAllStartTheHistoryOver();
};

void TestEditBuffer::appliedEditsUndoAndRedoExactly_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QList<SEdit>>("edits");
    QTest::addColumn<CSelection>("sel");
    QTest::addColumn<CSelection>("selAfter");  // (-1, -1): none given
    QTest::addColumn<QList<int>>("marks");     // bookmark slots from the first on
    QTest::addColumn<QString>("after");
    QTest::addColumn<CSelection>("selExpected");
    QTest::addColumn<QList<int>>("marksExpected");

    const QString s = kFourLines;
    AddRow("an edit before the selection moves it", s, {{0, 5, "A"}}, {11, 16}, {}, {2}, "A\nbeta\ngamma\ndelta",
           {7, 12}, {2});
    AddRow("a caret inside replaced text goes to the end of the new text", s, {{6, 4, "b"}}, {8, 9}, {}, {1, 3},
           "alpha\nb\ngamma\ndelta", {7, 7}, {1, 3});
    AddRow("several edits in any order refer to the text before them", s, {{0, 5, "a"}, {17, 5, "d"}, {11, 0, "x"}},
           {12, 14}, {}, {0, 1, 2, 3}, "a\nbeta\nxgamma\nd", {9, 11}, {0, 1, 2, 3});
    AddRow("the same edits in another order", s, {{11, 0, "x"}, {0, 5, "a"}, {17, 5, "d"}}, {12, 14}, {}, {0, 1, 2, 3},
           "a\nbeta\nxgamma\nd", {9, 11}, {0, 1, 2, 3});
    AddRow("edits side by side", s, {{0, 2, "X"}, {2, 2, "Y"}}, {2, 4}, {}, {}, "XYa\nbeta\ngamma\ndelta", {1, 2}, {});
    AddRow("a line added above and one joined below move and drop bookmarks", s, {{0, 0, "top\n"}, {16, 1, ""}},
           {17, 17}, {}, {0, 1, 2, 3}, "top\nalpha\nbeta\ngammadelta", {20, 20}, {0, 2, 3, -1});
    AddRow("an insertion at the end", s, {{22, 0, "\nepsilon"}}, {22, 22}, {}, {0, 3},
           "alpha\nbeta\ngamma\ndelta\nepsilon", {30, 30}, {0, 3});
    // The line the caret ends on keeps its bookmark: only those below it move.
    AddRow("a line break at a line start moves the bookmarks below the caret's line", s, {{6, 0, "new\n"}}, {6, 6}, {},
           {0, 1, 2, 3}, "alpha\nnew\nbeta\ngamma\ndelta", {10, 10}, {0, 1, 3, 4});
    AddRow("a deletion across line breaks", s, {{3, 10, ""}}, {11, 20}, {}, {0, 1, 2, 3}, "alpmma\ndelta", {3, 10},
           {0, -1, -1, 1});
    AddRow("the whole text deleted", s, {{0, 22, ""}}, {0, 22}, {}, {0, 2, 3}, "", {0, 0}, {0, -1, -1});
    AddRow("an edit of an empty text", "", {{0, 0, "x\ny"}}, {0, 0}, {}, {0}, "x\ny", {3, 3}, {0});
    AddRow("CR LF in inserted text is one character per break", s, {{5, 0, "\r\nx\r\ny"}}, {5, 5}, {}, {0, 1, 3},
           "alpha\nx\ny\nbeta\ngamma\ndelta", {9, 9}, {0, 3, 5});
    AddRow("a lone CR in inserted text is one break", s, {{10, 0, "\rz"}}, {10, 10}, {}, {1, 2},
           "alpha\nbeta\nz\ngamma\ndelta", {12, 12}, {1, 3});
    AddRow("CR LF followed by a lone CR are two breaks", s, {{0, 0, "a\r\n\rb"}}, {0, 0}, {}, {0, 1},
           "a\n\nbalpha\nbeta\ngamma\ndelta", {4, 4}, {0, 3});
    AddRow("paragraph and line separators are line breaks", s,
           {{5, 0, QString(QChar::ParagraphSeparator) + u'x' + QChar::LineSeparator}}, {5, 5}, {}, {1},
           "alpha\nx\n\nbeta\ngamma\ndelta", {8, 8}, {3});
    AddRow("a no-break space stays what it is", s, {{5, 0, QString(QChar::Nbsp)}}, {0, 5}, {}, {},
           "alpha" + QString(QChar::Nbsp) + "\nbeta\ngamma\ndelta", {0, 6}, {});
    AddRow("the selection the caller asks for", s, {{6, 4, "B"}}, {0, 0}, CSelection(8, 13), {},
           "alpha\nB\ngamma\ndelta", {8, 13}, {});
    AddRow("a position before the start inserts at the start", s, {{-4, 0, ">"}}, {0, 0}, {}, {0},
           ">alpha\nbeta\ngamma\ndelta", {1, 1}, {0});
    AddRow("a position past the end appends", s, {{99, 3, "<"}}, {22, 22}, {}, {3}, "alpha\nbeta\ngamma\ndelta<",
           {23, 23}, {3});
    AddRow("a length past the end stops at the end", s, {{20, 50, "!"}}, {21, 22}, {}, {3}, "alpha\nbeta\ngamma\ndel!",
           {21, 21}, {3});
    AddRow("a negative length removes nothing", s, {{6, -3, "x"}}, {6, 6}, {}, {}, "alpha\nxbeta\ngamma\ndelta", {7, 7},
           {});
    AddRow("a same-text edit beside a real one is dropped", s, {{0, 5, "alpha"}, {6, 4, "b"}}, {0, 5}, {}, {1},
           "alpha\nb\ngamma\ndelta", {0, 5}, {1});
    // Nothing changes: no step, and the selection stays even when one was asked for.
    AddRow("putting back the same text", s, {{6, 4, "beta"}}, {2, 3}, CSelection(0, 22), {1}, s, {2, 3}, {1});
    AddRow("a CR LF put back over a line break", s, {{5, 1, "\r\n"}}, {2, 3}, {}, {1}, s, {2, 3}, {1});
    AddRow("no edits at all", s, {}, {2, 3}, {}, {1}, s, {2, 3}, {1});
    AddRow("an empty edit past the end", s, {{40, 0, ""}}, {2, 3}, {}, {1}, s, {2, 3}, {1});
}

void TestEditBuffer::appliedEditsUndoAndRedoExactly()
{
    QFETCH(QString, before);
    QFETCH(QList<SEdit>, edits);
    QFETCH(CSelection, sel);
    QFETCH(CSelection, selAfter);
    QFETCH(QList<int>, marks);
    QFETCH(QString, after);
    QFETCH(CSelection, selExpected);
    QFETCH(QList<int>, marksExpected);

    CEditBuffer buffer;
    Prepare(buffer, before, sel, marks);
    const int nSteps = Steps(buffer);
    // What the text was whenever the buffer announced an edit: those who
    // show something that is no text yet must be told before it changes.
    QStringList seen;
    connect(&buffer, &CEditBuffer::EditStarting, this, [&] { seen.append(buffer.PlainText()); });
    QSignalSpy restored(&buffer, &CEditBuffer::SelectionRestored);

    const std::optional<CSelection> requested = selAfter.first < 0 ? std::nullopt : std::optional(selAfter);
    const bool bChanged = after != before;
    QCOMPARE(buffer.ApplyEdits(edits, EEditHistory::Step, requested), bChanged);
    QCOMPARE(seen, QStringList{before});
    QCOMPARE(buffer.PlainText(), after);
    QCOMPARE(buffer.Shadow().Text(), after);
    QCOMPARE(buffer.LineCount(), int(after.count(u'\n')) + 1);
    QCOMPARE(buffer.Selection(), selExpected);
    QCOMPARE(Marks(buffer), MarksOf(marksExpected));
    QCOMPARE(buffer.IsModified(), bChanged);
    QCOMPARE(Steps(buffer), nSteps + int(bChanged));
    QCOMPARE(buffer.CanUndo(), bChanged);
    if (!bChanged) {
        QCOMPARE(restored.count(), 0);
        return;
    }
    QCOMPARE(restored.count(), 1);
    QCOMPARE(restored.last(), QVariantList({selExpected.first, selExpected.second}));

    buffer.Undo();
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.last(), after);
    QCOMPARE(buffer.PlainText(), before);
    QCOMPARE(buffer.Shadow().Text(), before);
    QCOMPARE(buffer.Selection(), sel);
    QCOMPARE(Marks(buffer), MarksOf(marks));
    QVERIFY(!buffer.IsModified());
    QVERIFY(!buffer.CanUndo());
    QVERIFY(buffer.CanRedo());

    buffer.Redo();
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen.last(), before);
    QCOMPARE(buffer.PlainText(), after);
    QCOMPARE(buffer.Shadow().Text(), after);
    QCOMPARE(buffer.Selection(), selExpected);
    QCOMPARE(Marks(buffer), MarksOf(marksExpected));
    QVERIFY(buffer.IsModified());
    QVERIFY(buffer.CanUndo());
    QVERIFY(!buffer.CanRedo());
}

void TestEditBuffer::unchangedTextLeavesTheFlagAsItWas()
{
    CEditBuffer buffer;
    Prepare(buffer, kFourLines, {0, 0}, {});
    buffer.SetModifiedFlag(true);
    QSignalSpy flagged(&buffer, &CEditBuffer::ModifiedChanged);
    QVERIFY(!buffer.ApplyEdits({{6, 4, "beta"}}, EEditHistory::Step));
    QVERIFY(buffer.IsModified());
    QVERIFY(buffer.TextDocument()->isModified());
    QCOMPARE(flagged.count(), 0);
    QCOMPARE(Steps(buffer), 1);
}

void TestEditBuffer::restartLeavesNothingToUndo()
{
    CEditBuffer buffer;
    Prepare(buffer, "one", {0, 0}, {});
    QVERIFY(buffer.ApplyEdits({{3, 0, " two"}}, EEditHistory::Step));
    buffer.Undo();
    QVERIFY(buffer.CanRedo());
    QVERIFY(buffer.ApplyEdits({{0, 3, "ONE"}}, EEditHistory::Restart));
    QCOMPARE(buffer.PlainText(), QStringLiteral("ONE"));
    QVERIFY(!buffer.CanUndo());
    QVERIFY(!buffer.CanRedo());
    QCOMPARE(Steps(buffer), 1);
    QVERIFY(buffer.IsModified());
    // The restarted history begins at the edited text, not before it.
    QVERIFY(buffer.ApplyEdits({{0, 0, "x"}}, EEditHistory::Step));
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("ONE"));
    QVERIFY(!buffer.CanUndo());
    QVERIFY(buffer.IsModified());
}

void TestEditBuffer::laterEditsGoWithTheNextStep()
{
    CEditBuffer buffer;
    Prepare(buffer, "hint\n", {4, 4}, {0});
    QVERIFY(buffer.ApplyEdits({{4, 0, "\n\t"}}, EEditHistory::Later));
    QCOMPARE(buffer.PlainText(), QStringLiteral("hint\n\t\n"));
    QCOMPARE(Steps(buffer), 1);
    QVERIFY(!buffer.CanUndo());
    QVERIFY(buffer.IsModified());
    QVERIFY(buffer.ApplyEdits({{6, 0, "x"}}, EEditHistory::Step));
    QCOMPARE(buffer.PlainText(), QStringLiteral("hint\n\tx\n"));
    QCOMPARE(Steps(buffer), 2);
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("hint\n"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("hint\n"));
    QVERIFY(!buffer.CanUndo());
    QVERIFY(!buffer.IsModified());
    buffer.Redo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("hint\n\tx\n"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("hint\n\tx\n"));
}

void TestEditBuffer::undoRightAfterALaterEditGoesBackPastTheLastStep()
{
    CEditBuffer buffer;
    Prepare(buffer, "a", {1, 1}, {});
    QVERIFY(buffer.ApplyEdits({{1, 0, "b"}}, EEditHistory::Step));
    QVERIFY(buffer.ApplyEdits({{2, 0, "\nc"}}, EEditHistory::Later));
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("a"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("a"));
    QCOMPARE(buffer.LineCount(), 1);
    QVERIFY(!buffer.IsModified());
    // The unrecorded edit had no step to come back with.
    buffer.Redo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("ab"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("ab"));
    QVERIFY(!buffer.CanRedo());
}

void TestEditBuffer::typingIsAStepExceptWhileUpdating()
{
    CEditBuffer buffer;
    Prepare(buffer, "hint\n", {0, 0}, {});
    QTextCursor cursor(buffer.TextDocument());
    cursor.setPosition(4);
    cursor.insertText(QStringLiteral("x"));
    QCOMPARE(buffer.PlainText(), QStringLiteral("hintx\n"));
    QCOMPARE(Steps(buffer), 2);
    QVERIFY(buffer.IsModified());
    {
        auto updating = buffer.Updating();
        cursor.insertText(QStringLiteral("y"));
    }
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("hintxy\n"));
    QCOMPARE(Steps(buffer), 2);
    cursor.insertText(QStringLiteral("z"));
    QCOMPARE(Steps(buffer), 3);
    // The edit made while updating went with the keystroke after it.
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("hintx\n"));
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("hint\n"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("hint\n"));
    QVERIFY(!buffer.IsModified());
    QVERIFY(!buffer.CanUndo());
}

// Counts what the text document asks its layout to lay out again.
class CCountingLayout : public QPlainTextDocumentLayout
{
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;
    int nChanges = 0;

protected:
    void documentChanged(int nFrom, int nRemoved, int nAdded) override
    {
        ++nChanges;
        QPlainTextDocumentLayout::documentChanged(nFrom, nRemoved, nAdded);
    }
};

void TestEditBuffer::typedTextIsLaidOutOnce()
{
    // Reading what was typed must not make the document lay the line out
    // again: on a line of 150 KB each layout is a good part of a keystroke.
    CEditBuffer buffer;
    auto* pLayout = new CCountingLayout(buffer.TextDocument());
    buffer.TextDocument()->setDocumentLayout(pLayout);
    Prepare(buffer, kFourLines, {0, 0}, {});
    QTextCursor cursor(buffer.TextDocument());
    cursor.setPosition(9);
    pLayout->nChanges = 0;
    cursor.insertText(QStringLiteral("x\ny"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("alpha\nbetx\nya\ngamma\ndelta"));
    QCOMPARE(pLayout->nChanges, 1);
}

void TestEditBuffer::typedLineBreakMovesTheBookmarksBelowTheCaret()
{
    CEditBuffer buffer;
    Prepare(buffer, "a\nb\nc", {2, 2}, {1, 2});
    QTextCursor cursor(buffer.TextDocument());
    // As a view would: the buffer reads the caret where the typing left it.
    buffer.SetSelectionSource([&cursor] { return CSelection(cursor.selectionStart(), cursor.selectionEnd()); });
    cursor.setPosition(2);
    cursor.insertText(QStringLiteral("\n"));
    QCOMPARE(buffer.PlainText(), QStringLiteral("a\n\nb\nc"));
    QCOMPARE(Marks(buffer), MarksOf({1, 3}));
    buffer.Undo();
    QCOMPARE(Marks(buffer), MarksOf({1, 2}));
    buffer.Redo();
    QCOMPARE(Marks(buffer), MarksOf({1, 3}));
}

void TestEditBuffer::undoPastTheSavedStateCountsAsModified()
{
    CEditBuffer buffer;
    Prepare(buffer, "a", {1, 1}, {});
    QVERIFY(buffer.ApplyEdits({{1, 0, "b"}}, EEditHistory::Step));
    QVERIFY(buffer.ApplyEdits({{2, 0, "c"}}, EEditHistory::Step));
    // As a save leaves it.
    buffer.SetModifiedFlag(false);
    buffer.MarkSaved();
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("ab"));
    QVERIFY(buffer.IsModified());
    buffer.Undo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("a"));
    QVERIFY(buffer.IsModified());
    buffer.Redo();
    QVERIFY(buffer.IsModified());
    buffer.Redo();
    QCOMPARE(buffer.PlainText(), QStringLiteral("abc"));
    QVERIFY(!buffer.IsModified());
    QVERIFY(!buffer.TextDocument()->isModified());
}

void TestEditBuffer::onlyTheLastFortySevenEditsCanBeUndone()
{
    CEditBuffer buffer;
    Prepare(buffer, "", {0, 0}, {});
    QString sTyped;
    for (int i = 0; i < 60; ++i) {
        const QString sChar(QChar(u'a' + i % 26));
        QVERIFY(buffer.ApplyEdits({{i, 0, sChar}}, EEditHistory::Step));
        sTyped += sChar;
    }
    int nUndone = 0;
    while (buffer.CanUndo() && nUndone < 100) {
        buffer.Undo();
        ++nUndone;
        QCOMPARE(buffer.PlainText(), sTyped.left(60 - nUndone));
    }
    QCOMPARE(nUndone, CUndoHistory::kRecords - 1);
    QVERIFY(buffer.IsModified());
}

void TestEditBuffer::loadAndReplaceAllStartTheHistoryOver()
{
    CEditBuffer buffer;
    Prepare(buffer, "one\ntwo", {0, 0}, {});
    QVERIFY(buffer.ApplyEdits({{0, 0, "x"}}, EEditHistory::Step));
    buffer.ReplaceAll(buffer.PlainText());
    QCOMPARE(buffer.PlainText(), QStringLiteral("xone\ntwo"));
    QVERIFY(!buffer.CanUndo());
    buffer.ReplaceAll(QStringLiteral("new\r\ntext"));
    QCOMPARE(buffer.PlainText(), QStringLiteral("new\ntext"));
    QVERIFY(buffer.IsModified());
    QVERIFY(!buffer.CanUndo());
    QVERIFY(buffer.ApplyEdits({{0, 0, "y"}}, EEditHistory::Step));
    buffer.Load(QStringLiteral("read\nagain"));
    QCOMPARE(buffer.PlainText(), QStringLiteral("read\nagain"));
    QCOMPARE(buffer.Shadow().Text(), QStringLiteral("read\nagain"));
    QVERIFY(!buffer.IsModified());
    QVERIFY(!buffer.CanUndo());
    QVERIFY(!buffer.CanRedo());
    QCOMPARE(Steps(buffer), 1);
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TestEditBuffer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editbuffer.moc"
