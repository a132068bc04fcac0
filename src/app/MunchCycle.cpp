// The munch cycle: at each tick of the threaded timer, the four cookie stores
// are visited in a fixed order and whatever is found there is deleted and counted.
#include "app/FileExists.h"
#include "app/HostHelpers.h"
#include "app/MainForm.h"
#include "app/MunchSounds.h"
#include "browserdata/StoreFiles.h"
#include "platform/PathText.h"
#include "toolkit/Application.h"

#include <algorithm>
#include <string_view>

namespace {

// Whether a name is "index.dat" once A to Z are taken in lower case: the cache's index is spared.
bool isIndexDat(std::string_view name)
{
    return platform::sameIgnoringCase(name, "index.dat");
}

// Whether an entry of the cookie folder is a cookie to munch, judged from the
// listing alone and on the name exactly as listed: a file (not ".", "..", a
// subfolder), not the index, not read-only. A name holding a separator would
// reach into another folder once joined to the cookie folder's path, so it is
// passed over.
bool isCookie(const platform::FindEntry& entry)
{
    return (entry.attributes & (platform::faDirectory | platform::faReadOnly)) == 0 && !isIndexDat(entry.name) &&
           platform::isListedName(entry.name);
}

// The stores as a cycle takes them at its start.
struct Stores {
    std::string cookieTxtFile;
    std::string operaCookieFile;
    std::string icqCookieFile;
    bool munchIcq;
    std::string ieCookieDir;
    bool operator==(const Stores&) const = default;
};

Stores storesOf(const TForm1& form)
{
    const TAppState& state = form.State;
    return {state.CookieTxtFile, state.OperaCookieFile, state.ICQCookieFile, form.DeleteICQCookies1->Checked,
            state.IECookieDir};
}

// Entries of the cookie folder looked at between two rounds of pending
// messages: few enough for the tray menu to open at once however large the
// folder, enough for the rounds to cost next to nothing.
constexpr int entriesPerRound = 32;

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

    IP1->Caption = "Internet IP: " + GetLocalIP(platform_.network);
    // Commands and window timers may run here; what they change is what the rest uses.
    Application().ProcessMessages();

    defaultCookieFolder();
    const Stores taken = storesOf(*this);

    bool munched = false;
    platform::IFileSystem& files = platform_.fileSystem;
    // A path the settings may have cut names what the user never chose.
    auto isCookieFile = [&](const std::string& path) { return !mayBeCut(path) && FileExists(files, path); };
    if (isCookieFile(taken.cookieTxtFile))
        munched |= MunchFile(taken.cookieTxtFile);
    if (isCookieFile(taken.operaCookieFile))
        munched |= MunchFile(taken.operaCookieFile);
    if (isCookieFile(taken.icqCookieFile) && taken.munchIcq)
        munched |= MunchFile(taken.icqCookieFile);

    // Messages run between rounds of the folder, so that the tray menu answers
    // during a large munch. What its commands change is for the next cycle:
    // this one ends at once when munching is switched off or paused by the
    // menu, the program is ending, or a store has changed.
    auto mayGoOn = [&] {
        Application().ProcessMessages();
        return State.MunchActive && !State.MenuOpen && !Application().Terminated() && storesOf(*this) == taken;
    };
    // Every kind of entry is listed (no attribute is left out) and judged as
    // it comes, so the folder is never held in memory. The folder is taken
    // where it really is, once, and listed and munched there; whatever the
    // settings name, a system folder is never emptied.
    int looked = 0;
    const std::string cookieDir = mayBeCut(taken.ieCookieDir) ? std::string() : files.finalPath(taken.ieCookieDir);
    if (!cookieDir.empty() && !systemFolders_.Refuses(cookieDir))
        files.findFiles(cookieDir + "\\*.*", [&](const platform::FindEntry& entry) {
            if (++looked % entriesPerRound == 0 && !mayGoOn())
                return false;
            if (isCookie(entry))
                munched |= counted(files.deleteFile(cookieDir, entry.name));
            return true;
        });
    // The icon animates once the cycle is over, as it always has: during a
    // long munch it would only keep the shell busy.
    if (munched)
        TrayIcon1->SetCycleIcons(true);
}

bool TForm1::MunchFile(const std::string& path)
{
    return counted(DeleteStoreFile(platform_.fileSystem, path));
}

bool TForm1::counted(bool deleted)
{
    // Only a cookie really deleted counts: a locked file is tried again next cycle.
    if (!deleted)
        return false;
    ++State.MunchedCount;
    showMunchedCount();
    munchSounds_->Munched(State.MunchedCount);
    return true;
}
