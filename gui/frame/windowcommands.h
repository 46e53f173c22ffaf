#pragma once

#include <QObject>

class CCommands;
class CMainFrame;
class QMenu;

// The main window's own commands: Exit, the View menu's bar toggles and the
// Window menu with its arrangements and the list of open windows.
class CWindowCommands : public QObject
{
    Q_OBJECT
public:
    CWindowCommands(CCommands& commands, CMainFrame& frame);

    // The four arrangements, then up to 24 windows.
    void FillWindowList(QMenu* pMenu);

private:
    void ToggleBar(QWidget* pBar, int& bShown);
    void TileWindows(Qt::Orientation eOrientation);
    void ArrangeIcons();

    CCommands& m_commands;
    CMainFrame& m_frame;
};
