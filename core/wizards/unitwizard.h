#pragma once

#include "core/wizards/unitdata.h"

#include <QList>
#include <QString>

// The custom unit wizard's rules that need no window: what the soldier can
// carry, and the script that gives him his loadout.
namespace UnitWizard {

struct SForm
{
    QString sUnitName;
    // List positions; 0 is "NONE".
    int nPrimary = 0;
    int nSecondary = 0;
    int nHandgun = 0;
    int nPrimaryMags = 0;
    int nGrenades = 0;
    int nFlares = 0;
    int nRockets = 0;
    int nHandgunMags = 0;
    QList<int> equipmentCounts;  // by equipment row
    bool bBinoculars = false;
    bool bNVGoggles = false;
    bool bSniperUnit = false;
    bool bRemoveGear = true;
};

int PrimaryCapacity(bool bVelk, bool bSniperUnit);
int SecondaryCapacity(bool bVelk);
int MaxHandgunMags(bool bVelk);

// The weapon a list position selects; null for "NONE", for the entry of a
// missing section and for a position past the table.
const UnitData::SPrimaryWeapon* PrimaryAt(const UnitData::STables& tables, int nPosition);
const UnitData::SSecondaryWeapon* SecondaryAt(const UnitData::STables& tables, int nPosition);
const UnitData::SHandgun* HandgunAt(const UnitData::STables& tables, int nPosition);
bool HasGrenadeLauncher(const UnitData::STables& tables, int nPrimary);

QString EquipmentRowText(int nCount, const QString& sItem);  // "(n) Item"

struct SCapacity
{
    int nPrimary = 0;
    int nSecondary = 0;
    int nPrimaryCapacity = 0;
    int nSecondaryCapacity = 0;
    bool bOverloaded = false;
};
SCapacity Capacity(const SForm& form, const UnitData::STables& tables, bool bVelk);
QString PrimaryCaption(const SCapacity& capacity);    // "Primary Magazines (P/C)"
QString SecondaryCaption(const SCapacity& capacity);  // "Secondary Magazines (S/C)"

// The rifle's muzzle a script must choose so that the soldier holds the
// rifle, not its grenade launcher.
QString MuzzleFor(const QString& sWeapon);

QString BuildScript(const SForm& form, const UnitData::STables& tables, bool bVelk, const QString& sVersion);

}  // namespace UnitWizard
