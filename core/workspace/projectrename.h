#pragma once

#include <QString>

#include <optional>

namespace ProjectRename {

// Where a project file goes when the user renames it to sEntered: the
// characters no file name may hold are dropped, and a name typed without an
// extension keeps the old one. Nothing when the rename would change nothing:
// an empty name, one of dots only, the name the file shows now, or its own path.
std::optional<QString> NewPath(const QString& sOldPath, const QString& sDisplayName, const QString& sEntered);

}  // namespace ProjectRename
