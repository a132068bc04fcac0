// The folder picker against a fake shell browser: the request, the callback's
// messages, steering while open, cancelling, freeing, and handler errors.
#include "widgets/FolderDialog.h"

#include "support/FakeFolderBrowser.h"
#include "support/FakeUi.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

using ::testing::ElementsAre;

namespace {

// Only the current folder is asked of the file system.
class CurrentFolderOnly final : public platform::IFileSystem {
public:
    std::string current = "D:\\Work";
    int asked = 0;

    void findFiles(const std::string&, const std::function<bool(const platform::FindEntry&)>&) override
    {
        ADD_FAILURE() << "not expected";
    }
    std::uint32_t attributes(const std::string&) override { return fail<std::uint32_t>(); }
    std::optional<std::uint64_t> lastWriteTime(const std::string&) override
    {
        return fail<std::optional<std::uint64_t>>();
    }
    std::string finalPath(const std::string&) override { return fail<std::string>(); }
    bool deleteFile(const std::string&, const std::string&) override { return fail<bool>(); }
    bool removeDirectory(const std::string&, const std::string&) override { return fail<bool>(); }
    bool canDeleteTogether(const std::string&, const std::vector<std::string>&) override { return fail<bool>(); }
    bool deleteTogether(const std::string&, const std::vector<std::string>&) override { return fail<bool>(); }
    platform::FileContent readWholeFile(const std::string&) override { return fail<platform::FileContent>(); }
    platform::FileContent readFileStart(const std::string&, std::uint32_t) override
    {
        return fail<platform::FileContent>();
    }
    std::string currentDirectory() override
    {
        ++asked;
        return current;
    }

private:
    template <class T>
    T fail()
    {
        ADD_FAILURE() << "not expected";
        return T{};
    }
};

class FolderDialogTest : public ::testing::Test {
protected:
    FolderDialogTest() { app.SetTitle("Nomblet"); }

    // The requests and events of one run, in order.
    std::vector<std::string> trace() const
    {
        std::vector<std::string> result;
        for (const Call& call : browser.calls)
            if (call.operation == "setSelection" || call.operation == "setStatusText")
                result.push_back(call.operation + " " + call.args[0]);
        return result;
    }

    void expectEverythingReleased()
    {
        EXPECT_EQ(browser.liveLists(), 0u);
        EXPECT_EQ(browser.liveAllocators, 0);
        EXPECT_EQ(browser.badFrees, 0);
        EXPECT_EQ(browser.staleRequests, 0);
        for (int result : browser.callbackResults)
            EXPECT_EQ(result, 0);
    }

    FakeUi ui;
    TApplication app{ui};
    FakeFolderBrowser browser;
    CurrentFolderOnly files;
    TForm form{app, "TOwnerForm"};
    TFolderDialog& dialog = form.Create<TFolderDialog>(app, browser, files);
};

} // namespace

TEST_F(FolderDialogTest, DirectoryDropsOneTrailingBackslashAndEmptyMeansTheCurrentFolder)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Temp\\", "C:\\Temp"}, {"C:\\", "C:"},   {"C:\\Temp", "C:\\Temp"},
        {"\\\\", "\\"},             {"", "D:\\Work"},
    };
    for (const auto& [given, stored] : cases) {
        dialog.SetDirectory(given);
        EXPECT_EQ(dialog.Directory(), stored) << given;
    }
    files.current = "C:\\"; // taken as it comes
    dialog.SetDirectory("");
    EXPECT_EQ(dialog.Directory(), "C:\\");
    EXPECT_EQ(files.asked, 2);
    EXPECT_TRUE(browser.calls.empty()) << "a closed dialog only stores";
}

TEST_F(FolderDialogTest, ChoosingAFolderStoresItsPathAndFreesEveryList)
{
    dialog.Title = "Internet Explorer cookie folder";
    dialog.SetDirectory("C:\\Windows\\Cookies\\");
    std::vector<std::string> selected;
    dialog.OnSelect = [&](TObject* sender, const std::string& path) {
        EXPECT_EQ(sender, &dialog);
        selected.push_back(path);
    };
    browser.user = [](FakeFolderBrowser& shell) {
        shell.select("D:\\Profiles\\Cookies");
        shell.confirm();
    };

    ASSERT_TRUE(dialog.Execute());

    EXPECT_EQ(dialog.Directory(), "D:\\Profiles\\Cookies");
    ASSERT_TRUE(browser.lastRequest);
    const platform::BrowseRequest& request = *browser.lastRequest;
    EXPECT_EQ(request.title, "Internet Explorer cookie folder");
    EXPECT_EQ(request.flags, platform::bifReturnOnlyFsDirs);
    EXPECT_EQ(request.owner, &form.Handle());
    EXPECT_EQ(request.data, &dialog);
    EXPECT_THAT(browser.callsOf("specialFolderLocation"), ElementsAre(Call{"specialFolderLocation", {"0x11"}}));
    EXPECT_THAT(selected, ElementsAre("C:\\Windows\\Cookies", "D:\\Profiles\\Cookies"));
    EXPECT_THAT(browser.callsOf("free"),
                ElementsAre(Call{"free", {"D:\\Profiles\\Cookies"}}, Call{"free", {"<My Computer>"}}));
    EXPECT_EQ(browser.calls.back().operation, "releaseAllocator");
    expectEverythingReleased();

    browser.calls.clear();
    dialog.SetDirectory("E:\\");
    EXPECT_TRUE(browser.calls.empty()) << "closed again: setters only store";
}

TEST_F(FolderDialogTest, OpeningPreselectsDirectoryThenShowsTheStatusThenRaisesOnShow)
{
    dialog.ShowStatus = true;
    dialog.SetStatusText("Pick the cookie folder");
    dialog.SetDirectory("C:\\Cookies");
    int shown = 0;
    dialog.OnShow = [&](TObject* sender) {
        EXPECT_EQ(sender, &dialog);
        EXPECT_THAT(trace(), ElementsAre("setSelection C:\\Cookies", "setStatusText Pick the cookie folder"));
        ++shown;
    };

    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(browser.lastRequest->flags, platform::bifReturnOnlyFsDirs | platform::bifStatusText);
    EXPECT_EQ(browser.statusText, "Pick the cookie folder");
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, WithoutStatusLineTheTextIsStoredButNeverSent)
{
    dialog.SetStatusText("hidden");
    dialog.OnShow = [&](TObject*) { dialog.SetStatusText("still hidden"); };
    dialog.Execute();
    EXPECT_EQ(browser.lastRequest->flags, platform::bifReturnOnlyFsDirs);
    EXPECT_TRUE(browser.callsOf("setStatusText").empty());
    EXPECT_EQ(dialog.StatusText(), "still hidden");
}

TEST_F(FolderDialogTest, HandlersSteerTheOpenDialogThroughTheProperties)
{
    dialog.ShowStatus = true;
    dialog.OnShow = [&](TObject*) { dialog.SetDirectory("C:\\Start\\"); };
    dialog.OnSelect = [&](TObject*, const std::string& path) { dialog.SetStatusText(path); };
    browser.user = [](FakeFolderBrowser& shell) {
        EXPECT_EQ(shell.selection.path, "C:\\Start");
        shell.select("C:\\Other");
        shell.confirm();
    };

    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "C:\\Other");
    EXPECT_EQ(browser.statusText, "C:\\Other");
}

TEST_F(FolderDialogTest, EmptyDirectoryPreselectsTheCurrentFolder)
{
    files.current = "D:\\Work\\Here";
    dialog.Execute();
    EXPECT_THAT(browser.callsOf("setSelection"), ElementsAre(Call{"setSelection", {"D:\\Work\\Here"}}));
    EXPECT_EQ(dialog.Directory(), "D:\\Work\\Here");
}

TEST_F(FolderDialogTest, CancellingKeepsTheDirectoryAsNormalisedOnOpening)
{
    dialog.SetDirectory("C:\\Cookies\\");
    browser.user = [](FakeFolderBrowser& shell) { shell.select("E:\\Elsewhere"); };

    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "C:\\Cookies");
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, AFolderWithoutAPathReportsEmptyAndCannotBeChosen)
{
    dialog.SetDirectory("C:\\Cookies");
    std::vector<std::string> selected;
    dialog.OnSelect = [&](TObject*, const std::string& path) { selected.push_back(path); };
    browser.user = [](FakeFolderBrowser& shell) {
        shell.selectVirtual("My Computer");
        shell.confirm();
    };

    EXPECT_FALSE(dialog.Execute());
    EXPECT_THAT(selected, ElementsAre("C:\\Cookies", ""));
    EXPECT_EQ(dialog.Directory(), "C:\\Cookies");
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, AChosenDriveRootKeepsItsBackslash)
{
    dialog.SetDirectory("C:\\");
    ASSERT_EQ(dialog.Directory(), "C:");
    browser.user = [](FakeFolderBrowser& shell) {
        EXPECT_EQ(shell.selection.path, "C:\\");
        shell.confirm();
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "C:\\");
}

TEST_F(FolderDialogTest, ThePathOfTheChosenFolderMayFailToCome)
{
    dialog.SetDirectory("C:\\Cookies");
    browser.user = [](FakeFolderBrowser& shell) {
        shell.select("D:\\New");
        shell.faults.failNext("pathFromIdList");
        shell.confirm();
    };
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "C:\\Cookies");
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, TheRootFollowsRootItemAndAnUnresolvedRootShowsNothing)
{
    dialog.RootItem = TRootItem::riDesktop;
    dialog.Execute();
    EXPECT_THAT(browser.callsOf("specialFolderLocation"), ElementsAre(Call{"specialFolderLocation", {"0x0"}}));

    browser.calls.clear();
    browser.faults.failNext("specialFolderLocation");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(browser.callsOf("browse").empty());

    browser.faults.failNext("allocator");
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(browser.callsOf("browse").empty());
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, HandlerErrorsAreShownInAPlainBoxAndTheDialogStaysOpen)
{
    dialog.OnShow = [](TObject*) { throw Exception("No such folder"); };
    int selections = 0;
    dialog.OnSelect = [&](TObject*, const std::string& path) {
        ++selections;
        if (path == "D:\\Odd")
            throw std::runtime_error("Odd folder");
        if (path == "D:\\Strange")
            throw 42; // not an error object: dropped
    };
    browser.user = [](FakeFolderBrowser& shell) {
        shell.select("D:\\Odd");
        shell.select("D:\\Strange");
        shell.select("D:\\Fine");
        shell.confirm();
    };

    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Directory(), "D:\\Fine");
    EXPECT_EQ(selections, 4); // the preselection and three clicks
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, "No such folder"); // as it stands: no period added
    EXPECT_EQ(ui.boxes[0].caption, "Nomblet");
    EXPECT_EQ(ui.boxes[0].icon, platform::BoxIcon::None);
    EXPECT_EQ(ui.boxes[1].text, "Odd folder");
    expectEverythingReleased();
}

TEST_F(FolderDialogTest, AnErrorPassingThroughStillFreesAndCloses)
{
    browser.user = [](FakeFolderBrowser&) { throw std::runtime_error("shell gone"); };
    EXPECT_THROW(dialog.Execute(), std::runtime_error);
    expectEverythingReleased();
    browser.calls.clear();
    dialog.SetDirectory("C:\\After");
    EXPECT_TRUE(browser.callsOf("setSelection").empty());
}

TEST(FolderDialogOwner, WithoutAFormOwnerTheApplicationWindowOwnsTheBrowser)
{
    FakeUi ui;
    TApplication app{ui};
    FakeFolderBrowser browser;
    CurrentFolderOnly files;
    TComponent holder(nullptr);
    auto& dialog = holder.Create<TFolderDialog>(app, browser, files);
    dialog.Execute();
    ASSERT_TRUE(browser.lastRequest);
    EXPECT_EQ(browser.lastRequest->owner, &app.Handle());
}
