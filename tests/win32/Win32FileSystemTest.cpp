// Win32 only. The file-system adapter against the real API, in a scratch folder.
#include "platform/win32/Win32FileSystem.h"
#include "support/SearchNames.h"
#include "platform/win32/ScopedHandle.h"
#include "win32/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST(Win32FileSystem, EntriesMayBeDeletedWhileTheSearchRuns)
{
    ScratchFolder folder;
    for (int i = 0; i < 100; ++i)
        writeWholeFile(folder.file("c" + std::to_string(i) + ".txt"), "x");
    Win32FileSystem fs;

    int deleted = 0, visits = 0;
    fs.findFiles(folder.path() + "\\c*.txt", [&](const FindEntry& e) {
        ++visits;
        deleted += fs.deleteFile(folder.path() + "\\" + e.name);
        return true;
    });
    EXPECT_EQ(deleted, 100);
    EXPECT_EQ(visits, 100);
    EXPECT_THAT(names(fs, folder.path() + "\\c*"), testing::IsEmpty());
}

TEST(Win32FileSystem, DeletionRefusesReadOnlyFilesFoldersAndHeldFiles)
{
    ScratchFolder folder;
    writeWholeFile(folder.file("ro.txt"), "ro");
    ::SetFileAttributesA(folder.file("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryA(folder.file("Sub").c_str(), nullptr);
    writeWholeFile(folder.file("Sub\\inner.txt"), "in");
    writeWholeFile(folder.file("plain.txt"), "p");
    Win32FileSystem fs;

    EXPECT_FALSE(fs.deleteFile(folder.file("ro.txt")));
    EXPECT_NE(fs.attributes(folder.file("ro.txt")), platform::invalidAttributes);
    EXPECT_FALSE(fs.deleteFile(folder.file("Sub")));
    EXPECT_FALSE(fs.removeDirectory(folder.file("Sub"))) << "not empty";
    EXPECT_FALSE(fs.removeDirectory(folder.file("plain.txt"))) << "a file";
    EXPECT_TRUE(fs.deleteFile(folder.file("Sub\\inner.txt")));
    EXPECT_TRUE(fs.removeDirectory(folder.file("Sub")));
    EXPECT_EQ(fs.attributes(folder.file("Sub")), platform::invalidAttributes);

    {
        ScopedFile held(::CreateFileA(folder.file("plain.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(fs.deleteFile(folder.file("plain.txt")));
    }
    EXPECT_TRUE(fs.deleteFile(folder.file("plain.txt")));
    EXPECT_FALSE(fs.deleteFile(folder.file("plain.txt"))) << "already gone";
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
