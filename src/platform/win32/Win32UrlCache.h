// Win32 only. The URL-cache service over WinINet. Where the extended
// enumeration calls are stubs (Wine), the same contract is served from the
// classic first/next calls, with the search pattern and the entry-type filter
// applied here; the program above never knows which.
#pragma once

#include "platform/UrlCacheService.h"

#include <map>
#include <memory>

class Win32UrlCache final : public platform::IUrlCache {
public:
    Win32UrlCache();
    ~Win32UrlCache() override;
    Win32UrlCache(const Win32UrlCache&) = delete;
    Win32UrlCache& operator=(const Win32UrlCache&) = delete;

    bool libraryPresent() override;
    platform::CacheEnumHandle findFirstEntry(const char* pattern, std::uint32_t flags, std::uint32_t filter,
                                             std::int64_t groupId, void* buffer, std::uint32_t& size) override;
    bool findNextEntry(platform::CacheEnumHandle handle, void* buffer, std::uint32_t& size) override;
    bool deleteEntry(const std::string& sourceUrlName) override;
    void findClose(platform::CacheEnumHandle handle) override;
    std::uint32_t lastError() override { return lastError_; }
    bool fileTimeToLocalFileTime(const platform::CacheFileTime& utc, platform::CacheFileTime& local) override;
    bool fileTimeToSystemTime(const platform::CacheFileTime& time, platform::CacheSystemTime& systemTime) override;

private:
    struct Enumeration;
    bool extendedCallsWork();
    bool fail(std::uint32_t error);
    // The next entry of a classic enumeration that the pattern and filter select,
    // read ahead and kept until it is handed out: a call whose buffer is too
    // small does not move the enumeration on. 0 or the error.
    std::uint32_t readAhead(Enumeration& e);
    // Hands the entry read ahead to the caller's buffer, when it fits.
    bool handOut(Enumeration& e, void* buffer, std::uint32_t& size);

    std::map<platform::CacheEnumHandle, std::unique_ptr<Enumeration>> open_;
    platform::CacheEnumHandle nextHandle_ = 1;
    int extended_ = -1; // not yet known
    std::uint32_t lastError_ = 0;
};
