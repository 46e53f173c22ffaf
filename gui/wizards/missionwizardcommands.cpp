#include "gui/wizards/missionwizardcommands.h"

#include "core/app/settings.h"
#include "gui/controls/commands.h"
#include "gui/documents/docmanager.h"
#include "gui/wizards/cratedlg.h"
#include "gui/wizards/descriptiondlg.h"
#include "gui/wizards/unitdlg.h"

#include <QDialog>

CMissionWizardCommands::CMissionWizardCommands(const SServices& services, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pWindow(pWindow)
{
    SetRunner({});
    SetRandom({});
    m_services.commands.Bind(ECommand::DescriptionWizard, [this] { OnDescriptionWizard(); });
    m_services.commands.Bind(ECommand::UnitWizard, [this] { OnUnitWizard(); });
    m_services.commands.Bind(ECommand::CrateWizard, [this] { OnCrateWizard(); });
}

void CMissionWizardCommands::SetRunner(Runner runner)
{
    m_runner = runner ? std::move(runner) : [](QDialog& dialog) { dialog.exec(); };
}

void CMissionWizardCommands::SetRandom(MissionWizards::RandomSource random)
{
    m_random = random ? std::move(random) : MissionWizards::SystemRandom();
}

MissionWizards::SContext CMissionWizardCommands::Context() const
{
    CDocManager& documents = m_services.documents;
    return {m_services.dictionary,
            m_services.prompter,
            m_services.settings.m_bVelk != 0,
            m_services.sVersion,
            [&documents](EDocKind eKind, const QString& sText, const QString& sTitle) {
                return documents.CreateDocFromText(eKind, sText, sTitle) != nullptr;
            },
            m_random};
}

void CMissionWizardCommands::OnDescriptionWizard()
{
    CDescriptionDlg dialog(Context(), m_pWindow);
    m_runner(dialog);
}

void CMissionWizardCommands::OnUnitWizard()
{
    CUnitDlg dialog(Context(), m_pWindow);
    m_runner(dialog);
}

void CMissionWizardCommands::OnCrateWizard()
{
    CCrateDlg dialog(Context(), m_pWindow);
    m_runner(dialog);
}
