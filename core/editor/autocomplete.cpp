#include "core/editor/autocomplete.h"

#include "core/data/sortstringarray.h"

namespace AutoComplete {

namespace {

// Asked of every entry at every keystroke: a view, never a copy.
bool BeginsWith(QStringView sEntry, QStringView sPrefix)
{
    return sEntry.size() >= sPrefix.size() && CompareNoCase(sEntry.left(sPrefix.size()), sPrefix) == 0;
}

}  // namespace

QString Suggestion(const CSortStringArray& list, const QString& sWord)
{
    if (sWord.isEmpty())
        return QString();
    // An entry that begins with the word equals it ignoring case exactly
    // when it is no longer.
    for (const QString& sEntry : list)
        if (sEntry.size() > sWord.size() && BeginsWith(sEntry, sWord))
            return sEntry.mid(sWord.size());
    return QString();
}

QString Neighbour(const CSortStringArray& list, const QString& sWhole, const QString& sTyped, bool bBack)
{
    const int i = list.Find(sWhole);
    if (i < 0)
        return QString();
    const int nNext = bBack ? i - 1 : i + 1;
    if (nNext < 0 || nNext >= list.size())
        return QString();
    const QString& sEntry = list[nNext];
    if (!BeginsWith(sEntry, sTyped) || CompareNoCase(sEntry, sTyped) == 0)
        return QString();
    return sEntry.mid(sTyped.size());
}

bool IsWordKey(int nKey, bool bKeypad)
{
    if (bKeypad)
        return false;
    return (nKey >= '0' && nKey <= '9') || (nKey >= 'A' && nKey <= 'Z') || nKey == '-' || nKey == '_';
}

}  // namespace AutoComplete
