// Events: optional callbacks whose first argument is always the sender.
#pragma once

#include <functional>

class TObject {
public:
    virtual ~TObject() = default;
};

template <class... Args>
using TEvent = std::function<void(TObject* Sender, Args...)>;

using TNotifyEvent = TEvent<>;

// Raises an event when a handler is assigned.
template <class Event, class... Args>
void fire(const Event& event, TObject* sender, Args&&... args)
{
    if (event)
        event(sender, std::forward<Args>(args)...);
}
