#pragma once

#include <QString>

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

QString LoadErrorMessage();

}  // namespace AppInfo
