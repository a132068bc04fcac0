// The munch cycle: the gate, the four stores in their order, what is spared,
// and what a munched cookie does (count, caption, sounds, animation).
#include "app/MainFormFixture.h"

#include "resources/BuiltinSounds.h"
#include "toolkit/Error.h"

#include <gmock/gmock.h>

namespace {

class MunchCycleTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        fakes.profile.set(ini, "Cookie File", "Name", "C:\\ns\\cookies.txt");
        fakes.profile.set(ini, "Cookie File", "OName", "C:\\opera\\cookies4.dat");
        fakes.profile.set(ini, "Cookie Dat", "ICQ", "C:\\icq\\cookies.dat");
        fakes.profile.set(ini, "Cookie Dir", "Dir", "C:\\ie\\cookies");
        fakes.fileSystem.addFolder("C:\\ie\\cookies");
        form = &start();
        fakes.fileSystem.calls.clear();
    }
    // One tick of the threaded timer, as the worker hands it over.
    void tick() { form->ThreadedTimer1->HandleTick(); }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    std::vector<std::string> deleted() const
    {
        std::vector<std::string> paths;
        for (const Call& call : fakes.fileSystem.callsOf("deleteFile"))
            paths.push_back(call.args[0]);
        return paths;
    }
    // Which sounds played, as "crunch" and "burp".
    std::vector<std::string> heard() const
    {
        auto crunch = BuiltinCrunchImage();
        std::vector<std::string> names;
        for (const auto& image : fakes.sound.played)
            names.push_back(std::equal(image.begin(), image.end(), crunch.begin(), crunch.end()) ? "crunch" : "burp");
        return names;
    }
    void cookies(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            fakes.fileSystem.addFile(std::string("C:\\ie\\cookies\\") + name, "cookie");
    }

    TForm1* form = nullptr;
};

using ::testing::ElementsAre;

} // namespace

TEST_F(MunchCycleTest, TheStoresAreMunchedInTheirOrderAndEachCookieIsCountedAndHeard)
{
    fakes.fileSystem.addFile("C:\\ie\\cookies\\a.txt");
    fakes.fileSystem.addFile("C:\\icq\\cookies.dat");
    fakes.fileSystem.addFile("C:\\opera\\cookies4.dat");
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    fakes.fileSystem.addFile("C:\\ie\\cookies\\b.txt");

    tick();

    EXPECT_THAT(deleted(), ElementsAre("C:\\ns\\cookies.txt", "C:\\opera\\cookies4.dat", "C:\\icq\\cookies.dat",
                                       "C:\\ie\\cookies\\a.txt", "C:\\ie\\cookies\\b.txt"));
    EXPECT_EQ(form->State.MunchedCount, 5);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 5");
    EXPECT_THAT(heard(), ElementsAre("crunch", "crunch", "crunch", "crunch", "crunch", "burp"));
    EXPECT_FALSE(form->State.MunchBusy);
}

TEST_F(MunchCycleTest, TheFolderIsSearchedWithEveryKindOfEntryAndNothingIsCollected)
{
    tick();
    std::vector<std::string> patterns;
    for (const Call& call : fakes.fileSystem.callsOf("findFiles"))
        if (call.args[0].find('*') != std::string::npos)
            patterns.push_back(call.args[0]);
    EXPECT_THAT(patterns, ElementsAre("C:\\ie\\cookies\\*.*"));
}

TEST_F(MunchCycleTest, TheIcqFileStaysWhileItsMarkIsClear)
{
    fakes.fileSystem.addFile("C:\\icq\\cookies.dat");
    form->DeleteICQCookies1->Checked = false;
    tick();
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\icq\\cookies.dat"));
    EXPECT_EQ(form->State.MunchedCount, 0);
}

TEST_F(MunchCycleTest, IndexDatReadOnlyFilesAndSubfoldersInTheCookieFolderAreSpared)
{
    cookies({"plain.txt"});
    fakes.fileSystem.addFile("C:\\ie\\cookies\\kept.txt", "x", platform::faReadOnly | platform::faArchive);
    fakes.fileSystem.addFile("C:\\ie\\cookies\\sub\\deep.txt");
    for (const char* index : {"index.dat", "INDEX.DAT", "Index.Dat"}) {
        cookies({index});
        tick();
        EXPECT_THAT(fakes.fileSystem.list("C:\\ie\\cookies"),
                    ::testing::UnorderedElementsAre(index, "kept.txt", "sub"));
        fakes.fileSystem.deleteFile(std::string("C:\\ie\\cookies\\") + index);
    }
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ie\\cookies\\sub\\deep.txt"));
    EXPECT_EQ(form->State.MunchedCount, 1);
}

TEST_F(MunchCycleTest, AFileWhoseAttributesCannotBeReadCountsAsReadOnly)
{
    cookies({"mystery.txt"});
    fakes.fileSystem.faults.failFrom("attributes");
    tick();
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ie\\cookies\\mystery.txt"));
}

TEST_F(MunchCycleTest, ASingleFileStoreIsMunchedWhateverItsAttributes)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt", "x", platform::faHidden | platform::faSysFile);
    tick();
    EXPECT_FALSE(fakes.fileSystem.exists("C:\\ns\\cookies.txt"));
}

TEST_F(MunchCycleTest, ALockedCookieIsNotCountedAndIsTriedAgainUntilItGoes)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    fakes.fileSystem.lock("C:\\ns\\cookies.txt");
    ticks(3);
    EXPECT_EQ(deleted().size(), 3u);
    EXPECT_EQ(form->State.MunchedCount, 0);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 0");
    EXPECT_TRUE(fakes.sound.played.empty());
    EXPECT_FALSE(form->TrayIcon1->CycleIcons());
}

TEST_F(MunchCycleTest, TheCounterWrapsToZeroAndZeroBurps)
{
    form->State.MunchedCount = 65535;
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    tick();
    EXPECT_EQ(form->State.MunchedCount, 0);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 0");
    EXPECT_THAT(heard(), ElementsAre("crunch", "burp"));
}

TEST_F(MunchCycleTest, TwoStoresNamingOneFileMunchItOnce)
{
    form->State.OperaCookieFile = form->State.CookieTxtFile;
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    tick();
    EXPECT_EQ(form->State.MunchedCount, 1);
}

TEST_F(MunchCycleTest, ATrailingBackslashGivesDoubleBackslashPathsThatStillWork)
{
    form->State.IECookieDir = "C:\\ie\\cookies\\";
    cookies({"a.txt"});
    tick();
    EXPECT_THAT(deleted(), ElementsAre("C:\\ie\\cookies\\\\a.txt"));
    EXPECT_EQ(form->State.MunchedCount, 1);
}

TEST_F(MunchCycleTest, ABlankFolderBecomesTheWindowsCookiesFolder)
{
    form->State.IECookieDir = " \t";
    fakes.fileSystem.addFile("C:\\WINDOWS\\cookies\\x.txt");
    tick();
    EXPECT_EQ(form->State.IECookieDir, "C:\\WINDOWS\\cookies");
    EXPECT_FALSE(fakes.fileSystem.exists("C:\\WINDOWS\\cookies\\x.txt"));
}

TEST_F(MunchCycleTest, ASystemFolderIsPassedOverWhileTheOtherStoresAreMunched)
{
    fakes.fileSystem.addFile("C:\\boot.ini");
    fakes.fileSystem.addFile("C:\\WINDOWS\\win.ini");
    for (const char* folder : {"C:\\", "C:\\WINDOWS"}) {
        SCOPED_TRACE(folder);
        form->State.IECookieDir = folder;
        for (int cycle = 0; cycle < 3; ++cycle) {
            fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
            fakes.fileSystem.calls.clear();
            tick();
            EXPECT_THAT(deleted(), ElementsAre("C:\\ns\\cookies.txt"));
            for (const Call& search : fakes.fileSystem.callsOf("findFiles"))
                EXPECT_EQ(search.args[0].find('*'), std::string::npos) << "listed " << search.args[0];
        }
        EXPECT_EQ(form->State.IECookieDir, folder) << "the setting stays as the user wrote it";
    }
}

TEST_F(MunchCycleTest, WithoutSoundsNothingIsHeardButCookiesAreCounted)
{
    form->SoundsOn1->Checked = false;
    cookies({"1", "2", "3", "4", "5"});
    tick();
    EXPECT_EQ(form->State.MunchedCount, 5);
    EXPECT_TRUE(fakes.sound.played.empty());
}

TEST_F(MunchCycleTest, TheIpCaptionIsRefreshedEveryCycle)
{
    fakes.host.addresses = {"10.0.0.5", "192.168.1.7"};
    tick();
    EXPECT_EQ(form->IP1->Caption, "Internet IP: 192.168.1.7");
    fakes.host.addresses.clear();
    tick();
    EXPECT_EQ(form->IP1->Caption, "Internet IP: ");
}

TEST_F(MunchCycleTest, PendingMessagesRunOnceBeforeTheStoresAndTheirChangesCount)
{
    fakes.fileSystem.addFile("C:\\new\\cookies.txt");
    ui.post([this] { form->State.CookieTxtFile = "C:\\new\\cookies.txt"; });
    tick();
    EXPECT_THAT(deleted(), ElementsAre("C:\\new\\cookies.txt"));
    EXPECT_EQ(ui.callsOf("processMessages").size(), 1u);
}

TEST_F(MunchCycleTest, TheAnimationRunsAfterAMunchAndStopsAtTheNextCycle)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    tick();
    EXPECT_TRUE(form->TrayIcon1->CycleIcons());
    ui.advanceTime(250);
    EXPECT_NE(form->TrayIcon1->IconIndex(), 0);
    tick();
    EXPECT_FALSE(form->TrayIcon1->CycleIcons());
    EXPECT_EQ(form->TrayIcon1->IconIndex(), 0);
}

TEST_F(MunchCycleTest, SwitchedOffNothingIsMunchedButTheIconIsResetEveryTick)
{
    form->State.MunchActive = false;
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    form->TrayIcon1->SetIconIndex(3);
    tick();
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ns\\cookies.txt"));
    EXPECT_EQ(form->TrayIcon1->IconIndex(), 0);
    EXPECT_EQ(form->IP1->Caption, "Internet IP:");
}

TEST_F(MunchCycleTest, TheOpenMenuPausesMunchingUntilTheTenthTick)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    ticks(9);
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ns\\cookies.txt"));
    EXPECT_EQ(form->State.MenuOpenTicks, 9);
    tick();
    EXPECT_FALSE(form->State.MenuOpen);
    EXPECT_FALSE(fakes.fileSystem.exists("C:\\ns\\cookies.txt")) << "the tenth tick runs a cycle";
    EXPECT_EQ(form->State.MenuOpenTicks, 0);
}

TEST_F(MunchCycleTest, ACommandThatClearsTheGateLetsTheNextTickMunch)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    ticks(3);
    form->IP1->Click();
    tick();
    EXPECT_FALSE(fakes.fileSystem.exists("C:\\ns\\cookies.txt"));
}

TEST_F(MunchCycleTest, ADialogLeftOpenPastTheGateLetsMunchingResumeMeanwhile)
{
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    ui.onOpenFile = [this](const platform::OpenFileRequest&) -> std::optional<std::string> {
        fakes.fileSystem.addFile("C:\\ns\\cookies.txt"); // the file the user is about to pick
        ticks(10);
        EXPECT_FALSE(fakes.fileSystem.exists("C:\\ns\\cookies.txt"));
        return std::nullopt;
    };
    form->PathtoCookiedatICQ1->Click();
    EXPECT_EQ(form->State.MunchedCount, 1);
}

TEST_F(MunchCycleTest, SwitchedOffTheGateCounterIsNeverResetSoALaterPopupTimesOutAtOnce)
{
    form->State.MunchActive = false;
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    ticks(10);
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    tick();
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MunchCycleTest, AnErrorLeavingTheCycleStillClearsTheBusyFlag)
{
    fakes.fileSystem.addFile("C:\\ns\\cookies.txt");
    ui.faults.failNext("startTimer"); // the animation cannot start
    EXPECT_THROW(tick(), EOutOfResources);
    EXPECT_FALSE(form->State.MunchBusy);
    EXPECT_EQ(form->State.MunchedCount, 1) << "the cookie went and was counted";
    fakes.fileSystem.addFile("C:\\opera\\cookies4.dat");
    tick();
    EXPECT_EQ(form->State.MunchedCount, 2);
}
