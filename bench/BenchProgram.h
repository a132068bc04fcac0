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

struct BenchProgram {
    // prepare: sets up the fakes (settings, say) before the window is made.
    BenchProgram(const std::string& driveFolder, const std::function<void(FakePlatform&)>& prepare)
        : files(driveFolder)
    {
        prepare(fakes);
        TUrlCache::TestLibraryAtStart(fakes.urlCache);
        app.CreateForm<TForm1>(services);
        // The fakes' logs would be the only things that grow with the number of files.
        fakes.ui.logging = false; // the munch cycle lets messages run every few entries
        fakes.notifyArea.logging = false;
        Form1->ThreadedTimer1->SetEnabled(false); // the benchmark runs by hand
        Form1->SoundsOn1->Checked = false;
    }
    FakePlatform fakes;
    PosixFileSystem files;
    platform::Platform services = fakes.servicesWith(files);
    TApplication app{fakes.ui};
};
