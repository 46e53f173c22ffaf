#include "core/documents/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

Q_DECLARE_METATYPE(ETextEncoding)
Q_DECLARE_METATYPE(TextFile::ELoad)

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

// Lets the next writes of this process fail once a file grows past nBytes,
// as a full disk would; the old limit comes back when it goes out of scope.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t nBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        m_bActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~CFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool IsActive() const { return m_bActive; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_bActive = false;
};

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
    QCOMPARE(loaded.eEncoding, encoding);
    QCOMPARE(loaded.sText, text);

    const QString sCopy = dir.filePath(QStringLiteral("b.sqs"));
    const TextFile::SSaved saved = TextFile::Save(sCopy, loaded.sText, loaded.eEncoding);
    QVERIFY(saved.bOk);
    QVERIFY(!saved.bSwitchedToUtf8);
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
}

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
    QVERIFY(TextFile::Save(sPath, loaded.sText, loaded.eEncoding).bOk);
    QCOMPARE(Read(sPath), saved);
}

void TestTextFile::nonTextAndUnreadableAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<TextFile::ELoad>("result");
    QTest::newRow("NUL byte in the middle") << "nul" << TextFile::ELoad::NotText;
    QTest::newRow("missing file") << "missing" << TextFile::ELoad::CannotRead;
    QTest::newRow("folder") << "folder" << TextFile::ELoad::CannotRead;
}

void TestTextFile::nonTextAndUnreadableAreRefused()
{
    QFETCH(QString, kind);
    QFETCH(TextFile::ELoad, result);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    if (kind == QLatin1String("nul"))
        Write(sPath, QByteArray("hint \"x\"\r\n\0\x01\x02 more", 17));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(sPath));
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::Load(sPath, &loaded, &sError), result);
    QVERIFY(!sError.isEmpty());
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
    QCOMPARE(loaded.eEncoding, ETextEncoding::Cp1252);
    const TextFile::SSaved saved = TextFile::Save(sPath, loaded.sText, loaded.eEncoding);
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
    if (kind == QLatin1String("folder"))
        QVERIFY(QFileInfo(sPath).isDir());
    else if (kind == QLatin1String("full"))
        QCOMPARE(Read(sPath), old);
    // No half-written temporary file stays behind beside the old one.
    const QStringList left = QDir(sFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("init.sqs")});
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
