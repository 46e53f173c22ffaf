#pragma once

#include <QDialog>

class CProjectModel;
class IPrompter;
class QListWidget;

// Lists every project to open one, and makes, renames and deletes them.
class CProjectsDlg : public QDialog
{
    Q_OBJECT
public:
    CProjectsDlg(CProjectModel& project, IPrompter& prompter, QWidget* pParent = nullptr);

    // After OK: the project to make current; the current one when nothing was chosen.
    QString SelectedProject() const { return m_sSelected; }
    QListWidget* List() const { return m_pList; }

private:
    void Fill();
    QString SelectedEntry() const;
    void OnOpen();
    void OnNew();
    void OnRename();
    void OnDelete();

    CProjectModel& m_project;
    IPrompter& m_prompter;
    QString m_sSelected;
    QListWidget* m_pList;
};
