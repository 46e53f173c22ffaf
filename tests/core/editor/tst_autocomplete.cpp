#include "core/data/sortstringarray.h"
#include "core/editor/autocomplete.h"

#include <QtTest>

class TestAutoComplete : public QObject
{
    Q_OBJECT

private slots:
    void suggestionIsTheRestOfTheFirstLongerEntry_data();
    void suggestionIsTheRestOfTheFirstLongerEntry();
    void neighbourStaysWithinTheTypedPrefix_data();
    void neighbourStaysWithinTheTypedPrefix();
    void wordKeysAreDigitsLettersAndMinus_data();
    void wordKeysAreDigitsLettersAndMinus();
};

void TestAutoComplete::suggestionIsTheRestOfTheFirstLongerEntry_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("rest");
    const QStringList list{"hint", "hintC", "setDamage", "setdir", "setpos"};
    QTest::newRow("rest keeps the list's case") << list << "setd"
                                                << "amage";
    QTest::newRow("typed case does not matter") << list << "SETDA"
                                                << "mage";
    QTest::newRow("exact word with a longer entry after it") << list << "hint"
                                                             << "C";
    QTest::newRow("exact word with nothing longer") << list << "setpos"
                                                    << "";
    QTest::newRow("no entry begins with it") << list << "sleep"
                                             << "";
    QTest::newRow("longer than every match") << list << "setdamagex"
                                             << "";
    QTest::newRow("empty word") << list << ""
                                << "";
    QTest::newRow("entry equal but for case is skipped") << QStringList{"Hint", "hintc"} << "hint"
                                                         << "c";
}

void TestAutoComplete::suggestionIsTheRestOfTheFirstLongerEntry()
{
    QFETCH(QStringList, list);
    QFETCH(QString, word);
    QFETCH(QString, rest);
    QCOMPARE(AutoComplete::Suggestion(CSortStringArray(list), word), rest);
}

void TestAutoComplete::neighbourStaysWithinTheTypedPrefix_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("whole");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QString>("rest");
    const QStringList list{"setDamage", "setdir", "setpos", "sleep"};
    QTest::newRow("next with the same prefix") << list << "setdamage"
                                               << "setd" << false << "ir";
    QTest::newRow("next with another prefix: none") << list << "setdir"
                                                    << "setd" << false << "";
    QTest::newRow("previous keeps the list's case") << list << "setdir"
                                                    << "setd" << true << "amage";
    QTest::newRow("before the first entry: none") << list << "setdamage"
                                                  << "set" << true << "";
    QTest::newRow("after the last entry: none") << list << "sleep"
                                                << "s" << false << "";
    QTest::newRow("whole word not in the list") << list << "setdxx"
                                                << "setd" << false << "";
    QTest::newRow("found ignoring case") << list << "SETDAMAGE"
                                         << "SetD" << false << "ir";
    QTest::newRow("neighbour equal to the typed part: none") << QStringList{"setd", "setdir"} << "setdir"
                                                             << "setd" << true << "";
}

void TestAutoComplete::neighbourStaysWithinTheTypedPrefix()
{
    QFETCH(QStringList, list);
    QFETCH(QString, whole);
    QFETCH(QString, typed);
    QFETCH(bool, back);
    QFETCH(QString, rest);
    QCOMPARE(AutoComplete::Neighbour(CSortStringArray(list), whole, typed, back), rest);
}

void TestAutoComplete::wordKeysAreDigitsLettersAndMinus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<bool>("word");
    QTest::newRow("0") << int(Qt::Key_0) << false << true;
    QTest::newRow("9") << int(Qt::Key_9) << false << true;
    QTest::newRow("A") << int(Qt::Key_A) << false << true;
    QTest::newRow("Z") << int(Qt::Key_Z) << false << true;
    QTest::newRow("minus") << int(Qt::Key_Minus) << false << true;
    QTest::newRow("underscore") << int(Qt::Key_Underscore) << false << true;
    QTest::newRow("keypad 5") << int(Qt::Key_5) << true << false;
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << true << false;
    QTest::newRow("colon, inside the digit-to-letter range") << int(Qt::Key_Colon) << false << false;
    QTest::newRow("at sign, inside the digit-to-letter range") << int(Qt::Key_At) << false << false;
    QTest::newRow("period") << int(Qt::Key_Period) << false << false;
    QTest::newRow("space") << int(Qt::Key_Space) << false << false;
    QTest::newRow("closing brace") << int(Qt::Key_BraceRight) << false << false;
    QTest::newRow("enter") << int(Qt::Key_Return) << false << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << false << false;
}

void TestAutoComplete::wordKeysAreDigitsLettersAndMinus()
{
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(bool, word);
    QCOMPARE(AutoComplete::IsWordKey(key, keypad), word);
}

QTEST_GUILESS_MAIN(TestAutoComplete)

#include "tst_autocomplete.moc"
