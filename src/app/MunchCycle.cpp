// The munch cycle: the cookie stores visited in a fixed order and whatever is
// found there deleted; the form hears what went.
#include "app/MunchCycle.h"

#include "app/AppState.h"
#include "app/FileExists.h"
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

// Rows of a cookie database looked at between two rounds of pending messages:
// a slice costs tens of milliseconds at most, even under Wine with the page
// cache capped at 1 MiB, so that the tray menu opens at once.
constexpr std::uint32_t rowsPerSlice = 1000;

platform::CookieTable tableOf(const TFoundBrowser& browser)
{
    return BrowserFamilies()[browser.Family].Kind == TBrowserKind::bkMozilla ? platform::CookieTable::mozilla
                                                                           : platform::CookieTable::chromium;
}

} // namespace

TMunchCycle::TMunchCycle(const platform::Platform& platform, const TKeepSites& keptSites,
                         SystemFolderGuard& systemFolders)
    : platform_(platform), keptSites_(keptSites), systemFolders_(systemFolders),
      siteData_(platform.fileSystem, platform.codePage, platform.siteStores, keptSites)
{
    siteData_.OnMunched = [this](std::uint64_t count, const std::vector<std::string>& hosts) { heard(count, hosts); };
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
    const std::function<bool()> letMessagesRun = [&] {
        stopped = !goOn();
        return !stopped;
    };
    auto mayGoOn = [&] { return ++looked % entriesPerRound != 0 || letMessagesRun(); };
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
            munched |= munchStore(store, tableOf(browsers[b]), folderTime, storeWatches_[b][s], letMessagesRun);
        }
    }
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

bool TMunchCycle::munchStore(const TCookieStore& store, platform::CookieTable table,
                        std::optional<std::uint64_t> folderTime, StoreWatch& watch, const std::function<bool()>& goOn)
{
    // Under Wine every absent name costs a read of its whole folder, while a
    // folder that exists gives its time without one. A time not known means look.
    const bool unchanged = folderTime && folderTime == watch.folderTime;
    if (unchanged && watch.settled && !watch.present && !watch.toList)
        return false;
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
            return false;
    }
    // A database read last with nothing to delete stays unread while neither its
    // folder (a log or journal made or removed) nor its file changed.
    if (watch.spared && folderTime && folderTime == watch.sparedFolderTime && watch.sparedStoreTime &&
        files.lastWriteTime(folder + store.Name) == watch.sparedStoreTime)
        return false;
    watch.spared = false;
    watch.toList = false;
    TStoreLook look = LookAtStore(files, store);
    watch.present = look.StorePresent;
    if (!look.StorePresent && look.Companions.empty())
        return false;
    // The store and its companions go by the names listed, in their folder
    // taken where it really is, once; a link among them is left.
    const std::string where = files.finalPath(store.Folder);
    if (where.empty()) {
        watch.toList = !look.Companions.empty();
        return false;
    }
    // A read-only store is the user's way to keep it, with its companions, and
    // is looked at every cycle so that its mark being cleared is seen.
    if (look.StorePresent && !look.StoreDeletable)
        return false;
    // The store goes with its companions, or none of them goes: a journal left
    // without its database, or a database without its journal, is taken by
    // the browser for another's. While one of them is in use (the browser
    // runs) all are tried again next cycle. Companions are not cookies of their
    // own: leftover companions of an absent store count nothing.
    std::vector<std::string> together;
    if (look.StorePresent)
        together.push_back(look.StoreName);
    together.insert(together.end(), look.Companions.begin(), look.Companions.end());
    // A store is read as its browser's database only once the browser has let
    // go of it and its companions, and closed again before any of them goes
    // (the engine holds it without delete sharing). Reading may have rolled
    // back a journal or folded a log into the store: they are listed again.
    DatabaseMunch read{DatabaseMunch::whole};
    if (look.StorePresent) {
        if (!files.canDeleteTogether(where, together))
            return false;
        read = munchDatabase(where + "\\" + look.StoreName, table, goOn);
        if (read.verdict == DatabaseMunch::spared) {
            // Taken after the database closed: closing may have removed its log.
            watch.spared = true;
            watch.sparedFolderTime = files.lastWriteTime(store.Folder);
            watch.sparedStoreTime = files.lastWriteTime(folder + store.Name);
        }
        if (read.verdict != DatabaseMunch::whole)
            return read.verdict == DatabaseMunch::rowsDeleted;
        look = LookAtStore(files, store);
        if (!look.StorePresent || !look.StoreDeletable)
            return false;
        together.assign(1, look.StoreName);
        together.insert(together.end(), look.Companions.begin(), look.Companions.end());
    }
    const bool gone = files.deleteTogether(where, together);
    watch.toList = !gone && !look.StorePresent;
    if (!look.StorePresent || !gone)
        return false;
    cookiesGone(read);
    return true;
}

TMunchCycle::DatabaseMunch TMunchCycle::munchDatabase(const std::string& path, platform::CookieTable table,
                                            const std::function<bool()>& goOn)
{
    platform::CookieStoreOpening opening = platform_.cookieDatabases.Open(path, table);
    if (opening.state == platform::CookieStoreState::busy)
        return {DatabaseMunch::leave};
    if (opening.state == platform::CookieStoreState::notCookies)
        return {DatabaseMunch::whole, 1};
    std::uint64_t rows = 0;
    bool keptAmong = false;
    for (const platform::CookieHostRows& host : opening.store->Hosts()) {
        rows += host.rows;
        keptAmong = keptAmong || keptSites_.Keeps(host.host);
    }
    if (rows == 0)
        return {DatabaseMunch::spared};
    if (!keptAmong) // closed, unchanged, on the way out
        return {DatabaseMunch::whole, rows, opening.store->Hosts()};
    // The rows of sites not kept go in one transaction. When the cycle stops
    // between slices (munching switched off, the menu open, the program ending)
    // what is deleted so far is committed and counted: each slice leaves the
    // store whole. Only rows whose delete was committed count.
    const auto keeps = [this](std::string_view host) { return keptSites_.Keeps(host); };
    std::map<std::string, std::uint64_t> deleted;
    for (bool more = true; more;) {
        platform::CookieSlice slice = opening.store->DeleteSlice(keeps, rowsPerSlice);
        if (!slice.ok)
            return {DatabaseMunch::leave};
        for (platform::CookieHostRows& host : slice.deleted)
            deleted[std::move(host.host)] += host.rows;
        more = !slice.done && goOn();
    }
    if (!opening.store->Commit())
        return {DatabaseMunch::leave};
    opening.store.reset();
    DatabaseMunch munch{DatabaseMunch::rowsDeleted};
    for (auto& [host, count] : deleted) {
        munch.count += count;
        munch.hosts.push_back({host, count});
    }
    if (munch.count == 0)
        munch.verdict = DatabaseMunch::spared;
    cookiesGone(munch);
    return munch;
}

void TMunchCycle::cookiesGone(const DatabaseMunch& munch)
{
    std::vector<std::string> hosts;
    for (const platform::CookieHostRows& host : munch.hosts)
        hosts.push_back(host.host);
    heard(munch.count, hosts);
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
