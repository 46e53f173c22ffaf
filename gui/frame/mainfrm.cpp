#include "gui/frame/mainfrm.h"

#include "core/app/appinfo.h"
#include "core/documents/doctypes.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>

namespace {

QSize PrimaryScreenSize()
{
    const QScreen* pScreen = QGuiApplication::primaryScreen();
    return pScreen ? pScreen->size() : QSize(1024, 768);
}

// "&Open...\tCtrl+O" carries its shortcut after the tab.
QKeySequence ShortcutOf(const QString& sText)
{
    const qsizetype nTab = sText.indexOf(QLatin1Char('\t'));
    return nTab < 0 ? QKeySequence() : QKeySequence(sText.mid(nTab + 1));
}

} // namespace

CMainFrame::CMainFrame(CScriptEditApp& app)
    : m_app(app)
    , m_settings(ReadFrameSettings(app.Store(), PrimaryScreenSize()))
    , m_pMdiArea(new QMdiArea(this))
    , m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setWindowTitle(AppInfo::kTitle);
    m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    CreateMenus();
    statusBar()->showMessage(QStringLiteral("Ready"));
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] {
        if (m_bDestroying)
            return;
        UpdateTitle();
        UpdateCommands();
    });
    UpdateCommands();
    ApplyPlacement();
}

CMainFrame::~CMainFrame()
{
    // Document windows report their end; while this frame goes down they
    // must not call back into it, so they go first, with the callbacks off.
    m_bDestroying = true;
    delete m_pMdiArea;
}

QAction* CMainFrame::AddCommand(QMenu* pMenu, const QString& sText, const QString& sPrompt,
                                std::function<void()> handler)
{
    const qsizetype nTab = sText.indexOf(QLatin1Char('\t'));
    QAction* pAction = pMenu->addAction(nTab < 0 ? sText : sText.left(nTab));
    pAction->setShortcut(ShortcutOf(sText));
    pAction->setStatusTip(sPrompt.section(QLatin1Char('\n'), 0, 0));
    connect(pAction, &QAction::triggered, this, std::move(handler));
    return pAction;
}

void CMainFrame::CreateMenus()
{
    QMenu* pFile = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* pNew = pFile->addMenu(QStringLiteral("&New File"));
    for (const SDocTypeInfo& type : DocTypes()) {
        const EDocKind eKind = type.eKind;
        AddCommand(pNew, QLatin1String(type.pszNewFileCommand),
                   QStringLiteral("Create a new %1 file").arg(TemplateField(type, EDocField::DocName).toLower()),
                   [this, eKind] { m_app.OnFileNew(eKind); });
    }
    pFile->addSeparator();
    AddCommand(pFile, QStringLiteral("&Open...\tCtrl+O"), QStringLiteral("Open an existing document\nOpen"),
               [this] { m_app.OnFileOpen(); });
    m_documentActions.append(AddCommand(pFile, QStringLiteral("&Close"), QStringLiteral("Close the active document\nClose"),
                                        [this] {
                                            if (CChildFrame* pFrame = ActiveFrame())
                                                pFrame->close();
                                        }));
    pFile->addSeparator();
    m_documentActions.append(AddCommand(pFile, QStringLiteral("&Save\tCtrl+S"),
                                        QStringLiteral("Save the active document\nSave"), [this] {
                                            if (CScriptDoc* pDoc = ActiveDocument())
                                                pDoc->OnFileSave();
                                        }));
    m_documentActions.append(AddCommand(pFile, QStringLiteral("Save &As..."),
                                        QStringLiteral("Save the active document with a new name\nSave As"), [this] {
                                            if (CScriptDoc* pDoc = ActiveDocument())
                                                pDoc->OnFileSaveAs();
                                        }));
    m_documentActions.append(AddCommand(pFile, QStringLiteral("Save A&ll\tF2"),
                                        QStringLiteral("Save all modified documents\nSave All"),
                                        [this] { OnFileSaveAll(); }));
    pFile->addSeparator();
    m_documentActions.append(AddCommand(pFile, QStringLiteral("&Print...\tCtrl+P"), QStringLiteral("Print the active document\nPrint"),
                                        [this] { OnFilePrint(); }));
    m_documentActions.append(AddCommand(pFile, QStringLiteral("Print Pre&view..."),
                                        QStringLiteral("Display full pages\nPrint Preview"), [this] { OnFilePrintPreview(); }));
    AddCommand(pFile, QStringLiteral("Print Set&up..."), QStringLiteral("Change the printer and printing options\nPrint Setup"),
               [this] { OnFilePrintSetup(); });
    pFile->addSeparator();
    m_pRecentMenu = pFile->addMenu(QStringLiteral("Recent Files"));
    connect(pFile, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFiles);
    pFile->addSeparator();
    AddCommand(pFile, QStringLiteral("E&xit\tEsc"), QStringLiteral("Quit the application; prompts to save documents\nExit"),
               [this] { close(); });

    QMenu* pEdit = menuBar()->addMenu(QStringLiteral("&Edit"));
    m_pUndo = AddCommand(pEdit, QStringLiteral("&Undo\tCtrl+Z"), QStringLiteral("Undo the last action\nUndo"), [this] {
        if (CScriptView* pView = ActiveView())
            pView->OnEditUndo();
    });
    m_pRedo = AddCommand(pEdit, QStringLiteral("&Redo\tCtrl+Y"),
                         QStringLiteral("Redo the previously undone action\nRedo"), [this] {
                             if (CScriptView* pView = ActiveView())
                                 pView->OnEditRedo();
                         });
    pEdit->addSeparator();
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("&Cut\tCtrl+X"),
                                        QStringLiteral("Cut the selection and put it on the Clipboard\nCut"),
                                        [this] { OnView(&QPlainTextEdit::cut); }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("C&opy\tCtrl+C"),
                                        QStringLiteral("Copy the selection and put it on the Clipboard\nCopy"),
                                        [this] { OnView(&QPlainTextEdit::copy); }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("&Paste\tCtrl+V"), QStringLiteral("Insert Clipboard contents\nPaste"),
                                        [this] { OnView(&QPlainTextEdit::paste); }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("Select &All\tCtrl+A"),
                                        QStringLiteral("Select the entire document\nSelect All"),
                                        [this] { OnView(&QPlainTextEdit::selectAll); }));
    pEdit->addSeparator();
    m_commentActions.append(AddCommand(pEdit, QStringLiteral("&Comment Out Line(s)"),
                                       QStringLiteral("Comment out the selected lines\nComment Out"),
                                       [this] { OnView(&CScriptView::OnEditCommentOut); }));
    m_commentActions.append(AddCommand(pEdit, QStringLiteral("U&ncomment Line(s)"),
                                       QStringLiteral("Uncomment the selected lines\nUncomment"),
                                       [this] { OnView(&CScriptView::OnEditUncomment); }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("Make Selection &Uppercase"),
                                        QStringLiteral("Make the current selected text uppercase\nMake Uppercase"), [this] {
                                            if (CScriptView* pView = ActiveView())
                                                pView->ChangeCase(true);
                                        }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("Make Selection &Lowercase"),
                                        QStringLiteral("Make the current selected text lowercase\nMake Lowercase"), [this] {
                                            if (CScriptView* pView = ActiveView())
                                                pView->ChangeCase(false);
                                        }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("&Increase Line Indent"),
                                        QStringLiteral("Increase the indentation of the selected lines\nIncrease Indent"),
                                        [this] { OnView(&CScriptView::OnEditIndent); }));
    m_documentActions.append(AddCommand(pEdit, QStringLiteral("&Decrease Line Indent"),
                                        QStringLiteral("Decrease the indentation of the selected lines\nDecrease Indent"),
                                        [this] { OnView(&CScriptView::OnEditOutdent); }));
    connect(pEdit, &QMenu::aboutToShow, this, &CMainFrame::UpdateEditCommands);
}

void CMainFrame::OnView(void (CScriptView::*pCommand)())
{
    if (CScriptView* pView = ActiveView())
        (pView->*pCommand)();
}

void CMainFrame::OnFilePrint()
{
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    QPrintDialog dialog(m_pPrinter.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        pView->PrintTo(m_pPrinter.get());
}

void CMainFrame::OnFilePrintPreview()
{
    CScriptView* pView = ActiveView();
    if (!pView)
        return;
    QPrintPreviewDialog dialog(m_pPrinter.get(), this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, pView, &CScriptView::PrintTo);
    dialog.exec();
}

void CMainFrame::OnFilePrintSetup()
{
    QPageSetupDialog dialog(m_pPrinter.get(), this);
    dialog.exec();
}

void CMainFrame::UpdateEditCommands()
{
    const CScriptView* pView = ActiveView();
    m_pUndo->setEnabled(pView && pView->CanUndo());
    m_pRedo->setEnabled(pView && pView->CanRedo());
    for (QAction* pAction : m_commentActions)
        pAction->setEnabled(pView && pView->CanCommentLines());
}

QAction* CMainFrame::Action(const QString& sText) const
{
    // Only the menu bar's commands: document windows carry menus of their own.
    QList<QAction*> pending = menuBar()->actions();
    while (!pending.isEmpty()) {
        QAction* pAction = pending.takeFirst();
        if (pAction->text() == sText)
            return pAction;
        if (pAction->menu())
            pending += pAction->menu()->actions();
    }
    return nullptr;
}

void CMainFrame::RebuildRecentFiles()
{
    m_pRecentMenu->clear();
    for (int i = 0; i < 6; ++i) {
        const QString sPath = m_app.GetRecentFile(i);
        if (sPath.isEmpty())
            continue;
        QString sLabel = QStringLiteral("%1 ").arg(i + 1);
        if (i < 9)
            sLabel.prepend(QLatin1Char('&'));
        sLabel += QStringLiteral("...\\") + QFileInfo(sPath).fileName();
        QAction* pAction = m_pRecentMenu->addAction(sLabel);
        pAction->setStatusTip(QStringLiteral("Open this recent document"));
        connect(pAction, &QAction::triggered, this, [this, i] { m_app.OnOpenRecentFile(i); });
    }
    m_pRecentMenu->setEnabled(!m_pRecentMenu->isEmpty());
}

void CMainFrame::UpdateCommands()
{
    const bool bDocument = ActiveFrame() != nullptr;
    for (QAction* pAction : m_documentActions)
        pAction->setEnabled(bDocument);
    UpdateEditCommands();
}

void CMainFrame::UpdateTitle()
{
    // A maximised document window adds " - [title]" to the frame's title
    // itself; the frame names the document only for restored windows.
    const CChildFrame* pFrame = ActiveFrame();
    if (pFrame && !pFrame->isMaximized())
        setWindowTitle(AppInfo::kTitle + QStringLiteral(" - ") + pFrame->Document().GetTitle());
    else
        setWindowTitle(AppInfo::kTitle);
}

void CMainFrame::AddDocumentWindow(CChildFrame* pFrame)
{
    m_pMdiArea->addSubWindow(pFrame);
    connect(&pFrame->Document(), &CScriptDoc::TitleChanged, this, &CMainFrame::UpdateTitle);
    connect(pFrame, &QObject::destroyed, this, [this] {
        if (m_bDestroying)
            return;
        UpdateTitle();
        UpdateCommands();
    });
}

CChildFrame* CMainFrame::ActiveFrame() const
{
    return qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
}

CScriptDoc* CMainFrame::ActiveDocument() const
{
    const CChildFrame* pFrame = ActiveFrame();
    return pFrame ? &pFrame->Document() : nullptr;
}

CScriptView* CMainFrame::ActiveView() const
{
    const CChildFrame* pFrame = ActiveFrame();
    return pFrame ? pFrame->View() : nullptr;
}

void CMainFrame::OnFileSaveAll()
{
    for (CScriptDoc* pDoc : m_app.AllDocuments())
        if (pDoc->IsModified())
            pDoc->DoFileSave();
}

void CMainFrame::ApplyPlacement()
{
    move(m_settings.m_nWinX, m_settings.m_nWinY);
    resize(m_settings.m_nWinWidth, m_settings.m_nWinHeight);
}

QRect CMainFrame::StoredPlacement() const
{
    // pos() is where move() put the frame and size() what resize() gave, so a
    // stored placement comes back exactly at the next start.
    return QRect(pos(), size());
}

CCloseState CMainFrame::CloseState() const
{
    CCloseState state;
    state.bMaximised = isMaximized();
    state.rcWindow = StoredPlacement();
    if (const CChildFrame* pFrame = ActiveFrame()) {
        state.sStartFile = pFrame->Document().GetPathName();
        state.bDocMax = pFrame->isMaximized();
    }
    return state;
}

void CMainFrame::closeEvent(QCloseEvent* pEvent)
{
    WriteSettingsOnClose(m_app.Store(), m_app.Settings(), m_settings, CloseState(),
                         [this] { m_app.SaveProjectData(); });
    m_app.Store().Flush();
    if (!m_app.SaveAllModified()) {
        pEvent->ignore();
        return;
    }
    m_app.CloseAllDocuments();
    pEvent->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* pEvent)
{
    if (pEvent->mimeData()->hasUrls())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* pEvent)
{
    for (const QUrl& url : pEvent->mimeData()->urls())
        if (url.isLocalFile())
            m_app.OpenDocumentFile(url.toLocalFile());
    pEvent->acceptProposedAction();
}
