#include "controls_test_support.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "platform/user/user.h"

namespace controlstest {
namespace {

constexpr const WCHAR* kParentClass = u"ControlsRecordingParent";

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_VSCROLL:
            Notes().push_back({message, wParam, lParam});
            if (OnNote())
                OnNote()(Notes().back());
            return 0;
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            Notes().push_back({message, wParam, lParam, dis->itemAction, dis->itemState});
            return TRUE;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

void Inject(platform::InputEvent::Kind kind, int x, int y, UINT vk) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.vk = vk;
    platform::InjectInput(e);
}

}  // namespace

std::function<void(const Note&)>& OnNote() {
    static std::function<void(const Note&)> hook;
    return hook;
}

std::vector<Note>& Notes() {
    static std::vector<Note> notes;
    return notes;
}

std::vector<WORD> CommandCodes(int id) {
    std::vector<WORD> codes;
    for (const Note& n : Notes()) {
        if (n.message == WM_COMMAND && LOWORD(n.wParam) == id)
            codes.push_back(HIWORD(n.wParam));
    }
    return codes;
}

std::vector<std::pair<WORD, int>> ScrollCodes() {
    std::vector<std::pair<WORD, int>> codes;
    for (const Note& n : Notes()) {
        if (n.message == WM_VSCROLL)
            codes.emplace_back(LOWORD(n.wParam), static_cast<SHORT>(HIWORD(n.wParam)));
    }
    return codes;
}

void ControlsTest::SetUp() {
    platform::RegisterControlClasses();
    WNDCLASSW existing{};
    if (!GetClassInfoW(nullptr, kParentClass, &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
        wc.lpszClassName = kParentClass;
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    const RECT work = platform::WorkArea();
    parent_ = CreateWindowExW(0, kParentClass, u"Parent", WS_VISIBLE, work.left, work.top,
                              work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                              nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    Pump();
    Notes().clear();
}

void ControlsTest::TearDown() {
    platform::SetIdleHandler({});
    OnNote() = nullptr;
    std::vector<HWND> tops;
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&tops));
    for (HWND hwnd : tops) {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }
    ReleaseCapture();
    Inject(platform::InputEvent::Kind::KeyUp, 0, 0, VK_SHIFT);
    Pump();
    Notes().clear();
}

HWND ControlsTest::CreateControl(LPCWSTR cls, LPCWSTR text, DWORD style, RECT r, int id) {
    const HWND hwnd =
        CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, parent_,
                        reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
    Pump();
    Notes().clear();
    return hwnd;
}

void ControlsTest::Pump() {
    MSG m;
    for (int i = 0; i < 100000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (m.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void ControlsTest::StylusDown(int x, int y) {
    Inject(platform::InputEvent::Kind::StylusDown, x, y, 0);
    Pump();
}
void ControlsTest::StylusMove(int x, int y) {
    Inject(platform::InputEvent::Kind::StylusMove, x, y, 0);
    Pump();
}
void ControlsTest::StylusUp(int x, int y) {
    Inject(platform::InputEvent::Kind::StylusUp, x, y, 0);
    Pump();
}
void ControlsTest::Tap(int x, int y) {
    StylusDown(x, y);
    StylusUp(x, y);
}
void ControlsTest::Key(UINT vk) {
    QueueKey(vk);
    Pump();
}

POINT ControlsTest::CentreOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void QueueTap(int x, int y) {
    Inject(platform::InputEvent::Kind::StylusDown, x, y, 0);
    Inject(platform::InputEvent::Kind::StylusUp, x, y, 0);
}

void QueueKey(UINT vk) {
    Inject(platform::InputEvent::Kind::KeyDown, 0, 0, vk);
    Inject(platform::InputEvent::Kind::KeyUp, 0, 0, vk);
}

HWND ActiveDialog() {
    return GetActiveWindow();
}

void DriveModal(std::vector<std::function<void()>> steps) {
    auto remaining = std::make_shared<std::vector<std::function<void()>>>(std::move(steps));
    auto next = std::make_shared<size_t>(0);
    auto idleTurns = std::make_shared<int>(0);
    platform::SetIdleHandler([remaining, next, idleTurns]() -> DWORD {
        if (*next < remaining->size()) {
            (*remaining)[(*next)++]();
            return 0;
        }
        if (++*idleTurns > 50) {
            *idleTurns = 0;
            EndDialog(ActiveDialog(), kStuck);
        }
        return 1;
    });
}

bool NearColor(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 8 && std::abs(GetBValue(a) - GetBValue(b)) <= 8;
}

std::string SaveScreen(const std::string& name) {
    const char* build = getenv("PICTARIUM_BUILD_DIR");
    const std::filesystem::path folder = std::filesystem::path(build ? build : ".") / "screens";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::string path = (folder / name).string();
    EXPECT_TRUE(platform::WriteScreenshotPng(platform::GetDisplay().Screen(), path));
    return path;
}

}  // namespace controlstest
