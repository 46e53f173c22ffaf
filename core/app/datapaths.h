#pragma once

#include <QString>

#include <optional>

// Where the data files live. m_sAppPath always ends in a separator.
struct CDataPaths
{
    QString m_sAppPath;
    QString m_sProjectFile;
    QString m_sCommandsFile;
    QString m_sUnitFile;
    QString m_sHeaderFile;
    QString m_sSnippetsPath;

    static CDataPaths FromAppPath(const QString& sAppPath);

    // The executable's folder when it holds commands.dat and can be written to
    // (a portable copy, the build tree); otherwise the per-user data folder,
    // filled from the shipped defaults while it lacks commands.dat.
    // bExeDirWritable overrides the file system's answer, which is always yes for root.
    static QString ChooseAppPath(const QString& sExeDir, const QString& sUserDataDir, const QString& sDefaultsDir,
                                 std::optional<bool> bExeDirWritable = std::nullopt);
};
