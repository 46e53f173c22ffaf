#pragma once

#include "core/frame/commandtable.h"

#include <QObject>

#include <functional>
#include <map>

class QAction;
class QMenu;

// One action per command of the table, with its handler and its rules for
// being enabled and checked. A command without a handler stays disabled:
// nothing pretends to work before it does.
class CCommands : public QObject
{
    Q_OBJECT
public:
    using Rule = std::function<bool()>;

    explicit CCommands(QObject* pParent);

    void Bind(ECommand eId, std::function<void()> handler, Rule enabled = {}, Rule checked = {});
    QAction* Action(ECommand eId) const;
    // A command whose key also edits text (Del) answers that key only while
    // this widget has the focus; everywhere else the key keeps its own work.
    void BindKeyTo(ECommand eId, QWidget* pWidget);
    // Evaluates every rule, as menus open and when the interface is idle.
    void Refresh();

    // Fills a menu from its entries; lists the frame fills itself are
    // handed to fillList when the menu opens.
    using ListFiller = std::function<void(QMenu*, SMenuEntry::EKind)>;
    void BuildMenu(QMenu* pMenu, const QList<SMenuEntry>& entries, const ListFiller& fillList);

signals:
    // Before any command runs: what the editor shows that is not text yet
    // must go, so no command ever sees it.
    void CommandStarting();

private:
    struct SBinding
    {
        std::function<void()> handler;
        Rule enabled;
        Rule checked;
    };

    QAction* ActionFor(const SMenuEntry& entry, QMenu* pMenu);

    std::map<ECommand, QAction*> m_actions;
    std::map<ECommand, SBinding> m_bindings;
};
