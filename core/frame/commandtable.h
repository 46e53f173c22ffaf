#pragma once

#include <QList>
#include <QString>

#include <span>

// Every command of the main window: the menus, the tool bar and the context
// menus are built from this one table.
enum class ECommand {
    FileNew,
    NewScript,
    NewDescription,
    NewBriefing,
    NewFunction,
    NewStringTable,
    NewText,
    BriefingWizard,
    OverviewWizard,
    DescriptionWizard,
    UnitWizard,
    CrateWizard,
    NewProject,
    Open,
    Close,
    Save,
    SaveAs,
    SaveAll,
    LaunchGame,
    Print,
    PrintPreview,
    PrintSetup,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Find,
    Replace,
    FindInFiles,
    ReplaceInFiles,
    EditBriefing,
    EditOverview,
    InsertCommand,
    GetCommandHelp,
    InsertSnippet,
    SaveSnippet,
    EditSnippet,
    DeleteSnippet,
    RenameSnippet,
    CommentOut,
    Uncomment,
    Uppercase,
    Lowercase,
    IncreaseIndent,
    DecreaseIndent,
    SelectAll,
    ToggleToolbar,
    ToggleCommandBar,
    ToggleScriptsBar,
    ToggleStatusBar,
    OpenProject,
    CloseProject,
    RenameProject,
    AddActiveFile,
    AddProjectFiles,
    RemoveProjectFile,
    OpenFile,
    CloseFile,
    RenameFile,
    RemoveFile,
    CommandReference,
    LocalizeStrings,
    EditCommandsData,
    EditUnitData,
    EditHeaderData,
    Options,
    HelpContents,
    CheckForUpdates,
    ReportError,
    About,
    Cascade,
    TileHorizontally,
    TileVertically,
    ArrangeIcons,
};

struct SCommandInfo
{
    ECommand eId;
    const char* pszText;    // menu text, accelerator after a tab
    const char* pszPrompt;  // status prompt, tooltip after a line break
    const char* pszIcon;    // name of its picture, "image:N" for slot N of the file images, empty for none
};

std::span<const SCommandInfo> CommandTable();
const SCommandInfo& CommandInfo(ECommand eId);

// The parts of a command's texts as a menu or tool bar wants them.
QString MenuLabel(const QString& sText);          // without the accelerator
QString Accelerator(const QString& sText);        // "Ctrl+O", empty for none
QString StatusPrompt(const QString& sPrompt);     // before the line break
QString ToolTip(const SCommandInfo& info);        // after it, or the label without "&"
QString CommandPrompt(const SCommandInfo& info);  // the status prompt as shown

// One entry of a menu: a command (with the text it shows there, when that
// differs from the table's), a separator, a submenu, or a list the frame
// fills when the menu opens.
struct SMenuEntry
{
    enum EKind { Command, Separator, Submenu, RecentFiles, WindowList };
    EKind eKind;
    ECommand eCommand = ECommand::FileNew;
    const char* pszText = nullptr;
    QList<SMenuEntry> children;
};

struct SMenu
{
    const char* pszTitle;
    QList<SMenuEntry> entries;
};

// The popups of the tool bar's New File and Find buttons, also submenus.
QList<SMenuEntry> NewFileMenu();
QList<SMenuEntry> FindMenu();

// The menu bar while no document window is open, and while one is.
QList<SMenu> MenuBar(bool bDocument);
QList<SMenuEntry> EditorContextMenu();
QList<SMenuEntry> ProjectBackgroundMenu();
QList<SMenuEntry> ProjectFileMenu();
QList<SMenuEntry> CommandItemMenu();
QList<SMenuEntry> SnippetItemMenu();
// The main tool bar, left to right; separators as Separator entries.
QList<SMenuEntry> ToolBarButtons();
