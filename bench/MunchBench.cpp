// Benchmarks of the munch cycle on real files (the POSIX file system), against
// `find DIR -maxdepth 1 -type f -delete` on an identical folder, and of an idle
// cycle. The heap's peak during a cycle is reported too: the folder is streamed,
// so it must not grow with the number of files.
#include "BenchProgram.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <new>

namespace fs = std::filesystem;

// Live and peak heap bytes, counted by the replaced global allocation functions
// while `counting` is on (only in the heap benchmark: counting costs time).
namespace heap {
std::atomic<bool> counting{false};
std::atomic<long long> live{0};
std::atomic<long long> peak{0};
} // namespace heap

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    if (heap::counting) {
        long long now = heap::live += static_cast<long long>(malloc_usable_size(p));
        long long seen = heap::peak.load();
        while (now > seen && !heap::peak.compare_exchange_weak(seen, now)) {
        }
    }
    return p;
}
void operator delete(void* p) noexcept
{
    if (p && heap::counting)
        heap::live -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

// A drive C: in a fresh host folder, with the cookie folder C:\cookies.
struct Drive {
    Drive() : root(fs::temp_directory_path() / ("nomblet-bench-" + std::to_string(::getpid())))
    {
        fs::remove_all(root);
        fs::create_directories(root / "cookies");
    }
    ~Drive() { fs::remove_all(root); }
    void fill(int files) const
    {
        for (int i = 0; i < files; ++i)
            std::ofstream(root / "cookies" / ("user@site" + std::to_string(i) + ".txt")) << "cookie";
    }
    fs::path root;
};

// The main window on the drive, with its cookie folder.
struct Program : BenchProgram {
    explicit Program(const Drive& drive) : BenchProgram(drive.root.string(), [](FakePlatform& fakes) {
        fakes.profile.set("nomblet.ini", "Cookie Dir", "Dir", "C:\\cookies");
    })
    {
    }
};

void MunchCycle(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Drive drive;
    Program program(drive);
    for (auto _ : state) {
        state.PauseTiming();
        drive.fill(count);
        state.ResumeTiming();
        Form1->ThreadedTimer1Timer(nullptr);
        state.PauseTiming();
        if (!fs::is_empty(drive.root / "cookies"))
            state.SkipWithError("cookies left behind");
        state.ResumeTiming();
    }
    state.counters["files"] = count;
}

// The heap's peak during a cycle, above what was live before it.
void MunchCycleHeap(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Drive drive;
    Program program(drive);
    long long peakGrowth = 0;
    for (auto _ : state) {
        drive.fill(count);
        heap::live = 0;
        heap::peak = 0;
        heap::counting = true;
        Form1->ThreadedTimer1Timer(nullptr);
        heap::counting = false;
        peakGrowth = std::max(peakGrowth, heap::peak.load());
    }
    state.counters["files"] = count;
    state.counters["heap_peak_growth_bytes"] = static_cast<double>(peakGrowth);
}

void FindDelete(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Drive drive;
    std::string command = "find '" + (drive.root / "cookies").string() + "' -maxdepth 1 -type f -delete";
    for (auto _ : state) {
        state.PauseTiming();
        drive.fill(count);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("find failed");
    }
    state.counters["files"] = count;
}

// The least a cycle can do on this file system: list the folder, look at each
// entry once (the read-only rule needs its mode) and delete it.
void ListLookDelete(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Drive drive;
    std::string folder = (drive.root / "cookies").string();
    for (auto _ : state) {
        state.PauseTiming();
        drive.fill(count);
        state.ResumeTiming();
        DIR* dir = ::opendir(folder.c_str());
        int fd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            struct stat info;
            if (entry->d_name[0] != '.' && ::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                (info.st_mode & S_IWUSR))
                ::unlinkat(fd, entry->d_name, 0);
        }
        ::closedir(dir);
    }
    state.counters["files"] = count;
}

void IdleCycle(benchmark::State& state)
{
    Drive drive;
    Program program(drive);
    for (auto _ : state)
        Form1->ThreadedTimer1Timer(nullptr);
}

} // namespace

BENCHMARK(MunchCycle)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(MunchCycleHeap)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(FindDelete)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ListLookDelete)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(IdleCycle)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
