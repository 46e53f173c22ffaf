#include "core/options/optionsform.h"

#include "core/app/filetypes.h"

namespace Options {

namespace {

using CS = CSettings;

constexpr SColourItem kColourItems[] = {
    {"General Text", &CS::m_crText, nullptr, Rgb(0, 0, 0)},
    {"Window Background", &CS::m_crWindow, nullptr, Rgb(255, 255, 255)},
    {"Comments/Remarks", &CS::m_crRem, &CS::m_bFormatRem, Rgb(0, 128, 0)},
    {"VELK/QON Commands", &CS::m_crCom, &CS::m_bFormatCom, Rgb(255, 0, 0)},
    {"Weapons/Magazines", &CS::m_crWeap, &CS::m_bFormatWeap, Rgb(255, 0, 255)},
    {"Scripting Commands", &CS::m_crSys, &CS::m_bFormatSys, Rgb(0, 0, 255)},
    {"Local Variables", &CS::m_crVar, &CS::m_bFormatVar, Rgb(128, 128, 128)},
};

const SCheck kSettingsChecks[] = {
    {"Allow &color formatting in scripts", &CS::m_bFormat, true},
    {"Allow &auto-complete text in scripts", &CS::m_bAutoComplete, true},
    {"Automatically add &headers to new documents", &CS::m_bAddHeader, true},
    {"Auto add white &space at the begining of new lines", &CS::m_bWhiteSpace, true},
    {"Auto add/remove &tabs when braces {} are used", &CS::m_bAutoTabs, true},
    {"Use &word wrapping in non-script documents", &CS::m_bWrapText, true},
    {"Show &line numbers in documents and when printing", &CS::m_bLineNumbers, false},
    {"Show file &extentions with file names (next run)", &CS::m_bShowExt, false},
    {"&Put the command/project bar on the right (next run)", &CS::m_bBarRight, false},
};

const SCheck kFileTypeChecks[] = {
    {"(*.sqs) &Script Files", &CS::m_bRegSQS, true, "(recommended)"},
    {"(*.ext) &Description Files", &CS::m_bRegEXT, true, "(common)"},
    {"(*.sqf) &Function Files", &CS::m_bRegSQF, false},
    {"(*.csv) String &Table Files", &CS::m_bRegCSV, false, "(not recommended)"},
    {"(*.html) &Briefing Files", &CS::m_bRegHTML, false, "(not recommended)"},
    {"(*.txt) Te&xt Files", &CS::m_bRegTXT, false},
};

enum EItem { kText, kWindow, kRem, kCom, kWeap, kSys, kVar };

}  // namespace

std::span<const SColourItem> ColourItems()
{
    return kColourItems;
}

std::span<const SCheck> SettingsChecks()
{
    return kSettingsChecks;
}

std::span<const SCheck> FileTypeChecks()
{
    return kFileTypeChecks;
}

SForm FormOf(const CSettings& settings)
{
    SForm form;
    form.nGame = settings.m_bVelk ? 0 : 1;
    form.sFont = settings.m_sFont;
    form.nFontSize = qBound(kMinFontSize, settings.m_nFontSize, kMaxFontSize);
    form.bBold = settings.m_bBoldFonts != 0;
    for (size_t i = 0; i < form.colours.size(); ++i) {
        form.colours[i] = settings.*kColourItems[i].pcrColour;
        form.formats[i] = !kColourItems[i].pbFormat || settings.*kColourItems[i].pbFormat;
    }
    for (size_t i = 0; i < form.checks.size(); ++i)
        form.checks[i] = settings.*kSettingsChecks[i].pbSetting != 0;
    form.sAuthor = settings.m_sAuthor;
    for (size_t i = 0; i < form.fileTypes.size(); ++i)
        form.fileTypes[i] = settings.*kFileTypeChecks[i].pbSetting != 0;
    return form;
}

void RestoreGeneralDefaults(SForm& form)
{
    form.nGame = 0;
    form.sFont = kDefaultFont;
    form.nFontSize = 10;
    form.bBold = false;
    for (size_t i = 0; i < form.colours.size(); ++i) {
        form.colours[i] = kColourItems[i].crDefault;
        form.formats[i] = true;
    }
}

void RestoreSettingsDefaults(SForm& form)
{
    for (size_t i = 0; i < form.checks.size(); ++i)
        form.checks[i] = kSettingsChecks[i].bDefault;
}

void RestoreFileTypeDefaults(SForm& form)
{
    for (size_t i = 0; i < form.fileTypes.size(); ++i)
        form.fileTypes[i] = kFileTypeChecks[i].bDefault;
}

SApplied Apply(const SForm& form, CSettings& settings)
{
    SApplied applied;
    for (size_t i = 0; i < form.colours.size(); ++i) {
        settings.*kColourItems[i].pcrColour = form.colours[i];
        if (kColourItems[i].pbFormat)
            settings.*kColourItems[i].pbFormat = form.formats[i] ? 1 : 0;
    }
    if (form.sFont != settings.m_sFont || form.nFontSize != settings.m_nFontSize
        || form.bBold != (settings.m_bBoldFonts != 0)) {
        settings.m_sFont = form.sFont;
        settings.m_nFontSize = form.nFontSize;
        settings.m_bBoldFonts = form.bBold ? 1 : 0;
        applied.bFont = true;
    }
    const int bVelk = form.nGame == 0 ? 1 : 0;
    if (bVelk != (settings.m_bVelk != 0 ? 1 : 0)) {
        settings.m_bVelk = bVelk;
        applied.bGame = true;
    }
    for (size_t i = 0; i < form.checks.size(); ++i)
        settings.*kSettingsChecks[i].pbSetting = form.checks[i] ? 1 : 0;
    settings.m_sAuthor = form.sAuthor;
    const std::span<const SFileTypeInfo> types = FileTypes();
    for (size_t i = 0; i < form.fileTypes.size(); ++i) {
        int& bFlag = settings.*kFileTypeChecks[i].pbSetting;
        if ((bFlag != 0) == form.fileTypes[i])
            continue;
        bFlag = form.fileTypes[i] ? 1 : 0;
        applied.fileTypes.append(&types[i]);
    }
    return applied;
}

QList<QList<SSampleRun>> SampleLines(const SForm& form)
{
    const auto colour
        = [&form](EItem eItem) { return form.formats[eItem] ? form.colours[eItem] : form.colours[kText]; };
    const int crText = form.colours[kText];
    return {
        {{QStringLiteral("; Some sample text"), colour(kRem)}},
        {{QStringLiteral("_unit"), colour(kVar)},
         {QStringLiteral(" "), crText},
         {QStringLiteral("addWeapon"), colour(kCom)},
         {QStringLiteral(" \""), crText},
         {QStringLiteral("M4A1"), colour(kWeap)},
         {QStringLiteral("\""), crText}},
        {},
        {{QStringLiteral("if"), colour(kSys)},
         {QStringLiteral("("), crText},
         {QStringLiteral("_x"), colour(kVar)},
         {QStringLiteral(" == 0) "), crText},
         {QStringLiteral("then"), colour(kSys)},
         {QStringLiteral("("), crText},
         {QStringLiteral("_x"), colour(kVar)},
         {QStringLiteral(" = 5)"), crText}},
    };
}

QString StandInNote(const QString& sChosen, const QString& sInUse)
{
    // The desktop finds families without regard to case, so "courier new"
    // shown in Courier New is no stand-in.
    if (sChosen.isEmpty() || sInUse.isEmpty() || sChosen.compare(sInUse, Qt::CaseInsensitive) == 0)
        return QString();
    return QStringLiteral("Shown with %1: %2 is not installed").arg(sInUse, sChosen);
}

}  // namespace Options
