#pragma once

#include <QString>

class CSortStringArray;

// The word-list rules of the inline suggestion.
namespace AutoComplete {

// The rest of the first list entry that begins with sWord (ignoring case)
// and is longer than it; empty when there is none.
QString Suggestion(const CSortStringArray& list, const QString& sWord);
// Stepping from the entry sWhole to its neighbour: the rest after sTyped of
// the entry before (bBack) or after it, when that one still begins with
// sTyped and differs from it; empty otherwise.
QString Neighbour(const CSortStringArray& list, const QString& sWhole, const QString& sTyped, bool bBack);
// Digits and letters, and the key of "-" and "_"; never the keypad's.
bool IsWordKey(int nKey, bool bKeypad);

}  // namespace AutoComplete
