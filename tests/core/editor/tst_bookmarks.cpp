#include "core/editor/bookmarks.h"

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
    QTest::newRow("negative number") << QStringLiteral("-3,4,") << Slots({-3, 4});
    // Wrapping round in 32 bits would give -1, an empty slot.
    QTest::newRow("huge number saturates")
        << QStringLiteral("4294967295,2,") << Slots({std::numeric_limits<int>::max(), 2});
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
    QCOMPARE(AsList(Bookmarks::FromStored(stored)), AsList(marks));
}

QTEST_GUILESS_MAIN(TestBookmarks)

#include "tst_bookmarks.moc"
