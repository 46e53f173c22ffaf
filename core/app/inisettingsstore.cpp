#include "core/app/inisettingsstore.h"

#include <QByteArray>

CIniSettingsStore::CIniSettingsStore(const QString& sOrganisation, const QString& sApplication)
    : m_settings(QSettings::IniFormat, QSettings::UserScope, sOrganisation, sApplication)
{
}

CIniSettingsStore::CIniSettingsStore(const QString& sFilePath) : m_settings(sFilePath, QSettings::IniFormat)
{
}

QString CIniSettingsStore::EncodeName(const QString& sName)
{
    return QString::fromLatin1(sName.toUtf8().toPercentEncoding());
}

QString CIniSettingsStore::DecodeName(const QString& sKey)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(sKey.toLatin1()));
}

QString CIniSettingsStore::Key(const QString& sSection, const QString& sName) const
{
    return sSection + QLatin1Char('/') + EncodeName(sName);
}

int CIniSettingsStore::ReadInt(const QString& sSection, const QString& sName, int nDefault) const
{
    const QVariant value = m_settings.value(Key(sSection, sName));
    bool bOk = false;
    const int nValue = value.toInt(&bOk);
    return bOk ? nValue : nDefault;
}

QString CIniSettingsStore::ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const
{
    const QVariant value = m_settings.value(Key(sSection, sName));
    return value.isValid() ? value.toString() : sDefault;
}

void CIniSettingsStore::WriteInt(const QString& sSection, const QString& sName, int nValue)
{
    m_settings.setValue(Key(sSection, sName), nValue);
}

void CIniSettingsStore::WriteString(const QString& sSection, const QString& sName, const QString& sValue)
{
    m_settings.setValue(Key(sSection, sName), sValue);
}

void CIniSettingsStore::DeleteValue(const QString& sSection, const QString& sName)
{
    m_settings.remove(Key(sSection, sName));
}

bool CIniSettingsStore::Flush()
{
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}
