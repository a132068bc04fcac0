// The browser cleanup commands: which cache entries go, what leaves the cache
// folder (in memory and on real files through the POSIX file system), the
// sounds, the counter, the cursor and the gate.
#include "app/MainFormFixture.h"

#include "platform/posix/PosixFileSystem.h"
#include "resources/BuiltinSounds.h"

#include <gmock/gmock.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

const std::string cacheDir = "C:\\WINDOWS\\Temporary Internet Files";

class CleanupCommandsTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        fakes.urlCache.add({.url = "http://a.example/"});
        fakes.urlCache.add({.url = "Cookie:joe@a.example/", .type = 0x00100000});
        fakes.urlCache.add({.url = "Visited:joe@http://a.example/", .type = 0x00200000});
        form = &start();
        form->PopupMenu1->OnPopup(form->PopupMenu1);
        fakes.ui.calls.clear();
        // A second passes between two sounds: none is held back.
        form->CleanupSounds.Now() = [t = std::chrono::steady_clock::time_point{}]() mutable {
            return t += std::chrono::seconds(1);
        };
    }
    // The sounds started, by name.
    std::vector<std::string> sounds() const
    {
        auto burp = BuiltinBurpImage();
        std::vector<std::string> names;
        for (const auto& image : fakes.sound.played)
            names.push_back(std::equal(image.begin(), image.end(), burp.begin(), burp.end()) ? "burp" : "crunch");
        return names;
    }
    std::vector<std::string> cursorChanges() const
    {
        std::vector<std::string> changes;
        for (const Call& call : fakes.ui.callsOf("setScreenCursor"))
            changes.push_back(call.args[0]);
        return changes;
    }
    void threeLevels()
    {
        fakes.fileSystem.addFile(cacheDir + "\\L1\\f1.htm");
        fakes.fileSystem.addFile(cacheDir + "\\L1\\L2\\f2.gif");
        fakes.fileSystem.addFile(cacheDir + "\\L1\\L2\\L3\\f3.js");
    }

    TForm1* form = nullptr;
};

} // namespace

TEST_F(CleanupCommandsTest, CookieEntriesGoWithACrunchAndTheCounterStartsAgain)
{
    form->State.MunchedCount = 41;
    form->Cookies1->Caption = "Munched = 41";
    form->ClearCookieCacheShortcuts1->Click();
    EXPECT_THAT(fakes.urlCache.urls(), ElementsAre("http://a.example/", "Visited:joe@http://a.example/"));
    EXPECT_THAT(sounds(), ElementsAre("crunch"));
    EXPECT_EQ(form->State.MunchedCount, 0);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 41"); // until the next munch
    EXPECT_THAT(cursorChanges(), ElementsAre("HourGlass", "Default"));
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(CleanupCommandsTest, HistoryEntriesGoAndTheCounterStays)
{
    form->State.MunchedCount = 41;
    form->DeleteIEHistory1->Click();
    EXPECT_THAT(fakes.urlCache.urls(), ElementsAre("http://a.example/", "Cookie:joe@a.example/"));
    EXPECT_THAT(sounds(), ElementsAre("crunch"));
    EXPECT_EQ(form->State.MunchedCount, 41);
    EXPECT_THAT(cursorChanges(), ElementsAre("HourGlass", "Default"));
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(CleanupCommandsTest, WithSoundsOffEveryCommandIsSilent)
{
    form->SoundsOn1->Checked = false;
    threeLevels();
    form->ClearCookieCacheShortcuts1->Click();
    form->DeleteIEHistory1->Click();
    form->DeleteIECache1->Click();
    EXPECT_THAT(sounds(), IsEmpty());
    EXPECT_FALSE(fakes.fileSystem.exists(cacheDir + "\\L1\\L2\\L3"));
}

TEST_F(CleanupCommandsTest, ClearIECacheEmptiesTheFolderOneLevelOfFoldersAtATime)
{
    threeLevels();
    fakes.fileSystem.addFile("C:\\WINDOWS\\outside.txt");
    form->DeleteIECache1->Click();
    EXPECT_TRUE(fakes.urlCache.urls().empty());
    // The folders stood before their files in the list: the second pass finds
    // only the deepest one empty.
    EXPECT_THAT(fakes.fileSystem.list(cacheDir), ElementsAre("L1"));
    EXPECT_THAT(fakes.fileSystem.list(cacheDir + "\\L1"), ElementsAre("L2"));
    EXPECT_THAT(fakes.fileSystem.list(cacheDir + "\\L1\\L2"), IsEmpty());
    EXPECT_THAT(sounds(), ElementsAre("crunch", "crunch", "burp"));
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\WINDOWS\\outside.txt"));
    EXPECT_TRUE(fakes.fileSystem.exists(cacheDir)); // never in its own list
    EXPECT_THAT(cursorChanges(), ElementsAre("HourGlass", "Default"));
    EXPECT_FALSE(form->State.MenuOpen);

    fakes.sound.played.clear();
    form->DeleteIECache1->Click();
    EXPECT_THAT(fakes.fileSystem.list(cacheDir), IsEmpty());
    EXPECT_THAT(sounds(), ElementsAre("crunch", "burp", "crunch", "burp"));
}

TEST_F(CleanupCommandsTest, SoundsInQuickSuccessionEndWithTheLastOne)
{
    threeLevels();
    for (int i = 0; i < 5; ++i)
        fakes.fileSystem.addFolder(cacheDir + "\\Empty" + std::to_string(i));
    form->CleanupSounds.Now() = [] { return std::chrono::steady_clock::time_point{}; }; // no time passes
    form->DeleteIECache1->Click();
    // The first crunch, then what the last removal would have left playing.
    EXPECT_THAT(sounds(), ElementsAre("crunch", "burp"));
}

TEST_F(CleanupCommandsTest, EachEntryGetsTheOneCallItsListingAllowsAndWhatIsGoneIsNotAskedAgain)
{
    struct Case {
        const char* what;
        std::function<void(FakeFileSystem&, const std::string& cache)> tree;
        std::vector<std::string> steps; // after the listing
        std::vector<std::string> sounds;
    } cases[] = {
        {"a file goes in the first pass",
         [](FakeFileSystem& fs, const std::string& cache) { fs.addFile(cache + "\\x.htm"); },
         {"deleteFile \\x.htm"},
         {"crunch", "crunch"}},
        {"a file in use is tried in both passes",
         [](FakeFileSystem& fs, const std::string& cache) {
             fs.addFile(cache + "\\busy.dat");
             fs.lock(cache + "\\busy.dat");
         },
         {"deleteFile \\busy.dat", "deleteFile \\busy.dat"},
         {"crunch", "crunch"}},
        {"a read-only file is tried in both passes",
         [](FakeFileSystem& fs, const std::string& cache) { fs.addFile(cache + "\\ro.htm", "", platform::faArchive | platform::faReadOnly); },
         {"deleteFile \\ro.htm", "deleteFile \\ro.htm"},
         {"crunch", "crunch"}},
        {"an empty folder goes in the first pass",
         [](FakeFileSystem& fs, const std::string& cache) { fs.addFolder(cache + "\\E"); },
         {"removeDirectory \\E"},
         {"crunch", "burp", "crunch"}},
        {"a hidden system folder is a folder too",
         [](FakeFileSystem& fs, const std::string& cache) {
             fs.addFolder(cache + "\\Content.IE5", platform::faDirectory | platform::faHidden | platform::faSysFile);
         },
         {"removeDirectory \\Content.IE5"},
         {"crunch", "burp", "crunch"}},
        {"a folder emptied by the first pass goes in the second",
         [](FakeFileSystem& fs, const std::string& cache) { fs.addFile(cache + "\\F\\x.htm"); },
         {"deleteFile \\F\\x.htm", "removeDirectory \\F"},
         {"crunch", "crunch", "burp"}},
        {"a folder holding only what is never listed is tried in both passes",
         [](FakeFileSystem& fs, const std::string& cache) {
             fs.addFolder(cache + "\\L\\Link", platform::faDirectory | platform::faReparsePoint);
         },
         {"removeDirectory \\L", "removeDirectory \\L"},
         {"crunch", "crunch"}},
        {"folders within folders: only the deepest empties in time",
         [](FakeFileSystem& fs, const std::string& cache) { fs.addFile(cache + "\\A\\B\\x.htm"); },
         {"deleteFile \\A\\B\\x.htm", "removeDirectory \\A", "removeDirectory \\A\\B"},
         {"crunch", "crunch", "burp"}},
        {"a folder left full is tried in both passes",
         [](FakeFileSystem& fs, const std::string& cache) {
             fs.addFile(cache + "\\U\\inuse.dat");
             fs.lock(cache + "\\U\\inuse.dat");
         },
         {"deleteFile \\U\\inuse.dat", "removeDirectory \\U", "deleteFile \\U\\inuse.dat"},
         {"crunch", "crunch"}},
    };
    int windows = 0;
    for (const Case& c : cases) {
        // A Windows directory of its own for each case: what one leaves is not in the next one's way.
        fakes.folders.windowsDir = "C:\\W" + std::to_string(++windows);
        const std::string cache = fakes.folders.windowsDir + "\\Temporary Internet Files";
        c.tree(fakes.fileSystem, cache);
        fakes.fileSystem.calls.clear();
        fakes.sound.played.clear();
        form->DeleteIECache1->Click();
        std::vector<std::string> steps;
        // Each entry goes as its folder and its name.
        for (const Call& call : fakes.fileSystem.calls)
            if (call.args.size() == 2)
                steps.push_back(call.operation + " " + (call.args[0] + call.args[1]).substr(cache.size()));
        EXPECT_EQ(steps, c.steps) << c.what;
        EXPECT_EQ(sounds(), c.sounds) << c.what;
    }
}

TEST_F(CleanupCommandsTest, TheTreeIsListedOnceBeforeThePasses)
{
    fakes.fileSystem.addFolder(cacheDir);
    form->DeleteIECache1->Click(); // the guard learns the system's folders once
    fakes.fileSystem.addFile(cacheDir + "\\F\\x.htm");
    fakes.fileSystem.calls.clear();
    form->DeleteIECache1->Click();
    std::vector<std::string> steps;
    for (const Call& call : fakes.fileSystem.calls) {
        // An entry goes as its folder and its name.
        const std::string path = call.args.size() == 2 ? call.args[0] + call.args[1] : call.args[0];
        steps.push_back(call.operation + " " + path);
    }
    const std::string in = cacheDir + "\\";
    EXPECT_THAT(steps, ElementsAre("attributes " + cacheDir, "finalPath " + cacheDir,       // where it is
                                   "findFiles " + in + "*.*", "findFiles " + in + "F\\*.*", // the list
                                   "deleteFile " + in + "F\\x.htm", "removeDirectory " + in + "F"));
}

TEST_F(CleanupCommandsTest, TheCacheFolderIsTheShellsOrTheWindowsDirectorysWithOneSeparator)
{
    const std::string shells = "C:\\users\\u\\AppData\\Local\\Microsoft\\Windows\\INetCache";
    const std::string folderName = "Temporary Internet Files";
    struct Case {
        std::string shellNames; // empty: it names none
        std::string windows;
        bool doubleByteCodePage;
        std::string expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {shells, "C:\\WINDOWS", false, shells},
             {"", "C:\\", false, "C:\\" + folderName},
             {"", "C:\\WINNT", false, "C:\\WINNT\\" + folderName},
             // A last character whose second byte is 0x5C still needs its separator;
             // without it the walk would empty a folder beside the Windows directory.
             {"", "C:\\\x81\\", true, "C:\\\x81\\\\" + folderName},
             {"", "C:\\\x81\\", false, "C:\\\x81\\" + folderName},
         }) {
        fakes.folders.shellFolders.clear();
        if (!c.shellNames.empty())
            fakes.folders.shellFolders[platform::ShellFolder::InternetCache] = c.shellNames;
        fakes.folders.windowsDir = c.windows;
        fakes.codePage.leadBytes.clear();
        if (c.doubleByteCodePage)
            fakes.codePage.leadBytes = {0x81};
        fakes.fileSystem.calls.clear();
        form->DeleteIECache1->Click();
        // The folder so named is looked at first (is it a link?), then taken where it is.
        const std::vector<Call> looks = fakes.fileSystem.callsOf("attributes");
        ASSERT_FALSE(looks.empty()) << c.windows;
        EXPECT_EQ(looks.front().args[0], c.expected) << c.windows;
    }
}

TEST_F(CleanupCommandsTest, TheShellsCacheFolderIsEmptiedAndKept)
{
    const std::string shells = "C:\\users\\u\\INetCache";
    fakes.folders.shellFolders[platform::ShellFolder::InternetCache] = shells;
    fakes.fileSystem.addFile(shells + "\\Content.IE5\\page.htm");
    fakes.fileSystem.addFile(shells + "\\top.htm");
    fakes.fileSystem.addFile(cacheDir + "\\old.htm");
    form->DeleteIECache1->Click();
    EXPECT_THAT(fakes.fileSystem.list(shells), IsEmpty());
    EXPECT_TRUE(fakes.fileSystem.exists(cacheDir + "\\old.htm")) << "the Windows directory's is not the cache";
}

TEST_F(CleanupCommandsTest, WithoutAWindowsDirectoryOrACacheFolderOnlyTheEntriesGo)
{
    // A first run leaves a list behind; the runs below must not go over it again.
    fakes.fileSystem.addFile(cacheDir + "\\kept.htm");
    fakes.fileSystem.lock(cacheDir + "\\kept.htm");
    form->DeleteIECache1->Click();
    ASSERT_THAT(form->FileFinder1->Files(), ElementsAre(cacheDir + "\\kept.htm"));
    fakes.fileSystem.addFile("C:\\Temporary Internet Files\\bystander.htm");

    fakes.folders.faults.failFrom("windowsDirectory");
    fakes.fileSystem.calls.clear();
    fakes.sound.played.clear();
    fakes.urlCache.add({.url = "http://b.example/"});
    form->DeleteIECache1->Click();
    EXPECT_TRUE(fakes.fileSystem.calls.empty());
    EXPECT_TRUE(fakes.urlCache.urls().empty());
    EXPECT_THAT(sounds(), ElementsAre("crunch", "crunch"));
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\Temporary Internet Files\\bystander.htm"));

    fakes.folders.faults.clear();
    fakes.folders.windowsDir = "D:\\nowhere";
    fakes.sound.played.clear();
    form->DeleteIECache1->Click();
    EXPECT_THAT(fakes.fileSystem.callsOf("findFiles"), IsEmpty());
    EXPECT_THAT(fakes.fileSystem.callsOf("deleteFile"), IsEmpty());
    EXPECT_THAT(sounds(), ElementsAre("crunch", "crunch"));
}

TEST_F(CleanupCommandsTest, WhatCannotBeDeletedStaysWithItsFolders)
{
    fakes.fileSystem.addFile(cacheDir + "\\R\\readonly.htm", "", platform::faArchive | platform::faReadOnly);
    fakes.fileSystem.addFile(cacheDir + "\\U\\inuse.dat");
    fakes.fileSystem.lock(cacheDir + "\\U\\inuse.dat");
    fakes.fileSystem.addFile(cacheDir + "\\G\\gone.htm");
    form->DeleteIECache1->Click();
    EXPECT_THAT(fakes.fileSystem.list(cacheDir), ElementsAre("R", "U"));
    EXPECT_TRUE(fakes.fileSystem.exists(cacheDir + "\\R\\readonly.htm"));
    EXPECT_TRUE(fakes.fileSystem.exists(cacheDir + "\\U\\inuse.dat"));
}

TEST_F(CleanupCommandsTest, NothingReachedThroughALinkIsTouched)
{
    fakes.fileSystem.addFolder(cacheDir + "\\Link", platform::faDirectory | platform::faReparsePoint);
    fakes.fileSystem.addFile(cacheDir + "\\Link\\precious.doc");
    fakes.fileSystem.addFile(cacheDir + "\\plain.htm");
    fakes.fileSystem.calls.clear();
    form->DeleteIECache1->Click();
    for (const Call& call : fakes.fileSystem.calls)
        EXPECT_EQ(call.args[0].find("Link"), std::string::npos) << call.operation << " " << call.args[0];
    EXPECT_TRUE(fakes.fileSystem.exists(cacheDir + "\\Link\\precious.doc"));
    EXPECT_FALSE(fakes.fileSystem.exists(cacheDir + "\\plain.htm"));
}

TEST_F(CleanupCommandsTest, ACacheFolderThatIsItselfALinkOrARefusedFolderIsNotWalked)
{
    fakes.fileSystem.addFile("C:\\elsewhere\\precious.doc");
    fakes.fileSystem.addFile("C:\\WINDOWS\\win.ini");
    const struct {
        const char* why;
        std::function<void()> arrange;
    } cases[] = {
        {"a link to an ordinary folder",
         [&] { fakes.fileSystem.addLink(cacheDir, "C:\\elsewhere", platform::faDirectory); }},
        {"a link to the Windows folder", [&] { fakes.fileSystem.addLink(cacheDir, "C:\\WINDOWS", platform::faDirectory); }},
        {"a folder above one of the system's",
         [&] {
             fakes.fileSystem.addFolder(cacheDir + "\\Content.IE5");
             fakes.folders.folders.push_back(cacheDir + "\\Content.IE5");
         }},
    };
    for (const auto& c : cases) {
        c.arrange();
        fakes.fileSystem.calls.clear();
        fakes.urlCache.add({.url = "http://b.example/"});
        form->DeleteIECache1->Click();
        EXPECT_THAT(fakes.fileSystem.callsOf("findFiles"), IsEmpty()) << c.why;
        EXPECT_THAT(fakes.fileSystem.callsOf("deleteFile"), IsEmpty()) << c.why;
        EXPECT_TRUE(fakes.urlCache.urls().empty()) << c.why << ": the cache entries still go";
        fakes.fileSystem.erase(cacheDir);
    }
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\elsewhere\\precious.doc"));
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\WINDOWS\\win.ini"));
}

TEST_F(CleanupCommandsTest, AFileLinkInTheCacheFolderIsPassedOverAndWhatItLeadsToStays)
{
    fakes.fileSystem.addFile("C:\\canary\\target.txt", "precious");
    fakes.fileSystem.addLink(cacheDir + "\\F\\flink.htm", "C:\\canary\\target.txt");
    fakes.fileSystem.addFile(cacheDir + "\\F\\plain.htm");
    fakes.fileSystem.addFile(cacheDir + "\\top.htm");
    form->DeleteIECache1->Click();
    EXPECT_EQ(fakes.fileSystem.contents("C:\\canary\\target.txt"), "precious");
    EXPECT_THAT(fakes.fileSystem.list(cacheDir), ElementsAre("F"));
    EXPECT_THAT(fakes.fileSystem.list(cacheDir + "\\F"), ElementsAre("flink.htm"));
}

TEST_F(CleanupCommandsTest, AnErrorPutsTheDefaultCursorBackBeforeItIsShown)
{
    fakes.fileSystem.addFile(cacheDir + "\\x.htm");
    form->FileFinder1->OnNewPath = [this](TObject*, const std::string&, bool&) {
        EXPECT_EQ(fakes.ui.screenCursor, platform::ScreenCursor::HourGlass);
        throw std::runtime_error("no way");
    };
    EXPECT_THROW(form->DeleteIECache1Click(form->DeleteIECache1), std::runtime_error);
    EXPECT_EQ(fakes.ui.screenCursor, platform::ScreenCursor::Default);
    EXPECT_THAT(cursorChanges(), ElementsAre("HourGlass", "Default"));
}

// ---- On real files: the POSIX file system under a temporary drive ----

namespace {

class CleanupOnDiskTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/nomblet-cleanup-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        cache_ = root_ / "WINDOWS" / "Temporary Internet Files";
        fs::create_directories(cache_);
    }
    void TearDown() override
    {
        diskApp_.reset();
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(root_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
    }
    // The main window on the real files below the temporary drive.
    TForm1& startOnDisk()
    {
        disk_ = std::make_unique<PosixFileSystem>(root_.string());
        services_ = std::make_unique<platform::Platform>(fakes.servicesWith(*disk_));
        diskApp_ = std::make_unique<TApplication>(fakes.ui);
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
        return diskApp_->CreateForm<TForm1>(*services_);
    }
    void write(const fs::path& path, const std::string& text = "x")
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    // Every path below a folder, links not followed.
    std::set<std::string> below(const fs::path& folder) const
    {
        std::set<std::string> paths;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            paths.insert(entry.path().lexically_relative(folder).string());
        return paths;
    }

    fs::path root_;
    fs::path cache_;
    std::unique_ptr<PosixFileSystem> disk_;
    std::unique_ptr<platform::Platform> services_;
    std::unique_ptr<TApplication> diskApp_;
};

} // namespace

TEST_F(CleanupOnDiskTest, LinksOutOfTheCacheAreLeftAndWhatTheyReachSurvives)
{
    const fs::path full = root_ / "canary-full";
    const fs::path empty = root_ / "canary-empty";
    write(full / "keep.txt", "mine");
    write(full / "sub" / "deeper.txt", "mine too");
    fs::create_directories(empty);
    write(root_ / "canary-file.txt", "single");
    write(cache_ / "Level1" / "page.htm");
    fs::create_directory_symlink(full, cache_ / "Level1" / "ToFull");
    fs::create_directory_symlink(empty, cache_ / "ToEmpty");
    fs::create_directory_symlink(cache_, cache_ / "Level1" / "ToItself");
    fs::create_symlink(root_ / "canary-file.txt", cache_ / "ToFile");

    TForm1& onDisk = startOnDisk();
    for (int run = 0; run < 3; ++run)
        onDisk.DeleteIECache1->Click();

    EXPECT_THAT(below(full), (std::set<std::string>{"keep.txt", "sub", "sub/deeper.txt"}));
    EXPECT_TRUE(fs::is_directory(empty));
    EXPECT_TRUE(fs::exists(root_ / "canary-file.txt"));
    EXPECT_THAT(below(cache_), (std::set<std::string>{"Level1", "Level1/ToFull", "Level1/ToItself", "ToEmpty",
                                                      "ToFile"}));
    for (const char* link : {"Level1/ToFull", "Level1/ToItself", "ToEmpty", "ToFile"})
        EXPECT_TRUE(fs::is_symlink(cache_ / link)) << link;
}

TEST_F(CleanupOnDiskTest, OddNamesGoAndNothingOutsideIsTouched)
{
    const std::string longName(210, 'n');
    write(cache_ / longName / (longName + ".htm"));
    write(cache_ / "with spaces" / "a page.htm");
    write(cache_ / "..." / "dots");
    write(cache_ / "caf\xE9" / "\xE9t\xE9.gif");
    write(cache_ / "back\\slash");
    write(cache_ / "Locked" / "readonly.htm");
    fs::permissions(cache_ / "Locked" / "readonly.htm", fs::perms::owner_write, fs::perm_options::remove);
    write(root_ / "WINDOWS" / "nomblet.ini", "[Settings]");
    write(root_ / "WINDOWS" / "Temporary Internet Files.bak" / "twin.htm");

    TForm1& onDisk = startOnDisk();
    onDisk.DeleteIECache1->Click();
    onDisk.DeleteIECache1->Click();

    // A name holding a backslash would name another path once joined: it stays.
    EXPECT_THAT(below(cache_), (std::set<std::string>{"Locked", "Locked/readonly.htm", "back\\slash"}));
    EXPECT_TRUE(fs::exists(root_ / "WINDOWS" / "nomblet.ini"));
    EXPECT_TRUE(fs::exists(root_ / "WINDOWS" / "Temporary Internet Files.bak" / "twin.htm"));
}

TEST_F(CleanupCommandsTest, UnderADoubleByteCodePageNamesAndFoldersGoByCharacters)
{
    // Code page 932: "ソ" (0x83 0x5C), "表" (0x95 0x5C) and "能" (0x94 0x5C) end in a backslash's byte.
    fakes.codePage.useJapanese();
    fakes.fileSystem.codePage = &fakes.codePage;
    const std::string shells = "C:\\users\\\x83\x5C\x83\x6A\x81\x5B\\INetCache";
    fakes.folders.shellFolders[platform::ShellFolder::InternetCache] = shells;
    fakes.fileSystem.addFile(shells + "\\\x95\x5C\\\x83\x5C.htm");
    fakes.fileSystem.addFile(shells + "\\\x94\x5C.htm");
    form->DeleteIECache1->Click();
    EXPECT_THAT(fakes.fileSystem.list(shells), IsEmpty());
}
