#include "gui/links/linkcommands.h"

#include "core/app/appinfo.h"
#include "core/app/prompter.h"
#include "core/app/settings.h"
#include "core/app/shell.h"
#include "core/links/gameinfo.h"
#include "core/links/launchplan.h"
#include "core/links/weblinks.h"
#include "core/links/wineprefix.h"
#include "gui/controls/commands.h"
#include "gui/documents/docmanager.h"
#include "gui/links/aboutdlg.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

CLinkCommands::CLinkCommands(CCommands& commands, const SServices& services, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pWindow(pWindow)
{
    // The command bar builds its help addresses on the same sites, so they
    // are settled before the first command can run.
    const AppInfo::SSiteOverrides sites = AppInfo::ReadSiteOverrides(m_services.store);
    for (const QString& sIgnored : sites.ignored)
        qWarning("Velk Edit: %s", qPrintable(sIgnored));
    AppInfo::UseSites(sites);

    commands.Bind(ECommand::HelpContents, [this] { OnHelpContents(); });
    commands.Bind(ECommand::About, [this] {
        CAboutDlg dialog(m_services.sVersion, m_pWindow);
        dialog.exec();
    });
    commands.Bind(ECommand::LaunchGame, [this] { OnLaunchGame(); });
    commands.Bind(ECommand::CommandReference, [this] { OpenAddress(WebLinks::CommandReferenceAddress()); });
    commands.Bind(ECommand::CheckForUpdates, [this] { OpenAddress(WebLinks::UpdateAddress(m_services.sVersion)); });
    commands.Bind(ECommand::ReportError, [this] { OpenAddress(WebLinks::ErrorReportAddress(m_services.sVersion)); });
}

void CLinkCommands::OnHelpContents()
{
    const QString sHelp = QDir(m_services.sAppPath).filePath(QStringLiteral("help/index.html"));
    if (!QFileInfo::exists(sHelp) || !m_services.shell.OpenUrl(QUrl::fromLocalFile(sHelp).toString()))
        m_services.prompter.ShowMessage(QStringLiteral("The help pages could not be opened:\n%1").arg(sHelp),
                                        AppInfo::kTitle, IPrompter::EIcon::Warning);
}

void CLinkCommands::OnLaunchGame()
{
    // The game reads the mission from disk. A document that fails to save has
    // said so itself, and the game starts all the same.
    m_services.documents.SaveAll();

    const SGameInfo& game = GameInfo(m_services.settings.m_bVelk != 0);
    const SInstallFolder folder = CWinePrefix(CWinePrefix::DefaultFolder()).InstallFolder(game);
    const QList<SFolderEntry> files = folder.sPath.isEmpty() ? QList<SFolderEntry>() : ListFolder(folder.sPath);
    const SLaunchPlan plan = PlanLaunch(game, folder, files, QStandardPaths::findExecutable(QStringLiteral("wine")));
    if (!plan.CanStart()) {
        m_services.prompter.ShowMessage(plan.sMessage, AppInfo::kTitle, IPrompter::EIcon::Warning);
        return;
    }
    if (!m_services.shell.StartProgram(plan.sProgram, plan.args, plan.sWorkingDir))
        m_services.prompter.ShowMessage(
            QStringLiteral("%1 could not be started:\n%2 %3").arg(game.sTitle, plan.sProgram, plan.args.join(u' ')),
            AppInfo::kTitle, IPrompter::EIcon::Warning);
}

void CLinkCommands::OpenAddress(const QString& sAddress)
{
    // Without a browser the user can still copy the address from here.
    if (!m_services.shell.OpenUrl(sAddress))
        m_services.prompter.ShowMessage(QStringLiteral("No web browser could be opened for:\n%1").arg(sAddress),
                                        AppInfo::kTitle, IPrompter::EIcon::Warning);
}
