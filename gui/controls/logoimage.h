#pragma once

#include <QImage>

// An image compiled into the program, by file name.
QImage LoadAppImage(const QString& sName);
// The program's logo with its white background made transparent.
QImage LoadLogoImage();
