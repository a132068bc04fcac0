// Win32 only. Icons and popup menus.
#include "platform/win32/Win32IconsAndMenus.h"

#include "platform/win32/Win32Handles.h"

namespace {

class Win32Icon final : public platform::IIcon {
public:
    explicit Win32Icon(HICON icon) : icon_(icon) {}
    platform::IconHandle handle() const override { return toHandle<platform::IconHandle>(icon_.get()); }

private:
    ScopedIcon icon_;
};

// Builds a menu from its entries; false when the system refused a part of it.
bool fillMenu(HMENU menu, const std::vector<platform::MenuEntry>& entries)
{
    for (const platform::MenuEntry& entry : entries) {
        if (entry.caption == "-") {
            if (!::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr))
                return false;
        } else if (!entry.items.empty()) {
            ScopedMenu sub(::CreatePopupMenu());
            if (!sub || !fillMenu(sub.get(), entry.items))
                return false;
            UINT flags = MF_POPUP | MF_STRING | (entry.checked ? MF_CHECKED : 0) | (entry.enabled ? 0 : MF_GRAYED);
            if (!::AppendMenuA(menu, flags, reinterpret_cast<UINT_PTR>(sub.get()), entry.caption.c_str()))
                return false;
            sub.release(); // the parent menu frees it now
        } else {
            UINT flags = MF_STRING | (entry.checked ? MF_CHECKED : 0) | (entry.enabled ? 0 : MF_GRAYED);
            if (!::AppendMenuA(menu, flags, entry.id, entry.caption.c_str()))
                return false;
        }
        if (entry.isDefault && entry.items.empty())
            ::SetMenuDefaultItem(menu, entry.id, FALSE);
    }
    return true;
}

} // namespace

std::unique_ptr<platform::IIcon> Win32IconsAndMenus::loadIcon(const std::string& resourceName, platform::Size size)
{
    HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), resourceName.c_str(), IMAGE_ICON, size.width,
                               size.height, 0);
    if (!icon)
        return nullptr;
    return std::make_unique<Win32Icon>(static_cast<HICON>(icon));
}

platform::Size Win32IconsAndMenus::smallIconSize()
{
    return {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
}

unsigned Win32IconsAndMenus::trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at)
{
    if (!menuOwner_) {
        auto owner = std::make_unique<Win32WindowTarget>(callbacks_);
        if (owner->create({.className = "TPUtilWindow", .exStyle = WS_EX_TOOLWINDOW}))
            menuOwner_ = std::move(owner);
    }
    ScopedMenu menu(::CreatePopupMenu());
    if (!menuOwner_ || !menu || !fillMenu(menu.get(), entries))
        return 0;
    // Returning the command instead of posting it lets the caller run the item
    // after the menu has gone, and keeps the choice out of the message queue.
    UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
    return static_cast<unsigned>(::TrackPopupMenu(menu.get(), flags, at.x, at.y, 0, menuOwner_->hwnd(), nullptr));
}
