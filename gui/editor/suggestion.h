#pragma once

#include <QPair>
#include <QString>

class CEditBuffer;
class CScriptHighlighter;
class CScriptView;

// The inline auto-completion of one view: the rest of a list word, shown
// as selected text after the caret until it is accepted or taken away.
class CSuggestion
{
public:
    explicit CSuggestion(CScriptView& view) : m_view(view) { }
    // Keeps the typed word in its own colours while the rest shows.
    void SetHighlighter(CScriptHighlighter* pHighlighter) { m_pHighlighter = pHighlighter; }

    bool IsShown() const { return m_bShown; }
    // After a word key: offers the rest of the first list word that starts
    // with the word before the caret.
    void Offer();
    // A key that puts text in, typed while the rest shows (and is the
    // selection): the text takes its place in one change, so a long line is
    // laid out once. False when no rest is shown there.
    bool TypeOver(const QString& sTyped);
    // After any other key: the word just finished joins the list.
    void LearnFinishedWord();
    // The local variables of a whole text join the list.
    void LearnWordsOf(const CEditBuffer& buffer);
    // A key the shown suggestion consumes; false for any other.
    bool HandleKey(int nKey);
    static bool Consumes(int nKey);
    // Takes the suggestion away, leaving the text as typed.
    void Cancel();

private:
    void Show(int nAt, const QString& sRest);
    // Takes the shown rest out of the text; false when it was not there.
    bool Hide();
    // Marks the rest as no longer shown; true when the text still holds it
    // where it was shown, so that it may go.
    bool Forget();
    void Step(bool bBack);
    void Accept();

    CScriptView& m_view;
    CScriptHighlighter* m_pHighlighter = nullptr;
    bool m_bShown = false;
    QPair<int, int> m_crRange{0, 0};
    QString m_sText;
};
