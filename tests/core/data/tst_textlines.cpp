#include "core/data/codepage.h"
#include "core/data/textlines.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTextLines : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void highBytesDecodeAsWindows1252_data();
    void highBytesDecodeAsWindows1252();
    void everyByteRoundTrips();
    void charactersOutsideTheCodePageAreLossy();
    void readGivesTheFileLines();
    void readFailsForMissingFileOrFolder();
};

void TestTextLines::split_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty file has no lines") << QByteArray() << QStringList{};
    QTest::newRow("line feed ends a line") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("carriage return before line feed dropped") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("only one carriage return dropped") << QByteArray("a\r\r\n") << QStringList{"a\r"};
    QTest::newRow("lone carriage return stays inside the line") << QByteArray("a\rb\r\n") << QStringList{"a\rb"};
    QTest::newRow("last line without line feed kept") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\n\nb\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("blanks not trimmed") << QByteArray(" a\t \n") << QStringList{" a\t "};
    QTest::newRow("NUL ends the line") << QByteArray("ab\0cd\r\nef", 9) << QStringList{"ab", "ef"};
    QTest::newRow("NUL at the start gives an empty line") << QByteArray("a\n\0b\nc", 6) << QStringList{"a", "", "c"};
    QTest::newRow("only NULs give one empty line") << QByteArray(64, '\0') << QStringList{""};
    QTest::newRow("valid UTF-8 read as UTF-8") << QByteArray("caf\xC3\xA9\n") << QStringList{"caf\u00E9"};
    QTest::newRow("invalid UTF-8 anywhere makes all of it cp1252")
        << QByteArray("caf\xC3\xA9\n\xE9\n") << QStringList{"caf\u00C3\u00A9", "\u00E9"};
    QTest::newRow("UTF-8 cut off at the end is cp1252") << QByteArray("a\xC3") << QStringList{"a\u00C3"};
}

void TestTextLines::split()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(TextLines::Split(bytes), lines);
}

void TestTextLines::highBytesDecodeAsWindows1252_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");

    QTest::newRow("euro sign") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81 kept as control") << 0x81 << 0x0081;
    QTest::newRow("low double quote") << 0x84 << 0x201E;
    QTest::newRow("S caron") << 0x8A << 0x0160;
    QTest::newRow("undefined 0x9D kept as control") << 0x9D << 0x009D;
    QTest::newRow("trade mark") << 0x99 << 0x2122;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("no-break space is Latin-1") << 0xA0 << 0x00A0;
    QTest::newRow("e acute is Latin-1") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis is Latin-1") << 0xFF << 0x00FF;
}

void TestTextLines::highBytesDecodeAsWindows1252()
{
    QFETCH(int, byte);
    QFETCH(int, character);
    // A lone high byte is never valid UTF-8, so the line goes through the code page.
    const QByteArray bytes = QByteArray("x") + char(byte) + "\n";
    QCOMPARE(TextLines::Split(bytes), QStringList{QStringLiteral("x") + QChar(char16_t(character))});
}

void TestTextLines::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString sText = CodePage::DecodeCp1252(all);
    QCOMPARE(sText.size(), 256);
    bool bLossless = false;
    QCOMPARE(CodePage::EncodeCp1252(sText, &bLossless), all);
    QVERIFY(bLossless);
    // Two bytes decoding to one character would lose one of them on save.
    QCOMPARE(QSet<QChar>(sText.begin(), sText.end()).size(), 256);
}

void TestTextLines::charactersOutsideTheCodePageAreLossy()
{
    bool bLossless = true;
    QCOMPARE(CodePage::EncodeCp1252(QStringLiteral("a\u4E2D\u0080b"), &bLossless), QByteArray("a??b"));
    QVERIFY(!bLossless);
}

void TestTextLines::readGivesTheFileLines()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString sPath = dir.filePath(QStringLiteral("lines.dat"));
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[COMMANDS]\r\nabs\r\n\r\n\x80");
    file.close();
    QStringList lines{"stale"};
    QVERIFY(TextLines::Read(sPath, &lines));
    QCOMPARE(lines, (QStringList{"[COMMANDS]", "abs", "", "\u20AC"}));
}

void TestTextLines::readFailsForMissingFileOrFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList lines{"stale"};
    QVERIFY(!TextLines::Read(dir.filePath(QStringLiteral("missing.dat")), &lines));
    QVERIFY(lines.isEmpty());
    lines = QStringList{"stale"};
    QVERIFY(!TextLines::Read(dir.path(), &lines));
    QVERIFY(lines.isEmpty());
}

QTEST_GUILESS_MAIN(TestTextLines)
#include "tst_textlines.moc"
