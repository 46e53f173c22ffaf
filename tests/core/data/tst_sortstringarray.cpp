#include "core/data/codepage.h"
#include "core/data/sortstringarray.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Independent of the code under test: compare the code-page bytes, with only
// the ASCII capitals folded to lower case.
int RefCompareNoCase(const QString& a, const QString& b)
{
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : int(c); };
    const QByteArray bytesA = CodePage::EncodeCp1252(a);
    const QByteArray bytesB = CodePage::EncodeCp1252(b);
    for (qsizetype i = 0; i < std::min(bytesA.size(), bytesB.size()); ++i) {
        const int nA = fold(static_cast<unsigned char>(bytesA[i]));
        const int nB = fold(static_cast<unsigned char>(bytesB[i]));
        if (nA != nB)
            return nA < nB ? -1 : 1;
    }
    return bytesA.size() == bytesB.size() ? 0 : (bytesA.size() < bytesB.size() ? -1 : 1);
}

// The selection sort the dictionary has always used, step by step; the real
// Sort is faster and must give exactly this result.
QStringList ReferenceSort(const QStringList& input)
{
    if (input.size() < 2)
        return input;
    QStringList work = input;
    QStringList result;
    const qsizetype n = work.size();
    qsizetype k = 0;
    for (qsizetype pass = 0; pass < n; ++pass) {
        QString sCurrent;
        for (qsizetype j = 0; j < work.size(); ++j) {
            const int nCmp = RefCompareNoCase(work[j], sCurrent);
            if (nCmp > 0) {
                k = j;
                sCurrent = work[j];
            } else if (nCmp == 0) {
                k = j;
                sCurrent.clear();
                break;
            }
        }
        if (!sCurrent.isEmpty())
            result.prepend(sCurrent);
        work.removeAt(k);
    }
    return result;
}

QString RandomWord(QRandomGenerator& rng)
{
    // Few letters so that case-insensitive equals and shared prefixes are common;
    // '_' and '[' sit between the capitals and the small letters.
    static const QString sAlphabet = QStringLiteral("aAbB_[é\u00C9\u20AC\u017D\u00FF");
    QString sWord;
    const int nLen = rng.bounded(4);
    for (int i = 0; i < nLen; ++i)
        sWord += sAlphabet[rng.bounded(int(sAlphabet.size()))];
    return sWord;
}

}  // namespace

class TestSortStringArray : public QObject
{
    Q_OBJECT

private slots:
    void find_data();
    void find();
    void insertSorted_data();
    void insertSorted();
    void sort_data();
    void sort();
    void sortAgreesWithSelectionSort();
};

void TestSortStringArray::find_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("index");

    const QStringList hints{QStringLiteral("abs"), QStringLiteral("hint"), QStringLiteral("x"), QStringLiteral("HINT")};
    QTest::newRow("ignoring case finds the first spelling") << hints << "HINT" << 0 << false << 1;
    QTest::newRow("matching case skips other spellings") << hints << "HINT" << 0 << true << 3;
    QTest::newRow("matching case finds nothing") << QStringList{"hint"} << "HINT" << 0 << true << -1;
    QTest::newRow("start beyond a match finds the next") << hints << "hint" << 2 << false << 3;
    QTest::newRow("start beyond every match finds nothing") << hints << "abs" << 1 << false << -1;
    QTest::newRow("start at the end finds nothing") << hints << "HINT" << 4 << false << -1;
    QTest::newRow("empty list") << QStringList{} << "a" << 0 << false << -1;
    QTest::newRow("prefix is not equal") << QStringList{"hints"} << "hint" << 0 << false << -1;
    QTest::newRow("brackets are not letters") << QStringList{"{", "`"} << "[" << 0 << false << -1;
    QTest::newRow("at sign is not a letter") << QStringList{"`"} << "@" << 0 << false << -1;
}

void TestSortStringArray::find()
{
    QFETCH(QStringList, list);
    QFETCH(QString, item);
    QFETCH(int, start);
    QFETCH(bool, matchCase);
    QFETCH(int, index);
    QCOMPARE(CSortStringArray(list).Find(item, start, matchCase), index);
}

void TestSortStringArray::insertSorted_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("after");

    const QStringList locals{"_this", "_time", "abs"};
    QTest::newRow("underscore goes before small letters")
        << locals << "_x" << 2 << QStringList{"_this", "_time", "_x", "abs"};
    QTest::newRow("equal ignoring case inserts nothing") << QStringList{"abs"} << "ABS" << -1 << QStringList{"abs"};
    QTest::newRow("empty list inserts nothing") << QStringList{} << "abs" << -1 << QStringList{};
    QTest::newRow("greater than all inserts nothing") << QStringList{"a", "b"} << "c" << -1 << QStringList{"a", "b"};
    QTest::newRow("smaller than all goes first") << QStringList{"b", "c"} << "a" << 0 << QStringList{"a", "b", "c"};
    QTest::newRow("capitals order before small letters")
        << QStringList{"apple", "banana"} << "Zed" << 0 << QStringList{"Zed", "apple", "banana"};
    QTest::newRow("equal met after a greater entry is not reached")
        << QStringList{"b", "a"} << "A" << 0 << QStringList{"A", "b", "a"};
    // U+017D is byte 0x8E and U+20AC is byte 0x80: both below U+00FF's byte 0xFF.
    QTest::newRow("ordered by code page byte")
        << QStringList{"a", "\u00FF"} << "\u017D" << 1 << QStringList{"a", "\u017D", "\u00FF"};
    QTest::newRow("euro sign before accented letter")
        << QStringList{"z", "\u00E9"} << "\u20AC" << 1 << QStringList{"z", "\u20AC", "\u00E9"};
}

void TestSortStringArray::insertSorted()
{
    QFETCH(QStringList, list);
    QFETCH(QString, item);
    QFETCH(int, index);
    QFETCH(QStringList, after);
    CSortStringArray ar(list);
    QCOMPARE(ar.InsertSorted(item), index);
    QCOMPARE(QStringList(ar), after);
}

void TestSortStringArray::sort_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("case duplicates and empty entry dropped") << QStringList{"b", "B", "a", ""} << QStringList{"a", "b"};
    QTest::newRow("one entry unchanged") << QStringList{"B"} << QStringList{"B"};
    QTest::newRow("one empty entry unchanged") << QStringList{""} << QStringList{""};
    QTest::newRow("empty list") << QStringList{} << QStringList{};
    QTest::newRow("only empty entries vanish") << QStringList{"", ""} << QStringList{};
    QTest::newRow("first of equals survives") << QStringList{"Hint", "hint"} << QStringList{"Hint"};
    QTest::newRow("first of equals survives reversed") << QStringList{"hint", "Hint"} << QStringList{"hint"};
    QTest::newRow("first of equals survives far apart")
        << QStringList{"HINT", "zz", "a", "Hint", "hint"} << QStringList{"a", "HINT", "zz"};
    QTest::newRow("case ignored in order") << QStringList{"b", "A", "c"} << QStringList{"A", "b", "c"};
    QTest::newRow("underscore before letters of either case")
        << QStringList{"Abs", "_this", "abs"} << QStringList{"_this", "Abs"};
    QTest::newRow("prefix first") << QStringList{"ab", "a"} << QStringList{"a", "ab"};
    QTest::newRow("code page byte order")
        << QStringList{"\u00FF", "\u017D", "z"} << QStringList{"z", "\u017D", "\u00FF"};
}

void TestSortStringArray::sort()
{
    QFETCH(QStringList, list);
    QFETCH(QStringList, sorted);
    CSortStringArray ar(list);
    ar.Sort();
    QCOMPARE(QStringList(ar), sorted);
}

void TestSortStringArray::sortAgreesWithSelectionSort()
{
    QRandomGenerator rng(20240611);
    for (int nList = 0; nList < 300; ++nList) {
        QStringList words;
        const int nCount = rng.bounded(40);
        for (int i = 0; i < nCount; ++i)
            words.append(RandomWord(rng));
        CSortStringArray ar(words);
        ar.Sort();
        const QStringList expected = ReferenceSort(words);
        if (QStringList(ar) != expected)
            QFAIL(qPrintable(QStringLiteral("input [%1]: got [%2], expected [%3]")
                                 .arg(words.join(u','), ar.join(u','), expected.join(u','))));
    }
}

QTEST_GUILESS_MAIN(TestSortStringArray)
#include "tst_sortstringarray.moc"
