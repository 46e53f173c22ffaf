#include "core/app/datapaths.h"
#include "core/app/filefilter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void Touch(const QString& sPath, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(sPath).path());
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class TestDataPaths : public QObject
{
    Q_OBJECT

private slots:
    void pathsHangOffTheAppFolder();
    void writableExeFolderWithDataIsPortable();
    void readOnlyInstallFillsUserFolderOnce();
    void installedDefaultsFillUserFolder();
    void unfinishedUserFolderIsFilledAgain();
    void dialogFilterKeepsEveryEntry();
};

void TestDataPaths::pathsHangOffTheAppFolder()
{
    const CDataPaths paths = CDataPaths::FromAppPath(QStringLiteral("/opt/velk"));
    QCOMPARE(paths.m_sAppPath, QStringLiteral("/opt/velk/"));
    QCOMPARE(paths.m_sProjectFile, QStringLiteral("/opt/velk/project.dat"));
    QCOMPARE(paths.m_sCommandsFile, QStringLiteral("/opt/velk/commands.dat"));
    QCOMPARE(paths.m_sUnitFile, QStringLiteral("/opt/velk/unit.dat"));
    QCOMPARE(paths.m_sHeaderFile, QStringLiteral("/opt/velk/header.dat"));
    QCOMPARE(paths.m_sSnippetsPath, QStringLiteral("/opt/velk/snippets/"));
    QCOMPARE(CDataPaths::FromAppPath(QStringLiteral("/opt/velk/")).m_sAppPath, QStringLiteral("/opt/velk/"));
}

void TestDataPaths::writableExeFolderWithDataIsPortable()
{
    QTemporaryDir exe, user;
    Touch(exe.filePath(QStringLiteral("commands.dat")));
    const QString sUserData = user.filePath(QStringLiteral("data"));
    QCOMPARE(CDataPaths::ChooseAppPath(exe.path(), sUserData, QString()), exe.path() + QLatin1Char('/'));
    QVERIFY(!QFileInfo::exists(sUserData));
}

void TestDataPaths::readOnlyInstallFillsUserFolderOnce()
{
    QTemporaryDir exe, user;
    Touch(exe.filePath(QStringLiteral("commands.dat")), "[COMMANDS]\nhint\n");
    Touch(exe.filePath(QStringLiteral("snippets/Loop.txt")));
    Touch(exe.filePath(QStringLiteral("velkedit")));  // not data: must stay behind
    const QString sUserData = user.filePath(QStringLiteral("data"));
    QCOMPARE(CDataPaths::ChooseAppPath(exe.path(), sUserData, QString(), false), sUserData + QLatin1Char('/'));
    QVERIFY(QFileInfo::exists(sUserData + QStringLiteral("/commands.dat")));
    QVERIFY(QFileInfo::exists(sUserData + QStringLiteral("/snippets/Loop.txt")));
    QVERIFY(!QFileInfo::exists(sUserData + QStringLiteral("/velkedit")));
    // Once it exists, the user folder is taken as it is.
    QFile::remove(sUserData + QStringLiteral("/snippets/Loop.txt"));
    CDataPaths::ChooseAppPath(exe.path(), sUserData, QString(), false);
    QVERIFY(!QFileInfo::exists(sUserData + QStringLiteral("/snippets/Loop.txt")));
}

void TestDataPaths::installedDefaultsFillUserFolder()
{
    QTemporaryDir exe, user, defaults;
    Touch(defaults.filePath(QStringLiteral("commands.dat")), "[COMMANDS]\nhint\n");
    Touch(defaults.filePath(QStringLiteral("header.dat")));
    const QString sUserData = user.filePath(QStringLiteral("data"));
    QCOMPARE(CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path()), sUserData + QLatin1Char('/'));
    QVERIFY(QFileInfo::exists(sUserData + QStringLiteral("/header.dat")));
    // The user's edited copy is never overwritten by a later start.
    Touch(sUserData + QStringLiteral("/commands.dat"), "[COMMANDS]\nmine\n");
    CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path());
    QFile file(sUserData + QStringLiteral("/commands.dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[COMMANDS]\nmine\n"));
}

void TestDataPaths::unfinishedUserFolderIsFilledAgain()
{
    // A first copy cut short leaves a folder without its dictionary; the next
    // start fills in what is missing and leaves what the user has alone.
    QTemporaryDir exe, user, defaults;
    Touch(defaults.filePath(QStringLiteral("commands.dat")), "[COMMANDS]\nhint\n");
    Touch(defaults.filePath(QStringLiteral("header.dat")), "[SCRIPT]\n; shipped\n");
    const QString sUserData = user.filePath(QStringLiteral("data"));
    Touch(sUserData + QStringLiteral("/header.dat"), "[SCRIPT]\n; mine\n");
    CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path());
    QVERIFY(QFileInfo::exists(sUserData + QStringLiteral("/commands.dat")));
    QFile header(sUserData + QStringLiteral("/header.dat"));
    QVERIFY(header.open(QIODevice::ReadOnly));
    QCOMPARE(header.readAll(), QByteArray("[SCRIPT]\n; mine\n"));
}

void TestDataPaths::dialogFilterKeepsEveryEntry()
{
    const QStringList filters = DialogFilter(GetFileFilter()).split(QStringLiteral(";;"));
    QCOMPARE(filters.size(), 8);
    QCOMPARE(filters.first(),
             QStringLiteral("Mission Files (sqs, sqf, ext, html, csv, txt) "
                            "(*.sqs *.ext *.html *.sqf *.csv *.txt)"));
    QCOMPARE(filters[1], QStringLiteral("Script Files (*.sqs) (*.sqs)"));
    // "*.*" would hide files without an extension here.
    QCOMPARE(filters.last(), QStringLiteral("All Files (*.*) (*)"));
}

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
