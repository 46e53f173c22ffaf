#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

// One editor per user: a second start hands its files to the running editor
// over a local socket and ends, the way a shell's open of a running program works.
class CSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& sName, QObject* pParent = nullptr);

    // True when a running editor took the files; this process should then end.
    bool HandOff(const QStringList& files);
    // Becomes the running editor; false when the name cannot be served.
    bool Listen();

    static QString DefaultName();

signals:
    void FilesReceived(const QStringList& files);

private:
    void OnNewConnection();

    QString m_sName;
    QLocalServer* m_pServer = nullptr;
};
