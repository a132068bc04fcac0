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

enum class StoreFile { absent, free, held };

} // namespace

// One folder removed with all it holds by the one delete rule, files first and
// then the folders, the deepest first; a link inside is neither followed nor
// removed, so the folders above it stay.
class TSiteDataMunch::FolderRemoval {
public:
    FolderRemoval(platform::IFileSystem& files, platform::ICodePage& codePage, std::string parent, std::string name)
        : files_(files), codePage_(codePage), parent_(std::move(parent)), name_(std::move(name))
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
            for (std::size_t i = 0; i < entries_.size(); ++i)
                if ((attributes[i] & platform::faDirectory) == 0)
                    order_.push_back({i, false});
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

void TSiteDataMunch::forget(Watch& watch)
{
    watch.job.reset();
    watch.origins.clear();
    watch.toGo.clear();
    watch.removing.reset();
}

bool TSiteDataMunch::Munch(const TSiteProfile& profile, const std::function<bool()>& goOn)
{
    Watch& watch = watches_[platform::asciiLowered(profile.Folder)];
    if (watch.cycle + 1 < cycle_)
        watch = Watch{};
    watch.cycle = cycle_;
    if (watch.keptChanges != keptSites_.Changes()) {
        forget(watch);
        watch.again = true;
    }
    // The browser makes and removes its lock in that folder as it starts and
    // ends: while the folder stays as it was, so does the profile.
    const std::optional<std::uint64_t> time = files_.lastWriteTime(profile.LockFolder);
    const bool unchanged = time && time == watch.lockTime;
    const bool working = watch.job || watch.removing || !watch.toGo.empty();
    const bool due = working || watch.again || !(unchanged && watch.settled);
    watch.settled = unchanged;
    watch.lockTime = time;
    if (!due)
        return false;
    const char* lock = profile.Family == TSiteFamily::sfMozilla ? "parent.lock" : "lockfile";
    if (lockHeld(profile.LockFolder, lock)) {
        forget(watch);
        watch.again = false; // looked at again once the browser has let go (its folder changes)
        return false;
    }
    munched_ = false;
    if (!working) {
        // The worker does one job at a time: the look waits for its turn.
        if (worker_.Busy() || !look(profile, watch, goOn)) {
            forget(watch);
            watch.again = true;
            return false;
        }
    }
    if (watch.job) {
        if (!watch.job->job->Ended())
            return false;
        take(watch);
    }
    // A browser that starts meanwhile stops the work: the next call finds its lock.
    std::size_t removed = 0;
    const std::function<bool()> goOnFree = [&] {
        return goOn() && (++removed % entriesPerLockLook != 0 || !lockHeld(profile.LockFolder, lock));
    };
    while (!watch.toGo.empty()) {
        const FolderToGo& next = watch.toGo.back();
        if (!watch.removing)
            watch.removing = std::make_unique<FolderRemoval>(files_, codePage_, next.parent, next.name);
        if (!watch.removing->Step(goOnFree))
            return munched_;
        if (watch.removing->Gone())
            count(watch, next.hosts);
        else
            watch.again = true; // a folder that cannot all go stays, tried again at the next look
        watch.removing.reset();
        watch.toGo.pop_back();
    }
    // The look's own changes to its stores (a log or journal made and removed,
    // also by the job since the last call) are no change of the browser's.
    watch.lockTime = files_.lastWriteTime(profile.LockFolder);
    watch.settled = true;
    return munched_;
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
    watch.again = false;
    watch.keptChanges = keptSites_.Changes();
    watch.counted.clear();
    watch.originsWaitForLastTask = false;
    const std::string home = files_.finalPath(profile.Folder);
    if (home.empty())
        return true;
    Tasks tasks = profile.Family == TSiteFamily::sfMozilla ? lookAtFirefox(home, watch, goOn)
                                                            : lookAtChromium(home, watch, goOn);
    // Messages ran while the folders were listed: the browser may have started.
    if (!tasks || lockHeld(profile.LockFolder, profile.Family == TSiteFamily::sfMozilla ? "parent.lock" : "lockfile"))
        return false;
    if (tasks->empty()) {
        watch.toGo = std::move(watch.origins);
        return true;
    }
    // The job judges by its own copy of the kept sites, and hands back what it did.
    auto done = std::make_shared<std::vector<TaskDone>>();
    std::shared_ptr<TStoreJob> job =
        worker_.Start([&stores = stores_, tasks = *tasks, kept = TKeepSites(keptSites_), done](platform::Cancellation& cancel) {
            runTasks(stores, tasks, kept, cancel, *done);
        });
    if (!job)
        return false;
    watch.job = Job{job, std::move(*tasks), done};
    return true;
}

TSiteDataMunch::Tasks TSiteDataMunch::lookAtFirefox(const std::string& home, Watch& watch,
                                                                     const std::function<bool()>& goOn)
{
    std::vector<StoreTask> tasks;
    if (const std::optional<std::string> storage = ownFolder(home, "storage"))
        if (const std::optional<std::string> origins = ownFolder(home + "\\" + *storage, "default"))
            if (!originFolders(home + "\\" + *storage + "\\" + *origins, TOriginNaming::onMozillaFolder, watch.origins,
                               goOn))
                return std::nullopt;
    const StoreLook local = lookAtStoreFile(files_, home, "webappsstore.sqlite");
    watch.again = watch.again || local.state == StoreFile::held;
    if (local.state == StoreFile::free)
        tasks.emplace_back(platform::SiteStoreKind::mozillaLocalStorage, home + "\\" + local.name,
                           TOriginNaming::onMozillaKey);
    // Firefox trusts its count of the origins until told it is stale: it is
    // marked so before any origin goes, and while it cannot be, none goes.
    if (!watch.origins.empty()) {
        const StoreLook cache = lookAtStoreFile(files_, home, "storage.sqlite");
        if (cache.state == StoreFile::held) {
            watch.again = true;
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
            tasks.emplace_back(SiteStoreKind::chromiumLocalStorage, home + "\\" + *local + "\\" + *db,
                               TOriginNaming::onStorageKey, FolderToGo{home, *local, {}});
    if (const std::optional<std::string> session = ownFolder(home, "Session Storage"))
        tasks.emplace_back(SiteStoreKind::chromiumSessionStorage, home + "\\" + *session, TOriginNaming::onStorageKey,
                           FolderToGo{home, *session, {}});
    // Service workers go whole only when no registration and no cache there
    // is of a site that stays; else their registrations stay, and only the
    // caches of the sites that go go, each by the origin its index names.
    if (const std::optional<std::string> workers = ownFolder(home, "Service Worker")) {
        const std::string folder = home + "\\" + *workers;
        StoreTask& task = tasks.emplace_back(SiteStoreKind::chromiumServiceWorker, std::string(),
                                             TOriginNaming::onStorageKey, FolderToGo{home, *workers, {}});
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
                if (index.ok && goes(keptSites_, origin))
                    task.parts.push_back({cacheFolder, entry.name, {origin->Host}});
                return true;
            });
        }
        if (const std::optional<std::string> db = ownFolder(folder, "Database"))
            task.path = folder + "\\" + *db;
    }
    if (const std::optional<std::string> web = ownFolder(home, "WebStorage")) {
        const std::string folder = home + "\\" + *web;
        const StoreLook quota = lookAtStoreFile(files_, folder, "QuotaManager");
        watch.again = watch.again || quota.state == StoreFile::held;
        if (quota.state == StoreFile::free)
            tasks.emplace_back(SiteStoreKind::chromiumQuotaManager, folder + "\\" + quota.name,
                               TOriginNaming::onStorageKey, FolderToGo{home, *web, {}});
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
                              const TKeepSites& kept, platform::Cancellation& cancellation, std::vector<TaskDone>& done)
{
    using platform::SiteStoreKind;
    for (const StoreTask& task : tasks) {
        TaskDone& result = done.emplace_back();
        result.tryAgain = true;
        if (cancellation.Cancelled())
            return;
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
        if (opening.store)
            for (const platform::SiteOriginName& name : opening.store->Origins()) {
                const std::optional<TSiteOrigin> origin = ReadSiteOrigin(task.naming, name);
                allGo = allGo && goes(kept, origin);
                if (origin)
                    origins.push_back(*origin);
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
        // A change of the kept sites comes before the delete, or after it has lasted.
        platform::SiteDeletion deletion;
        cancellation.RunUnlessCancelled([&] {
            deletion = opening.store->Delete(
                [&](const platform::SiteOriginName& name) { return goes(kept, ReadSiteOrigin(task.naming, name)); });
            return deletion.ok;
        });
        result.done = deletion.ok;
        result.tryAgain = !deletion.ok;
        result.hosts.clear();
        for (const platform::SiteOriginName& name : deletion.gone)
            if (const std::optional<TSiteOrigin> origin = ReadSiteOrigin(task.naming, name))
                result.hosts.push_back(origin->Host);
        result.buckets = std::move(deletion.buckets);
    }
}

void TSiteDataMunch::take(Watch& watch)
{
    const Job job = std::move(*watch.job);
    watch.job.reset();
    const std::vector<TaskDone>& done = *job.done;
    for (std::size_t i = 0; i < job.tasks.size(); ++i) {
        const StoreTask& task = job.tasks[i];
        if (i >= done.size() || !done[i].done) {
            watch.again = watch.again || i >= done.size() || done[i].tryAgain;
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
        // A bucket's data lies in the folder of its id, beside the store: one listing finds them all.
        const std::set<std::string> buckets(done[i].buckets.begin(), done[i].buckets.end());
        if (buckets.empty())
            continue;
        const std::string folder = task.whole->parent + "\\" + task.whole->name;
        files_.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
            if ((entry.attributes & platform::faDirectory) != 0 && platform::isOwnEntry(&codePage_, entry) &&
                buckets.count(entry.name) != 0)
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
    std::vector<std::string> first;
    for (const std::string& host : hosts)
        if (watch.counted.insert(platform::asciiLowered(host)).second)
            first.push_back(host);
    if (first.empty())
        return;
    munched_ = true;
    if (OnMunched)
        OnMunched(first.size(), first);
}
