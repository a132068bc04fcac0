// The munch cycle: the cookie stores visited in their fixed order (the Netscape,
// Opera and ICQ files, the browsers' stores, the cookie folder) and whatever
// is found there deleted. It remembers what it saw of each store between
// ticks; the form that owns it hears what went, and counts, sounds and lists it.
// A cookie database is read and munched by a job of the store worker, with a
// snapshot of the kept sites; the stores a cycle finds are queued together, and
// a later cycle takes what each job did.
// UI thread only.
#pragma once

#include "sites/KeepSites.h"
#include "munch/SiteDataMunch.h"
#include "munch/StoreWorker.h"
#include "munch/SystemFolders.h"
#include "browserdata/BrowserStores.h"
#include "platform/Platform.h"

#include <chrono>
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
    // The clock a store whose munch failed waits by.
    std::function<std::chrono::steady_clock::time_point()> Now = std::chrono::steady_clock::now;

    // Munches the stores taken. letMessagesRun lets pending messages run
    // between rounds and says whether the cycle goes on; once it says no, the
    // cycle touches nothing more. True when anything was munched.
    bool Run(const TMunchStores& stores, const std::function<bool()>& letMessagesRun);
    // The kept sites are about to change: the database munches queued or under
    // way with the old list are rolled back (unless their commit has begun), and
    // done again later; a site-data job stops before its next change of a
    // store. Never waits for the worker.
    void KeptSitesChanging();
    // Queues other work on the store worker, which makes every SQLite call of the program.
    std::shared_ptr<TStoreJob> StartStoreJob(TStoreWorker::Work work) { return worker_.Start(std::move(work)); }
    // Returns once the store worker's jobs have ended; for tests.
    void WaitForStoreWork() { worker_.WaitForJob(); }
    // Cancels the store worker's jobs and waits for the one under way (the program ends).
    void Shutdown() { worker_.Shutdown(); }

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
        // Munches that failed in a row, and when the store may be tried again:
        // it waits twice as long after each, and the others go on meanwhile.
        unsigned failures = 0;
        std::chrono::steady_clock::time_point retryAt{};
    };
    // What the database munch of a store decided (made on the worker).
    struct DatabaseMunch;
    // A database munch queued or under way on the worker, or ended and not yet taken.
    struct DatabaseJob {
        std::shared_ptr<TStoreJob> job;
        std::shared_ptr<DatabaseMunch> read; // the worker's until the job has ended
        std::shared_ptr<const std::vector<TFoundBrowser>> browsers;
        std::size_t browser, store; // in browsers
        std::string where;          // the store's folder, where it really is
        // The one snapshot the job judges by, and its verdict is checked against.
        std::shared_ptr<const TKeepSites> kept;
        std::optional<std::uint64_t> storeTime; // the store file's, as the job started
    };
    // Deletes the file a single-file store names; true when it went (and was heard of).
    bool munchFile(const std::string& path);
    // Deletes a browser's store, and then its companions, or its companions
    // alone when an earlier munch left them; or, when the store holds rows of
    // a kept site, deletes the other rows in it: a store is read on the worker,
    // and what it held is taken later. folderTime is the store's folder's time,
    // taken before this look.
    void munchStore(std::size_t browser, std::size_t store, platform::CookieTable table,
                    std::optional<std::uint64_t> folderTime);
    // Takes what every ended database job did; true when cookies went.
    bool takeDatabaseJobs();
    bool take(const DatabaseJob& taken);
    // The store's watch, while the list of browsers the job was given is still the one watched.
    StoreWatch* watchOf(const DatabaseJob& taken);
    // The store of a job stays, read again once it or the kept sites change.
    void spare(const DatabaseJob& taken);
    // A store read, and munched, as its browser's cookie database, on the worker:
    // it holds the store only for this, and judges by its own copy of the kept sites.
    static DatabaseMunch munchDatabase(platform::ICookieDatabases& databases, const std::string& path,
                                       platform::CookieTable table, const TKeepSites& kept,
                                       platform::Cancellation& cancellation);
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
    // Cookie files whose hosts a cycle may still read while no site is kept.
    std::size_t cookieHostReads_ = 0;
    TStoreWorker worker_;
    std::vector<DatabaseJob> databaseJobs_; // in the order queued
    // The browsers' site data, profile by profile.
    TSiteDataMunch siteData_;
};
