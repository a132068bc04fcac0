// Win32 only. The handle owner closes each real handle exactly once.
#include "platform/win32/ScopedHandle.h"

#include <gtest/gtest.h>

namespace {
bool isOpen(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}
}

TEST(ScopedHandle, ClosesOnScopeEndAndFollowsMoves)
{
    HANDLE raw = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_TRUE(isOpen(raw));
    {
        ScopedKernelHandle first(raw);
        ScopedKernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), raw);
        ScopedKernelHandle third;
        third = std::move(second);
        EXPECT_TRUE(isOpen(raw));
    }
    EXPECT_FALSE(isOpen(raw));
}

TEST(ScopedHandle, ReleaseGivesUpOwnershipAndResetClosesTheOldHandle)
{
    HANDLE a = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE b = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ScopedKernelHandle owner(a);
    owner.reset(b);
    EXPECT_FALSE(isOpen(a));
    EXPECT_EQ(owner.release(), b);
    EXPECT_TRUE(isOpen(b));
    ::CloseHandle(b);
}

TEST(ScopedHandle, DestroysWindowsAndGdiObjects)
{
    HWND hwnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::IsWindow(hwnd));
    { ScopedWindow window(hwnd); }
    EXPECT_FALSE(::IsWindow(hwnd));

    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(::GetObjectType(brush), 0u);
    { ScopedGdiObject owner(brush); }
    EXPECT_EQ(::GetObjectType(brush), 0u);
}
