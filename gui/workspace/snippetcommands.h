#pragma once

#include "core/workspace/snippetstore.h"
#include "gui/workspace/workspaceservices.h"

#include <QObject>

class CMenuTreeCtrl;
class CScriptView;

// The Snippets tab: pieces of script kept one file each in the snippets
// folder, saved from a selection and inserted at the caret.
class CSnippetCommands : public QObject
{
    Q_OBJECT
public:
    explicit CSnippetCommands(const SWorkspaceServices& services);

    void RefreshSnippetList();

private:
    // The list afresh, with sCurrent as the current item when it is listed.
    void RefreshSnippetList(const QString& sCurrent);
    void BindCommands();
    CMenuTreeCtrl* Tree() const;
    CSnippetStore Store() const;
    CScriptView* ActiveView() const;
    // The snippet the tree's current item stands for; empty for the root or none.
    QString CurrentSnippet() const;

    void OnSaveSnippet();
    void OnInsertSnippet();
    void OnEditSnippet();
    void OnRenameSnippet();
    void OnDeleteSnippet();

    SWorkspaceServices m_services;
};
