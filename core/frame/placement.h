#pragma once

#include <QList>
#include <QRect>

// Where the main window goes at start: its stored rectangle, or, when that
// lies off every screen (after a change of monitors), the same size centred
// on the primary screen's free area, shrunk to fit. An empty result leaves
// the window where the desktop puts it (a stored size of nothing).
QRect PlaceWindow(const QRect& rcStored, const QList<QRect>& screens, const QRect& rcPrimaryFree);
