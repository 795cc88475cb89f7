// A folder of 10,000 entries through the media container (load, filter, the three sorts) against
// the floor of reading and sorting the same folder with plain POSIX calls, and one `ls -l` run.
// The folder is made once under build/bench-corpus/ and kept; the ratios are printed at the end.
//
// Run with SDL_VIDEODRIVER=dummy and XDG_RUNTIME_DIR set, as the tests: loading shows the busy
// indicator, which needs the (headless) display.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "catalogue/container/media_container.h"
#include "platform/fs/device.h"
#include "platform/fs/find.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEntries = 10'000;
constexpr const char* kFolderName = "Folder10000";
constexpr const char16_t* kDeviceFolder = u"\\Folder10000";

fs::path CorpusRoot() {
    if (const char* dir = std::getenv("PICTARIUM_BENCH_CORPUS"))
        return dir;
    // <build>/<tree>/bench/catalogue_folder_bench: keep the corpus beside the build trees.
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() /
           "bench-corpus" / "catalogue-device";
}

fs::path HostFolder() {
    return CorpusRoot() / kFolderName;
}

// Every hundredth entry a folder; files of all four kinds, a few the classifier does not know,
// sizes from empty to several megabytes (sparse, so the corpus costs no disk), times spread over
// six years with repeats, names in mixed case.
void MakeCorpus() {
    const fs::path marker = CorpusRoot() / "catalogue-folder.complete";
    if (fs::exists(marker))
        return;
    std::fprintf(stderr, "making %d entries in %s\n", kEntries, HostFolder().c_str());
    fs::remove_all(HostFolder());
    fs::create_directories(HostFolder());
    static const char* const kExtensions[] = {".jpg", ".JPG", ".png", ".gif", ".bmp", ".txt",
                                              ".pdf", ".doc", ".mp3", ".wav", ".m4a", ".mp4",
                                              ".3gp", ".avi", ".xyz", ".AMR"};
    static const char* const kPrefixes[] = {"IMG_", "dsc", "Clip ", "song-", "Notes", "photo_"};
    std::mt19937 random(42);
    for (int i = 0; i < kEntries; ++i) {
        char name[64];
        const fs::path path = HostFolder();
        if (i % 100 == 0) {
            std::snprintf(name, sizeof name, "Album %04u", static_cast<unsigned>(random() % 9000));
            fs::create_directories(path / (std::string(name) + "_" + std::to_string(i)));
            continue;
        }
        const unsigned prefix = random() % 6;
        const unsigned extension = random() % 16;
        std::snprintf(name, sizeof name, "%s%05d%s", kPrefixes[prefix], i, kExtensions[extension]);
        const unsigned sizeBits = random() % 23;
        const off_t size = static_cast<off_t>(random() % (1u << sizeBits));
        const time_t modified = 1'500'000'000 + static_cast<time_t>(random() % 40'000) * 4800;
        const std::string file = path / name;
        const int fd = ::open(file.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, size) != 0)
            std::abort();
        const timespec times[2] = {{modified, 0}, {modified, 0}};
        ::futimens(fd, times);
        ::close(fd);
    }
    std::ofstream(marker) << kEntries << "\n";
}

// The floor: what any program must do to list and order the folder.
struct FloorEntry {
    std::string name;
    std::int64_t modified;
    std::int64_t size;
    bool folder;
};

// `withAttributes` also reads each entry's extended attribute, as the device's listing must for
// the hidden and system bits: the floor for a listing that keeps those.
std::vector<FloorEntry> ReadFloor(bool withAttributes = false) {
    std::vector<FloorEntry> entries;
    const std::string folder = HostFolder().string() + "/";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        std::abort();
    const int fd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.' &&
            (entry->d_name[1] == 0 || (entry->d_name[1] == '.' && entry->d_name[2] == 0)))
            continue;
        struct stat st;
        if (::fstatat(fd, entry->d_name, &st, 0) != 0)
            continue;
        if (withAttributes) {
            char value[16];
            const std::string path = folder + entry->d_name;
            benchmark::DoNotOptimize(
                ::getxattr(path.c_str(), "user.pictarium.attributes", value, sizeof value));
        }
        entries.push_back(
            {entry->d_name,
             static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
             static_cast<std::int64_t>(st.st_size), S_ISDIR(st.st_mode)});
    }
    ::closedir(dir);
    return entries;
}

template <typename Less>
void SortFloor(std::vector<FloorEntry>& entries, Less less) {
    std::sort(entries.begin(), entries.end(), [&](const FloorEntry& a, const FloorEntry& b) {
        if (a.folder != b.folder)
            return a.folder;
        return less(a, b);
    });
}

bool NameLess(const FloorEntry& a, const FloorEntry& b) {
    return ::strcasecmp(a.name.c_str(), b.name.c_str()) < 0;
}

void BM_Floor(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<FloorEntry> entries = ReadFloor(state.range(0) != 0);
        SortFloor(entries, NameLess);
        SortFloor(entries, [](const FloorEntry& a, const FloorEntry& b) {
            return a.modified != b.modified ? a.modified > b.modified : NameLess(a, b);
        });
        SortFloor(entries, [](const FloorEntry& a, const FloorEntry& b) {
            return a.size != b.size ? a.size < b.size : NameLess(a, b);
        });
        benchmark::DoNotOptimize(entries.data());
    }
}

void BM_FloorReadOnly(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadFloor().size());
}

void BM_LsLong(benchmark::State& state) {
    const std::string command = "ls -l '" + HostFolder().string() + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("ls -l failed");
    }
}

void Check(benchmark::State& state, bool ok, const char* what) {
    if (!ok)
        state.SkipWithError(what);
}

void BM_Container(benchmark::State& state) {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    for (auto _ : state) {
        container->ResetSortToDate();
        Check(state, container->LoadFolder(kDeviceFolder) == 1, "load failed");
        Check(state, container->ApplyFilter(FILTER_ALL) == 1, "filter failed");
        Check(state, container->Sort(SORT_BY_NAME) == 1, "sort failed");
        Check(state, container->Sort(SORT_BY_DATE) == 1, "sort failed");
        Check(state, container->Sort(SORT_BY_SIZE) == 1, "sort failed");
    }
    state.counters["shown"] = container->GetShownCount();
    CMediaContainer::ReleaseMediaContainer();
}

// The parts of the container run, each alone, to see where its time goes.
void BM_PlatformEnumerate(benchmark::State& state) {
    const std::u16string pattern = std::u16string(kDeviceFolder) + u"\\*";
    for (auto _ : state) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW(pattern.c_str(), &entry);
        int count = 0;
        if (find != INVALID_HANDLE_VALUE) {
            do {
                ++count;
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        Check(state, count > 0, "nothing listed");
    }
}

void BM_ContainerLoad(benchmark::State& state) {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    for (auto _ : state)
        Check(state, container->LoadFolder(kDeviceFolder) == 1, "load failed");
    CMediaContainer::ReleaseMediaContainer();
}

void BM_ContainerFilter(benchmark::State& state) {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->LoadFolder(kDeviceFolder);
    for (auto _ : state)
        Check(state, container->ApplyFilter(FILTER_ALL) == 1, "filter failed");
    CMediaContainer::ReleaseMediaContainer();
}

// One sort of the folder in directory order (the filter puts it back between rounds).
void BM_ContainerSort(benchmark::State& state) {
    const DWORD mode = static_cast<DWORD>(state.range(0));
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->LoadFolder(kDeviceFolder);
    for (auto _ : state) {
        state.PauseTiming();
        container->ApplyFilter(FILTER_ALL);
        container->ResetSortToDate();
        container->Sort(mode == SORT_BY_DATE ? SORT_BY_NAME : SORT_BY_DATE);
        container->ApplyFilter(FILTER_ALL);
        state.ResumeTiming();
        Check(state, container->Sort(mode) == 1, "sort failed");
    }
    CMediaContainer::ReleaseMediaContainer();
}

// Keeps each run's wall and CPU time per iteration in milliseconds for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double wall = 0;
        double cpu = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                times_[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                      run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    Times Get(const std::string& name) const {
        const auto it = times_.find(name);
        return it == times_.end() ? Times{} : it->second;
    }

  private:
    std::map<std::string, Times> times_;
};

// Wall time, and CPU time when both sides run in this process: on a busy machine other
// processes inflate wall time, and the CPU ratio is the one to trust.
void PrintRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                const std::string& theirs, double goal, bool cpu) {
    const RatioReporter::Times a = reporter.Get(ours);
    const RatioReporter::Times b = reporter.Get(theirs);
    if (a.wall <= 0 || b.wall <= 0) {
        std::printf("%-40s (not measured)\n", what);
        return;
    }
    std::printf("%-40s wall %8.2f / %8.2f ms = %5.2fx", what, a.wall, b.wall, a.wall / b.wall);
    if (cpu && a.cpu > 0 && b.cpu > 0)
        std::printf("   cpu %7.2f / %7.2f ms = %5.2fx", a.cpu, b.cpu, a.cpu / b.cpu);
    if (goal > 0) {
        const double ratio = cpu ? a.cpu / b.cpu : a.wall / b.wall;
        std::printf("   goal <= %.2fx: %s", goal, ratio <= goal ? "met" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeCorpus();
    if (!platform::ConfigureDevice(CorpusRoot().string(), "")) {
        std::fprintf(stderr, "cannot use %s as the device root\n", CorpusRoot().c_str());
        return 1;
    }
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("BM_Container", BM_Container)->Unit(ms);
    benchmark::RegisterBenchmark("BM_Floor", BM_Floor)->Unit(ms)->Arg(0);
    benchmark::RegisterBenchmark("BM_FloorWithAttributes", BM_Floor)->Unit(ms)->Arg(1);
    benchmark::RegisterBenchmark("BM_LsLong", BM_LsLong)->Unit(ms)->Iterations(5);
    benchmark::RegisterBenchmark("BM_PlatformEnumerate", BM_PlatformEnumerate)->Unit(ms);
    benchmark::RegisterBenchmark("BM_FloorReadOnly", BM_FloorReadOnly)->Unit(ms);
    benchmark::RegisterBenchmark("BM_ContainerLoad", BM_ContainerLoad)->Unit(ms);
    benchmark::RegisterBenchmark("BM_ContainerFilter", BM_ContainerFilter)->Unit(ms);
    benchmark::RegisterBenchmark("BM_ContainerSort", BM_ContainerSort)
        ->Unit(ms)
        ->Arg(SORT_BY_NAME)
        ->Arg(SORT_BY_DATE)
        ->Arg(SORT_BY_SIZE);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%d entries, per run:\n", kEntries);
    PrintRatio(reporter, "container (load+filter+3 sorts) / floor", "BM_Container", "BM_Floor", 1.5,
               true);
    PrintRatio(reporter, "container / floor with attribute reads", "BM_Container",
               "BM_FloorWithAttributes", 0, true);
    PrintRatio(reporter, "container / ls -l", "BM_Container", "BM_LsLong", 0, false);
    PrintRatio(reporter, "floor / ls -l", "BM_Floor", "BM_LsLong", 0, false);
    PrintRatio(reporter, "FindFirst/NextFileW / readdir+fstatat", "BM_PlatformEnumerate",
               "BM_FloorReadOnly", 0, true);
    PrintRatio(reporter, "FindFirst/NextFileW / floor", "BM_PlatformEnumerate", "BM_Floor", 0,
               true);
    PrintRatio(reporter, "container load / FindFirst/NextFileW", "BM_ContainerLoad",
               "BM_PlatformEnumerate", 0, true);
    return 0;
}
