// Win32 only. The yardstick of the idle program (bench/idle_cpu.sh): a bare
// tray program, one hidden window, one icon in the notification area and a
// 500 ms timer whose ticks do nothing.
#include <windows.h>
#include <shellapi.h>

namespace {

const char* const className = "NombletBareTray";
constexpr UINT trayMessage = WM_APP;
constexpr UINT_PTR tickTimer = 1;
constexpr UINT tickInterval = 500;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (!::RegisterClassA(&windowClass))
        return 1;
    HWND window = ::CreateWindowA(className, "", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;

    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = window;
    icon.uID = 1;
    icon.uFlags = NIF_ICON | NIF_MESSAGE;
    icon.uCallbackMessage = trayMessage;
    icon.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
    ::Shell_NotifyIconA(NIM_ADD, &icon);
    ::SetTimer(window, tickTimer, tickInterval, nullptr);

    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&message);
    ::Shell_NotifyIconA(NIM_DELETE, &icon);
    return 0;
}
