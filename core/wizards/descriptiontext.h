#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The mission description file the description wizard writes, from what
// its form holds.
namespace DescriptionText {

// One gear row as the list shows it, "NAME (N)", with its count.
struct SGearRow
{
    QString sText;
    int nCount = 0;
};

enum class ESoundClass { Sounds, Music, Radio };
constexpr int kSoundClasses = 3;
QString SoundClassName(ESoundClass eClass);  // "CfgSounds", "CfgMusic", "CfgRadio"

constexpr int kRespawnTypes = 6;
QString RespawnWord(int nType);  // "NONE" ... "SIDE"
QStringList RespawnDelays();     // "0", "5", ... "60"
inline const QString kDefaultDelay = QStringLiteral("15");

struct SForm
{
    bool bAddGear = false;
    bool bAddRespawn = false;
    bool bAddSounds = false;
    bool bShowCompass = false;
    bool bShowGPS = false;
    bool bShowWatch = false;
    int nHighScore = 0;
    int nAvgScore = 0;
    int nLowScore = 0;
    int nRespawnType = 3;
    QString sRespawnDelay = kDefaultDelay;
    QList<SGearRow> weaponRows;
    QList<SGearRow> magazineRows;
    // By sound class; the file names as chosen, without folders.
    std::array<QStringList, kSoundClasses> soundFiles;
};

// Where an added item lands.
enum class EGearList { Weapons, Magazines };
// Binoculars and goggles are weapons to the game; any other equipment is
// carried as a magazine.
EGearList EquipmentList(const QString& sItem);

QString GearRowText(const QString& sName, int nCount);
// An item is listed once: a row that begins with its name and a blank,
// ignoring case.
bool HasGearRow(const QList<SGearRow>& rows, const QString& sName);

// A sound's class name: the file name with every ".ogg" (exact case) removed.
QString SoundBaseName(const QString& sFile);

QString BuildText(const SForm& form, bool bVelk, const QString& sVersion);

}  // namespace DescriptionText
