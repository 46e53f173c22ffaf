#include "core/data/atomicfile.h"

#include <QSaveFile>

namespace AtomicFile {

bool Write(const QString& sPath, const QByteArray& bytes, QString* psError)
{
    QSaveFile file(sPath);
    // Unbuffered, so a disk that fills up fails the write itself instead of
    // a flush whose failure could go unseen.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (psError)
            *psError = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (psError)
            *psError = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (psError)
            *psError = file.errorString();
        return false;
    }
    return true;
}

}  // namespace AtomicFile
