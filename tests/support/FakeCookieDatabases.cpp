// Cookie databases as rows in memory.
#include "support/FakeCookieDatabases.h"

#include "platform/PathText.h"

#include <algorithm>
#include <stdexcept>

class FakeCookieDatabases::OpenStore final : public platform::ICookieStore {
public:
    OpenStore(FakeCookieDatabases& owner, Store& store, platform::Cancellation& cancellation)
        : owner_(owner), store_(store), cancellation_(cancellation), rows_(store.rows), unchangeable_(store.unchangeable)
    {
        ++owner_.open_;
        for (const Row& row : rows_) {
            auto it = std::find_if(hosts_.begin(), hosts_.end(), [&](const auto& h) { return h.host == row.host; });
            if (it == hosts_.end())
                hosts_.push_back({row.host, 1, row.lastUsed});
            else {
                ++it->rows;
                it->lastUsed = std::max(it->lastUsed, row.lastUsed);
            }
        }
    }
    ~OpenStore() override { --owner_.open_; }

    const std::vector<platform::CookieHostRows>& Hosts() const override { return hosts_; }

    platform::CookieMunchOutcome Munch(const std::function<bool(std::string_view)>& keeps) override
    {
        if (owner_.record("Munch") || done_)
            return platform::CookieMunchOutcome::failed;
        done_ = true;
        if (owner_.during)
            owner_.during("Munch");
        if (unchangeable_)
            return platform::CookieMunchOutcome::unchangeable;
        if (store_.failing)
            return platform::CookieMunchOutcome::failed;
        std::erase_if(rows_, [&](const Row& row) { return !keeps(row.host); });
        const bool committed = cancellation_.RunUnlessCancelled([this] {
            if (owner_.during)
                owner_.during("Commit");
            if (owner_.record("Commit"))
                return false;
            store_.rows = rows_;
            return true;
        });
        if (committed)
            return platform::CookieMunchOutcome::munched;
        return cancellation_.Cancelled() ? platform::CookieMunchOutcome::cancelled : platform::CookieMunchOutcome::failed;
    }

private:
    FakeCookieDatabases& owner_;
    Store& store_;
    platform::Cancellation& cancellation_;
    std::vector<Row> rows_; // as this transaction sees them
    std::vector<platform::CookieHostRows> hosts_;
    bool unchangeable_; // as the store was when opened
    bool done_ = false;
};

platform::CookieStoreOpening FakeCookieDatabases::Open(const std::string& path, platform::CookieTable table,
                                                      platform::Cancellation& cancellation)
{
    platform::CookieStoreOpening opening;
    if (record("Open", {path, table == platform::CookieTable::mozilla ? "mozilla" : "chromium"}) ||
        !files_.exists(path) || cancellation.Cancelled())
        return opening;
    Store* store = find(path);
    if (store && store->busy)
        return opening;
    if (!store || store->permissions || store->table != table) {
        opening.state = platform::CookieStoreState::notCookies;
        return opening;
    }
    opening.state = platform::CookieStoreState::opened;
    opening.store = std::make_unique<OpenStore>(*this, *store, cancellation);
    return opening;
}

void FakeCookieDatabases::addStore(const std::string& path, platform::CookieTable table, std::vector<Row> rows)
{
    if (!files_.exists(path))
        files_.addFile(path, "SQLite format 3");
    stores_[platform::asciiLowered(path)] = {table, std::move(rows)};
}

platform::CookiePermissionsReading FakeCookieDatabases::ReadCookiePermissions(const std::string& path)
{
    platform::CookiePermissionsReading reading;
    if (record("ReadCookiePermissions", {path}) || !files_.exists(path))
        return reading;
    const Store* store = find(path);
    if (store && store->busy)
        return reading;
    reading.state = store && store->permissions ? platform::CookieStoreState::opened
                                                : platform::CookieStoreState::notCookies;
    if (store && store->permissions)
        reading.rows = *store->permissions;
    return reading;
}

void FakeCookieDatabases::addPermissions(const std::string& path, std::vector<platform::CookiePermission> rows)
{
    if (!files_.exists(path))
        files_.addFile(path, "SQLite format 3");
    stores_[platform::asciiLowered(path)] = {platform::CookieTable::mozilla, {}, false, false, false, std::move(rows)};
}

void FakeCookieDatabases::setBusy(const std::string& path, bool busy)
{
    Store* store = find(path);
    if (!store)
        throw std::logic_error("no such store: " + path);
    store->busy = busy;
}

void FakeCookieDatabases::setUnchangeable(const std::string& path)
{
    Store* store = find(path);
    if (!store)
        throw std::logic_error("no such store: " + path);
    store->unchangeable = true;
}

void FakeCookieDatabases::setFailing(const std::string& path, bool failing)
{
    Store* store = find(path);
    if (!store)
        throw std::logic_error("no such store: " + path);
    store->failing = failing;
}

std::vector<FakeCookieDatabases::Row> FakeCookieDatabases::rows(const std::string& path) const
{
    auto it = stores_.find(platform::asciiLowered(path));
    return it == stores_.end() ? std::vector<Row>{} : it->second.rows;
}

FakeCookieDatabases::Store* FakeCookieDatabases::find(const std::string& path)
{
    auto it = stores_.find(platform::asciiLowered(path));
    return it == stores_.end() ? nullptr : &it->second;
}
