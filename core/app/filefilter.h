#pragma once

#include <QString>

// The filter of the Open and Add Project Files dialogs in its stored
// "name|patterns|" form.
QString GetFileFilter();
// The same filter as a file dialog wants it: one "name (patterns)" per line,
// ";;" between them. "*.*" means every file here, dot or not.
QString DialogFilter(const QString& sBarFilter);
