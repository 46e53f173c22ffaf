#include "gui/editor/scriptview.h"

#include "core/data/filetype.h"
#include "core/documents/doctypes.h"
#include "core/documents/textfile.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/frame/mainfrm.h"

#include <QMdiArea>
#include <QTextDocument>

CScriptView::CScriptView(CScriptDoc& doc, QWidget* pParent) : QPlainTextEdit(pParent), m_doc(doc)
{
    setDocument(doc.TextDocument());
    ApplyEditorFont();
}

void CScriptView::ApplyEditorFont()
{
    const CMainFrame* pMain = m_doc.Template().App().MainFrame();
    if (!pMain)
        return;
    const CFrameSettings& settings = pMain->Settings();
    QFont font(settings.m_sFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(qMax(1, settings.m_nFontSize));
    font.setBold(settings.m_bBoldFonts != 0);
    setFont(font);
}

void CScriptView::OnInitialUpdate()
{
    CScriptEditApp& app = m_doc.Template().App();
    CChildFrame* pFrame = m_doc.Frame();
    CMainFrame* pMain = app.MainFrame();

    // A document window opens maximised while the user keeps them so; one
    // restored window among them ends that for the rest of the session.
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

    // A file without an extension is taken as untitled, but a file read from
    // disk keeps its text as it was: only documents made new get a header.
    m_bNewDoc = m_doc.GetPathName().isEmpty();
    m_nFileType = ViewFileType(m_doc.GetPathName(), m_doc.Template().Type());
    if (m_bNewDoc && pMain && pMain->Settings().m_bAddHeader)
        InsertHeader();
}

void CScriptView::InsertHeader()
{
    CScriptEditApp& app = m_doc.Template().App();
    const QString sHeader = ExpandHeader(HeaderTextFor(app.Dictionary(), m_nFileType), app.Settings().m_bVelk != 0,
                                         app.MainFrame()->Settings().m_sAuthor);
    QTextDocument* pText = document();
    // Not a step the user can undo: the document starts with it.
    const bool bUndo = pText->isUndoRedoEnabled();
    pText->setUndoRedoEnabled(false);
    textCursor().insertText(TextFile::NormaliseLineEnds(sHeader));
    pText->setUndoRedoEnabled(bUndo);
    m_doc.SetModifiedFlag(false);
}
