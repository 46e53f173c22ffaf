#include "core/documents/textfile.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/editbuffer.h"
#include "tests/support/editorharness.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace VelkTest;

Q_DECLARE_METATYPE(ETextEncoding)

namespace {

// A start that asks nothing, adds no header and no typing aid of its own.
CMemorySettingsStore QuietSeed()
{
    CMemorySettingsStore store;
    for (const char* pszName : {"FirstRun", "AddHeader", "DocMax", "AutoComplete", "AutoTabs"})
        store.WriteInt(kSettingsSection, QLatin1String(pszName), 0);
    return store;
}

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

// What a fuzzer would put in a text file: pieces of every encoding the
// loader knows, line breaks of every kind, the characters the editor's
// text component treats as its own, and plain garbage.
QByteArray RandomFile(QRandomGenerator& random)
{
    static const QList<QByteArray> kPieces{"a",
                                           "hint",
                                           " ",
                                           "\t",
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
                                           "\xEF\xBF\xBC",
                                           "\xC2\xA0",
                                           "\xF0\x9F\x98\x80",
                                           "\x0B",
                                           "\x0C",
                                           "\xC2\x85",
                                           "\x80",
                                           "\xE9",
                                           "\xA0"};
    QByteArray bytes;
    if (random.bounded(5) == 0) {
        // UTF-16 LE, as some briefing editors write pages.
        bytes = "\xFF\xFE";
        for (int i = random.bounded(12); i > 0; --i) {
            static const QList<char16_t> kUnits{u'a', u'\r', u'\n', 0x2028, 0x2029, 0xFDD0, 0xFDD1, 0xFFFD, 0xA0};
            const char16_t u = random.bounded(3) == 0 ? char16_t(0x20 + random.bounded(0xD000))
                                                      : kUnits.at(random.bounded(int(kUnits.size())));
            bytes.append(char(u & 0xFF)).append(char(u >> 8));
        }
        return bytes;
    }
    for (int i = random.bounded(14); i > 0; --i) {
        if (random.bounded(6) == 0)
            bytes.append(char(1 + random.bounded(255)));
        else
            bytes.append(kPieces.at(random.bounded(int(kPieces.size()))));
    }
    return bytes;
}

// Every character of the Basic Multilingual Plane a file can hold, and one
// beyond it, as UTF-8.
QByteArray EveryCharacter()
{
    QString sText;
    for (char32_t u = 1; u < 0x10000; ++u)
        if (u < 0xD800 || u > 0xDFFF)
            sText.append(QChar(char16_t(u)));
    sText.append(QStringLiteral("\U0001F600"));
    return sText.toUtf8();
}

}  // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void everyCharacterSurvivesTheEditor();
    void acceptedFilesSaveBackThroughTheEditor();
    void documentSavesWhatItRead_data();
    void documentSavesWhatItRead();
};

// The text component turns some characters into paragraph breaks or takes
// them for marks of its own; none of that may reach the file.
void TestRoundTrip::everyCharacterSurvivesTheEditor()
{
    const QByteArray bytes = EveryCharacter();
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::FromBytes(bytes, &loaded, &sError), TextFile::ELoad::Ok);
    CStart start;  // the application the text component needs
    CEditBuffer buffer;
    buffer.Load(loaded.sText);
    QCOMPARE(buffer.PlainText(), loaded.sText);
    TextFile::SFormat written;
    bool bSwitched = true;
    QCOMPARE(TextFile::ToBytes(buffer.PlainText(), loaded.format, &written, &bSwitched), bytes);
    QVERIFY(!bSwitched);
}

// Load, into the editor, out of it and save: for whatever the loader takes,
// the very bytes it read.
void TestRoundTrip::acceptedFilesSaveBackThroughTheEditor()
{
    QRandomGenerator random(11);
    CStart start;
    CEditBuffer buffer;
    int nAccepted = 0;
    for (int nCase = 0; nCase < 3000; ++nCase) {
        const QByteArray bytes = RandomFile(random);
        TextFile::SLoaded loaded;
        QString sError;
        if (TextFile::FromBytes(bytes, &loaded, &sError) != TextFile::ELoad::Ok)
            continue;
        ++nAccepted;
        buffer.Load(loaded.sText);
        TextFile::SFormat written;
        bool bSwitched = true;
        const QByteArray saved = TextFile::ToBytes(buffer.PlainText(), loaded.format, &written, &bSwitched);
        QVERIFY2(saved == bytes, qPrintable(Hex(bytes) + QStringLiteral(" saved as ") + Hex(saved)));
        QVERIFY(!bSwitched);
    }
    QVERIFY2(nAccepted > 2000, qPrintable(QString::number(nAccepted)));
}

void TestRoundTrip::documentSavesWhatItRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("at");  // where the edit goes; -1: no edit
    QTest::addColumn<int>("removed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("message");  // what the one message says; empty: none
    QTest::newRow("line and paragraph separators") << QByteArray("a\xE2\x80\xA8"
                                                                 "b\xE2\x80\xA9"
                                                                 "c\r\n")
                                                   << 5 << 0 << "d"
                                                   << QByteArray("a\xE2\x80\xA8"
                                                                 "b\xE2\x80\xA9"
                                                                 "cd\r\n")
                                                   << ETextEncoding::Utf8 << "";
    QTest::newRow("noncharacters") << QByteArray("\xEF\xB7\x90\xEF\xB7\x91\xEF\xBF\xBE\r\n") << -1 << 0 << ""
                                   << QByteArray("\xEF\xB7\x90\xEF\xB7\x91\xEF\xBF\xBE\r\n") << ETextEncoding::Utf8
                                   << "";
    QTest::newRow("UTF-16 LE page") << QByteArray("\xFF\xFE<\0b\0>\0\r\0\n\0", 12) << 3 << 0 << "\u00E9"
                                    << QByteArray("\xFF\xFE<\0b\0>\0\xE9\0\r\0\n\0", 14) << ETextEncoding::Utf16Le
                                    << "";
    QTest::newRow("UTF-16 BE page") << QByteArray("\xFE\xFF\0<\0\n", 6) << 0 << 1 << "" << QByteArray("\xFE\xFF\0\n", 4)
                                    << ETextEncoding::Utf16Be << "";
    QTest::newRow("two UTF-8 byte-order marks")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFhint") << -1 << 0 << "" << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFhint")
        << ETextEncoding::Utf8Bom << "";
    QTest::newRow("line break before two byte-order marks")
        << QByteArray("\n\xEF\xBB\xBF\xEF\xBB\xBF") << -1 << 0 << "" << QByteArray("\n\xEF\xBB\xBF\xEF\xBB\xBF")
        << ETextEncoding::Utf8 << "";
    QTest::newRow("LF-only lines stay LF")
        << QByteArray("a\nb\n") << 1 << 0 << "\nc" << QByteArray("a\nc\nb\n") << ETextEncoding::Cp1252 << "";
    QTest::newRow("Windows-1252 whose last non-UTF-8 byte goes")
        << QByteArray("hint \"\xC3\xA9\" \xE9") << 9 << 2 << "" << QByteArray("hint \"\xC3\xA9\"")
        << ETextEncoding::Cp1252 << "read as UTF-8";
}

void TestRoundTrip::documentSavesWhatItRead()
{
    QFETCH(QByteArray, content);
    QFETCH(int, at);
    QFETCH(int, removed);
    QFETCH(QString, typed);
    QFETCH(QByteArray, saved);
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("page.html"));
    WriteFile(sPath, content);
    CMemorySettingsStore seed = QuietSeed();
    CStart start({}, &seed);
    QVERIFY(start.App().InitInstance());
    CScriptDoc* pDoc = start.App().OpenDocumentFile(sPath);
    QVERIFY(pDoc);
    QCOMPARE(start.Prompter().m_messages, QStringList());
    if (at >= 0)
        QVERIFY(pDoc->ApplyEdits({{at, removed, typed}}, EEditHistory::Step));
    QVERIFY(pDoc->DoFileSave());
    const QByteArray written = ReadFile(sPath);
    QVERIFY2(written == saved, qPrintable(Hex(written)));
    QCOMPARE(pDoc->Encoding(), encoding);
    QCOMPARE(start.Prompter().m_messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QVERIFY2(start.Prompter().m_messages.first().contains(message),
                 qPrintable(start.Prompter().m_messages.first()));
    // Saved again unchanged: the same bytes, and nothing more to hear.
    QVERIFY(pDoc->DoFileSave());
    QCOMPARE(ReadFile(sPath), saved);
    QCOMPARE(start.Prompter().m_messages.size(), message.isEmpty() ? 0 : 1);
    start.CloseAndKeepStore();
}

int main(int argc, char** argv)
{
    // Every test makes its own application object; QtTest only needs the
    // arguments for its own options.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestRoundTrip test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_roundtrip.moc"
