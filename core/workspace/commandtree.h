#pragma once

#include <QList>
#include <QString>

class CDictionary;

// One item of the commands tree: the text it shows (and inserts) and the
// items under it.
struct SCommandNode
{
    QString sText;
    QList<SCommandNode> children;

    bool operator==(const SCommandNode&) const = default;
};

// The dictionary as the command bar shows it: five categories whose items
// are inserted into scripts as they stand, so every name but a command's is
// a string literal already.
namespace CommandTree {

enum ECategory { kCommands, kInfantryWeapons, kVehicleWeapons, kVehicles, kEquipment, kCategoryCount };

QString CategoryName(ECategory eCategory);
// The one child of a category of commands, vehicles or equipment that has none.
QString NotAvailable();
QString Quoted(const QString& sName);

QList<SCommandNode> Build(const CDictionary& dictionary);
// Orders the items of one level ignoring case; items equal that way stand
// by their exact texts, and only identical texts keep the order they came in,
// so the same lists always give the same tree.
void SortChildren(QList<SCommandNode>& nodes);

// The command reference's list of commands beginning with the item's first
// letter; empty for an empty text.
QString HelpAddress(const QString& sItemText);

}  // namespace CommandTree
