#include "gui/workspace/projectsdlg.h"

#include "core/app/prompter.h"
#include "core/data/projectmodel.h"
#include "core/data/sortstringarray.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CProjectsDlg::CProjectsDlg(CProjectModel& project, IPrompter& prompter, QWidget* pParent)
    : QDialog(pParent)
    , m_project(project)
    , m_prompter(prompter)
    , m_sSelected(project.CurProject())
    , m_pList(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Projects List"));
    auto* pButtons = new QVBoxLayout;
    const auto addButton = [this, pButtons](const char* pszText, void (CProjectsDlg::*pOnClick)()) {
        auto* pButton = new QPushButton(QLatin1String(pszText), this);
        connect(pButton, &QPushButton::clicked, this, pOnClick);
        pButtons->addWidget(pButton);
        return pButton;
    };
    QPushButton* pOpen = addButton("&Open Project", &CProjectsDlg::OnOpen);
    pOpen->setDefault(true);
    addButton("&New Project...", &CProjectsDlg::OnNew);
    addButton("&Rename Project...", &CProjectsDlg::OnRename);
    addButton("&Delete Project", &CProjectsDlg::OnDelete);
    pButtons->addStretch(1);
    addButton("&Close", &QDialog::reject);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &CProjectsDlg::OnOpen);

    auto* pLayout = new QHBoxLayout(this);
    pLayout->addWidget(m_pList, 1);
    pLayout->addLayout(pButtons);
    Fill();
}

void CProjectsDlg::Fill()
{
    QStringList names = m_project.ProjectNames();
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return CompareNoCase(a, b) < 0; });
    m_pList->clear();
    m_pList->addItems(names);
    if (names.isEmpty())
        return;
    const QString& sCurrent = m_project.CurProject();
    const auto it = std::find_if(names.cbegin(), names.cend(),
                                 [&](const QString& sName) { return sName.startsWith(sCurrent, Qt::CaseInsensitive); });
    m_pList->setCurrentRow(it == names.cend() ? 0 : int(it - names.cbegin()));
}

QString CProjectsDlg::SelectedEntry() const
{
    const QListWidgetItem* pItem = m_pList->currentItem();
    return pItem && pItem->isSelected() ? pItem->text() : QString();
}

void CProjectsDlg::OnOpen()
{
    if (m_pList->currentItem() && m_pList->currentItem()->isSelected())
        m_sSelected = m_pList->currentItem()->text();
    accept();
}

void CProjectsDlg::OnNew()
{
    const QString sName = m_prompter.GetName(IPrompter::kNewName, QString());
    if (!m_project.AddNewProject(sName))
        return;
    m_sSelected = sName;
    accept();
}

void CProjectsDlg::OnRename()
{
    const QString sOld = SelectedEntry();
    if (sOld.isEmpty())
        return;
    const QString sNew = m_prompter.GetName(IPrompter::kNewName, sOld);
    if (sNew.isEmpty())
        return;
    m_project.RenameProject(sOld, sNew);
    // The current project renamed is still the one a later Delete must unload.
    if (m_sSelected == sOld && !m_project.ProjectNames().contains(sOld))
        m_sSelected = sNew;
    Fill();
}

void CProjectsDlg::OnDelete()
{
    if (m_prompter.Ask(QStringLiteral("Are you sure you want to delete the\nselected project?"),
                       QStringLiteral("Delete Project"), IPrompter::EButtons::YesNo, IPrompter::EIcon::Question)
        != IPrompter::EAnswer::Yes)
        return;
    const QString sName = SelectedEntry();
    if (sName.isEmpty() || !m_project.DeleteProject(sName))
        return;
    Fill();
    if (sName == m_sSelected) {
        m_sSelected.clear();
        m_project.SwitchProject(QString());
    }
}
