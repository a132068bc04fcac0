// Win32 only. A hook DLL that the end-to-end driver plants in nomblet.exe's UI
// thread, to read from inside the process what only the process can see, and
// write it to a file:
//   NombletMenuSpy      the open popup menu (captions, check marks, default item, greyed rows);
//   NombletTraySpy      the last icon record the program handed the shell: "width height<TAB>tip"
//                       (nothing before the first; the first request starts watching);
//   NombletControlsSpy  the loaded comctl32's version, "major.minor<TAB>path", or nothing.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

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

// ---- What the program hands the shell ----

using NotifyIcon = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
NotifyIcon shellNotifyIcon = nullptr;
struct Handed {
    bool any = false;
    LONG width = 0, height = 0;
    char tip[64] = {};
} handed;

// Stands in for the shell's call in the program's import table: notes the
// record, then hands it on.
BOOL WINAPI noteNotifyIcon(DWORD command, PNOTIFYICONDATAA data)
{
    if (data && command != NIM_DELETE) {
        ICONINFO info{};
        if (data->hIcon && ::GetIconInfo(data->hIcon, &info)) {
            BITMAP bitmap{};
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            handed.width = bitmap.bmWidth;
            handed.height = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
        }
        if (data->uFlags & NIF_TIP) {
            std::memcpy(handed.tip, data->szTip, sizeof handed.tip);
            handed.tip[sizeof handed.tip - 1] = '\0';
        }
        handed.any = true;
    }
    return shellNotifyIcon(command, data);
}

// Puts noteNotifyIcon into the program's import of Shell_NotifyIconA, once. The
// DLL stays loaded for good from then on, since the program calls into it.
void watchNotifyIcon()
{
    if (shellNotifyIcon)
        return;
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&noteNotifyIcon), &self);
    const auto real = reinterpret_cast<ULONG_PTR>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("shell32.dll"), "Shell_NotifyIconA")));
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         real && module->Name; ++module) {
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk); slot->u1.Function; ++slot) {
            if (slot->u1.Function != real)
                continue;
            DWORD was = 0;
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &was);
            shellNotifyIcon = reinterpret_cast<NotifyIcon>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(&noteNotifyIcon);
            ::VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, was, &was);
        }
    }
}

void reportHanded(FILE* out)
{
    watchNotifyIcon();
    if (handed.any)
        std::fprintf(out, "%ld %ld\t%s\n", handed.width, handed.height, handed.tip);
}

// The comctl32 the program loaded (under its manifest, the side-by-side one).
void reportControls(FILE* out)
{
    HMODULE controls = ::GetModuleHandleA("comctl32.dll");
    if (!controls)
        return;
    struct Version {
        DWORD size, major, minor, build, platform;
    } version{sizeof(Version), 0, 0, 0, 0};
    using GetVersion = HRESULT(CALLBACK*)(Version*);
    auto get = reinterpret_cast<GetVersion>(reinterpret_cast<void*>(::GetProcAddress(controls, "DllGetVersion")));
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(controls, path, sizeof path);
    if (get && get(&version) == S_OK)
        std::fprintf(out, "%lu.%lu\t%s\n", version.major, version.minor, path);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK spyProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code != HC_ACTION)
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    const UINT asked = message->message;
    if (asked == ::RegisterWindowMessageA("NombletMenuSpy")) {
        auto menu = reinterpret_cast<HMENU>(::SendMessageA(message->hwnd, MN_GETHMENU, 0, 0));
        if (FILE* out = std::fopen(reportFile, "w")) {
            if (menu)
                report(menu, out);
            std::fclose(out);
        }
    } else if (asked == ::RegisterWindowMessageA("NombletTraySpy") ||
               asked == ::RegisterWindowMessageA("NombletControlsSpy")) {
        if (FILE* out = std::fopen(reportFile, "w")) {
            if (asked == ::RegisterWindowMessageA("NombletTraySpy"))
                reportHanded(out);
            else
                reportControls(out);
            std::fclose(out);
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
