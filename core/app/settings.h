#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <span>

class ISettingsStore;

inline const QString kSettingsSection = QStringLiteral("Settings");
inline const QString kBookmarksSection = QStringLiteral("Bookmarks");

enum class ESettingType { Int, String };
// The moment a setting is read, and when it is written back.
enum class ESettingReader { AppStartup, FrameConstruction };
enum class ESettingWriter { Never, FrameClose, FrameCloseNotMaximised };
// Defaults that depend on the screen are computed when they are read.
enum class EScreenDefault { None, HalfWidthMinus425, HalfHeightMinus300 };

struct SSettingInfo
{
    const char* pszName;
    ESettingType eType;
    int nDefault;
    const char* pszDefault;
    EScreenDefault eScreen;
    ESettingReader eReader;
    ESettingWriter eWriter;
    bool bInOptions;
};

// Every setting of the program, in one place.
std::span<const SSettingInfo> SettingsTable();
const SSettingInfo* FindSetting(const QString& sName);
int DefaultInt(const SSettingInfo& info, const QSize& screenSize);

constexpr int Rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

// The values the application object reads at start-up; their defaults live in
// the table, so read them through ReadAppSettings, never default-construct.
struct CAppSettings
{
    int m_nAllowMenus;
    int m_bFirstRun;
    int m_bAppMax;
    int m_bDocMax;
    int m_bVelk;
    int m_bShowExt;
    int m_bShowHtml;
    int m_bRegSQS;
    int m_bRegEXT;
    int m_bRegSQF;
    int m_bRegCSV;
    int m_bRegHTML;
    int m_bRegTXT;
    int m_bAutoComplete;
    QString m_sCurProject;
    QString m_sStartFile;
};

// The window and editor values the main frame reads when it is constructed.
struct CFrameSettings
{
    int m_nWinX;
    int m_nWinY;
    int m_nWinWidth;
    int m_nWinHeight;
    int m_nDlgX;
    int m_nDlgY;
    int m_nBarWidth;
    int m_bBarRight;
    int m_bToolBar;
    int m_bCommandBar;
    int m_bScriptsBar;
    int m_bStatusBar;
    int m_bFormat;
    int m_bAddHeader;
    int m_bBoldFonts;
    int m_bFormatRem;
    int m_bFormatCom;
    int m_bFormatWeap;
    int m_bFormatSys;
    int m_bFormatVar;
    int m_bLineNumbers;
    int m_bAutoTabs;
    int m_bWhiteSpace;
    int m_bWrapText;
    int m_nFontSize;
    int m_crText;
    int m_crRem;
    int m_crCom;
    int m_crWeap;
    int m_crSys;
    int m_crVar;
    int m_crWindow;
    QString m_sFont;
    QString m_sAuthor;
};

// What the main frame knows only at the moment it closes.
struct CCloseState
{
    bool bMaximised = false;
    QRect rcWindow;       // left, top, width, height on the screen
    QString sStartFile;   // the active document's path, empty for none
    bool bDocMax = true;  // the active document window is maximised; true with none open
};

CAppSettings ReadAppSettings(const ISettingsStore& store);
CFrameSettings ReadFrameSettings(const ISettingsStore& store, const QSize& screenSize);

// The close-time batch, in its fixed order; saveProjectData runs between the
// settings and StartFile/DocMax, as the project records must be saved there.
void WriteSettingsOnClose(ISettingsStore& store, const CAppSettings& app, const CFrameSettings& frame,
                          const CCloseState& close, const std::function<void()>& saveProjectData);
