// Win32 only. A browser's lock as the site-data service sees it: held while a
// program keeps it open without delete sharing, as a running browser does.
#include "ScratchFolder.h"
#include "platform/win32/Win32BrowserLock.h"

#include <gtest/gtest.h>

namespace {

TEST(Win32BrowserLock, ALockIsHeldOnlyWhileOpenWithoutDeleteSharing)
{
    ScratchFolder scratch;
    const std::string lock = scratch.file("parent.lock");
    EXPECT_FALSE(Win32BrowserLockHeld(lock)) << "missing";
    for (const DWORD sharing : {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
        HANDLE held = ::CreateFileW(kernelPath(lock).c_str(), GENERIC_WRITE, sharing, nullptr, OPEN_ALWAYS, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(Win32BrowserLockHeld(lock), (sharing & FILE_SHARE_DELETE) == 0) << sharing;
        ::CloseHandle(held);
        EXPECT_FALSE(Win32BrowserLockHeld(lock)) << "left by a crash";
    }
}

} // namespace
