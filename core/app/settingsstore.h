#pragma once

#include <QString>

// The per-user store of sections holding named integer and string values.
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;

    virtual int ReadInt(const QString& sSection, const QString& sName, int nDefault) const = 0;
    virtual QString ReadString(const QString& sSection, const QString& sName, const QString& sDefault) const = 0;
    virtual void WriteInt(const QString& sSection, const QString& sName, int nValue) = 0;
    virtual void WriteString(const QString& sSection, const QString& sName, const QString& sValue) = 0;
    virtual void DeleteValue(const QString& sSection, const QString& sName) = 0;
    // Pushes pending writes to the medium; false when they could not be written.
    virtual bool Flush() { return true; }
};
