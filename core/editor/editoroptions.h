#pragma once

#include "core/editor/colourer.h"

class CSettings;

// What an editor view takes from the settings: how it colours, indents,
// wraps and completes.
struct SEditorOptions
{
    bool bFormat = true;
    SColourSwitches switches;
    int crText = 0;
    int crRem = 0;
    int crCom = 0;
    int crWeap = 0;
    int crSys = 0;
    int crVar = 0;
    int crWindow = 0;
    bool bLineNumbers = false;
    bool bWhiteSpace = true;
    bool bAutoTabs = true;
    bool bWrapText = true;
    bool bAutoComplete = true;
};

SEditorOptions EditorOptionsOf(const CSettings& settings);
