#include "core/documents/textfile.h"
#include "tests/support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(ETextEncoding)
Q_DECLARE_METATYPE(TextFile::ELoad)

using VelkTest::CFileSizeLimit;

namespace {

void Write(const QString& sPath, const QByteArray& bytes)
{
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray Read(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every printable byte of the code page, the ones it leaves undefined
// included, sixteen to a line.
QByteArray EveryHighByte()
{
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b) {
        bytes.append(char(b));
        if ((b & 0x0F) == 0x0F)
            bytes.append("\r\n");
    }
    return bytes;
}

// Bytes a fuzzer would think of for a text file: pieces of every encoding
// the loader knows, line breaks of every kind, marks, and plain garbage.
QByteArray RandomBytes(QRandomGenerator& random)
{
    static const QList<QByteArray> kPieces{"a",
                                           "Z",
                                           " ",
                                           "hint",
                                           "\r",
                                           "\n",
                                           "\r\n",
                                           "\xEF\xBB\xBF",
                                           "\xC3\xA9",
                                           "\xE2\x82\xAC",
                                           "\xE2\x80\xA8",
                                           "\xE2\x80\xA9",
                                           "\xEF\xB7\x90",
                                           "\xEF\xB7\x91",
                                           "\xEF\xBF\xBD",
                                           "\xEF\xBF\xBE",
                                           "\xF0\x9F\x98\x80",
                                           "\xC2\xA0",
                                           "\xFF\xFE",
                                           "\xFE\xFF",
                                           QByteArray(1, '\0'),
                                           "\x80",
                                           "\xE9"};
    QByteArray bytes;
    const int nPieces = random.bounded(12);
    for (int i = 0; i < nPieces; ++i) {
        if (random.bounded(6) == 0)
            bytes.append(char(random.bounded(256)));
        else
            bytes.append(kPieces.at(random.bounded(int(kPieces.size()))));
    }
    return bytes;
}

// A UTF-16 file of random code units, mark first, mostly text.
QByteArray RandomUtf16(QRandomGenerator& random)
{
    static const QList<char16_t> kUnits{u'a',   u'\r',  u'\n',  0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xFFFD,
                                        0xFEFF, 0x00E9, 0x20AC, 0xD83D, 0xDE00, 0xFFFE, 0};
    const bool bLittle = random.bounded(2) == 0;
    QByteArray bytes = bLittle ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    const int nUnits = random.bounded(10);
    for (int i = 0; i < nUnits; ++i) {
        const char16_t u = random.bounded(4) == 0 ? char16_t(random.bounded(0x10000))
                                                  : kUnits.at(random.bounded(int(kUnits.size())));
        const char cLow = char(u & 0xFF);
        const char cHigh = char(u >> 8);
        bytes.append(bLittle ? cLow : cHigh).append(bLittle ? cHigh : cLow);
    }
    return bytes;
}

// What the editor shows of a file's text: one "\n" for each kind of line
// break, a stand-in for each character it cannot hold.
QString AsEditorText(QString sRaw)
{
    sRaw = TextFile::NormaliseLineEnds(sRaw);
    sRaw.replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
    return sRaw.replace(QChar(0xFDD0), QChar(TextFile::kStandIn)).replace(QChar(0xFDD1), QChar(TextFile::kStandIn));
}

}  // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void encodingIsKeptAsFound_data();
    void encodingIsKeptAsFound();
    void lineEndsReadAsOneAndWrittenAsCrLf_data();
    void lineEndsReadAsOneAndWrittenAsCrLf();
    void nonTextAndUnreadableAreRefused_data();
    void nonTextAndUnreadableAreRefused();
    void everyCodePageByteSurvivesLoadAndSave();
    void textOutsideCodePageIsSavedAsUtf8();
    void failedSaveLeavesOldFileWhole_data();
    void failedSaveLeavesOldFileWhole();
    void editsKeepTheLineBreaksAround_data();
    void editsKeepTheLineBreaksAround();
    void documentKeepsItsEncoding_data();
    void documentKeepsItsEncoding();
    void acceptedBytesSaveBackExactly();
    void editedTextReadsBackAsTyped();
};

void TestTextFile::encodingIsKeptAsFound_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain ASCII is code page") << QByteArray("hint \"go\"") << ETextEncoding::Cp1252 << "hint \"go\"";
    QTest::newRow("valid UTF-8 with umlaut") << QByteArray("Br\xC3\xBC"
                                                           "cke")
                                             << ETextEncoding::Utf8 << "Brücke";
    QTest::newRow("code-page umlaut") << QByteArray("Br\xFC"
                                                    "cke")
                                      << ETextEncoding::Cp1252 << "Brücke";
    QTest::newRow("code-page euro sign") << QByteArray("\x80 5") << ETextEncoding::Cp1252 << "€ 5";
    QTest::newRow("UTF-8 broken halfway is code page")
        << QByteArray("\xC3\xBC \xC3") << ETextEncoding::Cp1252 << QString::fromUtf8("\xC3\x83\xC2\xBC \xC3\x83");
    QTest::newRow("UTF-8 euro sign") << QByteArray("\xE2\x82\xAC 5") << ETextEncoding::Utf8 << "€ 5";
    // The mark is no part of the text, yet it goes back into the file.
    QTest::newRow("UTF-8 byte-order mark kept")
        << QByteArray("\xEF\xBB\xBFhint \xC3\xA9") << ETextEncoding::Utf8Bom << "hint é";
    QTest::newRow("byte-order mark before ASCII kept") << QByteArray("\xEF\xBB\xBF"
                                                                     "exit")
                                                       << ETextEncoding::Utf8Bom << "exit";
    QTest::newRow("undefined byte keeps a character")
        << QByteArray("a\x81z") << ETextEncoding::Cp1252 << QString(QStringLiteral("a") + QChar(0x81) + u'z');
    // Only the first mark is the encoding's; any after it is a character.
    QTest::newRow("two UTF-8 byte-order marks")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFhint") << ETextEncoding::Utf8Bom << QStringLiteral("\uFEFFhint");
    QTest::newRow("line break before two byte-order marks")
        << QByteArray("\n\xEF\xBB\xBF\xEF\xBB\xBF") << ETextEncoding::Utf8 << QStringLiteral("\n\uFEFF\uFEFF");
    // The editor turns these into paragraph breaks or takes them for marks
    // of its own; the file keeps them all the same.
    QTest::newRow("line and paragraph separators are line breaks") << QByteArray("a\xE2\x80\xA8"
                                                                                 "b\xE2\x80\xA9"
                                                                                 "c")
                                                                   << ETextEncoding::Utf8 << "a\nb\nc";
    QTest::newRow("noncharacters the editor cannot hold show as stand-ins")
        << QByteArray("\xEF\xB7\x90x\xEF\xB7\x91\xEF\xBF\xBD\xEF\xB7\x92") << ETextEncoding::Utf8
        << QStringLiteral("\uFFFDx\uFFFD\uFFFD\uFDD2");
    QTest::newRow("UTF-16 LE with its mark")
        << QByteArray("\xFF\xFEh\0\xE9\0\r\0\n\0\xAC\x20", 12) << ETextEncoding::Utf16Le << "h\u00E9\n\u20AC";
    QTest::newRow("UTF-16 BE with its mark") << QByteArray("\xFE\xFF\0h\0\xE9\0\n\xD8\x3D\xDE\x00", 12)
                                             << ETextEncoding::Utf16Be << QStringLiteral("h\u00E9\n\U0001F600");
    QTest::newRow("UTF-16 mark alone") << QByteArray("\xFF\xFE") << ETextEncoding::Utf16Le << "";
    QTest::newRow("UTF-16 second mark kept")
        << QByteArray("\xFE\xFF\xFE\xFF\0a", 6) << ETextEncoding::Utf16Be << QStringLiteral("\uFEFFa");
    // What looks like a mark but is no valid UTF-16 is 8-bit text like any other.
    QTest::newRow("odd length after a UTF-16 mark is code page")
        << QByteArray("\xFF\xFEok!") << ETextEncoding::Cp1252 << QStringLiteral("\u00FF\u00FEok!");
}

void TestTextFile::encodingIsKeptAsFound()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    Write(sPath, bytes);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), TextFile::ELoad::Ok);
    QCOMPARE(loaded.format.eEncoding, encoding);
    QCOMPARE(loaded.sText, text);

    const QString sCopy = dir.filePath(QStringLiteral("b.sqs"));
    const TextFile::SSaved saved = TextFile::Save(sCopy, loaded.sText, &loaded.format);
    QVERIFY(saved.bOk);
    QVERIFY(!saved.bSwitchedToUtf8);
    QVERIFY(!saved.bNowReadsBackOther);
    QCOMPARE(Read(sCopy), bytes);
}

void TestTextFile::lineEndsReadAsOneAndWrittenAsCrLf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << "a\nb\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("LF only") << QByteArray("a\nb") << "a\nb" << QByteArray("a\r\nb");
    QTest::newRow("CR only") << QByteArray("a\rb") << "a\nb" << QByteArray("a\r\nb");
    QTest::newRow("empty lines between") << QByteArray("a\n\n\nb") << "a\n\n\nb" << QByteArray("a\r\n\r\n\r\nb");
    QTest::newRow("CR before CR LF is a line of its own")
        << QByteArray("a\r\r\nb") << "a\n\nb" << QByteArray("a\r\n\r\nb");
    QTest::newRow("every kind mixed") << QByteArray("\na\rb\r\n\r\r\n\n") << "\na\nb\n\n\n\n"
                                      << QByteArray("\r\na\r\nb\r\n\r\n\r\n\r\n");
}

// A text of no file gets CR LF throughout; the file's own text keeps every
// line break as it was.
void TestTextFile::lineEndsReadAsOneAndWrittenAsCrLf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    Write(sPath, bytes);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), TextFile::ELoad::Ok);
    QCOMPARE(loaded.sText, text);
    QVERIFY(TextFile::Save(sPath, loaded.sText, &loaded.format).bOk);
    QCOMPARE(Read(sPath), bytes);
    QVERIFY(TextFile::Save(sPath, loaded.sText, loaded.format.eEncoding).bOk);
    QCOMPARE(Read(sPath), saved);
}

void TestTextFile::nonTextAndUnreadableAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<TextFile::ELoad>("result");
    QTest::addColumn<QString>("says");
    QTest::newRow("NUL byte in the middle")
        << "file" << QByteArray("hint \"x\"\r\n\0\x01\x02 more", 17) << TextFile::ELoad::NotText << "NUL";
    QTest::newRow("NUL among non-ASCII bytes")
        << "file" << QByteArray("\xC3\xA7\0\xE0", 4) << TextFile::ELoad::NotText << "NUL";
    QTest::newRow("UTF-16 holding a NUL character") << "file"
                                                    << QByteArray("\xFF\xFE"
                                                                  "a\0\0\0",
                                                                  6)
                                                    << TextFile::ELoad::NotText << "NUL";
    QTest::newRow("UTF-16 with half a surrogate pair") << "file"
                                                       << QByteArray("\xFF\xFE\0\xD8"
                                                                     "a\0",
                                                                     6)
                                                       << TextFile::ELoad::NotText << "UTF-16";
    QTest::newRow("UTF-16 of odd length")
        << "file" << QByteArray("\xFE\xFF\0a\0", 5) << TextFile::ELoad::NotText << "UTF-16";
    QTest::newRow("missing file") << "missing" << QByteArray() << TextFile::ELoad::CannotRead << "";
    QTest::newRow("folder") << "folder" << QByteArray() << TextFile::ELoad::CannotRead << "folder";
    // Reading it would wait for a writer for ever.
    QTest::newRow("named pipe") << "pipe" << QByteArray() << TextFile::ELoad::CannotRead << "not a regular file";
}

void TestTextFile::nonTextAndUnreadableAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(TextFile::ELoad, result);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    if (kind == QLatin1String("file"))
        Write(sPath, content);
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(sPath));
    else if (kind == QLatin1String("pipe"))
        QCOMPARE(mkfifo(QFile::encodeName(sPath).constData(), 0600), 0);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), result);
    QVERIFY(!sError.isEmpty());
    QVERIFY2(sError.contains(says), qPrintable(sError));
}

void TestTextFile::everyCodePageByteSurvivesLoadAndSave()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("all.txt"));
    const QByteArray bytes = EveryHighByte();
    Write(sPath, bytes);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), TextFile::ELoad::Ok);
    QCOMPARE(loaded.format.eEncoding, ETextEncoding::Cp1252);
    const TextFile::SSaved saved = TextFile::Save(sPath, loaded.sText, loaded.format.eEncoding);
    QVERIFY(saved.bOk);
    QVERIFY(!saved.bSwitchedToUtf8);
    QCOMPARE(Read(sPath), bytes);
}

void TestTextFile::textOutsideCodePageIsSavedAsUtf8()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    const TextFile::SSaved saved = TextFile::Save(sPath, QStringLiteral("Ω Brü\n"), ETextEncoding::Cp1252);
    QVERIFY(saved.bOk);
    QVERIFY(saved.bSwitchedToUtf8);
    // Not a '?' in sight: the whole file moves to UTF-8, the umlaut with it.
    QCOMPARE(Read(sPath), QByteArray("\xCE\xA9 Br\xC3\xBC\r\n"));
}

void TestTextFile::failedSaveLeavesOldFileWhole_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("length");
    QTest::newRow("target is a folder") << "folder" << 100000;
    QTest::newRow("folder vanished") << "vanished" << 100000;
    QTest::newRow("disk refuses a long write") << "full" << 100000;
    // Small enough to sit in the file's write buffer until the commit.
    QTest::newRow("disk refuses a short write") << "full" << 203;
}

void TestTextFile::failedSaveLeavesOldFileWhole()
{
    QFETCH(QString, kind);
    QFETCH(int, length);
    QTemporaryDir dir;
    const QString sFolder = dir.filePath(QStringLiteral("op"));
    QVERIFY(QDir().mkdir(sFolder));
    QString sPath = QDir(sFolder).filePath(QStringLiteral("init.sqs"));
    const QByteArray old("old\r\n");
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(sPath));
    else
        Write(sPath, old);
    if (kind == QLatin1String("vanished"))
        sPath = dir.filePath(QStringLiteral("gone/init.sqs"));

    const QString sLong = QString(length, QLatin1Char('x'));
    TextFile::SSaved saved;
    if (kind == QLatin1String("full")) {
        CFileSizeLimit limit(64);
        QVERIFY(limit.IsActive());
        saved = TextFile::Save(sPath, sLong, ETextEncoding::Cp1252);
    } else {
        saved = TextFile::Save(sPath, sLong, ETextEncoding::Cp1252);
    }
    QVERIFY(!saved.bOk);
    QVERIFY(!saved.sError.isEmpty());
    // The system's own reason, not an unknown error.
    if (kind == QLatin1String("full"))
        QVERIFY2(saved.sError.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(saved.sError));
    if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(sPath).isDir());
    else if (kind == QLatin1String("full"))
        QCOMPARE(Read(sPath), old);
    // No half-written temporary file stays behind beside the old one.
    const QStringList left = QDir(sFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("init.sqs")});
}

void TestTextFile::editsKeepTheLineBreaksAround_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("typing in a line keeps mixed breaks")
        << QByteArray("a\r\nb\nc\rd") << 0 << 0 << "x" << QByteArray("xa\r\nb\nc\rd");
    QTest::newRow("new line in an LF file is LF") << QByteArray("a\nb\n") << 1 << 0 << "\nz" << QByteArray("a\nz\nb\n");
    QTest::newRow("new line in a CR LF file is CR LF") << QByteArray("a\r\nb") << 1 << 0 << "\n"
                                                       << QByteArray("a\r\n\r\nb");
    QTest::newRow("new line in a mixed file as most of its lines") << QByteArray("a\nb\nc\r\n") << 0 << 0 << "\n"
                                                                   << QByteArray("\na\nb\nc\r\n");
    QTest::newRow("deleting a line keeps the breaks of the others")
        << QByteArray("a\r\nb\nc\rd") << 2 << 2 << "" << QByteArray("a\r\nc\rd");
    QTest::newRow("a lone CR and LF brought together stay two breaks")
        << QByteArray("\rX\n") << 1 << 1 << "" << QByteArray("\r\r\n");
    QTest::newRow("joining two lines keeps the rest")
        << QByteArray("a\r\nb\nc\rd") << 3 << 1 << " " << QByteArray("a\r\nb c\rd");
    QTest::newRow("line separator kept beside an edit")
        << QByteArray("x\xE2\x80\xA8y") << 3 << 0 << "z" << QByteArray("x\xE2\x80\xA8yz");
    QTest::newRow("noncharacter kept beside an edit")
        << QByteArray("\xEF\xB7\x90!") << 2 << 0 << "\u00E9" << QByteArray("\xEF\xB7\x90!\xC3\xA9");
    QTest::newRow("a typed replacement character is itself")
        << QByteArray("\xC3\xA9") << 0 << 0 << "\uFFFD" << QByteArray("\xEF\xBF\xBD\xC3\xA9");
    QTest::newRow("UTF-16 line breaks kept beside an edit") << QByteArray("\xFF\xFE"
                                                                          "a\0\n\0b\0",
                                                                          8)
                                                            << 3 << 0 << "c"
                                                            << QByteArray("\xFF\xFE"
                                                                          "a\0\n\0b\0c\0",
                                                                          10);
}

// Only what the user changed changes in the file.
void TestTextFile::editsKeepTheLineBreaksAround()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::FromBytes(bytes, &loaded, &sError), TextFile::ELoad::Ok);
    const QString sEdited = QString(loaded.sText).replace(at, removed, typed);
    TextFile::SFormat written;
    bool bSwitched = true;
    QCOMPARE(TextFile::ToBytes(sEdited, loaded.format, &written, &bSwitched), saved);
    QVERIFY(!bSwitched);
    // What was written is what the next save starts from.
    QCOMPARE(TextFile::ToBytes(sEdited, written, &written, &bSwitched), saved);
}

void TestTextFile::documentKeepsItsEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("removed");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("readBackAs");  // empty: reads back as saved
    // The only byte that was no UTF-8 goes: the rest is still Windows-1252
    // to the game, so it stays so, and the user hears that the next open
    // will read it otherwise.
    QTest::newRow("Windows-1252 that becomes valid UTF-8")
        << QByteArray("hint \"\xC3\xA9\" \xE9") << 9 << 2 << QByteArray("hint \"\xC3\xA9\"") << ETextEncoding::Cp1252
        << "UTF-8";
    QTest::newRow("UTF-8 that becomes ASCII reads the same")
        << QByteArray("caf\xC3\xA9") << 3 << 1 << QByteArray("caf") << ETextEncoding::Utf8 << "";
    QTest::newRow("UTF-8 whose first line goes to show a second mark")
        << QByteArray("\n\xEF\xBB\xBF\xEF\xBB\xBFx") << 0 << 1 << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx")
        << ETextEncoding::Utf8 << "UTF-8 with a byte-order mark";
    QTest::newRow("UTF-16 stays UTF-16") << QByteArray("\xFE\xFF\0a\0b", 6) << 0 << 1 << QByteArray("\xFE\xFF\0b", 4)
                                         << ETextEncoding::Utf16Be << "";
}

void TestTextFile::documentKeepsItsEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QByteArray, saved);
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, readBackAs);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    Write(sPath, bytes);
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), TextFile::ELoad::Ok);
    const QString sEdited = QString(loaded.sText).remove(at, removed);
    TextFile::SSaved result = TextFile::Save(sPath, sEdited, &loaded.format);
    QVERIFY(result.bOk);
    QCOMPARE(Read(sPath), saved);
    QCOMPARE(loaded.format.eEncoding, encoding);
    QCOMPARE(result.bNowReadsBackOther, !readBackAs.isEmpty());
    QCOMPARE(result.sReadBackAs, readBackAs);
    // Told once, not at every save.
    result = TextFile::Save(sPath, sEdited, &loaded.format);
    QVERIFY(result.bOk);
    QVERIFY(!result.bNowReadsBackOther);
    QCOMPARE(Read(sPath), saved);
    QCOMPARE(loaded.format.eEncoding, encoding);
}

// Whatever the loader takes for text saves back to the very bytes it read.
void TestTextFile::acceptedBytesSaveBackExactly()
{
    QRandomGenerator random(20240611);
    int nAccepted = 0;
    for (int nCase = 0; nCase < 4000; ++nCase) {
        const QByteArray bytes = nCase % 4 == 3 ? RandomUtf16(random) : RandomBytes(random);
        TextFile::SLoaded loaded;
        QString sError;
        if (TextFile::FromBytes(bytes, &loaded, &sError) != TextFile::ELoad::Ok)
            continue;
        ++nAccepted;
        TextFile::SFormat written;
        bool bSwitched = true;
        const QByteArray saved = TextFile::ToBytes(loaded.sText, loaded.format, &written, &bSwitched);
        QVERIFY2(saved == bytes,
                 qPrintable(QStringLiteral("%1 saved as %2")
                                .arg(QString::fromLatin1(bytes.toHex(' ')), QString::fromLatin1(saved.toHex(' ')))));
        QVERIFY(!bSwitched);
        QVERIFY(!written.bReadsBackOther);
        QCOMPARE(written.eEncoding, loaded.format.eEncoding);
    }
    // Most cases must reach the save, or the property says little.
    QVERIFY2(nAccepted > 2000, qPrintable(QString::number(nAccepted)));
}

// After any edit, the saved bytes hold exactly the edited text, and text
// added at the end leaves every byte before it alone.
void TestTextFile::editedTextReadsBackAsTyped()
{
    static const QStringList kTyped{
        QStringLiteral("x"),      QStringLiteral("\n"),   QStringLiteral("\u00E9"), QStringLiteral("\u03A9"),
        QStringLiteral("\uFFFD"), QStringLiteral("\n\n"), QStringLiteral("\u20AC"), QString()};
    QRandomGenerator random(7);
    for (int nCase = 0; nCase < 3000; ++nCase) {
        const QByteArray bytes = nCase % 4 == 3 ? RandomUtf16(random) : RandomBytes(random);
        TextFile::SLoaded loaded;
        QString sError;
        if (TextFile::FromBytes(bytes, &loaded, &sError) != TextFile::ELoad::Ok)
            continue;
        const bool bAppend = random.bounded(3) == 0;
        const int nAt = bAppend ? int(loaded.sText.size()) : random.bounded(int(loaded.sText.size()) + 1);
        const int nRemoved = bAppend ? 0 : random.bounded(int(loaded.sText.size()) - nAt + 1);
        const QString sEdited = QString(loaded.sText).replace(nAt, nRemoved, kTyped.at(random.bounded(8)));
        // The editor moves over a surrogate pair whole; no edit splits one.
        if (!QStringView(sEdited).isValidUtf16())
            continue;

        TextFile::SFormat written;
        bool bSwitched = false;
        const QByteArray saved = TextFile::ToBytes(sEdited, loaded.format, &written, &bSwitched);
        const QString sContext
            = QString::fromLatin1(bytes.toHex(' ')) + QStringLiteral(" -> ") + QString::fromLatin1(saved.toHex(' '));
        // Read in the encoding it was written in, as the game would.
        TextFile::SLoaded back;
        QString sBackError;
        if (!written.bReadsBackOther) {
            QCOMPARE(TextFile::FromBytes(saved, &back, &sBackError), TextFile::ELoad::Ok);
            QVERIFY2(back.sText == sEdited, qPrintable(sContext));
        } else {
            QVERIFY2(written.eEncoding == ETextEncoding::Cp1252 || written.eEncoding == ETextEncoding::Utf8,
                     qPrintable(sContext));
            QVERIFY2(AsEditorText(CodePage::Decode(saved, written.eEncoding)) == sEdited, qPrintable(sContext));
        }
        QCOMPARE(written.eEncoding, bSwitched ? ETextEncoding::Utf8 : loaded.format.eEncoding);
        if (bAppend && !bSwitched)
            QVERIFY2(saved.startsWith(bytes), qPrintable(sContext));
    }
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
