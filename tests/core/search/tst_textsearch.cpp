#include "core/search/textsearch.h"

#include <QtTest>

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsTheNextMatch_data();
    void findsTheNextMatch();
    void everyWholeWordMatchIsFoundOnceEachWay();
};

void TestTextSearch::findsTheNextMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("from");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<int>("start");  // -1: no match

    const QString sLoops = QStringLiteral("#loop\ngoto \"loop\"\n#loop");
    QTest::newRow("forward from the start") << sLoops << "loop" << 0 << false << false << true << 1;
    QTest::newRow("forward skips what starts before the offset")
        << sLoops << "loop" << 2 << false << false << true << 12;
    QTest::newRow("forward from a match's start finds it") << sLoops << "loop" << 12 << false << false << true << 12;
    QTest::newRow("backward from the end: the last")
        << sLoops << "#loop" << int(sLoops.size()) << false << true << false << 18;
    QTest::newRow("backward takes a match ending at the offset")
        << sLoops << "goto" << 10 << false << false << false << 6;
    QTest::newRow("backward skips a match reaching past the offset")
        << sLoops << "goto" << 9 << false << false << false << -1;
    QTest::newRow("backward from beyond the text") << sLoops << "#loop" << 1000 << false << false << false << 18;
    QTest::newRow("forward from before the text") << sLoops << "#loop" << -5 << false << false << true << 0;
    QTest::newRow("forward from beyond the text") << sLoops << "loop" << 1000 << false << false << true << -1;

    QTest::newRow("case ignored") << "a LOOP b"
                                  << "loop" << 0 << false << false << true << 2;
    QTest::newRow("case matched") << "a LOOP b loop"
                                  << "loop" << 0 << true << false << true << 9;
    QTest::newRow("case ignored backward") << "Loop x LOOP"
                                           << "loop" << 11 << false << false << false << 7;

    QTest::newRow("whole word skips a longer word") << "#loops #loop"
                                                    << "#loop" << 0 << false << true << true << 7;
    QTest::newRow("whole word backward skips a longer word") << "#loop #loops"
                                                             << "#loop" << 12 << false << true << false << 0;
    QTest::newRow("underscore is a word character") << "a_loop loop"
                                                    << "loop" << 0 << false << true << true << 7;
    QTest::newRow("digit after is a word character") << "loop2 loop"
                                                     << "loop" << 0 << false << true << true << 6;
    QTest::newRow("brackets and quotes are not") << "(loop)\"loop\""
                                                 << "loop" << 0 << false << true << true << 1;
    QTest::newRow("a word character before a leading hash") << "x#loop"
                                                            << "#loop" << 0 << false << true << true << -1;
    QTest::newRow("whole word at both ends of the text") << "loop"
                                                         << "loop" << 0 << false << true << true << 0;
    QTest::newRow("whole word never found") << "loops loopy"
                                            << "loop" << 0 << false << true << true << -1;
    QTest::newRow("non-ASCII letter beside is no word character")
        << QStringLiteral("\u00e9loop") << "loop" << 0 << false << true << true << 1;

    QTest::newRow("empty pattern") << "abc"
                                   << "" << 0 << false << false << true << -1;
    QTest::newRow("pattern longer than text") << "ab"
                                              << "abc" << 0 << false << false << true << -1;
    QTest::newRow("empty text backward") << ""
                                         << "a" << 0 << false << false << false << -1;
}

void TestTextSearch::findsTheNextMatch()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(int, from);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(bool, forward);
    QFETCH(int, start);

    const STextMatch match = TextSearch::FindNext(text, pattern, from, {matchCase, wholeWord, forward});
    QCOMPARE(match.nStart, start);
    QCOMPARE(match.nLength, start < 0 ? 0 : int(pattern.size()));
}

// Stepping from match to match visits the same matches forward and backward,
// each once, and exactly those a character-by-character check accepts.
void TestTextSearch::everyWholeWordMatchIsFoundOnceEachWay()
{
    const QString sText = QStringLiteral("Loop loop_ xloop LOOP; (loop) loop loopy\n\tloop");
    const QString sPattern = QStringLiteral("loop");
    QList<int> expected;
    for (int i = 0; i + sPattern.size() <= sText.size(); ++i)
        if (sText.mid(i, sPattern.size()).compare(sPattern, Qt::CaseInsensitive) == 0
            && TextSearch::IsWholeWord(sText, i, int(sPattern.size())))
            expected.append(i);
    QCOMPARE(expected, (QList<int>{0, 17, 24, 30, 42}));

    QList<int> forward;
    for (STextMatch m = TextSearch::FindNext(sText, sPattern, 0, {false, true, true}); m.IsFound();
         m = TextSearch::FindNext(sText, sPattern, m.End(), {false, true, true}))
        forward.append(m.nStart);
    QCOMPARE(forward, expected);

    QList<int> backward;
    for (STextMatch m = TextSearch::FindNext(sText, sPattern, int(sText.size()), {false, true, false}); m.IsFound();
         m = TextSearch::FindNext(sText, sPattern, m.nStart, {false, true, false}))
        backward.prepend(m.nStart);
    QCOMPARE(backward, expected);
}

QTEST_APPLESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
