#pragma once

#include "gui/workspace/workspaceservices.h"

#include <QObject>

// The Commands tab: the dictionary as a tree to browse and insert from, the
// help page of a command, and the go-to list of the active document.
class CCommandBarCommands : public QObject
{
    Q_OBJECT
public:
    explicit CCommandBarCommands(const SWorkspaceServices& services);

    // Again after the game changed: the dictionary then holds the other game's lists.
    void BuildCommandsTree();

private:
    SWorkspaceServices m_services;
};
