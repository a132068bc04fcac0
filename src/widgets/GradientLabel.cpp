// The gradient caption label.
#include "widgets/GradientLabel.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/MulDiv.h"

using platform::RasterOp;

TGradientLabel::TGradientLabel(TComponent* owner, TForm& parent, platform::ICanvasService& canvases)
    : TControl(owner, parent), canvases_(canvases), texture_(canvases)
{
    SetBounds(Left(), Top(), 120, 60);
    TFont display = Font();
    display.Name = "Arial";
    display.SetSize(26);
    display.Style = fsBold;
    SetFont(display);
    BuildColorTable();
}

platform::Rgb TGradientLabel::rgb(TColor colour) const
{
    return ColorToRGB(colour, Parent().Application().Ui());
}

void TGradientLabel::BuildColorTable()
{
    const platform::Rgb from = rgb(startColor_);
    const platform::Rgb to = rgb(endColor_);
    for (int i = 0; i < 256; ++i) {
        platform::Rgb entry = 0;
        for (int shift : {0, 8, 16}) {
            const int c0 = static_cast<int>((from >> shift) & 0xFF);
            const int c1 = static_cast<int>((to >> shift) & 0xFF);
            entry |= static_cast<platform::Rgb>((c0 + MulDiv(i, c1 - c0, steps_ - 1)) & 0xFF) << shift;
        }
        colorTable_[i] = entry;
    }
}

void TGradientLabel::SetStartColor(TColor colour)
{
    setGradientColour(startColor_, colour);
}

void TGradientLabel::SetEndColor(TColor colour)
{
    setGradientColour(endColor_, colour);
}

void TGradientLabel::setGradientColour(TColor& field, TColor colour)
{
    if (colour == field)
        return;
    field = colour;
    if (gradient()) {
        BuildColorTable();
        Invalidate();
    }
}

void TGradientLabel::SetBorderColor(TColor colour)
{
    if (colour == borderColor_)
        return;
    borderColor_ = colour;
    if (txType_ == TyBitmap || txType_ == TyOutline)
        Invalidate();
}

void TGradientLabel::SetShadow(bool shadow)
{
    if (shadow == shadow_)
        return;
    shadow_ = shadow;
    Invalidate();
}

void TGradientLabel::SetShadowColor(TColor colour)
{
    if (colour == shadowColor_)
        return;
    shadowColor_ = colour;
    if (shadow_)
        Invalidate();
}

void TGradientLabel::SetShadowDeep(int deep)
{
    if (deep == shadowDeep_ || deep < 0 || deep > 9)
        return;
    shadowDeep_ = deep;
    if (shadow_)
        Invalidate();
}

void TGradientLabel::SetTxType(TextureType txType)
{
    if (txType == txType_)
        return;
    txType_ = txType;
    if (gradient())
        BuildColorTable();
    Invalidate();
}

void TGradientLabel::SetTexture(const TBitmap& texture)
{
    texture_.Assign(texture);
    Invalidate();
}

void TGradientLabel::FillHorizontal(platform::ICanvas& canvas, int w, int h)
{
    fillBands(canvas, w, h, true);
}

void TGradientLabel::FillVertical(platform::ICanvas& canvas, int w, int h)
{
    fillBands(canvas, w, h, false);
}

void TGradientLabel::fillBands(platform::ICanvas& canvas, int w, int h, bool across)
{
    const int extent = across ? w : h;
    // Band 255 begins at the far edge and covers nothing; rounding empties a few others.
    for (int i = 0; i <= steps_; ++i) {
        const int from = MulDiv(i, extent, steps_);
        const int to = MulDiv(i + 1, extent, steps_);
        if (to <= from)
            continue;
        canvas.fillRect(across ? platform::Rect{from, 0, to - from, h} : platform::Rect{0, from, w, to - from},
                        colorTable_[i]);
    }
}

void TGradientLabel::DrawOutlinedText(platform::ICanvas& canvas, int x, int y, const std::string& text,
                                      TColor colour)
{
    canvas.setTextColor(rgb(colour));
    canvas.setTextBackground(true);
    for (platform::Point at : {platform::Point{x + 1, y + 1}, {x - 1, y + 1}, {x - 1, y - 1}, {x + 1, y - 1}})
        canvas.textOut(at, text);
    canvas.setTextColor(rgb(Font().Color));
    canvas.textOut({x, y}, text);
}

void TGradientLabel::DrawShadowText(platform::ICanvas& canvas, int x, int y, const std::string& text,
                                    TColor colour, int dx, int dy)
{
    canvas.setTextBackground(true);
    canvas.setTextColor(rgb(colour));
    canvas.textOut({x + dx, y + dy}, text);
    canvas.setTextColor(rgb(Font().Color));
    canvas.textOut({x, y}, text);
}

void TGradientLabel::DrawTexturedText(platform::ICanvas& canvas, int x, int y, platform::IBitmap* source,
                                      const std::string& text)
{
    // No texture, or no text: nothing to fill.
    const platform::Size box = canvas.textExtent(text);
    if (!source || source->size().width <= 0 || source->size().height <= 0 || box.width <= 0 || box.height <= 0)
        return;
    TBitmap mask(canvases_);
    mask.SetSize(box.width, box.height, true);
    TBitmap under(canvases_);
    under.SetSize(box.width, box.height);
    if (mask.Empty() || under.Empty())
        return;

    platform::ICanvas& glyphs = mask.Image()->canvas();
    glyphs.setFont(FontSpecOf(Font()));
    glyphs.setTextColor(platform::RgbBlack);
    glyphs.textOut({0, 0}, text);

    // The text's box gets the source where the mask is black and keeps what
    // lay under it elsewhere: (under ^ source & mask) ^ source.
    const platform::Rect box0{0, 0, box.width, box.height};
    platform::ICanvas& work = under.Image()->canvas();
    work.copyRect(box0, canvas, {x, y, box.width, box.height});
    work.stretchDraw(box0, *source, RasterOp::SrcInvert);
    work.draw({0, 0}, *mask.Image(), RasterOp::SrcAnd);
    work.stretchDraw(box0, *source, RasterOp::SrcInvert);
    canvas.draw({x, y}, *under.Image(), RasterOp::SrcCopy);
}

void TGradientLabel::Paint(platform::ICanvas& canvas)
{
    const std::string& text = Caption();
    if (text.empty())
        return;
    canvas.setFont(FontSpecOf(Font()));
    canvas.setTextColor(rgb(Font().Color));
    if (shadow_)
        DrawShadowText(canvas, 1, 1, text, shadowColor_, shadowDeep_, shadowDeep_);
    switch (txType_) {
    case TyBitmap:
        DrawOutlinedText(canvas, 1, 1, text, borderColor_);
        DrawTexturedText(canvas, 1, 1, texture_.Image(), text);
        break;
    case TyHGradient:
    case TyVGradient: {
        TBitmap fill(canvases_);
        fill.SetSize(Width(), Height());
        if (fill.Empty())
            break;
        if (txType_ == TyHGradient)
            FillHorizontal(fill.Image()->canvas(), Width(), Height());
        else
            FillVertical(fill.Image()->canvas(), Width(), Height());
        DrawTexturedText(canvas, 1, 1, fill.Image(), text);
        break;
    }
    case TyOutline:
        DrawOutlinedText(canvas, 1, 1, text, borderColor_);
        break;
    }
}
