#include "core/app/memorysettingsstore.h"

int CMemorySettingsStore::ReadInt(const QString& sSection, const QString& sName, int nDefault) const
{
    const QVariant value = m_sections.value(sSection).value(sName);
    bool bOk = false;
    const int nValue = value.toInt(&bOk);
    return bOk ? nValue : nDefault;
}

QString CMemorySettingsStore::ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const
{
    const QVariant value = m_sections.value(sSection).value(sName);
    return value.isValid() ? value.toString() : sDefault;
}

void CMemorySettingsStore::WriteInt(const QString& sSection, const QString& sName, int nValue)
{
    m_sections[sSection][sName] = nValue;
    m_writeLog.append(sSection + QLatin1Char('/') + sName);
}

void CMemorySettingsStore::WriteString(const QString& sSection, const QString& sName, const QString& sValue)
{
    m_sections[sSection][sName] = sValue;
    m_writeLog.append(sSection + QLatin1Char('/') + sName);
}

void CMemorySettingsStore::DeleteValue(const QString& sSection, const QString& sName)
{
    auto it = m_sections.find(sSection);
    if (it != m_sections.end())
        it->remove(sName);
}

bool CMemorySettingsStore::Contains(const QString& sSection, const QString& sName) const
{
    return m_sections.value(sSection).contains(sName);
}
