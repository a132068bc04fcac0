// The sites the browsers' own cookie exceptions keep.
#include "sites/BrowserExceptions.h"

#include "platform/PathText.h"
#include "sites/CodePoints.h"
#include "sites/SitePatterns.h"

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

// Chromium's times count microseconds from 1601.
constexpr std::int64_t msFrom1601To1970 = 11644473600000;

// The text of Preferences read as events; only the cookie exceptions are kept.
class PreferencesHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, PreferencesHandler> {
public:
    explicit PreferencesHandler(std::int64_t nowMs) : nowMs_(nowMs) {}

    // Deeper than any Preferences nests: text like that is not read on.
    static constexpr std::size_t maxDepth = 64;

    bool StartObject() { return open(true); }
    bool StartArray() { return open(false); }
    bool EndObject(rapidjson::SizeType)
    {
        if (inEntry()) {
            if (setting_ == 1 && entryShaped_ && expiry_ >= 0) {
                if (expiry_ == 0 || expiry_ > nowMs_) {
                    allowed.patterns.push_back(levels_[4].key);
                    if (expiry_ > 0)
                        allowed.until = std::min(allowed.until.value_or(expiry_), expiry_);
                }
            }
        }
        return close();
    }
    bool EndArray(rapidjson::SizeType) { return close(); }
    bool Key(const char* text, rapidjson::SizeType length, bool)
    {
        levels_.back().key.assign(text, length);
        return true;
    }
    bool String(const char* text, rapidjson::SizeType length, bool)
    {
        if (inEntry() && levels_.back().key == "expiration")
            expiry_ = expiryOf(std::string_view(text, length));
        return scalar();
    }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool)
    {
        if (inEntry() && levels_.back().key == "setting") {
            const std::string_view number(text, length);
            setting_ = number == "1" ? 1 : number == "2" || number == "4" ? 0 : -1;
        }
        return scalar();
    }
    bool Default() { return scalar(); }

    TAllowedEntries allowed;
    bool shaped = true; // false: the exceptions are there but not an object of objects

private:
    struct Level {
        bool object;
        std::string key;
    };

    // Whether the object open now is profile.content_settings.exceptions.cookies,
    // or one of its entries.
    bool onPath(std::size_t depth) const
    {
        static constexpr const char* path[] = {"profile", "content_settings", "exceptions", "cookies"};
        if (levels_.size() < depth)
            return false;
        for (std::size_t i = 0; i < 4 && i < depth; ++i)
            if (!levels_[i].object || levels_[i].key != path[i])
                return false;
        return true;
    }
    bool inCookies() const { return levels_.size() == 5 && onPath(5) && levels_[4].object; }
    bool inEntry() const { return levels_.size() == 6 && onPath(6) && levels_[4].object && levels_[5].object; }

    bool open(bool object)
    {
        if (levels_.size() == 4 && onPath(4) && !object)
            shaped = false; // the exceptions as an array
        if (inCookies() && !object)
            entryShaped_ = false;
        if (inCookies()) {
            setting_ = -1;
            expiry_ = 0;
            entryShaped_ = object;
        }
        if (levels_.size() >= maxDepth)
            return false;
        levels_.push_back({object, {}});
        return true;
    }
    bool close()
    {
        levels_.pop_back();
        return true;
    }
    bool scalar()
    {
        if (levels_.size() == 4 && onPath(4))
            shaped = false; // the exceptions as one value
        return true;
    }

    // An expiration in milliseconds since 1970: 0 for none, -1 when it is no time.
    static std::int64_t expiryOf(std::string_view text)
    {
        if (text.empty() || text.size() > 18 ||
            !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return -1;
        std::int64_t micros = 0;
        for (const char c : text)
            micros = micros * 10 + (c - '0');
        return micros == 0 ? 0 : std::max<std::int64_t>(micros / 1000 - msFrom1601To1970, 1);
    }

    std::int64_t nowMs_;
    std::vector<Level> levels_;
    int setting_ = -1;
    std::int64_t expiry_ = 0;
    bool entryShaped_ = true;
};

std::int64_t systemNow()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The host a pattern or an origin names, as the kept sites take it: UTF-8 read
// as UTF-16. Bytes that are no UTF-8 (a damaged store) name nothing.
std::u16string hostOf(const std::string& pattern)
{
    const std::optional<std::u16string> text = Utf16OfUtf8(pattern);
    return text ? HostOfPattern(*text) : std::u16string();
}

bool sameSites(const std::vector<TSourceSite>& a, const std::vector<TSourceSite>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const TSourceSite& x, const TSourceSite& y) { return x.name == y.name && x.source == y.source; });
}

} // namespace

TAllowedEntries AllowedInPreferences(std::string_view text, std::int64_t nowMs)
{
    PreferencesHandler handler(nowMs);
    rapidjson::MemoryStream stream(text.data(), text.size());
    rapidjson::Reader reader;
    constexpr unsigned flags =
        rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag;
    if (reader.Parse<flags>(stream, handler).IsError() || !handler.shaped)
        return {};
    return std::move(handler.allowed);
}

TAllowedEntries AllowedPermissions(const std::vector<platform::CookiePermission>& rows, std::int64_t nowMs)
{
    constexpr std::int64_t allow = 1, expiresAtTime = 2;
    TAllowedEntries allowed;
    for (const platform::CookiePermission& row : rows) {
        if (row.permission != allow)
            continue;
        if (row.expireType == expiresAtTime) {
            if (row.expireTime <= nowMs)
                continue;
            allowed.until = std::min(allowed.until.value_or(row.expireTime), row.expireTime);
        }
        allowed.patterns.push_back(row.origin);
    }
    return allowed;
}

struct TBrowserExceptions::Reading {
    std::string path;
    bool mozilla = false;
    std::optional<std::uint64_t> time, logTime; // as they were before the reading
    bool stands = false; // could not be read now: the last reading stands
    TAllowedEntries allowed;
};

struct TBrowserExceptions::State {
    TBrowserExceptions* owner;
    bool reading = false;
    bool again = false; // Refresh was called during the reading
};

TBrowserExceptions::TBrowserExceptions(platform::IFileSystem& files, platform::ICookieDatabases& databases,
                                       platform::IUiThread& uiThread, StartJob startJob, Clock now)
    : files_(files), databases_(databases), uiThread_(uiThread), startJob_(std::move(startJob)),
      now_(now ? std::move(now) : Clock(systemNow)), state_(std::make_shared<State>(State{this}))
{
}

TBrowserExceptions::~TBrowserExceptions()
{
    state_->owner = nullptr;
}

std::vector<TSourceSite> TBrowserExceptions::Sites() const
{
    std::vector<TSourceSite> sites;
    for (const Source& source : sources_)
        for (const std::string& pattern : source.patterns)
            if (std::u16string host = hostOf(pattern); !host.empty())
                sites.push_back({std::move(host), source.caption});
    return sites;
}

void TBrowserExceptions::Refresh(const std::vector<TFoundBrowser>& browsers)
{
    browsers_ = browsers;
    if (state_->reading) {
        state_->again = true;
        return;
    }
    const std::int64_t now = now_();
    const std::vector<TSourceSite> before = Sites();
    std::vector<Source> sources;
    std::vector<Reading> wanted;
    for (const TFoundBrowser& browser : browsers) {
        const TBrowserFamily& family = BrowserFamilies()[browser.Family];
        const bool mozilla = family.Kind == TBrowserKind::bkMozilla;
        for (const std::string& profile : browser.Profiles) {
            Source source;
            source.path = profile + (mozilla ? "\\permissions.sqlite" : "\\Preferences");
            source.mozilla = mozilla;
            source.caption = family.ShortName;
            const auto last = std::find_if(sources_.begin(), sources_.end(), [&](const Source& s) {
                return platform::sameIgnoringCase(s.path, source.path);
            });
            if (last != sources_.end()) {
                source = std::move(*last);
                source.caption = family.ShortName;
            }
            // A Mozilla database's latest rows may be in its log alone.
            const std::optional<std::uint64_t> time = files_.lastWriteTime(source.path);
            const std::optional<std::uint64_t> logTime =
                mozilla && time ? files_.lastWriteTime(source.path + "-wal") : std::nullopt;
            if (!time) {
                source.time.reset();
                source.until.reset();
                source.patterns.clear();
            } else if (time != source.time || logTime != source.logTime || (source.until && *source.until <= now)) {
                wanted.push_back({source.path, mozilla, time, logTime, false, {}});
            }
            sources.push_back(std::move(source));
        }
    }
    sources_ = std::move(sources);
    if (OnChange && !sameSites(Sites(), before))
        OnChange(*this);
    if (wanted.empty()) {
        read_ = browsers;
        return;
    }
    state_->reading = true; // before the start: a job may end within it
    if (!startJob_([state = state_, wanted, now, &files = files_, &databases = databases_,
                       &uiThread = uiThread_](platform::Cancellation& cancellation) mutable {
            for (Reading& reading : wanted) {
                reading.stands = true;
                if (cancellation.Cancelled())
                    continue;
                if (reading.mozilla) {
                    const platform::CookiePermissionsReading read = databases.ReadCookiePermissions(reading.path);
                    reading.stands = read.state == platform::CookieStoreState::busy;
                    if (read.state == platform::CookieStoreState::opened)
                        reading.allowed = AllowedPermissions(read.rows, now);
                } else {
                    const platform::FileContent content = files.readFileStart(reading.path, PreferencesReadLimit + 1);
                    reading.stands = !content.ok;
                    if (content.ok && content.bytes.size() <= PreferencesReadLimit)
                        reading.allowed = AllowedInPreferences(
                            std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()),
                            now);
                }
            }
            uiThread.runOnUiThread([&state, &wanted] {
                state->reading = false;
                if (state->owner)
                    state->owner->take(std::move(wanted));
            });
        })) {
        // No worker to read on: the next look tries again. Nothing of these
        // browsers' stores is munched without one either, so no munch waits.
        state_->reading = false;
        read_ = browsers;
    }
}

void TBrowserExceptions::take(std::vector<Reading> readings)
{
    const std::vector<TSourceSite> before = Sites();
    for (Reading& reading : readings) {
        const auto source = std::find_if(sources_.begin(), sources_.end(),
                                         [&](const Source& s) { return s.path == reading.path; });
        if (source == sources_.end() || reading.stands)
            continue; // gone meanwhile, or read again at the next look
        source->time = reading.time;
        source->logTime = reading.logTime;
        source->until = reading.allowed.until;
        source->patterns = std::move(reading.allowed.patterns);
    }
    if (OnChange && !sameSites(Sites(), before))
        OnChange(*this);
    if (state_->again) {
        state_->again = false;
        Refresh(browsers_);
    } else {
        read_ = browsers_;
    }
}
