#include "gui/app/singleinstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Sets or clears an environment variable for one test and puts it back after.
class CEnvironmentVariable
{
public:
    explicit CEnvironmentVariable(const char* pszName) : m_pszName(pszName)
    {
        m_bWasSet = qEnvironmentVariableIsSet(pszName);
        m_old = qgetenv(pszName);
    }
    ~CEnvironmentVariable()
    {
        if (m_bWasSet)
            qputenv(m_pszName, m_old);
        else
            qunsetenv(m_pszName);
    }
    void Set(const QString& sValue) { qputenv(m_pszName, QFile::encodeName(sValue)); }
    void Unset() { qunsetenv(m_pszName); }

private:
    const char* m_pszName;
    bool m_bWasSet = false;
    QByteArray m_old;
};

int ModeOf(const QString& sPath)
{
    struct stat info = {};
    if (lstat(QFile::encodeName(sPath).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

bool OwnedByMe(const QString& sPath)
{
    struct stat info = {};
    return lstat(QFile::encodeName(sPath).constData(), &info) == 0 && info.st_uid == geteuid();
}

// Names as a file system may hold them: any character but "/" and NUL in a
// component, line breaks and percent signs included, beyond the BMP too.
QString RandomName(QRandomGenerator& random)
{
    static const char32_t kAwkward[] = {U'\n',     U'\r',     U'%',          U' ',      U'\t', U'\\', U'*', U'\u00E9',
                                        U'\u20AC', U'\uFEFF', U'\U0001F600', U'\u2028', U'/',  U'0',  U'A'};
    QString sName;
    for (int i = random.bounded(30); i >= 0; --i) {
        char32_t ch = 0;
        switch (random.bounded(3)) {
        case 0:
            ch = kAwkward[random.bounded(int(std::size(kAwkward)))];
            break;
        case 1:
            ch = char32_t(random.bounded(1, 0x80));
            break;
        default:
            do
                ch = char32_t(random.bounded(0x80, 0x110000));
            while (ch >= 0xD800 && ch < 0xE000);
        }
        sName += QString::fromUcs4(&ch, 1);
    }
    return sName;
}

QStringList Flatten(const QList<QStringList>& messages)
{
    QStringList files;
    for (const QStringList& message : messages)
        files += message;
    return files;
}

}  // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void filesArriveAfterTheSocketHandlerReturned();

    void socketFolder_data();
    void socketFolder();
    void settingsLocationChoosesTheEditor_data();
    void settingsLocationChoosesTheEditor();
    void editorsWithOtherSettingsKeepTheirFiles();

    void anyFileNameArrivesWhole();
    void manyFilesArriveInBoundedMessages();
    void senderThatNeverEndsItsMessageIsCutOff();
    void messagesSurviveAnySplitOfTheStream();
    void garbageNeverGrowsTheBufferOrHidesALaterMessage();
};

void TestSingleInstance::filesArriveAfterTheSocketHandlerReturned()
{
    const QString sName = QStringLiteral("velkedit-single-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance running(sName);
    QVERIFY(running.Listen());
    auto* pServer = running.findChild<QLocalServer*>();
    QVERIFY(pServer);
    // Connected after the instance's own handlers, so these run once theirs returned.
    bool bHandlerDone = false;
    connect(pServer, &QLocalServer::newConnection, this, [pServer, &bHandlerDone] {
        for (QLocalSocket* pSocket : pServer->findChildren<QLocalSocket*>())
            connect(pSocket, &QLocalSocket::readyRead, pSocket, [&bHandlerDone] { bHandlerDone = true; });
    });
    // Whatever receives the files may show a dialog with an event loop of
    // its own; it must not be running inside the socket's read handler.
    QList<bool> handlerDoneWhenDelivered;
    connect(&running, &CSingleInstance::FilesReceived, this,
            [&](const QStringList&) { handlerDoneWhenDelivered.append(bHandlerDone); });

    CSingleInstance second(sName);
    QVERIFY(second.HandOff({QStringLiteral("/missions/gone.sqs")}));
    QTRY_COMPARE(handlerDoneWhenDelivered.size(), 1);
    QVERIFY(handlerDoneWhenDelivered.first());
}

void TestSingleInstance::socketFolder_data()
{
    QTest::addColumn<QString>("runtime");   // what XDG_RUNTIME_DIR holds
    QTest::addColumn<QString>("existing");  // what already stands where our own folder goes
    QTest::addColumn<QString>("expected");  // "runtime", "own" or "none"

    QTest::newRow("private runtime folder") << "private"
                                            << ""
                                            << "runtime";
    QTest::newRow("no runtime folder: our own is made") << "unset"
                                                        << ""
                                                        << "own";
    QTest::newRow("runtime folder others can write is not used") << "shared"
                                                                 << ""
                                                                 << "own";
    QTest::newRow("relative runtime folder is not used") << "relative"
                                                         << ""
                                                         << "own";
    QTest::newRow("runtime folder that is missing") << "missing"
                                                    << ""
                                                    << "own";
    QTest::newRow("our own folder from before is made private") << "unset"
                                                                << "loose folder"
                                                                << "own";
    QTest::newRow("a link in our folder's place is never followed") << "unset"
                                                                    << "link"
                                                                    << "none";
    QTest::newRow("a file in our folder's place") << "unset"
                                                  << "file"
                                                  << "none";
}

void TestSingleInstance::socketFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, existing);
    QFETCH(QString, expected);
    QTemporaryDir root;
    CEnvironmentVariable xdg("XDG_RUNTIME_DIR");
    CEnvironmentVariable tmp("TMPDIR");
    const QString sRuntime = root.filePath(QStringLiteral("runtime"));
    QVERIFY(QDir().mkpath(sRuntime));
    QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("tmp"))));
    tmp.Set(root.filePath(QStringLiteral("tmp")));
    const QString sOwn = root.filePath(QStringLiteral("tmp/velkedit-%1").arg(geteuid()));

    QVERIFY(chmod(QFile::encodeName(sRuntime).constData(), runtime == QLatin1String("shared") ? 0777 : 0700) == 0);
    if (runtime == QLatin1String("unset"))
        xdg.Unset();
    else if (runtime == QLatin1String("relative"))
        xdg.Set(QStringLiteral("runtime"));
    else if (runtime == QLatin1String("missing"))
        xdg.Set(root.filePath(QStringLiteral("gone")));
    else
        xdg.Set(sRuntime);
    if (existing == QLatin1String("loose folder")) {
        QVERIFY(QDir().mkpath(sOwn));
        QVERIFY(chmod(QFile::encodeName(sOwn).constData(), 0755) == 0);
    } else if (existing == QLatin1String("link")) {
        QVERIFY(QFile::link(sRuntime, sOwn));
    } else if (existing == QLatin1String("file")) {
        QFile file(sOwn);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const QString sFolder = CSingleInstance::PrivateFolder();
    if (expected == QLatin1String("runtime"))
        QCOMPARE(sFolder, sRuntime);
    else if (expected == QLatin1String("own"))
        QCOMPARE(sFolder, sOwn);
    else
        QCOMPARE(sFolder, QString());
    if (!sFolder.isEmpty()) {
        QCOMPARE(ModeOf(sFolder) & 0777, 0700);
        QVERIFY(OwnedByMe(sFolder));
        QVERIFY(QFileInfo(sFolder).isDir() && !QFileInfo(sFolder).isSymLink());
    } else {
        // With no safe folder there is no name to serve or to hand files to.
        QCOMPARE(CSingleInstance::DefaultName(QStringLiteral("/s/a.ini")), QString());
        QVERIFY(!CSingleInstance(QString()).Listen());
    }
    // What stood there is left alone.
    if (existing == QLatin1String("link"))
        QCOMPARE(ModeOf(sRuntime) & 0777, 0700);
}

void TestSingleInstance::settingsLocationChoosesTheEditor_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("same");
    QTest::newRow("same settings file") << "/home/u/.config/Tamrinsoft/Velk Edit.ini"
                                        << "/home/u/.config/Tamrinsoft/Velk Edit.ini" << true;
    QTest::newRow("same file spelled another way") << "/home/u/.config/Tamrinsoft/Velk Edit.ini"
                                                   << "/home/u/.config/x/../Tamrinsoft//Velk Edit.ini" << true;
    QTest::newRow("other settings folder") << "/home/u/.config/Tamrinsoft/Velk Edit.ini"
                                           << "/tmp/portable/Tamrinsoft/Velk Edit.ini" << false;
    QTest::newRow("other settings file") << "/s/Velk Edit.ini"
                                         << "/s/Velk Edit 2.ini" << false;
}

void TestSingleInstance::settingsLocationChoosesTheEditor()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, same);
    QTemporaryDir runtime;
    CEnvironmentVariable xdg("XDG_RUNTIME_DIR");
    xdg.Set(runtime.path());
    const QString sFirst = CSingleInstance::DefaultName(first);
    QVERIFY(!sFirst.isEmpty());
    QCOMPARE(sFirst == CSingleInstance::DefaultName(second), same);
}

// In the shared temporary folder another user could take the name first
// and be handed our files; and an editor started with other settings is
// another editor.
void TestSingleInstance::editorsWithOtherSettingsKeepTheirFiles()
{
    QTemporaryDir runtime;
    CEnvironmentVariable xdg("XDG_RUNTIME_DIR");
    xdg.Set(runtime.path());
    const QString sName = CSingleInstance::DefaultName(runtime.filePath(QStringLiteral("a/Velk Edit.ini")));
    QCOMPARE(QFileInfo(sName).path(), runtime.path());
    CSingleInstance running(sName);
    QVERIFY(running.Listen());
    QVERIFY(QFileInfo::exists(sName));
    QList<QStringList> received;
    connect(&running, &CSingleInstance::FilesReceived, this, [&](const QStringList& files) { received << files; });

    CSingleInstance other(CSingleInstance::DefaultName(runtime.filePath(QStringLiteral("b/Velk Edit.ini"))));
    QVERIFY(!other.HandOff({QStringLiteral("/m/b.sqs")}));
    CSingleInstance same(CSingleInstance::DefaultName(runtime.filePath(QStringLiteral("a/Velk Edit.ini"))));
    QVERIFY(same.HandOff({QStringLiteral("/m/a.sqs")}));
    QTRY_COMPARE(received, QList<QStringList>{{QStringLiteral("/m/a.sqs")}});
}

void TestSingleInstance::anyFileNameArrivesWhole()
{
    const QString sName = QStringLiteral("velkedit-names-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance running(sName);
    QVERIFY(running.Listen());
    QStringList received;
    connect(&running, &CSingleInstance::FilesReceived, this, [&](const QStringList& files) { received += files; });

    const QStringList files{QStringLiteral("/m/line\nbreak.sqs"),   QStringLiteral("/m/two\n\nbreaks.sqs"),
                            QStringLiteral("/m/ends in a break\n"), QStringLiteral("/m/carriage\r\nreturn.sqf"),
                            QStringLiteral("/m/100%25 sure%.sqs"),  QStringLiteral("/m/\u00E9t\u00E9 \U0001F600.ext"),
                            QStringLiteral("velkedit-open 1")};
    QVERIFY(CSingleInstance(sName).HandOff(files));
    QTRY_COMPARE(received, files);
}

void TestSingleInstance::manyFilesArriveInBoundedMessages()
{
    const QString sName = QStringLiteral("velkedit-many-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance running(sName);
    QVERIFY(running.Listen());
    QStringList received;
    connect(&running, &CSingleInstance::FilesReceived, this, [&](const QStringList& files) { received += files; });

    QStringList files;
    for (int i = 0; i < 2000; ++i)
        files << QStringLiteral("/missions/%1/").arg(i) + QString(200, QChar(u'\u00E9'));
    const QList<QByteArray> messages = CSingleInstance::EncodeMessages(files);
    QVERIFY(messages.size() > 1);
    for (const QByteArray& message : messages)
        QVERIFY(message.size() <= CSingleInstance::kMaxMessageBytes);
    // More than a socket buffers: the second start must run beside the
    // editor, as it does in its own process.
    bool bHandedOff = false;
    std::unique_ptr<QThread> pSecond(QThread::create([&] { bHandedOff = CSingleInstance(sName).HandOff(files); }));
    pSecond->start();
    QTRY_VERIFY(pSecond->isFinished());
    pSecond->wait();
    QVERIFY(bHandedOff);
    QTRY_COMPARE(received.size(), files.size());
    QCOMPARE(received, files);
}

// A receiver that buffered until it saw an empty line could be made to hold
// any amount; it drops such a sender and goes on serving.
void TestSingleInstance::senderThatNeverEndsItsMessageIsCutOff()
{
    const QString sName = QStringLiteral("velkedit-endless-%1").arg(QCoreApplication::applicationPid());
    CSingleInstance running(sName);
    QVERIFY(running.Listen());
    QStringList received;
    connect(&running, &CSingleInstance::FilesReceived, this, [&](const QStringList& files) { received += files; });

    QLocalSocket endless;
    endless.connectToServer(sName);
    QVERIFY(endless.waitForConnected(5000));
    const QByteArray chunk("velkedit-open 1\n" + QByteArray(4096, 'a'));
    qint64 nSent = 0;
    while (endless.state() == QLocalSocket::ConnectedState && nSent < 64 * CSingleInstance::kMaxMessageBytes) {
        nSent += endless.write(chunk);
        endless.waitForBytesWritten(100);
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE(endless.state(), QLocalSocket::UnconnectedState);
    QVERIFY(nSent < 64 * CSingleInstance::kMaxMessageBytes);
    QVERIFY(received.isEmpty());

    QVERIFY(CSingleInstance(sName).HandOff({QStringLiteral("/m/after.sqs")}));
    QTRY_COMPARE(received, QStringList{QStringLiteral("/m/after.sqs")});
}

void TestSingleInstance::messagesSurviveAnySplitOfTheStream()
{
    QRandomGenerator random(2024);
    for (int nCase = 0; nCase < 3000; ++nCase) {
        QStringList files;
        for (int i = random.bounded(random.bounded(10) == 0 ? 400 : 8); i > 0; --i)
            files << RandomName(random);
        QByteArray stream;
        for (const QByteArray& message : CSingleInstance::EncodeMessages(files)) {
            QVERIFY(message.size() <= CSingleInstance::kMaxMessageBytes);
            stream += message;
        }

        QByteArray buffer;
        QList<QStringList> messages;
        for (qsizetype nAt = 0; nAt < stream.size();) {
            const qsizetype nChunk = 1 + random.bounded(random.bounded(2) ? 16 : 8192);
            buffer += stream.mid(nAt, nChunk);
            nAt += nChunk;
            QVERIFY(CSingleInstance::TakeMessages(&buffer, &messages));
            QVERIFY(buffer.size() < CSingleInstance::kMaxMessageBytes);
        }
        QVERIFY(buffer.isEmpty());
        QStringList expected = files;
        expected.removeAll(QString());
        QVERIFY2(Flatten(messages) == expected, qPrintable(QStringLiteral("case %1").arg(nCase)));
    }
}

void TestSingleInstance::garbageNeverGrowsTheBufferOrHidesALaterMessage()
{
    QRandomGenerator random(99);
    const QByteArray kPieces[] = {"velkedit-open 1\n", "\n", "%", "%0", "%0A", "/m/x", "\xC3", "\x00", "a"};
    for (int nCase = 0; nCase < 3000; ++nCase) {
        QByteArray garbage;
        for (int i = random.bounded(200); i > 0; --i) {
            if (random.bounded(2))
                garbage += kPieces[random.bounded(int(std::size(kPieces)))];
            else
                garbage += char(random.bounded(256));
        }
        QByteArray buffer;
        QList<QStringList> messages;
        bool bWithinBounds = true;
        for (qsizetype nAt = 0; nAt < garbage.size() && bWithinBounds; nAt += 7) {
            buffer += garbage.mid(nAt, 7);
            bWithinBounds = CSingleInstance::TakeMessages(&buffer, &messages);
            QVERIFY(!bWithinBounds || buffer.size() < CSingleInstance::kMaxMessageBytes);
        }
        // Whatever came before, a message after an empty line comes through whole.
        const QStringList files{RandomName(random) + QLatin1Char('x'), QStringLiteral("/m/\n")};
        messages.clear();
        buffer += "\n\n" + CSingleInstance::EncodeMessages(files).first();
        QVERIFY(CSingleInstance::TakeMessages(&buffer, &messages));
        QVERIFY(!messages.isEmpty());
        QVERIFY2(messages.last() == files, qPrintable(QString::fromLatin1(garbage.toHex())));
    }
    // A buffer that can no longer become a message is given up.
    QByteArray endless(CSingleInstance::kMaxMessageBytes, 'a');
    QList<QStringList> messages;
    QVERIFY(!CSingleInstance::TakeMessages(&endless, &messages));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
