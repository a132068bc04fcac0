// Win32 only. A browser's lock, looked at by opening it as the delete rule opens a file.
#include "platform/win32/Win32BrowserLock.h"

#include "platform/win32/Win32Paths.h"

#include <windows.h>

bool Win32BrowserLockHeld(const std::string& path)
{
    // Opened for deletion and closed at once; a lock a crash left opens.
    const HANDLE lock = ::CreateFileW(win32paths::pathForWideCalls(path).c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (lock != INVALID_HANDLE_VALUE) {
        ::CloseHandle(lock);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}
