#include "core/app/recentfilelist.h"

#include "core/app/settingsstore.h"

namespace {

QString EntryName(int nIndex)
{
    return QStringLiteral("File%1").arg(nIndex + 1);
}

}  // namespace

CRecentFileList::CRecentFileList(ISettingsStore& store, int nSize) : m_store(store), m_nSize(nSize)
{
}

void CRecentFileList::Read()
{
    m_files.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const QString sPath = m_store.ReadString(kSection, EntryName(i), QString());
        if (!sPath.isEmpty() && !m_files.contains(sPath))
            m_files.append(sPath);
    }
}

void CRecentFileList::Add(const QString& sPath)
{
    if (sPath.isEmpty())
        return;
    m_files.removeAll(sPath);
    m_files.prepend(sPath);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
    Write();
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_files.size())
        return;
    m_files.removeAt(nIndex);
    Write();
}

QString CRecentFileList::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_files.size() ? m_files[nIndex] : QString();
}

void CRecentFileList::Write() const
{
    for (int i = 0; i < m_nSize; ++i) {
        if (i < m_files.size())
            m_store.WriteString(kSection, EntryName(i), m_files[i]);
        else
            m_store.DeleteValue(kSection, EntryName(i));
    }
}
