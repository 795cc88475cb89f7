#include "tests/catalogue/storage/storage_test_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/reg_key.h"
#include "platform/core/wstring.h"
#include "platform/display/display.h"
#include "platform/fs/device.h"
#include "platform/gdi/gdi.h"
#include "platform/registry/registry.h"
#include "platform/user/resource.h"
#include "platform/user/resource_tables.h"
#include "platform/user/ui_thread.h"
#include "platform/user/user.h"
#include "resources/skin/skin.h"
#include "resources/string_table.h"
#include "tests/support/screen_test.h"

namespace storagetest {
namespace {

constexpr const WCHAR* kSlotKey = u"Drivers\\Active\\ExpSlot";
constexpr const WCHAR* kOwnerClass = u"FolderMenuTestOwner";
// Idle turns a chosen item may take to close the menu before the script gives up.
constexpr int kGiveUpTurns = 400;

CFolderPathMenu* g_forwardTo = nullptr;

LPCWSTR FindString(UINT id) {
    const auto strings = ProgramStrings();
    const auto it = std::lower_bound(
        strings.begin(), strings.end(), id,
        [](const StringResource& entry, UINT wanted) { return entry.id < wanted; });
    return it != strings.end() && it->id == id ? it->text : nullptr;
}

void Inject(platform::InputEvent::Kind kind, int x, int y, UINT vk) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    e.vk = vk;
    platform::InjectInput(e);
}

void Pump() {
    MSG m;
    for (int i = 0; i < 10000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace

void StorageTest::SetUp() {
    ASSERT_TRUE(platform::ConfigureRegistry(dir_ / "registry.db"));
    ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", ""));
    platform::SetStringTable(FindString);
    platform::ResourceCatalogue catalogue;
    catalogue.bitmaps = SkinBitmaps();
    platform::SetResourceCatalogue(catalogue);
}

void StorageTest::TearDown() {
    platform::CloseRegistry();
}

void StorageTest::InsertCard() {
    std::filesystem::create_directories(dir_ / "card");
    if (!cardConfigured_) {
        ASSERT_TRUE(platform::ConfigureDevice(dir_ / "device", dir_ / "card"));
        cardConfigured_ = true;
    }
    SetSlot(Slot::Zero);
}

void StorageTest::PullCard() {
    std::filesystem::remove_all(dir_ / "card");
    SetSlot(Slot::Absent);
}

void StorageTest::SetSlot(Slot slot) {
    CRegKey key;
    ASSERT_TRUE(key.Create(HKEY_LOCAL_MACHINE, kSlotKey));
    switch (slot) {
        case Slot::Absent:
            if (key.HasValue(u"sckt")) {
                HKEY raw = nullptr;
                ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSlotKey, 0, KEY_ALL_ACCESS, &raw),
                          ERROR_SUCCESS);
                EXPECT_EQ(RegDeleteValueW(raw, u"sckt"), ERROR_SUCCESS);
                RegCloseKey(raw);
            }
            break;
        case Slot::Zero:
            ASSERT_TRUE(key.SetDword(u"sckt", 0));
            break;
        case Slot::One:
            ASSERT_TRUE(key.SetDword(u"sckt", 1));
            break;
        case Slot::Text:
            ASSERT_TRUE(key.SetString(u"sckt", u"0"));
            break;
    }
}

std::string StorageTest::Host(const std::string& devicePath) const {
    const auto host = platform::HostPathFor(platform::FromUtf8(devicePath));
    EXPECT_TRUE(host.has_value()) << devicePath;
    return host.value_or(dir_ / "nowhere");
}

void StorageTest::MakeFolder(const std::string& devicePath) const {
    std::filesystem::create_directories(Host(devicePath));
}

void StorageTest::RemoveFolder(const std::string& devicePath) const {
    std::filesystem::remove_all(Host(devicePath));
}

void StorageTest::MakeFile(const std::string& devicePath) const {
    std::ofstream(Host(devicePath)) << "x";
}

std::vector<MenuTest::Forwarded>& MenuTest::ForwardLog() {
    static std::vector<Forwarded> log;
    return log;
}

LRESULT CALLBACK MenuTest::OwnerProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    // As the main window will: the menu's owner drawing goes to the menu.
    if (message == WM_MEASUREITEM && g_forwardTo) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        const BOOL handled = g_forwardTo->MeasureItem(measure);
        ForwardLog().push_back({message, measure->itemID, handled,
                                RECT{0, 0, static_cast<LONG>(measure->itemWidth),
                                     static_cast<LONG>(measure->itemHeight)}});
        return handled;
    }
    if (message == WM_DRAWITEM && g_forwardTo) {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        const BOOL handled = g_forwardTo->DrawItem(draw);
        ForwardLog().push_back({message, draw->itemID, handled, draw->rcItem});
        return handled;
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

void MenuTest::SetUp() {
    StorageTest::SetUp();
    WNDCLASSW existing{};
    if (!GetClassInfoW(nullptr, kOwnerClass, &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = kOwnerClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_WINDOW + 1));
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    const RECT work = platform::WorkArea();
    owner_ = CreateWindowExW(0, kOwnerClass, u"Owner", WS_VISIBLE, work.left, work.top,
                             work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(owner_, nullptr);
    Pump();
    menu_ = CFolderPathMenu::GetFolderPathMenu(owner_);
    g_forwardTo = menu_;
    ForwardLog().clear();
}

void MenuTest::TearDown() {
    platform::SetIdleHandler({});
    g_forwardTo = nullptr;
    CFolderPathMenu::ReleaseFolderPathMenu();
    DestroyWindow(owner_);
    Pump();
    EXPECT_TRUE(platform::DescribeOpenMenus().empty());
    StorageTest::TearDown();
}

std::optional<std::u16string> MenuTest::ShowAndChoose(
    UINT choose, const std::function<void(const platform::OpenMenu&)>& look, int x, int y) {
    int turns = 0;
    bool acted = false;
    platform::SetIdleHandler([&]() -> DWORD {
        const auto open = platform::DescribeOpenMenus();
        if (open.empty())
            return 5;
        if (acted) {
            if (++turns < kGiveUpTurns)
                return 5;
            ADD_FAILURE() << "the menu stayed open after the choice";
            EndMenu();
            return 0;
        }
        acted = true;
        lastShown_ = open[0];
        if (look)
            look(open[0]);
        const auto item =
            std::find_if(open[0].items.begin(), open[0].items.end(),
                         [&](const platform::OpenMenuItem& i) { return choose && i.id == choose; });
        if (item == open[0].items.end()) {
            EXPECT_EQ(choose, 0u) << "no item " << choose << " in the menu";
            Inject(platform::InputEvent::Kind::KeyDown, 0, 0, VK_ESCAPE);
            Inject(platform::InputEvent::Kind::KeyUp, 0, 0, VK_ESCAPE);
        } else {
            const int cx = (item->rect.left + item->rect.right) / 2;
            const int cy = (item->rect.top + item->rect.bottom) / 2;
            Inject(platform::InputEvent::Kind::StylusDown, cx, cy, 0);
            Inject(platform::InputEvent::Kind::StylusUp, cx, cy, 0);
        }
        return 0;
    });
    const LPCWSTR chosen = Menu().Show(x, y);
    platform::SetIdleHandler({});
    Pump();
    if (chosen == nullptr)
        return std::nullopt;
    return std::u16string(chosen);
}

std::vector<std::u16string> MenuTest::Items() const {
    std::vector<std::u16string> items;
    const HMENU menu = Menu().GetMenu();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (state & MF_SEPARATOR) {
            items.push_back(u"-");
        } else if (state & MF_OWNERDRAW) {
            items.push_back(u"#" + platform::FromUtf8(std::to_string(GetMenuItemID(menu, i))));
        } else {
            WCHAR text[MAX_PATH] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, MAX_PATH, MF_BYPOSITION);
            items.emplace_back(text);
        }
    }
    return items;
}

UINT MenuTest::CheckedId() const {
    const HMENU menu = Menu().GetMenu();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED)
            return GetMenuItemID(menu, i);
    }
    return 0;
}

}  // namespace storagetest
