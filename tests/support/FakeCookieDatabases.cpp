// Cookie databases as rows in memory.
#include "support/FakeCookieDatabases.h"

#include "platform/PathText.h"

#include <algorithm>
#include <stdexcept>

class FakeCookieDatabases::OpenStore final : public platform::ICookieStore {
public:
    OpenStore(FakeCookieDatabases& owner, Store& store) : owner_(owner), store_(store), rows_(store.rows)
    {
        ++owner_.open_;
        for (const Row& row : rows_) {
            auto it = std::find_if(hosts_.begin(), hosts_.end(), [&](const auto& h) { return h.host == row.host; });
            if (it == hosts_.end())
                hosts_.push_back({row.host, 1});
            else
                ++it->rows;
        }
    }
    ~OpenStore() override { --owner_.open_; }

    const std::vector<platform::CookieHostRows>& Hosts() const override { return hosts_; }

    platform::CookieSlice DeleteSlice(const std::function<bool(std::string_view)>& keeps,
                                      std::uint32_t rows) override
    {
        platform::CookieSlice slice;
        if (owner_.record("DeleteSlice", {std::to_string(rows)}) || failed_) {
            failed_ = true;
            return slice;
        }
        std::size_t end = std::min(next_ + rows, rows_.size());
        for (std::size_t i = next_; i < end;) {
            if (keeps(rows_[i].host)) {
                ++i;
                continue;
            }
            auto it = std::find_if(slice.deleted.begin(), slice.deleted.end(),
                                   [&](const auto& h) { return h.host == rows_[i].host; });
            if (it == slice.deleted.end())
                slice.deleted.push_back({rows_[i].host, 1});
            else
                ++it->rows;
            rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
            --end;
        }
        next_ = end;
        slice.ok = true;
        slice.done = next_ == rows_.size();
        return slice;
    }

    bool Commit() override
    {
        if (owner_.record("Commit") || failed_) {
            failed_ = true;
            return false;
        }
        store_.rows = rows_;
        return true;
    }

private:
    FakeCookieDatabases& owner_;
    Store& store_;
    std::vector<Row> rows_; // as this transaction sees them
    std::vector<platform::CookieHostRows> hosts_;
    std::size_t next_ = 0;
    bool failed_ = false;
};

platform::CookieStoreOpening FakeCookieDatabases::Open(const std::string& path, platform::CookieTable table)
{
    platform::CookieStoreOpening opening;
    if (record("Open", {path, table == platform::CookieTable::mozilla ? "mozilla" : "chromium"}) ||
        !files_.exists(path))
        return opening;
    Store* store = find(path);
    if (store && store->busy)
        return opening;
    if (!store || store->table != table) {
        opening.state = platform::CookieStoreState::notCookies;
        return opening;
    }
    opening.state = platform::CookieStoreState::opened;
    opening.store = std::make_unique<OpenStore>(*this, *store);
    return opening;
}

void FakeCookieDatabases::addStore(const std::string& path, platform::CookieTable table, std::vector<Row> rows)
{
    if (!files_.exists(path))
        files_.addFile(path, "SQLite format 3");
    stores_[platform::asciiLowered(path)] = {table, std::move(rows)};
}

void FakeCookieDatabases::setBusy(const std::string& path, bool busy)
{
    Store* store = find(path);
    if (!store)
        throw std::logic_error("no such store: " + path);
    store->busy = busy;
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
