// Every fake service, ready to hand to the program as its platform.
#pragma once

#include "platform/Platform.h"
#include "support/FakeHost.h"
#include "support/FakeNotifyArea.h"
#include "support/FakeProfile.h"
#include "support/FakeUi.h"

struct FakePlatform {
    FakeUi ui;
    FakeProfile profile;
    FakeHost host;
    FakeNotifyArea notifyArea{ui};

    platform::Platform services{
        .ui = ui,
        .profile = profile,
        .host = host,
        .notifyArea = notifyArea,
    };
};
