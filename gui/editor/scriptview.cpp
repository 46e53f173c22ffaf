#include "gui/editor/scriptview.h"

#include "core/documents/doctypes.h"
#include "core/documents/textfile.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/gutter.h"
#include "gui/editor/scripthighlighter.h"
#include "gui/editor/updatingguard.h"
#include "gui/frame/mainfrm.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMdiArea>
#include <QTextBlock>
#include <QTextDocument>

CScriptView::CScriptView(CScriptDoc& doc, QWidget* pParent)
    : QPlainTextEdit(pParent)
    , m_doc(doc)
    , m_colourer(doc.Template().App().Dictionary())
    , m_pHighlighter(nullptr)
{
    setDocument(doc.TextDocument());
    document()->setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    CopySettings();
    m_bAutoComplete = App().Settings().m_bAutoComplete != 0;
    m_bCollectVars = m_bAutoComplete;
    m_pHighlighter = new CScriptHighlighter(document(), m_colourer);
    m_shadow.Reset(doc.PlainText());
    connect(document(), &QTextDocument::contentsChange, this, &CScriptView::OnContentsChange);
    connect(this, &QPlainTextEdit::textChanged, this, &CScriptView::OnTextChanged);
    // Undoing past a save leads away from the file, so those steps count as changes.
    connect(&doc, &CScriptDoc::Saved, this, [this] { m_history.MarkSaved(); });
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (m_bSuggestion && !m_bUpdating)
            CancelSuggestion();
    });

    m_crGutter = palette().color(QPalette::Button);
    m_crGutterEdge = palette().color(QPalette::Dark);
    m_fontGutter = QFont(QStringLiteral("Tahoma"));
    m_fontGutter.setStyleHint(QFont::SansSerif);
    m_fontGutter.setWeight(QFont::Normal);
    m_fontGutter.setPixelSize(qMax(1, qRound(7 * logicalDpiY() / 72.0)));
    // Where the narrow face is missing, a wider one must still fit four
    // digits into the strip.
    while (m_fontGutter.pixelSize() > 5
           && QFontMetrics(m_fontGutter).horizontalAdvance(QStringLiteral("0000")) > kGutterWidth - 2)
        m_fontGutter.setPixelSize(m_fontGutter.pixelSize() - 1);
    m_pGutter = new CGutter(*this);
    setViewportMargins(kTextIndent, 0, 0, 0);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rc, int nDy) {
        if (nDy)
            m_pGutter->scroll(0, nDy);
        else
            m_pGutter->update(0, rc.y(), m_pGutter->width(), rc.height());
    });
}

CScriptView::~CScriptView()
{
    SaveBookmarks();
    // The highlighter lives with the document, which outlives this view and
    // its colourer; it must not colour anything from here on.
    m_pHighlighter->setDocument(nullptr);
}

void CScriptView::resizeEvent(QResizeEvent* pEvent)
{
    QPlainTextEdit::resizeEvent(pEvent);
    const QRect rc = contentsRect();
    m_pGutter->setGeometry(QRect(rc.left(), rc.top(), kTextIndent, rc.height()));
}

QString CScriptView::PlainOf(QString sText)
{
    sText.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    sText.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return sText;
}

CScriptEditApp& CScriptView::App() const
{
    return m_doc.Template().App();
}

QColor CScriptView::ColourOf(int nRgb)
{
    return QColor(nRgb & 0xFF, (nRgb >> 8) & 0xFF, (nRgb >> 16) & 0xFF);
}

void CScriptView::CopySettings()
{
    const CMainFrame* pMain = App().MainFrame();
    if (!pMain)
        return;
    const CFrameSettings& s = pMain->Settings();
    m_bFormat = s.m_bFormat != 0;
    m_crText = s.m_crText;
    m_crRem = s.m_crRem;
    m_crCom = s.m_crCom;
    m_crWeap = s.m_crWeap;
    m_crSys = s.m_crSys;
    m_crVar = s.m_crVar;
    m_crWindow = s.m_crWindow;
    m_bFormatRem = s.m_bFormatRem != 0;
    m_bFormatCom = s.m_bFormatCom != 0;
    m_bFormatWeap = s.m_bFormatWeap != 0;
    m_bFormatSys = s.m_bFormatSys != 0;
    m_bFormatVar = s.m_bFormatVar != 0;
    m_bLineNumbers = s.m_bLineNumbers != 0;
    m_bWhiteSpace = s.m_bWhiteSpace != 0;
    m_bAutoTabs = s.m_bAutoTabs != 0;
    m_bWrapText = s.m_bWrapText != 0;
}

void CScriptView::ApplyEditorFont()
{
    if (const CMainFrame* pMain = App().MainFrame())
        setFont(pMain->EditorFont());
}

void CScriptView::ApplyWrapping()
{
    const bool bWrap = IsPlainTextType() && m_bWrapText;
    setLineWrapMode(bWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    // Pages and notes break between words. The text layout decides where by
    // the Unicode line-break rules: at blanks as a break at a space would,
    // but also after hyphens and some punctuation, and not after ">" or ","
    // when a letter follows directly; a word too long for the line is cut
    // anywhere rather than running off the edge.
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void CScriptView::ApplyColours()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Text, ColourOf(m_crText));
    pal.setColor(QPalette::Base, ColourOf(m_crWindow));
    setPalette(pal);
    m_pHighlighter->SetEnabled(m_bFormat);
    m_pHighlighter->SetFileType(m_nFileType);
    m_pHighlighter->SetSwitches({m_bFormatRem, m_bFormatCom, m_bFormatWeap, m_bFormatSys, m_bFormatVar});
    m_pHighlighter->SetColour(EColourClass::Text, ColourOf(m_crText));
    m_pHighlighter->SetColour(EColourClass::Remark, ColourOf(m_crRem));
    m_pHighlighter->SetColour(EColourClass::Command, ColourOf(m_crCom));
    m_pHighlighter->SetColour(EColourClass::Weapon, ColourOf(m_crWeap));
    m_pHighlighter->SetColour(EColourClass::System, ColourOf(m_crSys));
    m_pHighlighter->SetColour(EColourClass::Variable, ColourOf(m_crVar));
}

void CScriptView::OnInitialUpdate()
{
    CScriptEditApp& app = App();
    ApplyEditorFont();

    // A document window opens maximised while the user keeps them so; one
    // restored window among them ends that for the rest of the session.
    CChildFrame* pFrame = m_doc.Frame();
    CMainFrame* pMain = app.MainFrame();
    CAppSettings& settings = app.Settings();
    const QMdiSubWindow* pActive = pMain ? pMain->MdiArea()->activeSubWindow() : nullptr;
    if (settings.m_bDocMax && pActive && pActive != pFrame && !pActive->isMaximized())
        settings.m_bDocMax = 0;
    if (pFrame) {
        if (settings.m_bDocMax)
            pFrame->showMaximized();
        else
            pFrame->show();
    }

    m_bNewDoc = m_doc.GetPathName().isEmpty();
    m_nFileType = ViewFileType(m_doc.GetPathName(), m_doc.Template().Type());
    if (m_bNewDoc && pMain && pFrame)
        pMain->SetScriptTabImage(pFrame, FileTypeImage(m_doc.Template().GetDocString(EDocField::FilterExt), false));
    if (IsPlainTextType()) {
        m_bFormat = false;
        m_bAutoComplete = false;
        m_bCollectVars = false;
    }
    ApplyWrapping();

    SetSelection(0, 0);
    // A file read from disk keeps its text as it was, even one without an
    // extension: only documents made new get a header.
    if (m_bNewDoc && pMain && pMain->Settings().m_bAddHeader)
        InsertHeader();
    LoadBookmarks();

    ApplyColours();
    if (m_bFormat)
        ColourAll();

    m_bUpdating = false;
    m_bCollectVars = false;
    m_doc.SetModifiedFlag(false);
    m_nLineCount = document()->blockCount();
    m_pendingChanges.clear();
    ClearUndo();
    PushUndo();
}

void CScriptView::InsertHeader()
{
    CScriptEditApp& app = App();
    const QString sHeader = ExpandHeader(HeaderTextFor(app.Dictionary(), m_nFileType), app.Settings().m_bVelk != 0,
                                         app.MainFrame()->Settings().m_sAuthor);
    CUpdating updating(m_bUpdating);
    textCursor().insertText(TextFile::NormaliseLineEnds(sHeader));
}

void CScriptView::ApplySettings()
{
    CancelSuggestion();
    CUpdating updating(m_bUpdating);
    const bool bModified = m_doc.IsModified();
    const bool bWrapText = m_bWrapText;
    CopySettings();
    m_bAutoComplete = App().Settings().m_bAutoComplete != 0;
    if (bWrapText != m_bWrapText)
        ApplyWrapping();
    ApplyEditorFont();
    ApplyColours();
    // With colouring switched off the old colours must go too.
    if (m_bFormat) {
        ColourAll();
    } else {
        CUpdating colouring(m_bColouring);
        m_pHighlighter->rehighlight();
    }
    document()->setModified(bModified);
    m_doc.SetModifiedFlag(bModified);
    m_pendingChanges.clear();
    ClearUndo();
    PushUndo();
}

void CScriptView::ColourLine(int nLine)
{
    if (nLine < 0 || nLine >= document()->blockCount())
        return;
    m_pHighlighter->rehighlightBlock(document()->findBlockByNumber(nLine));
}

void CScriptView::ColourLines(const QList<int>& lines)
{
    if (!m_bFormat || lines.isEmpty())
        return;
    CUpdating updating(m_bUpdating);
    // Applying colours must not count as a change of the text.
    const bool bModified = document()->isModified();
    {
        CUpdating colouring(m_bColouring);
        for (int nLine : lines)
            ColourLine(nLine);
    }
    document()->setModified(bModified);
}

void CScriptView::ColourLineRange(int nFirst, int nLast, bool bPair)
{
    QList<int> lines;
    if (bPair) {
        lines.append(nFirst);
        if (nLast != 0 && nLast != nFirst)
            lines.append(nLast);
    } else {
        for (int i = nFirst; i <= nLast; ++i)
            lines.append(i);
    }
    ColourLines(lines);
}

void CScriptView::ColourAll()
{
    if (!m_bFormat)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CUpdating updating(m_bUpdating);
    const bool bModified = document()->isModified();
    m_pHighlighter->SetCollect(m_bCollectVars ? &App().Dictionary().m_arAutoComplete : nullptr);
    {
        // One pass over the whole text: recolouring block by block would
        // notify the view once per line.
        CUpdating colouring(m_bColouring);
        m_pHighlighter->rehighlight();
    }
    m_pHighlighter->SetCollect(nullptr);
    document()->setModified(bModified);
    QApplication::restoreOverrideCursor();
}

QString CScriptView::TextRange(int nPos, int nLength) const
{
    QTextCursor cursor(document());
    cursor.setPosition(nPos);
    cursor.setPosition(nPos + nLength, QTextCursor::KeepAnchor);
    return PlainOf(cursor.selectedText());
}

void CScriptView::OnContentsChange(int nPos, int nRemoved, int nAdded)
{
    if (m_bColouring)
        return;
    // The document reports its closing paragraph mark in some changes;
    // positions beyond the text are not part of it.
    const int nLength = document()->characterCount() - 1;
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

void CScriptView::OnTextChanged()
{
    if (!m_bTextChanged)
        return;
    m_bTextChanged = false;
    if (m_bUpdating)
        return;
    m_doc.SetModifiedFlag(document()->isModified());
    const QPair<int, int> sel = Selection();
    ShiftBookmarks();
    // The highlighter has recoloured exactly the lines whose colours
    // changed; only the lines the caret left are remembered here.
    m_nPrevStartLine = LineOf(sel.first);
    m_nPrevEndLine = LineOf(sel.second);
    PushUndo();
}

QPair<int, int> CScriptView::Selection() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void CScriptView::SetSelection(int nStart, int nEnd)
{
    const int nLength = document()->characterCount() - 1;
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(nStart, 0, nLength));
    cursor.setPosition(std::clamp(nEnd, 0, nLength), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void CScriptView::PushUndo()
{
    UndoRecord record;
    record.bModified = document()->isModified();
    const QPair<int, int> sel = Selection();
    record.nSelStart = sel.first;
    record.nSelEnd = sel.second;
    record.changes = std::exchange(m_pendingChanges, {});
    record.nBookmarks = m_nBookmarks;
    m_history.PushUndo(std::move(record));
}

void CScriptView::ClearUndo()
{
    m_history.ClearUndo();
}

void CScriptView::ClearRedo()
{
    m_history.ClearRedo();
}

void CScriptView::ApplyEdits(const QList<STextChange>& edits)
{
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const STextChange& edit : edits) {
        cursor.setPosition(edit.nPos);
        cursor.setPosition(edit.nPos + int(edit.sRemoved.size()), QTextCursor::KeepAnchor);
        cursor.insertText(edit.sInserted);
    }
    cursor.endEditBlock();
}

void CScriptView::Restore(const CUndoHistory::SStep& step)
{
    {
        CUpdating updating(m_bUpdating);
        CUpdating restoring(m_bRestoring);
        ApplyEdits(step.edits);
    }
    m_bTextChanged = false;
    m_nBookmarks = step.state.nBookmarks;
    m_nLineCount = document()->blockCount();
    SetSelection(step.state.nSelStart, step.state.nSelEnd);
    ensureCursorVisible();
    document()->setModified(step.state.bModified);
    m_doc.SetModifiedFlag(step.state.bModified);
}

void CScriptView::DiscardPendingChanges()
{
    // Edits made since the last snapshot without one of their own (an
    // automatic indentation, a suggestion) are not in the history; the text
    // goes back to the last snapshot before a step is undone or redone.
    if (m_pendingChanges.isEmpty())
        return;
    {
        CUpdating updating(m_bUpdating);
        CUpdating restoring(m_bRestoring);
        ApplyEdits(CUndoHistory::Inverse(m_pendingChanges));
    }
    m_pendingChanges.clear();
    m_bTextChanged = false;
}

void CScriptView::OnEditUndo()
{
    if (m_bAutoComplete)
        CancelSuggestion();
    if (!m_history.CanUndo())
        return;
    DiscardPendingChanges();
    if (std::optional<CUndoHistory::SStep> step = m_history.Undo())
        Restore(*step);
}

void CScriptView::OnEditRedo()
{
    if (m_bAutoComplete)
        CancelSuggestion();
    if (!m_history.CanRedo())
        return;
    DiscardPendingChanges();
    if (std::optional<CUndoHistory::SStep> step = m_history.Redo())
        Restore(*step);
}

int CScriptView::LineOf(int nPosition) const
{
    return document()->findBlock(nPosition).blockNumber();
}
