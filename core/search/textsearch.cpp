#include "core/search/textsearch.h"

#include "core/editor/colourer.h"

#include <algorithm>

namespace TextSearch {

bool IsWholeWord(QStringView text, int nStart, int nLength)
{
    const int nEnd = nStart + nLength;
    if (nStart > 0 && CColourer::IsWordChar(text[nStart - 1], false))
        return false;
    return nEnd >= text.size() || !CColourer::IsWordChar(text[nEnd], false);
}

STextMatch FindNext(QStringView text, QStringView pattern, int nFrom, const STextSearchOptions& options)
{
    const int nTextLength = int(text.size());
    const int nLength = int(pattern.size());
    if (nLength == 0 || nLength > nTextLength)
        return {};
    const Qt::CaseSensitivity eCase = options.bMatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int nLastStart = nTextLength - nLength;
    // Each candidate is the text's own search; a candidate that is part of a
    // longer word only moves the search one character on.
    if (options.bForward) {
        for (int nAt = std::max(nFrom, 0); nAt <= nLastStart; ++nAt) {
            nAt = int(text.indexOf(pattern, nAt, eCase));
            if (nAt < 0)
                break;
            if (!options.bWholeWord || IsWholeWord(text, nAt, nLength))
                return {nAt, nLength};
        }
    } else {
        for (int nAt = std::min(nFrom, nTextLength) - nLength; nAt >= 0; --nAt) {
            nAt = int(text.lastIndexOf(pattern, nAt, eCase));
            if (nAt < 0)
                break;
            if (!options.bWholeWord || IsWholeWord(text, nAt, nLength))
                return {nAt, nLength};
        }
    }
    return {};
}

}  // namespace TextSearch
