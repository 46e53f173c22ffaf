#include "core/controls/colourlist.h"

#include "core/app/settings.h"

#include <array>

namespace {

constexpr int nColourMask = 0xFFFFFF;

constexpr std::array<SNamedColour, CColourList::nNamedCount> kNamed{{
    {"Blue", Rgb(0, 0, 255)},
    {"Brown", Rgb(128, 64, 64)},
    {"Cyan", Rgb(0, 255, 255)},
    {"Green", Rgb(0, 128, 0)},
    {"Lime Green", Rgb(0, 255, 0)},
    {"Magenta", Rgb(255, 0, 255)},
    {"Maroon", Rgb(128, 0, 0)},
    {"Navy Blue", Rgb(0, 0, 128)},
    {"Olive", Rgb(128, 128, 0)},
    {"Orange", Rgb(255, 128, 0)},
    {"Pink", Rgb(255, 0, 128)},
    {"Purple", Rgb(128, 0, 128)},
    {"Red", Rgb(255, 0, 0)},
    {"Turquoise", Rgb(0, 128, 128)},
    {"Yellow", Rgb(255, 255, 0)},
    {"White", Rgb(255, 255, 255)},
    {"Light Gray", Rgb(192, 192, 192)},
    {"Medium Gray", Rgb(128, 128, 128)},
    {"Dark Gray", Rgb(64, 64, 64)},
    {"Black", Rgb(0, 0, 0)},
}};

bool IsItem(int nIndex)
{
    return nIndex >= 0 && nIndex < CColourList::nCount;
}

}  // namespace

const QString CColourList::kCustomName = QStringLiteral("Custom...");

std::span<const SNamedColour> CColourList::Named()
{
    return kNamed;
}

int CColourList::NamedIndexOf(int nRgb)
{
    const int crWanted = nRgb & nColourMask;
    for (int i = 0; i < nNamedCount; ++i) {
        if (kNamed[i].nRgb == crWanted)
            return i;
    }
    return -1;
}

QString CColourList::NameAt(int nIndex)
{
    if (!IsItem(nIndex))
        return QString();
    return nIndex == nCustomIndex ? kCustomName : QString::fromLatin1(kNamed[nIndex].pszName);
}

int CColourList::ColourAt(int nIndex) const
{
    if (!IsItem(nIndex))
        return -1;
    return nIndex == nCustomIndex ? m_crCustom : kNamed[nIndex].nRgb;
}

void CColourList::SetCustomColour(int nRgb)
{
    m_crCustom = nRgb & nColourMask;
}

int CColourList::Select(int nRgb)
{
    const int nNamed = NamedIndexOf(nRgb);
    if (nNamed >= 0)
        return nNamed;
    SetCustomColour(nRgb);
    return nCustomIndex;
}
