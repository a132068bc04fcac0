// The component model: ownership, state and notifications.
#include "toolkit/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    // A component made while its owner's layout is read is read from it too.
    if (owner)
        state_ |= owner->state_ & (csDesigning | csLoading | csReading);
}

TComponent::~TComponent()
{
    state_ |= csDestroying;
    destroyComponents();
}

TComponent* TComponent::FindComponent(const std::string& name) const
{
    for (const auto& c : components_)
        if (c->name_ == name)
            return c.get();
    return nullptr;
}

void TComponent::SetDesigning(bool designing)
{
    forEachInTree([designing](TComponent& c) {
        if (designing)
            c.state_ |= csDesigning;
        else
            c.state_ &= ~csDesigning;
    });
}

void TComponent::BeginLoading()
{
    forEachInTree([](TComponent& c) { c.state_ |= csLoading | csReading; });
}

void TComponent::EndLoading()
{
    forEachInTree([](TComponent& c) { c.state_ &= ~(csLoading | csReading); });
    forEachInTree([](TComponent& c) { c.Loaded(); });
}

void TComponent::DestroyComponent(TComponent& component)
{
    auto it = std::find_if(components_.begin(), components_.end(),
                           [&](const auto& c) { return c.get() == &component; });
    if (it == components_.end())
        return;
    std::unique_ptr<TComponent> doomed = std::move(*it);
    components_.erase(it);
    Notification(doomed.get(), TOperation::opRemove);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    for (const auto& c : components_)
        c->Notification(component, operation);
}

void TComponent::insertComponent(std::unique_ptr<TComponent> component)
{
    TComponent* added = component.get();
    components_.push_back(std::move(component));
    Notification(added, TOperation::opInsert);
}

void TComponent::forEachInTree(const std::function<void(TComponent&)>& action)
{
    action(*this);
    for (const auto& c : components_)
        c->forEachInTree(action);
}

void TComponent::DestroyComponents()
{
    state_ |= csDestroying;
    destroyComponents();
}

void TComponent::destroyComponents()
{
    // Last created is freed first; the rest hear of each removal before it happens.
    while (!components_.empty()) {
        std::unique_ptr<TComponent> doomed = std::move(components_.back());
        components_.pop_back();
        Notification(doomed.get(), TOperation::opRemove);
    }
}
