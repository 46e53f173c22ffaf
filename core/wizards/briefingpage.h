#pragma once

#include "core/wizards/briefingform.h"

#include <QString>

// The briefing page and its init script made from the wizard's form, and
// the form read back from a page. The comment markers of the page are what
// the reader finds the values by: pages saved by users depend on every
// character of them.
namespace Briefing {

inline const QString kWizardMarker = QStringLiteral("<!-- [BRIEFING_WIZARD_30] -->");
inline const QString kMultiSidedMarker = QStringLiteral("<!-- [MULTI-SIDED] -->");

// What the page and the script take from outside the form.
struct SContext
{
    bool bVelk = true;
    QString sVersion;     // "Version 1.3.4000"
    QString sHeaderInit;  // header.dat's [INIT] section, "[GAME STRING]" unfilled
};

struct SOutput
{
    QString sPage;
    QString sInit;  // empty: no objective starts hidden or done
};

// Line ends are CR LF throughout; form texts go in as they are.
QString SingleSidedPage(const SSide& side, const SContext& context);
QString MultiSidedPage(const std::array<SSide, kSides>& sides, const SContext& context);
QString SingleSidedInit(const SSide& side, const SContext& context);
// Every side's flags count, whether or not the side makes it into the page.
QString MultiSidedInit(const std::array<SSide, kSides>& sides, const SContext& context);

// "Create/Save Briefing" up to the documents: the form goes into its side's
// slot, the line breaks of the single-sided plan and notes become "<br>",
// and the page and script are made for the mode the form is in.
SOutput Create(SForm& form, const SContext& context);

// The form a page gives back into a fresh form. False only for a page of
// one side that holds no plan: a page for several sides loads whatever its
// markers for this game's labels hold, nothing included.
bool LoadBriefing(const QString& sText, bool bVelk, SForm* pForm);
// What the user is told when LoadBriefing gives false.
QString ReadBackError();

}  // namespace Briefing
