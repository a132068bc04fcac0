// Win32 only. Notification-area icons through the shell.
#include "platform/win32/Win32NotifyArea.h"

#include "platform/win32/Win32Handles.h"

#include <windows.h>
#include <shellapi.h>

#include <cstring>

namespace {

// The record as the shell reads it. cbSize tells the shell how much of the
// structure is meant, so the first version's size, with its 64-byte tip,
// leaves the rest unread. A window has one icon, so its id is always 1.
constexpr DWORD firstVersionSize = 88;
constexpr UINT iconId = 1;

BOOL notify(DWORD command, const platform::NotifyIconData& data)
{
    NOTIFYICONDATAA nid{};
    nid.cbSize = firstVersionSize;
    nid.hWnd = toSystem<HWND>(data.hWnd);
    nid.uID = iconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = toSystem<HICON>(data.hIcon);
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
