// The colourer against the reference copy of the way it worked before it
// was made fast: every run of every line, the comment state handed on and
// the local variables must come out exactly the same, over scripts shaped
// like real missions and over lines made of the characters that decide the
// rules, with every combination of switches.
#include "bench/realscript.h"
#include "core/app/datapaths.h"
#include "core/data/dictionary.h"
#include "tests/support/shippeddictionary.h"
#include "core/editor/colourer.h"
#include "core/editor/textshadow.h"
#include "tests/support/referencecolourer.h"

#include <QHash>
#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(EFileType)

namespace {

using VelkTest::CReferenceColourer;

using VelkTest::ShippedDictionary;

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
QStringList JunkLines(quint32 nSeed, int nLines, int nMaxPieces = 16, const QStringList& extraPieces = {})
{
    static const QStringList kBasePieces
        = {"_a",  "_B",      "_this", "_TIME", "x",    "HINT",    "alive",    "\"",    "\"",   "'",      "%",
           "?",   ":",       "!",     "@",     ";",    "#",       "&",        "~",     "//",   "/*",     "*/",
           "/",   "*",       " ",     "\t",    "goto", "If",      "_private", "12.5",  "9mm",  "a\"b\"", "caf\u00E9",
           "M16", "\"m16\"", "jeep",  "[",     "]",    "#define", "#INCLUDE", "class", "_x_y", "\u00C9", "\"_v\""};
    const QStringList kPieces = kBasePieces + extraPieces;
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

QStringList ReferenceVariables(const QStringList& lines, EFileType eType)
{
    QStringList words;
    for (const QString& sLine : lines)
        words += CReferenceColourer::LocalVariables(sLine, eType);
    return words;
}

QStringList VariablesOfText(QStringView text, EFileType eType)
{
    QStringList words;
    CColourer::ForEachLocalVariable(text, eType, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

QStringList VariablesOfShadow(const CTextShadow& shadow, EFileType eType)
{
    QStringList words;
    CColourer::ForEachLocalVariable(shadow, eType, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

// The first word where the two lists part, described.
QString FirstWordDifference(const QStringList& expected, const QStringList& actual)
{
    for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i)
        if (i >= expected.size() || i >= actual.size() || expected[i] != actual[i])
            return QStringLiteral("word %1 of %2/%3: expected \"%4\", got \"%5\"")
                .arg(i)
                .arg(expected.size())
                .arg(actual.size())
                .arg(expected.value(i), actual.value(i));
    return QString();
}

SColourSwitches SwitchesOf(int nBits)
{
    return {bool(nBits & 1), bool(nBits & 2), bool(nBits & 4), bool(nBits & 8), bool(nBits & 16)};
}

enum ESource { kRealSqf, kRealSqs, kJunk, kLongJunk, kWideJunk };

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
    void wholeTextGivesTheWordsOfItsLines_data();
    void wholeTextGivesTheWordsOfItsLines();
    void editorCopyGivesTheWordsOfItsLines_data();
    void editorCopyGivesTheWordsOfItsLines();
    void piecesReadSideBySideTeachTheWordsInOrder_data();
    void piecesReadSideBySideTeachTheWordsInOrder();
    void longLinesColouredAgainAfterEditsAsAWhole_data();
    void longLinesColouredAgainAfterEditsAsAWhole();
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
    // Characters whose low byte is a line break, a quote, an underscore, a
    // blank or a remark mark must count as none of them.
    for (EFileType eType : {kFileSQF, kFileSQS})
        QTest::addRow("characters beyond Latin-1, type %d", int(eType))
            << int(kWideJunk) << quint32(30 + eType) << eType << true;
}

// The scan for local variables has a baseline path and, where the
// processor has them, wider vector steps: each check runs on every path
// this machine has, and the widest is chosen again afterwards.
struct SEveryVectorWidth
{
    ~SEveryVectorWidth() { CColourer::SetWideVectors(true); }
    static QList<bool> Available()
    {
        return CColourer::SetWideVectors(true) ? QList<bool>{true, false} : QList<bool>{false};
    }
};

QStringList SourceLines(int nSource, quint32 nSeed, const CDictionary& dictionary)
{
    if (nSource == kJunk)
        return JunkLines(nSeed, 1500);
    if (nSource == kLongJunk)
        return JunkLines(nSeed, 300, 200);
    if (nSource == kWideJunk)
        return JunkLines(nSeed, 1500, 40,
                         {"\u010A", "\u0122", "\u015F", "\u0120", "\u0109", "\u013B", "\u0123", "\u0126", "_\u015F",
                          "\u8022", "\uFF3F"});
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

// A row of AddSourceRows: its lines, its file type, its seed and the
// dictionary the lines were made with.
struct SSourceRow
{
    const CDictionary* pDictionary;
    EFileType eType;
    quint32 nSeed;
    QStringList lines;
};

SSourceRow FetchedSource()
{
    QFETCH(int, source);
    QFETCH(quint32, seed);
    QFETCH(EFileType, type);
    QFETCH(bool, edgeDictionary);
    const CDictionary& dictionary = edgeDictionary ? EdgeDictionary() : ShippedDictionary();
    return {&dictionary, type, seed, SourceLines(source, seed, dictionary)};
}

}  // namespace

void TestColourerEquivalence::sameRunsAsTheReference_data()
{
    AddSourceRows();
}

void TestColourerEquivalence::sameRunsAsTheReference()
{
    const SSourceRow row = FetchedSource();
    const CDictionary& dictionary = *row.pDictionary;
    const EFileType type = row.eType;
    const QStringList& lines = row.lines;
    QVERIFY(!dictionary.m_arCommands.isEmpty());
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
    const SSourceRow row = FetchedSource();
    const EFileType type = row.eType;
    const QStringList& lines = row.lines;
    const SEveryVectorWidth restore;
    for (bool bWide : SEveryVectorWidth::Available()) {
        CColourer::SetWideVectors(bWide);
        const QString sDifference = FirstVariablesDifference(lines, type);
        QVERIFY2(sDifference.isEmpty(), qPrintable(QStringLiteral("wide %1: ").arg(bWide) + sDifference));
    }
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

void TestColourerEquivalence::wholeTextGivesTheWordsOfItsLines_data()
{
    AddSourceRows();
}

void TestColourerEquivalence::wholeTextGivesTheWordsOfItsLines()
{
    // Read at once, the lines joined by "\n": a string left open, a remark
    // line or a word at the end of one line must not reach into the next,
    // wherever the breaks fall in the pieces the text is read in.
    const SSourceRow row = FetchedSource();
    const EFileType type = row.eType;
    const QStringList& lines = row.lines;
    const QStringList expected = ReferenceVariables(lines, type);
    const QString sText = lines.join(u'\n');
    const SEveryVectorWidth restore;
    for (bool bWide : SEveryVectorWidth::Available()) {
        CColourer::SetWideVectors(bWide);
        const QString sDifference = FirstWordDifference(expected, VariablesOfText(sText, type));
        QVERIFY2(sDifference.isEmpty(), qPrintable(QStringLiteral("wide %1: ").arg(bWide) + sDifference));
        // Started anywhere in a line, the text reads as if that were its first.
        for (qsizetype nFrom : {qsizetype(1), qsizetype(63), sText.size() / 3}) {
            const QString sTail = sText.mid(nFrom);
            const QString sTailDifference
                = FirstWordDifference(ReferenceVariables(sTail.split(u'\n'), type), VariablesOfText(sTail, type));
            QVERIFY2(sTailDifference.isEmpty(),
                     qPrintable(QStringLiteral("wide %1, from %2: ").arg(bWide).arg(nFrom) + sTailDifference));
        }
    }
}

void TestColourerEquivalence::editorCopyGivesTheWordsOfItsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("editAt");
    QTest::newRow("no edit yet") << "_a = 1;\n\t_b = _a;\n" << -1;
    QTest::newRow("edited inside a word") << "_alpha = 1;\n_beta = _alpha;" << 3;
    QTest::newRow("edited inside a string") << "x = \"_in _side\";\n_out = 2;" << 8;
    QTest::newRow("edited at a line break") << "_a = 1;\n_b = 2;\n_c = 3;" << 7;
    QTest::newRow("edited just past a line break") << "_a = 1;\n_b = 2;\n_c = 3;" << 8;
    QTest::newRow("edited on the only line") << "\t_only _line here" << 6;
    QTest::newRow("edited at the end, no final break") << "_a;\n_b _c" << 9;
    QTest::newRow("edited at the end, final break") << "_a;\n_b _c\n" << 10;
    QTest::newRow("edited on a remark line") << "; _not _here\n_here;" << 4;
    QTest::newRow("edited before an open string") << "x = \"_open\n_closed = 1;" << 2;
    QTest::newRow("edited in a long line")
        << QStringLiteral("_first") + QStringLiteral(" + _v").repeated(40) + QStringLiteral("\n\"_q\" _last") << 130;
    QString sLongWords;
    for (int i = 0; i < 50; ++i)
        sLongWords += QStringLiteral("_AVeryLongVariableName_Number%1 = _b%1;\n").arg(i);
    QTest::newRow("many words too long to be kept whole, in capitals") << sLongWords << 700;
    QTest::newRow("empty text") << "" << 0;
    QTest::newRow("beyond Latin-1") << "_caf\u00E9 \u015F_x\n\u010A_y _\u0101z" << 11;
}

void TestColourerEquivalence::editorCopyGivesTheWordsOfItsLines()
{
    // The editor's copy of the text keeps a gap where it was last edited;
    // the line across the gap must read as one.
    QFETCH(QString, text);
    QFETCH(int, editAt);
    for (EFileType eType : {kFileSQF, kFileSQS}) {
        const QStringList expected = ReferenceVariables(text.split(u'\n'), eType);
        CTextShadow shadow;
        shadow.Reset(text);
        if (editAt >= 0) {
            // A character typed and taken back again leaves the text as it was.
            shadow.Replace(editAt, 0, QStringLiteral("x"));
            shadow.Replace(editAt, 1, QString());
        }
        QCOMPARE(shadow.Text(), text);
        QCOMPARE(VariablesOfShadow(shadow, eType), expected);
        // Every place of the gap, on a shorter copy.
        for (int nAt = 0; nAt <= std::min(int(text.size()), 40); ++nAt) {
            shadow.Replace(nAt, 0, QStringLiteral("\n"));
            shadow.Replace(nAt, 1, QString());
            QVERIFY2(VariablesOfShadow(shadow, eType) == expected, qPrintable(QStringLiteral("gap at %1").arg(nAt)));
        }
    }
}

void TestColourerEquivalence::piecesReadSideBySideTeachTheWordsInOrder_data()
{
    AddSourceRows();
}

void TestColourerEquivalence::piecesReadSideBySideTeachTheWordsInOrder()
{
    // The text is cut at line breaks into pieces read on threads of their
    // own: no word may be lost, cut in two or taken out of its turn, wherever
    // the cuts and the editor's gap fall.
    const SSourceRow row = FetchedSource();
    const EFileType type = row.eType;
    const QStringList& lines = row.lines;
    CSortStringArray expected = ShippedDictionary().m_arAutoComplete;
    for (const QString& sWord : ReferenceVariables(lines, type))
        expected.InsertSorted(sWord);
    const QString sText = lines.join(u'\n');
    CTextShadow shadow;
    shadow.Reset(sText);
    for (const int nGap : {-1, int(sText.size() / 2), int(sText.size() / 3) + 1}) {
        if (nGap >= 0) {
            shadow.Replace(nGap, 0, QStringLiteral("x"));
            shadow.Replace(nGap, 1, QString());
        }
        for (const int nParts : {1, 2, 3, 8}) {
            CSortStringArray list(ShippedDictionary().m_arAutoComplete);
            CCompletionIndex index;
            QString sCrossing;
            // Pieces far shorter than in the editor: many cuts in a short text.
            index.LearnWords(list, CColourer::LocalVariableProducers(shadow, type, nParts, &sCrossing, 500), nParts);
            QVERIFY2(list == expected, qPrintable(QStringLiteral("gap at %1, %2 pieces").arg(nGap).arg(nParts)));
        }
    }
}

void TestColourerEquivalence::longLinesColouredAgainAfterEditsAsAWhole_data()
{
    AddSourceRows();
}

// Lines of a source joined into long ones and edited as a user types:
// mostly near the end, now and then anywhere, with the switches and the
// comment state changing between edits. Coloured again from what was kept
// of the last colouring, each must come out as colouring it whole does.
void TestColourerEquivalence::longLinesColouredAgainAfterEditsAsAWhole()
{
    const SSourceRow row = FetchedSource();
    const CDictionary& dictionary = *row.pDictionary;
    const EFileType type = row.eType;
    const QStringList& lines = row.lines;
    const CColourer colourer(dictionary);
    const QStringList typed = JunkLines(row.nSeed, 400, 4);
    QRandomGenerator random(row.nSeed);
    for (qsizetype nFirst = 0; nFirst + 40 <= std::min<qsizetype>(lines.size(), 400); nFirst += 40) {
        QString sLine = lines.mid(nFirst, 40).join(QLatin1Char(' '));
        SColouredLongLine kept;
        kept.nStride = 1 + random.bounded(24);
        for (int nEdit = 0; nEdit < 30; ++nEdit) {
            const int nLength = int(sLine.size());
            const int nAt
                = random.bounded(4) ? nLength - random.bounded(std::min(nLength, 20) + 1) : random.bounded(nLength + 1);
            const int nRemoved = random.bounded(3) ? 0 : std::min(random.bounded(6), nLength - nAt);
            sLine.replace(nAt, nRemoved, random.bounded(5) ? typed[random.bounded(int(typed.size()))] : QString());
            const SColourSwitches switches = SwitchesOf(random.bounded(8) ? 31 : random.bounded(32));
            const bool bOpen = random.bounded(6) == 0;
            const SLineColours expected = colourer.ColourLine(sLine, bOpen, type, switches);
            const SLineColours actual = colourer.ColourLongLine(sLine, bOpen, type, switches, kept);
            QVERIFY2(actual == expected,
                     qPrintable(QStringLiteral("lines from %1, edit %2 at %3, \"%4\":\n  expected %5\n  actual   %6")
                                    .arg(nFirst)
                                    .arg(nEdit)
                                    .arg(nAt)
                                    .arg(sLine.mid(std::max(0, nAt - 40), 80))
                                    .arg(DumpRuns(expected), DumpRuns(actual))));
        }
    }
}

QTEST_GUILESS_MAIN(TestColourerEquivalence)
#include "tst_colourerequivalence.moc"
