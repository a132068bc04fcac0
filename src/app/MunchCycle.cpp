// The munch cycle: at each tick of the threaded timer, the four cookie stores
// are visited in a fixed order and whatever is found there is deleted and counted.
#include "app/FileExists.h"
#include "app/HostHelpers.h"
#include "app/MainForm.h"
#include "toolkit/Application.h"

#include <algorithm>
#include <string_view>

namespace {

// The search path with blanks and control characters taken off both ends.
std::string trimmed(const std::string& s)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    auto first = std::find_if_not(s.begin(), s.end(), isBlank);
    auto last = std::find_if_not(s.rbegin(), s.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

// Whether the name of a path (the text after its last backslash or colon) is
// "index.dat" once A to Z are taken in lower case: the cache's index is spared.
bool isIndexDat(const std::string& path)
{
    static constexpr std::string_view indexDat = "index.dat";
    std::size_t start = path.find_last_of("\\:") + 1;
    if (path.size() - start != indexDat.size())
        return false;
    for (std::size_t i = 0; i < indexDat.size(); ++i) {
        char c = path[start + i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != indexDat[i])
            return false;
    }
    return true;
}

constexpr std::int32_t gateTicks = 9; // the tenth tick with the menu open reopens the gate

} // namespace

void TForm1::ThreadedTimer1Timer(TObject*)
{
    TrayIcon1->SetIconIndex(0);
    if (State.MenuOpen)
        ++State.MenuOpenTicks;
    if (State.MenuOpenTicks > gateTicks)
        State.MenuOpen = false;
    if (!State.MunchActive || State.MunchBusy || State.MenuOpen)
        return;

    State.MenuOpenTicks = 0;
    TrayIcon1->SetCycleIcons(false);
    State.MunchBusy = true;
    // Cleared however the cycle ends, so that an error never stops munching for good.
    struct BusyFlag {
        bool& busy;
        ~BusyFlag() { busy = false; }
    } busy{State.MunchBusy};

    IP1->Caption = "Internet IP: " + GetLocalIP(platform_.host);
    // Commands and window timers may run here; what they change is what the rest uses.
    Application().ProcessMessages();

    platform::IFileSystem& files = platform_.fileSystem;
    if (FileExists(files, State.CookieTxtFile))
        MunchFile(State.CookieTxtFile);
    if (FileExists(files, State.OperaCookieFile))
        MunchFile(State.OperaCookieFile);
    if (FileExists(files, State.ICQCookieFile) && DeleteICQCookies1->Checked)
        MunchFile(State.ICQCookieFile);

    std::string search = State.IECookieDir + "\\*.*";
    if (trimmed(search) == "\\*.*") {
        State.IECookieDir = GetWindowsDir(platform_.host) + "\\cookies";
        search = State.IECookieDir + "\\*.*";
    }
    // Whatever the settings name, a system folder is never emptied.
    if (systemFolders_.Refuses(State.IECookieDir))
        return;
    // Every kind of entry is listed (no attribute is left out); each is judged
    // as it comes, so the folder is never held in memory.
    files.findFiles(search, [&](const platform::FindEntry& entry) {
        std::string path = State.IECookieDir + "\\" + entry.name;
        // Subfolders, "." and ".." fail the first test; a failed attribute query
        // gives every bit, read-only included.
        if (FileExists(files, path) && !isIndexDat(path) &&
            (files.attributes(path) & platform::faReadOnly) == 0)
            MunchFile(path);
        return true;
    });
}

void TForm1::MunchFile(const std::string& path)
{
    // Only a cookie really deleted counts: a locked file is tried again next cycle.
    if (!platform_.fileSystem.deleteFile(path))
        return;
    ++State.MunchedCount;
    Cookies1->Caption = "Munched = " + std::to_string(State.MunchedCount);
    TrayIcon1->SetCycleIcons(true);
    if (SoundsOn1->Checked) {
        Wave2->Play();
        if (State.MunchedCount % 5 == 0)
            Wave1->Play();
    }
}
