// One connection to a browser's existing SQLite store, opened the program's
// way: read-write, never created, the write transaction taken at once without
// waiting for another program's lock, the file checked, none of its triggers
// run, freed rows overwritten. Dropped uncommitted, it rolls back and closes.
#pragma once

#include "platform/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <string>

namespace platform::sqlite {

enum class Opened {
    yes,     // the write transaction is ours
    busy,    // locked, held or not to be had now (missing too: the engine cannot tell)
    damaged, // not a database, or damaged
};

// Whether an error says the file is not the store asked for: not a database,
// damaged, or without the tables and columns a statement names (it fails to
// prepare). Anything else (busy, locked, a failed read, no memory) says only
// that it cannot be had now.
bool saysNotTheStore(int code);

class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { close(); }

    // Opens the database at the program's ANSI path and takes its write
    // transaction; a hot journal a crashed browser left is rolled back here.
    Opened open(const std::string& path);
    sqlite3* db() const { return db_; }
    // Makes the transaction's changes last; false: nothing changed (rolled back).
    bool commit();
    // Rolls back what the transaction changed and closes. Statements of the
    // connection must be finalized first.
    void close();

private:
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
};

} // namespace platform::sqlite
