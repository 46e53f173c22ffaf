#pragma once

#include "core/app/shell.h"

// The user's desktop: its URL handlers and a detached process.
class CDesktopShell : public IShell
{
public:
    bool OpenUrl(const QString& sUrl) override;
    bool StartProgram(const QString& sProgram, const QStringList& args, const QString& sWorkingDir) override;
};
