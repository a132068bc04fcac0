// The cookie-database service: a browser's cookie store read and changed as the
// database it is, through the database engine only (never by hand, never by
// removing its journal). A store is opened for one munch and closed after it:
// none stays open between ticks. The engine is built for one thread at a time:
// every call of this service, on every store, comes from one thread (the store
// worker's), never from two at once. Nothing here throws.
#pragma once

#include "platform/Cancellation.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where a browser keeps its cookies: Mozilla's table moz_cookies with the host
// in column host; Chromium's table cookies with the host in host_key.
enum class CookieTable { mozilla, chromium };

// The rows of one host: the host's bytes exactly as stored (a host that is not
// text comes as the engine renders it), how many rows hold it, and when the
// browser last used the latest of them, on the store's own clock (compared
// only within one store; 0 where the store keeps no such time).
struct CookieHostRows {
    std::string host;
    std::uint64_t rows = 0;
    std::int64_t lastUsed = 0;
    bool operator==(const CookieHostRows&) const = default;
};

// How a munch of a store ended.
enum class CookieMunchOutcome {
    munched,   // every row whose host is not kept is gone, the rest unchanged, lastingly
    cancelled, // stopped before its commit: rolled back (or by the journal at
               // the next open), nothing changed
    failed,    // the engine failed (locked, no room, ...): rolled back, nothing changed
    unchangeable, // the store can be read but no statement can delete from it
                  // (an index on a function the engine lacks): nothing changed
};

// An opened store, inside one write transaction taken at its opening. Dropped,
// it is closed (and whatever its transaction still holds is rolled back).
class ICookieStore {
public:
    virtual ~ICookieStore() = default;

    // The rows per host, each host once, as they stood at the opening (rows that
    // only a write-ahead log holds included).
    virtual const std::vector<CookieHostRows>& Hosts() const = 0;

    // Deletes, in the transaction taken at the opening, every row whose host
    // keeps() does not keep, overwriting what they held in the file, and
    // commits through the opening's cancellation (RunUnlessCancelled); until
    // then the engine stops soon once cancelled. Kept rows stay as they were,
    // their row ids included. Once only; the transaction is over after it.
    virtual CookieMunchOutcome Munch(const std::function<bool(std::string_view host)>& keeps) = 0;
};

// What opening a store gives.
enum class CookieStoreState {
    opened,     // the store is there to read and change
    busy,       // busy, locked or not to be had now (another program holds it, a
                // read failed): left alone, nothing changed, tried again later
    notCookies, // not to be read as a cookie database: not a database at all,
                // damaged, no cookie table, or one of another shape
};

struct CookieStoreOpening {
    CookieStoreState state = CookieStoreState::busy;
    std::unique_ptr<ICookieStore> store; // set when opened
};

// A row of a Mozilla profile's site permissions (permissions.sqlite, table
// moz_perms) for cookies, as stored.
struct CookiePermission {
    std::string origin;          // "https://example.com", "https://example.com^userContextId=1"
    std::int64_t permission = 0; // 1 allow, 2 block, 8 allow for the session
    std::int64_t expireType = 0; // 0 never, 1 with the session, 2 at expireTime
    std::int64_t expireTime = 0; // milliseconds since 1970
    bool operator==(const CookiePermission&) const = default;
};

struct CookiePermissionsReading {
    CookieStoreState state = CookieStoreState::busy; // notCookies: no permissions database
    std::vector<CookiePermission> rows;              // when opened
};

class ICookieDatabases {
public:
    virtual ~ICookieDatabases() = default;

    // Reads the cookie rows of the Mozilla permissions database at path,
    // read-only: the file is never written and no journal or log is made
    // beside it. A database in write-ahead mode whose log is there is read
    // with it through its shared-memory file (which a browser that has it
    // open made); one whose log is there without that file is busy.
    virtual CookiePermissionsReading ReadCookiePermissions(const std::string& path) = 0;

    // Opens the existing database at path (the program's ANSI path) and takes
    // its write transaction at once, without waiting for another program's
    // lock. A hot journal a crashed browser left is rolled back here. Once
    // cancelled, the opening and the store's work stop soon (busy, cancelled);
    // the cancellation outlives the store.
    virtual CookieStoreOpening Open(const std::string& path, CookieTable table, Cancellation& cancellation) = 0;
};

} // namespace platform
