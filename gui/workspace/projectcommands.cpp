#include "gui/workspace/projectcommands.h"

#include "core/app/filefilter.h"
#include "core/app/prompter.h"
#include "core/app/settings.h"
#include "core/app/settingsstore.h"
#include "core/data/projectmodel.h"
#include "core/workspace/projectrename.h"
#include "gui/controls/commands.h"
#include "gui/controls/menutreectrl.h"
#include "gui/documents/childfrm.h"
#include "gui/documents/docmanager.h"
#include "gui/documents/scriptdoc.h"
#include "gui/workspace/commanddlg.h"
#include "gui/workspace/projectsdlg.h"
#include "gui/workspace/projecttree.h"

#include <QFile>
#include <QFileInfo>

using C = ECommand;

CProjectCommands::CProjectCommands(const SWorkspaceServices& services)
    : QObject(&services.bar)
    , m_services(services)
    , m_pTree(std::make_unique<CProjectTree>(*services.bar.ProjectTree()))
{
    Project().SetTree(m_pTree.get());
    CMenuTreeCtrl* pTree = m_services.bar.ProjectTree();
    using EKind = CMenuTreeCtrl::EItemKind;
    pTree->SetMenus([](EKind eKind) { return eKind == EKind::Root ? ProjectBackgroundMenu() : ProjectFileMenu(); },
                    m_services.showMenu);
    // A project file opens with a double click; the root opens nothing.
    connect(pTree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* pItem) { Project().OpenProjectFile(m_pTree->HandleOf(pItem)); });

    CCommands& commands = m_services.commands;
    const auto loaded = [this] { return Loaded(); };
    // Room for one more file: the records end at 32, and the rule leaves one spare.
    const auto roomForFiles = [this] { return Loaded() && Project().ProjectFileCount() <= 30; };
    const auto fileSelected = [this] { return SelectedFile() != kNoTreeItem; };
    commands.Bind(C::NewProject, [this] { OnNewProject(); });
    commands.Bind(C::OpenProject, [this] { OnOpenProject(); });
    commands.Bind(
        C::CloseProject, [this] { Project().SwitchProject(QString()); }, loaded);
    commands.Bind(
        C::RenameProject, [this] { OnRenameProject(); }, loaded);
    commands.Bind(
        C::AddActiveFile, [this] { OnAddActiveFile(); }, [this] { return CanAddActiveFile(); });
    commands.Bind(
        C::AddProjectFiles, [this] { OnAddProjectFiles(); }, roomForFiles);
    for (const C eRemove : {C::RemoveProjectFile, C::RemoveFile})
        commands.Bind(
            eRemove, [this] { Project().RemoveProjectFile(SelectedFile()); }, fileSelected);
    commands.Bind(C::OpenFile, [this] { Project().OpenProjectFile(SelectedFile()); });
    commands.Bind(C::CloseFile, [this] { Project().CloseProjectFile(SelectedFile()); });
    commands.Bind(C::RenameFile, [this] { OnRenameFile(); });
    commands.BindKeyTo(C::RemoveProjectFile, pTree);
    connect(pTree, &QTreeWidget::currentItemChanged, &commands, &CCommands::Refresh);
}

CProjectCommands::~CProjectCommands()
{
    Project().SetTree(nullptr);
}

bool CProjectCommands::Loaded() const
{
    return !Project().CurProject().isEmpty();
}

HTreeItem CProjectCommands::SelectedFile() const
{
    const HTreeItem hItem = m_pTree->Selected();
    return hItem == kRootTreeItem ? kNoTreeItem : hItem;
}

bool CProjectCommands::CanAddActiveFile() const
{
    const CChildFrame* pFrame = m_services.activeFrame();
    if (!pFrame || !Loaded() || Project().ProjectFileCount() > 30)
        return false;
    const QString& sPath = pFrame->Document().GetPathName();
    return !sPath.isEmpty() && !Project().IsProjectFile(sPath);
}

void CProjectCommands::OnNewProject()
{
    const QString sName = m_services.prompter.GetName(IPrompter::kNewName, QString());
    if (Project().AddNewProject(sName))
        Project().SwitchProject(sName);
}

void CProjectCommands::OnOpenProject()
{
    CProjectsDlg dialog(Project(), m_services.prompter, m_services.bar.window());
    if (dialog.exec() == QDialog::Accepted && dialog.SelectedProject() != Project().CurProject())
        Project().SwitchProject(dialog.SelectedProject());
}

void CProjectCommands::OnRenameProject()
{
    const QString sOld = Project().CurProject();
    const QString sNew = m_services.prompter.GetName(IPrompter::kNewName, sOld);
    if (!sNew.isEmpty())
        Project().RenameProject(sOld, sNew);
}

void CProjectCommands::OnAddActiveFile()
{
    if (CChildFrame* pFrame = m_services.activeFrame())
        Project().AddActiveFile(&pFrame->Document());
}

void CProjectCommands::OnAddProjectFiles()
{
    const QStringList paths
        = m_services.prompter.GetOpenFileNames(QStringLiteral("Add Project Files"), GetFileFilter());
    for (const QString& sPath : paths)
        Project().AddProjectFile(sPath);
}

void CProjectCommands::OnRenameFile()
{
    const int nIndex = Project().IndexOfTreeItem(SelectedFile());
    if (nIndex < 0)
        return;
    const CProjectFile file = Project().m_ProjectFiles[size_t(nIndex)];
    const QString sShown = m_services.settings.m_bShowExt ? QFileInfo(file.sPath).fileName() : file.sName;
    const QString sEntered = m_services.prompter.GetName(IPrompter::kNewName, sShown);
    const std::optional<QString> sNewPath = ProjectRename::NewPath(file.sPath, file.sName, sEntered);
    if (!sNewPath)
        return;
    if (QFileInfo::exists(*sNewPath)) {
        FileError(QStringLiteral("That file name already exsists."));
        return;
    }
    QFile disk(file.sPath);
    if (!disk.rename(*sNewPath)) {
        FileError(QStringLiteral("The file could not be renamed:\n%1\n\n%2").arg(file.sPath, disk.errorString()));
        return;
    }
    Project().MoveProjectFile(nIndex, *sNewPath);
    // A window of the file opened some other way must not save under the old name either.
    CScriptDoc* pDoc = qobject_cast<CScriptDoc*>(file.pDoc);
    if (!pDoc)
        pDoc = m_services.documents.FindDocument(file.sPath);
    if (pDoc)
        pDoc->FileMoved(*sNewPath);
    ISettingsStore& store = m_services.documents.Services().store;
    store.DeleteValue(kBookmarksSection, file.sPath);
    store.Flush();
}

void CProjectCommands::FileError(const QString& sText)
{
    m_services.prompter.ShowMessage(sText, QStringLiteral("FILE ERROR"), IPrompter::EIcon::Error);
}
