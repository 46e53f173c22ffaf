#pragma once

#include "core/app/associationstore.h"

#include <QMap>

// Keeps the shell's records in memory, for tests and for desktops without a store.
class CMemoryAssociationStore : public IAssociationStore
{
public:
    struct SKey
    {
        QString sDefault;
        QMap<QString, QString> values;
        bool bShellNew = false;
    };

    bool CreateKey(const QString& sExt) override;
    bool KeyExists(const QString& sExt) const override { return m_keys.contains(sExt); }
    QString ReadDefault(const QString& sExt) const override { return m_keys.value(sExt).sDefault; }
    void WriteDefault(const QString& sExt, const QString& sIdentifier) override;
    QString ReadValue(const QString& sExt, const QString& sName) const override;
    void WriteValue(const QString& sExt, const QString& sName, const QString& sValue) override;
    void DeleteValue(const QString& sExt, const QString& sName) override;
    void DeleteKey(const QString& sExt) override { m_keys.remove(sExt); }
    bool CreateShellNew(const QString& sExt) override;
    void DeleteShellNew(const QString& sExt) override;

    QMap<QString, SKey> m_keys;
};
