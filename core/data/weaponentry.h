#pragma once

#include "core/data/sortstringarray.h"

#include <array>

struct CWeaponEntry
{
    QString sName;
    CSortStringArray arAmmo;
};

// The dictionary holds a fixed number of weapon records per table.
constexpr int kWeaponRecords = 128;
using CWeaponTable = std::array<CWeaponEntry, kWeaponRecords>;
