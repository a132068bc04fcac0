// A URL cache held in memory: typed entries in the order they were added,
// selected by a search pattern (the start of the source URL name, letter case
// counting) and an entry-type filter (an entry is selected when its type shares
// a bit with the filter), entries in use that cannot be deleted, enumerations
// that survive deletions, and the two time conversions with a settable offset.
#pragma once

#include "platform/UrlCacheService.h"
#include "support/FakeService.h"

#include <functional>
#include <map>
#include <optional>
#include <vector>

class FakeUrlCache final : public platform::IUrlCache, public FakeService {
public:
    struct Entry {
        std::string url{};
        std::uint32_t type = 0x1; // a normal entry
        std::int64_t group = 0;
        std::string localFileName{};
        std::string headerInfo{};
        std::string fileExtension{};
        std::uint32_t useCount = 0;
        std::uint32_t hitRate = 0;
        std::uint32_t sizeLow = 0;
        std::uint32_t sizeHigh = 0;
        std::uint32_t exemptDelta = 0;
        platform::CacheFileTime lastModifiedTime{};
        platform::CacheFileTime expireTime{};
        platform::CacheFileTime lastAccessTime{};
        platform::CacheFileTime lastSyncTime{};
        bool inUse = false; // held by someone: deleting it fails with a sharing violation
    };

    bool libraryPresent() override;
    platform::CacheEnumHandle findFirstEntry(const char* pattern, std::uint32_t flags, std::uint32_t filter,
                                             std::int64_t groupId, void* buffer, std::uint32_t& size) override;
    bool findNextEntry(platform::CacheEnumHandle handle, void* buffer, std::uint32_t& size) override;
    bool deleteEntry(const std::string& sourceUrlName) override;
    void findClose(platform::CacheEnumHandle handle) override;
    std::uint32_t lastError() override { return lastError_; }
    bool fileTimeToLocalFileTime(const platform::CacheFileTime& utc, platform::CacheFileTime& local) override;
    bool fileTimeToSystemTime(const platform::CacheFileTime& time, platform::CacheSystemTime& systemTime) override;

    // Set-up and inspection for tests, bypassing the call log and the faults.
    void add(Entry entry);
    void setInUse(const std::string& url, bool inUse);
    bool contains(const std::string& url) const;
    std::vector<std::string> urls() const;
    std::size_t openEnumerations() const { return enumerations_.size(); }

    bool present = true;              // what the availability probe finds
    std::uint32_t faultError = platform::errorAccessDenied; // the error of a call failed by the fault plan
    std::int64_t localOffset = 0;     // local time minus UTC, in 100-ns units
    // Changes a record after it is written, to play a cache that writes oddly.
    std::function<void(platform::CacheEntryRecord& record, std::uint8_t* buffer, std::uint32_t size)> tamper;

private:
    struct Enumeration {
        std::optional<std::string> pattern;
        std::uint32_t filter;
        std::int64_t group;
        std::uint64_t after; // the number of the last entry handed out
    };
    const Entry* firstSelected(const Enumeration& search, std::uint64_t& number) const;
    // Writes the entry when it fits; else sets the size needed and fails with errorInsufficientBuffer.
    bool deliver(const Entry& entry, void* buffer, std::uint32_t& size);
    bool fail(std::uint32_t error);

    std::map<std::uint64_t, Entry> entries_; // by the order they were added
    std::uint64_t added_ = 0;
    std::map<platform::CacheEnumHandle, Enumeration> enumerations_;
    platform::CacheEnumHandle nextHandle_ = 0x100;
    std::uint32_t lastError_ = 0;
};
