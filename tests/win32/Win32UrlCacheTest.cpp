// Win32 only. The URL-cache adapter against Wine's WinINet: the cache contract,
// the sweeper deleting real entries, and the file finder on a real tree.
#include "browserdata/FileFinder.h"
#include "browserdata/UrlCache.h"
#include "contracts/UrlCacheContract.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32UrlCache.h"
#include "win32/ScratchFolder.h"

#include <wininet.h>

#include <gmock/gmock.h>

namespace {

// Real entries, made as a browser makes them and deleted again at the end.
class Win32UrlCacheEnvironment {
public:
    ~Win32UrlCacheEnvironment()
    {
        for (const std::string& url : held_)
            ::UnlockUrlCacheEntryFileA(url.c_str(), 0);
        for (const std::string& url : made_)
            ::DeleteUrlCacheEntryA(url.c_str());
    }
    platform::IUrlCache& cache() { return adapter_; }
    void add(const std::string& url, std::uint32_t type)
    {
        char file[MAX_PATH] = {};
        ASSERT_TRUE(::CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << url << " " << ::GetLastError();
        writeWholeFile(file, "<html>" + url + "</html>");
        FILETIME never{};
        ASSERT_TRUE(::CommitUrlCacheEntryA(url.c_str(), file, never, never, type, nullptr, 0, "htm", nullptr))
            << url << " " << ::GetLastError();
        made_.push_back(url);
    }
    void hold(const std::string& url)
    {
        std::vector<BYTE> info(4096);
        DWORD size = static_cast<DWORD>(info.size());
        ASSERT_TRUE(::RetrieveUrlCacheEntryFileA(url.c_str(),
                                                 reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(info.data()), &size,
                                                 0))
            << ::GetLastError();
        held_.push_back(url);
    }
    void release(const std::string& url)
    {
        ::UnlockUrlCacheEntryFileA(url.c_str(), 0);
        std::erase(held_, url);
    }
    bool setCookie(const std::string& url, const std::string& nameValue)
    {
        return ::InternetSetCookieA(url.c_str(), nullptr, nameValue.c_str()) != FALSE;
    }

private:
    Win32UrlCache adapter_;
    std::vector<std::string> made_;
    std::vector<std::string> held_;
};

std::string cookieOf(const std::string& url)
{
    char value[1024] = {};
    DWORD size = sizeof value;
    return ::InternetGetCookieA(url.c_str(), nullptr, value, &size) ? std::string(value) : std::string();
}

} // namespace

namespace contract {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, UrlCacheContract, Win32UrlCacheEnvironment);
} // namespace contract

TEST(Win32UrlCache, TheLibraryHasEveryNameTheProgramAsksFor)
{
    Win32UrlCache cache;
    EXPECT_TRUE(cache.libraryPresent());
}

TEST(Win32UrlCache, TheCookieCommandsSweepDeletesARealCookie)
{
    Win32UrlCache cache;
    TUrlCache::TestLibraryAtStart(cache);
    const std::string site = "http://sweep.nomblet.test/";
    const std::string page = "http://sweep.nomblet.test/page.htm";
    ASSERT_TRUE(::InternetSetCookieA(site.c_str(), nullptr, "flavour=oatmeal; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
    ASSERT_EQ(cookieOf(site), "flavour=oatmeal");
    Win32UrlCacheEnvironment pages;
    pages.add(page, 0x1);

    TUrlCache sweeper(nullptr, cache);
    sweeper.SearchPattern = spCookies;
    auto cookieEntries = [&] {
        std::vector<std::string> urls;
        for (auto r = sweeper.FindFirstEntry(0); r == 0; r = sweeper.FindNextEntry())
            if (sweeper.EntryInfo().SourceUrlName.find("sweep.nomblet.test") != std::string::npos)
                urls.push_back(sweeper.EntryInfo().SourceUrlName);
        return urls;
    };
    ASSERT_EQ(cookieEntries().size(), 1u);
    EXPECT_EQ(sweeper.EntryInfo().CacheEntryType & 0x00100000u, 0x00100000u);
    sweeper.DeleteAllEntries();
    // Wine keeps this process's own cookies in memory too: that the cookie is
    // gone for others is what the end-to-end scenario shows.
    EXPECT_TRUE(cookieEntries().empty());

    // The page is no cookie: it is still there, with what the copy reads of it.
    sweeper.SearchPattern = spAll;
    ASSERT_EQ(sweeper.FindFirstEntry(0), 0u);
    bool met = false;
    do {
        if (sweeper.EntryInfo().SourceUrlName == page) {
            met = true;
            EXPECT_EQ(sweeper.EntryInfo().FileExtension, "htm");
            EXPECT_THAT(sweeper.EntryInfo().LocalFileName, testing::EndsWith(".htm"));
            EXPECT_EQ(sweeper.EntryInfo().Size, 6 + page.size() + 7);
            EXPECT_GT(sweeper.EntryInfo().LastAccessTime, 40000.0); // some day after 2009
        }
    } while (sweeper.FindNextEntry() == 0);
    EXPECT_TRUE(met);
    sweeper.DeleteAllEntries();
    EXPECT_EQ(sweeper.FindFirstEntry(0), platform::errorNoMoreItems);
}

TEST(Win32FileFinder, WalksARealTreeFoldersFirst)
{
    ScratchFolder folder;
    for (const char* sub : {"A", "A\\Deep", "B"})
        ::CreateDirectoryA(folder.file(sub).c_str(), nullptr);
    writeWholeFile(folder.file("top.htm"), "12345");
    writeWholeFile(folder.file("A\\a.gif"), "12");
    writeWholeFile(folder.file("A\\Deep\\d.js"), "1");
    writeWholeFile(folder.file("B\\b.css"), "123");
    ::SetFileAttributesA(folder.file("B\\b.css").c_str(), FILE_ATTRIBUTE_HIDDEN);

    Win32FileSystem files;
    Win32CodePage codePage;
    TFileFinder finder(nullptr, files, codePage);
    finder.Directory = folder.path();
    finder.Recurse = true;
    finder.Attributes = +ffReadOnly | +ffSystem | +ffDirectory | +ffArchive; // no hidden ones
    finder.Execute();
    const std::string p = folder.path() + "\\";
    EXPECT_THAT(finder.Files(), testing::UnorderedElementsAre(p + "A", p + "B", p + "top.htm", p + "A\\Deep",
                                                              p + "A\\a.gif", p + "A\\Deep\\d.js"));
    auto at = [&](const std::string& path) {
        return std::find(finder.Files().begin(), finder.Files().end(), path) - finder.Files().begin();
    };
    EXPECT_LT(at(p + "A"), at(p + "A\\Deep"));
    EXPECT_LT(at(p + "A\\Deep"), at(p + "A\\Deep\\d.js"));
    EXPECT_EQ(finder.DirCount(), 3);
    EXPECT_EQ(finder.FileCount(), 3);
    EXPECT_EQ(finder.TotalSize(), 8);
}
