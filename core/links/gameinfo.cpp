#include "core/links/gameinfo.h"

#include "core/documents/doctypes.h"

const SGameInfo& GameInfo(bool bVelk)
{
    static const SGameInfo velk{GameTitle(true), QStringLiteral("Velk.exe"),
                                QStringLiteral("Software\\Pellworth Studio\\Velk"), QStringLiteral("MAIN")};
    static const SGameInfo qonmar{GameTitle(false), QStringLiteral("QonmarHoldout.exe"),
                                  QStringLiteral("Software\\Dunmoor\\Qonmar Front"), QStringLiteral("MAIN")};
    return bVelk ? velk : qonmar;
}
