#include "core/app/datapaths.h"
#include "core/data/dictionary.h"
#include "core/data/wordindex.h"

#include <QRandomGenerator>
#include <QtTest>

#include <array>

namespace {

constexpr std::array kLists{EWordList::Commands,   EWordList::InfWeapons,   EWordList::InfMagazines,
                            EWordList::VehWeapons, EWordList::VehMagazines, EWordList::Vehicles,
                            EWordList::Equipment};

// Pairs that a Unicode-aware lower-casing would merge but the dictionary's
// ASCII-only folding keeps apart (Š/š, É/é, Kelvin sign/k, long s/s), plus
// the punctuation a sloppy "| 0x20" fold would merge ('@'/'`', '['/'{').
const QString kAlphabet = QStringLiteral("aAkKsSzZ_@`[{0\u00E9\u00C9\u0160\u0161\u20AC\u00FF\u0178\u212A\u017F");

QString RandomWord(QRandomGenerator& rng)
{
    QString sWord;
    const int nLen = 1 + rng.bounded(3);
    for (int i = 0; i < nLen; ++i)
        sWord += kAlphabet[rng.bounded(int(kAlphabet.size()))];
    return sWord;
}

// Spellings of a word the colourer may meet in a script.
QStringList Variants(const QString& sWord)
{
    QString sFlipped = sWord;
    for (QChar& c : sFlipped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return {sWord, sWord.toUpper(), sWord.toLower(), sFlipped};
}

// The first failure is enough to see the fault; QVERIFY inside loops would
// bury it under thousands of passes.
QString Disagreement(const CWordIndex& index, EWordList eList, const CSortStringArray& arList, const QString& sProbe)
{
    const bool bFound = arList.Find(sProbe, 0, false) >= 0;
    const bool bContains = index.Contains(eList, sProbe);
    const bool bBit = (index.ListsOf(sProbe) & CWordIndex::Bit(eList)) != 0;
    if (bFound == bContains && bFound == bBit)
        return QString();
    return QStringLiteral("list %1, word \"%2\": Find %3, Contains %4, ListsOf %5")
        .arg(int(eList))
        .arg(sProbe)
        .arg(bFound)
        .arg(bContains)
        .arg(bBit);
}

const CSortStringArray& ListOf(const CDictionary& dict, EWordList eList)
{
    switch (eList) {
    case EWordList::Commands:
        return dict.m_arCommands;
    case EWordList::InfWeapons:
        return dict.m_arInfWeapons;
    case EWordList::InfMagazines:
        return dict.m_arInfMagazines;
    case EWordList::VehWeapons:
        return dict.m_arVehWeapons;
    case EWordList::VehMagazines:
        return dict.m_arVehMagazines;
    case EWordList::Vehicles:
        return dict.m_arVehicles;
    case EWordList::Equipment:
        return dict.m_arEquipment;
    }
    Q_UNREACHABLE();
}

}  // namespace

class TestWordIndex : public QObject
{
    Q_OBJECT

private slots:
    void answersLikeFind_data();
    void answersLikeFind();
    void agreesWithFindOnRandomWords();
    void dictionaryIndexFollowsEachLoad();
};

void TestWordIndex::answersLikeFind_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QString>("probe");
    QTest::addColumn<bool>("found");

    QTest::newRow("exact word") << QStringList{"setPos"} << "setPos" << true;
    QTest::newRow("other case of ASCII word") << QStringList{"setPos"} << "SETPOS" << true;
    QTest::newRow("prefix is not the word") << QStringList{"setPos"} << "set" << false;
    QTest::newRow("longer word is not the word") << QStringList{"set"} << "setPos" << false;
    QTest::newRow("at sign not folded") << QStringList{"`a"} << "@a" << false;
    QTest::newRow("bracket not folded") << QStringList{"{a"} << "[a" << false;
    QTest::newRow("accented capital not folded") << QStringList{"\u00E9t\u00E9"} << "\u00C9T\u00C9" << false;
    QTest::newRow("Kelvin sign is not k") << QStringList{"k"} << "\u212A" << false;
    QTest::newRow("empty list") << QStringList{} << "a" << false;
}

void TestWordIndex::answersLikeFind()
{
    QFETCH(QStringList, words);
    QFETCH(QString, probe);
    QFETCH(bool, found);
    const CSortStringArray arWords(words);
    QCOMPARE(arWords.Find(probe, 0, false) >= 0, found);
    CWordIndex index;
    index.Add(EWordList::Vehicles, arWords);
    QCOMPARE(index.Contains(EWordList::Vehicles, probe), found);
    // A word belongs only to the lists it was added with.
    QVERIFY(!index.Contains(EWordList::Commands, probe));
    QCOMPARE(index.ListsOf(probe), found ? CWordIndex::Bit(EWordList::Vehicles) : quint8(0));
}

void TestWordIndex::agreesWithFindOnRandomWords()
{
    QRandomGenerator rng(7919);
    for (int nRound = 0; nRound < 20; ++nRound) {
        std::array<CSortStringArray, kLists.size()> lists;
        CWordIndex index;
        QStringList probes;
        for (size_t n = 0; n < kLists.size(); ++n) {
            const int nCount = rng.bounded(30);
            for (int i = 0; i < nCount; ++i)
                lists[n].append(RandomWord(rng));
            index.Add(kLists[n], lists[n]);
            for (const QString& sWord : lists[n])
                probes += Variants(sWord);
        }
        for (int i = 0; i < 200; ++i)
            probes += RandomWord(rng);
        for (const QString& sProbe : probes) {
            for (size_t n = 0; n < kLists.size(); ++n) {
                const QString sError = Disagreement(index, kLists[n], lists[n], sProbe);
                if (!sError.isEmpty())
                    QFAIL(qPrintable(sError));
            }
        }
    }
}

void TestWordIndex::dictionaryIndexFollowsEachLoad()
{
    // Reloading for the other game must forget the first game's words, or the
    // colourer would go on marking weapons that game does not have.
    const CDataPaths paths = CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR));
    CDictionary velk;
    QVERIFY(velk.LoadDataFiles(paths, true));
    CDictionary dict;
    QVERIFY(dict.LoadDataFiles(paths, true));
    QVERIFY(dict.LoadDataFiles(paths, false));

    QStringList probes;
    for (EWordList eList : kLists)
        for (const CSortStringArray* pList : {&ListOf(velk, eList), &ListOf(dict, eList)})
            for (const QString& sWord : *pList)
                probes += Variants(sWord);
    QVERIFY(probes.size() > 1000);
    int nOnlyInVelk = 0;
    for (const QString& sProbe : probes) {
        for (EWordList eList : kLists) {
            const QString sError = Disagreement(dict.Index(), eList, ListOf(dict, eList), sProbe);
            if (!sError.isEmpty())
                QFAIL(qPrintable(sError));
        }
        if (velk.Index().ListsOf(sProbe) != 0 && dict.Index().ListsOf(sProbe) == 0)
            ++nOnlyInVelk;
    }
    // Guards against both games shipping the same words, which would make the
    // check above unable to see a stale index.
    QVERIFY(nOnlyInVelk > 0);
}

QTEST_GUILESS_MAIN(TestWordIndex)
#include "tst_wordindex.moc"
