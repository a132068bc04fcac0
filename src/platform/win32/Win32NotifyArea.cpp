// Win32 only. Notification-area icons through the shell.
#include "platform/win32/Win32NotifyArea.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {

// The record as the shell reads it. cbSize tells the shell how much of the
// structure is meant, so a first-version size (88) leaves the rest unread.
BOOL notify(DWORD command, const platform::NotifyIconData& data)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = data.cbSize;
    nid.hWnd = reinterpret_cast<HWND>(data.hWnd);
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = reinterpret_cast<HICON>(data.hIcon);
    static_assert(sizeof nid.szTip >= sizeof data.szTip);
    std::memcpy(nid.szTip, data.szTip.data(), data.szTip.size());
    return ::Shell_NotifyIconA(command, &nid);
}

} // namespace

bool Win32NotifyArea::add(const platform::NotifyIconData& data)
{
    return notify(NIM_ADD, data) != FALSE;
}

bool Win32NotifyArea::modify(const platform::NotifyIconData& data)
{
    return notify(NIM_MODIFY, data) != FALSE;
}

bool Win32NotifyArea::remove(const platform::NotifyIconData& data)
{
    return notify(NIM_DELETE, data) != FALSE;
}
