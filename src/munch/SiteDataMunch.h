// The site data of the browsers' profiles munched with their cookies: what
// sites keep besides cookies (localStorage, sessionStorage, IndexedDB, the
// Cache API and service workers), per origin, kept sites' data spared, web
// sites' data only, and only while the browser has let go of the whole
// profile. The stores that are databases change only through their own
// library, in a job of the store worker with a copy of the kept sites; then
// origin folders go whole, a few entries between rounds of pending messages.
// The kept sites are judged again before every delete: a change stops the
// work, and the next look judges it afresh. A profile at rest is not opened
// again: a store only once it or the kept sites changed, and what could not
// go only at a slow look now and then. UI thread only.
#pragma once

#include "sites/KeepSites.h"
#include "munch/StoreWorker.h"
#include "sites/SiteOrigins.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/SiteDataStore.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

enum class TSiteFamily { sfMozilla, sfChromium };

struct TSiteProfile {
    TSiteFamily Family;
    std::string Folder;     // the profile's folder
    std::string LockFolder; // where the browser's lock lies: the profile (parent.lock), User Data (lockfile)
};

// Sites whose data went (count of them), and their hosts.
using TSitesMunchedEvent = std::function<void(std::uint64_t count, const std::vector<std::string>& hosts)>;

class TSiteDataMunch {
public:
    TSiteDataMunch(platform::IFileSystem& files, platform::ICodePage& codePage, platform::ISiteStores& stores,
                   TStoreWorker& worker, const TKeepSites& keptSites);
    ~TSiteDataMunch();

    // Raised once a call of Munch for the sites whose data went in it: each
    // site (registrable domain) once per look at a profile.
    TSitesMunchedEvent OnMunched;

    // A cycle begins: a profile not munched in the last one is looked at afresh.
    void StartCycle() { ++cycle_; }
    // Munches what is due of one profile: nothing while its browser holds its
    // lock; a look when its lock's folder changed, the kept sites changed, or
    // the last look left work; its stores' job when the worker is free, taken
    // once ended; then the folders, asking goOn before each entry, to go on at
    // the next call when it says no. True when a site's data went.
    bool Munch(const TSiteProfile& profile, const std::function<bool()>& goOn);
    // The kept sites are about to change: a job under way stops before its
    // next change of a store.
    void KeptSitesChanging();

private:
    // A folder to go whole, and the sites it counts once gone.
    struct FolderToGo {
        std::string parent; // a final path, or one built from one and listed names
        std::string name;   // as listed
        std::vector<std::string> hosts;
        std::string last;   // a file in it that goes after every other (what tells whose the folder is)
    };
    // What a store's files were like: it changed when this does.
    using Stamp = std::vector<std::optional<std::uint64_t>>;
    // One store a look hands to its library: which kind, where, how its
    // origins are named, and the folder that goes when it holds nothing but
    // sites that go (a store's ids of buckets name folders in it).
    struct StoreTask {
        StoreTask(platform::SiteStoreKind kind, std::string path, TOriginNaming naming,
                  std::optional<FolderToGo> whole = std::nullopt)
            : kind(kind), path(std::move(path)), naming(naming), whole(std::move(whole))
        {
        }
        platform::SiteStoreKind kind;
        std::string path;                   // empty: no store, only what is known from outside it
        TOriginNaming naming;
        std::optional<FolderToGo> whole;
        std::vector<TSiteOrigin> alsoHolds; // origins known from outside the store (caches beside registrations)
        bool known = true;                  // false: something of the store's whole cannot be read
        std::vector<FolderToGo> parts;      // what goes of its whole when it stays (the going sites' caches)
        Stamp stamp;                        // the store's at the look
    };
    // What the job did with a task.
    struct TaskDone {
        bool done = false;               // false: nothing changed
        bool tryAgain = false;           // and it may change at a later look: busy, failed or stopped
        bool whole = false;              // its folder is to go, counting every site in it
        std::vector<std::string> hosts;  // the sites that went, or go with the folder
        std::optional<std::set<std::string>> bucketsLeft; // the quota manager's buckets that stay, once read
    };
    struct Job {
        std::shared_ptr<TStoreJob> job;
        std::vector<StoreTask> tasks;
        std::shared_ptr<std::vector<TaskDone>> done; // the worker's until the job has ended
    };
    class FolderRemoval;
    // What the munch knows of one profile between cycles.
    struct Watch {
        std::uint64_t cycle = 0;               // the last cycle that munched it
        std::optional<std::uint64_t> lockTime; // its lock folder's time at the last look
        bool settled = false;                  // and at the look before: a coarse clock hides no change
        std::uint64_t keptChanges = 0;         // the kept sites the look judged by
        std::uint64_t lookAt = 0;              // the cycle due to look again though nothing changed
        bool slowLook = false;                 // that look is a slow one: it opens unchanged stores too
        std::string lockPath;                  // the lock's path as the look found its folder
        bool stuck = false;                    // something of the look could not go
        std::map<std::string, Stamp> munched;  // the stores the look munched: settled once all its folders went
        std::optional<Job> job;                // the look's stores, on the worker
        std::vector<FolderToGo> origins;       // the look's origin folders, to go once the job is taken
        bool originsWaitForLastTask = false;   // only when the job's last task was done (the quota cache)
        std::vector<FolderToGo> toGo;          // folders still to go, the last first
        std::unique_ptr<FolderRemoval> removing; // the one going now
        std::set<std::string> counted;         // sites counted in this look
    };

    static bool keeps(const TKeepSites& kept, const TSiteOrigin& origin);
    // Looks again at the next cycle (soon), or at a slow look's.
    void lookAgain(Watch& watch, bool soon);
    // The store's stamp, and whether it is as when it was last munched by the same kept sites.
    Stamp stampOf(platform::SiteStoreKind kind, const std::string& path);
    bool unchanged(const Watch& watch, const StoreTask& task) const;
    // A store task, skipped (nothing opened, its whole never judged) when the store is as it was munched.
    StoreTask& addTask(std::vector<StoreTask>& tasks, const Watch& watch, StoreTask task);
    static bool goes(const TKeepSites& kept, const std::optional<TSiteOrigin>& origin)
    {
        return origin && origin->Web() && !keeps(kept, *origin);
    }
    // The job's work: each task's store opened, judged and changed in turn.
    // The browser's lock, looked at again right before each store is opened, stops it.
    static void runTasks(platform::ISiteStores& stores, const std::vector<StoreTask>& tasks, const TKeepSites& kept,
                         const std::string& lockPath, platform::Cancellation& cancellation,
                         std::vector<TaskDone>& done);
    void munchProfile(const TSiteProfile& profile, const std::function<bool()>& goOn);
    bool lockHeld(const std::string& folder, const char* name);
    // The folder's own subfolder of that name (no link): its listed name, or nothing.
    std::optional<std::string> ownFolder(const std::string& parent, const std::string& name);
    void forget(Watch& watch);
    // Lists what goes and hands the stores to the worker; false when goOn
    // stopped it (nothing started) or the browser took its lock meanwhile.
    bool look(const TSiteProfile& profile, Watch& watch, const std::function<bool()>& goOn);
    // The stores for the worker, or nothing when goOn stopped the listing.
    using Tasks = std::optional<std::vector<StoreTask>>;
    Tasks lookAtFirefox(const std::string& home, Watch& watch, const std::function<bool()>& goOn);
    Tasks lookAtChromium(const std::string& home, Watch& watch, const std::function<bool()>& goOn);
    // Adds the origin folders of a folder that go, each with its site; false
    // when goOn stopped the listing.
    bool originFolders(const std::string& folder, TOriginNaming naming, std::vector<FolderToGo>& into,
                       const std::function<bool()>& goOn);
    // Takes what the ended job did: its sites counted, its folders to go.
    void take(Watch& watch);
    // Notes the sites whose data went that this look has not told of yet.
    void count(Watch& watch, const std::vector<std::string>& hosts);

    platform::IFileSystem& files_;
    platform::ICodePage& codePage_;
    platform::ISiteStores& stores_;
    TStoreWorker& worker_;
    const TKeepSites& keptSites_;
    std::uint64_t cycle_ = 1;
    bool munched_ = false;           // by the call under way
    std::vector<std::string> heard_; // the sites it has seen go
    std::map<std::string, Watch> watches_; // by profile folder, in lower case
    // Each store munched, by path in lower case: its stamp then, and the kept sites it was judged by.
    std::map<std::string, std::pair<Stamp, std::uint64_t>> storesMunched_;
};
