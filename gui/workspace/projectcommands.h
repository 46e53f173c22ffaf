#pragma once

#include "core/data/projectfile.h"
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
    CProjectModel& Project() const { return m_services.project; }
    bool Loaded() const;
    // The selected file item; kNoTreeItem for none or the root.
    HTreeItem SelectedFile() const;
    bool CanAddActiveFile() const;
    void OnNewProject();
    void OnOpenProject();
    void OnRenameProject();
    void OnAddActiveFile();
    void OnAddProjectFiles();
    void OnRenameFile();
    void FileError(const QString& sText);

    SWorkspaceServices m_services;
    std::unique_ptr<CProjectTree> m_pTree;
};
