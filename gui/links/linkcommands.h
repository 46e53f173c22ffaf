#pragma once

#include <QObject>

class CCommands;
class CDocManager;
class CSettings;
class IPrompter;
class ISettingsStore;
class IShell;
class QWidget;

// Everything the editor hands to the desktop: the help pages and the about
// box, the web links, and the start of the selected game.
class CLinkCommands : public QObject
{
    Q_OBJECT
public:
    struct SServices
    {
        IShell& shell;
        IPrompter& prompter;
        QString sAppPath;  // the data folder, where help/ lies
        QString sVersion;
        CDocManager& documents;
        const CSettings& settings;    // which game is started
        const ISettingsStore& store;  // the sites the user put in place of ours
    };

    CLinkCommands(CCommands& commands, const SServices& services, QWidget* pWindow);

private:
    void OnHelpContents();
    void OnLaunchGame();
    void OpenAddress(const QString& sAddress);

    SServices m_services;
    QWidget* m_pWindow;
};
