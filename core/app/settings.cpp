#include "core/app/settings.h"

#include "core/app/settingsstore.h"

#include <array>

namespace {

using R = ESettingReader;
using W = ESettingWriter;
using T = ESettingType;
using S = EScreenDefault;

constexpr SSettingInfo kSettings[] = {
    // name, type, default, default text, screen default, read, written, in options
    {"AllowMenus", T::Int, 1, "", S::None, R::AppStartup, W::Never, false},
    {"FirstRun", T::Int, 1, "", S::None, R::AppStartup, W::FrameClose, false},
    {"AppMax", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, false},
    {"DocMax", T::Int, 1, "", S::None, R::AppStartup, W::FrameClose, false},
    {"Velk", T::Int, 1, "", S::None, R::AppStartup, W::FrameClose, true},
    {"ShowExt", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"ShowHtml", T::Int, 0, "", S::None, R::AppStartup, W::Never, false},
    {"RegSQS", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"RegEXT", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"RegSQF", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"RegCSV", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"RegHTML", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"RegTXT", T::Int, 0, "", S::None, R::AppStartup, W::FrameClose, true},
    {"AutoComplete", T::Int, 1, "", S::None, R::AppStartup, W::FrameClose, true},
    {"CurProject", T::String, 0, "", S::None, R::AppStartup, W::FrameClose, false},
    {"StartFile", T::String, 0, "", S::None, R::AppStartup, W::FrameClose, false},
    {"WinX", T::Int, 0, "", S::HalfWidthMinus425, R::FrameConstruction, W::FrameCloseNotMaximised, false},
    {"WinY", T::Int, 0, "", S::HalfHeightMinus300, R::FrameConstruction, W::FrameCloseNotMaximised, false},
    {"WinWidth", T::Int, 850, "", S::None, R::FrameConstruction, W::FrameCloseNotMaximised, false},
    {"WinHeight", T::Int, 600, "", S::None, R::FrameConstruction, W::FrameCloseNotMaximised, false},
    {"DlgX", T::Int, 0, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"DlgY", T::Int, 0, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"BarWidth", T::Int, 230, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"BarRight", T::Int, 0, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"ToolBar", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"CommandBar", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"ScriptsBar", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"StatusBar", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, false},
    {"Format", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"AddHeader", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"BoldFonts", T::Int, 0, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FormatRem", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FormatCom", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FormatWeap", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FormatSys", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FormatVar", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"LineNumbers", T::Int, 0, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"AutoTabs", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"WhiteSpace", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"WrapText", T::Int, 1, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"FontSize", T::Int, 10, "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"TextColor", T::Int, Rgb(0, 0, 0), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"RemColor", T::Int, Rgb(0, 128, 0), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"ComColor", T::Int, Rgb(255, 0, 0), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"WeapColor", T::Int, Rgb(255, 0, 255), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"SysColor", T::Int, Rgb(0, 0, 255), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"VarColor", T::Int, Rgb(128, 128, 128), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"WindowColor", T::Int, Rgb(255, 255, 255), "", S::None, R::FrameConstruction, W::FrameClose, true},
    {"Font", T::String, 0, "Courier New", S::None, R::FrameConstruction, W::FrameClose, true},
    {"Author", T::String, 0, "TODO: Author Name", S::None, R::FrameConstruction, W::FrameClose, true},
};

// Which member holds which setting; a setting is either an int or a string.
template <class TSettings> struct SBinding
{
    const char* pszName;
    int TSettings::*pnValue;
    QString TSettings::*psValue;
};

using SApp = SBinding<CAppSettings>;
using SFrame = SBinding<CFrameSettings>;

// In the order of the store's start-up read.
constexpr SApp kAppBindings[] = {
    {"AllowMenus", &CAppSettings::m_nAllowMenus, nullptr},
    {"FirstRun", &CAppSettings::m_bFirstRun, nullptr},
    {"AppMax", &CAppSettings::m_bAppMax, nullptr},
    {"DocMax", &CAppSettings::m_bDocMax, nullptr},
    {"Velk", &CAppSettings::m_bVelk, nullptr},
    {"ShowExt", &CAppSettings::m_bShowExt, nullptr},
    {"ShowHtml", &CAppSettings::m_bShowHtml, nullptr},
    {"RegSQS", &CAppSettings::m_bRegSQS, nullptr},
    {"RegEXT", &CAppSettings::m_bRegEXT, nullptr},
    {"RegSQF", &CAppSettings::m_bRegSQF, nullptr},
    {"RegCSV", &CAppSettings::m_bRegCSV, nullptr},
    {"RegHTML", &CAppSettings::m_bRegHTML, nullptr},
    {"RegTXT", &CAppSettings::m_bRegTXT, nullptr},
    {"AutoComplete", &CAppSettings::m_bAutoComplete, nullptr},
    {"CurProject", nullptr, &CAppSettings::m_sCurProject},
    {"StartFile", nullptr, &CAppSettings::m_sStartFile},
};

constexpr SFrame kFrameBindings[] = {
    {"WinX", &CFrameSettings::m_nWinX, nullptr},
    {"WinY", &CFrameSettings::m_nWinY, nullptr},
    {"WinWidth", &CFrameSettings::m_nWinWidth, nullptr},
    {"WinHeight", &CFrameSettings::m_nWinHeight, nullptr},
    {"DlgX", &CFrameSettings::m_nDlgX, nullptr},
    {"DlgY", &CFrameSettings::m_nDlgY, nullptr},
    {"BarWidth", &CFrameSettings::m_nBarWidth, nullptr},
    {"BarRight", &CFrameSettings::m_bBarRight, nullptr},
    {"ToolBar", &CFrameSettings::m_bToolBar, nullptr},
    {"CommandBar", &CFrameSettings::m_bCommandBar, nullptr},
    {"ScriptsBar", &CFrameSettings::m_bScriptsBar, nullptr},
    {"StatusBar", &CFrameSettings::m_bStatusBar, nullptr},
    {"Format", &CFrameSettings::m_bFormat, nullptr},
    {"AddHeader", &CFrameSettings::m_bAddHeader, nullptr},
    {"BoldFonts", &CFrameSettings::m_bBoldFonts, nullptr},
    {"FormatRem", &CFrameSettings::m_bFormatRem, nullptr},
    {"FormatCom", &CFrameSettings::m_bFormatCom, nullptr},
    {"FormatWeap", &CFrameSettings::m_bFormatWeap, nullptr},
    {"FormatSys", &CFrameSettings::m_bFormatSys, nullptr},
    {"FormatVar", &CFrameSettings::m_bFormatVar, nullptr},
    {"LineNumbers", &CFrameSettings::m_bLineNumbers, nullptr},
    {"AutoTabs", &CFrameSettings::m_bAutoTabs, nullptr},
    {"WhiteSpace", &CFrameSettings::m_bWhiteSpace, nullptr},
    {"WrapText", &CFrameSettings::m_bWrapText, nullptr},
    {"FontSize", &CFrameSettings::m_nFontSize, nullptr},
    {"TextColor", &CFrameSettings::m_crText, nullptr},
    {"RemColor", &CFrameSettings::m_crRem, nullptr},
    {"ComColor", &CFrameSettings::m_crCom, nullptr},
    {"WeapColor", &CFrameSettings::m_crWeap, nullptr},
    {"SysColor", &CFrameSettings::m_crSys, nullptr},
    {"VarColor", &CFrameSettings::m_crVar, nullptr},
    {"WindowColor", &CFrameSettings::m_crWindow, nullptr},
    {"Font", nullptr, &CFrameSettings::m_sFont},
    {"Author", nullptr, &CFrameSettings::m_sAuthor},
};

// The close-time batch around AppMax and the window rectangle.
constexpr const char* kCloseBatchLeading[] = {"DlgX", "DlgY", "BarWidth", "BarRight"};
constexpr const char* kCloseBatchMain[] = {
    "Velk",       "ShowExt",   "FirstRun",     "RegSQS",     "RegEXT",      "RegSQF",    "RegCSV",      "RegHTML",
    "RegTXT",     "ToolBar",   "CommandBar",   "ScriptsBar", "StatusBar",   "Format",    "AddHeader",   "BoldFonts",
    "FontSize",   "FormatRem", "FormatCom",    "FormatWeap", "FormatSys",   "FormatVar", "LineNumbers", "AutoTabs",
    "WhiteSpace", "WrapText",  "AutoComplete", "TextColor",  "WindowColor", "RemColor",  "ComColor",    "WeapColor",
    "SysColor",   "VarColor",  "Font",         "Author",     "CurProject",
};

template <class TSettings, std::size_t N>
void ReadBindings(const ISettingsStore& store, const SBinding<TSettings> (&bindings)[N], const QSize& screenSize,
                  TSettings& settings)
{
    for (const auto& binding : bindings) {
        const SSettingInfo& info = *FindSetting(QLatin1String(binding.pszName));
        const QString sName = QLatin1String(info.pszName);
        if (binding.pnValue)
            settings.*binding.pnValue = store.ReadInt(kSettingsSection, sName, DefaultInt(info, screenSize));
        else
            settings.*binding.psValue = store.ReadString(kSettingsSection, sName, QLatin1String(info.pszDefault));
    }
}

template <class TSettings, std::size_t N>
bool WriteBinding(ISettingsStore& store, const SBinding<TSettings> (&bindings)[N], const TSettings& settings,
                  const char* pszName)
{
    for (const auto& binding : bindings) {
        if (qstrcmp(binding.pszName, pszName) != 0)
            continue;
        const QString sName = QLatin1String(pszName);
        if (binding.pnValue)
            store.WriteInt(kSettingsSection, sName, settings.*binding.pnValue);
        else
            store.WriteString(kSettingsSection, sName, settings.*binding.psValue);
        return true;
    }
    return false;
}

void WriteNamed(ISettingsStore& store, const CAppSettings& app, const CFrameSettings& frame, const char* pszName)
{
    if (!WriteBinding(store, kAppBindings, app, pszName))
        WriteBinding(store, kFrameBindings, frame, pszName);
}

}  // namespace

std::span<const SSettingInfo> SettingsTable()
{
    return kSettings;
}

const SSettingInfo* FindSetting(const QString& sName)
{
    for (const SSettingInfo& info : kSettings)
        if (sName == QLatin1String(info.pszName))
            return &info;
    return nullptr;
}

int DefaultInt(const SSettingInfo& info, const QSize& screenSize)
{
    switch (info.eScreen) {
    case EScreenDefault::HalfWidthMinus425:
        return screenSize.width() / 2 - 425;
    case EScreenDefault::HalfHeightMinus300:
        return screenSize.height() / 2 - 300;
    case EScreenDefault::None:
        break;
    }
    return info.nDefault;
}

CAppSettings ReadAppSettings(const ISettingsStore& store)
{
    CAppSettings settings;
    ReadBindings(store, kAppBindings, QSize(), settings);
    return settings;
}

CFrameSettings ReadFrameSettings(const ISettingsStore& store, const QSize& screenSize)
{
    CFrameSettings settings;
    ReadBindings(store, kFrameBindings, screenSize, settings);
    return settings;
}

void WriteSettingsOnClose(ISettingsStore& store, const CAppSettings& app, const CFrameSettings& frame,
                          const CCloseState& close, const std::function<void()>& saveProjectData)
{
    for (const char* pszName : kCloseBatchLeading)
        WriteNamed(store, app, frame, pszName);
    store.WriteInt(kSettingsSection, QStringLiteral("AppMax"), close.bMaximised ? 1 : 0);
    if (!close.bMaximised) {
        store.WriteInt(kSettingsSection, QStringLiteral("WinX"), close.rcWindow.left());
        store.WriteInt(kSettingsSection, QStringLiteral("WinY"), close.rcWindow.top());
        store.WriteInt(kSettingsSection, QStringLiteral("WinWidth"), close.rcWindow.width());
        store.WriteInt(kSettingsSection, QStringLiteral("WinHeight"), close.rcWindow.height());
    }
    for (const char* pszName : kCloseBatchMain)
        WriteNamed(store, app, frame, pszName);
    if (saveProjectData)
        saveProjectData();
    store.WriteString(kSettingsSection, QStringLiteral("StartFile"), close.sStartFile);
    store.WriteInt(kSettingsSection, QStringLiteral("DocMax"), close.bDocMax ? 1 : 0);
}
