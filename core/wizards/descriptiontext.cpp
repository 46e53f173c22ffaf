#include "core/wizards/descriptiontext.h"

#include "core/data/sortstringarray.h"
#include "core/documents/doctypes.h"

namespace DescriptionText {

namespace {

const QString kSlashLine = QString(59, u'/') + QStringLiteral("\r\n");

void AppendHeader(QString& sText, bool bVelk, const QString& sVersion)
{
    sText += kSlashLine;
    sText += QStringLiteral("// ") + GameTitle(bVelk) + QStringLiteral(" Description File\r\n");
    sText += QStringLiteral("// Created with Velk Edit - ") + sVersion + QStringLiteral("\r\n");
    sText += kSlashLine;
}

void AppendMapTools(QString& sText, const SForm& form)
{
    sText += QStringLiteral("\r\nshowCompass = %1;\r\nshowGPS = %2;\r\nshowWatch = %3;\r\n")
                 .arg(int(form.bShowCompass))
                 .arg(int(form.bShowGPS))
                 .arg(int(form.bShowWatch));
}

void AppendScores(QString& sText, const SForm& form)
{
    if (form.nHighScore < 1)
        return;
    sText += QStringLiteral("\r\nmaxScore = %1;\r\navgScore = %2;\r\nminScore = %3;\r\n")
                 .arg(form.nHighScore)
                 .arg(form.nAvgScore)
                 .arg(form.nLowScore);
}

void AppendRespawn(QString& sText, const SForm& form)
{
    if (!form.bAddRespawn)
        return;
    sText += QStringLiteral("\r\nrespawn = \"") + RespawnWord(form.nRespawnType) + QStringLiteral("\";\r\n");
    const QString sDelay = form.sRespawnDelay.isEmpty() ? kDefaultDelay : form.sRespawnDelay;
    sText += QStringLiteral("respawnDelay = ") + sDelay + QStringLiteral(";\r\n");
}

void AppendGearClass(QString& sText, const QString& sClass, const QString& sComment, const QList<SGearRow>& rows)
{
    if (rows.isEmpty())
        return;
    sText
        += QStringLiteral("\r\nclass ") + sClass + QStringLiteral("\r\n{\r\n\t// ") + sComment + QStringLiteral("\r\n");
    for (const SGearRow& row : rows) {
        if (row.sText.isEmpty())
            continue;
        const QString sName = row.sText.section(u' ', 0, 0);
        // Names come from the user's dictionary: joined, never put through arg().
        sText += QStringLiteral("\tclass ") + sName + QStringLiteral(" { count = ") + QString::number(row.nCount)
            + QStringLiteral("; };\r\n");
    }
    sText += QStringLiteral("};\r\n");
}

void AppendSoundClass(QString& sText, ESoundClass eClass, const QStringList& files)
{
    if (files.isEmpty())
        return;
    const bool bMusic = eClass == ESoundClass::Music;
    const QString sList = bMusic ? QStringLiteral("tracks") : QStringLiteral("sounds");
    const QString sWord = bMusic ? QStringLiteral("music") : QStringLiteral("sound");
    QStringList baseNames;
    for (const QString& sFile : files)
        baseNames.append(SoundBaseName(sFile));
    sText += QStringLiteral("\r\nclass ") + SoundClassName(eClass) + QStringLiteral("\r\n{\r\n");
    sText += QStringLiteral("\t// List of ") + sList + QStringLiteral(" (.ogg files without the .ogg extension)\r\n");
    sText += u'\t' + sList + QStringLiteral("[] = {") + baseNames.join(QStringLiteral(", "))
        + QStringLiteral("};\r\n\r\n");
    sText += QStringLiteral("\t// Definition for each sound\r\n");
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& sBase = baseNames[i];
        sText += QStringLiteral("\tclass ") + sBase + QStringLiteral("\r\n\t{\r\n");
        sText += QStringLiteral("\t\tname = \"") + sBase + QStringLiteral("\"; // Name for mission editor\r\n");
        sText += QStringLiteral("\t\tsound[] = {\\") + sWord + u'\\' + files[i] + QStringLiteral(", db + 0, 1.0};\r\n");
        sText += eClass == ESoundClass::Radio ? QStringLiteral("\t\ttitle = \"\"; // Text for radio message\r\n")
                                              : QStringLiteral("\t\ttitles[] = {0, \"\"};\r\n");
        sText += QStringLiteral("\t};\r\n");
    }
    sText += QStringLiteral("};\r\n");
}

void AppendSounds(QString& sText, const SForm& form)
{
    if (!form.bAddSounds)
        return;
    // The note's second line has no line end: the first class brings one,
    // and with no class the file ends right there.
    sText += QStringLiteral("\r\n// NOTE: Your sound/radio files must be in the ...\\mission\\sound\r\n"
                            "// folder and your music files in the ...\\mission\\music folder.");
    for (int i = 0; i < kSoundClasses; ++i)
        AppendSoundClass(sText, ESoundClass(i), form.soundFiles[i]);
}

}  // namespace

QString SoundClassName(ESoundClass eClass)
{
    switch (eClass) {
    case ESoundClass::Sounds:
        return QStringLiteral("CfgSounds");
    case ESoundClass::Music:
        return QStringLiteral("CfgMusic");
    case ESoundClass::Radio:
        return QStringLiteral("CfgRadio");
    }
    return QString();
}

QString RespawnWord(int nType)
{
    static const char* const kWords[kRespawnTypes] = {"NONE", "BIRD", "INSTANT", "BASE", "GROUP", "SIDE"};
    return nType >= 0 && nType < kRespawnTypes ? QLatin1String(kWords[nType]) : QLatin1String(kWords[3]);
}

QStringList RespawnDelays()
{
    QStringList delays;
    for (int nSeconds = 0; nSeconds <= 60; nSeconds += 5)
        delays.append(QString::number(nSeconds));
    return delays;
}

EGearList EquipmentList(const QString& sItem)
{
    return sItem == QLatin1String("Binocular") || sItem == QLatin1String("NVGoggles") ? EGearList::Weapons
                                                                                      : EGearList::Magazines;
}

QString GearRowText(const QString& sName, int nCount)
{
    return sName + QStringLiteral(" (") + QString::number(nCount) + u')';
}

bool HasGearRow(const QList<SGearRow>& rows, const QString& sName)
{
    const QString sPrefix = FoldAscii(sName + u' ');
    for (const SGearRow& row : rows)
        if (FoldAscii(row.sText).startsWith(sPrefix))
            return true;
    return false;
}

QString SoundBaseName(const QString& sFile)
{
    QString sBase = sFile;
    return sBase.remove(QStringLiteral(".ogg"), Qt::CaseSensitive);
}

QString BuildText(const SForm& form, bool bVelk, const QString& sVersion)
{
    QString sText;
    AppendHeader(sText, bVelk, sVersion);
    AppendMapTools(sText, form);
    AppendScores(sText, form);
    AppendRespawn(sText, form);
    if (form.bAddGear) {
        AppendGearClass(sText, QStringLiteral("Weapons"), QStringLiteral("Add the weapons to the mission gear"),
                        form.weaponRows);
        AppendGearClass(sText, QStringLiteral("Magazines"), QStringLiteral("Add the magazines to the mission gear"),
                        form.magazineRows);
    }
    AppendSounds(sText, form);
    return sText;
}

}  // namespace DescriptionText
