#include "core/editor/undohistory.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// A text being edited and the history that records it, as the view keeps
// them; each step is told apart by its selection start, which the steps
// here make unique.
class CEditedText
{
public:
    explicit CEditedText(const QString& sText) : m_sText(sText)
    {
        m_history.ClearUndo();
        m_history.PushUndo(Record({}, 0));
    }

    void Edit(int nPos, int nRemoved, const QString& sInserted, int nStepId)
    {
        const STextChange change{nPos, m_sText.mid(nPos, nRemoved), sInserted};
        m_sText.replace(nPos, nRemoved, sInserted);
        m_history.PushUndo(Record({change}, nStepId));
    }
    void Append(QChar c, int nStepId) { Edit(int(m_sText.size()), 0, QString(c), nStepId); }

    // The selection start of the restored step, or -1 when nothing happened.
    int Undo() { return Restore(m_history.Undo()); }
    int Redo() { return Restore(m_history.Redo()); }

    const QString& Text() const { return m_sText; }
    CUndoHistory& History() { return m_history; }

private:
    static UndoRecord Record(QList<STextChange> changes, int nStepId)
    {
        UndoRecord record;
        record.bModified = nStepId != 0;
        record.nSelStart = nStepId;
        record.nSelEnd = nStepId + 1;
        record.changes = std::move(changes);
        record.nBookmarks[nStepId % kBookmarkSlots] = nStepId;
        return record;
    }
    int Restore(const std::optional<CUndoHistory::SStep>& step)
    {
        if (!step)
            return -1;
        CUndoHistory::Apply(m_sText, step->edits);
        const UndoRecord& state = step->state;
        // The whole state of the step comes back, not only its selection.
        if (!state.bValid || state.bModified != (state.nSelStart != 0) || state.nSelEnd != state.nSelStart + 1
            || state.nBookmarks[state.nSelStart % kBookmarkSlots] != state.nSelStart)
            return -2;
        return state.nSelStart;
    }

    QString m_sText;
    CUndoHistory m_history;
};

}  // namespace

class TestUndoHistory : public QObject
{
    Q_OBJECT

private slots:
    void emptyHistoryDoesNothing();
    void openingStateAloneCannotBeUndone();
    void undoAndRedoWalkTheSteps();
    void newStepEndsTheRedoHistory();
    void oldestStepsFallOut_data();
    void oldestStepsFallOut();
    void clearUndoEmptiesBothSides();
    void historyFollowsAListModel();
    void inverseEditsRestoreTheText();
};

void TestUndoHistory::emptyHistoryDoesNothing()
{
    CUndoHistory history;
    QVERIFY(!history.CanUndo());
    QVERIFY(!history.CanRedo());
    QVERIFY(!history.Undo());
    QVERIFY(!history.Redo());
    for (int i = 0; i < CUndoHistory::kRecords; ++i) {
        QVERIFY(!history.UndoAt(i).bValid);
        QCOMPARE(history.UndoAt(i).nBookmarks, EmptyBookmarks());
    }
}

void TestUndoHistory::openingStateAloneCannotBeUndone()
{
    CEditedText text(QStringLiteral("hint"));
    QVERIFY(text.History().UndoAt(0).bValid);
    QVERIFY(!text.History().CanUndo());
    QCOMPARE(text.Undo(), -1);
    QCOMPARE(text.Text(), QStringLiteral("hint"));
    QVERIFY(text.History().UndoAt(0).bValid);
}

void TestUndoHistory::undoAndRedoWalkTheSteps()
{
    CEditedText text(QStringLiteral("hint"));
    text.Edit(4, 0, QStringLiteral(" x"), 1);
    text.Edit(1, 2, QString(), 2);
    text.Edit(0, 3, QStringLiteral("a\nb"), 3);
    QCOMPARE(text.Text(), QStringLiteral("a\nbx"));

    QCOMPARE(text.Undo(), 2);
    QCOMPARE(text.Text(), QStringLiteral("ht x"));
    QVERIFY(text.History().CanRedo());
    QCOMPARE(text.Undo(), 1);
    QCOMPARE(text.Text(), QStringLiteral("hint x"));
    QCOMPARE(text.Undo(), 0);
    QCOMPARE(text.Text(), QStringLiteral("hint"));
    QVERIFY(!text.History().CanUndo());
    QCOMPARE(text.Undo(), -1);

    QCOMPARE(text.Redo(), 1);
    QCOMPARE(text.Text(), QStringLiteral("hint x"));
    QCOMPARE(text.Redo(), 2);
    QCOMPARE(text.Redo(), 3);
    QCOMPARE(text.Text(), QStringLiteral("a\nbx"));
    QVERIFY(!text.History().CanRedo());
    QCOMPARE(text.Redo(), -1);
    QCOMPARE(text.Text(), QStringLiteral("a\nbx"));
}

void TestUndoHistory::newStepEndsTheRedoHistory()
{
    CEditedText text{QString()};
    for (int i = 1; i <= 3; ++i)
        text.Append(u'a', i);
    QCOMPARE(text.Undo(), 2);
    QCOMPARE(text.Undo(), 1);
    text.Append(u'b', 4);
    QVERIFY(!text.History().CanRedo());
    for (int i = 0; i < CUndoHistory::kRecords; ++i)
        QVERIFY(!text.History().RedoAt(i).bValid);
    QCOMPARE(text.Redo(), -1);
    QCOMPARE(text.Text(), QStringLiteral("ab"));
    QCOMPARE(text.Undo(), 1);
    QCOMPARE(text.Text(), QStringLiteral("a"));
}

void TestUndoHistory::oldestStepsFallOut_data()
{
    QTest::addColumn<int>("edits");
    QTest::addColumn<int>("undoable");
    QTest::newRow("one edit") << 1 << 1;
    QTest::newRow("46 edits all undoable") << 46 << 46;
    QTest::newRow("47 edits back to the opening state") << 47 << 47;
    QTest::newRow("48th edit pushes the opening state out") << 48 << 47;
    QTest::newRow("60 edits keep the last 47") << 60 << 47;
}

void TestUndoHistory::oldestStepsFallOut()
{
    QFETCH(int, edits);
    QFETCH(int, undoable);
    CEditedText text{QString()};
    QString sAll;
    for (int i = 1; i <= edits; ++i) {
        const QChar c(u'A' + i % 26);
        text.Append(c, i);
        sAll += c;
    }
    int nUndone = 0;
    while (text.History().CanUndo()) {
        QCOMPARE(text.Undo(), edits - nUndone - 1);
        ++nUndone;
    }
    QCOMPARE(nUndone, undoable);
    QCOMPARE(text.Text(), sAll.left(edits - undoable));
    QCOMPARE(text.Undo(), -1);
    for (int i = 0; i < undoable; ++i)
        QCOMPARE(text.Redo(), edits - undoable + i + 1);
    QCOMPARE(text.Text(), sAll);
    QVERIFY(!text.History().CanRedo());
}

void TestUndoHistory::clearUndoEmptiesBothSides()
{
    CEditedText text{QString()};
    text.Append(u'a', 1);
    text.Append(u'b', 2);
    text.Undo();
    text.History().ClearRedo();
    QVERIFY(!text.History().CanRedo());
    QVERIFY(text.History().CanUndo());
    text.Redo();
    QCOMPARE(text.Text(), QStringLiteral("a"));

    text.Append(u'c', 3);
    text.Undo();
    text.History().ClearUndo();
    QVERIFY(!text.History().CanUndo());
    QVERIFY(!text.History().CanRedo());
    for (int i = 0; i < CUndoHistory::kRecords; ++i)
        QVERIFY(!text.History().UndoAt(i).bValid && !text.History().RedoAt(i).bValid);
}

void TestUndoHistory::historyFollowsAListModel()
{
    // The model: the steps that can be reached, newest first, at most 48 on
    // the undo side (the current one included).
    QRandomGenerator random(1234);
    CEditedText text{QString()};
    QList<QPair<int, QString>> undoSide{{0, QString()}};
    QList<QPair<int, QString>> redoSide;
    int nNextId = 1;
    for (int nOp = 0; nOp < 4000; ++nOp) {
        const int nKind = random.bounded(10);
        if (nKind < 4) {
            const int nPos = random.bounded(int(text.Text().size()) + 1);
            const int nRemoved = random.bounded(int(text.Text().size()) - nPos + 1);
            text.Edit(nPos, std::min(nRemoved, 3), QString(random.bounded(3), QChar(u'a' + nOp % 26)), nNextId);
            undoSide.prepend({nNextId++, text.Text()});
            if (undoSide.size() > CUndoHistory::kRecords)
                undoSide.removeLast();
            redoSide.clear();
        } else if (nKind < 7) {
            const int nId = text.Undo();
            if (undoSide.size() < 2) {
                QCOMPARE(nId, -1);
            } else {
                redoSide.prepend(undoSide.takeFirst());
                QCOMPARE(nId, undoSide.first().first);
            }
        } else {
            const int nId = text.Redo();
            if (redoSide.isEmpty()) {
                QCOMPARE(nId, -1);
            } else {
                undoSide.prepend(redoSide.takeFirst());
                QCOMPARE(nId, undoSide.first().first);
            }
        }
        QCOMPARE(text.Text(), undoSide.first().second);
        QCOMPARE(text.History().CanUndo(), undoSide.size() >= 2);
        QCOMPARE(text.History().CanRedo(), !redoSide.isEmpty());
    }
}

void TestUndoHistory::inverseEditsRestoreTheText()
{
    // One step can hold several edits (those made while the view did not
    // record); each edit's position counts in the text its predecessors left.
    QRandomGenerator random(99);
    for (int nCase = 0; nCase < 500; ++nCase) {
        const QString sStart = QStringLiteral("hint \"M16\"\nsleep 5\n").left(random.bounded(20));
        QString sText = sStart;
        QList<STextChange> changes;
        for (int i = random.bounded(1, 6); i > 0; --i) {
            const int nPos = random.bounded(int(sText.size()) + 1);
            const int nRemoved = random.bounded(int(sText.size()) - nPos + 1);
            const STextChange change{nPos, sText.mid(nPos, nRemoved), QString(random.bounded(4), u'x')};
            sText.replace(nPos, nRemoved, change.sInserted);
            changes.append(change);
        }
        QString sReplayed = sStart;
        CUndoHistory::Apply(sReplayed, changes);
        QCOMPARE(sReplayed, sText);
        CUndoHistory::Apply(sReplayed, CUndoHistory::Inverse(changes));
        QCOMPARE(sReplayed, sStart);
        QCOMPARE(CUndoHistory::Inverse(CUndoHistory::Inverse(changes)), changes);
    }
}

QTEST_GUILESS_MAIN(TestUndoHistory)

#include "tst_undohistory.moc"
