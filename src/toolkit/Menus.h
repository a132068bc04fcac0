// Menu items and popup menus: captions, check marks, default items, sub-items,
// click and popup events. The menus' window face lives in the icons-and-menus service.
// UI thread only.
#pragma once

#include "toolkit/Component.h"
#include "platform/IconsAndMenus.h"

#include <string>
#include <vector>

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    ~TMenuItem() override;

    std::string Caption;
    bool Checked = false;
    bool Default = false;
    bool Enabled = true;  // false: shown greyed, cannot be chosen
    bool Visible = true;  // false: left out of the menu
    TNotifyEvent OnClick;

    // Sub-items are owned by the item's owner, not by the item.
    void Add(TMenuItem& item);
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    TMenuItem* Parent() const { return parent_; }

    // What choosing the item does.
    void Click();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    // A menu that can be opened on the screen through the icons-and-menus service.
    TPopupMenu(TComponent* owner, platform::IIconsAndMenus& menus);

    TMenuItem& Items() { return items_; }
    bool AutoPopup = true;
    TNotifyEvent OnPopup;
    // The component that opened the menu last.
    TComponent* PopupComponent = nullptr;

    // Raises OnPopup, shows the menu with its top-left corner at the screen
    // point and returns once it has closed; then the chosen item's Click runs.
    // A menu made without that service only raises OnPopup.
    void Popup(int X, int Y);

private:
    TMenuItem items_;
    platform::IIconsAndMenus* menus_ = nullptr;
};
