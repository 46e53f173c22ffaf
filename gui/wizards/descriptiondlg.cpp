#include "gui/wizards/descriptiondlg.h"

#include "core/app/prompter.h"
#include "core/data/dictionary.h"
#include "gui/wizards/missionwizardwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace DescriptionText;
using namespace MissionWizards;
namespace Widgets = MissionWizardWidgets;

namespace {

QSpinBox* NumberBox(int nValue, QWidget* pParent)
{
    QSpinBox* pBox = Widgets::CountBox(nValue, pParent);
    pBox->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return pBox;
}

QList<SGearRow> GearRows(const QListWidget* pRows)
{
    QList<SGearRow> rows;
    for (int i = 0; i < pRows->count(); ++i)
        rows.append({pRows->item(i)->text(), pRows->item(i)->data(Qt::UserRole).toInt()});
    return rows;
}

// A wrapped note that asks for the room its lines take at its narrowest,
// so that the lists beside it keep theirs.
QLabel* Note(const QString& sText, QWidget* pParent, int nMinimumWidth = 240)
{
    auto* pNote = new QLabel(sText, pParent);
    pNote->setWordWrap(true);
    pNote->setMinimumWidth(nMinimumWidth);
    pNote->setMinimumHeight(pNote->heightForWidth(nMinimumWidth));
    QSizePolicy policy = pNote->sizePolicy();
    policy.setHeightForWidth(false);
    pNote->setSizePolicy(policy);
    return pNote;
}

}  // namespace

CDescriptionDlg::CDescriptionDlg(const SContext& context, QWidget* pParent)
    : QDialog(pParent)
    , m_context(context)
    , m_pAddGear(new QCheckBox(QStringLiteral("Mission &Gear"), this))
    , m_pAddRespawn(new QCheckBox(QStringLiteral("Unit &Respawn"), this))
    , m_pAddSounds(new QCheckBox(QStringLiteral("Custom &Sounds"), this))
    , m_pShowCompass(new QCheckBox(QStringLiteral("Show Co&mpass"), this))
    , m_pShowGPS(new QCheckBox(QStringLiteral("Show G&PS"), this))
    , m_pShowWatch(new QCheckBox(QStringLiteral("Show &Watch"), this))
    , m_pHighScore(NumberBox(0, this))
    , m_pAvgScore(NumberBox(0, this))
    , m_pLowScore(NumberBox(0, this))
    , m_pRespawnType(new QButtonGroup(this))
    , m_pRespawnDelay(new QComboBox(this))
    , m_pWeapons(new QComboBox(this))
    , m_pMagazines(new QComboBox(this))
    , m_pEquipment(new QComboBox(this))
    , m_pWeaponCount(NumberBox(3, this))
    , m_pMagazineCount(NumberBox(15, this))
    , m_pEquipmentCount(NumberBox(5, this))
    , m_pWeaponRows(new QListWidget(this))
    , m_pMagazineRows(new QListWidget(this))
    , m_pSoundClass(new QComboBox(this))
    , m_pSoundFiles(new QListWidget(this))
    , m_pCreate(new QPushButton(QStringLiteral("Create Description File"), this))
{
    setWindowTitle(QStringLiteral("Description Wizard"));
    setObjectName(QStringLiteral("descriptionWizard"));
    for (auto [pWidget, pszName] :
         std::initializer_list<std::pair<QWidget*, const char*>>{{m_pAddGear, "addGear"},
                                                                 {m_pAddRespawn, "addRespawn"},
                                                                 {m_pAddSounds, "addSounds"},
                                                                 {m_pShowCompass, "showCompass"},
                                                                 {m_pShowGPS, "showGPS"},
                                                                 {m_pShowWatch, "showWatch"},
                                                                 {m_pHighScore, "highScore"},
                                                                 {m_pAvgScore, "avgScore"},
                                                                 {m_pLowScore, "lowScore"},
                                                                 {m_pRespawnDelay, "respawnDelay"},
                                                                 {m_pWeapons, "weapons"},
                                                                 {m_pMagazines, "magazines"},
                                                                 {m_pEquipment, "equipment"},
                                                                 {m_pWeaponCount, "weaponCount"},
                                                                 {m_pMagazineCount, "magazineCount"},
                                                                 {m_pEquipmentCount, "equipmentCount"},
                                                                 {m_pWeaponRows, "weaponRows"},
                                                                 {m_pMagazineRows, "magazineRows"},
                                                                 {m_pSoundClass, "soundClass"},
                                                                 {m_pSoundFiles, "soundFiles"}})
        pWidget->setObjectName(QLatin1String(pszName));

    auto* pLeft = new QVBoxLayout;
    pLeft->addWidget(BuildSettings());
    pLeft->addWidget(BuildRespawn());
    pLeft->addStretch();
    auto* pRight = new QVBoxLayout;
    pRight->addWidget(BuildGear());
    pRight->addWidget(BuildSounds());
    auto* pColumns = new QHBoxLayout;
    pColumns->addLayout(pLeft);
    pColumns->addLayout(pRight, 1);

    auto* pButtons = new QDialogButtonBox(this);
    pButtons->addButton(m_pCreate, QDialogButtonBox::ActionRole);
    pButtons->addButton(QDialogButtonBox::Cancel);
    m_pCreate->setDefault(true);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pCreate, &QPushButton::clicked, this, &CDescriptionDlg::OnCreate);
    auto* pMain = new QVBoxLayout(this);
    pMain->addLayout(pColumns);
    pMain->addWidget(pButtons);

    for (QCheckBox* pCheck : {m_pAddGear, m_pAddRespawn, m_pAddSounds})
        connect(pCheck, &QCheckBox::toggled, this, &CDescriptionDlg::EnableGroups);
    EnableGroups();
}

QWidget* CDescriptionDlg::BuildSettings()
{
    auto* pBox = new QWidget(this);
    auto* pLayout = new QVBoxLayout(pBox);
    pLayout->setContentsMargins(0, 0, 0, 0);
    auto* pAdd = new QGroupBox(QStringLiteral("Add To Description"), pBox);
    auto* pAddLayout = new QVBoxLayout(pAdd);
    for (QCheckBox* pCheck : {m_pAddGear, m_pAddRespawn, m_pAddSounds})
        pAddLayout->addWidget(pCheck);
    pLayout->addWidget(pAdd);

    auto* pMission = new QGroupBox(pBox);
    auto* pGrid = new QGridLayout(pMission);
    pGrid->addWidget(m_pShowCompass, 0, 0);
    pGrid->addWidget(m_pShowGPS, 1, 0);
    pGrid->addWidget(m_pShowWatch, 2, 0);
    int nRow = 0;
    for (auto [pszLabel, pScore] : {std::pair{"&High Score", m_pHighScore}, std::pair{"A&vg. Score", m_pAvgScore},
                                    std::pair{"&Low Score", m_pLowScore}}) {
        pGrid->addWidget(Widgets::Label(QLatin1String(pszLabel), pScore, pMission), nRow, 1);
        pGrid->addWidget(pScore, nRow++, 2);
        pScore->setMinimumWidth(70);
    }
    pLayout->addWidget(pMission);
    return pBox;
}

QWidget* CDescriptionDlg::BuildRespawn()
{
    m_pRespawnGroup = new QGroupBox(QStringLiteral("Unit Respawn Settings"), this);
    auto* pGrid = new QGridLayout(m_pRespawnGroup);
    const char* const kRadios[kRespawnTypes] = {"NONE", "BIRD", "INSTANT", "BASE*", "GROUP", "SIDE"};
    for (int i = 0; i < kRespawnTypes; ++i) {
        auto* pRadio = new QRadioButton(QLatin1String(kRadios[i]), m_pRespawnGroup);
        m_pRespawnType->addButton(pRadio, i);
        pGrid->addWidget(pRadio, i % 3, i / 3);
    }
    m_pRespawnType->button(3)->setChecked(true);
    m_pRespawnDelay->addItems(RespawnDelays());
    m_pRespawnDelay->setCurrentIndex(3);
    auto* pDelay = new QHBoxLayout;
    pDelay->addWidget(Widgets::Label(QStringLiteral("Respawn&Delay ="), m_pRespawnDelay, m_pRespawnGroup));
    pDelay->addWidget(m_pRespawnDelay);
    pDelay->addStretch();
    pGrid->addLayout(pDelay, 3, 0, 1, 2);
    pGrid->addWidget(Note(QStringLiteral("* Base markers required.\nrespawn_west, etc."), m_pRespawnGroup), 4, 0, 1, 2);
    pGrid->addWidget(Note(QStringLiteral("HINT: Respawns all playable men in multiplayer missions."), m_pRespawnGroup),
                     5, 0, 1, 2);
    return m_pRespawnGroup;
}

QWidget* CDescriptionDlg::BuildGear()
{
    m_pGearGroup = new QGroupBox(QStringLiteral("Mission Gear"), this);
    auto* pGrid = new QGridLayout(m_pGearGroup);
    const auto addLine
        = [&](int nRow, const char* pszLabel, QComboBox* pList, QSpinBox* pCount, void (CDescriptionDlg::*add)()) {
              pGrid->addWidget(Widgets::Label(QLatin1String(pszLabel), pList, m_pGearGroup), nRow, 0);
              pGrid->addWidget(pList, nRow, 1);
              pGrid->addWidget(Widgets::Label(QStringLiteral("Count"), pCount, m_pGearGroup), nRow, 2);
              pGrid->addWidget(pCount, nRow, 3);
              auto* pAdd = new QPushButton(QStringLiteral("Add"), m_pGearGroup);
              connect(pAdd, &QPushButton::clicked, this, add);
              pGrid->addWidget(pAdd, nRow, 4);
              pList->setMinimumContentsLength(22);
              pList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
              pCount->setMinimumWidth(60);
          };
    addLine(0, "Weap&ons", m_pWeapons, m_pWeaponCount, &CDescriptionDlg::AddWeapon);
    addLine(1, "Maga&zines", m_pMagazines, m_pMagazineCount, &CDescriptionDlg::AddMagazine);
    addLine(2, "E&quipment", m_pEquipment, m_pEquipmentCount, &CDescriptionDlg::AddEquipment);
    pGrid->addWidget(Widgets::Label(QStringLiteral("Weapons/Magazines &Added"), m_pWeaponRows, m_pGearGroup), 3, 0, 1,
                     5);
    pGrid->addWidget(m_pWeaponRows, 4, 0, 1, 4);
    pGrid->addWidget(m_pMagazineRows, 5, 0, 1, 4);
    m_pWeaponRows->setMinimumHeight(70);
    m_pMagazineRows->setMinimumHeight(70);
    auto* pRowButtons = new QVBoxLayout;
    auto* pRemove = new QPushButton(QStringLiteral("Remove"), m_pGearGroup);
    auto* pClear = new QPushButton(QStringLiteral("Clear"), m_pGearGroup);
    pRemove->setObjectName(QStringLiteral("removeGear"));
    pClear->setObjectName(QStringLiteral("clearGear"));
    connect(pRemove, &QPushButton::clicked, this, &CDescriptionDlg::RemoveGear);
    connect(pClear, &QPushButton::clicked, this, &CDescriptionDlg::ClearGear);
    pRowButtons->addWidget(pRemove);
    pRowButtons->addWidget(pClear);
    pRowButtons->addStretch();
    pGrid->addLayout(pRowButtons, 4, 4, 2, 1);
    pGrid->addWidget(Note(QStringLiteral("HINT: Adds gear to your mission briefing. Change the items your team is "
                                         "carrying before starting."),
                          m_pGearGroup, 420),
                     6, 0, 1, 5);
    pGrid->setColumnStretch(1, 1);

    const CDictionary& dictionary = m_context.dictionary;
    Widgets::Fill(m_pWeapons, ChoiceItems(dictionary.m_arInfWeapons, true));
    Widgets::Fill(m_pMagazines, ChoiceItems(dictionary.m_arInfMagazines, true));
    Widgets::Fill(m_pEquipment, ChoiceItems(dictionary.m_arEquipment, true));
    connect(m_pWeapons, &QComboBox::activated, this, &CDescriptionDlg::OnWeaponChanged);
    return m_pGearGroup;
}

QWidget* CDescriptionDlg::BuildSounds()
{
    m_pSoundGroup = new QGroupBox(QStringLiteral("Custom Sounds"), this);
    auto* pGrid = new QGridLayout(m_pSoundGroup);
    for (int i = 0; i < kSoundClasses; ++i)
        m_pSoundClass->addItem(SoundClassName(ESoundClass(i)));
    m_pSoundClass->setCurrentIndex(0);
    pGrid->addWidget(Widgets::Label(QStringLiteral("Sound &Classes"), m_pSoundClass, m_pSoundGroup), 0, 0);
    pGrid->addWidget(m_pSoundClass, 0, 1);
    pGrid->addWidget(Widgets::Label(QStringLiteral("Sound &Files (*.ogg NO SPACES)"), m_pSoundFiles, m_pSoundGroup), 1,
                     0, 1, 2);
    pGrid->addWidget(m_pSoundFiles, 2, 0, 1, 2);
    m_pSoundFiles->setMinimumHeight(80);
    auto* pFileButtons = new QVBoxLayout;
    auto* pAdd = new QPushButton(QStringLiteral("Add F&iles..."), m_pSoundGroup);
    auto* pRemove = new QPushButton(QStringLiteral("Remove"), m_pSoundGroup);
    pAdd->setObjectName(QStringLiteral("addFiles"));
    pRemove->setObjectName(QStringLiteral("removeFile"));
    connect(pAdd, &QPushButton::clicked, this, &CDescriptionDlg::AddSoundFiles);
    connect(pRemove, &QPushButton::clicked, this, &CDescriptionDlg::RemoveSoundFile);
    pFileButtons->addWidget(pAdd);
    pFileButtons->addWidget(pRemove);
    pFileButtons->addStretch();
    pGrid->addLayout(pFileButtons, 2, 2);
    pGrid->addWidget(
        Note(QStringLiteral("NOTE: See description for instructions on where files should be located."), m_pSoundGroup),
        3, 0, 1, 3);
    pGrid->setColumnStretch(1, 1);
    connect(m_pSoundClass, &QComboBox::currentIndexChanged, this, &CDescriptionDlg::OnSoundClassChanged);
    return m_pSoundGroup;
}

SForm CDescriptionDlg::Form() const
{
    SForm form;
    form.bAddGear = m_pAddGear->isChecked();
    form.bAddRespawn = m_pAddRespawn->isChecked();
    form.bAddSounds = m_pAddSounds->isChecked();
    form.bShowCompass = m_pShowCompass->isChecked();
    form.bShowGPS = m_pShowGPS->isChecked();
    form.bShowWatch = m_pShowWatch->isChecked();
    form.nHighScore = m_pHighScore->value();
    form.nAvgScore = m_pAvgScore->value();
    form.nLowScore = m_pLowScore->value();
    form.nRespawnType = m_pRespawnType->checkedId();
    form.sRespawnDelay = m_pRespawnDelay->currentText();
    form.weaponRows = GearRows(m_pWeaponRows);
    form.magazineRows = GearRows(m_pMagazineRows);
    form.soundFiles = m_soundFiles;
    return form;
}

void CDescriptionDlg::EnableGroups()
{
    m_pGearGroup->setEnabled(m_pAddGear->isChecked());
    m_pRespawnGroup->setEnabled(m_pAddRespawn->isChecked());
    m_pSoundGroup->setEnabled(m_pAddSounds->isChecked());
}

void CDescriptionDlg::OnWeaponChanged()
{
    const int nMagazine = MagazineFor(m_context.dictionary, m_pWeapons->currentText(), Widgets::Items(m_pMagazines));
    if (nMagazine >= 0)
        m_pMagazines->setCurrentIndex(nMagazine);
}

void CDescriptionDlg::AddGearRow(QListWidget* pRows, const QString& sName, int nCount)
{
    if (HasGearRow(GearRows(pRows), sName))
        return;
    auto* pItem = new QListWidgetItem(GearRowText(sName, nCount), pRows);
    pItem->setData(Qt::UserRole, nCount);
}

void CDescriptionDlg::AddWeapon()
{
    AddGearRow(m_pWeaponRows, m_pWeapons->currentText(), m_pWeaponCount->value());
}

void CDescriptionDlg::AddMagazine()
{
    AddGearRow(m_pMagazineRows, m_pMagazines->currentText(), m_pMagazineCount->value());
}

void CDescriptionDlg::AddEquipment()
{
    const QString sItem = m_pEquipment->currentText();
    AddGearRow(EquipmentList(sItem) == EGearList::Weapons ? m_pWeaponRows : m_pMagazineRows, sItem,
               m_pEquipmentCount->value());
}

void CDescriptionDlg::RemoveGear()
{
    for (QListWidget* pRows : {m_pWeaponRows, m_pMagazineRows})
        qDeleteAll(pRows->selectedItems());
}

void CDescriptionDlg::ClearGear()
{
    m_pWeaponRows->clear();
    m_pMagazineRows->clear();
}

void CDescriptionDlg::OnSoundClassChanged()
{
    m_pSoundFiles->clear();
    m_pSoundFiles->addItems(m_soundFiles[std::max(0, m_pSoundClass->currentIndex())]);
}

void CDescriptionDlg::AddSoundFiles()
{
    const QStringList chosen = m_context.prompter.GetOpenFileNames(QStringLiteral("Sound Files"),
                                                                   QStringLiteral("Sound Files (*.ogg)|*.ogg|"));
    QStringList& files = m_soundFiles[std::max(0, m_pSoundClass->currentIndex())];
    for (const QString& sPath : chosen) {
        const QString sName = QFileInfo(sPath).fileName();
        files.append(sName);
        m_pSoundFiles->addItem(sName);
    }
}

void CDescriptionDlg::RemoveSoundFile()
{
    const int nRow = m_pSoundFiles->currentRow();
    QStringList& files = m_soundFiles[std::max(0, m_pSoundClass->currentIndex())];
    if (nRow < 0 || nRow >= files.size() || !m_pSoundFiles->item(nRow)->isSelected())
        return;
    delete m_pSoundFiles->takeItem(nRow);
    files.removeAt(nRow);
}

void CDescriptionDlg::OnCreate()
{
    const QString sText = BuildText(Form(), m_context.bVelk, m_context.sVersion);
    if (!m_context.createDoc(EDocKind::Description, sText, QStringLiteral("Description"))) {
        // Everything the user put in stays for another try.
        m_context.prompter.ShowMessage(QStringLiteral("Error creating Description!"), QStringLiteral("FILE ERROR"),
                                       IPrompter::EIcon::Error);
        return;
    }
    m_context.prompter.ShowMessage(QStringLiteral("Description was created successfully."),
                                   QStringLiteral("Description Created"), IPrompter::EIcon::Information);
    accept();
}
