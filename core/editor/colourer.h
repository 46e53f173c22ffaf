#pragma once

#include "core/data/completionindex.h"
#include "core/data/filetype.h"
#include "core/data/wordset.h"
#include "core/editor/textshadow.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class CDictionary;
class CWordIndex;

enum class EColourClass : quint8 { Text, Remark, Command, Weapon, System, Variable };

// One stretch of a line in one colour class; positions from the line start,
// the end exclusive. Later runs overwrite earlier ones.
struct SColourRun
{
    int nFrom;
    int nTo;
    EColourClass eClass;
    bool operator==(const SColourRun&) const = default;
};

struct SColourSwitches
{
    bool bFormatRem = true;
    bool bFormatCom = true;
    bool bFormatWeap = true;
    bool bFormatSys = true;
    bool bFormatVar = true;
    bool operator==(const SColourSwitches&) const = default;
};

// Block comments of function files carried from line to line: whether a
// line starts inside a comment, and where its comment stretches lie.
struct SBlockComments
{
    QList<QPair<int, int>> spans;  // (from, to) within the line
    bool bOpenAtEnd = false;
};

// What one line looks like, and what it hands on to the next line: whether
// that one starts inside a block comment.
struct SLineColours
{
    QList<SColourRun> runs;
    bool bCommentOpenAtEnd = false;
    bool operator==(const SLineColours&) const = default;
};

// A long line as last coloured, kept so that colouring it again after an
// edit reads its words from a point before the edit instead of the line's
// start: a position table of 150 KB is coloured at every key.
struct SColouredLongLine
{
    QString sText;
    EFileType eType = kFileTXT;
    SColourSwitches switches;
    SLineColours colours;
    // Where the word pass stood outside any word and string, counted from
    // the line's first non-blank character, with how many runs it had made
    // by then; about one every nStride characters.
    QList<QPair<int, qsizetype>> resumePoints;
    int nStride = 1024;
};

// Cuts one line into colour runs from its own text, the state the line
// before left, the file type, the switches and the dictionary, without any
// window. Nothing else goes in and nothing else changes: the same line in
// the same state always comes out the same.
class CColourer
{
public:
    // Which dictionary lists hold a word, one bit per EWordList; the word
    // comes lower-cased already.
    using ListsOf = std::function<quint8(const QString& sFoldedWord)>;

    explicit CColourer(const CDictionary& dictionary);
    // Any other way of looking words up, with the same answers.
    explicit CColourer(ListsOf listsOf) : m_listsOf(std::move(listsOf)) { }

    // Block comments count in function files with FormatRem on only; their
    // runs come last, so they cover whatever the line's own rules gave.
    SLineColours ColourLine(const QString& sLine, bool bCommentOpenAtStart, EFileType eType,
                            const SColourSwitches& switches) const;
    // The same runs as ColourLine, read again only from before the first
    // character that differs from what kept holds, which it then holds.
    const SLineColours& ColourLongLine(const QString& sLine, bool bCommentOpenAtStart, EFileType eType,
                                       const SColourSwitches& switches, SColouredLongLine& kept) const;
    // Every line of a text, the comment state carried from one to the next.
    QList<SLineColours> ColourText(const QStringList& lines, EFileType eType, const SColourSwitches& switches) const;

    // The words colouring gives the Variable class while FormatVar is on,
    // lower-cased, in the order met and repeats kept: the local variables
    // auto-completion offers. Words after "//" or inside a block comment
    // count as well, as they always have: the line's own rules decide, not
    // the remark laid over them.
    static QStringList LocalVariables(const QString& sLine, EFileType eType);
    // The same words without a string each: every one is handed to onWord as
    // a view of a scratch buffer, valid only during that call; an onWord
    // that takes KeyedWords gets them a few at a time with their keys made,
    // which is how the completion index takes them. The text
    // may hold many lines split by "\n", each read as LocalVariables reads
    // a line: filling the completion list on opening a large script reads
    // the whole text at once, which costs nothing per line.
    template <class F> static void ForEachLocalVariable(QStringView text, EFileType eType, F&& onWord)
    {
        using OnWord = std::remove_reference_t<F>;
        ForEachLocalVariable(
            text, eType,
            [](void* pOnWord, KeyedWords words) {
                OnWord& on = *static_cast<OnWord*>(pOnWord);
                if constexpr (std::is_invocable_v<OnWord&, KeyedWords>) {
                    on(words);
                } else {
                    char16_t arBuffer[SWordKey::kInline];
                    for (const SKeyedWord& word : words)
                        on(word.Word(arBuffer));
                }
            },
            const_cast<void*>(static_cast<const void*>(std::addressof(onWord))));
    }

    // The same words of the editor's whole text, read where it lies.
    template <class F> static void ForEachLocalVariable(const CTextShadow& text, EFileType eType, F&& onWord)
    {
        QString sCrossing;
        for (QStringView run : text.LineRuns(&sCrossing))
            ForEachLocalVariable(run, eType, onWord);
    }

    // Producers of the same words for learning them on nThreads threads: the
    // text cut at line breaks into pieces, each about 1/kPiecesPerThread of
    // a thread's share of the text left but no shorter than nLeastPiece, or
    // left whole for one thread. They read the text where it lies, and
    // *psCrossing, which must outlive them.
    static constexpr int kPiecesPerThread = 4;
    static constexpr qsizetype kLeastPiece = 64 * 1024;
    static std::vector<CCompletionIndex::Produce> LocalVariableProducers(const CTextShadow& text, EFileType eType,
                                                                         int nThreads, QString* psCrossing,
                                                                         qsizetype nLeastPiece = kLeastPiece);

    // The comment stretches of a line that starts inside a block comment or
    // not; the same stretches a scan of the whole text finds. A "/*" inside a
    // string or after a "//" remark opens nothing, as the game reads it;
    // inside a comment quotes and slashes count for nothing until "*/",
    // which is looked for from the "/*" itself, so "/*/" closes at once.
    static SBlockComments BlockComments(const QString& sLine, bool bOpenAtStart);

    // Whether the scan for local variables may use the processor's wider
    // vector steps (it does whenever it can); false when the wish cannot be
    // met. For tests, which compare both paths, and figures.
    static bool SetWideVectors(bool bWanted);

    static bool IsWordChar(QChar c, bool bQuote);
    static bool IsReservedWord(QStringView word);

private:
    struct SContext;
    using FWordSink = void (*)(void* pOnWord, KeyedWords words);
    static void ForEachLocalVariable(QStringView text, EFileType eType, FWordSink sink, void* pOnWord);
    SLineColours Colour(const QString& sLine, bool bCommentOpenAtStart, SContext& ctx) const;
    void LineRules(SContext& ctx) const;
    void ScriptLineRules(SContext& ctx) const;
    // Recording where it may start again next time is left out of the
    // pass that colours a large file as it opens.
    template <bool bRecord> void WordPass(SContext& ctx) const;
    void ClassifyWord(SContext& ctx, int nFrom, int nTo) const;
    quint8 ListsOfFolded(QStringView folded) const;

    // The dictionary's own index when colouring with a dictionary: its
    // look-ups take a view, and it follows a reload of the data files.
    const CWordIndex* m_pIndex = nullptr;
    ListsOf m_listsOf;
};
