// The view's inline auto-completion: the rest of a list word, shown as
// selected text after the caret.
#include "gui/editor/scriptview.h"

#include "core/editor/autocomplete.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/updatingguard.h"

#include <QKeyEvent>

namespace {

int Before(int nPosition, int nBy)
{
    return nPosition - nBy > 0 ? nPosition - nBy : 0;
}

}  // namespace

void CScriptView::ShowSuggestion(int nAt, const QString& sRest)
{
    CUpdating updating(m_bUpdating);
    m_bSuggestion = false;
    textCursor().insertText(sRest);
    m_sSuggestion = sRest;
    m_crSuggestion = {nAt, nAt + int(sRest.size())};
    SetSelection(m_crSuggestion.first, m_crSuggestion.second);
    m_bSuggestion = true;
}

void CScriptView::OfferSuggestion()
{
    const int c = Selection().first;
    QPair<int, int> range{-1, -1};
    const QString sWord = GetWordAt(Before(c, 1), &range);
    if (sWord.isEmpty() || c != range.second)
        return;
    const QString sRest = AutoComplete::Suggestion(App().Dictionary().m_arAutoComplete, sWord);
    if (!sRest.isEmpty())
        ShowSuggestion(c, sRest);
}

void CScriptView::LearnFinishedWord()
{
    const QString sWord = GetWordAt(Before(Selection().first, 2));
    if (!sWord.isEmpty())
        App().Dictionary().m_arAutoComplete.InsertSorted(sWord);
}

void CScriptView::StepSuggestion(bool bBack)
{
    const int nLength = m_crSuggestion.second - m_crSuggestion.first;
    const QString sWhole = GetWordAt(m_crSuggestion.first);
    if (sWhole.isEmpty())
        return;
    const QString sTyped = sWhole.left(std::max<qsizetype>(0, sWhole.size() - nLength));
    const QString sRest = AutoComplete::Neighbour(App().Dictionary().m_arAutoComplete, sWhole, sTyped, bBack);
    if (!sRest.isEmpty())
        ShowSuggestion(m_crSuggestion.first, sRest);
}

void CScriptView::AcceptSuggestion()
{
    m_bSuggestion = false;
    {
        CUpdating updating(m_bUpdating);
        SetSelection(m_crSuggestion.second, m_crSuggestion.second);
    }
    const int nLine = LineOf(m_crSuggestion.first);
    ColourLineRange(nLine, nLine, true);
    PushUndo();
}

bool CScriptView::HandleSuggestionKey(QKeyEvent* pEvent)
{
    switch (pEvent->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: {
        m_bSuggestion = false;
        CUpdating updating(m_bUpdating);
        textCursor().removeSelectedText();
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Left:
        StepSuggestion(true);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
        StepSuggestion(false);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        AcceptSuggestion();
        return true;
    default:
        return false;
    }
}

void CScriptView::CancelSuggestion()
{
    if (!m_bSuggestion)
        return;
    m_bSuggestion = false;
    // Only the suggestion itself may go: should anything have moved it, the
    // text stays as it is.
    if (TextRange(m_crSuggestion.first, m_crSuggestion.second - m_crSuggestion.first) != m_sSuggestion)
        return;
    const auto [s, e] = Selection();
    const int nLength = m_crSuggestion.second - m_crSuggestion.first;
    CUpdating updating(m_bUpdating);
    SetSelection(m_crSuggestion.first, m_crSuggestion.second);
    textCursor().removeSelectedText();
    if (s > m_crSuggestion.second)
        SetSelection(s - nLength, e - nLength);
    else if (s >= m_crSuggestion.first)
        SetSelection(m_crSuggestion.first, m_crSuggestion.first);
    else
        SetSelection(s, e);
}
