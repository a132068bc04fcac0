// The main window: its layout, its place on the screen, and how it ends the program.
#include "app/MainFormFixture.h"
#include "toolkit/Messages.h"

#include <gmock/gmock.h>

using MainFormTest = MainFormFixture;

TEST_F(MainFormTest, IsABorderlessBlackStayOnTopWindowOf298By78)
{
    TForm1& form = start();
    EXPECT_EQ(Form1, &form);
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_GE(form.Width(), 298); // wider when its texts are: the fake's font is wide
    EXPECT_EQ(form.Height(), 78);
    EXPECT_EQ(form.BorderStyle, TFormBorderStyle::bsNone);
    EXPECT_EQ(form.FormStyle, TFormStyle::fsStayOnTop);
    EXPECT_EQ(form.Color(), clBlack);
    EXPECT_EQ(form.Caption(), "Nomblet");

    form.Show();
    FakeWindow& window = *ui.window("TForm1");
    EXPECT_TRUE(window.params.borderless);
    EXPECT_TRUE(window.params.topmost);
    EXPECT_EQ(window.params.background, 0u);
    EXPECT_EQ(window.params.owner, &app.Handle());
}

class AboutWindowLayout : public MainFormTest, public ::testing::WithParamInterface<int> {};

TEST_P(AboutWindowLayout, NoTextCoversAnotherAndEveryTextFitsInTheWindow)
{
    ui.perInch = GetParam();
    TForm1& form = start();
    for (const TControl* control : std::initializer_list<const TControl*>{form.GradientLabel1, form.LinkLabel1, form.LinkLabel2, form.Label1}) {
        EXPECT_GE(control->Left(), 0) << control->Name();
        EXPECT_LE(control->Left() + control->Width(), form.Width()) << control->Name();
    }
    // The small texts (the caption's box reaches a pixel into the row below it, by design).
    const std::vector<const TControl*> texts = {form.LinkLabel1, form.LinkLabel2, form.Label1};
    for (const TControl* control : texts) {
        for (const TControl* other : texts) {
            if (other == control)
                continue;
            const bool apart = control->Left() + control->Width() <= other->Left() ||
                               other->Left() + other->Width() <= control->Left() ||
                               control->Top() + control->Height() <= other->Top() ||
                               other->Top() + other->Height() <= control->Top();
            EXPECT_TRUE(apart) << control->Name() << " covers " << other->Name() << " at " << GetParam();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AtEachScale, AboutWindowLayout, ::testing::Values(96, 120, 144, 192));

struct Centring {
    platform::Size screen;
    platform::Point expected;
};

class MainFormCentring : public MainFormTest, public ::testing::WithParamInterface<Centring> {};

TEST_P(MainFormCentring, HalvesScreenAndWindowSeparatelyTruncatingTowardZero)
{
    ui.screen = GetParam().screen;
    TForm1& form = start();
    EXPECT_EQ(form.Left(), GetParam().expected.x);
    EXPECT_EQ(form.Top(), GetParam().expected.y);
    EXPECT_EQ(form.Handle().bounds(), (platform::Rect{form.Left(), form.Top(), 311, 78}));
}

INSTANTIATE_TEST_SUITE_P(Screens, MainFormCentring,
                         // The window is 311 wide here: the fake's font is wider than the layout's.
                         ::testing::Values(Centring{{1024, 768}, {357, 345}}, Centring{{1023, 767}, {356, 344}},
                                           Centring{{200, 50}, {-55, -14}}),
                         [](const auto& info) {
                             return std::to_string(info.param.screen.width) + "x" +
                                    std::to_string(info.param.screen.height);
                         });

TEST_F(MainFormTest, ACloseRequestEndsTheProgram)
{
    start();
    ui.post([&] { ui.window("TForm1")->requestClose(); });
    app.Run();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(MainFormTest, TheEndOfTheSessionIsAllowedAndEndsTheProgram)
{
    start();
    ui.post([&] {
        FakeWindow& window = *ui.window("TForm1");
        EXPECT_TRUE(window.queryEndSession());
        window.endSession();
    });
    app.Run();
    EXPECT_TRUE(app.Terminated());
}

TEST_F(MainFormTest, AFirstStartWithoutSettingsUsesTheDefaults)
{
    TForm1& form = start();
    EXPECT_EQ(form.State.CookieTxtFile, "");
    EXPECT_EQ(form.State.OperaCookieFile, "");
    EXPECT_EQ(form.State.ICQCookieFile, "");
    EXPECT_EQ(form.State.IECookieDir, "C:\\WINDOWS\\cookies");
    EXPECT_EQ(form.State.CrunchWaveFile, "default");
    EXPECT_EQ(form.State.BurpWaveFile, "default");
    EXPECT_TRUE(form.DeleteICQCookies1->Checked);
    EXPECT_TRUE(form.SoundsOn1->Checked);
    EXPECT_FALSE(form.LoadatStartup1->Checked) << "not registered";
    EXPECT_TRUE(form.Active1->Checked);
    EXPECT_TRUE(form.State.MunchActive);
    EXPECT_FALSE(form.State.MunchBusy);
    EXPECT_EQ(form.State.MunchedCount, 0);
    EXPECT_EQ(form.Cookies1->Caption, "Munched = 0");
    EXPECT_FALSE(fakes.profile.hasFile(ini)) << "nothing is written at start";
}

TEST_F(MainFormTest, ABlankCookieFolderBecomesTheShellsCookieFolderOrTheWindowsOne)
{
    const std::string shells = "C:\\users\\u\\AppData\\Local\\Microsoft\\Windows\\INetCookies";
    struct Case {
        std::string stored;   // "<missing>": no key
        std::string windows;
        bool shellNamesOne;
        bool shellFails;
        std::string expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"<missing>", "C:\\WINDOWS", true, false, shells},
             {" \t ", "C:\\WINDOWS", true, false, shells},
             {"D:\\mine", "C:\\WINDOWS", true, false, "D:\\mine"},
             {"<missing>", "C:\\WINDOWS", false, false, "C:\\WINDOWS\\cookies"},
             {" \t ", "C:\\", false, false, "C:\\\\cookies"}, // a root keeps its backslash
             {"<missing>", "C:\\WINDOWS", true, true, "C:\\WINDOWS\\cookies"},
         }) {
        FakePlatform platform;
        if (c.stored != "<missing>")
            platform.profile.set(ini, "Cookie Dir", "Dir", c.stored);
        platform.folders.windowsDir = c.windows;
        if (c.shellNamesOne)
            platform.folders.shellFolders[platform::ShellFolder::Cookies] = shells;
        if (c.shellFails)
            platform.folders.faults.failFrom("shellFolder");
        TApplication application(platform.ui);
        TUrlCache::TestLibraryAtStart(platform.urlCache);
        TForm1& form = application.CreateForm<TForm1>(platform.services);
        EXPECT_EQ(form.State.IECookieDir, c.expected) << c.stored;
        form.Exit1->Click();
        application.Run();
        EXPECT_EQ(platform.profile.get(ini, "Cookie Dir", "Dir"), c.expected) << "stored at the next save";
    }
}

TEST_F(MainFormTest, TheMenuHasItsRowsInOrderWithTheLayoutsMarks)
{
    TForm1& form = start();
    TMenuItem& menu = form.PopupMenu1->Items();
    std::vector<std::string> rows;
    for (int i = 0; i < menu.Count(); ++i)
        rows.push_back(menu.Items(i)->Caption + (menu.Items(i)->Checked ? " [x]" : ""));
    EXPECT_THAT(rows, ::testing::ElementsAre("Path to Cookie Dir (IExplorer)", "Path to Cookie.txt (Netscape)",
                                             "Path to Cookie#.Dat (Opera)", "Path to Cookie.dat (ICQ)",
                                             "Other Browsers", "Keep Sites", "Munch Site Data", "-", "Modify Sounds", "Fallowmere Home Page", "-",
                                             "Internet IP:", "-",
                                             "Delete ICQ Cookies [x]", "Active [x]", "Sounds On [x]", "Munched = 0",
                                             "-", "Clear IE Cookie Cache Shortcuts", "Clear IE History",
                                             "Clear IE Cache", "-", "Load at Startup", "Exit"));
    TMenuItem& sounds = *form.ModifySounds1;
    ASSERT_EQ(sounds.Count(), 3);
    EXPECT_EQ(sounds.Items(0)->Caption, "Crunch Sound");
    EXPECT_EQ(sounds.Items(1)->Caption, "Burp Sound");
    EXPECT_EQ(sounds.Items(2)->Caption, "Restore Defaults");
}

TEST_F(MainFormTest, TheAboutWindowHidesAfterOneSecondAndTheSplashTimerStops)
{
    TForm1& form = start();
    form.Show();
    ui.advanceTime(999);
    EXPECT_TRUE(form.Visible());
    ui.advanceTime(1);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Timer1->Enabled());
    EXPECT_EQ(ui.runningTimers(), 0u);
}

TEST_F(MainFormTest, TheAboutWindowsLinksOpenTheMailProgramAndTheWebBrowser)
{
    TForm1& form = start();
    form.Show();
    FakeWindow& window = *ui.window("TForm1");
    for (TLinkLabel* link : {form.LinkLabel1, form.LinkLabel2}) {
        const platform::Point middle{link->Left() + link->Width() / 2, link->Top() + link->Height() / 2};
        window.mouseMove(middle);
        EXPECT_EQ(window.cursorAt(middle), ui.cursorResources["URLHAND"]);
        window.mouseButton(platform::MouseButton::Left, true, middle);
        window.mouseButton(platform::MouseButton::Left, false, middle);
    }
    std::vector<std::string> opened;
    for (const Call& call : fakes.shell.callsOf("shellOpen"))
        opened.push_back(call.args[1]);
    EXPECT_THAT(opened,
                ::testing::ElementsAre("mailto:nomblet@fallowmere.example", "http:\\\\www.fallowmere.example"));

    // The caption's gradient needs bitmaps only while it paints.
    const std::size_t before = fakes.canvas.callsOf("newBitmap").size();
    window.paint();
    EXPECT_GT(fakes.canvas.callsOf("newBitmap").size(), before);
    EXPECT_EQ(fakes.canvas.liveBitmaps, 0);
}

TEST_F(MainFormTest, OnceTheAboutWindowHidesNoWindowOfTheProgramIsVisible)
{
    TForm1& form = start();
    form.Show();
    // Shown by the program: the tray icon brings the application window back with it.
    ui.window("TForm1")->send({WM_SHOWWINDOW, 1, 0});
    ASSERT_TRUE(app.Handle().visible());
    ui.advanceTime(1000);
    for (const FakeWindow* window : ui.windows)
        EXPECT_FALSE(window->visible()) << window->params.className << " would keep a taskbar button";
}

TEST_F(MainFormTest, TheSplashTimerStopsAlsoWhenTheWindowIsAlreadyHidden)
{
    TForm1& form = start();
    ui.advanceTime(1000);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Timer1->Enabled());
}

TEST_F(MainFormTest, ExitEndsTheLoopAndTheSettingsAreWrittenOnceMore)
{
    TForm1& form = start();
    form.DeleteICQCookies1->Checked = false; // the ICQ toggle itself saves nothing
    ui.post([&] { form.Exit1->Click(); });
    app.Run();
    EXPECT_EQ(fakes.profile.callsOf("writeString").size(), 10u);
    EXPECT_EQ(stored("Settings", "MunchICQ"), "0");
    EXPECT_EQ(stored("Cookie Dir", "Dir"), "C:\\WINDOWS\\cookies");
}

TEST_F(MainFormTest, ARefusedWriteAtExitIsShownAndTheProgramStillEnds)
{
    start();
    fakes.profile.faults.failFrom("writeString");
    ui.post([&] { ui.window("TForm1")->requestClose(); });
    app.Run();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Unable to write to nomblet.ini.");
    EXPECT_EQ(ui.boxes[0].caption, "Nomblet");
    EXPECT_EQ(Form1, nullptr);
}

TEST_F(MainFormTest, TheEndOfTheSessionSavesTheSettingsAtOnceAndOnlyOnce)
{
    start();
    ui.post([&] {
        ui.window("TForm1")->endSession();
        // The process may be killed right here: the settings must be written by now.
        EXPECT_EQ(fakes.profile.callsOf("writeString").size(), 10u);
    });
    app.Run();
    EXPECT_EQ(fakes.profile.callsOf("writeString").size(), 10u);
}

TEST_F(MainFormTest, WithoutUserSoundsTheBuiltInCrunchAndBurpAreLoaded)
{
    TForm1& form = start();
    EXPECT_EQ(form.Wave1->WaveData()->Size(), 2869); // burp
    EXPECT_EQ(form.Wave2->WaveData()->Size(), 2629); // crunch
}

TEST_F(MainFormTest, StoredSoundsGoBackIntoTheComponentsTheirCommandsFill)
{
    fakes.fileSystem.addFile("C:\\snd\\mycrunch.wav", "crunchy");
    fakes.fileSystem.addFile("C:\\snd\\myburp.wav", "burpy");
    fakes.profile.set(ini, "Settings", "CrunchWave", "C:\\snd\\mycrunch.wav");
    fakes.profile.set(ini, "Settings", "BurpWave", "C:\\snd\\myburp.wav");
    TForm1& form = start();
    auto held = [](TWave* wave) {
        return std::string(reinterpret_cast<const char*>(wave->WaveData()->Image()), wave->WaveData()->Size());
    };
    EXPECT_EQ(held(form.Wave2), "crunchy"); // played at every cookie
    EXPECT_EQ(held(form.Wave1), "burpy");   // played at every fifth
}

TEST_F(MainFormTest, ASoundNameOfAFolderOrOfNothingKeepsTheBuiltInSound)
{
    fakes.fileSystem.addFolder("C:\\snd\\folder.wav");
    fakes.profile.set(ini, "Settings", "CrunchWave", "C:\\snd\\folder.wav");
    fakes.profile.set(ini, "Settings", "BurpWave", "Default");
    TForm1& form = start();
    EXPECT_EQ(form.Wave2->WaveData()->Size(), 2629);
    EXPECT_EQ(form.Wave1->WaveData()->Size(), 2869);
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MainFormTest, AnUnreadableSoundIsReportedAndStartUpGoesOnWithTheBuiltInOne)
{
    fakes.fileSystem.addFile("C:\\snd\\locked.wav", "locked");
    fakes.fileSystem.lock("C:\\snd\\locked.wav", false);
    fakes.profile.set(ini, "Settings", "CrunchWave", "C:\\snd\\locked.wav");
    TForm1& form = start();
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Nomblet");
    EXPECT_EQ(form.Wave2->WaveData()->Size(), 2629);
    EXPECT_EQ(form.State.IECookieDir, "C:\\WINDOWS\\cookies") << "the steps after the sounds ran";
    EXPECT_TRUE(form.State.MunchActive);
}

TEST_F(MainFormTest, TheTrayIconShowsTheFirstTrayImageOnceLoaded)
{
    TForm1& form = start();
    EXPECT_TRUE(form.TrayIcon1->IconVisible());
    EXPECT_EQ(form.TrayIcon1->IconIndex(), 0);
    EXPECT_EQ(form.TrayIcon1->IconList(), form.ImageList1);
    EXPECT_EQ(form.ImageList1->Count(), 6);
    EXPECT_EQ(form.TrayIcon1->PopupMenu, form.PopupMenu1);
    EXPECT_EQ(form.TrayIcon1->Icon().ResourceName(), "TRAY0");
    ASSERT_EQ(fakes.notifyArea.icons.size(), 1u);
}

TEST_F(MainFormTest, TheRegistrationIsReadWhileTheLayoutLoads)
{
    fakes.registry.setString(platform::RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                             "MyApplication", "\"" + fakes.registry.program + "\"");
    TForm1& form = start();
    EXPECT_EQ(form.AutoStart1->AppName(), "MyApplication");
    EXPECT_TRUE(form.AutoStart1->AutoRun());
}
