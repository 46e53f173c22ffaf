#include "core/data/textlines.h"

#include "core/data/codepage.h"

#include <QFile>
#include <QFileInfo>
#include "core/data/atomicfile.h"

namespace TextLines {

QStringList Split(const QByteArray& bytes, ETextEncoding* pEncoding)
{
    const ETextEncoding eEncoding = CodePage::DetectEncoding(bytes);
    if (pEncoding)
        *pEncoding = eEncoding;
    QStringList lines;
    qsizetype nStart = 0;
    while (nStart < bytes.size()) {
        qsizetype nEnd = bytes.indexOf('\n', nStart);
        const qsizetype nNext = nEnd < 0 ? bytes.size() : nEnd + 1;
        if (nEnd < 0)
            nEnd = bytes.size();
        qsizetype nLen = nEnd - nStart;
        if (nEnd < bytes.size() && nLen > 0 && bytes[nEnd - 1] == '\r')
            --nLen;
        QByteArray line = bytes.mid(nStart, nLen);
        // The old reader handed lines on as C strings, so a NUL ended the line;
        // keeping that means a binary blob cannot smuggle control bytes into the lists.
        const qsizetype nNul = line.indexOf('\0');
        if (nNul >= 0)
            line.truncate(nNul);
        lines.append(CodePage::Decode(line, eEncoding));
        nStart = nNext;
    }
    return lines;
}

bool Read(const QString& sPath, QStringList* pLines, ETextEncoding* pEncoding)
{
    pLines->clear();
    if (!QFileInfo(sPath).isFile())
        return false;
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *pLines = Split(file.readAll(), pEncoding);
    return true;
}

bool Write(const QString& sPath, const QStringList& lines, ETextEncoding eEncoding)
{
    QString sText;
    for (const QString& sLine : lines)
        sText += sLine + QStringLiteral("\r\n");
    bool bSwitched = false;
    return AtomicFile::Write(sPath, CodePage::EncodeForSaving(sText, eEncoding, &bSwitched));
}

}  // namespace TextLines
