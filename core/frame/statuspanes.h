#pragma once

#include "core/data/filetype.h"

#include <QString>

// The texts of the status bar's position, type and game panes.
namespace StatusPanes {

// Lines and columns are zero-based; the panes count from one.
QString LineText(int nLine1, int nLine2);
// col2 is shown as it is, so the first five characters of a line read "Ch: 1-5".
QString ColumnText(int nLine1, int nCol1, int nLine2, int nCol2);
QString TypeText(EFileType eType);
QString GameText(bool bVelk);

}  // namespace StatusPanes
