#include "core/workspace/projectrename.h"

#include "core/app/namechars.h"

#include <QDir>
#include <QFileInfo>

namespace ProjectRename {

std::optional<QString> NewPath(const QString& sOldPath, const QString& sDisplayName, const QString& sEntered)
{
    const QString sName = NameChars::Strip(sEntered);
    // "." and ".." name folders, never a file beside the old one.
    if (sName.isEmpty() || sName == sDisplayName || sName.count(QLatin1Char('.')) == sName.size())
        return std::nullopt;
    const QFileInfo oldFile(sOldPath);
    QString sNewName = sName;
    if (!sName.contains(QLatin1Char('.'))) {
        const QString sOldName = oldFile.fileName();
        const qsizetype nDot = sOldName.lastIndexOf(QLatin1Char('.'));
        if (nDot >= 0)
            sNewName += sOldName.mid(nDot);
    }
    const QString sNewPath = QDir(oldFile.path()).filePath(sNewName);
    if (sNewPath == QDir(oldFile.path()).filePath(oldFile.fileName()))
        return std::nullopt;
    return sNewPath;
}

}  // namespace ProjectRename
