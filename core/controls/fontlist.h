#pragma once

#include <QList>
#include <QString>

// One font family as the desktop reports it.
struct SFontFace
{
    QString sFamily;
    bool bFixed = false;     // fixed-pitch: listed with the mark
    bool bScalable = false;  // outline font: drawn with the glyph beside it
};

// The font picker's list and which installed face stands in for a family
// that is not installed.
namespace FontList {

// Explains itself through the label beside the picker, "* fixed-width fonts".
inline const QString kFixedMark = QStringLiteral(" *");

// Each family once, sorted by name without regard to case; vertical-writing
// faces (named with a leading "@") and nameless ones are left out. A family
// reported more than once keeps the record reported last.
QList<SFontFace> Build(const QList<SFontFace>& faces);

// What a row shows: the family, marked when it is fixed-pitch.
QString DisplayText(const SFontFace& face);

// The row whose family is exactly sFamily, -1 when none is.
int IndexOf(const QList<SFontFace>& faces, const QString& sFamily);

// The installed family text is actually drawn in when sRequested is asked
// for: the requested one when installed; else one made to the same metrics;
// else a fixed-pitch one, as the editor lines up columns. Empty only when
// nothing is installed.
QString FaceInUse(const QString& sRequested, const QList<SFontFace>& installed);

}  // namespace FontList
