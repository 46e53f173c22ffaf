#include "core/frame/commandtable.h"

#include "core/app/appinfo.h"

using C = ECommand;

namespace {

constexpr SCommandInfo kCommands[] = {
    {C::FileNew, "New File", "Open a new file\nNew File", "new"},
    {C::NewScript, "&Script File (.sqs)", "Create a new script file\nNew Script", "image:4"},
    {C::NewDescription, "&Description File (.ext)", "Create a new description file\nNew Description", "image:6"},
    {C::NewBriefing, "&Briefing File (.html)", "Create a new html file\nNew HTML File", "image:8"},
    {C::NewFunction, "&Function File (.sqf)", "Create a new function file\nNew Function File", "image:4"},
    {C::NewStringTable, "S&tring Table File (.csv)", "Create a new string table file\nNew String Table", "image:10"},
    {C::NewText, "Te&xt File (.txt)", "Create a new text file\nNew Text File", "image:12"},
    {C::BriefingWizard, "&Briefing Wizard...", "Create a new briefing using a wizard\nBriefing Wizard", "briefing"},
    {C::OverviewWizard, "&Overview Wizard...", "Create a new overview using a wizard\nOverview Wizard", "overview"},
    {C::DescriptionWizard, "&Description Wizard...", "Create a new description file using a wizard\nDescription Wizard",
     "description"},
    {C::UnitWizard, "Custom &Unit Wizard...", "Create a custom unit script using a wizard\nCustom Unit Wizard", "unit"},
    {C::CrateWizard, "&Crate Builder Wizard...", "Create a custom crate using a wizard\nCrate Builder Wizard", "crate"},
    {C::NewProject, "N&ew Project...", "Start a new blank project\nNew Project", "newproject"},
    {C::Open, "&Open...\tCtrl+O", "Open an existing document\nOpen", "open"},
    {C::Close, "&Close", "Close the active document\nClose", "close"},
    {C::Save, "&Save\tCtrl+S", "Save the active document\nSave", "save"},
    {C::SaveAs, "Save &As...", "Save the active document with a new name\nSave As", "saveas"},
    {C::SaveAll, "Save A&ll\tF2", "Save all modified documents\nSave All", "saveall"},
    {C::LaunchGame, "Launch &Game", "Launch the game\nLaunch Game", "launch"},
    {C::Print, "&Print...\tCtrl+P", "Print the active document\nPrint", "print"},
    {C::PrintPreview, "Print Pre&view...", "Display full pages\nPrint Preview", "preview"},
    {C::PrintSetup, "Print Set&up...", "Change the printer and printing options\nPrint Setup", "printsetup"},
    {C::Exit, "E&xit\tEsc", "Quit the application; prompts to save documents\nExit", "exit"},
    {C::Undo, "&Undo\tCtrl+Z", "Undo the last action\nUndo", "undo"},
    {C::Redo, "&Redo\tCtrl+Y", "Redo the previously undone action\nRedo", "redo"},
    {C::Cut, "&Cut\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut", "cut"},
    {C::Copy, "C&opy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy", "copy"},
    {C::Paste, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste", "paste"},
    {C::Find, "&Find\tCtrl+F", "Find text in the active document\nFind Text", "find"},
    {C::Replace, "&Replace\tCtrl+H", "Replace text in the active document", "replace"},
    {C::FindInFiles, "Fin&d in Files\tCtrl+Shift+F", "Find text in multiple documents", "findinfiles"},
    {C::ReplaceInFiles, "R&eplace in Files\tCtrl+Shift+H", "Replace text in multiple documents", "replaceinfiles"},
    {C::EditBriefing, "&Edit Briefing...", "Edit the current briefing with the Briefing Wizard\nEdit Briefing",
     "editbriefing"},
    {C::EditOverview, "E&dit Overview...", "Edit the current overview with the Overview Wizard\nEdit Overview",
     "editoverview"},
    {C::InsertCommand, "&Insert Command\tCtrl+D", "Insert the current command into the active document",
     "insertcommand"},
    {C::GetCommandHelp, "Get Command &Help", "Get help with the current command", "commandhelp"},
    {C::InsertSnippet, "I&nsert Snippet\tCtrl+E", "Insert the current snippet into the active document",
     "insertsnippet"},
    {C::SaveSnippet, "&Save Snippet...",
     "Copy the selected text in the active document as a new snippet\nCopy As Snippet", "savesnippet"},
    {C::EditSnippet, "Edi&t Snippet", "Edit the contents of the current snippet", "editsnippet"},
    {C::DeleteSnippet, "De&lete Snippet\tDel", "Delete the selected snippet", "deletesnippet"},
    {C::RenameSnippet, "&Rename Snippet", "Rename the selected snippet file\nRename Snippet", "renamesnippet"},
    {C::CommentOut, "&Comment Out Line(s)", "Comment out the selected lines\nComment Out", "comment"},
    {C::Uncomment, "U&ncomment Line(s)", "Uncomment the selected lines\nUncomment", "uncomment"},
    {C::Uppercase, "Make Selection &Uppercase", "Make the current selected text uppercase\nMake Uppercase", "upper"},
    {C::Lowercase, "Make Selection &Lowercase", "Make the current selected text lowercase\nMake Lowercase", "lower"},
    {C::IncreaseIndent, "&Increase Line Indent", "Increase the indentation of the selected lines\nIncrease Indent",
     "indent"},
    {C::DecreaseIndent, "&Decrease Line Indent", "Decrease the indentation of the selected lines\nDecrease Indent",
     "outdent"},
    {C::SelectAll, "Select &All\tCtrl+A", "Select the entire document\nSelect All", "selectall"},
    {C::ToggleToolbar, "&Main Toolbar", "Show or hide the main toolbar\nToggle Main Toolbar", ""},
    {C::ToggleCommandBar, "&Command Bar", "Show or hide the command bar\nToggle Command Bar", ""},
    {C::ToggleScriptsBar, "&Script Tabs Bar", "Show or hide the script tabs bar\nToggle Script Tabs Bar", ""},
    {C::ToggleStatusBar, "S&tatus Bar", "Show or hide the status bar\nToggle StatusBar", ""},
    {C::OpenProject, "&Open Project...", "Open or change the current project\nOpen Project", "openproject"},
    {C::CloseProject, "&Close Project", "Close the current project", "closeproject"},
    {C::RenameProject, "&Rename Project", "Rename the current project\nRename Project", "renameproject"},
    {C::AddActiveFile, "&Add Active File",
     "Add the active document to the current project  (NOTE: Must have a valid path)", "addactivefile"},
    {C::AddProjectFiles, "Add Project &Files...", "Add files to the current project", "addprojectfiles"},
    {C::RemoveProjectFile, "&Remove Project File\tDel", "Remove the selected file from the project",
     "removeprojectfile"},
    {C::OpenFile, "&Open File", "Open or activate the current project file", "openfile"},
    {C::CloseFile, "&Close File", "Close the current project file", "close"},
    {C::RenameFile, "&Rename File", "Rename the selected project file\nRename File", "renamefile"},
    {C::RemoveFile, "R&emove File", "Remove the selected file from the project", "removeprojectfile"},
    {C::CommandReference, "Command Reference &Manual", "", "manual"},
    {C::LocalizeStrings, "&Localize Strings", "Localize all the strings in the project to the string table",
     "localize"},
    {C::EditCommandsData, "Edit &Commands/Weapons Data",
     "Open the main data file for editing. This file contains the weapons, ammo, and equipment data.\nEdit Weapons "
     "Data",
     "editdata"},
    {C::EditUnitData, "Edit &Unit Wizard Data",
     "Open the unit data file for editing. This file contains data for the Special Unit Wizard.\nEdit Unit Data",
     "editdata"},
    {C::EditHeaderData, "Edit Auto &Header Data",
     "Open the header data file for editing. This file contains data for the auto added headers.\nEdit Header Data",
     "editdata"},
    {C::Options, "&Options...", "Open the options Velk Edit\nOptions", "options"},
    {C::HelpContents, "&Help Contents\tF1", "Get some help on scripting\nHelp", "help"},
    {C::CheckForUpdates, "&Check For Updates", "Check to see if this version of Velk Edit is up-to-date", "updates"},
    {C::ReportError, "&Report An Error", "Report an error with Velk Edit", "report"},
    {C::About, "&About Velk Edit...", "Display program information, version number and copyright\nAbout", "about"},
    {C::Cascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows", "cascade"},
    {C::TileHorizontally, "Tile &Horizontally", "Arrange windows as non-overlapping tiles\nTile Windows",
     "tilehorizontally"},
    {C::TileVertically, "Tile &Vertically", "Arrange windows as non-overlapping tiles\nTile Windows", "tilevertically"},
    {C::ArrangeIcons, "&Arrange Icons", "Arrange icons at the bottom of the window\nArrange Icons", "arrangeicons"},
};

SMenuEntry Cmd(ECommand eId, const char* pszText = nullptr)
{
    return {SMenuEntry::Command, eId, pszText, {}};
}

SMenuEntry Sep()
{
    return {SMenuEntry::Separator, C::FileNew, nullptr, {}};
}

SMenuEntry Sub(const char* pszTitle, QList<SMenuEntry> children)
{
    return {SMenuEntry::Submenu, C::FileNew, pszTitle, std::move(children)};
}

QList<SMenuEntry> WizardMenu()
{
    return {Cmd(C::BriefingWizard), Cmd(C::OverviewWizard), Cmd(C::DescriptionWizard), Cmd(C::UnitWizard),
            Cmd(C::CrateWizard)};
}

QList<SMenuEntry> FileMenu(bool bDocument)
{
    QList<SMenuEntry> entries = {Sub("&New File", NewFileMenu()), Sub("&Wizard Created Files", WizardMenu()),
                                 Cmd(C::NewProject), Sep(), Cmd(C::Open)};
    if (bDocument)
        entries += {Cmd(C::Close), Sep(), Cmd(C::Save), Cmd(C::SaveAs), Cmd(C::SaveAll)};
    entries += {Sep(), Cmd(C::LaunchGame), Sep()};
    if (bDocument)
        entries += {Cmd(C::Print), Cmd(C::PrintPreview)};
    entries += {Cmd(C::PrintSetup), Sep(), SMenuEntry{SMenuEntry::RecentFiles, C::FileNew, "&Recent Files", {}}, Sep(),
                Cmd(C::Exit)};
    return entries;
}

QList<SMenuEntry> EditMenu()
{
    return {Cmd(C::Undo),
            Cmd(C::Redo),
            Sep(),
            Cmd(C::Cut),
            Cmd(C::Copy),
            Cmd(C::Paste),
            Sep(),
            Sub("&Find and Replace", FindMenu()),
            Sep(),
            Cmd(C::EditBriefing),
            Cmd(C::EditOverview),
            Sep(),
            Cmd(C::InsertCommand),
            Sep(),
            Cmd(C::InsertSnippet),
            Cmd(C::SaveSnippet),
            Cmd(C::EditSnippet),
            Cmd(C::DeleteSnippet),
            Sep(),
            Sub("Ad&vanced",
                {Cmd(C::CommentOut), Cmd(C::Uncomment), Cmd(C::Uppercase), Cmd(C::Lowercase), Cmd(C::IncreaseIndent),
                 Cmd(C::DecreaseIndent)}),
            Sep(),
            Cmd(C::SelectAll)};
}

}  // namespace

std::span<const SCommandInfo> CommandTable()
{
    return kCommands;
}

const SCommandInfo& CommandInfo(ECommand eId)
{
    for (const SCommandInfo& info : kCommands)
        if (info.eId == eId)
            return info;
    return kCommands[0];
}

QString MenuLabel(const QString& sText)
{
    return sText.section(QLatin1Char('\t'), 0, 0);
}

QString Accelerator(const QString& sText)
{
    return sText.contains(QLatin1Char('\t')) ? sText.section(QLatin1Char('\t'), 1) : QString();
}

QString StatusPrompt(const QString& sPrompt)
{
    return sPrompt.section(QLatin1Char('\n'), 0, 0);
}

QString CommandPrompt(const SCommandInfo& info)
{
    if (info.eId == C::CommandReference)
        return QStringLiteral("Open the Command Reference Manual located at ") + AppInfo::kCommandReferenceHost;
    return StatusPrompt(QLatin1String(info.pszPrompt));
}

QString ToolTip(const SCommandInfo& info)
{
    if (info.eId == C::CommandReference)
        return QStringLiteral("Command Reference Manual");
    const QString sPrompt = QLatin1String(info.pszPrompt);
    if (sPrompt.contains(QLatin1Char('\n')))
        return sPrompt.section(QLatin1Char('\n'), 1);
    return MenuLabel(QLatin1String(info.pszText)).remove(QLatin1Char('&'));
}

QList<SMenuEntry> NewFileMenu()
{
    return {Cmd(C::NewScript),   Cmd(C::NewDescription), Cmd(C::NewBriefing),
            Cmd(C::NewFunction), Cmd(C::NewStringTable), Cmd(C::NewText)};
}

QList<SMenuEntry> FindMenu()
{
    return {Cmd(C::Find), Cmd(C::Replace), Cmd(C::FindInFiles), Cmd(C::ReplaceInFiles)};
}

QList<SMenu> MenuBar(bool bDocument)
{
    QList<SMenu> bar = {{"&File", FileMenu(bDocument)}};
    if (bDocument)
        bar.append({"&Edit", EditMenu()});
    bar.append({"&View",
                {Cmd(C::ToggleToolbar), Cmd(C::ToggleCommandBar), Cmd(C::ToggleScriptsBar), Cmd(C::ToggleStatusBar)}});
    bar.append({"&Project",
                {Cmd(C::OpenProject), Cmd(C::CloseProject), Cmd(C::RenameProject), Sep(), Cmd(C::AddActiveFile),
                 Cmd(C::AddProjectFiles), Sep(), Cmd(C::RemoveProjectFile)}});
    bar.append({"&Tools",
                {Cmd(C::CommandReference), Sep(), Cmd(C::LocalizeStrings), Sep(), Cmd(C::EditCommandsData),
                 Cmd(C::EditUnitData), Cmd(C::EditHeaderData), Sep(), Cmd(C::Options)}});
    if (bDocument)
        bar.append({"&Window", {SMenuEntry{SMenuEntry::WindowList, C::FileNew, nullptr, {}}}});
    bar.append(
        {"&Help", {Cmd(C::HelpContents), Sep(), Cmd(C::CheckForUpdates), Cmd(C::ReportError), Sep(), Cmd(C::About)}});
    return bar;
}

QList<SMenuEntry> EditorContextMenu()
{
    return {Cmd(C::Cut, "&Cut"),
            Cmd(C::Copy, "C&opy"),
            Cmd(C::Paste, "&Paste"),
            Sep(),
            Cmd(C::InsertCommand, "&Insert Command"),
            Sep(),
            Cmd(C::InsertSnippet, "I&nsert Snippet"),
            Cmd(C::SaveSnippet),
            Sep(),
            Cmd(C::AddActiveFile, "&Add to Project")};
}

QList<SMenuEntry> ProjectBackgroundMenu()
{
    return {Cmd(C::OpenProject),   Cmd(C::CloseProject),   Cmd(C::RenameProject), Sep(),
            Cmd(C::AddActiveFile), Cmd(C::AddProjectFiles)};
}

QList<SMenuEntry> ProjectFileMenu()
{
    return {Cmd(C::OpenFile), Cmd(C::CloseFile), Cmd(C::RenameFile), Sep(), Cmd(C::RemoveFile)};
}

QList<SMenuEntry> CommandItemMenu()
{
    return {Cmd(C::InsertCommand, "&Insert Command"), Cmd(C::GetCommandHelp)};
}

QList<SMenuEntry> SnippetItemMenu()
{
    return {Cmd(C::InsertSnippet, "&Insert Snippet"), Cmd(C::EditSnippet, "&Edit/View Snippet"), Cmd(C::RenameSnippet),
            Sep(), Cmd(C::DeleteSnippet, "&Delete Snippet")};
}

QList<SMenuEntry> ToolBarButtons()
{
    return {Cmd(C::FileNew),
            Cmd(C::OpenProject),
            Cmd(C::Open),
            Cmd(C::Save),
            Cmd(C::SaveAll),
            Sep(),
            Cmd(C::Cut),
            Cmd(C::Copy),
            Cmd(C::Paste),
            Sep(),
            Cmd(C::Undo),
            Cmd(C::Redo),
            Sep(),
            Cmd(C::Find),
            Sep(),
            Cmd(C::CommentOut),
            Cmd(C::Uncomment),
            Cmd(C::Uppercase),
            Cmd(C::Lowercase),
            Cmd(C::IncreaseIndent),
            Cmd(C::DecreaseIndent),
            Sep(),
            Cmd(C::BriefingWizard),
            Cmd(C::OverviewWizard),
            Cmd(C::DescriptionWizard),
            Cmd(C::UnitWizard),
            Cmd(C::CrateWizard),
            Sep(),
            Cmd(C::EditBriefing),
            Cmd(C::EditOverview),
            Sep(),
            Cmd(C::Options),
            Sep(),
            Cmd(C::LaunchGame),
            Sep(),
            Cmd(C::CommandReference)};
}
