// The cookie-database service on SQLite.
#include "platform/sqlite/SqliteCookieDatabase.h"

#include "platform/sqlite/SqliteConnection.h"
#include "platform/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>

namespace platform {
namespace {

using namespace platform::sqlite;
using platform::sqlite::Opened;

struct TableNames {
    const char* table;
    const char* host;
    const char* lastUsed;
};

TableNames namesOf(CookieTable table)
{
    return table == CookieTable::mozilla ? TableNames{"moz_cookies", "host", "lastAccessed"}
                                         : TableNames{"cookies", "host_key", "last_access_utc"};
}

class SqliteCookieStore final : public ICookieStore {
public:
    explicit SqliteCookieStore(Cancellation& cancellation) : cancellation_(cancellation) {}

    // Opens and takes the write transaction; the state says how it went.
    CookieStoreState open(const std::string& path, CookieTable table)
    {
        const TableNames names = namesOf(table);
        table_ = quoted(names.table);
        host_ = quoted(names.host);
        // A store of up to 64 MiB is read from the disk once for its check, its
        // hosts and its munch (the cache goes with the connection, closed after
        // the munch); rows set aside stay in memory.
        switch (connection_.open(path, {"PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY", &cancellation_})) {
        case Opened::busy:
            return CookieStoreState::busy;
        case Opened::damaged:
            return CookieStoreState::notCookies;
        case Opened::yes:
            break;
        }
        db_ = connection_.db();
        int rc = sqlite3_create_function(db_, "nomblet_keeps", 1, SQLITE_UTF8 | SQLITE_DIRECTONLY, this, &keepsHost,
                                         nullptr, nullptr);
        if (rc != SQLITE_OK)
            return CookieStoreState::busy;

        // Each host's rows and latest use (where the table keeps one), in one
        // pass over the table in its own order.
        Statement rows;
        rc = rows.prepare(db_, "SELECT " + host_ + ", " + quoted(names.lastUsed) + " FROM " + table_);
        if (rc != SQLITE_OK)
            rc = rows.prepare(db_, "SELECT " + host_ + ", 0 FROM " + table_);
        if (rc != SQLITE_OK)
            return saysNotTheStore(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        std::unordered_map<std::string, std::size_t> hostAt;
        while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW) {
            std::string host = textOf(sqlite3_column_value(rows.get(), 0));
            const std::int64_t lastUsed = sqlite3_column_int64(rows.get(), 1);
            const auto [at, isNew] = hostAt.try_emplace(host, hosts_.size());
            if (isNew)
                hosts_.push_back({std::move(host), 0, lastUsed});
            CookieHostRows& counted = hosts_[at->second];
            ++counted.rows;
            counted.lastUsed = std::max(counted.lastUsed, lastUsed);
        }
        if (rc != SQLITE_DONE)
            return saysNotTheStore(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        return CookieStoreState::opened;
    }

    const std::vector<CookieHostRows>& Hosts() const override { return hosts_; }

    CookieMunchOutcome Munch(const std::function<bool(std::string_view host)>& keeps) override
    {
        if (munched_)
            return CookieMunchOutcome::failed;
        munched_ = true;
        std::uint64_t rows = 0, kept = 0;
        std::vector<const std::string*> keptHosts;
        try {
            for (const CookieHostRows& host : hosts_) {
                rows += host.rows;
                if (keeps(host.host)) {
                    kept += host.rows;
                    keptHosts.push_back(&host.host);
                }
            }
        } catch (...) {
            return rolledBack(CookieMunchOutcome::failed);
        }
        keeps_ = &keeps;
        // When most rows go, the few kept ones are set aside, the table emptied
        // in one statement (which frees its pages whole) and they are put back
        // with their row ids; otherwise the others go where they are.
        Ran ran{true, SQLITE_DONE};
        bool inPlace = kept * 2 >= rows;
        if (!inPlace) {
            const std::string columns = insertableColumns();
            inPlace = columns.empty() || !setAside(columns, keptHosts, kept, ran);
            if (!inPlace && ran.rc == SQLITE_DONE)
                ran = run(db_, "DELETE FROM main." + table_);
            if (!inPlace && ran.rc == SQLITE_DONE)
                ran = run(db_, "INSERT INTO main." + table_ + " (rowid, " + columns + ") SELECT nomblet_rowid, " +
                                   columns + " FROM temp.nomblet_kept ORDER BY nomblet_rowid");
        }
        if (inPlace && ran.rc == SQLITE_DONE)
            ran = run(db_, "DELETE FROM main." + table_ + " WHERE NOT nomblet_keeps(" + host_ + ")");
        keeps_ = nullptr;
        const bool committed =
            ran.rc == SQLITE_DONE && cancellation_.RunUnlessCancelled([this] { return connection_.commit(); });
        if (committed)
            return CookieMunchOutcome::munched;
        if (!ran.prepared && (ran.rc & 0xff) == SQLITE_ERROR)
            return rolledBack(CookieMunchOutcome::unchangeable);
        return rolledBack(cancellation_.Cancelled() ? CookieMunchOutcome::cancelled : CookieMunchOutcome::failed);
    }

private:
    CookieMunchOutcome rolledBack(CookieMunchOutcome outcome)
    {
        connection_.rollback();
        return outcome;
    }

    // Sets the kept rows aside in temp.nomblet_kept, found by their hosts
    // through the table's index. False when that cannot be done exactly (no
    // row ids, a host stored as other than text: the rows found are not all the
    // kept ones), and nothing is set aside; else true, and ran says how it went.
    bool setAside(const std::string& columns, const std::vector<const std::string*>& keptHosts, std::uint64_t kept,
                  Ran& ran)
    {
        ran = run(db_, "CREATE TEMP TABLE nomblet_kept_hosts (host TEXT PRIMARY KEY)");
        Statement add;
        if (ran.rc == SQLITE_DONE &&
            add.prepare(db_, "INSERT OR IGNORE INTO temp.nomblet_kept_hosts VALUES (?1)") != SQLITE_OK)
            ran.rc = SQLITE_ERROR;
        for (std::size_t i = 0; i < keptHosts.size() && ran.rc == SQLITE_DONE; ++i) {
            sqlite3_bind_text(add.get(), 1, keptHosts[i]->data(), static_cast<int>(keptHosts[i]->size()), SQLITE_STATIC);
            ran.rc = sqlite3_step(add.get());
            sqlite3_reset(add.get());
        }
        if (ran.rc == SQLITE_DONE)
            ran = run(db_, "CREATE TEMP TABLE nomblet_kept AS SELECT rowid AS nomblet_rowid, " + columns +
                               " FROM main." + table_ + " WHERE " + host_ + " IN temp.nomblet_kept_hosts");
        const bool made = ran.prepared; // a table without row ids gives none to set aside by
        if (!made)
            ran = {true, SQLITE_DONE};
        else if (ran.rc != SQLITE_DONE)
            return true;
        Statement count;
        if (made && count.prepare(db_, "SELECT count(*) FROM temp.nomblet_kept") == SQLITE_OK &&
            sqlite3_step(count.get()) == SQLITE_ROW && std::uint64_t(sqlite3_column_int64(count.get(), 0)) == kept)
            return true;
        count.finalize();
        if (made)
            ran = run(db_, "DROP TABLE temp.nomblet_kept");
        return false;
    }

    // The table's columns a row can be written with, quoted and joined (hidden
    // and generated ones are made by the engine); empty when not to be had.
    std::string insertableColumns()
    {
        Statement info;
        if (info.prepare(db_, "PRAGMA main.table_xinfo(" + table_ + ")") != SQLITE_OK)
            return {};
        constexpr int nameColumn = 1, hiddenColumn = 6;
        std::string columns;
        int rc;
        while ((rc = sqlite3_step(info.get())) == SQLITE_ROW)
            if (sqlite3_column_int(info.get(), hiddenColumn) == 0)
                columns += (columns.empty() ? "" : ", ") + quoted(textOf(sqlite3_column_value(info.get(), nameColumn)));
        return rc == SQLITE_DONE ? columns : std::string();
    }

    // nomblet_keeps(host): the caller's verdict.
    static void keepsHost(sqlite3_context* context, int, sqlite3_value** args)
    {
        auto* self = static_cast<SqliteCookieStore*>(sqlite3_user_data(context));
        if (!self->keeps_) {
            sqlite3_result_error(context, "no munch under way", -1);
            return;
        }
        try {
            sqlite3_result_int(context, (*self->keeps_)(textOf(args[0])) ? 1 : 0);
        } catch (...) {
            // Nothing unwinds through the engine: the munch fails and all is rolled back.
            sqlite3_result_error(context, "the host could not be judged", -1);
        }
    }

    Cancellation& cancellation_;
    Connection connection_;
    sqlite3* db_ = nullptr; // the connection's
    bool munched_ = false;
    std::string table_, host_; // quoted
    std::vector<CookieHostRows> hosts_;
    const std::function<bool(std::string_view)>* keeps_ = nullptr;
};

} // namespace

SqliteCookieDatabases::SqliteCookieDatabases()
{
    sqlite3_initialize();
}

CookieStoreOpening SqliteCookieDatabases::Open(const std::string& path, CookieTable table,
                                               Cancellation& cancellation)
{
    CookieStoreOpening opening;
    auto store = std::make_unique<SqliteCookieStore>(cancellation);
    opening.state = store->open(path, table);
    if (opening.state == CookieStoreState::opened)
        opening.store = std::move(store);
    return opening;
}

} // namespace platform
