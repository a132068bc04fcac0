// TUrlCache: enumerates and deletes entries of the system's URL cache (pages,
// cookie entries, history entries). Which entries a search pattern or the
// entry-type filter selects is the cache's business; the component never tests
// an entry itself. UI thread only; errors come back as Win32 error numbers
// (0 success, errorFileNotFound: cache not available, errorNoMoreItems: no more
// entries), nothing throws.
#pragma once

#include "platform/UrlCacheService.h"
#include "toolkit/Component.h"

#include <cstdint>
#include <string>

enum TFilterOption : unsigned {
    NORMAL_ENTRY,
    STABLE_ENTRY,
    STICKY_ENTRY,
    COOKIE_ENTRY,
    URLHISTORY_ENTRY,
    TRACK_OFFLINE_ENTRY,
    TRACK_ONLINE_ENTRY,
    SPARSE_ENTRY,
    OCX_ENTRY,
};
// A set of filter options: bit n stands for the n-th option.
using TFilterOptions = std::uint16_t;
constexpr TFilterOptions operator+(TFilterOption option)
{
    return static_cast<TFilterOptions>(1u << option);
}

enum TSearchPattern { spAll, spCookies, spHistory, spUrl };

// One cache entry as the component keeps it. Times are local date-times:
// days since 30 December 1899, the time of day as the fraction.
struct TEntryInfo {
    std::string SourceUrlName;
    std::string LocalFileName;
    std::uint32_t CacheEntryType = 0;
    std::uint32_t UseCount = 0;
    std::uint32_t HitRate = 0;
    std::uint32_t Size = 0; // the low word of the size
    double LastModifiedTime = 0;
    double ExpireTime = 0;
    double LastAccessTime = 0;
    double LastSyncTime = 0;
    std::string HeaderInfo;
    std::string FileExtension;
    std::uint32_t ExemptDelta = 0;
};

class TUrlCache : public TComponent {
public:
    static constexpr TFilterOptions defaultFilterOptions =
        +NORMAL_ENTRY | +STICKY_ENTRY | +COOKIE_ENTRY | +URLHISTORY_ENTRY | +TRACK_OFFLINE_ENTRY | +TRACK_ONLINE_ENTRY;
    // Consecutive failures to advance (other than the end) after which a sweep
    // gives up: an entry that keeps failing must not hold the program forever.
    static constexpr int maxAdvanceFailures = 16;

    TUrlCache(TComponent* owner, platform::IUrlCache& cache);
    // Closes an enumeration still open.
    ~TUrlCache() override;

    // The availability test made once at program start; its answer is kept for
    // every instance. While it is false, each operation tests again.
    static void TestLibraryAtStart(platform::IUrlCache& cache);

    TFilterOptions FilterOptions() const { return filterOptions_; }
    void SetFilterOptions(TFilterOptions options);
    // The OR of the entry-type bits of FilterOptions.
    std::uint32_t FilterMask() const { return filterMask_; }

    TSearchPattern SearchPattern = spAll;
    bool LibraryFound();
    const TEntryInfo& EntryInfo() const { return entryInfo_; }

    std::uint32_t FindFirstEntry(std::int64_t GroupID);
    // 6 (invalid handle) when no enumeration is open.
    std::uint32_t FindNextEntry();
    std::uint32_t DeleteEntry(const std::string& Url);
    // Deletes every entry that SearchPattern and the filter select, in group 0.
    void DeleteAllEntries();
    void ClearEntryInfo();

private:
    const char* patternArgument() const;
    void copyEntry(const std::uint8_t* buffer, std::uint32_t size);
    double localDateTime(const platform::CacheFileTime& time);
    void closeEnumeration();

    static bool libraryFound_;

    platform::IUrlCache& cache_;
    TFilterOptions filterOptions_ = 0;
    std::uint32_t filterMask_ = 0;
    platform::CacheEnumHandle handle_ = 0;
    TEntryInfo entryInfo_;
};
