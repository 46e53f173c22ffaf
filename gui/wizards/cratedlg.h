#pragma once

#include "core/wizards/missionwizards.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// "Crate Builder Wizard": weapons, magazines and equipment with their
// counts, written as a script that fills a crate.
class CCrateDlg : public QDialog
{
    Q_OBJECT
public:
    CCrateDlg(const MissionWizards::SContext& context, QWidget* pParent = nullptr);

    QStringList Rows() const;
    QString CrateName() const;

    void Reset();
    void OnWeaponChanged();
    void AddWeapon();
    void AddMagazine();
    void AddEquipment();
    void RemoveItem();
    void ClearAllItems();
    void OnCreate();

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    void BuildLayout();
    void AddRow(const QString& sCommand, const QString& sName, int nCount);
    void UpdateButtons();

    MissionWizards::SContext m_context;
    QComboBox* m_pWeapons;
    QComboBox* m_pMagazines;
    QComboBox* m_pEquipment;
    QSpinBox* m_pWeaponCount;
    QSpinBox* m_pMagazineCount;
    QSpinBox* m_pEquipmentCount;
    QListWidget* m_pCrate;
    QPushButton* m_pRemove;
    QPushButton* m_pClear;
    QLineEdit* m_pName;
    QCheckBox* m_pEmptyCrate;
    QPushButton* m_pCreate;
};
