// Icon resources of the program and popup menus tracked at a screen point.
// UI thread only.
#pragma once

#include "platform/Geometry.h"
#include "platform/Handles.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// An icon image loaded by the system; destroying the object frees it.
class IIcon {
public:
    virtual ~IIcon() = default;
    virtual IconHandle handle() const = 0;
};

// One entry of a popup menu to track: caption "-" is a separator; an entry
// with items opens a sub-menu. Ids are the program's, never 0.
struct MenuEntry {
    std::string caption;
    unsigned id = 0;
    bool checked = false;
    bool isDefault = false; // shown bold
    bool enabled = true;    // false: greyed, cannot be chosen
    std::vector<MenuEntry> items;
};

class IIconsAndMenus {
public:
    virtual ~IIconsAndMenus() = default;
    // An icon resource of the program, at the given size; null when there is none.
    virtual std::unique_ptr<IIcon> loadIcon(const std::string& resourceName, Size size) = 0;
    // The size of the icons the shell shows in the notification area.
    virtual Size smallIconSize() = 0;
    // Shows a popup menu with its top-left corner at a screen point and
    // returns, once it has closed, the id of the chosen entry or 0.
    virtual unsigned trackPopupMenu(const std::vector<MenuEntry>& entries, Point at) = 0;
};

} // namespace platform
