// A notification area without a shell: it keeps the icons it was asked to show,
// logs every request with the record's fields, and lets a test click an icon.
#pragma once

#include "platform/NotifyArea.h"
#include "support/FakeService.h"
#include "support/FakeWindowMessages.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct NotifyRequest {
    std::string operation; // "add", "modify" or "remove"
    platform::NotifyIconData data;
};

class FakeNotifyArea final : public platform::INotifyArea, public FakeService {
public:
    explicit FakeNotifyArea(FakeWindowMessages& messages) : messages_(messages) {}

    // As the shell: an add of an icon that is there, or a modify or remove of
    // one that is not, fails without effect.
    bool add(const platform::NotifyIconData& data) override;
    bool modify(const platform::NotifyIconData& data) override;
    bool remove(const platform::NotifyIconData& data) override;

    // The user does something with the mouse over the first icon shown: its
    // window gets the callback message with the mouse message. False when none is shown.
    bool mouse(unsigned mouseMessage);
    // The shell restarts: every icon is gone.
    void restart() { icons.clear(); }

    // The icons shown now, by window (one each).
    std::map<platform::WindowHandle, platform::NotifyIconData> icons;
    std::vector<NotifyRequest> requests;

    // The tip as the shell would show it.
    static std::string tipOf(const platform::NotifyIconData& data);

private:
    bool request(const char* operation, const platform::NotifyIconData& data);

    FakeWindowMessages& messages_;
};
