#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line reading as the data files have always been read: a line ends at a line
// feed, a carriage return right before it is dropped, nothing else is trimmed.
namespace TextLines {

QStringList Split(const QByteArray& bytes);
// False when the path is not a readable file; *pLines is then left empty.
bool Read(const QString& sPath, QStringList* pLines);

} // namespace TextLines
