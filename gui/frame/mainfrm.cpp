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
#include "gui/controls/menutreectrl.h"
#include "gui/frame/commanddlg.h"
#include "gui/frame/commands.h"
#include "gui/frame/projecttree.h"
#include "gui/frame/imagelist.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QDockWidget>
#include <QLabel>
#include <QTabBar>
#include <QMdiArea>
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

}  // namespace

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
    m_pCommands = new CCommands(this);
    BindCommands();
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* pWindow) {
        if (m_bDestroying)
            return;
        UpdateTitle();
        RefreshCommands();
        if (auto* pFrame = qobject_cast<CChildFrame*>(pWindow); pFrame && FindTabIndex(pFrame) >= 0)
            m_pScriptTabs->setCurrentIndex(FindTabIndex(pFrame));
        ScheduleIdleUpdate();
    });
}

namespace {

// A bar that did not come out whole stops the start, with a line on stderr.
bool Created(bool bWhole, const char* pszWhat)
{
    if (!bWhole)
        qWarning("ERROR: Failed to create %s.", pszWhat);
    return bWhole;
}

}  // namespace

bool CMainFrame::Create()
{
    CreateToolBar();
    if (!Created(m_pToolBar->actions().size() == ToolBarButtons().size(), "toolbar"))
        return false;
    CreateStatusPanes();
    if (!Created(m_panes.size() == 7, "status bar"))
        return false;
    CreateCommandBar();
    if (!Created(m_pCommandDlg->Tabs()->count() == 3, "command dialog bar"))
        return false;
    RebuildEditorFont();
    BuildMenuBar();
    CreateScriptTabsBar();
    if (!Created(m_pScriptTabs != nullptr, "scripts dialog bar"))
        return false;
    m_pToolBar->setVisible(m_settings.m_bToolBar != 0);
    m_pCommandDock->setVisible(m_settings.m_bCommandBar != 0);
    m_pScriptTabsBar->setVisible(m_settings.m_bScriptsBar != 0);
    statusBar()->setVisible(m_settings.m_bStatusBar != 0);
    ApplyPlacement();
    return true;
}

void CMainFrame::RebuildEditorFont()
{
    m_fontEditor = QFont(m_settings.m_sFont);
    m_fontEditor.setStyleHint(QFont::TypeWriter);
    m_fontEditor.setFixedPitch(true);
    m_fontEditor.setPointSize(qMax(1, m_settings.m_nFontSize));
    m_fontEditor.setBold(m_settings.m_bBoldFonts != 0);
    m_fontEditor.setItalic(false);
    m_fontEditor.setUnderline(false);
    m_fontEditor.setStrikeOut(false);
    for (CScriptDoc* pDoc : m_app.AllDocuments())
        if (pDoc->Frame())
            pDoc->Frame()->View()->setFont(m_fontEditor);
}

CMainFrame::~CMainFrame()
{
    // Document windows report their end; while this frame goes down they
    // must not call back into it, so they go first, with the callbacks off.
    m_bDestroying = true;
    m_app.Project().SetTree(nullptr);
    delete m_pMdiArea;
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
        BuildMenuBar();
        RefreshCommands();
    });
    BuildMenuBar();
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
    // The tabs take a row of their own below the main tool bar.
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, pBar);
    connect(m_pScriptTabs, &QTabBar::currentChanged, this, [this](int nIndex) {
        auto* pFrame = qobject_cast<CChildFrame*>(m_pScriptTabs->tabData(nIndex).value<QObject*>());
        if (pFrame && m_pMdiArea->activeSubWindow() != pFrame)
            m_pMdiArea->setActiveSubWindow(pFrame);
    });
}

void CMainFrame::CreateCommandBar()
{
    m_pCommandDock = new QDockWidget(QStringLiteral("Command Bar"), this);
    m_pCommandDock->setObjectName(QStringLiteral("CommandBar"));
    m_pCommandDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_pCommandDock->setTitleBarWidget(new QWidget(m_pCommandDock));
    m_pCommandDlg = new CCommandDlg(m_pCommandDock);
    m_pCommandDock->setWidget(m_pCommandDlg);
    // The user drags the bar's inner edge; the width stays within its range.
    m_pCommandDlg->setMinimumWidth(CCommandDlg::kMinWidth);
    m_pCommandDlg->setMaximumWidth(CCommandDlg::kMaxWidth);
    const Qt::DockWidgetArea eArea = m_settings.m_bBarRight ? Qt::RightDockWidgetArea : Qt::LeftDockWidgetArea;
    addDockWidget(eArea, m_pCommandDock);
    const int nWidth = CCommandDlg::AcceptsWidth(m_settings.m_nBarWidth) ? m_settings.m_nBarWidth : 230;
    resizeDocks({m_pCommandDock}, {nWidth}, Qt::Horizontal);

    m_pProjectTree = std::make_unique<CProjectTree>(*m_pCommandDlg->ProjectTree());
    m_app.Project().SetTree(m_pProjectTree.get());
    const auto show = [this](const QList<SMenuEntry>& entries, const QPoint& pt) { ShowContextMenu(entries, pt); };
    m_pCommandDlg->ProjectTree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Root ? ProjectBackgroundMenu() : ProjectFileMenu();
        },
        show);
    m_pCommandDlg->CommandsTree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Leaf ? CommandItemMenu() : QList<SMenuEntry>();
        },
        show);
    m_pCommandDlg->SnippetsTree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Leaf ? SnippetItemMenu() : QList<SMenuEntry>();
        },
        show);
    // A project file opens with a double click.
    connect(m_pCommandDlg->ProjectTree(), &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* pItem) {
        const HTreeItem hItem = m_pProjectTree->HandleOf(pItem);
        if (hItem != kRootTreeItem)
            m_app.Project().OpenProjectFile(hItem);
    });
}

int CMainFrame::BarWidth() const
{
    const int nWidth = m_pCommandDock->width();
    return CCommandDlg::AcceptsWidth(nWidth) ? nWidth : m_settings.m_nBarWidth;
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
    if (m_pCommandDock->isVisible())
        m_settings.m_nBarWidth = BarWidth();
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
