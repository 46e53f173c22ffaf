#include "gui/workspace/commandbarcommands.h"

#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"

CCommandBarCommands::CCommandBarCommands(const SWorkspaceServices& services)
    : QObject(&services.bar)
    , m_services(services)
{
    m_services.bar.CommandsTree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Leaf ? CommandItemMenu() : QList<SMenuEntry>();
        },
        m_services.showMenu);
}

void CCommandBarCommands::BuildCommandsTree()
{
}
