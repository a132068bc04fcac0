// One connection to a browser's existing SQLite store.
#include "platform/sqlite/SqliteConnection.h"

#include <string_view>

#ifdef _WIN32
// The engine's own conversion from the ANSI code page, which its header leaves out.
extern "C" char* sqlite3_win32_mbcs_to_utf8_v2(const char* text, int useAnsi);
#endif

namespace platform::sqlite {

bool saysNotTheStore(int code)
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

Opened Connection::open(const std::string& path)
{
    const auto verdict = [](int rc) { return saysNotTheStore(rc) ? Opened::damaged : Opened::busy; };
#ifdef _WIN32
    // The program's paths are ANSI text; the engine takes UTF-8.
    char* utf8 = sqlite3_win32_mbcs_to_utf8_v2(path.c_str(), 1);
    if (!utf8)
        return Opened::busy;
    const std::string enginePath = utf8;
    sqlite3_free(utf8);
#else
    const std::string& enginePath = path;
#endif
    if (sqlite3_open_v2(enginePath.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return Opened::busy;
    // Only the rows asked for change: no trigger of the file's own runs, and
    // its schema calls none of the program's functions.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    // Deleted rows are overwritten in the file, not only unlinked; another
    // program's lock is never waited for.
    int rc = sqlite3_exec(db_, "PRAGMA secure_delete=ON; PRAGMA cache_size=-1024", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return verdict(rc);
    inTransaction_ = true;
    // A damaged file is no store to change row by row.
    Statement check;
    rc = check.prepare(db_, "PRAGMA quick_check(1)");
    if (rc == SQLITE_OK && (rc = sqlite3_step(check.get())) == SQLITE_ROW) {
        const unsigned char* answer = sqlite3_column_text(check.get(), 0);
        if (!answer || std::string_view(reinterpret_cast<const char*>(answer)) != "ok")
            return Opened::damaged;
        rc = SQLITE_OK;
    }
    return rc == SQLITE_OK ? Opened::yes : verdict(rc);
}

bool Connection::commit()
{
    if (!inTransaction_ || sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    inTransaction_ = false;
    return true;
}

void Connection::close()
{
    if (!db_)
        return;
    if (inTransaction_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    inTransaction_ = false;
    sqlite3_close(db_);
    db_ = nullptr;
}

} // namespace platform::sqlite
