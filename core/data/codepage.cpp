#include "core/data/codepage.h"

#include <QStringDecoder>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

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
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString sProbe = decoder.decode(bytes);
    if (decoder.hasError())
        return ETextEncoding::Cp1252;
    return bytes.startsWith(kUtf8Bom) ? ETextEncoding::Utf8Bom : ETextEncoding::Utf8;
}

QString Decode(const QByteArray& bytes, ETextEncoding eEncoding)
{
    switch (eEncoding) {
    case ETextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case ETextEncoding::Utf8Bom:
        return QString::fromUtf8(bytes.startsWith(kUtf8Bom) ? bytes.mid(kUtf8Bom.size()) : bytes);
    case ETextEncoding::Cp1252:
        break;
    }
    return DecodeCp1252(bytes);
}

QByteArray Encode(const QString& sText, ETextEncoding eEncoding, bool* pbLossless)
{
    if (eEncoding != ETextEncoding::Cp1252) {
        if (pbLossless)
            *pbLossless = true;
        return eEncoding == ETextEncoding::Utf8Bom ? kUtf8Bom + sText.toUtf8() : sText.toUtf8();
    }
    return EncodeCp1252(sText, pbLossless);
}

QByteArray EncodeForSaving(const QString& sText, ETextEncoding eEncoding, bool* pbSwitched)
{
    bool bLossless = true;
    QByteArray bytes = Encode(sText, eEncoding, &bLossless);
    *pbSwitched = !bLossless;
    return bLossless ? bytes : Encode(sText, ETextEncoding::Utf8);
}

}  // namespace CodePage
