// The settings file "nomblet.ini" in the Windows directory, through the
// private-profile service.
#include "app/MainForm.h"

#include "toolkit/Error.h"

namespace {

const std::string settingsFile = "nomblet.ini"; // a bare name: the Windows directory
constexpr const char* otherBrowsersSection = "Other Browsers";
// One key per kept site, of value "1", in the code page as the user wrote it;
// a key of another value or of a name that is no site is not kept, and stays
// in the file as it stands.
constexpr const char* keepSitesSection = "Keep Sites";

const char* flag(bool checked)
{
    return checked ? "1" : "0";
}

} // namespace

void TForm1::LoadSettings()
{
    auto read = [this](const char* section, const char* key, const char* fallback) {
        return platform_.profile.readString(settingsFile, section, key, fallback, settingsValueBuffer);
    };
    State.CookieTxtFile = read("Cookie File", "Name", "");
    State.OperaCookieFile = read("Cookie File", "OName", "");
    State.IECookieDir = read("Cookie Dir", "Dir", "");
    State.ICQCookieFile = read("Cookie Dat", "ICQ", "");
    // Only exactly "1" sets a mark.
    DeleteICQCookies1->Checked = read("Settings", "MunchICQ", "1") == "1";
    SoundsOn1->Checked = read("Settings", "SoundsOn", "1") == "1";
    LoadatStartup1->Checked = read("Settings", "Autoload", "1") == "1";
    State.CrunchWaveFile = read("Settings", "CrunchWave", "default");
    State.BurpWaveFile = read("Settings", "BurpWave", "default");
    // Web applications keep their users' work there: only the user's choice lets it go.
    MunchSiteData1->Checked = read("Settings", "SiteData", "0") == "1";
    // A family without its key is munched.
    for (TMenuItem* row : BrowserRows)
        row->Checked = read(otherBrowsersSection, row->Caption.c_str(), "1") == "1";
    // Each site by the key that names it first.
    KeptSites.KeepNone();
    for (const std::string& key : platform_.profile.readKeyNames(settingsFile, keepSitesSection)) {
        const std::string site = SiteOfSpelling(platform_.codePage, key);
        if (!site.empty() && read(keepSitesSection, key.c_str(), "") == "1")
            KeptSites.Keep(site, key);
    }
}

void TForm1::SaveKeptSite(const std::string& site)
{
    if (site.empty())
        return; // names no site: no key of one is touched
    auto refused = [] { return Exception("Unable to write to " + settingsFile); };
    if (KeptSites.Kept().contains(site)) {
        const std::string_view spelling = KeptSites.Spelling(site);
        if (!platform_.profile.writeString(settingsFile, keepSitesSection,
                                           std::string(spelling.empty() ? site : spelling), "1"))
            throw refused();
        return;
    }
    // An unkept site's keys go, each spelling of it: the section lists what is
    // kept, and only that, however many sites were ever ticked.
    for (const std::string& key : platform_.profile.readKeyNames(settingsFile, keepSitesSection))
        if (SiteOfSpelling(platform_.codePage, key) == site &&
            !platform_.profile.removeKey(settingsFile, keepSitesSection, key))
            throw refused();
}

void TForm1::SaveSettings()
{
    // Stops at the first refused key: the keys after it are not written.
    auto write = [this](const char* section, const char* key, const std::string& value) {
        if (!platform_.profile.writeString(settingsFile, section, key, value))
            throw Exception("Unable to write to " + settingsFile);
    };
    write("Cookie File", "Name", State.CookieTxtFile);
    write("Cookie File", "OName", State.OperaCookieFile);
    write("Cookie Dir", "Dir", State.IECookieDir);
    write("Cookie Dat", "ICQ", State.ICQCookieFile);
    write("Settings", "MunchICQ", flag(DeleteICQCookies1->Checked));
    write("Settings", "SoundsOn", flag(SoundsOn1->Checked));
    write("Settings", "Autoload", flag(LoadatStartup1->Checked));
    write("Settings", "CrunchWave", State.CrunchWaveFile);
    write("Settings", "BurpWave", State.BurpWaveFile);
    // A row a policy rules shows the policy's value; the user's own stays stored.
    write("Settings", "SiteData", flag(MunchSiteData1->Enabled ? MunchSiteData1->Checked : State.MunchSiteDataChoice));
    // Only the families found here: the keys of others stay as they stand.
    for (const TFoundBrowser& browser : *otherBrowsers_) {
        const TMenuItem& row = *BrowserRows.at(browser.Family);
        write(otherBrowsersSection, row.Caption.c_str(), flag(row.Checked));
    }
}
