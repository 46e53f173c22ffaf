#include "core/documents/doctypes.h"

#include <QtTest>

Q_DECLARE_METATYPE(EDocKind)
Q_DECLARE_METATYPE(EFileType)

class TestDocTypes : public QObject
{
    Q_OBJECT

private slots:
    void templatesKeepTheirOrderAndStrings_data();
    void templatesKeepTheirOrderAndStrings();
    void typeCodeFromExtensionOrTemplate_data();
    void typeCodeFromExtensionOrTemplate();
    void aFileFromDiskIsOneKindThroughout_data();
    void aFileFromDiskIsOneKindThroughout();
    void headerTokensAreFilledIn_data();
    void headerTokensAreFilledIn();
};

void TestDocTypes::templatesKeepTheirOrderAndStrings_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<int>("resource");
    QTest::addColumn<QString>("templateString");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("command");
    QTest::newRow("Script") << 0 << EDocKind::Script << 131
                            << "\nScript\nScript\nScript Files (.sqs)\n.sqs\nQONScript.Document\nQON Script File"
                            << "Script.sqs"
                            << "&Script File (.sqs)";
    QTest::newRow("Description")
        << 1 << EDocKind::Description << 132
        << "\nDescription\nDescription\nDescription Files (.ext)\n.ext\nQONDescription.Document\nQON Description File"
        << "Description.ext"
        << "&Description File (.ext)";
    QTest::newRow("StringTable") << 2 << EDocKind::StringTable << 133
                                 << "\nStringTable\nStringTable\nString Table Files (.csv)\n.csv\n"
                                    "QONStringTable.Document\nQON String Table File"
                                 << "StringTable.csv"
                                 << "S&tring Table File (.csv)";
    QTest::newRow("Briefing") << 3 << EDocKind::Briefing << 134
                              << "\nBriefing\nBriefing\nBriefing/Overview Files (.html)\n.html\n"
                                 "QONBriefing.Document\nQON Briefing File"
                              << "Briefing.html"
                              << "&Briefing File (.html)";
    QTest::newRow("Function")
        << 4 << EDocKind::Function << 135
        << "\nFunction\nFunction\nFunction Files (.sqf)\n.sqf\nQONFunction.Document\nQON Function File"
        << "Function.sqf"
        << "&Function File (.sqf)";
    QTest::newRow("Text") << 5 << EDocKind::Text << 136
                          << "\nText\nText\nText Files (.txt)\n.txt\nQONText.Document\nQON Text File"
                          << "Text.txt"
                          << "Te&xt File (.txt)";
}

void TestDocTypes::templatesKeepTheirOrderAndStrings()
{
    QFETCH(int, order);
    QFETCH(EDocKind, kind);
    QFETCH(int, resource);
    QFETCH(QString, templateString);
    QFETCH(QString, newName);
    QFETCH(QString, command);
    QCOMPARE(DocTypes().size(), std::size_t(6));
    const SDocTypeInfo& type = DocTypes()[order];
    QCOMPARE(type.eKind, kind);
    QCOMPARE(&DocType(kind), &type);
    QCOMPARE(type.nResource, resource);
    QCOMPARE(QString::fromLatin1(type.pszTemplateString), templateString);
    QCOMPARE(QString::fromLatin1(type.pszNewFileCommand), command);
    QCOMPARE(NewDocumentName(type), newName);
    // The window-title field is empty in every template; the fields after it
    // must not shift by one.
    QCOMPARE(TemplateField(type, EDocField::WindowTitle), QString());
    QCOMPARE(TemplateField(type, EDocField::RegFileTypeName), templateString.section(QLatin1Char('\n'), 6, 6));
}

void TestDocTypes::typeCodeFromExtensionOrTemplate_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<EDocKind>("kind");
    QTest::addColumn<EFileType>("code");
    QTest::newRow(".ext") << "/op/description.ext" << EDocKind::Description << kFileEXT;
    QTest::newRow(".html") << "/op/a.html" << EDocKind::Briefing << kFileHTML;
    QTest::newRow("upper-case .HTM") << "/op/a.HTM" << EDocKind::Script << kFileHTML;
    QTest::newRow(".csv") << "/op/a.csv" << EDocKind::StringTable << kFileCSV;
    QTest::newRow(".dat data file") << "/op/commands.dat" << EDocKind::Script << kFileDAT;
    QTest::newRow("unknown extension") << "/op/a.log" << EDocKind::Script << kFileTXT;
    QTest::newRow("file without extension is text, whatever the template")
        << "/op/README" << EDocKind::Script << kFileTXT;
    QTest::newRow("dot in the folder is no extension") << "/op.sqf/README" << EDocKind::Text << kFileTXT;
    QTest::newRow("untitled Script") << QString() << EDocKind::Script << kFileSQS;
    QTest::newRow("untitled Description") << QString() << EDocKind::Description << kFileEXT;
    QTest::newRow("untitled StringTable") << QString() << EDocKind::StringTable << kFileCSV;
    QTest::newRow("untitled Briefing") << QString() << EDocKind::Briefing << kFileHTML;
    QTest::newRow("untitled Function") << QString() << EDocKind::Function << kFileSQF;
    QTest::newRow("untitled Text") << QString() << EDocKind::Text << kFileTXT;
}

void TestDocTypes::typeCodeFromExtensionOrTemplate()
{
    QFETCH(QString, path);
    QFETCH(EDocKind, kind);
    QFETCH(EFileType, code);
    QCOMPARE(ViewFileType(path, DocType(kind)), code);
}

void TestDocTypes::aFileFromDiskIsOneKindThroughout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<EDocKind>("kind");  // the template it opens with
    QTest::addColumn<EFileType>("code");
    QTest::addColumn<int>("image");
    QTest::newRow(".sqs") << "/op/init.sqs" << EDocKind::Script << kFileSQS << 4;
    QTest::newRow("upper-case .SQF") << "/op/fn.SQF" << EDocKind::Function << kFileSQF << 4;
    QTest::newRow(".ext") << "/op/description.ext" << EDocKind::Description << kFileEXT << 6;
    QTest::newRow(".html") << "/op/brief.html" << EDocKind::Briefing << kFileHTML << 8;
    QTest::newRow(".htm opens with the first template") << "/op/brief.htm" << EDocKind::Script << kFileHTML << 8;
    QTest::newRow(".csv") << "/op/stringtable.csv" << EDocKind::StringTable << kFileCSV << 10;
    QTest::newRow(".dat") << "/op/commands.dat" << EDocKind::Script << kFileDAT << 10;
    QTest::newRow(".txt") << "/op/notes.txt" << EDocKind::Text << kFileTXT << 12;
    QTest::newRow("unknown extension") << "/op/notes.log" << EDocKind::Script << kFileTXT << 12;
    QTest::newRow("no extension") << "/op/README" << EDocKind::Text << kFileTXT << 12;
    QTest::newRow("no extension, dot in the folder") << "/op.sqs/LICENSE" << EDocKind::Text << kFileTXT << 12;
    QTest::newRow("a dot file") << "/op/.hidden" << EDocKind::Script << kFileTXT << 12;
}

void TestDocTypes::aFileFromDiskIsOneKindThroughout()
{
    // The template a file opens with, the type code its view and status
    // pane show and the image of its tab and tree item tell one story.
    QFETCH(QString, path);
    QFETCH(EDocKind, kind);
    QFETCH(EFileType, code);
    QFETCH(int, image);
    const SDocTypeInfo& type = DocTypeForPath(path);
    QCOMPARE(type.eKind, kind);
    QCOMPARE(ViewFileType(path, type), code);
    QCOMPARE(FileTypeImage(path, false), image);
    QCOMPARE(FileTypeImage(path, true), image + 1);
    QCOMPARE(FileTypeImage(ViewFileType(path, type), false), image);
}

void TestDocTypes::headerTokensAreFilledIn_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<bool>("velk");
    QTest::addColumn<QString>("author");
    QTest::addColumn<QString>("expanded");
    const QString sDescription = QStringLiteral("// [GAME STRING] mission by [AUTHOR STRING]\r\n[BLANK LINE]\r\n");
    QTest::newRow("second game, blank line left empty") << sDescription << true << "Mapper"
                                                        << "// Velk Vanguard mission by Mapper\r\n\r\n\r\n";
    QTest::newRow("first game") << sDescription << false << "Mapper"
                                << "// Qonmar Front mission by Mapper\r\n\r\n\r\n";
    QTest::newRow("every token, not just the first")
        << "[GAME STRING]/[GAME STRING] [AUTHOR STRING]+[AUTHOR STRING]" << true << "Ann"
        << "Velk Vanguard/Velk Vanguard Ann+Ann\r\n";
    QTest::newRow("blank-line token inside a line") << "a[BLANK LINE]b[BLANK LINE]" << true << ""
                                                    << "ab\r\n";
    QTest::newRow("author text is not expanded again") << "[AUTHOR STRING]" << false << "[GAME STRING]"
                                                       << "[GAME STRING]\r\n";
    QTest::newRow("empty section still ends the line") << "" << true << "Mapper"
                                                       << "\r\n";
}

void TestDocTypes::headerTokensAreFilledIn()
{
    QFETCH(QString, header);
    QFETCH(bool, velk);
    QFETCH(QString, author);
    QFETCH(QString, expanded);
    QCOMPARE(ExpandHeader(header, velk, author), expanded);
}

QTEST_GUILESS_MAIN(TestDocTypes)
#include "tst_doctypes.moc"
