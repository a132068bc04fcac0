// Win32 only. The end-to-end driver: finds the program's windows and talks to
// them from outside, as the shell and the user would.
//   wait CLASS SECONDS [visible]  wait until a window of the class exists (and shows)
//   hidden CLASS SECONDS      wait until the window of the class exists and is hidden, and
//                             the foreground window has stayed the same for half a second
//   rect CLASS                print "left top width height visible"
//   visible CLASS             print the class of every visible top-level window of the
//                             process that owns the window of CLASS, one a line
//   close CLASS               ask the window to close (WM_CLOSE)
//   post CLASS MSG WP LP      post a message (for the tray icon's callback)
//   keys NAME...              press keys with SendInput: down up left right return escape tab,
//                             or text:CHARS to type characters
//   screen                    print the screen's width and height
//   click X Y [X Y...]        move the pointer to each screen point and click the left button there
//   menu                      print the open popup menu's rows: caption, checked, default, greyed
//                             (read inside the program by the menuspy hook DLL; the topmost
//                             menu, so an open submenu)
//   setcookie URL DATA        set a cookie through WinINet, as a browser does
//   getcookie URL             print the cookies WinINet has for an address
//   cacheadd URL              put a page into the URL cache
//   cachelist                 print the source URL of every cache entry
//   popup CLASS SECONDS       post the tray callback's right-button press to the window and
//                             print how many milliseconds the popup menu took to appear
//   usage CLASS               print "handles threads" of the process that owns the window,
//                             as the system's handle table and thread list count them
//   folder CSIDL              print the folder the shell names (SHGetFolderPathA)
//   hold PATH MS MARKER       hold a file open as a browser holds its database (shared
//                             reading and writing, no delete sharing), make the file MARKER
//                             once it is held, and let it go after MS milliseconds
//   textwidth FACE HEIGHT TEXT  print how many pixels wide the system draws TEXT in the
//                             font FACE of HEIGHT (negative: the character height)
//   tray                      print "width height<TAB>tip" of the last icon the program handed
//                             the shell (read inside the program, which hands it over again
//                             when the watch has only just begun)
//   controls                  print "major.minor<TAB>path" of the comctl32 the program loaded
// The driver sees the screen in its pixels, whatever the system's scale.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

HWND find(const char* className)
{
    return ::FindWindowA(className, nullptr);
}

void press(WORD vk, bool shift = false)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD code, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = code;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (shift)
        key(VK_SHIFT, false);
    key(vk, false);
    key(vk, true);
    if (shift)
        key(VK_SHIFT, true);
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    ::Sleep(30);
}

bool pressNamed(const std::string& name)
{
    static const struct {
        const char* name;
        WORD vk;
    } keys[] = {{"down", VK_DOWN}, {"up", VK_UP}, {"left", VK_LEFT}, {"right", VK_RIGHT},
                {"return", VK_RETURN}, {"escape", VK_ESCAPE}, {"tab", VK_TAB}};
    for (const auto& k : keys) {
        if (name == k.name) {
            press(k.vk);
            return true;
        }
    }
    if (name.rfind("text:", 0) == 0) {
        for (char c : name.substr(5)) {
            SHORT code = ::VkKeyScanA(c);
            if (code == -1)
                return false;
            press(LOBYTE(code), (HIBYTE(code) & 1) != 0);
        }
        return true;
    }
    return false;
}

// Plants the spy in the thread of a window of the program, asks it a question
// (a registered message) and gives back its answer; false when it could not ask.
bool askInside(const char* driverPath, const char* windowClass, const char* question, std::string& answer)
{
    HWND window = ::FindWindowA(windowClass, nullptr);
    if (!window) {
        std::fprintf(stderr, "no window of class %s\n", windowClass);
        return false;
    }
    std::string dll = driverPath;
    dll = dll.substr(0, dll.find_last_of("\\/") + 1) + "nomblet_menuspy.dll";
    HMODULE spy = ::LoadLibraryA(dll.c_str());
    auto proc = spy ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(::GetProcAddress(spy, "spyProc"))) : nullptr;
    if (!proc) {
        std::fprintf(stderr, "cannot load %s\n", dll.c_str());
        return false;
    }
    ::DeleteFileA("C:\\menuspy.txt");
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, proc, spy, ::GetWindowThreadProcessId(window, nullptr));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, ::RegisterWindowMessageA(question), 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    ::UnhookWindowsHookEx(hook);
    FILE* in = std::fopen("C:\\menuspy.txt", "r");
    if (!in) {
        std::fprintf(stderr, "the program was not read\n");
        return false;
    }
    answer.clear();
    char line[512];
    while (std::fgets(line, sizeof line, in))
        answer += line;
    std::fclose(in);
    return true;
}

int printAnswer(const char* driverPath, const char* windowClass, const char* question)
{
    std::string answer;
    if (!askInside(driverPath, windowClass, question, answer))
        return 1;
    std::fputs(answer.c_str(), stdout);
    return 0;
}

// The icon the program last handed the shell. The first question starts the
// watch; an idle program hands nothing over, so it is then told that the shell
// has a new notification area, which makes it add its icon again.
int printTrayIcon(const char* driverPath)
{
    std::string answer;
    if (!askInside(driverPath, "TTrayIconWindow", "NombletTraySpy", answer))
        return 1;
    if (answer.empty())
        ::PostMessageA(find("TTrayIconWindow"), ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    for (DWORD start = ::GetTickCount(); answer.empty() && ::GetTickCount() - start < 3000; ::Sleep(100))
        if (!askInside(driverPath, "TTrayIconWindow", "NombletTraySpy", answer))
            return 1;
    std::fputs(answer.c_str(), stdout);
    return answer.empty() ? 1 : 0;
}

// Moves the pointer to a screen point and clicks there with SendInput.
void click(int x, int y)
{
    ::SetCursorPos(x, y);
    ::Sleep(30); // the move arrives before the press, as a user's would
    INPUT inputs[2]{};
    for (INPUT& in : inputs)
        in.type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &inputs[0], sizeof(INPUT));
    ::Sleep(30);
    ::SendInput(1, &inputs[1], sizeof(INPUT));
    ::Sleep(30);
}

// WinINet's cookies and cache, seen from another process than the program's.
int cacheCommand(const std::string& command, int argc, char** argv)
{
    if (command == "setcookie" && argc == 4)
        return ::InternetSetCookieA(argv[2], nullptr, argv[3]) ? 0 : 1;
    if (command == "getcookie" && argc == 3) {
        char value[4096] = {};
        DWORD size = sizeof value;
        if (::InternetGetCookieA(argv[2], nullptr, value, &size))
            std::printf("%s\n", value);
        return 0;
    }
    if (command == "cacheadd" && argc == 3) {
        char file[MAX_PATH] = {};
        if (!::CreateUrlCacheEntryA(argv[2], 0, "htm", file, 0))
            return 1;
        HANDLE h = ::CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(h, "<html/>", 7, &written, nullptr);
        ::CloseHandle(h);
        FILETIME never{};
        return ::CommitUrlCacheEntryA(argv[2], file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0, "htm", nullptr)
                   ? 0
                   : 1;
    }
    if (command == "cachelist") {
        std::vector<BYTE> buffer(65536);
        auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        DWORD size = static_cast<DWORD>(buffer.size());
        HANDLE find = ::FindFirstUrlCacheEntryA(nullptr, info, &size);
        if (!find)
            return 0;
        do
            std::printf("%s\n", info->lpszSourceUrlName);
        while ((size = static_cast<DWORD>(buffer.size()), ::FindNextUrlCacheEntryA(find, info, &size)));
        ::FindCloseUrlCache(find);
        return 0;
    }
    return -1;
}

// The visible top-level windows of one process: each would have a taskbar
// button or an Alt+Tab entry unless it is owned or a tool window.
BOOL CALLBACK printIfVisible(HWND hwnd, LPARAM process)
{
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == static_cast<DWORD>(process) && ::IsWindowVisible(hwnd)) {
        char name[256] = {};
        ::GetClassNameA(hwnd, name, sizeof name);
        std::printf("%s\n", name);
    }
    return TRUE;
}

int printVisibleWindows(HWND window)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    ::EnumWindows(&printIfVisible, static_cast<LPARAM>(process));
    return 0;
}

// The system's handle table, as NtQuerySystemInformation gives it (class 16).
struct HandleEntry {
    USHORT process;
    USHORT backTrace;
    UCHAR type;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

// What the process that owns a window holds, for a soak to compare over time.
// (Wine counts neither a process's handles nor its private bytes for
// GetProcessHandleCount and GetProcessMemoryInfo; its handle table it keeps.)
int printUsage(HWND window)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<BYTE> buffer(1 << 20);
    LONG status = -1;
    for (int tries = 0; query && tries < 6; ++tries) {
        ULONG needed = 0;
        status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status != static_cast<LONG>(0xC0000004)) // not STATUS_INFO_LENGTH_MISMATCH
            break;
        buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 65536));
    }
    if (status != 0) {
        std::fprintf(stderr, "no handle table (%08lx)\n", static_cast<unsigned long>(status));
        return 1;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    unsigned long handles = 0;
    for (ULONG i = 0; i < table->count; ++i)
        handles += table->entries[i].process == static_cast<USHORT>(process);
    unsigned threads = 0;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
            threads += entry.th32OwnerProcessID == process;
        ::CloseHandle(snapshot);
    }
    std::printf("%lu %u\n", handles, threads);
    return 0;
}

int printTextWidth(const char* face, int height, const std::string& text)
{
    HFONT font = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    const BOOL measured = ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    if (!measured)
        return 1;
    std::printf("%ld\n", size.cx);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: nomblet_driver wait|hidden|rect|visible|close|post|popup|usage|keys|screen|menu|tray|controls|click|textwidth|folder|hold|setcookie|getcookie|cacheadd|cachelist ...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    // Positions, sizes and fonts in the screen's own pixels (Vista and later).
    using MakeAware = BOOL(WINAPI*)();
    if (auto aware = reinterpret_cast<MakeAware>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
        aware();

    if (command == "screen") {
        std::printf("%d %d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        return 0;
    }
    if (command == "menu")
        return printAnswer(argv[0], "#32768", "NombletMenuSpy");
    if (command == "tray")
        return printTrayIcon(argv[0]);
    if (command == "controls")
        return printAnswer(argv[0], "TTrayIconWindow", "NombletControlsSpy");
    if (command == "click") {
        for (int i = 2; i + 1 < argc; i += 2)
            click(std::atoi(argv[i]), std::atoi(argv[i + 1]));
        return 0;
    }
    if (command == "textwidth" && argc == 5)
        return printTextWidth(argv[2], std::atoi(argv[3]), argv[4]);
    if (command == "keys") {
        for (int i = 2; i < argc; ++i)
            if (!pressNamed(argv[i])) {
                std::fprintf(stderr, "unknown key %s\n", argv[i]);
                return 2;
            }
        return 0;
    }
    if (int result = cacheCommand(command, argc, argv); result >= 0)
        return result;
    if (command == "folder" && argc == 3) {
        char path[MAX_PATH] = {};
        if (::SHGetFolderPathA(nullptr, std::atoi(argv[2]), nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
            return 1;
        std::printf("%s\n", path);
        return 0;
    }
    if (command == "hold" && argc == 5) {
        HANDLE file = ::CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot open %s\n", argv[2]);
            return 1;
        }
        HANDLE marker = ::CreateFileA(argv[4], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (marker != INVALID_HANDLE_VALUE)
            ::CloseHandle(marker);
        ::Sleep(static_cast<DWORD>(std::atoi(argv[3])));
        ::CloseHandle(file);
        return 0;
    }
    if (argc < 3)
        return usage();
    const char* className = argv[2];

    if (command == "wait" || command == "hidden") {
        const bool hidden = command == "hidden";
        double seconds = argc > 3 ? std::atof(argv[3]) : 10;
        const bool visible = argc > 4 && std::string(argv[4]) == "visible";
        HWND settling = nullptr;
        DWORD settledSince = 0;
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < seconds * 1000; ::Sleep(20)) {
            HWND hwnd = find(className);
            if (hwnd && !hidden && (!visible || ::IsWindowVisible(hwnd)))
                return 0;
            if (!hidden || !hwnd || ::IsWindowVisible(hwnd))
                continue;
            // Hiding its last window hands the keyboard to another program, and
            // under Wine the X server confirms that a little later: keys sent
            // before it has would go there.
            HWND foreground = ::GetForegroundWindow();
            if (settledSince == 0 || foreground != settling) {
                settling = foreground;
                settledSince = ::GetTickCount();
            } else if (::GetTickCount() - settledSince >= 500) {
                return 0;
            }
        }
        std::fprintf(stderr, hidden ? "no hidden window of class %s\n" : "no window of class %s\n", className);
        return 1;
    }

    HWND hwnd = find(className);
    if (!hwnd) {
        std::fprintf(stderr, "no window of class %s\n", className);
        return 1;
    }
    if (command == "rect") {
        RECT r{};
        ::GetWindowRect(hwnd, &r);
        std::printf("%ld %ld %ld %ld %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
                    ::IsWindowVisible(hwnd) ? 1 : 0);
        return 0;
    }
    if (command == "visible")
        return printVisibleWindows(hwnd);
    if (command == "usage")
        return printUsage(hwnd);
    if (command == "close")
        return ::PostMessageA(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    if (command == "popup") {
        double seconds = argc > 3 ? std::atof(argv[3]) : 10;
        DWORD start = ::GetTickCount();
        if (!::PostMessageA(hwnd, 2048, 1, WM_RBUTTONDOWN))
            return 1;
        while (!find("#32768")) {
            if (::GetTickCount() - start >= seconds * 1000) {
                std::fprintf(stderr, "no menu within %g s\n", seconds);
                return 1;
            }
            ::Sleep(5);
        }
        std::printf("%lu\n", ::GetTickCount() - start);
        return 0;
    }
    if (command == "post" && argc == 6)
        return ::PostMessageA(hwnd, std::strtoul(argv[3], nullptr, 0), std::strtoul(argv[4], nullptr, 0),
                              std::strtol(argv[5], nullptr, 0))
                   ? 0
                   : 1;
    return usage();
}
