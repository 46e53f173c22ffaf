#include "core/workspace/gotolist.h"

#include <QtTest>

class TestGotoList : public QObject
{
    Q_OBJECT

private slots:
    void listsTheLandmarksOfEachType_data();
    void listsTheLandmarksOfEachType();
};

void TestGotoList::listsTheLandmarksOfEachType_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("entries");

    // Scripts and functions: lines that start with "#" once indentation is gone.
    QTest::newRow("label after two blanks")
        << "hint \"a\"\n  #loop\ngoto \"loop\"" << int(kFileSQS) << QStringList{"#loop"};
    QTest::newRow("tabs and blanks mixed, trailing blanks kept")
        << "\t \t#start  \n#end" << int(kFileSQS) << QStringList{"#start  ", "#end"};
    QTest::newRow("line break of a file read as it is") << "#a\r\n\t#b\r\n" << int(kFileSQS) << QStringList{"#a", "#b"};
    QTest::newRow("hash later in the line or after a remark") << "x = 1 # 2\n; #not\n//#nor\n"
                                                              << int(kFileSQS) << QStringList();
    QTest::newRow("function directives") << "#define MAX 3\nprivate [\"_a\"];\n\t#include \"x.sqf\"" << int(kFileSQF)
                                         << QStringList{"#define MAX 3", "#include \"x.sqf\""};
    QTest::newRow("script has no sections") << "[Section]\n#loop" << int(kFileSQS) << QStringList{"#loop"};
    QTest::newRow("blank lines only") << "\n  \n\t\n" << int(kFileSQF) << QStringList();

    // Data files: section headers.
    QTest::newRow("data file sections") << "[COMMANDS]\nhint\n  [INFANTRY WEAPONS VELK] \n#loop" << int(kFileDAT)
                                        << QStringList{"[COMMANDS]", "[INFANTRY WEAPONS VELK] "};

    // Description files: "class" up to the second blank, line breaks, braces and tabs as blanks.
    QTest::newRow("class with its name") << "class CfgSounds\n{\n\tsounds[] = {};\n};\n"
                                         << int(kFileEXT) << QStringList{"class CfgSounds"};
    QTest::newRow("two classes, tab and brace as blanks")
        << "class\tCfgMusic{\n};\nclass Header\r\n{\n};\n"
        << int(kFileEXT) << QStringList{"class CfgMusic", "class Header"};
    QTest::newRow("class inside a longer word") << "subclass Foo x\nclasses = 3;\n"
                                                << int(kFileEXT) << QStringList{"class Foo", "classes ="};
    QTest::newRow("upper case found, shown as written")
        << "Class Weapons {};" << int(kFileEXT) << QStringList{"Class Weapons"};
    QTest::newRow("trailing class ends the scan") << "class A x class" << int(kFileEXT) << QStringList{"class A"};
    QTest::newRow("class without a second blank ends the scan")
        << "class A x class B" << int(kFileEXT) << QStringList{"class A"};
    QTest::newRow("two blanks in a row") << "class  A " << int(kFileEXT) << QStringList{"class "};
    QTest::newRow("scan goes on from the second blank")
        << "class class class x " << int(kFileEXT) << QStringList{"class class", "class x"};
    QTest::newRow("description without class") << "respawn = 3;\n#loop\n" << int(kFileEXT) << QStringList();

    // The other kinds offer nothing, whatever they hold.
    const QString sEverything = QStringLiteral("#loop\n[Section]\nclass A b\n");
    QTest::newRow("string table") << sEverything << int(kFileCSV) << QStringList();
    QTest::newRow("briefing") << sEverything << int(kFileHTML) << QStringList();
    QTest::newRow("text") << sEverything << int(kFileTXT) << QStringList();
}

void TestGotoList::listsTheLandmarksOfEachType()
{
    QFETCH(QString, text);
    QFETCH(int, type);
    QFETCH(QStringList, entries);
    QCOMPARE(GotoList::Entries(text, EFileType(type)), entries);
}

QTEST_APPLESS_MAIN(TestGotoList)
#include "tst_gotolist.moc"
