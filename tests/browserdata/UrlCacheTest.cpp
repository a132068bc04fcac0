// The URL cache sweeper against the in-memory cache: the calls it makes, what it
// copies from an entry, and that every sweep ends with its enumeration closed.
#include "browserdata/UrlCache.h"
#include "support/FakeUrlCache.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

using testing::ElementsAre;

namespace {

constexpr std::uint32_t cookieType = 0x00100000;
constexpr std::uint32_t historyType = 0x00200000;
constexpr std::uint64_t ticksPerDay = 864000000000ull;
constexpr std::uint64_t ticksTo1899 = 109205ull * ticksPerDay; // 1601-01-01 to 1899-12-30

platform::CacheFileTime fileTime(std::uint64_t ticks)
{
    return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
}

class UrlCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        TUrlCache::TestLibraryAtStart(cache);
        cache.calls.clear();
    }
    FakeUrlCache::Entry entry(const std::string& url, std::uint32_t type = 1)
    {
        FakeUrlCache::Entry e;
        e.url = url;
        e.type = type;
        return e;
    }
    void fill()
    {
        cache.add(entry("http://a.example/"));
        cache.add(entry("Cookie:joe@a.example/", cookieType));
        cache.add(entry("Visited:joe@http://a.example/", historyType));
        cache.add(entry("http://b.example/sparse", 0x00010000));
        cache.add(entry("Cookie:joe@b.example/", cookieType));
    }
    std::vector<std::string> calledOperations() const
    {
        std::vector<std::string> names;
        for (const Call& call : cache.calls)
            names.push_back(call.operation);
        return names;
    }

    FakeUrlCache cache;
    TUrlCache urlCache{nullptr, cache};
};

} // namespace

TEST_F(UrlCacheTest, TheFilterMaskIsTheOrOfTheChosenEntryTypes)
{
    struct Case {
        TFilterOptions options;
        std::uint32_t mask;
    } cases[] = {
        {TUrlCache::defaultFilterOptions, 0x00300035},
        {0x1FF, 0x00330037},
        {0, 0},
        {+STABLE_ENTRY, 0x00000002},
        {+SPARSE_ENTRY | +OCX_ENTRY, 0x00030000},
        {+TRACK_ONLINE_ENTRY, 0x00000020},
    };
    EXPECT_EQ(urlCache.FilterMask(), 0x00300035u); // as created
    for (const Case& c : cases) {
        urlCache.SetFilterOptions(c.options);
        EXPECT_EQ(urlCache.FilterMask(), c.mask) << std::hex << c.options;
        urlCache.FindFirstEntry(0);
        EXPECT_EQ(cache.callsOf("findFirstEntry").back().args[2], [&] {
            char text[16];
            std::snprintf(text, sizeof text, "0x%08X", c.mask);
            return std::string(text);
        }());
    }
}

TEST_F(UrlCacheTest, EachSearchPatternPassesItsOwnArgument)
{
    struct Case {
        TSearchPattern pattern;
        const char* argument;
    } cases[] = {{spAll, "null"}, {spCookies, "\"Cookie:\""}, {spHistory, "\"Visited:\""}, {spUrl, "\"\""}};
    for (const Case& c : cases) {
        cache.calls.clear();
        urlCache.SearchPattern = c.pattern;
        urlCache.FindFirstEntry(7);
        for (const Call& call : cache.callsOf("findFirstEntry")) {
            EXPECT_EQ(call.args[0], c.argument);
            EXPECT_EQ(call.args[1], "0");
            EXPECT_EQ(call.args[3], "7");
        }
    }
}

TEST_F(UrlCacheTest, AFindProbesTheSizeAndThenUsesOneBufferOfExactlyThatSize)
{
    fill();
    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u);
    auto firsts = cache.callsOf("findFirstEntry");
    ASSERT_EQ(firsts.size(), 2u);
    EXPECT_EQ(firsts[0].args[4], "null");
    EXPECT_EQ(firsts[0].args[5], "0");
    EXPECT_EQ(firsts[1].args[4], "buffer");
    std::uint32_t needed = sizeof(platform::CacheEntryRecord) + sizeof("http://a.example/") + 3;
    EXPECT_EQ(firsts[1].args[5], std::to_string(needed));
    EXPECT_EQ(urlCache.EntryInfo().SourceUrlName, "http://a.example/");

    ASSERT_EQ(urlCache.FindNextEntry(), 0u);
    auto nexts = cache.callsOf("findNextEntry");
    ASSERT_EQ(nexts.size(), 2u);
    EXPECT_EQ(nexts[0].args[1], "null");
    EXPECT_EQ(nexts[1].args[1], "buffer");
    EXPECT_EQ(urlCache.EntryInfo().SourceUrlName, "Cookie:joe@a.example/");
}

TEST_F(UrlCacheTest, TheEntryIsCopiedFieldByFieldWithLocalTimes)
{
    FakeUrlCache::Entry e = entry("http://a.example/page", 0x00000005);
    e.localFileName = "C:\\cache\\page[1].htm";
    e.headerInfo = "HTTP/1.1 200 OK\r\n";
    e.fileExtension = "htm";
    e.useCount = 3;
    e.hitRate = 9;
    e.sizeLow = 1234;
    e.sizeHigh = 1; // not kept
    e.exemptDelta = 77;
    e.lastModifiedTime = fileTime(ticksTo1899 + ticksPerDay * 2 + ticksPerDay / 2); // 1 January 1900, noon
    e.expireTime = fileTime(ticksTo1899 - ticksPerDay + ticksPerDay / 4); // 29 December 1899, 06:00
    e.lastAccessTime = fileTime(ticksTo1899 + 36526 * ticksPerDay);        // 1 January 2000
    e.lastSyncTime = fileTime(ticksTo1899);
    cache.add(e);
    cache.localOffset = ticksPerDay / 24; // one hour east of UTC

    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u);
    const TEntryInfo& info = urlCache.EntryInfo();
    EXPECT_EQ(info.SourceUrlName, "http://a.example/page");
    EXPECT_EQ(info.LocalFileName, "C:\\cache\\page[1].htm");
    EXPECT_EQ(info.HeaderInfo, "HTTP/1.1 200 OK\r\n");
    EXPECT_EQ(info.FileExtension, "htm");
    EXPECT_EQ(info.CacheEntryType, 5u);
    EXPECT_EQ(info.UseCount, 3u);
    EXPECT_EQ(info.HitRate, 9u);
    EXPECT_EQ(info.Size, 1234u);
    EXPECT_EQ(info.ExemptDelta, 77u);
    EXPECT_DOUBLE_EQ(info.LastModifiedTime, 2.5 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(info.ExpireTime, -1.0 - 7.0 / 24); // before the epoch the fraction counts forward
    EXPECT_DOUBLE_EQ(info.LastAccessTime, 36526 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(info.LastSyncTime, 1.0 / 24);
    // Each time goes to local time, then to the calendar, in the copy's order.
    auto locals = cache.callsOf("fileTimeToLocalFileTime");
    ASSERT_EQ(locals.size(), 4u);
    EXPECT_EQ(locals[0].args[0], std::to_string(ticksTo1899 + ticksPerDay * 2 + ticksPerDay / 2));
    EXPECT_EQ(locals[3].args[0], std::to_string(ticksTo1899));
}

TEST_F(UrlCacheTest, ATimeThatCannotBeConvertedIsZeroAndTheCopyGoesOn)
{
    FakeUrlCache::Entry old = entry("http://old.example/");
    old.headerInfo = "old header";
    old.exemptDelta = 1;
    old.lastSyncTime = fileTime(ticksTo1899 + ticksPerDay);
    cache.add(old);
    FakeUrlCache::Entry e = entry("http://new.example/");
    e.lastModifiedTime = fileTime(0x8000000000000000ull);    // no system time for it
    e.expireTime = fileTime(0x7FFFFFFFFFFFFFFFull);          // the year 30828: no date-time
    e.lastAccessTime = fileTime(ticksTo1899 + ticksPerDay);  // its local time fails below
    e.lastSyncTime = fileTime(ticksTo1899 + 3 * ticksPerDay);
    e.headerInfo = "new header";
    e.exemptDelta = 2;
    cache.add(e);

    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u);
    cache.faults.failNth("fileTimeToLocalFileTime", 3); // the third time of the second entry
    ASSERT_EQ(urlCache.FindNextEntry(), 0u);
    const TEntryInfo& info = urlCache.EntryInfo();
    EXPECT_EQ(info.SourceUrlName, "http://new.example/");
    EXPECT_EQ(info.LastModifiedTime, 0);
    EXPECT_EQ(info.ExpireTime, 0);
    EXPECT_EQ(info.LastAccessTime, 0);
    EXPECT_DOUBLE_EQ(info.LastSyncTime, 3);
    EXPECT_EQ(info.HeaderInfo, "new header");
    EXPECT_EQ(info.ExemptDelta, 2u);
}

TEST_F(UrlCacheTest, TheCopyReadsOnlyInsideTheBuffer)
{
    cache.add(entry("http://a.example/"));
    static const char outside[] = "outside the buffer";
    struct Case {
        const char* name;
        std::function<void(platform::CacheEntryRecord&, std::uint8_t*, std::uint32_t)> tamper;
        std::string url;
        std::string localFile;
    } cases[] = {
        {"pointer outside", [](auto& r, auto*, auto) { r.sourceUrlName = outside; }, "", ""},
        {"no terminator before the end",
         [](auto& r, std::uint8_t* buffer, std::uint32_t size) {
             buffer[size - 1] = 'X';
             r.localFileName = reinterpret_cast<const char*>(buffer + size - 1);
         },
         "http://a.example/", "X"},
        {"pointer just past the end",
         [](auto& r, std::uint8_t* buffer, std::uint32_t size) {
             r.sourceUrlName = reinterpret_cast<const char*>(buffer + size);
         },
         "", ""},
        {"null pointers", [](auto& r, auto*, auto) { r.sourceUrlName = r.localFileName = nullptr; }, "", ""},
    };
    for (const Case& c : cases) {
        cache.tamper = c.tamper;
        ASSERT_EQ(urlCache.FindFirstEntry(0), 0u) << c.name;
        EXPECT_EQ(urlCache.EntryInfo().SourceUrlName, c.url) << c.name;
        EXPECT_EQ(urlCache.EntryInfo().LocalFileName, c.localFile) << c.name;
    }
}

TEST_F(UrlCacheTest, TheSweepDeletesWhatThePatternAndFilterSelectWhileEnumerating)
{
    struct Case {
        TSearchPattern pattern;
        TFilterOptions options;
        std::vector<std::string> left;
    } cases[] = {
        {spAll, TUrlCache::defaultFilterOptions, {"http://b.example/sparse"}},
        {spCookies, TUrlCache::defaultFilterOptions,
         {"http://a.example/", "Visited:joe@http://a.example/", "http://b.example/sparse"}},
        {spHistory, TUrlCache::defaultFilterOptions,
         {"http://a.example/", "Cookie:joe@a.example/", "http://b.example/sparse", "Cookie:joe@b.example/"}},
        {spAll, +COOKIE_ENTRY,
         {"http://a.example/", "Visited:joe@http://a.example/", "http://b.example/sparse"}},
        {spAll, 0,
         {"http://a.example/", "Cookie:joe@a.example/", "Visited:joe@http://a.example/", "http://b.example/sparse",
          "Cookie:joe@b.example/"}},
    };
    for (const Case& c : cases) {
        FakeUrlCache store;
        TUrlCache sweeper(nullptr, store);
        store.add(entry("http://a.example/"));
        store.add(entry("Cookie:joe@a.example/", cookieType));
        store.add(entry("Visited:joe@http://a.example/", historyType));
        store.add(entry("http://b.example/sparse", 0x00010000));
        store.add(entry("Cookie:joe@b.example/", cookieType));
        sweeper.SearchPattern = c.pattern;
        sweeper.SetFilterOptions(c.options);
        sweeper.DeleteAllEntries();
        EXPECT_EQ(store.urls(), c.left) << c.pattern << " " << c.options;
        EXPECT_EQ(store.callsOf("findClose").size(), 1u);
        EXPECT_EQ(store.openEnumerations(), 0u);
    }
}

TEST_F(UrlCacheTest, EachEntryIsDeletedBeforeTheEnumerationMovesOn)
{
    cache.add(entry("http://a.example/"));
    cache.add(entry("http://b.example/"));
    urlCache.DeleteAllEntries();
    std::vector<std::string> order;
    for (const Call& call : cache.calls)
        if (call.operation == "deleteEntry" || (call.operation == "findFirstEntry" && call.args[4] == "buffer") ||
            (call.operation == "findNextEntry" && call.args[1] == "buffer"))
            order.push_back(call.operation + (call.operation == "deleteEntry" ? " " + call.args[0] : ""));
    EXPECT_THAT(order, ElementsAre("findFirstEntry", "deleteEntry http://a.example/", "findNextEntry",
                                   "deleteEntry http://b.example/"));
}

TEST_F(UrlCacheTest, AnEntryInUseStaysAndTheSweepGoesOn)
{
    fill();
    cache.setInUse("Cookie:joe@a.example/", true);
    urlCache.DeleteAllEntries();
    EXPECT_THAT(cache.urls(), ElementsAre("Cookie:joe@a.example/", "http://b.example/sparse"));
}

TEST_F(UrlCacheTest, AnEmptySelectionDeletesNothingAndStillClosesWithANullHandle)
{
    cache.add(entry("http://a.example/"));
    urlCache.SearchPattern = spCookies;
    EXPECT_EQ(urlCache.FindFirstEntry(0), platform::errorNoMoreItems);
    cache.calls.clear();
    urlCache.DeleteAllEntries();
    EXPECT_TRUE(cache.callsOf("deleteEntry").empty());
    EXPECT_THAT(cache.callsOf("findClose"), ElementsAre(Call{"findClose", {"0"}}));
}

TEST_F(UrlCacheTest, DeletingClearsTheEntryAndAFailedDeleteKeepsIt)
{
    fill();
    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u);
    EXPECT_EQ(urlCache.DeleteEntry("http://nowhere.example/"), platform::errorFileNotFound);
    EXPECT_EQ(urlCache.EntryInfo().SourceUrlName, "http://a.example/");
    EXPECT_EQ(urlCache.DeleteEntry("http://a.example/"), 0u);
    EXPECT_EQ(urlCache.EntryInfo().SourceUrlName, "");
    EXPECT_FALSE(cache.contains("http://a.example/"));
}

TEST_F(UrlCacheTest, EnumerationsAreClosedExactlyOnce)
{
    fill();
    EXPECT_EQ(urlCache.FindNextEntry(), platform::errorInvalidHandle); // none open: no platform call
    EXPECT_TRUE(cache.calls.empty());

    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u);
    ASSERT_EQ(urlCache.FindFirstEntry(0), 0u); // replaces the first: which is closed first
    EXPECT_EQ(cache.openEnumerations(), 1u);
    urlCache.DeleteAllEntries();
    EXPECT_EQ(cache.openEnumerations(), 0u);
    std::vector<std::string> closed;
    for (const Call& call : cache.callsOf("findClose"))
        closed.push_back(call.args[0]);
    EXPECT_EQ(std::set<std::string>(closed.begin(), closed.end()).size(), closed.size()); // none twice
    EXPECT_EQ(urlCache.FindNextEntry(), platform::errorInvalidHandle);

    cache.add(entry("http://c.example/"));
    {
        TUrlCache owner(nullptr, cache);
        ASSERT_EQ(owner.FindFirstEntry(0), 0u);
        EXPECT_EQ(cache.openEnumerations(), 1u);
    }
    EXPECT_EQ(cache.openEnumerations(), 0u); // the destructor closed it
}

TEST_F(UrlCacheTest, AnEntryThatGrewBeforeTheFirstCallIsTriedAgain)
{
    fill();
    cache.faultError = platform::errorInsufficientBuffer;
    cache.faults.failNth("findFirstEntry", 2); // the call after the first probe
    urlCache.DeleteAllEntries();
    EXPECT_THAT(cache.urls(), ElementsAre("http://b.example/sparse"));
}

TEST_F(UrlCacheTest, ASweepWhoseAdvanceKeepsFailingEndsAndCloses)
{
    fill();
    cache.faults.failFrom("findNextEntry");
    urlCache.DeleteAllEntries();
    EXPECT_EQ(cache.openEnumerations(), 0u);
    // The probe and the call of each attempt: a bounded number of attempts.
    EXPECT_EQ(cache.callsOf("findNextEntry").size(), 2u * TUrlCache::maxAdvanceFailures);
    EXPECT_EQ(cache.callsOf("deleteEntry").size(), static_cast<std::size_t>(TUrlCache::maxAdvanceFailures));
}

TEST_F(UrlCacheTest, EveryCallFailingInTurnStillEndsTheSweepWithNothingOpen)
{
    fill();
    urlCache.DeleteAllEntries();
    const std::size_t callsOfAGoodSweep = cache.calls.size();
    for (std::size_t n = 1; n <= callsOfAGoodSweep; ++n) {
        FakeUrlCache store;
        store.add(entry("http://a.example/"));
        store.add(entry("Cookie:joe@a.example/", cookieType));
        store.add(entry("http://b.example/"));
        TUrlCache sweeper(nullptr, store);
        store.calls.clear();
        store.faults.failNth("*", static_cast<int>(n));
        sweeper.DeleteAllEntries();
        EXPECT_EQ(store.openEnumerations(), 0u) << "call " << n << " failed";
        EXPECT_LE(store.calls.size(), callsOfAGoodSweep + 4) << "call " << n << " failed";
    }
}

TEST_F(UrlCacheTest, WithoutTheLibraryEveryOperationIsInert)
{
    cache.present = false;
    TUrlCache::TestLibraryAtStart(cache);
    fill();
    cache.calls.clear();
    EXPECT_FALSE(urlCache.LibraryFound());
    EXPECT_EQ(urlCache.FindFirstEntry(0), platform::errorFileNotFound);
    EXPECT_EQ(urlCache.FindNextEntry(), platform::errorFileNotFound);
    EXPECT_EQ(urlCache.DeleteEntry("http://a.example/"), platform::errorFileNotFound);
    urlCache.DeleteAllEntries();
    urlCache.ClearEntryInfo();
    // Nothing but the repeated availability test reached the cache.
    for (const Call& call : cache.calls)
        EXPECT_EQ(call.operation, "libraryPresent");
    EXPECT_EQ(cache.urls().size(), 5u);

    cache.present = true; // found later: each operation tests again, so it works now
    urlCache.DeleteAllEntries();
    EXPECT_THAT(cache.urls(), ElementsAre("http://b.example/sparse"));
}

TEST_F(UrlCacheTest, TheLibraryFoundAtStartIsNotTestedAgain)
{
    cache.present = true;
    TUrlCache::TestLibraryAtStart(cache);
    cache.calls.clear();
    cache.present = false;
    EXPECT_TRUE(urlCache.LibraryFound());
    urlCache.FindFirstEntry(0);
    EXPECT_TRUE(cache.callsOf("libraryPresent").empty());
}
