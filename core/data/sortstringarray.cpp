#include "core/data/sortstringarray.h"

#include "core/data/codepage.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

inline int FoldedOrder(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 'A' && u <= 'Z')
        return u + ('a' - 'A');
    return CodePage::ByteOrder(c);
}

template <typename Order> int CompareBy(QStringView a, QStringView b, Order order)
{
    const qsizetype nLen = std::min(a.size(), b.size());
    const char16_t* pA = a.utf16();
    const char16_t* pB = b.utf16();
    for (qsizetype i = 0; i < nLen; ++i) {
        // Equal characters are equal in either order; only a difference
        // needs the code page.
        if (pA[i] == pB[i])
            continue;
        const int nA = order(a[i]);
        const int nB = order(b[i]);
        if (nA != nB)
            return nA < nB ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

int CompareCase(QStringView a, QStringView b)
{
    return CompareBy(a, b, [](QChar c) { return CodePage::ByteOrder(c); });
}

int CompareNoCase(QStringView a, QStringView b)
{
    return CompareBy(a, b, FoldedOrder);
}

QString FoldAscii(QStringView s)
{
    QString sFolded = s.toString();
    for (QChar& c : sFolded) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z')
            c = QChar(char16_t(u + ('a' - 'A')));
    }
    return sFolded;
}

int CSortStringArray::Find(const QString& sItem, int nStart, bool bMatchCase) const
{
    for (qsizetype i = std::max(nStart, 0); i < size(); ++i) {
        const QString& sEntry = at(i);
        if (bMatchCase ? sEntry == sItem : CompareNoCase(sEntry, sItem) == 0)
            return int(i);
    }
    return -1;
}

int CSortStringArray::InsertSorted(const QString& sItem)
{
    for (qsizetype i = 0; i < size(); ++i) {
        const QString& sEntry = at(i);
        if (CompareNoCase(sEntry, sItem) == 0)
            return -1;
        if (CompareCase(sEntry, sItem) > 0) {
            insert(i, sItem);
            return int(i);
        }
    }
    return -1;
}

void CSortStringArray::Sort()
{
    if (size() < 2)
        return;
    // A stable sort keeps the first of a run of case-insensitive equals in
    // front, and that is the one the dictionary has always kept.
    std::vector<int> order(size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) { return CompareNoCase(at(a), at(b)) < 0; });
    QStringList sorted;
    sorted.reserve(size());
    for (int i : order) {
        const QString& sEntry = at(i);
        if (sEntry.isEmpty())
            continue;
        if (!sorted.isEmpty() && CompareNoCase(sorted.constLast(), sEntry) == 0)
            continue;
        sorted.append(sEntry);
    }
    QStringList::operator=(std::move(sorted));
}
