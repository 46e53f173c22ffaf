#pragma once

#include <QObject>

class CCommands;
class IPrompter;
class IShell;
class QWidget;

// The Help menu: the help pages through the desktop, and the about box.
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
    };

    CLinkCommands(CCommands& commands, const SServices& services, QWidget* pWindow);

private:
    void OnHelpContents();

    SServices m_services;
    QWidget* m_pWindow;
};
