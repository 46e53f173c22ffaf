#include "core/editor/textshadow.h"

#include <algorithm>
#include <cstring>

void CTextShadow::Reset(const QString& sText)
{
    // A copy of its own now: sharing the caller's string would make the
    // first keystroke copy the whole text instead. The gap goes where the
    // caret starts, at the top, so the first edit there moves nothing.
    m_buffer.clear();
    m_nGapStart = m_nGapEnd = 0;
    OpenGap(0, sText.size());
    m_nGapEnd = m_buffer.size() - sText.size();
    std::memcpy(m_buffer.data() + m_nGapEnd, sText.constData(), size_t(sText.size()) * sizeof(QChar));
}

QString CTextShadow::Mid(int nPos, int nLength) const
{
    nPos = std::clamp(nPos, 0, Length());
    nLength = std::clamp(nLength, 0, Length() - nPos);
    const QStringView buffer(m_buffer);
    if (nPos + nLength <= m_nGapStart)
        return buffer.mid(nPos, nLength).toString();
    if (nPos >= m_nGapStart)
        return buffer.mid(nPos + GapLength(), nLength).toString();
    const qsizetype nBefore = m_nGapStart - nPos;
    QString sOut;
    sOut.reserve(nLength);
    sOut.append(buffer.mid(nPos, nBefore));
    sOut.append(buffer.mid(m_nGapEnd, nLength - nBefore));
    return sOut;
}

int CTextShadow::LineCount() const
{
    const QStringView buffer(m_buffer);
    return int(buffer.left(m_nGapStart).count(u'\n') + buffer.mid(m_nGapEnd).count(u'\n')) + 1;
}

QString CTextShadow::Line(int nLine) const
{
    const QString sText = Text();
    qsizetype nStart = 0;
    for (int i = 0; i < nLine && nStart >= 0; ++i)
        nStart = sText.indexOf(u'\n', nStart) + 1;
    const qsizetype nEnd = sText.indexOf(u'\n', nStart);
    return sText.mid(nStart, nEnd < 0 ? -1 : nEnd - nStart);
}

QVarLengthArray<QStringView, 3> CTextShadow::LineRuns(QString* psCrossing) const
{
    const QStringView buffer(m_buffer);
    const QStringView before = buffer.left(m_nGapStart);
    const QStringView after = buffer.mid(m_nGapEnd);
    QVarLengthArray<QStringView, 3> runs;
    if (before.isEmpty() || after.isEmpty()) {
        runs.append(before.isEmpty() ? after : before);
        return runs;
    }
    // Only the line the gap cuts in two needs a copy; a text just loaded
    // has its gap at the top and needs none.
    const qsizetype nLastBreak = before.lastIndexOf(u'\n');
    const qsizetype nFirstBreak = after.indexOf(u'\n');
    if (nLastBreak >= 0)
        runs.append(before.left(nLastBreak));
    const QStringView head = before.mid(nLastBreak + 1);
    const QStringView tail = nFirstBreak >= 0 ? after.left(nFirstBreak) : after;
    psCrossing->resize(0);
    psCrossing->reserve(head.size() + tail.size());
    psCrossing->append(head);
    psCrossing->append(tail);
    runs.append(*psCrossing);
    if (nFirstBreak >= 0)
        runs.append(after.mid(nFirstBreak + 1));
    return runs;
}

void CTextShadow::OpenGap(qsizetype nPos, qsizetype nLength)
{
    QChar* pData = m_buffer.data();
    if (nPos < m_nGapStart) {
        const qsizetype nMove = m_nGapStart - nPos;
        std::memmove(pData + m_nGapEnd - nMove, pData + nPos, size_t(nMove) * sizeof(QChar));
        m_nGapStart -= nMove;
        m_nGapEnd -= nMove;
    } else if (nPos > m_nGapStart) {
        const qsizetype nMove = nPos - m_nGapStart;
        std::memmove(pData + m_nGapStart, pData + m_nGapEnd, size_t(nMove) * sizeof(QChar));
        m_nGapStart += nMove;
        m_nGapEnd += nMove;
    }
    if (GapLength() >= nLength)
        return;
    // Grows by a share of the text so that a run of pastes stays linear.
    const qsizetype nTail = m_buffer.size() - m_nGapEnd;
    const qsizetype nGap = nLength + std::max<qsizetype>(4096, Length() / 16);
    QString sGrown(m_nGapStart + nGap + nTail, Qt::Uninitialized);
    std::memcpy(sGrown.data(), m_buffer.constData(), size_t(m_nGapStart) * sizeof(QChar));
    std::memcpy(sGrown.data() + m_nGapStart + nGap, m_buffer.constData() + m_nGapEnd, size_t(nTail) * sizeof(QChar));
    m_buffer = std::move(sGrown);
    m_nGapEnd = m_nGapStart + nGap;
}

STextChange CTextShadow::Replace(int nPos, int nRemoved, const QString& sInserted)
{
    nPos = std::clamp(nPos, 0, Length());
    nRemoved = std::clamp(nRemoved, 0, Length() - nPos);
    STextChange change{nPos, Mid(nPos, nRemoved), sInserted};
    OpenGap(nPos, 0);
    m_nGapEnd += nRemoved;
    OpenGap(nPos, sInserted.size());
    std::memcpy(m_buffer.data() + m_nGapStart, sInserted.constData(), size_t(sInserted.size()) * sizeof(QChar));
    m_nGapStart += sInserted.size();
    return change;
}
