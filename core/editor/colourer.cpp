#include "core/editor/colourer.h"

#include "core/data/dictionary.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// AVX2 where the processor has it, chosen as the program runs: the build
// itself targets every x86-64.
#if defined(__x86_64__) && defined(__GNUC__)
#define VELK_WIDE_VECTORS 1
#include <atomic>
#include <immintrin.h>
#else
#define VELK_WIDE_VECTORS 0
#endif

namespace {

const QString kReservedWords[]
    = {QStringLiteral("goto"), QStringLiteral("true"),   QStringLiteral("false"), QStringLiteral("and"),
       QStringLiteral("or"),   QStringLiteral("not"),    QStringLiteral("while"), QStringLiteral("do"),
       QStringLiteral("if"),   QStringLiteral("then"),   QStringLiteral("else"),  QStringLiteral("exit"),
       QStringLiteral("for"),  QStringLiteral("foreach")};

constexpr const char* kExtKeywords[] = {"class", "#define", "#include"};

constexpr quint8 kWeaponLists = CWordIndex::Bit(EWordList::InfWeapons) | CWordIndex::Bit(EWordList::InfMagazines)
    | CWordIndex::Bit(EWordList::VehWeapons) | CWordIndex::Bit(EWordList::VehMagazines)
    | CWordIndex::Bit(EWordList::Vehicles) | CWordIndex::Bit(EWordList::Equipment);

// What the tokenizer makes of a character; everything outside ASCII is Other.
enum ECharKind : quint8 { kOther, kWordChar, kQuoteChar, kSystemChar, kPercentChar };

constexpr std::array<quint8, 128> MakeCharKinds()
{
    std::array<quint8, 128> kinds{};
    for (int c = 'a'; c <= 'z'; ++c)
        kinds[c] = kWordChar;
    for (int c = 'A'; c <= 'Z'; ++c)
        kinds[c] = kWordChar;
    for (int c = '0'; c <= '9'; ++c)
        kinds[c] = kWordChar;
    kinds['_'] = kWordChar;
    kinds['"'] = kQuoteChar;
    kinds['?'] = kSystemChar;
    kinds[':'] = kSystemChar;
    kinds['!'] = kSystemChar;
    kinds['@'] = kSystemChar;
    kinds['%'] = kPercentChar;
    return kinds;
}

constexpr std::array<quint8, 128> kCharKinds = MakeCharKinds();

inline ECharKind KindOf(char16_t c)
{
    return c < 128 ? ECharKind(kCharKinds[c]) : kOther;
}

// The dictionary's folding: ASCII letters only, so no Unicode rule merges
// words the game keeps apart.
inline char16_t Fold(char16_t c)
{
    return char16_t(unsigned(c - u'A') < 26u ? c + (u'a' - u'A') : c);
}

inline bool FoldedEquals(const char16_t* p, qsizetype n, QStringView lower)
{
    if (n != lower.size())
        return false;
    for (qsizetype i = 0; i < n; ++i)
        if (Fold(p[i]) != lower[i].unicode())
            return false;
    return true;
}

inline bool StartsWithFolded(QStringView t, QStringView lower)
{
    return t.size() >= lower.size() && FoldedEquals(t.utf16(), lower.size(), lower);
}

// The first of a few characters from i on, n when there is none; eight
// characters a step where the processor has SSE2, which is where opening a
// large script spends its time between the few characters that matter.
template <char16_t... kChars> qsizetype FindFirstOf(const char16_t* p, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi16(v, _mm_set1_epi16(short(kChars))))), ...);
        if (const unsigned nMask = unsigned(_mm_movemask_epi8(hits)))
            return i + std::countr_zero(nMask) / 2;
    }
#endif
    for (; i < n; ++i)
        if (((p[i] == kChars) || ...))
            return i;
    return n;
}

inline qsizetype SkipWordChars(const char16_t* p, qsizetype i, qsizetype n)
{
    while (i < n && KindOf(p[i]) == kWordChar)
        ++i;
    return i;
}

// Which of up to 64 characters are word characters, quotes, underscores,
// line breaks, blanks and the characters that end a line at its start when
// they come first (';', '#', '&'), one bit each from the lowest; bits past
// nCount are 0.
struct SLineMasks
{
    quint64 nWord = 0;
    quint64 nQuote = 0;
    quint64 nUnderscore = 0;
    quint64 nBreak = 0;
    quint64 nBlank = 0;
    quint64 nLineEnder = 0;
};

#if defined(__SSE2__)
// Sixteen characters as six 16-bit masks. Saturating to bytes turns
// everything past Latin-1 into 0 or 255, neither of which is a word
// character or a quote.
inline void MasksOf16(const char16_t* p, int nShift, SLineMasks& masks)
{
    const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
    const __m128i bytes = _mm_packus_epi16(lo, hi);
    const __m128i isUnderscore = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_'));
    const __m128i letter = _mm_sub_epi8(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), _mm_set1_epi8('a'));
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_min_epu8(letter, _mm_set1_epi8(25)), letter);
    const __m128i digit = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(digit, _mm_set1_epi8(9)), digit);
    const __m128i isWord = _mm_or_si128(_mm_or_si128(isLetter, isDigit), isUnderscore);
    masks.nQuote |= quint64(quint16(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'))))) << nShift;
    masks.nUnderscore |= quint64(quint16(_mm_movemask_epi8(isUnderscore))) << nShift;
    masks.nWord |= quint64(quint16(_mm_movemask_epi8(isWord))) << nShift;
    masks.nBreak |= quint64(quint16(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))))) << nShift;
    const __m128i isBlank
        = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')));
    masks.nBlank |= quint64(quint16(_mm_movemask_epi8(isBlank))) << nShift;
    const __m128i isLineEnder = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(';')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('#'))),
        _mm_cmpeq_epi8(bytes, _mm_set1_epi8('&')));
    masks.nLineEnder |= quint64(quint16(_mm_movemask_epi8(isLineEnder))) << nShift;
}
#endif

// Whether a script or function file line goes through the tokenizer: remark
// lines and label or directive lines end with their first character.
bool Tokenized(QChar cFirst)
{
    return cFirst != QLatin1Char(';') && cFirst != QLatin1Char('#') && cFirst != QLatin1Char('&');
}

// Scalar, for what the vector steps cannot reach.
inline void MasksOfEach(const char16_t* p, int nFrom, int nTo, SLineMasks& masks)
{
    for (int i = nFrom; i < nTo; ++i) {
        const quint64 nBit = quint64(1) << i;
        const ECharKind eKind = KindOf(p[i]);
        if (eKind == kWordChar)
            masks.nWord |= nBit;
        if (eKind == kQuoteChar)
            masks.nQuote |= nBit;
        if (p[i] == u'_')
            masks.nUnderscore |= nBit;
        if (p[i] == u'\n')
            masks.nBreak |= nBit;
        if (p[i] == u' ' || p[i] == u'\t')
            masks.nBlank |= nBit;
        if (!Tokenized(QChar(p[i])))
            masks.nLineEnder |= nBit;
    }
}

// nBefore characters of the line lie before p and may be read too.
SLineMasks MasksOf(const char16_t* p, int nCount, qsizetype nBefore)
{
    SLineMasks masks;
    int i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= nCount; i += 16)
        MasksOf16(p + i, i, masks);
    if (i < nCount && nBefore + nCount >= 16) {
        // The last sixteen characters of the line, shifted so that only
        // those not seen yet count: nothing past the end is read.
        SLineMasks last;
        MasksOf16(p + nCount - 16, 0, last);
        const int nSeen = 16 - (nCount - i);
        masks.nWord |= (last.nWord >> nSeen) << i;
        masks.nQuote |= (last.nQuote >> nSeen) << i;
        masks.nUnderscore |= (last.nUnderscore >> nSeen) << i;
        masks.nBreak |= (last.nBreak >> nSeen) << i;
        masks.nBlank |= (last.nBlank >> nSeen) << i;
        masks.nLineEnder |= (last.nLineEnder >> nSeen) << i;
        i = nCount;
    }
#else
    Q_UNUSED(nBefore);
#endif
    MasksOfEach(p, i, nCount, masks);
    return masks;
}

// Bit i becomes the parity of bits 0..i.
inline quint64 PrefixXor(quint64 n)
{
    n ^= n << 1;
    n ^= n << 2;
    n ^= n << 4;
    n ^= n << 8;
    n ^= n << 16;
    n ^= n << 32;
    return n;
}

// Whether each of the chunk's characters leaves a string open: the parity
// of the quotes before it and itself on its line, the chunk starting inside
// one where nCarry is all ones. A line break closes whatever string is open.
inline quint64 InStringAfter(const SLineMasks& masks, quint64 nCarry)
{
    quint64 nInString = PrefixXor(masks.nQuote) ^ nCarry;
    // Each break that finds a string open flips everything from it on;
    // the lowest such break moves up every round.
    for (quint64 nOpen = masks.nBreak & nInString; nOpen != 0; nOpen = masks.nBreak & nInString)
        nInString ^= ~quint64(0) << std::countr_zero(nOpen);
    return nInString;
}

// a + b + nCarryIn, the carry out of the top bit going to nCarryOut.
inline quint64 AddWithCarry(quint64 a, quint64 b, quint64 nCarryIn, quint64& nCarryOut)
{
    const quint64 nSum = a + b;
    const quint64 nTotal = nSum + nCarryIn;
    nCarryOut = quint64(nSum < a) | quint64(nTotal < nSum);
    return nTotal;
}

// Which of the chunk's characters lie on lines that are not tokenized,
// from the first non-blank character on. Adding a bit at the bottom of a
// run of ones carries it to just past the run: from a line start through
// its blanks this lands on the line's first character, and from that
// character through the rest of the line it clears everything up to the
// break. Both carries run on into the next chunk.
struct SUntokenizedLines
{
    quint64 nLineStartCarry = 1;  // the text starts a line
    quint64 nBlanksCarry = 0;
    quint64 nLineCarry = 0;

    quint64 Next(const SLineMasks& masks)
    {
        const quint64 nStarts = (masks.nBreak << 1) | nLineStartCarry;
        nLineStartCarry = masks.nBreak >> 63;
        const quint64 nPastBlanks = AddWithCarry(masks.nBlank, nStarts & masks.nBlank, nBlanksCarry, nBlanksCarry);
        const quint64 nFirsts = (nPastBlanks & ~masks.nBlank) | (nStarts & ~masks.nBlank);
        const quint64 nInLine = ~masks.nBreak;
        const quint64 nSum = AddWithCarry(nInLine, nFirsts & masks.nLineEnder, nLineCarry, nLineCarry);
        return (nSum ^ nInLine) & nInLine;
    }
};

int LeadingBlanks(QStringView line)
{
    int nOffset = 0;
    while (nOffset < line.size() && (line[nOffset] == QLatin1Char(' ') || line[nOffset] == QLatin1Char('\t')))
        ++nOffset;
    return nOffset;
}

// The two local-looking words the game itself sets, small letters.
constexpr const char16_t* kGameSetWords[] = {u"_this", u"_time"};

// One of them in any case.
bool IsSpecialSpelling(const char16_t* p, qsizetype n)
{
    return std::any_of(std::begin(kGameSetWords), std::end(kGameSetWords),
                       [p, n](const char16_t* pWord) { return FoldedEquals(p, n, pWord); });
}

bool IsReservedSpelling(const char16_t* p, qsizetype n)
{
    // Every reserved word starts with a letter; most words that get here
    // are numbers.
    const char16_t cFirst = p[0] | 0x20;
    if (n < 2 || n > 7 || cFirst < u'a' || cFirst > u'z')
        return false;
    for (const QString& sReserved : kReservedWords)
        if (FoldedEquals(p, n, sReserved))
            return true;
    return false;
}

// The first "//" in a line, -1 when there is none.
qsizetype DoubleSlash(QStringView t)
{
    const char16_t* p = t.utf16();
    const qsizetype n = t.size();
    for (qsizetype i = FindFirstOf<u'/'>(p, 0, n); i + 1 < n; i = FindFirstOf<u'/'>(p, i + 1, n))
        if (p[i + 1] == u'/')
            return i;
    return -1;
}

// The next "/*" from nFrom that the game reads as an opening: one in code,
// not inside a string of either quote ("" inside one is two strings back to
// back, which comes to the same) and not after a "//" remark. A string the
// line leaves unclosed ends with it; -1 when there is none.
qsizetype OpeningInCode(QStringView line, qsizetype nFrom)
{
    const char16_t* p = line.utf16();
    const qsizetype n = line.size();
    for (qsizetype i = nFrom;;) {
        const qsizetype j = FindFirstOf<u'/', u'"', u'\''>(p, i, n);
        if (j == n)
            return -1;
        if (p[j] == u'/') {
            if (j + 1 < n && p[j + 1] == u'/')
                return -1;
            if (j + 1 < n && p[j + 1] == u'*')
                return j;
            i = j + 1;
        } else {
            const qsizetype nClose = p[j] == u'"' ? FindFirstOf<u'"'>(p, j + 1, n) : FindFirstOf<u'\''>(p, j + 1, n);
            if (nClose == n)
                return -1;
            i = nClose + 1;
        }
    }
}

// The first "*/" that starts at nFrom or later, -1 when there is none.
qsizetype ClosingFrom(QStringView line, qsizetype nFrom)
{
    const char16_t* p = line.utf16();
    const qsizetype n = line.size();
    for (qsizetype i = FindFirstOf<u'/'>(p, nFrom + 1, n); i < n; i = FindFirstOf<u'/'>(p, i + 1, n))
        if (p[i - 1] == u'*')
            return i - 1;
    return -1;
}

// Hands every comment stretch of the line to onSpan and tells whether the
// last one runs on into the next line.
template <typename FSpan> bool ForEachBlockComment(QStringView line, bool bOpenAtStart, FSpan&& onSpan)
{
    qsizetype nFrom = 0;
    bool bOpen = bOpenAtStart;
    while (true) {
        if (!bOpen) {
            nFrom = OpeningInCode(line, nFrom);
            if (nFrom < 0)
                return false;
        }
        const qsizetype b = ClosingFrom(line, nFrom);
        if (b < 0) {
            onSpan(int(nFrom), int(line.size()));
            return true;
        }
        onSpan(int(nFrom), int(b + 2));
        nFrom = b + 2;
        bOpen = false;
    }
}

}  // namespace

CColourer::CColourer(const CDictionary& dictionary) : m_pIndex(&dictionary.Index())
{
}

// The line from its first non-blank character, as typed: words are folded
// one at a time where a rule needs it, never the whole line.
struct CColourer::SContext
{
    QStringView t;
    int nOffset;   // how many blanks and tabs lead the line
    int nLineEnd;  // length of the whole line
    EFileType eType;
    const SColourSwitches& switches;
    QList<SColourRun> runs;

    // Colouring a long line again: the word pass takes the runs it made
    // before resume.first last time, and reads on from there.
    const QList<SColourRun>* pKeptRuns = nullptr;
    QPair<int, qsizetype> resume{0, 0};
    // Where it may start again next time, recorded as it goes.
    QList<QPair<int, qsizetype>>* pResumePoints = nullptr;
    int nStride = 0;

    void Run(int nFrom, int nTo, EColourClass eClass) { runs.append({nOffset + nFrom, nOffset + nTo, eClass}); }
    void RunToEnd(int nFrom, EColourClass eClass) { runs.append({nOffset + nFrom, nLineEnd, eClass}); }
};

bool CColourer::IsWordChar(QChar c, bool bQuote)
{
    const char16_t u = c.unicode();
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_')
        return true;
    return bQuote && u == '"';
}

bool CColourer::IsReservedWord(QStringView word)
{
    if (word.size() < 2 || word.size() > 7)
        return false;
    for (const QString& sReserved : kReservedWords)
        if (word == sReserved)
            return true;
    return false;
}

SLineColours CColourer::ColourLine(const QString& sLine, bool bCommentOpenAtStart, EFileType eType,
                                   const SColourSwitches& switches) const
{
    const int nOffset = LeadingBlanks(sLine);
    SContext ctx{QStringView(sLine).mid(nOffset), nOffset, int(sLine.size()), eType, switches, {}};
    return Colour(sLine, bCommentOpenAtStart, ctx);
}

const SLineColours& CColourer::ColourLongLine(const QString& sLine, bool bCommentOpenAtStart, EFileType eType,
                                              const SColourSwitches& switches, SColouredLongLine& kept) const
{
    const int nOffset = LeadingBlanks(sLine);
    SContext ctx{QStringView(sLine).mid(nOffset), nOffset, int(sLine.size()), eType, switches, {}};
    // The word pass reads each character once, left to right, and what it
    // makes of one depends on those before it alone: from a point it stood
    // outside any word and string before the first changed character, it
    // goes on as it went the whole way before. The rest of the line's rules
    // look at the line as a whole and are quick; they are applied anew.
    QList<QPair<int, qsizetype>>& points = kept.resumePoints;
    const qsizetype nSame
        = std::mismatch(sLine.begin(), sLine.end(), kept.sText.begin(), kept.sText.end()).first - sLine.begin();
    const auto pAfter
        = std::upper_bound(points.begin(), points.end(), nSame - nOffset,
                           [](qsizetype n, const QPair<int, qsizetype>& point) { return n < point.first; });
    if (kept.eType == eType && kept.switches == switches && nSame > nOffset && pAfter != points.begin()) {
        ctx.pKeptRuns = &kept.colours.runs;
        ctx.resume = *(pAfter - 1);
        points.erase(pAfter, points.end());
    } else {
        points.clear();
    }
    ctx.pResumePoints = &points;
    ctx.nStride = std::max(kept.nStride, 1);
    SLineColours colours = Colour(sLine, bCommentOpenAtStart, ctx);
    kept.colours = std::move(colours);
    kept.sText = sLine;
    kept.eType = eType;
    kept.switches = switches;
    return kept.colours;
}

SLineColours CColourer::Colour(const QString& sLine, bool bCommentOpenAtStart, SContext& ctx) const
{
    SLineColours result;
    const EFileType eType = ctx.eType;
    if (eType == kFileCSV || eType == kFileHTML || eType == kFileTXT)
        return result;
    if (ctx.nOffset < sLine.size()) {
        // Room for the usual handful of runs at once, not a regrowth per word.
        ctx.runs.reserve(8);
        LineRules(ctx);
        result.runs = std::move(ctx.runs);
    }
    // Blank lines too: inside a comment they are part of it.
    if (eType == kFileSQF && ctx.switches.bFormatRem) {
        result.bCommentOpenAtEnd = ForEachBlockComment(sLine, bCommentOpenAtStart, [&](int nFrom, int nTo) {
            result.runs.append({nFrom, nTo, EColourClass::Remark});
        });
    }
    return result;
}

QList<SLineColours> CColourer::ColourText(const QStringList& lines, EFileType eType,
                                          const SColourSwitches& switches) const
{
    QList<SLineColours> text;
    text.reserve(lines.size());
    bool bOpen = false;
    for (const QString& sLine : lines) {
        text.append(ColourLine(sLine, bOpen, eType, switches));
        bOpen = text.constLast().bCommentOpenAtEnd;
    }
    return text;
}

QStringList CColourer::LocalVariables(const QString& sLine, EFileType eType)
{
    QStringList words;
    ForEachLocalVariable(sLine, eType, [&words](QStringView word) { words.append(word.toString()); });
    return words;
}

namespace {

// The local variables found, keyed where they lie in the text and handed on
// kBatch at a time. Only a word too long to be its own key, rare in
// scripts, is folded into chars, and a word too near the end of the text
// to be read as kReadable characters is copied first.
class CKeyedBatch
{
public:
    using FSink = void (*)(void* pOnWord, KeyedWords words);

    CKeyedBatch(const char16_t* p, qsizetype n, FSink sink, void* pOnWord)
        : m_p(p)
        , m_n(n)
        , m_sink(sink)
        , m_pOnWord(pOnWord)
    {
    }

    void Emit(qsizetype nFrom, qsizetype nTo)
    {
        const qsizetype nLength = nTo - nFrom;
        // Made in place: a copy would load at once what was just stored.
        SKeyedWord* pWord = &m_arWords[m_nWords];
        pWord->sLong = {};
        bool bInline;
        if (nFrom + SWordKey::kReadable <= m_n) [[likely]] {
            bInline = SWordKey::FoldedInline(m_p + nFrom, nLength, pWord->key);
        } else {
            char16_t arTail[SWordKey::kReadable] = {};
            std::copy(m_p + nFrom, m_p + std::min(nTo, nFrom + SWordKey::kReadable), arTail);
            bInline = SWordKey::FoldedInline(arTail, nLength, pWord->key);
        }
        if (!bInline) [[unlikely]]
            pWord = KeyLong(pWord, nFrom, nTo);
        if (IsGameSet(pWord->key))
            return;
        ++m_nWords;
        FlushIfFull();
    }

    // A word of up to 64 characters with kReadable characters of text from
    // its start, its key made whether it is kept or not. No more than one
    // chunk's words may be put between two calls of FlushIfFull.
    void Put(qsizetype nFrom, qsizetype nLength, bool bKeep)
    {
        SKeyedWord* pWord = &m_arWords[m_nWords];
        const bool bInline = SWordKey::FoldedInline(m_p + nFrom, nLength, pWord->key);
        if (bKeep & !bInline) [[unlikely]] {
            Emit(nFrom, nFrom + nLength);
            return;
        }
        m_nWords += bKeep & !IsGameSet(pWord->key);
    }

    void FlushIfFull()
    {
        if (m_nWords >= kBatch)
            Flush();
    }

    void Flush()
    {
        if (m_nWords > 0)
            m_sink(m_pOnWord, KeyedWords(m_arWords, size_t(m_nWords)));
        m_nWords = 0;
        m_chars.clear();
    }

private:
    static constexpr int kBatch = 32;

    SKeyedWord* KeyLong(SKeyedWord* pWord, qsizetype nFrom, qsizetype nTo)
    {
        const qsizetype nLength = nTo - nFrom;
        // The views of the batch's words into m_chars must not move: the
        // batch goes first, and this word becomes the first of the next.
        if (m_chars.size() + nLength > m_chars.capacity()) {
            Flush();
            pWord = &m_arWords[0];
            pWord->sLong = {};
        }
        const qsizetype nStart = m_chars.size();
        for (qsizetype k = nFrom; k < nTo; ++k)
            m_chars.append(Fold(m_p[k]));
        pWord->sLong = QStringView(m_chars.data() + nStart, nLength);
        pWord->key = SWordKey::Of(pWord->sLong);
        return pWord;
    }

    const char16_t* m_p;
    qsizetype m_n;
    FSink m_sink;
    void* m_pOnWord;
    // Room for every start of one more chunk.
    SKeyedWord m_arWords[kBatch + 64];
    int m_nWords = 0;
    QVarLengthArray<char16_t, 256> m_chars;
    static inline const SWordKey s_arGameSet[] = {SWordKey::Of(kGameSetWords[0]), SWordKey::Of(kGameSetWords[1])};
    static_assert(std::size(kGameSetWords) == 2);

    static bool IsGameSet(const SWordKey& key) { return key == s_arGameSet[0] || key == s_arGameSet[1]; }
};

// What every x86-64 processor has, or plain C++ elsewhere.
struct SBaselineMasks
{
    static SLineMasks Of(const char16_t* p, int nCount, qsizetype nBefore) { return MasksOf(p, nCount, nBefore); }
};

// What one chunk of a scan for local variables hands on to the next.
struct SScanState
{
    quint64 nInStringCarry = 0;  // all ones when the chunk starts inside a string
    quint64 nBlockerCarry = 0;   // 1 when the chunk before ended in a word character or an opening quote
    SUntokenizedLines untokenized;

    // The '_' of the chunk that start a word, and in nInString which of its
    // characters leave a string open.
    quint64 Starts(const SLineMasks& masks, quint64& nInString)
    {
        nInString = InStringAfter(masks, nInStringCarry);
        const quint64 nBlockers = masks.nWord | (masks.nQuote & nInString);
        const quint64 nStarts = masks.nUnderscore & ~((nBlockers << 1) | nBlockerCarry) & ~untokenized.Next(masks);
        nInStringCarry = quint64(0) - (nInString >> 63);
        nBlockerCarry = nBlockers >> 63;
        return nStarts;
    }
};

// The word that starts at j and whose word characters end at e. Inside a
// string only a word the closing quote ends comes out; outside, a word that
// runs into an opening quote comes out only if the string closes right
// after more word characters.
inline void EmitWord(const char16_t* p, qsizetype n, qsizetype j, qsizetype e, bool bInString, CKeyedBatch& batch)
{
    if (e == n || p[e] != u'"') {
        if (!bInString)
            batch.Emit(j, e);
    } else if (bInString) {
        batch.Emit(j, e + 1);
    } else {
        const qsizetype f = SkipWordChars(p, e + 1, n);
        if (f < n && p[f] == u'"')
            batch.Emit(j, f + 1);
    }
}

// Sixty-four bits of two chunks' masks from bit nBit of the first on.
inline quint64 Window(quint64 nFirst, quint64 nSecond, int nBit)
{
    return (nFirst >> nBit) | ((nSecond << 1) << (63 - nBit));
}

// The chunks that have a whole chunk after them, with no branch on what
// each word is like: where a word ends and whether a quote follows come
// from the two chunks' masks, and a key is made for every start, kept or
// not. Only a word of 64 characters or more, or one running into an opening
// quote, goes the slow way. Returns where the chunks left to the plain scan
// begin.
constexpr qsizetype kPrefetchAhead = 1024;

template <class TMasks>
[[gnu::always_inline]] inline qsizetype ScanBulk(const char16_t* p, qsizetype n, SScanState& state, CKeyedBatch& batch)
{
    if (n < 128)
        return 0;
    qsizetype nChunk = 0;
    SLineMasks next = TMasks::Of(p, 64, 0);
    for (; nChunk + 128 <= n; nChunk += 64) {
        const SLineMasks masks = next;
        // The text is read once: asked for early and marked so, it leaves
        // the caches to the tables the words are looked up in. The address
        // asked for stays inside the text.
        const char16_t* pAhead = p + std::min(nChunk + kPrefetchAhead, n - 64);
        __builtin_prefetch(pAhead, 0, 0);
        __builtin_prefetch(pAhead + 32, 0, 0);
        next = TMasks::Of(p + nChunk + 64, 64, nChunk + 64);
        quint64 nInString;
        quint64 nStarts = state.Starts(masks, nInString);
        for (; nStarts != 0; nStarts &= nStarts - 1) {
            const int nBit = std::countr_zero(nStarts);
            const int nRun = std::countr_zero(~Window(masks.nWord, next.nWord, nBit));
            const bool bQuote = (Window(masks.nQuote, next.nQuote, nBit) >> (nRun & 63)) & 1;
            const bool bInString = (nInString >> nBit) & 1;
            const qsizetype j = nChunk + nBit;
            if ((nRun == 64) | (bQuote & !bInString)) [[unlikely]]
                EmitWord(p, n, j, SkipWordChars(p, j, n), bInString, batch);
            else
                batch.Put(j, nRun + bQuote, bQuote == bInString);
        }
        batch.FlushIfFull();
    }
    return nChunk;
}

// The words the tokenizer of ScriptLineRules hands on that start with '_'.
// Most lines hold a few of them among many other characters, so the text
// is read 64 characters at a time as bit masks (word characters, quotes,
// underscores, line breaks) and only the '_' that start a word are looked
// at one by one. Whether a character lies inside a string is the parity of
// the quotes before it on its line, whatever words they were glued to. A
// '_' starts a word unless it follows a word character or the quote that
// opened its string. A line break is neither a word character nor a quote,
// so words never run across one.
template <class TMasks>
[[gnu::always_inline]] inline void ScanLocalVariables(const char16_t* p, qsizetype n, CKeyedBatch& batch)
{
    SScanState state;
    for (qsizetype nChunk = ScanBulk<TMasks>(p, n, state, batch); nChunk < n; nChunk += 64) {
        const int nCount = int(std::min<qsizetype>(64, n - nChunk));
        const SLineMasks masks = TMasks::Of(p + nChunk, nCount, nChunk);
        quint64 nInString;
        for (quint64 nStarts = state.Starts(masks, nInString); nStarts != 0; nStarts &= nStarts - 1) {
            const int nBit = std::countr_zero(nStarts);
            const qsizetype j = nChunk + nBit;
            const quint64 nRest = ~(masks.nWord >> nBit);
            const qsizetype e = nRest != 0 && nBit + std::countr_zero(nRest) < nCount
                ? j + std::countr_zero(nRest)
                : SkipWordChars(p, nChunk + nCount, n);
            EmitWord(p, n, j, e, (nInString >> nBit) & 1, batch);
        }
    }
}

#if VELK_WIDE_VECTORS
// Sixty-four characters in two 32-byte steps where the processor has AVX2:
// half the work of the baseline's four, on the path opening a large script
// spends most of its collecting in.
struct SWideMasks
{
    [[gnu::target("avx2")]] static SLineMasks Of(const char16_t* p, int nCount, qsizetype nBefore)
    {
        if (nCount < 64)
            return MasksOf(p, nCount, nBefore);
        const SClasses a = Classify(Bytes(p));
        const SClasses b = Classify(Bytes(p + 32));
        SLineMasks masks;
        masks.nWord = Mask(a.word, b.word);
        masks.nQuote = Mask(a.quote, b.quote);
        masks.nUnderscore = Mask(a.underscore, b.underscore);
        masks.nBreak = Mask(a.lineBreak, b.lineBreak);
        masks.nBlank = Mask(a.blank, b.blank);
        masks.nLineEnder = Mask(a.lineEnder, b.lineEnder);
        return masks;
    }

private:
    struct SClasses
    {
        __m256i word, quote, underscore, lineBreak, blank, lineEnder;
    };

    // Thirty-two characters as bytes in their order, saturated as the
    // baseline saturates them.
    [[gnu::target("avx2")]] static __m256i Bytes(const char16_t* p)
    {
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 16));
        return _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
    }

    [[gnu::target("avx2")]] static __m256i Is(__m256i bytes, char c)
    {
        return _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c));
    }

    [[gnu::target("avx2")]] static SClasses Classify(__m256i bytes)
    {
        SClasses classes;
        classes.underscore = Is(bytes, '_');
        const __m256i letter = _mm256_sub_epi8(_mm256_or_si256(bytes, _mm256_set1_epi8(0x20)), _mm256_set1_epi8('a'));
        const __m256i isLetter = _mm256_cmpeq_epi8(_mm256_min_epu8(letter, _mm256_set1_epi8(25)), letter);
        const __m256i digit = _mm256_sub_epi8(bytes, _mm256_set1_epi8('0'));
        const __m256i isDigit = _mm256_cmpeq_epi8(_mm256_min_epu8(digit, _mm256_set1_epi8(9)), digit);
        classes.word = _mm256_or_si256(_mm256_or_si256(isLetter, isDigit), classes.underscore);
        classes.quote = Is(bytes, '"');
        classes.lineBreak = Is(bytes, '\n');
        classes.blank = _mm256_or_si256(Is(bytes, ' '), Is(bytes, '\t'));
        classes.lineEnder = _mm256_or_si256(_mm256_or_si256(Is(bytes, ';'), Is(bytes, '#')), Is(bytes, '&'));
        return classes;
    }

    [[gnu::target("avx2")]] static quint64 Mask(__m256i lo, __m256i hi)
    {
        return quint64(quint32(_mm256_movemask_epi8(lo))) | quint64(quint32(_mm256_movemask_epi8(hi))) << 32;
    }
};

[[gnu::target("avx2,bmi,bmi2")]] void ScanLocalVariablesWide(const char16_t* p, qsizetype n, CKeyedBatch& batch)
{
    ScanLocalVariables<SWideMasks>(p, n, batch);
}

bool HasWideVectors()
{
    // This may run before the constructors that would find out otherwise.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("bmi2") != 0;
}

std::atomic<bool> g_bWideVectors{HasWideVectors()};
#endif

}  // namespace

bool CColourer::SetWideVectors(bool bWanted)
{
#if VELK_WIDE_VECTORS
    const bool bHas = HasWideVectors();
    g_bWideVectors = bWanted && bHas;
    return bHas || !bWanted;
#else
    return !bWanted;
#endif
}

void CColourer::ForEachLocalVariable(QStringView text, EFileType eType, FWordSink sink, void* pOnWord)
{
    if (eType != kFileSQS && eType != kFileSQF)
        return;
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    CKeyedBatch batch(p, n, sink, pOnWord);
#if VELK_WIDE_VECTORS
    if (g_bWideVectors.load(std::memory_order_relaxed))
        ScanLocalVariablesWide(p, n, batch);
    else
#endif
        ScanLocalVariables<SBaselineMasks>(p, n, batch);
    batch.Flush();
}

std::vector<CCompletionIndex::Produce> CColourer::LocalVariableProducers(const CTextShadow& text, EFileType eType,
                                                                         int nThreads, QString* psCrossing,
                                                                         qsizetype nLeastPiece)
{
    const QVarLengthArray<QStringView, 3> runs = text.LineRuns(psCrossing);
    qsizetype nTotal = 0;
    for (QStringView run : runs)
        nTotal += run.size() + 1;
    // Many more pieces than threads, so that a thread that gets ahead takes
    // more of them: each a share of the text still to cut, down to a least
    // length, so that the last ones, which the threads finish apart, are
    // short.
    const qsizetype nShare = qsizetype(nThreads) * kPiecesPerThread;
    std::vector<QList<QStringView>> parts(1);
    qsizetype nDone = 0;   // characters before the rest of the run, line breaks included
    qsizetype nPiece = 0;  // where the piece being cut starts
    for (QStringView run : runs) {
        while (nThreads > 1) {
            const qsizetype nCut = nPiece + std::max(nLeastPiece, (nTotal - nPiece) / nShare);
            const qsizetype nBreak
                = nDone + run.size() < nCut ? -1 : run.indexOf(u'\n', std::max<qsizetype>(0, nCut - nDone));
            if (nBreak < 0)
                break;
            parts.back().append(run.left(nBreak));
            parts.emplace_back();
            nDone += nBreak + 1;
            nPiece = nDone;
            run = run.mid(nBreak + 1);
        }
        parts.back().append(run);
        nDone += run.size() + 1;
    }
    std::vector<CCompletionIndex::Produce> producers;
    for (const QList<QStringView>& part : parts)
        producers.push_back([part, eType](const CCompletionIndex::WordSink& learn) {
            for (QStringView run : part)
                ForEachLocalVariable(run, eType, learn);
        });
    return producers;
}

void CColourer::LineRules(SContext& ctx) const
{
    if (ctx.eType != kFileEXT && ctx.eType != kFileDAT) {
        ScriptLineRules(ctx);
        return;
    }
    // Description and data files are few and small: a folded copy will do.
    const QString t = FoldAscii(ctx.t);
    const int n = int(t.size());
    if (ctx.eType == kFileEXT) {
        ctx.RunToEnd(0, EColourClass::Text);
        if (ctx.switches.bFormatSys) {
            for (const char* pszKeyword : kExtKeywords) {
                const QLatin1String keyword(pszKeyword);
                for (qsizetype p = t.indexOf(keyword); p >= 0; p = t.indexOf(keyword, p + keyword.size()))
                    ctx.Run(int(p), int(p + keyword.size()), EColourClass::System);
            }
        }
        if (ctx.switches.bFormatRem) {
            const qsizetype p = t.indexOf(QLatin1String("//"));
            if (p >= 0)
                ctx.RunToEnd(int(p), EColourClass::Remark);
        }
    } else {
        // Section headers stand out whatever the switches say.
        ctx.RunToEnd(0, EColourClass::Text);
        qsizetype p = t.indexOf(QLatin1Char('['));
        while (p >= 0 && p < n) {
            const qsizetype q = t.indexOf(QLatin1Char(']'), p);
            if (q < 0) {
                p = t.indexOf(QLatin1Char('['), p + 1);
                continue;
            }
            ctx.Run(int(p), int(q + 1), EColourClass::System);
            p = t.indexOf(QLatin1Char('['), q);
        }
    }
}

// Script and function file lines: the hot loop of opening a large script.
void CColourer::ScriptLineRules(SContext& ctx) const
{
    const QStringView t = ctx.t;
    const SColourSwitches& sw = ctx.switches;
    const char16_t c = t[0].unicode();
    bool bColoured = false;
    bool bFinished = false;
    if (c == u';') {
        if (sw.bFormatRem) {
            ctx.RunToEnd(0, EColourClass::Remark);
            bColoured = true;
        }
        bFinished = true;
    } else if (c == u'#' || c == u'&') {
        if (sw.bFormatSys) {
            const bool bSqf = ctx.eType == kFileSQF;
            if (bSqf && StartsWithFolded(t, u"#define")) {
                ctx.RunToEnd(0, EColourClass::Text);
                ctx.Run(0, 7, EColourClass::System);
            } else if (bSqf && StartsWithFolded(t, u"#include")) {
                ctx.RunToEnd(0, EColourClass::Text);
                ctx.Run(0, 8, EColourClass::System);
            } else {
                ctx.RunToEnd(0, EColourClass::System);
            }
            bColoured = true;
        }
        bFinished = true;
    } else if (c == u'~' && sw.bFormatSys) {
        ctx.RunToEnd(0, EColourClass::System);
        bColoured = true;
    }
    if (!bColoured)
        ctx.RunToEnd(0, EColourClass::Text);
    if (!bFinished && ctx.pResumePoints)
        WordPass<true>(ctx);
    else if (!bFinished)
        WordPass<false>(ctx);
    if (ctx.eType == kFileSQF && sw.bFormatRem) {
        const qsizetype nRemark = DoubleSlash(t);
        if (nRemark >= 0)
            ctx.RunToEnd(int(nRemark), EColourClass::Remark);
    }
}

template <bool bRecord> void CColourer::WordPass(SContext& ctx) const
{
    const char16_t* p = ctx.t.utf16();
    const int n = int(ctx.t.size());
    const SColourSwitches& sw = ctx.switches;
    const qsizetype nFirstRun = ctx.runs.size();
    int nStart = 0;
    if (ctx.pKeptRuns && nFirstRun + ctx.resume.second <= ctx.pKeptRuns->size()) {
        ctx.runs.append(ctx.pKeptRuns->sliced(nFirstRun, ctx.resume.second));
        nStart = ctx.resume.first;
    }
    int nNextPoint = nStart + ctx.nStride;
    // A word is the stretch of word characters before i; an opening
    // quote joins the word it follows, the closing quote ends the word
    // and hands it on. Inside a string any other character drops the
    // word, and '%' is a System character; outside, ?:!@ are.
    int nLength = 0;
    bool bInString = false;
    for (int i = nStart; i < n; ++i) {
        switch (KindOf(p[i])) {
        case kWordChar:
            ++nLength;
            break;
        case kQuoteChar:
            ++nLength;
            bInString = !bInString;
            if (!bInString) {
                ClassifyWord(ctx, i + 1 - nLength, i + 1);
                nLength = 0;
            }
            break;
        case kSystemChar:
            if (!bInString) {
                if (nLength > 0)
                    ClassifyWord(ctx, i - nLength, i);
                if (sw.bFormatSys)
                    ctx.Run(i, i + 1, EColourClass::System);
            }
            nLength = 0;
            break;
        case kPercentChar:
            if (bInString) {
                if (sw.bFormatSys)
                    ctx.Run(i, i + 1, EColourClass::System);
            } else if (nLength > 0) {
                ClassifyWord(ctx, i - nLength, i);
            }
            nLength = 0;
            break;
        default:
            if (!bInString && nLength > 0)
                ClassifyWord(ctx, i - nLength, i);
            nLength = 0;
            if (bRecord && !bInString && i + 1 >= nNextPoint) {
                ctx.pResumePoints->append({i + 1, ctx.runs.size() - nFirstRun});
                nNextPoint = i + 1 + ctx.nStride;
            }
            break;
        }
    }
    if (!bInString && nLength > 0)
        ClassifyWord(ctx, n - nLength, n);
}

quint8 CColourer::ListsOfFolded(QStringView folded) const
{
    return m_pIndex ? m_pIndex->ListsOfFolded(folded) : m_listsOf(folded.toString());
}

void CColourer::ClassifyWord(SContext& ctx, int nFrom, int nTo) const
{
    const char16_t* w = ctx.t.utf16() + nFrom;
    const int n = nTo - nFrom;
    if (n == 1 && w[0] == u'"')
        return;
    const SColourSwitches& sw = ctx.switches;
    if (sw.bFormatSys && IsReservedSpelling(w, n)) {
        ctx.Run(nFrom, nTo, EColourClass::System);
        return;
    }
    if ((sw.bFormatVar || sw.bFormatSys) && w[0] == u'_') {
        if (IsSpecialSpelling(w, n)) {
            if (sw.bFormatSys)
                ctx.Run(nFrom, nTo, EColourClass::System);
        } else if (sw.bFormatVar) {
            ctx.Run(nFrom, nTo, EColourClass::Variable);
        }
        return;
    }
    const bool bQuoted = sw.bFormatWeap && std::find(w, w + n, u'"') != w + n;
    // Most words of a large script are numbers no dictionary entry starts
    // like: those are ruled out before anything is folded.
    const bool bMayBeCommand = sw.bFormatCom && (!m_pIndex || m_pIndex->MayHold(Fold(w[0]), n));
    if (!bMayBeCommand && !bQuoted)
        return;
    QVarLengthArray<char16_t, 64> folded(n);
    for (int i = 0; i < n; ++i)
        folded[i] = Fold(w[i]);
    if (bMayBeCommand && (ListsOfFolded(QStringView(folded.constData(), n)) & CWordIndex::Bit(EWordList::Commands))) {
        ctx.Run(nFrom, nTo, EColourClass::Command);
        return;
    }
    if (bQuoted) {
        const auto pBareEnd = std::remove(folded.begin(), folded.end(), u'"');
        if (ListsOfFolded(QStringView(folded.constData(), pBareEnd - folded.begin())) & kWeaponLists)
            ctx.Run(nFrom + 1, nTo - 1, EColourClass::Weapon);
    }
}

SBlockComments CColourer::BlockComments(const QString& sLine, bool bOpenAtStart)
{
    SBlockComments result;
    result.bOpenAtEnd = ForEachBlockComment(sLine, bOpenAtStart, [&result](int nFrom, int nTo) {
        result.spans.append({nFrom, nTo});
    });
    return result;
}
