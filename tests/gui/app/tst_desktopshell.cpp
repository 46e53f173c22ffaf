#include "gui/app/desktopshell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

// Takes the place of the desktop's handlers, so no browser is started.
class CUrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> m_urls;

public slots:
    void Catch(const QUrl& url) { m_urls.append(url); }
};

class TestDesktopShell : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (const char* pszScheme : {"https", "file"})
            QDesktopServices::setUrlHandler(QLatin1String(pszScheme), &m_catcher, "Catch");
        m_catcher.m_urls.clear();
    }
    void cleanup()
    {
        for (const char* pszScheme : {"https", "file"})
            QDesktopServices::unsetUrlHandler(QLatin1String(pszScheme));
    }

    void addressReachesTheDesktopUnchanged_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QUrl>("expected");
        const QString sHelp
            = QStringLiteral("https://comref.example.org/COMREF/index.php?action=list&game=All&letter=s");
        QTest::newRow("command help with its query") << sHelp << QUrl(sHelp);
        const QString sUpdate = QStringLiteral("https://www.example.net/velkedit/update.php?version=1.3.4000");
        QTest::newRow("update page") << sUpdate << QUrl(sUpdate);
        QTest::newRow("local help page") << QStringLiteral("/opt/velk edit/help/index.html")
                                         << QUrl::fromLocalFile(QStringLiteral("/opt/velk edit/help/index.html"));
    }
    void addressReachesTheDesktopUnchanged()
    {
        QFETCH(QString, address);
        QFETCH(QUrl, expected);
        CDesktopShell shell;
        QVERIFY(shell.OpenUrl(address));
        QCOMPARE(m_catcher.m_urls, QList<QUrl>{expected});
    }

    void programStartsInItsWorkingFolder()
    {
        QTemporaryDir dir;
        const QString sMark = dir.filePath(QStringLiteral("started"));
        CDesktopShell shell;
        // The game is handed only its name and flag; the folder decides where it runs.
        QVERIFY(shell.StartProgram(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("pwd > started")},
                                   dir.path()));
        QTRY_VERIFY_WITH_TIMEOUT(QFile(sMark).size() > 0, 20000);
        QFile mark(sMark);
        QVERIFY(mark.open(QIODevice::ReadOnly));
        QCOMPARE(QDir(QString::fromLocal8Bit(mark.readAll().trimmed())).canonicalPath(),
                 QDir(dir.path()).canonicalPath());
    }

    void missingProgramIsReported()
    {
        QTemporaryDir dir;
        CDesktopShell shell;
        QVERIFY(
            !shell.StartProgram(dir.filePath(QStringLiteral("Velk.exe")), {QStringLiteral("-nosplash")}, dir.path()));
    }

private:
    CUrlCatcher m_catcher;
};

QTEST_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
