#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/data/codepage.h"

// Line reading as the data files have always been read: a line ends at a line
// feed, a carriage return right before it is dropped, nothing else is trimmed.
namespace TextLines {

QStringList Split(const QByteArray& bytes, ETextEncoding* pEncoding = nullptr);
// The lines as the file holds them, undecoded, split the same way.
QList<QByteArray> SplitRaw(const QByteArray& bytes);
// One line of a list that grew in more than one encoding over the years: a
// line that is valid UTF-8 reads as UTF-8, any other in the games' code page.
// A NUL ends the line, as in Split.
QString DecodeLine(const QByteArray& line);
// False when the path is not a readable file; *pLines is then left empty.
bool Read(const QString& sPath, QStringList* pLines, ETextEncoding* pEncoding = nullptr);

}  // namespace TextLines
