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

class TApplication;

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

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TCloseQueryEvent OnCloseQuery;

    // Runs OnCreate; a layout calls it once the form is complete.
    void DoCreate();
    // Runs OnDestroy, once, before the form is freed or when the session ends.
    void DoDestroy();
    // The Windows session ends: the program ends as it would on close, at once.
    void EndSession();

private:
    void onCloseRequest() override;
    bool onQueryEndSession() override;
    void onEndSession() override;
    void onPaint(platform::ICanvas& canvas) override;

    TApplication& application_;
    const std::string className_;
    std::unique_ptr<platform::IWindow> window_;
    std::string caption_;
    platform::Rect bounds_{0, 0, 320, 240};
    TColor color_ = clBtnFace;
    bool visible_ = false;
    bool destroyed_ = false;
};
