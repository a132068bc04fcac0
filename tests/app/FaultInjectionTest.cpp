// Every platform call of a path fails in turn, the n-th call once and the n-th
// and every later one: the program neither crashes nor hangs, shows only the
// boxes it means to, loses no stored setting, deletes nothing outside the
// stores and the cache folder, and munches again at the next tick.
#include "app/MainForm.h"
#include "platform/PathText.h"
#include "resources/BuiltinSounds.h"
#include "support/FakePlatform.h"
#include "toolkit/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace {

using Mode = FaultSequence::Mode;
using platform::BoxIcon;

constexpr const char* ini = "nomblet.ini";
const std::string cacheDir = "C:\\WINDOWS\\Temporary Internet Files";
const std::string ieDir = "C:\\ie\\cookies";

// The settings file every run starts from, a key of no other program's included.
const std::vector<std::array<std::string, 3>> storedSettings{
    {"Cookie File", "Name", "C:\\ns\\cookies.txt"},
    {"Cookie File", "OName", "C:\\opera\\cookies4.dat"},
    {"Cookie Dir", "Dir", ieDir},
    {"Cookie Dat", "ICQ", "C:\\icq\\cookies.dat"},
    {"Settings", "MunchICQ", "1"},
    {"Settings", "SoundsOn", "1"},
    {"Settings", "Autoload", "0"},
    {"Settings", "CrunchWave", "C:\\sounds\\crunch.wav"},
    {"Settings", "BurpWave", "C:\\sounds\\burp.wav"},
    {"Other Browsers", "Microsoft Edge", "1"},
    {"Other Browsers", "Waterfox", "0"}, // a family not found here
    {"Other", "Keep", "this"},
    {"Keep Sites", "example.com", "1"},
    {"Keep Sites", "shop.net", "yes"}, // not kept: stays as it stands
};

// A cookie file of the cookie folder with one record of the host/path.
std::string cookieOf(const std::string& hostPath)
{
    return "n\nv\n" + hostPath + "\n9216\n1\n2\n3\n4\n*\n";
}
// A cookie of the kept site: it stays while the site is kept.
const std::string keptCookie = ieDir + "\\kept.txt";

const std::string roamingData = "C:\\users\\u\\AppData\\Roaming";
const std::string localData = "C:\\users\\u\\AppData\\Local";
const std::string firefoxProfile = roamingData + "\\Mozilla\\Firefox\\Profiles\\a.default";
const std::string edgeProfile = localData + "\\Microsoft\\Edge\\User Data\\Default";
// The browsers' stores, each with a companion.
const std::vector<std::string> browserStores{firefoxProfile + "\\cookies.sqlite", edgeProfile + "\\Network\\Cookies"};
const std::vector<std::string> companions{firefoxProfile + "\\cookies.sqlite-wal",
                                          edgeProfile + "\\Network\\Cookies-journal"};

// A site kept in the runs over cookie databases, and how many rows of it a store holds.
constexpr const char* keptHost = ".kept.example";
int keptRows(const class Rig& rig);

const std::vector<std::string> storeFiles{"C:\\ns\\cookies.txt", "C:\\opera\\cookies4.dat", "C:\\icq\\cookies.dat",
                                          ieDir + "\\a.txt", ieDir + "\\b.txt"};
const std::vector<std::string> cacheFiles{cacheDir + "\\a.htm", cacheDir + "\\Content\\b.gif",
                                          cacheDir + "\\Content\\Deep\\c.js"};
// Files no path may delete: beside the stores, below a store folder, beside the cache folder.
const std::vector<std::string> bystanders{
    "C:\\ns\\bookmarks.htm",
    ieDir + "\\sub\\nested.txt",
    "C:\\WINDOWS\\win.ini",
    "C:\\WINDOWS\\Temporary Internet Files.old\\keep.htm",
    "C:\\Temporary Internet Files\\bystander.htm",
    "C:\\sounds\\crunch.wav",
    "C:\\sounds\\burp.wav",
    "C:\\sounds\\new.wav",
    "D:\\data\\precious.doc",
    roamingData + "\\Mozilla\\Firefox\\profiles.ini",
    firefoxProfile + "\\places.sqlite",
    firefoxProfile + "\\key4.db",
    edgeProfile + "\\Login Data",
    edgeProfile + "\\Preferences",
    edgeProfile + "\\Network\\Cookies.bak",
};

const std::vector<std::string> urls{"Cookie:user@example.com/", "Visited: user@http://example.com/",
                                    "http://example.com/a.gif"};

bool inFolder(const std::string& path, const std::string& folder)
{
    const std::string p = platform::asciiLowered(path), f = platform::asciiLowered(folder) + "\\";
    return p.compare(0, f.size(), f) == 0 && p.find('\\', f.size()) == std::string::npos;
}

bool below(const std::string& path, const std::string& folder)
{
    const std::string p = platform::asciiLowered(path), f = platform::asciiLowered(folder) + "\\";
    return p.compare(0, f.size(), f) == 0;
}

// Whatever the settings say, a root or a folder of the system or of the user
// (or one above it) is no store.
bool isSystemFolder(const FakeFolders& folders, const std::string& folder)
{
    return folder.size() <= 3 || std::any_of(folders.folders.begin(), folders.folders.end(), [&](const std::string& system) {
               return platform::asciiLowered(system) == platform::asciiLowered(folder) || below(system, folder);
           });
}

struct Box {
    std::string text;
    std::string caption;
    BoxIcon icon;
    bool operator==(const Box&) const = default;
};

Box errorBox(const std::string& text)
{
    return {text, "Nomblet", BoxIcon::Stop};
}

const Box saveFailed = errorBox("Unable to write to nomblet.ini.");
const Box soundUnreadable = errorBox("File access denied.");
const Box noTimer = errorBox("Not enough timers available.");
const Box noThread = errorBox("Thread creation error.");
const Box noWindow = errorBox("Error creating window.");
// The folder picker's answer to a folder it cannot tell from the system's.
Box refused(const std::string& folder)
{
    return {"\"" + folder +
                "\" holds files of Windows or of your own, not just cookies. Nomblet will not munch it: please "
                "choose the folder of Internet Explorer's cookies.",
            "Nomblet", BoxIcon::Information};
}
const Box defaultsRestored{"Default sounds will be restored next time Nomblet is re-strarted.", "Information",
                           BoxIcon::Information};

// One program on fake services, in the world every run starts from.
class Rig {
public:
    Rig()
    {
        for (const auto& [section, key, value] : storedSettings)
            fakes.profile.set(ini, section, key, value);
        for (const std::string& file : storeFiles)
            fakes.fileSystem.addFile(file, cookieOf("other.org/"));
        fakes.fileSystem.addFile(keptCookie, cookieOf("www.example.com/"));
        fakes.folders.shellFolders[platform::ShellFolder::RoamingAppData] = roamingData;
        fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = localData;
        for (const auto* files : {&browserStores, &companions})
            for (const std::string& file : *files)
                fakes.fileSystem.addFile(file, "sqlite");
        fakes.fileSystem.addFile(ieDir + "\\index.dat", "index");
        for (int i = 0; i < 30; ++i) // more entries than one round of the folder between messages
            fakes.fileSystem.addFile(ieDir + "\\c" + std::to_string(i) + ".txt", cookieOf("c" + std::to_string(i) + ".org/"));
        for (const std::string& file : cacheFiles)
            fakes.fileSystem.addFile(file, "cached");
        const std::string wave = waveBytes();
        for (const std::string& file : bystanders)
            fakes.fileSystem.addFile(file, file.ends_with(".wav") ? wave : file.ends_with(".ini") ? profilesIni : "keep");
        for (const std::string& url : urls)
            fakes.urlCache.add({.url = url});
        fakes.registry.addKey(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");

        // The user's answers: the same stores again, the other sound, the same folder.
        fakes.fileDialogs.onOpenFile = [this](const platform::OpenFileRequest& request) -> std::optional<std::string> {
            if (request.fileName == "cookies.txt")
                return "C:\\ns\\cookies.txt";
            if (request.fileName == "cookies4.dat")
                return "C:\\opera\\cookies4.dat";
            if (request.fileName == "cookies.dat")
                return "C:\\icq\\cookies.dat";
            return "C:\\sounds\\new.wav";
        };
        fakes.folderBrowser.user = [](FakeFolderBrowser& shell) {
            shell.select(ieDir);
            shell.confirm();
        };
        fakes.countInSequence();
    }

    ~Rig()
    {
        fakes.sequence.clear();
        fakes.sequence.limit = LONG_MAX; // the teardown is no part of a run
    }

    // As the program's entry does it.
    void start()
    {
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
        form = StartNomblet(app, fakes.services);
        // A store's job runs to its end as it starts: the run stays one sequence of calls.
        fakes.threads.runAtOnce = true;
    }

    // The worker ticks only when a test says so: no tick of real time reaches a run.
    void holdRealTicks()
    {
        if (form)
            form->ThreadedTimer1->SetInterval(0);
    }

    // A tick of the threaded timer, as its worker hands it over.
    void tick()
    {
        fakes.ui.deliver([this] { form->ThreadedTimer1->HandleTick(); });
    }

    // The user chooses an entry of the tray icon's menu.
    void choose(const std::string& captionPath)
    {
        fakes.iconsAndMenus.menuChoice = captionPath;
        fakes.notifyArea.mouse(516); // right button down on the icon
    }

    static constexpr const char* profilesIni = "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n";

    static std::string waveBytes()
    {
        auto image = BuiltinBurpImage();
        std::string bytes(image.begin(), image.end());
        bytes.back() ^= 0x55;
        return bytes;
    }

    FakePlatform fakes;
    TApplication app{fakes.ui};
    TForm1* form = nullptr;
};

int keptRows(const Rig& rig)
{
    return rig.form && rig.form->KeptSites.Keeps(keptHost) ? 3 : 0;
}

// What each value of the settings file is when the program writes what it holds now.
std::map<std::string, std::string> meant(const TForm1& f)
{
    auto flag = [](const TMenuItem* item) { return std::string(item->Checked ? "1" : "0"); };
    std::map<std::string, std::string> values{
        {"Name", f.State.CookieTxtFile},         {"OName", f.State.OperaCookieFile},
        {"Dir", f.State.IECookieDir},            {"ICQ", f.State.ICQCookieFile},
        {"MunchICQ", flag(f.DeleteICQCookies1)}, {"SoundsOn", flag(f.SoundsOn1)},
        {"Autoload", flag(f.LoadatStartup1)},    {"CrunchWave", f.State.CrunchWaveFile},
        {"BurpWave", f.State.BurpWaveFile},      {"SiteData", flag(f.MunchSiteData1)}};
    // Only the families found are written: the others' keys stay.
    for (const TFoundBrowser& browser : *f.OtherBrowsers())
        values[f.BrowserRows.at(browser.Family)->Caption] = flag(f.BrowserRows.at(browser.Family));
    // A kept site's key is "1"; a site unkept has none.
    for (const std::string& site : f.KeptSites.Kept())
        values[site] = "1";
    for (const std::string& site : f.KeptSites.Recent())
        values[site] = "<missing>";
    return values;
}

// A path through the program: what runs before the faults, the part that runs
// under them, and what that part may show and remove.
struct Path {
    std::string name;
    std::function<void(Rig&)> before;
    std::function<void(Rig&)> run;
    std::vector<Box> boxes{};
    // The URL-cache entries the path may delete: those starting with this; null: none.
    const char* sweeps = nullptr;
    bool mayClearCacheFolder = false;
    bool endsTheProgram = false;
    // What the path does when nothing fails, so that its runs test something; null: not judged.
    std::function<bool(Rig&)> didItsWork{};
};

void startFaultFree(Rig& rig)
{
    rig.start();
    rig.holdRealTicks();
}

// What one run found wrong; empty when nothing.
std::vector<std::string> check(Rig& rig, const Path& path)
{
    std::vector<std::string> faults;
    auto fault = [&faults](const std::string& what) { faults.push_back(what); };
    FakePlatform& fakes = rig.fakes;
    TForm1* form = rig.form;

    if (fakes.sequence.runaway)
        fault("more calls than any run needs: a loop that does not end");
    for (const MessageBoxRecord& box : fakes.ui.boxes)
        if (std::find(path.boxes.begin(), path.boxes.end(), Box{box.text, box.caption, box.icon}) == path.boxes.end())
            fault("a box the path never shows: \"" + box.text + "\" (" + box.caption + ")");

    // Each stored value is what it was or what the program holds now.
    const auto now = form ? meant(*form) : std::map<std::string, std::string>{};
    for (const auto& [section, key, before] : storedSettings) {
        const std::string value = fakes.profile.get(ini, section, key).value_or("<missing>");
        auto held = now.find(key);
        if (value != before && (held == now.end() || value != held->second))
            fault("setting " + section + "/" + key + " lost: \"" + value + "\", was \"" + before + "\"");
    }

    // Only the stores (as stored, and as chosen now) and the cache folder lose files.
    std::vector<std::string> storeNames{"C:\\ns\\cookies.txt", "C:\\opera\\cookies4.dat", "C:\\icq\\cookies.dat"};
    std::vector<std::string> storeFolders{ieDir};
    if (form) {
        storeNames.insert(storeNames.end(),
                          {form->State.CookieTxtFile, form->State.OperaCookieFile, form->State.ICQCookieFile});
        storeFolders.push_back(form->State.IECookieDir);
    }
    auto allowed = [&](const std::string& file) {
        if (path.mayClearCacheFolder && below(file, cacheDir))
            return true;
        for (const auto* browserFiles : {&browserStores, &companions})
            if (std::find(browserFiles->begin(), browserFiles->end(), file) != browserFiles->end())
                return true;
        for (const std::string& name : storeNames)
            if (platform::asciiLowered(name) == platform::asciiLowered(file))
                return true;
        for (const std::string& folder : storeFolders)
            if (!isSystemFolder(fakes.folders, folder) && inFolder(file, folder))
                return true;
        return false;
    };
    for (const auto* files : {&storeFiles, &cacheFiles, &bystanders, &browserStores, &companions})
        for (const std::string& file : *files)
            if (!fakes.fileSystem.exists(file) && !allowed(file))
                fault("deleted outside the stores: " + file);
    if (form && form->KeptSites.Keeps("example.com") && !fakes.fileSystem.exists(keptCookie))
        fault("a kept site's cookie deleted: " + keptCookie);
    for (std::size_t i = 0; i < browserStores.size(); ++i)
        if (fakes.fileSystem.exists(browserStores[i]) && !fakes.fileSystem.exists(companions[i]))
            fault("a companion deleted while its store is there: " + companions[i]);
    for (const std::string& url : urls)
        if (!fakes.urlCache.contains(url) && !(path.sweeps && url.starts_with(path.sweeps)))
            fault("cache entry deleted outside the sweep: " + url);

    // A kept site's cookies stay in a store that stays.
    for (const std::string& store : browserStores) {
        const auto rows = fakes.cookieDatabases.rows(store);
        if (fakes.fileSystem.exists(store) &&
            std::count_if(rows.begin(), rows.end(), [](const auto& row) { return row.host == keptHost; }) !=
                (store == browserStores.front() ? keptRows(rig) : 0))
            fault("a kept site's cookie deleted from " + store);
    }

    // Nothing held on to.
    if (fakes.cookieDatabases.openStores() != 0)
        fault("a cookie database left open");
    if (fakes.urlCache.openEnumerations() != 0)
        fault("a cache enumeration left open");
    if (fakes.registry.openKeys != 0)
        fault("a registry key left open");
    if (fakes.folderBrowser.liveLists() != 0 || fakes.folderBrowser.badFrees != 0 ||
        fakes.folderBrowser.liveAllocators != 0)
        fault("an item list or allocator of the folder browser mishandled");
    if (fakes.sound.imagesChangedWhilePlaying != 0)
        fault("a sound image changed while it played");
    if (fakes.ui.screenCursor != platform::ScreenCursor::Default)
        fault("the hourglass stays");
    return faults;
}

// With the faults gone, the next ticks munch a fresh cookie (the menu gate
// times out by the tenth); a path that ends the program has ended it.
std::vector<std::string> checkMunchingGoesOn(Rig& rig, const Path& path)
{
    rig.fakes.sequence.clear();
    TForm1* form = rig.form;
    if (!form && path.endsTheProgram && rig.app.Terminated())
        return {};
    if (!form) {
        // Start-up itself failed: the program says why (the box may fail too) and ends.
        if (rig.fakes.ui.callsOf("messageBox").empty())
            return {"start-up failed without a word"};
        return {};
    }
    // A command that ends the program may not have been reached: then it goes on.
    if (rig.app.Terminated())
        return path.endsTheProgram ? std::vector<std::string>{} : std::vector<std::string>{"the program ends"};
    if (!form->Active1->Checked) // the user had switched munching off: on again
        rig.fakes.ui.deliver([form] { form->Active1->Click(); });
    const std::string fresh = isSystemFolder(rig.fakes.folders, form->State.IECookieDir)
                                  ? form->State.CookieTxtFile
                                  : form->State.IECookieDir + "\\fresh.txt";
    rig.fakes.fileSystem.addFile(fresh, cookieOf("fresh.org/"));
    const auto counted = form->State.MunchedCount;
    for (int tick = 0; tick < 12 && rig.fakes.fileSystem.exists(fresh); ++tick)
        rig.tick();
    if (rig.fakes.fileSystem.exists(fresh) || form->State.MunchedCount == counted)
        return {"the next ticks munch nothing"};
    return {};
}

std::string describe(const Path& path, long n, Mode mode, const std::vector<std::string>& operations)
{
    std::ostringstream out;
    out << path.name << ": call " << n;
    if (n >= 1 && static_cast<std::size_t>(n) <= operations.size())
        out << " (" << operations[static_cast<std::size_t>(n) - 1] << ")";
    out << (mode == Mode::Once ? " fails once" : " and every later one fail");
    return out.str();
}

// Runs a path once without faults to count its calls, then once per call and
// mode with that call failing; each run that broke a rule is reported.
void runEveryFault(const Path& path)
{
    std::vector<std::string> operations;
    long calls = 0;
    {
        Rig rig;
        path.before(rig);
        rig.fakes.sequence.restart();
        path.run(rig);
        calls = rig.fakes.sequence.count();
        operations = rig.fakes.sequence.operations();
        SCOPED_TRACE(path.name + " without faults");
        if (path.didItsWork) {
            EXPECT_TRUE(path.didItsWork(rig)) << "the path does not do its work";
        }
        for (const std::string& fault : checkMunchingGoesOn(rig, path))
            ADD_FAILURE() << fault;
        for (const std::string& fault : check(rig, path))
            ADD_FAILURE() << fault;
    }
    ASSERT_GT(calls, 0) << path.name << " makes no platform call";

    int failedRuns = 0;
    for (long n = 1; n <= calls; ++n) {
        for (Mode mode : {Mode::Once, Mode::FromThenOn}) {
            Rig rig;
            path.before(rig);
            rig.fakes.sequence.limit = std::max(10 * calls, 5000L);
            rig.fakes.sequence.failAt(n, mode);
            rig.fakes.sequence.label = describe(path, n, mode, operations);
            std::vector<std::string> faults;
            try {
                path.run(rig);
            } catch (const std::exception& e) {
                faults.push_back(std::string("an error escaped: ") + e.what());
            }
            rig.holdRealTicks();
            // Judged after the next ticks: what the run left may harm them.
            for (const std::string& fault : checkMunchingGoesOn(rig, path))
                faults.push_back(fault);
            for (const std::string& fault : check(rig, path))
                faults.push_back(fault);
            if (!faults.empty() && ++failedRuns <= 8) {
                std::string all;
                for (const std::string& fault : faults)
                    all += "\n  " + fault;
                ADD_FAILURE() << describe(path, n, mode, operations) << ":" << all;
            }
        }
    }
    EXPECT_EQ(failedRuns, 0) << path.name;
    std::cout << "[ faults   ] " << path.name << ": " << calls << " calls, " << 2 * calls << " runs\n";
}

Path startUp()
{
    // Made, then shown as the loop starts, and hidden after its second.
    Path path{"start-up", [](Rig&) {}, [](Rig& rig) {
                  rig.start();
                  if (rig.form) {
                      rig.fakes.ui.deliver([&rig] { rig.form->Show(); });
                      rig.fakes.ui.advanceTime(1000);
                  }
              }};
    path.boxes = {soundUnreadable, noTimer, noThread, noWindow};
    path.didItsWork = [](Rig& rig) {
        const TWaveData* crunch = rig.form ? rig.form->Wave2->WaveData() : nullptr;
        return crunch && crunch->Size() == static_cast<int>(Rig::waveBytes().size()) &&
               rig.form->ThreadedTimer1->Enabled() && !rig.form->Visible() && rig.form->State.IECookieDir == ieDir;
    };
    return path;
}

Path munchCycle()
{
    Path path{"munch cycle", startFaultFree, [](Rig& rig) { rig.tick(); }};
    path.boxes = {noTimer};
    path.didItsWork = [](Rig& rig) {
        const auto gone = [&](const std::string& file) { return !rig.fakes.fileSystem.exists(file); };
        return std::all_of(storeFiles.begin(), storeFiles.end(), gone) &&
               std::all_of(browserStores.begin(), browserStores.end(), gone) &&
               std::all_of(companions.begin(), companions.end(), gone) &&
               rig.form->State.MunchedCount == static_cast<std::uint16_t>(storeFiles.size() + 30 + browserStores.size());
    };
    return path;
}

// Firefox's store holds a kept site's rows among others (more than one slice);
// Edge's holds rows of one site only, which goes whole.
Path munchCycleOverCookieDatabases()
{
    Path path{"munch cycle over cookie databases, a site kept",
              [](Rig& rig) {
                  std::vector<FakeCookieDatabases::Row> rows(2500, {"a.example", "v"});
                  rows.insert(rows.begin() + 1000, 3, {keptHost, "kept"});
                  rig.fakes.cookieDatabases.addStore(browserStores[0], platform::CookieTable::mozilla, rows);
                  rig.fakes.cookieDatabases.addStore(browserStores[1], platform::CookieTable::chromium,
                                                     std::vector<FakeCookieDatabases::Row>(4, {".b.example", "v"}));
                  startFaultFree(rig);
                  rig.form->KeptSites.Keep("kept.example");
              },
              [](Rig& rig) { rig.tick(); }};
    path.boxes = {noTimer};
    path.didItsWork = [](Rig& rig) {
        const FakeFileSystem& files = rig.fakes.fileSystem;
        return files.exists(browserStores[0]) && files.exists(companions[0]) && !files.exists(browserStores[1]) &&
               !files.exists(companions[1]) && rig.fakes.cookieDatabases.rows(browserStores[0]).size() == 3 &&
               rig.form->State.MunchedCount == static_cast<std::uint16_t>(storeFiles.size() + 30 + 2500 + 4);
    };
    return path;
}

Path munchCycleOverASystemFolder()
{
    Path path{"munch cycle, the settings naming a system folder",
              [](Rig& rig) {
                  rig.fakes.profile.set(ini, "Cookie Dir", "Dir", "C:\\WINDOWS");
                  startFaultFree(rig);
              },
              [](Rig& rig) { rig.tick(); }};
    path.boxes = {noTimer};
    return path;
}

Path saveSettings()
{
    Path path{"SaveSettings",
              [](Rig& rig) {
                  startFaultFree(rig);
                  // Settings that differ from the stored ones.
                  rig.form->SoundsOn1->Checked = false;
                  rig.form->DeleteICQCookies1->Checked = false;
                  rig.form->State.BurpWaveFile = "Default";
              },
              [](Rig& rig) { rig.fakes.ui.deliver([&rig] { rig.form->SaveSettings(); }); }};
    path.boxes = {saveFailed};
    path.didItsWork = [](Rig& rig) {
        return rig.fakes.profile.get(ini, "Settings", "SoundsOn") == "0" &&
               rig.fakes.profile.get(ini, "Settings", "BurpWave") == "Default";
    };
    return path;
}

Path urlCacheSweep()
{
    Path path{"URL cache sweep", startFaultFree, [](Rig& rig) {
                  rig.form->UrlCache1->SearchPattern = spCookies;
                  rig.fakes.ui.deliver([&rig] { rig.form->UrlCache1->DeleteAllEntries(); });
              }};
    path.sweeps = "Cookie:";
    path.didItsWork = [](Rig& rig) { return rig.fakes.urlCache.urls().size() == urls.size() - 1; };
    return path;
}

Path clearIeCache()
{
    Path path{"Clear IE Cache", startFaultFree,
              [](Rig& rig) { rig.fakes.ui.deliver([&rig] { rig.form->DeleteIECache1->Click(); }); }};
    path.sweeps = "";
    path.mayClearCacheFolder = true;
    path.didItsWork = [](Rig& rig) {
        return rig.fakes.urlCache.urls().empty() &&
               std::none_of(cacheFiles.begin(), cacheFiles.end(),
                            [&](const std::string& file) { return rig.fakes.fileSystem.exists(file); });
    };
    return path;
}

// The tray menu opened and closed with no choice: the browsers are looked for
// anew, and one installed since start gets its row.
Path trayMenuOpened()
{
    Path path{"tray menu opened and dismissed",
              [](Rig& rig) {
                  startFaultFree(rig);
                  rig.fakes.fileSystem.addFolder(localData + "\\BraveSoftware\\Brave-Browser\\User Data\\Default");
              },
              [](Rig& rig) { rig.choose(""); }};
    path.didItsWork = [](Rig& rig) {
        const auto& menu = rig.fakes.iconsAndMenus.lastMenu;
        return std::any_of(menu.begin(), menu.end(), [](const platform::MenuEntry& entry) {
            return entry.caption == "Other Browsers" &&
                   std::any_of(entry.items.begin(), entry.items.end(),
                               [](const platform::MenuEntry& row) { return row.caption == "Brave"; });
        });
    };
    return path;
}

// A command of the tray menu, chosen through the icon.
struct MenuRow {
    const char* name;
    TMenuItem* TForm1::*item;
    std::vector<Box> boxes{};
    const char* sweeps = nullptr;
    bool clearsCache = false;
    bool ends = false;
    const char* pickedFolder = nullptr; // what the user picks in the folder browser, when not the store's own
    const char* browser = nullptr;      // a row of "Other Browsers", by caption, in place of item
};

Path menuCommand(const MenuRow& row)
{
    auto before = [picked = row.pickedFolder](Rig& rig) {
        startFaultFree(rig);
        if (picked)
            rig.fakes.folderBrowser.user = [picked](FakeFolderBrowser& shell) {
                shell.select(picked);
                shell.confirm();
            };
    };
    Path path{std::string("menu: ") + row.name, before, [item = row.item, browser = row.browser](Rig& rig) {
                  std::string captionPath;
                  if (browser) {
                      captionPath = rig.form->OtherBrowsers1->Caption + "/" + browser;
                  } else {
                      TMenuItem* chosen = rig.form->*item;
                      captionPath = chosen->Caption;
                      if (chosen->Parent() == rig.form->ModifySounds1)
                          captionPath = rig.form->ModifySounds1->Caption + "/" + captionPath;
                  }
                  rig.choose(captionPath);
                  if (rig.app.Terminated()) { // the loop ends: the main window goes, saving the settings
                      rig.app.Run();
                      rig.form = nullptr;
                  }
              }};
    path.boxes = row.boxes;
    path.sweeps = row.sweeps;
    path.mayClearCacheFolder = row.clearsCache;
    path.endsTheProgram = row.ends;
    return path;
}

const std::vector<MenuRow> menuRows{
    // Without the system's folders no folder can be told safe.
    {"Path to Cookie Dir", &TForm1::PathtoCookieDirIExplorer1, {saveFailed, refused(ieDir)}},
    {"Path to Cookie Dir, a system folder picked",
     &TForm1::PathtoCookieDirIExplorer1,
     {saveFailed, refused("C:\\WINDOWS")},
     nullptr,
     false,
     false,
     "C:\\WINDOWS"},
    {"Path to Cookie.txt", &TForm1::PathtoCookietxt1, {saveFailed}},
    {"Path to Cookie#.Dat", &TForm1::PathtoCookie4DatOpera1, {saveFailed}},
    {"Path to Cookie.dat", &TForm1::PathtoCookiedatICQ1, {saveFailed}},
    {"Crunch Sound", &TForm1::CrunchSound1, {saveFailed, soundUnreadable}},
    {"Burp Sound", &TForm1::BurpSound1, {saveFailed, soundUnreadable}},
    {"Restore Defaults", &TForm1::RestoreDefault1, {saveFailed, defaultsRestored}},
    {"Fallowmere Home Page", &TForm1::FallowmereHomePage1, {}},
    {"Internet IP", &TForm1::IP1, {}},
    {"Delete ICQ Cookies", &TForm1::DeleteICQCookies1, {}},
    {"Active", &TForm1::Active1, {saveFailed}},
    {"Sounds On", &TForm1::SoundsOn1, {saveFailed}},
    {"Munch Site Data", &TForm1::MunchSiteData1, {saveFailed}},
    {"Munched =", &TForm1::Cookies1, {}},
    {"Clear IE Cookie Cache Shortcuts", &TForm1::ClearCookieCacheShortcuts1, {}, "Cookie:"},
    {"Clear IE History", &TForm1::DeleteIEHistory1, {}, "Visited:"},
    {"Clear IE Cache", &TForm1::DeleteIECache1, {}, "", true},
    {"Load at Startup", &TForm1::LoadatStartup1, {saveFailed}},
    {"Exit", &TForm1::Exit1, {saveFailed}, nullptr, false, true},
    {"Other Browsers: Microsoft Edge", nullptr, {saveFailed}, nullptr, false, false, nullptr, "Microsoft Edge"},
    {"Other Browsers: Firefox", nullptr, {saveFailed}, nullptr, false, false, nullptr, "Firefox"},
    {"Other Browsers: Waterfox, not found", nullptr, {}, nullptr, false, false, nullptr, "Waterfox"},
};

// A row of Keep Sites chosen: the kept site, or the site a first tick munched last.
Path keepSitesRow(const char* name, const char* keptSite)
{
    auto site = std::make_shared<std::string>();
    Path path{std::string("menu: Keep Sites, ") + name,
              [keptSite, site](Rig& rig) {
                  startFaultFree(rig);
                  if (!keptSite)
                      rig.tick();
                  *site = keptSite ? keptSite : rig.form->KeptSites.Recent().at(0);
              },
              [site](Rig& rig) { rig.choose(rig.form->KeepSites1->Caption + "/" + *site); }};
    path.boxes = {saveFailed};
    const bool keeps = !keptSite;
    path.didItsWork = [site, keeps](Rig& rig) {
        return rig.form->KeptSites.Keeps(*site) == keeps &&
               rig.fakes.profile.get(ini, "Keep Sites", *site) == (keeps ? std::optional<std::string>("1") : std::nullopt);
    };
    return path;
}

} // namespace

TEST(FaultInjection, StartUp)
{
    runEveryFault(startUp());
}

TEST(FaultInjection, MunchCycle)
{
    runEveryFault(munchCycle());
    runEveryFault(munchCycleOverCookieDatabases());
    runEveryFault(munchCycleOverASystemFolder());
}

TEST(FaultInjection, SaveSettings)
{
    runEveryFault(saveSettings());
}

TEST(FaultInjection, EveryMenuCommand)
{
    runEveryFault(trayMenuOpened());
    for (const MenuRow& row : menuRows)
        runEveryFault(menuCommand(row));
    runEveryFault(keepSitesRow("the kept site", "example.com"));
    runEveryFault(keepSitesRow("a site just munched", nullptr));
}

TEST(FaultInjection, UrlCacheSweep)
{
    runEveryFault(urlCacheSweep());
}

TEST(FaultInjection, ClearIeCache)
{
    runEveryFault(clearIeCache());
}
