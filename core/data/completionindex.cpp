#include "core/data/completionindex.h"

#include "core/data/codepage.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>

namespace {

enum class EAnswer {
    Inserted,
    Refused,
    // Turned away by a spelling differing in case that sorts after the word:
    // an insertion in between can still let it in.
    RefusedForNow,
};

// The same hash for two words equal ignoring case, as CompareNoCase has it.
// Only new words and the list's own entries go through it.
quint32 FoldedHash(QStringView sWord)
{
    quint32 nHash = 2166136261u;
    for (QChar c : sWord) {
        const char16_t u = c.unicode();
        nHash = (nHash ^ (u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u)) * 16777619u;
    }
    return nHash;
}

// The first fourteen characters of a word in the order CompareCase gives
// them, nine bits each, in two numbers (0 past the word's end, the code page
// byte plus one, or 257 for a character outside the code page and for every
// one after it). Most comparisons of a binary search are settled by the
// numbers alone, without reaching for the word's characters, which lie all
// over the heap.
struct SOrder
{
    static constexpr int kChars = 14;
    static constexpr int kHalf = kChars / 2;

    quint64 nFirst = 0;
    quint64 nSecond = 0;

    static SOrder Of(QStringView s)
    {
        quint64 arValues[2] = {0, 0};
        const int nTake = int(std::min<qsizetype>(s.size(), kChars));
        for (int i = 0; i < nTake; ++i) {
            const int nOrder = CodePage::ByteOrder(s[i]);
            if (nOrder > 0xFF) [[unlikely]] {
                for (int k = i; k < kChars; ++k)
                    arValues[k / kHalf] |= quint64(257) << Shift(k);
                break;
            }
            arValues[i / kHalf] |= quint64(nOrder + 1) << Shift(i);
        }
        return {arValues[0], arValues[1]};
    }

    auto operator<=>(const SOrder&) const = default;

private:
    // The first character of each number in its highest bits.
    static constexpr int Shift(int i) { return 9 * (kHalf - 1 - i % kHalf); }
};

// The list while a run of words is learnt. What InsertSorted asks of the
// list, "the first entry greater than the word", is the first entry whose
// prefix maximum (the greatest entry by case up to it) is greater; prefix
// maxima never decrease along the list, and an insertion changes none of the
// others, the new entry being its own. So the list is at every moment its
// entries ordered by prefix maximum, a new entry after the list's own ones
// of the same maximum, and a word is taken exactly when it is less than the
// greatest entry and no spelling differing only in case stands in its way.
//
// Only such a spelling makes the place of the first greater entry matter
// while learning, and a script's words seldom have one; so the new entries
// wait unordered until a word needs that place, or the list is taken. From
// then on the entries are kept in blocks sorted by prefix maximum and found
// by binary search, and an insertion moves a part of one block only.
class CLearningList
{
public:
    explicit CLearningList(const QStringList& words)
    {
        m_arWords.reserve(size_t(words.size()) + 1024);
        m_arMax.reserve(size_t(words.size()) + 1024);
        m_nOwn = int(words.size());
        SSlot max;
        for (const QString& sWord : words) {
            const int nEntry = AddEntry(sWord, FoldedHash(sWord));
            if (nEntry == 0 || CompareCase(sWord, m_arWords[max.nEntry]) > 0)
                max = {SOrder::Of(sWord), nEntry};
            m_arMax[nEntry] = m_arWords[max.nEntry];
            m_arMerged.push_back({max.order, nEntry});
        }
    }

    EAnswer Learn(QStringView sWord)
    {
        const SOrder order = SOrder::Of(sWord);
        // Nothing greater: the greatest entry never changes, so never will there be.
        if (m_arMerged.empty() || CompareWith(order, sWord, m_arMerged.back()) >= 0)
            return EAnswer::Refused;
        const quint32 nHash = FoldedHash(sWord);
        bool bSpelling = false;
        for (int n = m_arSpellings.empty() ? -1 : m_arSpellings[SpellingSlot(sWord, nHash)].nHead; n >= 0;
             n = m_arNextSpelling[n]) {
            bSpelling = true;
            // Which of two spellings learnt in one run came first decides.
            m_bOrderMatters |= n >= m_nOwn;
            // An entry equal ignoring case lies before the first greater one
            // exactly when its prefix maximum is not greater than the word.
            if (CompareCase(m_arMax[n], sWord) <= 0)
                return EAnswer::Refused;
        }
        if (bSpelling) {
            Order();
            const SPlace place = FirstBeyond(order, sWord);
            if (CompareNoCase(m_arWords[place.it->nEntry], sWord) == 0) {
                m_bOrderMatters = true;
                return EAnswer::RefusedForNow;
            }
        }
        const int nEntry = AddEntry(sWord.toString(), nHash);
        m_arMax[nEntry] = m_arWords.back();
        if (m_bOrdered)
            Insert({order, nEntry});
        else
            m_arWaiting.push_back({order, nEntry});
        m_bChanged = true;
        return EAnswer::Inserted;
    }

    bool Changed() const { return m_bChanged; }
    // Whether a word's answer could have been another had the words come in
    // another order: a word turned away for now, or one meeting a spelling
    // learnt in the same run. Any other word's answer, and the list that
    // comes of them, are the same in whatever order the words come.
    bool OrderMattered() const { return m_bOrderMatters; }

    // Folds the waiting entries into the order of the others: worth doing
    // now and then while other threads still read, so that little is left
    // to sort once they are done.
    void Merge()
    {
        // Each merge moves every entry: only once enough are waiting.
        if (m_bOrdered || m_arWaiting.size() * kMergeShare < m_arMerged.size())
            return;
        std::vector<SSlot> merged;
        merged.reserve(m_arMerged.size() + m_arWaiting.size());
        InOrder([&merged](const SSlot& slot) { merged.push_back(slot); });
        m_arMerged.swap(merged);
        m_arWaiting.clear();
    }

    // Puts every entry in order, once; the learning after it keeps them
    // so, in blocks.
    void Order()
    {
        if (m_bOrdered)
            return;
        InOrder([this](const SSlot& slot) {
            if (m_arBlocks.empty() || m_arBlocks.back().size() == kHalfBlock) {
                m_arBlocks.emplace_back().reserve(kHalfBlock);
                m_arLast.emplace_back();
            }
            m_arBlocks.back().push_back(slot);
            m_arLast.back() = slot;
        });
        m_arWaiting = {};
        m_bOrdered = true;
    }

    // The list as it now stands; the words are moved out, which spares
    // touching each one's characters to count one more user, so the
    // learning list is done with.
    QStringList TakeWords()
    {
        QStringList words(qsizetype(m_arWords.size()));
        QString* pOut = words.data();
        const auto take = [&](const SSlot& slot) { (pOut++)->swap(m_arWords[slot.nEntry]); };
        if (m_bOrdered) {
            for (const std::vector<SSlot>& block : m_arBlocks)
                std::for_each(block.begin(), block.end(), take);
        } else {
            InOrder(take);
        }
        return words;
    }

private:
    static constexpr size_t kHalfBlock = 64;
    static constexpr size_t kMergeShare = 16;

    // An entry with the order of its prefix maximum, whose characters are
    // m_arMax[nEntry].
    struct SSlot
    {
        SOrder order;
        int nEntry = 0;
    };

    struct SPlace
    {
        size_t nBlock;
        std::vector<SSlot>::iterator it;
    };

    int AddEntry(QString sWord, quint32 nHash)
    {
        m_arWords.push_back(std::move(sWord));
        m_arMax.emplace_back();
        m_arNextSpelling.push_back(-1);
        AddSpelling(int(m_arWords.size()) - 1, nHash);
        return int(m_arWords.size()) - 1;
    }

    // What CompareCase says of a word and an entry's prefix maximum.
    int CompareWith(const SOrder& order, QStringView sWord, const SSlot& slot) const
    {
        if (const auto ordered = order <=> slot.order; ordered != 0)
            return ordered < 0 ? -1 : 1;
        return CompareCase(sWord, m_arMax[slot.nEntry]);
    }

    // Every entry in list order, handed to onSlot: the waiting ones sorted,
    // each after the merged entries whose prefix maximum is not greater,
    // the list's own and the new ones met before it.
    template <class F> void InOrder(F&& onSlot)
    {
        const auto before = [this](const SSlot& a, const SSlot& b) {
            if (const auto order = a.order <=> b.order; order != 0)
                return order < 0;
            const int nOrder = CompareCase(m_arMax[a.nEntry], m_arMax[b.nEntry]);
            return nOrder != 0 ? nOrder < 0 : a.nEntry < b.nEntry;
        };
        std::sort(m_arWaiting.begin(), m_arWaiting.end(), before);
        auto merged = m_arMerged.begin();
        for (const SSlot& slot : m_arWaiting) {
            for (; merged != m_arMerged.end() && !before(slot, *merged); ++merged)
                onSlot(*merged);
            onSlot(slot);
        }
        std::for_each(merged, m_arMerged.end(), onSlot);
    }

    // The first entry whose prefix maximum is greater than the word, which
    // must be less than the greatest entry.
    SPlace FirstBeyond(const SOrder& order, QStringView sWord)
    {
        const auto notBeyond = [&](const SSlot& slot) { return CompareWith(order, sWord, slot) >= 0; };
        const auto last = std::partition_point(m_arLast.begin(), m_arLast.end(), notBeyond);
        const size_t nBlock = size_t(last - m_arLast.begin());
        std::vector<SSlot>& block = m_arBlocks[nBlock];
        return {nBlock, std::partition_point(block.begin(), block.end(), notBeyond)};
    }

    void Insert(const SSlot& slot)
    {
        const SPlace place = FirstBeyond(slot.order, m_arMax[slot.nEntry]);
        m_arBlocks[place.nBlock].insert(place.it, slot);
        if (m_arBlocks[place.nBlock].size() == 2 * kHalfBlock)
            SplitBlock(place.nBlock);
    }

    void SplitBlock(size_t nBlock)
    {
        std::vector<SSlot>& block = m_arBlocks[nBlock];
        std::vector<SSlot> back(block.begin() + kHalfBlock, block.end());
        block.resize(kHalfBlock);
        m_arLast[nBlock] = block.back();
        m_arLast.insert(m_arLast.begin() + qsizetype(nBlock) + 1, back.back());
        m_arBlocks.insert(m_arBlocks.begin() + qsizetype(nBlock) + 1, std::move(back));
    }

    struct SSpelling
    {
        quint32 nHash = 0;
        int nHead = -1;  // the last entry of the chain, -1 for an empty slot
    };

    // The slot of the spelling chain the word belongs to, or the empty slot
    // where it would start. The hash kept in each slot spares most probes a
    // look at another word's characters, which lie anywhere on the heap.
    size_t SpellingSlot(QStringView sWord, quint32 nHash) const
    {
        const size_t nMask = m_arSpellings.size() - 1;
        size_t i = nHash & nMask;
        while (m_arSpellings[i].nHead >= 0
               && (m_arSpellings[i].nHash != nHash || CompareNoCase(m_arWords[m_arSpellings[i].nHead], sWord) != 0))
            i = (i + 1) & nMask;
        return i;
    }

    void AddSpelling(int n, quint32 nHash)
    {
        if ((m_nSpellings + 1) * 2 > m_arSpellings.size()) {
            std::vector<SSpelling> old(std::max<size_t>(m_arSpellings.size() * 2, 1024));
            old.swap(m_arSpellings);
            const size_t nMask = m_arSpellings.size() - 1;
            for (const SSpelling& spelling : old) {
                if (spelling.nHead < 0)
                    continue;
                size_t i = spelling.nHash & nMask;
                while (m_arSpellings[i].nHead >= 0)
                    i = (i + 1) & nMask;
                m_arSpellings[i] = spelling;
            }
        }
        SSpelling& spelling = m_arSpellings[SpellingSlot(m_arWords[n], nHash)];
        if (spelling.nHead < 0)
            ++m_nSpellings;
        m_arNextSpelling[n] = spelling.nHead;
        spelling = {nHash, n};
    }

    // By entry, in the order they came: the list's own, then the new words.
    // The views point into these strings, whose characters never move.
    std::vector<QString> m_arWords;
    std::vector<QStringView> m_arMax;
    std::vector<int> m_arNextSpelling;
    // Open addressing: each chain of equal spellings.
    std::vector<SSpelling> m_arSpellings;
    size_t m_nSpellings = 0;
    // The list's own entries and the new ones merged in, in list order, and
    // the new ones since, as they came; once ordered, every entry in blocks,
    // with the greatest prefix maximum of each block.
    int m_nOwn = 0;
    std::vector<SSlot> m_arMerged;
    std::vector<SSlot> m_arWaiting;
    bool m_bOrdered = false;
    std::vector<std::vector<SSlot>> m_arBlocks;
    std::vector<SSlot> m_arLast;
    bool m_bChanged = false;
    bool m_bOrderMatters = false;
};

// Every word's slot in the set is asked for before the first word is looked
// up; then each is handed on in turn.
template <class F> void ForEachPrefetched(const CWordSet& set, KeyedWords words, F&& onWord)
{
    constexpr size_t kBatch = 32;
    for (size_t nFrom = 0; nFrom < words.size(); nFrom += kBatch) {
        const KeyedWords batch = words.subspan(nFrom, std::min(kBatch, words.size() - nFrom));
        for (const SKeyedWord& word : batch)
            set.Prefetch(word.key);
        for (const SKeyedWord& word : batch)
            onWord(word);
    }
}

}  // namespace

void CCompletionIndex::Follow(const CSortStringArray& list)
{
    // Sharing the buffer with the list, the copy makes every change to the
    // list detach it onto a new buffer, which is how a change is seen.
    if (m_arKnown.constData() == list.constData() && m_arKnown.size() == list.size())
        return;
    m_settled.Clear();
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

// The words one thread reads, each the first time it comes. Once a word was
// taken or turned away for good, any later coming of it is turned away as
// well; so its first meeting is all that can change the list.
class CCompletionIndex::CFirstMeetings
{
public:
    void Meet(KeyedWords words)
    {
        ForEachPrefetched(m_met, words, [this](const SKeyedWord& word) { Record(word.key, word.sLong); });
    }

    void Meet(QStringView sWord) { Record(SWordKey::Of(sWord), sWord); }

    // The words in the order met, a batch at a time, as a scanner hands
    // them on.
    template <class F> void ForEach(F&& onWords) const
    {
        constexpr size_t kBatch = 32;
        SKeyedWord arBatch[kBatch];
        size_t nInBatch = 0;
        size_t nLong = 0;
        for (const SWordKey& key : m_arKeys) {
            SKeyedWord& word = arBatch[nInBatch++];
            word.key = key;
            word.sLong = {};
            if (!key.IsInline()) {
                const auto [nFrom, nLength] = m_arLong[nLong++];
                word.sLong = QStringView(m_arLongChars.data() + nFrom, nLength);
            }
            if (nInBatch == kBatch) {
                onWords(KeyedWords(arBatch, nInBatch));
                nInBatch = 0;
            }
        }
        if (nInBatch > 0)
            onWords(KeyedWords(arBatch, nInBatch));
    }

private:
    void Record(const SWordKey& key, QStringView sWord)
    {
        // Nearly every word was met before: asking first spares the call.
        if (m_met.Contains(key, sWord) || !m_met.Insert(key, sWord))
            return;
        m_arKeys.push_back(key);
        if (!key.IsInline()) {
            m_arLong.emplace_back(qsizetype(m_arLongChars.size()), sWord.size());
            m_arLongChars.insert(m_arLongChars.end(), sWord.utf16(), sWord.utf16() + sWord.size());
        }
    }

    CWordSet m_met;
    std::vector<SWordKey> m_arKeys;
    std::vector<std::pair<qsizetype, qsizetype>> m_arLong;
    std::vector<char16_t> m_arLongChars;
};

void CCompletionIndex::Meet(CFirstMeetings& meetings, KeyedWords words)
{
    meetings.Meet(words);
}

void CCompletionIndex::Meet(CFirstMeetings& meetings, QStringView sWord)
{
    meetings.Meet(sWord);
}

void CCompletionIndex::Offer(SRun& run, KeyedWords words)
{
    ForEachPrefetched(m_settled, words, [this, &run](const SKeyedWord& word) {
        if (m_settled.Contains(word.key, word.sLong))
            return;
        char16_t arBuffer[SWordKey::kInline];
        LearnUnsettled(run, word.Word(arBuffer), word.key);
    });
}

void CCompletionIndex::Offer(SRun& run, const SWordKey& key, QStringView sWord)
{
    if (!m_settled.Contains(key, sWord))
        LearnUnsettled(run, sWord, key);
}

void CCompletionIndex::LearnUnsettled(SRun& run, QStringView sWord, const SWordKey& key)
{
    if (!run.learning)
        run.learning.emplace(run.list);
    if (run.learning->Learn(sWord) != EAnswer::RefusedForNow)
        m_settled.Insert(key, sWord);
}

int CCompletionIndex::Learn(CSortStringArray& list, QStringView sWord)
{
    Follow(list);
    const SWordKey key = SWordKey::Of(sWord);
    if (m_settled.Contains(key, sWord))
        return -1;
    // A single word walks the list as InsertSorted does: the insertion moves
    // half the list anyway, and the blocks would first have to be built.
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& sEntry = list.at(i);
        if (CompareNoCase(sEntry, sWord) == 0) {
            if (CompareCase(sEntry, sWord) <= 0)
                m_settled.Insert(key, sWord);
            return -1;
        }
        if (CompareCase(sEntry, sWord) > 0) {
            // Let go of the copy first, or the insertion would copy the list.
            m_arKnown = QStringList();
            list.insert(i, sWord.toString());
            Adopt(list);
            m_settled.Insert(key, sWord);
            return int(i);
        }
    }
    m_settled.Insert(key, sWord);
    return -1;
}

void CCompletionIndex::LearnWords(CSortStringArray& list, const Produce& produce)
{
    LearnWords(list, std::vector<Produce>{produce});
}

void CCompletionIndex::LearnWords(CSortStringArray& list, const std::vector<Produce>& producers, int nThreads)
{
    Follow(list);
    SRun run(list);
    if (nThreads < 2 || producers.size() < 2) {
        ProduceInTurn(run, producers);
    } else if (!ProduceSideBySide(run, producers, nThreads)) {
        // Forgetting what is settled only costs time: every word is
        // answered again from the list as it was.
        m_settled.Clear();
        run.learning.reset();
        ProduceInTurn(run, producers);
    }
    if (!run.learning || !run.learning->Changed())
        return;
    m_arKnown = QStringList();
    static_cast<QStringList&>(list) = run.learning->TakeWords();
    Adopt(list);
}

void CCompletionIndex::ProduceInTurn(SRun& run, const std::vector<Produce>& producers)
{
    for (const auto& produce : producers)
        produce(CWordSink(*this, run));
}

// The producers shared out as the threads get free, the calling thread
// learning the words of those it takes as they come, the others collecting
// the first meeting of each word for it to learn once they are done: so a
// thread on a slower or busier processor simply takes fewer. The words come
// out of order, which changes nothing unless the learning list says it
// mattered; false then, and the words must be taken again in order.
bool CCompletionIndex::ProduceSideBySide(SRun& run, const std::vector<Produce>& producers, int nThreads)
{
    std::atomic<size_t> nNext{0};
    std::vector<CFirstMeetings> meetings(size_t(nThreads - 1));
    std::vector<std::thread> threads;
    for (CFirstMeetings& met : meetings)
        threads.emplace_back([&producers, &nNext, &met] {
            for (size_t i = nNext++; i < producers.size(); i = nNext++)
                producers[i](CWordSink(met));
        });
    // The words learnt are merged into order after each producer, while
    // the other threads still read: little is left to sort at the end.
    for (size_t i = nNext++; i < producers.size(); i = nNext++) {
        producers[i](CWordSink(*this, run));
        if (run.learning)
            run.learning->Merge();
    }
    for (std::thread& thread : threads)
        thread.join();
    for (const CFirstMeetings& met : meetings)
        met.ForEach([this, &run](KeyedWords words) { Offer(run, words); });
    return !run.learning || !run.learning->OrderMattered();
}
