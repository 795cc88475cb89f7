// The thumbnail grid's first page: 12 thumbnails of 12-MP JPEGs fitted to a 68x66 cell through
// the image control, against the imaging service's own thumbnail of the same pictures (open,
// GetThumbnail at 68x66, release) in the same run; each pair is printed with its ratio. The
// pictures come from bench/imaging/make_corpus.sh, made once into IMAGE_CTRL_CORPUS (default
// build/image-ctrl-corpus under the current folder), each plain and with an EXIF thumbnail.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/control/image_ctrl.h"
#include "platform/core/com_ptr.h"
#include "platform/fs/device.h"
#include "platform/gdi/gdi.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPageSize = 12;
constexpr int kCellWidth = 68;  // the grid's 70x68 cell less its 2-pixel frame
constexpr int kCellHeight = 66;

// Device paths of the page's pictures in one set ("12mp" or "12mp-exif").
std::vector<std::u16string> Page(const char* set) {
    std::vector<std::u16string> paths;
    for (int i = 0; i < kPageSize; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\%s\\pic_%02d.jpg", set, i);
        paths.emplace_back(name, name + std::char_traits<char>::length(name));
    }
    return paths;
}

void ImageCtrlPage(benchmark::State& state, const char* set) {
    const std::vector<std::u16string> paths = Page(set);
    ImageCtrl* ctrl = GetImageCtrl();
    for (auto _ : state) {
        for (const std::u16string& path : paths) {
            RECT rect{};
            HBITMAP bitmap = ctrl->GetThumbnail(path.c_str(), &rect, kCellWidth, kCellHeight);
            if (!bitmap) {
                state.SkipWithError("GetThumbnail failed");
                return;
            }
            DeleteObject(bitmap);
        }
    }
    state.SetItemsProcessed(state.iterations() * kPageSize);
}

void ServicePage(benchmark::State& state, const char* set) {
    const std::vector<std::u16string> paths = Page(set);
    IImagingFactory* factory = GetImageCtrl()->Factory();
    for (auto _ : state) {
        for (const std::u16string& path : paths) {
            ComPtr<IImage> image;
            ComPtr<IImage> thumb;
            if (FAILED(
                    factory->CreateImageFromFile(path.c_str(), image.ReleaseAndGetAddressOf())) ||
                FAILED(
                    image->GetThumbnail(kCellWidth, kCellHeight, thumb.ReleaseAndGetAddressOf()))) {
                state.SkipWithError("the service's thumbnail failed");
                return;
            }
            benchmark::DoNotOptimize(thumb.Get());
        }
    }
    state.SetItemsProcessed(state.iterations() * kPageSize);
}

BENCHMARK_CAPTURE(ImageCtrlPage, plain, "12mp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ServicePage, plain, "12mp")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ImageCtrlPage, exif, "12mp-exif")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ServicePage, exif, "12mp-exif")->Unit(benchmark::kMillisecond)->UseRealTime();

// The console report, then each set's image-control time over the service's: the mean over
// the repetitions, wall and CPU (the CPU ratio holds steadier on a busy machine).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            Totals& totals = times_[run.run_name.function_name];
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean") {
                // With repetitions the mean is reported (alone, when aggregates only).
                totals = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), 1, true};
            } else if (run.run_type == Run::RT_Iteration && !totals.isMean) {
                totals.real += run.GetAdjustedRealTime();
                totals.cpu += run.GetAdjustedCPUTime();
                totals.runs += 1;
            }
        }
    }
    void PrintRatios() const {
        for (const std::string set : {"plain", "exif"}) {
            const auto ctrl = times_.find("ImageCtrlPage/" + set);
            const auto service = times_.find("ServicePage/" + set);
            if (ctrl == times_.end() || service == times_.end())
                continue;
            const Totals& c = ctrl->second;
            const Totals& s = service->second;
            std::printf(
                "%s: image control %.2f ms per page (cpu %.2f), service %.2f ms (cpu %.2f); "
                "ratio %.2f (cpu %.2f)\n",
                set.c_str(), c.real / c.runs, c.cpu / c.runs, s.real / s.runs, s.cpu / s.runs,
                (c.real / c.runs) / (s.real / s.runs), (c.cpu / c.runs) / (s.cpu / s.runs));
        }
    }

  private:
    struct Totals {
        double real = 0;
        double cpu = 0;
        int runs = 0;
        bool isMean = false;
    };
    std::map<std::string, Totals> times_;
};

// Makes the corpus when missing and a device whose folders are the corpus's sets.
fs::path PrepareDevice() {
    const char* configured = std::getenv("IMAGE_CTRL_CORPUS");
    const fs::path corpus = fs::absolute(configured ? configured : "build/image-ctrl-corpus");
    const fs::path script = fs::path(__FILE__).parent_path() / "imaging" / "make_corpus.sh";
    const std::string command =
        "bash '" + script.string() + "' '" + corpus.string() + "' " + std::to_string(kPageSize);
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot make the corpus with " + script.string());
    char pattern[] = "/tmp/image-ctrl-bench-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot make the device folder");
    const fs::path root = pattern;
    for (const char* set : {"12mp", "12mp-exif"})
        fs::create_directory_symlink(corpus / set, root / set);
    if (!platform::ConfigureDevice(root.string(), ""))
        throw std::runtime_error("cannot use " + root.string() + " as the device root");
    return root;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    fs::path root;
    try {
        root = PrepareDevice();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "image_ctrl_thumbnail_bench: %s\n", error.what());
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    DestroyImageCtrl();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(root, ignored);  // the links only, never the corpus behind them
    return 0;
}
