// The exists-as-a-file test: one look at the entry a path names.
#include "munch/FileExists.h"
#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace {

TEST(FileExists, APathExistsAsAFileWhenItNamesAnEntryThatIsNoFolder)
{
    struct Case {
        const char* path;
        bool exists;
        std::size_t looks;
    } cases[] = {
        {"C:\\ns\\cookies.txt", true, 1},
        {"C:\\ns\\COOKIES.TXT", true, 1}, // letter case does not matter
        {"C:\\ns\\hidden.txt", true, 1},
        {"C:\\ns\\readonly.txt", true, 1},
        {"C:\\ns", false, 1},
        {"C:\\ns\\missing.txt", false, 1},
        {"C:\\nowhere\\cookies.txt", false, 1},
        {"C:\\ns\\*.txt", false, 1}, // a pattern names no file, even where one matches
        {"C:\\ns\\cookies.tx?", false, 1},
        {"", false, 0},
    };
    for (const Case& c : cases) {
        FakeFileSystem files;
        files.addFile("C:\\ns\\cookies.txt");
        files.addFile("C:\\ns\\hidden.txt", "", platform::faHidden | platform::faSysFile);
        files.addFile("C:\\ns\\readonly.txt", "", platform::faReadOnly);
        EXPECT_EQ(FileExists(files, c.path), c.exists) << c.path;
        EXPECT_EQ(files.calls.size(), c.looks) << c.path;
    }
}

TEST(FileExists, ALookThatFailsFindsNoFile)
{
    FakeFileSystem files;
    files.addFile("C:\\ns\\cookies.txt");
    files.faults.failNext("attributes");
    EXPECT_FALSE(FileExists(files, "C:\\ns\\cookies.txt"));
    EXPECT_TRUE(FileExists(files, "C:\\ns\\cookies.txt"));
}

} // namespace
