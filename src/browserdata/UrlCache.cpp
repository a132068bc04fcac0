// The URL cache sweeper.
#include "browserdata/UrlCache.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

using platform::CacheEntryRecord;
using platform::CacheFileTime;
using platform::CacheSystemTime;

bool TUrlCache::libraryFound_ = false;

namespace {

// The entry-type bit of each filter option, in the options' order.
constexpr std::uint32_t filterBits[] = {
    0x00000001, // NORMAL_ENTRY
    0x00000002, // STABLE_ENTRY
    0x00000004, // STICKY_ENTRY
    0x00100000, // COOKIE_ENTRY
    0x00200000, // URLHISTORY_ENTRY
    0x00000010, // TRACK_OFFLINE_ENTRY
    0x00000020, // TRACK_ONLINE_ENTRY
    0x00010000, // SPARSE_ENTRY
    0x00020000, // OCX_ENTRY
};

// The probe may have found nothing at all: then there is no buffer.
std::unique_ptr<std::uint8_t[]> allocate(std::uint32_t size, bool& failed)
{
    failed = false;
    if (size == 0)
        return nullptr;
    auto* bytes = new (std::nothrow) std::uint8_t[size];
    failed = bytes == nullptr;
    return std::unique_ptr<std::uint8_t[]>(bytes);
}

// Days since 1 January 1970 of a proleptic Gregorian date.
long daysFromCivil(long year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long>(dayOfEra) - 719468;
}

bool leapYear(unsigned year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The date-time of a calendar date and time of day; nothing for what the
// date-time cannot hold (a year beyond 9999) or what is no date at all.
std::optional<double> encodeDateTime(const CacheSystemTime& t)
{
    static constexpr unsigned monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1)
        return std::nullopt;
    unsigned lastDay = monthDays[t.month - 1] + (t.month == 2 && leapYear(t.year) ? 1 : 0);
    if (t.day > lastDay || t.hour > 23 || t.minute > 59 || t.second > 59 || t.milliseconds > 999)
        return std::nullopt;
    constexpr long epoch1899 = -25569; // 30 December 1899 counted from 1970
    double days = static_cast<double>(daysFromCivil(t.year, t.month, t.day) - epoch1899);
    double time = (((t.hour * 60.0 + t.minute) * 60.0 + t.second) * 1000.0 + t.milliseconds) / 86400000.0;
    // Before the epoch the fraction still counts forward from midnight.
    return days < 0 ? days - time : days + time;
}

} // namespace

TUrlCache::TUrlCache(TComponent* owner, platform::IUrlCache& cache) : TComponent(owner), cache_(cache)
{
    ClearEntryInfo();
    SetFilterOptions(defaultFilterOptions);
}

TUrlCache::~TUrlCache()
{
    if (handle_ != 0)
        closeEnumeration();
}

void TUrlCache::TestLibraryAtStart(platform::IUrlCache& cache)
{
    try {
        libraryFound_ = cache.libraryPresent();
    } catch (...) {
        libraryFound_ = false;
    }
}

bool TUrlCache::LibraryFound()
{
    if (libraryFound_)
        return true;
    try {
        return cache_.libraryPresent();
    } catch (...) {
        return false;
    }
}

void TUrlCache::SetFilterOptions(TFilterOptions options)
{
    filterOptions_ = options;
    filterMask_ = 0;
    for (unsigned option = NORMAL_ENTRY; option <= OCX_ENTRY; ++option)
        if (options & (1u << option))
            filterMask_ |= filterBits[option];
}

const char* TUrlCache::patternArgument() const
{
    switch (SearchPattern) {
    case spCookies: return "Cookie:";
    case spHistory: return "Visited:";
    case spUrl: return ""; // a pointer to an empty string, not a null pointer
    case spAll: break;
    }
    return nullptr;
}

std::uint32_t TUrlCache::FindFirstEntry(std::int64_t GroupID)
{
    if (!LibraryFound())
        return platform::errorFileNotFound;
    if (handle_ != 0)
        closeEnumeration();

    const char* pattern = patternArgument();
    std::uint32_t size = 0;
    // The probe only asks for the size; should it open anything, that is closed.
    if (platform::CacheEnumHandle probe = cache_.findFirstEntry(pattern, 0, filterMask_, GroupID, nullptr, size))
        cache_.findClose(probe);

    bool failed = false;
    auto buffer = allocate(size, failed);
    if (failed)
        return platform::errorNotEnoughMemory;
    const std::uint32_t allocated = size;
    handle_ = cache_.findFirstEntry(pattern, 0, filterMask_, GroupID, buffer.get(), size);
    if (handle_ == 0)
        return cache_.lastError();
    copyEntry(buffer.get(), allocated);
    return 0;
}

std::uint32_t TUrlCache::FindNextEntry()
{
    if (!LibraryFound())
        return platform::errorFileNotFound;
    if (handle_ == 0)
        return platform::errorInvalidHandle;

    std::uint32_t size = 0;
    cache_.findNextEntry(handle_, nullptr, size);
    bool failed = false;
    auto buffer = allocate(size, failed);
    if (failed)
        return platform::errorNotEnoughMemory;
    const std::uint32_t allocated = size;
    if (!cache_.findNextEntry(handle_, buffer.get(), size))
        return cache_.lastError();
    copyEntry(buffer.get(), allocated);
    return 0;
}

std::uint32_t TUrlCache::DeleteEntry(const std::string& Url)
{
    if (!LibraryFound())
        return platform::errorFileNotFound;
    if (!cache_.deleteEntry(Url))
        return cache_.lastError();
    ClearEntryInfo();
    return 0;
}

void TUrlCache::DeleteAllEntries()
{
    if (!LibraryFound())
        return;
    // The first entry may grow between the probe and the call: try again.
    std::uint32_t result = FindFirstEntry(0);
    for (int failures = 1; result == platform::errorInsufficientBuffer && failures < maxAdvanceFailures;
         ++failures)
        result = FindFirstEntry(0);

    if (result == 0) {
        int failures = 0;
        do {
            DeleteEntry(entryInfo_.SourceUrlName); // an entry in use simply stays
            result = FindNextEntry();
            failures = result == 0 ? 0 : failures + 1;
        } while (result != platform::errorNoMoreItems && failures < maxAdvanceFailures);
    }
    // Closed also when nothing was opened: the handle is then 0.
    closeEnumeration();
}

void TUrlCache::ClearEntryInfo()
{
    if (LibraryFound())
        entryInfo_ = TEntryInfo{};
}

void TUrlCache::closeEnumeration()
{
    cache_.findClose(handle_);
    handle_ = 0;
}

void TUrlCache::copyEntry(const std::uint8_t* buffer, std::uint32_t size)
{
    // The record and every string are read only inside the buffer.
    CacheEntryRecord record{};
    if (buffer)
        std::memcpy(&record, buffer, std::min<std::size_t>(size, sizeof record));
    auto text = [&](const char* pointer) -> std::string {
        auto start = reinterpret_cast<std::uintptr_t>(buffer);
        auto at = reinterpret_cast<std::uintptr_t>(pointer);
        if (!buffer || !pointer || at < start || at >= start + size)
            return {};
        const char* first = reinterpret_cast<const char*>(buffer) + (at - start);
        const char* end = reinterpret_cast<const char*>(buffer) + size;
        return std::string(first, std::find(first, end, '\0'));
    };

    TEntryInfo& e = entryInfo_;
    e.SourceUrlName = text(record.sourceUrlName);
    e.LocalFileName = text(record.localFileName);
    e.CacheEntryType = record.cacheEntryType;
    e.UseCount = record.useCount;
    e.HitRate = record.hitRate;
    e.LastModifiedTime = localDateTime(record.lastModifiedTime);
    e.ExpireTime = localDateTime(record.expireTime);
    e.LastAccessTime = localDateTime(record.lastAccessTime);
    e.LastSyncTime = localDateTime(record.lastSyncTime);
    e.FileExtension = text(record.fileExtension);
    e.Size = record.sizeLow;
    e.HeaderInfo = text(record.headerInfo);
    e.ExemptDelta = record.exemptDelta;
}

double TUrlCache::localDateTime(const CacheFileTime& time)
{
    CacheFileTime local{};
    CacheSystemTime calendar{};
    if (!cache_.fileTimeToLocalFileTime(time, local) || !cache_.fileTimeToSystemTime(local, calendar))
        return 0;
    return encodeDateTime(calendar).value_or(0);
}
