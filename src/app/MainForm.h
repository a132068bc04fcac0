// The main window: the about window, and the owner of every component.
#pragma once

#include "platform/Platform.h"
#include "toolkit/Form.h"

class TForm1 : public TForm {
public:
    TForm1(TApplication& application, const platform::Platform& platform);
    ~TForm1() override;

    // Event handlers, bound by the layout.
    void FormCreate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

private:
    const platform::Platform& platform_;
};

// The one main window, while it exists.
extern TForm1* Form1;
