#include "core/documents/textfile.h"

#include <QFile>
#include <QFileInfo>
#include "core/data/atomicfile.h"

namespace TextFile {

QString NormaliseLineEnds(const QString& sText)
{
    QString sOut = sText;
    sOut.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    sOut.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return sOut;
}

ELoad Load(const QString& sPath, SLoaded* pLoaded, QString* psError)
{
    if (QFileInfo(sPath).isDir()) {
        *psError = QStringLiteral("It is a folder, not a file.");
        return ELoad::CannotRead;
    }
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    if (bytes.contains('\0')) {
        *psError = QStringLiteral("The file holds binary data (NUL bytes) and is not a text file.");
        return ELoad::NotText;
    }
    pLoaded->eEncoding = CodePage::DetectEncoding(bytes);
    pLoaded->sText = NormaliseLineEnds(CodePage::Decode(bytes, pLoaded->eEncoding));
    return ELoad::Ok;
}

SSaved Save(const QString& sPath, const QString& sText, ETextEncoding eEncoding)
{
    SSaved result;
    QString sCrLf = sText;
    sCrLf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QByteArray bytes = CodePage::EncodeForSaving(sCrLf, eEncoding, &result.bSwitchedToUtf8);
    result.bOk = AtomicFile::Write(sPath, bytes, &result.sError);
    return result;
}

}  // namespace TextFile
