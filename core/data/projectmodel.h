#pragma once

#include "core/data/codepage.h"
#include "core/data/projectfile.h"
#include "core/data/projectviews.h"
#include "core/data/sortstringarray.h"

#include <QHash>

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
    // neither be read nor created. Each line is read in its own encoding.
    bool LoadProjectList(const QString& sPath);
    // Written whole or not at all; false when it could not be written. A line
    // read from the file goes back as the bytes it was read from; a new one in
    // the list's encoding, or in UTF-8 where that would read back as other text.
    bool SaveProjectList(const QString& sPath) const;
    // The same without the disk: the list from a file's bytes, and the bytes
    // SaveProjectList writes.
    void ReadProjectList(QByteArray bytes);
    QByteArray ProjectListBytes() const;

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
    // Adds the header and name lines of a new, empty project; false when the
    // name is empty or any line of the list already reads it (in any case).
    bool AddNewProject(const QString& sName);
    // Removes a project with its files from the list; false when there is none.
    bool DeleteProject(const QString& sName);
    // The names of all projects, in list order.
    QStringList ProjectNames() const;
    // The file of this record now lies at sNewPath: its name and tree item follow.
    void MoveProjectFile(int nIndex, const QString& sNewPath);
    // The document opened through this tree item goes at once, unsaved changes and all.
    void CloseProjectFile(HTreeItem hItem);

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
    // A path that a file line can carry and give back as the same record.
    static bool CanBeFileLine(const QString& sPath);
    QByteArray LineBytes(const QString& sLine, QHash<QString, int>& nUsed) const;
    void OpenRecord(int nIndex);
    // The current project's line of this file, marked or not; -1 for none.
    int FileLine(const QString& sPath) const;
    void FillRecord(int nIndex, const QString& sPath, bool bOpen);
    void LoadFreedRecord();
    void ClearRecords();

    CSettings& m_settings;
    IProjectTree* m_pTree = nullptr;
    IProjectDocuments* m_pDocuments = nullptr;
    HTreeItem m_hLastItem = kRootTreeItem;
    // Lines of the current project that did not fit the records; saved back
    // after the records so that nothing of the user's list is lost.
    QStringList m_arUnloadedLines;
    // What new lines are written in: the games' code page, or UTF-8 for a
    // list that was all UTF-8.
    ETextEncoding m_eEncoding = ETextEncoding::Cp1252;
    bool m_bByteOrderMark = false;
    // The bytes each line text was read from, in file order: lists edited by
    // programs of different ages mix UTF-8 and 8-bit lines, and a line the
    // user did not touch must not change its bytes or read back as other text.
    QHash<QString, QList<QByteArray>> m_rawLines;
};
