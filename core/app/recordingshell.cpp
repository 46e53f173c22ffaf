#include "core/app/recordingshell.h"

bool CRecordingShell::OpenUrl(const QString& sUrl)
{
    m_calls.append({SCall::EKind::OpenUrl, sUrl, {}, {}});
    return m_bResult;
}

bool CRecordingShell::StartProgram(const QString& sProgram, const QStringList& args, const QString& sWorkingDir)
{
    m_calls.append({SCall::EKind::StartProgram, sProgram, args, sWorkingDir});
    return m_bResult;
}
