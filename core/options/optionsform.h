#pragma once

#include "core/app/settings.h"

#include <QList>
#include <QString>

#include <array>
#include <span>

struct SFileTypeInfo;

// The settings the options sheet edits, with the texts of their controls
// in the order the pages show them.
namespace Options {

struct SColourItem
{
    const char* pszText;
    int CSettings::*pcrColour;
    int CSettings::*pbFormat;  // null for the two items that are always drawn
    int crDefault;
};
std::span<const SColourItem> ColourItems();

struct SCheck
{
    const char* pszText;
    int CSettings::*pbSetting;
    bool bDefault;
    const char* pszNote = "";
};
std::span<const SCheck> SettingsChecks();  // the Settings page; the author's name comes between the third and fourth
std::span<const SCheck> FileTypeChecks();  // the File Types page, in registration order

constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 24;
inline const QString kDefaultFont = QStringLiteral("Courier New");

// What the pages hold while the sheet is up: a copy of the settings that
// OK gives back and Cancel forgets.
struct SForm
{
    int nGame = 0;  // 0 the newer game, 1 the older
    QString sFont;
    int nFontSize = 10;
    bool bBold = false;
    std::array<int, 7> colours{};
    std::array<bool, 7> formats{};  // by colour item; the first two stay set
    std::array<bool, 9> checks{};
    QString sAuthor;
    std::array<bool, 6> fileTypes{};
};

SForm FormOf(const CSettings& settings);

void RestoreGeneralDefaults(SForm& form);
// The author's name is the user's own and stays.
void RestoreSettingsDefaults(SForm& form);
void RestoreFileTypeDefaults(SForm& form);

// What OK changed that needs more than the new values.
struct SApplied
{
    bool bFont = false;
    bool bGame = false;
    QList<const SFileTypeInfo*> fileTypes;  // to register or unregister, in order
};
// Copies the form into the settings in OK's order; the caller re-makes the
// font, reloads the game's data and registers the file types it reports.
SApplied Apply(const SForm& form, CSettings& settings);

// The sample's lines as runs of text in their colours: each class whose
// format flag is off shows in the text colour.
struct SSampleRun
{
    QString sText;
    int crColour;
};
QList<QList<SSampleRun>> SampleLines(const SForm& form);

// Tells the user which installed family stands in for the chosen one; empty
// when the chosen family is installed and shown as it is.
QString StandInNote(const QString& sChosen, const QString& sInUse);

}  // namespace Options
