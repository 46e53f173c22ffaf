#pragma once

#include "core/data/filetype.h"
#include "core/editor/textshadow.h"
#include "core/editor/undohistory.h"

#include <QObject>

#include <functional>
#include <optional>

class QTextCursor;
class QTextDocument;

// A cursor over the text from nAnchor to nPosition. Placing a cursor
// measures its line for the column it keeps for moving up and down, which
// on a line of 150 KB is dear, and the measure is seldom wanted: this one
// works it out only when asked.
QTextCursor CursorOver(QTextDocument* pText, int nAnchor, int nPosition);

// One replacement in a text: nLength characters at nPos become sText.
struct SEdit
{
    int nPos = 0;
    int nLength = 0;
    QString sText;
};

// What an edit does to the history.
enum class EEditHistory {
    Step,     // one undo step of its own
    Later,    // no snapshot now: the next step takes it along
    Restart,  // the history starts over at the edited text
};

// The text of a document with its own undo history, its bookmarks and its
// modified flag, apart from any widget that shows it. All edits other than
// typing go through ApplyEdits, so history, bookmarks and flag stay right
// whoever edits.
class CEditBuffer : public QObject
{
    Q_OBJECT
public:
    explicit CEditBuffer(QObject* pParent = nullptr);
    ~CEditBuffer() override;

    QTextDocument* TextDocument() const { return m_pText; }
    // The text exactly as it will be saved, line breaks as "\n". The text
    // document's own plain text turns no-break spaces into spaces.
    QString PlainText() const;
    QString LineText(int nLine) const;
    int LineCount() const;
    int LineOf(int nPosition) const;
    int LineStart(int nLine) const;
    // The lower-cased word (or run of other characters) at the position;
    // *pRange gets its (start, end) positions unless the line is empty.
    QString WordAt(int nPosition, QPair<int, int>* pRange = nullptr) const;
    int Length() const;
    // The text as an edit puts it in: every kind of line break one "\n".
    static QString Normalised(QString sText);

    EFileType FileType() const { return m_eFileType; }
    void SetFileType(EFileType eType);

    // The whole text replaced as read from a file: no history, not modified.
    void Load(const QString& sText);

    // The edits refer to the text before any of them and must not overlap;
    // they become one change. The selection follows the edits unless
    // selAfter says where it goes. Returns false when nothing changed.
    bool ApplyEdits(QList<SEdit> edits, EEditHistory eHistory, std::optional<QPair<int, int>> selAfter = {});

    // The whole text replaced, as the first state of the history.
    void ReplaceAll(const QString& sText);

    // History.
    void PushUndo();
    void ClearUndo();
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    void Undo();
    void Redo();
    const CUndoHistory& History() const { return m_history; }
    // The text as the buffer last saw it change; equal to the document's text.
    const CTextShadow& Shadow() const { return m_shadow; }
    // The current state matches the file on disk.
    void MarkSaved() { m_history.MarkSaved(); }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true);

    // Bookmarks move with their lines.
    const CBookmarkSlots& Bookmarks() const { return m_nBookmarks; }
    void SetBookmarks(const CBookmarkSlots& arSlots);
    void ToggleBookmark(int nLine);

    // The selection of whatever shows the buffer; with nothing, where the
    // last edit left it.
    using SelectionSource = std::function<QPair<int, int>()>;
    void SetSelectionSource(SelectionSource source) { m_selection = std::move(source); }
    QPair<int, int> Selection() const;
    // Moves the selection of whatever shows the buffer.
    void Select(int nStart, int nEnd);

    // While set, edits of the text document neither take a snapshot nor
    // touch the flag: the program's own edits, which settle those itself.
    bool IsUpdating() const { return m_bUpdating; }

    // Text shown for a moment that is no part of the document yet (a
    // completion offered): never in the history, the flag or the bookmarks.
    // It must be gone again before the next step is taken.
    void InsertUnrecorded(int nPos, const QString& sText);
    void RemoveUnrecorded(int nPos, int nLength);
    // A keystroke over unrecorded text: sTyped takes the place of the text
    // from nFrom to nTo. The text document sees one change, so a long line
    // is laid out once; the history sees the keystroke alone.
    void TypeOver(int nFrom, int nTo, const QString& sTyped);
    // Whoever is about to use or change the text: what is shown but is no
    // text yet goes first.
    void SettleText() { emit EditStarting(); }

    // Sets a flag of the buffer for the length of a scope.
    class CGuard
    {
    public:
        explicit CGuard(bool& bFlag) : m_bFlag(bFlag), m_bWas(bFlag) { m_bFlag = true; }
        ~CGuard() { m_bFlag = m_bWas; }
        CGuard(const CGuard&) = delete;
        CGuard& operator=(const CGuard&) = delete;

    private:
        bool& m_bFlag;
        bool m_bWas;
    };
    CGuard Updating() { return CGuard(m_bUpdating); }

signals:
    // Before any edit of the program's, and before the text is saved or
    // used: whatever the view shows that is not text yet must go first.
    void EditStarting();
    // The selection to show after an edit, undo or redo.
    void SelectionRestored(int nStart, int nEnd);
    void ModifiedChanged(bool bModified);
    // Saved under another extension, say: colours and commands follow.
    void FileTypeChanged();
    void BookmarksChanged();

private:
    void OnContentsChange(int nPos, int nRemoved, int nAdded);
    void PushUndo(QPair<int, int> sel);
    void OnContentsChanged();
    QString TextRange(int nPos, int nLength) const;
    void Replace(const QList<STextChange>& edits);
    void DiscardPendingChanges();
    void Restore(const CUndoHistory::SStep& step);
    void ShiftBookmarks(int nSelLine);

    QTextDocument* m_pText;
    EFileType m_eFileType = kFileTXT;
    CUndoHistory m_history;
    CTextShadow m_shadow;
    QList<STextChange> m_pendingChanges;
    CBookmarkSlots m_nBookmarks = EmptyBookmarks();
    int m_nLineCount = 1;
    bool m_bModified = false;
    bool m_bUpdating = false;
    bool m_bRestoring = false;
    // While set, whoever changes the text document brings the shadow up to
    // date: it knows the change better than the document's notice tells it.
    bool m_bShadowKept = false;
    bool m_bTextChanged = false;
    SelectionSource m_selection;
    QPair<int, int> m_crSelection{0, 0};  // while nothing shows the buffer
};
