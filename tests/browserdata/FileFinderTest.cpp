// The recursive file finder against the in-memory file system: which entries it
// lists, in which order and with which paths, its totals, its events, and that
// links are neither listed nor entered.
#include "browserdata/FileFinder.h"
#include "support/FakeCodePage.h"
#include "support/FakeFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

using platform::faArchive;
using platform::faDirectory;
using platform::faHidden;
using platform::faReparsePoint;
using platform::faSysFile;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class FileFinderTest : public testing::Test {
protected:
    void SetUp() override
    {
        files.addFolder("C:\\cache");
        files.addFile("C:\\cache\\top.htm", "12345");
        files.addFolder("C:\\cache\\A");
        files.addFile("C:\\cache\\A\\a1.gif", "xx");
        files.addFolder("C:\\cache\\A\\Deep");
        files.addFile("C:\\cache\\A\\Deep\\d.txt", "d");
        files.addFolder("C:\\cache\\B");
        files.addFile("C:\\cache\\B\\b1.txt", "bbb");
        finder.Directory = "C:\\cache";
        finder.Recurse = true;
        finder.Attributes = +ffReadOnly | +ffHidden | +ffSystem | +ffDirectory | +ffArchive;
    }
    std::vector<std::string> searchedPatterns() const
    {
        std::vector<std::string> patterns;
        for (const Call& call : files.callsOf("findFiles"))
            patterns.push_back(call.args[0]);
        return patterns;
    }

    FakeFileSystem files;
    FakeCodePage codePage;
    TFileFinder finder{nullptr, files, codePage};
};

} // namespace

TEST_F(FileFinderTest, TheWalkIsBreadthFirstWithEachFolderBeforeItsContents)
{
    for (const char* directory : {"C:\\cache", "C:\\cache\\"}) {
        finder.Directory = directory;
        finder.Execute();
        EXPECT_THAT(finder.Files(),
                    ElementsAre("C:\\cache\\top.htm", "C:\\cache\\A", "C:\\cache\\B", "C:\\cache\\A\\a1.gif",
                                "C:\\cache\\A\\Deep", "C:\\cache\\B\\b1.txt", "C:\\cache\\A\\Deep\\d.txt"))
            << directory;
    }
}

TEST_F(FileFinderTest, TheAttributeMaskPassesOverWhatItLacks)
{
    struct Case {
        std::uint32_t attributes;
        TAttrOptions options;
        bool listed;
    } cases[] = {
        {faArchive, 0, true}, // read-only and archive never exclude
        {faArchive | 0x01, 0, true},
        {faHidden | faArchive, +ffReadOnly | +ffArchive, false},
        {faHidden | faArchive, +ffHidden, true},
        {faSysFile, +ffHidden, false},
        {faSysFile, +ffSystem, true},
        {0x08, +ffSystem, false},
        {0x08, +ffVolumeID, true},
        {0x80 | 0x100, 0, true}, // normal, temporary: bits the mask does not speak of
    };
    for (const Case& c : cases) {
        FakeFileSystem one;
        one.addFolder("C:\\f");
        one.addFile("C:\\f\\entry", "", c.attributes);
        TFileFinder single(nullptr, one, codePage);
        single.Directory = "C:\\f";
        single.Attributes = c.options;
        single.Execute();
        EXPECT_EQ(single.Files().size(), c.listed ? 1u : 0u) << std::hex << c.attributes << " " << +c.options;
    }
}

TEST_F(FileFinderTest, FoldersAreWalkedEvenWhenTheyAreNotListed)
{
    files.addFolder("C:\\cache\\Hidden", faDirectory | faHidden);
    files.addFile("C:\\cache\\Hidden\\h.txt");
    finder.Attributes = +ffReadOnly | +ffArchive; // no folders, no hidden ones
    finder.Execute();
    EXPECT_THAT(finder.Files(), ElementsAre("C:\\cache\\top.htm", "C:\\cache\\A\\a1.gif", "C:\\cache\\B\\b1.txt",
                                            "C:\\cache\\Hidden\\h.txt", "C:\\cache\\A\\Deep\\d.txt"));
}

TEST_F(FileFinderTest, AFilterChoosesWhatIsListedButNotWhereTheWalkGoes)
{
    finder.Filter = "*.txt";
    finder.Execute();
    EXPECT_THAT(finder.Files(), ElementsAre("C:\\cache\\B\\b1.txt", "C:\\cache\\A\\Deep\\d.txt"));
}

TEST_F(FileFinderTest, EachEntryKeepsTheAttributeWordItWasListedWith)
{
    files.addFile("C:\\cache\\A\\ro.txt", "", faArchive | 0x01);
    files.addFolder("C:\\cache\\B\\Sys", faDirectory | faHidden | faSysFile);
    files.addFile("C:\\cache\\B\\Sys\\s.txt", "", faHidden);
    struct Case {
        const char* filter;
        bool recurse;
        std::vector<std::pair<std::string, std::uint32_t>> listed;
    } cases[] = {
        {"*.*", true,
         {{"C:\\cache\\top.htm", faArchive}, {"C:\\cache\\A", faDirectory}, {"C:\\cache\\B", faDirectory},
          {"C:\\cache\\A\\a1.gif", faArchive}, {"C:\\cache\\A\\Deep", faDirectory},
          {"C:\\cache\\A\\ro.txt", faArchive | 0x01}, {"C:\\cache\\B\\b1.txt", faArchive},
          {"C:\\cache\\B\\Sys", faDirectory | faHidden | faSysFile}, {"C:\\cache\\A\\Deep\\d.txt", faArchive},
          {"C:\\cache\\B\\Sys\\s.txt", faHidden}}},
        {"*.txt", true,
         {{"C:\\cache\\A\\ro.txt", faArchive | 0x01}, {"C:\\cache\\B\\b1.txt", faArchive},
          {"C:\\cache\\A\\Deep\\d.txt", faArchive}, {"C:\\cache\\B\\Sys\\s.txt", faHidden}}},
        {"*.*", false,
         {{"C:\\cache\\top.htm", faArchive}, {"C:\\cache\\A", faDirectory}, {"C:\\cache\\B", faDirectory}}},
    };
    for (const Case& c : cases) {
        finder.Filter = c.filter;
        finder.Recurse = c.recurse;
        finder.Execute();
        ASSERT_EQ(finder.FileAttributes().size(), finder.Files().size()) << c.filter << " " << c.recurse;
        std::vector<std::pair<std::string, std::uint32_t>> listed;
        for (std::size_t i = 0; i < finder.Files().size(); ++i)
            listed.emplace_back(finder.Files()[i], finder.FileAttributes()[i]);
        EXPECT_EQ(listed, c.listed) << c.filter << " " << c.recurse;
    }
}

TEST_F(FileFinderTest, TotalsCountPlainFoldersApartAndSizesWrap)
{
    files.addFolder("C:\\cache\\Archived", faDirectory | faArchive);
    files.addFile("C:\\cache\\big", std::string(70000, 'x'));
    finder.Execute();
    EXPECT_EQ(finder.DirCount(), 3);  // A, B, Deep: an archived folder counts as a file
    EXPECT_EQ(finder.FileCount(), 6); // five files and the archived folder
    EXPECT_EQ(finder.TotalSize(), 5 + 2 + 1 + 3 + 70000);

    FakeFileSystem huge;
    huge.addFolder("C:\\h");
    TFileFinder sizes(nullptr, huge, codePage);
    sizes.Directory = "C:\\h";
    // The low size words of three entries pass 2^32 between them.
    struct Sized final : platform::IFileSystem {
        void findFiles(const std::string&, const std::function<bool(const platform::FindEntry&)>& visit) override
        {
            for (const char* name : {"a", "b", "c"})
                visit({name, faArchive, 0x60000000});
        }
        std::uint32_t attributes(const std::string&) override { return 0; }
        std::optional<std::uint64_t> lastWriteTime(const std::string&) override { return std::nullopt; }
        std::string finalPath(const std::string&) override { return {}; }
        bool deleteFile(const std::string&, const std::string&) override { return false; }
        bool removeDirectory(const std::string&, const std::string&) override { return false; }
        bool canDeleteTogether(const std::string&, const std::vector<std::string>&) override { return false; }
        bool deleteTogether(const std::string&, const std::vector<std::string>&) override { return false; }
        platform::FileContent readWholeFile(const std::string&) override { return {}; }
        platform::FileContent readFileStart(const std::string&, std::uint32_t) override { return {}; }
        std::string currentDirectory() override { return {}; }
    } sized;
    TFileFinder wrapping(nullptr, sized, codePage);
    wrapping.Directory = "C:\\h";
    wrapping.Execute();
    EXPECT_EQ(wrapping.TotalSize(), static_cast<std::int32_t>(0x20000000u));
}

TEST_F(FileFinderTest, LinksAreNeitherListedNorEntered)
{
    files.addFolder("C:\\cache\\ToOutside", faDirectory | faReparsePoint);
    files.addFile("C:\\cache\\ToOutside\\precious.doc");
    files.addFile("C:\\cache\\FileLink", "", faArchive | faReparsePoint);
    finder.Execute();
    for (const std::string& path : finder.Files())
        EXPECT_EQ(path.find("ToOutside"), std::string::npos) << path;
    EXPECT_THAT(finder.Files(), testing::Not(testing::Contains("C:\\cache\\FileLink")));
    for (const std::string& pattern : searchedPatterns())
        EXPECT_EQ(pattern.find("ToOutside"), std::string::npos) << pattern;
}

TEST_F(FileFinderTest, DotsAndNamesWithSeparatorsAreNeverListed)
{
    files.addFile("C:\\cache\\B\\odd/name");
    finder.Execute();
    for (const std::string& path : finder.Files()) {
        EXPECT_NE(path.substr(path.size() - 2), "\\.");
        EXPECT_EQ(path.find('/'), std::string::npos) << path;
    }
    EXPECT_EQ(finder.Files().size(), 7u);
}

TEST_F(FileFinderTest, OneFolderAloneWithoutRecurse)
{
    std::vector<std::string> paths;
    finder.OnNewPath = [&](TObject*, const std::string& path, bool&) { paths.push_back(path); };
    finder.Recurse = false;
    finder.Execute();
    EXPECT_THAT(paths, ElementsAre("C:\\cache\\"));
    EXPECT_THAT(finder.Files(), ElementsAre("C:\\cache\\top.htm", "C:\\cache\\A", "C:\\cache\\B"));
}

TEST_F(FileFinderTest, AnAbortStaysUntilAHandlerClearsIt)
{
    std::vector<std::string> paths;
    finder.OnNewPath = [&](TObject*, const std::string& path, bool& abort) {
        paths.push_back(path);
        abort = true;
    };
    finder.Execute();
    EXPECT_THAT(paths, ElementsAre("C:\\cache\\"));
    EXPECT_THAT(finder.Files(), IsEmpty());

    finder.OnNewPath = nullptr;
    finder.Execute();
    EXPECT_THAT(finder.Files(), IsEmpty()); // still set

    finder.OnNewPath = [](TObject*, const std::string&, bool& abort) { abort = false; };
    finder.Execute();
    EXPECT_EQ(finder.Files().size(), 7u);
}

TEST_F(FileFinderTest, AFolderIsAnnouncedOnceItsSubfoldersAreQueued)
{
    // What the handler sees and does at the root decides what follows.
    const struct {
        const char* name;
        bool abort;
        const char* addedFolder; // made by the handler inside the root
        std::vector<std::string> announced;
        std::vector<std::string> searched;
        std::vector<std::string> listed;
    } cases[] = {
        {"a folder made by the handler is listed but not walked", false, "C:\\cache\\New",
         {"C:\\cache\\", "C:\\cache\\A\\", "C:\\cache\\B\\", "C:\\cache\\A\\Deep\\"},
         {"C:\\cache\\*.*", "C:\\cache\\*.*", "C:\\cache\\A\\*.*", "C:\\cache\\A\\*.*",
          "C:\\cache\\B\\*.*", "C:\\cache\\B\\*.*", "C:\\cache\\A\\Deep\\*.*",
          "C:\\cache\\A\\Deep\\*.*"},
         {"C:\\cache\\top.htm", "C:\\cache\\A", "C:\\cache\\B", "C:\\cache\\New", "C:\\cache\\A\\a1.gif",
          "C:\\cache\\A\\Deep", "C:\\cache\\B\\b1.txt", "C:\\cache\\A\\Deep\\d.txt"}},
        {"an abort at the root comes after its subfolders were searched", true, nullptr,
         {"C:\\cache\\"}, {"C:\\cache\\*.*"}, {}},
    };
    for (const auto& c : cases) { // the abort, which stays, comes last
        files.calls.clear();
        std::vector<std::string> announced;
        finder.OnNewPath = [&](TObject*, const std::string& path, bool& abort) {
            announced.push_back(path);
            if (path == "C:\\cache\\" && c.addedFolder)
                files.addFolder(c.addedFolder);
            abort = path == "C:\\cache\\" && c.abort;
        };
        finder.Execute();
        EXPECT_EQ(announced, c.announced) << c.name;
        EXPECT_EQ(searchedPatterns(), c.searched) << c.name;
        EXPECT_EQ(finder.Files(), c.listed) << c.name;
    }
}

TEST_F(FileFinderTest, EventsFrameEachRunAndAnErrorLeavesAtOnce)
{
    std::vector<std::string> events;
    finder.BeforeExecute = [&](TObject*) { events.push_back("before " + std::to_string(finder.Files().size())); };
    finder.AfterExecute = [&](TObject*) { events.push_back("after"); };
    finder.Directory.clear();
    finder.Execute();
    EXPECT_THAT(events, ElementsAre("before 0", "after"));
    EXPECT_TRUE(files.callsOf("findFiles").empty());

    events.clear();
    finder.Directory = "C:\\cache";
    finder.OnNewPath = [&](TObject*, const std::string& path, bool&) {
        if (path == "C:\\cache\\B\\")
            throw std::runtime_error("stop");
    };
    EXPECT_THROW(finder.Execute(), std::runtime_error);
    EXPECT_THAT(events, ElementsAre("before 0")); // no after
    EXPECT_THAT(finder.Files(), ElementsAre("C:\\cache\\top.htm", "C:\\cache\\A", "C:\\cache\\B",
                                            "C:\\cache\\A\\a1.gif", "C:\\cache\\A\\Deep"));
}

TEST_F(FileFinderTest, ATrailByteThatLooksLikeABackslashIsNoSeparator)
{
    codePage.leadBytes = {0x83};
    const std::string folder = "C:\\cache\\\x83\x5C";   // a double-byte name ending in 0x5C
    const std::string rooted = "C:\\cache\\\x83\x5C\\"; // the same with its separator
    std::vector<std::string> paths;
    finder.OnNewPath = [&](TObject*, const std::string& path, bool&) { paths.push_back(path); };
    finder.Recurse = false;
    for (const std::string& directory : {folder, rooted}) {
        paths.clear();
        finder.Directory = directory;
        finder.Execute();
        EXPECT_THAT(paths, ElementsAre(rooted));
    }
    finder.Directory = "C:\\cache\\";
    paths.clear();
    finder.Execute();
    EXPECT_THAT(paths, ElementsAre("C:\\cache\\")); // a plain final backslash stays single
}
