// The component model: owned components with a name, a tag, a state, an
// after-loading hook and removal notifications. Main thread only.
#pragma once

#include "toolkit/Events.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TOperation { opInsert, opRemove };

class TComponent : public TObject {
public:
    // State flags, as a component sees itself.
    enum State : unsigned {
        csLoading = 1u << 0,     // its properties are being read from a layout
        csReading = 1u << 1,
        csDesigning = 1u << 2,   // it lives inside a design environment
        csDestroying = 1u << 3,
    };

    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Creates a component owned by this one; the owner frees it.
    template <class T, class... Args>
    T& Create(Args&&... args)
    {
        auto component = std::make_unique<T>(this, std::forward<Args>(args)...);
        T& result = *component;
        insertComponent(std::move(component));
        return result;
    }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index).get(); }
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    std::int32_t Tag = 0;

    unsigned ComponentState() const { return state_; }
    bool Has(State flag) const { return (state_ & flag) != 0; }

    // Marks this component and all it owns as living in a design environment.
    void SetDesigning(bool designing);

    // A layout reader brackets the reading of values with these two; EndLoading
    // clears the loading state of the whole tree and then runs every Loaded hook.
    void BeginLoading();
    void EndLoading();

    // Frees an owned component at once (telling the others first).
    void DestroyComponent(TComponent& component);

protected:
    // Runs after the layout values have been read.
    virtual void Loaded() {}
    // Another component of the same owner is inserted or about to be removed.
    virtual void Notification(TComponent* component, TOperation operation);
    // Frees every owned component now: for owners whose own resources (a
    // window) must outlive the components that use them.
    void DestroyComponents();

private:
    void insertComponent(std::unique_ptr<TComponent> component);
    void forEachInTree(const std::function<void(TComponent&)>& action);
    void destroyComponents();

    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::string name_;
    unsigned state_ = 0;
};
