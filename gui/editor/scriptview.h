#pragma once

#include "core/data/filetype.h"
#include "core/editor/colourer.h"
#include "core/editor/linecommands.h"
#include "core/editor/textshadow.h"
#include "core/editor/undohistory.h"

#include <QPlainTextEdit>

class CGutter;
class CScriptDoc;
class CScriptEditApp;
class CScriptHighlighter;
class QPrinter;

// The editor of one document: colours it as the user types and keeps its
// own undo history.
class CScriptView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CScriptView(CScriptDoc& doc, QWidget* pParent = nullptr);
    ~CScriptView() override;

    CScriptDoc& Document() const { return m_doc; }
    // The first showing: window state, file type, header, colours, history.
    void OnInitialUpdate();
    // The options changed: take them over and recolour.
    void ApplySettings();

    void ColourLine(int nLine);
    void ColourLines(const QList<int>& lines);
    void ColourLineRange(int nFirst, int nLast, bool bPair);
    void ColourAll();

    void PushUndo();
    void ClearUndo();
    void ClearRedo();
    void OnEditUndo();
    void OnEditRedo();
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    const CUndoHistory& History() const { return m_history; }
    // The text as the view last saw it change; equal to the document's text.
    const CTextShadow& Shadow() const { return m_shadow; }

    // Editing commands.
    void OnEditCommentOut();
    void OnEditUncomment();
    void ChangeCase(bool bUpper);
    void OnEditIndent();
    void OnEditOutdent();
    bool CanCommentLines() const;

    // Text services other parts of the editor use.
    void InsertText(const QString& sText, bool bSnapshot);
    QString GetSelectedText() const;
    QString GetLineText(int nLine) const;
    // The lower-cased word (or run of other characters) at the position;
    // *pRange gets its (start, end) positions unless the line is empty.
    QString GetWordAt(int nPosition, QPair<int, int>* pRange = nullptr) const;
    static bool IsBreakChar(QChar c);

    // Bookmarks and the gutter.
    void ToggleBookmark(int nLine);
    void ShiftBookmarks();
    static constexpr int kGutterWidth = 22;  // the part that takes clicks
    static constexpr int kTextIndent = 32;   // where the text starts
    CGutter* Gutter() const { return m_pGutter; }
    // Prints a copy of the text, with line numbers when they are on; the
    // document, its modified flag and its history stay untouched.
    void PrintTo(QPrinter* pPrinter) const;
    // The copy that is printed.
    QTextDocument* CreatePrintDocument(QObject* pParent) const;

    // Auto-completion.
    void CancelSuggestion();
    bool m_bSuggestion = false;
    QPair<int, int> m_crSuggestion{0, 0};
    QString m_sSuggestion;

    // The caret's selection as (start, end), start never after end.
    QPair<int, int> Selection() const;
    int LineOf(int nPosition) const;
    void SetSelection(int nStart, int nEnd);
    static QColor ColourOf(int nRgb);
    // The editor's text as positions count it: one character per line break.
    static QString PlainOf(QString sText);

    EFileType m_nFileType = kFileSQS;
    bool m_bNewDoc = false;
    bool m_bFormat = true;
    int m_crText = 0;
    int m_crRem = 0;
    int m_crCom = 0;
    int m_crWeap = 0;
    int m_crSys = 0;
    int m_crVar = 0;
    int m_crWindow = 0;
    bool m_bFormatRem = true;
    bool m_bFormatCom = true;
    bool m_bFormatWeap = true;
    bool m_bFormatSys = true;
    bool m_bFormatVar = true;
    bool m_bAutoComplete = true;
    bool m_bCollectVars = true;
    bool m_bUpdating = true;
    bool m_bLineNumbers = false;
    bool m_bWhiteSpace = true;
    bool m_bAutoTabs = true;
    bool m_bWrapText = true;
    int m_nPrevStartLine = 0;
    int m_nPrevEndLine = 0;
    int m_nLineCount = 0;
    CBookmarkSlots m_nBookmarks = EmptyBookmarks();

    QFont m_fontGutter;
    QColor m_crGutter;
    QColor m_crGutterEdge;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    bool canInsertFromMimeData(const QMimeData* pSource) const override;
    void insertFromMimeData(const QMimeData* pSource) override;

private:
    friend class CGutter;
    CScriptEditApp& App() const;
    // Line commands: the lines of the selection, and applying what a rule
    // computed for them with the shared closing steps.
    QStringList LinesOfSelection(int* pnFirst, int* pnLast) const;
    void RunLineCommand(const QList<LineCommands::SLineEdit>& edits, int nFirst, int nLast, bool bRecolour);
    void MarkModified();
    void InsertAutoIndent();
    void OutdentClosingBrace();
    bool HandleSuggestionKey(QKeyEvent* pEvent);
    void OfferSuggestion();
    void LearnFinishedWord();
    void StepSuggestion(bool bBack);
    void AcceptSuggestion();
    void ShowSuggestion(int nAt, const QString& sRest);
    void LoadBookmarks();
    void SaveBookmarks() const;
    void CopySettings();
    void ApplyWrapping();
    void ApplyEditorFont();
    void ApplyColours();
    void InsertHeader();
    void OnContentsChange(int nPos, int nRemoved, int nAdded);
    void OnTextChanged();
    QString TextRange(int nPos, int nLength) const;
    void ApplyEdits(const QList<STextChange>& edits);
    void DiscardPendingChanges();
    void Restore(const CUndoHistory::SStep& step);
    bool IsPlainTextType() const { return m_nFileType == kFileHTML || m_nFileType == kFileTXT; }

    CScriptDoc& m_doc;
    CGutter* m_pGutter = nullptr;
    CColourer m_colourer;
    CScriptHighlighter* m_pHighlighter;
    CUndoHistory m_history;
    CTextShadow m_shadow;
    QList<STextChange> m_pendingChanges;
    bool m_bTextChanged = false;
    bool m_bRestoring = false;
    // While the highlighter recolours, the text cannot change; its change
    // notifications are only about colours.
    bool m_bColouring = false;
};
