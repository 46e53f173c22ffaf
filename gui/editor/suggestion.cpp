#include "gui/editor/suggestion.h"

#include "core/data/dictionary.h"
#include "core/editor/autocomplete.h"
#include "core/editor/colourer.h"
#include "gui/editor/editorcontext.h"
#include "gui/editor/scripthighlighter.h"
#include "gui/editor/scriptview.h"

#include <QTextCursor>
#include <QThread>

#include <algorithm>

namespace {

// Below this a piece of text is read faster than a thread is started.
constexpr int kCharsForAPiece = 256 * 1024;

int Before(int nPosition, int nBy)
{
    return nPosition - nBy > 0 ? nPosition - nBy : 0;
}

}  // namespace

void CSuggestion::Show(int nAt, const QString& sRest)
{
    CEditBuffer& doc = m_view.Document();
    auto updating = doc.Updating();
    // The offered rest is no text of the document: it stays out of its
    // history, and the typed word keeps the colour it has without it.
    Hide();
    if (m_pHighlighter)
        m_pHighlighter->SetHidden(nAt, int(sRest.size()));
    doc.InsertUnrecorded(nAt, sRest);
    m_sText = sRest;
    m_crRange = {nAt, nAt + int(sRest.size())};
    m_view.SetSelection(m_crRange.first, m_crRange.second);
    m_bShown = true;
}

bool CSuggestion::Forget()
{
    if (!m_bShown)
        return false;
    m_bShown = false;
    if (m_pHighlighter)
        m_pHighlighter->SetHidden(0, 0);
    // Only the suggestion itself may go: should anything have moved it, the
    // text stays as it is.
    const int nLength = m_crRange.second - m_crRange.first;
    return m_view.Document().Shadow().Mid(m_crRange.first, nLength) == m_sText;
}

bool CSuggestion::Hide()
{
    if (!Forget())
        return false;
    m_view.Document().RemoveUnrecorded(m_crRange.first, m_crRange.second - m_crRange.first);
    return true;
}

void CSuggestion::Offer()
{
    const int c = m_view.Selection().first;
    QPair<int, int> range{-1, -1};
    const QString sWord = m_view.GetWordAt(Before(c, 1), &range);
    if (sWord.isEmpty() || c != range.second)
        return;
    const QString sRest = AutoComplete::Suggestion(m_view.Context().Dictionary().m_arAutoComplete, sWord);
    if (!sRest.isEmpty())
        Show(c, sRest);
}

bool CSuggestion::TypeOver(const QString& sTyped)
{
    const auto [s, e] = m_view.Selection();
    if (!m_bShown || QPair<int, int>(s, e) != m_crRange || !Forget())
        return false;
    CEditBuffer& doc = m_view.Document();
    doc.TypeOver(s, e, sTyped);
    // The caret has moved on with the typed text already; placing it again
    // would measure the line up to it a few times over, a long line dearly.
    const int nCaret = s + int(sTyped.size());
    if (m_view.Selection() == QPair<int, int>(nCaret, nCaret)) {
        m_view.ShowCaretSoon();
        return true;
    }
    auto updating = doc.Updating();
    m_view.SetSelection(nCaret, nCaret);
    return true;
}

void CSuggestion::LearnFinishedWord()
{
    const QString sWord = m_view.GetWordAt(Before(m_view.Selection().first, 2));
    if (!sWord.isEmpty())
        m_view.Context().Dictionary().LearnAutoComplete(sWord);
}

void CSuggestion::LearnWordsOf(const CEditBuffer& buffer)
{
    // The buffer's own copy of the text is read in one go: a string per
    // line from the text document cost more than finding the words. A large
    // text is cut into pieces, read side by side on every processor, each
    // thread taking the next piece as it gets free.
    const CTextShadow& text = buffer.Shadow();
    const int nThreads = std::clamp(text.Length() / kCharsForAPiece, 1, QThread::idealThreadCount());
    QString sCrossing;
    m_view.Context().Dictionary().LearnAutoCompleteWords(
        CColourer::LocalVariableProducers(text, buffer.FileType(), nThreads, &sCrossing), nThreads);
}

void CSuggestion::Step(bool bBack)
{
    const int nLength = m_crRange.second - m_crRange.first;
    const QString sWhole = m_view.GetWordAt(m_crRange.first);
    if (sWhole.isEmpty())
        return;
    const QString sTyped = sWhole.left(std::max<qsizetype>(0, sWhole.size() - nLength));
    const QString sRest
        = AutoComplete::Neighbour(m_view.Context().Dictionary().m_arAutoComplete, sWhole, sTyped, bBack);
    if (!sRest.isEmpty())
        Show(m_crRange.first, sRest);
}

void CSuggestion::Accept()
{
    const QString sText = m_sText;
    const int nAt = m_crRange.first;
    if (!Hide())
        return;
    // Now it is the user's text: one step, like a word typed in full.
    const int nEnd = nAt + int(sText.size());
    m_view.Document().ApplyEdits({{nAt, 0, sText}}, EEditHistory::Step, QPair<int, int>(nEnd, nEnd));
}

bool CSuggestion::Consumes(int nKey)
{
    switch (nKey) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return true;
    default:
        return false;
    }
}

bool CSuggestion::HandleKey(int nKey)
{
    switch (nKey) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        Cancel();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
        Step(true);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        Step(false);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Accept();
        return true;
    default:
        return false;
    }
}

void CSuggestion::Cancel()
{
    const auto [s, e] = m_view.Selection();
    const QPair<int, int> range = m_crRange;
    if (!Hide())
        return;
    auto updating = m_view.Document().Updating();
    const int nLength = range.second - range.first;
    if (s > range.second)
        m_view.SetSelection(s - nLength, e - nLength);
    else if (s >= range.first)
        m_view.SetSelection(range.first, range.first);
    else
        m_view.SetSelection(s, e);
}
