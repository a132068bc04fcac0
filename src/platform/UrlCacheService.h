// The URL-cache service: the system's cache of pages, cookie entries and
// history entries, reached with its own calls and their arguments, and the two
// time conversions that reading an entry needs. UI thread only. Nothing here
// throws: a failed call returns its empty result and lastError() tells why.
#pragma once

#include "platform/Errors.h"

#include <cstdint>
#include <string>

namespace platform {

// An open enumeration of cache entries; 0 is none.
using CacheEnumHandle = std::uintptr_t;

// A file time: 100-ns units since 1 January 1601, low and high word.
struct CacheFileTime {
    std::uint32_t low;
    std::uint32_t high;
};

// The system's entry record, as the find calls write it at the start of the
// caller's buffer; the strings it points at follow it inside that buffer.
// On 32-bit Windows this is exactly the layout of INTERNET_CACHE_ENTRY_INFOA.
struct CacheEntryRecord {
    std::uint32_t structSize;
    const char* sourceUrlName;
    const char* localFileName;
    std::uint32_t cacheEntryType;
    std::uint32_t useCount;
    std::uint32_t hitRate;
    std::uint32_t sizeLow;
    std::uint32_t sizeHigh;
    CacheFileTime lastModifiedTime;
    CacheFileTime expireTime;
    CacheFileTime lastAccessTime;
    CacheFileTime lastSyncTime;
    const char* headerInfo;
    std::uint32_t headerInfoSize;
    const char* fileExtension;
    std::uint32_t exemptDelta;
};

struct CacheSystemTime {
    std::uint16_t year, month, dayOfWeek, day, hour, minute, second, milliseconds;
};

class IUrlCache {
public:
    virtual ~IUrlCache() = default;

    // Whether the cache library loads and exports the five names the program
    // asks for (the group calls and the extended first-entry call). The library
    // stays loaded.
    virtual bool libraryPresent() = 0;

    // Opens an enumeration of the entries that pattern (null: all) and the
    // entry-type filter select within a cache group, and writes the first into
    // buffer. When buffer is null or size is too small, writes the size needed
    // into size and fails with errorInsufficientBuffer, opening nothing. Returns 0 on failure.
    virtual CacheEnumHandle findFirstEntry(const char* pattern, std::uint32_t flags, std::uint32_t filter,
                                           std::int64_t groupId, void* buffer, std::uint32_t& size) = 0;
    // The next entry, on the same terms; a call that fails for the buffer's
    // size does not move the enumeration on. Fails with errorNoMoreItems at the end.
    virtual bool findNextEntry(CacheEnumHandle handle, void* buffer, std::uint32_t& size) = 0;
    // Deletes the entry of a source URL name; fails for an entry in use.
    virtual bool deleteEntry(const std::string& sourceUrlName) = 0;
    // Ends an enumeration; 0 is accepted and does nothing.
    virtual void findClose(CacheEnumHandle handle) = 0;
    // The error of the last call that failed.
    virtual std::uint32_t lastError() = 0;

    virtual bool fileTimeToLocalFileTime(const CacheFileTime& utc, CacheFileTime& local) = 0;
    virtual bool fileTimeToSystemTime(const CacheFileTime& time, CacheSystemTime& systemTime) = 0;
};

} // namespace platform
