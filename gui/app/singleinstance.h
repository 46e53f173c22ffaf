#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

class QLocalServer;

// One editor per user and settings file: a second start hands its files to
// the running editor over a local socket and ends, the way a shell's open of
// a running program works.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& sName, QObject* pParent = nullptr);

    // True when a running editor took the files; this process should then end.
    bool HandOff(const QStringList& files);
    // Becomes the running editor; false when the name cannot be served.
    bool Listen();

    // A socket in a folder only this user can reach, one per settings file:
    // editors that keep their settings apart keep their files apart too.
    // Empty when no such folder is to be had.
    static QString DefaultName(const QString& sSettingsLocation);
    // $XDG_RUNTIME_DIR when it is private to the user, else a folder of our
    // own in the temporary folder, made private; empty when neither will do.
    static QString PrivateFolder();

    // Whatever a sender does, a receiver holds no more than this of it.
    static constexpr qsizetype kMaxMessageBytes = 64 * 1024;
    // The files as messages of at most kMaxMessageBytes each; none when a
    // name is too long for any. Names are percent-encoded, so a line break
    // or any other byte in one passes whole.
    static QList<QByteArray> EncodeMessages(const QStringList& files);
    // Moves the complete messages at the front of *pBuffer into *pMessages;
    // messages not in our form are dropped. False when what is left can no
    // longer become a message of the allowed size: the sender is to be cut off.
    static bool TakeMessages(QByteArray* pBuffer, QList<QStringList>* pMessages);

signals:
    void FilesReceived(const QStringList& files);

private:
    void OnNewConnection();

    QString m_sName;
    QLocalServer* m_pServer = nullptr;
};
