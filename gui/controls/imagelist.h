#pragma once

#include <QIcon>

// The 16-pixel images shared by the project tree, the snippets tree and the
// script tabs, by their slot (see EImage and FileTypeImage).
QIcon ImageListIcon(int nImage);
