#pragma once

#include "core/data/sortstringarray.h"
#include "core/data/wordset.h"

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
    using Produce = std::function<void(const WordSink&)>;

    // The answer of list.InsertSorted(sWord), with the same change to the list.
    int Learn(CSortStringArray& list, QStringView sWord);
    // Every word produce hands to its sink, in that order, as Learn would take
    // them; the list is rewritten once at the end instead of once per new
    // word. The list must not be touched while produce runs.
    void LearnWords(CSortStringArray& list, const Produce& produce);
    // The words of every producer, in the order given, as LearnWords would
    // take them one producer after the other. With more than one thread,
    // nThreads - 1 threads of their own read producers beside the calling
    // thread, each taking the next one as it gets free, so the producers
    // must share nothing that changes.
    void LearnWords(CSortStringArray& list, const std::vector<Produce>& producers, int nThreads = 1);

    // How many words are settled: for tests and figures.
    qsizetype SettledCount() const { return m_settled.Size(); }

private:
    struct SRun;
    class CFirstMeetings;

    void Follow(const CSortStringArray& list);
    void Adopt(const CSortStringArray& list) { m_arKnown = list; }
    void Offer(SRun& run, KeyedWords words);
    void Offer(SRun& run, QStringView sWord) { Offer(run, SWordKey::Of(sWord), sWord); }
    void Offer(SRun& run, const SWordKey& key, QStringView sWord);
    void LearnUnsettled(SRun& run, QStringView sWord, const SWordKey& key);
    static void Meet(CFirstMeetings& meetings, KeyedWords words);
    static void Meet(CFirstMeetings& meetings, QStringView sWord);
    void ProduceInTurn(SRun& run, const std::vector<Produce>& producers);
    bool ProduceSideBySide(SRun& run, const std::vector<Produce>& producers, int nThreads);
    QStringList m_arKnown;
    CWordSet m_settled;
};

// What produce hands its words to: one plain call a word, to the index, or
// to what collects the words read on another thread.
class CCompletionIndex::CWordSink
{
public:
    void operator()(QStringView sWord) const { Take(sWord); }
    void operator()(KeyedWords words) const { Take(words); }

private:
    friend class CCompletionIndex;
    CWordSink(CCompletionIndex& index, SRun& run) : m_pIndex(&index), m_pRun(&run) { }
    explicit CWordSink(CFirstMeetings& meetings) : m_pMeetings(&meetings) { }

    template <class W> void Take(W words) const
    {
        if (m_pMeetings)
            Meet(*m_pMeetings, words);
        else
            m_pIndex->Offer(*m_pRun, words);
    }

    CCompletionIndex* m_pIndex = nullptr;
    SRun* m_pRun = nullptr;
    CFirstMeetings* m_pMeetings = nullptr;
};
