#pragma once

#include "core/data/codepage.h"
#include "core/data/projectfile.h"
#include "core/data/projectviews.h"
#include "core/data/sortstringarray.h"

#include <array>
#include <utility>

class CSettings;

// The user's projects (project.dat, kept as its lines) and the file records
// of the current project. Its name is the CurProject setting.
class CProjectModel
{
public:
    static constexpr int kMaxFiles = 32;

    explicit CProjectModel(CSettings& settings);

    void SetTree(IProjectTree* pTree) { m_pTree = pTree; }
    void SetDocuments(IProjectDocuments* pDocuments) { m_pDocuments = pDocuments; }

    // Creates an empty list file when there is none; false only when it can
    // neither be read nor created.
    bool LoadProjectList(const QString& sPath);
    // Written whole or not at all; false when it could not be written.
    bool SaveProjectList(const QString& sPath) const;

    // (index of the header line, index of the project's last line); first is
    // -1 when there is no such project.
    std::pair<int, int> FindProject(const QString& sName) const;
    void LoadProject();
    void SaveProject();
    void SwitchProject(const QString& sName);
    void OpenProjectFiles();
    void CloseProjectFiles();

    bool IsProjectFile(const QString& sPath) const;
    int ProjectFileCount() const;
    int IndexOfTreeItem(HTreeItem hItem) const;
    int AddActiveFile(QObject* pDoc);
    int AddProjectFile(const QString& sPath);
    void RemoveProjectFile(HTreeItem hItem);
    void OpenProjectFile(HTreeItem hItem);
    void OpenProjectFileByPath(const QString& sPath);
    void ProjectDocClosed(QObject* pDoc);
    void RenameProject(const QString& sOldName, const QString& sNewName);

    const QString& CurProject() const;
    QString DisplayName(const QString& sPath) const;

    CSortStringArray m_arProjectData;
    std::array<CProjectFile, kMaxFiles> m_ProjectFiles;

    static inline const QString kHeader = QStringLiteral("[PROJECT]");
    static inline const QString kNoProject = QStringLiteral("No Project Loaded");

private:
    IProjectTree& Tree() const;
    IProjectDocuments* Documents() const { return m_pDocuments; }
    HTreeItem NewTreeItem() { return ++m_hLastItem; }
    int AddRecord(const QString& sPath, bool bOpen, QObject* pDoc);
    void OpenRecord(int nIndex);
    void ClearRecords();

    CSettings& m_settings;
    IProjectTree* m_pTree = nullptr;
    IProjectDocuments* m_pDocuments = nullptr;
    HTreeItem m_hLastItem = kRootTreeItem;
    // Lines of the current project that did not fit the records; saved back
    // after the records so that nothing of the user's list is lost.
    QStringList m_arUnloadedLines;
    ETextEncoding m_eEncoding = ETextEncoding::Cp1252;
};
