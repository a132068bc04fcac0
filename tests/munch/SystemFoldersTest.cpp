// The folders the program never empties: roots, the system's and the user's
// folders, and everything above them, wherever a path really leads.
#include "munch/SystemFolders.h"

#include "support/FakeFileSystem.h"
#include "support/FakeFolders.h"

#include <gtest/gtest.h>

namespace {

// Each folder as the cycle takes it: by its final path, when it can be opened.
bool refuses(SystemFolderGuard& guard, FakeFileSystem& files, const std::string& folder)
{
    const std::string where = files.finalPath(folder);
    EXPECT_FALSE(where.empty()) << folder << " cannot be opened";
    return guard.Refuses(where);
}

} // namespace

TEST(SystemFolders, RootsSystemFoldersAndFoldersAboveThemAreRefusedTheirInsidesAreNot)
{
    FakeFolders system;
    FakeFileSystem files;
    system.folders = {"C:\\WINDOWS", "C:\\WINDOWS\\system32", "C:\\WINDOWS\\Fonts", "C:\\Program Files",
                    "C:\\Documents and Settings\\user\\My Documents", "C:\\Documents and Settings\\user\\Favorites",
                    "\\\\server\\home\\user"};
    for (const std::string& folder : system.folders)
        if (folder[0] != '\\')
            files.addFolder(folder);
    files.addFolder("C:\\WINDOWS\\Cookies");
    files.addFolder("C:\\Documents and Settings\\user\\My Documents\\cookies");
    files.addFolder("C:\\ie\\cookies");
    files.addFolder("C:\\Program");
    files.addFolder("C:\\WINDOWS2");
    files.addFolder("D:\\WINDOWS");
    // Ways to reach a system folder under another name.
    files.addLink("C:\\lnk", "C:\\WINDOWS", platform::faDirectory);
    files.addLink("C:\\ie\\up", "C:\\Documents and Settings", platform::faDirectory);
    files.mapDrive('X', "C:\\WINDOWS");
    // The share is not reachable: it is judged as the system spells it.
    const struct {
        const char* folder;
        bool refused;
    } cases[] = {
        {"C:", true},
        {"C:\\", true},
        {"d:\\", true},
        {"C:\\WINDOWS", true},
        {"c:\\windows\\", true}, // letter case and a trailing backslash
        {"C:\\WINDOWS\\\\", true},
        {"C:\\WINDOWS\\SYSTEM32", true},
        {"C:\\WINDOWS\\system32\\..", true},
        {"C:\\WINDOWS\\Fonts", true},
        {"C:\\Documents and Settings\\user\\Favorites", true},
        {"C:\\Program Files", true},
        {"C:\\Documents and Settings", true}, // above the user's Documents
        {"C:\\Documents and Settings\\user", true},
        {"C:\\lnk", true},                    // a link to the Windows folder
        {"C:\\lnk\\system32", true},
        {"C:\\ie\\up\\user", true},
        {"X:\\", true},                       // a drive mapped onto the Windows folder
        {"X:\\system32", true},
        {"\\??\\C:\\WINDOWS", true},          // prefix forms
        {"\\\\?\\C:\\WINDOWS\\system32", true},
        {"\\\\.\\C:\\WINDOWS", true},
        {"C:\\WINDOWS\\Cookies", false},      // inside a system folder is the user's choice
        {"X:\\Cookies", false},
        {"C:\\lnk\\Cookies", false},
        {"C:\\Documents and Settings\\user\\My Documents\\cookies", false},
        {"C:\\ie\\cookies", false},
        {"C:\\Program", false},               // a prefix of a name is not a folder above it
        {"C:\\WINDOWS2", false},
        {"D:\\WINDOWS", false},
    };
    SystemFolderGuard guard(system, files);
    for (const auto& c : cases)
        EXPECT_EQ(refuses(guard, files, c.folder), c.refused) << c.folder;
    EXPECT_TRUE(guard.Refuses("\\\\server\\home\\user"));
    EXPECT_TRUE(guard.Refuses("\\\\server\\home"));
    EXPECT_TRUE(guard.Refuses("\\\\?\\UNC\\server\\home"));
    EXPECT_FALSE(guard.Refuses("\\\\server\\home\\user\\cookies"));
    EXPECT_EQ(system.callsOf("systemFolders").size(), 1u) << "asked for once";
}

TEST(SystemFolders, AFolderIsJudgedOnceUntilAnotherIsAsked)
{
    FakeFolders system;
    FakeFileSystem files;
    for (const std::string& folder : system.folders)
        files.addFolder(folder);
    SystemFolderGuard guard(system, files);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(guard.Refuses("C:\\WINDOWS"));
    EXPECT_EQ(files.callsOf("finalPath").size(), system.folders.size()) << "the host's folders, once";
    EXPECT_FALSE(guard.Refuses("C:\\ie\\cookies"));
    EXPECT_TRUE(guard.Refuses("C:\\WINDOWS"));
    EXPECT_EQ(files.callsOf("finalPath").size(), system.folders.size());
}

TEST(SystemFolders, WithoutTheHostsFoldersEveryFolderIsRefusedAndNoVerdictIsKept)
{
    FakeFolders system;
    FakeFileSystem files;
    SystemFolderGuard unnamed(system, files);
    system.faults.failNext("systemFolders");
    EXPECT_TRUE(unnamed.Refuses("C:\\ie\\cookies"));
    EXPECT_FALSE(unnamed.Refuses("C:\\ie\\cookies")) << "asked again once the host names them";

    system.faults.failNext("systemFolders");
    SystemFolderGuard failedFirst(system, files);
    EXPECT_TRUE(failedFirst.Refuses("C:\\WINDOWS"));
    EXPECT_TRUE(failedFirst.Refuses("C:\\WINDOWS")) << "not the verdict of the failed query";
}
