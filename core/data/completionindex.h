#pragma once

#include "core/data/sortstringarray.h"

#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

// Learns words into a completion list with exactly the result of calling
// InsertSorted on each in turn, without walking the list from its start for
// every word. Opening a big script offers hundreds of thousands of variables,
// nearly all of them repeats, to a list of tens of thousands of words.
//
// Two facts carry it. A list changed only by InsertSorted never gains a new
// greatest entry, and an entry no greater than a word stays in front of every
// later insertion that could overtake it; so once a word has been inserted, or
// turned away for one of those two reasons, every later try gives -1 as well.
// Such words are settled and cost one hash probe from then on. Only a word
// turned away by a spelling that differs in case and sorts after it (say "_X"
// met behind "_x") can be taken later, and is looked at again each time.
//
// The index belongs to one list at a time: it keeps a shallow copy of the list
// it knows, so any change made to the list by other hands (a new dictionary,
// another assignment, a detaching edit) shows as a different buffer, and then
// everything settled is forgotten.
class CCompletionIndex
{
public:
    using WordSink = std::function<void(QStringView)>;

    // The answer of list.InsertSorted(sWord), with the same change to the list.
    int Learn(CSortStringArray& list, QStringView sWord);
    // Every word produce hands to its sink, in that order, as Learn would take
    // them; the list is rewritten once at the end instead of once per new
    // word. The list must not be touched while produce runs.
    void LearnWords(CSortStringArray& list, const std::function<void(const WordSink&)>& produce);

    // How many words are settled: for tests and figures.
    qsizetype SettledCount() const { return m_nSettled; }

private:
    // Open addressing over one flat array. A word of up to kInline characters
    // (most variable names) sits in its slot, so that a probe touches one
    // cache line; a longer one sits in a pool, its slot saying where.
    static constexpr qsizetype kInline = 12;
    struct SSlot
    {
        quint32 nHash = 0;
        quint32 nLength = 0;  // plus one; 0 marks an empty slot
        char16_t arChars[kInline] = {};
    };

    void Follow(const CSortStringArray& list);
    void Adopt(const CSortStringArray& list) { m_arKnown = list; }
    static quint32 Hash(QStringView sWord);
    bool IsSettled(QStringView sWord, quint32 nHash) const;
    void Settle(QStringView sWord, quint32 nHash);

    QStringList m_arKnown;
    std::vector<SSlot> m_arSlots;
    std::vector<char16_t> m_arKeys;
    qsizetype m_nSettled = 0;
};
