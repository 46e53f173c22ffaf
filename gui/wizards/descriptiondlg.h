#pragma once

#include "core/wizards/descriptiontext.h"
#include "core/wizards/missionwizards.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Description Wizard": the mission description file from map tools,
// scores, respawn rules, briefing gear and custom sound classes.
class CDescriptionDlg : public QDialog
{
    Q_OBJECT
public:
    CDescriptionDlg(const MissionWizards::SContext& context, QWidget* pParent = nullptr);

    // What the controls hold now.
    DescriptionText::SForm Form() const;

    void OnWeaponChanged();
    void AddWeapon();
    void AddMagazine();
    void AddEquipment();
    void RemoveGear();
    void ClearGear();
    void OnSoundClassChanged();
    void AddSoundFiles();
    void RemoveSoundFile();
    void OnCreate();

private:
    QWidget* BuildSettings();
    QWidget* BuildRespawn();
    QWidget* BuildGear();
    QWidget* BuildSounds();
    void AddGearRow(QListWidget* pRows, const QString& sName, int nCount);
    void EnableGroups();

    MissionWizards::SContext m_context;
    QCheckBox* m_pAddGear;
    QCheckBox* m_pAddRespawn;
    QCheckBox* m_pAddSounds;
    QCheckBox* m_pShowCompass;
    QCheckBox* m_pShowGPS;
    QCheckBox* m_pShowWatch;
    QSpinBox* m_pHighScore;
    QSpinBox* m_pAvgScore;
    QSpinBox* m_pLowScore;
    QGroupBox* m_pRespawnGroup = nullptr;
    QButtonGroup* m_pRespawnType;
    QComboBox* m_pRespawnDelay;
    QGroupBox* m_pGearGroup = nullptr;
    QComboBox* m_pWeapons;
    QComboBox* m_pMagazines;
    QComboBox* m_pEquipment;
    QSpinBox* m_pWeaponCount;
    QSpinBox* m_pMagazineCount;
    QSpinBox* m_pEquipmentCount;
    QListWidget* m_pWeaponRows;
    QListWidget* m_pMagazineRows;
    QGroupBox* m_pSoundGroup = nullptr;
    QComboBox* m_pSoundClass;
    QListWidget* m_pSoundFiles;
    std::array<QStringList, DescriptionText::kSoundClasses> m_soundFiles;
    QPushButton* m_pCreate;
};
