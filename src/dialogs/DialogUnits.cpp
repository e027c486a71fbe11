#include "dialogs/DialogUnits.h"

namespace {
// value * numerator / denominator, rounded half away from zero.
int ScaleRounded(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long rounded =
        product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    return static_cast<int>(rounded);
}
} // namespace

int DialogUnits::BaseXFromSampleWidth(int sampleWidth)
{
    return (sampleWidth / 26 + 1) / 2;
}

int DialogUnits::ToPixelsX(int units) const
{
    return ScaleRounded(units, m_baseX, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return ScaleRounded(units, m_baseY, 8);
}
