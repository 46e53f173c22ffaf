#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <span>

class ISettingsStore;
class CSettings;

inline constexpr char kSettingsSectionName[] = "Settings";
inline const QString kSettingsSection = QLatin1String(kSettingsSectionName);
inline const QString kBookmarksSection = QStringLiteral("Bookmarks");

enum class ESettingType { Int, String };
// Defaults that depend on the screen are computed when they are read.
enum class EScreenDefault { None, HalfWidthMinus425, HalfHeightMinus300 };
// Where a setting stands in the close batch. The batch writes the members
// around the window state it takes from the closing frame, and the values
// only the frame knows at that moment come from the close state instead.
enum class ECloseBatch { Never, BeforeWindow, AfterWindow, FromCloseState };

struct SSettingInfo
{
    const char* pszName;
    const char* pszSection;
    ESettingType eType;
    int nDefault;
    const char* pszDefault;
    EScreenDefault eScreen;
    // Exactly one of the two is set, the one of eType.
    int CSettings::*pnMember;
    QString CSettings::*psMember;
    ECloseBatch eClose;
};

// Every setting of the program, in one place, in the order the close batch
// writes them.
std::span<const SSettingInfo> SettingsTable();
const SSettingInfo* FindSetting(const QString& sName);
int DefaultInt(const SSettingInfo& info, const QSize& screenSize);

constexpr int Rgb(int r, int g, int b)
{
    return r + 256 * g + 65536 * b;
}

// What the main frame knows only at the moment it closes.
struct CCloseState
{
    bool bMaximised = false;
    QRect rcWindow;       // left, top, width, height on the screen
    QString sStartFile;   // the active document's path, empty for none
    bool bDocMax = true;  // the active document window is maximised; true with none open
};

// The in-memory copy of every setting: read once at start-up, changed by the
// options, written back in one batch when the main window closes.
class CSettings : public QObject
{
    Q_OBJECT

public:
    // Holds the table's defaults (on a screen of no size) until Read; the
    // members are zeroed first so that a row bound wrongly shows as a wrong
    // value, not as whatever the memory held.
    explicit CSettings(QObject* pParent = nullptr);

    void Read(const ISettingsStore& store, const QSize& screenSize);
    // The close-time batch, in its fixed order; saveProjectData runs between
    // the settings and StartFile/DocMax, as the project records must be saved
    // there.
    void WriteOnClose(ISettingsStore& store, const CCloseState& close,
                      const std::function<void()>& saveProjectData) const;

    // Whoever changes members calls this once they are all set, so that the
    // views re-apply their options once, not per member.
    void NotifyChanged();

    int m_nAllowMenus{};
    int m_bFirstRun{};
    int m_bAppMax{};
    int m_bDocMax{};
    int m_bVelk{};
    int m_bShowExt{};
    int m_bShowHtml{};
    int m_bRegSQS{};
    int m_bRegEXT{};
    int m_bRegSQF{};
    int m_bRegCSV{};
    int m_bRegHTML{};
    int m_bRegTXT{};
    int m_bAutoComplete{};
    QString m_sCurProject;
    QString m_sStartFile;

    int m_nWinX{};
    int m_nWinY{};
    int m_nWinWidth{};
    int m_nWinHeight{};
    int m_nDlgX{};
    int m_nDlgY{};
    int m_nBarWidth{};
    int m_bBarRight{};
    int m_bToolBar{};
    int m_bCommandBar{};
    int m_bScriptsBar{};
    int m_bStatusBar{};
    int m_bFormat{};
    int m_bAddHeader{};
    int m_bBoldFonts{};
    int m_bFormatRem{};
    int m_bFormatCom{};
    int m_bFormatWeap{};
    int m_bFormatSys{};
    int m_bFormatVar{};
    int m_bLineNumbers{};
    int m_bAutoTabs{};
    int m_bWhiteSpace{};
    int m_bWrapText{};
    int m_nFontSize{};
    int m_crText{};
    int m_crRem{};
    int m_crCom{};
    int m_crWeap{};
    int m_crSys{};
    int m_crVar{};
    int m_crWindow{};
    QString m_sFont;
    QString m_sAuthor;

signals:
    void Changed();

private:
    void WriteMembers(ISettingsStore& store, ECloseBatch ePart) const;
};
