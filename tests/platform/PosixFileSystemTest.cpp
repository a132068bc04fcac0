// The POSIX file system against a real temporary folder: Windows paths and
// search rules over host files, attribute words, deletion rules, reads.
#include "platform/posix/PosixFileSystem.h"

#include "platform/Errors.h"
#include "support/SearchNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using platform::FindEntry;
using testing::UnorderedElementsAre;

namespace {

class PosixFileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/nomblet-posixfs-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::create_directories(root_ / "Cookies" / "Sub");
        write("Cookies/user@site[1].txt", "cookie one");
        write("Cookies/README", "no dot");
        write("Cookies/index.dat", "index");
        write("Cookies/.hidden", "h");
        fileSystem_ = std::make_unique<PosixFileSystem>(root_.string());
    }
    void TearDown() override
    {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(root_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
    }

    void write(const std::string& relative, const std::string& text)
    {
        std::ofstream(root_ / relative, std::ios::binary) << text;
    }

    std::vector<std::string> names(const std::string& pattern) { return searchNames(*fileSystem_, pattern); }

    fs::path root_;
    std::unique_ptr<PosixFileSystem> fileSystem_;
};

} // namespace

TEST_F(PosixFileSystemTest, DriveAndBackslashPathsMapIntoTheGivenFolder)
{
    EXPECT_EQ(fileSystem_->hostPath("C:\\Cookies\\x.txt"), root_.string() + "/Cookies/x.txt");
    EXPECT_EQ(fileSystem_->hostPath("c:\\"), root_.string() + "/");
    EXPECT_EQ(fileSystem_->hostPath("\\Cookies"), root_.string() + "/Cookies");
    EXPECT_EQ(fileSystem_->hostPath("D:\\Cookies"), "");
    EXPECT_EQ(fileSystem_->hostPath("rel\\a"), "rel/a");
}

TEST_F(PosixFileSystemTest, AFolderSearchStreamsMatchingEntriesWithTheirAttributes)
{
    std::map<std::string, FindEntry> found;
    fileSystem_->findFiles("C:\\Cookies\\*.*", [&](const FindEntry& e) {
        found[e.name] = e;
        return true;
    });
    ASSERT_EQ(found.size(), 7u) << "., .., Sub and four files";
    EXPECT_EQ(found["Sub"].attributes, platform::faDirectory);
    EXPECT_EQ(found["."].attributes, platform::faDirectory);
    EXPECT_EQ(found["README"].attributes, platform::faArchive);
    EXPECT_EQ(found["user@site[1].txt"].sizeLow, 10u);
    EXPECT_EQ(found[".hidden"].attributes, platform::faArchive | platform::faHidden);

    EXPECT_THAT(names("C:\\COOKIES\\*.TXT"), testing::IsEmpty()) << "folders keep the host's letter case";
    EXPECT_THAT(names("C:\\Cookies\\*.TXT"), UnorderedElementsAre("user@site[1].txt"));
    EXPECT_THAT(names("C:\\Cookies\\INDEX.DAT"), UnorderedElementsAre("index.dat"));
    EXPECT_THAT(names("C:\\Cookies\\index.dat"), UnorderedElementsAre("index.dat"));
    EXPECT_THAT(names("C:\\Cookies\\Sub"), UnorderedElementsAre("Sub"));
    EXPECT_THAT(names("C:\\*"), UnorderedElementsAre("Cookies")) << "a drive's root has no . and ..";
    EXPECT_THAT(names("C:\\Cookies\\\\README"), UnorderedElementsAre("README"));
    EXPECT_THAT(names("C:\\Nowhere\\*.*"), testing::IsEmpty());
    EXPECT_THAT(names("C:\\Cookies\\absent.txt"), testing::IsEmpty());
    EXPECT_THAT(names("D:\\Cookies\\*.*"), testing::IsEmpty());
    EXPECT_THAT(names("C:\\Cookies\\"), testing::IsEmpty());

    int visits = 0;
    fileSystem_->findFiles("C:\\Cookies\\*.*", [&](const FindEntry&) { return ++visits < 2; });
    EXPECT_EQ(visits, 2);
}

TEST_F(PosixFileSystemTest, AttributesComeFromTheRealFiles)
{
    write("Cookies/locked.txt", "ro");
    fs::permissions(root_ / "Cookies/locked.txt", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::create_symlink(root_ / "Cookies" / "Sub", root_ / "Cookies" / "link");

    EXPECT_EQ(fileSystem_->attributes("C:\\Cookies\\locked.txt"), platform::faArchive | platform::faReadOnly);
    EXPECT_EQ(fileSystem_->attributes("C:\\Cookies\\Sub"), platform::faDirectory);
    EXPECT_EQ(fileSystem_->attributes("C:\\Cookies\\Sub\\"), platform::faDirectory);
    EXPECT_EQ(fileSystem_->attributes("C:\\Cookies\\link"), platform::faDirectory | platform::faReparsePoint);
    EXPECT_EQ(fileSystem_->attributes("C:\\Cookies\\missing"), platform::invalidAttributes);
    EXPECT_EQ(fileSystem_->attributes("C:\\Nowhere\\missing"), platform::invalidAttributes);
    EXPECT_EQ(fileSystem_->attributes(""), platform::invalidAttributes);
}

TEST_F(PosixFileSystemTest, DeletionFollowsTheWindowsRules)
{
    write("Cookies/ro.txt", "ro");
    fs::permissions(root_ / "Cookies/ro.txt", fs::perms::owner_write, fs::perm_options::remove);

    EXPECT_TRUE(fileSystem_->deleteFile("C:\\Cookies", "README"));
    EXPECT_FALSE(fs::exists(root_ / "Cookies/README"));
    EXPECT_FALSE(fileSystem_->deleteFile("C:\\Cookies", "README")) << "already gone";
    EXPECT_FALSE(fileSystem_->deleteFile("C:\\Cookies", "ro.txt")) << "read-only";
    EXPECT_TRUE(fs::exists(root_ / "Cookies/ro.txt"));
    EXPECT_FALSE(fileSystem_->deleteFile("C:\\Cookies", "Sub")) << "a folder";
    EXPECT_TRUE(fs::exists(root_ / "Cookies/Sub"));

    EXPECT_FALSE(fileSystem_->removeDirectory("C:\\", "Cookies")) << "not empty";
    EXPECT_FALSE(fileSystem_->removeDirectory("C:\\Cookies", "index.dat")) << "a file";
    EXPECT_TRUE(fileSystem_->removeDirectory("C:\\Cookies\\", "Sub"));
    EXPECT_FALSE(fs::exists(root_ / "Cookies/Sub"));
}

TEST_F(PosixFileSystemTest, AFolderIsFoundWhereItReallyIsOnTheDrive)
{
    fs::create_symlink(root_ / "Cookies" / "Sub", root_ / "link");
    fs::create_symlink("/", root_ / "away");
    struct Case {
        const char* folder;
        const char* final;
    } cases[] = {
        {"C:\\Cookies", "C:\\Cookies"},
        {"C:\\Cookies\\Sub\\..\\", "C:\\Cookies"},
        {"C:\\link", "C:\\Cookies\\Sub"},
        {"C:\\", "C:\\"},
        {"C:\\away", ""},      // off the drive: no name in its terms
        {"C:\\missing", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fileSystem_->finalPath(c.folder), c.final) << c.folder;
}

TEST_F(PosixFileSystemTest, LinksAreReportedAsLinksAndNeverDeletedThrough)
{
    write("target.txt", "twelve bytes");
    fs::permissions(root_ / "target.txt", fs::perms::owner_write, fs::perm_options::remove);
    fs::create_symlink(root_ / "target.txt", root_ / "Cookies" / "filelink");
    fs::create_symlink(root_ / "Cookies" / "Sub", root_ / "Cookies" / "dirlink");
    fs::create_symlink(root_ / "gone", root_ / "Cookies" / "dangling");
    struct Case {
        const char* name;
        std::uint32_t attributes;
    } cases[] = {
        {"filelink", platform::faArchive | platform::faReparsePoint},
        {"dirlink", platform::faDirectory | platform::faReparsePoint},
        {"dangling", platform::faArchive | platform::faReparsePoint},
    };
    std::map<std::string, FindEntry> found;
    fileSystem_->findFiles("C:\\Cookies\\*", [&](const FindEntry& e) {
        found.emplace(e.name, e);
        return true;
    });
    for (const Case& c : cases) {
        ASSERT_TRUE(found.count(c.name)) << c.name;
        EXPECT_EQ(found[c.name].attributes, c.attributes) << c.name;
        EXPECT_EQ(found[c.name].sizeLow, 0u) << c.name;
        EXPECT_EQ(fileSystem_->attributes(std::string("C:\\Cookies\\") + c.name), c.attributes) << c.name;
    }
    // A link's final path is elsewhere: neither it nor what it reaches goes.
    for (const Case& c : cases) {
        EXPECT_FALSE(fileSystem_->deleteFile("C:\\Cookies", c.name)) << c.name;
        EXPECT_FALSE(fileSystem_->removeDirectory("C:\\Cookies", c.name)) << c.name;
        EXPECT_TRUE(fs::is_symlink(root_ / "Cookies" / c.name)) << c.name;
    }
    EXPECT_TRUE(fs::exists(root_ / "target.txt"));
    EXPECT_TRUE(fs::exists(root_ / "Cookies" / "Sub"));
    // A link's own time says nothing of what it leads to.
    EXPECT_FALSE(fileSystem_->lastWriteTime("C:\\Cookies\\dirlink"));
    EXPECT_TRUE(fileSystem_->lastWriteTime("C:\\Cookies\\Sub"));
}

TEST_F(PosixFileSystemTest, WholeFileReadsGiveTheBytesOrAWindowsErrorCode)
{
    std::string binary("\0\1\2RIFF\xff", 8);
    write("Cookies/sound.wav", binary);
    write("Cookies/empty.wav", "");

    platform::FileContent content = fileSystem_->readWholeFile("C:\\Cookies\\sound.wav");
    ASSERT_TRUE(content.ok);
    EXPECT_EQ(std::string(content.bytes.begin(), content.bytes.end()), binary);

    content = fileSystem_->readWholeFile("C:\\Cookies\\empty.wav");
    EXPECT_TRUE(content.ok);
    EXPECT_TRUE(content.bytes.empty());

    content = fileSystem_->readWholeFile("C:\\Cookies\\missing.wav");
    EXPECT_FALSE(content.ok);
    EXPECT_EQ(content.error, platform::errorFileNotFound);

    content = fileSystem_->readWholeFile("C:\\Cookies\\Sub");
    EXPECT_FALSE(content.ok);
    EXPECT_EQ(content.error, platform::errorAccessDenied);

    content = fileSystem_->readWholeFile("C:\\Cookies\\index.dat\\x");
    EXPECT_FALSE(content.ok);
    EXPECT_EQ(content.error, platform::errorPathNotFound);

    if (::geteuid() != 0) { // root reads anything
        fs::permissions(root_ / "Cookies/sound.wav", fs::perms::all, fs::perm_options::remove);
        content = fileSystem_->readWholeFile("C:\\Cookies\\sound.wav");
        EXPECT_FALSE(content.ok);
        EXPECT_EQ(content.error, platform::errorAccessDenied);
    }
}

TEST_F(PosixFileSystemTest, TheCurrentFolderIsGivenInTheDrivesTerms)
{
    fs::path before = fs::current_path();
    fs::current_path(root_ / "Cookies" / "Sub");
    std::string inside = fileSystem_->currentDirectory();
    fs::current_path("/");
    std::string outside = fileSystem_->currentDirectory();
    fs::current_path(before);
    EXPECT_EQ(inside, "C:\\Cookies\\Sub");
    EXPECT_EQ(outside, "C:\\");
}

TEST_F(PosixFileSystemTest, WhatTheServiceChangesItSeesAtOnceDespiteRememberingItsLastLook)
{
    write("Cookies/ro.txt", "ro");
    fs::permissions(root_ / "Cookies/ro.txt", fs::perms::owner_write, fs::perm_options::remove);
    fileSystem_->findFiles("C:\\Cookies\\*.*", [&](const FindEntry& e) {
        std::string path = "C:\\Cookies\\" + e.name;
        std::uint32_t attributes = fileSystem_->attributes(path);
        EXPECT_EQ(attributes, e.attributes) << path;
        bool deleted = fileSystem_->deleteFile("C:\\Cookies", e.name);
        EXPECT_EQ(deleted, (attributes & (platform::faDirectory | platform::faReadOnly)) == 0) << path;
        if (deleted) {
            EXPECT_EQ(fileSystem_->attributes(path), platform::invalidAttributes) << path;
        }
        return true;
    });
    EXPECT_TRUE(fs::exists(root_ / "Cookies/ro.txt"));
    EXPECT_FALSE(fs::exists(root_ / "Cookies/README"));
}

TEST_F(PosixFileSystemTest, EverySearchIsEndedOnceWhateverTheVisitorDoes)
{
    auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = openFiles();
    EXPECT_THROW(fileSystem_->findFiles("C:\\Cookies\\*", [](const FindEntry&) -> bool { throw 1; }), int);
    fileSystem_->findFiles("C:\\Cookies\\*", [](const FindEntry&) { return false; });
    fileSystem_->findFiles("C:\\Missing\\*", [](const FindEntry&) { return true; });
    EXPECT_EQ(openFiles(), before);
    // The service's view of the folder it showed last is gone with the search.
    EXPECT_THAT(names("C:\\Cookies\\*.txt"), UnorderedElementsAre("user@site[1].txt"));
}
