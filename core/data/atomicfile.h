#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the new contents replace
// the old file whole, or the old file stays as it was. A file whose folder
// takes no new file is written in place instead, checked, and put back as it
// was when that fails. Anything but a regular file is refused, never replaced.
namespace AtomicFile {

// False with *psError set, in the system's words where it has some ("No
// space left on device"), when the file could not be written.
bool Write(const QString& sPath, const QByteArray& bytes, QString* psError = nullptr);

}  // namespace AtomicFile
