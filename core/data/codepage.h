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

// Every byte maps to one character and back, the five bytes Windows-1252
// leaves undefined included, so any file survives open and save unchanged.
QString DecodeCp1252(const QByteArray& bytes);
// Characters outside the code page become '?'; *pbLossless tells whether any did.
QByteArray EncodeCp1252(const QString& sText, bool* pbLossless = nullptr);

// The 8-bit encodings only: lists read line by line have no 16-bit form.
ETextEncoding DetectEncoding(const QByteArray& bytes);
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
