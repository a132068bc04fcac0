// Real cookie databases made and read from outside the service, with SQLite
// itself, in the browsers' own table shapes; and the contract's world over
// them, in a folder its subclass names. Paths are UTF-8 (ASCII in the tests).
#pragma once

#include "contracts/CookieDatabaseContract.h"
#include "platform/sqlite/SqliteCookieDatabase.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace sqlite_stores {

struct Db {
    sqlite3* db = nullptr;
    explicit Db(const std::string& path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        sqlite3_initialize();
        if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
    }
    ~Db() { sqlite3_close(db); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;
    void exec(const std::string& sql) const
    {
        char* error = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            std::string text = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(sql.substr(0, 60) + ": " + text);
        }
    }
    // The rows of a query's first two columns as text.
    CookieRows query(const std::string& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db));
        CookieRows rows;
        int rc;
        auto text = [&](int column) {
            const auto* t = sqlite3_column_text(stmt, column);
            return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(stmt, column))
                     : std::string();
        };
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            rows.emplace_back(text(0), sqlite3_column_count(stmt) > 1 ? text(1) : std::string());
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(sql + ": " + sqlite3_errstr(rc));
        return rows;
    }
};

inline const char* hostColumn(platform::CookieTable table)
{
    return table == platform::CookieTable::mozilla ? "host" : "host_key";
}
inline const char* tableName(platform::CookieTable table)
{
    return table == platform::CookieTable::mozilla ? "moz_cookies" : "cookies";
}

// The browsers' own table shapes, as today's Firefox and Chromium make them.
inline void createTable(const Db& db, platform::CookieTable table)
{
    if (table == platform::CookieTable::mozilla)
        db.exec("CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', "
                "name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, "
                "creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, "
                "sameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER "
                "DEFAULT 0, CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes))");
    else
        db.exec("CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);"
                "CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL, top_frame_site_key "
                "TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT "
                "NOT NULL, expires_utc INTEGER NOT NULL, is_secure INTEGER NOT NULL, is_httponly INTEGER NOT "
                "NULL, last_access_utc INTEGER NOT NULL, has_expires INTEGER NOT NULL, is_persistent INTEGER NOT "
                "NULL, priority INTEGER NOT NULL, samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL, "
                "source_port INTEGER NOT NULL, last_update_utc INTEGER NOT NULL, source_type INTEGER NOT NULL, "
                "has_cross_site_ancestor INTEGER NOT NULL);"
                "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, "
                "has_cross_site_ancestor, name, path, source_scheme, source_port)");
}

inline void insertRows(const Db& db, platform::CookieTable table, const CookieRows& rows)
{
    const std::string sql =
        table == platform::CookieTable::mozilla
            ? "INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, creationTime, isSecure, "
              "isHttpOnly) VALUES ('c' || ?3, ?2, ?1, '/', 1900000000, ?3, ?3, 0, 0)"
            : "INSERT INTO cookies VALUES (?3, ?1, '', 'c' || ?3, ?2, x'', '/', 13400000000000000, 0, 0, ?3, 1, "
              "1, 1, -1, 1, 80, 1, 0, 0)";
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db.db, sql.c_str(), -1, &stmt, nullptr);
    const bool own = sqlite3_get_autocommit(db.db) != 0;
    if (own)
        db.exec("BEGIN");
    sqlite3_int64 n = 0;
    for (const auto& [host, value] : rows) {
        sqlite3_bind_text(stmt, 1, host.data(), static_cast<int>(host.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(stmt, 3, ++n);
        const int rc = sqlite3_step(stmt);
        sqlite3_reset(stmt);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(stmt);
            throw std::runtime_error(std::string("insert: ") + sqlite3_errmsg(db.db));
        }
    }
    sqlite3_finalize(stmt);
    if (own)
        db.exec("COMMIT");
}

// A store of the browser's kind holding rows, in the journal mode given. As
// the browsers' own builds of SQLite do, it overwrites what it frees.
inline void makeStore(const std::string& path, platform::CookieTable table, const CookieRows& rows,
                      const char* journalMode = "DELETE")
{
    Db db(path);
    db.exec(std::string("PRAGMA secure_delete=ON; PRAGMA journal_mode=") + journalMode);
    createTable(db, table);
    insertRows(db, table, rows);
}

inline CookieRows rowsOf(const std::string& path, platform::CookieTable table)
{
    Db db(path, SQLITE_OPEN_READONLY);
    return db.query(std::string("SELECT ") + hostColumn(table) + ", value FROM " + tableName(table));
}

inline std::string integrityOf(const std::string& path)
{
    Db db(path, SQLITE_OPEN_READONLY);
    const CookieRows answer = db.query("PRAGMA integrity_check");
    return answer.size() == 1 ? answer.front().first : "several problems";
}

// A permissions database as Firefox makes it, in the journal mode given, with
// the cookie rows given and one row of another permission.
inline void makePermissions(const std::string& path, const std::vector<platform::CookiePermission>& rows,
                            const char* journalMode)
{
    Db db(path);
    db.exec(std::string("PRAGMA page_size=4096; PRAGMA journal_mode=") + journalMode);
    std::string sql = "CREATE TABLE moz_perms (id INTEGER PRIMARY KEY, origin TEXT, type TEXT, permission INTEGER, "
                      "expireType INTEGER, expireTime INTEGER, modificationTime INTEGER); INSERT INTO moz_perms "
                      "(origin, type, permission, expireType, expireTime, modificationTime) VALUES "
                      "('https://other.example', 'geo', 1, 0, 0, 1)";
    for (const platform::CookiePermission& row : rows)
        sql += ", ('" + row.origin + "', 'cookie', " + std::to_string(row.permission) + ", " +
               std::to_string(row.expireType) + ", " + std::to_string(row.expireTime) + ", 1)";
    db.exec(sql);
}

// The contract's world on SQLite, in the folder a subclass gives.
class SqliteWorld {
public:
    platform::ICookieDatabases& databases() { return databases_; }
    void makeStore(const std::string& path, platform::CookieTable table, const CookieRows& rows)
    {
        sqlite_stores::makeStore(path, table, rows);
        tables_.emplace_back(path, table);
    }
    void makeFile(const std::string& path, const std::string& bytes)
    {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    void makePermissions(const std::string& path, const std::vector<platform::CookiePermission>& rows,
                         const char* journalMode)
    {
        sqlite_stores::makePermissions(path, rows, journalMode);
    }
    // Its second page, the table's rows, overwritten.
    void damage(const std::string& path)
    {
        FILE* file = std::fopen(path.c_str(), "r+b");
        std::fseek(file, 4096, SEEK_SET);
        std::fwrite(std::string(4096, 'Z').data(), 1, 4096, file);
        std::fclose(file);
    }
    bool exists(const std::string& path) const
    {
        FILE* file = std::fopen(path.c_str(), "rb");
        return file && std::fclose(file) == 0;
    }
    // Another connection holds the write lock until the world ends, as a running browser does.
    void hold(const std::string& path)
    {
        held_.push_back(std::make_unique<Db>(path));
        held_.back()->exec("BEGIN EXCLUSIVE");
    }
    CookieRows rows(const std::string& path)
    {
        for (const auto& [p, table] : tables_)
            if (p == path)
                return rowsOf(path, table);
        return {};
    }

private:
    platform::SqliteCookieDatabases databases_;
    std::vector<std::pair<std::string, platform::CookieTable>> tables_;
    std::vector<std::unique_ptr<Db>> held_;
};

} // namespace sqlite_stores
