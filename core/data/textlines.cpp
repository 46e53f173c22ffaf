#include "core/data/textlines.h"

#include "core/data/codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace TextLines {

QList<QByteArray> SplitRaw(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype nStart = 0;
    while (nStart < bytes.size()) {
        qsizetype nEnd = bytes.indexOf('\n', nStart);
        const qsizetype nNext = nEnd < 0 ? bytes.size() : nEnd + 1;
        if (nEnd < 0)
            nEnd = bytes.size();
        qsizetype nLen = nEnd - nStart;
        if (nEnd < bytes.size() && nLen > 0 && bytes[nEnd - 1] == '\r')
            --nLen;
        lines.append(bytes.mid(nStart, nLen));
        nStart = nNext;
    }
    return lines;
}

namespace {

// The old reader handed lines on as C strings, so a NUL ended the line;
// keeping that means a binary blob cannot smuggle control bytes into the lists.
QByteArray UpToNul(const QByteArray& line)
{
    const qsizetype nNul = line.indexOf('\0');
    return nNul < 0 ? line : line.left(nNul);
}

}  // namespace

QStringList Split(const QByteArray& bytes, ETextEncoding* pEncoding)
{
    const ETextEncoding eEncoding = CodePage::DetectEncoding(bytes);
    if (pEncoding)
        *pEncoding = eEncoding;
    QStringList lines;
    for (const QByteArray& line : SplitRaw(bytes))
        lines.append(CodePage::Decode(UpToNul(line), eEncoding));
    return lines;
}

QString DecodeLine(const QByteArray& line)
{
    const QByteArray text = UpToNul(line);
    // A byte-order mark inside the list is part of its line, not a header to drop.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString sUtf8 = decoder.decode(text);
    return decoder.hasError() ? CodePage::DecodeCp1252(text) : sUtf8;
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

}  // namespace TextLines
