// The sites the browsers' own cookie exceptions keep: the "allow" rows of a
// Mozilla profile's permissions.sqlite and the "allow" cookie exceptions of a
// Chromium profile's Preferences. Each file is read again only when its time
// changed since it was last read (or an exception in it expired); the reading
// is a job of the store worker, as SQLite is used only there and a
// Preferences file may be large, and its result comes back to the UI thread.
//
// Threading: made, driven and freed on the UI thread; the job reads through
// the cookie-database service and the file system's readFileStart alone, and
// hands what it read over to the UI thread.
#pragma once

#include "browserdata/BrowserStores.h"
#include "platform/Cancellation.h"
#include "platform/CookieDatabase.h"
#include "platform/FileSystem.h"
#include "platform/UiThread.h"
#include "sites/KeepSites.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A Preferences file is read up to this size; a longer one keeps nothing.
// Chromium's own stay far below it (a few hundred KiB with many extensions).
inline constexpr std::uint32_t PreferencesReadLimit = 64u * 1024 * 1024;

// What one exceptions file keeps: the patterns or origins of its "allow"
// entries in force at the time given, and when the first of them expires
// (milliseconds since 1970), if any does.
struct TAllowedEntries {
    std::vector<std::string> patterns;
    std::optional<std::int64_t> until;
};

// The cookie exceptions of a Chromium Preferences text,
// profile.content_settings.exceptions.cookies: each entry whose setting is 1
// and whose expiration (microseconds since 1601, "0" for none) is not past.
// Nothing when the text is not JSON, or the exceptions are not an object of
// objects; an entry of another shape keeps nothing.
TAllowedEntries AllowedInPreferences(std::string_view text, std::int64_t nowMs);

// The cookie permission rows that keep their origin's site: permission 1,
// unless it expired (expireType 2 and expireTime not after now).
TAllowedEntries AllowedPermissions(const std::vector<platform::CookiePermission>& rows, std::int64_t nowMs);

class TBrowserExceptions {
public:
    using Clock = std::function<std::int64_t()>; // milliseconds since 1970
    // Starts work on the store worker (TStoreWorker::Start); false when it is busy.
    using StartJob = std::function<bool(std::function<void(platform::Cancellation&)> work)>;

    TBrowserExceptions(platform::IFileSystem& files, platform::ICookieDatabases& databases,
                       platform::IUiThread& uiThread, StartJob startJob, Clock now = {});
    ~TBrowserExceptions();
    TBrowserExceptions(const TBrowserExceptions&) = delete;
    TBrowserExceptions& operator=(const TBrowserExceptions&) = delete;

    // Looks at each profile's exceptions file of the browsers found (one time
    // query per file) and reads on the store worker those that changed. While
    // a reading is under way, or the worker is busy, the next Refresh (or the
    // reading's end) looks again. A file that cannot be read now (held,
    // locked) keeps its last reading; a missing one keeps nothing.
    void Refresh(const std::vector<TFoundBrowser>& browsers);

    // The sites the exceptions keep now, each named by its browser's short name.
    std::vector<TSourceSite> Sites() const;
    // Whether every exceptions file of these browsers has been looked at and,
    // where it changed, read: before, a munch of their stores could take a
    // site an exception keeps.
    bool ReadFor(const std::vector<TFoundBrowser>& browsers) const { return read_ == browsers; }

    // Called on the UI thread when a reading changed Sites().
    std::function<void(TBrowserExceptions& sender)> OnChange;

private:
    struct Source {
        std::string path;
        bool mozilla = false;
        std::string caption;
        std::optional<std::uint64_t> time;    // the file's when last read; none: not read
        std::optional<std::uint64_t> logTime; // its write-ahead log's then (Mozilla)
        std::optional<std::int64_t> until; // when its reading is to be made again
        std::vector<std::string> patterns;
    };
    struct Reading; // one file's, made by the job
    struct State;   // shared with the job's hand-over, which finds it gone once this is freed

    void take(std::vector<Reading> readings);

    platform::IFileSystem& files_;
    platform::ICookieDatabases& databases_;
    platform::IUiThread& uiThread_;
    StartJob startJob_;
    Clock now_;
    std::vector<Source> sources_; // in the browsers' and profiles' order
    std::vector<TFoundBrowser> browsers_; // of the latest Refresh
    std::vector<TFoundBrowser> read_;     // those whose files were all looked at and read
    std::shared_ptr<State> state_;
};
