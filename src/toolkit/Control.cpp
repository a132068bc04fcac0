// Windowless controls.
#include "toolkit/Control.h"

#include "toolkit/Form.h"

TControl::TControl(TComponent* owner, TForm& parent) : TComponent(owner), parent_(parent), font_(parent.Font)
{
    parent_.InsertControl(*this);
}

TControl::~TControl()
{
    parent_.RemoveControl(*this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    platform::Rect bounds{left, top, width, height};
    if (bounds == bounds_)
        return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void TControl::SetCaption(const std::string& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    TextChanged();
}

void TControl::SetFont(const TFont& font)
{
    font_ = font;
    Invalidate();
}

void TControl::Invalidate()
{
    parent_.InvalidateRect(bounds_);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    fire(OnMouseDown, this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    fire(OnMouseUp, this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    fire(OnMouseMove, this, Shift, X, Y);
}

void TControl::Click()
{
    fire(OnClick, this);
}
