#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the new contents replace
// the old file whole, or the old file stays as it was.
namespace AtomicFile {

// False with *psError set when the file could not be written.
bool Write(const QString& sPath, const QByteArray& bytes, QString* psError = nullptr);

}  // namespace AtomicFile
