// The compiled-in Public Suffix List: normal, wildcard, exception and private rules.
#include "sites/PublicSuffixes.h"

#include <gtest/gtest.h>

TEST(PublicSuffixes, CountsTheLabelsOfAHostsPublicSuffix)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"aaa", 1}, {"com", 1}, {"example.com", 1}, {"co.uk", 2}, {"www.example.co.uk", 2}, // normal
        {"ck", 1}, {"foo.ck", 2}, {"a.b.foo.ck", 2}, {"a.kawasaki.jp", 3},                // wildcard
        {"www.ck", 1}, {"a.www.ck", 1}, {"city.kawasaki.jp", 2}, {"a.city.kawasaki.jp", 2}, // exception
        {"blogspot.com", 2}, {"me.blogspot.com", 2}, {"x.compute.amazonaws.com", 4},      // private
        {"xn--p1ai", 1}, {"example.xn--p1ai", 1}, {"xn--55qx5d.cn", 2},                   // in Unicode
        {"example.unknown", 0}, {"localhost", 0}, {"", 0}, {"xn--zzzzzzz.cn", 1},
    };
    for (const auto& [host, labels] : cases)
        EXPECT_EQ(PublicSuffixLabels(host), labels) << host;
}
