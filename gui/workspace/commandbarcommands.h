#pragma once

#include "gui/workspace/workspaceservices.h"

#include <QObject>

class QComboBox;

class CScriptView;
class QTreeWidgetItem;

// The Commands tab: the dictionary as a tree to browse and insert from, the
// help page of a command, and the go-to list of the active document.
class CCommandBarCommands : public QObject
{
    Q_OBJECT
public:
    explicit CCommandBarCommands(const SWorkspaceServices& services);

    // Again after the game changed: the dictionary then holds the other game's lists.
    void BuildCommandsTree();

    // The selected item's text in place of the active view's selection.
    void OnInsertCommand();
    void OnGetCommandHelp();
    // What the go-to list offers for the active document, as opening it shows.
    void FillGotoList();
    // Selects the last whole-word occurrence of the entry, ignoring case.
    void GoTo(const QString& sEntry);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QTreeWidgetItem* SelectedItem() const;
    CScriptView* ActiveView() const;
    bool CanInsertCommand() const;
    bool CanGetCommandHelp() const;

    SWorkspaceServices m_services;
    // Kept apart from the bar: while the bar goes down the list may still
    // see events, and the bar is no longer whole enough to ask.
    QComboBox* m_pGoto;
};
