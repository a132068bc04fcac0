// Win32 only. The browsers' stores under Wine: "make" gives every browser
// family three profiles (profiles.ini and folders for the Mozilla ones), "time
// RUNS" times finding them, one tick's looks at their stores, all absent, and
// the times of their folders (bench/wine_browsers.sh, bench/idle_cpu.sh).
#include "munch/SystemFolders.h"
#include "browserdata/BrowserStores.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Folders.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* profiles[] = {"Default", "Profile 1", "Profile 2"};

void makeFolders(const std::string& path)
{
    for (std::size_t cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
        ::CreateDirectoryA(path.substr(0, cut).c_str(), nullptr);
    ::CreateDirectoryA(path.c_str(), nullptr);
}

int make(Win32Folders& host)
{
    for (const TBrowserFamily& family : BrowserFamilies()) {
        const std::string root = host.shellFolder(family.Root) + "\\" + family.Folder;
        if (family.Kind == TBrowserKind::bkChromiumOneProfile) {
            makeFolders(root + "\\Network");
            continue;
        }
        std::string ini;
        for (int i = 0; i < 3; ++i) {
            const bool mozilla = family.Kind == TBrowserKind::bkMozilla;
            makeFolders(root + (mozilla ? "\\Profiles\\" : "\\") + profiles[i]);
            if (!mozilla) {
                makeFolders(root + "\\" + profiles[i] + "\\Network");
                // A Chromium profile is a folder with its settings in it.
                if (HANDLE file = ::CreateFileA((root + "\\" + profiles[i] + "\\Preferences").c_str(), GENERIC_WRITE,
                                                0, nullptr, CREATE_ALWAYS, 0, nullptr);
                    file != INVALID_HANDLE_VALUE)
                    ::CloseHandle(file);
            }
            ini += "[Profile" + std::to_string(i) + "]\r\nIsRelative=1\r\nPath=Profiles/" + profiles[i] + "\r\n";
        }
        if (family.Kind == TBrowserKind::bkMozilla)
            if (HANDLE file = ::CreateFileA((root + "\\profiles.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_ALWAYS, 0, nullptr);
                file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                ::WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
                ::CloseHandle(file);
            }
    }
    return 0;
}

double millisecondsSince(LARGE_INTEGER start)
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void printSpread(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: min %.2f ms, median %.2f ms, max %.2f ms\n", what, times.front(), times[times.size() / 2],
                times.back());
}

int time(Win32Folders& host, int runs)
{
    Win32CodePage codePage;
    Win32FileSystem files;
    SystemFolderGuard guard(host, files);
    std::vector<double> finding;
    std::vector<double> looking;
    std::vector<double> exact;
    std::vector<double> attributes;
    std::vector<double> folderTimes;
    std::size_t families = 0;
    std::size_t folders = 0;
    std::size_t stores = 0;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start;
        ::QueryPerformanceCounter(&start);
        const std::vector<TFoundBrowser> found =
            FindBrowsers(files, host, codePage, [&](const std::string& folder) { return guard.Refuses(folder); });
        finding.push_back(millisecondsSince(start));

        ::QueryPerformanceCounter(&start);
        stores = 0;
        for (const TFoundBrowser& browser : found)
            for (const TCookieStore& store : browser.Stores) {
                LookAtStore(files, store);
                ++stores;
            }
        looking.push_back(millisecondsSince(start));

        ::QueryPerformanceCounter(&start);
        for (const TFoundBrowser& browser : found)
            for (const TCookieStore& store : browser.Stores)
                files.findFiles(store.Folder + "\\" + store.Name, [](const platform::FindEntry&) { return false; });
        exact.push_back(millisecondsSince(start));

        ::QueryPerformanceCounter(&start);
        for (const TFoundBrowser& browser : found)
            for (const TCookieStore& store : browser.Stores)
                files.attributes(store.Folder + "\\" + store.Name);
        attributes.push_back(millisecondsSince(start));

        // What a quiet tick asks: each store folder's time, once for stores side by side.
        ::QueryPerformanceCounter(&start);
        folders = 0;
        for (const TFoundBrowser& browser : found)
            for (std::size_t s = 0; s < browser.Stores.size(); ++s)
                if (s == 0 || browser.Stores[s].Folder != browser.Stores[s - 1].Folder) {
                    files.lastWriteTime(browser.Stores[s].Folder);
                    ++folders;
                }
        folderTimes.push_back(millisecondsSince(start));
        families = found.size();
    }
    std::printf("%zu families, %zu stores in %zu folders\n", families, stores, folders);
    printSpread("finding them", finding);
    printSpread("one look at every store", looking);
    printSpread("an exact search for every store", exact);
    printSpread("the attributes of every store", attributes);
    printSpread("the time of every store folder", folderTimes);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Win32Folders host;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 2)
        return make(host);
    if (command == "time" && argc == 3)
        return time(host, std::max(1, std::atoi(argv[2])));
    std::fprintf(stderr, "usage: nomblet_wine_browsers make | time RUNS\n");
    return 2;
}
