#include "bench/realscript.h"
#include "core/app/datapaths.h"
#include "core/data/completionindex.h"
#include "core/data/dictionary.h"
#include "tests/support/shippeddictionary.h"

#include <QRandomGenerator>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// The insertion the completion list has always made: one walk from the start,
// stopping at an entry equal ignoring case or at the first greater by case.
int ReferenceInsert(QStringList& list, const QString& sItem)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (CompareNoCase(list[i], sItem) == 0)
            return -1;
        if (CompareCase(list[i], sItem) > 0) {
            list.insert(i, sItem);
            return int(i);
        }
    }
    return -1;
}

QString RandomWord(QRandomGenerator& rng, const QString& sAlphabet, int nMaxLength)
{
    QString sWord;
    const int nLength = rng.bounded(nMaxLength + 1);
    for (int i = 0; i < nLength; ++i)
        sWord += sAlphabet[rng.bounded(int(sAlphabet.size()))];
    return sWord;
}

QStringList RandomWords(QRandomGenerator& rng, const QString& sAlphabet, int nCount, int nMaxLength)
{
    QStringList words;
    for (int i = 0; i < nCount; ++i)
        words.append(RandomWord(rng, sAlphabet, nMaxLength));
    return words;
}

// Hands the words to the index in runs of random length, single words in
// between, all through one index: what the editor does opening files and
// typing between them.
QStringList LearnInRuns(const QStringList& start, const QStringList& words, QRandomGenerator& rng)
{
    CSortStringArray list(start);
    CCompletionIndex index;
    for (qsizetype i = 0; i < words.size();) {
        if (rng.bounded(3) == 0) {
            index.Learn(list, words[i++]);
            continue;
        }
        const qsizetype nEnd = std::min(words.size(), i + 1 + rng.bounded(40));
        index.LearnWords(list, [&](const CCompletionIndex::WordSink& learn) {
            for (; i < nEnd; ++i)
                learn(words[i]);
        });
    }
    return list;
}

using VelkTest::ShippedDictionary;

}  // namespace

class TestCompletionIndex : public QObject
{
    Q_OBJECT

private slots:
    void learnGivesInsertSortedAnswers_data();
    void learnGivesInsertSortedAnswers();
    void randomRunsMatchTheWalk_data();
    void randomRunsMatchTheWalk();
    void changesMadeBesideTheIndexAreFollowed();
    void shippedListWithScriptVariablesMatchesTheWalk();
    void repeatsAreSettledButLaterSpellingsAreNot();
    void wordsOfEveryLengthAreToldApart_data();
    void wordsOfEveryLengthAreToldApart();
    void wordsReadSideBySideMatchTheWalk_data();
    void wordsReadSideBySideMatchTheWalk();
    void aProducerThatWaitsLeavesTheRestToTheOtherThread();
};

void TestCompletionIndex::learnGivesInsertSortedAnswers_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("new word goes before the first greater")
        << QStringList{"_this", "_time", "abs"} << QStringList{"_x"} << QList<int>{2}
        << QStringList{"_this", "_time", "_x", "abs"};
    QTest::newRow("repeat is turned away") << QStringList{"_a", "b"} << QStringList{"_x", "_x", "_X"}
                                           << QList<int>{1, -1, 0} << QStringList{"_X", "_a", "_x", "b"};
    QTest::newRow("nothing greater: never appended")
        << QStringList{"a", "b"} << QStringList{"c", "c", "zz"} << QList<int>{-1, -1, -1} << QStringList{"a", "b"};
    QTest::newRow("empty list takes nothing")
        << QStringList{} << QStringList{"a", "_b"} << QList<int>{-1, -1} << QStringList{};
    QTest::newRow("equal met behind a greater entry is not reached")
        << QStringList{"b", "a"} << QStringList{"A", "A"} << QList<int>{0, -1} << QStringList{"A", "b", "a"};
    // "_X" is turned away by "_x" sorting after it, until "_Z" comes in
    // between: then "_X" finds "_Z" greater before any equal spelling.
    QTest::newRow("a later spelling can let a word in")
        << QStringList{"_x", "zz"} << QStringList{"_X", "_Z", "_X", "_X"} << QList<int>{-1, 0, 0, -1}
        << QStringList{"_X", "_Z", "_x", "zz"};
    QTest::newRow("equal spelling before the greater one settles it")
        << QStringList{"_X", "zz"} << QStringList{"_x", "_Y", "_x"} << QList<int>{-1, 1, -1}
        << QStringList{"_X", "_Y", "zz"};
    QTest::newRow("out of case order the first greater wins")
        << QStringList{"abs", "Zed", "_q", "b"} << QStringList{"_r", "Y", "_a"} << QList<int>{0, 0, 1}
        << QStringList{"Y", "_a", "_r", "abs", "Zed", "_q", "b"};
    QTest::newRow("long words differing at the end are told apart")
        << QStringList{"_a", "zz"}
        << QStringList{"_aVeryLongVariableName", "_aVeryLongVariableName", "_aVeryLongVariableNamf"}
        << QList<int>{1, -1, 2} << QStringList{"_a", "_aVeryLongVariableName", "_aVeryLongVariableNamf", "zz"};
    QTest::newRow("empty word goes first")
        << QStringList{"a"} << QStringList{"", ""} << QList<int>{0, -1} << QStringList{"", "a"};
    // U+017D is byte 0x8E, below U+00FF's byte 0xFF.
    QTest::newRow("ordered by code page byte") << QStringList{"a", "\u00FF"} << QStringList{"\u017D", "\u017D"}
                                               << QList<int>{1, -1} << QStringList{"a", "\u017D", "\u00FF"};
}

void TestCompletionIndex::learnGivesInsertSortedAnswers()
{
    QFETCH(QStringList, list);
    QFETCH(QStringList, words);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, after);

    CSortStringArray single(list);
    CCompletionIndex index;
    QList<int> got;
    for (const QString& sWord : words)
        got.append(index.Learn(single, sWord));
    QCOMPARE(got, answers);
    QCOMPARE(QStringList(single), after);

    CSortStringArray batch(list);
    CCompletionIndex batchIndex;
    batchIndex.LearnWords(batch, [&words](const CCompletionIndex::WordSink& learn) {
        for (const QString& sWord : words)
            learn(sWord);
    });
    QCOMPARE(QStringList(batch), after);
}

void TestCompletionIndex::randomRunsMatchTheWalk_data()
{
    QTest::addColumn<bool>("sorted");
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<int>("listSize");

    // Few letters so that equals ignoring case and shared prefixes are common;
    // '_' and '[' sit between the capitals and the small letters, '!' and
    // '~' before and after all of them.
    const QString sCases = QStringLiteral("aAbB_");
    const QString sWide = QStringLiteral("aAbBzZ_[!~\u00E9\u00C9\u20AC\u017D\u00FF");
    QTest::newRow("dictionary order, case variants") << true << sCases << 12;
    QTest::newRow("dictionary order, wide alphabet") << true << sWide << 40;
    QTest::newRow("any order, case variants") << false << sCases << 12;
    QTest::newRow("any order, wide alphabet") << false << sWide << 40;
    QTest::newRow("empty list") << false << sWide << 0;
    QTest::newRow("one entry") << false << sCases << 1;
    QTest::newRow("long list, many blocks") << true << sWide << 1500;
    // Outside the code page every character sorts after every byte, by its
    // own code; what follows it must still count.
    const QString sOutside = QStringLiteral("a\u0101\u0100\u0102b");
    QTest::newRow("beyond the code page") << false << sOutside << 40;
    QTest::newRow("beyond the code page, many blocks") << true << sOutside << 1500;
}

void TestCompletionIndex::randomRunsMatchTheWalk()
{
    QFETCH(bool, sorted);
    QFETCH(QString, alphabet);
    QFETCH(int, listSize);

    QRandomGenerator rng(20250101u + quint32(listSize) + (sorted ? 7u : 0u));
    for (int nRound = 0; nRound < 60; ++nRound) {
        CSortStringArray start(RandomWords(rng, alphabet, listSize, 6));
        if (sorted)
            start.Sort();
        // Repeats in the words as in a script: a pool drawn from again and again.
        const QStringList pool = RandomWords(rng, alphabet, 80, 4);
        QStringList words;
        for (int i = 0; i < 400; ++i)
            words.append(pool[rng.bounded(int(pool.size()))]);

        QStringList expected = start;
        QList<int> expectedAnswers;
        for (const QString& sWord : words)
            expectedAnswers.append(ReferenceInsert(expected, sWord));

        CSortStringArray single(start);
        CCompletionIndex index;
        QList<int> answers;
        for (const QString& sWord : words)
            answers.append(index.Learn(single, sWord));
        const QString sCase = QStringLiteral("round %1, list [%2]").arg(nRound).arg(start.join(u','));
        QVERIFY2(answers == expectedAnswers, qPrintable(sCase));
        QVERIFY2(QStringList(single) == expected, qPrintable(sCase));
        QVERIFY2(LearnInRuns(start, words, rng) == expected, qPrintable(sCase));
    }
}

void TestCompletionIndex::changesMadeBesideTheIndexAreFollowed()
{
    CSortStringArray list(QStringList{"_b", "m", "z"});
    QStringList expected = list;
    CCompletionIndex index;
    const auto learnBoth = [&](const QString& sWord) {
        ReferenceInsert(expected, sWord);
        index.LearnWords(list, [&sWord](const CCompletionIndex::WordSink& learn) { learn(sWord); });
        QCOMPARE(QStringList(list), expected);
    };
    learnBoth(QStringLiteral("_c"));
    learnBoth(QStringLiteral("_c"));
    // "_c" is settled now; taken out and offered again it must come back.
    list.removeAll(QStringLiteral("_c"));
    expected.removeAll(QStringLiteral("_c"));
    learnBoth(QStringLiteral("_c"));
    // A whole new list, as when the dictionary is read again.
    list = CSortStringArray(QStringList{"a", "zz"});
    expected = list;
    learnBoth(QStringLiteral("_c"));
    // Nothing greater than "zzz" before; after an edit there is.
    learnBoth(QStringLiteral("zzz"));
    list.append(QStringLiteral("zzzz"));
    expected.append(QStringLiteral("zzzz"));
    learnBoth(QStringLiteral("zzz"));
    list.clear();
    expected.clear();
    learnBoth(QStringLiteral("_c"));
}

void TestCompletionIndex::shippedListWithScriptVariablesMatchesTheWalk()
{
    const CSortStringArray& shipped = ShippedDictionary().m_arAutoComplete;
    QVERIFY2(shipped.size() > 100, "the shipped data files were not read");
    // The names as typed, as the colourer hands them (folded), and in capitals,
    // drawn with repeats, with some dictionary words among them.
    const QStringList names = RealScript::VariableNames(2000);
    QRandomGenerator rng(4711);
    QStringList words;
    for (int i = 0; i < 6000; ++i) {
        const QString& sName = names[rng.bounded(int(names.size()))];
        switch (rng.bounded(6)) {
        case 0:
            words.append(sName.toUpper());
            break;
        case 1:
            words.append(shipped[rng.bounded(int(shipped.size()))]);
            break;
        case 2:
            words.append(sName);
            break;
        default:
            words.append(FoldAscii(sName));
            break;
        }
    }
    QStringList expected = shipped;
    for (const QString& sWord : words)
        ReferenceInsert(expected, sWord);
    QVERIFY(expected.size() > shipped.size() + 1000);
    QCOMPARE(LearnInRuns(shipped, words, rng), expected);

    CSortStringArray list(shipped);
    CCompletionIndex index;
    index.LearnWords(list, [&words](const CCompletionIndex::WordSink& learn) {
        for (const QString& sWord : words)
            learn(sWord);
    });
    QCOMPARE(QStringList(list), expected);
}

void TestCompletionIndex::repeatsAreSettledButLaterSpellingsAreNot()
{
    CSortStringArray list(QStringList{"_x", "zz"});
    CCompletionIndex index;
    // Turned away by "_x", which sorts after it, "_X" may still get in.
    QCOMPARE(index.Learn(list, QStringLiteral("_X")), -1);
    QCOMPARE(index.SettledCount(), 0);
    QCOMPARE(index.Learn(list, QStringLiteral("_x")), -1);
    QCOMPARE(index.SettledCount(), 1);
    // Greater than everything: settled for good.
    QCOMPARE(index.Learn(list, QStringLiteral("zzz")), -1);
    QCOMPARE(index.SettledCount(), 2);
    QCOMPARE(index.Learn(list, QStringLiteral("_m")), 0);
    QCOMPARE(index.SettledCount(), 3);
    QCOMPARE(index.Learn(list, QStringLiteral("_X")), 0);
    QCOMPARE(QStringList(list), QStringList({"_X", "_m", "_x", "zz"}));
    // Words too long to sit in a slot are found again all the same.
    QCOMPARE(index.Learn(list, QStringLiteral("_aVeryLongVariableName")), 1);
    QCOMPARE(index.Learn(list, QStringLiteral("_aVeryLongVariableName")), -1);
    QCOMPARE(index.SettledCount(), 5);
}

void TestCompletionIndex::wordsOfEveryLengthAreToldApart_data()
{
    QTest::addColumn<QString>("stem");
    QTest::addColumn<QString>("alphabet");

    // Words are kept and compared a few characters at a time, padded with
    // zeros: words around those lengths, sharing their start, ending in a
    // zero character or differing only in the last one must stay apart.
    QTest::newRow("short") << QString() << QStringLiteral("aA_\u0000");
    QTest::newRow("around four") << QStringLiteral("_ab") << QStringLiteral("aA\u0000");
    QTest::newRow("around eight") << QStringLiteral("_abcdef") << QStringLiteral("aA\u0000");
    QTest::newRow("around twelve") << QStringLiteral("_abcdefghij") << QStringLiteral("aA_\u0000");
    QTest::newRow("well past twelve") << QStringLiteral("_abcdefghijklmnopqrstuvw") << QStringLiteral("aA\u0000");
    QTest::newRow("beyond Latin-1") << QStringLiteral("_\u0101bcdefgh") << QStringLiteral("\u0101\u0100a\uFFFF");
}

void TestCompletionIndex::wordsOfEveryLengthAreToldApart()
{
    QFETCH(QString, stem);
    QFETCH(QString, alphabet);
    QRandomGenerator rng(815u + quint32(stem.size()));
    QStringList pool;
    for (int i = 0; i < 60; ++i)
        pool.append(stem + RandomWord(rng, alphabet, 5));
    QStringList words;
    for (int i = 0; i < 600; ++i)
        words.append(pool[rng.bounded(int(pool.size()))]);
    const QStringList start{stem, stem + QStringLiteral("a"), QStringLiteral("zz")};

    QStringList expected = start;
    for (const QString& sWord : words)
        ReferenceInsert(expected, sWord);
    CSortStringArray list(start);
    CCompletionIndex index;
    index.LearnWords(list, [&words](const CCompletionIndex::WordSink& learn) {
        for (const QString& sWord : words)
            learn(sWord);
    });
    QCOMPARE(QStringList(list), expected);
    QCOMPARE(LearnInRuns(start, words, rng), expected);
}

void TestCompletionIndex::wordsReadSideBySideMatchTheWalk_data()
{
    QTest::addColumn<QString>("listAlphabet");
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<int>("producers");

    // Small letters only, as the colourer hands words on: no word is ever
    // turned away for now. With capitals some are, and the words, read out
    // of order, must then be read again in turn. Capitals in the words
    // alone, against small letters in the list, make words turned away for
    // now without two spellings of a word learnt in one run.
    const QString sSmall = QStringLiteral("ab_\u00E9");
    const QString sCases = QStringLiteral("aAbB_");
    QTest::newRow("small letters, one producer") << sSmall + u'z' << sSmall << 1;
    QTest::newRow("small letters, two producers") << sSmall + u'z' << sSmall << 2;
    QTest::newRow("small letters, five producers") << sSmall + u'z' << sSmall << 5;
    QTest::newRow("case variants, two producers") << sCases + u'z' << sCases << 2;
    QTest::newRow("case variants, five producers") << sCases + u'z' << sCases << 5;
    QTest::newRow("capitals turned away for now, five producers") << QStringLiteral("ab") << QStringLiteral("AB") << 5;
}

void TestCompletionIndex::wordsReadSideBySideMatchTheWalk()
{
    QFETCH(QString, listAlphabet);
    QFETCH(QString, alphabet);
    QFETCH(int, producers);
    QRandomGenerator rng(9001u + quint32(producers) + quint32(alphabet.size()));
    for (int nRound = 0; nRound < 40; ++nRound) {
        CSortStringArray start(RandomWords(rng, listAlphabet, 30, 6));
        start.Sort();
        const QStringList pool = RandomWords(rng, alphabet, 120, 7);
        // Some producers hand on nothing at all.
        std::vector<QStringList> parts(static_cast<size_t>(producers));
        for (int i = 0; i < 600; ++i)
            parts[size_t(rng.bounded(producers))].append(pool[rng.bounded(int(pool.size()))]);

        QStringList expected = start;
        std::vector<CCompletionIndex::Produce> produce;
        for (const QStringList& part : parts) {
            for (const QString& sWord : part)
                ReferenceInsert(expected, sWord);
            produce.push_back([&part](const CCompletionIndex::WordSink& learn) {
                for (const QString& sWord : part)
                    learn(sWord);
            });
        }
        // Twice through one index: the second time with many words settled.
        CSortStringArray list(start);
        CCompletionIndex index;
        index.LearnWords(list, produce, producers);
        QVERIFY2(QStringList(list) == expected, qPrintable(QStringLiteral("round %1").arg(nRound)));
        for (const QStringList& part : parts)
            for (const QString& sWord : part)
                ReferenceInsert(expected, sWord);
        index.LearnWords(list, produce, producers);
        QVERIFY2(QStringList(list) == expected, qPrintable(QStringLiteral("round %1, again").arg(nRound)));
    }
}

void TestCompletionIndex::aProducerThatWaitsLeavesTheRestToTheOtherThread()
{
    // The first producer to start waits until every other one is done, as
    // a piece read on a busy processor lags: only threads that take the
    // next producer as they get free let the others finish meanwhile.
    const std::vector<QStringList> parts{{"_d", "_b"}, {"_a", "_e"}, {"_b", "_c"}, {"_f"}, {"_e", "_g"}, {"_a"}};
    const QStringList start{QStringLiteral("_c"), QStringLiteral("zz")};
    QStringList expected = start;
    for (const QStringList& part : parts)
        for (const QString& sWord : part)
            ReferenceInsert(expected, sWord);

    std::mutex mutex;
    std::condition_variable othersDone;
    int nDone = 0;
    std::atomic<bool> bWaiterChosen{false};
    bool bOthersFinished = false;
    std::vector<CCompletionIndex::Produce> produce;
    for (const QStringList& part : parts)
        produce.push_back([&, part](const CCompletionIndex::WordSink& learn) {
            const bool bWaiter = !bWaiterChosen.exchange(true);
            if (bWaiter) {
                std::unique_lock lock(mutex);
                bOthersFinished = othersDone.wait_for(lock, std::chrono::seconds(30),
                                                      [&] { return nDone == int(parts.size()) - 1; });
            }
            for (const QString& sWord : part)
                learn(sWord);
            if (!bWaiter) {
                const std::lock_guard lock(mutex);
                ++nDone;
                othersDone.notify_all();
            }
        });
    CSortStringArray list(start);
    CCompletionIndex index;
    index.LearnWords(list, produce, 2);
    QVERIFY(bOthersFinished);
    QCOMPARE(QStringList(list), expected);
}

QTEST_GUILESS_MAIN(TestCompletionIndex)
#include "tst_completionindex.moc"
