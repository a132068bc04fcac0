// The tray icon.
#include "shell/TrayIcon.h"

#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"
#include "toolkit/Messages.h"

#include <algorithm>
#include <cstring>

TTrayIcon::TTrayIcon(TComponent* owner, TApplication& application, platform::IWindowMessages& messages,
                     platform::INotifyArea& notifyArea)
    : TComponent(owner), application_(application), messages_(messages), notifyArea_(notifyArea)
{
    if (owner) {
        ownerForm_ = dynamic_cast<TForm*>(owner);
        if (!ownerForm_)
            throw Exception("Invalid class typecast");
    }
    icon_ = std::make_unique<TIcon>();

    window_ = messages_.newUtilityWindow(WindowClassName,
                                         [this](const platform::WindowMessage& m) { return TrayWindowProc(m); });
    if (!window_)
        throw EOutOfResources("Error creating window");
    notifyData_.hWnd = window_->handle();
    notifyData_.uCallbackMessage = CallbackMessage;
    // Sent to every top-level window when the shell has made a new
    // notification area: the icon must be added to it again.
    taskbarCreated_ = messages_.registerMessage("TaskbarCreated");

    animation_ = std::make_unique<TTrayAnimation>(*this);
    if (!Has(csDesigning))
        hooks_ = std::make_unique<TTrayWindowHooks>(*this, application_, ownerForm_, messages_);
}

TTrayIcon::~TTrayIcon()
{
    SetIconVisible(false);
    icon_.reset();
    window_.reset();
    animation_.reset();
    hooks_.reset();
}

// ---- Properties ----

void TTrayIcon::SetIcon(const TIcon& icon)
{
    icon_->Assign(icon);
    RefreshInTray();
}

void TTrayIcon::SetIconVisible(bool visible)
{
    if (visible)
        AddToTray();
    else
        RemoveFromTray();
}

void TTrayIcon::SetHint(const std::string& hint)
{
    hint_ = hint;
    RefreshInTray();
}

void TTrayIcon::SetShowHint(bool show)
{
    showHint_ = show;
    RefreshInTray();
}

void TTrayIcon::SetIconList(TImageList* list)
{
    iconList_ = list;
    SetIconIndex(0);
}

void TTrayIcon::SetIconIndex(std::int32_t index)
{
    if (iconList_) {
        // The program never asks for a negative index, nor has an empty list:
        // both show the first image, or keep the icon as it is.
        iconIndex_ = std::max(0, std::min(index, iconList_->Count() - 1));
        iconList_->GetIcon(iconIndex_, *icon_);
    } else {
        iconIndex_ = 0;
    }
    RefreshInTray();
}

void TTrayIcon::SetCycleIcons(bool cycle)
{
    animation_->SetCycling(cycle);
}

void TTrayIcon::SetCycleInterval(std::uint32_t interval)
{
    animation_->SetInterval(interval);
}

void TTrayIcon::SetDesignPreview(bool preview)
{
    designPreview_ = preview;
    previewSwitching_ = true;
    SetIconVisible(preview);
    previewSwitching_ = false;
}

// ---- The shell ----

bool TTrayIcon::FillNotifyData()
{
    if (Has(csDesigning) && !previewSwitching_ && !designPreview_)
        return false;
    notifyData_.hIcon = icon_->Handle();
    notifyData_.szTip.fill('\0');
    if (!hint_.empty() && showHint_)
        std::memcpy(notifyData_.szTip.data(), hint_.data(), std::min<std::size_t>(hint_.size(), 63));
    return true;
}

bool TTrayIcon::AddToTray()
{
    return showInTray(true);
}

bool TTrayIcon::RemoveFromTray()
{
    return showInTray(false);
}

bool TTrayIcon::showInTray(bool shown)
{
    if (!previewSwitching_)
        iconVisible_ = shown;
    if ((!Has(csDesigning) || previewSwitching_) && FillNotifyData())
        return shown ? notifyArea_.add(notifyData_) : notifyArea_.remove(notifyData_);
    return false;
}

bool TTrayIcon::RefreshInTray()
{
    if (FillNotifyData())
        return notifyArea_.modify(notifyData_);
    return false;
}

// ---- The hidden window ----

std::intptr_t TTrayIcon::TrayWindowProc(const platform::WindowMessage& message)
{
    if (message.message == CallbackMessage) {
        if (Enabled)
            handleMouse(static_cast<unsigned>(message.lParam));
        return 0;
    }
    if (message.message == WM_QUERYENDSESSION)
        return 1;
    if (taskbarCreated_ != 0 && message.message == taskbarCreated_) {
        const bool shown = Has(csDesigning) ? designPreview_ : iconVisible_;
        if (shown && FillNotifyData())
            notifyArea_.add(notifyData_);
        return 0;
    }
    return window_->defaultProc(message);
}

void TTrayIcon::handleMouse(unsigned mouseMessage)
{
    // The notification carries no position: the cursor's, as it is now.
    const TShiftState shift = CurrentShiftState();
    const platform::Point at = cursorOrOrigin();
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        FireMouseMove(shift, at.x, at.y);
        break;
    case WM_LBUTTONDOWN:
        FireMouseDown(mbLeft, shift | ssLeft, at.x, at.y);
        // Set before the menu opens, so the button-up after it still clicks.
        clickPending_ = true;
        if (LeftPopup)
            ShowPopupMenu();
        break;
    case WM_LBUTTONUP:
        if (clickPending_) {
            clickPending_ = false;
            FireClick();
        }
        FireMouseUp(mbLeft, shift | ssLeft, at.x, at.y);
        break;
    case WM_LBUTTONDBLCLK:
        FireDblClick();
        if (PopupMenu && PopupMenu->AutoPopup && !LeftPopup)
            clickDefaultItem();
        break;
    case WM_RBUTTONDOWN:
        FireMouseDown(mbRight, shift | ssRight, at.x, at.y);
        ShowPopupMenu();
        break;
    case WM_RBUTTONUP:
        FireMouseUp(mbRight, shift | ssRight, at.x, at.y);
        break;
    case WM_MBUTTONDOWN:
        FireMouseDown(mbMiddle, shift | ssMiddle, at.x, at.y);
        break;
    case WM_MBUTTONUP:
        FireMouseUp(mbMiddle, shift | ssMiddle, at.x, at.y);
        break;
    default: // a right double click and anything else: nothing
        break;
    }
}

void TTrayIcon::clickDefaultItem()
{
    // Scanned from the last item, so the first default in menu order wins.
    TMenuItem& items = PopupMenu->Items();
    TMenuItem* chosen = nullptr;
    for (int i = items.Count() - 1; i >= 0; --i)
        if (items.Items(i)->Default)
            chosen = items.Items(i);
    if (chosen)
        chosen->Click();
}

platform::Point TTrayIcon::cursorOrOrigin() const
{
    return messages_.cursorPos().value_or(platform::Point{});
}

platform::WindowHandle TTrayIcon::ownerWindow() const
{
    // Without an owner the hidden window stands in for it, so the menu still
    // closes when the user clicks elsewhere.
    return ownerForm_ ? ownerForm_->Handle().handle() : window_->handle();
}

void TTrayIcon::ShowPopupMenu()
{
    if (!PopupMenu || !PopupMenu->AutoPopup)
        return;
    const std::optional<platform::Point> at = messages_.cursorPos();
    if (!at)
        return;
    application_.ProcessMessages();
    if (!PopupMenu) // freed by what just ran
        return;
    const platform::WindowHandle owner = ownerWindow();
    // The menu only closes on a click elsewhere when the program is in front.
    messages_.setForegroundWindow(owner);
    PopupMenu->PopupComponent = this;
    PopupMenu->Popup(at->x, at->y);
    // Lets the system finish switching away from the menu's window.
    messages_.postMessage(owner, {WM_NULL, 0, 0});
}

TShiftState TTrayIcon::CurrentShiftState() const
{
    TShiftState shift = 0;
    if (messages_.keyDown(VK_SHIFT))
        shift |= ssShift;
    if (messages_.keyDown(VK_CONTROL))
        shift |= ssCtrl;
    if (messages_.keyDown(VK_MENU))
        shift |= ssAlt;
    return shift;
}

// ---- Events ----

void TTrayIcon::FireClick()
{
    fire(OnClick, this);
}

void TTrayIcon::FireDblClick()
{
    fire(OnDblClick, this);
}

void TTrayIcon::FireCycle()
{
    fire(OnCycle, this, animation_->NextIndex());
}

void TTrayIcon::FireMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    fire(OnMouseDown, this, Button, Shift, X, Y);
}

void TTrayIcon::FireMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    fire(OnMouseUp, this, Button, Shift, X, Y);
}

void TTrayIcon::FireMouseMove(TShiftState Shift, int X, int Y)
{
    fire(OnMouseMove, this, Shift, X, Y);
}

// ---- Animation ----

void TTrayIcon::CycleTick(TObject*)
{
    animation_->Step();
}

// ---- Lifecycle ----

void TTrayIcon::Loaded()
{
    TComponent::Loaded();
    if (StartMinimized && !Has(csDesigning)) {
        application_.ShowMainForm = false;
        messages_.showWindow(application_.Handle().handle(), platform::ShowCommand::Hide);
    }
    RefreshInTray();
    SetIconVisible(iconVisible_);
}

void TTrayIcon::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component != nullptr && component == iconList_)
        SetIconList(nullptr);
    if (component != nullptr && component == PopupMenu)
        PopupMenu = nullptr;
}

// ---- Hiding into the tray ----

void TTrayIcon::MinimizeIntoTray()
{
    HideMainWindow();
    SetIconVisible(true);
}

void TTrayIcon::HideMainWindow()
{
    if (!application_.MainForm())
        return;
    application_.MainForm()->Hide();
    messages_.showWindow(application_.Handle().handle(), platform::ShowCommand::Hide);
}
