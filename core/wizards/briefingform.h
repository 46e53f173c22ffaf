#pragma once

#include <QString>

#include <array>

// What the briefing wizard holds: the form its controls show and, for a
// briefing written for several sides, one such form per side. Texts keep
// their line breaks as CR LF, as the page stores them.
namespace Briefing {

inline constexpr int kObjectives = 8;
inline constexpr int kEndings = 3;
inline constexpr int kSides = 3;

// What one side of a briefing says, or what the form shows of it.
struct SSide
{
    QString sPlan;
    QString sNotes;
    std::array<QString, kObjectives> arObjective;
    // Not written into the page: they only make the init script.
    std::array<bool, kObjectives> arHide{};
    std::array<bool, kObjectives> arDone{};
    std::array<QString, kEndings> arEndingTitle;
    std::array<QString, kEndings> arEndingText;

    bool operator==(const SSide&) const = default;
};

struct SForm
{
    SSide current;  // what the controls show
    QString sMarkerName;
    bool bMultiSided = false;
    int nSideChoice = 0;   // the side radio that is on
    int nCurrentSide = 0;  // whose data the controls show
    std::array<SSide, kSides> arSides;

    bool operator==(const SForm&) const = default;
};

// The side table. The anchors are the same for both games; the labels, the
// radio captions and most init-script names are the game's own.
QString SideAnchor(int nSide);
QString SideLabel(int nSide, bool bVelk);
QString InitSideName(int nSide, bool bVelk);
QString RadioCaption(int nSide, bool bVelk);

// The per-side store.
void StoreSide(SForm& form, int nSide);
void LoadSide(SForm& form, int nSide);

// "Create for Multiple Sides" ticked or cleared; clearing it brings back
// side 0, the other sides stay in the store.
void SetMultiSided(SForm& form, bool bMultiSided);
// A side radio: the form goes to the side it showed, the chosen side comes in.
void SwitchSide(SForm& form, int nSide);
// "Reset Briefing": everything goes.
void Reset(SForm& form);

enum class EGroup { Plan, Notes, Objectives, Endings };
// In multi-sided mode the groups name the side they show.
QString GroupCaption(const SForm& form, EGroup eGroup, bool bVelk);

// What "Insert Hyperlink" puts in place of the selected text.
QString MapLink(const QString& sMarkerName, const QString& sSelected);

}  // namespace Briefing
