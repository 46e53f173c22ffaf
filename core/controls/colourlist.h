#pragma once

#include <QString>

#include <span>

struct SNamedColour
{
    const char* pszName;
    int nRgb;  // red + 256 * green + 65536 * blue, as the settings keep colours
};

// What the colour picker offers: twenty named colours in a fixed order, then
// "Custom...", which holds whatever colour none of them matches. Colours are
// the settings' 24-bit values; a top byte carries no colour and is dropped.
class CColourList
{
public:
    static constexpr int nNamedCount = 20;
    static constexpr int nCustomIndex = nNamedCount;
    static constexpr int nCount = nNamedCount + 1;
    static constexpr int nInitialCustom = 0xFFFFFF;
    static const QString kCustomName;

    static std::span<const SNamedColour> Named();
    // The first named colour equal to nRgb, -1 when none is.
    static int NamedIndexOf(int nRgb);
    // Empty outside 0..nCount-1.
    static QString NameAt(int nIndex);

    // -1 outside 0..nCount-1, so a missing selection reads as no colour.
    int ColourAt(int nIndex) const;
    int CustomColour() const { return m_crCustom; }
    void SetCustomColour(int nRgb);

    // The item that shows nRgb. White is both a named colour and the custom
    // item's first value, and the named one wins: a colour only becomes the
    // custom one when no named colour matches it.
    int Select(int nRgb);

private:
    int m_crCustom = nInitialCustom;
};
