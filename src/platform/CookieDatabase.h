// The cookie-database service: a browser's cookie store read and changed as the
// database it is, through the database engine only (never by hand, never by
// removing its journal). A store is opened for one munch and closed after it:
// none stays open between ticks. UI thread only; nothing here throws.
#pragma once

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
// text comes as the engine renders it), and how many rows hold it.
struct CookieHostRows {
    std::string host;
    std::uint64_t rows = 0;
    bool operator==(const CookieHostRows&) const = default;
};

// One slice of a delete.
struct CookieSlice {
    bool ok = false;   // false: the engine failed; the store's transaction is rolled back, nothing is deleted
    bool done = false; // every row has been looked at
    std::vector<CookieHostRows> deleted; // the hosts whose rows went in this slice, with their counts
};

// An opened store, inside one write transaction taken at its opening. Dropped
// without Commit, everything it deleted is rolled back; then it is closed.
class ICookieStore {
public:
    virtual ~ICookieStore() = default;

    // The rows per host, each host once, as they stood at the opening (rows that
    // only a write-ahead log holds included).
    virtual const std::vector<CookieHostRows>& Hosts() const = 0;

    // Looks at up to `rows` further rows and deletes those whose host keeps()
    // does not keep, overwriting what they held in the file. Between slices the
    // caller may let messages run; the store stays consistent after each.
    virtual CookieSlice DeleteSlice(const std::function<bool(std::string_view host)>& keeps,
                                    std::uint32_t rows) = 0;

    // Makes every slice's deletes lasting, at once. False: nothing was deleted.
    virtual bool Commit() = 0;
};

// What opening a store gives.
enum class CookieStoreState {
    opened,     // the store is there to read and change
    busy,       // busy, locked or not to be had now (another program holds it, a
                // read failed): left alone, nothing changed, tried again later
    notCookies, // not a cookie database: not a database at all, damaged, no
                // cookie table, or one of another shape
};

struct CookieStoreOpening {
    CookieStoreState state = CookieStoreState::busy;
    std::unique_ptr<ICookieStore> store; // set when opened
};

class ICookieDatabases {
public:
    virtual ~ICookieDatabases() = default;

    // Opens the existing database at path (the program's ANSI path) and takes
    // its write transaction at once, without waiting for another program's
    // lock. A hot journal a crashed browser left is rolled back here.
    virtual CookieStoreOpening Open(const std::string& path, CookieTable table) = 0;
};

} // namespace platform
