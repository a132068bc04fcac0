// The tray menu's commands: what each changes, what each saves, and the gate.
#include "app/MainFormFixture.h"

#include "resources/BuiltinSounds.h"
#include "toolkit/Error.h"

#include <gmock/gmock.h>

namespace {

const char* runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class MenuCommandsTest : public MainFormFixture {
protected:
    void SetUp() override
    {
        form = &start();
        form->PopupMenu1->OnPopup(form->PopupMenu1); // the menu opens: the gate closes
        fakes.profile.calls.clear();
    }
    std::size_t saves() const { return fakes.profile.callsOf("writeString").size() / 9; }
    // The user picks this file in the next file-open dialog.
    void userPicks(std::optional<std::string> path)
    {
        dialogs.onOpenFile = [path](const platform::OpenFileRequest&) { return path; };
    }
    // A file holding a playable wave image that differs from the built-in ones.
    std::string waveFile(const std::string& path)
    {
        auto image = BuiltinBurpImage();
        std::string bytes(image.begin(), image.end());
        bytes.back() ^= 0x55;
        fakes.fileSystem.addFile(path, bytes);
        return bytes;
    }
    static std::string held(TWave& wave)
    {
        return std::string(reinterpret_cast<const char*>(wave.WaveData()->Image()), wave.WaveData()->Size());
    }

    // The rows of "Keep Sites" when the menu opened last: caption, then " [x]" when checked.
    std::vector<std::string> keepSiteRows() const
    {
        std::vector<std::string> shown;
        for (const platform::MenuEntry& entry : fakes.iconsAndMenus.lastMenu)
            for (const platform::MenuEntry& row : entry.caption == "Keep Sites" ? entry.items : decltype(entry.items){})
                shown.push_back(row.caption + (row.checked ? " [x]" : "") + (row.enabled ? "" : " (greyed)"));
        return shown;
    }

    TForm1* form = nullptr;
};

} // namespace

TEST_F(MenuCommandsTest, ThePopupClosesTheGate)
{
    EXPECT_TRUE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ACookieFileCommandProposesItsNameInTheFolderOfTheCurrentPath)
{
    form->State.CookieTxtFile = "C:\\Program Files\\Netscape\\cookies.txt";
    userPicks("D:\\new\\cookies.txt");
    form->PathtoCookietxt1->Click();

    ASSERT_EQ(dialogs.openFileRequests.size(), 1u);
    const platform::OpenFileRequest& shown = dialogs.openFileRequests[0];
    EXPECT_EQ(shown.fileName, "cookies.txt");
    EXPECT_EQ(shown.title, "Search for Netscape Cookie File (cookies.txt)");
    EXPECT_EQ(shown.initialDir, "C:\\Program Files\\Netscape\\");
    EXPECT_TRUE(shown.hideReadOnly);
    EXPECT_FALSE(shown.fileMustExist);
    EXPECT_EQ(form->State.CookieTxtFile, "D:\\new\\cookies.txt");
    EXPECT_EQ(stored("Cookie File", "Name"), "D:\\new\\cookies.txt");
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ACancelledCookieFileCommandKeepsThePathButStillSaves)
{
    form->State.OperaCookieFile = "E:cookies4.dat";
    userPicks(std::nullopt);
    form->PathtoCookie4DatOpera1->Click();
    EXPECT_EQ(dialogs.openFileRequests.at(0).title, "Search for Opera Cookie File (cookies#.dat)");
    EXPECT_EQ(dialogs.openFileRequests.at(0).fileName, "cookies4.dat");
    EXPECT_EQ(dialogs.openFileRequests.at(0).initialDir, "E:");
    EXPECT_EQ(form->State.OperaCookieFile, "E:cookies4.dat");
    EXPECT_EQ(saves(), 1u);
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheIcqFileCommandLeavesTheGateToTimeOut)
{
    userPicks("C:\\icq\\cookies.dat");
    form->PathtoCookiedatICQ1->Click();
    EXPECT_EQ(dialogs.openFileRequests.at(0).title, "Search for ICQ Cookie File (cookies.dat)");
    EXPECT_EQ(dialogs.openFileRequests.at(0).fileName, "cookies.dat");
    EXPECT_EQ(dialogs.openFileRequests.at(0).initialDir, "");
    EXPECT_EQ(stored("Cookie Dat", "ICQ"), "C:\\icq\\cookies.dat");
    EXPECT_TRUE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheCookieFolderCommandUsesTheFolderPicker)
{
    fakes.fileSystem.addFolder("D:\\ie\\cookies");
    fakes.folderBrowser.user = [](FakeFolderBrowser& shell) {
        shell.select("D:\\ie\\cookies");
        shell.confirm();
    };
    form->PathtoCookieDirIExplorer1->Click();
    EXPECT_EQ(form->FolderDialog1->Title, "Search for IE Cookie Folder");
    EXPECT_EQ(form->State.IECookieDir, "D:\\ie\\cookies");
    EXPECT_EQ(stored("Cookie Dir", "Dir"), "D:\\ie\\cookies");
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheFolderPickerRefusesASystemFolderAndSaysWhich)
{
    form->State.IECookieDir = "D:\\ie\\cookies";
    fakes.folderBrowser.user = [](FakeFolderBrowser& shell) {
        shell.select("C:\\WINDOWS");
        shell.confirm();
    };
    form->PathtoCookieDirIExplorer1->Click();
    EXPECT_EQ(form->State.IECookieDir, "D:\\ie\\cookies");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("\"C:\\WINDOWS\""), std::string::npos) << ui.boxes[0].text;
    EXPECT_EQ(stored("Cookie Dir", "Dir"), "D:\\ie\\cookies");
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ACancelledFolderPickerKeepsTheFolderAndSaves)
{
    fakes.folderBrowser.user = [](FakeFolderBrowser& shell) { shell.select("D:\\elsewhere"); };
    form->PathtoCookieDirIExplorer1->Click();
    EXPECT_EQ(form->State.IECookieDir, "C:\\WINDOWS\\cookies");
    EXPECT_EQ(saves(), 1u);
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ANewCrunchIsLoadedIntoTheCrunchSoundPlayedAndSavedEvenWithSoundsOff)
{
    form->SoundsOn1->Checked = false;
    std::string bytes = waveFile("C:\\snd\\new.wav");
    userPicks("C:\\snd\\new.wav");
    form->CrunchSound1->Click();

    const platform::OpenFileRequest& shown = dialogs.openFileRequests.at(0);
    EXPECT_EQ(shown.title, "Select New Wave Sound");
    EXPECT_EQ(shown.filter, "Wave Files (*.wav)|*.wav");
    EXPECT_EQ(shown.defaultExt, "*.wav");
    EXPECT_TRUE(shown.fileMustExist && shown.pathMustExist && shown.hideReadOnly && shown.enableSizing);
    EXPECT_EQ(held(*form->Wave2), bytes);
    EXPECT_EQ(form->Wave1->WaveData()->Size(), 2869) << "the burp stays";
    ASSERT_EQ(fakes.sound.played.size(), 1u);
    EXPECT_EQ(std::string(fakes.sound.played[0].begin(), fakes.sound.played[0].end()), bytes);
    EXPECT_EQ(stored("Settings", "CrunchWave"), "C:\\snd\\new.wav");
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ANewBurpGoesIntoTheBurpSound)
{
    std::string bytes = waveFile("C:\\snd\\b.wav");
    userPicks("C:\\snd\\b.wav");
    form->BurpSound1->Click();
    EXPECT_EQ(held(*form->Wave1), bytes);
    EXPECT_EQ(stored("Settings", "BurpWave"), "C:\\snd\\b.wav");
}

TEST_F(MenuCommandsTest, AChosenSoundThatCannotBeReadIsReportedAndTheSoundInUseStays)
{
    std::string bytes = waveFile("C:\\snd\\mine.wav");
    userPicks("C:\\snd\\mine.wav");
    form->CrunchSound1->Click();
    ASSERT_EQ(held(*form->Wave2), bytes);

    fakes.fileSystem.addFile("C:\\snd\\locked.wav", "locked");
    fakes.fileSystem.lock("C:\\snd\\locked.wav", false);
    userPicks("C:\\snd\\locked.wav");
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    fakes.sound.played.clear();
    fakes.profile.calls.clear();
    form->CrunchSound1->Click();

    EXPECT_EQ(held(*form->Wave2), bytes);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].icon, platform::BoxIcon::Stop);
    EXPECT_TRUE(fakes.sound.played.empty());
    EXPECT_EQ(saves(), 0u);
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, AChosenSoundThatDoesNotExistIsRememberedButNeitherLoadedNorSaved)
{
    userPicks("C:\\gone.wav");
    form->CrunchSound1->Click();
    EXPECT_EQ(form->State.CrunchWaveFile, "C:\\gone.wav");
    EXPECT_EQ(form->Wave2->WaveData()->Size(), 2629);
    EXPECT_EQ(saves(), 0u);
    EXPECT_TRUE(fakes.sound.played.empty());
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ACancelledSoundCommandChangesNothing)
{
    userPicks(std::nullopt);
    form->BurpSound1->Click();
    EXPECT_EQ(form->State.BurpWaveFile, "default");
    EXPECT_EQ(saves(), 0u);
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, RestoreDefaultsSavesTheTwoSpellingsThenTellsTheUser)
{
    dialogs.onOpenFile = nullptr;
    form->RestoreDefault1->Click();
    EXPECT_EQ(stored("Settings", "CrunchWave"), "default");
    EXPECT_EQ(stored("Settings", "BurpWave"), "Default");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Default sounds will be restored next time Nomblet is re-strarted.");
    EXPECT_EQ(ui.boxes[0].caption, "Information");
    EXPECT_EQ(ui.boxes[0].icon, platform::BoxIcon::Information);
    EXPECT_EQ(fakes.profile.calls.back().operation, "writeString") << "saved before the box";
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheHomePageOpensThroughTheShell)
{
    form->FallowmereHomePage1->Click();
    auto opened = fakes.shell.callsOf("shellOpen");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_THAT(opened[0].args, ::testing::ElementsAre("Open", "http://www.fallowmere.example/", "", "", "1"));
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheIpItemOnlyOpensTheGate)
{
    form->IP1->Click();
    EXPECT_FALSE(form->State.MenuOpen);
    EXPECT_EQ(saves(), 0u);
}

TEST_F(MenuCommandsTest, TheIcqSwitchTurnsItsMarkOverWithoutSaving)
{
    form->DeleteICQCookies1->Click();
    EXPECT_FALSE(form->DeleteICQCookies1->Checked);
    EXPECT_EQ(saves(), 0u);
    EXPECT_FALSE(form->State.MenuOpen);
    form->DeleteICQCookies1->Click();
    EXPECT_TRUE(form->DeleteICQCookies1->Checked);
}

TEST_F(MenuCommandsTest, TheActiveSwitchStopsAndResumesMunchingAndSaves)
{
    form->Active1->Click();
    EXPECT_FALSE(form->Active1->Checked);
    EXPECT_FALSE(form->State.MunchActive);
    EXPECT_EQ(saves(), 1u);
    form->Active1->Click();
    EXPECT_TRUE(form->State.MunchActive);
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, TheSoundsAndSiteDataSwitchesSaveTheirNewMarks)
{
    const struct {
        TMenuItem* TForm1::*row;
        const char* key;
        const char* stored;
    } switches[] = {{&TForm1::SoundsOn1, "SoundsOn", "0"}, {&TForm1::MunchSiteData1, "SiteData", "1"}};
    for (const auto& s : switches) {
        form->State.MenuOpen = true;
        ((*form).*s.row)->Click();
        EXPECT_EQ(stored("Settings", s.key), s.stored) << s.key;
        EXPECT_FALSE(form->State.MenuOpen) << s.key;
    }
}

TEST_F(MenuCommandsTest, LoadAtStartupRegistersAndUnregistersAtTheFirstToggle)
{
    fakes.registry.addKey(platform::RegRoot::CurrentUser, runKey);
    ASSERT_FALSE(form->LoadatStartup1->Checked);
    form->LoadatStartup1->Click();
    EXPECT_EQ(fakes.registry.text(platform::RegRoot::CurrentUser, runKey, "MyApplication"),
              "\"" + fakes.registry.program + "\"");
    EXPECT_TRUE(form->LoadatStartup1->Checked);
    EXPECT_EQ(stored("Settings", "Autoload"), "1");
    form->LoadatStartup1->Click();
    EXPECT_FALSE(fakes.registry.text(platform::RegRoot::CurrentUser, runKey, "MyApplication").has_value());
    EXPECT_EQ(stored("Settings", "Autoload"), "0");
    EXPECT_FALSE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, LoadAtStartupShowsAndStoresOnlyARegistrationThatWasMade)
{
    // No Run key: the write cannot be made.
    form->LoadatStartup1->Click();
    EXPECT_FALSE(form->LoadatStartup1->Checked);
    EXPECT_EQ(stored("Settings", "Autoload"), "0");
    EXPECT_FALSE(form->State.MenuOpen);

    // The name taken by another program: its value stays as it was.
    fakes.registry.addKey(platform::RegRoot::CurrentUser, runKey);
    fakes.registry.setString(platform::RegRoot::CurrentUser, runKey, "MyApplication", "C:\\other.exe");
    form->LoadatStartup1->Click();
    form->LoadatStartup1->Click();
    EXPECT_FALSE(form->LoadatStartup1->Checked);
    EXPECT_EQ(stored("Settings", "Autoload"), "0");
    EXPECT_EQ(fakes.registry.text(platform::RegRoot::CurrentUser, runKey, "MyApplication"), "C:\\other.exe");
}

TEST_F(MenuCommandsTest, TheCounterResetShowsZeroSavesNothingAndLeavesTheGate)
{
    form->State.MunchedCount = 42;
    form->Cookies1->Click();
    EXPECT_EQ(form->State.MunchedCount, 0);
    EXPECT_EQ(form->Cookies1->Caption, "Munched = 0");
    EXPECT_EQ(saves(), 0u);
    EXPECT_TRUE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ARefusedSaveEndsTheCommandWithTheGateStillClosed)
{
    fakes.profile.faults.failFrom("writeString");
    EXPECT_THROW(form->SoundsOn1->Click(), Exception);
    EXPECT_FALSE(form->SoundsOn1->Checked) << "the mark was turned before the save";
    EXPECT_TRUE(form->State.MenuOpen);
}

TEST_F(MenuCommandsTest, ExitEndsTheProgramAndLeavesTheGate)
{
    form->Exit1->Click();
    EXPECT_TRUE(app.Terminated());
    EXPECT_TRUE(form->State.MenuOpen);
}

namespace {

const std::string localData = "C:\\users\\u\\AppData\\Local";
const std::string roamingData = "C:\\users\\u\\AppData\\Roaming";

// The rows of the "Other Browsers" submenu as the last tracked menu showed them,
// with "[x]" for a check mark and "(greyed)".
std::vector<std::string> otherBrowsersRows(const std::vector<platform::MenuEntry>& menu)
{
    std::vector<std::string> rows;
    for (const platform::MenuEntry& entry : menu)
        if (entry.caption == "Other Browsers")
            for (const platform::MenuEntry& row : entry.items)
                rows.push_back(row.caption + (row.checked ? " [x]" : "") + (row.enabled ? "" : " (greyed)"));
    return rows;
}

std::string captionAfter(const std::vector<platform::MenuEntry>& menu, const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < menu.size(); ++i)
        if (menu[i].caption == caption)
            return menu[i + 1].caption;
    return "<none>";
}

} // namespace

TEST_F(MenuCommandsTest, OtherBrowsersShowsEachFamilyFoundInTheTablesOrderOrNoneFound)
{
    struct Case {
        const char* name;
        std::vector<std::string> folders; // made before the menu opens
        std::vector<std::string> expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"none", {}, {"None Found (greyed)"}},
             {"two",
              {localData + "\\Microsoft\\Edge\\User Data", roamingData + "\\Mozilla\\Firefox"},
              {"Firefox [x]", "Microsoft Edge [x]"}},
             {"one more, installed since",
              {roamingData + "\\Opera Software\\Opera GX Stable"},
              {"Firefox [x]", "Microsoft Edge [x]", "Opera GX [x]"}},
         }) {
        fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = localData;
        fakes.folders.shellFolders[platform::ShellFolder::RoamingAppData] = roamingData;
        for (const std::string& folder : c.folders)
            fakes.fileSystem.addFolder(folder);
        fakes.notifyArea.mouse(516); // right button down on the icon: the menu opens, nothing is chosen
        EXPECT_THAT(otherBrowsersRows(fakes.iconsAndMenus.lastMenu), ::testing::ElementsAreArray(c.expected))
            << c.name;
        EXPECT_EQ(captionAfter(fakes.iconsAndMenus.lastMenu, "Path to Cookie.dat (ICQ)"), "Other Browsers");
    }
}

TEST_F(MenuCommandsTest, ABrowserRowFlipsItsMarkSavesAtOnceAndOpensTheGate)
{
    fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = localData;
    fakes.fileSystem.addFolder(localData + "\\Microsoft\\Edge\\User Data");
    fakes.fileSystem.addFolder(localData + "\\Google\\Chrome\\User Data");
    fakes.profile.set(ini, "Other Browsers", "Waterfox", "0"); // a family not found here
    for (const char* expected : {"0", "1", "0"}) {
        fakes.iconsAndMenus.menuChoice = "Other Browsers/Microsoft Edge";
        fakes.notifyArea.mouse(516);
        EXPECT_FALSE(form->State.MenuOpen) << expected;
        EXPECT_EQ(stored("Other Browsers", "Microsoft Edge"), expected);
        EXPECT_EQ(stored("Other Browsers", "Google Chrome"), "1");
        EXPECT_EQ(stored("Other Browsers", "Waterfox"), "0") << "kept as it stands";
        EXPECT_EQ(stored("Other Browsers", "Firefox"), "<missing>") << "not found: not written";
    }
    EXPECT_EQ(fakes.profile.callsOf("writeString").size(), 3u * 12u) << "whole saves: ten keys and two families'";

    // None Found is greyed: choosing it does nothing.
    fakes.fileSystem.calls.clear();
    fakes.folders.shellFolders.clear();
    fakes.profile.calls.clear();
    fakes.iconsAndMenus.menuChoice = "Other Browsers/None Found";
    fakes.notifyArea.mouse(516);
    EXPECT_TRUE(form->State.MenuOpen);
    EXPECT_TRUE(fakes.profile.callsOf("writeString").empty());
}

TEST_F(MenuCommandsTest, KeepSitesListsTheKeptSitesThenTheRecentOnesAndARowFlipsAndSavesItsSite)
{
    fakes.profile.set(ini, "Keep Sites", "shop.net", "no"); // not kept: stays as it stands
    struct Step {
        std::vector<const char*> munched; // hosts munched before the menu opens
        const char* choice;               // the row chosen, or none
        bool runs;                        // a row's command runs: the gate opens
        const char* stored;               // mail.com's key after it
        std::vector<std::string> rows;    // when the menu opens next
    } steps[] = {
        {{}, "Keep Sites/None Yet", false, "<missing>", {"None Yet (greyed)"}},
        {{".mail.com", "www.b.com"}, "", false, "<missing>", {"b.com", "mail.com"}},
        {{}, "Keep Sites/mail.com", true, "1", {"mail.com [x]", "-", "b.com"}},
        {{"c.net"}, "Keep Sites/b.com", true, "1", {"b.com [x]", "mail.com [x]", "-", "c.net"}},
        {{}, "Keep Sites/mail.com", true, "<missing>", {"b.com [x]", "-", "mail.com", "c.net"}},
    };
    for (const Step& step : steps) {
        for (const char* host : step.munched)
            form->KeptSites.Munched(host);
        fakes.iconsAndMenus.menuChoice = step.choice;
        fakes.notifyArea.mouse(516);
        EXPECT_EQ(form->State.MenuOpen, !step.runs) << step.choice;
        EXPECT_EQ(stored("Keep Sites", "mail.com"), step.stored) << step.choice;
        EXPECT_EQ(stored("Keep Sites", "shop.net"), "no");
        fakes.iconsAndMenus.menuChoice.clear();
        fakes.notifyArea.mouse(516);
        EXPECT_THAT(keepSiteRows(), ::testing::ElementsAreArray(step.rows)) << step.choice;
        EXPECT_EQ(captionAfter(fakes.iconsAndMenus.lastMenu, "Other Browsers"), "Keep Sites");
    }
}

TEST_F(MenuCommandsTest, KeepSitesListsTheSourcesSitesAmongTheUsersGreyedWithWhyAndNotAsRecent)
{
    fakes.profile.loadText(ini, "[Keep Sites]\nwww.b.com=1\n");
    form->LoadSettings();
    for (const char* host : {"www.a.example", "c.example"})
        form->KeptSites.Munched(host);
    form->KeptSites.KeepFromSources({{u"www.a.example", "Firefox"}, {u"b.com", "policy"}, {u"z.org", "Chrome"}});
    struct Step {
        std::string choice;
        const char* key; // www.b.com's after it
        std::vector<std::string> rows;
    } steps[] = {
        {"", "1",
         {"a.example (Firefox) [x] (greyed)", "www.b.com [x]", "z.org (Chrome) [x] (greyed)", "-", "c.example"}},
        {"Keep Sites/a.example (Firefox)", "1",
         {"a.example (Firefox) [x] (greyed)", "www.b.com [x]", "z.org (Chrome) [x] (greyed)", "-", "c.example"}},
        {"Keep Sites/www.b.com", "<missing>",
         {"a.example (Firefox) [x] (greyed)", "b.com (policy) [x] (greyed)", "z.org (Chrome) [x] (greyed)", "-",
          "c.example"}},
    };
    for (const Step& step : steps) {
        fakes.iconsAndMenus.menuChoice = step.choice;
        fakes.notifyArea.mouse(516);
        EXPECT_EQ(stored("Keep Sites", "www.b.com"), step.key) << step.choice;
        fakes.iconsAndMenus.menuChoice.clear();
        fakes.notifyArea.mouse(516);
        EXPECT_THAT(keepSiteRows(), ::testing::ElementsAreArray(step.rows)) << step.choice;
    }
}

TEST_F(MenuCommandsTest, ASiteShowsAsTheUserWroteItAndUntickingItTakesEveryKeyThatSpellsIt)
{
    // In the code page (ISO 8859-1 here): "\xfc" is "u" with diaeresis. "com" and "1" name no site.
    fakes.profile.loadText(ini, "[Keep Sites]\nExample.com=1\n.example.com=1\nmail.example.com=1\nexample.COM.=0\n"
                                "b\xfc" "cher.example=1\nxn--bcher-kva.example=1\ncom=1\n1=1\n");
    form->LoadSettings();
    form->KeptSites.Munched("www.xn--e1afmkfd.example"); // no form in the code page
    form->KeptSites.Munched(".xn--mnchen-3ya.de.");
    auto keys = [&] {
        std::string all;
        for (const std::string& key : fakes.profile.readKeyNames(ini, "Keep Sites"))
            all += key + "=" + stored("Keep Sites", key.c_str()) + " ";
        return all;
    };
    const std::string buecher = "b\xfc" "cher.example", muenchen = "m\xfc" "nchen.de";
    struct Step {
        std::string choice;
        std::string keys; // after it
        std::vector<std::string> rows;
    } steps[] = {
        {"", "Example.com=1 .example.com=1 mail.example.com=1 example.COM.=0 " + buecher +
                 "=1 xn--bcher-kva.example=1 com=1 1=1 ",
         {buecher + " [x]", "Example.com [x]", "-", muenchen, "xn--e1afmkfd.example"}},
        {"Keep Sites/Example.com", buecher + "=1 xn--bcher-kva.example=1 com=1 1=1 ",
         {buecher + " [x]", "-", "Example.com", muenchen, "xn--e1afmkfd.example"}},
        {"Keep Sites/" + buecher, "com=1 1=1 ", {buecher, "Example.com", muenchen, "xn--e1afmkfd.example"}},
        {"Keep Sites/" + muenchen, "com=1 1=1 " + muenchen + "=1 ",
         {muenchen + " [x]", "-", buecher, "Example.com", "xn--e1afmkfd.example"}},
        {"Keep Sites/Example.com", "com=1 1=1 " + muenchen + "=1 Example.com=1 ",
         {"Example.com [x]", muenchen + " [x]", "-", buecher, "xn--e1afmkfd.example"}},
    };
    for (const Step& step : steps) {
        fakes.iconsAndMenus.menuChoice = step.choice;
        fakes.notifyArea.mouse(516);
        EXPECT_EQ(keys(), step.keys) << step.choice;
        fakes.iconsAndMenus.menuChoice.clear();
        fakes.notifyArea.mouse(516);
        EXPECT_THAT(keepSiteRows(), ::testing::ElementsAreArray(step.rows)) << step.choice;
    }
    EXPECT_TRUE(form->KeptSites.Keeps("mail.xn--mnchen-3ya.de."));
}
