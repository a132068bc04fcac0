// Menu items and popup menus.
#include "toolkit/Menus.h"

#include <algorithm>

TMenuItem::~TMenuItem()
{
    for (TMenuItem* item : items_)
        item->parent_ = nullptr;
    if (parent_)
        std::erase(parent_->items_, this);
}

void TMenuItem::Add(TMenuItem& item)
{
    if (item.parent_)
        std::erase(item.parent_->items_, &item);
    item.parent_ = this;
    items_.push_back(&item);
}

void TMenuItem::Click()
{
    fire(OnClick, this);
}

void TMenuItem::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove)
        std::erase(items_, component);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(nullptr) {}

TPopupMenu::TPopupMenu(TComponent* owner, platform::IIconsAndMenus& menus) : TPopupMenu(owner)
{
    menus_ = &menus;
}

namespace {

// The entries of an item's visible sub-items; ids index the flat list of items + 1.
std::vector<platform::MenuEntry> entriesOf(const TMenuItem& parent, std::vector<TMenuItem*>& byId)
{
    std::vector<platform::MenuEntry> entries;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible)
            continue;
        byId.push_back(item);
        platform::MenuEntry entry;
        entry.caption = item->Caption;
        entry.id = static_cast<unsigned>(byId.size());
        entry.checked = item->Checked;
        entry.isDefault = item->Default;
        entry.enabled = item->Enabled;
        entry.items = entriesOf(*item, byId);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace

void TPopupMenu::Popup(int X, int Y)
{
    fire(OnPopup, this);
    if (!menus_)
        return;
    // Built after OnPopup, which may change captions and check marks.
    std::vector<TMenuItem*> byId;
    const std::vector<platform::MenuEntry> entries = entriesOf(items_, byId);
    const unsigned chosen = menus_->trackPopupMenu(entries, {X, Y});
    if (chosen == 0 || chosen > byId.size())
        return;
    // Whatever ran while the menu was open may have freed the item.
    TMenuItem* item = byId[chosen - 1];
    std::vector<TMenuItem*> live;
    entriesOf(items_, live);
    if (std::find(live.begin(), live.end(), item) != live.end())
        item->Click();
}
