// The in-memory URL cache.
#include "support/FakeUrlCache.h"

#include <algorithm>
#include <cstring>

using platform::CacheEntryRecord;
using platform::CacheFileTime;

namespace {

std::string hex(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::uint64_t ticks(const CacheFileTime& time)
{
    return static_cast<std::uint64_t>(time.high) << 32 | time.low;
}

} // namespace

bool FakeUrlCache::fail(std::uint32_t error)
{
    lastError_ = error;
    return false;
}

bool FakeUrlCache::libraryPresent()
{
    return !record("libraryPresent") && present;
}

const FakeUrlCache::Entry* FakeUrlCache::firstSelected(const Enumeration& search, std::uint64_t& number) const
{
    for (auto it = entries_.upper_bound(search.after); it != entries_.end(); ++it) {
        const Entry& entry = it->second;
        if (search.pattern && entry.url.compare(0, search.pattern->size(), *search.pattern) != 0)
            continue;
        if ((entry.type & search.filter) == 0 || (search.group != 0 && entry.group != search.group))
            continue;
        number = it->first;
        return &entry;
    }
    return nullptr;
}

bool FakeUrlCache::deliver(const Entry& entry, void* buffer, std::uint32_t& size)
{
    const std::string* texts[] = {&entry.url, &entry.localFileName, &entry.headerInfo, &entry.fileExtension};
    std::uint32_t needed = sizeof(CacheEntryRecord);
    for (const std::string* text : texts)
        needed += static_cast<std::uint32_t>(text->size() + 1);
    if (!buffer || size < needed) {
        size = needed;
        return fail(platform::errorInsufficientBuffer);
    }
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    char* next = reinterpret_cast<char*>(bytes + sizeof(CacheEntryRecord));
    auto place = [&next](const std::string& text) {
        char* at = next;
        std::memcpy(at, text.c_str(), text.size() + 1);
        next += text.size() + 1;
        return at;
    };
    CacheEntryRecord record{};
    record.structSize = sizeof(CacheEntryRecord);
    record.sourceUrlName = place(entry.url);
    record.localFileName = place(entry.localFileName);
    record.headerInfo = place(entry.headerInfo);
    record.headerInfoSize = static_cast<std::uint32_t>(entry.headerInfo.size());
    record.fileExtension = place(entry.fileExtension);
    record.cacheEntryType = entry.type;
    record.useCount = entry.useCount;
    record.hitRate = entry.hitRate;
    record.sizeLow = entry.sizeLow;
    record.sizeHigh = entry.sizeHigh;
    record.lastModifiedTime = entry.lastModifiedTime;
    record.expireTime = entry.expireTime;
    record.lastAccessTime = entry.lastAccessTime;
    record.lastSyncTime = entry.lastSyncTime;
    record.exemptDelta = entry.exemptDelta;
    if (tamper)
        tamper(record, bytes, size);
    std::memcpy(bytes, &record, sizeof record);
    return true;
}

platform::CacheEnumHandle FakeUrlCache::findFirstEntry(const char* pattern, std::uint32_t flags,
                                                       std::uint32_t filter, std::int64_t groupId, void* buffer,
                                                       std::uint32_t& size)
{
    if (record("findFirstEntry", {pattern ? "\"" + std::string(pattern) + "\"" : "null", std::to_string(flags),
                                  hex(filter), std::to_string(groupId), buffer ? "buffer" : "null",
                                  std::to_string(size)}))
        return fail(faultError);
    Enumeration search{pattern ? std::optional<std::string>(pattern) : std::nullopt, filter, groupId, 0};
    std::uint64_t number = 0;
    const Entry* entry = firstSelected(search, number);
    if (!entry)
        return fail(platform::errorNoMoreItems);
    if (!deliver(*entry, buffer, size))
        return 0;
    search.after = number;
    platform::CacheEnumHandle handle = nextHandle_++;
    enumerations_.emplace(handle, search);
    return handle;
}

bool FakeUrlCache::findNextEntry(platform::CacheEnumHandle handle, void* buffer, std::uint32_t& size)
{
    if (record("findNextEntry", {std::to_string(handle), buffer ? "buffer" : "null", std::to_string(size)}))
        return fail(faultError);
    auto open = enumerations_.find(handle);
    if (open == enumerations_.end())
        return fail(platform::errorInvalidHandle);
    std::uint64_t number = 0;
    const Entry* entry = firstSelected(open->second, number);
    if (!entry)
        return fail(platform::errorNoMoreItems);
    if (!deliver(*entry, buffer, size))
        return false;
    open->second.after = number;
    return true;
}

bool FakeUrlCache::deleteEntry(const std::string& sourceUrlName)
{
    if (record("deleteEntry", {sourceUrlName}))
        return fail(faultError);
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const auto& numbered) { return numbered.second.url == sourceUrlName; });
    if (found == entries_.end())
        return fail(platform::errorFileNotFound);
    if (found->second.inUse)
        return fail(platform::errorSharingViolation);
    entries_.erase(found);
    return true;
}

void FakeUrlCache::findClose(platform::CacheEnumHandle handle)
{
    record("findClose", {std::to_string(handle)});
    enumerations_.erase(handle);
}

bool FakeUrlCache::fileTimeToLocalFileTime(const CacheFileTime& utc, CacheFileTime& local)
{
    if (record("fileTimeToLocalFileTime", {std::to_string(ticks(utc))}))
        return fail(faultError);
    auto value = static_cast<std::int64_t>(ticks(utc));
    if (value < 0 || (localOffset < 0 && value < -localOffset) ||
        (localOffset > 0 && value > INT64_MAX - localOffset))
        return fail(platform::errorInvalidParameter);
    auto shifted = static_cast<std::uint64_t>(value + localOffset);
    local = {static_cast<std::uint32_t>(shifted), static_cast<std::uint32_t>(shifted >> 32)};
    return true;
}

bool FakeUrlCache::fileTimeToSystemTime(const CacheFileTime& time, platform::CacheSystemTime& systemTime)
{
    if (record("fileTimeToSystemTime", {std::to_string(ticks(time))}))
        return fail(faultError);
    std::uint64_t value = ticks(time);
    if (value >> 63)
        return fail(platform::errorInvalidParameter);
    constexpr std::uint64_t ticksPerDay = 864000000000ull;
    std::uint64_t days = value / ticksPerDay;
    std::uint64_t ms = value % ticksPerDay / 10000;
    // Civil date of a day count (days since 1 March of year 0 of a 400-year era).
    long z = static_cast<long>(days) + 584694; // 1 January 1601 from 1 March 0000
    long era = z / 146097;
    long dayOfEra = z - era * 146097;
    long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    long mp = (5 * dayOfYear + 2) / 153;
    long month = mp < 10 ? mp + 3 : mp - 9;
    long year = yearOfEra + era * 400 + (month <= 2);
    systemTime.year = static_cast<std::uint16_t>(year);
    systemTime.month = static_cast<std::uint16_t>(month);
    systemTime.day = static_cast<std::uint16_t>(dayOfYear - (153 * mp + 2) / 5 + 1);
    systemTime.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7); // 1601 began on a Monday
    systemTime.hour = static_cast<std::uint16_t>(ms / 3600000);
    systemTime.minute = static_cast<std::uint16_t>(ms / 60000 % 60);
    systemTime.second = static_cast<std::uint16_t>(ms / 1000 % 60);
    systemTime.milliseconds = static_cast<std::uint16_t>(ms % 1000);
    return true;
}

void FakeUrlCache::add(Entry entry)
{
    entries_.emplace(++added_, std::move(entry));
}

void FakeUrlCache::setInUse(const std::string& url, bool inUse)
{
    for (auto& [number, entry] : entries_)
        if (entry.url == url)
            entry.inUse = inUse;
}

bool FakeUrlCache::contains(const std::string& url) const
{
    return std::any_of(entries_.begin(), entries_.end(), [&](const auto& e) { return e.second.url == url; });
}

std::vector<std::string> FakeUrlCache::urls() const
{
    std::vector<std::string> result;
    for (const auto& [number, entry] : entries_)
        result.push_back(entry.url);
    return result;
}
