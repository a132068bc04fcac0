// The tray icon's watch over the program's windows: minimising the
// application hides it into the tray (when the icon asks for that), and the
// owner form shown by the program brings the whole application to the front.
// The hooks come off when the object goes.
#pragma once

#include "platform/WindowMessages.h"

#include <memory>

class TApplication;
class TForm;
class TTrayIcon;

class TTrayWindowHooks {
public:
    TTrayWindowHooks(TTrayIcon& tray, TApplication& application, TForm* ownerForm,
                     platform::IWindowMessages& messages);

private:
    void applicationMessage(const platform::WindowMessage& message);
    void ownerMessage(const platform::WindowMessage& message);

    TTrayIcon& tray_;
    TApplication& application_;
    TForm* ownerForm_;
    platform::IWindowMessages& messages_;
    std::unique_ptr<platform::IWindowHook> applicationHook_;
    std::unique_ptr<platform::IWindowHook> ownerHook_;
};
