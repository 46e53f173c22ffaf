#include "core/app/mimeappslist.h"

#include <QFile>
#include "core/data/atomicfile.h"

namespace {

// The text of a raw line, for finding groups and keys only: bytes that are
// not UTF-8 never reach the file through it.
QString TextOf(const QByteArray& line)
{
    return QString::fromUtf8(line).trimmed();
}

bool IsGroupHeader(const QString& sTrimmed)
{
    return sTrimmed.startsWith(QLatin1Char('[')) && sTrimmed.endsWith(QLatin1Char(']'));
}

QString KeyOf(const QString& sLine)
{
    const qsizetype nEq = sLine.indexOf(QLatin1Char('='));
    return nEq < 0 ? QString() : sLine.left(nEq).trimmed();
}

}  // namespace

bool CMimeAppsList::Load(const QString& sPath)
{
    m_lines.clear();
    QFile file(sPath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    Parse(file.readAll());
    return true;
}

void CMimeAppsList::Parse(const QByteArray& bytes)
{
    m_lines.clear();
    qsizetype nStart = 0;
    while (nStart < bytes.size()) {
        const qsizetype nEnd = bytes.indexOf('\n', nStart);
        const qsizetype nNext = nEnd < 0 ? bytes.size() : nEnd + 1;
        m_lines.append(bytes.mid(nStart, nNext - nStart));
        nStart = nNext;
    }
}

QByteArray CMimeAppsList::Bytes() const
{
    QByteArray bytes;
    for (const QByteArray& line : m_lines)
        bytes += line;
    return bytes;
}

bool CMimeAppsList::Save(const QString& sPath, QString* psError) const
{
    return AtomicFile::Write(sPath, Bytes(), psError);
}

int CMimeAppsList::FindGroup(const QString& sGroup, int* pnEnd) const
{
    const QString sHeader = QLatin1Char('[') + sGroup + QLatin1Char(']');
    for (int i = 0; i < m_lines.size(); ++i) {
        if (TextOf(m_lines[i]) != sHeader)
            continue;
        int nEnd = i + 1;
        while (nEnd < m_lines.size() && !IsGroupHeader(TextOf(m_lines[nEnd])))
            ++nEnd;
        // New entries go after the group's last entry, before blank lines that part groups.
        while (nEnd > i + 1 && TextOf(m_lines[nEnd - 1]).isEmpty())
            --nEnd;
        if (pnEnd)
            *pnEnd = nEnd;
        return i;
    }
    return -1;
}

int CMimeAppsList::FindKey(const QString& sGroup, const QString& sKey) const
{
    int nEnd = 0;
    const int nGroup = FindGroup(sGroup, &nEnd);
    if (nGroup < 0)
        return -1;
    for (int i = nGroup + 1; i < nEnd; ++i)
        if (KeyOf(TextOf(m_lines[i])) == sKey)
            return i;
    return -1;
}

QString CMimeAppsList::Value(const QString& sGroup, const QString& sKey) const
{
    const int nLine = FindKey(sGroup, sKey);
    if (nLine < 0)
        return QString();
    const QString sLine = TextOf(m_lines[nLine]);
    return sLine.mid(sLine.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void CMimeAppsList::InsertLine(int nIndex, const QString& sLine)
{
    // Our lines end the way the file's do where they go in.
    const QByteArray* pBefore = nIndex > 0 ? &m_lines[nIndex - 1] : nullptr;
    const QByteArray end = pBefore && pBefore->endsWith("\r\n") ? "\r\n" : "\n";
    // A last line without its line feed would run into ours.
    if (pBefore && !pBefore->endsWith('\n'))
        m_lines[nIndex - 1] += end;
    m_lines.insert(nIndex, sLine.toUtf8() + end);
}

void CMimeAppsList::SetValue(const QString& sGroup, const QString& sKey, const QString& sValue)
{
    const QString sLine = sKey + QLatin1Char('=') + sValue;
    const int nLine = FindKey(sGroup, sKey);
    if (nLine >= 0) {
        // The line we own keeps the line end it had.
        const QByteArray& old = m_lines[nLine];
        const QByteArray end = old.endsWith("\r\n") ? "\r\n" : (old.endsWith('\n') ? "\n" : "");
        m_lines[nLine] = sLine.toUtf8() + end;
        RemoveDuplicates(sGroup, sKey, nLine);
        return;
    }
    int nEnd = 0;
    if (FindGroup(sGroup, &nEnd) >= 0) {
        InsertLine(nEnd, sLine);
        return;
    }
    if (!m_lines.isEmpty() && !TextOf(m_lines.constLast()).isEmpty())
        InsertLine(int(m_lines.size()), QString());
    InsertLine(int(m_lines.size()), QLatin1Char('[') + sGroup + QLatin1Char(']'));
    InsertLine(int(m_lines.size()), sLine);
}

void CMimeAppsList::RemoveValue(const QString& sGroup, const QString& sKey)
{
    const int nLine = FindKey(sGroup, sKey);
    if (nLine < 0)
        return;
    m_lines.removeAt(nLine);
    RemoveDuplicates(sGroup, sKey, nLine - 1);
}

void CMimeAppsList::RemoveDuplicates(const QString& sGroup, const QString& sKey, int nKept)
{
    // A second line for the same key would take over once ours changed or went.
    int nEnd = 0;
    if (FindGroup(sGroup, &nEnd) < 0)
        return;
    for (int i = nEnd - 1; i > nKept; --i)
        if (KeyOf(TextOf(m_lines[i])) == sKey)
            m_lines.removeAt(i);
}
