// A store path deletes the file it names and nothing else: not a device, not
// what a link leads to, not another file its name might be read as.
#include "browserdata/StoreFiles.h"

#include "platform/PathText.h"
#include "support/FakeFileSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

TEST(StoreFiles, AStorePathDeletesThatVeryFileOrNothing)
{
    FakeFileSystem files;
    files.addFile("C:\\ns\\cookies.txt");
    files.addFile("C:\\ns\\com1.txt");
    files.addFile("C:\\ns\\held.txt");
    files.lock("C:\\ns\\held.txt");
    files.addFile("C:\\canary\\target.txt", "precious");
    files.addLink("C:\\ns\\flink.txt", "C:\\canary\\target.txt");
    files.addLink("C:\\via", "C:\\ns", platform::faDirectory);
    files.addFile("C:\\work\\here.txt");
    files.currentDir = "C:\\work";
    const struct {
        const char* path;
        bool deleted;
    } cases[] = {
        {"C:\\ns\\flink.txt", false},   // a link to a file outside
        {"C:\\ns\\COM1", false},        // a device, whatever the folder holds
        {"C:\\ns\\com1.txt", false},
        {"\\\\.\\C:\\ns\\cookies.txt", false},
        {"C:\\ns\\held.txt", false},
        {"C:\\ns\\", false},            // no name
        {"C:\\gone\\cookies.txt", false},
        {"C:\\VIA\\COOKIES.TXT", true}, // a folder reached through a link is still that folder
        {"C:\\ns\\cookies.txt", false}, // gone already
        {"here.txt", true},             // relative to the current folder
    };
    for (const auto& c : cases)
        EXPECT_EQ(DeleteStoreFile(files, c.path), c.deleted) << c.path;
    EXPECT_EQ(files.contents("C:\\canary\\target.txt"), "precious");
    EXPECT_TRUE(files.exists("C:\\ns\\com1.txt"));
    EXPECT_TRUE(files.exists("C:\\ns\\flink.txt"));
    for (const Call& call : files.callsOf("deleteFile"))
        EXPECT_FALSE(platform::opensDevice(call.args[1])) << "asked to delete " << call.args[1];
}

TEST(StoreFiles, TheFolderIsTakenByItsFinalPathAndTheNameAsWritten)
{
    FakeFileSystem files;
    files.addFile("C:\\ns\\index.dat");
    files.addFile("C:\\ns\\index.dat.");
    files.addLink("C:\\via", "C:\\ns", platform::faDirectory);
    EXPECT_TRUE(DeleteStoreFile(files, "C:\\via\\index.dat."));
    EXPECT_THAT(files.list("C:\\ns"), testing::ElementsAre("index.dat"));
    EXPECT_THAT(files.callsOf("deleteFile"), testing::ElementsAre(Call{"deleteFile", {"C:\\ns", "index.dat."}}));
    files.faults.failNext("finalPath");
    EXPECT_FALSE(DeleteStoreFile(files, "C:\\ns\\index.dat"));
    EXPECT_THAT(files.list("C:\\ns"), testing::ElementsAre("index.dat"));
}
