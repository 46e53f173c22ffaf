#include "core/frame/statuspanes.h"

#include <QtTest>

class TestStatusPanes : public QObject
{
    Q_OBJECT

private slots:
    void positionPanes_data();
    void positionPanes();
    void typeAndGamePanes();
};

void TestStatusPanes::positionPanes_data()
{
    QTest::addColumn<int>("line1");
    QTest::addColumn<int>("col1");
    QTest::addColumn<int>("line2");
    QTest::addColumn<int>("col2");
    QTest::addColumn<QString>("lineText");
    QTest::addColumn<QString>("columnText");
    QTest::newRow("caret at the very start") << 0 << 0 << 0 << 0 << "Ln: 1"
                                             << "Ch: 1";
    QTest::newRow("first five characters of a line") << 0 << 0 << 0 << 5 << "Ln: 1"
                                                     << "Ch: 1-5";
    QTest::newRow("characters 3 to 7 of line 4") << 3 << 2 << 3 << 7 << "Ln: 4"
                                                 << "Ch: 3-7";
    QTest::newRow("start of line 2 to start of line 3") << 1 << 0 << 2 << 0 << "Ln: 2-3"
                                                        << "Ch: 1-0";
    QTest::newRow("same column on two lines still shows a range") << 4 << 6 << 9 << 6 << "Ln: 5-10"
                                                                  << "Ch: 7-6";
    QTest::newRow("lines beyond four digits") << 12344 << 120 << 12344 << 120 << "Ln: 12345"
                                              << "Ch: 121";
}

void TestStatusPanes::positionPanes()
{
    QFETCH(int, line1);
    QFETCH(int, col1);
    QFETCH(int, line2);
    QFETCH(int, col2);
    QFETCH(QString, lineText);
    QFETCH(QString, columnText);
    QCOMPARE(StatusPanes::LineText(line1, line2), lineText);
    QCOMPARE(StatusPanes::ColumnText(line1, col1, line2, col2), columnText);
}

void TestStatusPanes::typeAndGamePanes()
{
    const QStringList names = {"SQS", "SQF", "EXT", "HTML", "CSV", "DAT", "TXT"};
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(StatusPanes::TypeText(EFileType(i)), names[i]);
    QCOMPARE(StatusPanes::GameText(true), QStringLiteral("VELK"));
    QCOMPARE(StatusPanes::GameText(false), QStringLiteral("QON"));
}

QTEST_GUILESS_MAIN(TestStatusPanes)
#include "tst_statuspanes.moc"
