#pragma once

#include "core/wizards/missionwizards.h"
#include "core/wizards/unitdata.h"
#include "core/wizards/unitwizard.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;

// "Custom Unit Wizard": one soldier's loadout from unit.dat, checked
// against what he can carry while it is put together, written as a script.
class CUnitDlg : public QDialog
{
    Q_OBJECT
public:
    CUnitDlg(const MissionWizards::SContext& context, QWidget* pParent = nullptr);

    // What the controls hold now.
    UnitWizard::SForm Form() const;
    const UnitData::STables& Tables() const { return m_tables; }

    void Reset();
    void OnPrimaryChanged();
    void OnSecondaryChanged();
    void OnHandgunChanged();
    void AddOne();
    void RemoveOne();
    void OnSniperUnit();
    void Recompute();
    void OnCreate();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    QWidget* BuildWeapons();
    QWidget* BuildGear();
    QWidget* BuildCapacity();
    void ChangeEquipmentCount(int nStep);
    void SetCountEnabled(QSpinBox* pCount, bool bEnabled);

    MissionWizards::SContext m_context;
    UnitData::STables m_tables;
    QComboBox* m_pPrimary;
    QSpinBox* m_pPrimaryMags;
    QLabel* m_pPrimaryMagsLabel;
    QLabel* m_pLauncherLabel;
    QSpinBox* m_pGrenades;
    QLabel* m_pGrenadesLabel;
    QSpinBox* m_pFlares;
    QLabel* m_pFlaresLabel;
    QLabel* m_pSecondaryLabel;
    QComboBox* m_pSecondary;
    QSpinBox* m_pRockets;
    QLabel* m_pRocketsLabel;
    QComboBox* m_pHandgun;
    QSpinBox* m_pHandgunMags;
    QLabel* m_pHandgunMagsLabel;
    QListWidget* m_pEquipment;
    QCheckBox* m_pBinoculars;
    QCheckBox* m_pNVGoggles;
    QCheckBox* m_pSniperUnit;
    QCheckBox* m_pRemoveGear;
    QLabel* m_pPrimaryCaption;
    QProgressBar* m_pPrimaryBar;
    QLabel* m_pSecondaryCaption;
    QProgressBar* m_pSecondaryBar;
    QLabel* m_pOverloaded;
    QLineEdit* m_pName;
    QPushButton* m_pCreate;
    QHash<QSpinBox*, QLabel*> m_countLabels;
    bool m_bResetting = false;
};
