#include "gui/wizards/cratedlg.h"

#include "core/app/prompter.h"
#include "core/data/dictionary.h"
#include "core/wizards/cratewizard.h"
#include "gui/wizards/missionwizardwidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace MissionWizards;

CCrateDlg::CCrateDlg(const SContext& context, QWidget* pParent)
    : QDialog(pParent)
    , m_context(context)
    , m_pWeapons(new QComboBox(this))
    , m_pMagazines(new QComboBox(this))
    , m_pEquipment(new QComboBox(this))
    , m_pWeaponCount(MissionWizardWidgets::CountBox(5, this))
    , m_pMagazineCount(MissionWizardWidgets::CountBox(25, this))
    , m_pEquipmentCount(MissionWizardWidgets::CountBox(5, this))
    , m_pCrate(new QListWidget(this))
    , m_pRemove(new QPushButton(QStringLiteral("--->    Remove Item"), this))
    , m_pClear(new QPushButton(QStringLiteral("Clear All Items"), this))
    , m_pName(new QLineEdit(this))
    , m_pEmptyCrate(new QCheckBox(QStringLiteral("&Empty the crates origonal contents"), this))
    , m_pCreate(new QPushButton(QStringLiteral("Create Crate Script"), this))
{
    setWindowTitle(QStringLiteral("Crate Builder Wizard"));
    setObjectName(QStringLiteral("crateWizard"));
    m_pWeapons->setObjectName(QStringLiteral("weapons"));
    m_pMagazines->setObjectName(QStringLiteral("magazines"));
    m_pEquipment->setObjectName(QStringLiteral("equipment"));
    m_pWeaponCount->setObjectName(QStringLiteral("weaponCount"));
    m_pMagazineCount->setObjectName(QStringLiteral("magazineCount"));
    m_pEquipmentCount->setObjectName(QStringLiteral("equipmentCount"));
    m_pCrate->setObjectName(QStringLiteral("crate"));
    m_pName->setObjectName(QStringLiteral("name"));
    m_pEmptyCrate->setObjectName(QStringLiteral("emptyCrate"));
    m_pEmptyCrate->setChecked(true);
    m_pName->installEventFilter(this);
    BuildLayout();

    connect(m_pWeapons, &QComboBox::activated, this, &CCrateDlg::OnWeaponChanged);
    connect(m_pCrate, &QListWidget::itemSelectionChanged, this, &CCrateDlg::UpdateButtons);
    connect(m_pRemove, &QPushButton::clicked, this, &CCrateDlg::RemoveItem);
    connect(m_pClear, &QPushButton::clicked, this, &CCrateDlg::ClearAllItems);
    connect(m_pName, &QLineEdit::textChanged, this,
            [this](const QString& sName) { m_pCreate->setEnabled(IsValidName(sName)); });
    connect(m_pCreate, &QPushButton::clicked, this, &CCrateDlg::OnCreate);
    Reset();
}

void CCrateDlg::BuildLayout()
{
    auto* pItems = new QGroupBox(this);
    auto* pGrid = new QGridLayout(pItems);
    const auto addLine = [&](int nRow, const char* pszLabel, QComboBox* pList, QSpinBox* pCount, const char* pszButton,
                             void (CCrateDlg::*add)()) {
        pGrid->addWidget(MissionWizardWidgets::Label(QLatin1String(pszLabel), pList, pItems), nRow * 2, 0, 1, 3);
        pGrid->addWidget(pList, nRow * 2 + 1, 0);
        auto* pCountLabel = MissionWizardWidgets::Label(QStringLiteral("Count"), pCount, pItems);
        auto* pCountBox = new QHBoxLayout;
        pCountBox->addWidget(pCountLabel);
        pCountBox->addWidget(pCount);
        pGrid->addLayout(pCountBox, nRow * 2 + 1, 1);
        auto* pAdd = new QPushButton(QLatin1String(pszButton), pItems);
        connect(pAdd, &QPushButton::clicked, this, add);
        pGrid->addWidget(pAdd, nRow * 2 + 1, 2);
        pList->setMinimumContentsLength(22);
        pList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    };
    addLine(0, "&Weapons List", m_pWeapons, m_pWeaponCount, "Add Weapons", &CCrateDlg::AddWeapon);
    addLine(1, "&Magazine List", m_pMagazines, m_pMagazineCount, "Add Magazines", &CCrateDlg::AddMagazine);
    addLine(2, "E&quipment List", m_pEquipment, m_pEquipmentCount, "Add Equipment", &CCrateDlg::AddEquipment);
    pGrid->setColumnStretch(0, 1);

    auto* pCrateBox = new QVBoxLayout;
    pCrateBox->addWidget(MissionWizardWidgets::Label(QStringLiteral("Current C&rate"), m_pCrate, this));
    pCrateBox->addWidget(m_pCrate);
    auto* pCrateButtons = new QHBoxLayout;
    pCrateButtons->addWidget(m_pRemove);
    pCrateButtons->addWidget(m_pClear);
    pCrateButtons->addStretch();
    pCrateBox->addLayout(pCrateButtons);
    m_pCrate->setMinimumWidth(320);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(pItems);
    pTop->addLayout(pCrateBox, 1);

    auto* pNameBox = new QHBoxLayout;
    pNameBox->addWidget(MissionWizardWidgets::Label(QStringLiteral("Crate / File &Name"), m_pName, this));
    pNameBox->addWidget(m_pName, 1);
    pNameBox->addWidget(m_pEmptyCrate);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(m_pCreate, QDialogButtonBox::ActionRole);
    pButtons->addButton(QDialogButtonBox::Cancel);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_pCreate->setDefault(true);

    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pTop);
    pMain->addLayout(pNameBox);
    pMain->addWidget(pButtons);
}

QStringList CCrateDlg::Rows() const
{
    QStringList rows;
    for (int i = 0; i < m_pCrate->count(); ++i)
        rows.append(m_pCrate->item(i)->text());
    return rows;
}

QString CCrateDlg::CrateName() const
{
    return m_pName->text();
}

void CCrateDlg::Reset()
{
    m_pCrate->clear();
    const CDictionary& dictionary = m_context.dictionary;
    MissionWizardWidgets::Fill(m_pWeapons, ChoiceItems(dictionary.m_arInfWeapons, false));
    MissionWizardWidgets::Fill(m_pMagazines, ChoiceItems(dictionary.m_arInfMagazines, true));
    MissionWizardWidgets::Fill(m_pEquipment, ChoiceItems(dictionary.m_arEquipment, false));
    m_pName->setText(DefaultName(QStringLiteral("CRATE_"), m_context.random));
    m_pCreate->setEnabled(IsValidName(m_pName->text()));
    UpdateButtons();
}

void CCrateDlg::OnWeaponChanged()
{
    const QStringList magazines = MissionWizardWidgets::Items(m_pMagazines);
    const int nMagazine = MagazineFor(m_context.dictionary, m_pWeapons->currentText(), magazines);
    if (nMagazine >= 0)
        m_pMagazines->setCurrentIndex(nMagazine);
}

void CCrateDlg::AddRow(const QString& sCommand, const QString& sName, int nCount)
{
    if (!CrateWizard::HasRow(Rows(), CrateWizard::RowPrefix(sCommand, sName)))
        m_pCrate->addItem(CrateWizard::Row(sCommand, sName, nCount));
    UpdateButtons();
}

void CCrateDlg::AddWeapon()
{
    AddRow(CrateWizard::kWeaponCargo, m_pWeapons->currentText(), m_pWeaponCount->value());
}

void CCrateDlg::AddMagazine()
{
    AddRow(CrateWizard::kMagazineCargo, m_pMagazines->currentText(), m_pMagazineCount->value());
}

void CCrateDlg::AddEquipment()
{
    const QString sItem = m_pEquipment->currentText();
    AddRow(CrateWizard::EquipmentCommand(sItem), sItem, m_pEquipmentCount->value());
}

void CCrateDlg::RemoveItem()
{
    const QList<QListWidgetItem*> selected = m_pCrate->selectedItems();
    qDeleteAll(selected);
    m_pCrate->clearSelection();
    m_pCrate->setCurrentRow(-1);
    UpdateButtons();
}

void CCrateDlg::ClearAllItems()
{
    m_pCrate->clear();
    UpdateButtons();
}

void CCrateDlg::UpdateButtons()
{
    m_pRemove->setEnabled(!m_pCrate->selectedItems().isEmpty());
    m_pClear->setEnabled(m_pCrate->count() > 0);
}

void CCrateDlg::OnCreate()
{
    const QString sName = m_pName->text();
    if (!IsValidName(sName))
        return;
    const CrateWizard::SForm form{sName, m_pEmptyCrate->isChecked(), Rows()};
    const QString sText = CrateWizard::BuildScript(form, m_context.bVelk, m_context.sVersion);
    if (!m_context.createDoc(EDocKind::Script, sText, sName)) {
        m_context.prompter.ShowMessage(QStringLiteral("Error creating script"), QStringLiteral("FILE ERROR"),
                                       IPrompter::EIcon::Error);
        reject();
        return;
    }
    if (MissionWizardWidgets::CreateAnother(m_context.prompter)) {
        Reset();
        return;
    }
    accept();
}

bool CCrateDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pName && pEvent->type() == QEvent::FocusIn)
        MissionWizardWidgets::SelectAllSoon(m_pName);
    return QDialog::eventFilter(pWatched, pEvent);
}
