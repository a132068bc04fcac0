// Win32 only. The notification-area service over Shell_NotifyIconA.
#pragma once

#include "platform/NotifyArea.h"

class Win32NotifyArea final : public platform::INotifyArea {
public:
    bool add(const platform::NotifyIconData& data) override;
    bool modify(const platform::NotifyIconData& data) override;
    bool remove(const platform::NotifyIconData& data) override;
};
