#include "core/data/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom("\xFF\xFE");
const QByteArray kUtf16BeBom("\xFE\xFF");

// The characters 0x80..0x9F stand for lie between these two; a table over
// that span finds their byte without a search per character.
constexpr char16_t kFirstHigh = 0x0081;
constexpr char16_t kLastHigh = 0x2122;

constexpr auto kHighBytes = [] {
    std::array<quint8, kLastHigh - kFirstHigh + 1> arBytes{};
    for (int i = 0; i < 32; ++i)
        arBytes[CodePage::kHighChars[i] - kFirstHigh] = quint8(0x80 + i);
    return arBytes;
}();

// Eight bytes at a time: mission scripts are mostly ASCII, and this decides
// how fast a big one is told to be plain code page text.
qsizetype FirstNonAscii(QByteArrayView bytes)
{
    const char* const pBegin = bytes.data();
    const char* p = pBegin;
    const char* const pEnd = pBegin + bytes.size();
    for (; pEnd - p >= 8; p += 8) {
        quint64 nWord;
        std::memcpy(&nWord, p, 8);
        if (nWord & 0x8080808080808080ULL)
            break;
    }
    for (; p < pEnd; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80)
            return p - pBegin;
    return -1;
}

// True when the bytes from nFrom on break UTF-8 in a way every decoder
// refuses: a byte that starts nothing, a sequence cut short by a byte that
// cannot continue it. A code page file usually shows this at its first
// accented letter; bytes that pass still go to the full check.
bool PlainlyNotUtf8(QByteArrayView bytes, qsizetype nFrom)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + nFrom;
    const auto* const pEnd = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size();
    while (p < pEnd) {
        // Over the ASCII between at the speed of FirstNonAscii.
        const qsizetype nAscii = FirstNonAscii(QByteArrayView(p, pEnd - p));
        if (nAscii < 0)
            return false;
        p += nAscii;
        const unsigned char b = *p++;
        int nFollow;
        if (b >= 0xC2 && b <= 0xDF)
            nFollow = 1;
        else if (b >= 0xE0 && b <= 0xEF)
            nFollow = 2;
        else if (b >= 0xF0 && b <= 0xF4)
            nFollow = 3;
        else
            return true;
        for (; nFollow > 0 && p < pEnd; --nFollow, ++p)
            if ((*p & 0xC0) != 0x80)
                return true;
    }
    return false;
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

int ByteOfHigh(char16_t u)
{
    if (u < kFirstHigh || u > kLastHigh)
        return -1;
    const int nByte = kHighBytes[u - kFirstHigh];
    return nByte ? nByte : -1;
}

int ByteOrderSlow(char16_t u)
{
    const int nByte = ByteOf(u);
    return nByte >= 0 ? nByte : 0x100 + u;
}

QString DecodeCp1252(const QByteArray& bytes)
{
    QString sText(bytes.size(), Qt::Uninitialized);
    QChar* pOut = sText.data();
    for (char ch : bytes)
        *pOut++ = QChar(CharOf(static_cast<unsigned char>(ch)));
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
    return DetectEncoding(bytes, nullptr);
}

ETextEncoding DetectEncoding(const QByteArray& bytes, QString* psDecoded)
{
    const qsizetype nNonAscii = FirstNonAscii(bytes);
    if (nNonAscii < 0 || PlainlyNotUtf8(bytes, nNonAscii))
        return ETextEncoding::Cp1252;
    // Valid with its mark is valid after it, and decoded after it is what
    // Decode gives for UTF-8 with a mark.
    const bool bMarked = bytes.startsWith(kUtf8Bom);
    bool bValid = false;
    QString sText
        = DecodeUnicode(QByteArrayView(bytes).sliced(bMarked ? kUtf8Bom.size() : 0), QStringConverter::Utf8, &bValid);
    if (!bValid)
        return ETextEncoding::Cp1252;
    if (psDecoded)
        *psDecoded = std::move(sText);
    return bMarked ? ETextEncoding::Utf8Bom : ETextEncoding::Utf8;
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
    // Straight into one buffer: a 20 MB script is not copied once more to
    // put the mark in front.
    QStringEncoder encoder(CodecOf(eEncoding), QStringEncoder::Flag::Stateless);
    const QByteArrayView mark = MarkOf(eEncoding);
    QByteArray bytes(mark.size() + encoder.requiredSpace(sText.size()), Qt::Uninitialized);
    std::copy(mark.begin(), mark.end(), bytes.data());
    const char* const pEnd = encoder.appendToBuffer(bytes.data() + mark.size(), sText);
    bytes.truncate(pEnd - bytes.constData());
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
    // Only the code page can fall short; the check costs a pass over the text.
    QByteArray bytes = Encode(sText, eEncoding, eEncoding == ETextEncoding::Cp1252 ? &bLossless : nullptr);
    // The Unicode encodings hold every character; what they lose (half a
    // surrogate pair) no other encoding would hold either.
    *pbSwitched = !bLossless && eEncoding == ETextEncoding::Cp1252;
    return *pbSwitched ? Encode(sText, ETextEncoding::Utf8) : bytes;
}

}  // namespace CodePage
