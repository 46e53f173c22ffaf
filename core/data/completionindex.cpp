#include "core/data/completionindex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <optional>

namespace {

enum class EAnswer {
    Inserted,
    Refused,
    // Turned away by a spelling differing in case that sorts after the word:
    // an insertion in between can still let it in.
    RefusedForNow,
};

inline quint64 Load64(const char16_t* p)
{
    quint64 n;
    std::memcpy(&n, p, sizeof(n));
    return n;
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// Characters nFrom to nFrom + 4 of a word of n characters as one number,
// the first lowest, zero for those past its end.
inline quint64 Chunk(const char16_t* p, qsizetype n, qsizetype nFrom)
{
    const qsizetype nLeft = n - nFrom;
    if constexpr (kLittleEndian) {
        if (nLeft >= 4)
            return Load64(p + nFrom);
        // The last four characters, those before nFrom shifted out: the
        // end of a word costs no loop either.
        if (nLeft > 0 && n >= 4)
            return Load64(p + n - 4) >> (16 * (4 - nLeft));
    }
    quint64 nChunk = 0;
    for (qsizetype k = 0; k < std::min<qsizetype>(nLeft, 4); ++k)
        nChunk |= quint64(p[nFrom + k]) << (16 * k);
    return nChunk;
}

// The same for a word of four characters or more, without a branch that
// depends on its length: words of every length come in any order.
inline quint64 ChunkOfFour(const char16_t* p, qsizetype n, qsizetype nFrom)
{
    if constexpr (!kLittleEndian)
        return Chunk(p, n, nFrom);
    const qsizetype nLeft = n - nFrom;
    const bool bWhole = nLeft >= 4;
    const quint64 nLoaded = Load64(bWhole ? p + nFrom : p + n - 4);
    const qsizetype nDropped = bWhole ? 0 : 4 - std::max<qsizetype>(nLeft, 0);
    return nDropped == 4 ? 0 : nLoaded >> (16 * nDropped);
}

inline quint64 MixBlock(quint64 nHash, const quint64* pChunks)
{
    nHash
        ^= pChunks[0] * 0x9e3779b97f4a7c15ull ^ pChunks[1] * 0xc2b2ae3d27d4eb4full ^ pChunks[2] * 0x165667b19e3779f9ull;
    nHash ^= nHash >> 29;
    return nHash * 0xff51afd7ed558ccdull;
}

// Words are short: a call to memcmp would cost more than the loop.
inline bool SameChars(const char16_t* pA, const char16_t* pB, qsizetype n)
{
    for (qsizetype i = 0; i < n; ++i)
        if (pA[i] != pB[i])
            return false;
    return true;
}

// The same hash for two words equal ignoring case, as CompareNoCase has it.
// Only new words and the list's own entries go through it.
size_t FoldedHash(QStringView sWord)
{
    quint32 nHash = 2166136261u;
    for (QChar c : sWord) {
        const char16_t u = c.unicode();
        nHash = (nHash ^ (u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u)) * 16777619u;
    }
    return nHash;
}

// The list while a run of words is learnt. What InsertSorted asks of the
// list, "the first entry greater than the word", is the first entry whose
// prefix maximum (the greatest entry by case up to it) is greater; prefix
// maxima never decrease along the list, and an insertion changes none of the
// others, the new entry being its own. So the entries are kept in blocks
// sorted by prefix maximum and found by binary search, and an insertion moves
// a part of one block only.
class CLearningList
{
public:
    explicit CLearningList(const QStringList& words)
    {
        m_arWords.reserve(size_t(words.size()) + 1024);
        m_arMax.reserve(size_t(words.size()) + 1024);
        std::vector<SSlot> block;
        QStringView sMax;
        for (const QString& sWord : words) {
            const int nEntry = AddEntry(sWord);
            if (nEntry == 0 || CompareCase(sWord, sMax) > 0)
                sMax = m_arWords.back();
            m_arMax[nEntry] = sMax;
            block.push_back({sMax, nEntry});
            if (block.size() == kHalfBlock)
                AppendBlock(block);
        }
        if (!block.empty())
            AppendBlock(block);
    }

    EAnswer Learn(QStringView sWord)
    {
        // Nothing greater: the greatest entry never changes, so never will there be.
        const size_t nBlock = FirstBlockBeyond(sWord);
        if (nBlock == m_arBlocks.size())
            return EAnswer::Refused;
        std::vector<SSlot>& block = m_arBlocks[nBlock];
        const auto it = std::upper_bound(block.begin(), block.end(), sWord, [](QStringView a, const SSlot& slot) {
            return CompareCase(slot.sMax, a) > 0;
        });
        // An entry equal ignoring case lies before the first greater one
        // exactly when its prefix maximum is not greater than the word.
        bool bSpelling = false;
        for (int n = m_arSpellings.empty() ? -1 : m_arSpellings[SpellingSlot(sWord)]; n >= 0; n = m_arNextSpelling[n]) {
            bSpelling = true;
            if (CompareCase(m_arMax[n], sWord) <= 0)
                return EAnswer::Refused;
        }
        if (bSpelling && CompareNoCase(m_arWords[it->nEntry], sWord) == 0)
            return EAnswer::RefusedForNow;
        const int nEntry = AddEntry(sWord.toString());
        m_arMax[nEntry] = m_arWords.back();
        block.insert(it, {m_arMax[nEntry], nEntry});
        if (block.size() == 2 * kHalfBlock)
            SplitBlock(nBlock);
        m_bChanged = true;
        return EAnswer::Inserted;
    }

    bool Changed() const { return m_bChanged; }

    QStringList Words() const
    {
        QStringList words;
        words.reserve(qsizetype(m_arWords.size()));
        for (const std::vector<SSlot>& block : m_arBlocks)
            for (const SSlot& slot : block)
                words.append(m_arWords[slot.nEntry]);
        return words;
    }

private:
    static constexpr size_t kHalfBlock = 128;

    struct SSlot
    {
        QStringView sMax;  // the entry's prefix maximum
        int nEntry;
    };

    int AddEntry(QString sWord)
    {
        m_arWords.push_back(std::move(sWord));
        m_arMax.emplace_back();
        m_arNextSpelling.push_back(-1);
        AddSpelling(int(m_arWords.size()) - 1);
        return int(m_arWords.size()) - 1;
    }

    void AppendBlock(std::vector<SSlot>& block)
    {
        m_arLast.push_back(block.back().sMax);
        m_arBlocks.push_back(std::move(block));
        block = {};
        block.reserve(2 * kHalfBlock);
    }

    void SplitBlock(size_t nBlock)
    {
        std::vector<SSlot>& block = m_arBlocks[nBlock];
        std::vector<SSlot> back(block.begin() + kHalfBlock, block.end());
        back.reserve(2 * kHalfBlock);
        block.resize(kHalfBlock);
        m_arLast[nBlock] = block.back().sMax;
        m_arLast.insert(m_arLast.begin() + qsizetype(nBlock) + 1, back.back().sMax);
        m_arBlocks.insert(m_arBlocks.begin() + qsizetype(nBlock) + 1, std::move(back));
    }

    // The first block whose greatest prefix maximum is greater than the word.
    size_t FirstBlockBeyond(QStringView sWord) const
    {
        return size_t(std::upper_bound(m_arLast.begin(), m_arLast.end(), sWord,
                                       [](QStringView a, QStringView b) { return CompareCase(b, a) > 0; })
                      - m_arLast.begin());
    }

    // The slot of the spelling chain the word belongs to, or the empty slot
    // where it would start.
    size_t SpellingSlot(QStringView sWord) const
    {
        const size_t nMask = m_arSpellings.size() - 1;
        size_t i = FoldedHash(sWord) & nMask;
        while (m_arSpellings[i] >= 0 && CompareNoCase(m_arWords[m_arSpellings[i]], sWord) != 0)
            i = (i + 1) & nMask;
        return i;
    }

    void AddSpelling(int n)
    {
        if ((m_nSpellings + 1) * 2 > m_arSpellings.size()) {
            std::vector<int> old(std::max<size_t>(m_arSpellings.size() * 2, 1024), -1);
            old.swap(m_arSpellings);
            for (int nHead : old)
                if (nHead >= 0)
                    m_arSpellings[SpellingSlot(m_arWords[nHead])] = nHead;
        }
        const size_t i = SpellingSlot(m_arWords[n]);
        if (m_arSpellings[i] < 0)
            ++m_nSpellings;
        m_arNextSpelling[n] = m_arSpellings[i];
        m_arSpellings[i] = n;
    }

    // By entry, in the order they came: the list's own, then the new words.
    // The views point into these strings, whose characters never move.
    std::vector<QString> m_arWords;
    std::vector<QStringView> m_arMax;
    std::vector<int> m_arNextSpelling;
    // Open addressing: the last entry of each chain of equal spellings.
    std::vector<int> m_arSpellings;
    size_t m_nSpellings = 0;
    std::vector<std::vector<SSlot>> m_arBlocks;
    std::vector<QStringView> m_arLast;
    bool m_bChanged = false;
};

}  // namespace

void CCompletionIndex::Follow(const CSortStringArray& list)
{
    // Sharing the buffer with the list, the copy makes every change to the
    // list detach it onto a new buffer, which is how a change is seen.
    if (m_arKnown.constData() == list.constData() && m_arKnown.size() == list.size())
        return;
    m_arSlots.clear();
    m_arKeys.clear();
    m_nSettled = 0;
    Adopt(list);
}

// Where the words of one LearnWords call go.
struct CCompletionIndex::SRun
{
    explicit SRun(CSortStringArray& list) : list(list) { }

    CSortStringArray& list;
    // Built only when a word is not settled: learning a text already known
    // leaves the list as it is.
    std::optional<CLearningList> learning;
};

inline CCompletionIndex::SKey CCompletionIndex::KeyOf(QStringView sWord)
{
    const char16_t* p = sWord.utf16();
    const qsizetype n = sWord.size();
    SKey key;
    key.nLength = quint32(n);
    quint64 nHash = 0x9e3779b97f4a7c15ull ^ quint64(n);
    if (n <= kInline) {
        for (qsizetype i = 0; i < kInline / 4; ++i)
            key.arChunks[i] = n >= 4 ? ChunkOfFour(p, n, 4 * i) : Chunk(p, n, 4 * i);
        nHash = MixBlock(nHash, key.arChunks);
    } else {
        quint64 arBlock[kInline / 4];
        for (qsizetype nBlock = 0; nBlock < n; nBlock += kInline) {
            for (qsizetype i = 0; i < kInline / 4; ++i)
                arBlock[i] = Chunk(p, n, nBlock + 4 * i);
            nHash = MixBlock(nHash, arBlock);
        }
    }
    key.nHash = quint32(nHash >> 32);
    return key;
}

quint32 CCompletionIndex::Hash(QStringView sWord)
{
    return KeyOf(sWord).nHash;
}

inline bool CCompletionIndex::IsSettled(const SKey& key) const
{
    if (m_arSlots.empty())
        return false;
    const size_t nMask = m_arSlots.size() - 1;
    for (size_t i = key.nHash & nMask; m_arSlots[i].nLength != 0; i = (i + 1) & nMask) {
        const SSlot& slot = m_arSlots[i];
        if (slot.nHash == key.nHash && slot.nLength == key.nLength + 1 && slot.arChunks[0] == key.arChunks[0]
            && slot.arChunks[1] == key.arChunks[1] && slot.arChunks[2] == key.arChunks[2])
            return true;
    }
    return false;
}

bool CCompletionIndex::IsSettled(QStringView sWord, quint32 nHash) const
{
    const qsizetype nLength = sWord.size();
    if (nLength <= kInline)
        return IsSettled(KeyOf(sWord));
    if (m_arSlots.empty())
        return false;
    const size_t nMask = m_arSlots.size() - 1;
    for (size_t i = nHash & nMask; m_arSlots[i].nLength != 0; i = (i + 1) & nMask) {
        const SSlot& slot = m_arSlots[i];
        if (slot.nHash == nHash && slot.nLength == quint32(nLength) + 1
            && SameChars(sWord.utf16(), m_arKeys.data() + slot.arChunks[0], nLength))
            return true;
    }
    return false;
}

void CCompletionIndex::Settle(QStringView sWord, quint32 nHash)
{
    if (size_t(m_nSettled + 1) * 2 > m_arSlots.size()) {
        std::vector<SSlot> old(std::max<size_t>(m_arSlots.size() * 2, 1024));
        old.swap(m_arSlots);
        const size_t nMask = m_arSlots.size() - 1;
        for (const SSlot& slot : old) {
            if (slot.nLength == 0)
                continue;
            size_t i = slot.nHash & nMask;
            while (m_arSlots[i].nLength != 0)
                i = (i + 1) & nMask;
            m_arSlots[i] = slot;
        }
    }
    const size_t nMask = m_arSlots.size() - 1;
    size_t i = nHash & nMask;
    while (m_arSlots[i].nLength != 0)
        i = (i + 1) & nMask;
    SSlot& slot = m_arSlots[i];
    slot.nHash = nHash;
    slot.nLength = quint32(sWord.size()) + 1;
    if (sWord.size() <= kInline) {
        const SKey key = KeyOf(sWord);
        std::copy(std::begin(key.arChunks), std::end(key.arChunks), slot.arChunks);
    } else {
        slot.arChunks[0] = m_arKeys.size();
        m_arKeys.insert(m_arKeys.end(), sWord.utf16(), sWord.utf16() + sWord.size());
    }
    ++m_nSettled;
}

void CCompletionIndex::Offer(SRun& run, QStringView sWord)
{
    // Nearly every word of a text is a short one met before: one key made
    // and one slot compared a chunk at a time.
    if (sWord.size() <= kInline) {
        const SKey key = KeyOf(sWord);
        if (!IsSettled(key))
            LearnUnsettled(run, sWord, key.nHash);
        return;
    }
    const quint32 nHash = Hash(sWord);
    if (!IsSettled(sWord, nHash))
        LearnUnsettled(run, sWord, nHash);
}

void CCompletionIndex::LearnUnsettled(SRun& run, QStringView sWord, quint32 nHash)
{
    if (!run.learning)
        run.learning.emplace(run.list);
    if (run.learning->Learn(sWord) != EAnswer::RefusedForNow)
        Settle(sWord, nHash);
}

int CCompletionIndex::Learn(CSortStringArray& list, QStringView sWord)
{
    Follow(list);
    const quint32 nHash = Hash(sWord);
    if (IsSettled(sWord, nHash))
        return -1;
    // A single word walks the list as InsertSorted does: the insertion moves
    // half the list anyway, and the blocks would first have to be built.
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& sEntry = list.at(i);
        if (CompareNoCase(sEntry, sWord) == 0) {
            if (CompareCase(sEntry, sWord) <= 0)
                Settle(sWord, nHash);
            return -1;
        }
        if (CompareCase(sEntry, sWord) > 0) {
            // Let go of the copy first, or the insertion would copy the list.
            m_arKnown = QStringList();
            list.insert(i, sWord.toString());
            Adopt(list);
            Settle(sWord, nHash);
            return int(i);
        }
    }
    Settle(sWord, nHash);
    return -1;
}

void CCompletionIndex::LearnWords(CSortStringArray& list, const std::function<void(const WordSink&)>& produce)
{
    Follow(list);
    SRun run(list);
    produce(CWordSink(*this, run));
    if (!run.learning || !run.learning->Changed())
        return;
    m_arKnown = QStringList();
    static_cast<QStringList&>(list) = run.learning->Words();
    Adopt(list);
}
