#pragma once

#include <QString>

// Where a search matched: the start and length in the text, or no match.
struct STextMatch
{
    int nStart = -1;
    int nLength = 0;

    bool IsFound() const { return nStart >= 0; }
    int End() const { return nStart + nLength; }
    bool operator==(const STextMatch&) const = default;
};

struct STextSearchOptions
{
    bool bMatchCase = false;
    // The match stands alone: the characters on either side of it, where
    // there are any, are not word characters of the scripting language.
    bool bWholeWord = false;
    bool bForward = true;
};

// Plain-text search in one text, the way the editor finds things.
namespace TextSearch {

// Forward: the first match starting at or after nFrom. Backward: the last
// match ending at or before nFrom, so a search from the end of a selection
// can find the selection itself. An empty pattern matches nothing.
STextMatch FindNext(QStringView text, QStringView pattern, int nFrom, const STextSearchOptions& options);
// Whether text[nStart, nStart + nLength) has no word character right beside it.
bool IsWholeWord(QStringView text, int nStart, int nLength);

}  // namespace TextSearch
