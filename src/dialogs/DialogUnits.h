#pragma once

#include <string_view>

// Converts dialog template units into pixels for a given dialog font, the way dialog templates
// are laid out: four horizontal units per average character width, eight vertical units per
// character height.
class DialogUnits {
public:
    // The letters whose average width gives the horizontal base unit.
    static constexpr std::string_view kSampleText =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

    DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    // The horizontal base unit from the pixel width of kSampleText: its average character
    // width, rounded to the nearest pixel.
    static int BaseXFromSampleWidth(int sampleWidth);

    int BaseX() const { return m_baseX; }
    int BaseY() const { return m_baseY; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;

private:
    int m_baseX;
    int m_baseY;
};
