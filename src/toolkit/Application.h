// The application object: its title, its hidden window, the main form, the
// message loop, and the standard error box for what escapes an event.
// UI thread only.
#pragma once

#include "platform/Ui.h"
#include "toolkit/Cursors.h"

#include <exception>
#include <memory>
#include <string>

class TForm;

class TApplication : private platform::IWindowEvents {
public:
    explicit TApplication(platform::IUi& ui);
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Creates a form; the first one becomes the main form. The application frees it.
    template <class F, class... Args>
    F& CreateForm(Args&&... args)
    {
        auto form = std::make_unique<F>(*this, std::forward<Args>(args)...);
        F& result = *form;
        adoptForm(std::move(form));
        return result;
    }
    TForm* MainForm() const { return mainForm_.get(); }

    // Whether Run shows the main form as the loop starts.
    bool ShowMainForm = true;

    // Shows the main form, runs the message loop until Terminate, then frees the main form.
    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The plain message box: the text, the title as caption, an OK button.
    void ShowMessage(const std::string& text);
    // The standard error box for an error nothing else handled.
    void ShowException(const std::exception& error);
    void HandleException(std::exception_ptr error);
    // Runs an event handler; an error escaping it is shown, not propagated.
    template <class F>
    void Guard(F&& handler)
    {
        try {
            handler();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }

    platform::IUi& Ui() const { return ui_; }
    TCursors& Cursors() { return cursors_; }
    platform::IWindow& Handle() const { return *window_; }

private:
    void adoptForm(std::unique_ptr<TForm> form);
    void destroyMainForm();

    void onCloseRequest() override;
    bool onQueryEndSession() override;
    void onEndSession() override;
    void onPaint(platform::ICanvas&) override {}

    platform::IUi& ui_;
    std::string title_;
    std::unique_ptr<platform::IWindow> window_;
    TCursors cursors_{ui_};
    std::unique_ptr<TForm> mainForm_;
    bool terminated_ = false;
};
