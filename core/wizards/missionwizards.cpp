#include "core/wizards/missionwizards.h"

#include "core/app/namechars.h"
#include "core/data/dictionary.h"
#include "core/data/sortstringarray.h"

#include <QRandomGenerator>

#include <algorithm>

namespace MissionWizards {

QStringList ChoiceItems(const QStringList& source, bool bSorted)
{
    if (source.isEmpty())
        return {kNotAvailable};
    QStringList items = source;
    if (bSorted)
        std::stable_sort(items.begin(), items.end(),
                         [](const QString& a, const QString& b) { return CompareNoCase(a, b) < 0; });
    return items;
}

int FindPrefix(const QStringList& items, const QString& sPrefix)
{
    if (sPrefix.isEmpty())
        return -1;
    const QString sFolded = FoldAscii(sPrefix);
    for (qsizetype i = 0; i < items.size(); ++i)
        if (FoldAscii(items[i]).startsWith(sFolded))
            return int(i);
    return -1;
}

int MagazineFor(const CDictionary& dictionary, const QString& sWeapon, const QStringList& magazines)
{
    return FindPrefix(magazines, dictionary.GetWeaponAmmo(sWeapon));
}

bool IsValidName(const QString& sName)
{
    return !sName.isEmpty() && NameChars::Strip(sName) == sName;
}

RandomSource SystemRandom()
{
    return [] { return int(QRandomGenerator::global()->bounded(1000)); };
}

QString DefaultName(const QString& sPrefix, const RandomSource& random)
{
    return sPrefix + QString::number(random ? random() : 0);
}

}  // namespace MissionWizards
