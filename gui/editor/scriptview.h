#pragma once

#include "core/editor/editoroptions.h"
#include "core/editor/linecommands.h"
#include "gui/editor/buffercommands.h"
#include "gui/editor/editbuffer.h"
#include "gui/editor/suggestion.h"

#include <QPlainTextEdit>

#include <optional>

class CEditorContext;
class CGutter;
class CScriptHighlighter;
class QKeyEvent;
class QPainter;
class QPrinter;

// The editor of one document: shows its buffer, colours it as the user
// types and offers completions. The buffer keeps text, history and bookmarks.
class CScriptView : public QPlainTextEdit
{
    Q_OBJECT
public:
    CScriptView(CEditBuffer& doc, CEditorContext& context, QWidget* pParent = nullptr);
    ~CScriptView() override;

    CEditBuffer& Document() const { return m_doc; }
    CEditorContext& Context() const { return m_context; }
    // The first showing: file type, colours, history.
    void OnInitialUpdate();
    // The options changed: take them over and recolour.
    void ApplySettings();

    void ColourAll();
    // The lines from nFirst to nLast get their colours now rather than when
    // they are painted.
    void ColourLines(int nFirst, int nLast) const;

    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const { return m_doc.CanUndo(); }
    bool CanRedo() const { return m_doc.CanRedo(); }

    // Editing commands.
    void OnEditCommentOut() { RunLineCommand(BufferCommands::ELineCommand::CommentOut); }
    void OnEditUncomment() { RunLineCommand(BufferCommands::ELineCommand::Uncomment); }
    void OnEditIndent() { RunLineCommand(BufferCommands::ELineCommand::Indent); }
    void OnEditOutdent() { RunLineCommand(BufferCommands::ELineCommand::Outdent); }
    void ChangeCase(bool bUpper);
    bool CanCommentLines() const { return LineCommands::HasLineComments(FileType()); }

    // Text services other parts of the editor use.
    void InsertText(const QString& sText, bool bSnapshot);
    QString GetSelectedText() const;
    QString GetLineText(int nLine) const { return m_doc.LineText(nLine); }
    // The lower-cased word (or run of other characters) at the position;
    // *pRange gets its (start, end) positions unless the line is empty.
    QString GetWordAt(int nPosition, QPair<int, int>* pRange = nullptr) const
    {
        return m_doc.WordAt(nPosition, pRange);
    }

    // Bookmarks and the gutter.
    void ToggleBookmark(int nLine) { m_doc.ToggleBookmark(nLine); }
    static constexpr int kGutterWidth = 22;  // the part that takes clicks
    static constexpr int kTextIndent = 32;   // where the text starts
    CGutter* Gutter() const { return m_pGutter; }
    // Prints a copy of the text, with line numbers when they are on; the
    // document, its modified flag and its history stay untouched.
    void PrintTo(QPrinter* pPrinter) const;
    // The copy that is printed.
    QTextDocument* CreatePrintDocument(QObject* pParent) const;

    // Auto-completion.
    void CancelSuggestion() { m_suggestion.Cancel(); }
    // A key that puts printable text in, typed over a shown rest.
    bool TypesText(const QKeyEvent* pEvent) const;
    bool IsSuggestionShown() const { return m_suggestion.IsShown(); }

    // The caret's selection as (start, end), start never after end.
    QPair<int, int> Selection() const;
    int LineOf(int nPosition) const { return m_doc.LineOf(nPosition); }
    void SetSelection(int nStart, int nEnd);
    // Scrolls the caret into view once the event at hand is done, before
    // the next paint: a key's release may change its line again first.
    void ShowCaretSoon();
    static QColor ColourOf(int nRgb);

    // What this view applies: the context's options, less what its file type rules out.
    const SEditorOptions& Options() const { return m_options; }
    EFileType FileType() const { return m_doc.FileType(); }

signals:
    void ContextMenuRequested(const QPoint& ptGlobal);

protected:
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    bool canInsertFromMimeData(const QMimeData* pSource) const override;
    void insertFromMimeData(const QMimeData* pSource) override;

private:
    friend class CGutter;  // paints beside the visible blocks
    void RunLineCommand(BufferCommands::ELineCommand eCommand);
    // Puts typed text in at the caret when nothing is selected.
    bool TypeAtCaret(const QString& sTyped);
    // The text cursor set, and the caret scrolled to, also on a line that
    // waits to be laid out.
    void PlaceCursor(const QTextCursor& cursor);
    // Where the window scrolls to show the caret of cursor on a line waiting
    // to be laid out, told without laying it out; none when only the line's
    // layout can tell, or the line is not wholly in the window.
    struct SScroll
    {
        int nMaximum = 0;
        int nValue = 0;
    };
    std::optional<SScroll> WaitingCaretScroll(const QTextCursor& cursor) const;
    // Where the caret of cursor stands in the window, told so.
    std::optional<QRect> WaitingCaretRect(const QTextCursor& cursor) const;
    void ScrollTo(const SScroll& scroll);
    void TakeOptions();
    void PaintLines(QRect rcClip);
    void PaintBlock(QPainter& painter, const QTextBlock& block, const QPointF& ptOffset,
                    const QAbstractTextDocumentLayout::PaintContext& context, bool bShowsCaret, const QRect& rcClip);
    void ApplyWrapping();
    void ApplyColours();
    bool IsPlainTextType() const { return FileType() == kFileHTML || FileType() == kFileTXT; }

    CEditBuffer& m_doc;
    CEditorContext& m_context;
    SEditorOptions m_options;
    CColourer m_colourer;
    CGutter* m_pGutter = nullptr;
    CScriptHighlighter* m_pHighlighter = nullptr;
    CSuggestion m_suggestion;
    int m_nTypedKey = 0;                // the last key pressed that put text in
    bool m_bCaretToShow = false;        // ShowCaretSoon has asked already
    QObject* m_pTextControl = nullptr;  // the toolkit's, which blinks the caret
    QPair<int, int> m_crInitial;        // where the caret starts: after a header, say
};
