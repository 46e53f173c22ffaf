#pragma once

#include "gui/workspace/workspaceservices.h"

#include <QObject>

#include <memory>

class CProjectTree;

// The Project tab and the project commands: the tree follows the project
// model, and the commands switch, rename and fill projects.
class CProjectCommands : public QObject
{
    Q_OBJECT
public:
    explicit CProjectCommands(const SWorkspaceServices& services);
    ~CProjectCommands() override;

private:
    SWorkspaceServices m_services;
    std::unique_ptr<CProjectTree> m_pTree;
};
