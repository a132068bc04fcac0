// Win32 only. The seam's handle types to the system's and back: the one place
// where a handle is a number.
#pragma once

#include "platform/Handles.h"

#include <cstdint>

template <class Handle, class System>
Handle toHandle(System system)
{
    return static_cast<Handle>(reinterpret_cast<std::uintptr_t>(system));
}

template <class System, class Handle>
System toSystem(Handle handle)
{
    return reinterpret_cast<System>(static_cast<std::uintptr_t>(handle));
}
