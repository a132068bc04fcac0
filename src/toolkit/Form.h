// A top-level form: bounds, colour, border and stacking, visibility, and the
// create / close-query / destroy events. Its window exists once it is needed.
// UI thread only.
#pragma once

#include "toolkit/Color.h"
#include "toolkit/Component.h"
#include "toolkit/Font.h"
#include "platform/Ui.h"

#include <memory>
#include <string>
#include <vector>

class TApplication;
class TControl;

enum class TFormBorderStyle { bsSizeable, bsNone };
enum class TFormStyle { fsNormal, fsStayOnTop };

using TCloseQueryEvent = TEvent<bool& /*CanClose*/>;

class TForm : public TComponent, private platform::IWindowEvents {
public:
    // className names the window class, as other programs find the window.
    TForm(TApplication& application, std::string className);
    ~TForm() override;

    TApplication& Application() const { return application_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void SetBounds(int left, int top, int width, int height);

    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // The pixels per inch the layout was made at. Once its layout is read, a
    // scaled form whose screen has other pixels per inch lays itself and its
    // controls out again at the screen's (ScaleBy), and takes its figure.
    int PixelsPerInch = TFont::PixelsPerInch;
    bool Scaled = true;
    // Multiplies every position, size and font height of the form and of its
    // controls by m / d, rounded as the system's MulDiv rounds.
    void ScaleBy(int m, int d);
    // Widens the form, as needed, so that every control fits with as much room
    // at its right as the leftmost control has at its left.
    void WidenToHoldControls();

    TFormBorderStyle BorderStyle = TFormBorderStyle::bsSizeable;
    TFormStyle FormStyle = TFormStyle::fsNormal;
    TFont Font;

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // Asks the close query; an allowed close of the main form ends the program.
    void Close();
    bool CloseQuery();

    // The window, created on first use.
    platform::IWindow& Handle();

    // Windowless controls, painted in this order over the form's colour; a
    // control enters at its construction and leaves at its destruction.
    void InsertControl(TControl& control);
    void RemoveControl(TControl& control);
    // The topmost control at a point of the client area, or null.
    TControl* ControlAt(platform::Point at) const;
    // Repaints a part of the client area, once the window exists.
    void InvalidateRect(const platform::Rect& rect);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TCloseQueryEvent OnCloseQuery;

    // Runs OnCreate; a layout calls it once the form is complete.
    void DoCreate();
    // Runs OnDestroy, once, before the form is freed or when the session ends.
    void DoDestroy();
    // The Windows session ends: the program ends as it would on close, at once.
    void EndSession();

protected:
    void Loaded() override;

private:
    void onCloseRequest() override;
    bool onQueryEndSession() override;
    void onEndSession() override;
    void onPaint(platform::ICanvas& canvas) override;
    void onMouseButton(platform::MouseButton button, bool down, platform::Point at, unsigned shift) override;
    void onMouseMove(platform::Point at, unsigned shift) override;
    void onMouseLeave() override;
    void onCaptureLost() override;
    platform::CursorHandle cursorAt(platform::Point at) override;
    // The pointer is now over this control (or none).
    void setHover(TControl* control);

    TApplication& application_;
    const std::string className_;
    std::unique_ptr<platform::IWindow> window_;
    std::string caption_;
    platform::Rect bounds_{0, 0, 320, 240};
    TColor color_ = clBtnFace;
    bool visible_ = false;
    bool destroyed_ = false;
    std::vector<TControl*> controls_;
    TControl* hover_ = nullptr;    // the control under the pointer
    TControl* captured_ = nullptr; // the control a left press began on, until the release
};
