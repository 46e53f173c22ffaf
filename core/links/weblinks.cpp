#include "core/links/weblinks.h"

#include "core/app/appinfo.h"

namespace WebLinks {

QString VersionQuery(const QString& sVersion)
{
    return sVersion.toLower().replace(QLatin1Char(' '), QLatin1Char('='));
}

QString CommandReferenceAddress()
{
    return AppInfo::CommandReferencePage();
}

QString UpdateAddress(const QString& sVersion)
{
    return AppInfo::MakerSite() + QStringLiteral("update.php?") + VersionQuery(sVersion);
}

QString ErrorReportAddress(const QString& sVersion)
{
    return AppInfo::MakerSite() + QStringLiteral("report.php?") + VersionQuery(sVersion);
}

}  // namespace WebLinks
