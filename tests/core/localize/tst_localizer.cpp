#include "core/localize/localizer.h"

#include <QtTest>

using namespace Localize;

class TestLocalizer : public QObject
{
    Q_OBJECT

private slots:
    void identifiersAndTheFirstFreeNumber()
    {
        QCOMPARE(Identifier(7), QStringLiteral("STR_07"));
        QCOMPARE(Identifier(100), QStringLiteral("STR_100"));
        QCOMPARE(FirstFreeNumber(QString()), 0);
        QCOMPARE(FirstFreeNumber("LANGUAGE,\"English\"\nSTR_00,\"a\"\nSTR_01,\"b\""), 2);
        // Numbers after the first gap are not looked at again.
        QCOMPARE(FirstFreeNumber("STR_00,\"a\"\nSTR_01,\"b\"\nSTR_05,\"c\""), 2);
    }

    void localizeText_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("table");

        QTest::newRow("upper case command") << "HINT \"Hello\""
                                            << "HINT localize \"STR_03\""
                                            << "STR_03,\"Hello\"\r\n";
        QTest::newRow("longer words are other words") << "hints \"a\"\nmyhint \"b\""
                                                      << "hints \"a\"\nmyhint \"b\""
                                                      << "";
        QTest::newRow("hintC only under its own word") << "hintC \"x\""
                                                       << "hintC localize \"STR_03\""
                                                       << "STR_03,\"x\"\r\n";
        QTest::newRow("a variable is left alone") << "hint _text"
                                                  << "hint _text"
                                                  << "";
        QTest::newRow("quote five characters on is too far") << "hint     \"a\""
                                                             << "hint     \"a\""
                                                             << "";
        QTest::newRow("quote four characters on") << "hint    \"a\""
                                                  << "hint    localize \"STR_03\""
                                                  << "STR_03,\"a\"\r\n";
        QTest::newRow("unterminated quote") << "hint \"never closed"
                                            << "hint \"never closed"
                                            << "";
        QTest::newRow("a reference stays") << "hint localize \"STR_00\""
                                           << "hint localize \"STR_00\""
                                           << "";
        QTest::newRow("commands in their order, not the text's")
            << "sideChat \"b\"\n_u groupChat \"c\"\nhint \"a\"\nhint \"a\""
            << "sideChat localize \"STR_06\"\n_u groupChat localize \"STR_05\"\nhint localize \"STR_03\"\n"
               "hint localize \"STR_04\""
            << "STR_03,\"a\"\r\nSTR_04,\"a\"\r\nSTR_05,\"c\"\r\nSTR_06,\"b\"\r\n";
        // The closing quote is the next one anywhere on: an earlier command's
        // reference may supply it.
        QTest::newRow("quote pairs up across lines") << "titleText [\"x\nhint \"y\""
                                                     << "titleText [localize \"STR_04\"STR_03\""
                                                     << "STR_03,\"y\"\r\nSTR_04,\"x\nhint localize \"\r\n";
    }
    void localizeText()
    {
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QFETCH(QString, table);
        const SLocalized localized = LocalizeText(script, 3);
        QCOMPARE(localized.sText, expected);
        QCOMPARE(localized.sTableLines, table);
        QCOMPARE(localized.nCount, int(table.count(QStringLiteral("\r\n"))));
        QCOMPARE(localized.nNext, 3 + localized.nCount);
        // The stretch it reports is the only one that changed.
        const int nNewEnd = int(expected.size()) - (int(script.size()) - localized.nOldEnd);
        QCOMPARE(script.left(localized.nFirstChange)
                     + expected.mid(localized.nFirstChange, nNewEnd - localized.nFirstChange)
                     + script.mid(localized.nOldEnd),
                 expected);
    }
};

QTEST_APPLESS_MAIN(TestLocalizer)
#include "tst_localizer.moc"
