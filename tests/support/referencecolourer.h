#pragma once

// The colourer as it was before it was made fast, kept word for word as the
// reference the fast one must match run for run: the same runs in the same
// order, the same comment state, the same local variables. Slow on purpose
// (a lower-cased copy per line, a QString per word, one scan per rule); do
// not speed it up, or it stops being a reference.

#include "core/data/sortstringarray.h"
#include "core/data/wordindex.h"
#include "core/editor/colourer.h"

#include <functional>

namespace VelkTest {

class CReferenceColourer
{
public:
    using ListsOf = std::function<quint8(const QString& sFoldedWord)>;

    explicit CReferenceColourer(ListsOf listsOf) : m_listsOf(std::move(listsOf)) { }

    SLineColours ColourLine(const QString& sLine, bool bCommentOpenAtStart, EFileType eType,
                            const SColourSwitches& switches) const
    {
        SLineColours result;
        if (eType == kFileCSV || eType == kFileHTML || eType == kFileTXT)
            return result;
        const int nOffset = LeadingBlanks(sLine);
        if (nOffset < sLine.size()) {
            SContext ctx{FoldAscii(QStringView(sLine).mid(nOffset)), nOffset, int(sLine.size()), eType, switches, {}};
            LineRules(ctx);
            result.runs = std::move(ctx.runs);
        }
        if (eType == kFileSQF && switches.bFormatRem) {
            const SBlockComments comments = BlockComments(sLine, bCommentOpenAtStart);
            for (const auto& [nFrom, nTo] : comments.spans)
                result.runs.append({nFrom, nTo, EColourClass::Remark});
            result.bCommentOpenAtEnd = comments.bOpenAtEnd;
        }
        return result;
    }

    static QStringList LocalVariables(const QString& sLine, EFileType eType)
    {
        QStringList words;
        if (eType != kFileSQS && eType != kFileSQF)
            return words;
        const int nOffset = LeadingBlanks(sLine);
        if (nOffset == sLine.size() || !Tokenized(sLine[nOffset]))
            return words;
        Tokenize(
            FoldAscii(QStringView(sLine).mid(nOffset)),
            [&words](QStringView word, int, int) {
                if (IsLocalVariable(word))
                    words.append(word.toString());
            },
            [](int) {});
        return words;
    }

    static SBlockComments BlockComments(const QString& sLine, bool bOpenAtStart)
    {
        SBlockComments result;
        qsizetype nFrom = 0;
        bool bOpen = bOpenAtStart;
        while (true) {
            if (!bOpen) {
                nFrom = OpeningInCode(sLine, nFrom);
                if (nFrom < 0)
                    break;
            }
            const qsizetype b = sLine.indexOf(QLatin1String("*/"), nFrom);
            if (b < 0) {
                result.spans.append({int(nFrom), int(sLine.size())});
                result.bOpenAtEnd = true;
                break;
            }
            result.spans.append({int(nFrom), int(b + 2)});
            nFrom = b + 2;
            bOpen = false;
        }
        return result;
    }

private:
    struct SContext
    {
        QString sTrimmed;
        int nOffset;
        int nLineEnd;
        EFileType eType;
        const SColourSwitches& switches;
        QList<SColourRun> runs;

        void Run(int nFrom, int nTo, EColourClass eClass) { runs.append({nOffset + nFrom, nOffset + nTo, eClass}); }
        void RunToEnd(int nFrom, EColourClass eClass) { runs.append({nOffset + nFrom, nLineEnd, eClass}); }
    };

    static bool IsWordChar(QChar c, bool bQuote)
    {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_')
            return true;
        return bQuote && u == '"';
    }

    static bool IsReservedWord(QStringView word)
    {
        static const QString kReservedWords[]
            = {QStringLiteral("goto"), QStringLiteral("true"),   QStringLiteral("false"), QStringLiteral("and"),
               QStringLiteral("or"),   QStringLiteral("not"),    QStringLiteral("while"), QStringLiteral("do"),
               QStringLiteral("if"),   QStringLiteral("then"),   QStringLiteral("else"),  QStringLiteral("exit"),
               QStringLiteral("for"),  QStringLiteral("foreach")};
        if (word.size() < 2 || word.size() > 7)
            return false;
        for (const QString& sReserved : kReservedWords)
            if (word == sReserved)
                return true;
        return false;
    }

    static int LeadingBlanks(const QString& sLine)
    {
        int nOffset = 0;
        while (nOffset < sLine.size() && (sLine[nOffset] == QLatin1Char(' ') || sLine[nOffset] == QLatin1Char('\t')))
            ++nOffset;
        return nOffset;
    }

    static bool Tokenized(QChar cFirst)
    {
        return cFirst != QLatin1Char(';') && cFirst != QLatin1Char('#') && cFirst != QLatin1Char('&');
    }

    static bool IsSpecialVariable(QStringView word) { return word == u"_this" || word == u"_time"; }

    static bool IsLocalVariable(QStringView word)
    {
        return word.startsWith(QLatin1Char('_')) && !IsSpecialVariable(word);
    }

    template <typename FWord, typename FSystem>
    static void Tokenize(const QString& t, FWord&& onWord, FSystem&& onSystem)
    {
        const QLatin1Char kQuote('"');
        const int n = int(t.size());
        int nWordStart = 0;
        int nWordLength = 0;
        bool bInString = false;
        auto word = [&] { return QStringView(t).mid(nWordStart, nWordLength); };
        auto append = [&](int i) {
            if (nWordLength == 0)
                nWordStart = i;
            ++nWordLength;
        };
        for (int i = 0; i <= n; ++i) {
            const QChar c = i < n ? t[i] : QChar();
            if (c == kQuote)
                bInString = !bInString;
            if (!bInString
                && (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('!') || c == QLatin1Char('@'))) {
                onWord(word(), i - nWordLength, i);
                onSystem(i);
                nWordLength = 0;
            }
            if (bInString && c == QLatin1Char('%')) {
                onSystem(i);
                nWordLength = 0;
            } else if (!bInString && c == kQuote) {
                append(i);
                onWord(word(), i + 1 - nWordLength, i + 1);
                nWordLength = 0;
            } else if (i < n && IsWordChar(c, true)) {
                append(i);
            } else {
                if (!bInString)
                    onWord(word(), i - nWordLength, i);
                nWordLength = 0;
            }
        }
    }

    static qsizetype OpeningInCode(const QString& sLine, qsizetype nFrom)
    {
        const qsizetype n = sLine.size();
        char16_t cQuote = 0;
        for (qsizetype i = nFrom; i < n; ++i) {
            const char16_t c = sLine[i].unicode();
            if (cQuote) {
                if (c == cQuote)
                    cQuote = 0;
            } else if (c == u'"' || c == u'\'') {
                cQuote = c;
            } else if (c == u'/' && i + 1 < n) {
                if (sLine[i + 1] == u'/')
                    return -1;
                if (sLine[i + 1] == u'*')
                    return i;
            }
        }
        return -1;
    }

    void LineRules(SContext& ctx) const
    {
        static constexpr const char* kExtKeywords[] = {"class", "#define", "#include"};
        const QString& t = ctx.sTrimmed;
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
        } else if (ctx.eType == kFileDAT) {
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
            return;
        } else {
            const QChar c = t[0];
            bool bColoured = false;
            bool bFinished = false;
            if (c == QLatin1Char(';')) {
                if (ctx.switches.bFormatRem) {
                    ctx.RunToEnd(0, EColourClass::Remark);
                    bColoured = true;
                }
                bFinished = true;
            } else if (c == QLatin1Char('#') || c == QLatin1Char('&')) {
                if (ctx.switches.bFormatSys) {
                    const bool bSqf = ctx.eType == kFileSQF;
                    if (bSqf && t.startsWith(QLatin1String("#define"))) {
                        ctx.RunToEnd(0, EColourClass::Text);
                        ctx.Run(0, 7, EColourClass::System);
                    } else if (bSqf && t.startsWith(QLatin1String("#include"))) {
                        ctx.RunToEnd(0, EColourClass::Text);
                        ctx.Run(0, 8, EColourClass::System);
                    } else {
                        ctx.RunToEnd(0, EColourClass::System);
                    }
                    bColoured = true;
                }
                bFinished = true;
            } else if (c == QLatin1Char('~') && ctx.switches.bFormatSys) {
                ctx.RunToEnd(0, EColourClass::System);
                bColoured = true;
            }
            if (!bColoured)
                ctx.RunToEnd(0, EColourClass::Text);
            if (!bFinished) {
                Tokenize(
                    t, [&](QStringView word, int nFrom, int nTo) { ClassifyWord(ctx, word, nFrom, nTo); },
                    [&](int i) {
                        if (ctx.switches.bFormatSys)
                            ctx.Run(i, i + 1, EColourClass::System);
                    });
            }
        }
        if ((ctx.eType == kFileSQF || ctx.eType == kFileEXT) && ctx.switches.bFormatRem) {
            const qsizetype p = t.indexOf(QLatin1String("//"));
            if (p >= 0)
                ctx.RunToEnd(int(p), EColourClass::Remark);
        }
    }

    void ClassifyWord(SContext& ctx, QStringView word, int nFrom, int nTo) const
    {
        static constexpr quint8 kWeaponLists = CWordIndex::Bit(EWordList::InfWeapons)
            | CWordIndex::Bit(EWordList::InfMagazines) | CWordIndex::Bit(EWordList::VehWeapons)
            | CWordIndex::Bit(EWordList::VehMagazines) | CWordIndex::Bit(EWordList::Vehicles)
            | CWordIndex::Bit(EWordList::Equipment);
        const QLatin1Char kQuote('"');
        if (word.isEmpty() || word == u"\"")
            return;
        const SColourSwitches& sw = ctx.switches;
        if (sw.bFormatSys && IsReservedWord(word)) {
            ctx.Run(nFrom, nTo, EColourClass::System);
            return;
        }
        if ((sw.bFormatVar || sw.bFormatSys) && word.startsWith(QLatin1Char('_'))) {
            if (IsSpecialVariable(word)) {
                if (sw.bFormatSys)
                    ctx.Run(nFrom, nTo, EColourClass::System);
            } else if (sw.bFormatVar) {
                ctx.Run(nFrom, nTo, EColourClass::Variable);
            }
            return;
        }
        const QString sWord = word.toString();
        if (sw.bFormatCom && (m_listsOf(sWord) & CWordIndex::Bit(EWordList::Commands))) {
            ctx.Run(nFrom, nTo, EColourClass::Command);
            return;
        }
        if (sw.bFormatWeap && word.contains(kQuote)) {
            QString sBare = sWord;
            sBare.remove(kQuote);
            if (m_listsOf(sBare) & kWeaponLists)
                ctx.Run(nFrom + 1, nTo - 1, EColourClass::Weapon);
        }
    }

    ListsOf m_listsOf;
};

}  // namespace VelkTest
