#pragma once

#include <QStringList>

class ISettingsStore;

// The most recently opened files, newest first, kept in the settings store
// after every change so a crash does not forget them.
class CRecentFileList
{
public:
    CRecentFileList(ISettingsStore& store, int nSize);

    void Read();
    void Add(const QString& sPath);
    void Remove(int nIndex);
    QString GetAt(int nIndex) const;
    int Count() const { return int(m_files.size()); }

    static inline const QString kSection = QStringLiteral("Recent File List");

private:
    void Write() const;

    ISettingsStore& m_store;
    int m_nSize;
    QStringList m_files;
};
