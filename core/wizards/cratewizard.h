#pragma once

#include <QString>
#include <QStringList>

// The crate builder's rules that need no window: its rows and the script
// that fills a crate with them.
namespace CrateWizard {

inline const QString kWeaponCargo = QStringLiteral("addWeaponCargo");
inline const QString kMagazineCargo = QStringLiteral("addMagazineCargo");

// Binoculars and goggles go into a crate as weapons, any other equipment as
// magazines.
QString EquipmentCommand(const QString& sItem);

// addWeaponCargo ["M16", 5]: the row is the prefix and the count with its
// bracket; the prefix names the item.
QString RowPrefix(const QString& sCommand, const QString& sName);
QString Row(const QString& sCommand, const QString& sName, int nCount);
// An item goes in once per command word: no row may begin with the prefix
// of another, ignoring case.
bool HasRow(const QStringList& rows, const QString& sPrefix);

struct SForm
{
    QString sCrateName;
    bool bEmptyCrate = true;
    QStringList rows;
};

QString BuildScript(const SForm& form, bool bVelk, const QString& sVersion);

}  // namespace CrateWizard
