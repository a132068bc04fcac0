// Site-data stores as entries in memory.
#include "support/FakeSiteStores.h"

#include "platform/PathText.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool isLevelDb(platform::SiteStoreKind kind)
{
    return kind == platform::SiteStoreKind::chromiumLocalStorage ||
           kind == platform::SiteStoreKind::chromiumSessionStorage ||
           kind == platform::SiteStoreKind::chromiumServiceWorker;
}

} // namespace

class FakeSiteStores::OpenStore final : public platform::ISiteStore {
public:
    OpenStore(FakeSiteStores& owner, Store& store) : owner_(owner), store_(store)
    {
        ++owner_.open_;
        if (store.kind != platform::SiteStoreKind::mozillaQuotaCache)
            for (const Entry& entry : store.entries)
                if (std::find(origins_.begin(), origins_.end(), entry.origin) == origins_.end())
                    origins_.push_back(entry.origin);
    }
    ~OpenStore() override { --owner_.open_; }

    const std::vector<platform::SiteOriginName>& Origins() const override { return origins_; }

    platform::SiteDeletion Delete(const std::function<bool(const platform::SiteOriginName&)>& goes) override
    {
        platform::SiteDeletion deletion;
        if (owner_.record("Delete") || deleted_ || store_.kind == platform::SiteStoreKind::chromiumServiceWorker)
            return deletion;
        deleted_ = true;
        deletion.ok = true;
        if (store_.kind == platform::SiteStoreKind::mozillaQuotaCache) {
            store_.cacheValid = false;
            return deletion;
        }
        std::vector<Entry> left;
        for (const Entry& entry : store_.entries) {
            if (!goes(entry.origin)) {
                left.push_back(entry);
                continue;
            }
            if (std::find(deletion.gone.begin(), deletion.gone.end(), entry.origin) == deletion.gone.end())
                deletion.gone.push_back(entry.origin);
            if (store_.kind == platform::SiteStoreKind::chromiumQuotaManager)
                deletion.buckets.push_back(entry.value);
        }
        store_.entries = std::move(left);
        return deletion;
    }

private:
    FakeSiteStores& owner_;
    Store& store_;
    std::vector<platform::SiteOriginName> origins_;
    bool deleted_ = false;
};

platform::SiteStoreOpening FakeSiteStores::Open(platform::SiteStoreKind kind, const std::string& path)
{
    platform::SiteStoreOpening opening;
    if (record("Open", {std::to_string(static_cast<int>(kind)), path}) || !files_.exists(path))
        return opening;
    auto it = stores_.find(platform::asciiLowered(path));
    if (it != stores_.end() && it->second.busy)
        return opening;
    if (it == stores_.end() || it->second.kind != kind) {
        opening.state = platform::SiteStoreState::notStore;
        return opening;
    }
    opening.state = platform::SiteStoreState::opened;
    opening.store = std::make_unique<OpenStore>(*this, it->second);
    return opening;
}

void FakeSiteStores::addStore(platform::SiteStoreKind kind, const std::string& path, std::vector<Entry> entries)
{
    if (!files_.exists(path)) {
        if (isLevelDb(kind))
            files_.addFile(path + "\\CURRENT", "MANIFEST-000001\n");
        else
            files_.addFile(path, "SQLite format 3");
    }
    stores_[platform::asciiLowered(path)] = {kind, std::move(entries)};
}

void FakeSiteStores::setBusy(const std::string& path, bool busy)
{
    auto it = stores_.find(platform::asciiLowered(path));
    if (it == stores_.end())
        throw std::logic_error("no such store: " + path);
    it->second.busy = busy;
}

std::vector<FakeSiteStores::Entry> FakeSiteStores::entries(const std::string& path) const
{
    const Store* store = find(path);
    return store ? store->entries : std::vector<Entry>{};
}

bool FakeSiteStores::cacheValid(const std::string& path) const
{
    const Store* store = find(path);
    return store && store->cacheValid;
}

const FakeSiteStores::Store* FakeSiteStores::find(const std::string& path) const
{
    auto it = stores_.find(platform::asciiLowered(path));
    return it == stores_.end() ? nullptr : &it->second;
}
