// One connection to a browser's existing SQLite store, opened the program's
// way: read-write, never created, the write transaction taken at once without
// waiting for another program's lock, the file checked, none of its triggers
// run, freed rows overwritten. Dropped uncommitted, it rolls back and closes.
//
// Given a cancellation, the connection stops soon once it is cancelled, in
// every step until the commit: the engine's work between two looks is short
// (a progress handler), and each read and write of its files fails once
// cancelled (its own file layer), so a step that is one operation of the
// engine, as emptying a table is, is cut short too. What a cut leaves is
// rolled back, here or by the journal at the next open.
#pragma once

#include "platform/Cancellation.h"
#include "platform/sqlite/SqliteStatement.h"

#include <sqlite3.h>

#include <memory>
#include <optional>
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

struct OpenSettings {
    // Run before the transaction is taken: the store's own cache and the like.
    const char* pragmas = "PRAGMA cache_size=-1024";
    const Cancellation* cancellation = nullptr;
};

// The program's ANSI path as the engine takes it (UTF-8); nothing when it cannot be converted.
std::optional<std::string> EnginePath(const std::string& path);

class Connection {
public:
    Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens the database at the program's ANSI path and takes its write
    // transaction; a hot journal a crashed browser left is rolled back here.
    Opened open(const std::string& path, const OpenSettings& settings = {});
    sqlite3* db() const { return db_; }
    // Makes the transaction's changes last; false: nothing changed (rolled back).
    // A write-ahead log is folded into the store as it closes, not here.
    bool commit();
    // Rolls back what the transaction changed; the connection stays open.
    void rollback();
    // Rolls back what the transaction changed and closes. Statements of the
    // connection must be finalized first.
    void close();

private:
    class CutFiles; // the file layer that fails once cancelled
    // Virtual machine steps between two looks at the cancellation: a look
    // costs nothing next to them, and a cancel is seen within a millisecond.
    static constexpr int progressSteps = 1000;
    static int cancelled(void* cancellation);

    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
    bool committed_ = false; // what is committed is never cut short
    std::unique_ptr<CutFiles> files_;
};

} // namespace platform::sqlite
