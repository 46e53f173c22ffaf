#include "core/documents/doctypes.h"

#include "core/data/dictionary.h"

#include <QFileInfo>
#include <QStringList>

namespace {

constexpr SDocTypeInfo kDocTypes[] = {
    {EDocKind::Script, 131, "\nScript\nScript\nScript Files (.sqs)\n.sqs\nQONScript.Document\nQON Script File",
     "&Script File (.sqs)"},
    {EDocKind::Description, 132,
     "\nDescription\nDescription\nDescription Files (.ext)\n.ext\nQONDescription.Document\nQON Description File",
     "&Description File (.ext)"},
    {EDocKind::StringTable, 133,
     "\nStringTable\nStringTable\nString Table Files (.csv)\n.csv\nQONStringTable.Document\nQON String Table File",
     "S&tring Table File (.csv)"},
    {EDocKind::Briefing, 134,
     "\nBriefing\nBriefing\nBriefing/Overview Files (.html)\n.html\nQONBriefing.Document\nQON Briefing File",
     "&Briefing File (.html)"},
    {EDocKind::Function, 135,
     "\nFunction\nFunction\nFunction Files (.sqf)\n.sqf\nQONFunction.Document\nQON Function File",
     "&Function File (.sqf)"},
    {EDocKind::Text, 136, "\nText\nText\nText Files (.txt)\n.txt\nQONText.Document\nQON Text File",
     "Te&xt File (.txt)"},
};

}  // namespace

std::span<const SDocTypeInfo> DocTypes()
{
    return kDocTypes;
}

const SDocTypeInfo& DocType(EDocKind eKind)
{
    return kDocTypes[int(eKind)];
}

QString TemplateField(const SDocTypeInfo& type, EDocField eField)
{
    return QString::fromLatin1(type.pszTemplateString).split(QLatin1Char('\n')).value(int(eField));
}

QString NewDocumentName(const SDocTypeInfo& type)
{
    return TemplateField(type, EDocField::FileNewName) + TemplateField(type, EDocField::FilterExt);
}

const SDocTypeInfo& DocTypeForPath(const QString& sPath)
{
    const QString sExt = LowerExtension(sPath);
    if (sExt.isEmpty())
        return DocType(EDocKind::Text);
    for (const SDocTypeInfo& type : kDocTypes)
        if (sExt == TemplateField(type, EDocField::FilterExt))
            return type;
    return kDocTypes[0];
}

EFileType ViewFileType(const QString& sPath, const SDocTypeInfo& type)
{
    if (sPath.isEmpty())
        return FileTypeOfExtension(TemplateField(type, EDocField::FilterExt));
    return FileTypeOfExtension(LowerExtension(sPath));
}

const QString& HeaderTextFor(const CDictionary& dictionary, EFileType eType)
{
    switch (eType) {
    case kFileSQS:
        return dictionary.m_sHeaderScript;
    case kFileSQF:
        return dictionary.m_sHeaderFunction;
    case kFileEXT:
        return dictionary.m_sHeaderDescription;
    case kFileHTML:
        return dictionary.m_sHeaderHtml;
    case kFileCSV:
        return dictionary.m_sHeaderStringTable;
    case kFileDAT:
    case kFileTXT:
        break;
    }
    return dictionary.m_sHeaderText;
}

QString GameTitle(bool bVelk)
{
    return bVelk ? QStringLiteral("Velk Vanguard") : QStringLiteral("Qonmar Front");
}

QString ExpandHeader(const QString& sHeader, bool bVelk, const QString& sAuthor)
{
    QString sText = sHeader;
    sText.replace(QStringLiteral("[GAME STRING]"), GameTitle(bVelk));
    sText.replace(QStringLiteral("[AUTHOR STRING]"), sAuthor);
    sText.remove(QStringLiteral("[BLANK LINE]"));
    return sText + QStringLiteral("\r\n");
}
