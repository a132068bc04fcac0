// Point sizes of fonts.
#include "toolkit/Font.h"

namespace {
// Multiplies and divides with rounding to the nearest, halves away from zero.
int mulDiv(int number, int numerator, int denominator)
{
    long long product = static_cast<long long>(number) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
}

int TFont::Size() const
{
    return -mulDiv(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    Height = -mulDiv(points, PixelsPerInch, 72);
}
