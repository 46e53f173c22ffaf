#include "core/app/meminfo.h"

#include <QFile>
#include <QRegularExpression>

namespace MemInfo {

QString GroupDigits(qint64 nValue)
{
    QString sDigits = QString::number(qAbs(nValue));
    for (qsizetype i = sDigits.size() - 3; i > 0; i -= 3)
        sDigits.insert(i, QLatin1Char(','));
    return nValue < 0 ? QLatin1Char('-') + sDigits : sDigits;
}

QString MemoryText(qint64 nTotalBytes, qint64 nAvailBytes)
{
    const qint64 nTotal = nTotalBytes / 1000000;
    const qint64 nAvail = nAvailBytes / 1000000;
    return QStringLiteral("Total Memory:\t%1 Mb\nUsed Memory:\t%2 Mb\nAvail Memory:\t%3 Mb")
        .arg(GroupDigits(nTotal), GroupDigits(nTotal - nAvail), GroupDigits(nAvail));
}

bool Read(qint64* pnTotalBytes, qint64* pnAvailBytes, const QString& sPath)
{
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression reLine(QStringLiteral("^(\\w+):\\s+(\\d+)\\s*kB"));
    qint64 nTotal = -1;
    qint64 nAvail = -1;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QRegularExpressionMatch match = reLine.match(QString::fromLatin1(line));
        if (!match.hasMatch())
            continue;
        const qint64 nBytes = match.captured(2).toLongLong() * 1024;
        if (match.captured(1) == QLatin1String("MemTotal"))
            nTotal = nBytes;
        else if (match.captured(1) == QLatin1String("MemAvailable"))
            nAvail = nBytes;
    }
    if (nTotal < 0 || nAvail < 0)
        return false;
    *pnTotalBytes = nTotal;
    *pnAvailBytes = nAvail;
    return true;
}

}  // namespace MemInfo
