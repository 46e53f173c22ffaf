// Starts the editor offscreen with a few sample documents and writes
// pictures of it for people to look at: the main window, a menu, the status bar.
#include "core/app/memoryassociationstore.h"
#include "core/app/memorysettingsstore.h"
#include "gui/app/scripteditapp.h"
#include "gui/documents/scriptdoc.h"
#include "gui/editor/scriptview.h"
#include "core/data/projectmodel.h"
#include "gui/controls/menutreectrl.h"
#include "gui/frame/mainfrm.h"
#include "gui/options/propsheet.h"
#include "gui/search/findreplacedlg.h"
#include "gui/search/searchcommands.h"
#include "gui/workspace/commandbardock.h"
#include "gui/workspace/commanddlg.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTabBar>
#include <QTextBlock>
#include <QTreeWidget>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString sOut = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QTemporaryDir work;
    for (const char* pszFile : {"commands.dat", "unit.dat", "header.dat"})
        QFile::copy(QStringLiteral(VELK_SHARE_DIR "/") + QLatin1String(pszFile), work.filePath(QLatin1String(pszFile)));
    // The shipped snippets, so the Snippets tab shows what a new user sees.
    QDir().mkpath(work.filePath(QStringLiteral("snippets")));
    for (const QFileInfo& snippet : QDir(QStringLiteral(VELK_SHARE_DIR "/snippets")).entryInfoList(QDir::Files))
        QFile::copy(snippet.filePath(), work.filePath(QStringLiteral("snippets/") + snippet.fileName()));
    QStringList samples;
    for (const char* pszFile : {"ambush.sqs", "convoy.sqf"}) {
        samples.append(work.filePath(QLatin1String(pszFile)));
        QFile::copy(QStringLiteral(VELK_SAMPLES_DIR "/") + QLatin1String(pszFile), samples.last());
    }

    CAppEnvironment env;
    auto pStore = std::make_unique<CMemorySettingsStore>();
    pStore->WriteInt(QStringLiteral("Settings"), QStringLiteral("LineNumbers"), 1);
    pStore->WriteInt(QStringLiteral("Settings"), QStringLiteral("ShowExt"), 1);
    pStore->WriteString(QStringLiteral("Bookmarks"), samples.last(), QStringLiteral("8,"));
    env.pStore = std::move(pStore);
    env.pAssociations = std::make_unique<CMemoryAssociationStore>();
    env.sExeDir = work.path();
    env.sInstanceName = QStringLiteral("velkedit-screenshots-%1").arg(QCoreApplication::applicationPid());
    // The editor takes its arguments for files to open; the output folder is not one.
    int nArgc = 1;
    CScriptEditApp app(nArgc, argv, std::move(env));
    if (!app.InitInstance())
        return 1;
    CProjectModel& project = app.Project();
    project.AddNewProject(QStringLiteral("Op Nightfall"));
    project.SwitchProject(QStringLiteral("Op Nightfall"));
    for (const QString& sSample : samples)
        project.AddProjectFile(sSample);
    for (const QString& sSample : samples)
        app.OpenDocumentFile(sSample);
    CMainFrame* pFrame = app.MainFrame();
    CCommandDlg* pBar = pFrame->CommandBar();
    pBar->CommandsTree()->topLevelItem(1)->setExpanded(true);
    pFrame->resize(850, 600);
    CScriptView* pView = pFrame->ActiveView();
    const int nLine = pView->document()->findBlockByNumber(9).position();
    pView->SetSelection(nLine + 4, nLine + 15);

    QDir().mkpath(sOut);
    QTimer::singleShot(200, &app, [&] {
        pFrame->grab().save(QDir(sOut).filePath(QStringLiteral("main-window.png")));
        pFrame->statusBar()->grab().save(QDir(sOut).filePath(QStringLiteral("status-bar.png")));
        const char* const tabs[] = {"project", "commands", "snippets"};
        for (int nTab = 0; nTab < 3; ++nTab) {
            pBar->Tabs()->setCurrentIndex(nTab);
            pFrame->CommandBarDock()->grab().save(
                QDir(sOut).filePath(QStringLiteral("command-bar-%1.png").arg(QLatin1String(tabs[nTab]))));
        }
        // The options sheet as a new user first sees it.
        {
            CPropSheet sheet(Options::FormOf(app.Settings()), pFrame);
            sheet.show();
            const char* const pages[] = {"general", "settings", "filetypes"};
            for (int nPage = 0; nPage < sheet.Tabs()->count(); ++nPage) {
                sheet.Tabs()->setCurrentIndex(nPage);
                sheet.Tabs()->widget(nPage)->grab().save(
                    QDir(sOut).filePath(QStringLiteral("options-%1.png").arg(QLatin1String(pages[nPage]))));
            }
        }
        // The find dialog after a Find All over the open documents, then in replace mode.
        {
            CSearchCommands& search = pFrame->Search();
            search.Open(SFindFields::kFind, SFindFields::kOpenDocuments);
            search.Dialog().FindEdit()->setText(QStringLiteral("_lead"));
            search.RunAll();
            search.Dialog().grab().save(QDir(sOut).filePath(QStringLiteral("find-dialog.png")));
            search.Open(SFindFields::kReplace, SFindFields::kDocument);
            search.Dialog().FindEdit()->setText(QStringLiteral("_lead"));
            search.Dialog().ReplaceEdit()->setText(QStringLiteral("_leader"));
            search.Dialog().grab().save(QDir(sOut).filePath(QStringLiteral("replace-dialog.png")));
            search.Dialog().hide();
        }
        QMenu* pEdit = pFrame->menuBar()->actions().value(1)->menu();
        pEdit->popup(pFrame->mapToGlobal(QPoint(40, 20)));
        QTimer::singleShot(200, &app, [&, pEdit] {
            pEdit->grab().save(QDir(sOut).filePath(QStringLiteral("edit-menu.png")));
            pEdit->close();
            std::printf("Pictures written to %s\n", qPrintable(QDir(sOut).absolutePath()));
            for (CScriptDoc* pDoc : app.Documents().AllDocuments())
                pDoc->SetModifiedFlag(false);
            pFrame->close();
            app.quit();
        });
    });
    return app.exec();
}
