// The main frame's commands: what each one does, when it is available, and
// the menus and the tool bar built from the command table.
#include "gui/frame/mainfrm.h"

#include "core/app/appinfo.h"
#include "core/data/filetype.h"
#include "gui/app/aboutdlg.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/commands.h"

#include <QDesktopServices>
#include <QDockWidget>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using C = ECommand;

void CMainFrame::BindCommands()
{
    BindFileCommands();
    BindEditCommands();
    BindViewAndWindowCommands();
}

void CMainFrame::BindFileCommands()
{
    CCommands& commands = *m_pCommands;
    const auto document = [this] { return ActiveFrame() != nullptr; };
    commands.Bind(C::FileNew, [this] { m_app.OnFileNew(EDocKind::Script); });
    const std::pair<C, EDocKind> newFiles[] = {
        {C::NewScript, EDocKind::Script},           {C::NewDescription, EDocKind::Description},
        {C::NewBriefing, EDocKind::Briefing},       {C::NewFunction, EDocKind::Function},
        {C::NewStringTable, EDocKind::StringTable}, {C::NewText, EDocKind::Text},
    };
    for (const auto& [eCommand, eKind] : newFiles)
        commands.Bind(eCommand, [this, eKind = eKind] { m_app.OnFileNew(eKind); });
    commands.Bind(C::Open, [this] { m_app.OnFileOpen(); });
    commands.Bind(
        C::Close,
        [this] {
            if (CChildFrame* pFrame = ActiveFrame())
                pFrame->close();
        },
        document);
    commands.Bind(
        C::Save,
        [this] {
            if (CScriptDoc* pDoc = ActiveDocument())
                pDoc->OnFileSave();
        },
        document);
    commands.Bind(
        C::SaveAs,
        [this] {
            if (CScriptDoc* pDoc = ActiveDocument())
                pDoc->OnFileSaveAs();
        },
        document);
    commands.Bind(
        C::SaveAll, [this] { OnFileSaveAll(); }, document);
    commands.Bind(
        C::Print, [this] { OnFilePrint(); }, document);
    commands.Bind(
        C::PrintPreview, [this] { OnFilePrintPreview(); }, document);
    commands.Bind(C::PrintSetup, [this] { OnFilePrintSetup(); });
    commands.Bind(C::Exit, [this] { close(); });
    const std::pair<C, QString CDataPaths::*> dataFiles[] = {
        {C::EditCommandsData, &CDataPaths::m_sCommandsFile},
        {C::EditUnitData, &CDataPaths::m_sUnitFile},
        {C::EditHeaderData, &CDataPaths::m_sHeaderFile},
    };
    for (const auto& [eCommand, psPath] : dataFiles)
        commands.Bind(eCommand, [this, psPath = psPath] { m_app.OpenDocumentFile(m_app.Paths().*psPath); });
    commands.Bind(C::HelpContents, [this] { OnHelpContents(); });
    commands.Bind(C::About, [this] {
        CAboutDlg dialog(m_app.Version(), this);
        dialog.exec();
    });
}

void CMainFrame::BindEditCommands()
{
    CCommands& commands = *m_pCommands;
    const auto view = [this] { return ActiveView() != nullptr; };
    const auto selection = [this] { return ActiveView() && ActiveView()->textCursor().hasSelection(); };
    commands.Bind(
        C::Undo, [this] { OnView(&CScriptView::OnEditUndo); },
        [this] { return ActiveView() && ActiveView()->CanUndo(); });
    commands.Bind(
        C::Redo, [this] { OnView(&CScriptView::OnEditRedo); },
        [this] { return ActiveView() && ActiveView()->CanRedo(); });
    commands.Bind(
        C::Cut, [this] { OnView(&QPlainTextEdit::cut); }, selection);
    commands.Bind(
        C::Copy, [this] { OnView(&QPlainTextEdit::copy); }, selection);
    commands.Bind(
        C::Paste, [this] { OnView(&QPlainTextEdit::paste); },
        [this] { return ActiveView() && ActiveView()->canPaste(); });
    commands.Bind(
        C::SelectAll, [this] { OnView(&QPlainTextEdit::selectAll); }, view);
    const auto lineComments = [this] { return ActiveView() && ActiveView()->CanCommentLines(); };
    commands.Bind(
        C::CommentOut, [this] { OnView(&CScriptView::OnEditCommentOut); }, lineComments);
    commands.Bind(
        C::Uncomment, [this] { OnView(&CScriptView::OnEditUncomment); }, lineComments);
    commands.Bind(
        C::Uppercase,
        [this] {
            if (CScriptView* pView = ActiveView())
                pView->ChangeCase(true);
        },
        view);
    commands.Bind(
        C::Lowercase,
        [this] {
            if (CScriptView* pView = ActiveView())
                pView->ChangeCase(false);
        },
        view);
    commands.Bind(
        C::IncreaseIndent, [this] { OnView(&CScriptView::OnEditIndent); }, view);
    commands.Bind(
        C::DecreaseIndent, [this] { OnView(&CScriptView::OnEditOutdent); }, view);
}

void CMainFrame::BindViewAndWindowCommands()
{
    CCommands& commands = *m_pCommands;
    commands.Bind(
        C::ToggleToolbar, [this] { ToggleBar(m_pToolBar, m_settings.m_bToolBar); }, {},
        [this] { return m_pToolBar->isVisible(); });
    commands.Bind(
        C::ToggleCommandBar, [this] { ToggleBar(m_pCommandDock, m_settings.m_bCommandBar); }, {},
        [this] { return m_pCommandDock->isVisible(); });
    commands.Bind(
        C::ToggleScriptsBar, [this] { ToggleBar(m_pScriptTabsBar, m_settings.m_bScriptsBar); }, {},
        [this] { return m_pScriptTabsBar->isVisible(); });
    commands.Bind(
        C::ToggleStatusBar, [this] { ToggleBar(statusBar(), m_settings.m_bStatusBar); }, {},
        [this] { return statusBar()->isVisible(); });
    const auto windows = [this] { return !m_pMdiArea->subWindowList().isEmpty(); };
    commands.Bind(
        C::Cascade, [this] { m_pMdiArea->cascadeSubWindows(); }, windows);
    commands.Bind(
        C::TileHorizontally, [this] { TileWindows(Qt::Horizontal); }, windows);
    commands.Bind(
        C::TileVertically, [this] { TileWindows(Qt::Vertical); }, windows);
    commands.Bind(
        C::ArrangeIcons, [this] { ArrangeIcons(); }, windows);
}

void CMainFrame::RefreshCommands()
{
    m_pCommands->Refresh();
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = new QToolBar(QStringLiteral("Main Toolbar"), this);
    m_pToolBar->setObjectName(QStringLiteral("MainToolbar"));
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    for (const SMenuEntry& entry : ToolBarButtons()) {
        if (entry.eKind == SMenuEntry::Separator) {
            m_pToolBar->addSeparator();
            continue;
        }
        QAction* pAction = m_pCommands->Action(entry.eCommand);
        m_pToolBar->addAction(pAction);
        // New File and Find carry a drop-down arrow with their popup.
        if (entry.eCommand != C::FileNew && entry.eCommand != C::Find)
            continue;
        auto* pButton = qobject_cast<QToolButton*>(m_pToolBar->widgetForAction(pAction));
        auto* pPopup = new QMenu(pButton);
        m_pCommands->BuildMenu(pPopup, entry.eCommand == C::FileNew ? NewFileMenu() : FindMenu(), {});
        pButton->setMenu(pPopup);
        pButton->setPopupMode(QToolButton::MenuButtonPopup);
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
}

void CMainFrame::BuildMenuBar()
{
    const int nDocument = m_pMdiArea->subWindowList().isEmpty() ? 0 : 1;
    if (nDocument == m_nMenuBarDocument)
        return;
    m_nMenuBarDocument = nDocument;
    menuBar()->clear();
    for (const SMenu& menu : MenuBar(nDocument != 0)) {
        QMenu* pMenu = menuBar()->addMenu(QLatin1String(menu.pszTitle));
        m_pCommands->BuildMenu(pMenu, menu.entries,
                               [this](QMenu* pList, SMenuEntry::EKind eKind) { FillList(pList, eKind); });
    }
}

void CMainFrame::ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal)
{
    m_pCommands->Refresh();
    QMenu menu(this);
    m_pCommands->BuildMenu(&menu, entries, {});
    menu.exec(ptGlobal);
}

void CMainFrame::FillList(QMenu* pMenu, SMenuEntry::EKind eKind)
{
    if (eKind == SMenuEntry::RecentFiles)
        FillRecentFiles(pMenu);
    else
        FillWindowList(pMenu);
}

void CMainFrame::FillRecentFiles(QMenu* pMenu)
{
    pMenu->clear();
    for (int i = 0; i < 6; ++i) {
        const QString sPath = m_app.GetRecentFile(i);
        if (sPath.isEmpty())
            continue;
        QString sLabel = QStringLiteral("%1 ").arg(i + 1);
        if (i < 9)
            sLabel.prepend(QLatin1Char('&'));
        sLabel += QStringLiteral("...\\") + QFileInfo(sPath).fileName();
        QAction* pAction = pMenu->addAction(sLabel);
        pAction->setStatusTip(QStringLiteral("Open this recent document"));
        connect(pAction, &QAction::triggered, this, [this, i] { m_app.OnOpenRecentFile(i); });
    }
    pMenu->setEnabled(!pMenu->isEmpty());
}

void CMainFrame::FillWindowList(QMenu* pMenu)
{
    pMenu->clear();
    for (C eCommand : {C::Cascade, C::TileHorizontally, C::TileVertically, C::ArrangeIcons})
        pMenu->addAction(m_pCommands->Action(eCommand));
    pMenu->addSeparator();
    int nCount = 0;
    for (CScriptDoc* pDoc : m_app.AllDocuments()) {
        CChildFrame* pFrame = pDoc->Frame();
        if (!pFrame)
            continue;
        // Windows beyond the 24th are counted but not listed.
        if (nCount < 24) {
            QString sLabel = QStringLiteral("%1 %2").arg(nCount + 1).arg(pFrame->windowTitle());
            if (nCount < 9)
                sLabel.prepend(QLatin1Char('&'));
            QAction* pAction
                = pMenu->addAction(sLabel, this, [this, pFrame] { m_pMdiArea->setActiveSubWindow(pFrame); });
            pAction->setStatusTip(QStringLiteral("Activate this window"));
            pAction->setCheckable(true);
            pAction->setChecked(m_pMdiArea->activeSubWindow() == pFrame);
        }
        ++nCount;
    }
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

void CMainFrame::ToggleBar(QWidget* pBar, int& bShown)
{
    bShown = pBar->isVisible() ? 0 : 1;
    pBar->setVisible(bShown != 0);
}

void CMainFrame::TileWindows(Qt::Orientation eOrientation)
{
    // Horizontally: windows stacked one below the other, each the full width;
    // vertically: side by side, each the full height.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* pWindow : m_pMdiArea->subWindowList())
        if (!pWindow->isMinimized())
            windows.append(pWindow);
    if (windows.isEmpty())
        return;
    const QRect rcArea = m_pMdiArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (eOrientation == Qt::Horizontal)
            windows[i]->setGeometry(0, rcArea.height() * i / n, rcArea.width(), rcArea.height() / n);
        else
            windows[i]->setGeometry(rcArea.width() * i / n, 0, rcArea.width() / n, rcArea.height());
    }
}

void CMainFrame::ArrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right.
    int x = 0;
    const int nBottom = m_pMdiArea->viewport()->height();
    for (QMdiSubWindow* pWindow : m_pMdiArea->subWindowList()) {
        if (!pWindow->isMinimized())
            continue;
        pWindow->move(x, nBottom - pWindow->height());
        x += pWindow->width();
    }
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

void CMainFrame::OnHelpContents()
{
    const QString sHelp = QDir(m_app.Paths().m_sAppPath).filePath(QStringLiteral("help/index.html"));
    if (!QFileInfo::exists(sHelp) || !QDesktopServices::openUrl(QUrl::fromLocalFile(sHelp)))
        m_app.Prompter().ShowMessage(QStringLiteral("The help pages could not be opened:\n%1").arg(sHelp),
                                     AppInfo::kTitle, IPrompter::EIcon::Warning);
}
