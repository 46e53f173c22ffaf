#include "gui/workspace/snippetcommands.h"

#include "gui/controls/menutreectrl.h"
#include "gui/workspace/commanddlg.h"

CSnippetCommands::CSnippetCommands(const SWorkspaceServices& services)
    : QObject(&services.bar)
    , m_services(services)
{
    m_services.bar.SnippetsTree()->SetMenus(
        [](CMenuTreeCtrl::EItemKind eKind) {
            return eKind == CMenuTreeCtrl::EItemKind::Leaf ? SnippetItemMenu() : QList<SMenuEntry>();
        },
        m_services.showMenu);
}

void CSnippetCommands::RefreshSnippetList()
{
}
