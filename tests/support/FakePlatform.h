// Every fake service, ready to hand to the program as its platform.
#pragma once

#include "platform/Platform.h"
#include "support/FakeCodePage.h"
#include "support/FakeCookieDatabases.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeFileSystem.h"
#include "support/FakeFolderBrowser.h"
#include "support/FakeFolders.h"
#include "support/FakeIconsAndMenus.h"
#include "support/FakeNetwork.h"
#include "support/FakeNotifyArea.h"
#include "support/FakeProfile.h"
#include "support/FakeRegistry.h"
#include "support/FakeShell.h"
#include "support/FakeSiteStores.h"
#include "support/FakeSound.h"
#include "support/FakeThreads.h"
#include "support/FakeUi.h"
#include "support/FakeUiThread.h"
#include "support/FakeUrlCache.h"
#include "support/FakeWindowMessages.h"
#include "support/SoftwareCanvas.h"

struct FakePlatform {
    FakePlatform()
    {
        for (FakeService* fake : std::initializer_list<FakeService*>{&ui, &windowMessages, &iconsAndMenus, &fileDialogs})
            fake->journal = &uiJournal;
    }

    FakeUi ui;
    FakeWindowMessages windowMessages{ui};
    FakeIconsAndMenus iconsAndMenus{ui};
    FakeFileDialogs fileDialogs{ui};
    FakeUiThread uiThread{ui};
    // The calls of the UI family's fakes together, in order.
    std::vector<Call> uiJournal;
    FakeProfile profile;
    FakeNetwork network;
    FakeFolders folders;
    FakeCodePage codePage;
    FakeShell shell;
    FakeFileSystem fileSystem;
    FakeSound sound;
    FakeRegistry registry;
    FakeFolderBrowser folderBrowser;
    FakeNotifyArea notifyArea{windowMessages};
    FakeThreads threads;
    FakeUrlCache urlCache;
    FakeCanvasService canvas;
    FakeCookieDatabases cookieDatabases{fileSystem};
    FakeSiteStores siteStores{fileSystem};

    platform::Platform services = servicesWith(fileSystem);

    // One count of the calls of every fake, for faults by place in a run.
    FaultSequence sequence;
    void countInSequence()
    {
        for (FakeService* fake : std::initializer_list<FakeService*>{
                 &ui, &windowMessages, &iconsAndMenus, &fileDialogs, &uiThread, &profile, &network, &folders, &shell,
                 &fileSystem, &sound, &registry, &folderBrowser, &notifyArea, &threads, &urlCache, &canvas, &cookieDatabases,
                 &siteStores})
            fake->sequence = &sequence;
    }

    // The same services on another file system (real files, say), and its cookie databases.
    platform::Platform servicesWith(platform::IFileSystem& files, platform::ICookieDatabases* databases = nullptr)
    {
        return {
            .ui = ui,
            .windowMessages = windowMessages,
            .iconsAndMenus = iconsAndMenus,
            .fileDialogs = fileDialogs,
            .uiThread = uiThread,
            .profile = profile,
            .network = network,
            .folders = folders,
            .codePage = codePage,
            .shell = shell,
            .fileSystem = files,
            .sound = sound,
            .registry = registry,
            .folderBrowser = folderBrowser,
            .notifyArea = notifyArea,
            .threads = threads,
            .urlCache = urlCache,
            .canvas = canvas,
            .cookieDatabases = databases ? *databases : cookieDatabases,
            .siteStores = siteStores,
        };
    }
};
