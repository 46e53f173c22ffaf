#include "core/data/wordset.h"

#include <QtTest>

namespace {

// The word in a text that holds other characters right after it, as a
// scanner meets it: only the word may count.
struct SInText
{
    explicit SInText(const QString& sWord, char16_t cAfter) : nLength(sWord.size())
    {
        arChars.assign(size_t(nLength + SWordKey::kReadable), cAfter);
        std::copy(sWord.utf16(), sWord.utf16() + nLength, arChars.begin());
    }

    // The key a scanner makes, or the plain key of the folded word where it
    // cannot be inline.
    SWordKey Key() const
    {
        SWordKey key;
        if (!SWordKey::FoldedInline(arChars.data(), nLength, key))
            key = SWordKey::Of(Folded(QStringView(arChars.data(), nLength)));
        return key;
    }

    static QString Folded(QStringView sWord)
    {
        QString sFolded = sWord.toString();
        for (QChar& c : sFolded)
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + (u'a' - u'A'));
        return sFolded;
    }

    qsizetype nLength;
    std::vector<char16_t> arChars;
};

}  // namespace

class TestWordSet : public QObject
{
    Q_OBJECT

private slots:
    void keysDependOnTheWordAlone_data();
    void keysDependOnTheWordAlone();
    void wordsThatDifferAreToldApartAcrossGrowth();
};

void TestWordSet::keysDependOnTheWordAlone_data()
{
    QTest::addColumn<QString>("word");

    QTest::newRow("empty") << QString();
    QTest::newRow("zero character") << QStringLiteral("_a\u0000");
    QTest::newRow("seven") << QStringLiteral("_abcdef");
    QTest::newRow("eight") << QStringLiteral("_abcdefg");
    QTest::newRow("fifteen, the longest kept whole") << QStringLiteral("_abcdefghijklmn");
    QTest::newRow("sixteen") << QStringLiteral("_abcdefghijklmno");
    QTest::newRow("Latin-1 letters") << QStringLiteral("_\u00E9t\u00E9\u00FF");
    QTest::newRow("past Latin-1") << QStringLiteral("_\u0101b");
    QTest::newRow("past Latin-1 at fifteen") << QStringLiteral("_abcdefghijklm\u20AC");
    QTest::newRow("capitals folded") << QStringLiteral("_UnitPos2");
    QTest::newRow("fifteen capitals") << QStringLiteral("_ABCDEFGHIJKLMN");
    QTest::newRow("sixteen with capitals") << QStringLiteral("_ABCDEFGHIJKLMNo");
    // A scanner asks for keys of words up to 64 characters long.
    QTest::newRow("thirty-three") << QStringLiteral("_") + QStringLiteral("a").repeated(32);
    QTest::newRow("sixty-four") << QStringLiteral("_") + QStringLiteral("B").repeated(63);
    QTest::newRow("neighbours of the capitals and Latin-1 capitals stay") << QStringLiteral("_@[`{\u00C0\u00DE");
}

void TestWordSet::keysDependOnTheWordAlone()
{
    QFETCH(QString, word);
    const QString sFolded = SInText::Folded(word);
    const SWordKey plain = SWordKey::Of(QStringView(sFolded));
    for (const char16_t cAfter : {u'\0', u'x', u'X', u'\u20AC', u'\uFFFF'}) {
        const SWordKey read = SInText(word, cAfter).Key();
        QCOMPARE(read.nLow, plain.nLow);
        QCOMPARE(read.nHigh, plain.nHigh);
        QCOMPARE(read.nHash, plain.nHash);
    }
    QCOMPARE(plain.IsInline(), word.size() <= SWordKey::kInline && std::all_of(word.begin(), word.end(), [](QChar c) {
                                   return c.unicode() <= 0xFF;
                               }));
    if (plain.IsInline()) {
        char16_t arBuffer[SWordKey::kInline];
        QCOMPARE(plain.Word(arBuffer).toString(), sFolded);
    }
}

void TestWordSet::wordsThatDifferAreToldApartAcrossGrowth()
{
    // Words around the length kept whole, sharing their start, some past
    // Latin-1: every one is found again once the table has grown many times,
    // and none of its neighbours is taken for it.
    QStringList words;
    for (int i = 0; i < 5000; ++i) {
        QString sWord = QStringLiteral("_v%1").arg(i).leftJustified(12 + i % 7, u'a');
        if (i % 11 == 0)
            sWord[1] = QChar(0x100 + i % 3);
        words.append(sWord);
    }
    CWordSet set;
    for (qsizetype i = 0; i < words.size(); i += 2)
        QVERIFY(set.Insert(SWordKey::Of(QStringView(words[i])), words[i]));
    QCOMPARE(set.Size(), words.size() / 2);
    for (qsizetype i = 0; i < words.size(); ++i) {
        QCOMPARE(set.Contains(SInText(words[i], u'a').Key(), words[i]), i % 2 == 0);
    }
    QVERIFY(!set.Insert(SWordKey::Of(QStringView(words[0])), words[0]));
    set.Clear();
    QVERIFY(!set.Contains(SWordKey::Of(QStringView(words[0])), words[0]));
}

QTEST_GUILESS_MAIN(TestWordSet)
#include "tst_wordset.moc"
