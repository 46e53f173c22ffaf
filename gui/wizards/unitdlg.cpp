#include "gui/wizards/unitdlg.h"

#include "core/app/prompter.h"
#include "core/data/dictionary.h"
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
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace MissionWizards;
using namespace UnitWizard;
namespace Widgets = MissionWizardWidgets;

namespace {

QProgressBar* CapacityBar(QWidget* pParent)
{
    auto* pBar = new QProgressBar(pParent);
    pBar->setTextVisible(false);
    pBar->setMinimumWidth(220);
    return pBar;
}

void ShowOnBar(QProgressBar* pBar, int nValue, int nMaximum)
{
    pBar->setRange(0, nMaximum);
    // A bar ignores a value outside its range: an overloaded bar shows full.
    pBar->setValue(std::clamp(nValue, 0, nMaximum));
}

}  // namespace

CUnitDlg::CUnitDlg(const SContext& context, QWidget* pParent)
    : QDialog(pParent)
    , m_context(context)
    , m_pPrimary(new QComboBox(this))
    , m_pPrimaryMags(Widgets::ArrowCountBox(Widgets::kCountLimit, this))
    , m_pPrimaryMagsLabel(Widgets::Label(QStringLiteral("&Magazines"), m_pPrimaryMags, this))
    , m_pLauncherLabel(new QLabel(QStringLiteral("Grenade Launcher"), this))
    , m_pGrenades(Widgets::ArrowCountBox(Widgets::kCountLimit, this))
    , m_pGrenadesLabel(Widgets::Label(QStringLiteral(" Grenades"), m_pGrenades, this))
    , m_pFlares(Widgets::ArrowCountBox(Widgets::kCountLimit, this))
    , m_pFlaresLabel(Widgets::Label(QStringLiteral(" Flares"), m_pFlares, this))
    , m_pSecondaryLabel(new QLabel(QStringLiteral("&Secondary Weapon"), this))
    , m_pSecondary(new QComboBox(this))
    , m_pRockets(Widgets::ArrowCountBox(Widgets::kCountLimit, this))
    , m_pRocketsLabel(Widgets::Label(QStringLiteral("Rockets"), m_pRockets, this))
    , m_pHandgun(new QComboBox(this))
    , m_pHandgunMags(Widgets::ArrowCountBox(MaxHandgunMags(context.bVelk), this))
    , m_pHandgunMagsLabel(Widgets::Label(QStringLiteral("M&agazines"), m_pHandgunMags, this))
    , m_pEquipment(new QListWidget(this))
    , m_pBinoculars(new QCheckBox(QStringLiteral("&Binoculars"), this))
    , m_pNVGoggles(new QCheckBox(QStringLiteral("N&VGoggles"), this))
    , m_pSniperUnit(new QCheckBox(QStringLiteral("Sniper &Unit (less capacity, QON only)"), this))
    , m_pRemoveGear(new QCheckBox(QStringLiteral("Remove Unit &Gear"), this))
    , m_pPrimaryCaption(new QLabel(QStringLiteral("Primary Magazines (x/12)"), this))
    , m_pPrimaryBar(CapacityBar(this))
    , m_pSecondaryCaption(new QLabel(QStringLiteral("Secondary Magazines (x/8)"), this))
    , m_pSecondaryBar(CapacityBar(this))
    , m_pOverloaded(new QLabel(QStringLiteral("OVERLOADED !\nUnit will not work properly."), this))
    , m_pName(new QLineEdit(this))
    , m_pCreate(new QPushButton(QStringLiteral("Create Unit Script"), this))
{
    setWindowTitle(QStringLiteral("Custom Unit Wizard"));
    setObjectName(QStringLiteral("unitWizard"));
    for (auto [pWidget, pszName] :
         std::initializer_list<std::pair<QWidget*, const char*>>{{m_pPrimary, "primary"},
                                                                 {m_pPrimaryMags, "primaryMags"},
                                                                 {m_pGrenades, "grenades"},
                                                                 {m_pFlares, "flares"},
                                                                 {m_pSecondary, "secondary"},
                                                                 {m_pRockets, "rockets"},
                                                                 {m_pHandgun, "handgun"},
                                                                 {m_pHandgunMags, "handgunMags"},
                                                                 {m_pEquipment, "equipment"},
                                                                 {m_pBinoculars, "binoculars"},
                                                                 {m_pNVGoggles, "nvGoggles"},
                                                                 {m_pSniperUnit, "sniperUnit"},
                                                                 {m_pRemoveGear, "removeGear"},
                                                                 {m_pPrimaryCaption, "primaryCaption"},
                                                                 {m_pPrimaryBar, "primaryBar"},
                                                                 {m_pSecondaryCaption, "secondaryCaption"},
                                                                 {m_pSecondaryBar, "secondaryBar"},
                                                                 {m_pOverloaded, "overloaded"},
                                                                 {m_pName, "name"},
                                                                 {m_pCreate, "create"}})
        pWidget->setObjectName(QLatin1String(pszName));
    m_pSecondaryLabel->setBuddy(m_pSecondary);
    m_countLabels = {{m_pPrimaryMags, m_pPrimaryMagsLabel},
                     {m_pGrenades, m_pGrenadesLabel},
                     {m_pFlares, m_pFlaresLabel},
                     {m_pRockets, m_pRocketsLabel},
                     {m_pHandgunMags, m_pHandgunMagsLabel}};
    QPalette palette = m_pOverloaded->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_pOverloaded->setPalette(palette);
    m_pOverloaded->setAlignment(Qt::AlignCenter);

    auto* pColumns = new QHBoxLayout;
    pColumns->addWidget(BuildWeapons());
    auto* pRight = new QVBoxLayout;
    pRight->addWidget(BuildGear());
    pRight->addWidget(BuildCapacity());
    pColumns->addLayout(pRight);

    auto* pNameLine = new QHBoxLayout;
    pNameLine->addWidget(Widgets::Label(QStringLiteral("Unit / File &Name"), m_pName, this));
    pNameLine->addWidget(m_pName, 1);
    m_pName->installEventFilter(this);

    auto* pButtons = new QDialogButtonBox(this);
    auto* pReset = new QPushButton(QStringLiteral("&Reset Unit"), this);
    pReset->setObjectName(QStringLiteral("reset"));
    pButtons->addButton(pReset, QDialogButtonBox::ResetRole);
    pButtons->addButton(m_pCreate, QDialogButtonBox::ActionRole);
    pButtons->addButton(QDialogButtonBox::Cancel);
    m_pCreate->setDefault(true);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(pReset, &QPushButton::clicked, this, &CUnitDlg::Reset);
    connect(m_pCreate, &QPushButton::clicked, this, &CUnitDlg::OnCreate);

    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pColumns);
    pMain->addLayout(pNameLine);
    pMain->addWidget(pButtons);

    connect(m_pPrimary, &QComboBox::currentIndexChanged, this, &CUnitDlg::OnPrimaryChanged);
    connect(m_pSecondary, &QComboBox::currentIndexChanged, this, &CUnitDlg::OnSecondaryChanged);
    connect(m_pHandgun, &QComboBox::currentIndexChanged, this, &CUnitDlg::OnHandgunChanged);
    for (QSpinBox* pCount : {m_pPrimaryMags, m_pGrenades, m_pFlares, m_pRockets, m_pHandgunMags})
        connect(pCount, &QSpinBox::valueChanged, this, &CUnitDlg::Recompute);
    connect(m_pEquipment, &QListWidget::itemDoubleClicked, this, &CUnitDlg::AddOne);
    connect(m_pRemoveGear, &QCheckBox::toggled, this, &CUnitDlg::Recompute);
    connect(m_pSniperUnit, &QCheckBox::toggled, this, &CUnitDlg::OnSniperUnit);
    connect(m_pName, &QLineEdit::textChanged, this,
            [this](const QString& sName) { m_pCreate->setEnabled(IsValidName(sName)); });
    Reset();
}

QWidget* CUnitDlg::BuildWeapons()
{
    auto* pBox = new QGroupBox(this);
    auto* pGrid = new QGridLayout(pBox);
    const auto addCount = [pGrid](int nRow, QLabel* pLabel, QSpinBox* pCount) {
        pGrid->addWidget(pLabel, nRow, 1, Qt::AlignRight);
        pGrid->addWidget(pCount, nRow, 2);
        pCount->setMinimumWidth(70);
    };
    pGrid->addWidget(Widgets::Label(QStringLiteral("&Primary Weapon"), m_pPrimary, pBox), 0, 0, 1, 3);
    pGrid->addWidget(m_pPrimary, 1, 0, 1, 3);
    addCount(2, m_pPrimaryMagsLabel, m_pPrimaryMags);
    pGrid->addWidget(m_pLauncherLabel, 3, 0);
    addCount(3, m_pGrenadesLabel, m_pGrenades);
    addCount(4, m_pFlaresLabel, m_pFlares);
    pGrid->setRowMinimumHeight(5, 10);
    pGrid->addWidget(m_pSecondaryLabel, 6, 0, 1, 3);
    pGrid->addWidget(m_pSecondary, 7, 0, 1, 3);
    addCount(8, m_pRocketsLabel, m_pRockets);
    pGrid->setRowMinimumHeight(9, 10);
    pGrid->addWidget(Widgets::Label(QStringLiteral("&Handgun"), m_pHandgun, pBox), 10, 0, 1, 3);
    pGrid->addWidget(m_pHandgun, 11, 0, 1, 3);
    addCount(12, m_pHandgunMagsLabel, m_pHandgunMags);
    pGrid->setRowStretch(13, 1);
    for (QComboBox* pList : {m_pPrimary, m_pSecondary, m_pHandgun}) {
        pList->setMinimumContentsLength(22);
        pList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    return pBox;
}

QWidget* CUnitDlg::BuildGear()
{
    auto* pBox = new QGroupBox(this);
    auto* pGrid = new QGridLayout(pBox);
    pGrid->addWidget(Widgets::Label(QStringLiteral("&Equipment"), m_pEquipment, pBox), 0, 0);
    pGrid->addWidget(m_pEquipment, 1, 0, 3, 1);
    m_pEquipment->setMinimumSize(200, 120);
    auto* pAdd = new QPushButton(QStringLiteral("(+) Add One"), pBox);
    auto* pRemove = new QPushButton(QStringLiteral("(-) Remove One"), pBox);
    pAdd->setObjectName(QStringLiteral("addOne"));
    pRemove->setObjectName(QStringLiteral("removeOne"));
    connect(pAdd, &QPushButton::clicked, this, &CUnitDlg::AddOne);
    connect(pRemove, &QPushButton::clicked, this, &CUnitDlg::RemoveOne);
    pGrid->addWidget(pAdd, 1, 1);
    pGrid->addWidget(pRemove, 2, 1);
    auto* pChecks = new QGridLayout;
    pChecks->addWidget(m_pBinoculars, 0, 0);
    pChecks->addWidget(m_pNVGoggles, 0, 1);
    pChecks->addWidget(m_pSniperUnit, 1, 0, 1, 2);
    pChecks->addWidget(m_pRemoveGear, 2, 0, 1, 2);
    pGrid->addLayout(pChecks, 4, 0, 1, 2);
    return pBox;
}

QWidget* CUnitDlg::BuildCapacity()
{
    auto* pBox = new QGroupBox(QStringLiteral("Unit Capacity"), this);
    auto* pLayout = new QVBoxLayout(pBox);
    pLayout->addWidget(m_pPrimaryCaption);
    pLayout->addWidget(m_pPrimaryBar);
    pLayout->addWidget(m_pSecondaryCaption);
    pLayout->addWidget(m_pSecondaryBar);
    pLayout->addWidget(m_pOverloaded);
    // The warning comes and goes without the dialog jumping.
    QSizePolicy keep = m_pOverloaded->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_pOverloaded->setSizePolicy(keep);
    return pBox;
}

void CUnitDlg::Reset()
{
    m_bResetting = true;
    m_pName->setText(DefaultName(QStringLiteral("UNIT_"), m_context.random));
    m_pBinoculars->setChecked(false);
    m_pNVGoggles->setChecked(false);
    m_pSniperUnit->setChecked(false);
    m_pRemoveGear->setChecked(true);

    m_tables = UnitData::Parse(m_context.dictionary.m_arUnitData, m_context.bVelk);
    {
        const QSignalBlocker blockPrimary(m_pPrimary);
        const QSignalBlocker blockSecondary(m_pSecondary);
        const QSignalBlocker blockHandgun(m_pHandgun);
        Widgets::Fill(m_pPrimary, m_tables.primaryList);
        Widgets::Fill(m_pSecondary, m_tables.secondaryList);
        Widgets::Fill(m_pHandgun, m_tables.handgunList);
    }
    m_pEquipment->clear();
    if (m_tables.bEquipmentMissing)
        m_pEquipment->addItem(kNotAvailable);
    for (const UnitData::SEquipment& item : m_tables.equipment) {
        auto* pRow = new QListWidgetItem(EquipmentRowText(0, item.sItem), m_pEquipment);
        pRow->setData(Qt::UserRole, 0);
    }
    m_pEquipment->setCurrentRow(0);

    for (QSpinBox* pCount : {m_pPrimaryMags, m_pGrenades, m_pFlares, m_pRockets, m_pHandgunMags})
        SetCountEnabled(pCount, false);
    m_pLauncherLabel->setEnabled(false);
    m_pSecondaryLabel->setEnabled(true);
    m_pSecondary->setEnabled(true);
    m_pSniperUnit->setEnabled(!m_context.bVelk);
    m_bResetting = false;
    // The captions show this game's capacities from the start, and a reset
    // never leaves the figures of the unit before it standing.
    Recompute();
}

void CUnitDlg::SetCountEnabled(QSpinBox* pCount, bool bEnabled)
{
    if (!bEnabled)
        pCount->setValue(0);
    pCount->setEnabled(bEnabled);
    if (QLabel* pLabel = m_countLabels.value(pCount))
        pLabel->setEnabled(bEnabled);
}

UnitWizard::SForm CUnitDlg::Form() const
{
    UnitWizard::SForm form;
    form.sUnitName = m_pName->text();
    form.nPrimary = m_pPrimary->currentIndex();
    form.nSecondary = m_pSecondary->currentIndex();
    form.nHandgun = m_pHandgun->currentIndex();
    form.nPrimaryMags = m_pPrimaryMags->value();
    form.nGrenades = m_pGrenades->value();
    form.nFlares = m_pFlares->value();
    form.nRockets = m_pRockets->value();
    form.nHandgunMags = m_pHandgunMags->value();
    // The error row of a missing section stands first and counts nothing.
    const int nFirst = m_tables.bEquipmentMissing ? 1 : 0;
    for (int i = nFirst; i < m_pEquipment->count(); ++i)
        form.equipmentCounts.append(m_pEquipment->item(i)->data(Qt::UserRole).toInt());
    form.bBinoculars = m_pBinoculars->isChecked();
    form.bNVGoggles = m_pNVGoggles->isChecked();
    form.bSniperUnit = m_pSniperUnit->isChecked();
    form.bRemoveGear = m_pRemoveGear->isChecked();
    return form;
}

void CUnitDlg::OnPrimaryChanged()
{
    const int nPrimary = m_pPrimary->currentIndex();
    SetCountEnabled(m_pPrimaryMags, PrimaryAt(m_tables, nPrimary) != nullptr);
    const bool bLauncher = HasGrenadeLauncher(m_tables, nPrimary);
    m_pLauncherLabel->setEnabled(bLauncher);
    SetCountEnabled(m_pGrenades, bLauncher);
    SetCountEnabled(m_pFlares, bLauncher);
    Recompute();
}

void CUnitDlg::OnSecondaryChanged()
{
    SetCountEnabled(m_pRockets, SecondaryAt(m_tables, m_pSecondary->currentIndex()) != nullptr);
    Recompute();
}

void CUnitDlg::OnHandgunChanged()
{
    SetCountEnabled(m_pHandgunMags, HandgunAt(m_tables, m_pHandgun->currentIndex()) != nullptr);
    Recompute();
}

void CUnitDlg::ChangeEquipmentCount(int nStep)
{
    QListWidgetItem* pRow = m_pEquipment->currentItem();
    const int nItem = m_pEquipment->currentRow() - (m_tables.bEquipmentMissing ? 1 : 0);
    if (!pRow || nItem < 0 || nItem >= m_tables.equipment.size())
        return;
    const int nCount = pRow->data(Qt::UserRole).toInt() + nStep;
    if (nCount < 0 || nCount > Widgets::kCountLimit)
        return;
    pRow->setData(Qt::UserRole, nCount);
    pRow->setText(EquipmentRowText(nCount, m_tables.equipment[nItem].sItem));
    Recompute();
}

void CUnitDlg::AddOne()
{
    ChangeEquipmentCount(1);
}

void CUnitDlg::RemoveOne()
{
    ChangeEquipmentCount(-1);
}

void CUnitDlg::OnSniperUnit()
{
    if (m_bResetting)
        return;
    const bool bSniper = m_pSniperUnit->isChecked();
    if (bSniper)
        m_pSecondary->setCurrentIndex(0);
    m_pSecondaryLabel->setEnabled(!bSniper);
    m_pSecondary->setEnabled(!bSniper);
    if (bSniper)
        SetCountEnabled(m_pRockets, false);
    Recompute();
}

void CUnitDlg::Recompute()
{
    if (m_bResetting)
        return;
    const SCapacity capacity = Capacity(Form(), m_tables, m_context.bVelk);
    ShowOnBar(m_pPrimaryBar, capacity.nPrimary, capacity.nPrimaryCapacity);
    ShowOnBar(m_pSecondaryBar, capacity.nSecondary, capacity.nSecondaryCapacity);
    m_pPrimaryCaption->setText(PrimaryCaption(capacity));
    m_pSecondaryCaption->setText(SecondaryCaption(capacity));
    m_pOverloaded->setVisible(capacity.bOverloaded);
}

void CUnitDlg::OnCreate()
{
    const UnitWizard::SForm form = Form();
    if (!IsValidName(form.sUnitName))
        return;
    const QString sText = BuildScript(form, m_tables, m_context.bVelk, m_context.sVersion);
    if (!m_context.createDoc(EDocKind::Script, sText, form.sUnitName)) {
        m_context.prompter.ShowMessage(QStringLiteral("Error creating script."), QStringLiteral("FILE ERROR"),
                                       IPrompter::EIcon::Error);
        reject();
        return;
    }
    if (Widgets::CreateAnother(m_context.prompter)) {
        Reset();
        return;
    }
    accept();
}

bool CUnitDlg::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_pName && pEvent->type() == QEvent::FocusIn)
        Widgets::SelectAllSoon(m_pName);
    return QDialog::eventFilter(pWatched, pEvent);
}
