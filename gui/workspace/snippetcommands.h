#pragma once

#include "gui/workspace/workspaceservices.h"

#include <QObject>

// The Snippets tab: pieces of script kept one file each in the snippets
// folder, saved from a selection and inserted at the caret.
class CSnippetCommands : public QObject
{
    Q_OBJECT
public:
    explicit CSnippetCommands(const SWorkspaceServices& services);

    void RefreshSnippetList();

private:
    SWorkspaceServices m_services;
};
