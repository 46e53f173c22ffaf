#include "core/app/meminfo.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestMemInfo : public QObject
{
    Q_OBJECT

private slots:
    void groupsDigitsByThousands_data();
    void groupsDigitsByThousands();
    void countsInMillionsNotMebibytes();
    void readsTotalAndAvailable();
    void missingFiguresAreUnknown();
};

void TestMemInfo::groupsDigitsByThousands_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("below a thousand has no comma") << qint64(999) << "999";
    QTest::newRow("a thousand") << qint64(1000) << "1,000";
    QTest::newRow("four digits") << qint64(1234) << "1,234";
    QTest::newRow("a million") << qint64(1000000) << "1,000,000";
    QTest::newRow("zero") << qint64(0) << "0";
}

void TestMemInfo::groupsDigitsByThousands()
{
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(MemInfo::GroupDigits(value), text);
}

void TestMemInfo::countsInMillionsNotMebibytes()
{
    // 2 GiB of memory reads as 2,147 millions, with 1,000,000,000 bytes free.
    QCOMPARE(MemInfo::MemoryText(2147483648LL, 1000000000LL),
             QStringLiteral("Total Memory:\t2,147 Mb\nUsed Memory:\t1,147 Mb\nAvail Memory:\t1,000 Mb"));
}

void TestMemInfo::readsTotalAndAvailable()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("meminfo"));
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("MemTotal:       16384000 kB\nMemFree:         1000 kB\nMemAvailable:    8192000 kB\n");
    file.close();
    qint64 nTotal = 0;
    qint64 nAvail = 0;
    QVERIFY(MemInfo::Read(&nTotal, &nAvail, sPath));
    QCOMPARE(nTotal, 16384000LL * 1024);
    QCOMPARE(nAvail, 8192000LL * 1024);
}

void TestMemInfo::missingFiguresAreUnknown()
{
    QTemporaryDir dir;
    const QString sPath = dir.filePath(QStringLiteral("meminfo"));
    QFile file(sPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("MemTotal: 100 kB\n");
    file.close();
    qint64 nTotal = 0;
    qint64 nAvail = 0;
    QVERIFY(!MemInfo::Read(&nTotal, &nAvail, sPath));
    QVERIFY(!MemInfo::Read(&nTotal, &nAvail, dir.filePath(QStringLiteral("none"))));
}

QTEST_GUILESS_MAIN(TestMemInfo)
#include "tst_meminfo.moc"
