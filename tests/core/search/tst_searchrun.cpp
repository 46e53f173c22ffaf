#include "core/search/searchresults.h"
#include "core/search/searchrun.h"

#include "tests/support/fileaccess.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace VelkTest;

namespace {

SSearchSpec Spec(const QString& sFind, const QString& sReplace, bool bReplace, bool bMatchCase = false,
                 bool bWholeWord = false)
{
    SSearchSpec spec;
    spec.sFind = sFind;
    spec.sReplace = sReplace;
    spec.bReplace = bReplace;
    spec.options.bMatchCase = bMatchCase;
    spec.options.bWholeWord = bWholeWord;
    return spec;
}

// One entry per match, "location|line text|start-end", after checking that
// both lines of the pair share the record.
QStringList Listed(const CSearchResults& results, int nFirst = 0)
{
    QStringList listed;
    for (int i = nFirst; i + 1 < results.LineCount(); i += 2) {
        const SResultRecord* pRecord = results.Record(i);
        if (!pRecord || results.Record(i + 1) != pRecord)
            return {QStringLiteral("line %1 starts no match pair").arg(i)};
        listed.append(QStringLiteral("%1|%2|%3-%4")
                          .arg(results.Line(i), results.Line(i + 1))
                          .arg(pRecord->nStart)
                          .arg(pRecord->nEnd));
    }
    return listed;
}

// A gear script as a mission keeps it; "unit" stands three times in it.
const QStringList kGearLines{QStringLiteral("; gear for the squad: \u00e9quipe"),
                             QStringLiteral("\t_unit = _this select 0"), QStringLiteral("\t_unit addWeapon \"M16\""),
                             QStringLiteral("hint \"unit ready\"")};

}  // namespace

Q_DECLARE_METATYPE(SSearchSpec)
Q_DECLARE_METATYPE(SearchRun::EClosed)

class TestSearchRun : public QObject
{
    Q_OBJECT

private slots:
    void listsEachMatch_data();
    void listsEachMatch();
    void replacedStretchesGiveTheNewText_data();
    void replacedStretchesGiveTheNewText();
    void totalsHeadTheList_data();
    void totalsHeadTheList();
    void longLinesAreCutInTheList();
    void closedFileChangesOnlyInTheReplacedBytes_data();
    void closedFileChangesOnlyInTheReplacedBytes();
    void closedFileThatChangesItsFormIsTold_data();
    void closedFileThatChangesItsFormIsTold();
    void closedFileIsWrittenOnlyWhenSomethingWasReplaced_data();
    void closedFileIsWrittenOnlyWhenSomethingWasReplaced();
    void unreadableClosedFileIsNotSearched_data();
    void unreadableClosedFileIsNotSearched();
    void readOnlyClosedFileIsNeitherChangedNorListed();
};

void TestSearchRun::listsEachMatch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SSearchSpec>("spec");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");  // -1: the end of the text
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("newText");  // replace mode

    const QString sPath = QStringLiteral("/missions/ambush.qon/a.sqs");
    const QString sInit = QStringLiteral("; init\n\t  hint \"go\"; hint x\nhint");
    QTest::newRow("find: location, and the line without its indent")
        << sInit << Spec("hint", "", false) << 0 << -1 << sPath
        << QStringList{"Text found: Ln 2, Ch 4, a.sqs|      hint \"go\"; hint x|10-14",
                       "Text found: Ln 2, Ch 15, a.sqs|      hint \"go\"; hint x|21-25",
                       "Text found: Ln 3, Ch 1, a.sqs|      hint|28-32"}
        << QString();
    QTest::newRow("untitled document: no file name")
        << "hint" << Spec("hint", "", false) << 0 << -1 << QString()
        << QStringList{"Text found: Ln 1, Ch 1, |      hint|0-4"} << QString();

    // The second match of a line is shown still unreplaced on the first
    // match's line, as replacing one match after another leaves it.
    QTest::newRow("a by aa: each original once, offsets in the new text")
        << "a\nba a" << Spec("a", "aa", true) << 0 << -1 << sPath
        << QStringList{"Text replaced: Ln 1, Ch 1, a.sqs|      aa|0-2",
                       "Text replaced: Ln 2, Ch 2, a.sqs|      baa a|4-6",
                       "Text replaced: Ln 2, Ch 5, a.sqs|      baa aa|7-9"}
        << "aa\nbaa aa";
    // Blanks replaced at the start of a line: the list shows the line from
    // its first character that is no blank, in either part of it.
    QTest::newRow("indent replaced by blanks") << "\t \tx = 1" << Spec("\t", " ", true) << 0 << -1 << sPath
                                               << QStringList{"Text replaced: Ln 1, Ch 1, a.sqs|      x = 1|0-1",
                                                              "Text replaced: Ln 1, Ch 3, a.sqs|      x = 1|2-3"}
                                               << "   x = 1";
    QTest::newRow("replacement holding the found text in other case")
        << "hint x hint" << Spec("hint", "HINT hint", true) << 0 << -1 << sPath
        << QStringList{"Text replaced: Ln 1, Ch 1, a.sqs|      HINT hint x hint|0-9",
                       "Text replaced: Ln 1, Ch 13, a.sqs|      HINT hint x HINT hint|12-21"}
        << "HINT hint x HINT hint";

    const QString sUnits = QStringLiteral("_unit unit units unit2 (unit)");
    QTest::newRow("whole word: underscore and digit are word characters")
        << sUnits << Spec("unit", "", false, false, true) << 0 << -1 << sPath
        << QStringList{"Text found: Ln 1, Ch 7, a.sqs|      " + sUnits + "|6-10",
                       "Text found: Ln 1, Ch 25, a.sqs|      " + sUnits + "|24-28"}
        << QString();
    QTest::newRow("match case") << "Hint hint HINT" << Spec("hint", "", false, true) << 0 << -1 << sPath
                                << QStringList{"Text found: Ln 1, Ch 6, a.sqs|      Hint hint HINT|5-9"} << QString();
    QTest::newRow("case ignored") << "Hint hint HINT" << Spec("hint", "", false) << 0 << -1 << sPath
                                  << QStringList{"Text found: Ln 1, Ch 1, a.sqs|      Hint hint HINT|0-4",
                                                 "Text found: Ln 1, Ch 6, a.sqs|      Hint hint HINT|5-9",
                                                 "Text found: Ln 1, Ch 11, a.sqs|      Hint hint HINT|10-14"}
                                  << QString();

    QTest::newRow("range cuts a match at either end")
        << "loop loop loop" << Spec("loop", "", false) << 2 << 12 << sPath
        << QStringList{"Text found: Ln 1, Ch 6, a.sqs|      loop loop loop|5-9"} << QString();
    QTest::newRow("range cuts a match: only the inside is replaced")
        << "loop loop loop" << Spec("loop", "x", true) << 2 << 12 << sPath
        << QStringList{"Text replaced: Ln 1, Ch 6, a.sqs|      loop x loop|5-6"} << "loop x loop";
    QTest::newRow("a match ending at the range's end is in it")
        << "loop loop" << Spec("loop", "", false) << 5 << 9 << sPath
        << QStringList{"Text found: Ln 1, Ch 6, a.sqs|      loop loop|5-9"} << QString();

    SSearchSpec upward = Spec("a", "", false);
    upward.options.bForward = false;
    QTest::newRow("runs downward whatever direction the options hold")
        << "a\na" << upward << 0 << -1 << sPath
        << QStringList{"Text found: Ln 1, Ch 1, a.sqs|      a|0-1", "Text found: Ln 2, Ch 1, a.sqs|      a|2-3"}
        << QString();
    QTest::newRow("each search goes on after the previous match")
        << "aaaaa" << Spec("aa", "", false) << 0 << -1 << sPath
        << QStringList{"Text found: Ln 1, Ch 1, a.sqs|      aaaaa|0-2", "Text found: Ln 1, Ch 3, a.sqs|      aaaaa|2-4"}
        << QString();
    QTest::newRow("nothing found") << "hint" << Spec("loop", "x", true) << 0 << -1 << sPath << QStringList() << "hint";
    QTest::newRow("empty find text finds nothing")
        << "hint" << Spec("", "x", true) << 0 << -1 << sPath << QStringList() << "hint";
}

void TestSearchRun::listsEachMatch()
{
    QFETCH(QString, text);
    QFETCH(SSearchSpec, spec);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, path);
    QFETCH(QStringList, listed);
    QFETCH(QString, newText);

    CSearchResults results;
    QString sNewText;
    const int nFound = SearchRun::SearchText(text, from, to < 0 ? int(text.size()) : to, path, spec, results,
                                             spec.bReplace ? &sNewText : nullptr);
    QCOMPARE(Listed(results), listed);
    QCOMPARE(nFound, int(listed.size()));
    for (int i = 0; i < results.LineCount(); ++i)
        QCOMPARE(results.Record(i)->sPath, path);
    if (spec.bReplace)
        QCOMPARE(sNewText, newText);
}

// The stretches a Replace All hands to an open document, applied to the old
// text, must give the new text exactly; matches join only within a line.
void TestSearchRun::replacedStretchesGiveTheNewText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SSearchSpec>("spec");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("stretches");
    QTest::newRow("several a line join") << QStringLiteral("a a a\nb a\n\na") << Spec("a", "xyz", true) << 0 << 3;
    QTest::newRow("shorter replacement") << QStringLiteral("_unit _unit\n_unit") << Spec("_unit", "u", true) << 0 << 2;
    QTest::newRow("nothing in its place") << QStringLiteral("a;b;c\n;;") << Spec(";", "", true) << 0 << 2;
    QTest::newRow("replacement holding the searched text")
        << QStringLiteral("aa\na") << Spec("a", "aa", true) << 0 << 2;
    QTest::newRow("blank lines and breaks at the ends")
        << QStringLiteral("\n x \n\n\n x\n") << Spec(" ", "\t", true) << 0 << 2;
    QTest::newRow("the selection only") << QStringLiteral("a a\na a\na a") << Spec("a", "b", true) << 4 << 2;
    QTest::newRow("whole words, case kept")
        << QStringLiteral("Unit unit units\nUNIT") << Spec("unit", "Man", true, false, true) << 0 << 2;
}

void TestSearchRun::replacedStretchesGiveTheNewText()
{
    QFETCH(QString, text);
    QFETCH(SSearchSpec, spec);
    QFETCH(int, from);
    QFETCH(int, stretches);
    CSearchResults results;
    results.AddHeader(QStringLiteral("a line before the run's own"));
    QString sNewText;
    SearchRun::SearchText(text, from, int(text.size()), QString(), spec, results, &sNewText);
    const QList<SearchRun::SChangedStretch> changed = SearchRun::ChangedStretches(text, results, 1, spec);
    QCOMPARE(changed.size(), stretches);
    QString sApplied = text;
    for (auto it = changed.crbegin(); it != changed.crend(); ++it) {
        QVERIFY(!QStringView(text).sliced(it->nOldFrom, it->nOldTo - it->nOldFrom).contains(u'\n'));
        sApplied.replace(it->nOldFrom, it->nOldTo - it->nOldFrom,
                         sNewText.mid(it->nNewFrom, it->nNewTo - it->nNewFrom));
    }
    QCOMPARE(sApplied, sNewText);
}

void TestSearchRun::totalsHeadTheList_data()
{
    QTest::addColumn<bool>("replace");
    QTest::addColumn<int>("searched");
    QTest::addColumn<int>("matched");
    QTest::addColumn<QString>("totals");

    QTest::newRow("current document") << false << 0 << 0 << "Total found: 3";
    QTest::newRow("project files") << false << 4 << 2 << "Total found: 3    Files searched: 4    Files matched: 2";
    QTest::newRow("replaced in open documents")
        << true << 2 << 1 << "Total replaced: 3    Files searched: 2    Files matched: 1";
}

void TestSearchRun::totalsHeadTheList()
{
    QFETCH(bool, replace);
    QFETCH(int, searched);
    QFETCH(int, matched);
    QFETCH(QString, totals);

    const SSearchSpec spec = Spec("_x", "_y", replace);
    CSearchResults results;
    QString sNewText;
    const QString sText = QStringLiteral("_x = 1\n_x = _x + 1");
    SearchRun::SearchText(sText, 0, int(sText.size()), QStringLiteral("/m/b.sqf"), spec, results, &sNewText);
    SearchRun::AddTotals(results, spec, searched, matched);

    QCOMPARE(results.LineCount(), 8);
    QCOMPARE(results.Line(0), QStringLiteral("Search results for: \"_x\""));
    QCOMPARE(results.Line(1), totals);
    QVERIFY(!results.Record(0) && !results.Record(1));
    QCOMPARE(results.MatchCount(), 3);
    QCOMPARE(Listed(results, 2).size(), 3);
}

// Position tables of real missions are single lines of 70 KB with a match
// every few characters: each is listed, its line cut, so the list stays in
// proportion to the matches rather than to matches times line length.
void TestSearchRun::longLinesAreCutInTheList()
{
    constexpr int kPositions = 4000;
    const QString sHead = QStringLiteral("\t_pos = [");  // the first position starts at column 9
    const QString sLine = sHead + QStringLiteral("[1234.5,678.9,0],").repeated(kPositions) + u']';
    QVERIFY(sLine.size() > 68000);
    const QString sText = QStringLiteral("; positions\n") + sLine + QStringLiteral("\n_unit setPos (_pos select 0)\n");

    CSearchResults found;
    QCOMPARE(SearchRun::SearchText(sText, 0, int(sText.size()), QStringLiteral("/m/pos.sqf"), Spec("678.9", "", false),
                                   found),
             kPositions);
    const int nLastCol = 9 + 17 * (kPositions - 1) + 8;
    QCOMPARE(found.Line(found.LineCount() - 2), QStringLiteral("Text found: Ln 2, Ch %1, pos.sqf").arg(nLastCol + 1));
    const QString sShown = QStringLiteral("      ") + sLine.mid(1, SearchRun::kMaxLineText);
    for (int i = 1; i < found.LineCount(); i += 2)
        QCOMPARE(found.Line(i), sShown);

    // Replaced, every listed line shows the line as the replacements so far
    // left it; the last one sees them all.
    CSearchResults replaced;
    QString sNewText;
    SearchRun::SearchText(sText, 0, int(sText.size()), QStringLiteral("/m/pos.sqf"), Spec("678.9", "678.95", true),
                          replaced, &sNewText);
    QCOMPARE(sNewText, QString(sText).replace(QStringLiteral("678.9"), QStringLiteral("678.95")));
    QCOMPARE(replaced.MatchCount(), kPositions);
    const QString sNewLine = sNewText.section(u'\n', 1, 1);
    QCOMPARE(replaced.Line(replaced.LineCount() - 1),
             QStringLiteral("      ") + sNewLine.mid(1, SearchRun::kMaxLineText));
    QCOMPARE(replaced.Line(1),
             QStringLiteral("      ")
                 + (sHead.mid(1) + "[1234.5,678.95" + sLine.mid(22)).left(SearchRun::kMaxLineText));
    const SResultRecord* pLast = replaced.Record(replaced.LineCount() - 1);
    QCOMPARE(sNewText.mid(pLast->nStart, pLast->nEnd - pLast->nStart), QStringLiteral("678.95"));
}

void TestSearchRun::closedFileChangesOnlyInTheReplacedBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");

    const QString sUnit = QStringLiteral("unit\u00e9");
    for (const char* pEncoding : {"Windows-1252", "UTF-8", "UTF-8 with BOM"}) {
        for (const char* pBreak : {"\r\n", "\n"}) {
            for (const bool bFinalBreak : {true, false}) {
                const QString sText = kGearLines.join(QLatin1String(pBreak)) + (bFinalBreak ? pBreak : "");
                const bool bCp1252 = qstrcmp(pEncoding, "Windows-1252") == 0;
                const QByteArray bom = qstrcmp(pEncoding, "UTF-8 with BOM") == 0 ? "\xEF\xBB\xBF" : "";
                const QByteArray bytes = bom + (bCp1252 ? sText.toLatin1() : sText.toUtf8());
                const QByteArray newUnit = bCp1252 ? sUnit.toLatin1() : sUnit.toUtf8();
                QTest::addRow("%s, %s, %s", pEncoding, bFinalBreak ? "final break" : "no final break",
                              pBreak[0] == '\r' ? "CR LF" : "LF")
                    << bytes << QByteArray(bytes).replace("unit", newUnit);
            }
        }
    }
}

void TestSearchRun::closedFileChangesOnlyInTheReplacedBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);

    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("gear.sqs"));
    WriteFile(sPath, bytes);
    CSearchResults results;
    const SearchRun::SClosedFile closed
        = SearchRun::SearchClosedFile(sPath, Spec("unit", QStringLiteral("unit\u00e9"), true), results);
    QCOMPARE(closed.eResult, SearchRun::EClosed::Matched);
    QCOMPARE(ReadFile(sPath), expected);
    QCOMPARE(closed.sNote, QString());

    QCOMPARE(results.MatchCount(), 3);
    QCOMPARE(results.Line(0), QStringLiteral("Text replaced: Ln 2, Ch 3, gear.sqs"));
    QCOMPARE(results.Line(1), QStringLiteral("      _unit\u00e9 = _this select 0"));
    // The records point at the replacements in the text as the editor will
    // show the file, every line break one character.
    const QString sNewText = kGearLines.join(u'\n').replace(QStringLiteral("unit"), QStringLiteral("unit\u00e9"));
    for (int i = 0; i < results.LineCount(); i += 2) {
        QCOMPARE(results.Record(i)->sPath, sPath);
        QCOMPARE(sNewText.mid(results.Record(i)->nStart, results.Record(i)->nEnd - results.Record(i)->nStart),
                 QStringLiteral("unit\u00e9"));
    }
}

void TestSearchRun::closedFileThatChangesItsFormIsTold_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("note");

    QTest::newRow("a character Windows-1252 lacks: UTF-8 rather than lost")
        << QByteArray("; caf\xE9\r\nhint \"go\"\r\n") << "go" << QStringLiteral("go \u2192")
        << QByteArray("; caf\xC3\xA9\r\nhint \"go \xE2\x86\x92\"\r\n")
        << "saved as UTF-8: the new text holds characters that Windows-1252 cannot store";
    QTest::newRow("Windows-1252 bytes that now read as UTF-8")
        << QByteArray("; \xE9t\xE9\r\n") << QStringLiteral("\u00e9t\u00e9")
        << QStringLiteral("\u00c3\u00a9t\u00c3\u00a9") << QByteArray("; \xC3\xA9t\xC3\xA9\r\n")
        << "saved in Windows-1252, but its bytes now also read as UTF-8: it will show other text when opened";
}

void TestSearchRun::closedFileThatChangesItsFormIsTold()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, find);
    QFETCH(QString, replace);
    QFETCH(QByteArray, expected);
    QFETCH(QString, note);

    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("briefing.sqs"));
    WriteFile(sPath, bytes);
    CSearchResults results;
    const SearchRun::SClosedFile closed = SearchRun::SearchClosedFile(sPath, Spec(find, replace, true), results);
    QCOMPARE(closed.eResult, SearchRun::EClosed::Matched);
    QCOMPARE(closed.sNote, note);
    QCOMPARE(ReadFile(sPath), expected);
    QCOMPARE(results.MatchCount(), 1);
}

void TestSearchRun::closedFileIsWrittenOnlyWhenSomethingWasReplaced_data()
{
    QTest::addColumn<SSearchSpec>("spec");
    QTest::addColumn<SearchRun::EClosed>("result");
    QTest::addColumn<int>("listed");

    QTest::newRow("Find All with matches") << Spec("unit", "", false) << SearchRun::EClosed::Matched << 3;
    QTest::newRow("Replace All without a match") << Spec("vehicle", "car", true) << SearchRun::EClosed::NoMatch << 0;
    QTest::newRow("Replace All, case never matched")
        << Spec("UNIT", "man", true, true) << SearchRun::EClosed::NoMatch << 0;
}

void TestSearchRun::closedFileIsWrittenOnlyWhenSomethingWasReplaced()
{
    QFETCH(SSearchSpec, spec);
    QFETCH(SearchRun::EClosed, result);
    QFETCH(int, listed);

    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("gear.sqs"));
    const QByteArray bytes = kGearLines.join(QStringLiteral("\r\n")).toLatin1();
    WriteFile(sPath, bytes);
    // An old time stamp shows a write even within the same second.
    const QDateTime old(QDate(2004, 6, 1), QTime(12, 0), Qt::UTC);
    {
        QFile file(sPath);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    CSearchResults results;
    QCOMPARE(SearchRun::SearchClosedFile(sPath, spec, results).eResult, result);
    QCOMPARE(results.MatchCount(), listed);
    QCOMPARE(ReadFile(sPath), bytes);
    QCOMPARE(QFileInfo(sPath).lastModified().toUTC(), old);
}

void TestSearchRun::unreadableClosedFileIsNotSearched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("deleted since it was added") << "missing";
    QTest::newRow("binary data") << "binary";
    QTest::newRow("a folder") << "folder";
}

void TestSearchRun::unreadableClosedFileIsNotSearched()
{
    QFETCH(QString, kind);

    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("init.sqs"));
    const QByteArray binary("hint \"unit\"\0\x01\x02unit", 17);
    if (kind == QLatin1String("binary"))
        WriteFile(sPath, binary);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(sPath));

    CSearchResults results;
    const SearchRun::SClosedFile closed = SearchRun::SearchClosedFile(sPath, Spec("unit", "man", true), results);
    QCOMPARE(closed.eResult, SearchRun::EClosed::NotSearched);
    QVERIFY(!closed.sError.isEmpty());
    QCOMPARE(results.LineCount(), 0);
    if (kind == QLatin1String("binary"))
        QCOMPARE(ReadFile(sPath), binary);
    QCOMPARE(QFileInfo::exists(sPath), kind != QLatin1String("missing"));
}

void TestSearchRun::readOnlyClosedFileIsNeitherChangedNorListed()
{
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString sPath = dir.filePath(QStringLiteral("gear.sqs"));
    const QByteArray bytes = kGearLines.join(QStringLiteral("\r\n")).toLatin1();
    WriteFile(sPath, bytes);
    QVERIFY(::chmod(QFile::encodeName(sPath).constData(), 0444) == 0);

    CSearchResults results;
    SearchRun::SClosedFile closed;
    {
        const CAsNobody user;
        QVERIFY(user.IsReady());
        closed = SearchRun::SearchClosedFile(sPath, Spec("unit", "man", true), results);
    }
    QCOMPARE(closed.eResult, SearchRun::EClosed::NotWritten);
    QVERIFY(!closed.sError.isEmpty());
    QCOMPARE(results.LineCount(), 0);
    QCOMPARE(ReadFile(sPath), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("gear.sqs")});
}

QTEST_APPLESS_MAIN(TestSearchRun)
#include "tst_searchrun.moc"
