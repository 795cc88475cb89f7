#include "shell_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <span>

#include "platform/controls/menu.h"
#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"

namespace shelltest {
namespace {

constexpr platform::SoftKeyResource kUpMenuKeys[] = {{kUp, 8, platform::kSoftKeyNoMenu, true},
                                                     {kMenu, 9, 0, true}};
constexpr platform::SoftKeyResource kTwoCommandKeys[] = {{kDone, 6}, {kCancel, 7}};
constexpr platform::SoftKeyBarResource kBars[] = {
    {kUpMenuBar, kBarMenu, std::span(kUpMenuKeys)},
    {kTwoCommandBar, 0, std::span(kTwoCommandKeys)},
};

constexpr platform::MenuItemResource kSortItems[] = {{MF_STRING, 32828, u"Name"},
                                                     {MF_STRING, 32829, u"Date"}};
constexpr platform::MenuItemResource kBarMenuItems[] = {
    {MF_POPUP, 0, u"Menu", std::span(kSortItems)}};
constexpr platform::MenuItemResource kPopupBarItems[] = {
    {MF_STRING, kDone, u"Done"}, {MF_POPUP, 0, u"Sort", std::span(kSortItems)}};
constexpr platform::MenuResource kMenus[] = {{kBarMenu, std::span(kBarMenuItems)},
                                             {kPopupMenuBar, std::span(kPopupBarItems)}};

LPCWSTR StringFor(UINT id) {
    switch (id) {
        case 6:
            return u"Done";
        case 7:
            return u"Cancel";
        case 8:
            return u"Up";
        case 9:
            return u"Menu";
        default:
            return nullptr;
    }
}

}  // namespace

void ShellTest::SetUp() {
    UserTest::SetUp();
    platform::ResourceCatalogue catalogue;
    catalogue.softKeyBars = kBars;
    catalogue.menus = kMenus;
    platform::SetResourceCatalogue(catalogue);
    platform::SetStringTable(StringFor);
}

void ShellTest::TearDown() {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SipShowIM(SIPF_OFF);
    UserTest::TearDown();
    platform::RefreshShell();
}

HWND ShellTest::CreateFront(const RECT& r, const WCHAR* title, DWORD exStyle) {
    const HWND hwnd = CreateTop(r, WS_VISIBLE, title, usertest::kRecClass, exStyle);
    SetForegroundWindow(hwnd);
    Pump();
    return hwnd;
}

HWND ShellTest::MakeBar(HWND owner, UINT resource, DWORD flags, DWORD cbSize) {
    SHMENUBARINFO info{};
    info.cbSize = cbSize;
    info.hwndParent = owner;
    info.nToolBarId = resource;
    info.dwFlags = flags;
    if (!SHCreateMenuBar(&info))
        return nullptr;
    platform::RefreshShell();
    Pump();
    return info.hwndMB;
}

void ShellTest::Tap(int x, int y) {
    Inject(platform::InputEvent::Kind::StylusDown, x, y);
    Inject(platform::InputEvent::Kind::StylusUp, x, y);
}

void ShellTest::Key(UINT vk) {
    Inject(platform::InputEvent::Kind::KeyDown, 0, 0, vk);
    Inject(platform::InputEvent::Kind::KeyUp, 0, 0, vk);
}

std::vector<UINT> ShellTest::Commands(HWND hwnd) {
    std::vector<UINT> out;
    for (const usertest::Recorded& r : Log().Of(WM_COMMAND)) {
        if (r.hwnd == hwnd)
            out.push_back(LOWORD(r.wParam));
    }
    return out;
}

RECT ShellTest::WindowRectOf(HWND hwnd) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    return r;
}

std::string ShellTest::Screenshot(const std::string& name) {
    const char* build = std::getenv("PICTARIUM_BUILD_DIR");
    const std::filesystem::path dir = std::filesystem::path(build ? build : ".") / "screens";
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    const std::string path = (dir / (name + ".png")).string();
    EXPECT_TRUE(platform::WriteScreenshotPng(platform::GetDisplay().Screen(), path));
    return path;
}

}  // namespace shelltest
