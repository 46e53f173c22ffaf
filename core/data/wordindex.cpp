#include "core/data/wordindex.h"

#include <algorithm>
#include <bit>
#include <cstring>

void CWordIndex::Clear()
{
    m_words.clear();
    Rebuild();
}

void CWordIndex::Add(EWordList eList, const CSortStringArray& arWords)
{
    for (const QString& sWord : arWords)
        m_words[FoldAscii(sWord)] |= Bit(eList);
    Rebuild();
}

bool CWordIndex::Contains(EWordList eList, const QString& sWord) const
{
    return (ListsOf(sWord) & Bit(eList)) != 0;
}

// FNV-1a over the UTF-16 units: short words, a multiply a character.
quint32 CWordIndex::Hash(QStringView sFolded)
{
    quint32 nHash = 2166136261u;
    for (QChar c : sFolded)
        nHash = (nHash ^ c.unicode()) * 16777619u;
    return nHash;
}

void CWordIndex::Rebuild()
{
    m_slots.clear();
    m_keys.clear();
    m_nMask = 0;
    m_nLongest = -1;
    m_arFirstAscii[0] = m_arFirstAscii[1] = 0;
    m_bNonAsciiFirst = false;
    qsizetype nEmpty = 0;
    for (auto it = m_words.cbegin(); it != m_words.cend(); ++it)
        nEmpty += it.key().isEmpty();
    const qsizetype nKeys = m_words.size() - nEmpty;
    if (nKeys == 0)
        return;
    // At most half full, so a miss ends within a probe or two.
    const quint32 nSize = std::bit_ceil(quint32(nKeys) * 2);
    m_nMask = nSize - 1;
    m_slots.resize(nSize);
    for (auto it = m_words.cbegin(); it != m_words.cend(); ++it) {
        const QString& sKey = it.key();
        if (sKey.isEmpty())
            continue;
        const quint32 nHash = Hash(sKey);
        quint32 i = nHash & m_nMask;
        while (m_slots[i].nKeyLength != 0)
            i = (i + 1) & m_nMask;
        m_slots[i] = {nHash, quint32(m_keys.size()), quint32(sKey.size()), it.value()};
        m_keys += sKey;
        m_nLongest = std::max(m_nLongest, sKey.size());
        const char16_t cFirst = sKey.front().unicode();
        if (cFirst < 128)
            m_arFirstAscii[cFirst >> 6] |= quint64(1) << (cFirst & 63);
        else
            m_bNonAsciiFirst = true;
    }
}

quint8 CWordIndex::ListsOfFolded(QStringView sFolded) const
{
    if (sFolded.isEmpty())
        return m_words.value(QString(), 0);
    if (!MayHold(sFolded.front().unicode(), sFolded.size()))
        return 0;
    const quint32 nHash = Hash(sFolded);
    const size_t nBytes = size_t(sFolded.size()) * sizeof(char16_t);
    for (quint32 i = nHash & m_nMask;; i = (i + 1) & m_nMask) {
        const SSlot& slot = m_slots[i];
        if (slot.nKeyLength == 0)
            return 0;
        if (slot.nHash == nHash && slot.nKeyLength == quint32(sFolded.size())
            && std::memcmp(m_keys.utf16() + slot.nKeyFrom, sFolded.utf16(), nBytes) == 0)
            return slot.nLists;
    }
}
