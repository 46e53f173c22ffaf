#pragma once

#include <QString>
#include <QStringList>

// Orders by byte value as the files hold them; the no-case form folds only the
// ASCII letters, which is what the dictionary's users expect of "ignore case".
int CompareCase(QStringView a, QStringView b);
int CompareNoCase(QStringView a, QStringView b);
inline int CompareCase(const QString& a, const QString& b)
{
    return CompareCase(QStringView(a), QStringView(b));
}
inline int CompareNoCase(const QString& a, const QString& b)
{
    return CompareNoCase(QStringView(a), QStringView(b));
}
// The key under which two strings are equal exactly when CompareNoCase says so.
QString FoldAscii(QStringView s);

class CSortStringArray : public QStringList
{
public:
    using QStringList::QStringList;
    CSortStringArray() = default;
    CSortStringArray(const QStringList& list) : QStringList(list) { }

    // Linear on purpose: callers rely on the first hit from nStart, sorted or not.
    int Find(const QString& sItem, int nStart = 0, bool bMatchCase = false) const;
    // Returns the new index, or -1 when a case-insensitive equal was met first
    // or no greater entry exists (so nothing is appended at the end).
    int InsertSorted(const QString& sItem);
    // Ascending ignoring case; of entries equal ignoring case the first one
    // survives; empty entries are dropped.
    void Sort();
};
