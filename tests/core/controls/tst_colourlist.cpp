#include "core/app/settings.h"
#include "core/controls/colourlist.h"

#include <QtTest>

class TestColourList : public QObject
{
    Q_OBJECT

private slots:
    void namedColours_data();
    void namedColours();
    void select_data();
    void select();
    void outsideTheItems_data();
    void outsideTheItems();
};

// Every row, so a colour moved, renamed or mistyped shows by its name.
void TestColourList::namedColours_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rgb");
    const struct
    {
        const char* pszName;
        int r, g, b;
    } expected[] = {
        {"Blue", 0, 0, 255},
        {"Brown", 128, 64, 64},
        {"Cyan", 0, 255, 255},
        {"Green", 0, 128, 0},
        {"Lime Green", 0, 255, 0},
        {"Magenta", 255, 0, 255},
        {"Maroon", 128, 0, 0},
        {"Navy Blue", 0, 0, 128},
        {"Olive", 128, 128, 0},
        {"Orange", 255, 128, 0},
        {"Pink", 255, 0, 128},
        {"Purple", 128, 0, 128},
        {"Red", 255, 0, 0},
        {"Turquoise", 0, 128, 128},
        {"Yellow", 255, 255, 0},
        {"White", 255, 255, 255},
        {"Light Gray", 192, 192, 192},
        {"Medium Gray", 128, 128, 128},
        {"Dark Gray", 64, 64, 64},
        {"Black", 0, 0, 0},
    };
    for (int i = 0; i < int(std::size(expected)); ++i) {
        QTest::addRow("%d %s", i, expected[i].pszName)
            << i << QString::fromLatin1(expected[i].pszName) << Rgb(expected[i].r, expected[i].g, expected[i].b);
    }
    QTest::newRow("20 the custom item starts white") << 20 << "Custom..." << Rgb(255, 255, 255);
}

void TestColourList::namedColours()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, rgb);
    const CColourList list;
    QCOMPARE(CColourList::NameAt(index), name);
    QCOMPARE(list.ColourAt(index), rgb);
    QCOMPARE(CColourList::NamedIndexOf(rgb), index < CColourList::nNamedCount ? index : 15);
}

void TestColourList::select_data()
{
    QTest::addColumn<int>("customBefore");
    QTest::addColumn<int>("rgb");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("customAfter");
    const int crWhite = Rgb(255, 255, 255);
    QTest::newRow("navy blue by its value") << crWhite << Rgb(0, 0, 128) << 7 << crWhite;
    QTest::newRow("white picks the named item, not the custom one") << crWhite << crWhite << 15 << crWhite;
    QTest::newRow("white while the custom item holds another colour") << Rgb(9, 9, 9) << crWhite << 15 << Rgb(9, 9, 9);
    QTest::newRow("black is the last named item") << crWhite << 0 << 19 << crWhite;
    QTest::newRow("medium gray, not olive or purple") << crWhite << Rgb(128, 128, 128) << 17 << crWhite;
    QTest::newRow("an unnamed colour becomes the custom one") << crWhite << Rgb(1, 2, 3) << 20 << Rgb(1, 2, 3);
    QTest::newRow("one step off a named colour is custom") << crWhite << Rgb(0, 0, 127) << 20 << Rgb(0, 0, 127);
    QTest::newRow("a stored top byte carries no colour") << crWhite << (0x01000000 | Rgb(255, 0, 0)) << 12 << crWhite;
    QTest::newRow("a negative setting keeps its colour bytes") << crWhite << -1 << 15 << crWhite;
    QTest::newRow("top byte dropped from a custom colour")
        << crWhite << (0x7F000000 | Rgb(1, 2, 3)) << 20 << Rgb(1, 2, 3);
}

void TestColourList::select()
{
    QFETCH(int, customBefore);
    QFETCH(int, rgb);
    QFETCH(int, index);
    QFETCH(int, customAfter);
    CColourList list;
    list.SetCustomColour(customBefore);
    QCOMPARE(list.Select(rgb), index);
    QCOMPARE(list.CustomColour(), customAfter);
    QCOMPARE(list.ColourAt(index), rgb & 0xFFFFFF);
}

void TestColourList::outsideTheItems_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("no selection") << -1;
    QTest::newRow("one past the custom item") << 21;
}

void TestColourList::outsideTheItems()
{
    QFETCH(int, index);
    const CColourList list;
    QCOMPARE(list.ColourAt(index), -1);
    QVERIFY(CColourList::NameAt(index).isEmpty());
}

QTEST_GUILESS_MAIN(TestColourList)
#include "tst_colourlist.moc"
