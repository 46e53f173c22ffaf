#include "core/editor/textshadow.h"

#include <algorithm>

void CTextShadow::Reset(const QString& sText)
{
    m_lines = sText.split(QLatin1Char('\n'));
    m_nLength = int(sText.size());
    m_nCacheLine = 0;
    m_nCacheStart = 0;
}

QPair<int, int> CTextShadow::Locate(int nPos) const
{
    int nLine = m_nCacheLine;
    int nStart = m_nCacheStart;
    if (nPos < nStart) {
        nLine = 0;
        nStart = 0;
    }
    while (nLine + 1 < m_lines.size() && nPos > nStart + m_lines[nLine].size()) {
        nStart += int(m_lines[nLine].size()) + 1;
        ++nLine;
    }
    m_nCacheLine = nLine;
    m_nCacheStart = nStart;
    return {nLine, nPos - nStart};
}

QString CTextShadow::Mid(int nPos, int nLength) const
{
    nPos = std::clamp(nPos, 0, m_nLength);
    nLength = std::clamp(nLength, 0, m_nLength - nPos);
    auto [nLine, nColumn] = Locate(nPos);
    QString sOut;
    while (nLength > 0) {
        const QString& sLine = m_lines[nLine];
        const int nTake = std::min(nLength, int(sLine.size()) - nColumn);
        sOut += QStringView(sLine).mid(nColumn, nTake);
        nLength -= nTake;
        if (nLength > 0) {
            sOut += QLatin1Char('\n');
            --nLength;
            ++nLine;
            nColumn = 0;
        }
    }
    return sOut;
}

STextChange CTextShadow::Replace(int nPos, int nRemoved, const QString& sInserted)
{
    nPos = std::clamp(nPos, 0, m_nLength);
    nRemoved = std::clamp(nRemoved, 0, m_nLength - nPos);
    STextChange change{nPos, Mid(nPos, nRemoved), sInserted};

    const auto [nFirst, nColumn] = Locate(nPos);
    const int nRemovedBreaks = int(change.sRemoved.count(QLatin1Char('\n')));
    const int nLast = nFirst + nRemovedBreaks;
    const QString& sLastLine = m_lines[nLast];
    const int nTailFrom = nRemovedBreaks == 0
        ? nColumn + nRemoved
        : int(change.sRemoved.size() - change.sRemoved.lastIndexOf(QLatin1Char('\n')) - 1);
    const QString sJoined = m_lines[nFirst].left(nColumn) + sInserted + sLastLine.mid(nTailFrom);

    if (!sInserted.contains(QLatin1Char('\n')) && nRemovedBreaks == 0) {
        m_lines[nFirst] = sJoined;
    } else {
        const QStringList replacement = sJoined.split(QLatin1Char('\n'));
        if (replacement.size() <= 4) {
            // Enter and small pastes: shifting the list in place is cheapest.
            m_lines.remove(nFirst + 1, nRemovedBreaks);
            m_lines[nFirst] = replacement.first();
            for (qsizetype i = 1; i < replacement.size(); ++i)
                m_lines.insert(nFirst + i, replacement[i]);
        } else {
            // Large pastes: one pass instead of one shift per inserted line.
            QStringList lines;
            lines.reserve(m_lines.size() - nRemovedBreaks - 1 + replacement.size());
            lines.append(m_lines.mid(0, nFirst));
            lines.append(replacement);
            lines.append(m_lines.mid(nLast + 1));
            m_lines = std::move(lines);
        }
    }
    m_nLength += int(sInserted.size()) - nRemoved;
    return change;
}
