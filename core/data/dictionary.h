#pragma once

#include "core/data/completionindex.h"
#include "core/data/sortstringarray.h"
#include "core/data/weaponentry.h"
#include "core/data/wordindex.h"

struct CDataPaths;
class IPrompter;

// Everything the editor knows of the scripting language, read from the data
// files beside the program. The lists of the game not selected are not kept.
class CDictionary
{
public:
    CSortStringArray m_arCommands;
    CSortStringArray m_arInfWeapons;
    CSortStringArray m_arInfMagazines;
    CSortStringArray m_arVehWeapons;
    CSortStringArray m_arVehMagazines;
    CSortStringArray m_arVehicles;
    CSortStringArray m_arEquipment;
    CWeaponTable m_InfWeaponMags;
    CWeaponTable m_VehWeaponMags;
    CSortStringArray m_arUnitData;
    CSortStringArray m_arAutoComplete;

    QString m_sHeaderScript;
    QString m_sHeaderFunction;
    QString m_sHeaderDescription;
    QString m_sHeaderHtml;
    QString m_sHeaderStringTable;
    QString m_sHeaderText;
    QString m_sHeaderInit;

    static QString GameSuffix(bool bVelk) { return bVelk ? QStringLiteral("VELK]") : QStringLiteral("QON]"); }

    void Clear();
    // Reads commands.dat, unit.dat and header.dat in that order and stops at
    // the first that cannot be opened; what was not read stays empty.
    bool LoadDataFiles(const CDataPaths& paths, bool bVelk);
    // An explicit reload tells the user when a file could not be read; the
    // start-up load stays silent.
    bool ReloadDataFiles(const CDataPaths& paths, bool bVelk, IPrompter& prompter);

    void ReadCommands(const QStringList& lines, bool bVelk);
    void ReadUnitData(const QStringList& lines);
    void ReadHeaders(const QStringList& lines);

    void BuildAutoComplete(bool bAutoComplete);
    // What m_arAutoComplete.InsertSorted would make of the words, but a word
    // met before costs a hash probe instead of a walk through the list.
    int LearnAutoComplete(QStringView sWord) { return m_autoCompleteIndex.Learn(m_arAutoComplete, sWord); }
    void LearnAutoCompleteWords(const CCompletionIndex::Produce& produce)
    {
        m_autoCompleteIndex.LearnWords(m_arAutoComplete, produce);
    }
    void LearnAutoCompleteWords(const std::vector<CCompletionIndex::Produce>& producers, int nThreads)
    {
        m_autoCompleteIndex.LearnWords(m_arAutoComplete, producers, nThreads);
    }
    QString GetWeaponAmmo(const QString& sWeapon) const;

    const CWordIndex& Index() const { return m_index; }

private:
    void RebuildIndex();

    CWordIndex m_index;
    CCompletionIndex m_autoCompleteIndex;
};
