#pragma once

#include "core/app/settingsstore.h"

#include <QMap>
#include <QStringList>
#include <QVariant>

// A store that lives only as long as the object; tests read back what was
// written and in which order.
class CMemorySettingsStore : public ISettingsStore
{
public:
    int ReadInt(const QString& sSection, const QString& sName, int nDefault) const override;
    QString ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const override;
    void WriteInt(const QString& sSection, const QString& sName, int nValue) override;
    void WriteString(const QString& sSection, const QString& sName, const QString& sValue) override;
    void DeleteValue(const QString& sSection, const QString& sName) override;
    // A medium that takes nothing more, as a full disk or a read-only file does.
    bool Flush() override { return !m_bRefuseFlush; }
    bool m_bRefuseFlush = false;

    bool Contains(const QString& sSection, const QString& sName) const;
    // "Section/Name" of every write, oldest first.
    const QStringList& WriteLog() const { return m_writeLog; }
    void ClearWriteLog() { m_writeLog.clear(); }

private:
    QMap<QString, QMap<QString, QVariant>> m_sections;
    QStringList m_writeLog;
};
