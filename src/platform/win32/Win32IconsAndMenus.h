// Win32 only. Icon resources and tracked popup menus over user32.
#pragma once

#include "platform/IconsAndMenus.h"
#include "platform/win32/Win32Windows.h"

#include <memory>

class Win32IconsAndMenus final : public platform::IIconsAndMenus {
public:
    explicit Win32IconsAndMenus(Win32Callbacks& callbacks) : callbacks_(callbacks) {}

    std::unique_ptr<platform::IIcon> loadIcon(const std::string& resourceName, platform::Size size) override;
    platform::Size smallIconSize() override;
    unsigned trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at) override;

private:
    Win32Callbacks& callbacks_;
    // The window that owns tracked popup menus, made on first use.
    std::unique_ptr<Win32WindowTarget> menuOwner_;
};
