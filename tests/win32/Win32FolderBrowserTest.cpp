// Win32 only. The folder picker over the real shell browser: opened by Execute,
// steered and closed by the test from inside the dialog's own message loop.
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Ui.h"
#include "toolkit/Application.h"
#include "widgets/FolderDialog.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

BOOL CALLBACK findDialog(HWND window, LPARAM found)
{
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The browser's window: the one dialog of this thread.
HWND browserWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &findDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Presses a button once the dialog handles its queue.
void press(int button)
{
    HWND dialog = browserWindow();
    ASSERT_NE(dialog, nullptr);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Cancels a browser left open by a failing test, so the suite never hangs.
void CALLBACK watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (HWND dialog = browserWindow())
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

bool samePath(const std::string& a, const std::string& b)
{
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// Sets a folder's last-access time back by two days, as for a folder nobody read
// since: Linux (relatime) then moves it again at the next read.
void ageAccessTime(const std::string& path)
{
    HANDLE folder = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE) << path;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= 2ULL * 24 * 3600 * 10000000;
    FILETIME aged{time.LowPart, time.HighPart};
    EXPECT_TRUE(::SetFileTime(folder, nullptr, &aged, nullptr));
    ::CloseHandle(folder);
}

class Win32FolderBrowserTest : public ::testing::Test {
protected:
    Win32FolderBrowserTest()
    {
        ::CreateDirectoryA(folder.file("Chosen").c_str(), nullptr);
        ::CreateDirectoryA(folder.file("Other").c_str(), nullptr);
        // The shell reports the long form of the path.
        char longPath[MAX_PATH] = {};
        ::GetLongPathNameA(folder.path().c_str(), longPath, MAX_PATH);
        base = longPath;
        watchdogTimer = ::SetTimer(nullptr, 0, 15000, &watchdog);
    }
    ~Win32FolderBrowserTest() override { ::KillTimer(nullptr, watchdogTimer); }

    // Confirms the browser once it reports target as selected: confirming at
    // once could beat the selection request.
    void confirmOn(const std::string& folderPath)
    {
        target = folderPath;
        dialog.OnSelect = [this](TObject*, const std::string& path) {
            selected.push_back(path);
            if (!confirmed && samePath(path, target)) {
                confirmed = true;
                press(IDOK);
            }
        };
    }

    ScratchFolder folder;
    std::string base;
    UINT_PTR watchdogTimer = 0;
    std::string target;
    bool confirmed = false;
    std::vector<std::string> selected;
    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    TApplication app{ui};
    Win32FolderBrowser browser;
    Win32FileSystem files;
    TComponent holder{nullptr};
    TFolderDialog& dialog = holder.Create<TFolderDialog>(app, browser, files);
};

} // namespace

TEST_F(Win32FolderBrowserTest, TheFolderPreselectedAndConfirmedIsChosen)
{
    dialog.Title = "Choose the cookie folder";
    dialog.ShowStatus = true;
    dialog.SetStatusText("status");
    dialog.SetDirectory(base + "\\Chosen\\");
    int shown = 0;
    dialog.OnShow = [&](TObject*) { ++shown; };
    confirmOn(base + "\\Chosen");

    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(samePath(dialog.Directory(), base + "\\Chosen")) << dialog.Directory();
}

TEST_F(Win32FolderBrowserTest, AFolderOnAPathNotReadForADayIsStillPreselected)
{
    ::CreateDirectoryA((base + "\\Chosen\\Inner").c_str(), nullptr);
    ageAccessTime(base);
    ageAccessTime(base + "\\Chosen");
    ageAccessTime(base + "\\Chosen\\Inner");
    dialog.SetDirectory(base + "\\Chosen\\Inner");
    confirmOn(base + "\\Chosen\\Inner");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(samePath(dialog.Directory(), base + "\\Chosen\\Inner")) << dialog.Directory();
}

TEST_F(Win32FolderBrowserTest, AHandlerSteersTheOpenBrowserToAnotherFolder)
{
    dialog.SetDirectory(base + "\\Chosen");
    dialog.OnShow = [&](TObject*) { dialog.SetDirectory(base + "\\Other"); };
    confirmOn(base + "\\Other");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_TRUE(samePath(dialog.Directory(), base + "\\Other")) << dialog.Directory();
}

TEST_F(Win32FolderBrowserTest, ADriveRootChosenKeepsItsBackslash)
{
    dialog.SetDirectory("C:\\");
    confirmOn("C:\\");
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "C:\\");
}

TEST_F(Win32FolderBrowserTest, CancellingReturnsFalseAndKeepsTheDirectory)
{
    dialog.SetDirectory(base + "\\Chosen\\");
    dialog.OnShow = [&](TObject*) { press(IDCANCEL); };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), base + "\\Chosen");
}
