#pragma once

#include "core/app/associationstore.h"
#include "core/app/datapaths.h"
#include "core/app/prompter.h"
#include "core/app/recentfilelist.h"
#include "core/app/settings.h"
#include "core/app/settingsstore.h"
#include "core/app/shell.h"
#include "core/data/dictionary.h"
#include "core/data/projectmodel.h"

#include <QApplication>

#include <memory>

class CDocManager;
class CMainFrame;
class CProjectDocuments;
class CScriptDoc;
class CSingleInstance;
class CSplashWnd;

// What the start-up takes from its surroundings; tests replace any of it.
struct CAppEnvironment
{
    std::unique_ptr<ISettingsStore> pStore;            // the user's INI file when empty
    std::unique_ptr<IPrompter> pPrompter;              // real message boxes when empty
    std::unique_ptr<IAssociationStore> pAssociations;  // the desktop's file associations when empty
    std::unique_ptr<IShell> pShell;                    // the desktop's own when empty
    QString sExeDir;                                   // the executable's folder when empty
    QString sUserDataDir;                              // the per-user data folder when empty
    QString sDefaultsDir;                              // the installed defaults when empty
    QString sInstanceName;                             // the per-user name when empty
};

// The process: settings, data files, the project, the documents and the
// main window, made in the start-up's order and kept until the end.
class CScriptEditApp : public QApplication
{
    Q_OBJECT
public:
    CScriptEditApp(int& argc, char** argv, CAppEnvironment environment = {});
    ~CScriptEditApp() override;

    // The start-up sequence; false ends the process (ExitCode tells how).
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }

    ISettingsStore& Store() { return *m_pStore; }
    IPrompter& Prompter() { return *m_pPrompter; }
    CSettings& Settings() { return m_settings; }
    const CDataPaths& Paths() const { return m_paths; }
    CDictionary& Dictionary() { return m_dictionary; }
    CProjectModel& Project() { return m_project; }
    IAssociationStore& Associations() { return *m_pAssociations; }
    CDocManager& Documents() const { return *m_pDocuments; }
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    const QString& Version() const { return m_sVersion; }
    CRecentFileList* RecentFiles() const { return m_pRecentFiles.get(); }
    bool ReloadDataFiles();

    // The shell's open: files arrive here from the command line, a second
    // start, drops, the recent-file list and projects. An open file is only
    // activated. Null when it cannot be opened or no main window stands yet
    // (files handed over that early wait in line).
    CScriptDoc* OpenDocumentFile(const QString& sPath, bool bAddToRecent = true);
    // The current project into the list, then the list to disk; the user
    // hears of it when the disk refuses.
    void SaveProjectData();

    static bool IsUnregisterArgument(const QString& sArgument);

private:
    void SelectSettingsStore();
    bool HandOffToRunningInstance(const QStringList& files);
    void ChooseDataPaths();
    bool CreateMainFrame();
    QStringList FileArguments() const;
    void SelectAssociationStore();
    void CreateTemplates();
    void OpenProjectAtStart();

    CAppEnvironment m_env;
    std::unique_ptr<ISettingsStore> m_pStore;
    std::unique_ptr<IPrompter> m_pPrompter;
    std::unique_ptr<IShell> m_pShell;
    CSettings m_settings;
    QString m_sVersion;
    CDataPaths m_paths;
    CDictionary m_dictionary;
    CProjectModel m_project{m_settings};
    std::unique_ptr<IAssociationStore> m_pAssociations;
    std::unique_ptr<CRecentFileList> m_pRecentFiles;
    std::unique_ptr<CDocManager> m_pDocuments;
    std::unique_ptr<CProjectDocuments> m_pProjectDocuments;
    std::unique_ptr<CSplashWnd> m_pSplash;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    CSingleInstance* m_pInstance = nullptr;
    QStringList m_pendingOpens;
    int m_nExitCode = 0;
};
