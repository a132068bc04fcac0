// The munch of one cookie database through the service, as the munch cycle
// runs it: open, slices of 1,000 rows with a kept site among them, commit.
// Built natively and for Windows (run under Wine) from the same source by
// bench/cookie_munch.sh; prints the open, the slices, the commit, and the
// longest slice (the longest the tray menu waits to open meanwhile).
//   nomblet_cookiedb FOLDER ROWS
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

// A Chromium store of rows cookies of 1,000 sites, one row in ten of the kept one.
bool makeStore(const std::string& path, int rows)
{
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return false;
    sqlite3_exec(db,
                 "PRAGMA secure_delete=ON; CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT "
                 "NULL, top_frame_site_key TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value "
                 "BLOB NOT NULL, path TEXT NOT NULL, expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, "
                 "is_httponly INTEGER NOT NULL, last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, "
                 "is_persistent INTEGER NOT NULL, priority INTEGER NOT NULL, samesite INTEGER NOT NULL, "
                 "source_scheme INTEGER NOT NULL, source_port INTEGER NOT NULL, last_update_utc INTEGER NOT NULL, "
                 "source_type INTEGER NOT NULL, has_cross_site_ancestor INTEGER NOT NULL);"
                 "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, "
                 "has_cross_site_ancestor, name, path, source_scheme, source_port); BEGIN",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO cookies VALUES (?1, ?2, '', 'c' || ?1, hex(randomblob(24)), x'', '/', "
                       "13400000000000000, 1, 0, 1, 1, 1, 1, -1, 2, 443, 1, 0, 0)",
                       -1, &insert, nullptr);
    for (int i = 0; i < rows; ++i) {
        const std::string host = i % 10 == 0 ? ".kept.example" : ".site" + std::to_string(i % 1000) + ".example";
        sqlite3_bind_int64(insert, 1, i);
        sqlite3_bind_text(insert, 2, host.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool ok = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: nomblet_cookiedb FOLDER ROWS\n");
        return 2;
    }
    platform::SqliteCookieDatabases databases;
    const std::string path = std::string(argv[1]) + "/Cookies";
    const int rows = std::atoi(argv[2]);
    if (!makeStore(path, rows)) {
        std::fprintf(stderr, "cannot make %s\n", path.c_str());
        return 1;
    }
    const auto start = Clock::now();
    platform::CookieStoreOpening opening = databases.Open(path, platform::CookieTable::chromium);
    const double opened = msSince(start);
    if (!opening.store)
        return 1;
    double longest = 0;
    std::uint64_t deleted = 0;
    int slices = 0;
    for (bool done = false; !done; ++slices) {
        const auto sliceStart = Clock::now();
        platform::CookieSlice slice =
            opening.store->DeleteSlice([](std::string_view host) { return host == ".kept.example"; }, 1000);
        const double took = msSince(sliceStart);
        longest = took > longest ? took : longest;
        if (!slice.ok)
            return 1;
        for (const auto& host : slice.deleted)
            deleted += host.rows;
        done = slice.done;
    }
    const auto commitStart = Clock::now();
    const bool committed = opening.store->Commit();
    opening.store.reset();
    const double commit = msSince(commitStart);
    std::printf("rows %d deleted %llu slices %d: open %.1f ms, total %.1f ms, longest slice %.1f ms, commit and "
                "close %.1f ms%s\n",
                rows, static_cast<unsigned long long>(deleted), slices, opened, msSince(start), longest, commit,
                committed ? "" : " (commit failed)");
    return committed ? 0 : 1;
}
