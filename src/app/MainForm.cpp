// The main window: start-up and shutdown.
#include "app/MainForm.h"

#include "app/MainLayout.h"
#include "toolkit/Application.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TApplication& application, const platform::Platform& platform)
    : TForm(application, "TForm1"), platform_(platform)
{
    Form1 = this;
    ReadMainLayout(*this);
    DoCreate();
}

TForm1::~TForm1()
{
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::FormCreate(TObject*)
{
    // Centred on the primary screen by its outer size; a small screen gives
    // a negative position, which stands as computed.
    platform::Size screen = platform_.ui.screenSize();
    SetLeft(screen.width / 2 - Width() / 2);
    SetTop(screen.height / 2 - Height() / 2);
}

void TForm1::FormCloseQuery(TObject*, bool& CanClose)
{
    CanClose = true;
    Application().Terminate();
}
