#pragma once

// A Wine prefix built in a throw-away folder: the machine hive, drive links
// and game folders a test needs, and nothing of the user's own prefix.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace VelkTest {

class CFakeWinePrefix
{
public:
    CFakeWinePrefix()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("drive_c"));
        QDir(m_dir.path()).mkpath(QStringLiteral("dosdevices"));
        LinkDrive(QStringLiteral("c"), QStringLiteral("../drive_c"));
    }

    QString Path() const { return m_dir.path(); }
    QString FilePath(const QString& sRelative) const { return m_dir.filePath(sRelative); }

    // The machine hive: "WINE REGISTRY" header, then the sections given.
    bool WriteSystemReg(const QByteArray& sections) const
    {
        return Write(QStringLiteral("system.reg"),
                     "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + sections);
    }

    // dosdevices/<letter>: pointing at sTarget (relative to dosdevices/ or absolute).
    bool LinkDrive(const QString& sLetter, const QString& sTarget) const
    {
        return QFile::link(sTarget, m_dir.filePath(QStringLiteral("dosdevices/") + sLetter + QLatin1Char(':')));
    }

    bool Write(const QString& sRelative, const QByteArray& bytes, bool bExecutable = false) const
    {
        const QString sPath = m_dir.filePath(sRelative);
        QDir().mkpath(QFileInfo(sPath).path());
        QFile file(sPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (bExecutable)
            return file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
        return true;
    }

    bool MakeFolder(const QString& sRelative) const { return QDir(m_dir.path()).mkpath(sRelative); }

private:
    QTemporaryDir m_dir;
};

}  // namespace VelkTest
