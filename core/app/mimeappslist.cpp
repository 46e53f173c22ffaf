#include "core/app/mimeappslist.h"

#include <QFile>
#include "core/data/atomicfile.h"

namespace {

bool IsGroupHeader(const QString& sLine)
{
    const QString sTrimmed = sLine.trimmed();
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
    QString sText = QString::fromUtf8(file.readAll());
    if (sText.endsWith(QLatin1Char('\n')))
        sText.chop(1);
    if (!sText.isEmpty())
        m_lines = sText.split(QLatin1Char('\n'));
    return true;
}

bool CMimeAppsList::Save(const QString& sPath, QString* psError) const
{
    QByteArray bytes;
    for (const QString& sLine : m_lines)
        bytes += sLine.toUtf8() + '\n';
    return AtomicFile::Write(sPath, bytes, psError);
}

int CMimeAppsList::FindGroup(const QString& sGroup, int* pnEnd) const
{
    const QString sHeader = QLatin1Char('[') + sGroup + QLatin1Char(']');
    for (int i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].trimmed() != sHeader)
            continue;
        int nEnd = i + 1;
        while (nEnd < m_lines.size() && !IsGroupHeader(m_lines[nEnd]))
            ++nEnd;
        // New entries go after the group's last entry, before blank lines that part groups.
        while (nEnd > i + 1 && m_lines[nEnd - 1].trimmed().isEmpty())
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
        if (KeyOf(m_lines[i]) == sKey)
            return i;
    return -1;
}

QString CMimeAppsList::Value(const QString& sGroup, const QString& sKey) const
{
    const int nLine = FindKey(sGroup, sKey);
    if (nLine < 0)
        return QString();
    const QString& sLine = m_lines[nLine];
    return sLine.mid(sLine.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void CMimeAppsList::SetValue(const QString& sGroup, const QString& sKey, const QString& sValue)
{
    const QString sLine = sKey + QLatin1Char('=') + sValue;
    const int nLine = FindKey(sGroup, sKey);
    if (nLine >= 0) {
        m_lines[nLine] = sLine;
        return;
    }
    int nEnd = 0;
    if (FindGroup(sGroup, &nEnd) >= 0) {
        m_lines.insert(nEnd, sLine);
        return;
    }
    if (!m_lines.isEmpty() && !m_lines.constLast().trimmed().isEmpty())
        m_lines.append(QString());
    m_lines.append(QLatin1Char('[') + sGroup + QLatin1Char(']'));
    m_lines.append(sLine);
}

void CMimeAppsList::RemoveValue(const QString& sGroup, const QString& sKey)
{
    const int nLine = FindKey(sGroup, sKey);
    if (nLine >= 0)
        m_lines.removeAt(nLine);
}
