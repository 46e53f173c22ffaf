#pragma once

#include "core/app/settings.h"
#include "core/documents/doctypes.h"
#include "core/frame/commandtable.h"

#include <QFont>
#include <QMainWindow>

#include <memory>

class CCommandDlg;
class CCommands;
class CProjectTree;
class QDockWidget;
class CChildFrame;
class CScriptDoc;
class CScriptEditApp;
class CScriptView;
class QAction;
class QMdiArea;
class QMenu;
class QLabel;
class QPrinter;
class QTabBar;
class QToolBar;

// The main window: hosts the document windows and keeps the window and editor
// settings from its construction until it closes.
class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    explicit CMainFrame(CScriptEditApp& app);
    ~CMainFrame() override;
    // The bars, menus and placement, in their order; false when one of
    // them could not be made, which ends the start.
    bool Create();

    // The one editor font every view uses, built from Font, FontSize and BoldFonts.
    const QFont& EditorFont() const { return m_fontEditor; }
    void RebuildEditorFont();

    CFrameSettings& Settings() { return m_settings; }
    const CFrameSettings& Settings() const { return m_settings; }
    QMdiArea* MdiArea() const { return m_pMdiArea; }

    // The window's rectangle as it is stored: left, top, width, height.
    QRect StoredPlacement() const;

    void AddDocumentWindow(CChildFrame* pFrame);

    // Script tabs: one per document window.
    int FindTabIndex(const CChildFrame* pFrame) const;
    void UpdateScriptTab(CChildFrame* pFrame);
    void RemoveScriptTab(CChildFrame* pFrame);
    void SetScriptTabImage(CChildFrame* pFrame, int nImage);
    QTabBar* ScriptTabs() const { return m_pScriptTabs; }

    // A new untitled document holding the text, with no header and a
    // history that starts at that text; null when it cannot be made.
    CScriptDoc* CreateDocFromText(EDocKind eKind, const QString& sText, const QString& sTitle);
    CScriptDoc* CreateScriptDoc(const QString& sText, const QString& sTitle);
    CScriptDoc* CreateDescriptionDoc(const QString& sText, const QString& sTitle);
    CScriptDoc* CreateHtmlDoc(const QString& sText, const QString& sTitle);
    // The view's whole text replaced, as the first state of its history.
    void ReplaceViewText(CScriptView* pView, const QString& sText);
    // The active view's file type, -1 with no document window.
    int ActiveViewType() const;

    // The texts of the line, column, type and game panes, as shown.
    QString PaneText(int nPane) const;
    void UpdatePanes();
    CChildFrame* ActiveFrame() const;
    CScriptDoc* ActiveDocument() const;
    CScriptView* ActiveView() const;

    // Every document of every template, in template and then document order.
    void OnFileSaveAll();
    CCommands& Commands() const { return *m_pCommands; }
    // The menu bar's command with this menu text (without its accelerator).
    QAction* Action(const QString& sText) const;
    void ShowContextMenu(const QList<SMenuEntry>& entries, const QPoint& ptGlobal);
    QToolBar* MainToolBar() const { return m_pToolBar; }
    CCommandDlg* CommandBar() const { return m_pCommandDlg; }
    QDockWidget* CommandBarDock() const { return m_pCommandDock; }
    // The command bar's width now, as it is stored.
    int BarWidth() const;

protected:
    void closeEvent(QCloseEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    void ApplyPlacement();
    void CreateStatusPanes();
    void CreateScriptTabsBar();
    void CreateCommandBar();
    void ScheduleIdleUpdate();
    CCloseState CloseState() const;
    void BindCommands();
    void BindFileCommands();
    void BindEditCommands();
    void BindViewAndWindowCommands();
    void CreateToolBar();
    // The no-document or the document menu bar, whichever fits now.
    void BuildMenuBar();
    void FillList(QMenu* pMenu, SMenuEntry::EKind eKind);
    void FillRecentFiles(QMenu* pMenu);
    void FillWindowList(QMenu* pMenu);
    void RefreshCommands();
    void TileWindows(Qt::Orientation eOrientation);
    void ArrangeIcons();
    void ToggleBar(QWidget* pBar, int& bShown);
    // Runs a command on the active view, when there is one.
    void OnView(void (CScriptView::*pCommand)());
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnHelpContents();
    void UpdateTitle();

    CScriptEditApp& m_app;
    CFrameSettings m_settings;
    QMdiArea* m_pMdiArea;
    CCommands* m_pCommands = nullptr;
    QToolBar* m_pToolBar = nullptr;
    QToolBar* m_pScriptTabsBar = nullptr;
    QDockWidget* m_pCommandDock = nullptr;
    CCommandDlg* m_pCommandDlg = nullptr;
    std::unique_ptr<CProjectTree> m_pProjectTree;
    int m_nMenuBarDocument = -1;  // which menu bar stands: 0 without, 1 with documents
    std::unique_ptr<QPrinter> m_pPrinter;
    bool m_bDestroying = false;
    QTabBar* m_pScriptTabs = nullptr;
    QAction* m_pScriptTabsAction = nullptr;
    QList<QLabel*> m_panes;  // panes 2 to 8; pane 1 is the bar's own message
    bool m_bIdleUpdatePending = false;
    QFont m_fontEditor;
};
