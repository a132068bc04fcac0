// The main window: start-up and shutdown.
#include "app/MainForm.h"

#include <utility>

#include "munch/FileExists.h"
#include "app/MainLayout.h"
#include "app/MunchSounds.h"
#include "toolkit/Application.h"

#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

constexpr std::int32_t gateTicks = 9; // the tenth tick with the menu open reopens the gate
// The browsers' exceptions files are asked for their times this often (ticks): a
// few time queries every 10 s find an exception the user added in the browser.
constexpr std::uint32_t exceptionsTicks = 20;

// Blanks and control characters count as nothing.
bool isBlank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

} // namespace

TForm1::TForm1(TApplication& application, const platform::Platform& platform)
    : TForm(application, "TForm1"), platform_(platform)
{
    Form1 = this;
    // A layout that fails leaves no half-made window reachable.
    struct Published {
        bool made = false;
        ~Published()
        {
            if (!made)
                Form1 = nullptr;
        }
    } published;
    ReadMainLayout(*this);
    munchSounds_ = std::make_unique<MunchSounds>(platform.ui, *Wave2, *Wave1, *SoundsOn1);
    munchCycle_.OnMunched = [this](std::uint64_t count, const std::vector<std::string>& hosts) {
        cookiesMunched(count, hosts);
    };
    DoCreate();
    published.made = true;
}

TForm1* StartNomblet(TApplication& application, const platform::Platform& platform)
{
    application.SetTitle("Nomblet");
    try {
        return &application.CreateForm<TForm1>(platform);
    } catch (...) {
        application.HandleException(std::current_exception());
        return nullptr;
    }
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate(TObject*)
{
    // However a step below ends, munching starts: the program never runs on
    // without its timer.
    struct StartTicking {
        TThreadedTimer& timer;
        ~StartTicking() { timer.SetEnabled(true); }
    } startTicking{*ThreadedTimer1};

    // Centred on the primary screen by its outer size; a small screen gives
    // a negative position, which stands as computed.
    platform::Size screen = platform_.ui.screenSize();
    SetLeft(screen.width / 2 - Width() / 2);
    SetTop(screen.height / 2 - Height() / 2);

    State.MunchedCount = 0;
    showMunchedCount();
    showCountInTip();

    LoadSettings();
    // The policies are read from the first tick on, off this thread, so that
    // the menu answers meanwhile; no munch runs before they are in.
    keptSiteSources_.OnChange = [this] { showMunchSiteData(); };
    browserExceptions_.OnChange = [this](TBrowserExceptions&) { keptSiteSources_.Look(); };
    showMunchSiteData();
    // The mark shows what the registry holds, so that its first toggle does what it says.
    LoadatStartup1->Checked = AutoStart1->AutoRun();

    // Each stored sound goes back into the component its command loads it into.
    Application().Guard([this] { loadUserSound(*Wave2, State.CrunchWaveFile); });
    Application().Guard([this] { loadUserSound(*Wave1, State.BurpWaveFile); });

    defaultCookieFolder();
    FindOtherBrowsers();

    State.MunchActive = Active1->Checked;
    State.MunchBusy = false;
}

void TForm1::defaultCookieFolder()
{
    if (!isBlank(State.IECookieDir))
        return;
    // Where the shell keeps the user's cookies; Windows 95 without the newer shell names none.
    State.IECookieDir = platform_.folders.shellFolder(platform::ShellFolder::Cookies);
    if (State.IECookieDir.empty())
        State.IECookieDir = platform_.folders.windowsDirectory() + "\\cookies";
}

void TForm1::ThreadedTimer1Timer(TObject*)
{
    keptSiteSources_.Tick();
    // Before the munch, which waits for the first reading of each browser's exceptions.
    if (++exceptionsTick_ % exceptionsTicks == 0)
        exceptionsDue_ = true;
    if (std::exchange(exceptionsDue_, false))
        browserExceptions_.Refresh(*otherBrowsers_);
    munchTick();
}

void TForm1::munchTick()
{
    // Back to the first image; the icon shows the image of its index, so an
    // icon already there is not handed to the shell again at every tick.
    if (TrayIcon1->IconIndex() != 0)
        TrayIcon1->SetIconIndex(0);
    if (State.MenuOpen)
        ++State.MenuOpenTicks;
    if (State.MenuOpenTicks > gateTicks)
        State.MenuOpen = false;
    // Before the sources are in, the kept sites may miss a site one keeps.
    if (!State.MunchActive || State.MunchBusy || State.MenuOpen || !keptSiteSources_.PoliciesKnown() ||
        !browserExceptions_.ReadFor(*otherBrowsers_))
        return;

    State.MenuOpenTicks = 0;
    TrayIcon1->SetCycleIcons(false);
    State.MunchBusy = true;
    // Cleared however the cycle ends, so that an error never stops munching for good.
    struct BusyFlag {
        bool& busy;
        ~BusyFlag() { busy = false; }
    } busy{State.MunchBusy};

    // Commands and window timers may run here; what they change is what the rest uses.
    Application().ProcessMessages();

    defaultCookieFolder();
    const TMunchStores taken = munchStores();
    // What commands run between the cycle's rounds change is for the next
    // cycle: this one ends at once when munching is switched off or paused by
    // the menu, the program is ending, or a store has changed.
    const bool munched = munchCycle_.Run(taken, [&] {
        Application().ProcessMessages();
        return State.MunchActive && !State.MenuOpen && !Application().Terminated() && munchStores() == taken;
    });
    // The icon animates once the cycle is over, as it always has: during a
    // long munch it would only keep the shell busy.
    if (munched) {
        showCountInTip();
        TrayIcon1->SetCycleIcons(true);
    }
}

TMunchStores TForm1::munchStores() const
{
    std::vector<bool> munchBrowser;
    for (const TMenuItem* row : BrowserRows)
        munchBrowser.push_back(row->Checked);
    return {State.CookieTxtFile, State.OperaCookieFile, State.ICQCookieFile, DeleteICQCookies1->Checked,
            OtherBrowsers(),     std::move(munchBrowser), State.IECookieDir,    MunchSiteData1->Checked};
}

void TForm1::cookiesMunched(std::uint64_t count, const std::vector<std::string>& hosts)
{
    for (const std::string& host : hosts)
        KeptSites.Munched(host);
    State.MunchedCount = static_cast<std::uint16_t>(State.MunchedCount + count);
    showMunchedCount();
    munchSounds_->Munched(State.MunchedCount, count);
}

void TForm1::showMunchSiteData()
{
    if (MunchSiteData1->Enabled)
        State.MunchSiteDataChoice = MunchSiteData1->Checked;
    const std::optional<bool> ruled = keptSiteSources_.MunchSiteData();
    MunchSiteData1->Checked = ruled.value_or(State.MunchSiteDataChoice);
    MunchSiteData1->Enabled = !ruled;
}

void TForm1::showMunchedCount()
{
    Cookies1->Caption = "Munched = " + std::to_string(State.MunchedCount);
}

void TForm1::showCountInTip()
{
    // Pointing at the icon tells what the menu's count line tells.
    const std::string tip = "Nomblet: " + Cookies1->Caption;
    if (TrayIcon1->Hint() != tip)
        TrayIcon1->SetHint(tip);
}

bool TForm1::loadUserSound(TWave& wave, const std::string& fileName)
{
    if (!FileExists(platform_.fileSystem, fileName))
        return false;
    TWaveData loaded(platform_.fileSystem, platform_.sound);
    loaded.LoadFromFile(fileName);
    wave.SetWaveData(&loaded);
    return true;
}

void TForm1::Timer1Timer(TObject*)
{
    if (Form1 && Form1->Visible())
        Form1->Hide();
    TrayIcon1->SetCycleIcons(false);
    TrayIcon1->SetIconIndex(0);
    ThreadedTimer1->SetEnabled(true);
    Timer1->SetEnabled(false);
}

void TForm1::FormDestroy(TObject*)
{
    // No tick may run during or after the last save; a store's munch under
    // way is rolled back (or has committed) before the program ends.
    ThreadedTimer1->SetEnabled(false);
    munchCycle_.Shutdown();
    SaveSettings();
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    CanClose = true;
    Application().Terminate();
}
