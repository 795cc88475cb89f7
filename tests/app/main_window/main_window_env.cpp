#include "tests/app/main_window/main_window_env.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "app/host/host_setup.h"
#include "app/log/ppc_log.h"
#include "catalogue/container/media_container.h"
#include "platform/core/wstring.h"
#include "platform/display/display.h"
#include "platform/fs/device.h"
#include "platform/registry/registry.h"
#include "platform/user/script/state.h"
#include "platform/user/user.h"

namespace mainwndtest {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

const std::vector<FileSpec>& PicsFiles() {
    // Name order, date order and size order all differ.
    static const std::vector<FileSpec> files = {
        {"beach.bmp", 3, 50}, {"cat.bmp", 9, 10},   {"dune.bmp", 1, 30},
        {"elm.bmp", 6, 70},   {"notes.txt", 2, 20}, {"plan.txt", 12, 40},
    };
    return files;
}

int PictureCount() {
    return 4;
}

void MainWindowTest::SetUp() {
    ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", ""));
    ASSERT_TRUE(platform::ConfigureRegistry(dir_ / "registry.db"));
    InstallUserInterface();
    g_pLog = CPPCLog::getInstance();
    // The direction flags are process-wide; every test starts from the program's start values.
    CMediaContainer::s_bNameAscending = 1;
    CMediaContainer::s_bDateNewestFirst = 1;
    CMediaContainer::s_bSizeSmallestFirst = 1;

    std::filesystem::create_directories(Host("\\My Documents\\Pics\\Sub"));
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const FileSpec& f : PicsFiles()) {
        const std::string path = std::string("\\My Documents\\Pics\\") + f.name;
        if (std::string(f.name).ends_with(".bmp")) {
            WritePicture(path, 16, 12, f.kilobytes);
        } else {
            std::ofstream(Host(path)) << std::string(static_cast<size_t>(f.kilobytes) * 1024, 'x');
        }
        std::filesystem::last_write_time(Host(path), now - std::chrono::hours(f.hoursOld));
    }
}

void MainWindowTest::TearDown() {
    CMainWnd::Destroy();
    wnd_ = nullptr;
    Pump();
    // The screen is the process's: the next test starts in portrait again.
    if (GetSystemMetrics(SM_CXSCREEN) > GetSystemMetrics(SM_CYSCREEN))
        Inject(platform::InputEvent::Kind::Rotate);
    std::vector<HWND> tops;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tops));
    for (HWND hwnd : tops) {
        WCHAR cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        // The shell's own bars stay; program windows a test left behind go.
        if (std::u16string_view(cls) == u"QUORVANE")
            DestroyWindow(hwnd);
    }
    Pump();
    ReleaseCPPCLog();
    g_pLog = nullptr;
    platform::CloseRegistry();
}

CMainWnd* MainWindowTest::Open(DWORD filter, const WCHAR* folder) {
    wnd_ = CMainWnd::GetOrCreate(SOURCE_NONE);
    if (wnd_ == nullptr)
        return nullptr;
    wnd_->Initialize(SOURCE_NONE, OPEN_FOLDER, filter, folder);
    Pump();
    return wnd_;
}

platform::test::JsonValue MainWindowTest::State() const {
    const auto doc = platform::test::JsonReader::Parse(platform::StateJson());
    EXPECT_TRUE(doc.has_value());
    if (!doc)
        return {};
    const platform::test::JsonValue* section = doc->Find("mainWindow");
    EXPECT_NE(section, nullptr);
    return section != nullptr ? *section : platform::test::JsonValue{};
}

platform::test::JsonValue MainWindowTest::ShellBar() const {
    const auto doc = platform::test::JsonReader::Parse(platform::StateJson());
    if (!doc)
        return {};
    const platform::test::JsonValue* shell = doc->Find("shell");
    const platform::test::JsonValue* bars = shell != nullptr ? shell->Find("menuBars") : nullptr;
    if (bars == nullptr)
        return {};
    for (const platform::test::JsonValue& bar : bars->items) {
        const platform::test::JsonValue* owner = bar.Find("owner");
        const platform::test::JsonValue* cls = owner != nullptr ? owner->Find("class") : nullptr;
        if (cls != nullptr && cls->text == "QUORVANE")
            return bar;
    }
    return {};
}

std::vector<std::string> MainWindowTest::ShownNames() const {
    std::vector<std::string> names;
    CMediaContainer* container = CMediaContainer::GetMediaContainer();
    for (CMediaItem* item : container->ShownItems())
        names.push_back(platform::ToUtf8(std::u16string_view(item->m_szName)));
    return names;
}

void MainWindowTest::Pump() {
    MSG m;
    for (int i = 0; i < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (m.message == WM_QUIT)
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void MainWindowTest::Inject(platform::InputEvent::Kind kind, int x, int y) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    platform::InjectInput(e);
    Pump();
}

void MainWindowTest::TapClient(POINT pt) {
    ClientToScreen(wnd_->GetHwnd(), &pt);
    Inject(platform::InputEvent::Kind::StylusDown, pt.x, pt.y);
    Inject(platform::InputEvent::Kind::StylusUp, pt.x, pt.y);
}

void MainWindowTest::WritePicture(const std::string& devicePath, int w, int h,
                                  int kilobytes) const {
    const std::uint32_t stride = static_cast<std::uint32_t>((w * 3 + 3) & ~3);
    const std::uint32_t pixels = stride * static_cast<std::uint32_t>(h);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + pixels, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(w), 4);
    PutLe(out, static_cast<std::uint32_t>(h), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, pixels, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            out.push_back(static_cast<std::uint8_t>(x * 4));  // blue
            out.push_back(static_cast<std::uint8_t>(y * 5));  // green
            out.push_back(static_cast<std::uint8_t>(200));    // red
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    // Trailing bytes after the pixel data are ignored by readers; they give the file its size.
    if (out.size() < static_cast<size_t>(kilobytes) * 1024)
        out.resize(static_cast<size_t>(kilobytes) * 1024, 0);
    std::ofstream(Host(devicePath), std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

std::string MainWindowTest::Host(const std::string& devicePath) const {
    std::string host = dir_ / "device";
    for (char c : devicePath)
        host += c == '\\' ? '/' : c;
    return host;
}

}  // namespace mainwndtest
