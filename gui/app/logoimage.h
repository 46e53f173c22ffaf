#pragma once

#include <QImage>

// The program's logo with its white background made transparent.
QImage LoadLogoImage();
