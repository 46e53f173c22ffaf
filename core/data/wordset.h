#pragma once

#include <QStringView>

#include <cstddef>
#include <cstring>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// What a word set compares. A word of up to kInline Latin-1 characters (most
// variable names) is its key: sixteen bytes, its length first, zeros after
// it. Any other word is its hash and its characters.
struct SWordKey
{
    static constexpr qsizetype kInline = 15;
    static constexpr quint64 kLong = 0xFF;  // the first byte of every other key

    quint64 nLow = 0;
    quint64 nHigh = 0;
    quint32 nHash = 0;

    // How many characters a scanner's text must hold from a word's start for
    // FoldedInline: the key is made from two vector loads, whatever lies
    // past the word's end.
    static constexpr qsizetype kReadable = 16;

    bool IsInline() const { return (nLow & 0xFF) != kLong; }
    bool operator==(const SWordKey& other) const { return nLow == other.nLow && nHigh == other.nHigh; }
    static SWordKey Of(QStringView sWord);
    // The inline key of the n characters at p with ASCII letters folded to
    // small ones, as the dictionary folds; p must hold kReadable characters,
    // and n may be anything up to 64. False when the word is not kept
    // inline. No branch depends on the word: a scanner makes keys for words
    // it cannot predict, some of which it then throws away.
    static bool FoldedInline(const char16_t* p, qsizetype n, SWordKey& key) { return InlineKeyOf16<true>(p, n, key); }
    static quint32 MixInline(quint64 nLow, quint64 nHigh);
    // The characters of an inline key, into a buffer of kInline.
    QStringView Word(char16_t* pBuffer) const;

private:
    // Sixteen characters, those from n on ignored; false when n is beyond
    // kInline or one of the first n lies beyond Latin-1.
    template <bool kFold> static bool InlineKeyOf16(const char16_t* p, qsizetype n, SWordKey& key);
    static SWordKey LongKey(QStringView sWord);
};

// A word as a scanner hands it on, its key made where the word lies in the
// text. An inline word is its key; any other word's characters are in sLong
// as the set compares them.
struct SKeyedWord
{
    SWordKey key;
    QStringView sLong;

    // A view of the key's characters in pBuffer (kInline long), or sLong.
    QStringView Word(char16_t* pBuffer) const { return key.IsInline() ? key.Word(pBuffer) : sLong; }
};

// Words handed on a few at a time, so that the table slots they need are all
// asked for before the first is looked at: a table of tens of thousands of
// words does not stay in the cache while a large text streams past.
using KeyedWords = std::span<const SKeyedWord>;

// A set of words in one flat table of sixteen-byte slots, open addressing:
// a look-up of an inline word touches one slot, and Prefetch lets a caller
// start that touch before it asks.
class CWordSet
{
public:
    // sWord is read only when the key is not inline.
    bool Contains(const SWordKey& key, QStringView sWord) const { return m_arSlots[Find(key, sWord)].nLow != 0; }
    // Whether the word was new.
    bool Insert(const SWordKey& key, QStringView sWord);
    void Prefetch(const SWordKey& key) const { __builtin_prefetch(&m_arSlots[key.nHash & (m_arSlots.size() - 1)]); }
    qsizetype Size() const { return m_nSize; }
    void Clear();

private:
    struct SSlot
    {
        quint64 nLow = 0;   // 0 marks an empty slot; a long word's hash above its marker
        quint64 nHigh = 0;  // a long word: its length above where it starts in m_arPool
    };

    size_t Find(const SWordKey& key, QStringView sWord) const
    {
        const size_t nMask = m_arSlots.size() - 1;
        for (size_t i = key.nHash & nMask;; i = (i + 1) & nMask) {
            const SSlot& slot = m_arSlots[i];
            if (slot.nLow == 0
                || (slot.nLow == key.nLow && (key.IsInline() ? slot.nHigh == key.nHigh : SameLong(slot, sWord))))
                return i;
        }
    }
    bool SameLong(const SSlot& slot, QStringView sWord) const;
    void Grow();
    static quint32 HashOf(const SSlot& slot);

    // Never empty, so that a look-up needs no test for it.
    std::vector<SSlot> m_arSlots = std::vector<SSlot>(1024);
    std::vector<char16_t> m_arPool;
    qsizetype m_nSize = 0;
};

inline quint32 SWordKey::MixInline(quint64 nLow, quint64 nHigh)
{
    quint64 nHash = nLow * 0x9e3779b97f4a7c15ull ^ nHigh * 0xc2b2ae3d27d4eb4full;
    nHash ^= nHash >> 29;
    nHash *= 0xbf58476d1ce4e5b9ull;
    return quint32(nHash >> 32);
}

// Inline: made for every word a script holds, in the caller's registers.
template <bool kFold> inline bool SWordKey::InlineKeyOf16(const char16_t* p, qsizetype n, SWordKey& key)
{
#if defined(__SSE2__)
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    const __m128i wide = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
    const unsigned nWide = ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(wide, _mm_setzero_si128())));
    const bool bInline = (n <= kInline) & ((nWide & ((1u << (n & 15)) - 1)) == 0);
    const __m128i kIndex = _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i keep = _mm_cmplt_epi8(kIndex, _mm_set1_epi8(char(n)));
    __m128i bytes = _mm_and_si128(_mm_packus_epi16(lo, hi), keep);
    if constexpr (kFold) {
        // 'A'..'Z' as the only bytes that come out of the unsigned
        // subtraction below 26; zeros past the word stay zeros.
        const __m128i upper = _mm_sub_epi8(bytes, _mm_set1_epi8('A'));
        const __m128i isUpper = _mm_cmpeq_epi8(_mm_min_epu8(upper, _mm_set1_epi8(25)), upper);
        bytes = _mm_add_epi8(bytes, _mm_and_si128(isUpper, _mm_set1_epi8('a' - 'A')));
    }
    bytes = _mm_or_si128(_mm_slli_si128(bytes, 1), _mm_cvtsi32_si128(int(n + 1)));
    // One store of both halves: a later load of the key, whole or in
    // halves, is then served from it instead of waiting for two stores.
    static_assert(offsetof(SWordKey, nHigh) == offsetof(SWordKey, nLow) + 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&key.nLow), bytes);
    key.nHash
        = MixInline(quint64(_mm_cvtsi128_si64(bytes)), quint64(_mm_cvtsi128_si64(_mm_unpackhi_epi64(bytes, bytes))));
    return bInline;
#else
    if (n > kInline)
        return false;
    unsigned char arBytes[16] = {};
    arBytes[0] = (unsigned char)(n + 1);
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] > 0xFF)
            return false;
        arBytes[i + 1] = (unsigned char)(kFold && p[i] >= 'A' && p[i] <= 'Z' ? p[i] + ('a' - 'A') : p[i]);
    }
    std::memcpy(&key.nLow, arBytes, 8);
    std::memcpy(&key.nHigh, arBytes + 8, 8);
    key.nHash = MixInline(key.nLow, key.nHigh);
    return true;
#endif
}
