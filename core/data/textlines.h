#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/data/codepage.h"

// Line reading as the data files have always been read: a line ends at a line
// feed, a carriage return right before it is dropped, nothing else is trimmed.
namespace TextLines {

QStringList Split(const QByteArray& bytes, ETextEncoding* pEncoding = nullptr);
// False when the path is not a readable file; *pLines is then left empty.
bool Read(const QString& sPath, QStringList* pLines, ETextEncoding* pEncoding = nullptr);
// Each line followed by CR LF, written whole or not at all. Text the encoding
// cannot hold is written as UTF-8 rather than lost.
bool Write(const QString& sPath, const QStringList& lines, ETextEncoding eEncoding);

}  // namespace TextLines
