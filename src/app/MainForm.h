// The main window: the about window, and the owner of every component.
#pragma once

#include "app/AppState.h"
#include "sites/BrowserExceptions.h"
#include "sites/KeepSites.h"
#include "sites/KeptSiteSources.h"
#include "munch/MunchCycle.h"
#include "app/SoundPacer.h"
#include "munch/SystemFolders.h"
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
    TMenuItem* MunchSiteData1 = nullptr; // checked: the sites' other stored data goes with their cookies
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
    void MunchSiteData1Click(TObject* Sender);

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
    // The munch cycle the ticks run.
    TMunchCycle& MunchCycle() { return munchCycle_; }
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
    // The stores as the settings, the menu and the browsers found name them now.
    TMunchStores munchStores() const;
    // Counts, sounds and lists as munched sites what the cycle munched.
    void cookiesMunched(std::uint64_t count, const std::vector<std::string>& hosts);
    // Deletes the cache entries of one search pattern, with the crunch.
    void sweepUrlCache(TSearchPattern pattern);
    // Deletes every file, then removes every emptied folder, below the cache folder.
    void clearCacheFolder();
    // The Munch Site Data row as a policy rules it (checked its way, greyed),
    // else as the user chose.
    void showMunchSiteData();
    // The tick's munch cycle, unless munching is off, paused by the menu or under way.
    void munchTick();

    const platform::Platform& platform_;
    // What the cookie folder may never be.
    SystemFolderGuard systemFolders_{platform_.folders, platform_.fileSystem};
    std::unique_ptr<MunchSounds> munchSounds_;
    std::shared_ptr<const std::vector<TFoundBrowser>> otherBrowsers_ =
        std::make_shared<const std::vector<TFoundBrowser>>();
    TMunchCycle munchCycle_{platform_, KeptSites, systemFolders_};
    // The browsers' own cookie exceptions, read on the munch's store worker.
    TBrowserExceptions browserExceptions_{platform_.fileSystem, platform_.cookieDatabases, platform_.uiThread,
                                          [this](TStoreWorker::Work work) {
                                              return munchCycle_.StartStoreJob(std::move(work)) != nullptr;
                                          }};
    bool exceptionsDue_ = false; // the browsers found changed or were looked for again
    std::uint32_t exceptionsTick_ = 0;
    TKeptSiteSources keptSiteSources_{platform_.registry,
                                      platform_.uiThread,
                                      platform_.threads,
                                      KeptSites,
                                      [this] { return browserExceptions_.Sites(); },
                                      [this] { munchCycle_.KeptSitesChanging(); }};
};

// The one main window, while it exists.
extern TForm1* Form1;

// The program's start as its entry runs it: the title, then the main window.
// An error that leaves the main window unmade (no thread, timer or window to
// be had) is shown in the standard error box and gives null: the program ends.
TForm1* StartNomblet(TApplication& application, const platform::Platform& platform);
