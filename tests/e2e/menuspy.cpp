// Win32 only. A hook DLL that the end-to-end driver plants in nomblet.exe's menu
// thread: it reads the open popup menu (captions, check marks, default item, greyed rows)
// from inside the process, where the menu lives, and writes it to a file.
#include <windows.h>

#include <cstdio>

namespace {

const char* const reportFile = "C:\\menuspy.txt";

void report(HMENU menu, FILE* out)
{
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char caption[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = caption;
        info.cch = sizeof caption - 1;
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        bool separator = (info.fType & MFT_SEPARATOR) != 0;
        std::fprintf(out, "%s\t%d\t%d\t%d\n", separator ? "-" : caption, (info.fState & MFS_CHECKED) ? 1 : 0,
                     (info.fState & MFS_DEFAULT) ? 1 : 0, !separator && (info.fState & MFS_GRAYED) ? 1 : 0);
    }
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK spyProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == ::RegisterWindowMessageA("NombletMenuSpy")) {
        auto menu = reinterpret_cast<HMENU>(::SendMessageA(message->hwnd, MN_GETHMENU, 0, 0));
        if (FILE* out = std::fopen(reportFile, "w")) {
            if (menu)
                report(menu, out);
            std::fclose(out);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
