#pragma once

#include "core/editor/undohistory.h"

#include <QString>

// The arithmetic of the view's 32 bookmark arSlots; -1 is an empty slot.
namespace Bookmarks {

// Removes the line's bookmark or puts it in the first free slot; false
// when every slot is taken.
bool Toggle(CBookmarkSlots& arSlots, int nLine);
bool Has(const CBookmarkSlots& arSlots, int nLine);
// Follows a change of the line count from nOldCount to nNewCount made at
// the line nSelLine: lines below an insertion move down, the lines a
// deletion removed lose their bookmarks and those below move up. A slot
// holding no line (negative) is left alone, and a bookmark pushed past the
// last line an int can number is dropped.
void Shift(CBookmarkSlots& arSlots, int nOldCount, int nNewCount, int nSelLine);

// "3,17," : each occupied slot in slot order, each followed by a comma.
QString ToStored(const CBookmarkSlots& arSlots);
// Every field before a comma, read as a decimal number the lenient way
// (leading blanks skipped, digits up to the first other character, 0 when
// none); text after the last comma is ignored, at most 32 fields. A field
// naming no line of a document of nLineCount lines leaves its slot empty.
CBookmarkSlots FromStored(const QString& sStored, int nLineCount);

}  // namespace Bookmarks
