#include "gui/app/scripteditapp.h"

#include "core/app/appinfo.h"
#include "core/app/filetypes.h"
#include "core/app/freedesktopassociationstore.h"
#include "core/app/inisettingsstore.h"
#include "core/app/filefilter.h"
#include "gui/controls/logoimage.h"
#include "gui/app/singleinstance.h"
#include "gui/app/splashwnd.h"
#include "gui/app/widgetprompter.h"
#include "gui/app/desktopshell.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/projectdocuments.h"
#include "gui/documents/scriptdoc.h"
#include "gui/frame/mainfrm.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

CScriptEditApp::CScriptEditApp(int& argc, char** argv, CAppEnvironment environment)
    : QApplication(argc, argv)
    , m_env(std::move(environment))
{
    setOrganizationName(AppInfo::kCompany);
    setApplicationName(AppInfo::kTitle);
    setApplicationVersion(QStringLiteral(VELK_VERSION));
    setQuitOnLastWindowClosed(true);
    setWindowIcon(QIcon(QPixmap::fromImage(LoadAppImage(QStringLiteral("velkedit.png")))));
    m_pPrompter = m_env.pPrompter
        ? std::move(m_env.pPrompter)
        : std::make_unique<CWidgetPrompter>([this]() -> QWidget* { return m_pMainFrame.get(); });
    m_pShell = m_env.pShell ? std::move(m_env.pShell) : std::make_unique<CDesktopShell>();
}

CScriptEditApp::~CScriptEditApp()
{
    m_project.SetDocuments(nullptr);
    m_pMainFrame.reset();
    m_pDocuments.reset();
}

bool CScriptEditApp::IsUnregisterArgument(const QString& sArgument)
{
    return sArgument.compare(QLatin1String("-UnregFileTypes"), Qt::CaseInsensitive) == 0;
}

bool CScriptEditApp::InitInstance()
{
    // Qt's widgets need no separate initialisation of common controls,
    // component libraries or control hosting, so nothing can fail before the store.
    SelectSettingsStore();
    const QScreen* pScreen = primaryScreen();
    m_settings.Read(*m_pStore, pScreen ? pScreen->size() : QSize(1024, 768));
    m_sVersion = AppInfo::kVersion;
    SelectAssociationStore();

    const QStringList args = arguments().mid(1);
    if (!args.isEmpty() && IsUnregisterArgument(args.first())) {
        UnregisterFileTypes(*m_pAssociations, m_settings, *m_pPrompter);
        return false;
    }
    const QStringList files = FileArguments();
    if (HandOffToRunningInstance(files))
        return false;

    m_pSplash = std::make_unique<CSplashWnd>();
    if (!m_pSplash->Create()) {
        m_pPrompter->ShowMessage(QStringLiteral("Splash window creation failed."), AppInfo::kTitle,
                                 IPrompter::EIcon::Error);
        m_nExitCode = 1;
        return false;
    }
    m_pSplash->SetStep(1, QStringLiteral("Loading Data..."));

    m_pRecentFiles = std::make_unique<CRecentFileList>(*m_pStore, m_settings.m_nAllowMenus ? 16 : 4);
    m_pRecentFiles->Read();

    RegisterOnFirstRun(*m_pAssociations, m_settings, *m_pPrompter);

    ChooseDataPaths();
    m_dictionary.LoadDataFiles(m_paths, m_settings.m_bVelk != 0);
    m_project.LoadProjectList(m_paths.m_sProjectFile);

    m_pSplash->SetStep(4, QStringLiteral("Initializing Dictionary..."));
    m_dictionary.BuildAutoComplete(m_settings.m_bAutoComplete != 0);

    CreateTemplates();
    if (!CreateMainFrame()) {
        m_nExitCode = 1;
        m_pSplash.reset();
        return false;
    }

    for (const QString& sFile : files + std::exchange(m_pendingOpens, {}))
        OpenDocumentFile(sFile);
    if (!files.isEmpty())
        m_settings.m_sCurProject.clear();

    m_pSplash->SetStep(7, QStringLiteral("Loading Project..."));
    OpenProjectAtStart();

    if (m_settings.m_bAppMax)
        m_pMainFrame->showMaximized();
    else
        m_pMainFrame->showNormal();
    m_pMainFrame->repaint();
    m_pSplash.reset();
    return true;
}

void CScriptEditApp::SelectSettingsStore()
{
    m_pStore = m_env.pStore ? std::move(m_env.pStore)
                            : std::make_unique<CIniSettingsStore>(AppInfo::kCompany, AppInfo::kTitle);
}

void CScriptEditApp::CreateTemplates()
{
    m_pDocuments = std::make_unique<CDocManager>(
        SDocServices{m_settings, *m_pPrompter, m_dictionary, *m_pStore, m_project, m_pRecentFiles.get()});
    m_pProjectDocuments = std::make_unique<CProjectDocuments>(*m_pDocuments);
    m_project.SetDocuments(m_pProjectDocuments.get());
}

void CScriptEditApp::OpenProjectAtStart()
{
    m_project.LoadProject();
    if (m_settings.m_sCurProject.isEmpty())
        return;
    m_project.OpenProjectFiles();
    if (m_project.IsProjectFile(m_settings.m_sStartFile))
        OpenDocumentFile(m_settings.m_sStartFile, false);
}

void CScriptEditApp::SelectAssociationStore()
{
    m_pAssociations = m_env.pAssociations
        ? std::move(m_env.pAssociations)
        : std::make_unique<CFreedesktopAssociationStore>(*m_pStore, CFreedesktopAssociationStore::UserFolders(applicationFilePath()));
}

bool CScriptEditApp::HandOffToRunningInstance(const QStringList& files)
{
    // Keyed by where the settings live: an editor started with other
    // settings is another editor and keeps its own files.
    const QString sName = m_env.sInstanceName.isEmpty()
        ? CSingleInstance::DefaultName(
            QSettings(QSettings::IniFormat, QSettings::UserScope, AppInfo::kCompany, AppInfo::kTitle).fileName())
        : m_env.sInstanceName;
    m_pInstance = new CSingleInstance(sName, this);
    if (m_pInstance->HandOff(files))
        return true;
    connect(m_pInstance, &CSingleInstance::FilesReceived, this, [this](const QStringList& received) {
        for (const QString& sFile : received)
            OpenDocumentFile(sFile);
        if (m_pMainFrame) {
            m_pMainFrame->raise();
            m_pMainFrame->activateWindow();
        }
    });
    if (sName.isEmpty())
        qWarning("Velk Edit: no folder private to this user for the single-instance socket; later starts will open "
                 "their own window");
    else if (!m_pInstance->Listen())
        qWarning("Velk Edit: cannot serve %s; later starts will open their own window", qPrintable(sName));
    return false;
}

void CScriptEditApp::ChooseDataPaths()
{
    const QString sExeDir = m_env.sExeDir.isEmpty() ? applicationDirPath() : m_env.sExeDir;
    const QString sUserDir = m_env.sUserDataDir.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        : m_env.sUserDataDir;
    const QString sDefaults = m_env.sDefaultsDir.isEmpty()
        ? QDir(sExeDir).absoluteFilePath(QStringLiteral("../share/velkedit"))
        : m_env.sDefaultsDir;
    m_paths = CDataPaths::FromAppPath(CDataPaths::ChooseAppPath(sExeDir, sUserDir, sDefaults));
}

bool CScriptEditApp::CreateMainFrame()
{
    m_pMainFrame = std::make_unique<CMainFrame>(SFrameServices{m_settings, *m_pStore, *m_pPrompter, *m_pShell,
                                                               *m_pAssociations, m_dictionary, m_project, *m_pDocuments,
                                                               m_paths, m_sVersion, [this] { SaveProjectData(); }});
    m_pDocuments->SetWindows(m_pMainFrame.get());
    if (m_pMainFrame->Create())
        return true;
    m_pDocuments->SetWindows(nullptr);
    m_pMainFrame.reset();
    return false;
}

QStringList CScriptEditApp::FileArguments() const
{
    QStringList files;
    for (const QString& sArg : arguments().mid(1)) {
        if (sArg.startsWith(QLatin1Char('-')))
            continue;
        files.append(QFileInfo(sArg).absoluteFilePath());
    }
    return files;
}

bool CScriptEditApp::ReloadDataFiles()
{
    return m_dictionary.ReloadDataFiles(m_paths, m_settings.m_bVelk != 0, *m_pPrompter);
}

CScriptDoc* CScriptEditApp::OpenDocumentFile(const QString& sPath, bool bAddToRecent)
{
    if (!m_pMainFrame) {
        m_pendingOpens.append(sPath);
        return nullptr;
    }
    return m_pDocuments->OpenDocumentFile(sPath, bAddToRecent);
}

void CScriptEditApp::SaveProjectData()
{
    m_project.SaveProject();
    if (!m_project.SaveProjectList(m_paths.m_sProjectFile))
        m_pPrompter->ShowMessage(
            QStringLiteral("Error saving the project list file:\n%1\n\nYour changes to the projects are lost.")
                .arg(m_paths.m_sProjectFile),
            QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
}
