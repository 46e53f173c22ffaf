#pragma once

#include "core/wizards/missionwizards.h"

#include <QObject>

#include <functional>

class CCommands;
class CDictionary;
class CDocManager;
class CSettings;
class IPrompter;
class QDialog;
class QWidget;

// The description, custom unit and crate builder wizards: each command
// shows its dialog over the dictionary and game of the moment and opens
// what it makes as a new document.
class CMissionWizardCommands : public QObject
{
    Q_OBJECT
public:
    struct SServices
    {
        CCommands& commands;
        CDocManager& documents;
        const CDictionary& dictionary;
        const CSettings& settings;
        IPrompter& prompter;
        QString sVersion;
    };

    // Runs a wizard's dialog modally; tests drive it themselves instead.
    using Runner = std::function<void(QDialog& dialog)>;

    CMissionWizardCommands(const SServices& services, QWidget* pWindow);

    void SetRunner(Runner runner);
    void SetRandom(MissionWizards::RandomSource random);

    void OnDescriptionWizard();
    void OnUnitWizard();
    void OnCrateWizard();

private:
    MissionWizards::SContext Context() const;

    SServices m_services;
    QWidget* m_pWindow;
    Runner m_runner;
    MissionWizards::RandomSource m_random;
};
