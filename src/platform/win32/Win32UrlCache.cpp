// Win32 only. The URL-cache service over WinINet.
#include "platform/win32/Win32UrlCache.h"

#include "platform/win32/ScopedHandle.h"

#include <wininet.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

using platform::CacheEntryRecord;

// The program reads the system's record through its own description of it.
static_assert(sizeof(CacheEntryRecord) == sizeof(INTERNET_CACHE_ENTRY_INFOA));
static_assert(offsetof(CacheEntryRecord, sourceUrlName) == offsetof(INTERNET_CACHE_ENTRY_INFOA, lpszSourceUrlName));
static_assert(offsetof(CacheEntryRecord, sizeLow) == offsetof(INTERNET_CACHE_ENTRY_INFOA, dwSizeLow));
static_assert(offsetof(CacheEntryRecord, lastModifiedTime) ==
              offsetof(INTERNET_CACHE_ENTRY_INFOA, LastModifiedTime));
static_assert(offsetof(CacheEntryRecord, lastSyncTime) == offsetof(INTERNET_CACHE_ENTRY_INFOA, LastSyncTime));
static_assert(offsetof(CacheEntryRecord, headerInfo) == offsetof(INTERNET_CACHE_ENTRY_INFOA, lpHeaderInfo));
static_assert(offsetof(CacheEntryRecord, fileExtension) ==
              offsetof(INTERNET_CACHE_ENTRY_INFOA, lpszFileExtension));
static_assert(offsetof(CacheEntryRecord, exemptDelta) == offsetof(INTERNET_CACHE_ENTRY_INFOA, dwExemptDelta));
static_assert(sizeof(platform::CacheSystemTime) == sizeof(SYSTEMTIME));

namespace {

struct UrlCacheFindTraits {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    static void close(Handle h) { ::FindCloseUrlCache(h); }
};
using ScopedUrlCacheFind = ScopedHandle<UrlCacheFindTraits>;

constexpr std::size_t firstReadSize = 1024;

// Where the strings of an entry record end inside the buffer it was read into.
std::size_t recordEnd(const std::vector<BYTE>& buffer, DWORD used)
{
    const auto* info = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
    const char* start = reinterpret_cast<const char*>(buffer.data());
    const std::size_t limit = std::min<std::size_t>(used, buffer.size());
    std::size_t end = sizeof(INTERNET_CACHE_ENTRY_INFOA);
    auto extend = [&](const char* text, std::size_t atLeast) {
        if (!text || text < start || text >= start + limit)
            return;
        std::size_t at = static_cast<std::size_t>(text - start);
        std::size_t length = strnlen(text, limit - at);
        end = std::max({end, at + std::min(length + 1, limit - at), std::min(at + atLeast, limit)});
    };
    extend(info->lpszSourceUrlName, 0);
    extend(info->lpszLocalFileName, 0);
    extend(reinterpret_cast<const char*>(info->lpHeaderInfo), info->dwHeaderInfoSize);
    extend(info->lpszFileExtension, 0);
    return end;
}

} // namespace

struct Win32UrlCache::Enumeration {
    bool extended = false;
    ScopedUrlCacheFind find;
    // The classic enumeration's own selection.
    std::optional<std::string> pattern;
    DWORD filter = 0;
    std::vector<BYTE> scratch = std::vector<BYTE>(firstReadSize);
    std::size_t aheadSize = 0; // 0: nothing read ahead
};

Win32UrlCache::Win32UrlCache() = default;

Win32UrlCache::~Win32UrlCache() = default;

bool Win32UrlCache::fail(std::uint32_t error)
{
    lastError_ = error;
    return false;
}

bool Win32UrlCache::libraryPresent()
{
    // Only the presence of the names matters; the library stays loaded.
    HMODULE library = ::LoadLibraryA("wininet.dll");
    if (!library)
        return false;
    for (const char* name : {"FindFirstUrlCacheGroup", "FindNextUrlCacheGroup", "GetUrlCacheGroupAttributeA",
                             "SetUrlCacheGroupAttributeA", "FindFirstUrlCacheEntryExA"})
        if (!::GetProcAddress(library, name))
            return false;
    return true;
}

bool Win32UrlCache::extendedCallsWork()
{
    if (extended_ < 0) {
        // A stub reports "file not found" (or "not implemented") even for an
        // empty cache, where the real call reports "no more items".
        DWORD size = 0;
        HANDLE probe = ::FindFirstUrlCacheEntryExA(nullptr, 0, 0xFFFFFFFF, 0, nullptr, &size, nullptr, nullptr,
                                                  nullptr);
        DWORD error = ::GetLastError();
        if (probe)
            ::FindCloseUrlCache(probe);
        extended_ = probe || (error != ERROR_FILE_NOT_FOUND && error != ERROR_CALL_NOT_IMPLEMENTED);
    }
    return extended_ == 1;
}

std::uint32_t Win32UrlCache::readAhead(Enumeration& e)
{
    while (e.aheadSize == 0) {
        auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(e.scratch.data());
        DWORD size = static_cast<DWORD>(e.scratch.size());
        bool read;
        if (!e.find) {
            e.find.reset(::FindFirstUrlCacheEntryA(e.pattern ? e.pattern->c_str() : nullptr, info, &size));
            read = static_cast<bool>(e.find);
        } else {
            read = ::FindNextUrlCacheEntryA(e.find.get(), info, &size) != FALSE;
        }
        if (!read) {
            DWORD error = ::GetLastError();
            if (error != ERROR_INSUFFICIENT_BUFFER || size <= e.scratch.size())
                return error;
            e.scratch.resize(size);
            continue;
        }
        const char* url = info->lpszSourceUrlName ? info->lpszSourceUrlName : "";
        bool patternMatches = !e.pattern || std::strncmp(url, e.pattern->c_str(), e.pattern->size()) == 0;
        if (patternMatches && (info->CacheEntryType & e.filter) != 0)
            e.aheadSize = recordEnd(e.scratch, size);
    }
    return 0;
}

bool Win32UrlCache::handOut(Enumeration& e, void* buffer, std::uint32_t& size)
{
    if (!buffer || size < e.aheadSize) {
        size = static_cast<std::uint32_t>(e.aheadSize);
        return fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(buffer, e.scratch.data(), e.aheadSize);
    // The strings move with the record: their pointers are set to the new place.
    auto* info = static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer);
    auto* from = reinterpret_cast<char*>(e.scratch.data());
    auto* to = static_cast<char*>(buffer);
    auto move = [&](auto*& pointer) {
        auto* text = reinterpret_cast<char*>(pointer);
        using Pointer = std::remove_reference_t<decltype(pointer)>;
        pointer = text && text >= from && text < from + e.aheadSize ? reinterpret_cast<Pointer>(to + (text - from))
                                                                    : nullptr;
    };
    move(info->lpszSourceUrlName);
    move(info->lpszLocalFileName);
    move(info->lpHeaderInfo);
    move(info->lpszFileExtension);
    e.aheadSize = 0;
    return true;
}

platform::CacheEnumHandle Win32UrlCache::findFirstEntry(const char* pattern, std::uint32_t flags,
                                                        std::uint32_t filter, std::int64_t groupId, void* buffer,
                                                        std::uint32_t& size)
{
    auto e = std::make_unique<Enumeration>();
    if (extendedCallsWork()) {
        DWORD given = size;
        e->extended = true;
        e->find.reset(::FindFirstUrlCacheEntryExA(pattern, flags, filter, groupId,
                                                  static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer), &given, nullptr,
                                                  nullptr, nullptr));
        size = given;
        if (!e->find)
            return fail(::GetLastError());
    } else {
        // The classic calls know no groups: every entry is in group 0.
        if (groupId != 0)
            return fail(ERROR_NO_MORE_ITEMS);
        e->pattern = pattern ? std::optional<std::string>(pattern) : std::nullopt;
        e->filter = filter;
        if (std::uint32_t error = readAhead(*e))
            return fail(error);
        if (!handOut(*e, buffer, size))
            return 0; // nothing stays open for a call that only asked the size
    }
    platform::CacheEnumHandle handle = nextHandle_++;
    open_.emplace(handle, std::move(e));
    return handle;
}

bool Win32UrlCache::findNextEntry(platform::CacheEnumHandle handle, void* buffer, std::uint32_t& size)
{
    auto found = open_.find(handle);
    if (found == open_.end())
        return fail(ERROR_INVALID_HANDLE);
    Enumeration& e = *found->second;
    if (e.extended) {
        DWORD given = size;
        BOOL read = ::FindNextUrlCacheEntryExA(e.find.get(), static_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer),
                                               &given, nullptr, nullptr, nullptr);
        size = given;
        return read || fail(::GetLastError());
    }
    if (std::uint32_t error = readAhead(e))
        return fail(error);
    return handOut(e, buffer, size);
}

bool Win32UrlCache::deleteEntry(const std::string& sourceUrlName)
{
    return ::DeleteUrlCacheEntryA(sourceUrlName.c_str()) || fail(::GetLastError());
}

void Win32UrlCache::findClose(platform::CacheEnumHandle handle)
{
    if (handle == 0) {
        ::FindCloseUrlCache(nullptr);
        return;
    }
    open_.erase(handle); // its own handle closes with it
}

bool Win32UrlCache::fileTimeToLocalFileTime(const platform::CacheFileTime& utc, platform::CacheFileTime& local)
{
    FILETIME in{utc.low, utc.high};
    FILETIME out{};
    if (!::FileTimeToLocalFileTime(&in, &out))
        return fail(::GetLastError());
    local = {out.dwLowDateTime, out.dwHighDateTime};
    return true;
}

bool Win32UrlCache::fileTimeToSystemTime(const platform::CacheFileTime& time, platform::CacheSystemTime& systemTime)
{
    FILETIME in{time.low, time.high};
    SYSTEMTIME out{};
    if (!::FileTimeToSystemTime(&in, &out))
        return fail(::GetLastError());
    systemTime = {out.wYear, out.wMonth, out.wDayOfWeek, out.wDay, out.wHour, out.wMinute, out.wSecond,
                  out.wMilliseconds};
    return true;
}
