#pragma once

#include <QString>
#include <QStringList>

class ISettingsStore;

// Names under which the program presents itself and keeps its settings.
namespace AppInfo {

inline const QString kTitle = QStringLiteral("Velk Edit");
inline const QString kCompany = QStringLiteral("Tamrinsoft");
inline const QString kVersion = QStringLiteral("Version 1.3.4000");
inline const QString kMakerSite = QStringLiteral("https://www.tamrinsoft.net/velkedit/");
inline const QString kDownloadPage = kMakerSite + QStringLiteral("download.php");
// The community site that keeps the command reference.
inline const QString kCommandReferenceHost = QStringLiteral("cmdref.velk-community.org");
// Its index page; a command's help is this page listing the commands of one letter.
inline const QString kCommandReferencePage
    = QStringLiteral("https://") + kCommandReferenceHost + QStringLiteral("/COMREF/index.php");

// The user may point the links at other sites (a mirror, a copy on the
// local network) with these two values of the settings file's "Settings"
// section: the full address of the command reference's index page, and the
// folder of the maker's site that holds its update and report pages.
inline const QString kCommandReferenceUrlName = QStringLiteral("CommandReferenceUrl");
inline const QString kMakerSiteUrlName = QStringLiteral("MakerSiteUrl");

// The sites in use: the ones above unless the settings file names others.
// Every address the program builds on them starts from these two.
QString CommandReferencePage();
QString MakerSite();  // ends in "/"

struct SSiteOverrides
{
    QString sCommandReferencePage;
    QString sMakerSite;
    QStringList ignored;  // values that name no web address, with why, for the trace
};
// The two values as the store holds them; an empty or unusable value leaves
// its site as shipped.
SSiteOverrides ReadSiteOverrides(const ISettingsStore& store);
// From now on the sites are the given ones (empty: the shipped site).
void UseSites(const SSiteOverrides& overrides);

QString LoadErrorMessage();

}  // namespace AppInfo
