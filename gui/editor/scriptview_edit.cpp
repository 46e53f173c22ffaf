// The view's editing commands, text services, keys and mouse.
#include "gui/editor/scriptview.h"

#include "core/editor/autocomplete.h"
#include "gui/editor/buffercommands.h"
#include "gui/editor/longlines.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {

bool IsEnter(const QKeyEvent* pEvent)
{
    return pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
}

bool IsShortcut(const QKeyEvent* pEvent)
{
    return pEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

void CScriptView::RunLineCommand(BufferCommands::ELineCommand eCommand)
{
    // The suggestion goes before the selection is read: it is no text yet.
    CancelSuggestion();
    BufferCommands::RunLineCommand(m_doc, eCommand);
}

void CScriptView::ChangeCase(bool bUpper)
{
    CancelSuggestion();
    BufferCommands::ChangeCase(m_doc, bUpper);
}

void CScriptView::InsertText(const QString& sRaw, bool bSnapshot)
{
    if (sRaw.isEmpty())
        return;
    CancelSuggestion();
    const QString sText = CEditBuffer::Normalised(sRaw);
    const auto [nStart, nEnd] = Selection();
    const int nCaret = nStart + int(sText.size());
    m_doc.ApplyEdits({{nStart, nEnd - nStart, sText}}, bSnapshot ? EEditHistory::Step : EEditHistory::Later,
                     QPair<int, int>(nCaret, nCaret));
}

QString CScriptView::GetSelectedText() const
{
    const auto [nStart, nEnd] = Selection();
    return m_doc.Shadow().Mid(nStart, nEnd - nStart);
}

bool CScriptView::canInsertFromMimeData(const QMimeData* pSource) const
{
    return pSource->hasText();
}

void CScriptView::insertFromMimeData(const QMimeData* pSource)
{
    // Pasted or dropped, only plain text ever comes in; it is coloured by
    // this editor's own rules.
    if (pSource->hasText() && !pSource->text().isEmpty())
        InsertText(pSource->text(), true);
    else
        m_doc.PushUndo();
}

bool CScriptView::event(QEvent* pEvent)
{
    // A key that may be a shortcut (Ctrl+S, F2, Esc...) comes here first:
    // whatever command it runs sees the text without a shown suggestion, and
    // its release later is no typing.
    if (pEvent->type() == QEvent::ShortcutOverride) {
        const auto* pKey = static_cast<QKeyEvent*>(pEvent);
        const bool bKept = m_suggestion.IsShown() && (m_suggestion.Consumes(pKey->key()) || TypesText(pKey));
        if (!bKept)
            CancelSuggestion();
        m_nTypedKey = 0;
    }
    return QPlainTextEdit::event(pEvent);
}

void CScriptView::keyPressEvent(QKeyEvent* pEvent)
{
    if (m_suggestion.IsShown() && m_suggestion.HandleKey(pEvent->key()))
        return;
    // Only a key that puts text in may offer a word when it is let go.
    m_nTypedKey = !IsShortcut(pEvent) && !pEvent->text().isEmpty() ? pEvent->key() : 0;
    // Typed over a shown rest, a key that puts text in takes its place in
    // one change of the line rather than two. Either way it goes in without
    // the toolkit's measuring of the line for the caret: its release may
    // change the line again, and it is measured once for both.
    if (TypesText(pEvent)) {
        LongLines::CDocumentLayout::CHold waiting(document());
        if (m_suggestion.TypeOver(pEvent->text()) || TypeAtCaret(pEvent->text()))
            return;
    }
    if (pEvent->key() != Qt::Key_Shift)
        CancelSuggestion();
    if (pEvent->matches(QKeySequence::Undo)) {
        OnEditUndo();
        return;
    }
    if (pEvent->matches(QKeySequence::Redo)
        || (pEvent->key() == Qt::Key_Y && pEvent->modifiers() == Qt::ControlModifier)) {
        OnEditRedo();
        return;
    }
    if (IsEnter(pEvent)) {
        // Shift+Enter would put a line separator inside a line, which the
        // file would read as a line break but the line numbers would not.
        QKeyEvent plain(pEvent->type(), pEvent->key(), pEvent->modifiers() & ~Qt::ShiftModifier, QStringLiteral("\r"));
        QPlainTextEdit::keyPressEvent(&plain);
        BufferCommands::InsertAutoIndent(m_doc, m_options.bWhiteSpace, m_options.bAutoTabs);
        return;
    }
    QPlainTextEdit::keyPressEvent(pEvent);
}

bool CScriptView::TypeAtCaret(const QString& sTyped)
{
    const auto [nStart, nEnd] = Selection();
    if (m_suggestion.IsShown() || nStart != nEnd)
        return false;
    m_doc.TypeOver(nStart, nEnd, sTyped);
    ShowCaretSoon();
    return true;
}

bool CScriptView::TypesText(const QKeyEvent* pEvent) const
{
    // In overwrite mode or read-only, the key takes the usual way, as do
    // the tab, line break and control characters.
    const QString sText = pEvent->text();
    return m_options.bAutoComplete && !IsShortcut(pEvent) && !overwriteMode() && !isReadOnly() && !sText.isEmpty()
        && std::all_of(sText.begin(), sText.end(), [](QChar c) { return c.isPrint(); });
}

void CScriptView::keyReleaseEvent(QKeyEvent* pEvent)
{
    if (m_options.bAutoTabs && (pEvent->key() == Qt::Key_BraceRight || pEvent->key() == Qt::Key_BracketRight))
        BufferCommands::OutdentClosingBrace(m_doc);
    if (m_options.bAutoComplete && !pEvent->isAutoRepeat()) {
        // Shortcuts are not typing: letting go of the S of Ctrl+S, even after
        // Ctrl, must not offer a word.
        const bool bTyped = pEvent->key() == m_nTypedKey;
        if (AutoComplete::IsWordKey(pEvent->key(), pEvent->modifiers() & Qt::KeypadModifier)) {
            if (bTyped && !IsShortcut(pEvent)) {
                LongLines::CDocumentLayout::CHold waiting(document());
                m_suggestion.Offer();
            }
        } else if (pEvent->key() != Qt::Key_Backspace && pEvent->key() != Qt::Key_Shift) {
            m_suggestion.LearnFinishedWord();
        }
    }
    QPlainTextEdit::keyReleaseEvent(pEvent);
}

void CScriptView::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::RightButton) {
        const int nPos = cursorForPosition(pEvent->position().toPoint()).position();
        const auto [nStart, nEnd] = Selection();
        if (nPos < nStart || nPos >= nEnd)
            SetSelection(nPos, nPos);
    }
    QPlainTextEdit::mousePressEvent(pEvent);
}

void CScriptView::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    QPair<int, int> range{-1, -1};
    GetWordAt(cursorForPosition(pEvent->position().toPoint()).position(), &range);
    if (range.first >= 0 && range.second > range.first)
        SetSelection(range.first, range.second);
}

void CScriptView::contextMenuEvent(QContextMenuEvent* pEvent)
{
    // Whoever hosts the view offers its commands, so the menu follows the
    // same rules as the menu bar.
    emit ContextMenuRequested(pEvent->globalPos());
}
