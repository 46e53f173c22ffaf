#include "gui/controls/commands.h"

#include "gui/controls/commandicons.h"
#include "gui/controls/imagelist.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

CCommands::CCommands(QObject* pParent) : QObject(pParent)
{
    for (const SCommandInfo& info : CommandTable()) {
        const QString sText = QLatin1String(info.pszText);
        auto* pAction = new QAction(MenuLabel(sText), this);
        QList<QKeySequence> shortcuts;
        if (!Accelerator(sText).isEmpty())
            shortcuts.append(QKeySequence(Accelerator(sText)));
        if (info.eId == ECommand::Copy)
            shortcuts.append(QKeySequence(QStringLiteral("Ctrl+Insert")));
        if (info.eId == ECommand::Paste)
            shortcuts.append(QKeySequence(QStringLiteral("Shift+Insert")));
        pAction->setShortcuts(shortcuts);
        if (Accelerator(sText) == QLatin1String("Del"))
            pAction->setShortcutContext(Qt::WidgetShortcut);
        pAction->setStatusTip(CommandPrompt(info));
        pAction->setToolTip(ToolTip(info));
        const QString sIcon = QLatin1String(info.pszIcon);
        if (sIcon.startsWith(QLatin1String("image:")))
            pAction->setIcon(ImageListIcon(sIcon.mid(6).toInt()));
        else if (!sIcon.isEmpty())
            pAction->setIcon(CommandIcon(sIcon));
        pAction->setEnabled(false);
        const ECommand eId = info.eId;
        connect(pAction, &QAction::triggered, this, [this, eId] {
            const auto it = m_bindings.find(eId);
            if (it == m_bindings.end() || !it->second.handler)
                return;
            emit CommandStarting();
            it->second.handler();
        });
        m_actions[eId] = pAction;
    }
}

void CCommands::Bind(ECommand eId, std::function<void()> handler, Rule enabled, Rule checked)
{
    QAction* pAction = Action(eId);
    pAction->setCheckable(bool(checked));
    m_bindings[eId] = {std::move(handler), std::move(enabled), std::move(checked)};
    pAction->setEnabled(true);
}

QAction* CCommands::Action(ECommand eId) const
{
    return m_actions.at(eId);
}

void CCommands::BindKeyTo(ECommand eId, QWidget* pWidget)
{
    pWidget->addAction(Action(eId));
}

void CCommands::Refresh()
{
    for (const auto& [eId, binding] : m_bindings) {
        QAction* pAction = Action(eId);
        pAction->setEnabled(!binding.enabled || binding.enabled());
        if (binding.checked)
            pAction->setChecked(binding.checked());
    }
}

QAction* CCommands::ActionFor(const SMenuEntry& entry, QMenu* pMenu)
{
    QAction* pAction = Action(entry.eCommand);
    if (!entry.pszText)
        return pAction;
    // The same command under another text (a context menu's short form):
    // an action of the menu's own that runs the shared one.
    auto* pAlias = new QAction(QLatin1String(entry.pszText), pMenu);
    pAlias->setStatusTip(pAction->statusTip());
    pAlias->setIcon(pAction->icon());
    pAlias->setEnabled(pAction->isEnabled());
    connect(pAlias, &QAction::triggered, pAction, &QAction::trigger);
    return pAlias;
}

void CCommands::BuildMenu(QMenu* pMenu, const QList<SMenuEntry>& entries, const ListFiller& fillList)
{
    connect(pMenu, &QMenu::aboutToShow, this, &CCommands::Refresh);
    for (const SMenuEntry& entry : entries) {
        switch (entry.eKind) {
        case SMenuEntry::Command:
            pMenu->addAction(ActionFor(entry, pMenu));
            break;
        case SMenuEntry::Separator:
            pMenu->addSeparator();
            break;
        case SMenuEntry::Submenu:
            BuildMenu(pMenu->addMenu(QLatin1String(entry.pszText)), entry.children, fillList);
            break;
        case SMenuEntry::RecentFiles:
        case SMenuEntry::WindowList: {
            // The list goes into a submenu of its own, or fills this menu.
            QMenu* pList = entry.pszText ? pMenu->addMenu(QLatin1String(entry.pszText)) : pMenu;
            const SMenuEntry::EKind eKind = entry.eKind;
            connect(pMenu, &QMenu::aboutToShow, this, [pList, eKind, fillList] { fillList(pList, eKind); });
            break;
        }
        }
    }
}
