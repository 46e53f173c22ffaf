#include "core/wizards/briefingform.h"

namespace Briefing {

namespace {

struct SSideInfo
{
    const char* pszAnchor;
    const char* pszVelkLabel;
    const char* pszQonmarLabel;
    const char* pszInitName;
};

// The third side's anchor and init name are spelled this way in pages and
// scripts already out there, in both games; the other init names are the
// game's labels.
constexpr SSideInfo kSideTable[kSides] = {
    {"west", "BLUFOR", "WEST", nullptr},
    {"east", "OPFOR", "EAST", nullptr},
    {"guerrila", "INDEPENDENT", "RESISTANCE", "GUERRILA"},
};

const SSideInfo& Side(int nSide)
{
    return kSideTable[qBound(0, nSide, kSides - 1)];
}

}  // namespace

QString SideAnchor(int nSide)
{
    return QLatin1String(Side(nSide).pszAnchor);
}

QString SideLabel(int nSide, bool bVelk)
{
    return QLatin1String(bVelk ? Side(nSide).pszVelkLabel : Side(nSide).pszQonmarLabel);
}

QString InitSideName(int nSide, bool bVelk)
{
    const SSideInfo& side = Side(nSide);
    return side.pszInitName ? QLatin1String(side.pszInitName) : SideLabel(nSide, bVelk);
}

QString RadioCaption(int nSide, bool bVelk)
{
    return QStringLiteral("Edit ") + SideLabel(nSide, bVelk);
}

void StoreSide(SForm& form, int nSide)
{
    form.arSides[qBound(0, nSide, kSides - 1)] = form.current;
}

void LoadSide(SForm& form, int nSide)
{
    form.current = form.arSides[qBound(0, nSide, kSides - 1)];
}

void SetMultiSided(SForm& form, bool bMultiSided)
{
    form.bMultiSided = bMultiSided;
    if (bMultiSided)
        return;
    StoreSide(form, form.nCurrentSide);
    form.nSideChoice = 0;
    form.nCurrentSide = 0;
    LoadSide(form, 0);
}

void SwitchSide(SForm& form, int nSide)
{
    form.nSideChoice = qBound(0, nSide, kSides - 1);
    StoreSide(form, form.nCurrentSide);
    form.nCurrentSide = form.nSideChoice;
    LoadSide(form, form.nCurrentSide);
}

void Reset(SForm& form)
{
    form = SForm();
}

QString GroupCaption(const SForm& form, EGroup eGroup, bool bVelk)
{
    static const char* const kNames[] = {"Plan", "Notes", "Objectives", "Endings"};
    const QString sName = QLatin1String(kNames[int(eGroup)]);
    if (!form.bMultiSided)
        return sName;
    return sName + QStringLiteral(" - ") + SideLabel(form.nCurrentSide, bVelk);
}

QString MapLink(const QString& sMarkerName, const QString& sSelected)
{
    return QStringLiteral("<a href = \"marker:") + sMarkerName + QStringLiteral("\">") + sSelected
        + QStringLiteral("</a>");
}

}  // namespace Briefing
