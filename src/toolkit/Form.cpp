// Forms.
#include "toolkit/Form.h"

#include "toolkit/Application.h"

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

void TForm::onPaint(platform::ICanvas& canvas)
{
    canvas.fillRect({0, 0, bounds_.width, bounds_.height}, ColorToRGB(color_, application_.Ui()));
}
