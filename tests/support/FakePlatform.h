// Every fake service, ready to hand to the program as its platform.
#pragma once

#include "platform/Platform.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFolderBrowser.h"
#include "support/FakeHost.h"
#include "support/FakeNotifyArea.h"
#include "support/FakeProfile.h"
#include "support/FakeRegistry.h"
#include "support/FakeSound.h"
#include "support/FakeThreads.h"
#include "support/FakeUi.h"
#include "support/FakeUrlCache.h"
#include "support/SoftwareCanvas.h"

struct FakePlatform {
    FakeUi ui;
    FakeProfile profile;
    FakeHost host;
    FakeFileSystem fileSystem;
    FakeSound sound;
    FakeRegistry registry;
    FakeFolderBrowser folderBrowser;
    FakeNotifyArea notifyArea{ui};
    FakeThreads threads;
    FakeUrlCache urlCache;
    FakeCanvasService canvas;

    platform::Platform services = servicesWith(fileSystem);

    // The same services on another file system (real files, say).
    platform::Platform servicesWith(platform::IFileSystem& files)
    {
        return {
            .ui = ui,
            .profile = profile,
            .host = host,
            .fileSystem = files,
            .sound = sound,
            .registry = registry,
            .folderBrowser = folderBrowser,
            .notifyArea = notifyArea,
            .threads = threads,
            .urlCache = urlCache,
            .canvas = canvas,
        };
    }
};
