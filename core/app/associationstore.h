#pragma once

#include <QString>

// The shell's record of each file extension: a default handler identifier,
// named values beside it, and for .sqs the "New" menu entry. Every change
// returns false when it could not be written, so the user can be told.
class IAssociationStore
{
public:
    virtual ~IAssociationStore() = default;

    // Opens or creates the extension's entry; false when it cannot.
    virtual bool CreateKey(const QString& sExt) = 0;
    virtual bool KeyExists(const QString& sExt) const = 0;
    // The current default identifier; empty when there is none.
    virtual QString ReadDefault(const QString& sExt) const = 0;
    virtual bool WriteDefault(const QString& sExt, const QString& sIdentifier) = 0;
    virtual QString ReadValue(const QString& sExt, const QString& sName) const = 0;
    virtual bool WriteValue(const QString& sExt, const QString& sName, const QString& sValue) = 0;
    // Deleting what is not there is no failure.
    virtual bool DeleteValue(const QString& sExt, const QString& sName) = 0;
    // Removes the entry and everything under it.
    virtual bool DeleteKey(const QString& sExt) = 0;
    // The shell "New" entry that creates an empty file of the extension.
    virtual bool CreateShellNew(const QString& sExt) = 0;
    virtual bool DeleteShellNew(const QString& sExt) = 0;

    // What the last failed change could not write, in words for the user;
    // empty when the store cannot say.
    virtual QString LastError() const { return QString(); }
};
