#pragma once

#include <QByteArray>
#include <QString>

// Mission files are 8-bit text in the games' code page (Windows-1252). A file
// that is valid UTF-8 and actually uses non-ASCII characters is kept in UTF-8
// instead, so that we never silently change the encoding a user chose.
// Utf8Bom: UTF-8 that starts with a byte-order mark, written back with it.
// Utf16Le, Utf16Be: 16-bit pages as some briefing editors write them, always
// with their byte-order mark.
enum class ETextEncoding { Cp1252, Utf8, Utf8Bom, Utf16Le, Utf16Be };

namespace CodePage {

// What the bytes 0x80..0x9F stand for; the undefined bytes keep their C1
// control code point so they round-trip.
inline constexpr char16_t kHighChars[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// One byte of the code page, one character, per character of a 20 MB
// script: inline, with the rare upper-half characters out of line.
inline char16_t CharOf(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? kHighChars[b - 0x80] : char16_t(b);
}

int ByteOfHigh(char16_t u);

// The code page's byte for a character, -1 when it has none.
inline int ByteOf(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    return ByteOfHigh(u);
}

// Every byte maps to one character and back, the five bytes Windows-1252
// leaves undefined included, so any file survives open and save unchanged.
QString DecodeCp1252(const QByteArray& bytes);
// Characters outside the code page become '?'; *pbLossless tells whether any did.
QByteArray EncodeCp1252(const QString& sText, bool* pbLossless = nullptr);

// The 8-bit encodings only: lists read line by line have no 16-bit form.
ETextEncoding DetectEncoding(const QByteArray& bytes);
// The same, and for UTF-8 the text as Decode gives it, found on the way:
// a big file is not decoded twice.
ETextEncoding DetectEncoding(const QByteArray& bytes, QString* psDecoded);
// Utf16Le or Utf16Be for bytes that start with that byte-order mark and are
// valid UTF-16 after it; Cp1252 (no verdict) otherwise.
ETextEncoding DetectUtf16(const QByteArray& bytes);
// Decode and Encode undo each other exactly: bytes that are valid in an
// encoding come back unchanged, byte-order marks after the first included.
QString Decode(const QByteArray& bytes, ETextEncoding eEncoding);
QByteArray Encode(const QString& sText, ETextEncoding eEncoding, bool* pbLossless = nullptr);
// For messages: "Windows-1252", "UTF-8"...
QString Name(ETextEncoding eEncoding);
// The bytes to save: in the file's encoding, or in UTF-8 when that encoding
// cannot hold every character (*pbSwitched then tells so).
QByteArray EncodeForSaving(const QString& sText, ETextEncoding eEncoding, bool* pbSwitched);

int ByteOrderSlow(char16_t u);

// The byte a character had in the file, for ordering "by byte value"; characters
// outside the code page sort after every byte.
inline int ByteOrder(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    return ByteOrderSlow(u);
}

}  // namespace CodePage
