// The in-memory URL cache keeps the contract of the real one.
#include "contracts/UrlCacheContract.h"
#include "support/FakeUrlCache.h"

namespace {

struct FakeUrlCacheEnvironment {
    platform::IUrlCache& cache() { return fake; }
    void add(const std::string& url, std::uint32_t type) { fake.add({.url = url, .type = type}); }
    void hold(const std::string& url) { fake.setInUse(url, true); }
    void release(const std::string& url) { fake.setInUse(url, false); }
    bool setCookie(const std::string&, const std::string&) { return false; }

    FakeUrlCache fake;
};

} // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, UrlCacheContract, FakeUrlCacheEnvironment);
} // namespace contract

TEST(FakeUrlCache, FailsAnyCallOnDemandWithItsError)
{
    FakeUrlCache fake;
    fake.add({.url = "http://a.example/"});
    fake.faultError = 1234;
    fake.faults.failNext("*");
    std::uint32_t size = 0;
    EXPECT_EQ(fake.findFirstEntry(nullptr, 0, 1, 0, nullptr, size), 0u);
    EXPECT_EQ(fake.lastError(), 1234u);
    EXPECT_EQ(size, 0u); // nothing reported
    fake.faults.failNext("deleteEntry");
    EXPECT_FALSE(fake.deleteEntry("http://a.example/"));
    EXPECT_TRUE(fake.contains("http://a.example/"));
    fake.present = false;
    EXPECT_FALSE(fake.libraryPresent());
}
