#include "core/data/dictionary.h"
#include "core/editor/colourer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QtTest>

Q_DECLARE_METATYPE(EFileType)

namespace {

// Small enough to know by heart: every list holds one or two names, and a few
// names sit where two rules compete ("goto" is reserved and a command,
// "_private" is a local variable and a command).
CDictionary MakeDictionary()
{
    CDictionary dict;
    dict.ReadCommands({"[COMMANDS]",
                       "hint",
                       "alive",
                       "player",
                       "addWeapon",
                       "sleep",
                       "format",
                       "goto",
                       "_private",
                       "",
                       "[INFANTRY WEAPONS VELK]",
                       "M16",
                       " Mag30",
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
    return dict;
}

const CDictionary& Dictionary()
{
    static const CDictionary dict = MakeDictionary();
    return dict;
}

// Letters R C W S V name the switches that are on.
SColourSwitches Switches(const QString& sOn)
{
    return {sOn.contains(u'R'), sOn.contains(u'C'), sOn.contains(u'W'), sOn.contains(u'S'), sOn.contains(u'V')};
}

const QString kAllOn = QStringLiteral("RCWSV");

char Letter(EColourClass eClass)
{
    return "TRCWSV"[int(eClass)];
}

const char* ClassName(char cLetter)
{
    switch (cLetter) {
    case 'T':
        return "Text";
    case 'R':
        return "Remark";
    case 'C':
        return "Command";
    case 'W':
        return "Weapon";
    case 'S':
        return "System";
    case 'V':
        return "Variable";
    }
    return "?";
}

// One letter per character, the last run over it winning; "." where no run
// reaches, which is what the user sees as "left as it was".
QString Resolve(const QList<SColourRun>& runs, int nLength)
{
    QString sClasses(nLength, u'.');
    for (const SColourRun& run : runs)
        for (int i = std::max(run.nFrom, 0); i < std::min(run.nTo, nLength); ++i)
            sClasses[i] = QLatin1Char(Letter(run.eClass));
    return sClasses;
}

QString Expected(QString s)
{
    return s.remove(u' ');
}

QStringList ColourFile(const QStringList& lines, EFileType eType)
{
    const CColourer colourer(Dictionary());
    const QList<SLineColours> text = colourer.ColourText(lines, eType, Switches(kAllOn));
    QStringList classes;
    for (int i = 0; i < lines.size(); ++i)
        classes.append(Resolve(text[i].runs, int(lines[i].size())));
    return classes;
}

// "line: from-to Class" for every stretch of one class; uncoloured stretches
// are left out.
QString Dump(const QStringList& classes)
{
    QString sDump;
    for (int nLine = 0; nLine < classes.size(); ++nLine) {
        const QString& s = classes[nLine];
        for (int i = 0; i < s.size();) {
            int j = i;
            while (j < s.size() && s[j] == s[i])
                ++j;
            if (s[i] != u'.')
                sDump += QStringLiteral("%1: %2-%3 %4\n").arg(nLine + 1).arg(i).arg(j).arg(ClassName(s[i].toLatin1()));
            i = j;
        }
    }
    return sDump;
}

// Sorts after every word a variable can be made of, so that inserting into
// a list holding it never falls off the end.
const QString kPastEveryWord = QStringLiteral("~");

// What each line adds to a completion list that holds none of its words yet:
// "line: words" in the list's order; lines that add nothing are left out.
QString VariablesDump(const QStringList& lines, EFileType eType)
{
    QString sDump;
    for (int nLine = 0; nLine < lines.size(); ++nLine) {
        CSortStringArray list{kPastEveryWord};
        for (const QString& sWord : CColourer::LocalVariables(lines[nLine], eType))
            list.InsertSorted(sWord);
        list.removeLast();
        if (!list.isEmpty())
            sDump += QStringLiteral("%1: %2\n").arg(nLine + 1).arg(list.join(u' '));
    }
    return sDump;
}

QString ReferenceFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/colourer");
}

// Set to rewrite the references from the current colourer; review the diff
// before committing it.
bool Regenerating()
{
    return qEnvironmentVariableIsSet("VELK_REGENERATE_COLOURER_REFERENCES");
}

// Empty when the reference file holds sDump, else what differs first, line
// by line so that a failure names the run or the variables concerned.
QString AgainstReference(const QString& sPath, const QString& sDump)
{
    if (Regenerating()) {
        QSaveFile reference(sPath);
        if (!reference.open(QIODevice::WriteOnly) || reference.write(sDump.toUtf8()) < 0 || !reference.commit())
            return QStringLiteral("cannot write ") + sPath;
        return {};
    }
    QFile reference(sPath);
    if (!reference.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + sPath;
    const QStringList expected = QString::fromUtf8(reference.readAll()).split(u'\n');
    const QStringList actual = sDump.split(u'\n');
    for (int i = 0; i < std::min(expected.size(), actual.size()); ++i)
        if (actual[i] != expected[i])
            return QStringLiteral("%1: got \"%2\", expected \"%3\"").arg(sPath, actual[i], expected[i]);
    if (actual.size() != expected.size())
        return QStringLiteral("%1: %2 lines, expected %3").arg(sPath).arg(actual.size()).arg(expected.size());
    return {};
}

// A script of the kind missions are made of, the same every run: assignments,
// conditions, loops, strings, remarks of every sort, labels, delays and the
// odd corner (a quote glued to a variable, a variable under a comment). Its
// own generator, so that the text cannot change with a library's.
QStringList GeneratedScript(EFileType eType, int nLines)
{
    quint64 nState = 20240611u + quint64(eType);
    auto pick = [&nState](const QStringList& choices) {
        nState = nState * 6364136223846793005u + 1442695040888963407u;
        return choices[int((nState >> 33) % quint64(choices.size()))];
    };
    const QStringList vars = {"_unit",  "_Group", "_i",  "_pos",  "_veh",  "_x",       "_list",
                              "_count", "_MyVar", "_a1", "_this", "_time", "_private", "_"};
    const QStringList commands = {"hint", "alive", "player", "sleep", "format", "addWeapon", "goto"};
    const QStringList lines = {"%v = %v + 1",
                               "? alive %v : %v = %v select 0",
                               "; %v is set above",
                               "#label%v",
                               "~%v",
                               "  hint format [\"%v is %1\", %v]",
                               "\t{ %v %c \"M16\" } forEach units %v;",
                               "%v = \"%v\"",
                               "if (%v > 0) then { %v = _this select 1 }; // %v in a remark",
                               "/* %v in a block comment */ %v = _time;",
                               "@ %c %v && !%v",
                               "&%v",
                               "#define %v 12",
                               "%v\"%v\" = 1",
                               "",
                               "for \"%v\" from 1 to 10 do { %c %v };",
                               "/* the comment goes on",
                               "   %v; %v */ %v = %v",
                               "%v = [%v, %v] + %V",
                               "%c \"%v %v\" %v"};
    QStringList script;
    for (int i = 0; i < nLines; ++i) {
        QString sLine = pick(lines);
        for (int p = int(sLine.indexOf(u'%')); p >= 0; p = int(sLine.indexOf(u'%', p + 1))) {
            if (p + 1 >= sLine.size())
                break;
            const QChar c = sLine[p + 1];
            const QString sWord = c == u'v' ? pick(vars)
                : c == u'V'                 ? pick(vars).toUpper()
                : c == u'c'                 ? pick(commands)
                                            : QString();
            if (!sWord.isEmpty()) {
                sLine.replace(p, 2, sWord);
                p += int(sWord.size()) - 1;
            }
        }
        script.append(sLine);
    }
    return script;
}

// The comment mask of a whole text, read one character after the other as
// the game reads a function file: a string runs to its closing quote of the
// same kind, a "//" remark to the line end, and neither holds an opening; a
// comment runs to the next "*/" at or after its "/*" ("/*/" closes at once).
// A line break inside a comment is masked too; one ends a string.
QString WholeTextMask(const QString& sText)
{
    enum class EState { Code, String, Remark, Comment } eState = EState::Code;
    QChar cQuote;
    QString sMask(sText.size(), u'.');
    const qsizetype n = sText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sText[i];
        const QChar cNext = i + 1 < n ? sText[i + 1] : QChar();
        switch (eState) {
        case EState::Code:
            if (c == u'"' || c == u'\'') {
                eState = EState::String;
                cQuote = c;
            } else if (c == u'/' && cNext == u'/') {
                eState = EState::Remark;
            } else if (c == u'/' && cNext == u'*') {
                eState = EState::Comment;
                sMask[i] = u'R';
            }
            break;
        case EState::String:
            if (c == cQuote || c == u'\n')
                eState = EState::Code;
            break;
        case EState::Remark:
            if (c == u'\n')
                eState = EState::Code;
            break;
        case EState::Comment:
            sMask[i] = u'R';
            if (c == u'*' && cNext == u'/') {
                sMask[++i] = u'R';
                eState = EState::Code;
            }
            break;
        }
    }
    return sMask;
}

QStringList WholeTextCommentMasks(const QString& sText)
{
    const QString sMask = WholeTextMask(sText);
    QStringList masks;
    qsizetype nStart = 0;
    for (const QString& sLine : sText.split(u'\n')) {
        masks.append(sMask.mid(nStart, sLine.size()));
        nStart += sLine.size() + 1;
    }
    return masks;
}

QStringList LineByLineCommentMasks(const QString& sText)
{
    QStringList masks;
    bool bOpen = false;
    for (const QString& sLine : sText.split(u'\n')) {
        QString sMask(sLine.size(), u'.');
        const SBlockComments comments = CColourer::BlockComments(sLine, bOpen);
        for (const auto& [nFrom, nTo] : comments.spans)
            for (int i = nFrom; i < nTo; ++i)
                sMask[i] = u'R';
        bOpen = comments.bOpenAtEnd;
        masks.append(sMask);
    }
    return masks;
}

}  // namespace

class TestColourer : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterGetsItsClass_data();
    void everyCharacterGetsItsClass();
    void blankLinesProduceNoRuns_data();
    void blankLinesProduceNoRuns();
    void blockCommentsOverTheLineRules_data();
    void blockCommentsOverTheLineRules();
    void collectedVariablesGoLowerCasedIntoTheList();
    void variablesAreNotCollectedFromRemarksOrStrings();
    void localVariablesInTheOrderMet_data();
    void localVariablesInTheOrderMet();
    void localVariablesAreTheVariableRuns();
    void localVariablesAnywhereInAChunk();
    void hugeAndJunkLinesStayInsideTheLine();
    void blockCommentsCarriedAcrossLines_data();
    void blockCommentsCarriedAcrossLines();
    void blockCommentsEqualTheWholeTextScan();
    void openingsInRemarksAndStringsLeaveNoCommentOpen();
    void referenceFilesMatch();
    void generatedScriptsCollectTheReferenceVariables();
};

void TestColourer::everyCharacterGetsItsClass_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<EFileType>("type");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<QString>("classes");  // blanks in it only group the letters

    auto row = [](const char* pszName, const char* pszLine, EFileType eType, const QString& sSwitches,
                  const char* pszClasses) {
        QTest::newRow(pszName) << QString::fromLatin1(pszLine) << eType << sSwitches
                               << Expected(QString::fromLatin1(pszClasses));
    };
    const QString all = kAllOn;

    row("sqs remark after two blanks leaves the blanks alone", "  ; hi there", kFileSQS, all, ".. RRRRRRRRRR");
    row("sqs remark with FormatRem off is text and not tokenized", ";hint", kFileSQS, "CWSV", "TTTTT");
    row("sqs label line is all System", "  #loop", kFileSQS, all, ".. SSSSS");
    row("sqs #define is an ordinary label line", "#define MAX 5", kFileSQS, all, "SSSSSSSSSSSSS");
    row("sqf #define: System on the first seven only", "#define MAX 5", kFileSQF, all, "SSSSSSS TTTTTT");
    row("sqf #include: System on the first eight only", "#include \"x.sqf\"", kFileSQF, all, "SSSSSSSS TTTTTTTT");
    row("sqf other hash line is all System", "#if x", kFileSQF, all, "SSSSS");
    row("ampersand line is System and not tokenized", "&hint x", kFileSQS, all, "SSSSSSS");
    row("hash line with FormatSys off is text and not tokenized", "#hint", kFileSQS, "RCWV", "TTTTT");
    row("tilde line is System and still tokenized", "~5 hint", kFileSQS, all, "SSS CCCC");
    row("tilde line with FormatSys off is text and tokenized", "~5 hint", kFileSQS, "RCWV", "TTT CCCC");
    row("condition marks System, commands in any case, quoted word no command", "?ALIVE Player : Hint \"ok\"", kFileSQS,
        all, "S CCCCC T CCCCCC T S T CCCC T TTTT");
    row("command in quotes and weapon outside quotes stay plain", "\"hint\" m16 sleep", kFileSQS, all,
        "TTTTTT T TTT T CCCCC");
    row("special variables uncoloured with FormatSys off", "_this _time", kFileSQS, "RCWV", "TTTTT T TTTTT");
    row("special variables System", "_this _TIME", kFileSQS, all, "SSSSS T SSSSS");
    row("local variable with FormatVar off neither coloured nor looked up", "_private", kFileSQS, "RCWS", "TTTTTTTT");
    row("local variable", "_MyVar = 1", kFileSQS, all, "VVVVVV TTTT");
    row("underscore word reaches the lists with both switches off", "_private", kFileSQS, "RCW", "CCCCCCCC");
    row("weapon between quotes, the quotes keep the base colour", "player addWeapon \"M16\"", kFileSQS, all,
        "CCCCCC T CCCCCCCCC T TWWWT");
    row("each of the six weapon lists counts", "\"M16\" \"Mag30\" \"M2\" \"Belt50\" \"Jeep\" \"Binocular\" \"Nothing\"",
        kFileSQS, all, "TWWWT T TWWWWWT T TWWT T TWWWWWWT T TWWWWT T TWWWWWWWWWT T TTTTTTTTT");
    row("weapon with FormatWeap off stays plain", "\"M16\"", kFileSQS, "RCSV", "TTTTT");
    row("second word of a quoted string: Weapon starts one character late", "hint \"big m16\"", kFileSQS, all,
        "CCCC T T TTT T T WW T");
    row("words inside a string reach no command", "hint \"alive player\"", kFileSQS, all, "CCCC T TTTTTTTTTTTTTT");
    row("percent is System inside strings only", "format [\"a%1\", x % 2]", kFileSQS, all, "CCCCCC TTTT S TTTTTTTTTT");
    row("operator characters inside strings are not System", "hint \"a?b:c!d@e\"", kFileSQS, all, "CCCC T TTTTTTTTTTT");
    row("operator characters outside strings are System", "?a:b!c@d", kFileSQS, all, "STSTSTST");
    row("sqf slashes inside a string start a remark", "hint \"http://x\"", kFileSQF, all, "CCCC TTTTTTT RRRR");
    row("sqf remark after a #define", "#define A 1 // one", kFileSQF, all, "SSSSSSS TTTTT RRRRRR");
    row("sqf semicolon line is a remark", "; x", kFileSQF, all, "RRR");
    row("sqf slashes with FormatRem off stay text", "x // y", kFileSQF, "CWSV", "TTTTTT");
    row("sqs knows no slash remarks", "hint //x", kFileSQS, all, "CCCC TTTT");
    row("ext class keyword and remark", "class Header // remark", kFileEXT, all, "SSSSS TTTTTTTT RRRRRRRRR");
    row("ext keyword inside a longer word", "subclass X", kFileEXT, all, "TTT SSSSS TT");
    row("ext keyword found again right after a hit", "classclass", kFileEXT, all, "SSSSSSSSSS");
    row("ext #include and #define", "#include #define", kFileEXT, all, "SSSSSSSS T SSSSSSS");
    row("ext is not tokenized", "hint \"M16\"", kFileEXT, all, "TTTTTTTTTT");
    row("ext keywords need FormatSys", "class A", kFileEXT, "RCWV", "TTTTTTT");
    row("dat section header System even with FormatSys off", "[COMMANDS]", kFileDAT, "RCWV", "SSSSSSSSSS");
    row("dat several bracket pairs", "x [a] y [b]", kFileDAT, all, "TT SSS TTT SSS");
    row("dat opening bracket without closing stays text", "[abc", kFileDAT, all, "TTTT");
    row("dat pair ends at the first closing bracket", "[a [b] c]", kFileDAT, all, "SSSSSS TTT");
    row("dat closing bracket before any opening is text", "a] [b]", kFileDAT, all, "TTT SSS");
    row("dat has no remarks and no tokenizer", "hint // x", kFileDAT, all, "TTTTTTTTT");
    row("csv is never coloured", "#loop hint \"M16\" // x", kFileCSV, all, ".....................");
    row("html is never coloured", "#loop hint \"M16\" // x", kFileHTML, all, ".....................");
    row("txt is never coloured", "#loop hint \"M16\" // x", kFileTXT, all, ".....................");
    row("reserved word glued to letters is not reserved", "gotox", kFileSQS, all, "TTTTT");
    row("upper-case reserved word is reserved", "GOTO x", kFileSQS, all, "SSSS TT");
    row("all fourteen reserved words", "goto true false and or not while do if then else exit for foreach", kFileSQS,
        all, "SSSS T SSSS T SSSSS T SSS T SS T SSS T SSSSS T SS T SS T SSSS T SSSS T SSSS T SSS T SSSSSSS");
    row("reserved word falls to the command list with FormatSys off", "GoTo", kFileSQS, "RCWV", "CCCC");
    row("unbalanced quote hides the rest of the line", "hint \"M16", kFileSQS, all, "CCCC T TTTT");
    row("quote after a word opens a string", "x\" hint", kFileSQS, all, "TTTTTTT");
    row("empty quoted string", "\"\" hint", kFileSQS, all, "TT T CCCC");
    row("tabs count as leading blanks", "\t \t;x", kFileSQS, all, "... RR");
    row("numbers keep the base colour", "sleep 5.5", kFileSQS, all, "CCCCC TTTT");
}

void TestColourer::everyCharacterGetsItsClass()
{
    QFETCH(QString, line);
    QFETCH(EFileType, type);
    QFETCH(QString, switches);
    QFETCH(QString, classes);
    const CColourer colourer(Dictionary());
    QCOMPARE(classes.size(), line.size());
    const SLineColours colours = colourer.ColourLine(line, false, type, Switches(switches));
    QCOMPARE(Resolve(colours.runs, int(line.size())), classes);
    QVERIFY(!colours.bCommentOpenAtEnd);
}

void TestColourer::blankLinesProduceNoRuns_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces") << QStringLiteral("   ");
    QTest::newRow("tabs and spaces") << QStringLiteral("\t \t ");
}

void TestColourer::blankLinesProduceNoRuns()
{
    QFETCH(QString, line);
    const CColourer colourer(Dictionary());
    for (EFileType eType : {kFileSQS, kFileSQF, kFileEXT, kFileHTML, kFileCSV, kFileDAT, kFileTXT})
        QVERIFY2(colourer.ColourLine(line, false, eType, Switches(kAllOn)) == SLineColours(),
                 qPrintable(QString::number(eType)));
}

void TestColourer::blockCommentsOverTheLineRules_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<EFileType>("type");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<bool>("openAtStart");
    QTest::addColumn<QString>("classes");  // blanks in it only group the letters
    QTest::addColumn<bool>("openAtEnd");

    auto row = [](const char* pszName, const char* pszLine, EFileType eType, const QString& sSwitches,
                  bool bOpenAtStart, const char* pszClasses, bool bOpenAtEnd) {
        QTest::newRow(pszName) << QString::fromLatin1(pszLine) << eType << sSwitches << bOpenAtStart
                               << Expected(QString::fromLatin1(pszClasses)) << bOpenAtEnd;
    };
    const QString all = kAllOn;

    row("comment covers commands and carries on", "hint /* player", kFileSQF, all, false, "CCCC T RRRRRRRRR", true);
    row("line inside a comment is all remark", "hint player", kFileSQF, all, true, "RRRRRRRRRRR", true);
    row("blank line inside a comment is remark too", "  \t", kFileSQF, all, true, "RRR", true);
    row("empty line inside a comment hands the comment on", "", kFileSQF, all, true, "", true);
    row("closing ends the comment, the rest keeps its rules", "x */ hint", kFileSQF, all, true, "RRRR T CCCC", false);
    row("comment covers a label line", "#define /* x */", kFileSQF, all, false, "SSSSSSS T RRRRRRR", false);
    row("comment over a quoted weapon", "\"M16\" /* */ \"M16\"", kFileSQF, all, false, "TWWWT T RRRRR T TWWWT", false);
    row("remark within a comment stays remark", "/* a */ b // c", kFileSQF, all, false, "RRRRRRR TTT RRRR", false);
    row("no comments with FormatRem off", "hint /* player", kFileSQF, "CWSV", false, "CCCC TTT T CCCCCC", false);
    row("FormatRem off ends a comment carried in", "hint", kFileSQF, "CWSV", true, "CCCC", false);
    row("scripts know no block comments", "hint /* player", kFileSQS, all, true, "CCCC TTT T CCCCCC", false);
    row("description files know no block comments", "/* class */", kFileEXT, all, true, "TTT SSSSS TTT", false);
    row("text files stay uncoloured inside a comment", "/* x", kFileTXT, all, true, "....", false);
    row("a banner of stars after the slashes opens nothing", "//*****", kFileSQF, all, false, "RRRRRRR", false);
    row("an opening after a remark opens nothing", "x // /* y", kFileSQF, all, false, "TT RRRRRRR", false);
    row("an opening in a string opens nothing", "hint \"/*\"", kFileSQF, all, false, "CCCC T TTTT", false);
    row("an opening in a single-quoted string opens nothing", "hint '/*'", kFileSQF, all, false, "CCCC T TTTT", false);
    row("a doubled quote keeps the string going", "\"a\"\"/*\"", kFileSQF, all, false, "TTTTTTT", false);
    row("a quote of the other kind keeps the string going", "'\"' /* x", kFileSQF, all, false, "TTT T RRRR", true);
    row("an unclosed string hides an opening", "\"a /* b", kFileSQF, all, false, "TTTTTTT", false);
    row("an opening after a closed string opens", "\"a\" /* b", kFileSQF, all, false, "TTT T RRRR", true);
    row("slashes inside a string hide no opening", "\"//\" /* x", kFileSQF, all, false, "T RRRRRRRR", true);
    row("after a comment closes, a remark hides the next opening", "/* a */ // /* b", kFileSQF, all, false,
        "RRRRRRR T RRRRRRR", false);
    row("slashes inside a comment do not hide its closing", "/* // */ x", kFileSQF, all, false, "RRRRRRRRRR", false);
    row("a quote inside a comment does not hide its closing", "\"*/ hint", kFileSQF, all, true, "RRR TTTTT", false);
    row("after a comment closes, a string hides the next opening", "*/ \"/*\"", kFileSQF, all, true, "RR T TTTT",
        false);
}

void TestColourer::blockCommentsOverTheLineRules()
{
    QFETCH(QString, line);
    QFETCH(EFileType, type);
    QFETCH(QString, switches);
    QFETCH(bool, openAtStart);
    QFETCH(QString, classes);
    QFETCH(bool, openAtEnd);
    const CColourer colourer(Dictionary());
    QCOMPARE(classes.size(), line.size());
    const SLineColours colours = colourer.ColourLine(line, openAtStart, type, Switches(switches));
    QCOMPARE(Resolve(colours.runs, int(line.size())), classes);
    QCOMPARE(colours.bCommentOpenAtEnd, openAtEnd);
}

void TestColourer::collectedVariablesGoLowerCasedIntoTheList()
{
    // Insertion never appends at the end, so the list needs an entry after
    // every variable to show them.
    CSortStringArray list{"_alpha", "_zulu"};
    for (const QString& sWord : CColourer::LocalVariables(QStringLiteral("_MyVar = _Other + _myvar + _this"), kFileSQS))
        list.InsertSorted(sWord);
    QCOMPARE(QStringList(list), QStringList({"_alpha", "_myvar", "_other", "_zulu"}));
}

void TestColourer::variablesAreNotCollectedFromRemarksOrStrings()
{
    QVERIFY(CColourer::LocalVariables(QStringLiteral("; _myvar"), kFileSQS).isEmpty());
    QVERIFY(CColourer::LocalVariables(QStringLiteral("hint \"_myvar\""), kFileSQS).isEmpty());
}

void TestColourer::localVariablesInTheOrderMet_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<EFileType>("type");
    QTest::addColumn<QStringList>("words");

    auto row = [](const char* pszName, const char* pszLine, EFileType eType, const QStringList& words) {
        QTest::newRow(pszName) << QString::fromLatin1(pszLine) << eType << words;
    };

    row("lower-cased, repeats kept, special ones left out", "_B = _a + _b + _this + _TIME", kFileSQS,
        {"_b", "_a", "_b"});
    row("function files have them too", "_a", kFileSQF, {"_a"});
    row("words of the lists are not variables", "hint player", kFileSQS, {});
    row("a lone underscore counts", "_ = 1", kFileSQS, {"_"});
    row("digits belong to the word", "_a1 = _2b", kFileSQS, {"_a1", "_2b"});
    row("after leading blanks and tabs", " \t_v = 1", kFileSQF, {"_v"});
    row("both sides of the operator characters", "?_a:_b!_c@_d", kFileSQS, {"_a", "_b", "_c", "_d"});
    row("delay lines are walked", "~_delay", kFileSQS, {"_delay"});
    row("label lines are not", "#_loop", kFileSQS, {});
    row("ampersand lines are not", "&_x", kFileSQS, {});
    row("directive lines of function files are not", "#define _x 1", kFileSQF, {});
    row("remark lines are not", "  ; _x", kFileSQF, {});
    row("a word after the slashes still counts", "_a = 1 // _b", kFileSQF, {"_a", "_b"});
    row("a word under a block comment still counts", "/* _a */", kFileSQF, {"_a"});
    row("words inside strings are not", "format [\"_a %1 x\", _c]", kFileSQS, {"_c"});
    row("the last word of a string comes with its closing quote", "hint \"x _b\"", kFileSQS, {"_b\""});
    row("a string of one word is no variable", "\"_a\"", kFileSQS, {});
    row("a quote glued to a variable stays part of the word", "_a\"b\" = 1", kFileSQS, {"_a\"b\""});
    row("an unclosed string hides the rest", "_a \"x _b", kFileSQS, {"_a"});
    row("description files have none", "_a = 1", kFileEXT, {});
    row("data files have none", "_a = 1", kFileDAT, {});
    row("tables have none", "_a", kFileCSV, {});
    row("pages have none", "_a", kFileHTML, {});
    row("text has none", "_a", kFileTXT, {});

    // Long lines are read in chunks of 64 characters, each with the next
    // one in view; a word may outrun both.
    const QString sPadding = QStringLiteral("x = 1; ").repeated(10);
    const QString sLong = QStringLiteral("_") + QStringLiteral("Ab").repeated(70);
    QTest::newRow("a word longer than a chunk is read whole") << sPadding + sLong + QStringLiteral(" = _b;")
            + sPadding << kFileSQF << QStringList{sLong.toLower(), QStringLiteral("_b")};
    QTest::newRow("a long word glued to a string across chunks") << sPadding + sLong + QStringLiteral("\"c\" ")
            + sPadding << kFileSQF << QStringList{sLong.toLower() + QStringLiteral("\"c\"")};
}

void TestColourer::localVariablesInTheOrderMet()
{
    QFETCH(QString, line);
    QFETCH(EFileType, type);
    QFETCH(QStringList, words);
    QCOMPARE(CColourer::LocalVariables(line, type), words);
}

void TestColourer::localVariablesAnywhereInAChunk()
{
    // Lines are read 64 characters at a time, each chunk with the next in
    // view, the last ones plainly: the same words, glued to quotes or not,
    // at every place in a chunk, across into the next, and at the end.
    const QString sWords = QStringLiteral("_Var9 = \"_in\" + _b\"c\" + hint \"x _s\"; _d");
    const QStringList expected{"_var9", "_b\"c\"", "_s\"", "_d"};
    for (int nOffset = 0; nOffset < 140; ++nOffset) {
        for (const QString& sLine : {QString(nOffset, u' ') + sWords + QString(150, u' '),
                                     QString(100 + nOffset, u' ') + sWords + QString(nOffset % 5, u' ')})
            QVERIFY2(CColourer::LocalVariables(sLine, kFileSQF) == expected,
                     qPrintable(QStringLiteral("%1 blanks, %2 in all").arg(nOffset).arg(sLine.size())));
    }
}

void TestColourer::localVariablesAreTheVariableRuns()
{
    // The words collected are exactly those coloured as variables while
    // FormatVar is on, in the order the runs come, over lines made of the
    // pieces that decide both; with it off nothing is.
    const QStringList pieces = {"_a", "_B", "_this", "_time", "x",  "hint", "\"", "%", "?",  ":",    "!",        "@",
                                ";",  "#",  "&",     "~",     "//", "/*",   "*/", " ", "\t", "goto", "_private", "1"};
    QRandomGenerator random(1234);
    const CColourer colourer(Dictionary());
    for (int nCase = 0; nCase < 4000; ++nCase) {
        QString sLine;
        const int nPieces = random.bounded(12);
        for (int i = 0; i < nPieces; ++i)
            sLine += pieces[random.bounded(int(pieces.size()))];
        const auto eType = EFileType(random.bounded(7));
        QString sOn;
        for (QChar c : kAllOn)
            if (random.bounded(2))
                sOn += c;
        const SColourSwitches switches = Switches(sOn);
        QStringList coloured;
        for (const SColourRun& run : colourer.ColourLine(sLine, random.bounded(2), eType, switches).runs)
            if (run.eClass == EColourClass::Variable)
                coloured.append(FoldAscii(QStringView(sLine).mid(run.nFrom, run.nTo - run.nFrom)));
        const QStringList expected = switches.bFormatVar ? CColourer::LocalVariables(sLine, eType) : QStringList();
        QVERIFY2(coloured == expected,
                 qPrintable(QStringLiteral("\"%1\" type %2 switches %3").arg(sLine).arg(eType).arg(sOn)));
    }
}

void TestColourer::hugeAndJunkLinesStayInsideTheLine()
{
    QRandomGenerator random(4711);
    const QString sPieces = QStringLiteral("abc_\"%?:!@#&~;/* []\t");
    QStringList lines;
    lines.append(QString(100000, u'a'));
    lines.append(QString(100000, u'"'));
    lines.append(QStringLiteral("_v ").repeated(33334));
    QString sMixed;
    for (int i = 0; i < 100000; ++i)
        sMixed += sPieces[random.bounded(int(sPieces.size()))];
    lines.append(sMixed);
    QString sJunk;
    for (int i = 0; i < 20000; ++i)
        sJunk += QChar(char16_t(1 + random.bounded(0xFFFE)));
    lines.append(sJunk);
    const CColourer colourer(Dictionary());
    for (const QString& sLine : lines) {
        for (EFileType eType : {kFileSQS, kFileSQF, kFileEXT, kFileDAT}) {
            for (bool bOpen : {false, true}) {
                const QList<SColourRun> runs = colourer.ColourLine(sLine, bOpen, eType, Switches(kAllOn)).runs;
                QVERIFY(!runs.isEmpty());
                for (const SColourRun& run : runs)
                    QVERIFY(0 <= run.nFrom && run.nFrom <= run.nTo && run.nTo <= sLine.size());
            }
            for (const QString& sWord : CColourer::LocalVariables(sLine, eType))
                QVERIFY(sWord.startsWith(u'_'));
        }
        const SBlockComments comments = CColourer::BlockComments(sLine, false);
        for (const auto& [nFrom, nTo] : comments.spans)
            QVERIFY(0 <= nFrom && nFrom <= nTo && nTo <= sLine.size());
    }
}

void TestColourer::blockCommentsCarriedAcrossLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("masks");
    QTest::newRow("slash star slash closes at once") << "/*/ x */\ny"
                                                     << "RRR.....\n.";
    QTest::newRow("several comments on one line") << "a /* b */ c /*d*/"
                                                  << "..RRRRRRR...RRRRR";
    QTest::newRow("comment spanning lines") << "x /* a\nb\nc */ y"
                                            << "..RRRR\nR\nRRRR..";
    QTest::newRow("unclosed comment runs to the end") << "/*\n\nhint"
                                                      << "RR\n\nRRRR";
    QTest::newRow("closing without opening is no comment") << "a */ b"
                                                           << "......";
    QTest::newRow("closing at the start of the next line") << "/*\n*/x"
                                                           << "RR\nRR.";
    QTest::newRow("comments do not nest") << "/* /* */ x */"
                                          << "RRRRRRRR.....";
    QTest::newRow("line remark hides an opening") << "// /* x\ny */"
                                                  << ".......\n....";
    QTest::newRow("string hides an opening, not the one after it") << "\"/*\" /*\n*/"
                                                                   << ".....RR\nRR";
}

void TestColourer::blockCommentsCarriedAcrossLines()
{
    QFETCH(QString, text);
    QFETCH(QString, masks);
    QCOMPARE(LineByLineCommentMasks(text).join(u'\n'), masks);
}

void TestColourer::blockCommentsEqualTheWholeTextScan()
{
    // Few letters, so that openings, closings, overlaps like "/*/", "*/*"
    // and "//*", and quotes around them come up often.
    const QString sAlphabet = QStringLiteral("/*/*\na \"'");
    QRandomGenerator random(20240611);
    const CColourer colourer(Dictionary());
    for (int nCase = 0; nCase < 4000; ++nCase) {
        QString sText;
        const int nLength = random.bounded(40);
        for (int i = 0; i < nLength; ++i)
            sText += sAlphabet[random.bounded(int(sAlphabet.size()))];
        QCOMPARE(LineByLineCommentMasks(sText), WholeTextCommentMasks(sText));

        // The colourer carries the same state from line to line, and its
        // remarks cover the comments (and the "//" remarks besides).
        const QString sMask = WholeTextMask(sText);
        const QStringList lines = sText.split(u'\n');
        const QList<SLineColours> text = colourer.ColourText(lines, kFileSQF, Switches("R"));
        QCOMPARE(text.size(), lines.size());
        qsizetype nStart = 0;
        for (int i = 0; i < lines.size(); ++i) {
            const QString sClasses = Resolve(text[i].runs, int(lines[i].size()));
            for (int j = 0; j < lines[i].size(); ++j)
                QVERIFY2(sMask[nStart + j] != u'R' || sClasses[j] == u'R', qPrintable(sText));
            nStart += lines[i].size();
            if (nStart < sMask.size())
                QCOMPARE(text[i].bCommentOpenAtEnd, sMask[nStart] == u'R');
            ++nStart;
        }
    }
}

void TestColourer::openingsInRemarksAndStringsLeaveNoCommentOpen()
{
    // Lines put together from code that holds no "/*" of its own, strings of
    // either quote with anything but their own quote inside, and a remark or
    // an unclosed string at the end: every "/*" of them lies in a remark or a
    // string, so no comment may be left open, from a line that starts
    // outside one or from one that closes its comment first. The same line
    // with an opening in its code must leave one open, so the check cannot
    // pass by opening nothing ever.
    const QStringList code = {"a", " ", "\t", "*", "*/ ", "x / 2", "hint", "_v", "; ", "{ ", "} "};
    const QStringList inside = {"/*", "//", "*/", "/", "*", "a", " ", "/*/", "//*****", "\\"};
    QRandomGenerator random(31337);
    const CColourer colourer(Dictionary());
    auto stretch = [&](const QStringList& pieces, int nMost) {
        QString s;
        for (int i = random.bounded(nMost + 1); i > 0; --i)
            s += pieces[random.bounded(int(pieces.size()))];
        return s;
    };
    for (int nCase = 0; nCase < 4000; ++nCase) {
        QString sLine;
        for (int nPart = random.bounded(6); nPart > 0; --nPart) {
            if (random.bounded(2)) {
                sLine += stretch(code, 3);
            } else {
                const QChar cQuote = random.bounded(2) ? u'"' : u'\'';
                const QChar cOther = cQuote == u'"' ? u'\'' : u'"';
                sLine += cQuote + stretch(inside + QStringList{cOther}, 4) + cQuote;
            }
        }
        const int nEnd = random.bounded(3);
        const QString sOpenEnd = nEnd == 0 ? QString()
            : nEnd == 1                    ? QStringLiteral("//") + stretch(inside + QStringList{"\"", "'"}, 4)
                                           : QStringLiteral("\"") + stretch(inside + QStringList{"'"}, 4);
        const QString sClosing = QStringLiteral(" x */");
        for (const auto& [sText, bOpenAtStart] :
             {std::pair{sLine + sOpenEnd, false}, std::pair{sClosing + sLine + sOpenEnd, true}}) {
            const SLineColours colours = colourer.ColourLine(sText, bOpenAtStart, kFileSQF, Switches(kAllOn));
            QVERIFY2(!colours.bCommentOpenAtEnd, qPrintable(sText));
            QVERIFY2(!CColourer::BlockComments(sText, bOpenAtStart).bOpenAtEnd, qPrintable(sText));
        }
        const QString sOpened = sLine + QStringLiteral(" /* x");
        QVERIFY2(colourer.ColourLine(sOpened, false, kFileSQF, Switches(kAllOn)).bCommentOpenAtEnd,
                 qPrintable(sOpened));
    }
}

void TestColourer::referenceFilesMatch()
{
    // Beside each input the runs its lines get ("name.runs") and the local
    // variables they add to the completion list ("name.vars").
    const QDir folder(ReferenceFolder());
    QStringList inputs = folder.entryList(QDir::Files, QDir::Name);
    inputs.removeIf([](const QString& sName) {
        return sName.endsWith(QStringLiteral(".runs")) || sName.endsWith(QStringLiteral(".vars"));
    });
    QVERIFY2(inputs.size() >= 5, qPrintable(folder.path()));
    for (const QString& sName : inputs) {
        QFile input(folder.filePath(sName));
        QVERIFY(input.open(QIODevice::ReadOnly));
        QString sText = QString::fromUtf8(input.readAll());
        sText.remove(u'\r');
        if (sText.endsWith(u'\n'))
            sText.chop(1);
        const QStringList lines = sText.split(u'\n');
        const EFileType eType = FileTypeOfExtension(LowerExtension(sName));
        const QString sRuns
            = AgainstReference(folder.filePath(sName + QStringLiteral(".runs")), Dump(ColourFile(lines, eType)));
        QVERIFY2(sRuns.isEmpty(), qPrintable(sRuns));
        const QString sVars
            = AgainstReference(folder.filePath(sName + QStringLiteral(".vars")), VariablesDump(lines, eType));
        QVERIFY2(sVars.isEmpty(), qPrintable(sVars));
    }
    if (Regenerating())
        QSKIP("references rewritten: review them before committing");
}

void TestColourer::generatedScriptsCollectTheReferenceVariables()
{
    // The references were taken from the colourer when it still collected
    // while colouring; they hold what each line added to the list then.
    const QDir folder(ReferenceFolder());
    for (EFileType eType : {kFileSQS, kFileSQF}) {
        const QString sName
            = eType == kFileSQS ? QStringLiteral("generated-script.vars") : QStringLiteral("generated-function.vars");
        const QString sVars
            = AgainstReference(folder.filePath(sName), VariablesDump(GeneratedScript(eType, 600), eType));
        QVERIFY2(sVars.isEmpty(), qPrintable(sVars));
    }
    if (Regenerating())
        QSKIP("references rewritten: review them before committing");
}

QTEST_GUILESS_MAIN(TestColourer)

#include "tst_colourer.moc"
