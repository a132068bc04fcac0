// What every URL-cache service must do, as one typed suite: the same test text
// runs against the in-memory cache natively and the Win32 adapter under Wine.
// An environment type gives the service and makes entries:
//   platform::IUrlCache& cache();
//   void add(const std::string& url, std::uint32_t type);  // a committed entry
//   void hold(const std::string& url); void release(const std::string& url);  // in use
//   bool setCookie(const std::string& host, const std::string& nameValue);  // false: cannot
// The real cache is shared with everything else in its prefix: each test names
// its entries with a tag of its own and looks only at those.
#pragma once

#include "platform/UrlCacheService.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace contract {

constexpr std::uint32_t normalEntry = 0x00000001;
constexpr std::uint32_t cookieEntry = 0x00100000;
constexpr std::uint32_t historyEntry = 0x00200000;
constexpr std::uint32_t everyEntry = 0xFFFFFFFF;

inline std::string urlIn(const std::vector<std::uint8_t>& buffer)
{
    platform::CacheEntryRecord record;
    std::memcpy(&record, buffer.data(), sizeof record);
    return record.sourceUrlName ? record.sourceUrlName : "";
}

template <class Environment>
class UrlCacheContract : public testing::Test {
protected:
    platform::IUrlCache& cache() { return env.cache(); }

    // A name no other test uses.
    std::string tag() const
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        return std::string("nomblet-") + info->name();
    }

    struct Found {
        platform::CacheEnumHandle handle = 0;
        std::string url{};
        std::uint32_t error = 0;
    };
    // One find as the sweeper makes it: the size probe, then one buffer of that size.
    Found first(const char* pattern, std::uint32_t filter)
    {
        std::uint32_t size = 0;
        EXPECT_EQ(cache().findFirstEntry(pattern, 0, filter, 0, nullptr, size), 0u);
        std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(size, 1));
        Found found;
        found.handle = cache().findFirstEntry(pattern, 0, filter, 0, buffer.data(), size);
        found.error = found.handle ? 0 : cache().lastError();
        if (found.handle)
            found.url = urlIn(buffer);
        return found;
    }
    Found next(platform::CacheEnumHandle handle)
    {
        std::uint32_t size = 0;
        cache().findNextEntry(handle, nullptr, size);
        std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(size, 1));
        Found found{handle};
        if (cache().findNextEntry(handle, buffer.data(), size))
            found.url = urlIn(buffer);
        else
            found.error = cache().lastError();
        return found;
    }
    // Every selected entry of this test, in the enumeration's order.
    std::vector<std::string> listed(const char* pattern, std::uint32_t filter = everyEntry)
    {
        std::vector<std::string> urls;
        Found found = first(pattern, filter);
        if (!found.handle)
            return urls;
        for (; found.error == 0; found = next(found.handle))
            if (found.url.find(tag()) != std::string::npos)
                urls.push_back(found.url);
        EXPECT_EQ(found.error, platform::errorNoMoreItems);
        cache().findClose(found.handle);
        return urls;
    }
    std::vector<std::string> sorted(std::vector<std::string> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }

    Environment env;
};

TYPED_TEST_SUITE_P(UrlCacheContract);

TYPED_TEST_P(UrlCacheContract, ASizeProbeReportsTheSizeAndOpensNothing)
{
    const std::string url = "http://" + this->tag() + ".test/page";
    this->env.add(url, normalEntry);
    std::uint32_t size = 0;
    EXPECT_EQ(this->cache().findFirstEntry(nullptr, 0, everyEntry, 0, nullptr, size), 0u);
    EXPECT_EQ(this->cache().lastError(), platform::errorInsufficientBuffer);
    EXPECT_GT(size, sizeof(platform::CacheEntryRecord));

    std::vector<std::uint8_t> buffer(size);
    std::uint32_t tooSmall = size - 1;
    EXPECT_EQ(this->cache().findFirstEntry(nullptr, 0, everyEntry, 0, buffer.data(), tooSmall), 0u);
    EXPECT_EQ(this->cache().lastError(), platform::errorInsufficientBuffer);

    platform::CacheEnumHandle handle = this->cache().findFirstEntry(nullptr, 0, everyEntry, 0, buffer.data(), size);
    ASSERT_NE(handle, 0u);
    platform::CacheEntryRecord record;
    std::memcpy(&record, buffer.data(), sizeof record);
    // The strings lie inside the caller's buffer.
    auto inside = [&](const char* p) {
        return p >= reinterpret_cast<const char*>(buffer.data()) &&
               p < reinterpret_cast<const char*>(buffer.data()) + buffer.size();
    };
    EXPECT_TRUE(inside(record.sourceUrlName));
    this->cache().findClose(handle);
}

TYPED_TEST_P(UrlCacheContract, PatternsSelectByTheStartOfTheName)
{
    const std::string page = "http://" + this->tag() + ".test/";
    const std::string cookie = "Cookie:joe@" + this->tag() + ".test/";
    const std::string visit = "Visited:joe@http://" + this->tag() + ".test/";
    this->env.add(page, normalEntry);
    this->env.add(cookie, cookieEntry);
    this->env.add(visit, historyEntry);
    EXPECT_EQ(this->sorted(this->listed(nullptr)), this->sorted({page, cookie, visit}));
    EXPECT_EQ(this->listed("Cookie:"), std::vector<std::string>{cookie});
    EXPECT_EQ(this->listed("Visited:"), std::vector<std::string>{visit});
}

TYPED_TEST_P(UrlCacheContract, TheFilterSelectsByEntryType)
{
    const std::string page = "http://" + this->tag() + ".test/";
    const std::string cookie = "Cookie:joe@" + this->tag() + ".test/";
    this->env.add(page, normalEntry);
    this->env.add(cookie, cookieEntry);
    EXPECT_EQ(this->listed(nullptr, cookieEntry), std::vector<std::string>{cookie});
    EXPECT_EQ(this->listed(nullptr, normalEntry), std::vector<std::string>{page});
    EXPECT_EQ(this->listed(nullptr, 0), std::vector<std::string>{}); // an empty filter selects nothing
    auto none = this->first(nullptr, 0);
    EXPECT_EQ(none.handle, 0u);
    EXPECT_EQ(none.error, platform::errorNoMoreItems);
}

TYPED_TEST_P(UrlCacheContract, AProbeDoesNotMoveTheEnumeration)
{
    for (int i = 0; i < 4; ++i)
        this->env.add("http://" + this->tag() + ".test/" + std::to_string(i), normalEntry);
    const std::vector<std::string> plain = this->listed(nullptr);
    ASSERT_EQ(plain.size(), 4u);

    std::vector<std::string> probed;
    auto found = this->first(nullptr, everyEntry);
    while (found.error == 0) {
        if (found.url.find(this->tag()) != std::string::npos)
            probed.push_back(found.url);
        for (int probe = 0; probe < 2; ++probe) {
            std::uint32_t size = 0;
            this->cache().findNextEntry(found.handle, nullptr, size);
        }
        found = this->next(found.handle);
    }
    EXPECT_EQ(found.error, platform::errorNoMoreItems);
    EXPECT_EQ(this->next(found.handle).error, platform::errorNoMoreItems); // and stays at the end
    this->cache().findClose(found.handle);
    EXPECT_EQ(probed, plain);
}

TYPED_TEST_P(UrlCacheContract, EntriesDeletedWhileEnumeratingAreAllMet)
{
    for (int i = 0; i < 6; ++i)
        this->env.add("http://" + this->tag() + ".test/" + std::to_string(i), normalEntry);
    int deleted = 0;
    auto found = this->first(nullptr, everyEntry);
    for (; found.error == 0; found = this->next(found.handle))
        if (found.url.find(this->tag()) != std::string::npos && this->cache().deleteEntry(found.url))
            ++deleted;
    this->cache().findClose(found.handle);
    EXPECT_EQ(deleted, 6);
    EXPECT_TRUE(this->listed(nullptr).empty());
}

TYPED_TEST_P(UrlCacheContract, AnEntryInUseCannotBeDeleted)
{
    const std::string url = "http://" + this->tag() + ".test/held";
    this->env.add(url, normalEntry);
    this->env.hold(url);
    EXPECT_FALSE(this->cache().deleteEntry(url));
    EXPECT_NE(this->cache().lastError(), 0u);
    EXPECT_EQ(this->listed(nullptr), std::vector<std::string>{url});
    // WinINet remembers the refused delete and carries it out at the release;
    // the in-memory cache does not model that and deletes when asked again.
    this->env.release(url);
    if (!this->cache().deleteEntry(url)) {
        EXPECT_EQ(this->cache().lastError(), platform::errorFileNotFound);
    }
    EXPECT_TRUE(this->listed(nullptr).empty());
    EXPECT_FALSE(this->cache().deleteEntry(url));
    EXPECT_EQ(this->cache().lastError(), platform::errorFileNotFound);
}

TYPED_TEST_P(UrlCacheContract, AClosedEnumerationIsNoLongerKnown)
{
    this->env.add("http://" + this->tag() + ".test/", normalEntry);
    auto found = this->first(nullptr, everyEntry);
    ASSERT_NE(found.handle, 0u);
    this->cache().findClose(found.handle);
    std::uint32_t size = 0;
    EXPECT_FALSE(this->cache().findNextEntry(found.handle, nullptr, size));
    EXPECT_EQ(this->cache().lastError(), platform::errorInvalidHandle);
    this->cache().findClose(0); // accepted, does nothing
}

TYPED_TEST_P(UrlCacheContract, FileTimesBecomeCalendarTimes)
{
    // 2000-01-01 12:34:56.789 UTC.
    const std::uint64_t ticks = 125911584000000000ull + (((12 * 60 + 34) * 60 + 56) * 1000ull + 789) * 10000;
    platform::CacheSystemTime t{};
    ASSERT_TRUE(this->cache().fileTimeToSystemTime({static_cast<std::uint32_t>(ticks),
                                                    static_cast<std::uint32_t>(ticks >> 32)}, t));
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.dayOfWeek, t.hour, t.minute, t.second, t.milliseconds}),
              std::vector<int>({2000, 1, 1, 6, 12, 34, 56, 789}));
    EXPECT_FALSE(this->cache().fileTimeToSystemTime({0, 0x80000000u}, t));

    platform::CacheFileTime local{};
    ASSERT_TRUE(this->cache().fileTimeToLocalFileTime({static_cast<std::uint32_t>(ticks),
                                                       static_cast<std::uint32_t>(ticks >> 32)}, local));
    auto offset = static_cast<std::int64_t>((static_cast<std::uint64_t>(local.high) << 32 | local.low) - ticks);
    constexpr std::int64_t quarterHour = 15 * 60 * 10000000ll;
    EXPECT_EQ(offset % quarterHour, 0);
    EXPECT_LE(std::abs(offset), 14 * 4 * quarterHour);
}

TYPED_TEST_P(UrlCacheContract, ACookieSetThroughTheInternetCallsIsACookieEntry)
{
    const std::string host = this->tag() + ".test";
    if (!this->env.setCookie("http://" + host + "/", "flavour=oatmeal; expires=Sat, 01-Jan-2050 00:00:00 GMT"))
        GTEST_SKIP() << "the in-memory cache has no internet calls that make entries";
    std::vector<std::string> cookies = this->listed("Cookie:", cookieEntry);
    ASSERT_EQ(cookies.size(), 1u);
    EXPECT_TRUE(this->cache().deleteEntry(cookies[0]));
}

REGISTER_TYPED_TEST_SUITE_P(UrlCacheContract, ASizeProbeReportsTheSizeAndOpensNothing,
                            PatternsSelectByTheStartOfTheName, TheFilterSelectsByEntryType,
                            AProbeDoesNotMoveTheEnumeration, EntriesDeletedWhileEnumeratingAreAllMet,
                            AnEntryInUseCannotBeDeleted, AClosedEnumerationIsNoLongerKnown,
                            FileTimesBecomeCalendarTimes, ACookieSetThroughTheInternetCallsIsACookieEntry);

} // namespace contract
