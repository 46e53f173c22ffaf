#pragma once

#include "core/data/filetype.h"

#include <QList>
#include <QString>

#include <functional>

class CDictionary;
class CSortStringArray;

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
};

// Block comments of function files carried from line to line: whether a
// line starts inside a comment, and where its comment stretches lie.
struct SBlockComments
{
    QList<QPair<int, int>> spans;  // (from, to) within the line
    bool bOpenAtEnd = false;
};

// Cuts one line into colour runs from its own text, the file type, the
// switches and the dictionary, without any window.
class CColourer
{
public:
    // Which dictionary lists hold a word, one bit per EWordList; the word
    // comes lower-cased already.
    using ListsOf = std::function<quint8(const QString& sFoldedWord)>;

    explicit CColourer(const CDictionary& dictionary);
    // Any other way of looking words up, with the same answers.
    explicit CColourer(ListsOf listsOf) : m_listsOf(std::move(listsOf)) { }

    // While pCollect is given, every local variable met is added to it.
    QList<SColourRun> ColourLine(const QString& sLine, EFileType eType, const SColourSwitches& switches,
                                 CSortStringArray* pCollect = nullptr) const;

    // The comment stretches of a line that starts inside a block comment or
    // not; the same stretches a scan of the whole text finds: "*/" is looked
    // for from the "/*" itself, so "/*/" closes at once.
    static SBlockComments BlockComments(const QString& sLine, bool bOpenAtStart);

    static bool IsWordChar(QChar c, bool bQuote);
    static bool IsReservedWord(QStringView word);

private:
    struct SContext;
    void LineRules(SContext& ctx) const;
    void Tokenize(SContext& ctx) const;
    void ClassifyWord(SContext& ctx, QStringView word, int nFrom, int nTo) const;

    ListsOf m_listsOf;
};
