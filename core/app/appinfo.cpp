#include "core/app/appinfo.h"

namespace AppInfo {

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
