#include "core/data/wordset.h"

#include <algorithm>
#include <cstring>

namespace {

quint32 HashLong(QStringView sWord)
{
    quint64 nHash = 0x84222325cbf29ce4ull ^ quint64(sWord.size());
    for (QChar c : sWord)
        nHash = (nHash ^ c.unicode()) * 0x100000001b3ull;
    nHash ^= nHash >> 29;
    nHash *= 0xbf58476d1ce4e5b9ull;
    return quint32(nHash >> 32);
}

}  // namespace

SWordKey SWordKey::LongKey(QStringView sWord)
{
    SWordKey key;
    key.nHash = HashLong(sWord);
    key.nLow = SWordKey::kLong | (quint64(key.nHash) << 32);
    return key;
}

SWordKey SWordKey::Of(QStringView sWord)
{
    if (sWord.size() > kInline)
        return LongKey(sWord);
    char16_t arReadable[kReadable] = {};
    std::copy(sWord.utf16(), sWord.utf16() + sWord.size(), arReadable);
    SWordKey key;
    if (!InlineKeyOf16<false>(arReadable, sWord.size(), key))
        key = LongKey(sWord);
    return key;
}

QStringView SWordKey::Word(char16_t* pBuffer) const
{
    unsigned char arBytes[16];
    std::memcpy(arBytes, &nLow, 8);
    std::memcpy(arBytes + 8, &nHigh, 8);
    const qsizetype n = arBytes[0] - 1;
    for (qsizetype i = 0; i < n; ++i)
        pBuffer[i] = arBytes[i + 1];
    return QStringView(pBuffer, n);
}

quint32 CWordSet::HashOf(const SSlot& slot)
{
    return (slot.nLow & 0xFF) == SWordKey::kLong ? quint32(slot.nLow >> 32)
                                                 : SWordKey::MixInline(slot.nLow, slot.nHigh);
}

bool CWordSet::SameLong(const SSlot& slot, QStringView sWord) const
{
    return qsizetype(slot.nHigh >> 32) == sWord.size()
        && std::equal(sWord.begin(), sWord.end(), m_arPool.begin() + qsizetype(quint32(slot.nHigh)),
                      [](QChar a, char16_t b) { return a.unicode() == b; });
}

bool CWordSet::Insert(const SWordKey& key, QStringView sWord)
{
    if (size_t(m_nSize + 1) * 2 > m_arSlots.size())
        Grow();
    SSlot& slot = m_arSlots[Find(key, sWord)];
    if (slot.nLow != 0)
        return false;
    slot.nLow = key.nLow;
    if (key.IsInline()) {
        slot.nHigh = key.nHigh;
    } else {
        slot.nHigh = quint64(m_arPool.size()) | (quint64(sWord.size()) << 32);
        m_arPool.insert(m_arPool.end(), sWord.utf16(), sWord.utf16() + sWord.size());
    }
    ++m_nSize;
    return true;
}

void CWordSet::Grow()
{
    std::vector<SSlot> old(m_arSlots.size() * 2);
    old.swap(m_arSlots);
    const size_t nMask = m_arSlots.size() - 1;
    for (const SSlot& slot : old) {
        if (slot.nLow == 0)
            continue;
        size_t i = HashOf(slot) & nMask;
        while (m_arSlots[i].nLow != 0)
            i = (i + 1) & nMask;
        m_arSlots[i] = slot;
    }
}

void CWordSet::Clear()
{
    m_arSlots.assign(1024, SSlot{});
    m_arPool.clear();
    m_nSize = 0;
}
