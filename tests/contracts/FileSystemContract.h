// What every file system promises the program, written once and run against
// each implementation. A world makes one implementation with a folder to work
// in: root() names it in the service's own terms; addFile, addFolder,
// makeReadOnly, hold and addFileLink arrange its contents from outside the
// service (any name, taken whole). hold() and addFileLink() answer "" once
// done; a world that cannot model it answers why, and the test says so.
#pragma once

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/PathText.h"
#include "contracts/WorldNames.h"
#include "support/SearchNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>

template <typename World>
class FileSystemContract : public testing::Test {
protected:
    platform::IFileSystem& files() { return world.fileSystem(); }
    std::string path(const std::string& relative) { return world.root() + "\\" + relative; }
    // A folder as deletes take it: by its final path.
    std::string folder(const std::string& relative) { return files().finalPath(path(relative)); }
    std::vector<std::string> names(const std::string& relativePattern)
    {
        return searchNames(files(), path(relativePattern));
    }

    World world;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, SearchesMatchNamesWithoutRegardToCaseAndShowEntriesAsTheyAre)
{
    this->world.addFile("Cookies\\b.txt", "12345");
    this->world.addFile("Cookies\\A.TXT", "");
    this->world.addFolder("Cookies\\Sub");
    this->world.addFile("Cookies\\index.dat", "i");

    using testing::UnorderedElementsAre;
    EXPECT_THAT(this->names("Cookies\\*.*"), UnorderedElementsAre(".", "..", "b.txt", "A.TXT", "Sub", "index.dat"));
    EXPECT_THAT(this->names("Cookies\\*.txt"), UnorderedElementsAre("b.txt", "A.TXT"));
    EXPECT_THAT(this->names("Cookies\\INDEX.DAT"), UnorderedElementsAre("index.dat"));
    EXPECT_THAT(this->names("Nowhere\\*.*"), testing::IsEmpty());
    EXPECT_THAT(this->names("Cookies\\absent.txt"), testing::IsEmpty());

    std::map<std::string, platform::FindEntry> found;
    this->files().findFiles(this->path("Cookies\\*.*"), [&](const platform::FindEntry& e) {
        found.emplace(e.name, e);
        return true;
    });
    EXPECT_EQ(found.at("b.txt").sizeLow, 5u);
    EXPECT_EQ(found.at("b.txt").attributes & platform::faDirectory, 0u);
    EXPECT_NE(found.at("Sub").attributes & platform::faDirectory, 0u);
    EXPECT_EQ(found.at("b.txt").attributes, this->files().attributes(this->path("Cookies\\b.txt")));

    int visits = 0;
    this->files().findFiles(this->path("Cookies\\*.*"), [&](const platform::FindEntry&) { return ++visits < 2; });
    EXPECT_EQ(visits, 2) << "the visitor ends the search";
}

TYPED_TEST_P(FileSystemContract, EntriesMayBeDeletedWhileTheSearchRuns)
{
    constexpr int count = 50;
    for (int i = 0; i < count; ++i)
        this->world.addFile("Cookies\\c" + std::to_string(i) + ".txt", "x");
    int deleted = 0;
    const std::string cookies = this->folder("Cookies");
    this->files().findFiles(this->path("Cookies\\c*.txt"), [&](const platform::FindEntry& e) {
        deleted += this->files().deleteFile(cookies, e.name);
        // One not yet met goes too: it must not come back as a broken entry.
        deleted += this->files().deleteFile(cookies, "c" + std::to_string(count - 1 - deleted) + ".txt");
        return true;
    });
    EXPECT_EQ(deleted, count);
    EXPECT_THAT(this->names("Cookies\\c*"), testing::IsEmpty());
}

TYPED_TEST_P(FileSystemContract, DeletionRefusesReadOnlyFilesFoldersAndWhatIsGone)
{
    this->world.addFile("Cookies\\ro.txt", "ro");
    this->world.makeReadOnly("Cookies\\ro.txt");
    this->world.addFile("Cookies\\Sub\\inner.txt", "in");
    this->world.addFile("Cookies\\plain.txt", "p");
    platform::IFileSystem& files = this->files();
    const std::string cookies = this->folder("Cookies");
    ASSERT_FALSE(cookies.empty());

    EXPECT_FALSE(files.deleteFile(cookies, "ro.txt")) << "read-only";
    EXPECT_NE(files.attributes(this->path("Cookies\\ro.txt")) & platform::faReadOnly, 0u);
    EXPECT_FALSE(files.deleteFile(cookies, "Sub")) << "a folder";
    EXPECT_FALSE(files.removeDirectory(cookies, "Sub")) << "not empty";
    EXPECT_FALSE(files.removeDirectory(cookies, "plain.txt")) << "a file";
    EXPECT_TRUE(files.deleteFile(this->folder("Cookies\\Sub"), "inner.txt"));
    EXPECT_TRUE(files.removeDirectory(cookies, "Sub"));
    EXPECT_EQ(files.attributes(this->path("Cookies\\Sub")), platform::invalidAttributes);
    EXPECT_TRUE(files.deleteFile(cookies, "plain.txt"));
    EXPECT_FALSE(files.deleteFile(cookies, "plain.txt")) << "already gone";
    EXPECT_EQ(files.attributes(this->path("Cookies\\plain.txt")), platform::invalidAttributes);
    EXPECT_EQ(files.attributes(this->path("Nowhere\\plain.txt")), platform::invalidAttributes);
}

TYPED_TEST_P(FileSystemContract, AFileHeldByAnotherProgramIsNeitherDeletedNorRead)
{
    this->world.addFile("Cookies\\held.txt", "h");
    if (const std::string cannot = this->world.hold("Cookies\\held.txt"); !cannot.empty())
        GTEST_SKIP() << cannot;
    EXPECT_FALSE(this->files().deleteFile(this->folder("Cookies"), "held.txt"));
    EXPECT_EQ(this->files().readWholeFile(this->path("Cookies\\held.txt")).error, platform::errorSharingViolation);
}

TYPED_TEST_P(FileSystemContract, WholeFileReadsGiveTheBytesOrTheSystemsErrorCode)
{
    const std::string binary("RIFF\0\1\2\xff", 8);
    this->world.addFile("Cookies\\sound.wav", binary);
    this->world.addFile("Cookies\\empty.wav", "");
    platform::IFileSystem& files = this->files();

    platform::FileContent content = files.readWholeFile(this->path("Cookies\\sound.wav"));
    ASSERT_TRUE(content.ok);
    EXPECT_EQ(std::string(content.bytes.begin(), content.bytes.end()), binary);
    content = files.readWholeFile(this->path("Cookies\\empty.wav"));
    EXPECT_TRUE(content.ok);
    EXPECT_TRUE(content.bytes.empty());

    struct Case {
        const char* relative;
        std::uint32_t error;
    };
    for (const Case& c : {Case{"Cookies\\missing.wav", platform::errorFileNotFound},
                        Case{"Nowhere\\x.wav", platform::errorPathNotFound}, Case{"Cookies", platform::errorAccessDenied}}) {
        content = files.readWholeFile(this->path(c.relative));
        EXPECT_FALSE(content.ok) << c.relative;
        EXPECT_EQ(content.error, c.error) << c.relative;
    }
}

TYPED_TEST_P(FileSystemContract, ReadsOfAFilesStartStopAtTheLimit)
{
    this->world.addFile("Cookies\\profiles.ini", "[Profile0]\r\nPath=x\r\n");
    platform::IFileSystem& files = this->files();
    struct Case {
        const char* relative;
        std::uint32_t limit;
        bool ok;
        std::string bytes;
        std::uint32_t error;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"Cookies\\profiles.ini", 64 * 1024, true, "[Profile0]\r\nPath=x\r\n", 0},
             {"Cookies\\profiles.ini", 10, true, "[Profile0]", 0},
             {"Cookies\\profiles.ini", 0, true, "", 0},
             {"Cookies\\missing.ini", 10, false, "", 2},
             {"Cookies", 10, false, "", 5},
         }) {
        const platform::FileContent content = files.readFileStart(this->path(c.relative), c.limit);
        EXPECT_EQ(content.ok, c.ok) << c.relative << " " << c.limit;
        EXPECT_EQ(std::string(content.bytes.begin(), content.bytes.end()), c.bytes) << c.relative << " " << c.limit;
        if (!c.ok) {
            EXPECT_EQ(content.error, c.error) << c.relative;
        }
    }
}

TYPED_TEST_P(FileSystemContract, PathsLongerThanTheAnsiLimitWorkAsShortOnes)
{
    // Two levels, 340 characters below the root: every path in it is longer than 260.
    const std::string folder = std::string(200, 'f') + "\\" + std::string(139, 'g');
    this->world.addFile(folder + "\\cookie.txt", "12345");
    this->world.addFile(folder + "\\index.dat", "i");
    this->world.addFile(folder + "\\ro.txt", "r");
    this->world.makeReadOnly(folder + "\\ro.txt");
    this->world.addFolder(folder + "\\Sub");
    platform::IFileSystem& files = this->files();
    const auto at = [&](const std::string& name) { return this->path(folder + "\\" + name); };

    using testing::UnorderedElementsAre;
    EXPECT_THAT(this->names(folder + "\\*.*"), UnorderedElementsAre(".", "..", "cookie.txt", "index.dat", "ro.txt", "Sub"));
    EXPECT_THAT(this->names(folder + "\\COOKIE.TXT"), UnorderedElementsAre("cookie.txt"));
    EXPECT_NE(files.attributes(at("Sub")) & platform::faDirectory, 0u);
    EXPECT_NE(files.attributes(at("ro.txt")) & platform::faReadOnly, 0u);
    const platform::FileContent content = files.readWholeFile(at("cookie.txt"));
    EXPECT_EQ(std::string(content.bytes.begin(), content.bytes.end()), "12345");

    const std::string final = this->folder(folder);
    ASSERT_GT(final.size(), 260u);
    EXPECT_FALSE(files.deleteFile(final, "ro.txt")) << "read-only";
    EXPECT_TRUE(files.deleteFile(final, "cookie.txt"));
    EXPECT_EQ(files.attributes(at("cookie.txt")), platform::invalidAttributes);
    EXPECT_TRUE(files.removeDirectory(final, "Sub"));
    EXPECT_THAT(this->names(folder + "\\*.*"), UnorderedElementsAre(".", "..", "index.dat", "ro.txt"));
}

TYPED_TEST_P(FileSystemContract, AFoldersTimeMovesWhenAnEntryIsMadeOrRemovedInIt)
{
    this->world.addFile("Profile\\Cookies", "sqlite");
    this->world.addFile("Profile\\Network\\Cookies", "sqlite");
    platform::IFileSystem& files = this->files();
    // A real clock may be coarse: each change comes well after the last.
    const auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
    struct Case {
        const char* change;
        std::function<void()> make;
        bool moves;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"nothing", [] {}, false},
             {"an entry made", [&] { this->world.addFile("Profile\\Cookies-journal", "j"); }, true},
             {"an entry deleted", [&] { files.deleteFile(this->folder("Profile"), "Cookies"); }, true},
             {"an entry of a subfolder deleted", [&] { files.deleteFile(this->folder("Profile\\Network"), "Cookies"); },
              false},
             {"a read-only mark", [&] { this->world.makeReadOnly("Profile\\Cookies-journal"); }, false},
         }) {
        const std::optional<std::uint64_t> before = files.lastWriteTime(this->path("Profile"));
        ASSERT_TRUE(before) << c.change;
        later();
        c.make();
        EXPECT_EQ(files.lastWriteTime(this->path("Profile")) != before, c.moves) << c.change;
    }
    EXPECT_FALSE(files.lastWriteTime(this->path("Nowhere"))) << "a folder that is not there";
    EXPECT_FALSE(files.lastWriteTime(this->path("Nowhere\\Deeper"))) << "nor is its parent";
}

TYPED_TEST_P(FileSystemContract, AFileLinkListedAsAPlainFileIsNeverDeletedThrough)
{
    this->world.addFile("Outside\\target.txt", "kept");
    this->world.addFile("Cookies\\plain.txt", "p");
    if (const std::string cannot = this->world.addFileLink("Cookies\\flink.txt", "Outside\\target.txt");
        !cannot.empty())
        GTEST_SKIP() << cannot;
    platform::IFileSystem& files = this->files();
    const std::string cookies = this->folder("Cookies");
    EXPECT_THAT(this->names("Cookies\\*.txt"), testing::UnorderedElementsAre("plain.txt", "flink.txt"));

    EXPECT_FALSE(files.deleteFile(cookies, "flink.txt"));
    EXPECT_FALSE(files.removeDirectory(cookies, "flink.txt"));
    const platform::FileContent target = files.readWholeFile(this->path("Outside\\target.txt"));
    EXPECT_EQ(std::string(target.bytes.begin(), target.bytes.end()), "kept");
    EXPECT_THAT(this->names("Cookies\\flink.txt"), testing::ElementsAre("flink.txt"));
    EXPECT_TRUE(files.deleteFile(cookies, "plain.txt")) << "a plain file beside it";
}

TYPED_TEST_P(FileSystemContract, ListedNamesGoWholeAndMeanThatEntryAlone)
{
    // Each name, deleted, leaves the others as they were; a device's name is a
    // file of the folder, and one that is not there is not found.
    const char* names[] = {"index.dat", "index.dat.", "com1.txt", "spaced.txt "};
    for (const char* name : names)
        this->world.addFile(std::string("Cookies\\") + name, name);
    platform::IFileSystem& files = this->files();
    const std::string cookies = this->folder("Cookies");
    EXPECT_FALSE(files.deleteFile(cookies, "lpt1.txt"));
    EXPECT_FALSE(files.deleteFile(cookies, "NUL"));
    for (const char* name : {"", ".", "..", "..\\Cookies\\index.dat", "x/index.dat"})
        EXPECT_FALSE(files.deleteFile(cookies, name)) << "not a listed name: " << name;

    std::set<std::string> left(std::begin(names), std::end(names));
    for (const char* name : {"index.dat.", "com1.txt", "spaced.txt "}) {
        // What a delete says is what happened, to that entry alone.
        const bool deleted = files.deleteFile(cookies, name);
        if (deleted)
            left.erase(name);
        EXPECT_THAT(this->names("Cookies\\*"), testing::UnorderedElementsAreArray(
                                                     [&] {
                                                         std::vector<std::string> all{".", ".."};
                                                         all.insert(all.end(), left.begin(), left.end());
                                                         return all;
                                                     }()))
            << name << (deleted ? " deleted" : " kept");
    }
    EXPECT_TRUE(left.count("index.dat"));
    EXPECT_FALSE(left.count("com1.txt")) << "a file of that name is that file";
}

TYPED_TEST_P(FileSystemContract, AFoldersFinalPathIsWhereItIsOrNothing)
{
    this->world.addFolder("Cookies\\Sub");
    platform::IFileSystem& files = this->files();
    const std::string cookies = this->folder("Cookies");
    ASSERT_FALSE(cookies.empty());
    EXPECT_EQ(files.finalPath(cookies), cookies) << "a final path is its own";
    EXPECT_TRUE(platform::sameIgnoringCase(this->folder("Cookies\\Sub\\"), cookies + "\\Sub"));
    EXPECT_TRUE(platform::sameIgnoringCase(this->folder("Cookies\\Sub\\.."), cookies));
    EXPECT_EQ(this->folder("Nowhere"), "");
}

TYPED_TEST_P(FileSystemContract, AStoreAndItsCompanionsGoTogetherOrNoneOfThemGoes)
{
    const std::vector<std::string> trio{"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-shm"};
    this->world.addFile("Outside\\target", "kept");
    struct Case {
        const char* folder; // each case in a folder of its own, holding the trio
        std::function<std::string(const std::string&)> arrange; // given the folder; "" or why it cannot be
        std::vector<std::string> names;
        bool goes;
    };
    const auto nothing = [](const std::string&) { return std::string(); };
    for (const Case& c : std::initializer_list<Case>{
             {"Free", nothing, trio, true},
             {"Held", [&](const std::string& at) { return this->world.hold(at + "\\cookies.sqlite-wal"); }, trio, false},
             {"ReadOnly", [&](const std::string& at) { this->world.makeReadOnly(at + "\\cookies.sqlite-shm"); return std::string(); },
              trio, false},
             {"Linked", [&](const std::string& at) {
                  return this->world.addFileLink(at + "\\cookies.sqlite-wal", "Outside\\target"); }, trio, false},
             {"Absent", nothing, {"cookies.sqlite", "cookies.sqlite-wal", "cookies.sqlite-journal"}, false},
             {"Twice", nothing, {"cookies.sqlite", "COOKIES.SQLITE"}, false},
         }) {
        for (const std::string& name : trio)
            if (std::string(c.folder) != "Linked" || name != "cookies.sqlite-wal")
                this->world.addFile(std::string(c.folder) + "\\" + name, name);
        if (const std::string cannot = c.arrange(c.folder); !cannot.empty()) {
            std::printf("[ NOT RUN  ] %s: %s\n", c.folder, cannot.c_str());
            continue;
        }
        const std::string at = this->folder(c.folder);
        EXPECT_EQ(this->files().canDeleteTogether(at, c.names), c.goes) << c.folder;
        // The look lets every one go: a program that shares no deletion opens it.
        EXPECT_TRUE(this->files().readWholeFile(this->path(std::string(c.folder) + "\\cookies.sqlite")).ok) << c.folder;
        EXPECT_EQ(this->files().deleteTogether(at, c.names), c.goes) << c.folder;
        for (const std::string& name : trio)
            EXPECT_EQ(this->names(std::string(c.folder) + "\\" + name).empty(), c.goes) << c.folder << " " << name;
    }
    const platform::FileContent target = this->files().readWholeFile(this->path("Outside\\target"));
    EXPECT_EQ(std::string(target.bytes.begin(), target.bytes.end()), "kept");
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, SearchesMatchNamesWithoutRegardToCaseAndShowEntriesAsTheyAre,
                            EntriesMayBeDeletedWhileTheSearchRuns, DeletionRefusesReadOnlyFilesFoldersAndWhatIsGone,
                            AFileHeldByAnotherProgramIsNeitherDeletedNorRead,
                            WholeFileReadsGiveTheBytesOrTheSystemsErrorCode, ReadsOfAFilesStartStopAtTheLimit,
                            PathsLongerThanTheAnsiLimitWorkAsShortOnes,
                            AFileLinkListedAsAPlainFileIsNeverDeletedThrough,
                            ListedNamesGoWholeAndMeanThatEntryAlone, AFoldersFinalPathIsWhereItIsOrNothing,
                            AFoldersTimeMovesWhenAnEntryIsMadeOrRemovedInIt,
                            AStoreAndItsCompanionsGoTogetherOrNoneOfThemGoes);
