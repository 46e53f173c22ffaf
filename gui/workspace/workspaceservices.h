#pragma once

#include "core/frame/commandtable.h"

#include <QPoint>

#include <functional>

class CChildFrame;
class CCommandDlg;
class CCommands;
class CDictionary;
class CDocManager;
class CProjectModel;
class CSettings;
class IPrompter;
class IShell;
struct CDataPaths;

// What the command bar's features work with; the main window owns all of it.
struct SWorkspaceServices
{
    CCommands& commands;
    CCommandDlg& bar;
    CSettings& settings;
    IPrompter& prompter;
    IShell& shell;
    CDictionary& dictionary;
    CProjectModel& project;
    CDocManager& documents;
    const CDataPaths& paths;
    // The active document window; null with none.
    std::function<CChildFrame*()> activeFrame;
    std::function<void(const QList<SMenuEntry>&, const QPoint& ptGlobal)> showMenu;
};
