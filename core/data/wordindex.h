#pragma once

#include "core/data/sortstringarray.h"

#include <QHash>
#include <QList>
#include <QString>

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
    void Clear();
    void Add(EWordList eList, const CSortStringArray& arWords);
    bool Contains(EWordList eList, const QString& sWord) const;
    // Which lists hold the word, one bit per EWordList.
    quint8 ListsOf(const QString& sWord) const { return ListsOfFolded(FoldAscii(sWord)); }
    // The same for a word already folded: the colourer folds its words into
    // a scratch buffer and asks with a view of it, so no word becomes a string.
    quint8 ListsOfFolded(QStringView sFolded) const;
    // Cheap tests that rule a word out before it is even folded: longer than
    // every entry, or starting with a character no entry starts with (most
    // numbers in a script, for one).
    bool MayHold(char16_t cFoldedFirst, qsizetype nLength) const
    {
        return nLength <= m_nLongest
            && (cFoldedFirst >= 128 ? m_bNonAsciiFirst
                                    : (m_arFirstAscii[cFoldedFirst >> 6] >> (cFoldedFirst & 63)) & 1);
    }

    static constexpr quint8 Bit(EWordList eList) { return quint8(1u << quint8(eList)); }

private:
    // Open addressing over one flat array, built from m_words whenever the
    // lists change: a look-up hashes the view, probes a slot or two and
    // compares with a key kept in one pooled buffer.
    struct SSlot
    {
        quint32 nHash = 0;
        quint32 nKeyFrom = 0;
        quint32 nKeyLength = 0;  // 0 marks an empty slot; the empty word is never a key
        quint8 nLists = 0;
    };

    static quint32 Hash(QStringView sFolded);
    void Rebuild();

    QHash<QString, quint8> m_words;
    QList<SSlot> m_slots;
    QString m_keys;
    quint32 m_nMask = 0;
    qsizetype m_nLongest = -1;
    quint64 m_arFirstAscii[2] = {0, 0};
    bool m_bNonAsciiFirst = false;
};
