#pragma once

#include <QString>
#include <QStringList>

// Hands addresses and programs to the desktop. Neither call waits for what it
// started; true means the desktop took the request, not that it succeeded.
class IShell
{
public:
    virtual ~IShell() = default;

    // A web address or a local file, opened with the desktop's handler.
    virtual bool OpenUrl(const QString& sUrl) = 0;
    // Starts sProgram with args in sWorkingDir (an empty folder leaves ours).
    virtual bool StartProgram(const QString& sProgram, const QStringList& args, const QString& sWorkingDir) = 0;
};
