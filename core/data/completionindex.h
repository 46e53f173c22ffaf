#pragma once

#include "core/data/sortstringarray.h"
#include "core/data/wordset.h"

#include <QStringList>
#include <QStringView>

#include <functional>

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
    qsizetype SettledCount() const { return m_settled.Size(); }

private:
    struct SRun;

    void Follow(const CSortStringArray& list);
    void Adopt(const CSortStringArray& list) { m_arKnown = list; }
    // Nearly every word offered is a short one settled before; its slot is
    // asked for kAhead words after the key was made, so that the slot has
    // come into the cache meanwhile. Words are still answered in order.
    void Offer(SRun& run, SReadableWord word);
    void Offer(SRun& run, QStringView sWord);
    void OfferKey(SRun& run, const SWordKey& key, QStringView sWord);
    void Answer(SRun& run, const SWordKey& key, QStringView sWord);
    void Flush(SRun& run);
    void LearnUnsettled(SRun& run, QStringView sWord, const SWordKey& key);

    static constexpr int kAhead = 8;
    SWordKey m_arAhead[kAhead];  // a place with nLow 0 is empty
    int m_nNextAhead = 0;
    QStringList m_arKnown;
    CWordSet m_settled;
};

// What produce hands its words to: one plain call a word, the index's own.
class CCompletionIndex::CWordSink
{
public:
    void operator()(QStringView sWord) const { m_index.Offer(m_run, sWord); }
    void operator()(SReadableWord word) const { m_index.Offer(m_run, word); }

private:
    friend class CCompletionIndex;
    CWordSink(CCompletionIndex& index, SRun& run) : m_index(index), m_run(run) { }

    CCompletionIndex& m_index;
    SRun& m_run;
};
