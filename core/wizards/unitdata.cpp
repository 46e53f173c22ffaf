#include "core/wizards/unitdata.h"

#include "core/wizards/missionwizards.h"

#include <limits>

namespace UnitData {

namespace {

// The fields between the commas, unquoted and untrimmed.
QStringList Fields(const QString& sLine)
{
    return sLine.split(u',');
}

// Everything after the nth comma (1-based); empty when there are fewer.
QString AfterComma(const QString& sLine, int nComma)
{
    qsizetype nPos = -1;
    for (int i = 0; i < nComma; ++i) {
        nPos = sLine.indexOf(u',', nPos + 1);
        if (nPos < 0)
            return QString();
    }
    return sLine.mid(nPos + 1);
}

// Reads one weapon section into its table: entry 0 is "NONE", a missing
// section shows one entry that selects nothing.
template <typename TEntry, typename TParse>
void ReadWeapons(const QStringList& lines, const QString& sHeader, int nEntries, TParse parse, QList<TEntry>* pTable,
                 QStringList* pList)
{
    pTable->append(TEntry());
    pList->append(kNone);
    QStringList entries;
    if (!SectionLines(lines, sHeader, &entries)) {
        pTable->append(TEntry());
        pList->append(MissionWizards::kNotAvailable);
        return;
    }
    for (const QString& sLine : entries) {
        if (pTable->size() >= nEntries)
            break;
        if (!sLine.contains(u','))
            continue;
        const TEntry entry = parse(sLine);
        pTable->append(entry);
        pList->append(entry.sWeapon);
    }
}

}  // namespace

int ReadNumber(QStringView sField)
{
    qsizetype i = 0;
    while (i < sField.size() && (sField[i] == u' ' || sField[i] == u'\t'))
        ++i;
    bool bNegative = false;
    if (i < sField.size() && (sField[i] == u'+' || sField[i] == u'-')) {
        bNegative = sField[i] == u'-';
        ++i;
    }
    // A run of digits too long for the table's numbers stops at the limit
    // instead of wrapping round.
    qint64 nValue = 0;
    const qint64 nLimit = qint64(std::numeric_limits<int>::max()) + (bNegative ? 1 : 0);
    for (; i < sField.size() && sField[i] >= u'0' && sField[i] <= u'9'; ++i)
        nValue = std::min(nLimit, nValue * 10 + (sField[i].unicode() - u'0'));
    return int(bNegative ? -nValue : nValue);
}

bool SectionLines(const QStringList& lines, const QString& sHeader, QStringList* pEntries)
{
    pEntries->clear();
    const qsizetype nHeader = lines.indexOf(sHeader);
    if (nHeader < 0)
        return false;
    for (qsizetype i = nHeader + 1; i < lines.size() && !lines[i].isEmpty(); ++i)
        pEntries->append(lines[i]);
    return true;
}

QString SectionHeader(const char* pszName, bool bVelk)
{
    return u'[' + QLatin1String(pszName) + u' ' + (bVelk ? QStringLiteral("VELK]") : QStringLiteral("QON]"));
}

SPrimaryWeapon ParsePrimary(const QString& sLine)
{
    const QStringList fields = Fields(sLine);
    SPrimaryWeapon weapon;
    weapon.sWeapon = fields.value(0);
    weapon.sMagazine = fields.value(1);
    const qsizetype nCommas = fields.size() - 1;
    if (nCommas < 3) {
        weapon.nSlots = ReadNumber(AfterComma(sLine, 2));
        return weapon;
    }
    weapon.nSlots = ReadNumber(fields[2]);
    if (nCommas >= 4) {
        weapon.sGrenadeMagazine = fields[3];
        weapon.nGrenadeSlots = ReadNumber(AfterComma(sLine, 4));
    }
    return weapon;
}

SSecondaryWeapon ParseSecondary(const QString& sLine)
{
    const QStringList fields = Fields(sLine);
    return {fields.value(0), fields.value(1), ReadNumber(AfterComma(sLine, 2))};
}

SHandgun ParseHandgun(const QString& sLine)
{
    return {sLine.section(u',', 0, 0), AfterComma(sLine, 1)};
}

SEquipment ParseEquipment(const QString& sLine)
{
    return {sLine.section(u',', 0, 0), ReadNumber(AfterComma(sLine, 1))};
}

STables Parse(const QStringList& lines, bool bVelk)
{
    STables tables;
    ReadWeapons(lines, SectionHeader("PRIMARY WEAPONS", bVelk), kPrimaryEntries, ParsePrimary, &tables.primary,
                &tables.primaryList);
    ReadWeapons(lines, SectionHeader("SECONDARY WEAPONS", bVelk), kSecondaryEntries, ParseSecondary, &tables.secondary,
                &tables.secondaryList);
    ReadWeapons(lines, SectionHeader("HANDGUNS", bVelk), kHandgunEntries, ParseHandgun, &tables.handguns,
                &tables.handgunList);
    QStringList entries;
    if (!SectionLines(lines, SectionHeader("EQUIPMENT", bVelk), &entries)) {
        tables.bEquipmentMissing = true;
        return tables;
    }
    for (const QString& sLine : entries) {
        if (tables.equipment.size() >= kEquipmentEntries)
            break;
        if (!sLine.contains(u','))
            continue;
        tables.equipment.append(ParseEquipment(sLine));
        tables.equipmentItems.append(tables.equipment.last().sItem);
    }
    return tables;
}

}  // namespace UnitData
