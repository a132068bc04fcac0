// Cookie databases for the munch's measurements, built natively and for
// Windows (run under Wine) from the same source by bench/cookie_munch.sh:
//   nomblet_cookiedb make KIND PATH ROWS  a store shaped as the browser writes
//       it (its schema, page size and journal mode), ROWS cookies of 3,000
//       hosts interleaved, 10 of them of the kept site ".kept.example"
//   nomblet_cookiedb bare KIND PATH       the fastest munch on the same SQLite
//       build, by hand: the kept rows set aside, the table emptied with one
//       DELETE, put back with their row ids, secure_delete, one transaction
//   nomblet_cookiedb service KIND PATH    the program's own munch, through its
//       service (open, munch, close): its time is the time the store is held
// KIND is chromium or firefox; bare and service print their milliseconds.
#include "platform/sqlite/SqliteCookieDatabase.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

const char* keptHost = ".kept.example";

// The schemas of tests/data/browsers/ (Chromium 156, Firefox 153).
const char* chromiumSchema =
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
    "INSERT INTO meta VALUES ('mmap_status', '-1'), ('version', '24'), ('last_compatible_version', '24');"
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,top_frame_site_key TEXT NOT NULL,"
    "name TEXT NOT NULL,value TEXT NOT NULL,encrypted_value BLOB NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT "
    "NULL,is_secure INTEGER NOT NULL,is_httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL,has_expires "
    "INTEGER NOT NULL,is_persistent INTEGER NOT NULL,priority INTEGER NOT NULL,samesite INTEGER NOT "
    "NULL,source_scheme INTEGER NOT NULL,source_port INTEGER NOT NULL,last_update_utc INTEGER NOT NULL,source_type "
    "INTEGER NOT NULL,has_cross_site_ancestor INTEGER NOT NULL);"
    "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, has_cross_site_ancestor, "
    "name, path, source_scheme, source_port);";
const char* firefoxSchema =
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value "
    "TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, "
    "isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT "
    "0, isPartitionedAttributeSet INTEGER DEFAULT 0, updateTime INTEGER, CONSTRAINT moz_uniqueid UNIQUE (name, "
    "host, path, originAttributes));";

struct Kind {
    const char* table;
    const char* host;
    platform::CookieTable service;
};

bool kindOf(const std::string& name, Kind& kind)
{
    if (name == "chromium")
        kind = {"cookies", "host_key", platform::CookieTable::chromium};
    else if (name == "firefox")
        kind = {"moz_cookies", "host", platform::CookieTable::mozilla};
    else
        return false;
    return true;
}

bool exec(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", sql.substr(0, 60).c_str(), error ? error : "?");
    sqlite3_free(error);
    return false;
}

bool make(const std::string& kind, const std::string& path, int rows)
{
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return false;
    const bool chromium = kind == "chromium";
    bool ok = exec(db, chromium ? "PRAGMA secure_delete=ON; PRAGMA journal_mode=DELETE"
                                : "PRAGMA page_size=32768; PRAGMA secure_delete=ON; PRAGMA journal_mode=WAL") &&
              exec(db, chromium ? chromiumSchema : firefoxSchema) && exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       chromium ? "INSERT INTO cookies VALUES (?1, ?2, '', 'c' || ?1, '', randomblob(40 + ?1 % 60), "
                                  "'/', 13400000000000000, 1, 0, 13390000000000000 + ?1, 1, 1, 1, -1, 2, 443, ?1, 0, 0)"
                                : "INSERT INTO moz_cookies (originAttributes, name, value, host, path, expiry, "
                                  "lastAccessed, creationTime, isSecure, isHttpOnly, updateTime) VALUES ('', 'c' || ?1, "
                                  "hex(randomblob(10 + ?1 % 30)), ?2, '/', 1900000000, 1700000000000000 + ?1, ?1, 1, 0, "
                                  "?1)",
                       -1, &insert, nullptr);
    const int keptEvery = rows / 10 > 0 ? rows / 10 : 1;
    for (int i = 0; ok && i < rows; ++i) {
        const std::string host = i % keptEvery == keptEvery / 2 ? keptHost
                                                                : (i % 2 ? "." : "") + std::string("site") +
                                                                      std::to_string(i % 3000) + ".example";
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, host.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

bool bare(const Kind& kind, const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    std::string columns;
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, ("SELECT name FROM pragma_table_info('" + std::string(kind.table) + "')").c_str(), -1,
                       &info, nullptr);
    while (sqlite3_step(info) == SQLITE_ROW)
        columns += (columns.empty() ? "" : ", ") + std::string(reinterpret_cast<const char*>(sqlite3_column_text(info, 0)));
    sqlite3_finalize(info);
    const std::string table = kind.table;
    const bool ok =
        exec(db, "PRAGMA secure_delete=ON; PRAGMA temp_store=MEMORY; PRAGMA cache_size=-65536; BEGIN IMMEDIATE") &&
        exec(db, "CREATE TEMP TABLE kept AS SELECT rowid AS kept_rowid, " + columns + " FROM main." + table +
                     " WHERE " + kind.host + " = '" + keptHost + "'") &&
        exec(db, "DELETE FROM main." + table) &&
        exec(db, "INSERT INTO main." + table + " (rowid, " + columns + ") SELECT kept_rowid, " + columns +
                     " FROM temp.kept") &&
        exec(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

bool service(const Kind& kind, const std::string& path)
{
    platform::SqliteCookieDatabases databases;
    platform::Cancellation cancellation;
    platform::CookieStoreOpening opening = databases.Open(path, kind.service, cancellation);
    if (!opening.store)
        return false;
    return opening.store->Munch([](std::string_view host) { return host == keptHost; }) ==
           platform::CookieMunchOutcome::munched;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    Kind kind{};
    if (argc < 4 || !kindOf(argv[2], kind) || (mode == "make") != (argc == 5)) {
        std::fprintf(stderr, "usage: nomblet_cookiedb make|bare|service chromium|firefox PATH [ROWS]\n");
        return 2;
    }
    sqlite3_initialize();
    if (mode == "make")
        return make(argv[2], argv[3], std::atoi(argv[4])) ? 0 : 1;
    const auto start = Clock::now();
    const bool ok = mode == "bare" ? bare(kind, argv[3]) : mode == "service" && service(kind, argv[3]);
    std::printf("%.1f\n", msSince(start));
    return ok ? 0 : 1;
}
