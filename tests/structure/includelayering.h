#pragma once

#include <QStringList>

// Reads the include lines of a source tree and lists every one that breaks the
// direction the layers and the gui folders may depend on each other:
//   core never includes gui/ or app/, gui never includes app/ (main()),
//   inside gui/: app -> frame -> feature folders -> documents -> editor -> controls,
//   and feature folders include each other only without a cycle.
// Each entry is a sentence a person can act on, naming the file and the include.
namespace IncludeLayering {

QStringList FindViolations(const QString& sRootDir);

}  // namespace IncludeLayering
