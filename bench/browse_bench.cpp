// Browsing on the headless 240 x 400 screen: paging a grid row by row through a folder of 10,000
// entries, and the time from loading a folder to its first painted grid (icons and placeholders)
// and to the last decoded thumbnail of the first page, on the demo camera folder and on 200
// 12-MP JPEGs with and without embedded EXIF thumbnails.
//
// The text folder is made once under build/bench-corpus/browse/; the JPEGs are the image-control
// bench's corpus (IMAGE_CTRL_CORPUS, default build/image-ctrl-corpus, made when missing), linked
// 200 times into the device so no extra 12-MP files are encoded. The demo camera folder is
// generated afresh on every run. Run with SDL_VIDEODRIVER=dummy and XDG_RUNTIME_DIR set.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/host/host_setup.h"
#include "app/host/options.h"
#include "app/log/ppc_log.h"
#include "browser/browser_owner.h"
#include "browser/thumbnail_view.h"
#include "catalogue/container/media_container.h"
#include "demo/demo_device.h"
#include "imaging/control/image_ctrl.h"
#include "platform/fs/device.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/user/user.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTextEntries = 10'000;
constexpr int kRowsDown = 1'000;
constexpr int kJpegEntries = 200;
constexpr int kCorpusPictures = 12;  // what the image-control bench makes; shared with it
constexpr const char16_t* kTextFolder = u"\\Text10000";
constexpr const char16_t* kCameraFolder = u"\\My Documents\\DCIM\\100HVCAM";

fs::path BuildDir() {
    // <build>/<tree>/bench/browse_bench: keep the corpus beside the build trees.
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path();
}

// The device root: persistent, so the 10,000 files are written once.
fs::path DeviceRoot() {
    if (const char* dir = std::getenv("PICTARIUM_BENCH_CORPUS"))
        return fs::path(dir) / "browse";
    return BuildDir() / "bench-corpus" / "browse";
}

// Small text files: the grid shows them as icons, so paging measures the grid, not decoding.
void MakeTextFolder(const fs::path& root) {
    const fs::path folder = root / "Text10000";
    const fs::path marker = root / "text10000.complete";
    if (fs::exists(marker))
        return;
    std::fprintf(stderr, "making %d files in %s\n", kTextEntries, folder.c_str());
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < kTextEntries; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "note_%05d.txt", i);
        std::ofstream(folder / name) << "note " << i << "\n";
    }
    std::ofstream(marker) << kTextEntries << "\n";
}

// 200 entries per set, each a hard link (a copy across file systems) to one of the corpus's
// pictures in turn.
void MakeJpegFolders(const fs::path& root) {
    const char* configured = std::getenv("IMAGE_CTRL_CORPUS");
    const fs::path corpus =
        fs::absolute(configured ? fs::path(configured) : BuildDir() / "image-ctrl-corpus");
    const fs::path script = fs::path(__FILE__).parent_path() / "imaging" / "make_corpus.sh";
    const std::string command = "bash '" + script.string() + "' '" + corpus.string() + "' " +
                                std::to_string(kCorpusPictures);
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("cannot make the corpus with " + script.string());
    for (const char* set : {"12mp", "12mp-exif"}) {
        const fs::path folder = root / (std::string("Jpeg200-") + set);
        const fs::path marker = root / (std::string("jpeg200-") + set + ".complete");
        if (fs::exists(marker))
            continue;
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (int i = 0; i < kJpegEntries; ++i) {
            char source[32];
            char name[32];
            std::snprintf(source, sizeof source, "pic_%02d.jpg", i % kCorpusPictures);
            std::snprintf(name, sizeof name, "photo_%03d.jpg", i);
            std::error_code error;
            fs::create_hard_link(corpus / set / source, folder / name, error);
            if (error)
                fs::copy_file(corpus / set / source, folder / name);
        }
        std::ofstream(marker) << kJpegEntries << "\n";
    }
}

// The demo camera folder, written again each run so it is the generator's current content. An
// empty string when it was made; otherwise why not.
std::string MakeCameraFolder(const fs::path& root) {
    std::error_code ignored;
    fs::remove_all(root / "My Documents" / "DCIM", ignored);
    demo::DemoOptions options;
    options.root = root.string();
    std::string error;
    if (!demo::GenerateDemoDevice(options, error))
        return "the demo device could not be generated: " + error;
    const fs::path camera = root / "My Documents" / "DCIM" / "100HVCAM";
    if (!fs::is_directory(camera) || fs::is_empty(camera))
        return "the demo device generator made no camera folder yet (still a skeleton?)";
    return {};
}

std::string g_cameraSkipReason = "not prepared";

// A plain owner: the bench draws no sort name and offers no sub-menus.
class BenchOwner : public IBrowserOwner {
  public:
    void PrepareSendMenu(HMENU) override {}
    void PrepareSetAsMenu(HMENU) override {}
    RECT GetFolderNameRect() const override { return RECT{0, 0, 160, 20}; }
    void DrawSortName(HDC) override {}
    void OnFolderChanged() override {}
};

// The grid is painted (cells, icons, placeholders) before the decoder loop starts; the loop's
// end is the last thumbnail of the page.
class TimedThumbnailView : public CThumbnailView {
  public:
    void DecodeVisibleThumbnails() override {
        gridPainted = Clock::now();
        CThumbnailView::DecodeVisibleThumbnails();
        lastThumbnail = Clock::now();
    }
    Clock::time_point gridPainted;
    Clock::time_point lastThumbnail;
};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND g_parent = nullptr;
BenchOwner g_owner;

HWND MakeParent() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"BrowseBenchParent";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&wc);
    // The main window's client area under the 26-pixel task bar.
    return CreateWindowExW(0, u"BrowseBenchParent", u"Browse", WS_VISIBLE, 0, 26, 240, 348, nullptr,
                           nullptr, nullptr, nullptr);
}

// Runs the window's pending messages (paint and timers), as the message loop would.
void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool LoadShown(const char16_t* folder) {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    return container->LoadFolder(folder) == 1 && container->ApplyFilter(FILTER_ALL) == 1 &&
           container->Sort(0) == 1;
}

void BM_RowDown(benchmark::State& state) {
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    container->ResetSortToDate();
    if (!LoadShown(kTextFolder)) {
        state.SkipWithError("the 10,000-entry folder did not load");
        return;
    }
    auto view = std::make_unique<CThumbnailView>();
    view->Attach(g_parent, &g_owner);
    Pump();
    if (view->GetPageSize() <= 0 || view->GetLastIndex() < 0) {
        state.SkipWithError("the grid shows nothing (is the thumbnail view still a skeleton?)");
        return;
    }
    const int startFirst = view->GetFirstIndex();
    for (auto _ : state) {
        view->SetPageInfoAndScroll(PAGE_ROW_DOWN, -100);
        view->RefreshView(0);
    }
    const int rows = (view->GetFirstIndex() - startFirst) / std::max(view->GetColumns(), 1);
    if (rows != static_cast<int>(state.iterations()))
        state.SkipWithError("the grid did not move one row per step");
    state.counters["rows"] = rows;
    state.counters["columns"] = view->GetColumns();
    state.SetItemsProcessed(state.iterations());
    view.reset();
    CMediaContainer::ReleaseMediaContainer();
}

// From LoadFolder to the painted grid and to the page's last thumbnail; the manual time is the
// latter, the grid time a counter.
void FirstPage(benchmark::State& state, const char16_t* folder) {
    if (folder == kCameraFolder && !g_cameraSkipReason.empty()) {
        state.SkipWithError(g_cameraSkipReason.c_str());
        return;
    }
    double gridSeconds = 0;
    int visible = 0;
    for (auto _ : state) {
        CMediaContainer* container = CMediaContainer::GetMediaContainer();
        container->ResetSortToDate();
        const Clock::time_point start = Clock::now();
        auto view = std::make_unique<TimedThumbnailView>();
        if (!LoadShown(folder)) {
            state.SkipWithError("the folder did not load");
            return;
        }
        view->Attach(g_parent, &g_owner);
        if (view->lastThumbnail < start) {
            state.SkipWithError("the view never decoded (is it still a skeleton?)");
            return;
        }
        gridSeconds += std::chrono::duration<double>(view->gridPainted - start).count();
        state.SetIterationTime(std::chrono::duration<double>(view->lastThumbnail - start).count());
        visible = view->GetLastIndex() - view->GetFirstIndex() + 1;
        view.reset();
        CMediaContainer::ReleaseMediaContainer();
        Pump();
    }
    state.counters["grid_ms"] =
        benchmark::Counter(gridSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["cells"] = visible;
}

void SetUpProgram(const fs::path& root) {
    // Keep the registry and everything the platform writes out of the user's folders.
    setenv("XDG_CONFIG_HOME", (root / "xdg-config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "xdg-data").c_str(), 1);
    platform::ConfigureRegistry((root / "registry.db").string());
    if (!platform::ConfigureDevice(root.string(), ""))
        throw std::runtime_error("cannot use " + root.string() + " as the device root");
    HostOptions options;
    options.headless = true;
    InstallScreen(options, "browse_bench");
    InstallUserInterface();
    g_pLog = CPPCLog::getInstance();
    CThumbnailView::RegisterWindowClass();
    g_parent = MakeParent();
    if (!g_parent)
        throw std::runtime_error("cannot create the parent window");
    Pump();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const fs::path root = DeviceRoot();
    try {
        fs::create_directories(root);
        MakeTextFolder(root);
        MakeJpegFolders(root);
        SetUpProgram(root);
        g_cameraSkipReason = MakeCameraFolder(root);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "browse_bench: %s\n", error.what());
        return 1;
    }
    if (!g_cameraSkipReason.empty())
        std::fprintf(stderr, "browse_bench: camera folder skipped: %s\n",
                     g_cameraSkipReason.c_str());

    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark("BM_RowDown/10000", BM_RowDown)
        ->Iterations(kRowsDown)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_FirstPage/camera", FirstPage, kCameraFolder)
        ->UseManualTime()
        ->Unit(ms);
    benchmark::RegisterBenchmark("BM_FirstPage/jpeg200", FirstPage, u"\\Jpeg200-12mp")
        ->UseManualTime()
        ->Unit(ms);
    benchmark::RegisterBenchmark("BM_FirstPage/jpeg200-exif", FirstPage, u"\\Jpeg200-12mp-exif")
        ->UseManualTime()
        ->Unit(ms);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyImageCtrl();
    ReleaseCPPCLog();
    return 0;
}
