#pragma once

#include "core/documents/doctypes.h"
#include "core/frame/commandtable.h"
#include "gui/documents/docmanager.h"
#include "gui/frame/frameservices.h"
#include "gui/workspace/commandbardock.h"

#include <QMainWindow>

#include <memory>

class CCommandBarCommands;
class CCommandBarDock;
class CCommandDlg;
class CCommands;
class CFileCommands;
class CFrameMenus;
class CProjectCommands;
class CScriptTabs;
class CSearchCommands;
class CStatusBarPanes;
class CScriptView;
class CSettings;
class CWindowCommands;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
struct CCloseState;

// The main window: bars, status panes, script tabs, placement and close. The
// families of commands live in controllers of their own subsystems.
class CMainFrame : public QMainWindow, public IDocumentWindows
{
    Q_OBJECT
public:
    explicit CMainFrame(const SFrameServices& services);
    ~CMainFrame() override;
    // The bars, menus and placement, in their order; false when one of
    // them could not be made, which ends the start.
    bool Create();

    CSettings& Settings() const { return m_services.settings; }
    CDocManager& Documents() const { return m_services.documents; }
    QMdiArea* MdiArea() const { return m_pMdiArea; }
    // The window's rectangle as it is stored: left, top, width, height.
    QRect StoredPlacement() const;

    // Where documents put their windows.
    CEditorContext& EditorContext() override { return *m_pEditorContext; }
    void AddDocumentWindow(CChildFrame* pFrame) override;
    void ActivateDocumentWindow(CChildFrame* pFrame) override;

    CScriptTabs* ScriptTabsBar() const { return m_pScriptTabs; }

    // The active view's file type, -1 with no document window.
    int ActiveViewType() const;

    // The texts of the line, column, type and game panes, as shown.
    QString PaneText(int nPane) const;
    void UpdatePanes();
    CChildFrame* ActiveFrame() const;
    CScriptDoc* ActiveDocument() const;
    CScriptView* ActiveView() const;

    CCommands& Commands() const { return *m_pCommands; }
    // The menu bar's command with this menu text (without its accelerator).
    QAction* Action(const QString& sText) const;
    void ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal);
    QToolBar* MainToolBar() const { return m_pToolBar; }
    CCommandDlg* CommandBar() const;
    CCommandBarDock* CommandBarDock() const { return m_pCommandDock; }
    CSearchCommands& Search() const { return *m_pSearchCommands; }
    // The command bar's width now, as it is stored.
    int BarWidth() const;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    // The one editor font every view uses, built from Font, FontSize and BoldFonts.
    void RebuildEditorFont();
    void CreateControllers();
    void ApplyPlacement();
    void CreateCommandBar();
    // The command bar's three features: projects, the dictionary, snippets.
    void CreateWorkspace();
    // The no-document or the document menu bar, whichever fits now.
    void BuildMenuBar();
    void FillList(QMenu* pMenu, SMenuEntry::EKind eKind);
    // Panes and command states follow on the next idle moment, once however
    // many changes came before it.
    void ScheduleIdleUpdate();
    void OnWindowActivated(QMdiSubWindow* pWindow);
    void OnWindowGone();
    CCloseState CloseState() const;
    void UpdateTitle();

    SFrameServices m_services;
    QMdiArea* m_pMdiArea;
    CEditorContext* m_pEditorContext;
    CCommands* m_pCommands = nullptr;
    CFrameMenus* m_pMenus = nullptr;
    CFileCommands* m_pFileCommands = nullptr;
    CWindowCommands* m_pWindowCommands = nullptr;
    CSearchCommands* m_pSearchCommands = nullptr;
    std::unique_ptr<CProjectCommands> m_pProjectCommands;
    CCommandBarCommands* m_pCommandBarCommands = nullptr;
    QToolBar* m_pToolBar = nullptr;
    CScriptTabs* m_pScriptTabs = nullptr;
    CCommandBarDock* m_pCommandDock = nullptr;
    bool m_bDestroying = false;
    std::unique_ptr<CStatusBarPanes> m_pPanes;
    bool m_bIdleUpdatePending = false;
};
