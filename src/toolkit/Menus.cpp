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
