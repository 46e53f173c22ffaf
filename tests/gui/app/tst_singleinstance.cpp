#include "gui/app/singleinstance.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void filesArriveAfterTheSocketHandlerReturned();
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

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
