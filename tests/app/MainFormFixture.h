// A main window on fake services, for the tests of the application core.
#pragma once

#include "app/MainForm.h"
#include "support/FakePlatform.h"
#include "toolkit/Application.h"

#include <gtest/gtest.h>

class MainFormFixture : public ::testing::Test {
protected:
    static constexpr const char* ini = "nomblet.ini";

    // Creates the main window: its layout, then FormCreate.
    TForm1& start()
    {
        app.SetTitle("Nomblet");
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
        TForm1& form = app.CreateForm<TForm1>(fakes.services);
        // A store's job runs to its end as it starts, and the tick takes what it did.
        fakes.threads.runAtOnce = true;
        return form;
    }

    // The settings file's value of a key, or "<missing>".
    std::string stored(const char* section, const char* key) const
    {
        return fakes.profile.get(ini, section, key).value_or("<missing>");
    }

    FakePlatform fakes;
    FakeUi& ui = fakes.ui;
    FakeFileDialogs& dialogs = fakes.fileDialogs;
    TApplication app{ui};
};
