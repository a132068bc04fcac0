// The tray icon's hooks on the application's and the owner form's windows.
#include "shell/TrayWindowHooks.h"

#include "shell/TrayIcon.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Messages.h"

TTrayWindowHooks::TTrayWindowHooks(TTrayIcon& tray, TApplication& application, TForm* ownerForm,
                                   platform::IWindowMessages& messages)
    : tray_(tray), application_(application), ownerForm_(ownerForm), messages_(messages)
{
    applicationHook_ = messages_.hookWindow(application_.Handle(),
                                            [this](const platform::WindowMessage& m) { applicationMessage(m); });
    if (ownerForm_)
        ownerHook_ =
            messages_.hookWindow(ownerForm_->Handle(), [this](const platform::WindowMessage& m) { ownerMessage(m); });
}

void TTrayWindowHooks::applicationMessage(const platform::WindowMessage& message)
{
    if (message.message == WM_SIZE && message.wParam == SIZE_MINIMIZED && tray_.MinimizeToTray)
        tray_.MinimizeIntoTray();
}

void TTrayWindowHooks::ownerMessage(const platform::WindowMessage& message)
{
    if (message.message == WM_SHOWWINDOW && message.wParam == 1 && message.lParam == 0) {
        // Shown by the program: bring the whole application back to the front.
        const platform::WindowHandle application = application_.Handle().handle();
        messages_.showWindow(application, platform::ShowCommand::Restore);
        messages_.setForegroundWindow(application);
        messages_.setForegroundWindow(ownerForm_->Handle().handle());
    }
    // WM_WINDOWPOSCHANGED would give the keyboard focus back to the screen's
    // active control; the toolkit's forms hold windowless controls only, so
    // there is never one.
}
