#pragma once

#include <QString>

// Names the user types for project files and snippets become file names, so
// the characters no file name may hold are kept out of them.
namespace NameChars {

inline const QString kForbidden = QStringLiteral("\\/:*?|\"<>");

// The name without any forbidden character; empty when nothing else was typed.
QString Strip(const QString& sName);

}  // namespace NameChars
