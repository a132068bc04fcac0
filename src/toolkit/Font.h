// Fonts: a face name, a height in pixels (negative for character height) or a
// size in points, a colour and a style set.
#pragma once

#include "platform/Canvas.h"
#include "toolkit/Color.h"

#include <string>

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

class TFont {
public:
    static constexpr int PixelsPerInch = 96;

    std::string Name = "MS Sans Serif";
    int Height = -11;
    TColor Color = clWindowText;
    TFontStyles Style = 0;

    // Points from the character height, rounded as the system rounds.
    int Size() const;
    void SetSize(int points);

    bool operator==(const TFont&) const = default;
};

// The font as the canvas service takes it.
platform::FontSpec FontSpecOf(const TFont& font);
