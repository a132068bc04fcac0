// Win32 only. The file-system adapter against the real API, in a scratch folder.
#include "platform/win32/Win32FileSystem.h"
#include "platform/PathText.h"
#include "support/SearchNames.h"
#include "platform/win32/ScopedHandle.h"
#include "win32/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using platform::FindEntry;
using testing::UnorderedElementsAre;

namespace {

std::vector<std::string> names(Win32FileSystem& fs, const std::string& pattern)
{
    return searchNames(fs, pattern);
}

} // namespace

TEST(Win32FileSystem, SearchesGiveNamesAttributesAndSizes)
{
    ScratchFolder folder;
    writeWholeFile(folder.file("user@site[1].txt"), "0123456789");
    writeWholeFile(folder.file("README"), "");
    writeWholeFile(folder.file("index.dat"), "idx");
    ::CreateDirectoryA(folder.file("Sub").c_str(), nullptr);
    ::SetFileAttributesA(folder.file("index.dat").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    Win32FileSystem fs;

    std::map<std::string, FindEntry> found;
    fs.findFiles(folder.path() + "\\*.*", [&](const FindEntry& e) {
        found[e.name] = e;
        return true;
    });
    ASSERT_EQ(found.size(), 6u) << "., .., Sub and three files";
    EXPECT_EQ(found["user@site[1].txt"].sizeLow, 10u);
    EXPECT_TRUE(found["user@site[1].txt"].attributes & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(found["index.dat"].attributes & (platform::faReadOnly | platform::faDirectory), platform::faReadOnly);
    EXPECT_TRUE(found["Sub"].attributes & platform::faDirectory);
    EXPECT_TRUE(found[".."].attributes & platform::faDirectory);

    EXPECT_THAT(names(fs, folder.path() + "\\*.TXT"), UnorderedElementsAre("user@site[1].txt"));
    EXPECT_THAT(names(fs, folder.path() + "\\INDEX.DAT"), UnorderedElementsAre("index.dat"));
    EXPECT_THAT(names(fs, folder.path() + "\\\\README"), UnorderedElementsAre("README"));
    EXPECT_THAT(names(fs, folder.path() + "\\nowhere\\*.*"), testing::IsEmpty());

    int visits = 0;
    fs.findFiles(folder.path() + "\\*.*", [&](const FindEntry&) { return ++visits < 2; });
    EXPECT_EQ(visits, 2);
}

TEST(Win32FileSystem, AttributesOfAMissingPathAreAllBits)
{
    ScratchFolder folder;
    Win32FileSystem fs;
    EXPECT_EQ(fs.attributes(folder.file("missing.txt")), platform::invalidAttributes);
    EXPECT_EQ(fs.attributes(folder.file("nowhere\\missing.txt")), platform::invalidAttributes);
    EXPECT_TRUE(fs.attributes(folder.path()) & platform::faDirectory);
}

TEST(Win32FileSystem, WholeFileReadsShareWithWritersAndReportTheSystemError)
{
    ScratchFolder folder;
    std::string binary("RIFF\0\1\2\xff", 8);
    writeWholeFile(folder.file("sound.wav"), binary);
    writeWholeFile(folder.file("empty.wav"), "");
    Win32FileSystem fs;

    platform::FileContent content = fs.readWholeFile(folder.file("sound.wav"));
    ASSERT_TRUE(content.ok);
    EXPECT_EQ(std::string(content.bytes.begin(), content.bytes.end()), binary);

    content = fs.readWholeFile(folder.file("empty.wav"));
    EXPECT_TRUE(content.ok);
    EXPECT_TRUE(content.bytes.empty());

    EXPECT_EQ(fs.readWholeFile(folder.file("missing.wav")).error, static_cast<std::uint32_t>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(fs.readWholeFile(folder.file("nowhere\\x.wav")).error, static_cast<std::uint32_t>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(fs.readWholeFile(folder.path()).error, static_cast<std::uint32_t>(ERROR_ACCESS_DENIED));

    {
        // Another program writing the file while sharing reads: it can still be read.
        ScopedFile writer(::CreateFileA(folder.file("sound.wav").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_TRUE(fs.readWholeFile(folder.file("sound.wav")).ok);
    }
    {
        ScopedFile exclusive(
            ::CreateFileA(folder.file("sound.wav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(exclusive);
        content = fs.readWholeFile(folder.file("sound.wav"));
        EXPECT_FALSE(content.ok);
        EXPECT_EQ(content.error, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    }
}

TEST(Win32FileSystem, TheCurrentFolderIsTheProcesss)
{
    char expected[MAX_PATH];
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, expected);
    Win32FileSystem fs;
    EXPECT_EQ(fs.currentDirectory(), std::string(expected, length));
}

TEST(Win32FileSystem, EverySearchIsEndedOnceWhateverTheVisitorDoes)
{
    ScratchFolder folder;
    writeWholeFile(folder.file("a.txt"), "a");
    writeWholeFile(folder.file("b.txt"), "b");
    Win32FileSystem fs;
    DWORD before = 0, after = 0;
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &before));
    EXPECT_THROW(fs.findFiles(folder.file("*"), [](const FindEntry&) -> bool { throw 1; }), int);
    fs.findFiles(folder.file("*"), [](const FindEntry&) { return false; });
    fs.findFiles(folder.file("missing\\*"), [](const FindEntry&) { return true; }); // nothing to end
    ASSERT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &after));
    EXPECT_EQ(after, before);
}

TEST(Win32FileSystem, ANameWithNoAnsiFormIsShownByOneThatOpensThatEntryAlone)
{
    // U+0101 looks like "a" to the code page's best fit; "a.txt" beside it is read-only.
    ScratchFolder folder;
    struct Made {
        const wchar_t* name;
        bool readOnly;
    };
    const Made made[] = {{L"\x0101.txt", false}, {L"a.txt", true}, {L"\x4e2d\x6587\x540d.txt", false}};
    for (const Made& m : made) {
        const std::wstring path = kernelPath(folder.path()) + L"\\" + m.name;
        ::CloseHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (m.readOnly)
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    Win32FileSystem fs;

    std::vector<std::string> shown = names(fs, folder.path() + "\\*.txt");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), "a.txt"), 1) << "a look-alike names another file";
    for (const std::string& name : shown) {
        if (name != "a.txt") {
            EXPECT_TRUE(fs.deleteFile(fs.finalPath(folder.path()), name)) << name;
        }
    }
    EXPECT_THAT(names(fs, folder.path() + "\\*.txt"), UnorderedElementsAre("a.txt"));
}

TEST(Win32FileSystem, LongPathsResolveRelativePartsBeforeTheyAreTakenWhole)
{
    ScratchFolder folder;
    const std::string outer = std::string(150, 'o');
    const std::string inner = std::string(150, 'i');
    const std::string deep = folder.file(outer + "\\" + inner);
    ::CreateDirectoryW(kernelPath(folder.file(outer)).c_str(), nullptr);
    ::CreateDirectoryW(kernelPath(deep).c_str(), nullptr);
    writeWholeFile(deep + "\\cookie.txt", "c");
    Win32FileSystem fs;

    // The same file, spelt with "." and ".." and a forward slash, long and short.
    for (const std::string& path :
         {folder.file(outer + "\\.\\" + inner + "\\..\\" + inner + "\\cookie.txt"),
          folder.file(outer + "/" + inner + "/cookie.txt"),
          deep + "\\" + std::string(60, 'x') + "\\..\\cookie.txt"}) {
        EXPECT_EQ(fs.attributes(path) & platform::faDirectory, 0u) << path;
        EXPECT_THAT(names(fs, path), UnorderedElementsAre("cookie.txt")) << path;
    }
    EXPECT_THAT(names(fs, folder.file(outer + "\\" + inner + "\\..\\..\\*")),
                UnorderedElementsAre(".", "..", outer))
        << "a long path that comes back below the limit";

    // Relative to a current folder beyond the limit (Wine lets one be set).
    wchar_t before[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryW(std::wstring(deep.begin(), deep.end()).c_str()));
    const std::uint32_t relative = fs.attributes("cookie.txt");
    const bool deleted = fs.deleteFile(fs.finalPath("."), "cookie.txt");
    ::SetCurrentDirectoryW(before);
    EXPECT_NE(relative, platform::invalidAttributes);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(fs.attributes(deep + "\\cookie.txt"), platform::invalidAttributes);
}

TEST(Win32FileSystem, WhereTheSystemHasNoHandleCallsNamesStillGoWhole)
{
    // As before Windows Vista: no final paths, no file links; the plain calls
    // on the joined name.
    ScratchFolder folder;
    for (const char* name : {"index.dat", "index.dat.", "com1.txt", "plain.txt"})
        writeWholeFile(folder.file(name), name);
    ::CreateDirectoryA(folder.file("Sub").c_str(), nullptr);
    Win32FileSystem plain(false);
    const std::string where = plain.finalPath(folder.path());
    ASSERT_TRUE(platform::sameIgnoringCase(where, Win32FileSystem().finalPath(folder.path()))) << where;
    EXPECT_EQ(plain.finalPath(folder.file("missing")), "");

    const struct {
        const char* name;
        bool folder;
        bool done;
    } cases[] = {
        {"index.dat.", false, true}, {"com1.txt", false, true}, {"lpt1.txt", false, false},
        {"Sub", false, false},       {"plain.txt", true, false}, {"Sub", true, true},
        {"..", true, false},         {"x\\plain.txt", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.folder ? plain.removeDirectory(where, c.name) : plain.deleteFile(where, c.name), c.done) << c.name;
    EXPECT_THAT(names(plain, folder.path() + "\\*"), UnorderedElementsAre(".", "..", "index.dat", "plain.txt"));
    EXPECT_EQ(readWholeFile(folder.file("index.dat")), "index.dat");
}

TEST(Win32FileSystem, AFolderWithoutAnAnsiNameIsCarriedByItsShortNamesAndStillComparedWhole)
{
    // "Łukasz" and "表" have no form in code page 1252; "dir" stands beside "dir.".
    ScratchFolder folder;
    for (const wchar_t* made : {L"\x0141ukasz", L"\x0141ukasz\\Cookies", L"\x0141ukasz\\\x8868", L"dir", L"dir."})
        ::CreateDirectoryW((kernelPath(folder.path()) + L"\\" + made).c_str(), nullptr);
    for (const wchar_t* made : {L"\x0141ukasz\\Cookies\\a.txt", L"\x0141ukasz\\\x8868\\b.txt"})
        ::CloseHandle(::CreateFileW((kernelPath(folder.path()) + L"\\" + made).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    Win32FileSystem fs;
    std::string user;
    for (const std::string& name : names(fs, folder.path() + "\\*"))
        if (name != "." && name != ".." && name != "dir" && name != "dir.")
            user = name;
    ASSERT_FALSE(user.empty());

    const std::string final = fs.finalPath(folder.path() + "\\" + user);
    ASSERT_FALSE(final.empty()) << "no silent refusal";
    EXPECT_EQ(fs.finalPath(final), final) << "the form handed out is its own final path";
    std::string sub;
    for (const std::string& name : names(fs, final + "\\*"))
        if (name != "." && name != ".." && name != "Cookies")
            sub = name;
    const struct {
        std::string folder;
        const char* name;
        bool folderEntry;
        bool done;
    } cases[] = {
        {final + "\\Cookies", "a.txt", false, true},
        {final, "Cookies", false, false},
        {final, "Cookies", true, true},
        {final + "\\" + sub, "b.txt", false, true}, // a folder listed by its short name below it
        {final + "\\" + sub, "missing.txt", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.folderEntry ? fs.removeDirectory(c.folder, c.name) : fs.deleteFile(c.folder, c.name), c.done)
            << c.folder << " " << c.name;

    // Wine gives a trailing dot up in a final path: "dir." never stands for "dir".
    const std::string dotted = fs.finalPath("\\\\?\\" + folder.path() + "\\dir.");
    EXPECT_TRUE(dotted.empty() || dotted.back() == '.') << dotted;
}

TEST(Win32FileSystem, WithoutFinalPathsAFolderThatIsALinkOrLiesBeyondOneIsNotTaken)
{
    ScratchFolder folder;
    ::CreateDirectoryA(folder.file("Real").c_str(), nullptr);
    ::CreateDirectoryA(folder.file("Real\\Sub").c_str(), nullptr);
    const std::string cannot = makeLink(folder.file("Linked"), folder.file("Real"), true);
    ASSERT_EQ(cannot, "");
    Win32FileSystem plain(false), handles;
    const struct {
        const char* relative;
        bool plainTakes;
    } cases[] = {{"Real", true}, {"Real\\Sub", true}, {"Linked", false}, {"Linked\\Sub", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(!plain.finalPath(folder.file(c.relative)).empty(), c.plainTakes) << c.relative;
        // With final paths the link is where it leads.
        EXPECT_FALSE(handles.finalPath(folder.file(c.relative)).empty()) << c.relative;
    }
}
