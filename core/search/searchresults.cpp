#include "core/search/searchresults.h"

#include <algorithm>
#include <numeric>

void CSearchResults::Clear()
{
    m_lines.clear();
    m_records.clear();
}

const SResultRecord* CSearchResults::Record(int nLine) const
{
    if (nLine < 0 || nLine >= LineCount() || m_lines[nLine].nRecord < 0)
        return nullptr;
    return &m_records[m_lines[nLine].nRecord];
}

void CSearchResults::InsertHeader(int nAt, const QString& sText)
{
    m_lines.insert(std::clamp(nAt, 0, LineCount()), SLine{sText, -1});
}

void CSearchResults::AddMatch(const QString& sLocation, const QString& sLineText, const SResultRecord& record)
{
    const int nRecord = int(m_records.size());
    m_records.append(record);
    m_lines.append(SLine{sLocation, nRecord});
    m_lines.append(SLine{sLineText, nRecord});
}

QList<int> CSearchResults::LongestLines(int nCount) const
{
    QList<int> lines(LineCount());
    std::iota(lines.begin(), lines.end(), 0);
    const auto longer = [this](int a, int b) { return m_lines[a].sText.size() > m_lines[b].sText.size(); };
    const int nTake = std::min(nCount, LineCount());
    std::partial_sort(lines.begin(), lines.begin() + nTake, lines.end(), longer);
    lines.resize(nTake);
    return lines;
}
