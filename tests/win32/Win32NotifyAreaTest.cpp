// Win32 only. The notification-area adapter against the real shell.
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32IconsAndMenus.h"
#include "platform/win32/Win32WindowMessages.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Win32NotifyArea, AddsModifiesAndDeletesAnIconOfAHiddenWindow)
{
    Win32Callbacks callbacks;
    Win32WindowMessages messages{callbacks};
    Win32IconsAndMenus icons{callbacks};
    auto window = messages.newUtilityWindow("NombletNotifyTest", [&](const platform::WindowMessage&) { return 0; });
    ASSERT_NE(window, nullptr);
    auto icon = icons.loadIcon("TRAY0", {16, 16});
    ASSERT_NE(icon, nullptr);

    platform::NotifyIconData data;
    data.hWnd = window->handle();
    data.uCallbackMessage = 2048;
    data.hIcon = icon->handle();
    std::strcpy(data.szTip.data(), "Nomblet");

    Win32NotifyArea area;
    EXPECT_FALSE(area.modify(data)); // not there yet
    EXPECT_TRUE(area.add(data));
    auto other = icons.loadIcon("TRAY3", {16, 16});
    ASSERT_NE(other, nullptr);
    data.hIcon = other->handle();
    EXPECT_TRUE(area.modify(data));
    EXPECT_TRUE(area.remove(data));
    EXPECT_FALSE(area.modify(data)); // gone
}

TEST(Win32IconsAndMenus, IconResourcesLoadAtTheAskedSizeAndMissingOnesAreNull)
{
    Win32Callbacks callbacks;
    Win32IconsAndMenus icons{callbacks};
    auto icon = icons.loadIcon("TRAY5", {16, 16});
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(icon->handle()), &info));
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 16);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    EXPECT_EQ(icons.loadIcon("NOSUCHICON", {16, 16}), nullptr);
}
