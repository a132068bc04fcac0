// The cookie-database service on SQLite.
#include "platform/sqlite/SqliteCookieDatabase.h"

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <utility>

#ifdef _WIN32
// The engine's own conversion from the ANSI code page, which its header leaves out.
extern "C" char* sqlite3_win32_mbcs_to_utf8_v2(const char* text, int useAnsi);
#endif

namespace platform {
namespace {

struct TableNames {
    const char* table;
    const char* host;
};

TableNames namesOf(CookieTable table)
{
    return table == CookieTable::mozilla ? TableNames{"moz_cookies", "host"} : TableNames{"cookies", "host_key"};
}

// Whether an error says the file is no cookie database: not a database, damaged,
// or without the cookie table and its host column (a statement naming them
// fails to prepare). Anything else (busy, locked, a read or open that failed,
// no memory) says only that the store cannot be had now.
bool saysNotCookies(int code)
{
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_ERROR:
        return true;
    default:
        return false;
    }
}

std::string textOf(sqlite3_value* value)
{
    const unsigned char* text = sqlite3_value_text(value);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_value_bytes(value)) : std::string();
}

class Statement {
public:
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { finalize(); }
    void finalize()
    {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
    int prepare(sqlite3* db, const std::string& sql)
    {
        return sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &stmt_, nullptr);
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteCookieStore final : public ICookieStore {
public:
    ~SqliteCookieStore() override
    {
        // A connection closes only once its statements are gone.
        nextSlice_.finalize();
        deleteSlice_.finalize();
        if (db_) {
            if (inTransaction_)
                sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(db_);
        }
    }

    // Opens and takes the write transaction; the state says how it went.
    CookieStoreState open(const std::string& path, CookieTable table)
    {
        const TableNames names = namesOf(table);
        int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            return CookieStoreState::busy;
        // Only the rows asked for change: no trigger of the file's own runs, and
        // its schema calls none of the program's functions.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        // Deleted rows are overwritten in the file, not only unlinked; the page
        // cache stays within 1 MiB; another program's lock is never waited for.
        rc = sqlite3_exec(db_, "PRAGMA secure_delete=ON; PRAGMA cache_size=-1024", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return saysNotCookies(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        rc = sqlite3_create_function(db_, "nomblet_keeps", 1, SQLITE_UTF8 | SQLITE_DIRECTONLY, this, &keepsHost,
                                     nullptr, nullptr);
        if (rc != SQLITE_OK)
            return CookieStoreState::busy;
        rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return saysNotCookies(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        inTransaction_ = true;
        // A damaged file is no store to change row by row.
        Statement check;
        rc = check.prepare(db_, "PRAGMA quick_check(1)");
        if (rc == SQLITE_OK && (rc = sqlite3_step(check.get())) == SQLITE_ROW) {
            const unsigned char* verdict = sqlite3_column_text(check.get(), 0);
            if (!verdict || std::string_view(reinterpret_cast<const char*>(verdict)) != "ok")
                return CookieStoreState::notCookies;
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK)
            return saysNotCookies(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;

        const std::string table_ = std::string("\"") + names.table + "\"";
        const std::string host = std::string("\"") + names.host + "\"";
        Statement hosts;
        rc = hosts.prepare(db_, "SELECT " + host + ", count(*) FROM " + table_ + " GROUP BY 1");
        if (rc == SQLITE_OK)
            rc = nextSlice_.prepare(db_, "SELECT rowid FROM " + table_ + " WHERE rowid >= ?1 ORDER BY rowid LIMIT 1 OFFSET ?2");
        if (rc == SQLITE_OK)
            rc = deleteSlice_.prepare(db_, "DELETE FROM " + table_ + " WHERE rowid >= ?1 AND (?2 IS NULL OR rowid < ?2) "
                                           "AND NOT nomblet_keeps(" + host + ")");
        if (rc != SQLITE_OK)
            return saysNotCookies(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        while ((rc = sqlite3_step(hosts.get())) == SQLITE_ROW)
            hosts_.push_back({textOf(sqlite3_column_value(hosts.get(), 0)),
                              static_cast<std::uint64_t>(sqlite3_column_int64(hosts.get(), 1))});
        if (rc != SQLITE_DONE)
            return saysNotCookies(rc) ? CookieStoreState::notCookies : CookieStoreState::busy;
        return CookieStoreState::opened;
    }

    const std::vector<CookieHostRows>& Hosts() const override { return hosts_; }

    CookieSlice DeleteSlice(const std::function<bool(std::string_view host)>& keeps, std::uint32_t rows) override
    {
        CookieSlice slice;
        if (!inTransaction_ || failed_)
            return slice;
        if (done_) {
            slice.ok = slice.done = true;
            return slice;
        }
        // The slice runs from the first row not yet looked at up to the row
        // that starts the next one, or to the end when there is none.
        sqlite3_stmt* next = nextSlice_.get();
        sqlite3_bind_int64(next, 1, from_);
        sqlite3_bind_int64(next, 2, rows);
        const int rc = sqlite3_step(next);
        const bool last = rc == SQLITE_DONE;
        const sqlite3_int64 bound = rc == SQLITE_ROW ? sqlite3_column_int64(next, 0) : 0;
        sqlite3_reset(next);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return fail();
        sqlite3_stmt* del = deleteSlice_.get();
        sqlite3_bind_int64(del, 1, from_);
        if (last)
            sqlite3_bind_null(del, 2);
        else
            sqlite3_bind_int64(del, 2, bound);
        keeps_ = &keeps;
        deleted_.clear();
        const int deleteRc = sqlite3_step(del);
        sqlite3_reset(del);
        keeps_ = nullptr;
        if (deleteRc != SQLITE_DONE)
            return fail();
        for (auto& [host, count] : deleted_)
            slice.deleted.push_back({host, count});
        deleted_.clear();
        from_ = bound;
        done_ = last;
        slice.ok = true;
        slice.done = done_;
        return slice;
    }

    bool Commit() override
    {
        if (!inTransaction_ || failed_)
            return false;
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            return false; // still open: rolled back when the store is dropped
        inTransaction_ = false;
        return true;
    }

private:
    CookieSlice fail()
    {
        failed_ = true;
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        inTransaction_ = false;
        return {};
    }

    // nomblet_keeps(host): the caller's verdict, noting each host it lets go.
    static void keepsHost(sqlite3_context* context, int, sqlite3_value** args)
    {
        auto* self = static_cast<SqliteCookieStore*>(sqlite3_user_data(context));
        if (!self->keeps_) {
            sqlite3_result_error(context, "no munch under way", -1);
            return;
        }
        try {
            std::string host = textOf(args[0]);
            const bool kept = (*self->keeps_)(host);
            if (!kept)
                ++self->deleted_[std::move(host)];
            sqlite3_result_int(context, kept ? 1 : 0);
        } catch (...) {
            // Nothing unwinds through the engine: the slice fails and all is rolled back.
            sqlite3_result_error(context, "the host could not be judged", -1);
        }
    }

    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
    bool failed_ = false;
    bool done_ = false;
    sqlite3_int64 from_ = INT64_MIN; // the first row not yet looked at
    std::vector<CookieHostRows> hosts_;
    Statement nextSlice_;
    Statement deleteSlice_;
    const std::function<bool(std::string_view)>* keeps_ = nullptr;
    std::map<std::string, std::uint64_t> deleted_;
};

} // namespace

SqliteCookieDatabases::SqliteCookieDatabases()
{
    sqlite3_initialize();
}

CookieStoreOpening SqliteCookieDatabases::Open(const std::string& path, CookieTable table)
{
    CookieStoreOpening opening;
#ifdef _WIN32
    // The program's paths are ANSI text; the engine takes UTF-8.
    char* utf8 = sqlite3_win32_mbcs_to_utf8_v2(path.c_str(), 1);
    if (!utf8)
        return opening;
    const std::string enginePath = utf8;
    sqlite3_free(utf8);
#else
    const std::string& enginePath = path;
#endif
    auto store = std::make_unique<SqliteCookieStore>();
    opening.state = store->open(enginePath, table);
    if (opening.state == CookieStoreState::opened)
        opening.store = std::move(store);
    return opening;
}

} // namespace platform
