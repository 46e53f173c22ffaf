#include "core/workspace/commandtree.h"

#include "core/app/appinfo.h"
#include "core/data/dictionary.h"

#include <algorithm>

namespace CommandTree {

namespace {

SCommandNode ListCategory(ECategory eCategory, const QStringList& arNames, bool bQuote)
{
    SCommandNode category{CategoryName(eCategory), {}};
    if (arNames.isEmpty()) {
        category.children.append({NotAvailable(), {}});
        return category;
    }
    category.children.reserve(arNames.size());
    for (const QString& sName : arNames)
        category.children.append({bQuote ? Quoted(sName) : sName, {}});
    SortChildren(category.children);
    return category;
}

SCommandNode WeaponNode(const CWeaponEntry& entry)
{
    SCommandNode weapon{Quoted(entry.sName), {}};
    weapon.children.reserve(entry.arAmmo.size());
    for (const QString& sMagazine : entry.arAmmo)
        weapon.children.append({Quoted(sMagazine), {}});
    return weapon;
}

}  // namespace

QString CategoryName(ECategory eCategory)
{
    static const char* const apszNames[kCategoryCount]
        = {"Commands", "Infantry Weapons", "Vehicle/Static Weapons", "Vehicles", "Equipment"};
    return QLatin1String(apszNames[eCategory]);
}

QString NotAvailable()
{
    return QStringLiteral("Not Available");
}

QString Quoted(const QString& sName)
{
    return u'"' + sName + u'"';
}

QList<SCommandNode> Build(const CDictionary& dictionary)
{
    QList<SCommandNode> tree;
    tree.reserve(kCategoryCount);
    tree.append(ListCategory(kCommands, dictionary.m_arCommands, false));
    tree.append({CategoryName(kInfantryWeapons), {}});
    tree.append({CategoryName(kVehicleWeapons), {}});
    tree.append(ListCategory(kVehicles, dictionary.m_arVehicles, true));
    tree.append(ListCategory(kEquipment, dictionary.m_arEquipment, true));

    // Record by record, infantry before vehicle, as the tables hold them; the
    // sort below decides the order shown, so this only fixes which of two
    // identical names comes first.
    for (int i = 0; i < kWeaponRecords; ++i) {
        if (!dictionary.m_InfWeaponMags[i].sName.isEmpty())
            tree[kInfantryWeapons].children.append(WeaponNode(dictionary.m_InfWeaponMags[i]));
        if (!dictionary.m_VehWeaponMags[i].sName.isEmpty())
            tree[kVehicleWeapons].children.append(WeaponNode(dictionary.m_VehWeaponMags[i]));
    }
    SortChildren(tree[kInfantryWeapons].children);
    SortChildren(tree[kVehicleWeapons].children);
    return tree;
}

void SortChildren(QList<SCommandNode>& nodes)
{
    std::stable_sort(nodes.begin(), nodes.end(), [](const SCommandNode& a, const SCommandNode& b) {
        const int nNoCase = CompareNoCase(a.sText, b.sText);
        return nNoCase != 0 ? nNoCase < 0 : CompareCase(a.sText, b.sText) < 0;
    });
}

QString HelpAddress(const QString& sItemText)
{
    if (sItemText.isEmpty())
        return QString();
    return AppInfo::CommandReferencePage() + QStringLiteral("?action=list&game=All&letter=") + sItemText.front();
}

}  // namespace CommandTree
