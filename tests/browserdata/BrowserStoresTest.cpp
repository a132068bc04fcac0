// The browser families against the in-memory file system: which are found,
// which profiles each has (profiles.ini, broken or oversized, and the folders),
// which stores follow, and what one look at a store shows.
#include "browserdata/BrowserStores.h"
#include "support/FakeCodePage.h"
#include "platform/PathText.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFolders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

using platform::ShellFolder;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace {

const std::string roaming = "C:\\users\\u\\AppData\\Roaming";
const std::string local = "C:\\users\\u\\AppData\\Local";

struct Machine {
    Machine()
    {
        host.shellFolders[ShellFolder::RoamingAppData] = roaming;
        host.shellFolders[ShellFolder::LocalAppData] = local;
        files.addFolder(roaming);
        files.addFolder(local);
    }
    // The families found, by caption, each with its stores as "folder|name".
    std::map<std::string, std::vector<std::string>> found()
    {
        std::map<std::string, std::vector<std::string>> byCaption;
        for (const TFoundBrowser& browser : FindBrowsers(files, host, codePage, refusing)) {
            std::vector<std::string>& stores = byCaption[BrowserFamilies()[browser.Family].Caption];
            for (const TCookieStore& store : browser.Stores)
                stores.push_back(store.Folder + "|" + store.Name);
        }
        return byCaption;
    }
    FakeFileSystem files;
    FakeFolders host;
    FakeCodePage codePage;
    // What the program must never empty: here a few folders by name, any letter case.
    std::function<bool(const std::string&)> refusing = [](const std::string& folder) {
        const std::string lowered = platform::asciiLowered(folder);
        return lowered == "c:\\users\\u" || lowered == "c:\\windows\\system32" || lowered.ends_with(":\\");
    };
};

std::string chromiumStores(const std::string& profile)
{
    return profile + "\\Network|Cookies," + profile + "|Cookies," + profile + "|Extension Cookies";
}

std::vector<std::string> split(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return parts;
}

} // namespace

TEST(BrowserStores, ProfilesIniNamesEachProfileSectionsFolder)
{
    const std::string root = "C:\\r\\Mozilla\\Firefox";
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"relative with slashes", "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/abc.default\r\n",
              {root + "\\Profiles\\abc.default"}},
             {"relative with backslashes", "[Profile0]\nPath=Profiles\\x\\\nIsRelative=1\n", {root + "\\Profiles\\x"}},
             {"absolute", "[Profile1]\nIsRelative=0\nPath=D:\\Elsewhere\\p\n", {"D:\\Elsewhere\\p"}},
             {"no IsRelative, relative path", "[Profile0]\nPath=Profiles/y\n", {root + "\\Profiles\\y"}},
             {"no IsRelative, absolute path", "[Profile0]\nPath=E:/p\n", {"E:\\p"}},
             {"several, in order",
              "[General]\nStartWithLastProfile=1\n[Profile1]\nPath=Profiles/b\n[Install308046B0AF4A39CB]\n"
              "Default=Profiles/z\nPath=Profiles/notaprofile\n[Profile0]\nPath=Profiles/a\n",
              {root + "\\Profiles\\b", root + "\\Profiles\\a"}},
             {"sections and keys in any case, blanks and comments", "\xEF\xBB\xBF; made by hand\n [profile3] \n"
                                                                     "  path = Profiles/c  \n isrelative = 1\n",
              {root + "\\Profiles\\c"}},
             {"not a profile section", "[ProfileX]\nPath=p\n[Profile]\nPath=q\n[Profile1a]\nPath=r\n", {}},
             {"no path, empty path", "[Profile0]\nIsRelative=1\n[Profile1]\nPath=\n", {}},
             {"broken", "[Profile0\nPath=Profiles/lost\n=\n[Profile1]\ngarbage\x01\x02\nPath=Profiles/kept",
              {root + "\\Profiles\\kept"}},
             {"empty", "", {}},
             {"dots taken away", "[Profile0]\nPath=Profiles/./x/../y//z\n", {root + "\\Profiles\\y\\z"}},
             {"climbing above the drive", "[Profile0]\nPath=../../../../../../x\n", {"C:\\x"}},
             {"to the drive's root", "[Profile0]\nPath=D:\\a\\..\n", {"D:\\"}},
             {"a share is not climbed out of", "[Profile0]\nPath=\\\\srv\\share\\..\\..\\p\n", {"\\\\srv\\share\\p"}},
             {"nor a long-prefixed share", "[Profile0]\nPath=\\\\?\\UNC\\srv\\s\\..\\..\\p\n", {"\\\\?\\UNC\\srv\\s\\p"}},
         }) {
        EXPECT_THAT(ProfilesIniPaths(c.text, root), ElementsAreArray(c.expected)) << c.name;
    }
}

TEST(BrowserStores, EachFamilyIsFoundUnderItsRootWithTheStoresOfItsKind)
{
    struct Case {
        std::string caption;
        std::string root; // as the family keeps it
        std::string profilesMade;
        std::string stores;
    };
    const std::string ff = roaming + "\\Mozilla\\Firefox";
    const std::string chrome = local + "\\Google\\Chrome\\User Data";
    const std::string opera = roaming + "\\Opera Software\\Opera Stable";
    for (const Case& c : std::initializer_list<Case>{
             {"Firefox", ff, "Profiles\\a.default,Profiles\\b.work",
              ff + "\\Profiles\\a.default|cookies.sqlite," + ff + "\\Profiles\\b.work|cookies.sqlite"},
             {"LibreWolf", roaming + "\\librewolf", "Profiles\\x", roaming + "\\librewolf\\Profiles\\x|cookies.sqlite"},
             {"Waterfox", roaming + "\\Waterfox", "", ""},
             {"Pale Moon", roaming + "\\Moonchild Productions\\Pale Moon", "Profiles\\p",
              roaming + "\\Moonchild Productions\\Pale Moon\\Profiles\\p|cookies.sqlite"},
             {"SeaMonkey", roaming + "\\Mozilla\\SeaMonkey", "Profiles\\s",
              roaming + "\\Mozilla\\SeaMonkey\\Profiles\\s|cookies.sqlite"},
             {"Google Chrome", chrome, "Default,Profile 1,Guest Profile",
              chromiumStores(chrome + "\\Default") + "," + chromiumStores(chrome + "\\Profile 1") + "," +
                  chromiumStores(chrome + "\\Guest Profile")},
             {"Microsoft Edge", local + "\\Microsoft\\Edge\\User Data", "Default",
              chromiumStores(local + "\\Microsoft\\Edge\\User Data\\Default")},
             {"Brave", local + "\\BraveSoftware\\Brave-Browser\\User Data", "Default",
              chromiumStores(local + "\\BraveSoftware\\Brave-Browser\\User Data\\Default")},
             {"Vivaldi", local + "\\Vivaldi\\User Data", "Default", chromiumStores(local + "\\Vivaldi\\User Data\\Default")},
             {"Chromium", local + "\\Chromium\\User Data", "Default",
              chromiumStores(local + "\\Chromium\\User Data\\Default")},
             {"Yandex Browser", local + "\\Yandex\\YandexBrowser\\User Data", "Default",
              chromiumStores(local + "\\Yandex\\YandexBrowser\\User Data\\Default")},
             {"Opera", opera, "Network", chromiumStores(opera)},
             {"Opera GX", roaming + "\\Opera Software\\Opera GX Stable", "",
              chromiumStores(roaming + "\\Opera Software\\Opera GX Stable")},
         }) {
        Machine m;
        m.files.addFolder(c.root);
        for (const std::string& profile : split(c.profilesMade))
            m.files.addFile(c.root + "\\" + profile + "\\Preferences", "{}");
        m.files.addFile(c.root + "\\Local State", "{}"); // a file is no profile
        const auto found = m.found();
        ASSERT_EQ(found.size(), 1u) << c.caption;
        EXPECT_EQ(found.begin()->first, c.caption);
        EXPECT_THAT(found.begin()->second, ElementsAreArray(split(c.stores))) << c.caption;
    }
}

TEST(BrowserStores, FamiliesComeInTheTablesOrderAndOnlyWhereTheShellNamesTheirRoot)
{
    struct Case {
        const char* name;
        bool roamingNamed;
        bool localNamed;
        bool shellFails;
        std::vector<std::string> expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"both", true, true, false, {"Firefox", "Microsoft Edge", "Brave", "Opera"}},
             {"no roaming folder", false, true, false, {"Microsoft Edge", "Brave"}},
             {"no local folder", true, false, false, {"Firefox", "Opera"}},
             {"the shell fails", true, true, true, {}},
         }) {
        Machine m;
        // Made in another order than the table's.
        m.files.addFolder(roaming + "\\Opera Software\\Opera Stable");
        m.files.addFolder(local + "\\BraveSoftware\\Brave-Browser\\User Data");
        m.files.addFolder(roaming + "\\Mozilla\\Firefox");
        m.files.addFolder(local + "\\Microsoft\\Edge\\User Data");
        m.files.addFile(local + "\\Google\\Chrome\\User Data", "a file, not the folder");
        if (!c.roamingNamed)
            m.host.shellFolders.erase(ShellFolder::RoamingAppData);
        if (!c.localNamed)
            m.host.shellFolders.erase(ShellFolder::LocalAppData);
        if (c.shellFails)
            m.host.faults.failFrom("shellFolder");
        std::vector<std::string> captions;
        for (const TFoundBrowser& browser : FindBrowsers(m.files, m.host, m.codePage, m.refusing))
            captions.push_back(BrowserFamilies()[browser.Family].Caption);
        EXPECT_THAT(captions, ElementsAreArray(c.expected)) << c.name;
        EXPECT_LE(m.host.callsOf("shellFolder").size(), 2u) << "each root asked for once";
    }
}

TEST(BrowserStores, MozillaProfilesComeFromProfilesIniAndTheProfilesFolderEachOnce)
{
    const std::string ff = roaming + "\\Mozilla\\Firefox";
    const std::string section = "[Profile0]\nIsRelative=1\nPath=Profiles/listed\n";
    struct Case {
        const char* name;
        std::string ini; // "<none>": no file
        bool readFails;
        std::vector<std::string> profiles;
    };
    const std::string beyondLimit(ProfilesIniLimit, ';');
    const char brokenText[] = "\0\xff[Prof\0ile0]\n\x80Path";
    const std::string broken(brokenText, sizeof brokenText - 1);
    for (const Case& c : std::initializer_list<Case>{
             {"ini and folder", section + "[Profile1]\nIsRelative=0\nPath=D:\\moz\\far\n",
              false, {ff + "\\Profiles\\listed", "D:\\moz\\far", ff + "\\Profiles\\other"}},
             {"no ini", "<none>", false, {ff + "\\Profiles\\LISTED", ff + "\\Profiles\\other"}},
             {"unreadable ini", section, true, {ff + "\\Profiles\\LISTED", ff + "\\Profiles\\other"}},
             {"broken ini", broken, false,
              {ff + "\\Profiles\\LISTED", ff + "\\Profiles\\other"}},
             // Only the first 64 KiB are read: a section beyond them is not seen.
             {"oversized ini", section + beyondLimit + "\n[Profile1]\nPath=Profiles/late\n", false,
              {ff + "\\Profiles\\listed", ff + "\\Profiles\\other"}},
         }) {
        Machine m;
        m.files.addFolder(ff + "\\Profiles\\LISTED");
        m.files.addFolder(ff + "\\Profiles\\other");
        m.files.addFile(ff + "\\Profiles\\stray.txt");
        m.files.addLink(ff + "\\Profiles\\linked", "D:\\elsewhere", platform::faDirectory); // not followed
        if (c.ini != "<none>")
            m.files.addFile(ff + "\\profiles.ini", c.ini);
        if (c.readFails)
            m.files.faults.failFrom("readFileStart");
        std::vector<std::string> expected;
        for (const std::string& profile : c.profiles)
            expected.push_back(profile + "|cookies.sqlite");
        EXPECT_THAT(m.found()["Firefox"], ElementsAreArray(expected)) << c.name;
        if (c.ini != "<none>") {
            EXPECT_EQ(m.files.callsOf("readFileStart").at(0).args.at(1), std::to_string(64 * 1024)) << c.name;
        }
    }
}

TEST(BrowserStores, AProfileIsDroppedWhereATickMustNotLook)
{
    struct Case {
        const char* name;
        std::string roamingRoot;
        std::string path; // Path= of the one profile, relative to the family's folder when it starts with ".."
        std::string kept; // the profile's folder, or "" when dropped
    };
    const std::string share = "N:\\AppData\\Roaming";
    for (const Case& c : std::initializer_list<Case>{
             {"on the root's drive", roaming, roaming + "\\p", roaming + "\\p"},
             {"another local disk", roaming, "D:\\p", "D:\\p"},
             {"climbing into the user's folder", roaming, "..\\..\\..\\..", ""},
             {"a system folder", roaming, "C:\\Windows\\System32", ""},
             {"a drive's root", roaming, "D:\\", ""},
             {"a network path", roaming, "\\\\server\\share\\p", ""},
             {"a long-prefixed network path", roaming, "\\\\?\\UNC\\server\\share\\p", ""},
             {"a network drive", roaming, "N:\\p", ""},
             {"a removable drive", roaming, "E:\\p", ""},
             {"no such drive", roaming, "Q:\\p", ""},
             {"application data on a share: another share", share, "\\\\server\\share\\p", "\\\\server\\share\\p"},
             {"application data on a share: its own drive", share, "N:\\Profiles\\p", "N:\\Profiles\\p"},
             {"application data on a share: still no system folder", share, "C:\\Windows\\System32", ""},
         }) {
        Machine m;
        m.host.drives = {{'E', platform::DriveKind::Removable},
                         {'N', platform::DriveKind::Network},
                         {'Q', platform::DriveKind::Unknown}};
        m.host.shellFolders[ShellFolder::RoamingAppData] = c.roamingRoot;
        const std::string ff = c.roamingRoot + "\\Mozilla\\Firefox";
        m.files.addFolder(ff);
        m.files.addFile(ff + "\\profiles.ini", "[Profile0]\nPath=" + c.path + "\n");
        m.files.calls.clear();
        const auto found = m.found();
        EXPECT_THAT(found.at("Firefox"), ElementsAreArray(c.kept.empty() ? std::vector<std::string>{}
                                                                          : std::vector{c.kept + "|cookies.sqlite"}))
            << c.name;
        // A profile on a drive that may not answer is not even asked where it is.
        if (c.kept.empty() && (c.path.find(":\\p") != std::string::npos || c.path.ends_with("share\\p"))) {
            for (const Call& call : m.files.calls)
                for (const std::string& arg : call.args)
                    EXPECT_EQ(arg.find(c.path), std::string::npos) << c.name << ": " << call.operation << " " << arg;
        }
    }
}

TEST(BrowserStores, AChromiumFolderIsAProfileOnlyWithItsSettings)
{
    Machine m;
    const std::string chrome = local + "\\Google\\Chrome\\User Data";
    m.files.addFile(chrome + "\\Default\\Preferences", "{}");
    m.files.addFolder(chrome + "\\Crashpad\\reports");
    m.files.addFolder(chrome + "\\Cache\\Preferences"); // a folder of that name is no settings file
    EXPECT_THAT(m.found().at("Google Chrome"), ElementsAreArray(split(chromiumStores(chrome + "\\Default"))));
}

TEST(BrowserStores, OneLookShowsAStoreAndItsCompanions)
{
    const std::string folder = "C:\\p\\Default\\Network";
    struct Case {
        const char* name;
        std::map<std::string, std::uint32_t> entries; // name and attributes
        bool present;
        bool deletable;
        std::vector<std::string> companions;
    };
    const std::uint32_t file = platform::faArchive;
    for (const Case& c : std::initializer_list<Case>{
             {"absent", {}, false, false, {}},
             {"plain", {{"Cookies", file}}, true, true, {}},
             {"with companions", {{"Cookies", file}, {"Cookies-journal", file}, {"cookies-WAL", file}, {"Cookies-shm", file}},
              true, true, {"Cookies-journal", "Cookies-shm", "cookies-WAL"}},
             {"read-only", {{"Cookies", file | platform::faReadOnly}, {"Cookies-journal", file}}, true, false,
              {"Cookies-journal"}},
             {"a read-only companion keeps its store",
              {{"Cookies", file}, {"Cookies-wal", file | platform::faReadOnly}, {"Cookies-shm", file}}, true, false,
              {"Cookies-shm"}},
             {"a folder", {{"Cookies", platform::faDirectory}}, true, false, {}},
             {"a link", {{"Cookies", file | platform::faReparsePoint}}, true, false, {}},
             {"companions alone", {{"Cookies-wal", file}, {"Cookies-shm", file}}, false, false,
              {"Cookies-shm", "Cookies-wal"}},
             {"other names", {{"Cookies.bak", file}, {"Cookies-journal2", file}, {"Cookies-wal", platform::faDirectory},
                              {"Cookies-shm", file | platform::faReadOnly}, {"MyCookies", file}},
              false, false, {}},
         }) {
        FakeFileSystem files;
        files.addFolder(folder);
        files.addFile("C:\\p\\Default\\Cookies", "the old store above is another store");
        for (const auto& [name, attributes] : c.entries) {
            if (attributes & platform::faDirectory)
                files.addFolder(folder + "\\" + name);
            else
                files.addFile(folder + "\\" + name, "x", attributes);
        }
        const TStoreLook look = LookAtStore(files, {folder, "Cookies"});
        EXPECT_EQ(look.StorePresent, c.present) << c.name;
        EXPECT_EQ(look.StoreDeletable, c.deletable) << c.name;
        std::vector<std::string> companions = look.Companions;
        std::sort(companions.begin(), companions.end());
        EXPECT_THAT(companions, ElementsAreArray(c.companions)) << c.name;
        EXPECT_EQ(files.callsOf("findFiles").size(), 1u) << c.name;
        EXPECT_TRUE(files.callsOf("deleteFile").empty());
    }
}
