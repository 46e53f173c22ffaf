#include "core/frame/statuspanes.h"

namespace StatusPanes {

QString LineText(int nLine1, int nLine2)
{
    if (nLine1 == nLine2)
        return QStringLiteral("Ln: %1").arg(nLine1 + 1);
    return QStringLiteral("Ln: %1-%2").arg(nLine1 + 1).arg(nLine2 + 1);
}

QString ColumnText(int nLine1, int nCol1, int nLine2, int nCol2)
{
    if (nLine1 == nLine2 && nCol1 == nCol2)
        return QStringLiteral("Ch: %1").arg(nCol1 + 1);
    return QStringLiteral("Ch: %1-%2").arg(nCol1 + 1).arg(nCol2);
}

QString TypeText(EFileType eType)
{
    static const char* const kNames[] = {"SQS", "SQF", "EXT", "HTML", "CSV", "DAT", "TXT"};
    return QLatin1String(kNames[eType]);
}

QString GameText(bool bVelk)
{
    return bVelk ? QStringLiteral("VELK") : QStringLiteral("QON");
}

}  // namespace StatusPanes
