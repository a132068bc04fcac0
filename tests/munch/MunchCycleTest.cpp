// The munch cycle: the gate, the four stores in their order, what is spared,
// and what a munched cookie does (count, caption, sounds, animation).
#include "app/MainFormFixture.h"

#include "app/MunchSounds.h"
#include "platform/PathText.h"
#include "resources/BuiltinSounds.h"
#include "toolkit/Error.h"

#include <gmock/gmock.h>

#include <functional>
#include <set>

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

TEST_F(MunchCycleTest, IndexesReadOnlyFilesAndSubfoldersInTheCookieFolderAreSpared)
{
    cookies({"plain.txt"});
    fakes.fileSystem.addFile("C:\\ie\\cookies\\kept.txt", "x", platform::faReadOnly | platform::faArchive);
    fakes.fileSystem.addFile("C:\\ie\\cookies\\sub\\deep.txt");
    // A listed name holding a separator would, joined to the folder, name a file of a subfolder.
    fakes.fileSystem.addFile("C:\\ie\\cookies\\sub/deep.txt");
    for (const char* index : {"index.dat", "INDEX.DAT", "Index.Dat", "container.dat", "CONTAINER.DAT"}) {
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
    tick(); // the guard learns where the system's folders are, once
    cookies({"a.txt", "index.dat", "b.txt"});
    fakes.fileSystem.addFile("C:\\ie\\cookies\\kept.txt", "x", platform::faReadOnly);
    fakes.fileSystem.addFolder("C:\\ie\\cookies\\sub");
    fakes.fileSystem.calls.clear();
    tick();
    EXPECT_THAT(deleted(), ElementsAre("C:\\ie\\cookies\\a.txt", "C:\\ie\\cookies\\b.txt"));
    std::vector<std::string> looks;
    for (const Call& call : fakes.fileSystem.calls)
        if (call.operation != "deleteFile" && call.operation != "readFileStart")
            looks.push_back(call.operation + " " + call.args[0]);
    EXPECT_THAT(looks, ElementsAre("attributes C:\\ns\\cookies.txt", "attributes C:\\opera\\cookies4.dat",
                                   "attributes C:\\icq\\cookies.dat", "finalPath C:\\ie\\cookies",
                                   "findFiles C:\\ie\\cookies\\*.*"))
        << "one look per store, none per entry";
}

namespace {
// A cookie file of the cookie folder holding one record per host/path.
std::string cookieRecords(std::initializer_list<std::string> hostPaths)
{
    std::string text;
    for (const std::string& hostPath : hostPaths)
        text += "n\nv\n" + hostPath + "\n9216\n1\n2\n3\n4\n*\n";
    return text;
}
} // namespace

TEST_F(MunchCycleTest, WithASiteKeptACookieFileThatMayHoldItsCookieStaysUncounted)
{
    const std::string file = "C:\\ie\\cookies\\c.txt";
    struct Case {
        const char* name;
        std::string text;
        bool locked; // held without read sharing
        bool munched;
    } cases[] = {
        {"another site", cookieRecords({"www.other.org/"}), false, true},
        {"the site after another", cookieRecords({"other.org/", "mail.example.com/x/"}), false, false},
        {"not records, naming another site", "n\nv\nother.org/\n", false, true},
        {"not records, naming the site", "n\nv\nmail.example.com/\n", false, false},
        {"larger than what is read: not read", cookieRecords({"a.org/"}) + std::string(65536, 'x'), false, false},
        {"not readable now", cookieRecords({"other.org/"}), true, false},
        {"readable again", cookieRecords({"other.org/"}), false, true},
    };
    form->KeptSites.Keep("example.com");
    tick(); // the guard learns where the system's folders are, once
    for (const Case& c : cases) {
        fakes.fileSystem.addFile(file, c.text);
        if (c.locked)
            fakes.fileSystem.lock(file, false);
        fakes.fileSystem.calls.clear();
        const int before = form->State.MunchedCount;
        tick();
        EXPECT_EQ(!fakes.fileSystem.exists(file), c.munched) << c.name;
        EXPECT_EQ(form->State.MunchedCount - before, c.munched ? 1 : 0) << c.name;
        const auto reads = fakes.fileSystem.callsOf("readFileStart");
        EXPECT_EQ(reads.size(), c.text.size() < 65536 ? 1u : 0u) << c.name;
        for (const Call& read : reads)
            EXPECT_EQ(read.args.at(1), "65536") << c.name;
        if (c.locked)
            fakes.fileSystem.unlock(file);
    }
}

TEST_F(MunchCycleTest, ASparedCookieFileIsReadAgainOnlyOnceItsSizeOrTheKeptSitesChange)
{
    const std::string file = "C:\\ie\\cookies\\c.txt";
    form->KeptSites.Keep("example.com");
    fakes.fileSystem.addFile(file, cookieRecords({"example.com/"}));
    tick();
    ASSERT_EQ(fakes.fileSystem.callsOf("readFileStart").size(), 1u);
    const std::pair<std::function<void()>, std::size_t> steps[] = {
        {[] {}, 0},
        {[&] { form->KeptSites.Keep("shop.net"); }, 1},
        {[&] { fakes.fileSystem.addFile(file, cookieRecords({"example.com/", "a.org/"})); }, 1},
        {[&] { form->KeptSites.Unkeep("shop.net"); }, 1},
    };
    for (const auto& [change, reads] : steps) {
        change();
        fakes.fileSystem.calls.clear();
        tick();
        EXPECT_EQ(fakes.fileSystem.callsOf("readFileStart").size(), reads);
        EXPECT_TRUE(fakes.fileSystem.exists(file));
    }
}

TEST_F(MunchCycleTest, TheHostsOfMunchedCookieFilesAreTheRecentSites)
{
    // Nothing kept: the first ten files of a cycle are read that far, no more.
    for (int i = 0; i < 12; ++i)
        fakes.fileSystem.addFile("C:\\ie\\cookies\\" + std::to_string(i) + ".txt",
                                 cookieRecords({"www.news" + std::to_string(i) + ".net/"}));
    tick();
    EXPECT_EQ(fakes.fileSystem.callsOf("readFileStart").size(), 10u);
    EXPECT_EQ(form->KeptSites.Recent().size(), 10u);
    form->KeptSites.Keep("example.com");
    fakes.fileSystem.addFile("C:\\ie\\cookies\\b.txt", cookieRecords({".shop.org/", "WWW.Mail.org/"}));
    fakes.fileSystem.addFile("C:\\ie\\cookies\\c.txt", cookieRecords({"example.com/", "spared.org/"}));
    tick();
    EXPECT_THAT(form->KeptSites.Recent(), testing::IsSupersetOf({"mail.org", "shop.org"}));
    EXPECT_EQ(form->KeptSites.Recent().front(), "mail.org");
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

TEST_F(MunchCycleTest, TheIpCaptionIsLookedUpWhenTheMenuOpensAndNeverByATick)
{
    struct Step {
        const char* what;
        std::vector<std::string> addresses;
        bool active;
        bool popup;
        const char* caption;
    } steps[] = {
        {"a cycle leaves the caption alone", {"10.0.0.5", "192.168.1.7"}, true, false, "Internet IP:"},
        {"the menu shows the host's last address", {"10.0.0.5", "192.168.1.7"}, true, true, "Internet IP: 192.168.1.7"},
        {"a new address waits for the next opening", {"10.1.1.1"}, true, false, "Internet IP: 192.168.1.7"},
        {"and shows then", {"10.1.1.1"}, true, true, "Internet IP: 10.1.1.1"},
        {"with munching off too", {"172.16.0.9"}, false, true, "Internet IP: 172.16.0.9"},
        {"no address ends the caption after its blank", {}, true, true, "Internet IP: "},
    };
    for (const Step& step : steps) {
        fakes.network.addresses = step.addresses;
        form->State.MunchActive = step.active;
        form->State.MenuOpen = false;
        fakes.network.calls.clear();
        if (step.popup)
            form->PopupMenu1->OnPopup(form->PopupMenu1);
        else
            ticks(3);
        EXPECT_EQ(form->IP1->Caption, step.caption) << step.what;
        EXPECT_EQ(fakes.network.callsOf("machineAddresses").size(), step.popup ? 1u : 0u) << step.what;
    }
}

TEST_F(MunchCycleTest, TheTrayIconIsHandedToTheShellOnlyWhenATickChangesItsImage)
{
    struct Case {
        const char* what;
        int index;
        bool active;
        std::size_t modifies;
    } cases[] = {
        {"idle on the first image", 0, true, 0},
        {"idle, switched off", 0, false, 0},
        {"left on another image", 3, true, 1},
        {"left on another image, switched off", 5, false, 1},
    };
    for (const Case& c : cases) {
        form->State.MunchActive = c.active;
        form->TrayIcon1->SetIconIndex(c.index);
        fakes.notifyArea.calls.clear();
        tick();
        EXPECT_EQ(form->TrayIcon1->IconIndex(), 0) << c.what;
        EXPECT_EQ(fakes.notifyArea.callsOf("modify").size(), c.modifies) << c.what;
    }
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
        tick(); // the last munch's animation stops and the icon shows its first image
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
    // Only the ticks given here: a real one handed over mid-munch on a slow run
    // would touch the icon once more.
    form->ThreadedTimer1->SetInterval(3'600'000);
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
        MenuAction{"AddressRead", [](TForm1&, FakePlatform& f) { choose(f, "Internet IP: " + f.network.addresses.back()); },
                   true}),
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

namespace {

const std::string roamingData = "C:\\users\\u\\AppData\\Roaming";
const std::string localData = "C:\\users\\u\\AppData\\Local";
const std::string chromeData = localData + "\\Google\\Chrome\\User Data";
const std::string edgeData = localData + "\\Microsoft\\Edge\\User Data";
const std::string firefoxData = roamingData + "\\Mozilla\\Firefox";

// The munch cycle over the stores of browsers found under the user's application data.
class BrowserMunchTest : public MunchCycleTest {
protected:
    void SetUp() override
    {
        MunchCycleTest::SetUp();
        fakes.folders.shellFolders[platform::ShellFolder::RoamingAppData] = roamingData;
        fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = localData;
    }
    // Makes the files and lets the program find its browsers, as the menu's opening does.
    void found(const std::vector<std::string>& files)
    {
        for (const std::string& file : files) {
            fakes.fileSystem.addFile(file, "data");
            // A Chromium profile holds its settings.
            for (const std::string& data : {chromeData, edgeData})
                if (file.starts_with(data + "\\"))
                    fakes.fileSystem.addFile(file.substr(0, file.find('\\', data.size() + 1)) + "\\Preferences", "{}");
        }
        form->FindOtherBrowsers();
        fakes.fileSystem.calls.clear();
    }
    std::vector<std::string> left(const std::string& folder) const
    {
        std::vector<std::string> names = fakes.fileSystem.list(folder);
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace

TEST_F(BrowserMunchTest, AStoreGoesWithItsCompanionsOrNotAtAll)
{
    const std::string network = chromeData + "\\Default\\Network";
    struct Case {
        const char* name;
        std::vector<std::string> made;   // in the Network folder
        std::uint32_t storeAttributes;   // of "Cookies", when made
        bool storeIsFolder;
        bool storeHeld;                  // open in the browser, no delete sharing
        std::vector<std::string> left;
        int counted;
    };
    const std::uint32_t plain = platform::faArchive;
    for (const Case& c : std::initializer_list<Case>{
             {"absent", {}, 0, false, false, {}, 0},
             {"plain, with companions", {"Cookies", "Cookies-journal", "Cookies-wal", "Cookies-shm"}, plain, false,
              false, {}, 1},
             {"read-only: the user keeps it", {"Cookies", "Cookies-journal"}, plain | platform::faReadOnly, false,
              false, {"Cookies", "Cookies-journal"}, 0},
             {"a folder", {"Cookies-journal"}, 0, true, false, {"Cookies", "Cookies-journal"}, 0},
             {"in use: the browser runs", {"Cookies", "Cookies-wal", "Cookies-shm"}, plain, false, true,
              {"Cookies", "Cookies-shm", "Cookies-wal"}, 0},
             {"companions an earlier munch left", {"Cookies-wal", "Cookies-shm"}, 0, false, false, {}, 0},
         }) {
        FakePlatform fresh;
        fresh.folders.shellFolders = fakes.folders.shellFolders;
        fresh.fileSystem.addFile(chromeData + "\\Default\\Preferences", "{}");
        fresh.fileSystem.addFile(network + "\\Trust Tokens", "t");
        for (const std::string& name : c.made)
            fresh.fileSystem.addFile(network + "\\" + name, "sqlite",
                                     name == "Cookies" ? c.storeAttributes : platform::faArchive);
        if (c.storeIsFolder)
            fresh.fileSystem.addFolder(network + "\\Cookies");
        if (c.storeHeld)
            fresh.fileSystem.lock(network + "\\Cookies");
        TApplication application(fresh.ui);
        TUrlCache::TestLibraryAtStart(fresh.urlCache);
        TForm1& munching = application.CreateForm<TForm1>(fresh.services);
        fresh.threads.runAtOnce = true;
        fresh.fileSystem.calls.clear();
        munching.ThreadedTimer1->HandleTick();

        std::vector<std::string> names = fresh.fileSystem.list(network);
        std::erase(names, "Trust Tokens");
        std::sort(names.begin(), names.end());
        EXPECT_THAT(names, ::testing::ElementsAreArray(c.left)) << c.name;
        EXPECT_EQ(munching.State.MunchedCount, c.counted) << c.name;
        EXPECT_TRUE(fresh.fileSystem.exists(network + "\\Trust Tokens")) << c.name;
        EXPECT_TRUE(fresh.fileSystem.exists(chromeData + "\\Default\\Preferences")) << c.name;
        if (c.storeHeld) { // the browser closes: the next cycle munches it whole
            fresh.fileSystem.unlock(network + "\\Cookies");
            munching.ThreadedTimer1->HandleTick();
            EXPECT_THAT(fresh.fileSystem.list(network), ::testing::ElementsAre("Trust Tokens")) << c.name;
            EXPECT_EQ(munching.State.MunchedCount, 1) << c.name;
        }
    }
}

TEST_F(BrowserMunchTest, EveryStoreOfTheFoundBrowsersGoesAndNothingElseOfTheirProfiles)
{
    const std::string ffA = firefoxData + "\\Profiles\\a.default";
    const std::string ffB = "D:\\FirefoxProfiles\\work"; // named by an absolute path
    const std::string opera = roamingData + "\\Opera Software\\Opera Stable";
    const std::vector<std::string> stores{
        ffA + "\\cookies.sqlite",
        ffB + "\\cookies.sqlite",
        chromeData + "\\Default\\Network\\Cookies",
        chromeData + "\\Profile 1\\Network\\Cookies",
        chromeData + "\\Profile 1\\Cookies", // before version 96
        edgeData + "\\Default\\Network\\Cookies",
        edgeData + "\\Default\\Extension Cookies",
        opera + "\\Network\\Cookies",
    };
    const std::vector<std::string> kept{
        firefoxData + "\\profiles.ini", ffA + "\\places.sqlite", ffA + "\\logins.json", ffA + "\\key4.db",
        ffA + "\\parent.lock", ffB + "\\cookies.sqlite.bak", chromeData + "\\Local State",
        chromeData + "\\Default\\History", chromeData + "\\Default\\Login Data", chromeData + "\\Default\\lockfile",
        chromeData + "\\Profile 1\\Preferences", chromeData + "\\Default\\Preferences",
        edgeData + "\\Default\\Preferences", edgeData + "\\Default\\Network\\Network Persistent State",
        opera + "\\Preferences"};
    fakes.fileSystem.addFile(firefoxData + "\\profiles.ini",
                             "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n"
                             "[Profile1]\r\nIsRelative=0\r\nPath=D:\\FirefoxProfiles\\work\r\n");
    for (const std::string& store : stores) {
        fakes.fileSystem.addFile(store, "sqlite");
        fakes.fileSystem.addFile(store + "-journal", "j");
    }
    for (const std::string& file : kept)
        if (!fakes.fileSystem.exists(file))
            fakes.fileSystem.addFile(file, "keep");
    cookies({"ie.txt"});
    fakes.fileSystem.addFile("C:\\icq\\cookies.dat");
    found({});

    tick();
    for (const std::string& store : stores) {
        EXPECT_FALSE(fakes.fileSystem.exists(store)) << store;
        EXPECT_FALSE(fakes.fileSystem.exists(store + "-journal")) << store;
    }
    for (const std::string& file : kept)
        EXPECT_TRUE(fakes.fileSystem.exists(file)) << file;
    EXPECT_EQ(static_cast<std::size_t>(form->State.MunchedCount), stores.size() + 2);
    // After the ICQ file, before the cookie folder.
    const std::vector<std::string> order = deleted();
    EXPECT_EQ(order.front(), "C:\\icq\\cookies.dat");
    EXPECT_EQ(order.back(), "C:\\ie\\cookies\\ie.txt");
}

TEST_F(BrowserMunchTest, AFamilyUncheckedInTheMenuIsSpared)
{
    const std::string edge = edgeData + "\\Default\\Network\\Cookies";
    const std::string chrome = chromeData + "\\Default\\Network\\Cookies";
    found({edge, chrome});
    struct Case {
        bool edgeMunched;
        bool edgeLeft;
    };
    for (const Case& c : {Case{false, true}, Case{true, false}}) {
        fakes.fileSystem.addFile(chrome, "sqlite");
        if (!fakes.fileSystem.exists(edge))
            fakes.fileSystem.addFile(edge, "sqlite");
        for (TMenuItem* row : form->BrowserRows)
            if (row->Caption == "Microsoft Edge")
                row->Checked = c.edgeMunched;
        tick();
        EXPECT_EQ(fakes.fileSystem.exists(edge), c.edgeLeft);
        EXPECT_FALSE(fakes.fileSystem.exists(chrome));
    }
}

TEST_F(BrowserMunchTest, ATickAsksOnlyForFoldersThatDidNotChangeAndSearchesNoFamilyAnew)
{
    // Thirteen families with three profiles each, and not one store yet.
    std::size_t stores = 0;
    std::set<std::string> folders;
    for (const TBrowserFamily& family : BrowserFamilies()) {
        const std::string root =
            (family.Root == platform::ShellFolder::LocalAppData ? localData : roamingData) + "\\" + family.Folder;
        fakes.fileSystem.addFolder(root);
        if (family.Kind == TBrowserKind::bkChromiumOneProfile) {
            stores += 3;
            fakes.fileSystem.addFolder(root + "\\Network");
            folders.insert({root, root + "\\Network"});
            continue;
        }
        const bool mozilla = family.Kind == TBrowserKind::bkMozilla;
        const std::string profiles = mozilla ? root + "\\Profiles" : root;
        for (const char* profile : {"Default", "Profile 1", "Profile 2"}) {
            fakes.fileSystem.addFolder(profiles + "\\" + profile);
            folders.insert(profiles + "\\" + profile);
            if (!mozilla) {
                fakes.fileSystem.addFile(profiles + "\\" + profile + "\\Preferences", "{}");
                fakes.fileSystem.addFolder(profiles + "\\" + profile + "\\Network");
                folders.insert(profiles + "\\" + profile + "\\Network");
            }
        }
        stores += mozilla ? 3 : 9;
    }
    found({});
    fakes.folders.calls.clear();
    const auto looksAtStores = [&](const char* operation) {
        std::size_t looks = 0;
        // The browsers' exceptions files are looked at once, after the browsers are found.
        for (const Call& call : fakes.fileSystem.callsOf(operation))
            looks += call.args[0].rfind("C:\\users\\", 0) == 0 && !call.args[0].ends_with("Preferences") &&
                     call.args[0].find("permissions.sqlite") == std::string::npos;
        return looks;
    };
    struct Case {
        const char* tick;
        std::size_t searches;  // a store listed with its companions
        std::size_t questions; // a store's attributes asked for
    };
    // The first cycle after the stores are found lists each, for companions an
    // earlier run may have left; the second asks, to be sure of a change its
    // folder's time could not show; after that only the folders' times are asked.
    for (const Case& c : {Case{"first", stores, 0}, Case{"second", 0, stores}, Case{"third", 0, 0},
                          Case{"fourth", 0, 0}}) {
        fakes.fileSystem.calls.clear();
        tick();
        EXPECT_EQ(looksAtStores("findFiles"), c.searches) << c.tick;
        EXPECT_EQ(looksAtStores("attributes"), c.questions) << c.tick;
        EXPECT_EQ(looksAtStores("lastWriteTime"), folders.size()) << c.tick << ": once for each folder";
        EXPECT_EQ(looksAtStores("readFileStart"), 0u);
        EXPECT_TRUE(fakes.fileSystem.callsOf("deleteFile").empty());
    }
    EXPECT_TRUE(fakes.folders.callsOf("shellFolder").empty());
}

TEST_F(BrowserMunchTest, AStoreIsLookedAtWhileItsFolderChangesOrItIsThere)
{
    const std::string network = chromeData + "\\Default\\Network";
    const std::string store = network + "\\Cookies";
    struct Case {
        const char* name;
        std::function<void()> before; // done to a quiet profile before the ticks
        int ticks;
        bool looked;   // at the last tick, the store was asked for or listed
        bool left;     // the store is there after the ticks
        int counted;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"nothing changes", [] {}, 1, false, false, 0},
             {"the store appears", [&] { fakes.fileSystem.addFile(store, "sqlite"); }, 1, true, false, 1},
             {"the store appears in the instant of the folder's last change",
              [&] {
                  fakes.fileSystem.addFile(network + "\\Reporting and NEL", "r");
                  tick(); // the change is seen, the store not yet there
                  const std::uint64_t time = *fakes.fileSystem.lastWriteTimeOf(network);
                  fakes.fileSystem.addFile(store, "sqlite");
                  fakes.fileSystem.setLastWriteTime(network, time); // a coarse clock
              },
              1, true, false, 1},
             {"the store in use, ticks later",
              [&] {
                  fakes.fileSystem.addFile(store, "sqlite");
                  fakes.fileSystem.lock(store);
              },
              4, true, true, 0},
             {"the store read-only, ticks later",
              [&] { fakes.fileSystem.addFile(store, "kept", platform::faArchive | platform::faReadOnly); }, 4, true,
              true, 0},
             {"the folder's time cannot be had", [&] { fakes.fileSystem.faults.failFrom("lastWriteTime"); }, 3, true,
              false, 0},
             {"the folder gone",
              [&] {
                  fakes.fileSystem.erase(network + "\\Trust Tokens");
                  fakes.fileSystem.erase(network);
              },
              3, true, false, 0},
             {"the folder a link, the store made where it leads",
              [&] {
                  fakes.fileSystem.erase(network + "\\Trust Tokens");
                  fakes.fileSystem.erase(network);
                  fakes.fileSystem.addFolder("C:\\elsewhere\\Network");
                  fakes.fileSystem.addLink(network, "C:\\elsewhere\\Network",
                                           platform::faDirectory | platform::faReparsePoint);
                  ticks(3); // quiet: the link's own time never moves
                  fakes.fileSystem.addFile("C:\\elsewhere\\Network\\Cookies", "sqlite");
              },
              1, true, false, 1},
         }) {
        SCOPED_TRACE(c.name);
        found({network + "\\Trust Tokens"});
        for (int quiet = 0; quiet < 3; ++quiet)
            tick();
        c.before();
        const auto countedBefore = form->State.MunchedCount;
        for (int i = 0; i < c.ticks; ++i) {
            fakes.fileSystem.calls.clear();
            tick();
        }
        bool looked = false;
        for (const char* operation : {"attributes", "findFiles"})
            for (const Call& call : fakes.fileSystem.callsOf(operation))
                looked |= call.args[0].rfind(network, 0) == 0;
        EXPECT_EQ(looked, c.looked);
        EXPECT_EQ(fakes.fileSystem.exists(store), c.left);
        EXPECT_EQ(form->State.MunchedCount - countedBefore, c.counted);
        fakes.fileSystem.faults.clear();
        if (fakes.fileSystem.exists(store)) {
            fakes.fileSystem.unlock(store);
            fakes.fileSystem.setAttributes(store, platform::faArchive);
            fakes.fileSystem.calls.clear();
            tick();
            EXPECT_FALSE(fakes.fileSystem.exists(store)) << "munched at the next tick once let go or unmarked";
        }
        for (const std::string& name : left(network))
            fakes.fileSystem.erase(network + "\\" + name);
    }
}

TEST_F(BrowserMunchTest, AStoreThatAppearsLaterIsListedWholeAndACompanionLeftIsTriedAgain)
{
    const std::string network = chromeData + "\\Default\\Network";
    found({network + "\\Trust Tokens"});
    tick(); // the first cycle lists: nothing there yet
    struct Case {
        const char* name;
        std::vector<std::string> made;
        const char* held;
        std::vector<std::string> left;
        int counted;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"a store with its journal", {"Cookies", "Cookies-journal"}, nullptr, {}, 1},
             {"a read-only store", {}, nullptr, {}, 0},
             {"a companion held", {"Cookies", "Cookies-wal"}, "Cookies-wal", {"Cookies", "Cookies-wal"}, 0},
             {"the companion let go", {}, nullptr, {}, 1},
         }) {
        for (const std::string& name : c.made)
            fakes.fileSystem.addFile(network + "\\" + name, "sqlite");
        if (c.held)
            fakes.fileSystem.lock(network + "\\" + c.held);
        if (std::string(c.name) == "the companion let go")
            fakes.fileSystem.unlock(network + "\\Cookies-wal");
        if (std::string(c.name) == "a read-only store")
            fakes.fileSystem.addFile(network + "\\Cookies", "kept", platform::faArchive | platform::faReadOnly);
        const auto before = form->State.MunchedCount;
        tick();
        std::vector<std::string> names = left(network);
        std::erase(names, "Trust Tokens");
        if (std::string(c.name) == "a read-only store") {
            EXPECT_THAT(names, ElementsAre("Cookies")) << c.name;
            fakes.fileSystem.setAttributes(network + "\\Cookies", platform::faArchive);
            fakes.fileSystem.erase(network + "\\Cookies");
        } else {
            EXPECT_THAT(names, ::testing::ElementsAreArray(c.left)) << c.name;
        }
        EXPECT_EQ(form->State.MunchedCount - before, c.counted) << c.name;
    }
}

TEST_F(BrowserMunchTest, ABrowserInstalledLaterIsMunchedOnceTheMenuHasOpened)
{
    const std::string store = edgeData + "\\Default\\Network\\Cookies";
    found({});
    fakes.fileSystem.addFile(store, "sqlite");
    fakes.fileSystem.addFile(edgeData + "\\Default\\Preferences", "{}");
    tick();
    EXPECT_TRUE(fakes.fileSystem.exists(store)) << "not looked for at a tick";
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    form->IP1->Click(); // a command reopens the gate
    tick();
    EXPECT_FALSE(fakes.fileSystem.exists(store));
}

TEST_F(BrowserMunchTest, TheMenuOpeningDuringManyStoresEndsTheCycleBeforeTheCookieFolder)
{
    std::vector<std::string> stores;
    for (int i = 0; i < 40; ++i)
        stores.push_back(chromeData + "\\Profile " + std::to_string(i) + "\\Network\\Cookies");
    found(stores);
    cookies({"ie.txt"});
    int rounds = 0;
    ui.onProcessMessages = [&] {
        if (++rounds == 2) { // within the stores: the user opens the menu, which looks for browsers anew
            fakes.fileSystem.addFile(edgeData + "\\Default\\Preferences", "{}");
            form->PopupMenu1->OnPopup(form->PopupMenu1);
        }
    };
    tick();
    ui.onProcessMessages = nullptr;
    EXPECT_GT(form->State.MunchedCount, 0);
    EXPECT_LT(static_cast<std::size_t>(form->State.MunchedCount), stores.size());
    EXPECT_TRUE(fakes.fileSystem.exists("C:\\ie\\cookies\\ie.txt"));
    EXPECT_FALSE(form->State.MunchBusy);
}

TEST_F(MunchCycleTest, UnderADoubleByteCodePageNamesAndFoldersGoByCharacters)
{
    // Code page 932: "ソ" (0x83 0x5C), "表" (0x95 0x5C) and "能" (0x94 0x5C) end in a backslash's byte.
    fakes.codePage.useJapanese();
    fakes.fileSystem.codePage = &fakes.codePage;
    const std::string folder = "C:\\users\\\x83\x5C\x83\x6A\x81\x5B\\Cookies";
    form->State.IECookieDir = folder;
    form->State.CookieTxtFile = "C:\\\x83\x5C\\\x94\x5C.txt";
    for (const char* name : {"\x95\x5C.txt", "a.txt", "index.dat"})
        fakes.fileSystem.addFile(folder + "\\" + name);
    fakes.fileSystem.addFile(form->State.CookieTxtFile);

    tick();

    EXPECT_THAT(fakes.fileSystem.list(folder), ElementsAre("index.dat"));
    EXPECT_FALSE(fakes.fileSystem.exists(form->State.CookieTxtFile));
    EXPECT_EQ(form->State.MunchedCount, 3);
}

TEST_F(MunchCycleTest, TheTipTellsTheMenusCountLineOnceACycle)
{
    const std::pair<std::function<void()>, const char*> steps[] = {
        {[] {}, "Nomblet: Munched = 0"}, // at start
        {[this] { cookies({"a.txt", "b.txt", "c.txt"}); tick(); }, "Nomblet: Munched = 3"},
        {[this] { tick(); }, "Nomblet: Munched = 3"},
        {[this] { form->Cookies1->Click(); }, "Nomblet: Munched = 0"},
    };
    for (const auto& [act, tip] : steps) {
        fakes.notifyArea.calls.clear();
        act();
        EXPECT_EQ(FakeNotifyArea::tipOf(fakes.notifyArea.icons.begin()->second), tip);
        // The tip and the animation's first image; never one request per cookie.
        EXPECT_LE(fakes.notifyArea.callsOf("modify").size(), 2u) << tip;
    }
}
