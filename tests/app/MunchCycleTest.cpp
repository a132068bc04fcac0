// The munch cycle: the gate, the four stores in their order, what is spared,
// and what a munched cookie does (count, caption, sounds, animation).
#include "app/MainFormFixture.h"

#include "app/MunchSounds.h"
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
            paths.push_back(call.args[0] + (call.args[0].back() == '\\' ? "" : "\\") + call.args[1]);
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

TEST_F(MunchCycleTest, TheStoresAreMunchedInTheirOrderAndEachCookieIsCounted)
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
    // A listed name holding a separator would, joined to the folder, name a file of a subfolder.
    fakes.fileSystem.addFile("C:\\ie\\cookies\\sub/deep.txt");
    for (const char* index : {"index.dat", "INDEX.DAT", "Index.Dat"}) {
        cookies({index});
        tick();
        EXPECT_THAT(fakes.fileSystem.list("C:\\ie\\cookies"),
                    ::testing::UnorderedElementsAre(index, "kept.txt", "sub", "sub/deep.txt"));
        fakes.fileSystem.erase(std::string("C:\\ie\\cookies\\") + index);
    }
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ie\\cookies\\sub\\deep.txt"));
    EXPECT_EQ(form->State.MunchedCount, 1);
}

TEST_F(MunchCycleTest, TheCookieFolderIsJudgedFromItsListingAlone)
{
    cookies({"a.txt", "index.dat", "b.txt"});
    fakes.fileSystem.addFile("C:\\ie\\cookies\\kept.txt", "x", platform::faReadOnly);
    fakes.fileSystem.addFolder("C:\\ie\\cookies\\sub");
    tick();
    EXPECT_THAT(deleted(), ElementsAre("C:\\ie\\cookies\\a.txt", "C:\\ie\\cookies\\b.txt"));
    EXPECT_TRUE(fakes.fileSystem.callsOf("attributes").empty());
    EXPECT_EQ(fakes.fileSystem.callsOf("findFiles").size(), 4u) << "one search per store, none per entry";
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

TEST_F(MunchCycleTest, ATrailingBackslashStillWorks)
{
    form->State.IECookieDir = "C:\\ie\\cookies\\";
    cookies({"a.txt"});
    tick();
    EXPECT_THAT(deleted(), ElementsAre("C:\\ie\\cookies\\a.txt"));
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

TEST_F(MunchCycleTest, AStorePathTheSettingsBufferMayHaveCutIsPassedOver)
{
    // Stored paths longer than 2047 characters, read back cut: the cut folder
    // is one above the folder meant, the cut file name another existing file.
    const std::string parent = "C:\\" + std::string(1000, 'p') + "\\" + std::string(1043, 'q');
    const std::string cutFile = "C:\\" + std::string(1000, 'n') + "\\" + std::string(1043, 'o');
    ASSERT_EQ(parent.size(), 2047u);
    ASSERT_EQ(cutFile.size(), 2047u);
    const std::string meantFolder = parent + "\\" + std::string(52, 'm');
    fakes.profile.set(ini, "Cookie Dir", "Dir", meantFolder);
    fakes.profile.set(ini, "Cookie File", "Name", cutFile + ".bak");
    fakes.fileSystem.addFile(parent + "\\kept.txt");
    fakes.fileSystem.addFile(meantFolder + "\\cookie.txt");
    fakes.fileSystem.addFile(cutFile);
    form->LoadSettings();
    ASSERT_EQ(form->State.IECookieDir, parent);
    ASSERT_EQ(form->State.CookieTxtFile, cutFile);

    tick();
    EXPECT_THAT(deleted(), testing::IsEmpty());

    // One character shorter, the folder is whole and munched.
    const std::string whole = parent.substr(0, 2046);
    fakes.fileSystem.addFile(whole + "\\cookie.txt");
    form->State.IECookieDir = whole;
    tick();
    EXPECT_THAT(deleted(), ElementsAre(whole + "\\cookie.txt"));
}

TEST_F(MunchCycleTest, WhatALinkLeadsToIsNeitherMunchedNorCountedWhilePlainCookiesBesideItAre)
{
    fakes.fileSystem.addFile("C:\\canary\\target.txt", "precious");
    fakes.fileSystem.addFile("C:\\windows\\system.ini", "system");
    // Listed as plain files, as Wine lists links to files.
    fakes.fileSystem.addLink("C:\\ie\\cookies\\flink.txt", "C:\\canary\\target.txt");
    fakes.fileSystem.addLink("C:\\ns\\cookies.txt", "C:\\windows\\system.ini");
    fakes.fileSystem.addLink("C:\\opera\\cookies4.dat", "C:\\gone\\cookies4.dat");
    cookies({"a.txt", "b.txt"});
    ticks(3);
    EXPECT_EQ(fakes.fileSystem.contents("C:\\canary\\target.txt"), "precious");
    EXPECT_EQ(fakes.fileSystem.contents("C:\\windows\\system.ini"), "system");
    EXPECT_THAT(fakes.fileSystem.list("C:\\ie\\cookies"), ElementsAre("flink.txt"));
    EXPECT_EQ(form->State.MunchedCount, 2);
}

TEST_F(MunchCycleTest, TheCookieFolderIsMunchedWhereItReallyIsAndJudgedThere)
{
    fakes.fileSystem.addFolder("C:\\real\\cookies");
    fakes.fileSystem.addLink("C:\\lnk", "C:\\real\\cookies", platform::faDirectory);
    fakes.fileSystem.addLink("C:\\win", "C:\\WINDOWS", platform::faDirectory);
    fakes.fileSystem.mapDrive('X', "C:\\WINDOWS");
    fakes.fileSystem.addFile("C:\\WINDOWS\\win.ini");
    fakes.fileSystem.addFile("C:\\WINDOWS\\SYSTEM32\\kernel32.dll");
    const struct {
        const char* dir;
        std::vector<std::string> munched;
    } cases[] = {
        {"C:\\lnk", {"C:\\real\\cookies\\a.txt"}},
        {"c:\\LNK\\", {"C:\\real\\cookies\\a.txt"}},
        {"C:\\win", {}},
        {"X:\\", {}},
        {"X:\\system32", {}},
        {"\\??\\C:\\WINDOWS", {}},
        {"\\\\?\\C:\\WINDOWS\\SYSTEM32", {}},
        {"C:\\nowhere", {}},
    };
    tick(); // the guard learns where the system's folders are, once
    for (const auto& c : cases) {
        fakes.fileSystem.addFile("C:\\real\\cookies\\a.txt");
        form->State.IECookieDir = c.dir;
        fakes.fileSystem.calls.clear();
        tick();
        EXPECT_EQ(deleted(), c.munched) << c.dir;
        EXPECT_EQ(fakes.fileSystem.callsOf("finalPath").size(), 1u) << c.dir << ": resolved once per cycle";
    }
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\WINDOWS\\win.ini"));
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\WINDOWS\\SYSTEM32\\kernel32.dll"));
}

TEST_F(MunchCycleTest, ADeviceIsNeverMunchedOrCountedWhateverTheStoreOrFolderHolds)
{
    fakes.fileSystem.addFile("C:\\opera\\com1.txt", "a file of that name");
    fakes.fileSystem.addFile("C:\\icq\\NUL");
    form->State.CookieTxtFile = "COM1";
    form->State.OperaCookieFile = "C:\\opera\\com1.txt";
    form->State.ICQCookieFile = "C:\\icq\\NUL";
    // In the cookie folder a listed name is a file of that folder, not a device.
    cookies({"lpt1.txt"});
    ticks(3);
    EXPECT_THAT(deleted(), ElementsAre("C:\\ie\\cookies\\lpt1.txt"));
    EXPECT_EQ(form->State.MunchedCount, 1);
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\opera\\com1.txt"));
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\icq\\NUL"));
}

TEST_F(MunchCycleTest, ANameIsJudgedAndDeletedExactlyAsListed)
{
    cookies({"index.dat", "index.dat.", "index.dat ", "a.txt."});
    tick();
    EXPECT_THAT(fakes.fileSystem.list("C:\\ie\\cookies"), ElementsAre("index.dat"));
    EXPECT_EQ(form->State.MunchedCount, 3);
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
    fakes.network.addresses = {"10.0.0.5", "192.168.1.7"};
    tick();
    EXPECT_EQ(form->IP1->Caption, "Internet IP: 192.168.1.7");
    fakes.network.addresses.clear();
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
    dialogs.onOpenFile = [this](const platform::OpenFileRequest&) -> std::optional<std::string> {
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
    ui.faults.failNext("startTimer"); // no timer for the sounds
    EXPECT_THROW(tick(), EOutOfResources);
    EXPECT_FALSE(form->State.MunchBusy);
    EXPECT_EQ(form->State.MunchedCount, 1) << "the cookie went and was counted";
    fakes.fileSystem.addFile("C:\\opera\\cookies4.dat");
    tick();
    EXPECT_EQ(form->State.MunchedCount, 2);
}

TEST_F(MunchCycleTest, ABurstIsHeardAtOnceAndEndsWithWhatItsLastCookieWouldHaveLeftPlaying)
{
    struct Case {
        std::uint16_t countBefore;
        int cookies;
        std::vector<std::string> heard;
    } cases[] = {
        {0, 1, {"crunch"}},
        {4, 1, {"crunch", "burp"}}, // the fifth: the burp cuts the crunch short
        {0, 2, {"crunch", "crunch"}},
        {4, 2, {"crunch", "burp", "crunch"}},
        {0, 5, {"crunch", "crunch", "burp"}},
        {3, 3, {"crunch", "crunch"}}, // 4, 5, 6: the sixth leaves a crunch
        {0, 50, {"crunch", "crunch", "burp"}},
    };
    for (const Case& c : cases) {
        form->State.MunchedCount = c.countBefore;
        fakes.sound.played.clear();
        for (int i = 0; i < c.cookies; ++i)
            cookies({("c" + std::to_string(i)).c_str()});
        tick();
        ui.advanceTime(500); // until the next tick
        EXPECT_THAT(heard(), ::testing::ElementsAreArray(c.heard)) << c.cookies << " after " << c.countBefore;
    }
}

TEST_F(MunchCycleTest, ALongBurstIsHeardAtItsStartAndOnceItIsOver)
{
    for (int i = 0; i < 1500; ++i)
        cookies({("c" + std::to_string(i)).c_str()});
    ui.onProcessMessages = [this] { ui.advanceTime(15); }; // time passes while the folder is munched
    tick();
    ui.onProcessMessages = nullptr;
    ASSERT_EQ(form->State.MunchedCount, 1500);
    ASSERT_GE(ui.now(), 500u);
    EXPECT_THAT(heard(), ElementsAre("crunch"));
    ui.advanceTime(MunchSounds::spacingMs);
    EXPECT_THAT(heard(), ElementsAre("crunch")) << "not before a spacing has passed without a cookie";
    ui.advanceTime(MunchSounds::spacingMs);
    EXPECT_THAT(heard(), ElementsAre("crunch", "crunch", "burp"));
}

TEST_F(MunchCycleTest, SoundsSwitchedOffInABurstLeaveWhatIsPendingSilent)
{
    cookies({"1", "2", "3"});
    tick();
    form->SoundsOn1->Click();
    ui.advanceTime(500);
    EXPECT_THAT(heard(), ElementsAre("crunch"));
}

TEST_F(MunchCycleTest, TheTrayIconIsTouchedAsOftenForOneCookieAsForAThousandAndAnimatesAfterTheMunch)
{
    auto touches = [this](int count) {
        for (int i = 0; i < count; ++i)
            cookies({("c" + std::to_string(i)).c_str()});
        fakes.notifyArea.calls.clear();
        ui.calls.clear();
        ui.onProcessMessages = [this] { ui.advanceTime(20); }; // the munch takes its time
        tick();
        ui.onProcessMessages = nullptr;
        return std::pair(fakes.notifyArea.calls.size(), ui.callsOf("startTimer").size());
    };
    ui.advanceTime(1000); // the about window's second is over
    auto one = touches(1);
    ui.advanceTime(500);
    EXPECT_EQ(touches(1000), one);
}

namespace {

// What the user does in the tray menu while a large folder is munched.
struct MenuAction {
    const char* what;
    std::function<void(TForm1&, FakePlatform&)> act;
    bool cycleGoesOn;
};

void PrintTo(const MenuAction& action, std::ostream* out)
{
    *out << action.what;
}

void choose(FakePlatform& fakes, const std::string& item)
{
    fakes.iconsAndMenus.menuChoice = item;
    fakes.notifyArea.mouse(516); // right button down on the icon
}

class MunchCycleMenuTest : public MunchCycleTest, public ::testing::WithParamInterface<MenuAction> {};

} // namespace

TEST_P(MunchCycleMenuTest, DuringALargeMunchTheMenuAnswersAndItsCommandsActAsWhenIdle)
{
    fakes.fileSystem.addFolder("D:\\other");
    for (int i = 0; i < 500; ++i)
        cookies({("c" + std::to_string(i)).c_str()});
    std::size_t deletesBefore = 0;
    int rounds = 0;
    ui.onProcessMessages = [&] {
        if (++rounds != 3) // the first round comes before the stores, the others within the folder
            return;
        deletesBefore = deleted().size();
        GetParam().act(*form, fakes);
    };
    tick();
    ui.onProcessMessages = nullptr;

    ASSERT_GT(deletesBefore, 0u);
    EXPECT_EQ(fakes.iconsAndMenus.lastMenu.empty(), false) << "the menu opened";
    if (GetParam().cycleGoesOn) {
        EXPECT_TRUE(fakes.fileSystem.list("C:\\ie\\cookies").empty());
    } else {
        EXPECT_EQ(deleted().size(), deletesBefore) << "nothing deleted after the command";
        EXPECT_FALSE(fakes.fileSystem.list("C:\\ie\\cookies").empty());
    }
    EXPECT_EQ(form->State.MunchedCount, deleted().size());
    EXPECT_FALSE(form->State.MunchBusy);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, MunchCycleMenuTest,
    ::testing::Values(
        MenuAction{"ActiveOff", [](TForm1&, FakePlatform& f) { choose(f, "Active"); }, false},
        MenuAction{"Exit", [](TForm1&, FakePlatform& f) { choose(f, "Exit"); }, false},
        MenuAction{"SessionEnds", [](TForm1& form, FakePlatform& f) {
                       choose(f, "");
                       form.EndSession();
                   }, false},
        MenuAction{"Dismissed", [](TForm1&, FakePlatform& f) { choose(f, ""); }, false},
        MenuAction{"NetscapeFileChosen", [](TForm1&, FakePlatform& f) {
                       f.fileDialogs.onOpenFile = [](const platform::OpenFileRequest&) { return "C:\\x\\cookies.txt"; };
                       choose(f, "Path to Cookie.txt (Netscape)");
                   }, false},
        MenuAction{"OperaFileChosen", [](TForm1&, FakePlatform& f) {
                       f.fileDialogs.onOpenFile = [](const platform::OpenFileRequest&) { return "C:\\x\\cookies4.dat"; };
                       choose(f, "Path to Cookie#.Dat (Opera)");
                   }, false},
        MenuAction{"IcqFileChosen", [](TForm1&, FakePlatform& f) {
                       f.fileDialogs.onOpenFile = [](const platform::OpenFileRequest&) { return "C:\\x\\cookies.dat"; };
                       choose(f, "Path to Cookie.dat (ICQ)");
                   }, false},
        MenuAction{"CookieFolderChosen", [](TForm1&, FakePlatform& f) {
                       f.folderBrowser.user = [](FakeFolderBrowser& shell) {
                           shell.select("D:\\other");
                           shell.confirm();
                       };
                       choose(f, "Path to Cookie Dir (IExplorer)");
                   }, false},
        MenuAction{"IcqMarkSwitched", [](TForm1&, FakePlatform& f) { choose(f, "Delete ICQ Cookies"); }, false},
        MenuAction{"SameNetscapeFileChosenAgain", [](TForm1& form, FakePlatform& f) {
                       std::string same = form.State.CookieTxtFile;
                       f.fileDialogs.onOpenFile = [same](const platform::OpenFileRequest&) { return same; };
                       choose(f, "Path to Cookie.txt (Netscape)");
                   }, true},
        MenuAction{"SoundsSwitched", [](TForm1&, FakePlatform& f) { choose(f, "Sounds On"); }, true},
        MenuAction{"AddressRead", [](TForm1& form, FakePlatform& f) { choose(f, form.IP1->Caption); }, true}),
    [](const ::testing::TestParamInfo<MenuAction>& info) { return std::string(info.param.what); });

TEST_F(MunchCycleTest, AFolderChangedDuringAMunchIsTakenUpByTheNextCycleAndTheOldOneIsLeft)
{
    fakes.fileSystem.addFile("D:\\other\\new.txt");
    for (int i = 0; i < 100; ++i)
        cookies({("c" + std::to_string(i)).c_str()});
    int rounds = 0;
    ui.onProcessMessages = [&] {
        if (++rounds == 2)
            form->State.IECookieDir = "D:\\other";
    };
    tick();
    ui.onProcessMessages = nullptr;
    const std::size_t left = fakes.fileSystem.list("C:\\ie\\cookies").size();
    tick();
    EXPECT_GT(left, 0u);
    EXPECT_EQ(fakes.fileSystem.list("C:\\ie\\cookies").size(), left);
    EXPECT_FALSE(fakes.fileSystem.exists("D:\\other\\new.txt"));
}

TEST_F(MunchCycleTest, ACounterResetDuringAMunchPausesItAsTheOpenMenuDoesThenCountsFromZero)
{
    for (int i = 0; i < 100; ++i)
        cookies({("c" + std::to_string(i)).c_str()});
    int rounds = 0;
    ui.onProcessMessages = [&] {
        if (++rounds == 2)
            choose(fakes, form->Cookies1->Caption);
    };
    tick();
    ui.onProcessMessages = nullptr;
    EXPECT_EQ(form->State.MunchedCount, 0);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 0");
    ticks(9);
    EXPECT_EQ(form->State.MunchedCount, 0) << "the gate holds, as after a reset when idle";
    const std::size_t left = fakes.fileSystem.list("C:\\ie\\cookies").size();
    tick();
    EXPECT_EQ(form->State.MunchedCount, left);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = " + std::to_string(left));
}
