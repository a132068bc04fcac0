// Forms.
#include "toolkit/Form.h"

#include "toolkit/Application.h"
#include "toolkit/Control.h"
#include "toolkit/MulDiv.h"

#include <algorithm>
#include <utility>

namespace {

TMouseButton toButton(platform::MouseButton button)
{
    switch (button) {
    case platform::MouseButton::Right:
        return mbRight;
    case platform::MouseButton::Middle:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

TShiftState toShift(unsigned shift)
{
    TShiftState state = 0;
    if (shift & platform::ShiftKey)
        state |= ssShift;
    if (shift & platform::ControlKey)
        state |= ssCtrl;
    if (shift & platform::LeftHeld)
        state |= ssLeft;
    if (shift & platform::RightHeld)
        state |= ssRight;
    if (shift & platform::MiddleHeld)
        state |= ssMiddle;
    return state;
}

bool contains(const platform::Rect& r, platform::Point p)
{
    return p.x >= r.left && p.x < r.left + r.width && p.y >= r.top && p.y < r.top + r.height;
}

} // namespace

TForm::TForm(TApplication& application, std::string className)
    : TComponent(nullptr), application_(application), className_(std::move(className))
{
}

TForm::~TForm()
{
    // Components may hook the form's window: they go while it still exists.
    DestroyComponents();
}

void TForm::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (window_)
        window_->setCaption(caption);
}

void TForm::SetLeft(int left) { SetBounds(left, bounds_.top, bounds_.width, bounds_.height); }
void TForm::SetTop(int top) { SetBounds(bounds_.left, top, bounds_.width, bounds_.height); }
void TForm::SetWidth(int width) { SetBounds(bounds_.left, bounds_.top, width, bounds_.height); }
void TForm::SetHeight(int height) { SetBounds(bounds_.left, bounds_.top, bounds_.width, height); }

void TForm::SetBounds(int left, int top, int width, int height)
{
    platform::Rect bounds{left, top, width, height};
    if (bounds == bounds_)
        return;
    bounds_ = bounds;
    if (window_)
        window_->setBounds(bounds_);
}

void TForm::Loaded()
{
    TComponent::Loaded();
    const int screen = application_.Ui().pixelsPerInch();
    if (!Scaled || screen <= 0 || screen == PixelsPerInch)
        return;
    ScaleBy(screen, PixelsPerInch);
    PixelsPerInch = screen;
}

void TForm::ScaleBy(int m, int d)
{
    auto scale = [m, d](int value) { return MulDiv(value, m, d); };
    SetBounds(scale(bounds_.left), scale(bounds_.top), scale(bounds_.width), scale(bounds_.height));
    Font.Height = scale(Font.Height);
    for (TControl* control : controls_) {
        control->SetBounds(scale(control->Left()), scale(control->Top()), scale(control->Width()),
                           scale(control->Height()));
        TFont font = control->Font();
        font.Height = scale(font.Height);
        control->SetFont(font);
    }
}

void TForm::WidenToHoldControls()
{
    if (controls_.empty())
        return;
    int margin = controls_.front()->Left();
    int right = 0;
    for (const TControl* control : controls_) {
        margin = std::min(margin, control->Left());
        right = std::max(right, control->Left() + control->Width());
    }
    SetWidth(std::max(bounds_.width, right + std::max(margin, 0)));
}

void TForm::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    if (window_) {
        window_->setBackground(ColorToRGB(color_, application_.Ui()));
        window_->invalidate();
    }
}

void TForm::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    Handle().setVisible(visible);
    // The application window, shown with the main form, would stay behind as a
    // taskbar button (and an Alt+Tab entry) of a program that shows nothing.
    if (!visible && application_.MainForm() == this)
        application_.Handle().setVisible(false);
}

void TForm::Close()
{
    if (!CloseQuery())
        return;
    if (application_.MainForm() == this)
        application_.Terminate();
    else
        Hide();
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    fire(OnCloseQuery, this, canClose);
    return canClose;
}

platform::IWindow& TForm::Handle()
{
    if (!window_) {
        platform::WindowParams params;
        params.className = className_;
        params.caption = caption_;
        params.bounds = bounds_;
        params.borderless = BorderStyle == TFormBorderStyle::bsNone;
        params.topmost = FormStyle == TFormStyle::fsStayOnTop;
        params.background = ColorToRGB(color_, application_.Ui());
        params.owner = &application_.Handle();
        window_ = application_.Ui().newWindow(params, *this);
    }
    return *window_;
}

void TForm::DoCreate()
{
    application_.Guard([this] { fire(OnCreate, this); });
}

void TForm::DoDestroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    fire(OnDestroy, this);
}

void TForm::EndSession()
{
    application_.Terminate();
    application_.Guard([this] { DoDestroy(); });
}

void TForm::onCloseRequest()
{
    Close();
}

bool TForm::onQueryEndSession()
{
    return CloseQuery();
}

void TForm::onEndSession()
{
    EndSession();
}

void TForm::InsertControl(TControl& control)
{
    controls_.push_back(&control);
}

void TForm::RemoveControl(TControl& control)
{
    std::erase(controls_, &control);
    if (hover_ == &control)
        hover_ = nullptr;
    if (captured_ == &control) {
        captured_ = nullptr;
        if (window_)
            window_->releaseCapture();
    }
    InvalidateRect(control.BoundsRect());
}

TControl* TForm::ControlAt(platform::Point at) const
{
    auto it = std::find_if(controls_.rbegin(), controls_.rend(), [at](const TControl* control) {
        return contains(control->BoundsRect(), at);
    });
    return it == controls_.rend() ? nullptr : *it;
}

void TForm::InvalidateRect(const platform::Rect& rect)
{
    if (window_)
        window_->invalidateRect(rect);
}

void TForm::onPaint(platform::ICanvas& canvas)
{
    canvas.fillRect({0, 0, bounds_.width, bounds_.height}, ColorToRGB(color_, application_.Ui()));
    for (TControl* control : controls_) {
        canvas.setViewport(control->BoundsRect());
        control->Paint(canvas);
    }
}

void TForm::setHover(TControl* control)
{
    if (control == hover_)
        return;
    TControl* left = std::exchange(hover_, control);
    if (left)
        left->MouseLeave();
    if (hover_)
        hover_->MouseEnter();
}

void TForm::onMouseButton(platform::MouseButton button, bool down, platform::Point at, unsigned shift)
{
    setHover(ControlAt(at));
    const TMouseButton b = toButton(button);
    if (down) {
        TControl* target = hover_;
        if (!target)
            return;
        if (b == mbLeft) {
            captured_ = target;
            Handle().setCapture();
        }
        target->MouseDown(b, toShift(shift), at.x - target->Left(), at.y - target->Top());
        return;
    }
    TControl* target = hover_;
    bool click = false;
    if (b == mbLeft && captured_) {
        target = std::exchange(captured_, nullptr); // before the release: it is no loss
        Handle().releaseCapture();
        click = target == hover_;
    }
    if (!target)
        return;
    if (click)
        target->Click();
    // A click may have freed the control.
    if (std::find(controls_.begin(), controls_.end(), target) != controls_.end())
        target->MouseUp(b, toShift(shift), at.x - target->Left(), at.y - target->Top());
}

void TForm::onMouseMove(platform::Point at, unsigned shift)
{
    setHover(ControlAt(at));
    TControl* target = captured_ ? captured_ : hover_;
    if (target)
        target->MouseMove(toShift(shift), at.x - target->Left(), at.y - target->Top());
}

void TForm::onMouseLeave()
{
    setHover(nullptr);
}

void TForm::onCaptureLost()
{
    if (TControl* lost = std::exchange(captured_, nullptr))
        lost->CaptureLost();
}

platform::CursorHandle TForm::cursorAt(platform::Point at)
{
    TControl* control = ControlAt(at);
    return application_.Cursors().Cursor(control ? control->Cursor : crDefault);
}
