// The site data of the browsers' profiles munched with their cookies.
#include "munch/SiteDataMunch.h"

#include "browserdata/BrowserStores.h"
#include "browserdata/FileFinder.h"
#include "platform/PathChars.h"
#include "platform/PathText.h"

#include <algorithm>

namespace {

// Entries removed between two looks at the browser's lock: a browser that
// starts meanwhile finds the rest of its profile as it was.
constexpr std::size_t entriesPerLockLook = 32;

// What is read of a cache's index to find its origin.
constexpr std::uint32_t cacheIndexReadLimit = 64 * 1024;

// Cycles between slow looks at a profile whose last look left something that
// could not go (a minute at two cycles a second).
constexpr std::uint64_t slowLookCycles = 120;

// Whether a name is a bucket's id, as the quota manager names its folders.
bool isBucketId(const std::string& name)
{
    return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

enum class StoreFile { absent, free, held };

} // namespace

// One folder removed with all it holds by the one delete rule, files first and
// then the folders, the deepest first; a link inside is neither followed nor
// removed, so the folders above it stay.
class TSiteDataMunch::FolderRemoval {
public:
    FolderRemoval(platform::IFileSystem& files, platform::ICodePage& codePage, const FolderToGo& folder)
        : files_(files), codePage_(codePage), parent_(folder.parent), name_(folder.name), last_(folder.last)
    {
    }

    // Removes entries while goOn lets it; false when it said no, true once the
    // folder is done with (gone or not).
    bool Step(const std::function<bool()>& goOn)
    {
        if (!listed_) {
            TFileFinder finder(nullptr, files_, codePage_);
            finder.Directory = parent_ + "\\" + name_;
            finder.Recurse = true;
            finder.Attributes = +ffReadOnly | +ffHidden | +ffSystem | +ffDirectory | +ffArchive;
            finder.Execute();
            entries_ = finder.Files();
            const std::vector<std::uint32_t>& attributes = finder.FileAttributes();
            const std::string lastPath = last_.empty() ? std::string() : platform::asciiLowered(finder.Directory + "\\" + last_);
            std::optional<std::size_t> lastFile;
            for (std::size_t i = 0; i < entries_.size(); ++i) {
                if ((attributes[i] & platform::faDirectory) != 0)
                    continue;
                if (!lastFile && !lastPath.empty() && platform::asciiLowered(entries_[i]) == lastPath)
                    lastFile = i;
                else
                    order_.push_back({i, false});
            }
            if (lastFile)
                order_.push_back({*lastFile, false});
            for (std::size_t i = entries_.size(); i-- > 0;)
                if ((attributes[i] & platform::faDirectory) != 0)
                    order_.push_back({i, true});
            listed_ = true;
        }
        for (; next_ < order_.size(); ++next_) {
            if (!goOn())
                return false;
            const auto [entry, folder] = order_[next_];
            const platform::PathParts listed = platform::splitPath(&codePage_, entries_[entry]);
            if (folder)
                files_.removeDirectory(listed.folder, listed.name);
            else
                files_.deleteFile(listed.folder, listed.name);
        }
        if (!goOn())
            return false;
        gone_ = files_.removeDirectory(parent_, name_);
        return true;
    }
    bool Gone() const { return gone_; }

private:
    platform::IFileSystem& files_;
    platform::ICodePage& codePage_;
    std::string parent_;
    std::string name_;
    std::string last_;
    bool listed_ = false;
    std::vector<std::string> entries_;
    std::vector<std::pair<std::size_t, bool>> order_; // entry, and whether it is a folder
    std::size_t next_ = 0;
    bool gone_ = false;
};

TSiteDataMunch::TSiteDataMunch(platform::IFileSystem& files, platform::ICodePage& codePage,
                               platform::ISiteStores& stores, TStoreWorker& worker, const TKeepSites& keptSites)
    : files_(files), codePage_(codePage), stores_(stores), worker_(worker), keptSites_(keptSites)
{
}

TSiteDataMunch::~TSiteDataMunch() = default;

bool TSiteDataMunch::keeps(const TKeepSites& kept, const TSiteOrigin& origin)
{
    return kept.KeepsOrigin(origin);
}

void TSiteDataMunch::KeptSitesChanging()
{
    for (auto& [profile, watch] : watches_)
        if (watch.job)
            watch.job->job->Cancel();
}

void TSiteDataMunch::lookAgain(Watch& watch, bool soon)
{
    watch.lookAt = std::min(watch.lookAt, soon ? cycle_ : cycle_ + slowLookCycles);
    watch.stuck = watch.stuck || !soon;
}

void TSiteDataMunch::forget(Watch& watch)
{
    watch.job.reset();
    watch.origins.clear();
    watch.toGo.clear();
    watch.removing.reset();
    watch.munched.clear();
}

bool TSiteDataMunch::Munch(const TSiteProfile& profile, const std::function<bool()>& goOn)
{
    munched_ = false;
    munchProfile(profile, goOn);
    // Told once a call: a count and a sound per round of a large munch, not per folder.
    if (!heard_.empty() && OnMunched)
        OnMunched(heard_.size(), heard_);
    heard_.clear();
    return munched_;
}

void TSiteDataMunch::munchProfile(const TSiteProfile& profile, const std::function<bool()>& goOn)
{
    Watch& watch = watches_[platform::asciiLowered(profile.Folder)];
    if (watch.cycle + 1 < cycle_)
        watch = Watch{};
    watch.cycle = cycle_;
    if (watch.keptChanges != keptSites_.Changes()) {
        // What an ended job changed lasts and counts; what is left is judged afresh.
        if (watch.job && watch.job->job->Ended())
            take(watch);
        forget(watch);
        lookAgain(watch, true);
    }
    // The browser makes and removes its lock in that folder as it starts and
    // ends: while the folder stays as it was, so does the profile.
    const std::optional<std::uint64_t> time = files_.lastWriteTime(profile.LockFolder);
    const bool unchanged = time && time == watch.lockTime;
    const bool working = watch.job || watch.removing || !watch.toGo.empty();
    const bool due = working || cycle_ >= watch.lookAt || !(unchanged && watch.settled);
    watch.settled = unchanged;
    watch.lockTime = time;
    if (!due)
        return;
    const char* lock = profile.Family == TSiteFamily::sfMozilla ? "parent.lock" : "lockfile";
    if (lockHeld(profile.LockFolder, lock)) {
        forget(watch);
        watch.lookAt = UINT64_MAX; // looked at again once the browser has let go (its folder changes)
        return;
    }
    if (!working) {
        watch.slowLook = cycle_ >= watch.lookAt && watch.stuck;
        // The worker does one job at a time: the look waits for its turn.
        if (worker_.Busy() || !look(profile, watch, goOn)) {
            forget(watch);
            lookAgain(watch, true);
            return;
        }
    }
    if (watch.job) {
        if (!watch.job->job->Ended())
            return;
        take(watch);
    }
    // A browser that starts meanwhile, or a change of the kept sites, stops the
    // work: the next call finds the lock, or judges what is left afresh.
    std::size_t removed = 0;
    const std::uint64_t judgedBy = watch.keptChanges;
    const std::function<bool()> goOnFree = [&] {
        return goOn() && keptSites_.Changes() == judgedBy &&
               (++removed % entriesPerLockLook != 0 || !stores_.LockHeld(watch.lockPath));
    };
    while (!watch.toGo.empty()) {
        const FolderToGo& next = watch.toGo.back();
        if (!watch.removing)
            watch.removing = std::make_unique<FolderRemoval>(files_, codePage_, next);
        if (!watch.removing->Step(goOnFree))
            return;
        if (watch.removing->Gone())
            count(watch, next.hosts);
        else
            lookAgain(watch, false); // a folder that cannot all go stays until a slow look
        watch.removing.reset();
        watch.toGo.pop_back();
    }
    // The stores are settled once all the look took from them went.
    if (!watch.stuck)
        for (auto& [path, stamp] : watch.munched)
            storesMunched_[path] = {std::move(stamp), watch.keptChanges};
    watch.munched.clear();
    // The look's own changes to its stores (a log or journal made and removed,
    // also by the job since the last call) are no change of the browser's.
    watch.lockTime = files_.lastWriteTime(profile.LockFolder);
    watch.settled = true;
    return;
}

bool TSiteDataMunch::lockHeld(const std::string& folder, const char* name)
{
    // A browser holds its lock open without delete sharing while it runs (and
    // lets it be deleted once it ends); a lock left by a crash can be opened.
    const std::string where = files_.finalPath(folder);
    if (where.empty())
        return true;
    std::optional<std::string> listed;
    files_.findFiles(where + "\\" + name, [&](const platform::FindEntry& entry) {
        listed = entry.name;
        return false;
    });
    return listed && !files_.canDeleteTogether(where, {*listed});
}

std::optional<std::string> TSiteDataMunch::ownFolder(const std::string& parent, const std::string& name)
{
    std::optional<std::string> listed;
    files_.findFiles(parent + "\\" + name, [&](const platform::FindEntry& entry) {
        if ((entry.attributes & platform::faDirectory) != 0 && platform::isOwnEntry(&codePage_, entry))
            listed = entry.name;
        return false;
    });
    return listed;
}

namespace {

struct StoreLook {
    StoreFile state = StoreFile::absent;
    std::string name; // as listed
};

// A SQLite store goes to the engine only by the one delete rule: it and its
// companions plain files, none a link, none held by another program.
StoreLook lookAtStoreFile(platform::IFileSystem& files, const std::string& folder, const std::string& name)
{
    const TStoreLook look = LookAtStore(files, {folder, name});
    if (!look.StorePresent)
        return {};
    std::vector<std::string> together{look.StoreName};
    together.insert(together.end(), look.Companions.begin(), look.Companions.end());
    const bool free = look.StoreDeletable && files.canDeleteTogether(folder, together);
    return {free ? StoreFile::free : StoreFile::held, look.StoreName};
}

} // namespace

bool TSiteDataMunch::look(const TSiteProfile& profile, Watch& watch, const std::function<bool()>& goOn)
{
    watch.lookAt = UINT64_MAX;
    watch.stuck = false;
    watch.keptChanges = keptSites_.Changes();
    watch.counted.clear();
    watch.originsWaitForLastTask = false;
    const std::string home = files_.finalPath(profile.Folder);
    const std::string lockFolder = files_.finalPath(profile.LockFolder);
    if (home.empty() || lockFolder.empty())
        return true;
    const bool mozilla = profile.Family == TSiteFamily::sfMozilla;
    watch.lockPath = lockFolder + "\\" + (mozilla ? "parent.lock" : "lockfile");
    Tasks tasks = mozilla ? lookAtFirefox(home, watch, goOn) : lookAtChromium(home, watch, goOn);
    // Messages ran while the folders were listed: the browser may have started,
    // the kept sites changed (the job's copy must be what the listing judged by).
    if (!tasks || keptSites_.Changes() != watch.keptChanges ||
        lockHeld(profile.LockFolder, mozilla ? "parent.lock" : "lockfile"))
        return false;
    // A store skipped as unchanged, with nothing known of it from outside, is no work.
    std::erase_if(*tasks, [](const StoreTask& task) {
        return task.path.empty() && task.parts.empty() && task.alsoHolds.empty() &&
               task.kind != platform::SiteStoreKind::mozillaQuotaCache;
    });
    if (tasks->empty()) {
        watch.toGo = std::move(watch.origins);
        return true;
    }
    // The job judges by its own copy of the kept sites, and hands back what it did.
    auto done = std::make_shared<std::vector<TaskDone>>();
    std::shared_ptr<TStoreJob> job = worker_.Start([&stores = stores_, tasks = *tasks, kept = TKeepSites(keptSites_),
                                                    lockPath = watch.lockPath, done](platform::Cancellation& cancel) {
        runTasks(stores, tasks, kept, lockPath, cancel, *done);
    });
    if (!job)
        return false;
    watch.job = Job{job, std::move(*tasks), done};
    return true;
}

TSiteDataMunch::Stamp TSiteDataMunch::stampOf(platform::SiteStoreKind kind, const std::string& path)
{
    using platform::SiteStoreKind;
    Stamp stamp{files_.lastWriteTime(path)};
    if (kind == SiteStoreKind::chromiumLocalStorage || kind == SiteStoreKind::chromiumSessionStorage ||
        kind == SiteStoreKind::chromiumServiceWorker) {
        // LevelDB appends to its log without a change of the folder's.
        files_.findFiles(path + "\\*.log", [&](const platform::FindEntry& entry) {
            stamp.push_back(files_.lastWriteTime(path + "\\" + entry.name));
            return true;
        });
    } else {
        for (const char* companion : {"-wal", "-journal"})
            stamp.push_back(files_.lastWriteTime(path + companion));
    }
    return stamp;
}

bool TSiteDataMunch::unchanged(const Watch& watch, const StoreTask& task) const
{
    const auto munched = storesMunched_.find(platform::asciiLowered(task.path));
    return !watch.slowLook && munched != storesMunched_.end() && munched->second.second == keptSites_.Changes() &&
           munched->second.first == task.stamp && !task.stamp.empty() && task.stamp.front();
}

TSiteDataMunch::StoreTask& TSiteDataMunch::addTask(std::vector<StoreTask>& tasks, const Watch& watch, StoreTask task)
{
    if (!task.path.empty()) {
        task.stamp = stampOf(task.kind, task.path);
        // Nothing in it changed since it was munched by these kept sites: not opened, and so never whole.
        if (unchanged(watch, task)) {
            task.path.clear();
            task.known = false;
        }
    }
    return tasks.emplace_back(std::move(task));
}

TSiteDataMunch::Tasks TSiteDataMunch::lookAtFirefox(const std::string& home, Watch& watch,
                                                                     const std::function<bool()>& goOn)
{
    std::vector<StoreTask> tasks;
    // localStorage as the browser keeps it, and the archive it may bring it back from.
    std::vector<std::string> localStores{home};
    if (const std::optional<std::string> storage = ownFolder(home, "storage")) {
        localStores.push_back(home + "\\" + *storage);
        if (const std::optional<std::string> origins = ownFolder(home + "\\" + *storage, "default"))
            if (!originFolders(home + "\\" + *storage + "\\" + *origins, TOriginNaming::onMozillaFolder, watch.origins,
                               goOn))
                return std::nullopt;
    }
    for (std::size_t i = 0; i < localStores.size(); ++i) {
        const StoreLook local = lookAtStoreFile(files_, localStores[i], i == 0 ? "webappsstore.sqlite" : "ls-archive.sqlite");
        if (local.state == StoreFile::held)
            lookAgain(watch, false);
        if (local.state == StoreFile::free)
            addTask(tasks, watch, {platform::SiteStoreKind::mozillaLocalStorage, localStores[i] + "\\" + local.name,
                                   TOriginNaming::onMozillaKey});
    }
    // Firefox trusts its count of the origins until told it is stale: it is
    // marked so before any origin goes, and while it cannot be, none goes.
    if (!watch.origins.empty()) {
        const StoreLook cache = lookAtStoreFile(files_, home, "storage.sqlite");
        if (cache.state == StoreFile::held) {
            lookAgain(watch, false);
            watch.origins.clear();
        } else if (cache.state == StoreFile::free) {
            tasks.emplace_back(platform::SiteStoreKind::mozillaQuotaCache, home + "\\" + cache.name,
                               TOriginNaming::onMozillaKey);
            watch.originsWaitForLastTask = true;
        }
    }
    return tasks;
}

TSiteDataMunch::Tasks TSiteDataMunch::lookAtChromium(const std::string& home, Watch& watch,
                                                                      const std::function<bool()>& goOn)
{
    using platform::SiteStoreKind;
    std::vector<StoreTask> tasks;
    if (const std::optional<std::string> indexedDb = ownFolder(home, "IndexedDB"))
        if (!originFolders(home + "\\" + *indexedDb, TOriginNaming::onChromiumIndexedDb, watch.origins, goOn))
            return std::nullopt;
    // The two LevelDB stores of all origins go whole, as the folders that hold them, when every origin in them goes.
    if (const std::optional<std::string> local = ownFolder(home, "Local Storage"))
        if (const std::optional<std::string> db = ownFolder(home + "\\" + *local, "leveldb"))
            addTask(tasks, watch, {SiteStoreKind::chromiumLocalStorage, home + "\\" + *local + "\\" + *db,
                                   TOriginNaming::onStorageKey, FolderToGo{home, *local, {}}});
    if (const std::optional<std::string> session = ownFolder(home, "Session Storage"))
        addTask(tasks, watch, {SiteStoreKind::chromiumSessionStorage, home + "\\" + *session,
                               TOriginNaming::onStorageKey, FolderToGo{home, *session, {}}});
    // Service workers go whole only when no registration and no cache there
    // is of a site that stays; else their registrations stay, and only the
    // caches of the sites that go go, each by the origin its index names.
    if (const std::optional<std::string> workers = ownFolder(home, "Service Worker")) {
        const std::string folder = home + "\\" + *workers;
        const std::optional<std::string> db = ownFolder(folder, "Database");
        StoreTask& task = addTask(tasks, watch, {SiteStoreKind::chromiumServiceWorker, db ? folder + "\\" + *db : "",
                                                 TOriginNaming::onStorageKey, FolderToGo{home, *workers, {}}});
        if (const std::optional<std::string> caches = ownFolder(folder, "CacheStorage")) {
            const std::string cacheFolder = folder + "\\" + *caches;
            files_.findFiles(cacheFolder + "\\*.*", [&](const platform::FindEntry& entry) {
                if ((entry.attributes & platform::faDirectory) == 0 || !platform::isOwnEntry(&codePage_, entry))
                    return true;
                const platform::FileContent index =
                    files_.readFileStart(cacheFolder + "\\" + entry.name + "\\index.txt", cacheIndexReadLimit);
                const std::optional<TSiteOrigin> origin = ReadSiteOrigin(
                    TOriginNaming::onCacheIndex,
                    std::string_view(reinterpret_cast<const char*>(index.bytes.data()), index.bytes.size()));
                task.known = task.known && index.ok && origin;
                if (index.ok && origin)
                    task.alsoHolds.push_back(*origin);
                // Its index goes last: a removal cut short still tells whose the cache was.
                if (index.ok && goes(keptSites_, origin))
                    task.parts.push_back({cacheFolder, entry.name, {origin->Host}, "index.txt"});
                return true;
            });
        }
    }
    if (const std::optional<std::string> web = ownFolder(home, "WebStorage")) {
        const std::string folder = home + "\\" + *web;
        const StoreLook quota = lookAtStoreFile(files_, folder, "QuotaManager");
        if (quota.state == StoreFile::held)
            lookAgain(watch, false);
        if (quota.state == StoreFile::free)
            addTask(tasks, watch, {SiteStoreKind::chromiumQuotaManager, folder + "\\" + quota.name,
                                   TOriginNaming::onStorageKey, FolderToGo{home, *web, {}}});
    }
    return tasks;
}

bool TSiteDataMunch::originFolders(const std::string& folder, TOriginNaming naming, std::vector<FolderToGo>& into,
                                   const std::function<bool()>& goOn)
{
    bool stopped = false;
    files_.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
        if (!goOn())
            return !(stopped = true);
        if ((entry.attributes & platform::faDirectory) == 0 || !platform::isOwnEntry(&codePage_, entry))
            return true;
        // A name that does not read as an origin is left alone.
        const std::optional<TSiteOrigin> origin = ReadSiteOrigin(naming, entry.name);
        if (goes(keptSites_, origin))
            into.push_back({folder, entry.name, {origin->Host}});
        return true;
    });
    return !stopped;
}

void TSiteDataMunch::runTasks(platform::ISiteStores& stores, const std::vector<StoreTask>& tasks,
                              const TKeepSites& kept, const std::string& lockPath,
                              platform::Cancellation& cancellation, std::vector<TaskDone>& done)
{
    using platform::SiteStoreKind;
    for (const StoreTask& task : tasks) {
        // A browser starting meanwhile finds its stores as they were; what is
        // stopped is left out of what is done, to be looked at again.
        if (cancellation.Cancelled() || (!task.path.empty() && stores.LockHeld(lockPath)))
            return;
        TaskDone& result = done.emplace_back();
        result.tryAgain = true;
        platform::SiteStoreOpening opening;
        if (!task.path.empty()) {
            opening = stores.Open(task.kind, task.path);
            // One of another shape, or damaged, is left as it is.
            result.tryAgain = opening.state == platform::SiteStoreState::busy;
            if (opening.state != platform::SiteStoreState::opened)
                continue;
        }
        // Every origin the store holds, read; one that cannot be read never
        // goes, and the store with it is never emptied whole.
        std::vector<TSiteOrigin> origins = task.alsoHolds;
        bool allGo = task.known && std::all_of(origins.begin(), origins.end(), [&](const auto& o) { return goes(kept, o); });
        if (opening.store) {
            for (const platform::SiteOriginName& name : opening.store->Origins()) {
                const std::optional<TSiteOrigin> origin = ReadSiteOrigin(task.naming, name);
                allGo = allGo && goes(kept, origin);
                if (origin)
                    origins.push_back(*origin);
            }
            if (task.kind == SiteStoreKind::chromiumQuotaManager)
                result.bucketsLeft.emplace(opening.store->Buckets().begin(), opening.store->Buckets().end());
        }
        for (const TSiteOrigin& origin : origins)
            if (goes(kept, origin))
                result.hosts.push_back(origin.Host);
        result.whole = task.whole && allGo && !origins.empty();
        const bool marksOnly = task.kind == SiteStoreKind::mozillaQuotaCache;
        if (result.whole || !opening.store || task.kind == SiteStoreKind::chromiumServiceWorker ||
            (result.hosts.empty() && !marksOnly)) {
            result.done = true;
            result.tryAgain = false;
            result.hosts = result.whole ? result.hosts : std::vector<std::string>{};
            continue;
        }
        // A change of the kept sites comes before the delete's last step, or
        // after it has lasted; the rest of the delete (finding the rows, a
        // compaction, the close) runs outside, so that the change never waits.
        const platform::SiteDeletion deletion = opening.store->Delete(
            [&](const platform::SiteOriginName& name) { return goes(kept, ReadSiteOrigin(task.naming, name)); },
            [&](const std::function<bool()>& step) { return cancellation.RunUnlessCancelled(step); });
        opening.store.reset();
        if (cancellation.Cancelled() && !deletion.ok) {
            done.pop_back();
            return;
        }
        result.done = deletion.ok;
        result.tryAgain = !deletion.ok;
        result.hosts.clear();
        for (const platform::SiteOriginName& name : deletion.gone)
            if (const std::optional<TSiteOrigin> origin = ReadSiteOrigin(task.naming, name))
                result.hosts.push_back(origin->Host);
        if (result.bucketsLeft)
            for (const std::string& bucket : deletion.buckets)
                result.bucketsLeft->erase(bucket);
    }
}

void TSiteDataMunch::take(Watch& watch)
{
    const Job job = std::move(*watch.job);
    watch.job.reset();
    const std::vector<TaskDone>& done = *job.done;
    for (std::size_t i = 0; i < job.tasks.size(); ++i) {
        const StoreTask& task = job.tasks[i];
        if (i >= done.size()) {
            lookAgain(watch, true); // stopped before it
            continue;
        }
        // A store munched (and staying) is opened again once it changes.
        if (!task.path.empty() && done[i].done && !done[i].whole &&
            task.kind != platform::SiteStoreKind::mozillaQuotaCache)
            watch.munched[platform::asciiLowered(task.path)] = stampOf(task.kind, task.path);
        if (!done[i].done) {
            if (done[i].tryAgain)
                lookAgain(watch, false);
            continue;
        }
        if (done[i].whole) {
            FolderToGo whole = *task.whole;
            whole.hosts = done[i].hosts;
            watch.toGo.push_back(std::move(whole));
            continue;
        }
        count(watch, done[i].hosts);
        watch.toGo.insert(watch.toGo.end(), task.parts.begin(), task.parts.end());
        // A bucket's data lies in the folder of its id, beside the store: one
        // listing finds those of the buckets that went, also at an earlier
        // munch cut short.
        if (!done[i].bucketsLeft)
            continue;
        const std::string folder = task.whole->parent + "\\" + task.whole->name;
        files_.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
            if ((entry.attributes & platform::faDirectory) != 0 && platform::isOwnEntry(&codePage_, entry) &&
                isBucketId(entry.name) && done[i].bucketsLeft->count(entry.name) == 0)
                watch.toGo.push_back({folder, entry.name, {}});
            return true;
        });
    }
    const bool lastDone = done.size() == job.tasks.size() && done.back().done;
    if (!watch.originsWaitForLastTask || lastDone)
        watch.toGo.insert(watch.toGo.end(), watch.origins.begin(), watch.origins.end());
    watch.origins.clear();
}

void TSiteDataMunch::count(Watch& watch, const std::vector<std::string>& hosts)
{
    // Per site: a registrable domain whose data went counts one, whichever of its hosts held it.
    std::vector<std::string> first;
    for (const std::string& host : hosts) {
        const std::string menuSite = MenuSiteOfHost(host);
        const std::string& site = menuSite.empty() ? host : menuSite;
        if (watch.counted.insert(platform::asciiLowered(site)).second)
            first.push_back(site);
    }
    munched_ = munched_ || !first.empty();
    heard_.insert(heard_.end(), first.begin(), first.end());
}
