// The browsers' own cookie exceptions: what each format's entries keep, what
// bad input keeps, and when the files are read again.
#include "platform/sqlite/SqliteCookieDatabase.h"
#include "sites/BrowserExceptions.h"
#include "munch/StoreWorker.h"
#include "sites/SitePatterns.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

constexpr std::int64_t now = 1'800'000'000'000; // milliseconds since 1970
// A day either side of it, as Chromium writes times.
const std::string chromeDayAgo = std::to_string((now - 86'400'000 + 11'644'473'600'000) * 1000);
const std::string chromeDayOn = std::to_string((now + 86'400'000 + 11'644'473'600'000) * 1000);
using Named = std::vector<std::pair<std::u16string, std::string>>;

Named named(const TBrowserExceptions& exceptions)
{
    Named named;
    for (const TSourceSite& site : exceptions.Sites())
        named.emplace_back(site.name, site.source);
    return named;
}

std::string preferences(const std::string& cookies)
{
    return R"({"browser":{"x":[1,{"y":2}]},"profile":{"content_settings":{"exceptions":{"images":{"[*.]img.example,*":)"
           R"({"setting":1}},"cookies":)" +
           cookies + R"(}},"name":"Person 1"}})";
}

} // namespace

TEST(BrowserExceptions, EachFormatKeepsItsAllowEntriesInForceAndNothingElse)
{
    const std::pair<std::string, std::vector<std::string>> texts[] = {
        {preferences(R"({"[*.]keep.example,*":{"last_modified":"1","setting":1},)"
                     R"("https://www.keep2.example:443,*":{"setting":1,"expiration":"0"},)"
                     R"("block.example,*":{"setting":2},"session.example,*":{"setting":4},)"
                     R"("expired.example,*":{"setting":1,"expiration":")" +
                     chromeDayAgo + R"("},"later.example,*":{"setting":1,"expiration":")" + chromeDayOn +
                     R"("},"odd.example,*":{"setting":"1"},"odd2.example,*":[1],)"
                     R"("odd3.example,*":{"setting":1,"expiration":"soon"},"odd4.example,*":{"setting":1.0}})"),
         {"[*.]keep.example,*", "https://www.keep2.example:443,*", "later.example,*"}},
        {preferences(R"([{"[*.]keep.example,*":{"setting":1}}])"), {}},
        {preferences(R"("[*.]keep.example")"), {}},
        {R"({"profile":{"content_settings":{"exceptions":{"cookies":{"a.example,*":{"setting":1}}}}}})",
         {"a.example,*"}},
        {"not JSON at all", {}},
        {std::string(10'000, '[') + std::string(10'000, ']'), {}},
        {R"({"profile":{"content_settings":{"exceptions":{"cookies":{"b\xFF.example,*":{"setting":1}}}}}})", {}},
    };
    for (const auto& [text, patterns] : texts)
        EXPECT_EQ(AllowedInPreferences(text, now).patterns, patterns) << text.substr(0, 200);
    EXPECT_EQ(AllowedInPreferences(texts[0].first, now).until, now + 86'400'000);

    const TAllowedEntries permitted = AllowedPermissions(
        {{"https://keep.example", 1, 0, 0}, {"https://session.example", 8, 0, 0}, {"https://block.example", 2, 0, 0},
         {"https://expired.example", 1, 2, now - 1}, {"https://later.example^userContextId=1", 1, 2, now + 5},
         {"https://browsing.example", 1, 1, 0}},
        now);
    EXPECT_EQ(permitted.patterns, (std::vector<std::string>{"https://keep.example",
                                                            "https://later.example^userContextId=1",
                                                            "https://browsing.example"}));
    EXPECT_EQ(permitted.until, now + 5);
}

TEST(BrowserExceptions, APreferencesFileOfFiftyMegabytesIsReadWhole)
{
    // Large extension settings before the profile's, as Chromium orders its keys.
    std::string text = R"({"extensions":{"settings":[)";
    const std::string script(4000, 'x');
    while (text.size() < 50u * 1024 * 1024)
        text += R"({"id":"abcdefghijklmnop","permissions":["tabs",1,2.5,true,null],"script":")" + script + "\"},";
    text.back() = ']';
    text += R"(},"profile":{"content_settings":{"exceptions":{"cookies":{"[*.]keep.example,*":{"setting":1}}}}}})";
    EXPECT_EQ(AllowedInPreferences(text, now).patterns, std::vector<std::string>{"[*.]keep.example,*"});
    text.resize(text.size() - 1); // cut short: no JSON
    EXPECT_TRUE(AllowedInPreferences(text, now).patterns.empty());
}

TEST(BrowserExceptions, ReadsAFileAgainOnlyWhenItChangedAndKeepsTheLastReadingWhileItIsHeld)
{
    FakePlatform fakes;
    fakes.threads.runAtOnce = true;
    FakeFileSystem& files = fakes.fileSystem;
    std::int64_t clock = now;
    TStoreWorker worker(fakes.uiThread, fakes.threads);
    TBrowserExceptions exceptions(
        files, fakes.cookieDatabases, fakes.uiThread, [&](auto work) { return worker.Start(std::move(work)) != nullptr; },
        [&] { return clock; });
    int changes = 0;
    exceptions.OnChange = [&](TBrowserExceptions&) { ++changes; };

    const std::string ff = "C:\\ff\\p1", chrome = "C:\\chrome\\Default";
    // Text past U+FFFF is read as surrogate pairs; bytes that are no UTF-8 (cut, a surrogate encoded) name nothing.
    fakes.cookieDatabases.addPermissions(ff + "\\permissions.sqlite",
                                         {{"https://keep.example", 1, 0, 0}, {"https://soon.example", 1, 2, now + 10},
                                          {"https://\xF0\x9F\x92\xA9.la", 1, 0, 0}, {"https://b\xC3.example", 1, 0, 0},
                                          {"https://\xED\xA0\xBD\xED\xB2\xA9.la", 1, 0, 0}});
    files.setLastWriteTime(ff + "\\permissions.sqlite", 1);
    files.addFile(chrome + "\\Preferences", preferences(R"({"[*.]b\u00fccher.example,*":{"setting":1}})"));
    files.setLastWriteTime(chrome + "\\Preferences", 1);
    const std::vector<TFoundBrowser> browsers = {{0, {}, "C:\\ff", {ff}}, {5, {}, "C:\\chrome", {chrome}}};
    const auto reads = [&] {
        return files.callsOf("readFileStart").size() + fakes.cookieDatabases.callsOf("ReadCookiePermissions").size();
    };

    exceptions.Refresh(browsers);
    const Named all = {{u"keep.example", "Firefox"},
                       {u"soon.example", "Firefox"},
                       {u"\U0001F4A9.la", "Firefox"},
                       {u"b\u00fccher.example", "Chrome"}};
    EXPECT_EQ(named(exceptions), all);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(reads(), 2u);

    // Unchanged: nothing read. Held by its browser after a change: the last reading stands, and is tried again.
    exceptions.Refresh(browsers);
    EXPECT_EQ(reads(), 2u);
    fakes.cookieDatabases.setBusy(ff + "\\permissions.sqlite", true);
    files.setLastWriteTime(ff + "\\permissions.sqlite", 2);
    exceptions.Refresh(browsers);
    EXPECT_EQ(named(exceptions), all);
    fakes.cookieDatabases.setBusy(ff + "\\permissions.sqlite", false);
    clock = now + 10; // and an exception expired meanwhile
    exceptions.Refresh(browsers);
    EXPECT_EQ(named(exceptions), (Named{{u"keep.example", "Firefox"},
                                        {u"\U0001F4A9.la", "Firefox"},
                                        {u"b\u00fccher.example", "Chrome"}}));
    EXPECT_EQ(reads(), 4u);

    // A file gone, or no longer JSON, keeps nothing.
    files.erase(ff + "\\permissions.sqlite");
    files.addFile(chrome + "\\Preferences", "{\"profile\":");
    files.setLastWriteTime(chrome + "\\Preferences", 3);
    exceptions.Refresh(browsers);
    EXPECT_TRUE(named(exceptions).empty());
    EXPECT_EQ(changes, 4);
}

TEST(BrowserExceptions, TheFilesTheBrowsersWroteKeepTheirAllowedSiteThroughAMunch)
{
    namespace fs = std::filesystem;
    const fs::path data = fs::path(NOMBLET_SOURCE_DIR) / "tests/data/browsers";
    std::string made = (fs::temp_directory_path() / "nomblet-exceptions-XXXXXX").string();
    const fs::path root = ::mkdtemp(made.data());
    for (const char* name : {"exceptions/permissions.sqlite", "cookies.sqlite", "cookies.sqlite-wal", "Cookies",
                             "Cookies-journal"})
        fs::copy_file(data / name, root / fs::path(name).filename());
    platform::SqliteCookieDatabases databases;
    const platform::CookiePermissionsReading permissions =
        databases.ReadCookiePermissions((root / "permissions.sqlite").string());
    std::ifstream in(data / "exceptions/Preferences", std::ios::binary);
    const std::string preferences((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<TSourceSite> named;
    for (const auto& [allowed, source] : {std::pair{AllowedPermissions(permissions.rows, now), "Firefox"},
                                          std::pair{AllowedInPreferences(preferences, now), "Chromium"}})
        for (const std::string& pattern : allowed.patterns)
            named.push_back({HostOfPattern(std::u16string(pattern.begin(), pattern.end())), source});
    TKeepSites kept;
    kept.KeepFromSources(named);
    EXPECT_EQ(named.size(), 3u); // http:// and https:// from Firefox, one from Chromium
    EXPECT_EQ(kept.KeptBySources(), (std::map<std::string, std::string, std::less<>>{{"keep.example", "Firefox"}}));

    platform::Cancellation cancellation;
    const auto hostsOf = [&](const std::string& path, platform::CookieTable table) {
        const platform::CookieStoreOpening opening = databases.Open(path, table, cancellation);
        std::set<std::string> hosts;
        for (const platform::CookieHostRows& host : opening.store->Hosts())
            hosts.insert(host.host);
        return hosts;
    };
    for (const auto& [name, table] : {std::pair{"cookies.sqlite", platform::CookieTable::mozilla},
                                      std::pair{"Cookies", platform::CookieTable::chromium}}) {
        const std::string path = (root / name).string();
        std::set<std::string> keptHosts = hostsOf(path, table);
        const std::size_t all = keptHosts.size();
        std::erase_if(keptHosts, [](const std::string& host) { return !host.ends_with("keep.example"); });
        EXPECT_EQ(databases.Open(path, table, cancellation).store->Munch(
                      [&](std::string_view host) { return kept.Keeps(host); }),
                  platform::CookieMunchOutcome::munched);
        EXPECT_EQ(hostsOf(path, table), keptHosts) << name;
        EXPECT_LT(keptHosts.size(), all) << name;
    }
    fs::remove_all(root);
}
