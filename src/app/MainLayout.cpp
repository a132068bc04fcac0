// The main window's layout, in the order a layout reader would apply it.
#include "app/MainLayout.h"

#include "app/Addresses.h"
#include "app/MainForm.h"
#include "resources/BuiltinSounds.h"
#include "toolkit/Application.h"
#include "toolkit/MulDiv.h"

#include <algorithm>

namespace {

// Creates a menu item of the form with its caption and check mark.
TMenuItem* item(TForm1& form, TMenuItem& parent, const char* name, const char* caption, bool checked = false)
{
    auto& created = form.Create<TMenuItem>();
    created.SetName(name);
    created.Caption = caption;
    created.Checked = checked;
    parent.Add(created);
    return &created;
}

// Binds a handler of the form to an event, as a layout binds by name.
template <class Handler>
TNotifyEvent bind(TForm1& form, Handler handler)
{
    return [&form, handler](TObject* sender) { (form.*handler)(sender); };
}

// A sound of the form, its image read from the "Data" stream the layout carries.
TWave& sound(TForm1& form, const char* name, TMemoryStream data)
{
    TWave& wave = form.Create<TWave>(form.Platform());
    wave.SetName(name);
    wave.WaveData()->ReadData(data);
    return wave;
}

// The font of the about window's small texts, in one colour.
TFont smallFont(TColor colour, TFontStyles style)
{
    TFont font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    font.Color = colour;
    font.Style = style;
    return font;
}

void readLabels(TForm1& f)
{
    const platform::Platform& services = f.Platform();

    f.GradientLabel1 = &f.Create<TGradientLabel>(f, services.canvas);
    f.GradientLabel1->SetName("GradientLabel1");
    f.GradientLabel1->SetBounds(32, 12, 249, 25);
    TFont caption = f.GradientLabel1->Font();
    caption.Name = "Arial";
    caption.Height = -21;
    caption.Style = fsBold;
    f.GradientLabel1->SetFont(caption);
    f.GradientLabel1->SetCaption("Nomblet 3.7");
    f.GradientLabel1->SetBorderColor(clWhite);
    f.GradientLabel1->SetShadow(false);
    f.GradientLabel1->SetShadowColor(clBtnShadow);
    f.GradientLabel1->SetStartColor(clYellow);
    f.GradientLabel1->SetEndColor(clLime);
    f.GradientLabel1->SetTxType(TyHGradient);
    f.GradientLabel1->SetShadowDeep(2);

    f.LinkLabel1 = &f.Create<TLinkLabel>(f, services.shell, services.canvas);
    f.LinkLabel1->SetName("LinkLabel1");
    f.LinkLabel1->SetBounds(84, 36, 132, 13);
    f.LinkLabel1->Cursor = crHandPoint;
    f.LinkLabel1->SetLabelType(hmMAIL);
    f.LinkLabel1->SetCaption(AuthorMailAddress);
    f.LinkLabel1->SetFont(smallFont(clBlue, fsUnderline));

    f.LinkLabel2 = &f.Create<TLinkLabel>(f, services.shell, services.canvas);
    f.LinkLabel2->SetName("LinkLabel2");
    f.LinkLabel2->SetBounds(136, 56, 151, 13);
    f.LinkLabel2->Cursor = crHandPoint;
    f.LinkLabel2->SetURLColStd(clYellow);
    f.LinkLabel2->SetCaption(WebAddressCaption);
    f.LinkLabel2->SetFont(smallFont(clYellow, fsUnderline));

    f.Label1 = &f.Create<TLabel>(f, services.canvas);
    f.Label1->SetName("Label1");
    f.Label1->SetBounds(4, 56, 123, 13);
    f.Label1->SetCaption("Get the latest version from");
    f.Label1->SetColor(clBlack);
    f.Label1->SetFont(smallFont(clRed, 0));
}

void readMenu(TForm1& f)
{
    f.PopupMenu1 = &f.Create<TPopupMenu>(f.Platform().iconsAndMenus);
    f.PopupMenu1->SetName("PopupMenu1");
    TMenuItem& menu = f.PopupMenu1->Items();

    f.PathtoCookieDirIExplorer1 = item(f, menu, "PathtoCookieDirIExplorer1", "Path to Cookie Dir (IExplorer)");
    f.PathtoCookietxt1 = item(f, menu, "PathtoCookietxt1", "Path to Cookie.txt (Netscape)");
    f.PathtoCookie4DatOpera1 = item(f, menu, "PathtoCookie4DatOpera1", "Path to Cookie#.Dat (Opera)");
    f.PathtoCookiedatICQ1 = item(f, menu, "PathtoCookiedatICQ1", "Path to Cookie.dat (ICQ)");
    f.OtherBrowsers1 = item(f, menu, "OtherBrowsers1", "Other Browsers");
    for (const TBrowserFamily& family : BrowserFamilies()) {
        const std::string name = "OtherBrowser" + std::to_string(f.BrowserRows.size() + 1);
        f.BrowserRows.push_back(item(f, *f.OtherBrowsers1, name.c_str(), family.Caption, true));
    }
    f.NoneFound1 = item(f, *f.OtherBrowsers1, "NoneFound1", "None Found");
    f.NoneFound1->Enabled = false;
    // The sites' rows come as the menu opens.
    f.KeepSites1 = item(f, menu, "KeepSites1", "Keep Sites");
    f.KeepSitesLine1 = item(f, *f.KeepSites1, "KeepSitesLine1", "-");
    f.NoneYet1 = item(f, *f.KeepSites1, "NoneYet1", "None Yet");
    f.NoneYet1->Enabled = false;
    f.MunchSiteData1 = item(f, menu, "MunchSiteData1", "Munch Site Data");
    f.N4 = item(f, menu, "N4", "-");
    f.ModifySounds1 = item(f, menu, "ModifySounds1", "Modify Sounds");
    f.CrunchSound1 = item(f, *f.ModifySounds1, "CrunchSound1", "Crunch Sound");
    f.BurpSound1 = item(f, *f.ModifySounds1, "BurpSound1", "Burp Sound");
    f.RestoreDefault1 = item(f, *f.ModifySounds1, "RestoreDefault1", "Restore Defaults");
    f.FallowmereHomePage1 = item(f, menu, "FallowmereHomePage1", "Fallowmere Home Page");
    f.N5 = item(f, menu, "N5", "-");
    f.IP1 = item(f, menu, "IP1", "Internet IP:");
    f.N3 = item(f, menu, "N3", "-");
    f.DeleteICQCookies1 = item(f, menu, "DeleteICQCookies1", "Delete ICQ Cookies", true);
    f.Active1 = item(f, menu, "Active1", "Active", true);
    f.SoundsOn1 = item(f, menu, "SoundsOn1", "Sounds On", true);
    f.Cookies1 = item(f, menu, "Cookies1", "Munched =");
    f.N2 = item(f, menu, "N2", "-");
    f.ClearCookieCacheShortcuts1 = item(f, menu, "ClearCookieCacheShortcuts1", "Clear IE Cookie Cache Shortcuts");
    f.DeleteIEHistory1 = item(f, menu, "DeleteIEHistory1", "Clear IE History");
    f.DeleteIECache1 = item(f, menu, "DeleteIECache1", "Clear IE Cache");
    f.N1 = item(f, menu, "N1", "-");
    f.LoadatStartup1 = item(f, menu, "LoadatStartup1", "Load at Startup");
    f.Exit1 = item(f, menu, "Exit1", "Exit");

    f.PopupMenu1->OnPopup = bind(f, &TForm1::PopupMenu1Popup);
    f.PathtoCookieDirIExplorer1->OnClick = bind(f, &TForm1::PathtoCookieDirIExplorer1Click);
    f.PathtoCookietxt1->OnClick = bind(f, &TForm1::PathtoCookietxt1Click);
    f.PathtoCookie4DatOpera1->OnClick = bind(f, &TForm1::PathtoCookie4DatOpera1Click);
    f.PathtoCookiedatICQ1->OnClick = bind(f, &TForm1::PathtoCookiedatICQ1Click);
    f.CrunchSound1->OnClick = bind(f, &TForm1::CrunchSound1Click);
    f.BurpSound1->OnClick = bind(f, &TForm1::BurpSound1Click);
    f.RestoreDefault1->OnClick = bind(f, &TForm1::RestoreDefault1Click);
    f.FallowmereHomePage1->OnClick = bind(f, &TForm1::FallowmereHomePage1Click);
    f.IP1->OnClick = bind(f, &TForm1::IP1Click);
    f.DeleteICQCookies1->OnClick = bind(f, &TForm1::DeleteICQCookies1Click);
    f.Active1->OnClick = bind(f, &TForm1::Active1Click);
    f.SoundsOn1->OnClick = bind(f, &TForm1::SoundsOn1Click);
    f.MunchSiteData1->OnClick = bind(f, &TForm1::MunchSiteData1Click);
    f.Cookies1->OnClick = bind(f, &TForm1::Cookies1Click);
    f.LoadatStartup1->OnClick = bind(f, &TForm1::LoadatStartup1Click);
    f.Exit1->OnClick = bind(f, &TForm1::Exit1Click);
    f.ClearCookieCacheShortcuts1->OnClick = bind(f, &TForm1::ClearCookieCacheShortcuts1Click);
    f.DeleteIEHistory1->OnClick = bind(f, &TForm1::DeleteIEHistory1Click);
    f.DeleteIECache1->OnClick = bind(f, &TForm1::DeleteIECache1Click);
    for (TMenuItem* row : f.BrowserRows)
        row->OnClick = bind(f, &TForm1::BrowserRowClick);
}

} // namespace

void ReadMainLayout(TForm1& form)
{
    form.BeginLoading();

    form.SetName("Form1");
    form.SetBounds(244, 280, 298, 78);
    form.BorderStyle = TFormBorderStyle::bsNone;
    form.SetCaption("Nomblet");
    form.SetColor(clBlack);
    form.Font.Name = "MS Sans Serif";
    form.Font.Height = -11;
    form.Font.Color = clWindowText;
    form.Font.Style = 0;
    form.FormStyle = TFormStyle::fsStayOnTop;
    form.OnCreate = bind(form, &TForm1::FormCreate);
    form.OnDestroy = bind(form, &TForm1::FormDestroy);
    form.OnCloseQuery = [&form](TObject* sender, bool& canClose) { form.FormCloseQuery(sender, canClose); };

    readLabels(form);

    const platform::Platform& services = form.Platform();

    form.FolderDialog1 = &form.Create<TFolderDialog>(form.Application(), services.folderBrowser,
                                                     services.fileSystem);
    form.FolderDialog1->SetName("FolderDialog1");

    form.Wave1 = &sound(form, "Wave1", BuiltinBurpData());
    form.Wave2 = &sound(form, "Wave2", BuiltinCrunchData());

    form.ThreadedTimer1 = &form.Create<TThreadedTimer>(services);
    form.ThreadedTimer1->SetName("ThreadedTimer1");
    form.ThreadedTimer1->SetInterval(500);
    form.ThreadedTimer1->SetThreadPriority(TThreadPriority::tpLower);
    form.ThreadedTimer1->OnTimer = bind(form, &TForm1::ThreadedTimer1Timer);

    readMenu(form);

    form.OpenDialog1 = &form.Create<TOpenDialog>(services.fileDialogs);
    form.OpenDialog1->SetName("OpenDialog1");
    form.OpenDialog1->FileName = "cookies.txt";
    form.OpenDialog1->Options = ofHideReadOnly | ofEnableSizing;

    form.OpenDialog2 = &form.Create<TOpenDialog>(services.fileDialogs);
    form.OpenDialog2->SetName("OpenDialog2");
    form.OpenDialog2->Title = "Select New Wave Sound";
    form.OpenDialog2->Filter = "Wave Files (*.wav)|*.wav";
    form.OpenDialog2->DefaultExt = "*.wav";
    form.OpenDialog2->Options = ofHideReadOnly | ofPathMustExist | ofFileMustExist | ofEnableSizing;

    form.ImageList1 = &form.Create<TImageList>(services.iconsAndMenus);
    form.ImageList1->SetName("ImageList1");
    // The images are drawn at every size the shell may ask for: it gets its own.
    const platform::Size trayImage = services.iconsAndMenus.smallIconSize();
    form.ImageList1->Width = trayImage.width;
    form.ImageList1->Height = trayImage.height;
    for (const char* image : {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"})
        form.ImageList1->AddIconResource(image);

    form.TrayIcon1 = &form.Create<TTrayIcon>(form.Application(), services.windowMessages, services.notifyArea);
    form.TrayIcon1->SetName("TrayIcon1");
    TIcon ownIcon;
    ownIcon.LoadFromResourceName(services.iconsAndMenus, "MAINICON", trayImage);
    form.TrayIcon1->SetIcon(ownIcon);
    form.TrayIcon1->SetCycleInterval(100);
    form.TrayIcon1->SetShowHint(true);
    form.TrayIcon1->LeftPopup = true;

    form.UrlCache1 = &form.Create<TUrlCache>(services.urlCache);
    form.UrlCache1->SetName("UrlCache1");
    form.UrlCache1->SetFilterOptions(TUrlCache::defaultFilterOptions);
    form.UrlCache1->SearchPattern = spAll;

    form.FileFinder1 = &form.Create<TFileFinder>(services.fileSystem, services.codePage);
    form.FileFinder1->SetName("FileFinder1");
    form.FileFinder1->Directory = "c:\\Windows\\Temporary Internet Files";
    form.FileFinder1->Filter = "*.*";
    form.FileFinder1->Attributes = +ffReadOnly | +ffHidden | +ffSystem | +ffDirectory | +ffArchive;

    form.AutoStart1 = &form.Create<TAutoStart>(services.registry);
    form.AutoStart1->SetName("AutoStart1");
    form.AutoStart1->SetRegLocation(TRegLocation::CurrentUser);
    form.AutoStart1->SetAutoRunWhere(TAutoRunWhere::Run);
    form.AutoStart1->SetAutoRun(true); // ignored while loading
    form.AutoStart1->SetAppName("MyApplication"); // reads the registry

    // Enabled, with the default interval of 1000 ms: counting starts here.
    form.Timer1 = &form.Create<TTimer>(form.Platform().ui);
    form.Timer1->SetName("Timer1");
    form.Timer1->SetOnTimer(bind(form, &TForm1::Timer1Timer));

    // References to other components are resolved once all are read: the
    // image list's first image replaces the tray icon's own.
    form.TrayIcon1->SetIconList(form.ImageList1);
    form.TrayIcon1->PopupMenu = form.PopupMenu1;

    form.EndLoading();
    // Measured in the font the system gives and at the screen's scale, a text
    // may come out wider than the layout's room for it: the link after it on
    // its row keeps its distance, and the window grows to show both whole.
    constexpr int gapBeforeWebLink = 9; // at the layout's pixels per inch
    const int afterText = form.Label1->Left() + form.Label1->Width() +
                          MulDiv(gapBeforeWebLink, form.PixelsPerInch, TFont::PixelsPerInch);
    form.LinkLabel2->SetLeft(std::max(form.LinkLabel2->Left(), afterText));
    form.WidenToHoldControls();
}
