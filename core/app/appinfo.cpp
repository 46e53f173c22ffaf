#include "core/app/appinfo.h"

#include "core/app/settings.h"
#include "core/app/settingsstore.h"

#include <QUrl>

namespace {

struct SSites
{
    QString sCommandReferencePage;
    QString sMakerSite;
};

// Read once at start-up, before the first link is followed; the program has
// one thread, so nothing else touches it meanwhile.
SSites& Sites()
{
    static SSites sites;
    return sites;
}

// Why sValue cannot stand in for a site's address; empty when it can. The
// program appends its own query to both, so one of the user's would be lost.
QString Unusable(const QString& sValue)
{
    const QUrl url(sValue, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return QStringLiteral("it is no complete address");
    const QString sScheme = url.scheme().toLower();
    if (sScheme != QLatin1String("http") && sScheme != QLatin1String("https") && sScheme != QLatin1String("file"))
        return QStringLiteral("it is no web or file address");
    if (sScheme != QLatin1String("file") && url.host().isEmpty())
        return QStringLiteral("it names no host");
    if (url.hasQuery() || url.hasFragment())
        return QStringLiteral("the program adds its own query to it");
    return QString();
}

QString ReadOverride(const ISettingsStore& store, const QString& sName, QStringList* pIgnored)
{
    const QString sValue = store.ReadString(kSettingsSection, sName, QString()).trimmed();
    if (sValue.isEmpty())
        return QString();
    const QString sWhy = Unusable(sValue);
    if (sWhy.isEmpty())
        return sValue;
    pIgnored->append(QStringLiteral("%1=%2 is ignored: %3").arg(sName, sValue, sWhy));
    return QString();
}

}  // namespace

namespace AppInfo {

QString CommandReferencePage()
{
    const QString& sPage = Sites().sCommandReferencePage;
    return sPage.isEmpty() ? kCommandReferencePage : sPage;
}

QString MakerSite()
{
    const QString& sSite = Sites().sMakerSite;
    if (sSite.isEmpty())
        return kMakerSite;
    return sSite.endsWith(QLatin1Char('/')) ? sSite : sSite + QLatin1Char('/');
}

SSiteOverrides ReadSiteOverrides(const ISettingsStore& store)
{
    SSiteOverrides overrides;
    overrides.sCommandReferencePage = ReadOverride(store, kCommandReferenceUrlName, &overrides.ignored);
    overrides.sMakerSite = ReadOverride(store, kMakerSiteUrlName, &overrides.ignored);
    return overrides;
}

void UseSites(const SSiteOverrides& overrides)
{
    Sites() = {overrides.sCommandReferencePage, overrides.sMakerSite};
}

QString LoadErrorMessage()
{
    return QStringLiteral("There were some errors while loading the data files.\n"
                          "The application is not going to function properly.\n"
                          "Please reinstall the application or undo your latest\n"
                          "data file changes to repair.\n\n"
                          "Download the latest version at:\n")
        + kDownloadPage;
}

}  // namespace AppInfo
