#pragma once

// The wizards' forms as the golden folder writes them: one "key: value" a
// line, UTF-8, "#" lines for what the case is about. In values "\n" is a
// line break (CR LF in the form), "\t" a tab and "\\" a backslash.
//
//   game: velk | qonmar
//   multi: yes          current: 1          marker: obj1
//   plan, notes, obj1..obj8, hide1..hide8, done1..done8, title1..title3,
//   text1..text3        the form the controls show
//   side0.plan ...      the same keys for the slots of side 0, 1 or 2; the
//                       form starts as the current side's slot
//   (overview) title, text, picture

#include "core/wizards/briefingform.h"
#include "core/wizards/overviewpage.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace VelkTest {

struct SFormFile
{
    bool bVelk = true;
    QMap<QString, QString> values;  // every other key, unescaped
    QStringList unknown;            // lines that are not "key: value"
};

inline QString Unescape(const QString& sValue)
{
    QString sText;
    for (qsizetype i = 0; i < sValue.size(); ++i) {
        if (sValue[i] != u'\\' || i + 1 == sValue.size()) {
            sText += sValue[i];
            continue;
        }
        const QChar c = sValue[++i];
        sText += c == u'n' ? QStringLiteral("\r\n") : c == u't' ? QStringLiteral("\t") : QString(c);
    }
    return sText;
}

inline SFormFile ReadFormFile(const QString& sPath, bool* pbRead)
{
    SFormFile file;
    QFile in(sPath);
    *pbRead = in.open(QIODevice::ReadOnly);
    static const QRegularExpression line(QStringLiteral("^([a-z0-9.]+):(?: (.*))?$"));
    for (const QString& sLine : QString::fromUtf8(in.readAll()).split(u'\n')) {
        if (sLine.isEmpty() || sLine.startsWith(u'#'))
            continue;
        const QRegularExpressionMatch match = line.match(sLine);
        if (!match.hasMatch()) {
            file.unknown.append(sLine);
        } else if (match.captured(1) == QStringLiteral("game")) {
            file.bVelk = match.captured(2) == QStringLiteral("velk");
            if (!file.bVelk && match.captured(2) != QStringLiteral("qonmar"))
                file.unknown.append(sLine);
        } else {
            file.values.insert(match.captured(1), Unescape(match.captured(2)));
        }
    }
    return file;
}

// Takes the keys of one side (those after sPrefix) out of the file's values.
inline void FillSide(QMap<QString, QString>& values, const QString& sPrefix, Briefing::SSide& side)
{
    const auto take = [&](const QString& sKey, QString& sSlot) {
        if (values.contains(sPrefix + sKey))
            sSlot = values.take(sPrefix + sKey);
    };
    const auto flag = [&](const QString& sKey, bool& bSlot) {
        if (values.contains(sPrefix + sKey))
            bSlot = values.take(sPrefix + sKey) == QStringLiteral("yes");
    };
    take(QStringLiteral("plan"), side.sPlan);
    take(QStringLiteral("notes"), side.sNotes);
    for (int n = 0; n < Briefing::kObjectives; ++n) {
        take(QStringLiteral("obj%1").arg(n + 1), side.arObjective[n]);
        flag(QStringLiteral("hide%1").arg(n + 1), side.arHide[n]);
        flag(QStringLiteral("done%1").arg(n + 1), side.arDone[n]);
    }
    for (int n = 0; n < Briefing::kEndings; ++n) {
        take(QStringLiteral("title%1").arg(n + 1), side.arEndingTitle[n]);
        take(QStringLiteral("text%1").arg(n + 1), side.arEndingText[n]);
    }
}

// Keys left over name nothing of the form: *pUnknown gets them, so that a
// typo in a case file cannot quietly drop a field.
inline Briefing::SForm BriefingForm(SFormFile file, QStringList* pUnknown)
{
    Briefing::SForm form;
    form.bMultiSided = file.values.take(QStringLiteral("multi")) == QStringLiteral("yes");
    form.nCurrentSide = file.values.take(QStringLiteral("current")).toInt();
    form.nSideChoice = form.nCurrentSide;
    form.sMarkerName = file.values.take(QStringLiteral("marker"));
    for (int nSide = 0; nSide < Briefing::kSides; ++nSide)
        FillSide(file.values, QStringLiteral("side%1.").arg(nSide), form.arSides[nSide]);
    // The form shows its side as last stored, with the keys without a side
    // typed over it since.
    form.current = form.arSides[qBound(0, form.nCurrentSide, Briefing::kSides - 1)];
    FillSide(file.values, QString(), form.current);
    *pUnknown = file.unknown + file.values.keys();
    return form;
}

inline Overview::SForm OverviewForm(SFormFile file, QStringList* pUnknown)
{
    Overview::SForm form;
    form.sMissionTitle = file.values.take(QStringLiteral("title"));
    form.sMissionOverview = file.values.take(QStringLiteral("text"));
    form.sPictureFile = file.values.take(QStringLiteral("picture"));
    *pUnknown = file.unknown + file.values.keys();
    return form;
}

}  // namespace VelkTest
