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

QByteArray Read(const QString& sPath)
{
    QFile file(sPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything an installed copy ships.
void Ship(const QString& sDir)
{
    Touch(sDir + QStringLiteral("/commands.dat"), "[COMMANDS]\nhint\n");
    Touch(sDir + QStringLiteral("/unit.dat"), "[UNITS]\n");
    Touch(sDir + QStringLiteral("/header.dat"), "[SCRIPT]\n; shipped\n");
    Touch(sDir + QStringLiteral("/snippets/Loop.txt"), "while {true} do {};\n");
    Touch(sDir + QStringLiteral("/help/index.html"), "<html></html>\n");
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
    void copyCutShortIsRedoneAtTheNextStart_data();
    void copyCutShortIsRedoneAtTheNextStart();
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
    Ship(exe.path());
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
    Ship(defaults.path());
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
    Ship(defaults.path());
    const QString sUserData = user.filePath(QStringLiteral("data"));
    Touch(sUserData + QStringLiteral("/header.dat"), "[SCRIPT]\n; mine\n");
    CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path());
    QVERIFY(QFileInfo::exists(sUserData + QStringLiteral("/commands.dat")));
    QFile header(sUserData + QStringLiteral("/header.dat"));
    QVERIFY(header.open(QIODevice::ReadOnly));
    QCOMPARE(header.readAll(), QByteArray("[SCRIPT]\n; mine\n"));
}

void TestDataPaths::copyCutShortIsRedoneAtTheNextStart_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("a plain file stands where the snippets folder goes") << QStringLiteral("snippets");
    QTest::newRow("a plain file stands where a snippet goes") << QStringLiteral("snippets/Loop.txt/");
    QTest::newRow("the install lacks a data file") << QStringLiteral("unit.dat");
}

void TestDataPaths::copyCutShortIsRedoneAtTheNextStart()
{
    QFETCH(QString, fault);
    QTemporaryDir exe, user, defaults;
    Ship(defaults.path());
    const QString sUserData = user.filePath(QStringLiteral("data"));
    Touch(sUserData + QStringLiteral("/header.dat"), "[SCRIPT]\n; mine\n");
    QString sBlocker;
    if (fault == QLatin1String("unit.dat")) {
        QVERIFY(QFile::remove(defaults.filePath(fault)));
    } else {
        // A folder where a file must go, or a file where a folder must go.
        sBlocker = sUserData + QLatin1Char('/') + fault;
        if (fault.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(sBlocker));
        else
            Touch(sBlocker);
    }

    CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path());
    // The dictionary marks a finished folder; it must not arrive before the rest.
    QVERIFY(!QFileInfo::exists(sUserData + QStringLiteral("/commands.dat")));

    if (fault == QLatin1String("unit.dat"))
        Touch(defaults.filePath(fault), "[UNITS]\n");
    else if (fault.endsWith(QLatin1Char('/')))
        QVERIFY(QDir(sBlocker).removeRecursively());
    else
        QVERIFY(QFile::remove(sBlocker));
    QCOMPARE(CDataPaths::ChooseAppPath(exe.path(), sUserData, defaults.path()), sUserData + QLatin1Char('/'));
    for (const char* pszFile : {"commands.dat", "unit.dat", "snippets/Loop.txt", "help/index.html"})
        QCOMPARE(Read(sUserData + QLatin1Char('/') + QLatin1String(pszFile)),
                 Read(defaults.filePath(QLatin1String(pszFile))));
    QCOMPARE(Read(sUserData + QStringLiteral("/header.dat")), QByteArray("[SCRIPT]\n; mine\n"));
}

void TestDataPaths::dialogFilterKeepsEveryEntry()
{
    const QStringList filters = DialogFilter(GetFileFilter()).split(QStringLiteral(";;"));
    QCOMPARE(filters.size(), 8);
    QCOMPARE(filters.first(),
             QStringLiteral("Mission Files (sqs, sqf, ext, html, csv, txt) "
                            "(*.sqs *.ext *.html *.sqf *.csv *.txt)"));
    // A name that shows its own patterns does not show them twice.
    QCOMPARE(filters[1], QStringLiteral("Script Files (*.sqs)"));
    // "*.*" would hide files without an extension here.
    QCOMPARE(filters.last(), QStringLiteral("All Files (*)"));
    // A document's save filter names its extension without the star.
    QCOMPARE(DialogFilter(QStringLiteral("Function Files (.sqf)|*.sqf|All Files (*.*)|*.*||")),
             QStringLiteral("Function Files (*.sqf);;All Files (*)"));
}

QTEST_GUILESS_MAIN(TestDataPaths)
#include "tst_datapaths.moc"
