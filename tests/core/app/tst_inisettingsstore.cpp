#include "core/app/inisettingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The INI file must say when it could not be written: the close batch and the
// file associations rely on Flush to tell the user.
class TestIniSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void flushFailsWhenTheFileCannotBeWritten_data()
    {
        QTest::addColumn<QString>("blocker");  // what stands where the folder or file should be
        QTest::newRow("folder of the file is a plain file") << QStringLiteral("file");
        QTest::newRow("file name taken by a folder") << QStringLiteral("folder");
    }
    void flushFailsWhenTheFileCannotBeWritten()
    {
        QFETCH(QString, blocker);
        QTemporaryDir dir;
        const QString sFolder = dir.filePath(QStringLiteral("config"));
        const QString sFile = sFolder + QStringLiteral("/Velk Edit.ini");
        if (blocker == QLatin1String("file")) {
            QFile plain(sFolder);
            QVERIFY(plain.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(sFile));
        }

        CIniSettingsStore store(sFile);
        store.WriteInt(QStringLiteral("Settings"), QStringLiteral("Velk"), 0);
        QVERIFY(!store.Flush());

        // Once the way is clear the next flush writes what was kept meanwhile;
        // one failure must not leave the store failing for good.
        if (blocker == QLatin1String("file"))
            QVERIFY(QFile::remove(sFolder));
        else
            QVERIFY(QDir(sFile).removeRecursively());
        QVERIFY(store.Flush());
        QCOMPARE(CIniSettingsStore(sFile).ReadInt(QStringLiteral("Settings"), QStringLiteral("Velk"), 1), 0);
    }

    void flushFailsInAFolderNobodyMayWrite()
    {
        // The kernel's own folder refuses new files even to the superuser,
        // so this holds whoever runs the test.
        CIniSettingsStore store(QStringLiteral("/proc/Velk Edit.ini"));
        store.WriteString(QStringLiteral("Settings"), QStringLiteral("Author"), QStringLiteral("me"));
        QVERIFY(!store.Flush());
    }

    void flushWithNothingToWriteSucceeds()
    {
        QTemporaryDir dir;
        CIniSettingsStore store(dir.filePath(QStringLiteral("Velk Edit.ini")));
        QVERIFY(store.Flush());
    }
};

QTEST_GUILESS_MAIN(TestIniSettingsStore)
#include "tst_inisettingsstore.moc"
