#pragma once

#include <QString>

// What the program knows of each game it can start: the Windows executable
// and where its installer records the install folder in the machine's
// registry (under HKEY_LOCAL_MACHINE).
struct SGameInfo
{
    QString sTitle;
    QString sExecutable;
    QString sRegistryKey;
    QString sValueName;
};

// The game the "Velk" setting selects: the newer one when set.
const SGameInfo& GameInfo(bool bVelk);
