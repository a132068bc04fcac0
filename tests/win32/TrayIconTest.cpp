// Win32 only. The tray icon on the real UI and shell: the popup menu opens at
// the cursor, keys choose an item and its command runs; window hooks.
#include "shell/TrayIcon.h"

#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32IconsAndMenus.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32WindowMessages.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

#include <gtest/gtest.h>

namespace {

class Win32TrayIcon : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.BeginLoading();
        images = &form.Create<TImageList>(icons);
        for (const char* name : {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"})
            images->AddIconResource(name);
        menu = &form.Create<TPopupMenu>(icons);
        tray = &form.Create<TTrayIcon>(app, messages, area);
        tray->SetIconList(images);
        tray->PopupMenu = menu;
        tray->LeftPopup = true;
        form.EndLoading();
    }

    TMenuItem& addItem(const char* caption)
    {
        TMenuItem& item = form.Create<TMenuItem>();
        item.Caption = caption;
        menu->Items().Add(item);
        return item;
    }

    HWND trayWindow() const { return reinterpret_cast<HWND>(tray->NotifyData().hWnd); }

    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    Win32WindowMessages messages{callbacks};
    Win32IconsAndMenus icons{callbacks};
    Win32NotifyArea area;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("NombletTrayTestForm");
    TImageList* images = nullptr;
    TPopupMenu* menu = nullptr;
    TTrayIcon* tray = nullptr;
};

} // namespace

TEST_F(Win32TrayIcon, IsInTheNotificationAreaOnceLoadedAndLeavesItWhenFreed)
{
    // The shell has the icon: a second add of the same icon is refused, a refresh accepted.
    EXPECT_FALSE(tray->AddToTray());
    EXPECT_TRUE(tray->RefreshInTray());
    platform::NotifyIconData data = tray->NotifyData();
    form.DestroyComponent(*tray);
    EXPECT_FALSE(area.modify(data));
}

TEST_F(Win32TrayIcon, RightClickOpensTheMenuAtTheCursorAndTheChosenItemRuns)
{
    addItem("One");
    addItem("-");
    TMenuItem& two = addItem("Two");
    std::string ran;
    two.OnClick = [&](TObject*) {
        ran = "Two";
        ui.quit();
    };
    ASSERT_TRUE(::SetCursorPos(300, 200));

    RECT menuRect{};
    bool menuSeen = false;
    platform::TimerId driver = 0;
    // Runs inside the menu's own loop: finds the menu window and picks the third entry.
    driver = ui.startTimer(50, [&] {
        HWND popup = ::FindWindowA("#32768", nullptr);
        if (!popup || !::IsWindowVisible(popup))
            return;
        ui.stopTimer(driver);
        menuSeen = true;
        ::GetWindowRect(popup, &menuRect);
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN})
            ::PostMessageA(popup, WM_KEYDOWN, key, 0);
    });
    platform::TimerId timeout = ui.startTimer(5000, [&] { ui.quit(); });

    ASSERT_TRUE(::PostMessageA(trayWindow(), 2048, 1, WM_RBUTTONDOWN));
    ui.runMessageLoop();
    ui.stopTimer(timeout);

    EXPECT_TRUE(menuSeen);
    EXPECT_EQ(ran, "Two");
    EXPECT_EQ(menuRect.left, 300);
    EXPECT_EQ(menuRect.top, 200);
    EXPECT_EQ(menu->PopupComponent, tray);
}

TEST_F(Win32TrayIcon, HooksSeeTheWindowsMessagesAndAreUndoneWhenFreed)
{
    HWND formWindow = reinterpret_cast<HWND>(form.Handle().handle());
    HWND appWindow = reinterpret_cast<HWND>(app.Handle().handle());
    LONG_PTR hookedForm = ::GetWindowLongPtrA(formWindow, GWLP_WNDPROC);
    LONG_PTR hookedApp = ::GetWindowLongPtrA(appWindow, GWLP_WNDPROC);

    // Minimising the application with MinimizeToTray hides the main window into the tray.
    tray->MinimizeToTray = true;
    form.Show();
    tray->SetIconVisible(false);
    ::SendMessageA(appWindow, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(::IsWindowVisible(formWindow));
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_TRUE(tray->RefreshInTray());

    form.DestroyComponent(*tray);
    EXPECT_NE(::GetWindowLongPtrA(formWindow, GWLP_WNDPROC), hookedForm);
    EXPECT_NE(::GetWindowLongPtrA(appWindow, GWLP_WNDPROC), hookedApp);
    EXPECT_EQ(::GetPropA(formWindow, "Nomblet.WindowHook"), nullptr);
    // The window's own procedure still answers.
    EXPECT_EQ(::SendMessageA(formWindow, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(Win32TrayIcon, HiddenWindowAnswersTheSessionEndAndReAddsTheIconOnTaskbarCreated)
{
    EXPECT_EQ(::SendMessageA(trayWindow(), WM_QUERYENDSESSION, 0, 0), 1);
    platform::NotifyIconData data = tray->NotifyData();
    ASSERT_TRUE(area.remove(data)); // as if the shell had lost it
    ::SendMessageA(trayWindow(), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(area.modify(tray->NotifyData())); // it is there again
}
