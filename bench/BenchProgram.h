// The main window of the benchmarks: fake services, except the real files of a
// host folder (the POSIX file system) standing for drive C:.
#pragma once

#include "app/MainForm.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakePlatform.h"
#include "toolkit/Application.h"

#include <atomic>
#include <functional>
#include <string>

// Live and peak heap bytes while `counting` is on (MunchBench.cpp replaces the
// global allocation functions to count them).
namespace heap {
extern std::atomic<bool> counting;
extern std::atomic<long long> live;
extern std::atomic<long long> peak;
} // namespace heap

// A notification area that keeps no log: the fake's log would be the only
// thing that grows with the number of files.
class QuietNotifyArea final : public platform::INotifyArea {
public:
    bool add(const platform::NotifyIconData&) override { return true; }
    bool modify(const platform::NotifyIconData&) override { return true; }
    bool remove(const platform::NotifyIconData&) override { return true; }
};

struct BenchProgram {
    // prepare: sets up the fakes (settings, say) before the window is made.
    BenchProgram(const std::string& driveFolder, const std::function<void(FakePlatform&)>& prepare)
        : files(driveFolder)
    {
        prepare(fakes);
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
        app.CreateForm<TForm1>(services);
        fakes.ui.logging = false; // the munch cycle lets messages run every few entries
        Form1->ThreadedTimer1->SetEnabled(false); // the benchmark runs by hand
        Form1->SoundsOn1->Checked = false;
    }
    FakePlatform fakes;
    PosixFileSystem files;
    QuietNotifyArea notifyArea;
    platform::Platform services{fakes.ui, fakes.profile, fakes.host, files, fakes.sound, fakes.registry,
                                fakes.folderBrowser, notifyArea, fakes.threads, fakes.urlCache};
    TApplication app{fakes.ui};
};
