// Mozilla's cookie permissions read through SQLite, read-only: nothing is made
// beside the file, and a file its browser holds is busy.
#include "platform/sqlite/SqliteCookieDatabase.h"

#include "platform/sqlite/SqliteConnection.h"
#include "platform/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

using namespace platform::sqlite;

bool fileExists(sqlite3_vfs* vfs, const std::string& path)
{
    int exists = 0;
    return vfs->xAccess(vfs, path.c_str(), SQLITE_ACCESS_EXISTS, &exists) == SQLITE_OK && exists != 0;
}

// Whether the database's header says write-ahead mode (its read version, byte
// 18, is 2), read through the engine's own file layer; a file that cannot be
// read says no. The engine itself, opening such a database read-only without
// its log, would make the log and its shared-memory file and leave them.
bool headerSaysWal(sqlite3_vfs* vfs, const std::string& path)
{
    sqlite3_filename name = sqlite3_create_filename(path.c_str(), "", "", 0, nullptr);
    if (!name)
        return false;
    std::vector<std::max_align_t> space(static_cast<std::size_t>(vfs->szOsFile) / sizeof(std::max_align_t) + 1);
    auto* file = reinterpret_cast<sqlite3_file*>(space.data());
    int flags = 0;
    unsigned char header[20] = {};
    bool wal = false;
    if (vfs->xOpen(vfs, name, file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &flags) == SQLITE_OK)
        wal = file->pMethods->xRead(file, header, sizeof header, 0) == SQLITE_OK && header[18] == 2;
    if (file->pMethods)
        file->pMethods->xClose(file);
    sqlite3_free_filename(name);
    return wal;
}

// A path as the path of a "file:" URI: the characters a URI gives a meaning escaped.
std::string uriEscaped(const std::string& path)
{
    std::string escaped;
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            constexpr char digits[] = "0123456789ABCDEF";
            escaped += '%';
            escaped += digits[static_cast<unsigned char>(c) >> 4];
            escaped += digits[c & 0xF];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

CookiePermissionsReading SqliteCookieDatabases::ReadCookiePermissions(const std::string& path)
{
    CookiePermissionsReading reading;
    const std::optional<std::string> enginePath = EnginePath(path);
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (!enginePath || !vfs)
        return reading;
    // Without its log a database in write-ahead mode is whole in its file, and
    // is read as one that cannot change (nothing made beside it); with its log
    // it is read through the shared memory the browser made, never made here.
    std::string uri = "?mode=ro";
    if (fileExists(vfs, *enginePath + "-wal")) {
        if (!fileExists(vfs, *enginePath + "-shm"))
            return reading;
    } else if (headerSaysWal(vfs, *enginePath)) {
        uri += "&immutable=1";
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(("file:" + uriEscaped(*enginePath) + uri).c_str(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
        sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
        Statement rows;
        rc = rows.prepare(db, "SELECT origin, permission, expireType, expireTime FROM moz_perms WHERE type = 'cookie'");
        if (rc == SQLITE_OK) {
            while ((rc = sqlite3_step(rows.get())) == SQLITE_ROW)
                reading.rows.push_back({textOf(sqlite3_column_value(rows.get(), 0)),
                                        sqlite3_column_int64(rows.get(), 1), sqlite3_column_int64(rows.get(), 2),
                                        sqlite3_column_int64(rows.get(), 3)});
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
    }
    sqlite3_close(db);
    if (rc == SQLITE_OK)
        reading.state = CookieStoreState::opened;
    else
        reading = {saysNotTheStore(rc) ? CookieStoreState::notCookies : CookieStoreState::busy, {}};
    return reading;
}

} // namespace platform
