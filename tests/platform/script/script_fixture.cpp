#include "script_fixture.h"

#include <stdlib.h>

#include <chrono>
#include <fstream>

#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/script/script.h"
#include "platform/user/user.h"

namespace platform::test {
namespace {

constexpr const WCHAR* kWindowClass = u"ScriptTestWindow";
constexpr const WCHAR* kChildClass = u"ScriptTestChild";
constexpr UINT_PTR kWatchdogTimer = 0x5AFE;
constexpr UINT kWatchdogMs = 20000;

unsigned long long NowMs() {
    using namespace std::chrono;
    return static_cast<unsigned long long>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void PaintHalves(HWND hwnd) {
    PAINTSTRUCT ps{};
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client{};
    GetClientRect(hwnd, &client);
    const LONG middle = client.right / 2;
    const RECT left{0, 0, middle, client.bottom};
    const RECT right{middle, 0, client.right, client.bottom};
    ScopedGdiObject leftBrush(CreateSolidBrush(kLeftColour));
    ScopedGdiObject rightBrush(CreateSolidBrush(kRightColour));
    FillRect(hdc, &left, static_cast<HBRUSH>(leftBrush.Get()));
    FillRect(hdc, &right, static_cast<HBRUSH>(rightBrush.Get()));
    EndPaint(hwnd, &ps);
}

// Runs a nested message loop, as a modal dialog would, until Escape is pressed.
void RunModalLoop() {
    SeenMessages& seen = Seen();
    seen.inModalLoop = true;
    MSG msg;
    while (seen.inModalLoop) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void RecordInput(UINT message, WPARAM wParam, LPARAM lParam) {
    SeenMessages& seen = Seen();
    seen.input.push_back({message, wParam, lParam, NowMs()});
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE && seen.inModalLoop) {
        seen.escapeInModalLoop = true;
        seen.inModalLoop = false;
    }
}

LRESULT TestWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SeenMessages& seen = Seen();
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_KEYUP:
            RecordInput(message, wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            RecordInput(message, wParam, lParam);
            if (wParam == VK_DELETE)
                DestroyWindow(hwnd);  // the program closing itself in the middle of a script
            return 0;
        case WM_LBUTTONUP:
            RecordInput(message, wParam, lParam);
            if (seen.modalOnNextUp) {
                seen.modalOnNextUp = false;
                RunModalLoop();
            }
            return 0;
        case WM_TIMER:
            if (wParam == kWatchdogTimer) {
                seen.watchdogFired = true;
                DestroyWindow(hwnd);
            } else {
                ++seen.timers;
            }
            return 0;
        case WM_CLOSE:
            ++seen.closes;
            break;
        case WM_SETTINGCHANGE:
            ++seen.settingChanges;
            break;
        case WM_PAINT:
            PaintHalves(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterTestClass(const WCHAR* name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassW(&wc);  // already registered by an earlier test: fine
}

}  // namespace

std::vector<SeenMessages::Entry> SeenMessages::Only(UINT message) const {
    std::vector<Entry> result;
    for (const Entry& e : input) {
        if (e.message == message)
            result.push_back(e);
    }
    return result;
}

SeenMessages& Seen() {
    static SeenMessages seen;
    return seen;
}

std::filesystem::path MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "script-test-XXXXXX").string();
    EXPECT_NE(mkdtemp(pattern.data()), nullptr);
    return pattern;
}

CurrentFolder::CurrentFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

CurrentFolder::~CurrentFolder() {
    std::filesystem::current_path(previous_);
}

void ScriptRunTest::SetUp() {
    InstallDisplay(CreateHeadlessBackend(DeviceProfile{}));
    Seen() = SeenMessages{};
    dir_ = MakeTempFolder();
    RegisterTestClass(kWindowClass, TestWindowProc);
    RegisterTestClass(kChildClass, DefWindowProcW);
    hwnd_ = CreateWindowExW(0, kWindowClass, u"Script test", WS_POPUP | WS_VISIBLE, kWindowOrigin.x,
                            kWindowOrigin.y, kWindowSize.cx, kWindowSize.cy, nullptr, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
    child_ = CreateWindowExW(0, kChildClass, u"child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, hwnd_,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(child_, nullptr);
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
    SetTimer(hwnd_, kWatchdogTimer, kWatchdogMs, nullptr);
}

void ScriptRunTest::TearDown() {
    UnloadScript();
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    // A test that stopped early leaves the WM_QUIT of the window's destruction behind.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

std::string ScriptRunTest::WriteScript(const std::string& script) {
    const std::string path = (dir_ / "s.txt").string();
    std::ofstream(path, std::ios::binary) << script;
    return path;
}

void ScriptRunTest::Run(const std::string& script) {
    std::string error;
    ASSERT_TRUE(LoadScript(WriteScript(script), error)) << error;
    PumpUntilClosed();
}

void ScriptRunTest::PumpUntilClosed() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_FALSE(Seen().watchdogFired) << "the script did not close the window";
}

}  // namespace platform::test
