#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

// Every file the program writes goes through here: the new contents replace
// the old file whole, or the old file stays as it was. A file whose folder
// takes no new file is written in place instead, checked, and put back as it
// was when that fails. Anything but a regular file is refused, never replaced.
namespace AtomicFile {

// False with *psError set, in the system's words where it has some ("No
// space left on device"), when the file could not be written.
bool Write(const QString& sPath, const QByteArray& bytes, QString* psError = nullptr);

// The same for bytes that take a while to make (a 20 MB script being
// encoded): what is already final goes to disk ahead, so the disk works on
// the first megabytes while the rest are still being made. Nothing replaces
// the file before Commit; a writer never committed leaves it as it was.
class CWriter
{
public:
    explicit CWriter(const QString& sPath);
    CWriter(const CWriter&) = delete;
    CWriter& operator=(const CWriter&) = delete;

    // The file's first bytes, final; each call hands a longer start.
    void WriteAhead(QByteArrayView made);
    // What was handed ahead is not the file's start after all.
    void Restart();
    // The whole file, starting with what was handed ahead; once. False with
    // *psError set, as Write, when the file could not be written.
    bool Commit(const QByteArray& bytes, QString* psError = nullptr);

private:
    enum class EMode { Refused, Replace, InPlace };

    void Send(QByteArrayView made, qsizetype nMinimum);

    EMode m_eMode = EMode::Refused;
    QString m_sTarget;
    QString m_sError;
    QSaveFile m_file;
    qsizetype m_nWritten = 0;
    int m_nError = 0;
    bool m_bHoldOld = false;
};

}  // namespace AtomicFile
