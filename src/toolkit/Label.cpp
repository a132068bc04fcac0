// Text labels.
#include "toolkit/Label.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

TCustomLabel::TCustomLabel(TComponent* owner, TForm& parent) : TControl(owner, parent) {}

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

void TCustomLabel::Paint(platform::ICanvas& canvas)
{
    platform::IUi& ui = Parent().Application().Ui();
    canvas.fillRect({0, 0, Width(), Height()}, ColorToRGB(Color(), ui));
    canvas.setFont(FontSpecOf(Font()));
    canvas.setTextColor(ColorToRGB(Font().Color, ui));
    canvas.setTextBackground(true);
    canvas.textOut({0, 0}, Caption());
}
