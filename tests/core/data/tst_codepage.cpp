#include "core/data/codepage.h"

#include <QRandomGenerator>
#include <QtTest>

Q_DECLARE_METATYPE(ETextEncoding)

class TestCodePage : public QObject
{
    Q_OBJECT

private slots:
    void detectedEncodingDecodesAndEncodesBack_data();
    void detectedEncodingDecodesAndEncodesBack();
    void anyBytesComeBackInTheirEncoding();
};

void TestCodePage::detectedEncodingDecodesAndEncodesBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("two UTF-8 marks: the second is text")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF") << ETextEncoding::Utf8Bom << QStringLiteral("\uFEFF");
    QTest::newRow("UTF-8 mark after a line break is text")
        << QByteArray("\n\xEF\xBB\xBF") << ETextEncoding::Utf8 << QStringLiteral("\n\uFEFF");
    QTest::newRow("UTF-8 with a NUL") << QByteArray("\xC3\xA7\0", 3) << ETextEncoding::Utf8
                                      << QStringLiteral("\u00E7") + QChar(0);
    QTest::newRow("broken UTF-8 with a NUL is code page")
        << QByteArray("\xC3\xA7\0\xE0", 4) << ETextEncoding::Cp1252
        << QStringLiteral("\u00C3\u00A7") + QChar(0) + QStringLiteral("\u00E0");
    QTest::newRow("noncharacter is UTF-8")
        << QByteArray("\xEF\xB7\x90") << ETextEncoding::Utf8 << QStringLiteral("\uFDD0");
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE\xE9\0", 4) << ETextEncoding::Utf16Le << "\u00E9";
    QTest::newRow("UTF-16 BE, second mark is text")
        << QByteArray("\xFE\xFF\xFE\xFF") << ETextEncoding::Utf16Be << QStringLiteral("\uFEFF");
    QTest::newRow("UTF-16 surrogate pair")
        << QByteArray("\xFF\xFE\x3D\xD8\x00\xDE", 6) << ETextEncoding::Utf16Le << QStringLiteral("\U0001F600");
}

void TestCodePage::detectedEncodingDecodesAndEncodesBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, text);
    const ETextEncoding eUtf16 = CodePage::DetectUtf16(bytes);
    const ETextEncoding eDetected = eUtf16 != ETextEncoding::Cp1252 ? eUtf16 : CodePage::DetectEncoding(bytes);
    QCOMPARE(eDetected, encoding);
    QCOMPARE(CodePage::Decode(bytes, encoding), text);
    bool bLossless = false;
    QCOMPARE(CodePage::Encode(text, encoding, &bLossless), bytes);
    QVERIFY(bLossless);
}

// Lists read line by line decode each line in the encoding of the whole:
// whatever the bytes, they must come back as they were.
void TestCodePage::anyBytesComeBackInTheirEncoding()
{
    static const QList<QByteArray> kPieces{
        "a",        "\n",       "\xEF\xBB\xBF",      "\xC3\xA9", "\xE2\x80\xA8", "\xEF\xB7\x90",
        "\xFF\xFE", "\xFE\xFF", QByteArray(1, '\0'), "\x80",     "\xE9"};
    QRandomGenerator random(1252);
    for (int nCase = 0; nCase < 4000; ++nCase) {
        QByteArray bytes;
        for (int i = random.bounded(10); i > 0; --i) {
            if (random.bounded(5) == 0)
                bytes.append(char(random.bounded(256)));
            else
                bytes.append(kPieces.at(random.bounded(int(kPieces.size()))));
        }
        QList<ETextEncoding> encodings{ETextEncoding::Cp1252, CodePage::DetectEncoding(bytes)};
        if (CodePage::DetectUtf16(bytes) != ETextEncoding::Cp1252)
            encodings.append(CodePage::DetectUtf16(bytes));
        for (const ETextEncoding eEncoding : encodings) {
            bool bLossless = false;
            const QByteArray back = CodePage::Encode(CodePage::Decode(bytes, eEncoding), eEncoding, &bLossless);
            QVERIFY2(back == bytes && bLossless,
                     qPrintable(QStringLiteral("%1 in %2 came back as %3")
                                    .arg(QString::fromLatin1(bytes.toHex(' ')), CodePage::Name(eEncoding),
                                         QString::fromLatin1(back.toHex(' ')))));
        }
    }
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
