// The munch cycle: the cookie stores visited in their fixed order (the Netscape,
// Opera and ICQ files, the browsers' stores, the cookie folder) and whatever
// is found there deleted. It remembers what it saw of each store between
// ticks; the form that owns it hears what went, and counts, sounds and lists it.
// UI thread only.
#pragma once

#include "app/KeepSites.h"
#include "app/SiteDataMunch.h"
#include "app/SystemFolders.h"
#include "browserdata/BrowserStores.h"
#include "platform/Platform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The stores as a cycle takes them at its start.
struct TMunchStores {
    std::string CookieTxtFile;
    std::string OperaCookieFile;
    std::string ICQCookieFile;
    bool MunchIcq = false;
    std::shared_ptr<const std::vector<TFoundBrowser>> OtherBrowsers;
    std::vector<bool> MunchBrowser; // by family
    std::string IECookieDir;
    bool MunchSiteData = false; // the browsers' other stored data of the sites too
    bool operator==(const TMunchStores&) const = default;
};

// Cookies that went (count > 0), and the hosts they were of, in the order
// in which they are to be noted as munched sites.
using TMunchedEvent = std::function<void(std::uint64_t count, const std::vector<std::string>& hosts)>;

class TMunchCycle {
public:
    TMunchCycle(const platform::Platform& platform, const TKeepSites& keptSites, SystemFolderGuard& systemFolders);

    // Raised for each store, file or batch of rows that went.
    TMunchedEvent OnMunched;

    // Munches the stores taken. letMessagesRun lets pending messages run
    // between rounds and says whether the cycle goes on; once it says no, the
    // cycle touches nothing more. True when anything was munched.
    bool Run(const TMunchStores& stores, const std::function<bool()>& letMessagesRun);

private:
    // What the cycles saw of one browser's store. A store absent at two looks
    // whose folder has not changed since is not asked for again: its folder
    // changes when an entry is made, removed or renamed in it.
    struct StoreWatch {
        bool toList = true;   // search it whole: newly found, or a companion was left
        bool present = false; // something of its name was there at the last look
        std::optional<std::uint64_t> folderTime; // its folder's, at the last look
        bool settled = false; // and at the look before: a coarse clock cannot hide a change
        // Read last with nothing to delete in it (no rows, or only kept ones): it is
        // read again once its folder or its file changed, or the kept sites did.
        bool spared = false;
        std::optional<std::uint64_t> sparedFolderTime, sparedStoreTime;
    };
    // What the database munch of a store decided.
    struct DatabaseMunch {
        enum { leave, spared, whole, rowsDeleted } verdict;
        std::uint64_t count = 0; // cookies: to count once the store is gone whole, or deleted and counted
        std::vector<platform::CookieHostRows> hosts = {}; // and their hosts, to note as munched sites
    };

    // Deletes the file a single-file store names; true when it went (and was heard of).
    bool munchFile(const std::string& path);
    // Deletes a browser's store, and then its companions, or its companions
    // alone when an earlier munch left them; or, when the store holds rows of
    // a kept site, deletes the other rows in it. True when cookies were munched.
    // folderTime is the store's folder's time, taken before this look;
    // goOn lets pending messages run and says whether the cycle goes on.
    bool munchStore(const TCookieStore& store, platform::CookieTable table, std::optional<std::uint64_t> folderTime,
                    StoreWatch& watch, const std::function<bool()>& goOn);
    // Reads a store as its browser's cookie database: busy, or nothing to
    // delete, leaves it; no cookie database, or no kept site among its rows,
    // lets it go whole; otherwise the rows of sites not kept are deleted (in
    // slices, with messages between them), and heard of.
    DatabaseMunch munchDatabase(const std::string& path, platform::CookieTable table,
                                const std::function<bool()>& goOn);
    // Tells the owner of a database's cookies that are gone.
    void cookiesGone(const DatabaseMunch& munch);
    // Deletes one file of the cookie folder, as the listing gives it, unless a
    // site is kept and the file may hold its cookie; true when munched.
    bool munchCookie(const std::string& cookieDir, const platform::FindEntry& entry);
    void heard(std::uint64_t count, const std::vector<std::string>& hosts);

    const platform::Platform& platform_;
    const TKeepSites& keptSites_;
    // What the cookie folder may never be.
    SystemFolderGuard& systemFolders_;
    // What the cycles saw of each store of the browsers' list, by browser and store.
    std::shared_ptr<const std::vector<TFoundBrowser>> listedBrowsers_;
    std::vector<std::vector<StoreWatch>> storeWatches_;
    // The kept sites the stores spared last were judged by.
    std::set<std::string, std::less<>> sparedWith_;
    // Cookie files spared for what they hold, by path and size, while the kept
    // sites stay as they were: not read again at every tick.
    std::map<std::string, std::uint32_t> sparedCookies_;
    std::uint64_t sparedForChanges_ = 0;
    // The browsers' site data, profile by profile.
    TSiteDataMunch siteData_;
    // Cookie files whose hosts a cycle may still read while no site is kept.
    std::size_t cookieHostReads_ = 0;
};
