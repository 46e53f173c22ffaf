#pragma once

#include <optional>

// Caps Lock and Num Lock as the desktop's keyboard reports them.
struct SLockKeys
{
    bool bCaps = false;
    bool bNum = false;

    bool operator==(const SLockKeys&) const = default;
};

// Nothing where the desktop does not tell the lock state (no X display,
// or a build without the X keyboard extension): the panes then stay empty.
std::optional<SLockKeys> ReadLockKeys();
