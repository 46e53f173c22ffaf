#include "gui/app/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cctype>
#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Long enough for a busy editor to answer, short enough not to delay a lone start.
constexpr int kConnectTimeoutMs = 1000;
constexpr int kTransferTimeoutMs = 5000;

// The first line of every message: a start of an older build, whose lines
// were raw names, is not mistaken for one of ours.
const QByteArray kMagic = "velkedit-open 1";
const QByteArray kKeptInNames = "/";

bool IsPrivateFolder(const QByteArray& path)
{
    struct stat info = {};
    return lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid()
        && (info.st_mode & 077) == 0;
}

bool IsEncodedName(const QByteArray& line)
{
    if (line.isEmpty())
        return false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (ch == '%') {
            if (i + 2 >= line.size() || !isxdigit(uchar(line[i + 1])) || !isxdigit(uchar(line[i + 2])))
                return false;
            i += 2;
        } else if (!isalnum(uchar(ch)) && !QByteArray("-._~").contains(ch) && !kKeptInNames.contains(ch)) {
            return false;
        }
    }
    return true;
}

}  // namespace

CSingleInstance::CSingleInstance(const QString& sName, QObject* pParent) : QObject(pParent), m_sName(sName)
{
}

QString CSingleInstance::PrivateFolder()
{
    // The shared temporary folder is everyone's: another user could take our
    // name there first and be handed our files.
    const QString sRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(sRuntime) && IsPrivateFolder(QFile::encodeName(sRuntime)))
        return QDir::cleanPath(sRuntime);
    const QString sOwn = QDir::tempPath() + QStringLiteral("/velkedit-") + QString::number(geteuid());
    const QByteArray own = QFile::encodeName(sOwn);
    if (mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return QString();
    // Ours from a start under a looser mask; a folder of anyone else's, or a
    // link to one, is never used.
    struct stat info = {};
    if (lstat(own.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid())
        chmod(own.constData(), 0700);
    return IsPrivateFolder(own) ? sOwn : QString();
}

QString CSingleInstance::DefaultName(const QString& sSettingsLocation)
{
    const QString sFolder = PrivateFolder();
    if (sFolder.isEmpty())
        return QString();
    // One settings file under two spellings of its folder is still one editor.
    const QFileInfo settings(sSettingsLocation);
    QString sSettingsFolder = QFileInfo(settings.absolutePath()).canonicalFilePath();
    if (sSettingsFolder.isEmpty())
        sSettingsFolder = QDir::cleanPath(settings.absolutePath());
    const QByteArray key = (sSettingsFolder + QLatin1Char('/') + settings.fileName()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(16);
    return sFolder + QStringLiteral("/velkedit-") + QString::fromLatin1(hash);
}

QList<QByteArray> CSingleInstance::EncodeMessages(const QStringList& files)
{
    QList<QByteArray> messages;
    QByteArray message = kMagic + '\n';
    for (const QString& sFile : files) {
        // No file has an empty name, and its empty line would end the message.
        if (sFile.isEmpty())
            continue;
        const QByteArray line = sFile.toUtf8().toPercentEncoding(kKeptInNames) + '\n';
        if (kMagic.size() + 1 + line.size() + 1 > kMaxMessageBytes)
            return {};
        if (message.size() + line.size() + 1 > kMaxMessageBytes) {
            messages.append(message + '\n');
            message = kMagic + '\n';
        }
        message += line;
    }
    messages.append(message + '\n');
    return messages;
}

bool CSingleInstance::TakeMessages(QByteArray* pBuffer, QList<QStringList>* pMessages)
{
    for (;;) {
        // Empty lines between messages belong to none of them.
        qsizetype nStart = 0;
        while (nStart < pBuffer->size() && pBuffer->at(nStart) == '\n')
            ++nStart;
        pBuffer->remove(0, nStart);
        const qsizetype nEnd = pBuffer->indexOf("\n\n");
        if (nEnd < 0)
            return pBuffer->size() < kMaxMessageBytes;
        if (nEnd + 2 > kMaxMessageBytes)
            return false;
        QList<QByteArray> lines = pBuffer->left(nEnd).split('\n');
        pBuffer->remove(0, nEnd + 2);
        if (lines.takeFirst() != kMagic)
            continue;
        QStringList files;
        for (const QByteArray& line : std::as_const(lines)) {
            if (!IsEncodedName(line)) {
                files.clear();
                break;
            }
            files.append(QString::fromUtf8(QByteArray::fromPercentEncoding(line)));
        }
        if (files.size() == lines.size())
            pMessages->append(files);
    }
}

bool CSingleInstance::HandOff(const QStringList& files)
{
    const QList<QByteArray> messages = EncodeMessages(files);
    if (messages.isEmpty() || m_sName.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_sName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    for (const QByteArray& message : messages)
        socket.write(message);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(kTransferTimeoutMs))
            return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kTransferTimeoutMs);
    return true;
}

bool CSingleInstance::Listen()
{
    if (m_sName.isEmpty())
        return false;
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
        // Qt's own buffer stays within a message too.
        pSocket->setReadBufferSize(kMaxMessageBytes);
        auto pBuffer = std::make_shared<QByteArray>();
        auto deliver = [this, pSocket, pBuffer] {
            *pBuffer += pSocket->readAll();
            QList<QStringList> messages;
            const bool bWithinBounds = TakeMessages(pBuffer.get(), &messages);
            // Opening may ask the user something, and a dialog's own event
            // loop must not run inside this handler: the socket could be
            // freed under it. The files go out once the handler is done.
            for (const QStringList& files : std::as_const(messages))
                QMetaObject::invokeMethod(
                    this, [this, files] { emit FilesReceived(files); }, Qt::QueuedConnection);
            if (!bWithinBounds) {
                pBuffer->clear();
                pSocket->abort();
            }
        };
        connect(pSocket, &QLocalSocket::readyRead, this, deliver);
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
    }
}
