// The settings file: what is read, what is written, and a refused write.
#include "app/MainFormFixture.h"

#include "platform/PathText.h"
#include "toolkit/Error.h"

#include <gmock/gmock.h>

#include <tuple>

namespace {

class SettingsTest : public MainFormFixture {
protected:
    void store(const char* section, const char* key, const std::string& value)
    {
        fakes.profile.set(ini, section, key, value);
    }
    std::vector<std::string> writtenKeys() const
    {
        std::vector<std::string> keys;
        for (const Call& call : fakes.profile.callsOf("writeString"))
            keys.push_back(call.args[1] + "/" + call.args[2] + "=" + call.args[3]);
        return keys;
    }
};

} // namespace

TEST_F(SettingsTest, ReadsTheKeysInOrderFromTheBareFileNameWithA2048Buffer)
{
    start();
    auto reads = fakes.profile.callsOf("readString");
    std::vector<std::string> keys;
    for (const Call& call : reads) {
        EXPECT_EQ(call.args[0], "nomblet.ini");
        EXPECT_EQ(call.args[4], "2048");
        keys.push_back(call.args[1] + "/" + call.args[2] + "?" + call.args[3]);
    }
    std::vector<std::string> expected{"Cookie File/Name?",         "Cookie File/OName?",    "Cookie Dir/Dir?",
                                      "Cookie Dat/ICQ?",           "Settings/MunchICQ?1",   "Settings/SoundsOn?1",
                                      "Settings/Autoload?1",       "Settings/CrunchWave?default",
                                      "Settings/BurpWave?default", "Settings/SiteData?0"};
    // Then each browser family's mark, munched when its key is missing.
    for (const TBrowserFamily& family : BrowserFamilies())
        expected.push_back(std::string("Other Browsers/") + family.Caption + "?1");
    EXPECT_THAT(keys, ::testing::ElementsAreArray(expected));
}

TEST_F(SettingsTest, StoredValuesReachTheStateAndTheCheckMarks)
{
    store("Cookie File", "Name", "C:\\ns\\cookies.txt");
    store("Cookie File", "OName", "C:\\op\\cookies4.dat");
    store("Cookie Dir", "Dir", "D:\\ie\\cookies");
    store("Cookie Dat", "ICQ", "C:\\icq\\cookies.dat");
    store("Settings", "MunchICQ", "0");
    store("Settings", "SoundsOn", "0");
    store("Settings", "Autoload", "0");
    store("Settings", "CrunchWave", "C:\\snd\\c.wav");
    store("Settings", "BurpWave", "Default");

    TForm1& form = start();

    EXPECT_EQ(form.State.CookieTxtFile, "C:\\ns\\cookies.txt");
    EXPECT_EQ(form.State.OperaCookieFile, "C:\\op\\cookies4.dat");
    EXPECT_EQ(form.State.IECookieDir, "D:\\ie\\cookies");
    EXPECT_EQ(form.State.ICQCookieFile, "C:\\icq\\cookies.dat");
    EXPECT_FALSE(form.DeleteICQCookies1->Checked);
    EXPECT_FALSE(form.SoundsOn1->Checked);
    EXPECT_EQ(form.State.CrunchWaveFile, "C:\\snd\\c.wav");
    EXPECT_EQ(form.State.BurpWaveFile, "Default");
}

TEST_F(SettingsTest, TheLoadAtStartupMarkShowsWhatTheRegistryHoldsNotTheStoredFlag)
{
    store("Settings", "Autoload", "1");
    EXPECT_FALSE(start().LoadatStartup1->Checked);
}

TEST_F(SettingsTest, TheLoadAtStartupMarkIsSetWhenTheProgramIsRegistered)
{
    store("Settings", "Autoload", "0");
    fakes.registry.setString(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             "MyApplication", fakes.registry.program);
    EXPECT_TRUE(start().LoadatStartup1->Checked);
}

class SettingsFlagTest : public SettingsTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(SettingsFlagTest, OnlyExactlyOneSetsAMark)
{
    store("Settings", "MunchICQ", GetParam());
    store("Settings", "SoundsOn", GetParam());
    store("Settings", "Autoload", GetParam());
    store("Settings", "SiteData", GetParam());
    TForm1& form = start();
    bool expected = GetParam() == "1";
    EXPECT_EQ(form.DeleteICQCookies1->Checked, expected);
    EXPECT_EQ(form.SoundsOn1->Checked, expected);
    EXPECT_EQ(form.MunchSiteData1->Checked, expected);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsFlagTest,
                         ::testing::Values("1", "0", "yes", "true", "", " 1", "1 ", "11", "-1"));

TEST_F(SettingsTest, LongAndBinaryValuesAreTakenAsTheBufferHoldsThem)
{
    store("Cookie File", "Name", std::string(3000, 'n'));
    store("Cookie File", "OName", std::string("C:\\\x01\x7f\xff\xfe.dat"));
    TForm1& form = start();
    EXPECT_EQ(form.State.CookieTxtFile, std::string(2047, 'n'));
    EXPECT_EQ(form.State.OperaCookieFile, std::string("C:\\\x01\x7f\xff\xfe.dat"));
}

TEST_F(SettingsTest, SaveWritesAllTenKeysInOrderAndLeavesOtherKeysAlone)
{
    store("Other", "Keep", "me");
    store("Settings", "Extra", "too");
    TForm1& form = start();
    form.State.CookieTxtFile = "C:\\a.txt";
    form.SoundsOn1->Checked = false;
    fakes.profile.calls.clear();

    form.SaveSettings();

    EXPECT_THAT(writtenKeys(),
                ::testing::ElementsAre("Cookie File/Name=C:\\a.txt", "Cookie File/OName=",
                                       "Cookie Dir/Dir=C:\\WINDOWS\\cookies", "Cookie Dat/ICQ=",
                                       "Settings/MunchICQ=1", "Settings/SoundsOn=0", "Settings/Autoload=0",
                                       "Settings/CrunchWave=default", "Settings/BurpWave=default",
                                       "Settings/SiteData=0"));
    for (const Call& call : fakes.profile.callsOf("writeString"))
        EXPECT_EQ(call.args[0], "nomblet.ini");
    EXPECT_EQ(stored("Other", "Keep"), "me");
    EXPECT_EQ(stored("Settings", "Extra"), "too");
}

class RefusedWriteTest : public SettingsTest, public ::testing::WithParamInterface<int> {};

TEST_P(RefusedWriteTest, StopsAtTheRefusedKeyWithTheFileNameInTheError)
{
    TForm1& form = start();
    fakes.profile.calls.clear();
    fakes.profile.faults.failNth("writeString", GetParam());

    try {
        form.SaveSettings();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to write to nomblet.ini");
    }
    EXPECT_EQ(fakes.profile.callsOf("writeString").size(), static_cast<std::size_t>(GetParam()));
    EXPECT_EQ(fakes.profile.hasFile(ini), GetParam() > 1);
}

INSTANTIATE_TEST_SUITE_P(EachKey, RefusedWriteTest, ::testing::Range(1, 10));

TEST_F(SettingsTest, EachBrowserFamilysMarkIsReadAndOnlyTheFoundOnesAreWritten)
{
    const std::string local = "C:\\users\\u\\AppData\\Local";
    fakes.folders.shellFolders[platform::ShellFolder::LocalAppData] = local;
    struct Case {
        const char* caption;
        const char* stored; // nullptr: no key
        bool installed;
        bool munched;
        const char* written; // "<missing>": not written
    };
    const std::vector<Case> cases{
        {"Microsoft Edge", "0", true, false, "0"},   {"Google Chrome", "1", true, true, "1"},
        {"Brave", nullptr, true, true, "1"},         {"Vivaldi", "yes", true, false, "0"},
        {"Chromium", "0", false, false, "0"},         {"Yandex Browser", nullptr, false, true, "<missing>"},
    };
    for (const Case& c : cases) {
        if (c.stored)
            store("Other Browsers", c.caption, c.stored);
        for (const TBrowserFamily& family : BrowserFamilies())
            if (c.installed && family.Caption == std::string(c.caption))
                fakes.fileSystem.addFolder(local + "\\" + family.Folder);
    }
    TForm1& form = start();
    fakes.profile.calls.clear();
    form.SaveSettings();
    std::vector<std::string> written = writtenKeys();
    for (const Case& c : cases) {
        for (const TMenuItem* row : form.BrowserRows) {
            if (row->Caption == c.caption) {
                EXPECT_EQ(row->Checked, c.munched) << c.caption;
            }
        }
        EXPECT_EQ(stored("Other Browsers", c.caption), c.written) << c.caption;
    }
    // In the families' order, after the ten keys.
    EXPECT_THAT(std::vector<std::string>(written.begin() + 10, written.end()),
                ::testing::ElementsAre("Other Browsers/Google Chrome=1", "Other Browsers/Microsoft Edge=0",
                                       "Other Browsers/Brave=1", "Other Browsers/Vivaldi=0"));
}

TEST_F(SettingsTest, AKeptSiteIsAKeyOfASiteNameValuedOneAndOnlyAFlippedSitesKeyIsWritten)
{
    // Each key, its value, whether it keeps its site, and its value once bank.org and shop.net are flipped.
    const std::tuple<const char*, const char*, bool, const char*> cases[] = {
        {"example.com", "1", true, "1"}, {"Bank.ORG", "1", true, "<missing>"}, {"mail.net", "0", false, "0"},
        {"shop.net", "yes", false, "1"}, {"co.uk", "1", false, "1"},       {"a_b.com", "1", false, "1"},
        {"quoted.org", "\"1\"", true, "1"},
    };
    std::string text = "[Keep Sites]\n";
    for (const auto& [key, value, kept, after] : cases)
        text += std::string(key) + "=" + value + "\n";
    fakes.profile.loadText(ini, text);
    TForm1& form = start();
    std::set<std::string, std::less<>> expected;
    for (const auto& [key, value, kept, after] : cases)
        if (kept)
            expected.insert(platform::asciiLowered(key));
    EXPECT_EQ(form.KeptSites.Kept(), expected);

    fakes.profile.calls.clear();
    form.SaveSettings();
    for (const char* site : {"bank.org", "shop.net"}) {
        form.KeptSites.Flip(site);
        form.SaveKeptSite(site);
    }
    for (const auto& [key, value, kept, after] : cases)
        EXPECT_EQ(stored("Keep Sites", key), after) << key;
    EXPECT_EQ(fakes.profile.callsOf("writeString").size(), 10u + 1u) << "the settings' ten keys, and shop.net";
    fakes.profile.faults.failNext("removeKey");
    form.KeptSites.Flip("example.com");
    EXPECT_THROW(form.SaveKeptSite("example.com"), Exception);
}

TEST_F(SettingsTest, AMunchSiteDataPolicyRulesTheRowGreyedAndTheUsersOwnStaysStored)
{
    store("Settings", "SiteData", "1");
    const std::vector<std::uint8_t> off{0, 0, 0, 0};
    fakes.registry.setValue(platform::RegRoot::LocalMachine, nombletPolicyKey, munchSiteDataPolicy, platform::regDword, off);
    TForm1& form = start();
    form.ThreadedTimer1Timer(nullptr); // the first tick reads the policies
    EXPECT_FALSE(form.MunchSiteData1->Checked);
    EXPECT_FALSE(form.MunchSiteData1->Enabled);
    form.SaveSettings();
    EXPECT_EQ(stored("Settings", "SiteData"), "1");

    // The policy goes while the program runs: at the next tick the user's choice rules again.
    fakes.registry.setValue(platform::RegRoot::LocalMachine, nombletPolicyKey, munchSiteDataPolicy, platform::regSz, {});
    form.ThreadedTimer1Timer(nullptr);
    EXPECT_TRUE(form.MunchSiteData1->Checked);
    EXPECT_TRUE(form.MunchSiteData1->Enabled);
}
