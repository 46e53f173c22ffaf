#include "gui/frame/mainfrm.h"

#include "core/app/appinfo.h"
#include "core/documents/doctypes.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/scriptdoc.h"
#include "core/data/filetype.h"
#include "core/data/sortstringarray.h"
#include "core/frame/statuspanes.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/imagelist.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QTabBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
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
    CreateStatusPanes();
    CreateScriptTabsBar();
    m_pScriptTabsBar->setVisible(m_settings.m_bScriptsBar != 0);
    statusBar()->setVisible(m_settings.m_bStatusBar != 0);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* pWindow) {
        if (m_bDestroying)
            return;
        UpdateTitle();
        UpdateCommands();
        if (auto* pFrame = qobject_cast<CChildFrame*>(pWindow); pFrame && FindTabIndex(pFrame) >= 0)
            m_pScriptTabs->setCurrentIndex(FindTabIndex(pFrame));
        ScheduleIdleUpdate();
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

    CreateViewMenu();
    CreateToolsMenu();
    m_pWindowMenu = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(m_pWindowMenu, &QMenu::aboutToShow, this, &CMainFrame::RebuildWindowMenu);
}

void CMainFrame::CreateViewMenu()
{
    QMenu* pView = menuBar()->addMenu(QStringLiteral("&View"));
    // The tool bar and the command bar are still to come.
    for (const char* pszText : {"&Main Toolbar", "&Command Bar"}) {
        QAction* pAction = pView->addAction(QLatin1String(pszText));
        pAction->setCheckable(true);
        pAction->setEnabled(false);
    }
    QAction* pTabs = AddCommand(pView, QStringLiteral("&Script Tabs Bar"),
                                QStringLiteral("Show or hide the script tabs bar\nToggle Script Tabs Bar"),
                                [this] { ToggleBar(m_pScriptTabsBar, m_settings.m_bScriptsBar); });
    QAction* pStatus = AddCommand(pView, QStringLiteral("S&tatus Bar"),
                                  QStringLiteral("Show or hide the status bar\nToggle StatusBar"),
                                  [this] { ToggleBar(statusBar(), m_settings.m_bStatusBar); });
    for (QAction* pAction : {pTabs, pStatus})
        pAction->setCheckable(true);
    connect(pView, &QMenu::aboutToShow, this, [this, pTabs, pStatus] {
        pTabs->setChecked(m_pScriptTabsBar->isVisible());
        pStatus->setChecked(statusBar()->isVisible());
    });
}

void CMainFrame::ToggleBar(QWidget* pBar, int& bShown)
{
    bShown = pBar->isVisible() ? 0 : 1;
    pBar->setVisible(bShown != 0);
}

void CMainFrame::CreateToolsMenu()
{
    QMenu* pTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    struct SDataFile
    {
        const char* pszText;
        const char* pszPrompt;
        QString CDataPaths::*psPath;
    };
    static const SDataFile kDataFiles[] = {
        {"Edit &Commands/Weapons Data",
         "Open the main data file for editing. This file contains the weapons, ammo, and equipment data.\nEdit Weapons Data",
         &CDataPaths::m_sCommandsFile},
        {"Edit &Unit Wizard Data",
         "Open the unit data file for editing. This file contains data for the Special Unit Wizard.\nEdit Unit Data",
         &CDataPaths::m_sUnitFile},
        {"Edit Auto &Header Data",
         "Open the header data file for editing. This file contains data for the auto added headers.\nEdit Header Data",
         &CDataPaths::m_sHeaderFile},
    };
    for (const SDataFile& file : kDataFiles) {
        const auto psPath = file.psPath;
        AddCommand(pTools, QLatin1String(file.pszText), QLatin1String(file.pszPrompt),
                   [this, psPath] { m_app.OpenDocumentFile(m_app.Paths().*psPath); });
    }
}

void CMainFrame::RebuildWindowMenu()
{
    m_pWindowMenu->clear();
    m_pWindowMenu->addAction(QStringLiteral("&Cascade"), m_pMdiArea, &QMdiArea::cascadeSubWindows);
    m_pWindowMenu->addAction(QStringLiteral("Tile &Horizontally"), this, [this] { TileWindows(Qt::Horizontal); });
    m_pWindowMenu->addAction(QStringLiteral("Tile &Vertically"), this, [this] { TileWindows(Qt::Vertical); });
    m_pWindowMenu->addAction(QStringLiteral("&Arrange Icons"), this, &CMainFrame::ArrangeIcons);
    m_pWindowMenu->addSeparator();
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
            QAction* pAction = m_pWindowMenu->addAction(sLabel, this, [this, pFrame] {
                m_pMdiArea->setActiveSubWindow(pFrame);
            });
            pAction->setStatusTip(QStringLiteral("Activate this window"));
            pAction->setCheckable(true);
            pAction->setChecked(m_pMdiArea->activeSubWindow() == pFrame);
        }
        ++nCount;
    }
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
    UpdateScriptTab(pFrame);
    connect(pFrame->View(), &QPlainTextEdit::cursorPositionChanged, this, &CMainFrame::ScheduleIdleUpdate);
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
    // A stored size of nothing leaves the window where the desktop puts it.
    if (m_settings.m_nWinWidth < 1 || m_settings.m_nWinHeight < 1)
        return;
    QRect rc(m_settings.m_nWinX, m_settings.m_nWinY, m_settings.m_nWinWidth, m_settings.m_nWinHeight);
    // After a change of monitors the stored place may lie off every screen,
    // out of the user's reach; such a window comes back onto the primary one.
    bool bOnScreen = false;
    for (const QScreen* pScreen : QGuiApplication::screens())
        bOnScreen = bOnScreen || pScreen->geometry().intersects(rc);
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    if (!bOnScreen && pPrimary) {
        const QRect rcScreen = pPrimary->availableGeometry();
        rc.setSize(rc.size().boundedTo(rcScreen.size()));
        rc.moveCenter(rcScreen.center());
    }
    move(rc.topLeft());
    resize(rc.size());
}

void CMainFrame::CreateStatusPanes()
{
    statusBar()->showMessage(QStringLiteral("Ready"));
    // Panes 2 to 8, each as wide as its sizing text.
    for (const char* pszSizing : {" ", "Ln: 1000-1000", "Ch: 100-1000", " HTML", " VELK", "CAP", "NUM"}) {
        auto* pPane = new QLabel(statusBar());
        pPane->setAlignment(Qt::AlignCenter);
        pPane->setMinimumWidth(pPane->fontMetrics().horizontalAdvance(QLatin1String(pszSizing)) + 8);
        statusBar()->addPermanentWidget(pPane);
        m_panes.append(pPane);
    }
    // The status bar falls back to "Ready" whenever no prompt is shown.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& sMessage) {
        if (sMessage.isEmpty())
            statusBar()->showMessage(QStringLiteral("Ready"));
    });
    UpdatePanes();
}

QString CMainFrame::PaneText(int nPane) const
{
    return nPane >= 2 && nPane - 2 < m_panes.size() ? m_panes[nPane - 2]->text() : statusBar()->currentMessage();
}

void CMainFrame::ScheduleIdleUpdate()
{
    if (m_bIdleUpdatePending)
        return;
    m_bIdleUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_bIdleUpdatePending = false;
        if (!m_bDestroying)
            UpdatePanes();
    });
}

void CMainFrame::UpdatePanes()
{
    QString sLine;
    QString sColumn;
    QString sType;
    if (const CScriptView* pView = ActiveView()) {
        const auto [nStart, nEnd] = pView->Selection();
        const QTextBlock first = pView->document()->findBlock(nStart);
        const QTextBlock last = pView->document()->findBlock(nEnd);
        sLine = StatusPanes::LineText(first.blockNumber(), last.blockNumber());
        sColumn = StatusPanes::ColumnText(first.blockNumber(), nStart - first.position(), last.blockNumber(),
                                          nEnd - last.position());
        sType = StatusPanes::TypeText(pView->m_nFileType);
    }
    m_panes[1]->setText(sLine);
    m_panes[2]->setText(sColumn);
    m_panes[3]->setText(sType);
    m_panes[4]->setText(StatusPanes::GameText(m_app.Settings().m_bVelk != 0));
}

void CMainFrame::CreateScriptTabsBar()
{
    auto* pBar = new QToolBar(QStringLiteral("Script Tabs"), this);
    m_pScriptTabsBar = pBar;
    pBar->setObjectName(QStringLiteral("ScriptTabsBar"));
    pBar->setMovable(false);
    pBar->setFloatable(false);
    m_pScriptTabs = new QTabBar(pBar);
    m_pScriptTabs->setDocumentMode(true);
    m_pScriptTabs->setExpanding(false);
    m_pScriptTabs->setIconSize(QSize(16, 16));
    m_pScriptTabs->setElideMode(Qt::ElideNone);
    m_pScriptTabs->setUsesScrollButtons(true);
    // A widget on a tool bar shows and hides through its action.
    m_pScriptTabsAction = pBar->addWidget(m_pScriptTabs);
    m_pScriptTabsAction->setVisible(false);
    addToolBar(Qt::TopToolBarArea, pBar);
    connect(m_pScriptTabs, &QTabBar::currentChanged, this, [this](int nIndex) {
        auto* pFrame = qobject_cast<CChildFrame*>(m_pScriptTabs->tabData(nIndex).value<QObject*>());
        if (pFrame && m_pMdiArea->activeSubWindow() != pFrame)
            m_pMdiArea->setActiveSubWindow(pFrame);
    });
}

int CMainFrame::FindTabIndex(const CChildFrame* pFrame) const
{
    for (int i = 0; i < m_pScriptTabs->count(); ++i)
        if (m_pScriptTabs->tabData(i).value<QObject*>() == pFrame)
            return i;
    return -1;
}

void CMainFrame::UpdateScriptTab(CChildFrame* pFrame)
{
    const QString sTitle = pFrame->windowTitle();
    int nIndex = FindTabIndex(pFrame);
    if (nIndex >= 0) {
        m_pScriptTabs->setTabText(nIndex, sTitle);
    } else {
        const QString sPath = pFrame->Document().GetPathName();
        // Files of the project keep their tabs in alphabetical order; the
        // others line up behind in the order they were opened.
        nIndex = m_pScriptTabs->count();
        if (m_app.Project().IsProjectFile(sPath)) {
            for (int i = 0; i < m_pScriptTabs->count(); ++i) {
                if (CompareNoCase(m_pScriptTabs->tabText(i), sTitle) > 0) {
                    nIndex = i;
                    break;
                }
            }
        }
        const QSignalBlocker block(m_pScriptTabs);
        nIndex = m_pScriptTabs->insertTab(nIndex, ImageListIcon(FileTypeImage(sPath, false)), sTitle);
        m_pScriptTabs->setTabData(nIndex, QVariant::fromValue<QObject*>(pFrame));
        m_pScriptTabsAction->setVisible(true);
    }
    if (m_pMdiArea->activeSubWindow() == pFrame) {
        const QSignalBlocker block(m_pScriptTabs);
        m_pScriptTabs->setCurrentIndex(nIndex);
    }
}

void CMainFrame::RemoveScriptTab(CChildFrame* pFrame)
{
    const int nIndex = FindTabIndex(pFrame);
    if (nIndex >= 0) {
        const QSignalBlocker block(m_pScriptTabs);
        m_pScriptTabs->removeTab(nIndex);
    }
    if (m_pScriptTabs->count() == 0)
        m_pScriptTabsAction->setVisible(false);
}

void CMainFrame::SetScriptTabImage(CChildFrame* pFrame, int nImage)
{
    const int nIndex = FindTabIndex(pFrame);
    if (nIndex >= 0)
        m_pScriptTabs->setTabIcon(nIndex, ImageListIcon(nImage));
}

CScriptDoc* CMainFrame::CreateDocFromText(EDocKind eKind, const QString& sText, const QString& sTitle)
{
    CDocTemplate* pTemplate = m_app.Template(eKind);
    if (!pTemplate)
        return nullptr;
    const int bAddHeader = std::exchange(m_settings.m_bAddHeader, 0);
    CScriptDoc* pDoc = pTemplate->OpenDocumentFile(QString());
    m_settings.m_bAddHeader = bAddHeader;
    CScriptView* pView = pDoc && pDoc->Frame() ? pDoc->Frame()->View() : nullptr;
    if (!pView)
        return nullptr;
    const QString sExt = m_app.Settings().m_bShowExt ? pTemplate->GetDocString(EDocField::FilterExt) : QString();
    pDoc->SetTitle(sTitle + sExt);
    ReplaceViewText(pView, sText);
    return pDoc;
}

CScriptDoc* CMainFrame::CreateScriptDoc(const QString& sText, const QString& sTitle)
{
    return CreateDocFromText(EDocKind::Script, sText, sTitle);
}

CScriptDoc* CMainFrame::CreateDescriptionDoc(const QString& sText, const QString& sTitle)
{
    return CreateDocFromText(EDocKind::Description, sText, sTitle);
}

CScriptDoc* CMainFrame::CreateHtmlDoc(const QString& sText, const QString& sTitle)
{
    return CreateDocFromText(EDocKind::Briefing, sText, sTitle);
}

void CMainFrame::ReplaceViewText(CScriptView* pView, const QString& sText)
{
    if (!pView)
        return;
    pView->selectAll();
    pView->InsertText(sText, true);
    pView->ClearUndo();
    pView->PushUndo();
}

int CMainFrame::ActiveViewType() const
{
    const CScriptView* pView = ActiveView();
    return pView ? int(pView->m_nFileType) : -1;
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
