#include "core/app/memoryassociationstore.h"

bool CMemoryAssociationStore::CreateKey(const QString& sExt)
{
    if (m_bReadOnly)
        return m_keys.contains(sExt);
    m_keys[sExt];
    return true;
}

bool CMemoryAssociationStore::WriteDefault(const QString& sExt, const QString& sIdentifier)
{
    auto it = m_keys.find(sExt);
    if (m_bReadOnly || it == m_keys.end())
        return false;
    it->sDefault = sIdentifier;
    return true;
}

QString CMemoryAssociationStore::ReadValue(const QString& sExt, const QString& sName) const
{
    return m_keys.value(sExt).values.value(sName);
}

bool CMemoryAssociationStore::WriteValue(const QString& sExt, const QString& sName, const QString& sValue)
{
    auto it = m_keys.find(sExt);
    if (m_bReadOnly || it == m_keys.end())
        return false;
    it->values[sName] = sValue;
    return true;
}

bool CMemoryAssociationStore::DeleteValue(const QString& sExt, const QString& sName)
{
    auto it = m_keys.find(sExt);
    if (it == m_keys.end() || !it->values.contains(sName))
        return true;
    if (m_bReadOnly)
        return false;
    it->values.remove(sName);
    return true;
}

bool CMemoryAssociationStore::DeleteKey(const QString& sExt)
{
    if (!m_keys.contains(sExt))
        return true;
    if (m_bReadOnly)
        return false;
    m_keys.remove(sExt);
    return true;
}

bool CMemoryAssociationStore::CreateShellNew(const QString& sExt)
{
    if (m_bReadOnly)
        return m_keys.value(sExt).bShellNew;
    m_keys[sExt].bShellNew = true;
    return true;
}

bool CMemoryAssociationStore::DeleteShellNew(const QString& sExt)
{
    auto it = m_keys.find(sExt);
    if (it == m_keys.end() || !it->bShellNew)
        return true;
    if (m_bReadOnly)
        return false;
    it->bShellNew = false;
    return true;
}
