#include "core/data/wordset.h"

#include <QtTest>

namespace {

// The word in a buffer that holds other characters right after it, as a
// scanner's scratch buffer does: only the word may count.
struct SInBuffer
{
    explicit SInBuffer(const QString& sWord, char16_t cAfter)
    {
        const qsizetype nSize = sWord.size() + SReadableWord::kReadable;
        arChars.assign(size_t(nSize), cAfter);
        std::copy(sWord.utf16(), sWord.utf16() + sWord.size(), arChars.begin());
        word = SReadableWord{QStringView(arChars.data(), sWord.size())};
    }

    std::vector<char16_t> arChars;
    SReadableWord word;
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
}

void TestWordSet::keysDependOnTheWordAlone()
{
    QFETCH(QString, word);
    const SWordKey plain = SWordKey::Of(QStringView(word));
    for (const char16_t cAfter : {u'\0', u'x', u'\u20AC', u'\uFFFF'}) {
        const SInBuffer buffer(word, cAfter);
        const SWordKey read = SWordKey::Of(buffer.word);
        QCOMPARE(read.nLow, plain.nLow);
        QCOMPARE(read.nHigh, plain.nHigh);
        QCOMPARE(read.nHash, plain.nHash);
    }
    QCOMPARE(plain.IsInline(), word.size() <= SWordKey::kInline && std::all_of(word.begin(), word.end(), [](QChar c) {
                                   return c.unicode() <= 0xFF;
                               }));
    if (plain.IsInline()) {
        char16_t arBuffer[SWordKey::kInline];
        QCOMPARE(plain.Word(arBuffer).toString(), word);
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
        const SInBuffer buffer(words[i], u'a');
        QCOMPARE(set.Contains(SWordKey::Of(buffer.word), words[i]), i % 2 == 0);
    }
    QVERIFY(!set.Insert(SWordKey::Of(QStringView(words[0])), words[0]));
    set.Clear();
    QVERIFY(!set.Contains(SWordKey::Of(QStringView(words[0])), words[0]));
}

QTEST_GUILESS_MAIN(TestWordSet)
#include "tst_wordset.moc"
