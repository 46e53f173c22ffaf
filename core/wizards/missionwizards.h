#pragma once

#include "core/documents/doctypes.h"

#include <QString>
#include <QStringList>

#include <functional>

class CDictionary;
class IPrompter;

// What the description, unit and crate wizards share: their choice lists,
// their default names and the way they hand a finished text to the editor.
namespace MissionWizards {

// What a choice list shows when the dictionary has nothing for it.
inline const QString kNotAvailable = QStringLiteral("ERROR: Not Available");

// The items of a choice list: the source's own order, or sorted ignoring
// case; a single kNotAvailable for an empty source.
QStringList ChoiceItems(const QStringList& source, bool bSorted);

// The first item that begins with sPrefix ignoring case; -1 for none or an
// empty prefix.
int FindPrefix(const QStringList& items, const QString& sPrefix);

// The magazine a weapon choice pulls along: the position of the first
// magazine item beginning with the weapon's first magazine, -1 when the
// weapon has none or no item matches.
int MagazineFor(const CDictionary& dictionary, const QString& sWeapon, const QStringList& magazines);

// Unit and crate names become file names: none may be empty or hold a
// character no file name can.
bool IsValidName(const QString& sName);

// A number 0..999 for a default name; tests fix it.
using RandomSource = std::function<int()>;
RandomSource SystemRandom();
QString DefaultName(const QString& sPrefix, const RandomSource& random);

// Opens the finished text as a new untitled document of the kind under the
// title; false when no document could be made.
using CreateDoc = std::function<bool(EDocKind eKind, const QString& sText, const QString& sTitle)>;

// What every wizard dialog works with; the caller owns all of it.
struct SContext
{
    const CDictionary& dictionary;
    IPrompter& prompter;
    bool bVelk = false;
    QString sVersion;
    CreateDoc createDoc;
    RandomSource random;
};

}  // namespace MissionWizards
