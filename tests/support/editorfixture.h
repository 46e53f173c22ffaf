#pragma once

// What the editor tests share once the editor is started: the settings a
// start begins with, files opened in it, and what a view shows of them.

#include "core/editor/colourer.h"
#include "core/editor/undohistory.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/editbuffer.h"
#include "gui/editor/longlines.h"
#include "gui/editor/scriptview.h"
#include "gui/frame/mainfrm.h"
#include "tests/support/editorharness.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QVariant>

namespace VelkTest {

// One value a test's settings store starts with: a number or a string.
struct SSetting
{
    const char* pszName;
    QVariant value;
};

// The settings of a start that asks no first-run question and puts no
// header into new documents. The test's own settings come after and may
// override either.
inline CMemorySettingsStore Seed(const QList<SSetting>& settings = {})
{
    CMemorySettingsStore store;
    store.WriteInt(kSettingsSection, QStringLiteral("FirstRun"), 0);
    store.WriteInt(kSettingsSection, QStringLiteral("AddHeader"), 0);
    for (const SSetting& setting : settings) {
        if (setting.value.typeId() == QMetaType::QString)
            store.WriteString(kSettingsSection, QLatin1String(setting.pszName), setting.value.toString());
        else
            store.WriteInt(kSettingsSection, QLatin1String(setting.pszName), setting.value.toInt());
    }
    return store;
}

// Completion, white space and automatic tabs each add text of their own to
// a keystroke; a test that counts what keystrokes do switches on only those
// it is about.
struct STypingAids
{
    bool bAutoComplete = false;
    bool bWhiteSpace = false;
    bool bAutoTabs = false;
};

inline CMemorySettingsStore TypingSeed(STypingAids aids = {}, const QList<SSetting>& settings = {})
{
    QList<SSetting> all{{"AutoComplete", int(aids.bAutoComplete)},
                        {"WhiteSpace", int(aids.bWhiteSpace)},
                        {"AutoTabs", int(aids.bAutoTabs)}};
    all += settings;
    return Seed(all);
}

// A file written to a throw-away folder; its path, or nothing when it could
// not be written whole.
inline QString WriteScript(const QTemporaryDir& dir, const QString& sName, const QByteArray& content)
{
    const QString sPath = dir.filePath(sName);
    QFile file(sPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return QString();
    return sPath;
}

// A file written to a throw-away folder and opened in the editor.
inline CScriptDoc* Open(CStart& start, const QTemporaryDir& dir, const QString& sName, const QByteArray& content)
{
    const QString sPath = WriteScript(dir, sName, content);
    return sPath.isEmpty() ? nullptr : start.App().OpenDocumentFile(sPath);
}

inline CScriptView* View(const CScriptDoc* pDoc)
{
    return pDoc->Frame()->View();
}

// An editor started with the given settings and one file opened in it.
struct SOpenedFile
{
    explicit SOpenedFile(CMemorySettingsStore seedFirst = TypingSeed()) : seed(std::move(seedFirst)) { }

    bool Open(const QByteArray& content = QByteArray(), const QString& sName = QStringLiteral("typed.sqs"))
    {
        if (!start.App().InitInstance())
            return false;
        pDoc = VelkTest::Open(start, dir, sName, content);
        pView = pDoc ? View(pDoc) : nullptr;
        return pView != nullptr;
    }

    QTemporaryDir dir;
    CMemorySettingsStore seed;
    CStart start{{}, &seed};
    CScriptDoc* pDoc = nullptr;
    CScriptView* pView = nullptr;
};

inline QString Text(const CScriptView* pView)
{
    return pView->document()->toPlainText();
}

inline int LineStart(const CScriptView* pView, int nLine)
{
    return pView->document()->findBlockByNumber(nLine).position();
}

// The colour class the user sees on each character of a line, by the
// default colours; "." where the highlighter left the character alone, "?"
// for a colour that is none of the defaults.
inline QString Classes(const CScriptView* pView, int nLine)
{
    // Lines are coloured as they are shown; this one is looked at now.
    pView->ColourLines(nLine, nLine);
    const QTextBlock block = pView->document()->findBlockByNumber(nLine);
    QString sClasses(block.length() - 1, u'.');
    const QList<QPair<QColor, QChar>> letters{{QColor(0, 0, 0), u'T'},   {QColor(0, 128, 0), u'R'},
                                              {QColor(255, 0, 0), u'C'}, {QColor(255, 0, 255), u'W'},
                                              {QColor(0, 0, 255), u'S'}, {QColor(128, 128, 128), u'V'}};
    for (const QTextLayout::FormatRange& range : LongLines::Colours(block)) {
        QChar cLetter = u'?';
        for (const auto& [colour, c] : letters)
            if (range.format.foreground().color() == colour)
                cLetter = c;
        for (int i = range.start; i < range.start + range.length && i < sClasses.size(); ++i)
            sClasses[i] = cLetter;
    }
    return sClasses;
}

inline QStringList AllClasses(const CScriptView* pView)
{
    QStringList classes;
    for (int i = 0; i < pView->document()->blockCount(); ++i)
        classes.append(Classes(pView, i));
    return classes;
}

inline QString ClassesOf(const SLineColours& colours, qsizetype nLength)
{
    QString sClasses(nLength, u'.');
    for (const SColourRun& run : colours.runs)
        for (int i = run.nFrom; i < run.nTo; ++i)
            sClasses[i] = QLatin1Char("TRCWSV"[int(run.eClass)]);
    return sClasses;
}

// What the colourer says the lines of a text look like, block comments of
// function files carried from line to line.
inline QStringList ExpectedClasses(const CDictionary& dict, const QString& sText, EFileType eType)
{
    const QStringList lines = sText.split(u'\n');
    const QList<SLineColours> text = CColourer(dict).ColourText(lines, eType, SColourSwitches());
    QStringList classes;
    for (int nLine = 0; nLine < lines.size(); ++nLine)
        classes.append(ClassesOf(text[nLine], lines[nLine].size()));
    return classes;
}

// What the colourer says of one line taken by itself, no comment open at its start.
inline QString ExpectedLineClasses(const CDictionary& dict, const QString& sLine, EFileType eType)
{
    return ClassesOf(CColourer(dict).ColourLine(sLine, false, eType, SColourSwitches()), sLine.size());
}

// Snapshots the history holds: one for the state it started from, one per
// recorded step.
inline int Steps(const CEditBuffer& buffer)
{
    int n = 0;
    while (n < CUndoHistory::kRecords && buffer.History().UndoAt(n).bValid)
        ++n;
    return n;
}

inline int Steps(const CScriptView* pView)
{
    return Steps(pView->Document());
}

// The 32 bookmark slots in slot order, -1 for an empty one.
inline QList<int> Marks(const CEditBuffer& buffer)
{
    return QList<int>(buffer.Bookmarks().begin(), buffer.Bookmarks().end());
}

inline QList<int> Marks(const CScriptView* pView)
{
    return Marks(pView->Document());
}

// Slots filled from the first one on, the rest empty.
inline QList<int> MarksOf(const QList<int>& lines)
{
    QList<int> marks(kBookmarkSlots, -1);
    for (qsizetype i = 0; i < lines.size() && i < kBookmarkSlots; ++i)
        marks[i] = lines[i];
    return marks;
}

inline CBookmarkSlots SlotsOf(const QList<int>& marks)
{
    CBookmarkSlots arSlots = EmptyBookmarks();
    for (qsizetype i = 0; i < marks.size() && i < kBookmarkSlots; ++i)
        arSlots[i] = marks[i];
    return arSlots;
}

// A command of the main window's table, with its enabled state brought up
// to date as opening the Edit menu would.
inline QAction* EditAction(CStart& start, const QString& sText)
{
    CMainFrame* pMain = start.App().MainFrame();
    for (QMenu* pMenu : pMain->menuBar()->findChildren<QMenu*>())
        if (pMenu->title() == QStringLiteral("&Edit"))
            emit pMenu->aboutToShow();
    return pMain->Action(sText);
}

// Whether the main window's command is enabled as the Edit menu shows it.
inline bool EditCommandEnabled(CStart& start, const QString& sText)
{
    const QAction* pAction = EditAction(start, sText);
    return pAction && pAction->isEnabled();
}

// Looked up in the menu bar only: every document window carries a system
// menu of its own with a "&Close" in it.
inline QAction* MenuCommand(const CMainFrame* pMain, const QString& sText)
{
    QList<QMenu*> menus;
    for (QAction* pTop : pMain->menuBar()->actions())
        if (pTop->menu())
            menus.append(pTop->menu());
    while (!menus.isEmpty()) {
        for (QAction* pAction : menus.takeFirst()->actions()) {
            if (pAction->menu())
                menus.append(pAction->menu());
            else if (pAction->text() == sText)
                return pAction;
        }
    }
    return nullptr;
}

// Runs a menu-bar command as a click on it would; false when there is none.
inline bool Trigger(CStart& start, const QString& sCommand)
{
    QAction* pAction = MenuCommand(start.App().MainFrame(), sCommand);
    if (!pAction)
        return false;
    pAction->trigger();
    return true;
}

}  // namespace VelkTest
