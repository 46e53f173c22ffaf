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
    class CWordSink;
    using WordSink = CWordSink;

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
    // A word of up to kInline characters as its slot holds it, four to a
    // chunk and zero past its end, so that it is compared and hashed a
    // chunk at a time; a longer one keeps only its hash here.
    struct SKey
    {
        quint64 arChunks[kInline / 4] = {};
        quint32 nHash = 0;
        quint32 nLength = 0;
    };
    struct SSlot
    {
        quint32 nHash = 0;
        quint32 nLength = 0;                 // plus one; 0 marks an empty slot
        quint64 arChunks[kInline / 4] = {};  // a longer word: where it starts in m_arKeys
    };
    struct SRun;

    void Follow(const CSortStringArray& list);
    void Adopt(const CSortStringArray& list) { m_arKnown = list; }
    static quint32 Hash(QStringView sWord);
    static SKey KeyOf(QStringView sWord);
    bool IsSettled(QStringView sWord, quint32 nHash) const;
    bool IsSettled(const SKey& key) const;
    void Settle(QStringView sWord, quint32 nHash);
    void Offer(SRun& run, QStringView sWord);
    void LearnUnsettled(SRun& run, QStringView sWord, quint32 nHash);

    QStringList m_arKnown;
    std::vector<SSlot> m_arSlots;
    std::vector<char16_t> m_arKeys;
    qsizetype m_nSettled = 0;
};

// What produce hands its words to: one plain call a word, the index's own.
class CCompletionIndex::CWordSink
{
public:
    void operator()(QStringView sWord) const { m_index.Offer(m_run, sWord); }

private:
    friend class CCompletionIndex;
    CWordSink(CCompletionIndex& index, SRun& run) : m_index(index), m_run(run) { }

    CCompletionIndex& m_index;
    SRun& m_run;
};
