#pragma once

#include <QString>

// The mission overview page made from the wizard's three fields, and the
// fields read back from a page. Pages saved by users depend on the markers.
namespace Overview {

inline const QString kWizardMarker = QStringLiteral("<!-- [OVERVIEW_WIZARD_20] -->");

struct SForm
{
    QString sMissionTitle;
    QString sMissionOverview;  // line breaks CR LF
    QString sPictureFile;      // a file name without its folder

    bool operator==(const SForm&) const = default;
};

// Line ends are CR LF; the fields go in as they are. The two games put the
// picture and the title in different orders and sizes.
QString Page(const SForm& form, bool bVelk, const QString& sVersion);

// Fills *pForm from a page of either game; false when a marker or the
// picture is missing, the fields read before it filled. Marker lines may
// have been re-wrapped by hand; the overview text keeps the line breaks it
// was written with.
bool LoadOverview(const QString& sText, SForm* pForm);
// What the user is told when LoadOverview gives false.
QString ReadBackError();

}  // namespace Overview
