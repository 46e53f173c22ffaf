#include "gui/options/editorfont.h"

#include "core/controls/fontlist.h"
#include "gui/controls/fontcombo.h"

namespace EditorFont {

QString FaceInUse(const QString& sFace)
{
    const QString sInUse = FontList::FaceInUse(sFace, CFontCombo::InstalledFaces());
    // With no font listed at all the desktop still draws something; let it choose.
    return sInUse.isEmpty() ? sFace : sInUse;
}

QFont Make(const QString& sFace, int nPoints, bool bBold)
{
    // Settings written elsewhere name families this desktop lacks, most of
    // all "Courier New"; the stand-in is chosen here rather than left to the
    // desktop, which may fall back on a proportional face and break columns.
    QFont font(FaceInUse(sFace));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(qMax(1, nPoints));
    font.setBold(bBold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace EditorFont
