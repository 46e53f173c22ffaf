#include "gui/frame/mainfrm.h"

#include "core/app/appinfo.h"
#include "core/app/datapaths.h"
#include "core/app/prompter.h"
#include "core/app/settings.h"
#include "core/app/settingsstore.h"
#include "core/data/filetype.h"
#include "core/data/projectmodel.h"
#include "core/frame/placement.h"
#include "core/editor/editoroptions.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/doctemplate.h"
#include "gui/documents/filecommands.h"
#include "gui/documents/printcommands.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/editcommands.h"
#include "gui/editor/editorcontext.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/framemenus.h"
#include "gui/frame/scripttabs.h"
#include "gui/frame/statusbarpanes.h"
#include "gui/frame/windowcommands.h"
#include "gui/links/linkcommands.h"
#include "gui/localize/localizecommands.h"
#include "gui/options/editorfont.h"
#include "gui/options/optionscommands.h"
#include "gui/search/searchcommands.h"
#include "gui/wizards/missionwizardcommands.h"
#include "gui/wizards/wizardcommands.h"
#include "gui/workspace/commandbarcommands.h"
#include "gui/workspace/commandbardock.h"
#include "gui/workspace/commanddlg.h"
#include "gui/workspace/projectcommands.h"
#include "gui/workspace/snippetcommands.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

using C = ECommand;

namespace {

// A bar that did not come out whole stops the start, with a line on stderr.
bool Created(bool bWhole, const char* pszWhat)
{
    if (!bWhole)
        qWarning("ERROR: Failed to create %s.", pszWhat);
    return bWhole;
}

}  // namespace

CMainFrame::CMainFrame(const SFrameServices& services)
    : m_services(services)
    , m_pMdiArea(new QMdiArea(this))
    , m_pEditorContext(new CEditorContext(services.dictionary, this))
{
    setWindowTitle(AppInfo::kTitle);
    m_pMdiArea->setViewMode(QMdiArea::SubWindowView);
    setCentralWidget(m_pMdiArea);
    setAcceptDrops(true);
    m_pEditorContext->SetOptions(EditorOptionsOf(Settings()));
    connect(&Settings(), &CSettings::Changed, this, [this] {
        RebuildEditorFont();
        m_pEditorContext->SetOptions(EditorOptionsOf(Settings()));
        ScheduleIdleUpdate();
    });
    m_pCommands = new CCommands(this);
    connect(m_pCommands, &CCommands::CommandStarting, this, [this] {
        if (CScriptView* pView = ActiveView())
            pView->CancelSuggestion();
    });
    m_pMenus = new CFrameMenus(*m_pCommands, *this,
                               [this](QMenu* pList, SMenuEntry::EKind eKind) { FillList(pList, eKind); });
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnWindowActivated);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CMainFrame::ScheduleIdleUpdate);
}

CMainFrame::~CMainFrame()
{
    // Document windows report their end; while this frame goes down they
    // must not call back into it, so they go first, with the callbacks off.
    m_bDestroying = true;
    m_pProjectCommands.reset();
    delete m_pMdiArea;
}

bool CMainFrame::Create()
{
    m_pToolBar = m_pMenus->CreateToolBar();
    if (!Created(m_pToolBar->actions().size() == ToolBarButtons().size(), "toolbar"))
        return false;
    m_pPanes = std::make_unique<CStatusBarPanes>(*statusBar());
    UpdatePanes();
    if (!Created(m_pPanes->Count() == 7, "status bar"))
        return false;
    CreateCommandBar();
    if (!Created(CommandBar()->Tabs()->count() == 3, "command dialog bar"))
        return false;
    RebuildEditorFont();
    CProjectModel& project = m_services.project;
    m_pScriptTabs = new CScriptTabs(
        *m_pMdiArea, [&project](const QString& sPath) { return project.IsProjectFile(sPath); }, this);
    // The tabs take a row of their own below the main tool bar.
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, m_pScriptTabs);
    if (!Created(m_pScriptTabs != nullptr, "scripts dialog bar"))
        return false;
    CreateControllers();
    BuildMenuBar();
    m_pToolBar->setVisible(Settings().m_bToolBar != 0);
    m_pCommandDock->setVisible(Settings().m_bCommandBar != 0);
    m_pScriptTabs->setVisible(Settings().m_bScriptsBar != 0);
    statusBar()->setVisible(Settings().m_bStatusBar != 0);
    ApplyPlacement();
    m_pCommands->Refresh();
    return true;
}

void CMainFrame::CreateControllers()
{
    const auto activeFrame = [this] { return ActiveFrame(); };
    m_pFileCommands = new CFileCommands(*m_pCommands, Documents(), m_services.paths, activeFrame, this);
    new CPrintCommands(
        *m_pCommands, [this] { return ActiveView(); }, this);
    new CEditCommands(
        *m_pCommands, [this] { return ActiveView(); }, this);
    m_pWindowCommands = new CWindowCommands(*m_pCommands, *this);
    m_pSearchCommands = new CSearchCommands({*m_pCommands, Documents(), m_services.project, m_services.prompter,
                                             activeFrame},
                                            QPoint(Settings().m_nDlgX, Settings().m_nDlgY), this);
    new CLinkCommands(*m_pCommands,
                      {m_services.shell, m_services.prompter, m_services.paths.m_sAppPath, m_services.sVersion,
                       Documents(), Settings(), m_services.store},
                      this);
    CreateWorkspace();
    new CWizardCommands(*m_pCommands,
                        {Documents(), Settings(), m_services.dictionary, m_services.prompter, m_services.sVersion,
                         activeFrame},
                        this);
    new CMissionWizardCommands({*m_pCommands, Documents(), m_services.dictionary, Settings(), m_services.prompter,
                                m_services.sVersion},
                               this);
    new CLocalizeCommands({*m_pCommands, m_services.project, Documents(), m_services.prompter}, this);
    new COptionsCommands(*m_pCommands,
                         {Settings(), m_services.associations, m_services.prompter, m_services.dictionary,
                          m_services.paths, [this] { RebuildEditorFont(); },
                          [this] { m_pCommandBarCommands->BuildCommandsTree(); }},
                         this);
}

void CMainFrame::RebuildEditorFont()
{
    const QFont font = EditorFont::Make(Settings().m_sFont, Settings().m_nFontSize, Settings().m_bBoldFonts != 0);
    // Every view lays its whole text out again for a new font: a change of
    // colours or switches alone must not cost that.
    if (font == m_pEditorContext->Font())
        return;
    m_pEditorContext->SetFont(font);
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
    // A document window opens maximised while the user keeps them so; one
    // restored window among them ends that for the rest of the session.
    const QMdiSubWindow* pActive = m_pMdiArea->activeSubWindow();
    if (Settings().m_bDocMax && pActive && pActive != pFrame && !pActive->isMaximized())
        Settings().m_bDocMax = 0;
    m_pMdiArea->addSubWindow(pFrame);
    CScriptDoc& doc = pFrame->Document();
    connect(&doc, &CScriptDoc::TitleChanged, this, [this, pFrame] {
        UpdateTitle();
        m_pScriptTabs->UpdateScriptTab(pFrame);
    });
    // A Save As under another extension changes the type the document is
    // edited as, even where the title stays the same: tab image and type
    // pane follow it.
    connect(&doc, &CScriptDoc::Saved, this, [this, pFrame] {
        m_pScriptTabs->UpdateScriptTab(pFrame);
        ScheduleIdleUpdate();
    });
    connect(pFrame, &CChildFrame::Closing, m_pScriptTabs, &CScriptTabs::RemoveScriptTab);
    m_pScriptTabs->UpdateScriptTab(pFrame);
    CScriptView* pView = pFrame->View();
    connect(pView, &QPlainTextEdit::cursorPositionChanged, this, &CMainFrame::ScheduleIdleUpdate);
    connect(pView, &QPlainTextEdit::selectionChanged, this, &CMainFrame::ScheduleIdleUpdate);
    connect(pView, &QPlainTextEdit::textChanged, this, &CMainFrame::ScheduleIdleUpdate);
    connect(pView, &CScriptView::ContextMenuRequested, this,
            [this](const QPoint& pt) { ShowContextMenu(EditorContextMenu(), pt); });
    connect(pFrame, &QObject::destroyed, this, &CMainFrame::OnWindowGone);
    if (Settings().m_bDocMax) {
        pFrame->showMaximized();
    } else {
        // Three quarters of the area: room to work, and the windows behind still in sight.
        const QSize area = m_pMdiArea->viewport()->size();
        pFrame->resize(std::max(area.width() * 3 / 4, 320), std::max(area.height() * 3 / 4, 240));
        pFrame->show();
    }
    // Shown maximised, the window adds its title in brackets itself.
    UpdateTitle();
    BuildMenuBar();
}

void CMainFrame::ActivateDocumentWindow(CChildFrame* pFrame)
{
    m_pMdiArea->setActiveSubWindow(pFrame);
}

void CMainFrame::OnWindowActivated(QMdiSubWindow* pWindow)
{
    if (m_bDestroying)
        return;
    UpdateTitle();
    if (auto* pFrame = qobject_cast<CChildFrame*>(pWindow))
        m_pScriptTabs->Follow(pFrame);
    m_pCommands->Refresh();
    ScheduleIdleUpdate();
}

void CMainFrame::OnWindowGone()
{
    if (m_bDestroying)
        return;
    UpdateTitle();
    BuildMenuBar();
    m_pCommands->Refresh();
    ScheduleIdleUpdate();
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

void CMainFrame::ApplyPlacement()
{
    const CSettings& s = Settings();
    QList<QRect> screens;
    for (const QScreen* pScreen : QGuiApplication::screens())
        screens.append(pScreen->geometry());
    const QScreen* pPrimary = QGuiApplication::primaryScreen();
    const QRect rc = PlaceWindow(QRect(s.m_nWinX, s.m_nWinY, s.m_nWinWidth, s.m_nWinHeight), screens,
                                 pPrimary ? pPrimary->availableGeometry() : QRect());
    if (rc.isEmpty())
        return;
    move(rc.topLeft());
    resize(rc.size());
}

QString CMainFrame::PaneText(int nPane) const
{
    return m_pPanes->PaneText(nPane);
}

void CMainFrame::ScheduleIdleUpdate()
{
    if (m_bIdleUpdatePending)
        return;
    m_bIdleUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        m_bIdleUpdatePending = false;
        if (m_bDestroying)
            return;
        UpdatePanes();
        m_pCommands->Refresh();
    });
}

void CMainFrame::UpdatePanes()
{
    m_pPanes->Update(ActiveView(), Settings().m_bVelk != 0);
}

CCommandDlg* CMainFrame::CommandBar() const
{
    return m_pCommandDock->Bar();
}

void CMainFrame::CreateCommandBar()
{
    m_pCommandDock = new CCommandBarDock(Settings().m_bBarRight != 0, this);
    addDockWidget(Settings().m_bBarRight ? Qt::RightDockWidgetArea : Qt::LeftDockWidgetArea, m_pCommandDock);
    m_pCommandDock->SetBarWidth(CCommandBarDock::StartWidth(Settings().m_nBarWidth));
}

void CMainFrame::CreateWorkspace()
{
    const SWorkspaceServices services{
        *m_pCommands,
        *CommandBar(),
        Settings(),
        m_services.prompter,
        m_services.shell,
        m_services.dictionary,
        m_services.project,
        Documents(),
        m_services.paths,
        [this] { return ActiveFrame(); },
        [this](const QList<SMenuEntry>& entries, const QPoint& pt) { ShowContextMenu(entries, pt); },
    };
    m_pProjectCommands = std::make_unique<CProjectCommands>(services);
    m_pCommandBarCommands = new CCommandBarCommands(services);
    m_pCommandBarCommands->BuildCommandsTree();
    (new CSnippetCommands(services))->RefreshSnippetList();
}

int CMainFrame::BarWidth() const
{
    return m_pCommandDock->StoredWidth(Settings().m_nBarWidth);
}

void CMainFrame::BuildMenuBar()
{
    m_pMenus->BuildMenuBar(!m_pMdiArea->subWindowList().isEmpty());
}

void CMainFrame::FillList(QMenu* pMenu, SMenuEntry::EKind eKind)
{
    if (eKind == SMenuEntry::RecentFiles)
        m_pFileCommands->FillRecentFiles(pMenu);
    else
        m_pWindowCommands->FillWindowList(pMenu);
}

void CMainFrame::ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal)
{
    m_pMenus->ShowContextMenu(entries, ptGlobal);
}

QAction* CMainFrame::Action(const QString& sText) const
{
    return m_pMenus->Action(sText);
}

int CMainFrame::ActiveViewType() const
{
    const CScriptView* pView = ActiveView();
    return pView ? int(pView->FileType()) : -1;
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
        Settings().m_nBarWidth = BarWidth();
    const QPoint ptDialog = m_pSearchCommands->DialogPos();
    Settings().m_nDlgX = ptDialog.x();
    Settings().m_nDlgY = ptDialog.y();
    Settings().WriteOnClose(m_services.store, CloseState(), m_services.saveProjectData);
    if (!m_services.store.Flush())
        m_services.prompter.ShowMessage(
            QStringLiteral("The settings could not be saved: the settings file cannot be written.\n"
                           "Your window, editor and project choices of this session are lost."),
            QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
    if (!Documents().SaveAllModified()) {
        pEvent->ignore();
        return;
    }
    Documents().CloseAllDocuments();
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
            Documents().OpenDocumentFile(url.toLocalFile());
    pEvent->acceptProposedAction();
}
