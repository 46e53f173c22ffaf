#include "core/controls/fontlist.h"

#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

bool SortsBefore(const SFontFace& a, const SFontFace& b)
{
    const int nFolded = a.sFamily.compare(b.sFamily, Qt::CaseInsensitive);
    return nFolded != 0 ? nFolded < 0 : a.sFamily < b.sFamily;
}

// The desktop tells apart two makers' fonts of one family as "Name [Maker]";
// either is the family that was asked for.
QString WithoutFoundry(const QString& sFamily)
{
    const qsizetype nOpen = sFamily.lastIndexOf(QLatin1String(" ["));
    if (nOpen > 0 && sFamily.endsWith(u']'))
        return sFamily.left(nOpen);
    return sFamily;
}

// Font lookups on the desktop ignore case, so the fallback does too.
QString Installed(const QList<SFontFace>& installed, const QString& sFamily)
{
    for (const SFontFace& face : installed) {
        if (face.sFamily.compare(sFamily, Qt::CaseInsensitive) == 0)
            return face.sFamily;
    }
    for (const SFontFace& face : installed) {
        if (WithoutFoundry(face.sFamily).compare(sFamily, Qt::CaseInsensitive) == 0)
            return face.sFamily;
    }
    return QString();
}

QString FirstInstalled(const QList<SFontFace>& installed, const QStringList& families)
{
    for (const QString& sFamily : families) {
        const QString sFound = Installed(installed, sFamily);
        if (!sFound.isEmpty())
            return sFound;
    }
    return QString();
}

// Families drawn to the same widths as the ones documents are usually set in,
// so columns and line breaks come out as they would with the original.
const QHash<QString, QStringList>& MetricTwins()
{
    static const QHash<QString, QStringList> twins{
        {QStringLiteral("courier new"), {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")}},
        {QStringLiteral("arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")}},
        {QStringLiteral("times new roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos")}},
    };
    return twins;
}

const QStringList& MonospaceFallbacks()
{
    static const QStringList families{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                                      QStringLiteral("Noto Sans Mono"), QStringLiteral("Noto Mono"),
                                      QStringLiteral("FreeMono")};
    return families;
}

}  // namespace

namespace FontList {

QList<SFontFace> Build(const QList<SFontFace>& faces)
{
    QList<SFontFace> sorted;
    sorted.reserve(faces.size());
    for (const SFontFace& face : faces) {
        if (!face.sFamily.isEmpty() && !face.sFamily.startsWith(u'@'))
            sorted.append(face);
    }
    std::stable_sort(sorted.begin(), sorted.end(), SortsBefore);

    QList<SFontFace> listed;
    listed.reserve(sorted.size());
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const bool bRepeatedNext = i + 1 < sorted.size() && sorted[i + 1].sFamily == sorted[i].sFamily;
        if (!bRepeatedNext)
            listed.append(sorted[i]);
    }
    return listed;
}

QString DisplayText(const SFontFace& face)
{
    return face.bFixed ? face.sFamily + kFixedMark : face.sFamily;
}

int IndexOf(const QList<SFontFace>& faces, const QString& sFamily)
{
    for (qsizetype i = 0; i < faces.size(); ++i) {
        if (faces[i].sFamily == sFamily)
            return int(i);
    }
    return -1;
}

QString FaceInUse(const QString& sRequested, const QList<SFontFace>& installed)
{
    if (const QString sFound = Installed(installed, sRequested); !sFound.isEmpty())
        return sFound;
    if (const QString sTwin = FirstInstalled(installed, MetricTwins().value(sRequested.toLower())); !sTwin.isEmpty())
        return sTwin;
    if (const QString sMono = FirstInstalled(installed, MonospaceFallbacks()); !sMono.isEmpty())
        return sMono;
    const QList<SFontFace> listed = Build(installed);
    for (const SFontFace& face : listed) {
        if (face.bFixed)
            return face.sFamily;
    }
    return listed.isEmpty() ? QString() : listed.first().sFamily;
}

}  // namespace FontList
