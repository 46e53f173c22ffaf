#include "core/editor/linecommands.h"

#include <QtTest>

using LineCommands::SLineEdit;

Q_DECLARE_METATYPE(QList<SLineEdit>)

namespace QTest {
template <> char* toString(const SLineEdit& edit)
{
    return qstrdup(qPrintable(QStringLiteral("{line %1, col %2, remove %3, insert \"%4\"}")
                                  .arg(edit.nLine)
                                  .arg(edit.nColumn)
                                  .arg(edit.nRemove)
                                  .arg(edit.sInsert)));
}
}  // namespace QTest

class TestLineCommands : public QObject
{
    Q_OBJECT

private slots:
    void commentPrefixByFileType_data();
    void commentPrefixByFileType();
    void lineEditsTouchOnlyTheLinesThatQualify_data();
    void lineEditsTouchOnlyTheLinesThatQualify();
    void autoIndentCopiesLeadingTabsThenSpaces_data();
    void autoIndentCopiesLeadingTabsThenSpaces();
    void changeCaseKeepsTheLength_data();
    void changeCaseKeepsTheLength();
    void wordAtFindsTheRunAroundTheColumn_data();
    void wordAtFindsTheRunAroundTheColumn();
    void lineBreaksOnlyAtSpaceGreaterAndComma();
};

void TestLineCommands::commentPrefixByFileType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("sqs") << int(kFileSQS) << QStringLiteral(";");
    QTest::newRow("sqf") << int(kFileSQF) << QStringLiteral("//");
    QTest::newRow("ext") << int(kFileEXT) << QStringLiteral("//");
    QTest::newRow("html") << int(kFileHTML) << QString();
    QTest::newRow("csv") << int(kFileCSV) << QString();
    QTest::newRow("dat") << int(kFileDAT) << QString();
    QTest::newRow("txt") << int(kFileTXT) << QString();
}

void TestLineCommands::commentPrefixByFileType()
{
    QFETCH(int, type);
    QFETCH(QString, prefix);
    QCOMPARE(LineCommands::CommentPrefix(EFileType(type)), prefix);
    QCOMPARE(LineCommands::HasLineComments(EFileType(type)), !prefix.isEmpty());
}

void TestLineCommands::lineEditsTouchOnlyTheLinesThatQualify_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<SLineEdit>>("edits");
    const QStringList three{QStringLiteral("hint \"a\""), QString(), QStringLiteral("exit")};
    QTest::newRow("comment out skips the empty middle line")
        << "comment;" << three << QList<SLineEdit>{{4, 0, 0, ";"}, {6, 0, 0, ";"}};
    QTest::newRow("comment out puts the prefix before the indentation")
        << "comment//" << QStringList{QStringLiteral("\t  x")} << QList<SLineEdit>{{4, 0, 0, "//"}};
    QTest::newRow("comment out counts a line of blanks as not empty")
        << "comment;" << QStringList{QStringLiteral("  ")} << QList<SLineEdit>{{4, 0, 0, ";"}};
    QTest::newRow("uncomment removes ';' or '//' at column 0 only")
        << "uncomment" << QStringList{QStringLiteral(";a"),   QStringLiteral("//b"), QStringLiteral("\t//c"),
                                      QStringLiteral("  ;d"), QStringLiteral("/e"),  QString()}
        << QList<SLineEdit>{{4, 0, 1, QString()}, {5, 0, 2, QString()}};
    QTest::newRow("uncomment removes one prefix only")
        << "uncomment" << QStringList{QStringLiteral(";;a"), QStringLiteral(";//b")}
        << QList<SLineEdit>{{4, 0, 1, QString()}, {5, 0, 1, QString()}};
    QTest::newRow("indent adds a tab to non-empty lines")
        << "indent" << three << QList<SLineEdit>{{4, 0, 0, "\t"}, {6, 0, 0, "\t"}};
    QTest::newRow("outdent removes one tab, never spaces")
        << "outdent" << QStringList{QStringLiteral("\t\tx"), QStringLiteral("    y"), QStringLiteral(" \tz"), QString()}
        << QList<SLineEdit>{{4, 0, 1, QString()}};
}

void TestLineCommands::lineEditsTouchOnlyTheLinesThatQualify()
{
    QFETCH(QString, command);
    QFETCH(QStringList, lines);
    QFETCH(QList<SLineEdit>, edits);
    QList<SLineEdit> actual;
    if (command.startsWith(QLatin1String("comment")))
        actual = LineCommands::CommentOut(lines, 4, command.mid(7));
    else if (command == QLatin1String("uncomment"))
        actual = LineCommands::Uncomment(lines, 4);
    else if (command == QLatin1String("indent"))
        actual = LineCommands::Indent(lines, 4);
    else
        actual = LineCommands::Outdent(lines, 4);
    QCOMPARE(actual, edits);
}

void TestLineCommands::autoIndentCopiesLeadingTabsThenSpaces_data()
{
    QTest::addColumn<QString>("prevLine");
    QTest::addColumn<bool>("whiteSpace");
    QTest::addColumn<bool>("autoTabs");
    QTest::addColumn<QString>("indent");
    QTest::newRow("brace forces the copy and adds a tab") << "\t  {" << false << true << "\t\t  ";
    QTest::newRow("no brace, white space off: nothing") << "\thint x" << false << true << "";
    QTest::newRow("white space on copies the indentation") << "\t\thint x" << true << false << "\t\t";
    QTest::newRow("brace without auto tabs copies only") << "\t  {" << false << false << "\t  ";
    QTest::newRow("spaces before a tab: only the spaces") << "  \tx" << true << true << "  ";
    QTest::newRow("brace not last: no extra tab") << "\t{ " << true << true << "\t";
    QTest::newRow("empty line gives nothing") << "" << true << true << "";
    QTest::newRow("unindented line gives nothing") << "hint" << true << true << "";
}

void TestLineCommands::autoIndentCopiesLeadingTabsThenSpaces()
{
    QFETCH(QString, prevLine);
    QFETCH(bool, whiteSpace);
    QFETCH(bool, autoTabs);
    QFETCH(QString, indent);
    QCOMPARE(LineCommands::AutoIndent(prevLine, whiteSpace, autoTabs), indent);
}

void TestLineCommands::changeCaseKeepsTheLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("result");
    QTest::newRow("upper") << "hint _x1 \"a\"" << true << "HINT _X1 \"A\"";
    QTest::newRow("lower") << "SetDamage 1" << false << "setdamage 1";
    QTest::newRow("accented") << QStringLiteral("caf\u00e9") << true << QStringLiteral("CAF\u00c9");
    // A full conversion would make "SS" of it and shift every later position.
    QTest::newRow("sharp s stays one character")
        << QStringLiteral("stra\u00dfe") << true << QStringLiteral("STRA\u00dfE");
}

void TestLineCommands::changeCaseKeepsTheLength()
{
    QFETCH(QString, text);
    QFETCH(bool, upper);
    QFETCH(QString, result);
    QCOMPARE(LineCommands::ChangeCase(text, upper), result);
}

void TestLineCommands::wordAtFindsTheRunAroundTheColumn_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("inside a word") << "hint player" << 2 << 0 << 4;
    QTest::newRow("right after a word takes the word") << "hint player" << 4 << 0 << 4;
    QTest::newRow("start of the second word") << "hint player" << 5 << 5 << 11;
    QTest::newRow("underscore and digits are word characters") << "x=_var2;" << 4 << 2 << 7;
    QTest::newRow("run of blanks") << "a   b" << 2 << 1 << 4;
    QTest::newRow("run of mixed non-word characters") << "a = \"b" << 2 << 1 << 5;
    QTest::newRow("quote is no word character") << "\"abc\"" << 0 << 0 << 1;
    QTest::newRow("column at the line end") << "sleep" << 5 << 0 << 5;
    QTest::newRow("column past the line end") << "sleep" << 9 << 0 << 5;
    QTest::newRow("empty line") << "" << 0 << 0 << 0;
}

void TestLineCommands::wordAtFindsTheRunAroundTheColumn()
{
    QFETCH(QString, line);
    QFETCH(int, column);
    QFETCH(int, start);
    QFETCH(int, end);
    QCOMPARE(LineCommands::WordAt(line, column), qMakePair(start, end));
}

void TestLineCommands::lineBreaksOnlyAtSpaceGreaterAndComma()
{
    for (QChar c : QStringLiteral(" >,"))
        QVERIFY2(LineCommands::IsBreakChar(c), qPrintable(QString(c)));
    for (QChar c : QStringLiteral("\t<.;-_a0\"\n"))
        QVERIFY2(!LineCommands::IsBreakChar(c), qPrintable(QString(c)));
}

QTEST_GUILESS_MAIN(TestLineCommands)

#include "tst_linecommands.moc"
