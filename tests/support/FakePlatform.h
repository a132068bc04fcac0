// Every fake service, ready to hand to the program as its platform.
#pragma once

#include "platform/Platform.h"
#include "support/FakeFolderBrowser.h"
#include "support/FakeProfile.h"
#include "support/FakeRegistry.h"
#include "support/FakeUi.h"

struct FakePlatform {
    FakeUi ui;
    FakeProfile profile;
    FakeRegistry registry;
    FakeFolderBrowser folderBrowser;

    platform::Platform services{
        .ui = ui,
        .profile = profile,
        .registry = registry,
        .folderBrowser = folderBrowser,
    };
};
