#include "core/editor/linecommands.h"

#include "core/editor/colourer.h"

namespace LineCommands {

QString CommentPrefix(EFileType eType)
{
    switch (eType) {
    case kFileSQS:
        return QStringLiteral(";");
    case kFileSQF:
    case kFileEXT:
        return QStringLiteral("//");
    default:
        return QString();
    }
}

bool HasLineComments(EFileType eType)
{
    return !CommentPrefix(eType).isEmpty();
}

QList<SLineEdit> CommentOut(const QStringList& lines, int nFirst, const QString& sPrefix)
{
    QList<SLineEdit> edits;
    for (int i = 0; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            edits.append({nFirst + i, 0, 0, sPrefix});
    return edits;
}

QList<SLineEdit> Uncomment(const QStringList& lines, int nFirst)
{
    QList<SLineEdit> edits;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1Char(';')))
            edits.append({nFirst + i, 0, 1, QString()});
        else if (lines[i].startsWith(QLatin1String("//")))
            edits.append({nFirst + i, 0, 2, QString()});
    }
    return edits;
}

QList<SLineEdit> Indent(const QStringList& lines, int nFirst)
{
    return CommentOut(lines, nFirst, QStringLiteral("\t"));
}

QList<SLineEdit> Outdent(const QStringList& lines, int nFirst)
{
    QList<SLineEdit> edits;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QLatin1Char('\t')))
            edits.append({nFirst + i, 0, 1, QString()});
    return edits;
}

QString AutoIndent(const QString& sPrevLine, bool bWhiteSpace, bool bAutoTabs)
{
    if (sPrevLine.isEmpty())
        return QString();
    const bool bBrace = sPrevLine.endsWith(QLatin1Char('{'));
    if (!bWhiteSpace && !bBrace)
        return QString();
    qsizetype nTabs = 0;
    while (nTabs < sPrevLine.size() && sPrevLine[nTabs] == QLatin1Char('\t'))
        ++nTabs;
    qsizetype nSpaces = 0;
    while (nTabs + nSpaces < sPrevLine.size() && sPrevLine[nTabs + nSpaces] == QLatin1Char(' '))
        ++nSpaces;
    if (bAutoTabs && bBrace)
        ++nTabs;
    return QString(nTabs, QLatin1Char('\t')) + QString(nSpaces, QLatin1Char(' '));
}

QString ChangeCase(const QString& sText, bool bUpper)
{
    QString sOut = sText;
    for (QChar& c : sOut)
        c = bUpper ? c.toUpper() : c.toLower();
    return sOut;
}

QPair<int, int> WordAt(const QString& sLine, int nColumn)
{
    if (sLine.isEmpty())
        return {0, 0};
    const int n = int(sLine.size());
    nColumn = std::clamp(nColumn, 0, n);
    auto isWord = [&](int i) { return CColourer::IsWordChar(sLine[i], false); };
    for (bool bWord : {true, false}) {
        int nStart = nColumn;
        while (nStart > 0 && isWord(nStart - 1) == bWord)
            --nStart;
        int nEnd = nStart;
        while (nEnd < n && isWord(nEnd) == bWord)
            ++nEnd;
        if (nEnd > nStart)
            return {nStart, nEnd};
    }
    return {nColumn, nColumn};
}

bool IsBreakChar(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('>') || c == QLatin1Char(',');
}

}  // namespace LineCommands
