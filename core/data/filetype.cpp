#include "core/data/filetype.h"

#include <QFileInfo>

QString LowerExtension(const QString& sPath)
{
    const QString sName = QFileInfo(sPath).fileName();
    const qsizetype nDot = sName.lastIndexOf(QLatin1Char('.'));
    return nDot < 0 ? QString() : sName.mid(nDot).toLower();
}

EFileType FileTypeOfExtension(const QString& sExtension)
{
    const QString sExt = sExtension.toLower();
    if (sExt == QLatin1String(".sqs"))
        return kFileSQS;
    if (sExt == QLatin1String(".sqf"))
        return kFileSQF;
    if (sExt == QLatin1String(".ext"))
        return kFileEXT;
    if (sExt == QLatin1String(".html") || sExt == QLatin1String(".htm"))
        return kFileHTML;
    if (sExt == QLatin1String(".csv"))
        return kFileCSV;
    if (sExt == QLatin1String(".dat"))
        return kFileDAT;
    return kFileTXT;
}

int FileTypeImage(EFileType eType, bool bOpen)
{
    int nImage = 12;
    switch (eType) {
    case kFileSQS:
    case kFileSQF:
        nImage = 4;
        break;
    case kFileEXT:
        nImage = 6;
        break;
    case kFileHTML:
        nImage = 8;
        break;
    case kFileCSV:
    case kFileDAT:
        nImage = 10;
        break;
    case kFileTXT:
        break;
    }
    return nImage + (bOpen ? 1 : 0);
}

int FileTypeImage(const QString& sPath, bool bOpen)
{
    return FileTypeImage(FileTypeOfExtension(LowerExtension(sPath)), bOpen);
}
