#include "core/data/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's own words for what went wrong ("No space left on device").
QString Reason(int nErrno)
{
    return QString::fromLocal8Bit(std::strerror(nErrno));
}

void SetError(QString* psError, const QString& sError)
{
    if (psError)
        *psError = sError;
}

// 0 when the process may do nMode to the path, else the system's errno.
// The effective ids decide, as they do for the write itself.
int Refusal(const QString& sPath, int nMode)
{
    return faccessat(AT_FDCWD, QFile::encodeName(sPath).constData(), nMode, AT_EACCESS) == 0 ? 0 : errno;
}

// Every byte down, or the errno of the write that stopped short.
int WriteAll(int nFd, const QByteArray& bytes)
{
    const char* pData = bytes.constData();
    qsizetype nLeft = bytes.size();
    while (nLeft > 0) {
        const ssize_t nDone = ::write(nFd, pData, size_t(nLeft));
        if (nDone < 0 && errno == EINTR)
            continue;
        if (nDone <= 0)
            return nDone < 0 ? errno : EIO;
        pData += nDone;
        nLeft -= nDone;
    }
    return 0;
}

// Writes over the file from its first byte and cuts it to the new length;
// the file keeps its inode, owner and permissions. 0 or the errno.
int Overwrite(const QString& sPath, const QByteArray& bytes)
{
    const int nFd = ::open(QFile::encodeName(sPath).constData(), O_WRONLY | O_CLOEXEC);
    if (nFd < 0)
        return errno;
    int nError = WriteAll(nFd, bytes);
    if (!nError && ::ftruncate(nFd, off_t(bytes.size())) != 0)
        nError = errno;
    if (!nError && ::fsync(nFd) != 0)
        nError = errno;
    if (::close(nFd) != 0 && !nError)
        nError = errno;
    return nError;
}

bool HoldsExactly(const QString& sPath, const QByteArray& bytes)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes && file.error() == QFileDevice::NoError;
}

// A file that may be written in a folder that takes no new file cannot be
// replaced in one step; written in place, a failure halfway is put right
// where it can be, and told either way.
bool WriteInPlace(const QString& sPath, const QByteArray& bytes, QString* psError)
{
    QFile oldFile(sPath);
    if (!oldFile.open(QIODevice::ReadOnly)) {
        SetError(psError, oldFile.errorString());
        return false;
    }
    const QByteArray old = oldFile.readAll();
    if (oldFile.error() != QFileDevice::NoError) {
        SetError(psError, oldFile.errorString());
        return false;
    }
    oldFile.close();

    int nError = Overwrite(sPath, bytes);
    QString sReason = nError ? Reason(nError) : QString();
    if (!nError && !HoldsExactly(sPath, bytes))
        sReason = QStringLiteral("The file read back differs from what was written");
    if (sReason.isEmpty())
        return true;
    const bool bRestored = Overwrite(sPath, old) == 0 && HoldsExactly(sPath, old);
    SetError(psError,
             QStringLiteral("%1.\n\nThe folder takes no new files, so the file was written in place; %2")
                 .arg(sReason,
                      bRestored ? QStringLiteral("its old contents were put back.")
                                : QStringLiteral("it is now incomplete on disk.")));
    return false;
}

// Why QSaveFile could not start: mostly the folder refuses, in the system's
// words where it has some.
QString OpenFailure(const QFileInfo& target, const QSaveFile& file, int nErrno)
{
    if (const int nRefused = Refusal(target.absolutePath(), W_OK | X_OK))
        return QStringLiteral("%1: %2").arg(target.absolutePath(), Reason(nRefused));
    return nErrno ? Reason(nErrno) : file.errorString();
}

}  // namespace

namespace AtomicFile {

bool Write(const QString& sPath, const QByteArray& bytes, QString* psError)
{
    // The file a link points to is the one written, as QSaveFile does.
    QFileInfo target(sPath);
    if (target.exists())
        target = QFileInfo(target.canonicalFilePath());
    if (target.exists() && !target.isFile()) {
        // Renaming a new file over a pipe or a device would destroy it
        // without the data ever reaching what reads it.
        SetError(psError,
                 target.isDir() ? QStringLiteral("It is a folder, not a file.")
                                : QStringLiteral("It is not a regular file (a named pipe, a device or a "
                                                 "socket), so it was left as it is."));
        return false;
    }

    // A file the user may not write is not replaced behind its back, even
    // where its folder would let a new one take its place.
    if (target.exists()) {
        if (const int nRefused = Refusal(target.filePath(), W_OK)) {
            SetError(psError, Reason(nRefused));
            return false;
        }
    }

    QSaveFile file(target.filePath());
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int nErrno = errno;
        const int nFolderRefused = Refusal(target.absolutePath(), W_OK | X_OK);
        if (target.exists() && (nFolderRefused == EACCES || nFolderRefused == EPERM)
            && Refusal(target.filePath(), R_OK | W_OK) == 0)
            return WriteInPlace(target.filePath(), bytes, psError);
        SetError(psError, OpenFailure(target, file, nErrno));
        return false;
    }
    // Our own writes and sync, so that a full disk is told in the system's
    // words; QSaveFile reports a failed write only as an unknown error.
    int nError = WriteAll(file.handle(), bytes);
    if (!nError && ::fsync(file.handle()) != 0)
        nError = errno;
    if (nError) {
        file.cancelWriting();
        SetError(psError, Reason(nError));
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        SetError(psError, errno ? Reason(errno) : file.errorString());
        return false;
    }
    return true;
}

}  // namespace AtomicFile
