// The shell-less notification area.
#include "support/FakeNotifyArea.h"

#include <cstring>

std::string FakeNotifyArea::tipOf(const platform::NotifyIconData& data)
{
    return std::string(data.szTip.data(), strnlen(data.szTip.data(), data.szTip.size()));
}

bool FakeNotifyArea::request(const char* operation, const platform::NotifyIconData& data)
{
    requests.push_back({operation, data});
    return !record(operation, {handleText(data.hWnd), std::to_string(data.uCallbackMessage),
                               handleText(data.hIcon), tipOf(data)});
}

bool FakeNotifyArea::add(const platform::NotifyIconData& data)
{
    if (!request("add", data))
        return false;
    return icons.try_emplace(data.hWnd, data).second;
}

bool FakeNotifyArea::modify(const platform::NotifyIconData& data)
{
    if (!request("modify", data))
        return false;
    auto it = icons.find(data.hWnd);
    if (it == icons.end())
        return false;
    it->second = data;
    return true;
}

bool FakeNotifyArea::remove(const platform::NotifyIconData& data)
{
    if (!request("remove", data))
        return false;
    return icons.erase(data.hWnd) != 0;
}

bool FakeNotifyArea::mouse(unsigned mouseMessage)
{
    if (icons.empty())
        return false;
    // The handler may change the icons: send from a copy. The shell names the
    // icon by the id the real adapter always gives it, 1.
    const platform::NotifyIconData target = icons.begin()->second;
    messages_.send(target.hWnd, {target.uCallbackMessage, 1, static_cast<std::intptr_t>(mouseMessage)});
    return true;
}
