#include "core/data/dictionary.h"

#include "core/app/appinfo.h"
#include "core/app/datapaths.h"
#include "core/app/prompter.h"
#include "core/data/sectionreader.h"
#include "core/data/textlines.h"

namespace {

// Weapon lines start a record; lines indented by a space list that record's
// magazines. The record count restarts with every occurrence of the header.
class CWeaponSection
{
public:
    CWeaponSection(CSortStringArray& arNames, CWeaponTable& table) : m_arNames(arNames), m_table(table) { }

    void Begin() { m_nRecord = -1; }

    void Entry(const QString& sLine)
    {
        if (sLine.startsWith(QLatin1Char(' '))) {
            // A magazine before the first weapon, or under a weapon beyond the
            // table, has no record to go to and is dropped.
            if (m_nRecord >= 0 && m_nRecord < kWeaponRecords)
                m_table[m_nRecord].arAmmo.append(TrimLeadingSpaces(sLine));
            return;
        }
        m_arNames.append(sLine);
        ++m_nRecord;
        // Weapons beyond the table still count as words for colouring and
        // completion; only their magazine lists are not kept.
        if (m_nRecord < kWeaponRecords)
            m_table[m_nRecord].sName = sLine;
    }

private:
    static QString TrimLeadingSpaces(const QString& sLine)
    {
        qsizetype n = 0;
        while (n < sLine.size() && sLine[n] == QLatin1Char(' '))
            ++n;
        return sLine.mid(n);
    }

    CSortStringArray& m_arNames;
    CWeaponTable& m_table;
    int m_nRecord = -1;
};

void AddListSection(CSectionReader& reader, const QString& sHeader, CSortStringArray& arList)
{
    reader.AddSection(sHeader, [&arList](const QString& sLine) { arList.append(sLine); });
}

void AddWeaponSection(CSectionReader& reader, const QString& sHeader, CWeaponSection& section)
{
    reader.AddSection(
        sHeader, [&section](const QString& sLine) { section.Entry(sLine); }, [&section] { section.Begin(); });
}

void AddHeaderSection(CSectionReader& reader, const QString& sHeader, QString& sText)
{
    reader.AddSection(sHeader, [&sText](const QString& sLine) { sText += sLine + QStringLiteral("\r\n"); });
}

}  // namespace

void CDictionary::Clear()
{
    for (CSortStringArray* pList : {&m_arCommands, &m_arInfWeapons, &m_arInfMagazines, &m_arVehWeapons,
                                    &m_arVehMagazines, &m_arVehicles, &m_arEquipment, &m_arUnitData, &m_arAutoComplete})
        pList->clear();
    m_InfWeaponMags = {};
    m_VehWeaponMags = {};
    for (QString* pText : {&m_sHeaderScript, &m_sHeaderFunction, &m_sHeaderDescription, &m_sHeaderHtml,
                           &m_sHeaderStringTable, &m_sHeaderText, &m_sHeaderInit})
        pText->clear();
    m_index.Clear();
}

bool CDictionary::LoadDataFiles(const CDataPaths& paths, bool bVelk)
{
    Clear();
    QStringList lines;
    bool bAllRead = TextLines::Read(paths.m_sCommandsFile, &lines);
    if (bAllRead) {
        ReadCommands(lines, bVelk);
        bAllRead = TextLines::Read(paths.m_sUnitFile, &lines);
    }
    if (bAllRead) {
        ReadUnitData(lines);
        bAllRead = TextLines::Read(paths.m_sHeaderFile, &lines);
    }
    if (bAllRead)
        ReadHeaders(lines);
    return bAllRead;
}

bool CDictionary::ReloadDataFiles(const CDataPaths& paths, bool bVelk, IPrompter& prompter)
{
    const bool bLoaded = LoadDataFiles(paths, bVelk);
    if (!bLoaded)
        prompter.ShowMessage(AppInfo::LoadErrorMessage(), AppInfo::kTitle, IPrompter::EIcon::Error);
    return bLoaded;
}

void CDictionary::ReadCommands(const QStringList& lines, bool bVelk)
{
    const QString sSuffix = GameSuffix(bVelk);
    CWeaponSection infWeapons(m_arInfWeapons, m_InfWeaponMags);
    CWeaponSection vehWeapons(m_arVehWeapons, m_VehWeaponMags);

    CSectionReader reader;
    AddListSection(reader, QStringLiteral("[COMMANDS]"), m_arCommands);
    AddWeaponSection(reader, QStringLiteral("[INFANTRY WEAPONS ") + sSuffix, infWeapons);
    AddListSection(reader, QStringLiteral("[INFANTRY MAGAZINES ") + sSuffix, m_arInfMagazines);
    AddWeaponSection(reader, QStringLiteral("[VEHICLE/STATIC WEAPONS ") + sSuffix, vehWeapons);
    AddListSection(reader, QStringLiteral("[VEHICLE/STATIC MAGAZINES ") + sSuffix, m_arVehMagazines);
    AddListSection(reader, QStringLiteral("[VEHICLES ") + sSuffix, m_arVehicles);
    AddListSection(reader, QStringLiteral("[EQUIPMENT ") + sSuffix, m_arEquipment);
    reader.Read(lines);
    RebuildIndex();
}

void CDictionary::ReadUnitData(const QStringList& lines)
{
    m_arUnitData.append(lines);
}

void CDictionary::ReadHeaders(const QStringList& lines)
{
    CSectionReader reader;
    AddHeaderSection(reader, QStringLiteral("[SCRIPT]"), m_sHeaderScript);
    AddHeaderSection(reader, QStringLiteral("[INIT]"), m_sHeaderInit);
    AddHeaderSection(reader, QStringLiteral("[FUNCTION]"), m_sHeaderFunction);
    AddHeaderSection(reader, QStringLiteral("[DESCRIPTION]"), m_sHeaderDescription);
    AddHeaderSection(reader, QStringLiteral("[HTML]"), m_sHeaderHtml);
    AddHeaderSection(reader, QStringLiteral("[STRING TABLE]"), m_sHeaderStringTable);
    AddHeaderSection(reader, QStringLiteral("[TEXT]"), m_sHeaderText);
    reader.Read(lines);
}

void CDictionary::BuildAutoComplete(bool bAutoComplete)
{
    if (!bAutoComplete)
        return;
    m_arAutoComplete = m_arCommands;
    for (const CSortStringArray* pList :
         {&m_arInfWeapons, &m_arVehWeapons, &m_arInfMagazines, &m_arVehMagazines, &m_arVehicles, &m_arEquipment})
        m_arAutoComplete.append(*pList);
    m_arAutoComplete.append(QStringLiteral("_this"));
    m_arAutoComplete.append(QStringLiteral("_time"));
    m_arAutoComplete.Sort();
}

QString CDictionary::GetWeaponAmmo(const QString& sWeapon) const
{
    for (const CWeaponEntry& entry : m_InfWeaponMags) {
        if (entry.sName.isEmpty() || CompareNoCase(entry.sName, sWeapon) != 0)
            continue;
        return entry.arAmmo.isEmpty() ? QString() : entry.arAmmo.first();
    }
    return QString();
}

void CDictionary::RebuildIndex()
{
    m_index.Clear();
    m_index.Add(EWordList::Commands, m_arCommands);
    m_index.Add(EWordList::InfWeapons, m_arInfWeapons);
    m_index.Add(EWordList::InfMagazines, m_arInfMagazines);
    m_index.Add(EWordList::VehWeapons, m_arVehWeapons);
    m_index.Add(EWordList::VehMagazines, m_arVehMagazines);
    m_index.Add(EWordList::Vehicles, m_arVehicles);
    m_index.Add(EWordList::Equipment, m_arEquipment);
}
