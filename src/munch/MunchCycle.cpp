// The munch cycle: the cookie stores visited in a fixed order and whatever is
// found there deleted; the form hears what went.
#include "munch/MunchCycle.h"

#include "munch/CutPaths.h"
#include "munch/FileExists.h"
#include "browserdata/StoreFiles.h"
#include "platform/PathChars.h"
#include "platform/PathText.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string_view>
#include <vector>

namespace {

// Whether a name is the folder's index in any letter case: "index.dat", or
// "container.dat" of later versions. An index is spared.
bool isIndex(std::string_view name)
{
    return platform::sameIgnoringCase(name, "index.dat") || platform::sameIgnoringCase(name, "container.dat");
}

// Whether an entry of the cookie folder is a cookie to munch, judged from the
// listing alone and on the name exactly as listed: a file (not ".", "..", a
// subfolder), not an index, not read-only. A name holding a separator would
// reach into another folder once joined to the cookie folder's path, so it is
// passed over (by characters: a double-byte character's second byte may be 0x5C).
bool isCookie(platform::ICodePage& codePage, const platform::FindEntry& entry)
{
    return (entry.attributes & (platform::faDirectory | platform::faReadOnly)) == 0 && !isIndex(entry.name) &&
           platform::isListedName(&codePage, entry.name);
}

// Entries of the cookie folder looked at between two rounds of pending
// messages: few enough for the tray menu to open at once however large the
// folder, enough for the rounds to cost next to nothing.
constexpr int entriesPerRound = 32;

// What is read of a cookie file to find its sites, while one is kept.
constexpr std::uint32_t cookieFileReadLimit = 64 * 1024;

// Cookie files remembered as spared; past that many they are all read again.
constexpr std::size_t maxSparedCookies = 4096;
// What is read of a cookie file, with no site kept, to name the sites munched
// lately: the first record's host line lies well within it.
constexpr std::uint32_t cookieHostReadLimit = 4096;

platform::CookieTable tableOf(const TFoundBrowser& browser)
{
    return BrowserFamilies()[browser.Family].Kind == TBrowserKind::bkMozilla ? platform::CookieTable::mozilla
                                                                           : platform::CookieTable::chromium;
}

// What is read of each file of a store that cannot be read as a database,
// while a site is kept; a file as large stays, whatever it holds.
constexpr std::uint32_t unreadableStoreReadLimit = 16 * 1024 * 1024;

// Whether lower-cased bytes name a site, as 8-bit or as 16-bit text of either
// byte order (a database may keep its text so).
bool namesSite(std::string_view lowered, const std::string& site)
{
    std::string wide;
    for (char c : site)
        wide += std::string{c, '\0'};
    wide.pop_back();
    return lowered.find(site) != lowered.npos || lowered.find(wide) != lowered.npos;
}

// Whether a store's files (its database and companions, in folder) may hold a
// kept site's cookie: one names it, or cannot be read whole.
bool mayHoldKeptSite(platform::IFileSystem& files, const std::string& folder, const std::vector<std::string>& names,
                     const TKeepSites& kept)
{
    for (const std::string& name : names) {
        const platform::FileContent content = files.readFileStart(folder + "\\" + name, unreadableStoreReadLimit);
        if (!content.ok || content.bytes.size() >= unreadableStoreReadLimit)
            return true;
        const std::string lowered =
            platform::asciiLowered(std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()));
        for (const std::string& site : kept.Kept())
            if (namesSite(lowered, platform::asciiLowered(site)))
                return true;
    }
    return false;
}

// The hosts of rows that went, oldest used first: noted in turn, the latest
// used site ends in front of the recent sites.
std::vector<std::string> oldestUsedFirst(std::vector<platform::CookieHostRows> hosts)
{
    std::stable_sort(hosts.begin(), hosts.end(), [](const auto& a, const auto& b) { return a.lastUsed < b.lastUsed; });
    std::vector<std::string> names;
    for (platform::CookieHostRows& host : hosts)
        names.push_back(std::move(host.host));
    return names;
}

} // namespace

struct TMunchCycle::DatabaseMunch {
    enum {
        leave,       // busy or cancelled: nothing changed, looked at again next cycle
        failed,      // the engine failed: nothing changed, tried again after a while
        spared,      // nothing to delete: read again once it or the kept sites change
        whole,       // no kept site among its rows: to go whole, its rows counted
        unreadable,  // not to be read as a cookie database: to go whole, counting one,
                     // unless it may hold a kept site's cookie
        rowsDeleted, // the rows of sites not kept went
    } verdict = leave;
    std::uint64_t count = 0;                          // cookies gone, or to count once gone
    std::vector<platform::CookieHostRows> hosts = {}; // and their hosts
};

TMunchCycle::TMunchCycle(const platform::Platform& platform, const TKeepSites& keptSites,
                         SystemFolderGuard& systemFolders)
    : platform_(platform), keptSites_(keptSites), systemFolders_(systemFolders),
      worker_(platform.uiThread, platform.threads),
      siteData_(platform.fileSystem, platform.codePage, platform.siteStores, worker_, keptSites)
{
    siteData_.OnMunched = [this](std::uint64_t count, const std::vector<std::string>& hosts) { heard(count, hosts); };
}

void TMunchCycle::KeptSitesChanging()
{
    for (const DatabaseJob& queued : databaseJobs_)
        queued.job->Cancel();
    siteData_.KeptSitesChanging();
}

bool TMunchCycle::Run(const TMunchStores& taken, const std::function<bool()>& goOn)
{
    bool munched = false;
    platform::IFileSystem& files = platform_.fileSystem;
    // A path the settings may have cut names what the user never chose.
    auto isCookieFile = [&](const std::string& path) { return !mayBeCut(path) && FileExists(files, path); };
    if (isCookieFile(taken.CookieTxtFile))
        munched |= munchFile(taken.CookieTxtFile);
    if (isCookieFile(taken.OperaCookieFile))
        munched |= munchFile(taken.OperaCookieFile);
    if (isCookieFile(taken.ICQCookieFile) && taken.MunchIcq)
        munched |= munchFile(taken.ICQCookieFile);

    // Messages run between rounds of the stores and of the folder, so that the
    // tray menu answers during a large munch. What its commands change is for
    // the next cycle: this one ends at once when the owner says so.
    int looked = 0;
    bool stopped = false;
    auto mayGoOn = [&] {
        if (++looked % entriesPerRound == 0)
            stopped = !goOn();
        return !stopped;
    };
    // The list of browsers taken here stays whole while messages run, even
    // when the menu finds them anew.
    const std::vector<TFoundBrowser>& browsers = *taken.OtherBrowsers;
    if (listedBrowsers_ != taken.OtherBrowsers) {
        listedBrowsers_ = taken.OtherBrowsers;
        storeWatches_.clear();
        for (const TFoundBrowser& browser : browsers)
            storeWatches_.emplace_back(browser.Stores.size());
    }
    // A store spared for its kept sites is read again when they change.
    if (keptSites_.Kept() != sparedWith_) {
        sparedWith_ = keptSites_.Kept();
        for (auto& watches : storeWatches_)
            for (StoreWatch& watch : watches)
                watch.spared = false;
    }
    // A profile's stores often share a folder: its time is asked for once.
    const std::string* timedFolder = nullptr;
    std::optional<std::uint64_t> folderTime;
    for (std::size_t b = 0; b < browsers.size() && !stopped; ++b) {
        if (!taken.MunchBrowser.at(browsers[b].Family))
            continue;
        for (std::size_t s = 0; s < browsers[b].Stores.size() && mayGoOn(); ++s) {
            const TCookieStore& store = browsers[b].Stores[s];
            if (!timedFolder || *timedFolder != store.Folder) {
                timedFolder = &store.Folder;
                folderTime = files.lastWriteTime(store.Folder);
            }
            munched |= takeDatabaseJobs();
            munchStore(b, s, tableOf(browsers[b]), folderTime);
        }
    }
    if (!stopped)
        munched |= takeDatabaseJobs();
    // Then the profiles' other stored data; a browser spared keeps it too.
    siteData_.StartCycle();
    for (std::size_t b = 0; b < browsers.size() && !stopped && taken.MunchSiteData; ++b) {
        if (!taken.MunchBrowser.at(browsers[b].Family))
            continue;
        const bool mozilla = BrowserFamilies()[browsers[b].Family].Kind == TBrowserKind::bkMozilla;
        for (const std::string& profile : browsers[b].Profiles)
            if (!stopped)
                munched |= siteData_.Munch({mozilla ? TSiteFamily::sfMozilla : TSiteFamily::sfChromium, profile,
                                            mozilla ? profile : browsers[b].Root},
                                           mayGoOn);
    }
    // Every kind of entry is listed (no attribute is left out) and judged as
    // it comes, so the folder is never held in memory. The folder is taken
    // where it really is, once, and listed and munched there; whatever the
    // settings name, a system folder is never emptied.
    const std::string cookieDir =
        stopped || mayBeCut(taken.IECookieDir) ? std::string() : files.finalPath(taken.IECookieDir);
    cookieHostReads_ = TKeepSites::recentRows;
    if (!cookieDir.empty() && !systemFolders_.Refuses(cookieDir))
        files.findFiles(cookieDir + "\\*.*", [&](const platform::FindEntry& entry) {
            if (!mayGoOn())
                return false;
            if (isCookie(platform_.codePage, entry))
                munched |= munchCookie(cookieDir, entry);
            return true;
        });
    return munched;
}

void TMunchCycle::munchStore(std::size_t browser, std::size_t storeIndex, platform::CookieTable table,
                             std::optional<std::uint64_t> folderTime)
{
    const TCookieStore& store = (*listedBrowsers_)[browser].Stores[storeIndex];
    StoreWatch& watch = storeWatches_[browser][storeIndex];
    // Under Wine every absent name costs a read of its whole folder, while a
    // folder that exists gives its time without one. A time not known means look.
    const bool unchanged = folderTime && folderTime == watch.folderTime;
    if (unchanged && watch.settled && !watch.present && !watch.toList)
        return;
    watch.settled = unchanged;
    watch.folderTime = folderTime;

    platform::IFileSystem& files = platform_.fileSystem;
    const std::string folder = store.Folder + "\\";
    // Asking for one path costs a fraction of a search under Wine: only a
    // store that is there is listed whole.
    if (!watch.toList) {
        const std::uint32_t attributes = files.attributes(folder + store.Name);
        watch.present = attributes != platform::invalidAttributes;
        if (!watch.present ||
            (attributes & (platform::faDirectory | platform::faReadOnly | platform::faReparsePoint)) != 0)
            return;
    }
    // A database read last with nothing to delete stays unread while neither its
    // folder (a log or journal made or removed) nor its file changed.
    if (watch.spared && folderTime && folderTime == watch.sparedFolderTime && watch.sparedStoreTime &&
        files.lastWriteTime(folder + store.Name) == watch.sparedStoreTime)
        return;
    // A store queued already waits for its turn; one whose munch failed waits
    // longer, while the others take theirs.
    const auto queued = [&](const DatabaseJob& job) {
        const TCookieStore& its = (*job.browsers)[job.browser].Stores[job.store];
        return platform::sameIgnoringCase(its.Folder, store.Folder) && platform::sameIgnoringCase(its.Name, store.Name);
    };
    if (std::any_of(databaseJobs_.begin(), databaseJobs_.end(), queued) || (watch.failures != 0 && Now() < watch.retryAt))
        return;
    watch.spared = false;
    watch.toList = false;
    TStoreLook look = LookAtStore(files, store);
    watch.present = look.StorePresent;
    if (!look.StorePresent && look.Companions.empty())
        return;
    // The store and its companions go by the names listed, in their folder
    // taken where it really is, once; a link among them is left.
    const std::string where = files.finalPath(store.Folder);
    if (where.empty()) {
        watch.toList = !look.Companions.empty();
        return;
    }
    // A read-only store is the user's way to keep it, with its companions, and
    // is looked at every cycle so that its mark being cleared is seen.
    if (look.StorePresent && !look.StoreDeletable)
        return;
    // The store goes with its companions, or none of them goes: a journal left
    // without its database, or a database without its journal, is taken by
    // the browser for another's. While one of them is in use (the browser
    // runs) all are tried again next cycle. Companions are not cookies of their
    // own: leftover companions of an absent store count nothing.
    std::vector<std::string> together;
    if (look.StorePresent)
        together.push_back(look.StoreName);
    together.insert(together.end(), look.Companions.begin(), look.Companions.end());
    if (!look.StorePresent) {
        watch.toList = !files.deleteTogether(where, together);
        return;
    }
    // A store is read as its browser's database only once the browser has let
    // go of it and its companions; the worker reads it with its own copy of the
    // kept sites, and a later look takes what it did.
    if (!files.canDeleteTogether(where, together))
        return;
    auto read = std::make_shared<DatabaseMunch>();
    const std::optional<std::uint64_t> storeTime = files.lastWriteTime(folder + store.Name);
    auto kept = std::make_shared<const TKeepSites>(keptSites_);
    std::shared_ptr<TStoreJob> job =
        worker_.Start([&databases = platform_.cookieDatabases, path = where + "\\" + look.StoreName, table, kept,
                       read](platform::Cancellation& cancellation) {
            *read = munchDatabase(databases, path, table, *kept, cancellation);
        });
    if (job)
        databaseJobs_.push_back({job, read, listedBrowsers_, browser, storeIndex, where, kept, storeTime});
}

bool TMunchCycle::takeDatabaseJobs()
{
    // Ended jobs leave the list before any is taken: what is heard may run the owner's code.
    std::vector<DatabaseJob> ended;
    std::erase_if(databaseJobs_, [&](DatabaseJob& job) {
        if (!job.job->Ended())
            return false;
        ended.push_back(std::move(job));
        return true;
    });
    bool munched = false;
    for (const DatabaseJob& taken : ended)
        munched |= take(taken);
    return munched;
}

TMunchCycle::StoreWatch* TMunchCycle::watchOf(const DatabaseJob& taken)
{
    return listedBrowsers_ == taken.browsers ? &storeWatches_[taken.browser][taken.store] : nullptr;
}

bool TMunchCycle::take(const DatabaseJob& taken)
{
    const DatabaseMunch& read = *taken.read;
    if (StoreWatch* watch = watchOf(taken)) {
        if (read.verdict != DatabaseMunch::failed) {
            watch->failures = 0;
        } else {
            // Half a second, doubled at each failure in a row, up to a minute.
            constexpr std::chrono::milliseconds firstWait{500}, longestWait{60000};
            watch->failures = std::min(watch->failures + 1, 8u);
            watch->retryAt = Now() + std::min<std::chrono::milliseconds>(firstWait * (1 << (watch->failures - 1)),
                                                                       longestWait);
        }
    }
    const TCookieStore& store = (*taken.browsers)[taken.browser].Stores[taken.store];
    const std::string storePath = store.Folder + "\\" + store.Name;
    platform::IFileSystem& files = platform_.fileSystem;
    if (read.verdict == DatabaseMunch::leave || read.verdict == DatabaseMunch::failed)
        return false;
    if (read.verdict == DatabaseMunch::rowsDeleted) {
        heard(read.count, oldestUsedFirst(read.hosts));
        return true;
    }
    // Any other verdict holds only while neither the kept sites nor the store
    // changed since the worker read it (the store may have been replaced while
    // the result waited); else the store is looked at again.
    if (keptSites_.Kept() != taken.kept->Kept() || files.lastWriteTime(storePath) != taken.storeTime)
        return false;
    if (read.verdict == DatabaseMunch::spared) {
        spare(taken);
        return false;
    }
    // Reading may have rolled back a journal or folded a log into the store:
    // they are listed again.
    const TStoreLook look = LookAtStore(files, store);
    if (!look.StorePresent || !look.StoreDeletable)
        return false;
    std::vector<std::string> together{look.StoreName};
    together.insert(together.end(), look.Companions.begin(), look.Companions.end());
    // A store that cannot be read is no licence to delete a kept site's
    // cookies: while one is kept, it goes whole only when no file of it names one.
    if (read.verdict == DatabaseMunch::unreadable && !keptSites_.Empty() &&
        mayHoldKeptSite(files, taken.where, together, keptSites_)) {
        spare(taken);
        return false;
    }
    if (!files.deleteTogether(taken.where, together))
        return false;
    heard(read.count, oldestUsedFirst(read.hosts));
    return true;
}

void TMunchCycle::spare(const DatabaseJob& taken)
{
    // Taken after the database closed: closing may have removed its log. A
    // list of browsers found anew meanwhile looks at every store afresh.
    StoreWatch* watch = watchOf(taken);
    if (!watch)
        return;
    const TCookieStore& store = (*taken.browsers)[taken.browser].Stores[taken.store];
    watch->spared = true;
    watch->sparedFolderTime = platform_.fileSystem.lastWriteTime(store.Folder);
    watch->sparedStoreTime = platform_.fileSystem.lastWriteTime(store.Folder + "\\" + store.Name);
}

void TMunchCycle::heard(std::uint64_t count, const std::vector<std::string>& hosts)
{
    if (count != 0 && OnMunched)
        OnMunched(count, hosts);
}

bool TMunchCycle::munchCookie(const std::string& cookieDir, const platform::FindEntry& entry)
{
    platform::IFileSystem& files = platform_.fileSystem;
    const std::string path = cookieDir + "\\" + entry.name;
    if (keptSites_.Empty()) {
        // The menu offers the sites munched lately: a few files of each cycle
        // are read that far, so a large munch costs no more than before.
        std::vector<std::string> hosts;
        if (cookieHostReads_ > 0) {
            --cookieHostReads_;
            const platform::FileContent start = files.readFileStart(path, cookieHostReadLimit);
            const std::string_view text(reinterpret_cast<const char*>(start.bytes.data()), start.bytes.size());
            if (start.ok)
                for (std::string_view host : CookieFileHosts(text, false).records)
                    hosts.emplace_back(host);
        }
        if (!files.deleteFile(cookieDir, entry.name))
            return false;
        heard(1, hosts);
        return true;
    }
    // A file larger than what is read may hold a kept site's cookie past it:
    // it stays, as does one that cannot be read now.
    if (entry.sizeLow >= cookieFileReadLimit)
        return false;
    // A file that stays is read again once its size or the kept sites change.
    if (sparedForChanges_ != keptSites_.Changes() || sparedCookies_.size() > maxSparedCookies) {
        sparedCookies_.clear();
        sparedForChanges_ = keptSites_.Changes();
    }
    if (const auto spared = sparedCookies_.find(path); spared != sparedCookies_.end() && spared->second == entry.sizeLow)
        return false;
    const platform::FileContent content = files.readFileStart(path, cookieFileReadLimit);
    if (!content.ok || content.bytes.size() >= cookieFileReadLimit)
        return false;
    const std::string_view text(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size());
    const TCookieFileHosts found = CookieFileHosts(text, true);
    const std::vector<std::string_view>& hosts = found.judged ? found.records : found.named;
    if (std::any_of(hosts.begin(), hosts.end(), [&](std::string_view host) { return keptSites_.Keeps(host); })) {
        sparedCookies_[path] = entry.sizeLow;
        return false;
    }
    if (!files.deleteFile(cookieDir, entry.name))
        return false;
    heard(1, std::vector<std::string>(found.records.begin(), found.records.end()));
    return true;
}

bool TMunchCycle::munchFile(const std::string& path)
{
    if (!DeleteStoreFile(platform_.fileSystem, platform_.codePage, path))
        return false;
    heard(1, {});
    return true;
}

TMunchCycle::DatabaseMunch TMunchCycle::munchDatabase(platform::ICookieDatabases& databases, const std::string& path,
                                         platform::CookieTable table, const TKeepSites& kept,
                                         platform::Cancellation& cancellation)
{
    using Munch = DatabaseMunch;
    platform::CookieStoreOpening opening = databases.Open(path, table, cancellation);
    if (opening.state == platform::CookieStoreState::busy)
        return {Munch::leave};
    if (opening.state == platform::CookieStoreState::notCookies)
        return {Munch::unreadable, 1};
    Munch going{Munch::rowsDeleted};
    std::uint64_t keptRows = 0;
    for (const platform::CookieHostRows& host : opening.store->Hosts()) {
        if (kept.Keeps(host.host)) {
            keptRows += host.rows;
        } else {
            going.count += host.rows;
            going.hosts.push_back(host);
        }
    }
    if (going.count == 0)
        return {Munch::spared};
    if (keptRows == 0) { // closed, unchanged, on the way out
        going.verdict = Munch::whole;
        return going;
    }
    switch (opening.store->Munch([&kept](std::string_view host) { return kept.Keeps(host); })) {
    case platform::CookieMunchOutcome::munched:
        return going;
    case platform::CookieMunchOutcome::unchangeable:
        // Read but never changed: it holds a kept site's rows, so it stays as
        // it is until it changes.
        return {Munch::spared};
    case platform::CookieMunchOutcome::failed:
        return {Munch::failed};
    case platform::CookieMunchOutcome::cancelled:
        break;
    }
    return {Munch::leave};
}
