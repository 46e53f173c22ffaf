#include "core/data/atomicfile.h"
#include "tests/support/fileaccess.h"
#include "tests/support/filesizelimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace VelkTest;

namespace {

QByteArray Path(const QString& sPath)
{
    return QFile::encodeName(sPath);
}

QString SystemSays(int nErrno)
{
    return QString::fromLocal8Bit(std::strerror(nErrno));
}

ino_t Inode(const QString& sPath)
{
    struct stat st = {};
    return ::stat(Path(sPath).constData(), &st) == 0 ? st.st_ino : 0;
}

// A file the user may write, in a folder of someone else's that takes no new file.
struct SLockedFolder
{
    explicit SLockedFolder(const QTemporaryDir& dir, int nFolderMode = 0555, int nFileMode = 0644)
    {
        sFolder = dir.filePath(QStringLiteral("mission"));
        sFile = QDir(sFolder).filePath(QStringLiteral("init.sqs"));
        QDir().mkdir(sFolder);
        WriteFile(sFile, "old\r\n");
        if (geteuid() == 0) {
            ::chmod(Path(dir.path()).constData(), 0755);
            [[maybe_unused]] const int nOwned = ::chown(Path(sFile).constData(), kNobody, kNobody);
        }
        ::chmod(Path(sFile).constData(), mode_t(nFileMode));
        ::chmod(Path(sFolder).constData(), mode_t(nFolderMode));
    }
    ~SLockedFolder() { ::chmod(Path(sFolder).constData(), 0755); }
    QStringList Entries() const
    {
        return QDir(sFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    }
    QString sFolder;
    QString sFile;
};

}  // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileWhole();
    void refusesWhatIsNoRegularFile_data();
    void refusesWhatIsNoRegularFile();
    void failureNamesTheSystemsReason_data();
    void failureNamesTheSystemsReason();
    void writesInPlaceWhenOnlyTheFolderRefuses();
    void failedWriteInPlaceIsToldAndUndone();
};

void TestAtomicFile::replacesTheFileWhole()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("a.sqs"));
    WriteFile(sPath, "old and longer\r\n");
    const ino_t nOld = Inode(sPath);
    QString sError;
    QVERIFY2(AtomicFile::Write(sPath, "new\r\n", &sError), qPrintable(sError));
    QCOMPARE(ReadFile(sPath), QByteArray("new\r\n"));
    // A new file took the old one's place: a reader never sees half of it.
    QVERIFY(Inode(sPath) != nOld);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.sqs")});
}

void TestAtomicFile::refusesWhatIsNoRegularFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("device") << "device";
    QTest::newRow("link to a named pipe") << "link";
}

void TestAtomicFile::refusesWhatIsNoRegularFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString sNode = dir.filePath(QStringLiteral("node"));
    if (kind == QLatin1String("device")) {
        // A null device of our own, so that nothing of the system is at stake.
        if (::mknod(Path(sNode).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("This user may not make device nodes.");
    } else {
        QCOMPARE(::mkfifo(Path(sNode).constData(), 0600), 0);
    }
    QString sPath = sNode;
    if (kind == QLatin1String("link")) {
        sPath = dir.filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(sNode, sPath));
    }
    struct stat before = {};
    QCOMPARE(::lstat(Path(sNode).constData(), &before), 0);

    QString sError;
    QVERIFY(!AtomicFile::Write(sPath, "hint \"x\"\r\n", &sError));
    QVERIFY2(sError.contains(QStringLiteral("not a regular file")), qPrintable(sError));
    struct stat after = {};
    QCOMPARE(::lstat(Path(sNode).constData(), &after), 0);
    QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    QCOMPARE(after.st_ino, before.st_ino);
}

void TestAtomicFile::failureNamesTheSystemsReason_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("disk full") << "full" << int(EFBIG);
    QTest::newRow("file not writable") << "readonly" << int(EACCES);
    QTest::newRow("folder missing") << "missing" << int(ENOENT);
    QTest::newRow("new file in a locked folder") << "locked" << int(EACCES);
}

void TestAtomicFile::failureNamesTheSystemsReason()
{
    QFETCH(QString, kind);
    QFETCH(int, error);
    QTemporaryDir dir;
    // Writable by all, so that only the file's own mode stands in the way.
    SLockedFolder folder(dir, kind == QLatin1String("locked") ? 0555 : 0777,
                         kind == QLatin1String("readonly") ? 0444 : 0644);
    if (kind == QLatin1String("readonly") && geteuid() == 0)
        QCOMPARE(::chown(Path(folder.sFile).constData(), 0, 0), 0);
    QString sPath = folder.sFile;
    if (kind == QLatin1String("missing"))
        sPath = dir.filePath(QStringLiteral("gone/init.sqs"));
    else if (kind == QLatin1String("locked"))
        sPath = QDir(folder.sFolder).filePath(QStringLiteral("new.sqs"));

    QString sError;
    bool bWritten = true;
    {
        CAsNobody user;
        QVERIFY(user.IsReady());
        if (kind == QLatin1String("full")) {
            CFileSizeLimit limit(64);
            QVERIFY(limit.IsActive());
            bWritten = AtomicFile::Write(sPath, QByteArray(100000, 'x'), &sError);
        } else {
            bWritten = AtomicFile::Write(sPath, "new\r\n", &sError);
        }
    }
    QVERIFY(!bWritten);
    QVERIFY2(sError.contains(SystemSays(error)), qPrintable(sError));
    QCOMPARE(ReadFile(folder.sFile), QByteArray("old\r\n"));
    QCOMPARE(folder.Entries(), QStringList{QStringLiteral("init.sqs")});
}

void TestAtomicFile::writesInPlaceWhenOnlyTheFolderRefuses()
{
    QTemporaryDir dir;
    SLockedFolder folder(dir);
    const ino_t nOld = Inode(folder.sFile);
    QString sError;
    bool bWritten = false;
    {
        CAsNobody user;
        QVERIFY(user.IsReady());
        bWritten = AtomicFile::Write(folder.sFile, "new, and longer than before\r\n", &sError);
    }
    QVERIFY2(bWritten, qPrintable(sError));
    QCOMPARE(ReadFile(folder.sFile), QByteArray("new, and longer than before\r\n"));
    QCOMPARE(Inode(folder.sFile), nOld);
    {
        CAsNobody user;
        bWritten = AtomicFile::Write(folder.sFile, "short", &sError);
    }
    QVERIFY2(bWritten, qPrintable(sError));
    QCOMPARE(ReadFile(folder.sFile), QByteArray("short"));
    QCOMPARE(folder.Entries(), QStringList{QStringLiteral("init.sqs")});
}

// Half a file must not pass for a saved one: the old bytes go back, and the
// user hears why the save failed.
void TestAtomicFile::failedWriteInPlaceIsToldAndUndone()
{
    QTemporaryDir dir;
    SLockedFolder folder(dir);
    QString sError;
    bool bWritten = true;
    {
        CAsNobody user;
        QVERIFY(user.IsReady());
        CFileSizeLimit limit(64);
        QVERIFY(limit.IsActive());
        bWritten = AtomicFile::Write(folder.sFile, QByteArray(100000, 'x'), &sError);
    }
    QVERIFY(!bWritten);
    QVERIFY2(sError.contains(SystemSays(EFBIG)), qPrintable(sError));
    QVERIFY2(sError.contains(QStringLiteral("old contents were put back")), qPrintable(sError));
    QCOMPARE(ReadFile(folder.sFile), QByteArray("old\r\n"));
    QCOMPARE(folder.Entries(), QStringList{QStringLiteral("init.sqs")});
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
