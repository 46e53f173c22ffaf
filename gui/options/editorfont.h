#pragma once

#include <QFont>
#include <QString>

// The one way a face, size and weight from the settings become the font the
// editor and the options' sample draw with, so both show the same face.
namespace EditorFont {

// The installed family text set in sFace is drawn in: sFace itself when it
// is installed, else a family made to its metrics, else a fixed-pitch one.
QString FaceInUse(const QString& sFace);

QFont Make(const QString& sFace, int nPoints, bool bBold);

}  // namespace EditorFont
