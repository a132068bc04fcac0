// Menu items and popup menus: captions, check marks, default items, sub-items,
// click and popup events. The menus' window face lives in the UI service.
// UI thread only.
#pragma once

#include "toolkit/Component.h"

#include <string>
#include <vector>

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    ~TMenuItem() override;

    std::string Caption;
    bool Checked = false;
    bool Default = false;
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

    TMenuItem& Items() { return items_; }
    bool AutoPopup = true;
    TNotifyEvent OnPopup;
    // The component that opened the menu last.
    TComponent* PopupComponent = nullptr;

private:
    TMenuItem items_;
};
