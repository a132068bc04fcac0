// A caption in a large display font whose glyphs are filled with a colour
// gradient (left to right, or top to bottom) or a texture bitmap, or only
// outlined, optionally over a drop shadow. A monochrome mask of the text clips
// the fill to the glyphs, so the parent's surface shows around them.
// UI thread only.
#pragma once

#include "platform/Canvas.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Control.h"

#include <array>
#include <cstdint>
#include <string>

enum TextureType : std::uint8_t { TyBitmap = 0, TyHGradient = 1, TyVGradient = 2, TyOutline = 3 };

class TGradientLabel : public TControl {
public:
    // 120 x 60, bold 26-point Arial, a maroon-to-green left-to-right gradient.
    TGradientLabel(TComponent* owner, TForm& parent, platform::ICanvasService& canvases);

    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor colour);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor colour);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor colour);
    bool Shadow() const { return shadow_; }
    void SetShadow(bool shadow);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor colour);
    int ShadowDeep() const { return shadowDeep_; }
    // 0 to 9 pixels; any other value is ignored.
    void SetShadowDeep(int deep);
    TextureType TxType() const { return txType_; }
    void SetTxType(TextureType txType);
    const TBitmap& Texture() const { return texture_; }
    // Copies the bitmap's image; the caller keeps its bitmap.
    void SetTexture(const TBitmap& texture);

    // The colour of each of the gradient's 256 bands, from the start and end
    // colours as they were at the last change.
    const std::array<platform::Rgb, 256>& ColorTable() const { return colorTable_; }
    // The gradient's bands across w x h pixels of a canvas: columns, or rows.
    void FillHorizontal(platform::ICanvas& canvas, int w, int h);
    void FillVertical(platform::ICanvas& canvas, int w, int h);

    void Paint(platform::ICanvas& canvas) override;

private:
    void BuildColorTable();
    // A new start or end colour: the table follows it while a gradient shows.
    void setGradientColour(TColor& field, TColor colour);
    void fillBands(platform::ICanvas& canvas, int w, int h, bool across);
    platform::Rgb rgb(TColor colour) const;
    void DrawOutlinedText(platform::ICanvas& canvas, int x, int y, const std::string& text, TColor colour);
    void DrawShadowText(platform::ICanvas& canvas, int x, int y, const std::string& text, TColor colour, int dx,
                        int dy);
    void DrawTexturedText(platform::ICanvas& canvas, int x, int y, platform::IBitmap* source,
                          const std::string& text);
    bool gradient() const { return txType_ == TyHGradient || txType_ == TyVGradient; }

    platform::ICanvasService& canvases_;
    std::array<platform::Rgb, 256> colorTable_{};
    TBitmap texture_;
    TColor startColor_ = clMaroon;
    TColor endColor_ = clGreen;
    TextureType txType_ = TyHGradient;
    bool shadow_ = false;
    TColor shadowColor_ = clBtnShadow;
    TColor borderColor_ = clNavy;
    static constexpr int steps_ = 255;
    int shadowDeep_ = 1;
};
