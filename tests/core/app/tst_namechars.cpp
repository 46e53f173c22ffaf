#include "core/app/namechars.h"

#include <QtTest>

class TestNameChars : public QObject
{
    Q_OBJECT

private slots:
    void stripKeepsOnlyWhatAFileNameMayHold_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain name untouched") << "Mission 1.sqs"
                                              << "Mission 1.sqs";
        QTest::newRow("colon inside") << "x:y"
                                      << "xy";
        QTest::newRow("every forbidden character") << "a\\b/c:d*e?f|g\"h<i>j"
                                                   << "abcdefghij";
        QTest::newRow("only forbidden characters") << "\\/:*?|\"<>"
                                                   << "";
        QTest::newRow("blanks, dots and dashes stay") << " a.b-c_d. "
                                                      << " a.b-c_d. ";
        QTest::newRow("letters beyond ASCII stay")
            << QStringLiteral("\u00DCbung \u20AC") << QStringLiteral("\u00DCbung \u20AC");
        QTest::newRow("empty") << ""
                               << "";
    }
    void stripKeepsOnlyWhatAFileNameMayHold()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(NameChars::Strip(typed), kept);
    }
};

QTEST_GUILESS_MAIN(TestNameChars)
#include "tst_namechars.moc"
