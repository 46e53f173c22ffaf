#pragma once

#include "core/app/settingsstore.h"

#include <QSettings>

#include <memory>

// The store on disk: an INI file in the user's configuration folder.
class CIniSettingsStore : public ISettingsStore
{
public:
    // The user's own file for organisation and application.
    CIniSettingsStore(const QString& sOrganisation, const QString& sApplication);
    // A file of the caller's choosing (tests, portable set-ups).
    explicit CIniSettingsStore(const QString& sFilePath);

    int ReadInt(const QString& sSection, const QString& sName, int nDefault) const override;
    QString ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const override;
    void WriteInt(const QString& sSection, const QString& sName, int nValue) override;
    void WriteString(const QString& sSection, const QString& sName, const QString& sValue) override;
    void DeleteValue(const QString& sSection, const QString& sName) override;
    bool Flush() override;

    // Value names may be file paths; QSettings would read their slashes as
    // groups, so names are percent-encoded, which leaves plain names as they are.
    static QString EncodeName(const QString& sName);

private:
    QString Key(const QString& sSection, const QString& sName) const;

    // QSettings keeps a failed write's error for its whole life, so after a
    // failure the next flush goes through a fresh object on the same file,
    // which still holds the unwritten values.
    std::unique_ptr<QSettings> m_pSettings;
    bool m_bFlushFailed = false;
};
