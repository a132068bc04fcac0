// The in-memory file system behaves as the real one does where the program can tell.
#include "support/FakeFileSystem.h"

#include "platform/Errors.h"
#include "support/SearchNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using platform::FindEntry;
using testing::ElementsAre;

namespace {

std::vector<std::string> names(FakeFileSystem& fs, const std::string& pattern)
{
    return searchNames(fs, pattern);
}

} // namespace

TEST(FakeFileSystem, SearchesListInOrderWithDotsAndMatchWithoutRegardToCase)
{
    FakeFileSystem fs;
    fs.addFile("C:\\Win\\Cookies\\b.txt", "12345");
    fs.addFile("C:\\Win\\Cookies\\A.TXT", "", platform::faArchive | platform::faReadOnly);
    fs.addFolder("C:\\Win\\Cookies\\Sub");
    fs.addFile("C:\\Win\\Cookies\\index.dat");

    EXPECT_THAT(names(fs, "C:\\Win\\Cookies\\*.*"), ElementsAre(".", "..", "b.txt", "A.TXT", "Sub", "index.dat"));
    EXPECT_THAT(names(fs, "c:\\WIN\\cookies\\*.txt"), ElementsAre("b.txt", "A.TXT"));
    EXPECT_THAT(names(fs, "C:\\Win\\Cookies\\INDEX.DAT"), ElementsAre("index.dat"));
    EXPECT_THAT(names(fs, "C:\\*.*"), ElementsAre("Win"));
    EXPECT_THAT(names(fs, "C:\\Nowhere\\*.*"), testing::IsEmpty());

    std::vector<FindEntry> entries;
    fs.findFiles("C:\\Win\\Cookies\\b.txt", [&](const FindEntry& e) {
        entries.push_back(e);
        return true;
    });
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes, platform::faArchive);
    EXPECT_EQ(entries[0].sizeLow, 5u);
    EXPECT_EQ(fs.attributes("C:\\Win\\Cookies\\a.txt"), platform::faArchive | platform::faReadOnly);
    EXPECT_EQ(fs.attributes("C:\\Win\\Cookies\\Sub"), platform::faDirectory);
    EXPECT_EQ(fs.attributes("C:\\Win\\missing"), platform::invalidAttributes);
}

TEST(FakeFileSystem, DeletesFollowTheRulesAndMayHappenWhileASearchRuns)
{
    FakeFileSystem fs;
    fs.addFile("C:\\C\\one");
    fs.addFile("C:\\C\\two");
    fs.addFile("C:\\C\\three");
    fs.addFile("C:\\C\\ro", "", platform::faArchive | platform::faReadOnly);
    fs.addFile("C:\\C\\held");
    fs.lock("C:\\C\\held");
    fs.addFolder("C:\\C\\Sub");

    std::vector<std::string> seen;
    fs.findFiles("C:\\C\\*", [&](const FindEntry& e) {
        seen.push_back(e.name);
        fs.deleteFile("C:\\C", e.name);
        fs.deleteFile("C:\\C", "three"); // one not yet met
        return true;
    });
    EXPECT_THAT(seen, ElementsAre(".", "..", "one", "two", "ro", "held", "Sub"));
    EXPECT_THAT(fs.list("C:\\C"), ElementsAre("ro", "held", "Sub"));

    EXPECT_FALSE(fs.removeDirectory("C:\\", "C"));
    EXPECT_TRUE(fs.removeDirectory("C:\\C", "Sub"));
    fs.faults.failNext("deleteFile");
    fs.setAttributes("C:\\C\\ro", platform::faArchive);
    EXPECT_FALSE(fs.deleteFile("C:\\C", "ro"));
    EXPECT_TRUE(fs.deleteFile("C:\\C", "ro"));
    EXPECT_EQ(fs.callsOf("deleteFile").back(), (Call{"deleteFile", {"C:\\C", "ro"}}));
}

TEST(FakeFileSystem, ReadsGiveContentsOrTheSystemsErrorCodes)
{
    FakeFileSystem fs;
    fs.addFile("C:\\s\\a.wav", std::string("RI\0FF", 5));
    fs.addFile("C:\\s\\busy.wav", "x");
    fs.lock("C:\\s\\busy.wav", false);
    fs.addFile("C:\\s\\shared.wav", "y");
    fs.lock("C:\\s\\shared.wav");

    auto read = fs.readWholeFile("C:\\S\\A.WAV");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(std::string(read.bytes.begin(), read.bytes.end()), std::string("RI\0FF", 5));
    EXPECT_EQ(fs.readWholeFile("C:\\s\\busy.wav").error, platform::errorSharingViolation);
    EXPECT_TRUE(fs.readWholeFile("C:\\s\\shared.wav").ok);
    EXPECT_EQ(fs.readWholeFile("C:\\s\\none.wav").error, platform::errorFileNotFound);
    EXPECT_EQ(fs.readWholeFile("C:\\t\\none.wav").error, platform::errorPathNotFound);
    EXPECT_EQ(fs.readWholeFile("C:\\s").error, platform::errorAccessDenied);
    fs.readFaultError = 21;
    fs.faults.failNext("readWholeFile");
    EXPECT_EQ(fs.readWholeFile("C:\\s\\a.wav").error, 21u);

    fs.currentDir = "C:\\s";
    EXPECT_EQ(fs.currentDirectory(), "C:\\s");
    EXPECT_TRUE(fs.readWholeFile("a.wav").ok) << "relative to the current folder";
}

TEST(FakeFileSystem, LinksAndMappedDrivesAreFollowedAsWineFollowsThem)
{
    FakeFileSystem fs;
    fs.addFile("C:\\Real\\Cookies\\a.txt", "a");
    fs.addLink("C:\\lnk", "C:\\Real", platform::faDirectory);
    fs.addLink("C:\\Real\\Cookies\\flink.txt", "C:\\Real\\Cookies\\a.txt");
    fs.addLink("C:\\loop1", "C:\\loop2", platform::faDirectory);
    fs.addLink("C:\\loop2", "C:\\loop1", platform::faDirectory);
    fs.mapDrive('x', "C:\\Real");
    const struct {
        const char* path;
        const char* final;
    } cases[] = {
        {"C:\\lnk\\cookies", "C:\\Real\\Cookies"}, {"x:\\COOKIES\\", "C:\\Real\\Cookies"},
        {"X:\\", "C:\\Real"},                       {"\\??\\c:\\real", "C:\\Real"},
        {"\\\\?\\C:\\lnk", "C:\\Real"},             {"\\\\.\\C:\\", "C:\\"},
        {"C:\\lnk\\Cookies\\flink.txt", "C:\\Real\\Cookies\\a.txt"},
        {"C:\\loop1\\x", ""},                       {"Y:\\", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fs.finalPath(c.path), c.final) << c.path;
    // Listed as Wine lists them: a file link as a plain file, a folder link as a folder and reparse point.
    std::map<std::string, std::uint32_t> listed;
    fs.findFiles("C:\\*", [&](const FindEntry& e) { return listed.emplace(e.name, e.attributes), true; });
    fs.findFiles("X:\\Cookies\\*", [&](const FindEntry& e) { return listed.emplace(e.name, e.attributes), true; });
    EXPECT_EQ(listed["lnk"], platform::faDirectory | platform::faReparsePoint);
    EXPECT_EQ(listed["flink.txt"], platform::faArchive);
    EXPECT_EQ(fs.readWholeFile("C:\\lnk\\Cookies\\flink.txt").bytes, std::vector<std::uint8_t>{'a'});
}
