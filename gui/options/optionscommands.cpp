#include "gui/options/optionscommands.h"

#include "core/app/filetypes.h"
#include "core/app/settings.h"
#include "core/data/dictionary.h"
#include "gui/controls/commands.h"
#include "gui/options/propsheet.h"

COptionsCommands::COptionsCommands(CCommands& commands, const SServices& services, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pWindow(pWindow)
{
    SetSheet({});
    commands.Bind(ECommand::Options, [this] { OnOptions(); });
}

void COptionsCommands::SetSheet(Sheet sheet)
{
    if (sheet) {
        m_sheet = std::move(sheet);
        return;
    }
    m_sheet = [this](const Options::SForm& form) -> std::optional<Options::SForm> {
        CPropSheet sheet(form, m_pWindow);
        if (sheet.exec() != QDialog::Accepted)
            return std::nullopt;
        return sheet.Form();
    };
}

void COptionsCommands::OnOptions()
{
    // The pages start from the settings as they are now, every time.
    if (const std::optional<Options::SForm> form = m_sheet(Options::FormOf(m_services.settings)))
        ApplyForm(*form);
}

void COptionsCommands::ApplyForm(const Options::SForm& form)
{
    CSettings& settings = m_services.settings;
    const Options::SApplied applied = Options::Apply(form, settings);
    if (applied.bFont)
        m_services.rebuildFont();
    if (applied.bGame) {
        SwitchGame();
    } else if (settings.m_bAutoComplete && m_services.dictionary.m_arAutoComplete.isEmpty()) {
        // Completion switched on in a session that started without it has no
        // words yet; it works from now on, not from the next start.
        m_services.dictionary.BuildAutoComplete(true);
    }
    // Each routine reports its own failure; one extension the desktop
    // refuses does not keep the others from being done.
    for (const SFileTypeInfo* pType : applied.fileTypes)
        UpdateFileType(m_services.associations, settings, *pType, m_services.prompter);
    settings.NotifyChanged();
}

void COptionsCommands::SwitchGame()
{
    CDictionary& dictionary = m_services.dictionary;
    dictionary.ReloadDataFiles(m_services.paths, m_services.settings.m_bVelk != 0, m_services.prompter);
    // Loading empties the completion words along with every other list.
    dictionary.BuildAutoComplete(m_services.settings.m_bAutoComplete != 0);
    if (m_services.rebuildCommandsTree)
        m_services.rebuildCommandsTree();
}
