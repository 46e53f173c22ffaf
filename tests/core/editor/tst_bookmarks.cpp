#include "core/editor/bookmarks.h"

#include <QRandomGenerator>
#include <QtTest>

#include <limits>

namespace {

// Slots filled in order from slot 0, the rest empty.
CBookmarkSlots Slots(std::initializer_list<int> lines)
{
    CBookmarkSlots arSlots = EmptyBookmarks();
    int i = 0;
    for (int nLine : lines)
        arSlots[i++] = nLine;
    return arSlots;
}

QList<int> AsList(const CBookmarkSlots& arSlots)
{
    return QList<int>(arSlots.begin(), arSlots.end());
}

QList<int> Occupied(const CBookmarkSlots& arSlots)
{
    QList<int> lines = AsList(arSlots);
    lines.removeAll(-1);
    return lines;
}

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

// Values a hand-edited or stale store can hold, beside ordinary lines.
int OddValue(QRandomGenerator& random)
{
    static const int kOdd[] = {-1, -4, 0, 1, kIntMax, kIntMax - 1, kIntMin, kIntMin + 1};
    return random.bounded(3) == 0 ? kOdd[random.bounded(int(std::size(kOdd)))] : int(random.generate());
}

}  // namespace

Q_DECLARE_METATYPE(CBookmarkSlots)

class TestBookmarks : public QObject
{
    Q_OBJECT

private slots:
    void toggleTwiceRemovesAndTheFreedSlotIsReused();
    void thirtyThirdToggleChangesNothingButRemovalStillWorks();
    void shiftFollowsTheLineCount_data();
    void shiftFollowsTheLineCount();
    void storedFormKeepsSlotOrderWithTrailingCommas_data();
    void storedFormKeepsSlotOrderWithTrailingCommas();
    void storedValueLoadsLeniently_data();
    void storedValueLoadsLeniently();
    void storedValuesOutsideTheDocumentAreDropped_data();
    void storedValuesOutsideTheDocumentAreDropped();
    void shiftKeepsEveryBookmarkOnItsOwnLine();
    void shiftOfAnyValuesNeverInventsOrWrapsALine();
    void loadedBookmarksAlwaysLieInsideTheDocument();
};

void TestBookmarks::toggleTwiceRemovesAndTheFreedSlotIsReused()
{
    CBookmarkSlots arSlots = EmptyBookmarks();
    QVERIFY(Bookmarks::Toggle(arSlots, 4));
    QVERIFY(Bookmarks::Toggle(arSlots, 9));
    QVERIFY(Bookmarks::Has(arSlots, 4));
    QVERIFY(Bookmarks::Toggle(arSlots, 4));
    QVERIFY(!Bookmarks::Has(arSlots, 4));
    QCOMPARE(AsList(arSlots), AsList(Slots({-1, 9})));
    // A new bookmark takes the first free slot, ahead of the older one.
    QVERIFY(Bookmarks::Toggle(arSlots, 2));
    QCOMPARE(AsList(arSlots), AsList(Slots({2, 9})));
    QCOMPARE(Bookmarks::ToStored(arSlots), QStringLiteral("2,9,"));
}

void TestBookmarks::thirtyThirdToggleChangesNothingButRemovalStillWorks()
{
    CBookmarkSlots arSlots = EmptyBookmarks();
    for (int i = 0; i < kBookmarkSlots; ++i)
        QVERIFY(Bookmarks::Toggle(arSlots, i * 2));
    const CBookmarkSlots full = arSlots;
    QVERIFY(!Bookmarks::Toggle(arSlots, 1));
    QCOMPARE(AsList(arSlots), AsList(full));
    QVERIFY(!Bookmarks::Has(arSlots, 1));
    QVERIFY(Bookmarks::Toggle(arSlots, 62));
    QVERIFY(!Bookmarks::Has(arSlots, 62));
}

void TestBookmarks::shiftFollowsTheLineCount_data()
{
    QTest::addColumn<CBookmarkSlots>("before");
    QTest::addColumn<int>("oldCount");
    QTest::addColumn<int>("newCount");
    QTest::addColumn<int>("selLine");
    QTest::addColumn<CBookmarkSlots>("after");

    // selLine is where the caret is after the change.
    QTest::newRow("insert one line above the bookmark moves it down") << Slots({5}) << 10 << 11 << 3 << Slots({6});
    QTest::newRow("insert below the bookmark leaves it") << Slots({2}) << 10 << 11 << 5 << Slots({2});
    QTest::newRow("insert ending on the bookmark's new line moves it") << Slots({4}) << 10 << 11 << 4 << Slots({5});
    QTest::newRow("line where the insertion started keeps its bookmark") << Slots({3}) << 10 << 11 << 4 << Slots({3});
    QTest::newRow("insert of three lines moves those past the start by three")
        << Slots({1, 2, 3, 9}) << 10 << 13 << 4 << Slots({1, 5, 6, 12});
    QTest::newRow("deletion drops removed lines, keeps its start line, lifts the rest")
        << Slots({2, 3, 4, 5, 9}) << 10 << 7 << 2 << Slots({2, -1, -1, -1, 6});
    QTest::newRow("deletion above the bookmark lifts it") << Slots({8}) << 10 << 9 << 0 << Slots({7});
    QTest::newRow("deletion below the bookmark leaves it") << Slots({1}) << 10 << 8 << 4 << Slots({1});
    QTest::newRow("empty slots stay empty") << Slots({-1, 7}) << 10 << 12 << 0 << Slots({-1, 9});
    QTest::newRow("unchanged count moves nothing") << Slots({3}) << 10 << 10 << 0 << Slots({3});
    QTest::newRow("negative value is no bookmark and stays put") << Slots({-4}) << 10 << 15 << 0 << Slots({-4});
    QTest::newRow("bookmark moved past the largest line number is dropped")
        << Slots({kIntMax - 1, 2}) << 10 << 12 << 5 << Slots({-1, 2});
    QTest::newRow("deleting almost every line of a huge count") << Slots({3, 7}) << kIntMax << 1 << 5 << Slots({3, -1});
    QTest::newRow("no count known yet moves nothing") << Slots({3}) << 0 << 5 << 0 << Slots({3});
}

void TestBookmarks::shiftFollowsTheLineCount()
{
    QFETCH(CBookmarkSlots, before);
    QFETCH(int, oldCount);
    QFETCH(int, newCount);
    QFETCH(int, selLine);
    QFETCH(CBookmarkSlots, after);
    Bookmarks::Shift(before, oldCount, newCount, selLine);
    QCOMPARE(AsList(before), AsList(after));
}

void TestBookmarks::storedFormKeepsSlotOrderWithTrailingCommas_data()
{
    QTest::addColumn<CBookmarkSlots>("marks");
    QTest::addColumn<QString>("stored");
    QTest::newRow("two in slot order") << Slots({3, 17}) << QStringLiteral("3,17,");
    QTest::newRow("not sorted") << Slots({17, 3}) << QStringLiteral("17,3,");
    QTest::newRow("holes skipped") << Slots({-1, 3, -1, 17}) << QStringLiteral("3,17,");
    QTest::newRow("none") << EmptyBookmarks() << QString();
}

void TestBookmarks::storedFormKeepsSlotOrderWithTrailingCommas()
{
    QFETCH(CBookmarkSlots, marks);
    QFETCH(QString, stored);
    QCOMPARE(Bookmarks::ToStored(marks), stored);
}

void TestBookmarks::storedValueLoadsLeniently_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<CBookmarkSlots>("marks");
    QTest::newRow("empty") << QString() << EmptyBookmarks();
    QTest::newRow("no comma loads nothing") << QStringLiteral("7") << EmptyBookmarks();
    QTest::newRow("round trip") << QStringLiteral("3,17,") << Slots({3, 17});
    QTest::newRow("text field is 0, text after the last comma ignored") << QStringLiteral("5,x,9") << Slots({5, 0});
    QTest::newRow("leading blanks skipped") << QStringLiteral(" 12,\t4,") << Slots({12, 4});
    QTest::newRow("digits up to the first other character") << QStringLiteral("12abc,7,") << Slots({12, 7});
    QTest::newRow("empty fields are 0") << QStringLiteral(",,") << Slots({0, 0});
    QTest::newRow("negative number is no line") << QStringLiteral("-3,4,") << Slots({-1, 4});
    // Wrapping round in 32 bits would give -1 and could give any line.
    QTest::newRow("huge number is no line") << QStringLiteral("4294967295,2,") << Slots({-1, 2});
    QStringList many;
    for (int i = 0; i < 40; ++i)
        many.append(QString::number(i + 100));
    CBookmarkSlots first32 = EmptyBookmarks();
    for (int i = 0; i < kBookmarkSlots; ++i)
        first32[i] = i + 100;
    QTest::newRow("more than 32 fields: the first 32") << many.join(u',') + u',' << first32;
}

void TestBookmarks::storedValueLoadsLeniently()
{
    QFETCH(QString, stored);
    QFETCH(CBookmarkSlots, marks);
    QCOMPARE(AsList(Bookmarks::FromStored(stored, kIntMax)), AsList(marks));
}

void TestBookmarks::storedValuesOutsideTheDocumentAreDropped_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<CBookmarkSlots>("marks");
    QTest::newRow("negative, first and largest") << QStringLiteral("-4,0,2147483647,") << 10 << Slots({-1, 0, -1});
    QTest::newRow("line count itself is past the end") << QStringLiteral("3,2,") << 3 << Slots({-1, 2});
    QTest::newRow("file shrank since") << QStringLiteral("17,3,40,") << 5 << Slots({-1, 3, -1});
    QTest::newRow("empty document has line 0") << QStringLiteral("0,1,") << 1 << Slots({0, -1});
}

void TestBookmarks::storedValuesOutsideTheDocumentAreDropped()
{
    QFETCH(QString, stored);
    QFETCH(int, lineCount);
    QFETCH(CBookmarkSlots, marks);
    QCOMPARE(AsList(Bookmarks::FromStored(stored, lineCount)), AsList(marks));
}

// A document as a list of line identities: whatever lines are inserted or
// deleted, a bookmark stays with the identity it was set on, or goes with
// its line when that line is deleted.
void TestBookmarks::shiftKeepsEveryBookmarkOnItsOwnLine()
{
    QRandomGenerator random(20240611);
    for (int nCase = 0; nCase < 3000; ++nCase) {
        const int nOldCount = 1 + random.bounded(40);
        QList<int> lines;
        for (int i = 0; i < nOldCount; ++i)
            lines.append(i);
        CBookmarkSlots arSlots = EmptyBookmarks();
        for (int& nSlot : arSlots)
            nSlot = random.bounded(3) == 0 ? random.bounded(nOldCount) : -1;
        QSet<int> marked;
        for (int nSlot : arSlots)
            if (nSlot >= 0)
                marked.insert(lines[nSlot]);

        // The change happens at line nAt: new lines follow it, or the lines
        // after it are merged into it, and the caret ends where the edit does.
        const int nAt = random.bounded(nOldCount);
        int nSelLine = nAt;
        if (random.bounded(2) == 0) {
            const int nAdded = 1 + random.bounded(10);
            for (int i = 0; i < nAdded; ++i)
                lines.insert(nAt + 1, 1000 + i);
            nSelLine = nAt + nAdded;
        } else if (nAt + 1 < nOldCount) {
            const int nRemoved = 1 + random.bounded(nOldCount - nAt - 1);
            for (int i = 0; i < nRemoved; ++i)
                marked.remove(lines.takeAt(nAt + 1));
        }
        Bookmarks::Shift(arSlots, nOldCount, int(lines.size()), nSelLine);

        QSet<int> after;
        for (int nSlot : arSlots) {
            if (nSlot == -1)
                continue;
            QVERIFY2(nSlot >= 0 && nSlot < lines.size(), qPrintable(QString::number(nCase)));
            after.insert(lines[nSlot]);
        }
        QVERIFY2(after == marked, qPrintable(QStringLiteral("case %1").arg(nCase)));
    }
}

// Whatever the slots and counts hold, a bookmark lands on a line that can
// exist or nowhere: never on a negative line made by wrapping round, and a
// value that named no line never turns into one.
void TestBookmarks::shiftOfAnyValuesNeverInventsOrWrapsALine()
{
    QRandomGenerator random(977);
    for (int nCase = 0; nCase < 4000; ++nCase) {
        CBookmarkSlots arSlots = EmptyBookmarks();
        for (int& nSlot : arSlots)
            nSlot = OddValue(random);
        const CBookmarkSlots before = arSlots;
        const int nOldCount = std::max(1, OddValue(random));
        const int nNewCount = std::max(0, OddValue(random));
        const int nSelLine = OddValue(random);
        Bookmarks::Shift(arSlots, nOldCount, nNewCount, nSelLine);
        for (int i = 0; i < kBookmarkSlots; ++i) {
            const QString sWhat
                = QStringLiteral("case %1 slot %2: %3 -> %4").arg(nCase).arg(i).arg(before[i]).arg(arSlots[i]);
            if (before[i] < 0)
                QVERIFY2(arSlots[i] == before[i], qPrintable(sWhat));
            else
                QVERIFY2(arSlots[i] >= -1, qPrintable(sWhat));
        }
    }
}

void TestBookmarks::loadedBookmarksAlwaysLieInsideTheDocument()
{
    QRandomGenerator random(4711);
    const QString sAlphabet = QStringLiteral("0123456789,,,-+ \tx");
    for (int nCase = 0; nCase < 3000; ++nCase) {
        QString sStored;
        if (nCase % 2 == 0) {
            for (int i = random.bounded(40); i > 0; --i)
                sStored += QString::number(OddValue(random)) + QLatin1Char(',');
        } else {
            for (int i = random.bounded(80); i > 0; --i)
                sStored += sAlphabet[random.bounded(int(sAlphabet.size()))];
        }
        const int nLineCount = 1 + random.bounded(nCase % 3 == 0 ? kIntMax - 1 : 100);
        const CBookmarkSlots arSlots = Bookmarks::FromStored(sStored, nLineCount);
        for (int nSlot : arSlots)
            QVERIFY2(nSlot == -1 || (nSlot >= 0 && nSlot < nLineCount), qPrintable(sStored));
        // What we store reads back the same, the holes closed up.
        QCOMPARE(Occupied(Bookmarks::FromStored(Bookmarks::ToStored(arSlots), nLineCount)), Occupied(arSlots));
    }
}

QTEST_GUILESS_MAIN(TestBookmarks)

#include "tst_bookmarks.moc"
