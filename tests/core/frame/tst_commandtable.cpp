#include "core/frame/commandtable.h"

#include <QSet>
#include <QtTest>

namespace {

QStringList Texts(const QList<SMenuEntry>& entries)
{
    QStringList texts;
    for (const SMenuEntry& entry : entries) {
        switch (entry.eKind) {
        case SMenuEntry::Command:
            texts.append(entry.pszText ? QLatin1String(entry.pszText)
                                       : QLatin1String(CommandInfo(entry.eCommand).pszText));
            break;
        case SMenuEntry::Separator:
            texts.append(QStringLiteral("-"));
            break;
        case SMenuEntry::Submenu:
        case SMenuEntry::RecentFiles:
            texts.append(QLatin1Char('[') + QLatin1String(entry.pszText ? entry.pszText : "") + QLatin1Char(']'));
            break;
        case SMenuEntry::WindowList:
            texts.append(QStringLiteral("[windows]"));
            break;
        }
    }
    return texts;
}

}  // namespace

class TestCommandTable : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandOnceWithTextAndPrompt();
    void commandTexts_data();
    void commandTexts();
    void promptsAndTooltipsSplitAtTheLineBreak();
    void fileMenuDependsOnDocuments();
    void menuBarsHoldTheirMenus();
    void contextMenusUseTheirShortTexts();
    void toolBarKeepsItsOrder();
};

void TestCommandTable::everyCommandOnceWithTextAndPrompt()
{
    QSet<int> ids;
    for (const SCommandInfo& info : CommandTable()) {
        QVERIFY2(!ids.contains(int(info.eId)), info.pszText);
        ids.insert(int(info.eId));
        QVERIFY(*info.pszText);
        QVERIFY2(!CommandPrompt(info).isEmpty(), info.pszText);
        QCOMPARE(CommandInfo(info.eId).pszText, info.pszText);
    }
    QCOMPARE(ids.size(), int(ECommand::ArrangeIcons) + 1);
}

void TestCommandTable::commandTexts_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("prompt");
    auto row = [](ECommand e, const char* pszText, const char* pszPrompt) {
        QTest::newRow(pszText) << int(e) << QString::fromLatin1(pszText) << QString::fromLatin1(pszPrompt);
    };
    row(ECommand::NewBriefing, "&Briefing File (.html)", "Create a new html file\nNew HTML File");
    row(ECommand::UnitWizard, "Custom &Unit Wizard...",
        "Create a custom unit script using a wizard\nCustom Unit Wizard");
    row(ECommand::SaveAll, "Save A&ll\tF2", "Save all modified documents\nSave All");
    row(ECommand::Exit, "E&xit\tEsc", "Quit the application; prompts to save documents\nExit");
    row(ECommand::Replace, "&Replace\tCtrl+H", "Replace text in the active document");
    row(ECommand::FindInFiles, "Fin&d in Files\tCtrl+Shift+F", "Find text in multiple documents");
    row(ECommand::SaveSnippet, "&Save Snippet...",
        "Copy the selected text in the active document as a new snippet\nCopy As Snippet");
    row(ECommand::ToggleStatusBar, "S&tatus Bar", "Show or hide the status bar\nToggle StatusBar");
    row(ECommand::AddActiveFile, "&Add Active File",
        "Add the active document to the current project  (NOTE: Must have a valid path)");
    row(ECommand::Options, "&Options...", "Open the options Velk Edit\nOptions");
    row(ECommand::EditCommandsData, "Edit &Commands/Weapons Data",
        "Open the main data file for editing. This file contains the weapons, ammo, and equipment data.\nEdit Weapons "
        "Data");
    row(ECommand::CheckForUpdates, "&Check For Updates", "Check to see if this version of Velk Edit is up-to-date");
}

void TestCommandTable::commandTexts()
{
    QFETCH(int, command);
    QFETCH(QString, text);
    QFETCH(QString, prompt);
    const SCommandInfo& info = CommandInfo(ECommand(command));
    QCOMPARE(QLatin1String(info.pszText), text);
    QCOMPARE(QLatin1String(info.pszPrompt), prompt);
}

void TestCommandTable::promptsAndTooltipsSplitAtTheLineBreak()
{
    const SCommandInfo& save = CommandInfo(ECommand::Save);
    QCOMPARE(MenuLabel(QLatin1String(save.pszText)), QStringLiteral("&Save"));
    QCOMPARE(Accelerator(QLatin1String(save.pszText)), QStringLiteral("Ctrl+S"));
    QCOMPARE(CommandPrompt(save), QStringLiteral("Save the active document"));
    QCOMPARE(ToolTip(save), QStringLiteral("Save"));
    // Without a tooltip part the label stands in, without its "&".
    QCOMPARE(ToolTip(CommandInfo(ECommand::Replace)), QStringLiteral("Replace"));
    const SCommandInfo& manual = CommandInfo(ECommand::CommandReference);
    QVERIFY(CommandPrompt(manual).startsWith(QStringLiteral("Open the Command Reference Manual located at ")));
    QVERIFY(CommandPrompt(manual).size() > 45);
    QCOMPARE(ToolTip(manual), QStringLiteral("Command Reference Manual"));
}

void TestCommandTable::fileMenuDependsOnDocuments()
{
    QCOMPARE(Texts(MenuBar(false).first().entries),
             (QStringList{"[&New File]", "[&Wizard Created Files]", "N&ew Project...", "-", "&Open...\tCtrl+O", "-",
                          "Launch &Game", "-", "Print Set&up...", "-", "[&Recent Files]", "-", "E&xit\tEsc"}));
    QCOMPARE(Texts(MenuBar(true).first().entries),
             (QStringList{"[&New File]",
                          "[&Wizard Created Files]",
                          "N&ew Project...",
                          "-",
                          "&Open...\tCtrl+O",
                          "&Close",
                          "-",
                          "&Save\tCtrl+S",
                          "Save &As...",
                          "Save A&ll\tF2",
                          "-",
                          "Launch &Game",
                          "-",
                          "&Print...\tCtrl+P",
                          "Print Pre&view...",
                          "Print Set&up...",
                          "-",
                          "[&Recent Files]",
                          "-",
                          "E&xit\tEsc"}));
}

void TestCommandTable::menuBarsHoldTheirMenus()
{
    auto titles = [](bool bDocument) {
        QStringList list;
        for (const SMenu& menu : MenuBar(bDocument))
            list.append(QLatin1String(menu.pszTitle));
        return list;
    };
    QCOMPARE(titles(false), (QStringList{"&File", "&View", "&Project", "&Tools", "&Help"}));
    QCOMPARE(titles(true), (QStringList{"&File", "&Edit", "&View", "&Project", "&Tools", "&Window", "&Help"}));
    QCOMPARE(
        Texts(MenuBar(true)[6].entries),
        (QStringList{"&Help Contents\tF1", "-", "&Check For Updates", "&Report An Error", "-", "&About Velk Edit..."}));
}

void TestCommandTable::contextMenusUseTheirShortTexts()
{
    QCOMPARE(Texts(EditorContextMenu()),
             (QStringList{"&Cut", "C&opy", "&Paste", "-", "&Insert Command", "-", "I&nsert Snippet", "&Save Snippet...",
                          "-", "&Add to Project"}));
    QCOMPARE(Texts(ProjectFileMenu()), (QStringList{"&Open File", "&Close File", "&Rename File", "-", "R&emove File"}));
    QCOMPARE(Texts(SnippetItemMenu()),
             (QStringList{"&Insert Snippet", "&Edit/View Snippet", "&Rename Snippet", "-", "&Delete Snippet"}));
}

void TestCommandTable::toolBarKeepsItsOrder()
{
    const QStringList buttons = Texts(ToolBarButtons());
    QCOMPARE(buttons.first(), QStringLiteral("New File"));
    QCOMPARE(buttons.last(), QStringLiteral("Command Reference &Manual"));
    QCOMPARE(buttons.count(QStringLiteral("-")), 9);
    QCOMPARE(buttons.size(), 27 + 9);
}

QTEST_GUILESS_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
