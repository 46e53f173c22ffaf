// The view's editing commands, text services, keys and mouse.
#include "gui/editor/scriptview.h"

#include "core/editor/autocomplete.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {

bool IsEnter(const QKeyEvent* pEvent)
{
    return pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
}

} // namespace

QStringList CScriptView::LinesOfSelection(int* pnFirst, int* pnLast) const
{
    const QPair<int, int> sel = Selection();
    *pnFirst = LineOf(sel.first);
    *pnLast = LineOf(sel.second);
    QStringList lines;
    for (int i = *pnFirst; i <= *pnLast; ++i)
        lines.append(GetLineText(i));
    return lines;
}

void CScriptView::RunLineCommand(const QList<LineCommands::SLineEdit>& lineEdits, int nFirst, int nLast)
{
    if (lineEdits.isEmpty())
        return;
    CancelSuggestion();
    QList<SEdit> edits;
    int nGrowth = 0;
    for (const LineCommands::SLineEdit& edit : lineEdits) {
        edits.append({document()->findBlockByNumber(edit.nLine).position() + edit.nColumn, edit.nRemove, edit.sInsert});
        nGrowth += int(edit.sInsert.size()) - edit.nRemove;
    }
    // The lines stay selected whole, however long they grew.
    const QTextBlock last = document()->findBlockByNumber(nLast);
    const int nStart = document()->findBlockByNumber(nFirst).position();
    m_doc.ApplyEdits(edits, EEditHistory::Step, QPair<int, int>(nStart, last.position() + last.length() - 1 + nGrowth));
}

bool CScriptView::CanCommentLines() const
{
    return LineCommands::HasLineComments(FileType());
}

void CScriptView::OnEditCommentOut()
{
    if (!CanCommentLines())
        return;
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::CommentOut(lines, nFirst, LineCommands::CommentPrefix(FileType())), nFirst, nLast);
}

void CScriptView::OnEditUncomment()
{
    if (!CanCommentLines())
        return;
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Uncomment(lines, nFirst), nFirst, nLast);
}

void CScriptView::OnEditIndent()
{
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Indent(lines, nFirst), nFirst, nLast);
}

void CScriptView::OnEditOutdent()
{
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Outdent(lines, nFirst), nFirst, nLast);
}

void CScriptView::ChangeCase(bool bUpper)
{
    CancelSuggestion();
    auto [nStart, nEnd] = Selection();
    const bool bWasEmpty = nStart == nEnd;
    if (bWasEmpty)
        nEnd = std::min(nStart + 1, m_doc.Length());
    const QString sChanged = LineCommands::ChangeCase(m_doc.Shadow().Mid(nStart, nEnd - nStart), bUpper);
    // Without a selection the caret steps over the changed character.
    const QPair<int, int> selAfter = bWasEmpty ? QPair<int, int>(nEnd, nEnd) : QPair<int, int>(nStart, nEnd);
    if (m_doc.ApplyEdits({{nStart, nEnd - nStart, sChanged}}, EEditHistory::Step, selAfter))
        return;
    SetSelection(selAfter.first, selAfter.second);
    m_doc.PushUndo();
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

QString CScriptView::GetWordAt(int nPosition, QPair<int, int>* pRange) const
{
    const QTextBlock block = document()->findBlock(nPosition);
    const QString sLine = block.text().toLower();
    if (sLine.isEmpty())
        return QString();
    const auto [nStart, nEnd] = LineCommands::WordAt(sLine, nPosition - block.position());
    if (pRange)
        *pRange = {block.position() + nStart, block.position() + nEnd};
    return sLine.mid(nStart, nEnd - nStart);
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

void CScriptView::InsertAutoIndent()
{
    const QTextBlock current = textCursor().block();
    const QString sIndent =
        LineCommands::AutoIndent(current.previous().text().toLower(), m_options.bWhiteSpace, m_options.bAutoTabs);
    if (sIndent.isEmpty())
        return;
    auto updating = m_doc.Updating();
    textCursor().insertText(sIndent);
}

void CScriptView::OutdentClosingBrace()
{
    if (!m_options.bAutoTabs)
        return;
    const QTextCursor cursor = textCursor();
    const QString sLine = cursor.block().text();
    const int nCol = std::max(cursor.positionInBlock() - 1, 0);
    if (nCol <= 0 || nCol >= sLine.size() || sLine[nCol] != QLatin1Char('}') || sLine[nCol - 1] != QLatin1Char('\t'))
        return;
    auto updating = m_doc.Updating();
    const int nLineStart = cursor.block().position();
    QTextCursor tab(document());
    tab.setPosition(nLineStart + nCol - 1);
    tab.setPosition(nLineStart + nCol, QTextCursor::KeepAnchor);
    tab.removeSelectedText();
    SetSelection(nLineStart + nCol, nLineStart + nCol);
}

void CScriptView::keyPressEvent(QKeyEvent* pEvent)
{
    if (m_suggestion.IsShown() && m_suggestion.HandleKey(pEvent->key()))
        return;
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
        InsertAutoIndent();
        return;
    }
    QPlainTextEdit::keyPressEvent(pEvent);
}

void CScriptView::keyReleaseEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_BraceRight || pEvent->key() == Qt::Key_BracketRight)
        OutdentClosingBrace();
    if (m_options.bAutoComplete && !pEvent->isAutoRepeat()) {
        // Shortcuts are not typing: Ctrl+S must not offer a word.
        const bool bShortcut = pEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (AutoComplete::IsWordKey(pEvent->key(), pEvent->modifiers() & Qt::KeypadModifier)) {
            if (!bShortcut)
                m_suggestion.Offer();
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
