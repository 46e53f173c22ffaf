// The view's editing commands, text services, keys and mouse.
#include "gui/editor/scriptview.h"

#include "core/editor/autocomplete.h"
#include "core/frame/commandtable.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/updatingguard.h"
#include "gui/frame/mainfrm.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {

bool IsEnter(const QKeyEvent* pEvent)
{
    return pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
}

}  // namespace

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

void CScriptView::MarkModified()
{
    document()->setModified(true);
    m_doc.SetModifiedFlag(true);
}

void CScriptView::RunLineCommand(const QList<LineCommands::SLineEdit>& edits, int nFirst, int nLast, bool bRecolour)
{
    if (edits.isEmpty())
        return;
    CancelSuggestion();
    CUpdating updating(m_bUpdating);
    for (const LineCommands::SLineEdit& edit : edits) {
        QTextCursor cursor(document()->findBlockByNumber(edit.nLine));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, edit.nColumn);
        cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, edit.nRemove);
        cursor.insertText(edit.sInsert);
    }
    if (bRecolour)
        ColourLineRange(nFirst, nLast, false);
    MarkModified();
    const QTextBlock last = document()->findBlockByNumber(nLast);
    SetSelection(document()->findBlockByNumber(nFirst).position(), last.position() + last.length() - 1);
    PushUndo();
}

bool CScriptView::CanCommentLines() const
{
    return LineCommands::HasLineComments(m_nFileType);
}

void CScriptView::OnEditCommentOut()
{
    if (!CanCommentLines())
        return;
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::CommentOut(lines, nFirst, LineCommands::CommentPrefix(m_nFileType)), nFirst, nLast,
                   true);
}

void CScriptView::OnEditUncomment()
{
    if (!CanCommentLines())
        return;
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Uncomment(lines, nFirst), nFirst, nLast, true);
}

void CScriptView::OnEditIndent()
{
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Indent(lines, nFirst), nFirst, nLast, false);
}

void CScriptView::OnEditOutdent()
{
    int nFirst = 0;
    int nLast = 0;
    const QStringList lines = LinesOfSelection(&nFirst, &nLast);
    RunLineCommand(LineCommands::Outdent(lines, nFirst), nFirst, nLast, false);
}

void CScriptView::ChangeCase(bool bUpper)
{
    CancelSuggestion();
    {
        CUpdating updating(m_bUpdating);
        auto [nStart, nEnd] = Selection();
        const bool bWasEmpty = nStart == nEnd;
        if (bWasEmpty)
            SetSelection(nStart, std::min(nStart + 1, document()->characterCount() - 1));
        const QString sSelected = GetSelectedText();
        const QPair<int, int> sel = Selection();
        const QString sChanged = LineCommands::ChangeCase(sSelected, bUpper);
        textCursor().insertText(sChanged);
        // Nothing else tells the document: its change notice is ignored here,
        // and a case change left unmarked would be lost without a question.
        if (sChanged != sSelected)
            MarkModified();
        if (bWasEmpty)
            SetSelection(sel.second, sel.second);
        else
            SetSelection(sel.first, sel.second);
    }
    PushUndo();
}

void CScriptView::InsertText(const QString& sText, bool bSnapshot)
{
    if (sText.isEmpty())
        return;
    CancelSuggestion();
    CUpdating updating(m_bUpdating);
    const int nLineBefore = LineOf(Selection().first);
    textCursor().insertText(sText);
    const int nLineAfter = LineOf(Selection().first);
    if (m_bFormat)
        ColourLineRange(nLineBefore, nLineAfter, false);
    if (bSnapshot)
        PushUndo();
    MarkModified();
}

QString CScriptView::GetSelectedText() const
{
    return PlainOf(textCursor().selectedText());
}

QString CScriptView::GetLineText(int nLine) const
{
    return document()->findBlockByNumber(nLine).text();
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

bool CScriptView::IsBreakChar(QChar c)
{
    return LineCommands::IsBreakChar(c);
}

bool CScriptView::canInsertFromMimeData(const QMimeData* pSource) const
{
    return pSource->hasText();
}

void CScriptView::insertFromMimeData(const QMimeData* pSource)
{
    // Pasted or dropped, only plain text ever comes in; it is coloured by
    // this editor's own rules.
    CancelSuggestion();
    {
        CUpdating updating(m_bUpdating);
        const int nLineBefore = LineOf(Selection().first);
        if (pSource->hasText())
            textCursor().insertText(pSource->text());
        if (m_bFormat)
            ColourLineRange(nLineBefore, LineOf(Selection().first), false);
        ShiftBookmarks();
        PushUndo();
        if (pSource->hasText())
            MarkModified();
    }
}

void CScriptView::InsertAutoIndent()
{
    const QTextBlock current = textCursor().block();
    const QString sIndent = LineCommands::AutoIndent(current.previous().text().toLower(), m_bWhiteSpace, m_bAutoTabs);
    if (sIndent.isEmpty())
        return;
    CUpdating updating(m_bUpdating);
    textCursor().insertText(sIndent);
}

void CScriptView::OutdentClosingBrace()
{
    if (!m_bAutoTabs)
        return;
    const QTextCursor cursor = textCursor();
    const QString sLine = cursor.block().text();
    const int nCol = std::max(cursor.positionInBlock() - 1, 0);
    if (nCol <= 0 || nCol >= sLine.size() || sLine[nCol] != QLatin1Char('}') || sLine[nCol - 1] != QLatin1Char('\t'))
        return;
    CUpdating updating(m_bUpdating);
    const int nLineStart = cursor.block().position();
    QTextCursor tab(document());
    tab.setPosition(nLineStart + nCol - 1);
    tab.setPosition(nLineStart + nCol, QTextCursor::KeepAnchor);
    tab.removeSelectedText();
    SetSelection(nLineStart + nCol, nLineStart + nCol);
}

void CScriptView::keyPressEvent(QKeyEvent* pEvent)
{
    if (m_bSuggestion && HandleSuggestionKey(pEvent))
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
    if (m_bAutoComplete && !pEvent->isAutoRepeat()) {
        // Shortcuts are not typing: Ctrl+S must not offer a word.
        const bool bShortcut = pEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (AutoComplete::IsWordKey(pEvent->key(), pEvent->modifiers() & Qt::KeypadModifier)) {
            if (!bShortcut)
                OfferSuggestion();
        } else if (pEvent->key() != Qt::Key_Backspace && pEvent->key() != Qt::Key_Shift) {
            LearnFinishedWord();
        }
    }
    QPlainTextEdit::keyReleaseEvent(pEvent);
}

void CScriptView::mousePressEvent(QMouseEvent* pEvent)
{
    m_nPrevStartLine = LineOf(Selection().first);
    if (pEvent->button() == Qt::RightButton) {
        const int nPos = cursorForPosition(pEvent->position().toPoint()).position();
        const auto [nStart, nEnd] = Selection();
        if (nPos < nStart || nPos >= nEnd)
            SetSelection(nPos, nPos);
    }
    QPlainTextEdit::mousePressEvent(pEvent);
}

void CScriptView::mouseReleaseEvent(QMouseEvent* pEvent)
{
    QPlainTextEdit::mouseReleaseEvent(pEvent);
    m_nPrevEndLine = LineOf(Selection().second);
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
    // The frame's commands, so the menu follows the same rules as the
    // menu bar; those of later features stay disabled until they exist.
    if (CMainFrame* pMain = App().MainFrame())
        pMain->ShowContextMenu(EditorContextMenu(), pEvent->globalPos());
}
