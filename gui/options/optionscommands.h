#pragma once

#include "core/options/optionsform.h"

#include <QObject>

#include <functional>
#include <optional>

class CCommands;
class CDictionary;
class CSettings;
class IAssociationStore;
class IPrompter;
class QWidget;
struct CDataPaths;

// The Options command: shows the sheet over a copy of the settings and, on
// OK, puts into effect what changed.
class COptionsCommands : public QObject
{
    Q_OBJECT
public:
    // Shows the sheet for this form; the form the user accepted, or nothing
    // on Cancel. Tests answer it themselves instead of showing a dialog.
    using Sheet = std::function<std::optional<Options::SForm>(const Options::SForm& form)>;

    struct SServices
    {
        CSettings& settings;
        IAssociationStore& associations;
        IPrompter& prompter;
        CDictionary& dictionary;
        const CDataPaths& paths;
        std::function<void()> rebuildFont;
        // The Commands tab shows the dictionary, so it follows a game change.
        std::function<void()> rebuildCommandsTree;
    };

    COptionsCommands(CCommands& commands, const SServices& services, QWidget* pWindow);

    void SetSheet(Sheet sheet);
    void OnOptions();
    // OK's follow-up, in its order.
    void ApplyForm(const Options::SForm& form);

private:
    void SwitchGame();

    SServices m_services;
    QWidget* m_pWindow;
    Sheet m_sheet;
};
