// Benchmarks of Clear IE Cache on real files (the POSIX file system): the walk
// of a cache tree of 100,000 files in 5,000 folders against
// `find DIR -printf '%m'` (which also looks at every entry), the command's two
// passes against `rm -rf` of an identical tree, and the heap the list holds.
#include "BenchProgram.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int topFolders = 50;
constexpr int subfoldersEach = 99; // 50 + 50 * 99 = 5,000 folders
constexpr int filesPerFolder = 20; // 100,000 files

struct CacheDrive {
    CacheDrive() : root(fs::temp_directory_path() / ("nomblet-cleanup-bench-" + std::to_string(::getpid())))
    {
        fs::remove_all(root);
        cache = root / "WINDOWS" / "Temporary Internet Files";
    }
    ~CacheDrive() { fs::remove_all(root); }

    // The cache tree, anew: folders two levels deep, each with its files.
    void fill() const
    {
        fs::create_directories(cache);
        auto folderWithFiles = [](const fs::path& folder) {
            ::mkdir(folder.c_str(), 0755);
            for (int f = 0; f < filesPerFolder; ++f) {
                std::string file = (folder / ("cache_entry_" + std::to_string(f) + "[1].htm")).string();
                ::close(::open(file.c_str(), O_CREAT | O_WRONLY, 0644));
            }
        };
        for (int t = 0; t < topFolders; ++t) {
            fs::path top = cache / ("C" + std::to_string(t) + "XKQ2Z");
            folderWithFiles(top);
            for (int s = 0; s < subfoldersEach; ++s)
                folderWithFiles(top / ("S" + std::to_string(s) + "PQW8"));
        }
    }
    std::string quoted() const { return "'" + cache.string() + "'"; }

    fs::path root;
    fs::path cache;
};

struct CacheProgram : BenchProgram {
    explicit CacheProgram(const CacheDrive& drive)
        : BenchProgram(drive.root.string(), [](FakePlatform& fakes) { fakes.folders.windowsDir = "C:\\WINDOWS"; })
    {
        TFileFinder& finder = *Form1->FileFinder1;
        finder.Directory = "C:\\WINDOWS\\Temporary Internet Files";
        finder.Filter = "*.*";
        finder.Recurse = true;
    }
};

void FinderWalk(benchmark::State& state)
{
    CacheDrive drive;
    drive.fill();
    CacheProgram program(drive);
    for (auto _ : state)
        Form1->FileFinder1->Execute();
    state.counters["entries"] = static_cast<double>(Form1->FileFinder1->Files().size());
}

void FindPrintf(benchmark::State& state)
{
    CacheDrive drive;
    drive.fill();
    const std::string command = "find " + drive.quoted() + " -printf '%m' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("find failed");
}

void ClearIECache(benchmark::State& state)
{
    CacheDrive drive;
    CacheProgram program(drive);
    for (auto _ : state) {
        state.PauseTiming();
        drive.fill();
        state.ResumeTiming();
        Form1->DeleteIECache1Click(nullptr);
    }
}

void RmRf(benchmark::State& state)
{
    CacheDrive drive;
    const std::string command = "rm -rf " + drive.quoted();
    for (auto _ : state) {
        state.PauseTiming();
        drive.fill();
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("rm failed");
    }
}

// What the list of a walk holds on the heap, per entry.
void FinderListHeap(benchmark::State& state)
{
    CacheDrive drive;
    drive.fill();
    CacheProgram program(drive);
    double perEntry = 0;
    for (auto _ : state) {
        TFileFinder finder(nullptr, program.files, program.fakes.codePage);
        finder.Directory = Form1->FileFinder1->Directory;
        finder.Recurse = true;
        finder.Attributes = Form1->FileFinder1->Attributes;
        heap::live = 0;
        heap::peak = 0;
        heap::counting = true;
        finder.Execute();
        heap::counting = false;
        perEntry = static_cast<double>(heap::live.load()) / static_cast<double>(finder.Files().size());
        state.counters["list_bytes"] = static_cast<double>(heap::live.load());
        state.counters["walk_peak_bytes"] = static_cast<double>(heap::peak.load());
    }
    state.counters["bytes_per_entry"] = perEntry;
}

} // namespace

BENCHMARK(FinderWalk)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(FindPrintf)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(ClearIECache)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RmRf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(FinderListHeap)->Unit(benchmark::kMillisecond)->Iterations(1);
