#include "gui/editor/scriptview.h"

#include "core/data/dictionary.h"
#include "gui/editor/editorcontext.h"
#include "gui/editor/gutter.h"
#include "gui/editor/longlines.h"
#include "gui/editor/printcopy.h"
#include "gui/editor/scripthighlighter.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// Repainted beside the caret when it blinks, as the toolkit repaints it.
constexpr int kCaretMargin = 4;

// Tab stops go with the font: a new one moves them. Scripts are written in
// scripts that need no shaping, and a position table of 150 KB on one line
// is laid out again at every key: the shaper's ligatures and kerning would
// cost most of the keystroke and change nothing a fixed-pitch face shows.
void ShowInFont(QPlainTextEdit& view, QFont font)
{
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
    font.setKerning(false);
    view.setFont(font);
    view.setTabStopDistance(TabStopDistance(view.font()));
}

}  // namespace

CScriptView::CScriptView(CEditBuffer& doc, CEditorContext& context, QWidget* pParent)
    : QPlainTextEdit(pParent)
    , m_doc(doc)
    , m_context(context)
    , m_colourer(context.Dictionary())
    , m_suggestion(*this)
{
    setDocument(doc.TextDocument());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    TakeOptions();
    m_pHighlighter = new CScriptHighlighter(document(), m_colourer);
    m_suggestion.SetHighlighter(m_pHighlighter);
    connect(m_pHighlighter, &CScriptHighlighter::StatesChanged, viewport(), qOverload<>(&QWidget::update));
    m_crInitial = m_doc.Selection();
    m_doc.SetSelectionSource([this] { return Selection(); });
    connect(&m_doc, &CEditBuffer::SelectionRestored, this, [this](int nStart, int nEnd) {
        SetSelection(nStart, nEnd);
        ensureCursorVisible();
    });
    // Whatever edits the text, a shown suggestion goes first: it is no text yet.
    connect(&m_doc, &CEditBuffer::EditStarting, this, &CScriptView::CancelSuggestion);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (!m_doc.IsUpdating())
            CancelSuggestion();
    });
    connect(&m_context, &CEditorContext::Changed, this, &CScriptView::ApplySettings);
    // A new type colours by its own rules; the history stays as it is.
    connect(&m_doc, &CEditBuffer::FileTypeChanged, this, [this] {
        TakeOptions();
        ApplyWrapping();
        ApplyColours();
        ColourAll();
    });
    connect(&m_context, &CEditorContext::FontChanged, this, [this] { ShowInFont(*this, m_context.Font()); });

    // The text control blinks the caret on a timer of its own, asking where
    // the caret stands each time.
    for (QObject* pChild : children()) {
        if (pChild->inherits("QWidgetTextControl")) {
            m_pTextControl = pChild;
            pChild->installEventFilter(this);
        }
    }

    m_pGutter = new CGutter(*this);
    setViewportMargins(m_pGutter->Width(), 0, 0, 0);
    // Ten thousand lines and more need a wider strip for their numbers.
    connect(document(), &QTextDocument::blockCountChanged, this, [this] {
        if (viewportMargins().left() == m_pGutter->Width())
            return;
        setViewportMargins(m_pGutter->Width(), 0, 0, 0);
        const QRect rc = contentsRect();
        m_pGutter->setGeometry(QRect(rc.left(), rc.top(), m_pGutter->Width(), rc.height()));
    });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rc, int nDy) {
        if (nDy)
            m_pGutter->scroll(0, nDy);
        else
            m_pGutter->update(0, rc.y(), m_pGutter->width(), rc.height());
    });
    connect(&m_doc, &CEditBuffer::BookmarksChanged, m_pGutter, qOverload<>(&QWidget::update));
}

CScriptView::~CScriptView()
{
    m_doc.SetSelectionSource({});
    // The highlighter lives with the document, which outlives this view;
    // it must not colour anything from here on.
    m_pHighlighter->Detach();
}

void CScriptView::resizeEvent(QResizeEvent* pEvent)
{
    // Unwrapped lines do not depend on the width, but a new width lays the
    // whole document out again and sets up a layout object for every line:
    // for half a million lines that is a long wait and more memory than the
    // text. The scroll bars still follow the new size.
    if (lineWrapMode() == QPlainTextEdit::NoWrap && pEvent->oldSize().width() != pEvent->size().width()) {
        QResizeEvent heightOnly(pEvent->size(), QSize(pEvent->size().width(), pEvent->oldSize().height()));
        QPlainTextEdit::resizeEvent(&heightOnly);
    } else {
        QPlainTextEdit::resizeEvent(pEvent);
    }
    const QRect rc = contentsRect();
    m_pGutter->setGeometry(QRect(rc.left(), rc.top(), m_pGutter->Width(), rc.height()));
}

QColor CScriptView::ColourOf(int nRgb)
{
    return QColor(nRgb & 0xFF, (nRgb >> 8) & 0xFF, (nRgb >> 16) & 0xFF);
}

void CScriptView::TakeOptions()
{
    m_options = m_context.Options();
    // Pages and notes are prose: no colours, no completion.
    if (IsPlainTextType()) {
        m_options.bFormat = false;
        m_options.bAutoComplete = false;
    }
}

void CScriptView::ApplyWrapping()
{
    const bool bWrap = IsPlainTextType() && m_options.bWrapText;
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
    pal.setColor(QPalette::Text, ColourOf(m_options.crText));
    pal.setColor(QPalette::Base, ColourOf(m_options.crWindow));
    setPalette(pal);
    m_pHighlighter->SetEnabled(m_options.bFormat);
    m_pHighlighter->SetFileType(FileType());
    m_pHighlighter->SetSwitches(m_options.switches);
    const std::pair<EColourClass, int> colours[] = {
        {EColourClass::Text, m_options.crText},   {EColourClass::Remark, m_options.crRem},
        {EColourClass::Command, m_options.crCom}, {EColourClass::Weapon, m_options.crWeap},
        {EColourClass::System, m_options.crSys},  {EColourClass::Variable, m_options.crVar},
    };
    for (const auto& [eClass, nRgb] : colours)
        m_pHighlighter->SetColour(eClass, ColourOf(nRgb));
}

void CScriptView::OnInitialUpdate()
{
    ShowInFont(*this, m_context.Font());
    TakeOptions();
    ApplyWrapping();
    SetSelection(m_crInitial.first, m_crInitial.second);
    ApplyColours();
    ColourAll();
    // The words of the file are offered for completion from now on; they
    // are gathered as the file is first coloured, so only then.
    if (m_options.bAutoComplete && m_options.bFormat && m_options.switches.bFormatVar)
        m_suggestion.LearnWordsOf(m_doc);
    m_doc.SetModifiedFlag(false);
    m_doc.ClearUndo();
    m_doc.PushUndo();
}

void CScriptView::ApplySettings()
{
    CancelSuggestion();
    auto updating = m_doc.Updating();
    const bool bModified = m_doc.IsModified();
    const bool bWrapText = m_options.bWrapText;
    TakeOptions();
    if (bWrapText != m_options.bWrapText)
        ApplyWrapping();
    ShowInFont(*this, m_context.Font());
    ApplyColours();
    // With colouring switched off the old colours must go too.
    if (m_options.bFormat)
        ColourAll();
    else
        m_pHighlighter->Rehighlight();
    document()->setModified(bModified);
    m_doc.SetModifiedFlag(bModified);
    m_doc.ClearUndo();
    m_doc.PushUndo();
}

void CScriptView::ColourAll()
{
    if (!m_options.bFormat)
        return;
    // Shown lines are coloured as they are painted, the rest when shown.
    m_pHighlighter->Rehighlight();
    viewport()->update();
}

void CScriptView::ColourLines(int nFirst, int nLast) const
{
    m_pHighlighter->ColourLines(nFirst, nLast);
}

void CScriptView::paintEvent(QPaintEvent* pEvent)
{
    LongLines::CDocumentLayout::CHold waiting(document());
    // The lines about to be painted get their colours first.
    QTextBlock block = firstVisibleBlock();
    const int nFirst = block.blockNumber();
    int nLast = nFirst;
    const qreal rBottom = viewport()->rect().bottom();
    for (qreal rTop = blockBoundingGeometry(block).translated(contentOffset()).top();
         block.isValid() && rTop <= rBottom; block = block.next()) {
        nLast = block.blockNumber();
        rTop += blockBoundingRect(block).height();
    }
    ColourLines(nFirst, nLast);
    PaintLines(pEvent->rect());
}

// Paints as the plain text view would, but each line through the long-line
// painter, which draws a long one only where the window shows it.
void CScriptView::PaintLines(QRect rcClip)
{
    QPainter painter(viewport());
    QPointF ptOffset = contentOffset();
    const qreal rDocumentWidth = document()->documentLayout()->documentSize().width();
    // A selection's fill stops at the end of the longest line, not at the
    // window's edge beyond it.
    const int nRight = int(ptOffset.x() + std::max<qreal>(viewport()->width(), rDocumentWidth)
                           - document()->documentMargin() + cursorWidth());
    rcClip.setRight(std::min(rcClip.right(), nRight));
    painter.setClipRect(rcClip);
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    const bool bShowsCaret = !isReadOnly() || (textInteractionFlags() & Qt::TextSelectableByKeyboard);
    const int nHeight = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && ptOffset.y() <= nHeight; block = block.next()) {
        const QRectF rcBlock = blockBoundingRect(block).translated(ptOffset);
        if (block.isVisible() && rcBlock.bottom() >= rcClip.top() && rcBlock.top() <= rcClip.bottom())
            PaintBlock(painter, block, ptOffset, context, bShowsCaret, rcClip);
        ptOffset.ry() += rcBlock.height();
    }
}

void CScriptView::PaintBlock(QPainter& painter, const QTextBlock& block, const QPointF& ptOffset,
                             const QAbstractTextDocumentLayout::PaintContext& context, bool bShowsCaret,
                             const QRect& rcClip)
{
    const int nBlockPos = block.position();
    const int nBlockLength = block.length();
    QList<QTextLayout::FormatRange> selections;
    for (const QAbstractTextDocumentLayout::Selection& range : context.selections) {
        const int nStart = range.cursor.selectionStart() - nBlockPos;
        const int nEnd = range.cursor.selectionEnd() - nBlockPos;
        if (nStart < nBlockLength && nEnd > 0 && nEnd > nStart)
            selections.append({nStart, nEnd - nStart, range.format});
    }
    const int nCaret = context.cursorPosition - nBlockPos;
    const bool bCaretHere = bShowsCaret && nCaret >= 0 && nCaret < nBlockLength;
    // Typing over shows the caret as the character it stands on, inverted;
    // at the end of the line there is none.
    const bool bCaretAsBlock = bCaretHere && overwriteMode() && nCaret != nBlockLength - 1;
    if (bCaretAsBlock) {
        QTextCharFormat inverted;
        inverted.setForeground(palette().base());
        inverted.setBackground(palette().text());
        selections.append({nCaret, 1, inverted});
    }
    const QTextLayout* pLayout = block.layout();
    int nCaretDrawn = bCaretHere && !bCaretAsBlock ? nCaret : -1;
    // While an input method composes, the caret stands in its text.
    if (nCaretDrawn < 0 && !isReadOnly() && context.cursorPosition < -1 && !pLayout->preeditAreaText().isEmpty())
        nCaretDrawn = pLayout->preeditAreaPosition() - (context.cursorPosition + 2);
    LongLines::Draw(painter, block, ptOffset, selections, rcClip, nCaretDrawn, cursorWidth(),
                    textCursor().position() - nBlockPos);
}

QPair<int, int> CScriptView::Selection() const
{
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void CScriptView::SetSelection(int nStart, int nEnd)
{
    const int nLength = m_doc.Length();
    PlaceCursor(CursorOver(document(), std::clamp(nStart, 0, nLength), std::clamp(nEnd, 0, nLength)));
}

void CScriptView::PlaceCursor(const QTextCursor& cursor)
{
    // Setting the cursor scrolls to the caret. On a line waiting to be laid
    // out the toolkit finds no caret and scrolls to the line's start, and,
    // were the line not wholly in the window, would measure a line it has
    // not got: such a line is laid out first.
    const std::optional<SScroll> scroll = WaitingCaretScroll(cursor);
    if (!scroll)
        LongLines::CDocumentLayout::LayOutLine(cursor.block());
    setTextCursor(cursor);
    if (scroll)
        ScrollTo(*scroll);
}

void CScriptView::ShowCaretSoon()
{
    // Asking where the caret stands lays its line out; a long line is laid
    // out once for the key and its release together, if at all.
    if (std::exchange(m_bCaretToShow, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bCaretToShow = false;
            LongLines::CDocumentLayout::CHold waiting(document());
            // A caret blinked off shows at once, as after the toolkit's own
            // typing.
            if (getPaintContext().cursorPosition < 0) {
                PlaceCursor(textCursor());
            } else if (const std::optional<SScroll> scroll = WaitingCaretScroll(textCursor())) {
                ScrollTo(*scroll);
            } else {
                LongLines::CDocumentLayout::LayOutLine(textCursor().block());
                ensureCursorVisible();
            }
        },
        Qt::QueuedConnection);
}

std::optional<QRect> CScriptView::WaitingCaretRect(const QTextCursor& cursor) const
{
    const LongLines::CDocumentLayout* pLayout = LongLines::CDocumentLayout::Of(document());
    const QTextBlock block = cursor.block();
    const auto line = pLayout ? pLayout->WaitingLine(block) : std::nullopt;
    const std::optional<qreal> rX = line ? pLayout->WaitingX(block, cursor.positionInBlock()) : std::nullopt;
    if (!rX || isRightToLeft())
        return std::nullopt;
    // Placed as the plain text view places its caret.
    const LongLines::CDocumentLayout::CHold waiting(document());
    const QRectF rcBlock = blockBoundingGeometry(block).translated(contentOffset());
    const QRect rcCaret
        = QRectF(rcBlock.left() + *rX, rcBlock.top() + line->rc.y(), cursorWidth(), line->rc.height()).toRect();
    const QRect rcView = viewport()->rect();
    if (rcCaret.top() < rcView.top() || rcCaret.bottom() > rcView.bottom())
        return std::nullopt;
    return rcCaret;
}

std::optional<CScriptView::SScroll> CScriptView::WaitingCaretScroll(const QTextCursor& cursor) const
{
    const std::optional<QRect> rcCaret = WaitingCaretRect(cursor);
    if (!rcCaret)
        return std::nullopt;
    // Scrolled to as the plain text view scrolls. Told of the document's new
    // width, it would ask the height of every line in the last screenful,
    // and lay out this one.
    const QRect rcView = viewport()->rect();
    const int nValue = horizontalScrollBar()->value();
    const bool bShown = rcCaret->left() >= rcView.left() && rcCaret->right() <= rcView.right();
    return SScroll{std::max(0, int(document()->documentLayout()->documentSize().width()) - rcView.width()),
                   bShown ? nValue : rcCaret->center().x() + nValue - rcView.width() / 2};
}

bool CScriptView::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // A blink of the caret on a line waiting to be laid out would lay it
    // out to find the caret: it blinks where the caret is known to stand.
    if (pWatched == m_pTextControl && pEvent->type() == QEvent::Timer) {
        if (const std::optional<QRect> rcCaret = WaitingCaretRect(textCursor())) {
            {
                const LongLines::CDocumentLayout::CHold waiting(document());
                pWatched->event(pEvent);
            }
            viewport()->update(rcCaret->adjusted(-kCaretMargin, 0, kCaretMargin, 0));
            return true;
        }
    }
    return QPlainTextEdit::eventFilter(pWatched, pEvent);
}

void CScriptView::ScrollTo(const SScroll& scroll)
{
    horizontalScrollBar()->setMaximum(scroll.nMaximum);
    horizontalScrollBar()->setValue(scroll.nValue);
}

QTextDocument* CScriptView::CreatePrintDocument(QObject* pParent) const
{
    return CreatePrintCopy(*document(), font(), m_options, *m_pHighlighter, pParent);
}

void CScriptView::PrintTo(QPrinter* pPrinter) const
{
    pPrinter->setPageMargins(QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch);
    std::unique_ptr<QTextDocument> pCopy(CreatePrintDocument(nullptr));
    pCopy->print(pPrinter);
}

void CScriptView::OnEditUndo()
{
    m_doc.Undo();
}

void CScriptView::OnEditRedo()
{
    m_doc.Redo();
}
