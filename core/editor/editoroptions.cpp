#include "core/editor/editoroptions.h"

#include "core/app/settings.h"

SEditorOptions EditorOptionsOf(const CSettings& s)
{
    SEditorOptions options;
    options.bFormat = s.m_bFormat != 0;
    options.switches
        = {s.m_bFormatRem != 0, s.m_bFormatCom != 0, s.m_bFormatWeap != 0, s.m_bFormatSys != 0, s.m_bFormatVar != 0};
    options.crText = s.m_crText;
    options.crRem = s.m_crRem;
    options.crCom = s.m_crCom;
    options.crWeap = s.m_crWeap;
    options.crSys = s.m_crSys;
    options.crVar = s.m_crVar;
    options.crWindow = s.m_crWindow;
    options.bLineNumbers = s.m_bLineNumbers != 0;
    options.bWhiteSpace = s.m_bWhiteSpace != 0;
    options.bAutoTabs = s.m_bAutoTabs != 0;
    options.bWrapText = s.m_bWrapText != 0;
    options.bAutoComplete = s.m_bAutoComplete != 0;
    return options;
}
