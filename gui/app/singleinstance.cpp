#include "gui/app/singleinstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// Long enough for a busy editor to answer, short enough not to delay a lone start.
constexpr int kConnectTimeoutMs = 1000;
constexpr int kTransferTimeoutMs = 5000;

}  // namespace

CSingleInstance::CSingleInstance(const QString& sName, QObject* pParent) : QObject(pParent), m_sName(sName)
{
}

QString CSingleInstance::DefaultName()
{
    QString sUser = qEnvironmentVariable("USER");
    if (sUser.isEmpty())
        sUser = QStandardPaths::writableLocation(QStandardPaths::HomeLocation).section(QLatin1Char('/'), -1);
    return QStringLiteral("velkedit-") + sUser;
}

bool CSingleInstance::HandOff(const QStringList& files)
{
    QLocalSocket socket;
    socket.connectToServer(m_sName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QByteArray message;
    for (const QString& sFile : files)
        message += sFile.toUtf8() + '\n';
    message += '\n';  // an empty line ends the list, so a lone start still reaches the editor
    socket.write(message);
    if (!socket.waitForBytesWritten(kTransferTimeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kTransferTimeoutMs);
    return true;
}

bool CSingleInstance::Listen()
{
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    if (m_pServer->listen(m_sName))
        return true;
    // A socket left behind by an editor that crashed answers nobody; take it over.
    QLocalServer::removeServer(m_sName);
    return m_pServer->listen(m_sName);
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        auto pBuffer = std::make_shared<QByteArray>();
        auto deliver = [this, pSocket, pBuffer] {
            *pBuffer += pSocket->readAll();
            if (!pBuffer->endsWith("\n\n") && *pBuffer != "\n")
                return;
            QStringList files;
            for (const QByteArray& line : pBuffer->split('\n'))
                if (!line.isEmpty())
                    files.append(QString::fromUtf8(line));
            pBuffer->clear();
            // Opening may ask the user something, and a dialog's own event
            // loop must not run inside this handler: the socket could be
            // freed under it. The files go out once the handler is done.
            QMetaObject::invokeMethod(
                this, [this, files] { emit FilesReceived(files); }, Qt::QueuedConnection);
        };
        connect(pSocket, &QLocalSocket::readyRead, this, deliver);
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
    }
}
