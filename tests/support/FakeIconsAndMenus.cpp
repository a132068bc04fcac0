// Icons and popup menus without a system.
#include "support/FakeIconsAndMenus.h"

#include <string_view>

class FakeIcon final : public platform::IIcon {
public:
    FakeIcon(FakeIconsAndMenus& owner, platform::IconHandle handle, const std::string& resource)
        : owner_(owner), handle_(handle)
    {
        owner_.icons_[handle] = resource;
    }
    ~FakeIcon() override { owner_.icons_.erase(handle_); }
    platform::IconHandle handle() const override { return handle_; }

private:
    FakeIconsAndMenus& owner_;
    platform::IconHandle handle_;
};

namespace {

// Finds the entry at a caption path ("Modify Sounds/Burp Sound").
const platform::MenuEntry* findEntry(const std::vector<platform::MenuEntry>& entries, std::string_view path)
{
    std::string_view head = path.substr(0, path.find('/'));
    for (const auto& entry : entries) {
        if (entry.caption != head)
            continue;
        if (head.size() == path.size())
            return &entry;
        return findEntry(entry.items, path.substr(head.size() + 1));
    }
    return nullptr;
}

} // namespace

std::unique_ptr<platform::IIcon> FakeIconsAndMenus::loadIcon(const std::string& resourceName, platform::Size size)
{
    if (record("loadIcon", {resourceName, std::to_string(size.width) + "x" + std::to_string(size.height)}))
        return nullptr;
    return std::make_unique<FakeIcon>(*this, platform::IconHandle{ui_.newHandle()}, resourceName);
}

unsigned FakeIconsAndMenus::trackPopupMenu(const std::vector<platform::MenuEntry>& entries, platform::Point at)
{
    if (record("trackPopupMenu", {std::to_string(at.x), std::to_string(at.y)}))
        return 0;
    lastMenu = entries;
    if (whileMenuOpen)
        whileMenuOpen();
    const platform::MenuEntry* chosen = menuChoice.empty() ? nullptr : findEntry(entries, menuChoice);
    // As the system does, a greyed entry cannot be chosen.
    return chosen && chosen->items.empty() && chosen->caption != "-" && chosen->enabled ? chosen->id : 0;
}

std::string FakeIconsAndMenus::iconResource(platform::IconHandle icon) const
{
    auto it = icons_.find(icon);
    return it == icons_.end() ? "" : it->second;
}
