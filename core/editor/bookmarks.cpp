#include "core/editor/bookmarks.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace Bookmarks {

bool Has(const CBookmarkSlots& arSlots, int nLine)
{
    return std::find(arSlots.begin(), arSlots.end(), nLine) != arSlots.end();
}

bool Toggle(CBookmarkSlots& arSlots, int nLine)
{
    for (int& nSlot : arSlots) {
        if (nSlot == nLine) {
            nSlot = -1;
            return true;
        }
    }
    for (int& nSlot : arSlots) {
        if (nSlot == -1) {
            nSlot = nLine;
            return true;
        }
    }
    return false;
}

void Shift(CBookmarkSlots& arSlots, int nOldCount, int nNewCount, int nSelLine)
{
    if (nOldCount <= 0 || nNewCount == nOldCount)
        return;
    // Stored values and line counts can be anything; in 64 bits neither the
    // distance nor a moved line can overflow.
    const qint64 nSel = nSelLine;
    const qint64 d = qint64(nNewCount) - nOldCount;
    for (int& nSlot : arSlots) {
        if (nSlot < 0)
            continue;
        qint64 nMoved = nSlot;
        if (d > 0 && nMoved > nSel - d)
            nMoved += d;
        else if (d < 0 && nMoved > nSel && nMoved <= nSel - d)
            nMoved = -1;
        else if (d < 0 && nMoved > nSel - d)
            nMoved += d;
        nSlot = nMoved < 0 || nMoved > std::numeric_limits<int>::max() ? -1 : int(nMoved);
    }
}

QString ToStored(const CBookmarkSlots& arSlots)
{
    QString sStored;
    for (int nSlot : arSlots)
        if (nSlot != -1)
            sStored += QString::number(nSlot) + QLatin1Char(',');
    return sStored;
}

namespace {

int LenientNumber(const QString& sField)
{
    qsizetype i = 0;
    while (i < sField.size() && (sField[i] == QLatin1Char(' ') || sField[i] == QLatin1Char('\t')))
        ++i;
    bool bNegative = false;
    if (i < sField.size() && (sField[i] == QLatin1Char('-') || sField[i] == QLatin1Char('+'))) {
        bNegative = sField[i] == QLatin1Char('-');
        ++i;
    }
    qint64 nValue = 0;
    for (; i < sField.size() && sField[i].isDigit() && sField[i].unicode() < 128; ++i)
        nValue = std::min<qint64>(nValue * 10 + (sField[i].unicode() - '0'), std::numeric_limits<int>::max());
    return int(bNegative ? -nValue : nValue);
}

}  // namespace

CBookmarkSlots FromStored(const QString& sStored, int nLineCount)
{
    CBookmarkSlots arSlots = EmptyBookmarks();
    QStringList fields = sStored.split(QLatin1Char(','));
    fields.removeLast();  // what follows the last comma
    for (int i = 0; i < fields.size() && i < kBookmarkSlots; ++i) {
        // The store is a text file anyone can edit, and the file may have
        // shrunk since: a bookmark past its end would only mislead.
        const int nLine = LenientNumber(fields[i]);
        if (nLine >= 0 && nLine < nLineCount)
            arSlots[i] = nLine;
    }
    return arSlots;
}

}  // namespace Bookmarks
