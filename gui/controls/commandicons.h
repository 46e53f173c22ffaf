#pragma once

#include <QIcon>

// The pictures of the menus and the tool bar, drawn for 16 pixels.
QIcon CommandIcon(const QString& sName);
