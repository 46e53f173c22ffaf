// The colourer against the reference copy of the way it worked before it
// was made fast: every run of every line, the comment state handed on and
// the local variables must come out exactly the same, over scripts shaped
// like real missions and over lines made of the characters that decide the
// rules, with every combination of switches.
#include "bench/realscript.h"
#include "core/app/datapaths.h"
#include "core/data/dictionary.h"
#include "core/editor/colourer.h"
#include "tests/support/referencecolourer.h"

#include <QHash>
#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(EFileType)

namespace {

using VelkTest::CReferenceColourer;

const CDictionary& ShippedDictionary()
{
    static const CDictionary dictionary = [] {
        CDictionary d;
        d.LoadDataFiles(CDataPaths::FromAppPath(QStringLiteral(VELK_SHARE_DIR)), true);
        return d;
    }();
    return dictionary;
}

// Entries where a shortcut of the fast look-up could go wrong: one starting
// with a digit, one holding a quote, one outside ASCII, one longer than any
// word, one that is reserved, one that looks like a local variable, and the
// same spelling in two lists.
const CDictionary& EdgeDictionary()
{
    static const CDictionary dictionary = [] {
        CDictionary d;
        d.ReadCommands({"[COMMANDS]",
                        "hint",
                        "Alive",
                        "goto",
                        "_private",
                        "9mm",
                        "a\"b",
                        "caf\u00E9",
                        "setPosASLWithAVeryLongNameIndeed_AndMore_1234567890",
                        "x",
                        "",
                        "[INFANTRY WEAPONS VELK]",
                        "M16",
                        "9mm",
                        "",
                        "[INFANTRY MAGAZINES VELK]",
                        "Mag30",
                        "",
                        "[VEHICLE/STATIC WEAPONS VELK]",
                        "M2",
                        "",
                        "[VEHICLE/STATIC MAGAZINES VELK]",
                        "Belt50",
                        "",
                        "[VEHICLES VELK]",
                        "Jeep",
                        "",
                        "[EQUIPMENT VELK]",
                        "Binocular",
                        ""},
                       true);
        return d;
    }();
    return dictionary;
}

// The reference looks words up in a table of its own, built from the lists
// the plain way, so a fault in the dictionary's index shows up here too.
CReferenceColourer::ListsOf PlainListsOf(const CDictionary& d)
{
    QHash<QString, quint8> words;
    const std::pair<EWordList, const CSortStringArray*> lists[]
        = {{EWordList::Commands, &d.m_arCommands},         {EWordList::InfWeapons, &d.m_arInfWeapons},
           {EWordList::InfMagazines, &d.m_arInfMagazines}, {EWordList::VehWeapons, &d.m_arVehWeapons},
           {EWordList::VehMagazines, &d.m_arVehMagazines}, {EWordList::Vehicles, &d.m_arVehicles},
           {EWordList::Equipment, &d.m_arEquipment}};
    for (const auto& [eList, pList] : lists)
        for (const QString& sWord : *pList)
            words[FoldAscii(sWord)] |= CWordIndex::Bit(eList);
    return [words](const QString& sFolded) { return words.value(sFolded, 0); };
}

// Command words for the generator: the dictionary's own in mixed case, with
// weapon and vehicle names and reserved words among them so that quoted
// names and System words turn up.
QStringList GeneratorWords(const CDictionary& d)
{
    QStringList words;
    for (const CSortStringArray* pList : {&d.m_arCommands, &d.m_arInfWeapons, &d.m_arVehicles, &d.m_arEquipment})
        for (qsizetype i = 0; i < pList->size(); i += 3)
            words.append(i % 2 ? pList->at(i).toUpper() : pList->at(i));
    words << "GoTo"
          << "FOREACH"
          << "_This"
          << "_TIME"
          << "exitWith"
          << "9mm"
          << "a\"b";
    return words;
}

// Lines made of the pieces that decide the rules, in any order: quotes of
// both kinds, the System characters, remark and comment marks, reserved
// words, special variables, numbers, letters outside ASCII, blanks.
QStringList JunkLines(quint32 nSeed, int nLines, int nMaxPieces = 16)
{
    static const QStringList kPieces
        = {"_a",  "_B",      "_this", "_TIME", "x",    "HINT",    "alive",    "\"",    "\"",   "'",      "%",
           "?",   ":",       "!",     "@",     ";",    "#",       "&",        "~",     "//",   "/*",     "*/",
           "/",   "*",       " ",     "\t",    "goto", "If",      "_private", "12.5",  "9mm",  "a\"b\"", "caf\u00E9",
           "M16", "\"m16\"", "jeep",  "[",     "]",    "#define", "#INCLUDE", "class", "_x_y", "\u00C9", "\"_v\""};
    QRandomGenerator random(nSeed);
    QStringList lines;
    for (int nLine = 0; nLine < nLines; ++nLine) {
        QString sLine;
        const int nPieces = random.bounded(nMaxPieces);
        for (int i = 0; i < nPieces; ++i)
            sLine += kPieces[random.bounded(int(kPieces.size()))];
        lines.append(sLine);
    }
    return lines;
}

// Letters R C W S V name the switches that are on.
QString SwitchNames(const SColourSwitches& s)
{
    return QString::fromLatin1("%1%2%3%4%5")
        .arg(s.bFormatRem ? "R" : "-", s.bFormatCom ? "C" : "-", s.bFormatWeap ? "W" : "-", s.bFormatSys ? "S" : "-",
             s.bFormatVar ? "V" : "-");
}

QString DumpRuns(const SLineColours& colours)
{
    QString sDump;
    for (const SColourRun& run : colours.runs)
        sDump += QStringLiteral("%1-%2:%3 ").arg(run.nFrom).arg(run.nTo).arg(int(run.eClass));
    return sDump + (colours.bCommentOpenAtEnd ? QStringLiteral("open") : QStringLiteral("closed"));
}

// The first line where the two disagree, described; empty when they agree
// everywhere. The first difference is enough to see the fault, a check per
// line would bury it.
QString FirstDifference(const QStringList& lines, EFileType eType, const SColourSwitches& switches,
                        const CColourer& colourer, const CReferenceColourer& reference)
{
    bool bOpen = false;
    for (int nLine = 0; nLine < lines.size(); ++nLine) {
        const QString& sLine = lines[nLine];
        // The state handed on as the editor hands it, and in function files,
        // the only ones whose lines hand one on, the other state forced, so
        // every line is also seen starting inside a comment.
        for (const bool bOpenAtStart : {bOpen, eType == kFileSQF ? !bOpen : bOpen}) {
            const SLineColours expected = reference.ColourLine(sLine, bOpenAtStart, eType, switches);
            const SLineColours actual = colourer.ColourLine(sLine, bOpenAtStart, eType, switches);
            if (actual != expected)
                return QStringLiteral("line %1 \"%2\" type %3 switches %4 open %5:\n  expected %6\n  actual   %7")
                    .arg(nLine + 1)
                    .arg(sLine.left(200))
                    .arg(eType)
                    .arg(SwitchNames(switches))
                    .arg(bOpenAtStart)
                    .arg(DumpRuns(expected), DumpRuns(actual));
        }
        bOpen = reference.ColourLine(sLine, bOpen, eType, switches).bCommentOpenAtEnd;
    }
    return QString();
}

QString FirstVariablesDifference(const QStringList& lines, EFileType eType)
{
    for (int nLine = 0; nLine < lines.size(); ++nLine) {
        const QString& sLine = lines[nLine];
        const QStringList expected = CReferenceColourer::LocalVariables(sLine, eType);
        QStringList viewed;
        CColourer::ForEachLocalVariable(sLine, eType, [&viewed](QStringView word) { viewed.append(word.toString()); });
        const QStringList listed = CColourer::LocalVariables(sLine, eType);
        if (viewed != expected || listed != expected)
            return QStringLiteral("line %1 \"%2\" type %3: expected [%4], listed [%5], viewed [%6]")
                .arg(nLine + 1)
                .arg(sLine.left(200))
                .arg(eType)
                .arg(expected.join(u' '), listed.join(u' '), viewed.join(u' '));
    }
    return QString();
}

SColourSwitches SwitchesOf(int nBits)
{
    return {bool(nBits & 1), bool(nBits & 2), bool(nBits & 4), bool(nBits & 8), bool(nBits & 16)};
}

enum ESource { kRealSqf, kRealSqs, kJunk, kLongJunk };

}  // namespace

class TestColourerEquivalence : public QObject
{
    Q_OBJECT

private slots:
    void sameRunsAsTheReference_data();
    void sameRunsAsTheReference();
    void sameLocalVariablesAsTheReference_data();
    void sameLocalVariablesAsTheReference();
    void anyLookUpGivesTheSameRunsAsTheIndex();
};

namespace {

void AddSourceRows()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<EFileType>("type");
    QTest::addColumn<bool>("edgeDictionary");
    for (quint32 nSeed : {1u, 2u, 3u}) {
        QTest::addRow("function file, seed %u", nSeed) << int(kRealSqf) << nSeed << kFileSQF << false;
        QTest::addRow("script, seed %u", nSeed) << int(kRealSqs) << nSeed << kFileSQS << false;
    }
    QTest::addRow("function file read as a script") << int(kRealSqf) << 4u << kFileSQS << false;
    QTest::addRow("function file read as a description") << int(kRealSqf) << 5u << kFileEXT << false;
    QTest::addRow("function file read as data") << int(kRealSqf) << 6u << kFileDAT << false;
    for (EFileType eType : {kFileSQF, kFileSQS, kFileEXT, kFileDAT, kFileTXT})
        QTest::addRow("deciding characters, type %d", int(eType)) << int(kJunk) << quint32(10 + eType) << eType << true;
    // Long enough that words, strings and quotes run across the 64-character
    // pieces the local variables are looked for in.
    for (EFileType eType : {kFileSQF, kFileSQS})
        QTest::addRow("long lines of deciding characters, type %d", int(eType))
            << int(kLongJunk) << quint32(20 + eType) << eType << true;
    QTest::addRow("function file, odd dictionary") << int(kRealSqf) << 7u << kFileSQF << true;
}

QStringList SourceLines(int nSource, quint32 nSeed, const CDictionary& dictionary)
{
    if (nSource == kJunk)
        return JunkLines(nSeed, 1500);
    if (nSource == kLongJunk)
        return JunkLines(nSeed, 300, 200);
    RealScript::SShape shape;
    shape.nChars = 40'000;
    shape.eType = nSource == kRealSqs ? kFileSQS : kFileSQF;
    shape.nVariables = 2000;
    // A position table is 70 KB or more whatever the text around it, so
    // only the first function file carries one.
    shape.nLongLines = nSeed == 1 && shape.eType == kFileSQF ? 1 : 0;
    shape.nSeed = nSeed;
    return RealScript::Make(shape, GeneratorWords(dictionary)).split(QLatin1Char('\n'));
}

}  // namespace

void TestColourerEquivalence::sameRunsAsTheReference_data()
{
    AddSourceRows();
}

void TestColourerEquivalence::sameRunsAsTheReference()
{
    QFETCH(int, source);
    QFETCH(quint32, seed);
    QFETCH(EFileType, type);
    QFETCH(bool, edgeDictionary);
    const CDictionary& dictionary = edgeDictionary ? EdgeDictionary() : ShippedDictionary();
    QVERIFY(!dictionary.m_arCommands.isEmpty());
    const QStringList lines = SourceLines(source, seed, dictionary);
    const CColourer colourer(dictionary);
    const CReferenceColourer reference(PlainListsOf(dictionary));
    for (int nBits = 0; nBits < 32; ++nBits) {
        const QString sDifference = FirstDifference(lines, type, SwitchesOf(nBits), colourer, reference);
        QVERIFY2(sDifference.isEmpty(), qPrintable(sDifference));
    }
}

void TestColourerEquivalence::sameLocalVariablesAsTheReference_data()
{
    AddSourceRows();
}

void TestColourerEquivalence::sameLocalVariablesAsTheReference()
{
    QFETCH(int, source);
    QFETCH(quint32, seed);
    QFETCH(EFileType, type);
    QFETCH(bool, edgeDictionary);
    const QStringList lines = SourceLines(source, seed, edgeDictionary ? EdgeDictionary() : ShippedDictionary());
    const QString sDifference = FirstVariablesDifference(lines, type);
    QVERIFY2(sDifference.isEmpty(), qPrintable(sDifference));
}

void TestColourerEquivalence::anyLookUpGivesTheSameRunsAsTheIndex()
{
    // A colourer given some other look-up with the same answers colours
    // exactly as the one using the dictionary's index.
    const CDictionary& dictionary = EdgeDictionary();
    const QStringList lines = JunkLines(99, 3000);
    const CColourer viaFunction(PlainListsOf(dictionary));
    const CReferenceColourer reference(PlainListsOf(dictionary));
    for (EFileType eType : {kFileSQF, kFileSQS}) {
        for (int nBits : {31, 2 | 4, 4}) {
            const QString sDifference = FirstDifference(lines, eType, SwitchesOf(nBits), viaFunction, reference);
            QVERIFY2(sDifference.isEmpty(), qPrintable(sDifference));
        }
    }
}

QTEST_GUILESS_MAIN(TestColourerEquivalence)
#include "tst_colourerequivalence.moc"
