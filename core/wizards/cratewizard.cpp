#include "core/wizards/cratewizard.h"

#include "core/data/sortstringarray.h"
#include "core/documents/doctypes.h"
#include "core/wizards/descriptiontext.h"

namespace CrateWizard {

QString EquipmentCommand(const QString& sItem)
{
    // The same two items the description's gear counts among the weapons.
    return DescriptionText::EquipmentList(sItem) == DescriptionText::EGearList::Weapons ? kWeaponCargo : kMagazineCargo;
}

QString RowPrefix(const QString& sCommand, const QString& sName)
{
    return sCommand + QStringLiteral(" [\"") + sName + QStringLiteral("\", ");
}

QString Row(const QString& sCommand, const QString& sName, int nCount)
{
    return RowPrefix(sCommand, sName) + QString::number(nCount) + u']';
}

bool HasRow(const QStringList& rows, const QString& sPrefix)
{
    const QString sFolded = FoldAscii(sPrefix);
    for (const QString& sRow : rows)
        if (FoldAscii(sRow).startsWith(sFolded))
            return true;
    return false;
}

QString BuildScript(const SForm& form, bool bVelk, const QString& sVersion)
{
    const QString sStars = QStringLiteral("; ") + QString(64, u'*') + QStringLiteral("\r\n");
    QString sText = sStars;
    sText += QStringLiteral("; Custom crate script for ") + GameTitle(bVelk) + QStringLiteral("\r\n");
    sText += QStringLiteral("; Created with Velk Edit - ") + sVersion + QStringLiteral("\r\n");
    sText += QStringLiteral("; HELP: Run this script from the INITIALIZATION box of the crate.\r\n");
    sText += QStringLiteral("; CODE: [this] exec \"") + form.sCrateName + QStringLiteral(".sqs\"\r\n");
    sText += sStars + QStringLiteral("\r\n");
    sText += QStringLiteral("; Get the crate parameter given\r\n_crate = _this select 0\r\n\r\n");
    if (form.bEmptyCrate)
        sText += QStringLiteral("; Remove the stock items from the crate\r\nclearMagazineCargo _crate\r\n"
                                "clearWeaponCargo _crate\r\n\r\n");
    sText += QStringLiteral("; Add the items to the crate\r\n");
    for (const QString& sRow : form.rows)
        sText += QStringLiteral("_crate ") + sRow + QStringLiteral("\r\n");
    sText += QStringLiteral("\r\nExit\r\n");
    return sText;
}

}  // namespace CrateWizard
