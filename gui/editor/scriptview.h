#pragma once

#include "core/data/filetype.h"
#include "core/editor/colourer.h"
#include "core/editor/textshadow.h"
#include "core/editor/undohistory.h"

#include <QPlainTextEdit>

class CScriptDoc;
class CScriptEditApp;
class CScriptHighlighter;

// The editor of one document: colours it as the user types and keeps its
// own undo history.
class CScriptView : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CScriptView(CScriptDoc& doc, QWidget* pParent = nullptr);

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

    // The caret's selection as (start, end), start never after end.
    QPair<int, int> Selection() const;
    void SetSelection(int nStart, int nEnd);
    static QColor ColourOf(int nRgb);

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

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;

private:
    CScriptEditApp& App() const;
    void CopySettings();
    void ApplyWrapping();
    void ApplyEditorFont();
    void ApplyColours();
    void InsertHeader();
    void OnContentsChange(int nPos, int nRemoved, int nAdded);
    void OnTextChanged();
    QString TextRange(int nPos, int nLength) const;
    void ApplyEdits(const QList<STextChange>& edits);
    void Restore(const CUndoHistory::SStep& step);
    bool IsPlainTextType() const { return m_nFileType == kFileHTML || m_nFileType == kFileTXT; }

    CScriptDoc& m_doc;
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
