#include "gui/frame/windowcommands.h"

#include "core/app/settings.h"
#include "gui/controls/commands.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/frame/mainfrm.h"
#include "gui/frame/scripttabs.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

using C = ECommand;

CWindowCommands::CWindowCommands(CCommands& commands, CMainFrame& frame)
    : QObject(&frame)
    , m_commands(commands)
    , m_frame(frame)
{
    CSettings& s = frame.Settings();
    const std::tuple<C, QWidget*, int*> bars[] = {
        {C::ToggleToolbar, frame.MainToolBar(), &s.m_bToolBar},
        {C::ToggleCommandBar, frame.CommandBarDock(), &s.m_bCommandBar},
        {C::ToggleScriptsBar, static_cast<QWidget*>(frame.ScriptTabsBar()), &s.m_bScriptsBar},
        {C::ToggleStatusBar, frame.statusBar(), &s.m_bStatusBar},
    };
    for (const auto& [eCommand, pBar, pbShown] : bars)
        commands.Bind(
            eCommand, [this, pBar = pBar, pbShown = pbShown] { ToggleBar(pBar, *pbShown); }, {},
            [pBar = pBar] { return pBar->isVisible(); });
    commands.Bind(C::Exit, [&frame] { frame.close(); });
    QMdiArea* pArea = frame.MdiArea();
    const auto windows = [pArea] { return !pArea->subWindowList().isEmpty(); };
    commands.Bind(
        C::Cascade, [pArea] { pArea->cascadeSubWindows(); }, windows);
    commands.Bind(
        C::TileHorizontally, [this] { TileWindows(Qt::Horizontal); }, windows);
    commands.Bind(
        C::TileVertically, [this] { TileWindows(Qt::Vertical); }, windows);
    commands.Bind(
        C::ArrangeIcons, [this] { ArrangeIcons(); }, windows);
}

void CWindowCommands::FillWindowList(QMenu* pMenu)
{
    pMenu->clear();
    for (C eCommand : {C::Cascade, C::TileHorizontally, C::TileVertically, C::ArrangeIcons})
        pMenu->addAction(m_commands.Action(eCommand));
    pMenu->addSeparator();
    QMdiArea* pArea = m_frame.MdiArea();
    int nCount = 0;
    for (CScriptDoc* pDoc : m_frame.Documents().AllDocuments()) {
        CChildFrame* pFrame = pDoc->Frame();
        if (!pFrame)
            continue;
        // Windows beyond the 24th are counted but not listed.
        if (nCount < 24) {
            QString sLabel = QStringLiteral("%1 %2").arg(nCount + 1).arg(pFrame->windowTitle());
            if (nCount < 9)
                sLabel.prepend(QLatin1Char('&'));
            QAction* pAction = pMenu->addAction(sLabel, this, [pArea, pFrame] { pArea->setActiveSubWindow(pFrame); });
            pAction->setStatusTip(QStringLiteral("Activate this window"));
            pAction->setCheckable(true);
            pAction->setChecked(pArea->activeSubWindow() == pFrame);
        }
        ++nCount;
    }
}

void CWindowCommands::ToggleBar(QWidget* pBar, int& bShown)
{
    bShown = pBar->isVisible() ? 0 : 1;
    pBar->setVisible(bShown != 0);
}

void CWindowCommands::TileWindows(Qt::Orientation eOrientation)
{
    // Horizontally: windows stacked one below the other, each the full width;
    // vertically: side by side, each the full height.
    QMdiArea* pArea = m_frame.MdiArea();
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* pWindow : pArea->subWindowList())
        if (!pWindow->isMinimized())
            windows.append(pWindow);
    if (windows.isEmpty())
        return;
    const QRect rcArea = pArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (eOrientation == Qt::Horizontal)
            windows[i]->setGeometry(0, rcArea.height() * i / n, rcArea.width(), rcArea.height() / n);
        else
            windows[i]->setGeometry(rcArea.width() * i / n, 0, rcArea.width() / n, rcArea.height());
    }
}

void CWindowCommands::ArrangeIcons()
{
    // Minimised windows line up along the bottom edge, left to right.
    QMdiArea* pArea = m_frame.MdiArea();
    int x = 0;
    const int nBottom = pArea->viewport()->height();
    for (QMdiSubWindow* pWindow : pArea->subWindowList()) {
        if (!pWindow->isMinimized())
            continue;
        pWindow->move(x, nBottom - pWindow->height());
        x += pWindow->width();
    }
}
