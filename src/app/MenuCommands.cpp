// The tray menu's commands. Most clear the menu gate as their last step, so
// munching resumes at the next tick; a failed save leaves the gate to time out.
#include "app/Addresses.h"
#include "munch/FileExists.h"
#include "app/MainForm.h"
#include "app/OpenDocument.h"
#include "platform/PathText.h"
#include "toolkit/Application.h"

#include <map>

namespace {

// One IPv4 address of this machine (the last one its host entry lists), or empty.
std::string GetLocalIP(platform::INetwork& network)
{
    const std::vector<std::string> addresses = network.machineAddresses();
    return addresses.empty() ? std::string() : addresses.back();
}

} // namespace

void TForm1::PopupMenu1Popup(TObject*)
{
    // The address is seen only in the open menu: looked up as it opens, it is
    // as fresh as a cycle's, and an idle tick asks the resolver nothing.
    IP1->Caption = "Internet IP: " + GetLocalIP(platform_.network);
    State.MenuOpen = true;
    // A browser installed since the last look gets its row, and its stores are munched.
    FindOtherBrowsers();
    // A policy reading this starts comes in later: the menu never waits for it.
    keptSiteSources_.Look();
    ShowKeptSites();
}

void TForm1::ShowKeptSites()
{
    // A site as the user wrote it, else in the letters it was registered in.
    auto caption = [this](const std::string& site) {
        const std::string_view spelling = KeptSites.Spelling(site);
        return spelling.empty() ? CaptionOfSite(platform_.codePage, site) : std::string(spelling);
    };
    // The user's sites and the sources' in one list, in alphabetical order as
    // shown, letter case aside; a source's row says why it is kept, and only
    // the source can let it go.
    struct KeptRow {
        std::string caption;
        bool byUser;
    };
    std::multimap<std::string, KeptRow, std::less<>> kept;
    for (const std::string& site : KeptSites.Kept()) {
        const std::string shownCaption = caption(site);
        kept.emplace(platform::asciiLowered(shownCaption), KeptRow{shownCaption, true});
    }
    for (const auto& [site, source] : KeptSites.KeptBySources()) {
        const std::string shownSite = CaptionOfSite(platform_.codePage, site);
        kept.emplace(platform::asciiLowered(shownSite), KeptRow{shownSite + " (" + source + ")", false});
    }
    const std::vector<std::string> recent = KeptSites.Recent();
    std::size_t used = 0;
    // Rows are put in order by adding each again at the end.
    auto row = [&](const std::string& shownCaption, bool checked, bool enabled) {
        if (used == KeepSiteRows.size()) {
            TMenuItem& made = Create<TMenuItem>();
            made.SetName("KeepSite" + std::to_string(used + 1));
            made.OnClick = [this](TObject* sender) { KeepSiteRowClick(sender); };
            KeepSiteRows.push_back(&made);
        }
        TMenuItem& shown = *KeepSiteRows[used++];
        shown.Caption = shownCaption;
        shown.Checked = checked;
        shown.Enabled = enabled;
        shown.Visible = true;
        KeepSites1->Add(shown);
    };
    for (const auto& [order, keptRow] : kept)
        row(keptRow.caption, true, keptRow.byUser);
    KeepSites1->Add(*KeepSitesLine1);
    KeepSitesLine1->Visible = used != 0 && !recent.empty();
    for (const std::string& site : recent)
        row(caption(site), false, true);
    for (std::size_t unused = used; unused < KeepSiteRows.size(); ++unused)
        KeepSiteRows[unused]->Visible = false;
    NoneYet1->Visible = used == 0;
}

void TForm1::KeepSiteRowClick(TObject* Sender)
{
    auto* row = dynamic_cast<TMenuItem*>(Sender);
    if (!row)
        return;
    // The row's caption names the site it stands for, and is its key once ticked.
    const std::string site = SiteOfSpelling(platform_.codePage, row->Caption);
    // A store's munch under way with the old list never commits after this.
    munchCycle_.KeptSitesChanging();
    row->Checked = KeptSites.Flip(site, row->Caption);
    // A failed save leaves the gate to time out; the site stays as flipped for this run.
    SaveKeptSite(site);
    State.MenuOpen = false;
}

void TForm1::FindOtherBrowsers()
{
    // The same stores found again are the same list: a munch under way goes on.
    // A profile in a folder the program must never empty is no profile.
    std::vector<TFoundBrowser> found =
        FindBrowsers(platform_.fileSystem, platform_.folders, platform_.codePage,
                     [&](const std::string& folder) { return systemFolders_.Refuses(folder); });
    if (found != *otherBrowsers_)
        otherBrowsers_ = std::make_shared<const std::vector<TFoundBrowser>>(std::move(found));
    for (TMenuItem* row : BrowserRows)
        row->Visible = false;
    for (const TFoundBrowser& browser : *otherBrowsers_)
        BrowserRows.at(browser.Family)->Visible = true;
    NoneFound1->Visible = otherBrowsers_->empty();
    // Their exceptions files are looked at by the next tick (read on the store
    // worker, which takes its work from ticks); the sites come with OnChange.
    exceptionsDue_ = true;
}

void TForm1::BrowserRowClick(TObject* Sender)
{
    if (auto* row = dynamic_cast<TMenuItem*>(Sender))
        row->Checked = !row->Checked;
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::chooseCookieFile(const char* defaultName, const char* title, std::string& path)
{
    OpenDialog1->FileName = defaultName;
    OpenDialog1->Title = title;
    OpenDialog1->InitialDir = platform::splitPath(path).folder;
    if (OpenDialog1->Execute())
        path = OpenDialog1->FileName;
    SaveSettings();
}

void TForm1::PathtoCookietxt1Click(TObject*)
{
    chooseCookieFile("cookies.txt", "Search for Netscape Cookie File (cookies.txt)", State.CookieTxtFile);
    State.MenuOpen = false;
}

void TForm1::PathtoCookie4DatOpera1Click(TObject*)
{
    chooseCookieFile("cookies4.dat", "Search for Opera Cookie File (cookies#.dat)", State.OperaCookieFile);
    State.MenuOpen = false;
}

void TForm1::PathtoCookiedatICQ1Click(TObject*)
{
    // Leaves the gate to time out.
    chooseCookieFile("cookies.dat", "Search for ICQ Cookie File (cookies.dat)", State.ICQCookieFile);
}

void TForm1::PathtoCookieDirIExplorer1Click(TObject*)
{
    FolderDialog1->Title = "Search for IE Cookie Folder";
    FolderDialog1->SetDirectory(State.IECookieDir);
    if (FolderDialog1->Execute()) {
        const std::string chosen = FolderDialog1->Directory();
        // Judged where it really is; one that cannot be opened, as it is
        // spelt (the cycle judges it again once it can be opened).
        const std::string where = platform_.fileSystem.finalPath(chosen);
        if (!systemFolders_.Refuses(where.empty() ? chosen : where))
            State.IECookieDir = chosen;
        else
            platform_.ui.messageBox("\"" + chosen +
                                        "\" holds files of Windows or of your own, not just cookies. Nomblet "
                                        "will not munch it: please choose the folder of Internet Explorer's cookies.",
                                    Application().Title(), platform::BoxIcon::Information);
    }
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::chooseSound(std::string& fileName, TWave& wave)
{
    if (OpenDialog2->Execute()) {
        fileName = OpenDialog2->FileName;
        bool loaded = false;
        // A file that cannot be read is reported; the sound in use stays and the gate still opens.
        Application().Guard([&] { loaded = loadUserSound(wave, fileName); });
        if (loaded) {
            wave.Play(); // a preview, whatever the Sounds On mark says
            SaveSettings();
        }
    }
    State.MenuOpen = false;
}

void TForm1::CrunchSound1Click(TObject*)
{
    chooseSound(State.CrunchWaveFile, *Wave2);
}

void TForm1::BurpSound1Click(TObject*)
{
    chooseSound(State.BurpWaveFile, *Wave1);
}

void TForm1::RestoreDefault1Click(TObject*)
{
    // Two names of no file: the built-in sounds come back at the next start.
    State.CrunchWaveFile = "default";
    State.BurpWaveFile = "Default";
    SaveSettings();
    platform_.ui.messageBox("Default sounds will be restored next time Nomblet is re-strarted.", "Information",
                            platform::BoxIcon::Information);
    State.MenuOpen = false;
}

void TForm1::FallowmereHomePage1Click(TObject*)
{
    OpenDocument(platform_.shell, platform_.codePage, HomePageAddress);
    State.MenuOpen = false;
}

void TForm1::IP1Click(TObject*)
{
    State.MenuOpen = false;
}

void TForm1::DeleteICQCookies1Click(TObject*)
{
    DeleteICQCookies1->Checked = !DeleteICQCookies1->Checked;
    State.MenuOpen = false;
}

void TForm1::Active1Click(TObject*)
{
    Active1->Checked = !Active1->Checked;
    State.MunchActive = Active1->Checked;
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::SoundsOn1Click(TObject*)
{
    SoundsOn1->Checked = !SoundsOn1->Checked;
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::MunchSiteData1Click(TObject*)
{
    MunchSiteData1->Checked = !MunchSiteData1->Checked;
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::LoadatStartup1Click(TObject*)
{
    LoadatStartup1->Checked = !LoadatStartup1->Checked;
    AutoStart1->SetAutoRun(LoadatStartup1->Checked);
    // A registration that could not be written is not shown (or stored) as made.
    LoadatStartup1->Checked = AutoStart1->AutoRun();
    SaveSettings();
    State.MenuOpen = false;
}

void TForm1::Cookies1Click(TObject*)
{
    // Leaves the gate to time out.
    State.MunchedCount = 0;
    showMunchedCount();
    showCountInTip();
}

void TForm1::Exit1Click(TObject*)
{
    Application().Terminate();
}
