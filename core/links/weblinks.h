#pragma once

#include <QString>

// The addresses of the web links, on the sites AppInfo names (or the ones the
// user put in their place).
namespace WebLinks {

// "Version 1.3.4000" becomes "version=1.3.4000": lower case, every blank an "=".
QString VersionQuery(const QString& sVersion);

QString CommandReferenceAddress();
QString UpdateAddress(const QString& sVersion);
QString ErrorReportAddress(const QString& sVersion);

}  // namespace WebLinks
