#include "core/data/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
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
int WriteAll(int nFd, QByteArrayView bytes)
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

namespace {

// The file being replaced, held open across the rename, so that what the
// last close of a big file costs (giving back its pages and blocks, some
// milliseconds for 20 MB) is not paid while the user waits for the save.
constexpr qint64 kHeldFileSize = 1 << 20;

int Hold(const QString& sPath)
{
    return ::open(QFile::encodeName(sPath).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
}

void ReleaseAside(int nFd)
{
    if (nFd < 0)
        return;
    try {
        std::thread([nFd] { ::close(nFd); }).detach();
    } catch (const std::system_error&) {
        ::close(nFd);
    }
}

// Handed ahead in steps this big: large enough that each write and each
// start of the disk is worth its call, small enough that the disk starts
// early.
constexpr qsizetype kAheadStep = 2 << 20;

}  // namespace

CWriter::CWriter(const QString& sPath)
{
    // The file a link points to is the one written, as QSaveFile does.
    QFileInfo target(sPath);
    if (target.exists())
        target = QFileInfo(target.canonicalFilePath());
    if (target.exists() && !target.isFile()) {
        // Renaming a new file over a pipe or a device would destroy it
        // without the data ever reaching what reads it.
        m_sError = target.isDir() ? QStringLiteral("It is a folder, not a file.")
                                  : QStringLiteral("It is not a regular file (a named pipe, a device or a "
                                                   "socket), so it was left as it is.");
        return;
    }

    // A file the user may not write is not replaced behind its back, even
    // where its folder would let a new one take its place.
    if (target.exists()) {
        if (const int nRefused = Refusal(target.filePath(), W_OK)) {
            m_sError = Reason(nRefused);
            return;
        }
    }

    m_sTarget = target.filePath();
    m_bHoldOld = target.exists() && target.size() >= kHeldFileSize;
    m_file.setFileName(m_sTarget);
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int nErrno = errno;
        const int nFolderRefused = Refusal(target.absolutePath(), W_OK | X_OK);
        if (target.exists() && (nFolderRefused == EACCES || nFolderRefused == EPERM)
            && Refusal(target.filePath(), R_OK | W_OK) == 0) {
            m_eMode = EMode::InPlace;
            return;
        }
        m_sError = OpenFailure(target, m_file, nErrno);
        return;
    }
    m_eMode = EMode::Replace;
}

void CWriter::Send(QByteArrayView made, qsizetype nMinimum)
{
    while (!m_nError && made.size() - m_nWritten >= nMinimum && made.size() > m_nWritten) {
        const qsizetype nFrom = m_nWritten;
        const qsizetype nSize = std::min(made.size() - nFrom, kAheadStep);
        m_nError = WriteAll(m_file.handle(), made.sliced(nFrom, nSize));
        if (m_nError)
            return;
        m_nWritten += nSize;
        // Only a start: the disk writes while we go on, and the sync before
        // the rename waits for what is left. Errors show there too.
        ::sync_file_range(m_file.handle(), off_t(nFrom), off_t(nSize), SYNC_FILE_RANGE_WRITE);
    }
}

void CWriter::WriteAhead(QByteArrayView made)
{
    if (m_eMode == EMode::Replace)
        Send(made, kAheadStep);
}

void CWriter::Restart()
{
    if (m_eMode != EMode::Replace || m_nError || m_nWritten == 0)
        return;
    if (::lseek(m_file.handle(), 0, SEEK_SET) != 0 || ::ftruncate(m_file.handle(), 0) != 0)
        m_nError = errno;
    m_nWritten = 0;
}

bool CWriter::Commit(const QByteArray& bytes, QString* psError)
{
    switch (m_eMode) {
    case EMode::Refused:
        SetError(psError, m_sError);
        return false;
    case EMode::InPlace:
        return WriteInPlace(m_sTarget, bytes, psError);
    case EMode::Replace:
        break;
    }
    if (m_nWritten > bytes.size())
        Restart();
    // Our own writes and sync, so that a full disk is told in the system's
    // words; QSaveFile reports a failed write only as an unknown error.
    Send(bytes, 0);
    if (!m_nError && ::fsync(m_file.handle()) != 0)
        m_nError = errno;
    if (m_nError) {
        m_file.cancelWriting();
        SetError(psError, Reason(m_nError));
        return false;
    }
    const int nOld = m_bHoldOld ? Hold(m_sTarget) : -1;
    errno = 0;
    const bool bCommitted = m_file.commit();
    const int nErrno = errno;
    ReleaseAside(nOld);
    if (!bCommitted) {
        SetError(psError, nErrno ? Reason(nErrno) : m_file.errorString());
        return false;
    }
    return true;
}

bool Write(const QString& sPath, const QByteArray& bytes, QString* psError)
{
    return CWriter(sPath).Commit(bytes, psError);
}

}  // namespace AtomicFile
