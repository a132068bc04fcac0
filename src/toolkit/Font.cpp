// Point sizes of fonts.
#include "toolkit/Font.h"

#include "toolkit/MulDiv.h"

int TFont::Size() const
{
    return -MulDiv(Height, 72, PixelsPerInch);
}

void TFont::SetSize(int points)
{
    Height = -MulDiv(points, PixelsPerInch, 72);
}

platform::FontSpec FontSpecOf(const TFont& font)
{
    return {font.Name, font.Height, (font.Style & fsBold) != 0, (font.Style & fsItalic) != 0,
            (font.Style & fsUnderline) != 0, (font.Style & fsStrikeOut) != 0};
}
