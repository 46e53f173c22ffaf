#include "core/wizards/unitwizard.h"

#include "core/documents/doctypes.h"

#include <algorithm>
#include <limits>

namespace UnitWizard {

namespace {

const QString kStars = QStringLiteral("; ") + QString(64, u'*');

// Slots times counts from a hand-edited data file may not fit an int; the
// bars and captions show the nearest that does.
class CSlotSum
{
public:
    explicit CSlotSum(qint64 nStart = 0) : m_nSum(nStart) { }
    void Add(qint64 nSlots, qint64 nCount)
    {
        qint64 nProduct = 0;
        if (__builtin_mul_overflow(nSlots, nCount, &nProduct) || __builtin_add_overflow(m_nSum, nProduct, &m_nSum))
            m_nSum = (nSlots < 0) != (nCount < 0) ? std::numeric_limits<qint64>::min()
                                                  : std::numeric_limits<qint64>::max();
    }
    int Value() const
    {
        return int(std::clamp<qint64>(m_nSum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }

private:
    qint64 m_nSum;
};

template <typename TEntry> const TEntry* EntryAt(const QList<TEntry>& table, int nPosition)
{
    if (nPosition < 1 || nPosition >= table.size() || table[nPosition].sWeapon.isEmpty())
        return nullptr;
    return &table[nPosition];
}

QString Quoted(const char* pszStart, const QString& sName)
{
    return QLatin1String(pszStart) + sName + QStringLiteral("\"\r\n");
}

QString MagazineLine(const QString& sName)
{
    return Quoted("_unit addMagazine \"", sName);
}

QString WeaponLine(const QString& sName)
{
    return Quoted("_unit addWeapon \"", sName);
}

void AppendRepeated(QString& sText, const QString& sLine, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        sText += sLine;
}

void AppendHeader(QString& sText, const SForm& form, bool bVelk, const QString& sVersion)
{
    sText += kStars + QStringLiteral("\r\n");
    sText += QStringLiteral("; Custom unit script for ") + GameTitle(bVelk) + QStringLiteral("\r\n");
    sText += QStringLiteral("; Created with Velk Edit - ") + sVersion + QStringLiteral("\r\n");
    sText += QStringLiteral("; HELP: Run this script from the INITIALIZATION box of the unit.\r\n");
    sText += QStringLiteral("; CODE: [this] exec \"") + form.sUnitName + QStringLiteral(".sqs\"\r\n");
    sText += kStars + QStringLiteral("\r\n\r\n");
}

void AppendPrimary(QString& sText, const SForm& form, const UnitData::STables& tables, bool bVelk)
{
    const UnitData::SPrimaryWeapon* pWeapon = PrimaryAt(tables, form.nPrimary);
    if (!pWeapon)
        return;
    AppendRepeated(sText, MagazineLine(pWeapon->sMagazine), form.nPrimaryMags);
    if (!pWeapon->sGrenadeMagazine.isEmpty()) {
        AppendRepeated(sText, MagazineLine(pWeapon->sGrenadeMagazine), form.nGrenades);
        const QString sFlare = bVelk ? QStringLiteral("FlareWhite_M203") : QStringLiteral("Flare");
        AppendRepeated(sText, MagazineLine(sFlare), form.nFlares);
    }
    sText += WeaponLine(pWeapon->sWeapon);
    sText += Quoted("_unit selectWeapon \"", MuzzleFor(pWeapon->sWeapon));
}

}  // namespace

int PrimaryCapacity(bool bVelk, bool bSniperUnit)
{
    if (bVelk)
        return 12;
    return bSniperUnit ? 4 : 10;
}

int SecondaryCapacity(bool bVelk)
{
    return bVelk ? 8 : 4;
}

int MaxHandgunMags(bool bVelk)
{
    return bVelk ? 8 : 4;
}

const UnitData::SPrimaryWeapon* PrimaryAt(const UnitData::STables& tables, int nPosition)
{
    return EntryAt(tables.primary, nPosition);
}

const UnitData::SSecondaryWeapon* SecondaryAt(const UnitData::STables& tables, int nPosition)
{
    return EntryAt(tables.secondary, nPosition);
}

const UnitData::SHandgun* HandgunAt(const UnitData::STables& tables, int nPosition)
{
    return EntryAt(tables.handguns, nPosition);
}

bool HasGrenadeLauncher(const UnitData::STables& tables, int nPrimary)
{
    const UnitData::SPrimaryWeapon* pWeapon = PrimaryAt(tables, nPrimary);
    return pWeapon && !pWeapon->sGrenadeMagazine.isEmpty();
}

QString EquipmentRowText(int nCount, const QString& sItem)
{
    return u'(' + QString::number(nCount) + QStringLiteral(") ") + sItem;
}

SCapacity Capacity(const SForm& form, const UnitData::STables& tables, bool bVelk)
{
    CSlotSum primary;
    CSlotSum secondary;
    // A soldier who keeps his own gear has that much less room.
    if (!form.bRemoveGear) {
        if (bVelk) {
            primary = CSlotSum(10);
            secondary = CSlotSum(4);
        } else {
            primary = CSlotSum(form.bSniperUnit ? 10 : 4);
        }
    }
    if (const UnitData::SPrimaryWeapon* pWeapon = PrimaryAt(tables, form.nPrimary)) {
        primary.Add(pWeapon->nSlots, form.nPrimaryMags);
        CSlotSum& launcher = bVelk ? secondary : primary;
        launcher.Add(pWeapon->nGrenadeSlots, form.nGrenades);
        launcher.Add(1, form.nFlares);
    }
    if (const UnitData::SSecondaryWeapon* pLauncher = SecondaryAt(tables, form.nSecondary))
        primary.Add(pLauncher->nSlots, form.nRockets);
    secondary.Add(1, form.nHandgunMags);
    for (qsizetype i = 0; i < form.equipmentCounts.size() && i < tables.equipment.size(); ++i)
        primary.Add(tables.equipment[i].nSlots, form.equipmentCounts[i]);

    SCapacity capacity;
    capacity.nPrimary = primary.Value();
    capacity.nSecondary = secondary.Value();
    capacity.nPrimaryCapacity = PrimaryCapacity(bVelk, form.bSniperUnit);
    capacity.nSecondaryCapacity = SecondaryCapacity(bVelk);
    capacity.bOverloaded
        = capacity.nPrimary > capacity.nPrimaryCapacity || capacity.nSecondary > capacity.nSecondaryCapacity;
    return capacity;
}

QString PrimaryCaption(const SCapacity& capacity)
{
    return QStringLiteral("Primary Magazines (%1/%2)").arg(capacity.nPrimary).arg(capacity.nPrimaryCapacity);
}

QString SecondaryCaption(const SCapacity& capacity)
{
    return QStringLiteral("Secondary Magazines (%1/%2)").arg(capacity.nSecondary).arg(capacity.nSecondaryCapacity);
}

QString MuzzleFor(const QString& sWeapon)
{
    if (sWeapon == QLatin1String("M16A2GL") || sWeapon == QLatin1String("M16A4_GL")
        || sWeapon == QLatin1String("M16A4_ACG_GL"))
        return QStringLiteral("M16Muzzle");
    if (sWeapon == QLatin1String("M4GL") || sWeapon == QLatin1String("M4A1GL"))
        return QStringLiteral("M4Muzzle");
    if (sWeapon == QLatin1String("AK74GL"))
        return QStringLiteral("AK74Muzzle");
    return sWeapon;
}

QString BuildScript(const SForm& form, const UnitData::STables& tables, bool bVelk, const QString& sVersion)
{
    QString sText;
    AppendHeader(sText, form, bVelk, sVersion);
    sText += QStringLiteral("; Get the unit parameter given\r\n_unit = _this select 0\r\n\r\n");
    if (form.bRemoveGear)
        sText += QStringLiteral("; Strip the units current gear\r\nremoveAllWeapons _unit\r\n\r\n");
    sText += QStringLiteral("; Add the new gear to the unit\r\n");
    AppendPrimary(sText, form, tables, bVelk);
    if (const UnitData::SSecondaryWeapon* pLauncher = SecondaryAt(tables, form.nSecondary)) {
        AppendRepeated(sText, MagazineLine(pLauncher->sMagazine), form.nRockets);
        sText += WeaponLine(pLauncher->sWeapon);
    }
    if (const UnitData::SHandgun* pHandgun = HandgunAt(tables, form.nHandgun)) {
        AppendRepeated(sText, MagazineLine(pHandgun->sMagazine), form.nHandgunMags);
        sText += WeaponLine(pHandgun->sWeapon);
    }
    for (qsizetype i = 0; i < form.equipmentCounts.size() && i < tables.equipment.size(); ++i)
        AppendRepeated(sText, MagazineLine(tables.equipment[i].sItem), form.equipmentCounts[i]);
    if (form.bBinoculars)
        sText += WeaponLine(QStringLiteral("Binocular"));
    if (form.bNVGoggles)
        sText += WeaponLine(QStringLiteral("NVGoggles"));
    sText += QStringLiteral("\r\nExit\r\n");
    return sText;
}

}  // namespace UnitWizard
