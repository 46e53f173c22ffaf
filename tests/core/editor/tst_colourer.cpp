#include "core/data/dictionary.h"
#include "core/editor/colourer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
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

// Applies the block comments of a function file over the lines' own colours,
// the state carried from line to line as the editor does it.
QStringList ColourFile(const QStringList& lines, EFileType eType)
{
    const CColourer colourer(Dictionary());
    QStringList classes;
    bool bOpen = false;
    for (const QString& sLine : lines) {
        QString sClasses = Resolve(colourer.ColourLine(sLine, eType, Switches(kAllOn)), int(sLine.size()));
        if (eType == kFileSQF) {
            const SBlockComments comments = CColourer::BlockComments(sLine, bOpen);
            for (const auto& [nFrom, nTo] : comments.spans)
                for (int i = nFrom; i < nTo; ++i)
                    sClasses[i] = u'R';
            bOpen = comments.bOpenAtEnd;
        }
        classes.append(sClasses);
    }
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

QString ReferenceFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/colourer");
}

// Comment masks of a whole text by the plain scan: "/*", then the next "*/"
// at or after the "/*", the next "/*" from the end of that.
QStringList WholeTextCommentMasks(const QString& sText)
{
    QString sMask(sText.size(), u'.');
    qsizetype a = sText.indexOf(QLatin1String("/*"));
    while (a >= 0) {
        const qsizetype b = sText.indexOf(QLatin1String("*/"), a);
        const qsizetype nEnd = b < 0 ? sText.size() : b + 2;
        for (qsizetype i = a; i < nEnd; ++i)
            sMask[i] = u'R';
        a = sText.indexOf(QLatin1String("/*"), nEnd);
    }
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
    void collectedVariablesGoLowerCasedIntoTheList();
    void variablesAreNotCollectedWithoutFormatVarOrList();
    void hugeAndJunkLinesStayInsideTheLine();
    void blockCommentsCarriedAcrossLines_data();
    void blockCommentsCarriedAcrossLines();
    void blockCommentsEqualTheWholeTextScan();
    void referenceFilesMatch();
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
    QCOMPARE(Resolve(colourer.ColourLine(line, type, Switches(switches)), int(line.size())), classes);
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
        QVERIFY2(colourer.ColourLine(line, eType, Switches(kAllOn)).isEmpty(), qPrintable(QString::number(eType)));
}

void TestColourer::collectedVariablesGoLowerCasedIntoTheList()
{
    const CColourer colourer(Dictionary());
    // Insertion never appends at the end, so the list needs an entry after
    // every variable to show them.
    CSortStringArray list{"_alpha", "_zulu"};
    const QString sLine = QStringLiteral("_MyVar = _Other + _myvar + _this");
    const QList<SColourRun> runs = colourer.ColourLine(sLine, kFileSQS, Switches(kAllOn), &list);
    QCOMPARE(QStringList(list), QStringList({"_alpha", "_myvar", "_other", "_zulu"}));
    // Collecting is a side effect only: the colours are those without a list.
    QCOMPARE(runs, colourer.ColourLine(sLine, kFileSQS, Switches(kAllOn)));
}

void TestColourer::variablesAreNotCollectedWithoutFormatVarOrList()
{
    const CColourer colourer(Dictionary());
    CSortStringArray list{"_alpha", "_zulu"};
    colourer.ColourLine(QStringLiteral("_myvar = _other"), kFileSQS, Switches("RCWS"), &list);
    colourer.ColourLine(QStringLiteral("; _myvar"), kFileSQS, Switches(kAllOn), &list);
    colourer.ColourLine(QStringLiteral("hint \"_myvar\""), kFileSQS, Switches(kAllOn), &list);
    QCOMPARE(QStringList(list), QStringList({"_alpha", "_zulu"}));
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
    CSortStringArray list{"_", "~"};
    for (const QString& sLine : lines) {
        for (EFileType eType : {kFileSQS, kFileSQF, kFileEXT, kFileDAT}) {
            const QList<SColourRun> runs = colourer.ColourLine(sLine, eType, Switches(kAllOn), &list);
            QVERIFY(!runs.isEmpty());
            for (const SColourRun& run : runs)
                QVERIFY(0 <= run.nFrom && run.nFrom <= run.nTo && run.nTo <= sLine.size());
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
    QTest::newRow("line remark does not hide an opening") << "// /* x\ny */"
                                                          << "...RRRR\nRRRR";
}

void TestColourer::blockCommentsCarriedAcrossLines()
{
    QFETCH(QString, text);
    QFETCH(QString, masks);
    QCOMPARE(LineByLineCommentMasks(text).join(u'\n'), masks);
}

void TestColourer::blockCommentsEqualTheWholeTextScan()
{
    // Few letters, so that openings, closings and overlaps like "/*/" and
    // "*/*" come up often.
    const QString sAlphabet = QStringLiteral("/*/*\na ");
    QRandomGenerator random(20240611);
    for (int nCase = 0; nCase < 3000; ++nCase) {
        QString sText;
        const int nLength = random.bounded(40);
        for (int i = 0; i < nLength; ++i)
            sText += sAlphabet[random.bounded(int(sAlphabet.size()))];
        QCOMPARE(LineByLineCommentMasks(sText), WholeTextCommentMasks(sText));
    }
}

void TestColourer::referenceFilesMatch()
{
    // Set to rewrite the references from the current colourer; review the
    // diff before committing it.
    const bool bRegenerate = qEnvironmentVariableIsSet("VELK_REGENERATE_COLOURER_REFERENCES");
    const QDir folder(ReferenceFolder());
    QStringList inputs = folder.entryList(QDir::Files, QDir::Name);
    inputs.removeIf([](const QString& sName) { return sName.endsWith(QStringLiteral(".runs")); });
    QVERIFY2(inputs.size() >= 5, qPrintable(folder.path()));
    for (const QString& sName : inputs) {
        QFile input(folder.filePath(sName));
        QVERIFY(input.open(QIODevice::ReadOnly));
        QString sText = QString::fromUtf8(input.readAll());
        sText.remove(u'\r');
        if (sText.endsWith(u'\n'))
            sText.chop(1);
        const QString sDump = Dump(ColourFile(sText.split(u'\n'), FileTypeOfExtension(LowerExtension(sName))));
        QFile reference(folder.filePath(sName + QStringLiteral(".runs")));
        if (bRegenerate) {
            QVERIFY(reference.open(QIODevice::WriteOnly | QIODevice::Truncate));
            reference.write(sDump.toUtf8());
            continue;
        }
        QVERIFY2(reference.open(QIODevice::ReadOnly), qPrintable(reference.fileName()));
        const QStringList expected = QString::fromUtf8(reference.readAll()).split(u'\n');
        const QStringList actual = sDump.split(u'\n');
        // Line by line, so a failure names the first run that differs.
        for (int i = 0; i < std::min(expected.size(), actual.size()); ++i)
            QVERIFY2(actual[i] == expected[i],
                     qPrintable(sName + QStringLiteral(": got \"") + actual[i] + QStringLiteral("\", expected \"")
                                + expected[i] + u'"'));
        QCOMPARE(actual.size(), expected.size());
    }
    if (bRegenerate)
        QSKIP("references rewritten: review them before committing");
}

QTEST_GUILESS_MAIN(TestColourer)

#include "tst_colourer.moc"
