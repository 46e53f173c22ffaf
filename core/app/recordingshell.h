#pragma once

#include "core/app/shell.h"

#include <QList>

// Starts nothing: remembers every request, in order, and answers with m_bResult,
// so tests see what would have been opened or started.
class CRecordingShell : public IShell
{
public:
    struct SCall
    {
        enum class EKind { OpenUrl, StartProgram };
        EKind eKind;
        QString sTarget;  // the address, or the program
        QStringList args;
        QString sWorkingDir;

        bool operator==(const SCall&) const = default;
    };

    bool OpenUrl(const QString& sUrl) override;
    bool StartProgram(const QString& sProgram, const QStringList& args, const QString& sWorkingDir) override;

    QList<SCall> m_calls;
    bool m_bResult = true;
};
