#include "core/app/inisettingsstore.h"

#include <QByteArray>

CIniSettingsStore::CIniSettingsStore(const QString& sOrganisation, const QString& sApplication)
    : m_pSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, sOrganisation, sApplication))
{
}

CIniSettingsStore::CIniSettingsStore(const QString& sFilePath)
    : m_pSettings(std::make_unique<QSettings>(sFilePath, QSettings::IniFormat))
{
}

QString CIniSettingsStore::EncodeName(const QString& sName)
{
    return QString::fromLatin1(sName.toUtf8().toPercentEncoding());
}

QString CIniSettingsStore::Key(const QString& sSection, const QString& sName) const
{
    return sSection + QLatin1Char('/') + EncodeName(sName);
}

int CIniSettingsStore::ReadInt(const QString& sSection, const QString& sName, int nDefault) const
{
    const QVariant value = m_pSettings->value(Key(sSection, sName));
    bool bOk = false;
    const int nValue = value.toInt(&bOk);
    return bOk ? nValue : nDefault;
}

QString CIniSettingsStore::ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const
{
    const QVariant value = m_pSettings->value(Key(sSection, sName));
    return value.isValid() ? value.toString() : sDefault;
}

void CIniSettingsStore::WriteInt(const QString& sSection, const QString& sName, int nValue)
{
    m_pSettings->setValue(Key(sSection, sName), nValue);
}

void CIniSettingsStore::WriteString(const QString& sSection, const QString& sName, const QString& sValue)
{
    m_pSettings->setValue(Key(sSection, sName), sValue);
}

void CIniSettingsStore::DeleteValue(const QString& sSection, const QString& sName)
{
    m_pSettings->remove(Key(sSection, sName));
}

bool CIniSettingsStore::Flush()
{
    if (m_bFlushFailed) {
        // Made while the old object lives, the new one shares its unwritten values.
        auto pFresh = std::make_unique<QSettings>(m_pSettings->fileName(), QSettings::IniFormat);
        m_pSettings = std::move(pFresh);
    }
    m_pSettings->sync();
    m_bFlushFailed = m_pSettings->status() != QSettings::NoError;
    return !m_bFlushFailed;
}
