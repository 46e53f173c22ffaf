#pragma once

#include "core/data/sortstringarray.h"

#include <QHash>

// The dictionary lists a word can belong to; the colourer asks by list.
enum class EWordList : quint8 {
    Commands,
    InfWeapons,
    InfMagazines,
    VehWeapons,
    VehMagazines,
    Vehicles,
    Equipment,
};

// Answers "is this word in list X" with exactly the hits of a case-insensitive
// Find, in constant time, so colouring a keystroke does not scan thousands of words.
class CWordIndex
{
public:
    void Clear() { m_words.clear(); }
    void Add(EWordList eList, const CSortStringArray& arWords);
    bool Contains(EWordList eList, const QString& sWord) const;
    // Which lists hold the word, one bit per EWordList.
    quint8 ListsOf(const QString& sWord) const { return ListsOfFolded(FoldAscii(sWord)); }
    // The same for a word already folded, which saves the colourer a copy per word.
    quint8 ListsOfFolded(const QString& sFolded) const { return m_words.value(sFolded, 0); }

    static constexpr quint8 Bit(EWordList eList) { return quint8(1u << quint8(eList)); }

private:
    QHash<QString, quint8> m_words;
};
