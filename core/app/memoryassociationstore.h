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
    bool WriteDefault(const QString& sExt, const QString& sIdentifier) override;
    QString ReadValue(const QString& sExt, const QString& sName) const override;
    bool WriteValue(const QString& sExt, const QString& sName, const QString& sValue) override;
    bool DeleteValue(const QString& sExt, const QString& sName) override;
    bool DeleteKey(const QString& sExt) override;
    bool CreateShellNew(const QString& sExt) override;
    bool DeleteShellNew(const QString& sExt) override;

    QMap<QString, SKey> m_keys;
    // Stands for a desktop whose records cannot be written: every change
    // fails and leaves the keys as they are.
    bool m_bReadOnly = false;
};
