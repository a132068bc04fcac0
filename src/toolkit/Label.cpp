// Text labels.
#include "toolkit/Label.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

TCustomLabel::TCustomLabel(TComponent* owner, TForm& parent, platform::ICanvasService& canvases)
    : TControl(owner, parent), canvases_(canvases)
{
}

TColor TCustomLabel::Color() const
{
    return parentColor_ ? Parent().Color() : color_;
}

void TCustomLabel::SetColor(TColor color)
{
    if (!parentColor_ && color == color_)
        return;
    color_ = color;
    parentColor_ = false;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize)
{
    if (autoSize == autoSize_)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetFont(const TFont& font)
{
    TControl::SetFont(font);
    AdjustBounds();
}

void TCustomLabel::TextChanged()
{
    TControl::TextChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded()
{
    TControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds()
{
    // While a layout is read, caption and font arrive one by one: size once at the end.
    if (!autoSize_ || Has(csLoading))
        return;
    auto measure = canvases_.newBitmap({1, 1}, true);
    if (!measure)
        return;
    platform::ICanvas& canvas = measure->canvas();
    canvas.setFont(FontSpecOf(Font()));
    const platform::Size size = canvas.textExtent(Caption().empty() ? " " : Caption());
    if (size.width <= 0 || size.height <= 0)
        return;
    SetBounds(Left(), Top(), size.width, size.height);
}

void TCustomLabel::Paint(platform::ICanvas& canvas)
{
    platform::IUi& ui = Parent().Application().Ui();
    canvas.fillRect({0, 0, Width(), Height()}, ColorToRGB(Color(), ui));
    canvas.setFont(FontSpecOf(Font()));
    canvas.setTextColor(ColorToRGB(Font().Color, ui));
    canvas.setTextBackground(true);
    canvas.textOut({0, 0}, Caption());
}
