#pragma once

#include <QObject>

class CCommands;
class CDocManager;
class CProjectModel;
class CScriptDoc;
class IPrompter;

// Tools > Localize Strings: the texts of every script of the project go
// into the project's string table.
class CLocalizeCommands : public QObject
{
    Q_OBJECT
public:
    struct SServices
    {
        CCommands& commands;
        CProjectModel& project;
        CDocManager& documents;
        IPrompter& prompter;
    };

    CLocalizeCommands(const SServices& services, QObject* pParent);

    void OnLocalizeStrings();

private:
    // False when the run stopped early or left a script unwritten.
    bool Run();
    // The project's string table, created or added when the user agrees;
    // empty when there is none to use.
    QString StringTablePath(const QString& sFirstScript);
    // The table's document, open in a window; null when it cannot be opened.
    CScriptDoc* OpenTable(const QString& sPath);

    SServices m_services;
};
