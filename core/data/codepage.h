#pragma once

#include <QByteArray>
#include <QString>

// Mission files are 8-bit text in the games' code page (Windows-1252). A file
// that is valid UTF-8 and actually uses non-ASCII characters is kept in UTF-8
// instead, so that we never silently change the encoding a user chose.
// Utf8Bom: UTF-8 that starts with a byte-order mark, written back with it.
enum class ETextEncoding { Cp1252, Utf8, Utf8Bom };

namespace CodePage {

// Every byte maps to one character and back, the five bytes Windows-1252
// leaves undefined included, so any file survives open and save unchanged.
QString DecodeCp1252(const QByteArray& bytes);
// Characters outside the code page become '?'; *pbLossless tells whether any did.
QByteArray EncodeCp1252(const QString& sText, bool* pbLossless = nullptr);

ETextEncoding DetectEncoding(const QByteArray& bytes);
QString Decode(const QByteArray& bytes, ETextEncoding eEncoding);
QByteArray Encode(const QString& sText, ETextEncoding eEncoding, bool* pbLossless = nullptr);
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
