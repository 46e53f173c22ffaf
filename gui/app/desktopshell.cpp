#include "gui/app/desktopshell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool CDesktopShell::OpenUrl(const QString& sUrl)
{
    // A bare path is a local file to the user, not a relative address.
    return QDesktopServices::openUrl(QUrl::fromUserInput(sUrl));
}

bool CDesktopShell::StartProgram(const QString& sProgram, const QStringList& args, const QString& sWorkingDir)
{
    // The program outlives the editor, so nothing here waits for it or keeps it.
    return QProcess::startDetached(sProgram, args, sWorkingDir);
}
