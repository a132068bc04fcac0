// Win32 only. Icon resources, as the notification area shows them.
#include "platform/win32/Win32IconsAndMenus.h"

#include <gtest/gtest.h>

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
