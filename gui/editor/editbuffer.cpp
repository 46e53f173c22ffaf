#include "gui/editor/editbuffer.h"

#include "core/editor/bookmarks.h"
#include "core/editor/linecommands.h"
#include "gui/editor/longlines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

namespace {

// The editor's text as positions count it: one character per line break.
QString PlainOf(QString sText)
{
    sText.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    sText.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return sText;
}

int MapThrough(int nPos, const QList<SEdit>& edits)
{
    // The edits come last first, so each one sees positions of the text before it.
    int nMapped = nPos;
    for (const SEdit& edit : edits) {
        if (nPos >= edit.nPos + edit.nLength)
            nMapped += int(edit.sText.size()) - edit.nLength;
        else if (nPos > edit.nPos)
            nMapped = std::min(nMapped, edit.nPos + int(edit.sText.size()));
    }
    return nMapped;
}

// The text from nFrom to nTo becomes sText, by a cursor that leaves its
// column unmeasured.
void ReplaceRange(QTextDocument* pText, int nFrom, int nTo, const QString& sText)
{
    if (LongLines::CDocumentLayout* pLayout = LongLines::CDocumentLayout::Of(pText))
        pLayout->KeepPlace(nFrom);
    QTextCursor cursor = CursorOver(pText, nFrom, nTo);
    cursor.beginEditBlock();
    cursor.insertText(sText);
    cursor.endEditBlock();
}

}  // namespace

QString CEditBuffer::Normalised(QString sText)
{
    // Line breaks of any kind count as the one character the text has for them.
    sText.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    sText.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return PlainOf(sText);
}

CEditBuffer::CEditBuffer(QObject* pParent) : QObject(pParent), m_pText(new QTextDocument(this))
{
    m_pText->setDocumentLayout(new LongLines::CDocumentLayout(m_pText));
    // Every line reads from the left, right-to-left words in it still in
    // their own order. A line that took its direction from its first letter
    // would be read up to that letter whenever it is measured: a position
    // table of digits alone is read whole, dozens of times a keystroke.
    QTextOption option = m_pText->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    m_pText->setDefaultTextOption(option);
    // The buffer keeps its own history; the text document's would double every edit.
    m_pText->setUndoRedoEnabled(false);
    connect(m_pText, &QTextDocument::contentsChange, this, &CEditBuffer::OnContentsChange);
    connect(m_pText, &QTextDocument::contentsChanged, this, &CEditBuffer::OnContentsChanged);
    PushUndo();
}

CEditBuffer::~CEditBuffer() = default;

QString CEditBuffer::PlainText() const
{
    // The shadow follows every change of the text document, line
    // separators already turned into line breaks, and hands the text over
    // in two copies of memory rather than a string per line.
    return m_shadow.Text();
}

QString CEditBuffer::LineText(int nLine) const
{
    return m_pText->findBlockByNumber(nLine).text();
}

int CEditBuffer::LineCount() const
{
    return m_pText->blockCount();
}

int CEditBuffer::LineOf(int nPosition) const
{
    return m_pText->findBlock(nPosition).blockNumber();
}

int CEditBuffer::LineStart(int nLine) const
{
    return m_pText->findBlockByNumber(nLine).position();
}

QString CEditBuffer::WordAt(int nPosition, QPair<int, int>* pRange) const
{
    const QTextBlock block = m_pText->findBlock(nPosition);
    const int nLineStart = block.position();
    const int nLineLength = block.isValid() ? block.length() - 1 : 0;
    if (nLineLength <= 0)
        return QString();
    const int nColumn = std::clamp(nPosition - nLineStart, 0, nLineLength);
    // Every word key asks for the word before the caret: only the stretch
    // around it is read, wider while the word runs on to its edge, not the
    // whole of a 150 KB position table.
    for (int nReach = 64;; nReach *= 2) {
        const int nFrom = std::max(0, nColumn - nReach);
        const int nTo = std::min(nLineLength, nColumn + nReach);
        const QString sPart = m_shadow.Mid(nLineStart + nFrom, nTo - nFrom);
        // Read in small letters, unless one grows in the change (a dotted
        // capital I does), which would move every column after it.
        const QString sLower = sPart.toLower();
        const QString& sRead = sLower.size() == sPart.size() ? sLower : sPart;
        const auto [nStart, nEnd] = LineCommands::WordAt(sRead, nColumn - nFrom);
        if ((nStart > 0 || nFrom == 0) && (nEnd < sRead.size() || nTo == nLineLength)) {
            if (pRange)
                *pRange = {nLineStart + nFrom + nStart, nLineStart + nFrom + nEnd};
            return sRead.mid(nStart, nEnd - nStart).toLower();
        }
    }
}

int CEditBuffer::Length() const
{
    return m_pText->characterCount() - 1;
}

void CEditBuffer::SetFileType(EFileType eType)
{
    if (eType == m_eFileType)
        return;
    m_eFileType = eType;
    emit FileTypeChanged();
}

void CEditBuffer::Load(const QString& sText)
{
    {
        CGuard updating(m_bUpdating);
        CGuard kept(m_bShadowKept);
        m_pText->setPlainText(sText);
    }
    m_shadow.Reset(PlainOf(sText));
    m_nLineCount = m_pText->blockCount();
    m_pendingChanges.clear();
    m_bTextChanged = false;
    SetModifiedFlag(false);
    ClearUndo();
    PushUndo();
}

QPair<int, int> CEditBuffer::Selection() const
{
    return m_selection ? m_selection() : m_crSelection;
}

void CEditBuffer::Select(int nStart, int nEnd)
{
    m_crSelection = {nStart, nEnd};
    emit SelectionRestored(nStart, nEnd);
}

QTextCursor CursorOver(QTextDocument* pText, int nAnchor, int nPosition)
{
    QTextCursor cursor(pText);
    // Inside an edit block the cursor leaves its column to be worked out.
    // The block marks the text modified though it edits nothing, so the
    // flag is put back, and nobody hears of it meanwhile.
    const QSignalBlocker quiet(pText);
    const bool bModified = pText->isModified();
    cursor.beginEditBlock();
    cursor.setPosition(nAnchor);
    cursor.setPosition(nPosition, QTextCursor::KeepAnchor);
    cursor.endEditBlock();
    pText->setModified(bModified);
    return cursor;
}

QString CEditBuffer::TextRange(int nPos, int nLength) const
{
    // Read from the lines themselves, not by a cursor: its edit block,
    // closed while the text document reports a change, makes the document
    // lay the changed line out once more, which on a line of 150 KB is a
    // large part of a keystroke.
    QString sOut;
    sOut.reserve(nLength);
    const int nEnd = nPos + nLength;
    int nAt = nPos;
    for (QTextBlock block = m_pText->findBlock(nPos); nAt < nEnd && block.isValid(); block = block.next()) {
        const QString sLine = block.text();
        const int nLineEnd = block.position() + int(sLine.size());
        if (nAt < nLineEnd) {
            const int nTake = std::min(nEnd, nLineEnd) - nAt;
            sOut.append(QStringView(sLine).mid(nAt - block.position(), nTake));
            nAt += nTake;
        }
        if (nAt < nEnd) {
            sOut.append(u'\n');
            ++nAt;
        }
    }
    return PlainOf(sOut);
}

void CEditBuffer::OnContentsChange(int nPos, int nRemoved, int nAdded)
{
    if (m_bShadowKept)
        return;
    // The document reports its closing paragraph mark in some changes;
    // positions beyond the text are not part of it.
    const int nLength = Length();
    nPos = std::clamp(nPos, 0, std::min(nLength, m_shadow.Length()));
    nAdded = std::clamp(nAdded, 0, nLength - nPos);
    nRemoved = std::clamp(nRemoved, 0, m_shadow.Length() - nPos);
    const QString sInserted = TextRange(nPos, nAdded);
    // Colouring announces itself as a change that replaces text by itself,
    // sometimes including the closing mark, which is no text at all.
    if (nRemoved == nAdded && m_shadow.Mid(nPos, nRemoved) == sInserted)
        return;
    const STextChange change = m_shadow.Replace(nPos, nRemoved, sInserted);
    m_bTextChanged = true;
    if (!m_bRestoring)
        m_pendingChanges.append(change);
}

void CEditBuffer::OnContentsChanged()
{
    if (!m_bTextChanged)
        return;
    m_bTextChanged = false;
    if (m_bUpdating)
        return;
    // Typing: the flag follows the text, bookmarks follow their lines and
    // the keystroke becomes a step.
    SetModifiedFlag(m_pText->isModified());
    ShiftBookmarks(LineOf(Selection().first));
    PushUndo();
}

void CEditBuffer::ShiftBookmarks(int nSelLine)
{
    const int nCount = m_pText->blockCount();
    if (nCount == m_nLineCount)
        return;
    Bookmarks::Shift(m_nBookmarks, m_nLineCount, nCount, nSelLine);
    m_nLineCount = nCount;
    emit BookmarksChanged();
}

bool CEditBuffer::ApplyEdits(QList<SEdit> edits, EEditHistory eHistory, std::optional<QPair<int, int>> selAfter)
{
    emit EditStarting();
    const int nLength = Length();
    for (SEdit& edit : edits) {
        edit.sText = Normalised(edit.sText);
        edit.nPos = std::clamp(edit.nPos, 0, nLength);
        edit.nLength = std::clamp(edit.nLength, 0, nLength - edit.nPos);
    }
    // An edit that puts back what is there already changes nothing.
    edits.removeIf([this](const SEdit& edit) { return m_shadow.Mid(edit.nPos, edit.nLength) == edit.sText; });
    if (edits.isEmpty())
        return false;
    // Last first: an edit never moves the text of those still to come.
    std::stable_sort(edits.begin(), edits.end(), [](const SEdit& a, const SEdit& b) { return a.nPos > b.nPos; });
    const QPair<int, int> sel = Selection();
    // The history gets the edits as one change, from the first to the last;
    // a single edit is that change already, and its text is not copied again.
    const int nSpanFrom = edits.constLast().nPos;
    const int nSpanRemoved = edits.constFirst().nPos + edits.constFirst().nLength - nSpanFrom;
    const QString sSpanRemoved = edits.size() > 1 ? m_shadow.Mid(nSpanFrom, nSpanRemoved) : QString();
    int nSpanAdded = nSpanRemoved;
    STextChange lastChange;
    {
        CGuard updating(m_bUpdating);
        CGuard kept(m_bShadowKept);
        QTextCursor cursor(m_pText);
        cursor.beginEditBlock();
        for (const SEdit& edit : edits) {
            cursor.setPosition(edit.nPos);
            cursor.setPosition(edit.nPos + edit.nLength, QTextCursor::KeepAnchor);
            cursor.insertText(edit.sText);
            lastChange = m_shadow.Replace(edit.nPos, edit.nLength, edit.sText);
            nSpanAdded += int(edit.sText.size()) - edit.nLength;
            const int nAddedBreaks = int(edit.sText.count(QLatin1Char('\n')));
            const int nOldCount = std::exchange(
                m_nLineCount, m_nLineCount - int(lastChange.sRemoved.count(QLatin1Char('\n'))) + nAddedBreaks);
            // The line an edit starts on is the same before and after it;
            // only an edit that changes the count needs to know it.
            if (m_nLineCount != nOldCount)
                Bookmarks::Shift(m_nBookmarks, nOldCount, m_nLineCount, LineOf(edit.nPos) + nAddedBreaks);
        }
        cursor.endEditBlock();
    }
    m_pendingChanges.append(edits.size() > 1 ? STextChange{nSpanFrom, sSpanRemoved, m_shadow.Mid(nSpanFrom, nSpanAdded)}
                                             : std::move(lastChange));
    m_bTextChanged = false;
    m_nLineCount = m_pText->blockCount();
    emit BookmarksChanged();
    const QPair<int, int> selNew
        = selAfter.value_or(QPair<int, int>(MapThrough(sel.first, edits), MapThrough(sel.second, edits)));
    Select(selNew.first, selNew.second);
    SetModifiedFlag(true);
    switch (eHistory) {
    case EEditHistory::Step:
        PushUndo();
        break;
    case EEditHistory::Restart:
        ClearUndo();
        PushUndo();
        break;
    case EEditHistory::Later:
        break;
    }
    return true;
}

void CEditBuffer::ReplaceAll(const QString& sText)
{
    // Even the same text, or none, starts the history over.
    if (!ApplyEdits({{0, Length(), sText}}, EEditHistory::Restart)) {
        ClearUndo();
        PushUndo();
    }
}

void CEditBuffer::InsertUnrecorded(int nPos, const QString& sText)
{
    CGuard updating(m_bUpdating);
    CGuard unrecorded(m_bRestoring);
    const bool bModified = m_pText->isModified();
    const int nAt = std::clamp(nPos, 0, Length());
    ReplaceRange(m_pText, nAt, nAt, sText);
    m_pText->setModified(bModified);
    m_bTextChanged = false;
}

void CEditBuffer::RemoveUnrecorded(int nPos, int nLength)
{
    CGuard updating(m_bUpdating);
    CGuard unrecorded(m_bRestoring);
    const bool bModified = m_pText->isModified();
    ReplaceRange(m_pText, std::clamp(nPos, 0, Length()), std::clamp(nPos + nLength, 0, Length()), QString());
    m_pText->setModified(bModified);
    m_bTextChanged = false;
}

void CEditBuffer::TypeOver(int nFrom, int nTo, const QString& sTyped)
{
    {
        CGuard updating(m_bUpdating);
        CGuard kept(m_bShadowKept);
        ReplaceRange(m_pText, nFrom, nTo, sTyped);
    }
    // The unrecorded text goes as it came, and the history gets the key.
    m_shadow.Replace(nFrom, nTo - nFrom, QString());
    m_pendingChanges.append(m_shadow.Replace(nFrom, 0, sTyped));
    // What typing does once the text has changed.
    const int nCaret = nFrom + int(sTyped.size());
    SetModifiedFlag(true);
    ShiftBookmarks(LineOf(nCaret));
    PushUndo({nCaret, nCaret});
}

void CEditBuffer::PushUndo()
{
    PushUndo(Selection());
}

void CEditBuffer::PushUndo(QPair<int, int> sel)
{
    UndoRecord record;
    record.bModified = m_pText->isModified();
    record.nSelStart = sel.first;
    record.nSelEnd = sel.second;
    record.changes = std::exchange(m_pendingChanges, {});
    record.nBookmarks = m_nBookmarks;
    m_history.PushUndo(std::move(record));
}

void CEditBuffer::ClearUndo()
{
    m_history.ClearUndo();
}

void CEditBuffer::Replace(const QList<STextChange>& edits)
{
    CGuard updating(m_bUpdating);
    CGuard restoring(m_bRestoring);
    QTextCursor cursor(m_pText);
    cursor.beginEditBlock();
    for (const STextChange& edit : edits) {
        cursor.setPosition(edit.nPos);
        cursor.setPosition(edit.nPos + int(edit.sRemoved.size()), QTextCursor::KeepAnchor);
        cursor.insertText(edit.sInserted);
    }
    cursor.endEditBlock();
}

void CEditBuffer::DiscardPendingChanges()
{
    // Edits made since the last snapshot without one of their own (an
    // automatic indentation, a suggestion) are not in the history; the text
    // goes back to the last snapshot before a step is undone or redone.
    if (m_pendingChanges.isEmpty())
        return;
    Replace(CUndoHistory::Inverse(m_pendingChanges));
    m_pendingChanges.clear();
    m_bTextChanged = false;
}

void CEditBuffer::Restore(const CUndoHistory::SStep& step)
{
    Replace(step.edits);
    m_bTextChanged = false;
    m_nBookmarks = step.state.nBookmarks;
    m_nLineCount = m_pText->blockCount();
    emit BookmarksChanged();
    Select(step.state.nSelStart, step.state.nSelEnd);
    m_pText->setModified(step.state.bModified);
    SetModifiedFlag(step.state.bModified);
}

void CEditBuffer::Undo()
{
    emit EditStarting();
    if (!m_history.CanUndo())
        return;
    DiscardPendingChanges();
    if (std::optional<CUndoHistory::SStep> step = m_history.Undo())
        Restore(*step);
}

void CEditBuffer::Redo()
{
    emit EditStarting();
    if (!m_history.CanRedo())
        return;
    DiscardPendingChanges();
    if (std::optional<CUndoHistory::SStep> step = m_history.Redo())
        Restore(*step);
}

void CEditBuffer::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
    if (m_pText->isModified() != bModified)
        m_pText->setModified(bModified);
    emit ModifiedChanged(bModified);
}

void CEditBuffer::SetBookmarks(const CBookmarkSlots& arSlots)
{
    m_nBookmarks = arSlots;
    emit BookmarksChanged();
}

void CEditBuffer::ToggleBookmark(int nLine)
{
    // A toggle is no step of its own: it goes with the next edit's snapshot.
    if (Bookmarks::Toggle(m_nBookmarks, nLine))
        emit BookmarksChanged();
}
