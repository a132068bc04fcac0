// Win32 only. One running copy per user session, marked by a named mutex.
#pragma once

#include "platform/win32/ScopedHandle.h"

class SingleInstance {
public:
    // Claims the mark; another copy holding it makes this one the second.
    // Without a mark at all (no mutex to be had) the copy runs.
    explicit SingleInstance(const char* name);
    bool first() const { return first_; }

private:
    ScopedKernelHandle mutex_;
    bool first_;
};
