#include "gui/links/linkcommands.h"

#include "core/app/appinfo.h"
#include "core/app/prompter.h"
#include "core/app/shell.h"
#include "gui/controls/commands.h"
#include "gui/links/aboutdlg.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

CLinkCommands::CLinkCommands(CCommands& commands, const SServices& services, QWidget* pWindow)
    : QObject(pWindow)
    , m_services(services)
    , m_pWindow(pWindow)
{
    commands.Bind(ECommand::HelpContents, [this] { OnHelpContents(); });
    commands.Bind(ECommand::About, [this] {
        CAboutDlg dialog(m_services.sVersion, m_pWindow);
        dialog.exec();
    });
}

void CLinkCommands::OnHelpContents()
{
    const QString sHelp = QDir(m_services.sAppPath).filePath(QStringLiteral("help/index.html"));
    if (!QFileInfo::exists(sHelp) || !m_services.shell.OpenUrl(QUrl::fromLocalFile(sHelp).toString()))
        m_services.prompter.ShowMessage(QStringLiteral("The help pages could not be opened:\n%1").arg(sHelp),
                                        AppInfo::kTitle, IPrompter::EIcon::Warning);
}
