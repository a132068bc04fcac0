// The site data of the browsers' profiles munched with their cookies: what
// sites keep besides cookies (localStorage, sessionStorage, IndexedDB, the
// Cache API and service workers), per origin, kept sites' data spared, web
// sites' data only, and only while the browser has let go of the whole
// profile. Origin folders go whole, a few entries between rounds of pending
// messages; the stores that are databases change only through their own
// library. UI thread only.
#pragma once

#include "app/KeepSites.h"
#include "browserdata/SiteOrigins.h"
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
                   const TKeepSites& keptSites);
    ~TSiteDataMunch();

    // Raised as sites' data goes: each site once per look at a profile.
    TSitesMunchedEvent OnMunched;

    // A cycle begins: a profile not munched in the last one is looked at afresh.
    void StartCycle() { ++cycle_; }
    // Munches what is due of one profile: nothing while its browser holds its
    // lock; a look when its lock's folder changed, the kept sites changed, or
    // the last look left work; then the work, asking goOn before each entry,
    // to go on at the next call when it says no. True when a site's data went.
    bool Munch(const TSiteProfile& profile, const std::function<bool()>& goOn);

private:
    // A folder to go whole, and the sites it counts once gone.
    struct FolderToGo {
        std::string parent; // a final path, or one built from one and listed names
        std::string name;   // as listed
        std::vector<std::string> hosts;
    };
    class FolderRemoval;
    // What the munch knows of one profile between cycles.
    struct Watch {
        std::uint64_t cycle = 0;                // the last cycle that munched it
        std::optional<std::uint64_t> lockTime;  // its lock folder's time at the last look
        bool settled = false;                   // and at the look before: a coarse clock hides no change
        std::uint64_t keptChanges = 0;          // the kept sites the look judged by
        bool again = true;                      // the last look left something to try again
        std::vector<FolderToGo> toGo;           // the look's folders still to go, the last first
        std::unique_ptr<FolderRemoval> removing; // the one going now
        std::set<std::string> counted;          // sites counted in this look
    };
    // One store the look hands to its library: which kind, where, how it is
    // judged, and the folder that goes when it holds nothing but sites that go.
    struct StoreTask {
        StoreTask(platform::SiteStoreKind kind, std::string path, TOriginNaming naming,
                  std::optional<FolderToGo> whole = std::nullopt)
            : kind(kind), path(std::move(path)), naming(naming), whole(std::move(whole))
        {
        }
        platform::SiteStoreKind kind;
        std::string path;
        TOriginNaming naming;
        std::optional<FolderToGo> whole;
        std::vector<TSiteOrigin> alsoHolds; // origins known from outside the store (caches beside registrations)
        bool known = true;                  // false: something of the store's whole cannot be read
    };
    enum class TaskVerdict { done, busy, notStore };

    bool keeps(const TSiteOrigin& origin) const;
    bool goes(const std::optional<TSiteOrigin>& origin) const { return origin && origin->Web() && !keeps(*origin); }
    bool lockHeld(const std::string& folder, const char* name);
    // The folder's own subfolder of that name (no link): its listed name, or nothing.
    std::optional<std::string> ownFolder(const std::string& parent, const std::string& name);
    // Whether a SQLite store and its companions may be handed to the engine: plain files, not links, not held.
    bool storeFree(const std::string& folder, const std::string& name);
    void look(const TSiteProfile& profile, Watch& watch);
    void lookAtFirefox(const std::string& home, Watch& watch);
    void lookAtChromium(const std::string& home, Watch& watch);
    // The origin folders of a folder that go, each with its site.
    void originFolders(const std::string& folder, TOriginNaming naming, std::vector<FolderToGo>& into);
    TaskVerdict runTask(const StoreTask& task, Watch& watch, std::vector<FolderToGo>& toGo);
    // Tells of the sites whose data went that this look has not told of yet.
    void count(Watch& watch, const std::vector<std::string>& hosts);

    platform::IFileSystem& files_;
    platform::ICodePage& codePage_;
    platform::ISiteStores& stores_;
    const TKeepSites& keptSites_;
    std::uint64_t cycle_ = 1;
    bool munched_ = false; // by the call under way
    std::map<std::string, Watch> watches_; // by profile folder, in lower case
};
