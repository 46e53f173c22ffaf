#include "core/app/memoryassociationstore.h"

bool CMemoryAssociationStore::CreateKey(const QString& sExt)
{
    m_keys[sExt];
    return true;
}

void CMemoryAssociationStore::WriteDefault(const QString& sExt, const QString& sIdentifier)
{
    auto it = m_keys.find(sExt);
    if (it != m_keys.end())
        it->sDefault = sIdentifier;
}

QString CMemoryAssociationStore::ReadValue(const QString& sExt, const QString& sName) const
{
    return m_keys.value(sExt).values.value(sName);
}

void CMemoryAssociationStore::WriteValue(const QString& sExt, const QString& sName, const QString& sValue)
{
    auto it = m_keys.find(sExt);
    if (it != m_keys.end())
        it->values[sName] = sValue;
}

void CMemoryAssociationStore::DeleteValue(const QString& sExt, const QString& sName)
{
    auto it = m_keys.find(sExt);
    if (it != m_keys.end())
        it->values.remove(sName);
}

bool CMemoryAssociationStore::CreateShellNew(const QString& sExt)
{
    m_keys[sExt].bShellNew = true;
    return true;
}

void CMemoryAssociationStore::DeleteShellNew(const QString& sExt)
{
    auto it = m_keys.find(sExt);
    if (it != m_keys.end())
        it->bShellNew = false;
}
