#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The custom unit wizard's choices, read from the lines of unit.dat.
namespace UnitData {

// The tables' sizes. The three weapon tables keep entry 0 for "NONE".
constexpr int kPrimaryEntries = 256;
constexpr int kSecondaryEntries = 32;
constexpr int kHandgunEntries = 32;
constexpr int kEquipmentEntries = 32;

inline const QString kNone = QStringLiteral("NONE");

struct SPrimaryWeapon
{
    QString sWeapon;
    QString sMagazine;
    int nSlots = 0;            // per magazine
    QString sGrenadeMagazine;  // empty: no grenade launcher
    int nGrenadeSlots = 0;
};

struct SSecondaryWeapon
{
    QString sWeapon;
    QString sMagazine;  // the rocket
    int nSlots = 0;     // per rocket
};

struct SHandgun
{
    QString sWeapon;
    QString sMagazine;
};

struct SEquipment
{
    QString sItem;
    int nSlots = 0;  // per item
};

// The four lists as the dialog shows them, each entry at the position that
// selects it. A weapon list starts with "NONE", an empty entry; a missing
// section adds one more empty entry that the list shows as "ERROR: Not
// Available". Lines without a comma and lines past a table's size are
// left out, so no list ever shows what its position does not select.
struct STables
{
    QList<SPrimaryWeapon> primary;
    QStringList primaryList;
    QList<SSecondaryWeapon> secondary;
    QStringList secondaryList;
    QList<SHandgun> handguns;
    QStringList handgunList;
    QList<SEquipment> equipment;
    QStringList equipmentItems;  // the item names; the rows add their counts
    bool bEquipmentMissing = false;
};

// A decimal number as the data file writes it: leading blanks, a sign and
// the digits up to the first other character; nothing readable is 0.
int ReadNumber(QStringView sField);

// The entry lines of the section with this exact header line: the lines
// after the first such header up to the first empty line or the end.
// Missing section: false.
bool SectionLines(const QStringList& lines, const QString& sHeader, QStringList* pEntries);

QString SectionHeader(const char* pszName, bool bVelk);  // "[PRIMARY WEAPONS " + "VELK]"

SPrimaryWeapon ParsePrimary(const QString& sLine);
SSecondaryWeapon ParseSecondary(const QString& sLine);
SHandgun ParseHandgun(const QString& sLine);
SEquipment ParseEquipment(const QString& sLine);

STables Parse(const QStringList& lines, bool bVelk);

}  // namespace UnitData
