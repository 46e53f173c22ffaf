#include "core/data/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

// 0x80..0x9F; the undefined bytes keep their C1 control code point so they round-trip.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int ByteOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == u)
            return 0x80 + i;
    return -1;
}

// The byte-order mark an encoding is written with; empty for none.
QByteArrayView MarkOf(ETextEncoding eEncoding)
{
    switch (eEncoding) {
    case ETextEncoding::Utf8Bom:
        return kUtf8Bom;
    case ETextEncoding::Utf16Le:
        return kUtf16LeBom;
    case ETextEncoding::Utf16Be:
        return kUtf16BeBom;
    case ETextEncoding::Cp1252:
    case ETextEncoding::Utf8:
        break;
    }
    return {};
}

QStringConverter::Encoding CodecOf(ETextEncoding eEncoding)
{
    switch (eEncoding) {
    case ETextEncoding::Utf16Le:
        return QStringConverter::Utf16LE;
    case ETextEncoding::Utf16Be:
        return QStringConverter::Utf16BE;
    case ETextEncoding::Cp1252:
    case ETextEncoding::Utf8:
    case ETextEncoding::Utf8Bom:
        break;
    }
    return QStringConverter::Utf8;
}

// A mark after the one the encoding is named for is a character of the
// text (a zero-width no-break space) and must come back as one.
QString DecodeUnicode(QByteArrayView bytes, QStringConverter::Encoding eCodec, bool* pbValid = nullptr)
{
    QStringDecoder decoder(eCodec, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString sText = decoder.decode(bytes);
    if (pbValid)
        *pbValid = !decoder.hasError();
    return sText;
}

// Lone halves of a surrogate pair are no text in any encoding.
bool PairsSurrogates(const QString& sText)
{
    for (qsizetype i = 0; i < sText.size(); ++i) {
        const QChar c = sText.at(i);
        if (c.isHighSurrogate() && i + 1 < sText.size() && sText.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

}  // namespace

namespace CodePage {

int ByteOrderSlow(char16_t u)
{
    const int nByte = ByteOf(u);
    return nByte >= 0 ? nByte : 0x100 + u;
}

QString DecodeCp1252(const QByteArray& bytes)
{
    QString sText(bytes.size(), Qt::Uninitialized);
    QChar* pOut = sText.data();
    for (char ch : bytes) {
        const unsigned char b = static_cast<unsigned char>(ch);
        *pOut++ = QChar(b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b));
    }
    return sText;
}

QByteArray EncodeCp1252(const QString& sText, bool* pbLossless)
{
    QByteArray bytes(sText.size(), Qt::Uninitialized);
    char* pOut = bytes.data();
    bool bLossless = true;
    for (QChar c : sText) {
        int nByte = ByteOf(c.unicode());
        if (nByte < 0) {
            nByte = '?';
            bLossless = false;
        }
        *pOut++ = static_cast<char>(nByte);
    }
    if (pbLossless)
        *pbLossless = bLossless;
    return bytes;
}

ETextEncoding DetectEncoding(const QByteArray& bytes)
{
    bool bNonAscii = false;
    for (char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80) {
            bNonAscii = true;
            break;
        }
    }
    if (!bNonAscii)
        return ETextEncoding::Cp1252;
    bool bValid = false;
    DecodeUnicode(bytes, QStringConverter::Utf8, &bValid);
    if (!bValid)
        return ETextEncoding::Cp1252;
    return bytes.startsWith(kUtf8Bom) ? ETextEncoding::Utf8Bom : ETextEncoding::Utf8;
}

ETextEncoding DetectUtf16(const QByteArray& bytes)
{
    if (bytes.size() % 2 != 0)
        return ETextEncoding::Cp1252;
    for (const ETextEncoding eEncoding : {ETextEncoding::Utf16Le, ETextEncoding::Utf16Be}) {
        if (!bytes.startsWith(MarkOf(eEncoding)))
            continue;
        bool bValid = false;
        const QString sText = DecodeUnicode(QByteArrayView(bytes).sliced(2), CodecOf(eEncoding), &bValid);
        return bValid && PairsSurrogates(sText) ? eEncoding : ETextEncoding::Cp1252;
    }
    return ETextEncoding::Cp1252;
}

QString Decode(const QByteArray& bytes, ETextEncoding eEncoding)
{
    if (eEncoding == ETextEncoding::Cp1252)
        return DecodeCp1252(bytes);
    QByteArrayView view(bytes);
    const QByteArrayView mark = MarkOf(eEncoding);
    if (view.startsWith(mark))
        view = view.sliced(mark.size());
    return DecodeUnicode(view, CodecOf(eEncoding));
}

QByteArray Encode(const QString& sText, ETextEncoding eEncoding, bool* pbLossless)
{
    if (eEncoding == ETextEncoding::Cp1252)
        return EncodeCp1252(sText, pbLossless);
    QStringEncoder encoder(CodecOf(eEncoding), QStringEncoder::Flag::Stateless);
    const QByteArray bytes = MarkOf(eEncoding).toByteArray() + QByteArray(encoder.encode(sText));
    if (pbLossless)
        *pbLossless = !encoder.hasError() && PairsSurrogates(sText);
    return bytes;
}

QString Name(ETextEncoding eEncoding)
{
    switch (eEncoding) {
    case ETextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case ETextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 with a byte-order mark");
    case ETextEncoding::Utf16Le:
        return QStringLiteral("UTF-16 LE");
    case ETextEncoding::Utf16Be:
        return QStringLiteral("UTF-16 BE");
    case ETextEncoding::Cp1252:
        break;
    }
    return QStringLiteral("Windows-1252");
}

QByteArray EncodeForSaving(const QString& sText, ETextEncoding eEncoding, bool* pbSwitched)
{
    bool bLossless = true;
    QByteArray bytes = Encode(sText, eEncoding, &bLossless);
    // The Unicode encodings hold every character; what they lose (half a
    // surrogate pair) no other encoding would hold either.
    *pbSwitched = !bLossless && eEncoding == ETextEncoding::Cp1252;
    return *pbSwitched ? Encode(sText, ETextEncoding::Utf8) : bytes;
}

}  // namespace CodePage
