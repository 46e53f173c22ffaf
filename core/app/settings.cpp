#include "core/app/settings.h"

#include "core/app/settingsstore.h"

namespace {

using T = ESettingType;
using S = EScreenDefault;
using C = ECloseBatch;
using CS = CSettings;

constexpr const char* kSec = kSettingsSectionName;

// The rows stand in the order of the close batch: first the two that are
// never written, then the frame's bar placement, the window state, the main
// run, and last what the close state says about the active document.
constexpr SSettingInfo kSettings[] = {
    // name, section, type, default, default text, screen default, int member, string member, close batch
    {"AllowMenus", kSec, T::Int, 1, "", S::None, &CS::m_nAllowMenus, nullptr, C::Never},
    {"ShowHtml", kSec, T::Int, 0, "", S::None, &CS::m_bShowHtml, nullptr, C::Never},
    {"DlgX", kSec, T::Int, 0, "", S::None, &CS::m_nDlgX, nullptr, C::BeforeWindow},
    {"DlgY", kSec, T::Int, 0, "", S::None, &CS::m_nDlgY, nullptr, C::BeforeWindow},
    {"BarWidth", kSec, T::Int, 230, "", S::None, &CS::m_nBarWidth, nullptr, C::BeforeWindow},
    {"BarRight", kSec, T::Int, 0, "", S::None, &CS::m_bBarRight, nullptr, C::BeforeWindow},
    {"AppMax", kSec, T::Int, 0, "", S::None, &CS::m_bAppMax, nullptr, C::FromCloseState},
    {"WinX", kSec, T::Int, 0, "", S::HalfWidthMinus425, &CS::m_nWinX, nullptr, C::FromCloseState},
    {"WinY", kSec, T::Int, 0, "", S::HalfHeightMinus300, &CS::m_nWinY, nullptr, C::FromCloseState},
    {"WinWidth", kSec, T::Int, 850, "", S::None, &CS::m_nWinWidth, nullptr, C::FromCloseState},
    {"WinHeight", kSec, T::Int, 600, "", S::None, &CS::m_nWinHeight, nullptr, C::FromCloseState},
    {"Velk", kSec, T::Int, 1, "", S::None, &CS::m_bVelk, nullptr, C::AfterWindow},
    {"ShowExt", kSec, T::Int, 0, "", S::None, &CS::m_bShowExt, nullptr, C::AfterWindow},
    {"FirstRun", kSec, T::Int, 1, "", S::None, &CS::m_bFirstRun, nullptr, C::AfterWindow},
    {"RegSQS", kSec, T::Int, 0, "", S::None, &CS::m_bRegSQS, nullptr, C::AfterWindow},
    {"RegEXT", kSec, T::Int, 0, "", S::None, &CS::m_bRegEXT, nullptr, C::AfterWindow},
    {"RegSQF", kSec, T::Int, 0, "", S::None, &CS::m_bRegSQF, nullptr, C::AfterWindow},
    {"RegCSV", kSec, T::Int, 0, "", S::None, &CS::m_bRegCSV, nullptr, C::AfterWindow},
    {"RegHTML", kSec, T::Int, 0, "", S::None, &CS::m_bRegHTML, nullptr, C::AfterWindow},
    {"RegTXT", kSec, T::Int, 0, "", S::None, &CS::m_bRegTXT, nullptr, C::AfterWindow},
    {"ToolBar", kSec, T::Int, 1, "", S::None, &CS::m_bToolBar, nullptr, C::AfterWindow},
    {"CommandBar", kSec, T::Int, 1, "", S::None, &CS::m_bCommandBar, nullptr, C::AfterWindow},
    {"ScriptsBar", kSec, T::Int, 1, "", S::None, &CS::m_bScriptsBar, nullptr, C::AfterWindow},
    {"StatusBar", kSec, T::Int, 1, "", S::None, &CS::m_bStatusBar, nullptr, C::AfterWindow},
    {"Format", kSec, T::Int, 1, "", S::None, &CS::m_bFormat, nullptr, C::AfterWindow},
    {"AddHeader", kSec, T::Int, 1, "", S::None, &CS::m_bAddHeader, nullptr, C::AfterWindow},
    {"BoldFonts", kSec, T::Int, 0, "", S::None, &CS::m_bBoldFonts, nullptr, C::AfterWindow},
    {"FontSize", kSec, T::Int, 10, "", S::None, &CS::m_nFontSize, nullptr, C::AfterWindow},
    {"FormatRem", kSec, T::Int, 1, "", S::None, &CS::m_bFormatRem, nullptr, C::AfterWindow},
    {"FormatCom", kSec, T::Int, 1, "", S::None, &CS::m_bFormatCom, nullptr, C::AfterWindow},
    {"FormatWeap", kSec, T::Int, 1, "", S::None, &CS::m_bFormatWeap, nullptr, C::AfterWindow},
    {"FormatSys", kSec, T::Int, 1, "", S::None, &CS::m_bFormatSys, nullptr, C::AfterWindow},
    {"FormatVar", kSec, T::Int, 1, "", S::None, &CS::m_bFormatVar, nullptr, C::AfterWindow},
    {"LineNumbers", kSec, T::Int, 0, "", S::None, &CS::m_bLineNumbers, nullptr, C::AfterWindow},
    {"AutoTabs", kSec, T::Int, 1, "", S::None, &CS::m_bAutoTabs, nullptr, C::AfterWindow},
    {"WhiteSpace", kSec, T::Int, 1, "", S::None, &CS::m_bWhiteSpace, nullptr, C::AfterWindow},
    {"WrapText", kSec, T::Int, 1, "", S::None, &CS::m_bWrapText, nullptr, C::AfterWindow},
    {"AutoComplete", kSec, T::Int, 1, "", S::None, &CS::m_bAutoComplete, nullptr, C::AfterWindow},
    {"TextColor", kSec, T::Int, Rgb(0, 0, 0), "", S::None, &CS::m_crText, nullptr, C::AfterWindow},
    {"WindowColor", kSec, T::Int, Rgb(255, 255, 255), "", S::None, &CS::m_crWindow, nullptr, C::AfterWindow},
    {"RemColor", kSec, T::Int, Rgb(0, 128, 0), "", S::None, &CS::m_crRem, nullptr, C::AfterWindow},
    {"ComColor", kSec, T::Int, Rgb(255, 0, 0), "", S::None, &CS::m_crCom, nullptr, C::AfterWindow},
    {"WeapColor", kSec, T::Int, Rgb(255, 0, 255), "", S::None, &CS::m_crWeap, nullptr, C::AfterWindow},
    {"SysColor", kSec, T::Int, Rgb(0, 0, 255), "", S::None, &CS::m_crSys, nullptr, C::AfterWindow},
    {"VarColor", kSec, T::Int, Rgb(128, 128, 128), "", S::None, &CS::m_crVar, nullptr, C::AfterWindow},
    {"Font", kSec, T::String, 0, "Courier New", S::None, nullptr, &CS::m_sFont, C::AfterWindow},
    {"Author", kSec, T::String, 0, "TODO: Author Name", S::None, nullptr, &CS::m_sAuthor, C::AfterWindow},
    {"CurProject", kSec, T::String, 0, "", S::None, nullptr, &CS::m_sCurProject, C::AfterWindow},
    {"StartFile", kSec, T::String, 0, "", S::None, nullptr, &CS::m_sStartFile, C::FromCloseState},
    {"DocMax", kSec, T::Int, 1, "", S::None, &CS::m_bDocMax, nullptr, C::FromCloseState},
};

QString NameOf(const SSettingInfo& info)
{
    return QLatin1String(info.pszName);
}

QString SectionOf(const SSettingInfo& info)
{
    return QLatin1String(info.pszSection);
}

void ApplyDefault(CSettings& settings, const SSettingInfo& info, const QSize& screenSize)
{
    if (info.eType == ESettingType::Int)
        settings.*info.pnMember = DefaultInt(info, screenSize);
    else
        settings.*info.psMember = QLatin1String(info.pszDefault);
}

void WriteMember(ISettingsStore& store, const CSettings& settings, const SSettingInfo& info)
{
    if (info.eType == ESettingType::Int)
        store.WriteInt(SectionOf(info), NameOf(info), settings.*info.pnMember);
    else
        store.WriteString(SectionOf(info), NameOf(info), settings.*info.psMember);
}

// The values the closing frame reports replace the members of these rows.
const SSettingInfo& CloseStateRow(const char* pszName, ESettingType eType)
{
    const SSettingInfo* pInfo = FindSetting(QLatin1String(pszName));
    Q_ASSERT(pInfo && pInfo->eClose == ECloseBatch::FromCloseState && pInfo->eType == eType);
    return *pInfo;
}

void WriteFromClose(ISettingsStore& store, const char* pszName, int nValue)
{
    const SSettingInfo& info = CloseStateRow(pszName, ESettingType::Int);
    store.WriteInt(SectionOf(info), NameOf(info), nValue);
}

void WriteFromClose(ISettingsStore& store, const char* pszName, const QString& sValue)
{
    const SSettingInfo& info = CloseStateRow(pszName, ESettingType::String);
    store.WriteString(SectionOf(info), NameOf(info), sValue);
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

CSettings::CSettings(QObject* pParent) : QObject(pParent)
{
    for (const SSettingInfo& info : kSettings)
        ApplyDefault(*this, info, QSize(0, 0));
}

void CSettings::Read(const ISettingsStore& store, const QSize& screenSize)
{
    for (const SSettingInfo& info : kSettings) {
        if (info.eType == ESettingType::Int)
            this->*info.pnMember = store.ReadInt(SectionOf(info), NameOf(info), DefaultInt(info, screenSize));
        else
            this->*info.psMember = store.ReadString(SectionOf(info), NameOf(info), QLatin1String(info.pszDefault));
    }
}

void CSettings::WriteMembers(ISettingsStore& store, ECloseBatch ePart) const
{
    for (const SSettingInfo& info : kSettings)
        if (info.eClose == ePart)
            WriteMember(store, *this, info);
}

void CSettings::WriteOnClose(ISettingsStore& store, const CCloseState& close,
                             const std::function<void()>& saveProjectData) const
{
    WriteMembers(store, ECloseBatch::BeforeWindow);
    WriteFromClose(store, "AppMax", close.bMaximised ? 1 : 0);
    // A maximised window keeps the rectangle it had before, for the next
    // start to restore into.
    if (!close.bMaximised) {
        WriteFromClose(store, "WinX", close.rcWindow.left());
        WriteFromClose(store, "WinY", close.rcWindow.top());
        WriteFromClose(store, "WinWidth", close.rcWindow.width());
        WriteFromClose(store, "WinHeight", close.rcWindow.height());
    }
    WriteMembers(store, ECloseBatch::AfterWindow);
    if (saveProjectData)
        saveProjectData();
    WriteFromClose(store, "StartFile", close.sStartFile);
    WriteFromClose(store, "DocMax", close.bDocMax ? 1 : 0);
}

void CSettings::NotifyChanged()
{
    emit Changed();
}
