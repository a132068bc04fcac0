// Icons and popup menus without a system: icons are named records, and the
// user's choice in the next tracked menu is scripted.
#pragma once

#include "platform/IconsAndMenus.h"
#include "support/FakeService.h"
#include "support/FakeUi.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class FakeIconsAndMenus final : public platform::IIconsAndMenus, public FakeService {
public:
    explicit FakeIconsAndMenus(FakeUi& ui) : ui_(ui) {}

    std::unique_ptr<platform::IIcon> loadIcon(const std::string& resourceName, platform::Size size) override;
    platform::Size smallIconSize() override { return smallIcon; }
    unsigned trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at) override;

    // The resource an icon handle was loaded from, or "" for no live icon.
    std::string iconResource(platform::IconHandle icon) const;
    std::size_t liveIcons() const { return icons_.size(); }

    // What the user does with the next tracked menu: the caption path of the
    // entry to choose ("Modify Sounds/Burp Sound"), or "" to dismiss it. The
    // menu is kept for inspection, and the handler runs while it is open.
    platform::Size smallIcon{16, 16};
    std::string menuChoice;
    std::function<void()> whileMenuOpen;
    std::vector<platform::MenuEntry> lastMenu;

private:
    friend class FakeIcon;
    FakeUi& ui_;
    std::map<platform::IconHandle, std::string> icons_;
};
