#include "core/documents/textfile.h"

#include "core/data/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace TextFile {

namespace {

constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

const QString kNotText = QStringLiteral("The file holds binary data (NUL bytes) and is not a text file.");

QStringView FormOf(EBreak eBreak)
{
    switch (eBreak) {
    case EBreak::Lf:
        return u"\n";
    case EBreak::Cr:
        return u"\r";
    case EBreak::LineSeparator:
        return u"\u2028";
    case EBreak::ParagraphSeparator:
        return u"\u2029";
    case EBreak::CrLf:
        break;
    }
    return u"\r\n";
}

std::u16string_view Chars(QStringView text)
{
    return {text.utf16(), size_t(text.size())};
}

// Characters that need a second look when reading: line breaks of every
// kind and the characters the editor cannot hold. Everything else, tabs
// and code page letters included, is copied as it stands.
bool IsPlain(char16_t c)
{
    return c < 0x2028 ? (c != u'\r' && c != u'\n') : (c > 0x2029 && c < kFrameStart);
}

qsizetype PlainRun(const char16_t* p, qsizetype nMax);

// How many bytes from p on are plain ASCII (tab or 0x20..0x7F), each
// written to pOut as its character; sixteen at a time where the processor
// has the instructions for it. pOut has room for a character per byte left.
qsizetype WidenAscii(const unsigned char* p, qsizetype nMax, char16_t* pOut)
{
    qsizetype n = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; n + 16 <= nMax; n += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + n), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + n + 8), _mm_unpackhi_epi8(bytes, zero));
        // Signed compare: bytes from 0x80 on count as below the space.
        const __m128i below = _mm_cmplt_epi8(bytes, _mm_set1_epi8(0x20));
        const __m128i tab = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t'));
        if (const int nMask = _mm_movemask_epi8(_mm_andnot_si128(tab, below)))
            return n + std::countr_zero(unsigned(nMask));
    }
#endif
    for (; n < nMax; ++n) {
        const unsigned char b = p[n];
        if ((b < 0x20 && b != '\t') || b >= 0x80)
            break;
        pOut[n] = b;
    }
    return n;
}

// Turns the file's characters into the editor's text, one character at a
// time, keeping what stood in the file for each line break and stand-in.
class CSplitter
{
public:
    CSplitter(qsizetype nSize, SFormat* pFormat)
        : m_sText(nSize, Qt::Uninitialized)
        , m_pOut(m_sText.data())
        , m_pFormat(pFormat)
    {
        m_pFormat->arBreaks.clear();
        m_pFormat->sStandIns.clear();
    }

    void Plain(char16_t c) { *m_pOut++ = QChar(c); }
    void Plain(const char16_t* p, qsizetype n)
    {
        std::memcpy(static_cast<void*>(m_pOut), p, size_t(n) * sizeof(char16_t));
        m_pOut += n;
    }
    // Room for a character per byte or character still to come.
    char16_t* Out() { return reinterpret_cast<char16_t*>(m_pOut); }
    void Advance(qsizetype n) { m_pOut += n; }
    void Break(EBreak eBreak)
    {
        if (eBreak <= EBreak::Cr)
            ++m_anPlain[int(eBreak)];
        m_pFormat->arBreaks.append(char(eBreak));
        *m_pOut++ = QChar(u'\n');
    }
    void Other(char16_t c)
    {
        if (c == kFrameStart || c == kFrameEnd || c == kStandIn) {
            m_pFormat->sStandIns.append(QChar(c));
            *m_pOut++ = QChar(kStandIn);
        } else {
            *m_pOut++ = QChar(c);
        }
    }

    QString Finish()
    {
        // Ties go to CR LF, the line end the games expect.
        m_pFormat->eNewBreak = EBreak::CrLf;
        for (const EBreak eBreak : {EBreak::Lf, EBreak::Cr})
            if (m_anPlain[int(eBreak)] > m_anPlain[int(m_pFormat->eNewBreak)])
                m_pFormat->eNewBreak = eBreak;
        m_sText.truncate(m_pOut - m_sText.constData());
        return std::move(m_sText);
    }

private:
    QString m_sText;
    QChar* m_pOut;
    SFormat* m_pFormat;
    qsizetype m_anPlain[3] = {};  // CR LF, LF, CR
};

// The text as the editor holds it; what stood in the file for each line
// break and stand-in goes to *pFormat.
QString Split(QStringView raw, SFormat* pFormat)
{
    CSplitter splitter(raw.size(), pFormat);
    const char16_t* p = raw.utf16();
    const char16_t* const pEnd = p + raw.size();
    while (p < pEnd) {
        if (const qsizetype nRun = PlainRun(p, pEnd - p)) {
            splitter.Plain(p, nRun);
            p += nRun;
            continue;
        }
        const char16_t c = *p++;
        if (IsPlain(c))
            splitter.Plain(c);
        else if (c == u'\r' && p < pEnd && *p == u'\n')
            ++p, splitter.Break(EBreak::CrLf);
        else if (c == u'\r')
            splitter.Break(EBreak::Cr);
        else if (c == u'\n')
            splitter.Break(EBreak::Lf);
        else if (c == QChar::LineSeparator)
            splitter.Break(EBreak::LineSeparator);
        else if (c == QChar::ParagraphSeparator)
            splitter.Break(EBreak::ParagraphSeparator);
        else
            splitter.Other(c);
    }
    return splitter.Finish();
}

// Split straight from code page bytes, where only CR and LF need a second look.
QString SplitCp1252(QByteArrayView bytes, SFormat* pFormat)
{
    CSplitter splitter(bytes.size(), pFormat);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const pEnd = p + bytes.size();
    while (p < pEnd) {
        if (const qsizetype nRun = WidenAscii(p, pEnd - p, splitter.Out())) {
            splitter.Advance(nRun);
            p += nRun;
            continue;
        }
        const unsigned char b = *p++;
        if (b > '\r')
            splitter.Plain(CodePage::CharOf(b));
        else if (b == '\r' && p < pEnd && *p == '\n')
            ++p, splitter.Break(EBreak::CrLf);
        else if (b == '\r')
            splitter.Break(EBreak::Cr);
        else if (b == '\n')
            splitter.Break(EBreak::Lf);
        else
            splitter.Plain(CodePage::CharOf(b));
    }
    return splitter.Finish();
}

// How many characters from p on are plain ASCII (tab or 0x20..0x7F), each
// written to pOut as its byte. Most of a mission script is such runs; eight
// characters at a time where the processor has the instructions for it.
qsizetype NarrowAscii(const char16_t* p, qsizetype nMax, char* pOut)
{
    qsizetype n = 0;
#ifdef __SSE2__
    // The output has room for as many bytes as there are characters left,
    // so a block is stored whole and only its good part counted.
    // Signed compares: characters from 0x8000 on count as below the space.
    const auto outside = [](__m128i chars) {
        const __m128i below = _mm_cmplt_epi16(chars, _mm_set1_epi16(0x20));
        const __m128i above = _mm_cmpgt_epi16(chars, _mm_set1_epi16(0x7F));
        const __m128i tab = _mm_cmpeq_epi16(chars, _mm_set1_epi16('\t'));
        return _mm_movemask_epi8(_mm_andnot_si128(tab, _mm_or_si128(below, above)));
    };
    for (; n + 16 <= nMax; n += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pOut + n), _mm_packus_epi16(first, second));
        if (const unsigned nMask = unsigned(outside(first)) | unsigned(outside(second)) << 16)
            return n + std::countr_zero(nMask) / 2;
    }
    for (; n + 8 <= nMax; n += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pOut + n), _mm_packus_epi16(chars, chars));
        if (const int nMask = outside(chars))
            return n + std::countr_zero(unsigned(nMask)) / 2;
    }
#endif
    for (; n < nMax; ++n) {
        const char16_t c = p[n];
        if ((c < 0x20 && c != u'\t') || c > 0x7F)
            break;
        pOut[n] = char(c);
    }
    return n;
}

// How many characters from p on need no second look when joining: below
// the Unicode line breaks, above the control characters (tab apart).
qsizetype PlainRun(const char16_t* p, qsizetype nMax)
{
    qsizetype n = 0;
#ifdef __SSE2__
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i breaks = _mm_set1_epi16(0x2027);
    const __m128i tab = _mm_set1_epi16('\t');
    for (; n + 8 <= nMax; n += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
        const __m128i outside = _mm_or_si128(_mm_cmplt_epi16(chars, space), _mm_cmpgt_epi16(chars, breaks));
        if (const int nMask = _mm_movemask_epi8(_mm_andnot_si128(_mm_cmpeq_epi16(chars, tab), outside)))
            return n + std::countr_zero(unsigned(nMask)) / 2;
    }
#endif
    for (; n < nMax; ++n) {
        const char16_t c = p[n];
        if ((c < 0x20 && c != u'\t') || c >= 0x2028)
            break;
    }
    return n;
}

// Where the joined text goes: the file's characters as a QString, for the
// encodings Qt's converters write.
class CCharSink
{
public:
    explicit CCharSink(qsizetype nBound) : m_sRaw(nBound, Qt::Uninitialized), m_pOut(m_sRaw.data()) { }
    qsizetype Run(const char16_t* p, qsizetype nMax)
    {
        const qsizetype n = PlainRun(p, nMax);
        std::memcpy(static_cast<void*>(m_pOut), p, size_t(n) * sizeof(char16_t));
        m_pOut += n;
        return n;
    }
    bool Put(char16_t c)
    {
        *m_pOut++ = QChar(c);
        return true;
    }
    bool PutPair(char16_t cHigh, char16_t cLow) { return Put(cHigh) && Put(cLow); }
    bool Break(EBreak eBreak)
    {
        for (const char16_t c : Chars(FormOf(eBreak)))
            *m_pOut++ = QChar(c);
        return true;
    }
    void Ahead() { }
    QString Finish()
    {
        m_sRaw.truncate(m_pOut - m_sRaw.constData());
        return std::move(m_sRaw);
    }

private:
    QString m_sRaw;
    QChar* m_pOut;
};

// Or straight the file's bytes, which go to the disk as they become final.
// A character the encoding cannot write as we would is refused, and the
// join starts again another way.
class CByteSink
{
public:
    // Room for a byte per character and two per line break, and nSpare
    // more for characters that take more than one byte.
    CByteSink(QStringView text, const QByteArray& arBreaks, QByteArrayView mark, qsizetype nSpare,
              AtomicFile::CWriter* pAhead)
        : m_bytes(mark.size() + text.size() + arBreaks.size() + nSpare, Qt::Uninitialized)
        , m_pOut(m_bytes.data())
        , m_nSpare(nSpare)
        , m_pAhead(pAhead)
    {
        for (const char cMark : mark)
            *m_pOut++ = cMark;
    }
    // The output always has room for as many bytes as there are characters left.
    qsizetype Run(const char16_t* p, qsizetype nMax)
    {
        const qsizetype n = NarrowAscii(p, nMax, m_pOut);
        m_pOut += n;
        return n;
    }
    // The bytes made so far are final: they go to the disk while the rest
    // are made.
    void Ahead()
    {
        const qsizetype nMade = m_pOut - m_bytes.constData();
        if (m_pAhead && nMade - m_nAheadMark >= kAheadStep) {
            m_nAheadMark = nMade;
            m_pAhead->WriteAhead(QByteArrayView(m_bytes.constData(), nMade));
        }
    }
    QByteArray Finish()
    {
        m_bytes.truncate(m_pOut - m_bytes.constData());
        return std::move(m_bytes);
    }

protected:
    // CR LF, LF and CR are the same bytes in the code page and in UTF-8.
    bool AsciiBreak(EBreak eBreak)
    {
        switch (eBreak) {
        case EBreak::CrLf:
            *m_pOut++ = '\r';
            *m_pOut++ = '\n';
            return true;
        case EBreak::Lf:
            *m_pOut++ = '\n';
            return true;
        case EBreak::Cr:
            *m_pOut++ = '\r';
            return true;
        case EBreak::LineSeparator:
        case EBreak::ParagraphSeparator:
            break;
        }
        return false;
    }

    // Before a character that takes nBytes bytes; more room when the spare
    // is spent. Sizing for the worst case from the start would make a
    // buffer so big that every save maps it afresh.
    void Spend(qsizetype nBytes)
    {
        m_nSpare -= nBytes - 1;
        if (m_nSpare >= 0)
            return;
        const qsizetype nMade = m_pOut - m_bytes.constData();
        const qsizetype nMore = m_bytes.size() / 2 - m_nSpare;
        m_bytes.resize(m_bytes.size() + nMore);
        m_pOut = m_bytes.data() + nMade;
        m_nSpare += nMore;
    }

    QByteArray m_bytes;
    char* m_pOut;

private:
    static constexpr qsizetype kAheadStep = 1 << 20;

    qsizetype m_nSpare;
    AtomicFile::CWriter* m_pAhead;
    qsizetype m_nAheadMark = 0;
};

class CCp1252Sink : public CByteSink
{
public:
    CCp1252Sink(QStringView text, const QByteArray& arBreaks, AtomicFile::CWriter* pAhead)
        : CByteSink(text, arBreaks, {}, 0, pAhead)
    {
    }
    bool Put(char16_t c)
    {
        const int nByte = CodePage::ByteOf(c);
        *m_pOut++ = char(nByte);
        return nByte >= 0;
    }
    bool PutPair(char16_t, char16_t) { return false; }
    bool Break(EBreak eBreak) { return AsciiBreak(eBreak); }
};

// UTF-8 written here as Qt's encoder writes it; half a surrogate pair is
// left to that encoder.
class CUtf8Sink : public CByteSink
{
public:
    CUtf8Sink(QStringView text, const QByteArray& arBreaks, QByteArrayView mark, AtomicFile::CWriter* pAhead)
        : CByteSink(text, arBreaks, mark, text.size() / 8 + 16, pAhead)
    {
    }
    bool Put(char16_t c)
    {
        if (c < 0x80) {
            *m_pOut++ = char(c);
        } else if (c < 0x800) {
            Spend(2);
            *m_pOut++ = char(0xC0 | c >> 6);
            *m_pOut++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            return false;
        } else {
            Spend(3);
            *m_pOut++ = char(0xE0 | c >> 12);
            *m_pOut++ = char(0x80 | (c >> 6 & 0x3F));
            *m_pOut++ = char(0x80 | (c & 0x3F));
        }
        return true;
    }
    bool PutPair(char16_t cHigh, char16_t cLow)
    {
        const char32_t u = QChar::surrogateToUcs4(cHigh, cLow);
        Spend(3);
        *m_pOut++ = char(0xF0 | u >> 18);
        *m_pOut++ = char(0x80 | (u >> 12 & 0x3F));
        *m_pOut++ = char(0x80 | (u >> 6 & 0x3F));
        *m_pOut++ = char(0x80 | (u & 0x3F));
        return true;
    }
    bool Break(EBreak eBreak)
    {
        if (AsciiBreak(eBreak))
            return true;
        return Put(eBreak == EBreak::LineSeparator ? QChar::LineSeparator : QChar::ParagraphSeparator);
    }
};

// A line break takes at most two characters, a stand-in one.
qsizetype JoinedSizeBound(QStringView text, const QByteArray& arBreaks)
{
    return text.size() + arBreaks.size();
}

// Characters of the editor's text that no file reads back as themselves:
// each is read as a line break or a stand-in, or refused (NUL). Half a
// surrogate pair is no text at all either.
bool ReadsAsOther(char16_t c)
{
    return c == 0 || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == kFrameStart
        || c == kFrameEnd;
}

// The file's text again: each "\n" and stand-in of text in the form given,
// handed to the sink, which may refuse a character and so stop the join.
// A lone CR and a lone LF side by side (the line between them deleted)
// would read back as one CR LF, so such an LF is written as CR LF, in
// *parBreaks too. *pbUnreadable tells whether the text holds a character
// no file gives back as it is.
template <typename TSink>
bool JoinTo(QStringView text, QByteArray* parBreaks, QStringView standIns, TSink& sink, bool* pbUnreadable)
{
    char* const pBreaks = parBreaks->data();
    qsizetype nBreak = 0;
    qsizetype nStandIn = 0;
    char16_t cLast = 0;
    bool bUnreadable = false;
    const char16_t* p = text.utf16();
    const char16_t* const pEnd = p + text.size();
    while (p < pEnd) {
        if (const qsizetype nRun = sink.Run(p, pEnd - p)) {
            p += nRun;
            cLast = p[-1];
            sink.Ahead();
            continue;
        }
        const char16_t c = *p++;
        bool bPut;
        if (c == u'\n') {
            char& cBreak = pBreaks[nBreak++];
            if (EBreak(cBreak) == EBreak::Lf && cLast == u'\r')
                cBreak = char(EBreak::CrLf);
            bPut = sink.Break(EBreak(cBreak));
            cLast = EBreak(cBreak) == EBreak::Cr ? u'\r' : u'\n';
        } else if (c == kStandIn) {
            cLast = standIns[nStandIn++].unicode();
            bPut = sink.Put(cLast);
        } else if (QChar::isHighSurrogate(c) && p < pEnd && QChar::isLowSurrogate(*p)) {
            cLast = *p++;
            bPut = sink.PutPair(c, cLast);
        } else {
            bUnreadable = bUnreadable || ReadsAsOther(c) || QChar::isSurrogate(c);
            cLast = c;
            bPut = sink.Put(c);
        }
        if (!bPut)
            return false;
    }
    *pbUnreadable = bUnreadable;
    return true;
}

QString Join(QStringView text, QByteArray* parBreaks, QStringView standIns, bool* pbUnreadable)
{
    CCharSink sink(JoinedSizeBound(text, *parBreaks));
    JoinTo(text, parBreaks, standIns, sink, pbUnreadable);
    return sink.Finish();
}

// The joined text straight in bytes; false when the sink refused a
// character.
template <typename TSink>
bool JoinBytes(TSink&& sink, QStringView text, QByteArray* parBreaks, QStringView standIns, QByteArray* pBytes,
               bool* pbUnreadable)
{
    if (!JoinTo(text, parBreaks, standIns, sink, pbUnreadable))
        return false;
    *pBytes = sink.Finish();
    return true;
}

// Every line break and stand-in in a form the loader gives back as one.
bool FormsReadBack(const SFormat& format)
{
    for (const char cBreak : format.arBreaks)
        if (cBreak < char(EBreak::CrLf) || cBreak > char(EBreak::ParagraphSeparator))
            return false;
    for (const QChar c : format.sStandIns)
        if (c != kFrameStart && c != kFrameEnd && c != kStandIn)
            return false;
    return true;
}

bool ReadsBackOtherByLoading(const QString& sText, const QByteArray& bytes)
{
    SLoaded back;
    QString sIgnored;
    return FromBytes(bytes, &back, &sIgnored) != ELoad::Ok || back.sText != sText;
}

// Whether the next open, which decides the encoding afresh from the bytes
// alone, shows other text than sText. Loading 20 MB again to find out would
// cost more than the save; what the loader does with bytes made by Join
// from such a text is known without it, except where the bytes also look
// like another encoding. bUnreadable: the text holds characters no file
// gives back.
bool ReadsBackOther(const QString& sText, bool bUnreadable, const QByteArray& bytes, const SFormat& written)
{
    if (bUnreadable)
        return true;
    if (!FormsReadBack(written))
        return ReadsBackOtherByLoading(sText, bytes);
    switch (written.eEncoding) {
    case ETextEncoding::Cp1252:
        if (CodePage::DetectUtf16(bytes) != ETextEncoding::Cp1252
            || CodePage::DetectEncoding(bytes) != ETextEncoding::Cp1252)
            return ReadsBackOtherByLoading(sText, bytes);
        return false;
    case ETextEncoding::Utf8:
        // Read as the mark of UTF-8 with one, and dropped.
        return sText.startsWith(QChar(0xFEFF));
    case ETextEncoding::Utf8Bom:
    case ETextEncoding::Utf16Le:
    case ETextEncoding::Utf16Be:
        break;
    }
    return false;
}

// The line breaks and stand-ins in a piece of text.
struct SMarks
{
    qsizetype nBreaks = 0;
    qsizetype nStandIns = 0;

    void Count(char16_t c)
    {
        nBreaks += c == u'\n';
        nStandIns += c == kStandIn;
    }
};

#ifdef __SSE2__
__m128i Load8(const char16_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

qsizetype SumLanes(__m128i lanes)
{
    const __m128i pairs = _mm_madd_epi16(lanes, _mm_set1_epi16(1));
    const __m128i halves = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(1, 0, 3, 2)));
    return _mm_cvtsi128_si32(_mm_add_epi32(halves, _mm_shuffle_epi32(halves, _MM_SHUFFLE(2, 3, 0, 1))));
}

// Counts the marks in the blocks of eight characters of pA from n on, as
// long as pB holds the same (or always, when pB is null); returns where it
// stopped. Reading backwards, block n is the one ending n characters before
// pA. Lanes count at most 0x7FFF blocks before they are summed.
template <bool bBackwards>
qsizetype CountBlocks(const char16_t* pA, const char16_t* pB, qsizetype n, qsizetype nMax, SMarks* pMarks)
{
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i standIn = _mm_set1_epi16(short(kStandIn));
    while (nMax - n >= 8) {
        const qsizetype nStop = std::min(nMax - 7, n + 8 * 0x7FFF);
        __m128i breaks = _mm_setzero_si128();
        __m128i standIns = _mm_setzero_si128();
        for (; n < nStop; n += 8) {
            const qsizetype nAt = bBackwards ? -n - 8 : n;
            const __m128i chars = Load8(pA + nAt);
            if (pB && _mm_movemask_epi8(_mm_cmpeq_epi16(chars, Load8(pB + nAt))) != 0xFFFF)
                break;
            breaks = _mm_sub_epi16(breaks, _mm_cmpeq_epi16(chars, lf));
            standIns = _mm_sub_epi16(standIns, _mm_cmpeq_epi16(chars, standIn));
        }
        pMarks->nBreaks += SumLanes(breaks);
        pMarks->nStandIns += SumLanes(standIns);
        if (n < nStop)
            break;
    }
    return n;
}
#endif

SMarks CountMarks(QStringView text)
{
    SMarks marks;
    const char16_t* const p = text.utf16();
    qsizetype n = 0;
#ifdef __SSE2__
    n = CountBlocks<false>(p, nullptr, 0, text.size(), &marks);
#endif
    for (; n < text.size(); ++n)
        marks.Count(p[n]);
    return marks;
}

// How many characters two texts share at their start, up to nMax; the
// marks among them go to *pMarks. A save mostly finds megabytes unchanged,
// so this pass over both texts is the one that counts.
qsizetype SharedStart(const char16_t* pA, const char16_t* pB, qsizetype nMax, SMarks* pMarks)
{
    qsizetype n = 0;
#ifdef __SSE2__
    n = CountBlocks<false>(pA, pB, 0, nMax, pMarks);
#endif
    for (; n < nMax && pA[n] == pB[n]; ++n)
        pMarks->Count(pA[n]);
    return n;
}

// The same at the end: pA and pB point just past the texts.
qsizetype SharedEnd(const char16_t* pA, const char16_t* pB, qsizetype nMax, SMarks* pMarks)
{
    qsizetype n = 0;
#ifdef __SSE2__
    n = CountBlocks<true>(pA, pB, 0, nMax, pMarks);
#endif
    for (; n < nMax && pA[-n - 1] == pB[-n - 1]; ++n)
        pMarks->Count(pA[-n - 1]);
    return n;
}

// What goes in place of the marks (line breaks or stand-ins) in the new
// text, taken from the old one. Within the text both share at the start and
// at the end every mark keeps its form; so does every one between when the
// edits there kept their number (replacing words, changing case); others
// get the default form. The counts are the marks in the shared start, the
// old and new middles and the shared end.
template <typename TForms, typename TForm>
TForms Reconcile(qsizetype nBefore, qsizetype nOldMiddle, qsizetype nNewMiddle, qsizetype nAfter,
                 const TForms& oldForms, TForm defaultForm)
{
    if (nBefore + nOldMiddle + nAfter != oldForms.size())
        return TForms(nBefore + nNewMiddle + nAfter, defaultForm);
    TForms forms = oldForms.first(nBefore);
    if (nNewMiddle == nOldMiddle)
        forms += oldForms.sliced(nBefore, nOldMiddle);
    else
        forms += TForms(nNewMiddle, defaultForm);
    forms += oldForms.sliced(nBefore + nOldMiddle);
    return forms;
}

// An empty old text tells Reconcile that nothing lines up, so every mark
// gets the default form: for a uniform format, the very forms it holds.
void ForgetTextIfUniform(SFormat& format)
{
    if (format.sStandIns.isEmpty() && format.arBreaks.count(char(format.eNewBreak)) == format.arBreaks.size())
        format.sText = QString();
}

}  // namespace

QString NormaliseLineEnds(const QString& sText)
{
    QString sOut = sText;
    sOut.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    sOut.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return sOut;
}

ELoad FromBytes(const QByteArray& bytes, SLoaded* pLoaded, QString* psError)
{
    ETextEncoding eEncoding = CodePage::DetectUtf16(bytes);
    const bool bUtf16 = eEncoding != ETextEncoding::Cp1252;
    if (!bUtf16) {
        if (bytes.contains('\0')) {
            const bool bMarked = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
            *psError = bMarked
                ? QStringLiteral("The file starts with a UTF-16 byte-order mark but is not valid UTF-16.")
                : kNotText;
            return ELoad::NotText;
        }
    }
    // Code page bytes go to the editor's text in one pass; no character of
    // the code page is a stand-in or a Unicode line break. UTF-8 is decoded
    // once, while telling it from the code page.
    QString sRaw;
    if (!bUtf16) {
        eEncoding = CodePage::DetectEncoding(bytes, &sRaw);
    } else {
        sRaw = CodePage::Decode(bytes, eEncoding);
        if (sRaw.contains(QChar(0))) {
            *psError = kNotText;
            return ELoad::NotText;
        }
    }
    pLoaded->format = SFormat();
    pLoaded->format.eEncoding = eEncoding;
    pLoaded->sText
        = eEncoding == ETextEncoding::Cp1252 ? SplitCp1252(bytes, &pLoaded->format) : Split(sRaw, &pLoaded->format);
    pLoaded->format.sText = pLoaded->sText;
    ForgetTextIfUniform(pLoaded->format);
    return ELoad::Ok;
}

ELoad Load(const QString& sPath, SLoaded* pLoaded, QString* psError)
{
    const QFileInfo info(sPath);
    if (info.isDir()) {
        *psError = QStringLiteral("It is a folder, not a file.");
        return ELoad::CannotRead;
    }
    // Reading a named pipe would wait for a writer that may never come.
    if (info.exists() && !info.isFile()) {
        *psError = QStringLiteral("It is not a regular file (a named pipe, a device or a socket).");
        return ELoad::CannotRead;
    }
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *psError = file.errorString();
        return ELoad::CannotRead;
    }
    return FromBytes(bytes, pLoaded, psError);
}

namespace {

// ToBytes, handing what is final ahead to *pAhead when there is one.
QByteArray Encode(const QString& sText, const SFormat& format, SFormat* pWritten, bool* pbSwitchedToUtf8,
                  AtomicFile::CWriter* pAhead)
{
    const QStringView old(format.sText);
    const QStringView now(sText);
    const qsizetype nShorter = std::min(old.size(), now.size());
    SMarks before;
    const qsizetype nPrefix = SharedStart(old.utf16(), now.utf16(), nShorter, &before);
    SMarks after;
    const qsizetype nSuffix = SharedEnd(old.utf16() + old.size(), now.utf16() + now.size(), nShorter - nPrefix, &after);
    const SMarks oldMiddle = CountMarks(old.sliced(nPrefix, old.size() - nPrefix - nSuffix));
    const SMarks newMiddle = CountMarks(now.sliced(nPrefix, now.size() - nPrefix - nSuffix));

    SFormat written;
    written.sText = sText;
    written.eNewBreak = format.eNewBreak;
    written.arBreaks = Reconcile(before.nBreaks, oldMiddle.nBreaks, newMiddle.nBreaks, after.nBreaks, format.arBreaks,
                                 char(format.eNewBreak));
    written.sStandIns = Reconcile(before.nStandIns, oldMiddle.nStandIns, newMiddle.nStandIns, after.nStandIns,
                                  format.sStandIns, QChar(kStandIn));
    // The code page, or UTF-8 when it lacks a character; then UTF-8 straight,
    // and whatever is left (UTF-16, half a surrogate pair) through Qt.
    bool bSwitched = false;
    bool bUnreadable = false;
    QByteArray bytes;
    ETextEncoding eEncoding = format.eEncoding;
    bool bDone = false;
    if (eEncoding == ETextEncoding::Cp1252) {
        bDone = JoinBytes(CCp1252Sink(sText, written.arBreaks, pAhead), sText, &written.arBreaks, written.sStandIns,
                          &bytes, &bUnreadable);
        bSwitched = !bDone;
        eEncoding = bDone ? eEncoding : ETextEncoding::Utf8;
    }
    if (!bDone && (eEncoding == ETextEncoding::Utf8 || eEncoding == ETextEncoding::Utf8Bom)) {
        if (pAhead)
            pAhead->Restart();
        const QByteArrayView mark = eEncoding == ETextEncoding::Utf8Bom ? "\xEF\xBB\xBF" : "";
        bDone = JoinBytes(CUtf8Sink(sText, written.arBreaks, mark, pAhead), sText, &written.arBreaks, written.sStandIns,
                          &bytes, &bUnreadable);
    }
    if (!bDone) {
        if (pAhead)
            pAhead->Restart();
        bytes = CodePage::Encode(Join(sText, &written.arBreaks, written.sStandIns, &bUnreadable), eEncoding);
    }
    written.eEncoding = eEncoding;
    written.bReadsBackOther = ReadsBackOther(sText, bUnreadable, bytes, written);
    ForgetTextIfUniform(written);
    if (pbSwitchedToUtf8)
        *pbSwitchedToUtf8 = bSwitched;
    *pWritten = std::move(written);
    return bytes;
}

}  // namespace

QByteArray ToBytes(const QString& sText, const SFormat& format, SFormat* pWritten, bool* pbSwitchedToUtf8)
{
    return Encode(sText, format, pWritten, pbSwitchedToUtf8, nullptr);
}

SSaved Save(const QString& sPath, const QString& sText, SFormat* pFormat)
{
    SSaved result;
    SFormat written;
    AtomicFile::CWriter writer(sPath);
    const QByteArray bytes = Encode(sText, *pFormat, &written, &result.bSwitchedToUtf8, &writer);
    result.bOk = writer.Commit(bytes, &result.sError);
    if (!result.bOk)
        return result;
    if (written.bReadsBackOther && !pFormat->bReadsBackOther) {
        result.bNowReadsBackOther = true;
        SLoaded back;
        QString sIgnored;
        result.sReadBackAs = FromBytes(bytes, &back, &sIgnored) == ELoad::Ok ? CodePage::Name(back.format.eEncoding)
                                                                             : QStringLiteral("binary data");
    }
    *pFormat = std::move(written);
    return result;
}

SSaved Save(const QString& sPath, const QString& sText, ETextEncoding eEncoding)
{
    SFormat format;
    format.eEncoding = eEncoding;
    return Save(sPath, sText, &format);
}

}  // namespace TextFile
