#include "menu_test_support.h"

#include "platform/controls/menu/menu_model.h"
#include "platform/gdi/gdi.h"
#include "platform/user/ui_thread.h"

namespace menutest {

std::vector<Recorded> MenuTest::log_;
std::vector<Step> MenuTest::steps_;
size_t MenuTest::nextStep_ = 0;
std::function<void(UINT, WPARAM, LPARAM)> MenuTest::hook_;

namespace {

constexpr const WCHAR* kOwnerClass = u"MenuTestOwner";

bool IsMenuMessage(UINT m) {
    switch (m) {
        case WM_INITMENUPOPUP:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
        case WM_COMMAND:
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_TIMER:
            return true;
        default:
            return false;
    }
}

void InjectEvent(platform::InputEvent::Kind kind, int x, int y, UINT vk) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.vk = vk;
    platform::InjectInput(e);
}

}  // namespace

LRESULT CALLBACK MenuTest::OwnerProc(HWND hwnd, UINT m, WPARAM wp, LPARAM lp) {
    if (hook_)
        hook_(m, wp, lp);
    if (IsMenuMessage(m)) {
        Recorded r{m, wp, lp};
        if (m == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            r.measure = *mis;
            mis->itemWidth = kOwnerWidth;
            mis->itemHeight = kOwnerHeight;
        } else if (m == WM_DRAWITEM) {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            r.draw = *dis;
            const HBRUSH brush = CreateSolidBrush(kOwnerColor);
            RECT inner = dis->rcItem;
            InflateRect(&inner, -4, -4);
            FillRect(dis->hDC, &inner, brush);
            DeleteObject(brush);
        }
        log_.push_back(r);
        if (m == WM_MEASUREITEM || m == WM_DRAWITEM)
            return TRUE;
    }
    return DefWindowProcW(hwnd, m, wp, lp);
}

void MenuTest::SetUp() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = kOwnerClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
    RegisterClassW(&wc);
    const RECT work = platform::WorkArea();
    owner_ = CreateWindowExW(0, kOwnerClass, u"Owner", WS_VISIBLE, work.left, work.top,
                             work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    Pump();
    log_.clear();
    menusAtStart_ = platform::menu::LiveMenuCount();
}

void MenuTest::TearDown() {
    platform::SetIdleHandler({});
    hook_ = nullptr;
    steps_.clear();
    DestroyWindow(owner_);
    Pump();
    log_.clear();
    EXPECT_TRUE(platform::DescribeOpenMenus().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    // Every test destroys the menus it made.
    EXPECT_EQ(platform::menu::LiveMenuCount(), menusAtStart_);
}

std::vector<Recorded> MenuTest::Of(UINT message) const {
    std::vector<Recorded> out;
    for (const Recorded& r : log_) {
        if (r.message == message)
            out.push_back(r);
    }
    return out;
}

std::vector<UINT> MenuTest::MenuMessages() const {
    std::vector<UINT> out;
    for (const Recorded& r : log_)
        out.push_back(r.message);
    return out;
}

void MenuTest::Script(std::vector<Step> steps) {
    steps_ = std::move(steps);
    nextStep_ = 0;
    platform::SetIdleHandler([]() -> DWORD {
        const auto open = platform::DescribeOpenMenus();
        if (open.empty())
            return INFINITE;
        if (nextStep_ >= steps_.size()) {
            ADD_FAILURE() << "the script ended while a menu was still open";
            EndMenu();
            return 0;
        }
        static int retries = 0;
        if (!steps_[nextStep_](open)) {
            if (++retries < 1000)
                return 5;
            ADD_FAILURE() << "step " << nextStep_ << " waited too long";
            EndMenu();
        }
        retries = 0;
        ++nextStep_;
        return 0;
    });
}

void MenuTest::Pump() {
    MSG m;
    for (int i = 0; i < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void MenuTest::Down(POINT p) {
    InjectEvent(platform::InputEvent::Kind::StylusDown, p.x, p.y, 0);
}

void MenuTest::Up(POINT p) {
    InjectEvent(platform::InputEvent::Kind::StylusUp, p.x, p.y, 0);
}

void MenuTest::Tap(POINT p) {
    Down(p);
    Up(p);
}

void MenuTest::Key(UINT vk) {
    InjectEvent(platform::InputEvent::Kind::KeyDown, 0, 0, vk);
    InjectEvent(platform::InputEvent::Kind::KeyUp, 0, 0, vk);
}

}  // namespace menutest
