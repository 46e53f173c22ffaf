#include "core/workspace/gotolist.h"

namespace GotoList {

QStringList Entries(const QString& sText, EFileType eType)
{
    switch (eType) {
    case kFileSQS:
    case kFileSQF:
        return LineEntries(sText, u'#');
    case kFileDAT:
        return LineEntries(sText, u'[');
    case kFileEXT:
        return ClassEntries(sText);
    case kFileHTML:
    case kFileCSV:
    case kFileTXT:
        break;
    }
    return {};
}

QStringList LineEntries(const QString& sText, QChar cLead)
{
    QStringList entries;
    for (QStringView line : QStringView(sText).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        qsizetype n = 0;
        while (n < line.size() && (line[n] == u'\t' || line[n] == u' '))
            ++n;
        if (n < line.size() && line[n] == cLead)
            entries.append(line.mid(n).toString());
    }
    return entries;
}

QStringList ClassEntries(const QString& sText)
{
    QString sBlanked = sText;
    sBlanked.replace(QLatin1String("\r\n"), QLatin1String(" "));
    // The editor keeps its lines apart with a bare line feed; either break
    // ends a class name alike.
    for (QChar& c : sBlanked)
        if (c == u'\n' || c == u'\r' || c == u'{' || c == u'\t')
            c = u' ';
    // Character by character, so every offset in the copy is one in the text.
    QString sLower = sBlanked;
    for (QChar& c : sLower)
        c = c.toLower();

    QStringList entries;
    qsizetype nFrom = 0;
    for (;;) {
        const qsizetype nClass = sLower.indexOf(QLatin1String("class"), nFrom);
        if (nClass < 0)
            break;
        const qsizetype nFirstBlank = sBlanked.indexOf(u' ', nClass);
        if (nFirstBlank < 0)
            break;
        const qsizetype nSecondBlank = sBlanked.indexOf(u' ', nFirstBlank + 1);
        if (nSecondBlank < 0)
            break;
        entries.append(sBlanked.mid(nClass, nSecondBlank - nClass));
        nFrom = nSecondBlank;
    }
    return entries;
}

}  // namespace GotoList
