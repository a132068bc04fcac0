// The tray icon: the program's one icon in the notification area, the mouse
// events and popup menu it offers, its animation through an image list
// (shell/TrayAnimation), and hiding the application into the tray
// (shell/TrayWindowHooks). UI thread only; the shell's answers are never errors.
#pragma once

#include "platform/NotifyArea.h"
#include "platform/WindowMessages.h"
#include "shell/TrayAnimation.h"
#include "shell/TrayWindowHooks.h"
#include "toolkit/Component.h"
#include "toolkit/Icon.h"
#include "toolkit/Mouse.h"

#include <cstdint>
#include <memory>
#include <string>

class TApplication;
class TForm;
class TImageList;
class TPopupMenu;
class TTimer;

using TCycleEvent = TEvent<std::int32_t /*NextIndex*/>;

class TTrayIcon : public TComponent {
public:
    // The owner, when there is one, must be a form: the icon watches its
    // window. Any other owner is an "Invalid class typecast" error.
    TTrayIcon(TComponent* owner, TApplication& application, platform::IWindowMessages& messages,
              platform::INotifyArea& notifyArea);
    ~TTrayIcon() override;

    // The window class of the hidden window that receives the shell's notifications.
    static constexpr const char* WindowClassName = "TTrayIconWindow";
    // What the shell sends that window when the user acts on the icon.
    static constexpr std::uint32_t CallbackMessage = 0x0400 + 1024; // WM_USER + 1024

    // While false, mouse notifications are ignored entirely.
    bool Enabled = true;
    TPopupMenu* PopupMenu = nullptr;
    bool LeftPopup = false;      // the left button opens the menu as well
    bool StartMinimized = false; // hide the application once loaded
    bool MinimizeToTray = false; // minimising the application hides it into the tray

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TCycleEvent OnCycle;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    const TIcon& Icon() const { return *icon_; }
    void SetIcon(const TIcon& icon);
    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    TImageList* IconList() const { return iconList_; }
    void SetIconList(TImageList* list);
    std::int32_t IconIndex() const { return iconIndex_; }
    void SetIconIndex(std::int32_t index);
    bool CycleIcons() const { return animation_->Cycling(); }
    void SetCycleIcons(bool cycle);
    std::uint32_t CycleInterval() const { return animation_->Interval(); }
    void SetCycleInterval(std::uint32_t interval);
    bool DesignPreview() const { return designPreview_; }
    void SetDesignPreview(bool preview);

    bool ClickPending() const { return clickPending_; }
    TTimer& AnimationTimer() const { return animation_->Timer(); }
    const platform::NotifyIconData& NotifyData() const { return notifyData_; }

    // Whether the shell accepted the request.
    virtual bool AddToTray();
    virtual bool RemoveFromTray();
    virtual bool RefreshInTray();
    // Prepares NotifyData for a shell request; false when none may be made.
    bool FillNotifyData();

    // The hidden window's procedure.
    std::intptr_t TrayWindowProc(const platform::WindowMessage& message);
    // Opens PopupMenu at the cursor and returns once it has closed.
    void ShowPopupMenu();
    // Shift, ctrl and alt as the keyboard holds them now; no buttons.
    TShiftState CurrentShiftState() const;
    // One step of the animation.
    void CycleTick(TObject* Sender);
    void MinimizeIntoTray();
    void HideMainWindow();

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    virtual void FireClick();
    virtual void FireDblClick();
    virtual void FireCycle();
    virtual void FireMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void FireMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void FireMouseMove(TShiftState Shift, int X, int Y);

private:
    friend class TTrayAnimation; // shows the images and fires OnCycle

    // Adds or removes the icon; the design-time preview decides what is shown.
    bool showInTray(bool shown);
    void handleMouse(unsigned mouseMessage);
    void clickDefaultItem();
    platform::Point cursorOrOrigin() const;
    platform::WindowHandle ownerWindow() const;

    TApplication& application_;
    platform::IWindowMessages& messages_;
    platform::INotifyArea& notifyArea_;
    TForm* ownerForm_ = nullptr;

    std::unique_ptr<TIcon> icon_;
    bool iconVisible_ = true;
    std::string hint_;
    bool showHint_ = false;
    bool clickPending_ = false;
    std::int32_t iconIndex_ = 0;
    bool designPreview_ = false;
    bool previewSwitching_ = false;
    TImageList* iconList_ = nullptr;
    std::unique_ptr<TTrayAnimation> animation_;
    std::unique_ptr<TTrayWindowHooks> hooks_;
    std::unique_ptr<platform::IUtilityWindow> window_;
    unsigned taskbarCreated_ = 0;
    platform::NotifyIconData notifyData_;
};
