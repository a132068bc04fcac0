// A failed call of a fake answers as the system's call does when it fails.
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

struct FailedCall {
    const char* what;
    // Makes the call with every call failing; true when the answer is the system's failure.
    std::function<bool(FakePlatform&)> answersAsFailed;
};

void PrintTo(const FailedCall& call, std::ostream* out)
{
    *out << call.what;
}

int browsed(platform::DialogWindow, unsigned, const void*, void* data)
{
    ++*static_cast<int*>(data);
    return 0;
}

const FailedCall failedCalls[] = {
    {"a profile read gives the fallback",
     [](FakePlatform& f) {
         f.profile.set("a.ini", "S", "K", "stored");
         return f.profile.readString("a.ini", "S", "K", "fallback", 64) == "fallback";
     }},
    {"a file dialog answers as cancelled without asking the user",
     [](FakePlatform& f) {
         bool asked = false;
         f.fileDialogs.onOpenFile = [&](const platform::OpenFileRequest&) {
             asked = true;
             return std::optional<std::string>("C:\\x");
         };
         return !f.fileDialogs.openFileDialog({}) && !asked;
     }},
    {"the folder browser answers as cancelled without calling back",
     [](FakePlatform& f) {
         int callbacks = 0;
         platform::BrowseRequest request;
         request.callback = browsed;
         request.data = &callbacks;
         return f.folderBrowser.browse(request) == nullptr && callbacks == 0;
     }},
    {"a registered message is 0", [](FakePlatform& f) { return f.windowMessages.registerMessage("M") == 0; }},
    {"the foreground stays",
     [](FakePlatform& f) {
         f.windowMessages.setForegroundWindow(platform::WindowHandle{0x44});
         return f.windowMessages.foreground == platform::WindowHandle{};
     }},
    {"the machine has no address", [](FakePlatform& f) { return f.network.machineAddresses().empty(); }},
    {"the current folder is empty", [](FakePlatform& f) { return f.fileSystem.currentDirectory().empty(); }},
    {"a folder's time is not known",
     [](FakePlatform& f) {
         f.fileSystem.addFolder("C:\\Profile");
         return !f.fileSystem.lastWriteTime("C:\\Profile");
     }},
    {"a window that could not be made has no handle and never shows",
     [](FakePlatform& f) {
         struct : platform::IWindowEvents {
             void onCloseRequest() override {}
             bool onQueryEndSession() override { return true; }
             void onEndSession() override {}
             void onPaint(platform::ICanvas&) override {}
         } events;
         auto window = f.ui.newWindow({}, events);
         window->setVisible(true);
         return window->handle() == platform::WindowHandle{} && !window->visible() && f.ui.windows.empty();
     }},
    {"a message box is not shown",
     [](FakePlatform& f) {
         f.ui.messageBox("text", "caption", platform::BoxIcon::Stop);
         return f.ui.boxes.empty();
     }},
};

class FakeFailures : public ::testing::TestWithParam<FailedCall> {};

} // namespace

TEST_P(FakeFailures, AnswerAsTheSystemDoes)
{
    FakePlatform fakes;
    fakes.countInSequence();
    fakes.sequence.failAt(1, FaultSequence::Mode::FromThenOn);
    EXPECT_TRUE(GetParam().answersAsFailed(fakes));
}

INSTANTIATE_TEST_SUITE_P(EveryService, FakeFailures, ::testing::ValuesIn(failedCalls));

TEST(FakeFailures, AFailedNextStepEndsAFolderSearchAfterTheEntriesBeforeIt)
{
    FakeFileSystem files;
    for (const char* name : {"a", "b", "c"})
        files.addFile(std::string("C:\\d\\") + name);
    for (int failing = 1; failing <= 5; ++failing) {
        files.faults.clear();
        files.faults.failNth("findNext", failing);
        std::vector<std::string> seen;
        files.findFiles("C:\\d\\*.*", [&](const platform::FindEntry& entry) {
            seen.push_back(entry.name);
            return true;
        });
        // ".", "..", a, b, c: the n-th step brings the (n+1)-th entry.
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(failing)) << failing;
    }
}
