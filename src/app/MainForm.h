// The main window: the about window, and the owner of every component.
#pragma once

#include "app/AppState.h"
#include "app/KeepSites.h"
#include "app/SoundPacer.h"
#include "app/SystemFolders.h"
#include "browserdata/BrowserStores.h"
#include "browserdata/FileFinder.h"
#include "browserdata/UrlCache.h"
#include "platform/Platform.h"
#include "shell/AutoStart.h"
#include "shell/ThreadedTimer.h"
#include "shell/TrayIcon.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Label.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"
#include "widgets/FolderDialog.h"
#include "widgets/GradientLabel.h"
#include "widgets/LinkLabel.h"
#include "widgets/WaveSound.h"

#include <functional>
#include <map>
#include <memory>

class MunchSounds;

class TForm1 : public TForm {
public:
    TForm1(TApplication& application, const platform::Platform& platform);
    ~TForm1() override;

    const platform::Platform& Platform() const { return platform_; }
    TAppState State;

    // Components, owned by the form and created by its layout.
    TGradientLabel* GradientLabel1 = nullptr; // the name and version
    TLinkLabel* LinkLabel1 = nullptr;         // the author's mail address
    TLinkLabel* LinkLabel2 = nullptr;         // the maker's web address
    TLabel* Label1 = nullptr;
    TFolderDialog* FolderDialog1 = nullptr;
    TWave* Wave1 = nullptr; // the burp, at every fifth cookie
    TWave* Wave2 = nullptr; // the crunch, at every cookie
    TThreadedTimer* ThreadedTimer1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TMenuItem* PathtoCookietxt1 = nullptr;
    TMenuItem* SoundsOn1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    TMenuItem* Cookies1 = nullptr;
    TMenuItem* N2 = nullptr;
    TMenuItem* N3 = nullptr;
    TMenuItem* Active1 = nullptr;
    TMenuItem* PathtoCookieDirIExplorer1 = nullptr;
    TMenuItem* N4 = nullptr;
    TMenuItem* FallowmereHomePage1 = nullptr;
    TMenuItem* N5 = nullptr;
    TMenuItem* IP1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr; // the cookie files
    TTrayIcon* TrayIcon1 = nullptr;
    TImageList* ImageList1 = nullptr;
    TAutoStart* AutoStart1 = nullptr;
    TUrlCache* UrlCache1 = nullptr;
    TFileFinder* FileFinder1 = nullptr;
    TMenuItem* LoadatStartup1 = nullptr;
    TMenuItem* PathtoCookiedatICQ1 = nullptr;
    TMenuItem* DeleteICQCookies1 = nullptr;
    TMenuItem* PathtoCookie4DatOpera1 = nullptr;
    TMenuItem* ClearCookieCacheShortcuts1 = nullptr;
    TMenuItem* DeleteIECache1 = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* DeleteIEHistory1 = nullptr;
    TTimer* Timer1 = nullptr;
    TMenuItem* ModifySounds1 = nullptr;
    TMenuItem* CrunchSound1 = nullptr;
    TMenuItem* BurpSound1 = nullptr;
    TOpenDialog* OpenDialog2 = nullptr; // the wave files
    TMenuItem* RestoreDefault1 = nullptr;
    TMenuItem* OtherBrowsers1 = nullptr;
    // One check row per browser family, in the families' order, shown when the
    // family is found; checked means munched.
    std::vector<TMenuItem*> BrowserRows;
    TMenuItem* NoneFound1 = nullptr; // shown, greyed, when no family is found
    TMenuItem* KeepSites1 = nullptr;
    // The kept sites' rows, checked, then the line, then the recent sites'
    // rows, rebuilt as the menu opens; checked means kept. Rows are reused,
    // made only when more are needed.
    std::vector<TMenuItem*> KeepSiteRows;
    TMenuItem* KeepSitesLine1 = nullptr; // between kept and recent sites, when both are shown
    TMenuItem* NoneYet1 = nullptr;       // shown, greyed, when no site is kept or recent
    // The cleanup commands' sounds, at most about 20 a second.
    SoundPacer CleanupSounds;
    // The sites whose cookies stay, and the sites munched lately.
    TKeepSites KeptSites;

    // Event handlers, bound by the layout.
    void Timer1Timer(TObject* Sender);
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void ThreadedTimer1Timer(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void PathtoCookietxt1Click(TObject* Sender);
    void SoundsOn1Click(TObject* Sender);
    void Exit1Click(TObject* Sender);
    void Active1Click(TObject* Sender);
    void PathtoCookieDirIExplorer1Click(TObject* Sender);
    void FallowmereHomePage1Click(TObject* Sender);
    void LoadatStartup1Click(TObject* Sender);
    void PathtoCookiedatICQ1Click(TObject* Sender);
    void DeleteICQCookies1Click(TObject* Sender);
    void Cookies1Click(TObject* Sender);
    void PathtoCookie4DatOpera1Click(TObject* Sender);
    void PopupMenu1Popup(TObject* Sender);
    void IP1Click(TObject* Sender);
    void CrunchSound1Click(TObject* Sender);
    void BurpSound1Click(TObject* Sender);
    void RestoreDefault1Click(TObject* Sender);
    void ClearCookieCacheShortcuts1Click(TObject* Sender);
    void DeleteIEHistory1Click(TObject* Sender);
    void DeleteIECache1Click(TObject* Sender);
    void BrowserRowClick(TObject* Sender);
    void KeepSiteRowClick(TObject* Sender);

    // Deletes the cookie file a store path names; a cookie really deleted is
    // counted and heard, and the cycle animates the icon when it ends. True
    // when it was deleted.
    bool MunchFile(const std::string& path);

    // The settings file: read once at start, written whole.
    void LoadSettings();
    void SaveSettings();
    // Writes one site's key of the kept sites as the site now stands: "1"
    // when kept, none when not; the other keys stay as they are.
    void SaveKeptSite(const std::string& site);

    // Looks for the browser families and their stores anew and shows the found
    // ones in the menu; the munch cycle then takes those stores.
    void FindOtherBrowsers();
    // Lists the kept and the recent sites in the Keep Sites rows.
    void ShowKeptSites();
    // The families and stores found last; a cycle keeps the list it took.
    std::shared_ptr<const std::vector<TFoundBrowser>> OtherBrowsers() const { return otherBrowsers_; }

private:
    // Lets the user pick a cookie file for one store; saves either way.
    void chooseCookieFile(const char* defaultName, const char* title, std::string& path);
    // Lets the user pick a wave file for one sound; loads, previews and saves it when it exists.
    void chooseSound(std::string& fileName, TWave& wave);
    // Puts a user's wave file into a sound, when the file exists (true then); the
    // sound keeps what it had when the file cannot be read, and the error goes on.
    bool loadUserSound(TWave& wave, const std::string& fileName);
    // A blank cookie folder (blanks and control characters only) stands for
    // the shell's cookie folder, or the Windows folder's "cookies" without one.
    void defaultCookieFolder();
    // The count in the menu, at each cookie.
    void showMunchedCount();
    // The menu's count line in the tray icon's tip: each change is a request
    // to the shell, so it follows once a cycle, not at each cookie.
    void showCountInTip();
    // Counts and sounds a cookie when it was deleted; gives back whether it was.
    bool counted(bool deleted);
    // What the cycles saw of one browser's store. A store absent at two looks
    // whose folder has not changed since is not asked for again: its folder
    // changes when an entry is made, removed or renamed in it.
    struct StoreWatch {
        bool toList = true;   // search it whole: newly found, or a companion was left
        bool present = false; // something of its name was there at the last look
        std::optional<std::uint64_t> folderTime; // its folder's, at the last look
        bool settled = false; // and at the look before: a coarse clock cannot hide a change
        // Read last with nothing to delete in it (no rows, or only kept ones): it is
        // read again once its folder or its file changed, or the kept sites did.
        bool spared = false;
        std::optional<std::uint64_t> sparedFolderTime, sparedStoreTime;
    };
    // Deletes a browser's store, and then its companions, or its companions
    // alone when an earlier munch left them; or, when the store holds rows of
    // a kept site, deletes the other rows in it. True when cookies were munched.
    // folderTime is the store's folder's time, taken before this look;
    // goOn lets pending messages run and says whether the cycle goes on.
    bool munchStore(const TCookieStore& store, platform::CookieTable table, std::optional<std::uint64_t> folderTime,
                    StoreWatch& watch, const std::function<bool()>& goOn);
    // What the database munch of a store decided.
    struct DatabaseMunch {
        enum { leave, spared, whole, rowsDeleted } verdict;
        std::uint64_t count = 0; // cookies: to count once the store is gone whole, or deleted and counted
        std::vector<platform::CookieHostRows> hosts = {}; // and their hosts, to note as munched sites
    };
    // Reads a store as its browser's cookie database: busy, or nothing to
    // delete, leaves it; no cookie database, or no kept site among its rows,
    // lets it go whole; otherwise the rows of sites not kept are deleted (in
    // slices, with messages between them), counted and noted as munched sites.
    DatabaseMunch munchDatabase(const std::string& path, platform::CookieTable table,
                                const std::function<bool()>& goOn);
    // Counts and sounds a database's cookies that are gone, as that many munched
    // files would sound, and notes their hosts among the sites munched lately.
    void cookiesGone(const DatabaseMunch& munch);
    // Deletes one file of the cookie folder, as the listing gives it, unless a
    // site is kept and the file may hold its cookie; true when munched.
    bool munchCookie(const std::string& cookieDir, const platform::FindEntry& entry);
    // Deletes the cache entries of one search pattern, with the crunch.
    void sweepUrlCache(TSearchPattern pattern);
    // Deletes every file, then removes every emptied folder, below the cache folder.
    void clearCacheFolder();

    const platform::Platform& platform_;
    // What the cookie folder may never be.
    SystemFolderGuard systemFolders_{platform_.folders, platform_.fileSystem};
    std::unique_ptr<MunchSounds> munchSounds_;
    std::shared_ptr<const std::vector<TFoundBrowser>> otherBrowsers_ =
        std::make_shared<const std::vector<TFoundBrowser>>();
    // What the cycles saw of each store of that list, by browser and store.
    std::shared_ptr<const std::vector<TFoundBrowser>> listedBrowsers_;
    // Cookie files spared for what they hold, by path and size, while the kept
    // sites stay as they were: not read again at every tick.
    std::map<std::string, std::uint32_t> sparedCookies_;
    std::uint64_t sparedForChanges_ = 0;
    // Cookie files whose hosts a cycle may still read while no site is kept.
    std::size_t cookieHostReads_ = 0;
    std::vector<std::vector<StoreWatch>> storeWatches_;
    // The kept sites the stores spared last were judged by.
    std::set<std::string, std::less<>> sparedWith_;
};

// The one main window, while it exists.
extern TForm1* Form1;

// The program's start as its entry runs it: the title, then the main window.
// An error that leaves the main window unmade (no thread, timer or window to
// be had) is shown in the standard error box and gives null: the program ends.
TForm1* StartNomblet(TApplication& application, const platform::Platform& platform);
