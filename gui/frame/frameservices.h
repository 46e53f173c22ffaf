#pragma once

#include <QString>

#include <functional>

class CDictionary;
class CDocManager;
class CProjectModel;
class CSettings;
class IAssociationStore;
class IPrompter;
class IShell;
class ISettingsStore;
struct CDataPaths;

// What the main window works with; the application owns all of it.
struct SFrameServices
{
    CSettings& settings;
    ISettingsStore& store;
    IPrompter& prompter;
    IShell& shell;
    IAssociationStore& associations;
    CDictionary& dictionary;
    CProjectModel& project;
    CDocManager& documents;
    const CDataPaths& paths;
    QString sVersion;
    // The project records and the project list to disk, inside the close batch.
    std::function<void()> saveProjectData;
};
