// The bytes a script is saved as and the text it opens as, checked against a
// deliberately plain reference: one character at a time, no shortcuts, as
// the file layer first did it. Real-shaped scripts in every encoding and
// line-break style, edited the ways users edit them, and small random texts
// full of the characters that make saving hard.
#include "bench/realscript.h"
#include "core/documents/textfile.h"
#include "tests/support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

Q_DECLARE_METATYPE(ETextEncoding)

using TextFile::EBreak;

namespace Reference {

constexpr char16_t kStandIn = 0xFFFD;

const char16_t kUpperHalf[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QChar CharOf(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? QChar(kUpperHalf[b - 0x80]) : QChar(b);
}

int ByteOf(QChar c)
{
    static const QHash<QChar, int> bytes = [] {
        QHash<QChar, int> byChar;
        for (int b = 0; b < 256; ++b)
            byChar.insert(CharOf(b), b);
        return byChar;
    }();
    return bytes.value(c, -1);
}

QByteArray Mark(ETextEncoding eEncoding)
{
    switch (eEncoding) {
    case ETextEncoding::Utf8Bom:
        return "\xEF\xBB\xBF";
    case ETextEncoding::Utf16Le:
        return "\xFF\xFE";
    case ETextEncoding::Utf16Be:
        return "\xFE\xFF";
    default:
        return {};
    }
}

QStringConverter::Encoding Codec(ETextEncoding eEncoding)
{
    return eEncoding == ETextEncoding::Utf16Le ? QStringConverter::Utf16LE
        : eEncoding == ETextEncoding::Utf16Be  ? QStringConverter::Utf16BE
                                               : QStringConverter::Utf8;
}

bool Decode(const QByteArray& bytes, QStringConverter::Encoding eCodec, QString* psText)
{
    QStringDecoder decoder(eCodec, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    *psText = decoder.decode(bytes);
    return !decoder.hasError();
}

bool PairedSurrogates(const QString& s)
{
    for (int i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return false;
    }
    return true;
}

QString Form(char cBreak)
{
    switch (EBreak(cBreak)) {
    case EBreak::Lf:
        return QStringLiteral("\n");
    case EBreak::Cr:
        return QStringLiteral("\r");
    case EBreak::LineSeparator:
        return QString(QChar::LineSeparator);
    case EBreak::ParagraphSeparator:
        return QString(QChar::ParagraphSeparator);
    default:
        return QStringLiteral("\r\n");
    }
}

// FromBytes, one step after another.
bool Read(const QByteArray& bytes, QString* psText, TextFile::SFormat* pFormat)
{
    QString sRaw;
    ETextEncoding eEncoding = ETextEncoding::Cp1252;
    for (const ETextEncoding e : {ETextEncoding::Utf16Le, ETextEncoding::Utf16Be}) {
        QString s;
        if (bytes.size() % 2 == 0 && bytes.startsWith(Mark(e)) && Decode(bytes.mid(2), Codec(e), &s)
            && PairedSurrogates(s)) {
            if (s.contains(QChar(0)))
                return false;
            eEncoding = e;
            sRaw = s;
            break;
        }
    }
    if (eEncoding == ETextEncoding::Cp1252) {
        if (bytes.contains('\0'))
            return false;
        bool bHigh = false;
        for (const char c : bytes)
            bHigh = bHigh || static_cast<unsigned char>(c) >= 0x80;
        QString sUtf8;
        if (bHigh && Decode(bytes, QStringConverter::Utf8, &sUtf8)) {
            eEncoding = bytes.startsWith(Mark(ETextEncoding::Utf8Bom)) ? ETextEncoding::Utf8Bom : ETextEncoding::Utf8;
            sRaw = eEncoding == ETextEncoding::Utf8Bom ? sUtf8.mid(1) : sUtf8;
        } else {
            for (const char c : bytes)
                sRaw += CharOf(static_cast<unsigned char>(c));
        }
    }
    *pFormat = TextFile::SFormat();
    pFormat->eEncoding = eEncoding;
    int anPlain[3] = {};
    QString sText;
    for (int i = 0; i < sRaw.size(); ++i) {
        const QChar c = sRaw[i];
        EBreak eBreak;
        if (c == u'\r' && sRaw.mid(i + 1, 1) == QStringLiteral("\n")) {
            eBreak = EBreak::CrLf;
            ++i;
        } else if (c == u'\r') {
            eBreak = EBreak::Cr;
        } else if (c == u'\n') {
            eBreak = EBreak::Lf;
        } else if (c == QChar::LineSeparator) {
            eBreak = EBreak::LineSeparator;
        } else if (c == QChar::ParagraphSeparator) {
            eBreak = EBreak::ParagraphSeparator;
        } else {
            const bool bStandIn = c == QChar(0xFDD0) || c == QChar(0xFDD1) || c == QChar(kStandIn);
            if (bStandIn)
                pFormat->sStandIns += c;
            sText += bStandIn ? QChar(kStandIn) : c;
            continue;
        }
        if (eBreak <= EBreak::Cr)
            ++anPlain[int(eBreak)];
        pFormat->arBreaks += char(eBreak);
        sText += u'\n';
    }
    pFormat->eNewBreak = anPlain[1] > anPlain[0] && anPlain[1] >= anPlain[2] ? EBreak::Lf
        : anPlain[2] > anPlain[0] && anPlain[2] > anPlain[1]                 ? EBreak::Cr
                                                                             : EBreak::CrLf;
    pFormat->sText = sText;
    *psText = sText;
    return true;
}

// The forms of cMark in the new text: kept in the shared start and end,
// kept between when their number there did not change.
template <typename TForms, typename TForm>
TForms Reconcile(const QString& sOld, const QString& sNew, QChar cMark, const TForms& oldForms, TForm defaultForm)
{
    if (sOld.count(cMark) != oldForms.size())
        return TForms(sNew.count(cMark), defaultForm);
    int nPrefix = 0;
    while (nPrefix < sOld.size() && nPrefix < sNew.size() && sOld[nPrefix] == sNew[nPrefix])
        ++nPrefix;
    int nSuffix = 0;
    while (nPrefix + nSuffix < sOld.size() && nPrefix + nSuffix < sNew.size()
           && sOld[sOld.size() - 1 - nSuffix] == sNew[sNew.size() - 1 - nSuffix])
        ++nSuffix;
    const int nBefore = sOld.left(nPrefix).count(cMark);
    const int nOldMiddle = sOld.mid(nPrefix, sOld.size() - nPrefix - nSuffix).count(cMark);
    const int nNewMiddle = sNew.mid(nPrefix, sNew.size() - nPrefix - nSuffix).count(cMark);
    TForms forms = oldForms.mid(0, nBefore);
    forms += nNewMiddle == nOldMiddle ? oldForms.mid(nBefore, nOldMiddle) : TForms(nNewMiddle, defaultForm);
    forms += oldForms.mid(nBefore + nOldMiddle);
    return forms;
}

// The file's characters in the encoding, or in UTF-8 when the code page lacks one.
QByteArray Encode(const QString& sRaw, ETextEncoding eEncoding, bool* pbSwitched)
{
    *pbSwitched = false;
    if (eEncoding == ETextEncoding::Cp1252) {
        for (const QChar c : sRaw)
            *pbSwitched = *pbSwitched || ByteOf(c) < 0;
        if (!*pbSwitched) {
            QByteArray bytes;
            for (const QChar c : sRaw)
                bytes += char(ByteOf(c));
            return bytes;
        }
        eEncoding = ETextEncoding::Utf8;
    }
    QStringEncoder encoder(Codec(eEncoding), QStringEncoder::Flag::Stateless);
    return Mark(eEncoding) + QByteArray(encoder.encode(sRaw));
}

struct SWritten
{
    QByteArray bytes;
    TextFile::SFormat format;
    bool bSwitched = false;
};

// ToBytes, one step after another.
SWritten Write(const QString& sText, const TextFile::SFormat& format)
{
    SWritten out;
    out.format.sText = sText;
    out.format.eNewBreak = format.eNewBreak;
    out.format.arBreaks = Reconcile(format.sText, sText, QChar(u'\n'), format.arBreaks, char(format.eNewBreak));
    out.format.sStandIns = Reconcile(format.sText, sText, QChar(kStandIn), format.sStandIns, QChar(kStandIn));
    QString sRaw;
    int nBreak = 0;
    int nStandIn = 0;
    for (const QChar c : sText) {
        if (c == u'\n') {
            char& cBreak = out.format.arBreaks[nBreak++];
            if (EBreak(cBreak) == EBreak::Lf && sRaw.endsWith(u'\r'))
                cBreak = char(EBreak::CrLf);
            sRaw += Form(cBreak);
        } else {
            sRaw += c == QChar(kStandIn) ? out.format.sStandIns[nStandIn++] : c;
        }
    }
    out.bytes = Encode(sRaw, format.eEncoding, &out.bSwitched);
    out.format.eEncoding = out.bSwitched ? ETextEncoding::Utf8 : format.eEncoding;
    QString sBack;
    TextFile::SFormat back;
    out.format.bReadsBackOther = !Read(out.bytes, &sBack, &back) || sBack != sText;
    return out;
}

}  // namespace Reference

namespace {

QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.left(200).toHex(' '));
}

bool SameFormat(const TextFile::SFormat& a, const TextFile::SFormat& b)
{
    // The program may let the text go once it tells nothing: every break
    // the one new breaks get, and no stand-ins.
    const bool bUniform = b.sStandIns.isEmpty() && b.arBreaks.count(char(b.eNewBreak)) == b.arBreaks.size();
    const bool bSameText = a.sText == b.sText || (a.sText.isEmpty() && bUniform);
    return a.eEncoding == b.eEncoding && bSameText && a.arBreaks == b.arBreaks && a.sStandIns == b.sStandIns
        && a.eNewBreak == b.eNewBreak && a.bReadsBackOther == b.bReadsBackOther;
}

// A script of the real shape (tab indentation, many local variables, a
// position table of 70-150 KB on one line), about 400 KB.
QString RealShapedText()
{
    static const QString sText = [] {
        RealScript::SShape shape;
        shape.nChars = 400'000;
        shape.nVariables = 2'000;
        shape.nLongLines = 1;
        return RealScript::Make(shape, {});
    }();
    return sText;
}

// The editor's text as an author wrote it, with breaks of the given style.
QString WithBreaks(const QString& sText, const QString& sStyle)
{
    const QStringList lines = sText.split(u'\n');
    QString sRaw;
    for (int i = 0; i < lines.size(); ++i) {
        sRaw += lines[i];
        if (i + 1 < lines.size())
            sRaw += sStyle == QLatin1String("mixed") ? QStringList{QStringLiteral("\r\n"), QStringLiteral("\n"),
                                                                   QStringLiteral("\r"), QStringLiteral("\r\n")}[i % 4]
                                                     : sStyle;
    }
    return sRaw;
}

void CheckSave(const QString& sEdited, const TextFile::SFormat& format, const char* pEdit)
{
    TextFile::SFormat written;
    bool bSwitched = true;
    const QByteArray bytes = TextFile::ToBytes(sEdited, format, &written, &bSwitched);
    const Reference::SWritten expected = Reference::Write(sEdited, format);
    QVERIFY2(bytes == expected.bytes, pEdit);
    QVERIFY2(bSwitched == expected.bSwitched, pEdit);
    QVERIFY2(SameFormat(written, expected.format), pEdit);
}

}  // namespace

class TestTextFileBytes : public QObject
{
    Q_OBJECT

private slots:
    void realScriptsOpenAndSaveAsBefore_data();
    void realScriptsOpenAndSaveAsBefore();
    void hardCharactersSaveAsBefore();
    void bigScriptsReachTheDiskWhole_data();
    void bigScriptsReachTheDiskWhole();
    void anyBytesOpenAsBefore();
};

void TestTextFileBytes::realScriptsOpenAndSaveAsBefore_data()
{
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("breaks");
    QTest::addColumn<bool>("finalBreak");
    // Characters put into the messages, as authors write in their own language.
    QTest::addColumn<QString>("letters");

    const QString sUpperHalf = QStringLiteral("\u20AC\u201A\u0192\u201E\u2026\u0160\u2039\u2122\u0081\u008D\u009D");
    const QString sAccented = QStringLiteral("\u00DCbergabe \u00E9t\u00E9 \u00FF");
    const QString sBeyond = QStringLiteral("\u03A9 \u0416 \U0001F600");
    QTest::newRow("code page, CR LF, final break")
        << ETextEncoding::Cp1252 << QStringLiteral("\r\n") << true << QString();
    QTest::newRow("code page with 0x80-0x9F, CR LF, no final break")
        << ETextEncoding::Cp1252 << QStringLiteral("\r\n") << false << sUpperHalf;
    QTest::newRow("code page accented, LF") << ETextEncoding::Cp1252 << QStringLiteral("\n") << true << sAccented;
    QTest::newRow("code page, mixed breaks and lone CRs")
        << ETextEncoding::Cp1252 << QStringLiteral("mixed") << false << sUpperHalf;
    QTest::newRow("UTF-8, CR LF") << ETextEncoding::Utf8 << QStringLiteral("\r\n") << true << sBeyond + sUpperHalf;
    QTest::newRow("UTF-8, LF, no final break") << ETextEncoding::Utf8 << QStringLiteral("\n") << false << sAccented;
    QTest::newRow("UTF-8 with mark, mixed breaks")
        << ETextEncoding::Utf8Bom << QStringLiteral("mixed") << true << sBeyond;
    QTest::newRow("UTF-16 LE, CR LF") << ETextEncoding::Utf16Le << QStringLiteral("\r\n") << true << sBeyond;
    QTest::newRow("UTF-16 BE, LF, no final break")
        << ETextEncoding::Utf16Be << QStringLiteral("\n") << false << sAccented;
}

void TestTextFileBytes::realScriptsOpenAndSaveAsBefore()
{
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, breaks);
    QFETCH(bool, finalBreak);
    QFETCH(QString, letters);

    QString sAuthored = RealShapedText();
    if (!finalBreak)
        sAuthored.chop(1);
    if (!letters.isEmpty())
        sAuthored.replace(QStringLiteral("hint format [\""), QStringLiteral("hint format [\"") + letters);
    bool bSwitched = false;
    const QByteArray fileBytes = Reference::Encode(WithBreaks(sAuthored, breaks), encoding, &bSwitched);
    QVERIFY(!bSwitched);

    // Opening.
    TextFile::SLoaded loaded;
    QString sError;
    QCOMPARE(TextFile::FromBytes(fileBytes, &loaded, &sError), TextFile::ELoad::Ok);
    QString sExpected;
    TextFile::SFormat expected;
    QVERIFY(Reference::Read(fileBytes, &sExpected, &expected));
    QCOMPARE(loaded.sText, sExpected);
    QVERIFY(SameFormat(loaded.format, expected));
    QCOMPARE(loaded.sText, sAuthored);

    // Saving untouched gives the file back; edits as users make them.
    TextFile::SFormat written;
    QCOMPARE(TextFile::ToBytes(loaded.sText, loaded.format, &written, nullptr), fileBytes);
    CheckSave(loaded.sText, loaded.format, "untouched");
    const QString& s = loaded.sText;
    const qsizetype nMiddle = s.indexOf(u'\n', s.size() / 2) + 1;
    const qsizetype nNext = s.indexOf(u'\n', nMiddle) + 1;
    CheckSave(QString(s).insert(nMiddle, QStringLiteral("\t_wave = _wave + 1;\n")), loaded.format, "line typed");
    CheckSave(QString(s).remove(nMiddle, nNext - nMiddle), loaded.format, "line deleted");
    CheckSave(QString(s).replace(QStringLiteral("_unit"), QStringLiteral("_man")), loaded.format, "replace all");
    CheckSave(QString(s).remove(nMiddle - 1, nNext - nMiddle), loaded.format, "two lines joined");
    CheckSave(s + QStringLiteral("exit;\n"), loaded.format, "added at the end");
    CheckSave(QString(s).insert(nMiddle, QStringLiteral("hint \"\u03A9\";\n")), loaded.format,
              "a character the code page lacks");
    CheckSave(QString(s).insert(nMiddle, QStringLiteral("\r")), loaded.format, "a CR that reads as a break");
    CheckSave(QString(s).insert(nMiddle, QChar(Reference::kStandIn)), loaded.format, "a typed replacement character");
    CheckSave(QChar(0xFEFF) + s, loaded.format, "a mark typed at the start");
    CheckSave(QString(), loaded.format, "everything deleted");

    // What reaches the disk is what ToBytes made.
    QTemporaryDir dir;
    const QString sPath = QDir(dir.path()).filePath(QStringLiteral("mission.sqf"));
    const QString sEdited = QString(s).insert(nMiddle, QStringLiteral("\t_wave = _wave + 1;\n"));
    TextFile::SFormat format = loaded.format;
    QVERIFY(TextFile::Save(sPath, sEdited, &format).bOk);
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), Reference::Write(sEdited, loaded.format).bytes);
}

// Small texts made of the characters that read back as something else
// (CR, NUL, Unicode breaks, the editor's own marks, halves of surrogate
// pairs, a leading byte-order mark) and bytes that look like another
// encoding, saved over formats of every kind.
void TestTextFileBytes::hardCharactersSaveAsBefore()
{
    static const QStringList kPieces{
        QStringLiteral("a"), QStringLiteral("\n"), QStringLiteral("\n"), QStringLiteral("\r"), QString(QChar(0)),
        QStringLiteral("\u2028"), QStringLiteral("\u2029"), QStringLiteral("\uFDD0"), QStringLiteral("\uFDD1"),
        QStringLiteral("\uFFFD"), QStringLiteral("\uFFFD"), QStringLiteral("\uFEFF"), QStringLiteral("\u00C3\u00A9"),
        QStringLiteral("\u00FF\u00FE"), QStringLiteral("\u20AC"), QStringLiteral("\u0081"), QStringLiteral("\u03A9"),
        QStringLiteral("\U0001F600"), QString(QChar(0xD83D)), QString(QChar(0xDE00)), QStringLiteral("\u00E9"),
        QStringLiteral("\uFFFE"), QStringLiteral("\u07FF\u0800"), QStringLiteral("\u2122"),
        // Whole words outside the code page.
        QString(40, QChar(0x0416)), QString(30, QChar(0x20AC))};
    static const ETextEncoding kEncodings[] = {ETextEncoding::Cp1252, ETextEncoding::Utf8, ETextEncoding::Utf8Bom,
                                               ETextEncoding::Utf16Le, ETextEncoding::Utf16Be};
    auto randomText = [](QRandomGenerator& random) {
        QString s;
        for (int i = random.bounded(9); i > 0; --i)
            s += kPieces[random.bounded(int(kPieces.size()))];
        return s;
    };
    QRandomGenerator random(1252);
    int nReadBackOther = 0;
    for (int nCase = 0; nCase < 20000; ++nCase) {
        // A format as a file read earlier left it, or made up.
        TextFile::SFormat format;
        QString sIgnored;
        TextFile::SLoaded loaded;
        QString sRaw = randomText(random);
        format.eEncoding = kEncodings[random.bounded(5)];
        const QByteArray bytes = Reference::Write(sRaw, format).bytes;
        // The reference always keeps the old text, even where the program
        // lets it go for being of no use.
        TextFile::SFormat kept;
        if (random.bounded(3) != 0 && TextFile::FromBytes(bytes, &loaded, &sIgnored) == TextFile::ELoad::Ok) {
            format = loaded.format;
            kept = loaded.format;
            kept.sText = loaded.sText;
        } else {
            format.eNewBreak = EBreak(random.bounded(3));
            kept = format;
        }
        const QString sNew = random.bounded(2) ? kept.sText + randomText(random) : randomText(random);

        TextFile::SFormat written;
        bool bSwitched = false;
        const QByteArray saved = TextFile::ToBytes(sNew, format, &written, &bSwitched);
        const Reference::SWritten expected = Reference::Write(sNew, kept);
        const QString sContext = QStringLiteral("%1 -> %2 (%3)")
                                     .arg(sNew.toHtmlEscaped(), Hex(expected.bytes), CodePage::Name(format.eEncoding));
        QVERIFY2(saved == expected.bytes, qPrintable(sContext));
        QVERIFY2(bSwitched == expected.bSwitched, qPrintable(sContext));
        QVERIFY2(SameFormat(written, expected.format), qPrintable(sContext));
        nReadBackOther += written.bReadsBackOther;
    }
    // Both answers must come up often, or the comparison says little.
    QVERIFY2(nReadBackOther > 2000 && nReadBackOther < 18000, qPrintable(QString::number(nReadBackOther)));
}

// Scripts of several megabytes go to the disk while they are still being
// encoded: what reaches it must be the whole file all the same, also when
// the code page gives out near the end and the file starts over as UTF-8,
// and nothing of it when the disk fills up halfway.
void TestTextFileBytes::bigScriptsReachTheDiskWhole_data()
{
    QTest::addColumn<ETextEncoding>("encoding");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("code page") << ETextEncoding::Cp1252 << QStringLiteral("hint \"\u20AC\";\n") << false;
    QTest::newRow("code page lacking a character near the end")
        << ETextEncoding::Cp1252 << QStringLiteral("hint \"\u03A9\";\n") << false;
    QTest::newRow("UTF-8") << ETextEncoding::Utf8 << QStringLiteral("hint \"\u03A9\";\n") << false;
    QTest::newRow("UTF-8 with mark") << ETextEncoding::Utf8Bom << QStringLiteral("hint \"\U0001F600\";\n") << false;
    QTest::newRow("UTF-16") << ETextEncoding::Utf16Le << QStringLiteral("hint \"\u03A9\";\n") << false;
    QTest::newRow("disk full halfway") << ETextEncoding::Cp1252 << QString() << true;
    QTest::newRow("disk full halfway, then UTF-8")
        << ETextEncoding::Cp1252 << QStringLiteral("hint \"\u03A9\";\n") << true;
}

void TestTextFileBytes::bigScriptsReachTheDiskWhole()
{
    QFETCH(ETextEncoding, encoding);
    QFETCH(QString, tail);
    QFETCH(bool, diskFull);
    static const QString sBig = [] {
        RealScript::SShape shape;
        shape.nChars = 5'000'000;
        shape.nVariables = 5'000;
        shape.nLongLines = 3;
        // Letters that are one byte in the code page and two in UTF-8, all through.
        return RealScript::Make(shape, {}).replace(QStringLiteral("hint format [\""),
                                                   QStringLiteral("hint format [\"\u00E9t\u00E9 "));
    }();
    QTemporaryDir dir;
    const QString sPath = QDir(dir.path()).filePath(QStringLiteral("mission.sqf"));
    // Big, as the script's last version.
    const QByteArray old = QByteArray("old\r\n").repeated(400'000);
    QFile oldFile(sPath);
    QVERIFY(oldFile.open(QIODevice::WriteOnly));
    QCOMPARE(oldFile.write(old), old.size());
    oldFile.close();

    const QString sText = sBig + tail;
    TextFile::SFormat format;
    format.eEncoding = encoding;
    const Reference::SWritten expected = Reference::Write(sText, format);
    TextFile::SSaved saved;
    if (diskFull) {
        VelkTest::CFileSizeLimit limit(3'000'000);
        QVERIFY(limit.IsActive());
        saved = TextFile::Save(sPath, sText, &format);
    } else {
        saved = TextFile::Save(sPath, sText, &format);
    }
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QCOMPARE(left, QStringList{QStringLiteral("mission.sqf")});
    if (diskFull) {
        QVERIFY(!saved.bOk);
        QVERIFY2(saved.sError.contains(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(saved.sError));
        QVERIFY(onDisk == old);
        return;
    }
    QVERIFY2(saved.bOk, qPrintable(saved.sError));
    QVERIFY(onDisk == expected.bytes);
    QCOMPARE(saved.bSwitchedToUtf8, expected.bSwitched);
    QVERIFY(SameFormat(format, expected.format));
}

// Whatever the bytes, they open as they did: the same text, encoding, line
// breaks and stand-ins, or the same refusal. Pieces of every encoding, marks,
// NUL, overlong and cut-short UTF-8, and stray bytes.
void TestTextFileBytes::anyBytesOpenAsBefore()
{
    static const QList<QByteArray> kPieces{"hint",
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
                                           "\xEF\xBF\xBD",
                                           "\xEF\xBF\xBE",
                                           "\xF0\x9F\x98\x80",
                                           "\xC0\x80",
                                           "\xE0\x80\x80",
                                           "\xED\xA0\x80",
                                           "\xF4\x90\x80\x80",
                                           "\xF5",
                                           "\xC3",
                                           "\xE2\x82",
                                           "\x80",
                                           "\xE9",
                                           "\xFF\xFE",
                                           "\xFE\xFF",
                                           QByteArray(1, '\0'),
                                           QByteArray("a\0", 2),
                                           "\x9D\x81"};
    QRandomGenerator random(20);
    int nOpened = 0;
    for (int nCase = 0; nCase < 20000; ++nCase) {
        QByteArray bytes;
        for (int i = random.bounded(10); i > 0; --i)
            bytes += random.bounded(6) == 0 ? QByteArray(1, char(random.bounded(256)))
                                            : kPieces[random.bounded(int(kPieces.size()))];
        // Long plain runs before the bytes, as in a real script.
        if (random.bounded(2))
            bytes.prepend(QByteArray(random.bounded(40), 'x'));
        TextFile::SLoaded loaded;
        QString sError;
        const bool bOpened = TextFile::FromBytes(bytes, &loaded, &sError) == TextFile::ELoad::Ok;
        QString sExpected;
        TextFile::SFormat expected;
        const QString sContext = Hex(bytes);
        QVERIFY2(bOpened == Reference::Read(bytes, &sExpected, &expected), qPrintable(sContext));
        if (!bOpened)
            continue;
        ++nOpened;
        QVERIFY2(loaded.sText == sExpected, qPrintable(sContext));
        QVERIFY2(SameFormat(loaded.format, expected), qPrintable(sContext));
    }
    QVERIFY2(nOpened > 5000 && nOpened < 19000, qPrintable(QString::number(nOpened)));
}

QTEST_GUILESS_MAIN(TestTextFileBytes)
#include "tst_textfilebytes.moc"
