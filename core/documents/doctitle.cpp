#include "core/documents/doctitle.h"

#include <QFileInfo>

namespace DocTitle {

QString WithoutExtension(const QString& sName)
{
    const qsizetype nDot = sName.lastIndexOf(QLatin1Char('.'));
    return nDot < 0 ? sName : sName.left(nDot);
}

QString Compute(const QString& sPath, const QString& sNewName, bool bShowExt)
{
    const QString sTitle = sPath.isEmpty() ? sNewName : QFileInfo(sPath).fileName();
    return bShowExt ? sTitle : WithoutExtension(sTitle);
}

QString StripStars(const QString& sTitle)
{
    qsizetype nEnd = sTitle.size();
    while (nEnd > 0 && sTitle[nEnd - 1] == QLatin1Char('*'))
        --nEnd;
    return sTitle.left(nEnd);
}

QString ListName(const QString& sPath, const QString& sTitle)
{
    return sPath.isEmpty() ? StripStars(sTitle) : QFileInfo(sPath).fileName();
}

QString Marked(const QString& sTitle, bool bModified)
{
    const QString sBare = StripStars(sTitle);
    return bModified ? sBare + QLatin1Char('*') : sBare;
}

SSaveFrame BeforeSave(const QString& sTitle, bool bShowExt, bool bHasPath)
{
    SSaveFrame frame{StripStars(sTitle), QString()};
    if (bShowExt && !bHasPath) {
        const qsizetype nDot = frame.sTitle.lastIndexOf(QLatin1Char('.'));
        if (nDot >= 0) {
            frame.sExtension = frame.sTitle.mid(nDot);
            frame.sTitle.truncate(nDot);
        }
    }
    return frame;
}

QString AfterSave(const SSaveFrame& frame, const QString& sPathAfter, bool bShowExt, bool bModified)
{
    QString sTitle;
    if (sPathAfter.isEmpty())
        sTitle = bShowExt ? frame.sTitle + frame.sExtension : frame.sTitle;
    else
        sTitle = Compute(sPathAfter, QString(), bShowExt);
    return bModified ? sTitle + QLatin1Char('*') : sTitle;
}

}  // namespace DocTitle
