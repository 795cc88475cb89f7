#include "app/ui/ce_bit_bt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/reg_key.h"
#include "app/ui/vibration.h"
#include "platform/controls/controls.h"
#include "platform/core/debug.h"
#include "platform/display/display.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/services/haptics.h"
#include "platform/user/user.h"
#include "tests/app/ui/test_bitmaps.h"
#include "tests/app/ui/ui_test_env.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;
using uitest::As565;

constexpr WCHAR kParentClass[] = u"BitBtTestParent";
constexpr UINT kButtonId = 1011;
constexpr int kButtonW = 60;
constexpr int kButtonH = 40;

struct KeySeen {
    WPARAM key;
    LPARAM data;
};
std::vector<KeySeen> g_keysAtParent;
CCeBitBT* g_button = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        g_keysAtParent.push_back({wParam, lParam});
        return 0;
    }
    if (message == WM_DRAWITEM && g_button != nullptr) {
        g_button->DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class BitButtonTest : public uitest::DeviceFixture {
  protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        uitest::InstallTestBitmaps();
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.lpszClassName = kParentClass;
        WNDCLASSW existing{};
        if (!GetClassInfoW(nullptr, kParentClass, &existing)) {
            ASSERT_NE(RegisterClassW(&wc), 0);
        }
        parent_ = CreateWindowExW(0, kParentClass, u"", WS_VISIBLE, 0, 0, 240, 400, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        button_.SetSize(kButtonW, kButtonH);
        g_button = &button_;
        g_keysAtParent.clear();
        const RECT canvas = {0, 0, kButtonW, kButtonH};
        FillRect(canvas_.Get(), &canvas, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    void TearDown() override {
        g_button = nullptr;
        DestroyWindow(parent_);
        CloseVibration();
        DeviceFixture::TearDown();
    }

    HWND CreateButton() {
        return button_.Create(parent_, nullptr, kButtonId,
                              RECT{10, 20, 10 + kButtonW, 20 + kButtonH});
    }
    // Draws the button in `state` onto the black test canvas; returns the debug output.
    std::string Draw(UINT state) {
        DRAWITEMSTRUCT item{};
        item.CtlID = kButtonId;
        item.itemState = state;
        item.hwndItem = button_.GetHwnd();
        item.hDC = canvas_.Get();
        item.rcItem = {0, 0, kButtonW, kButtonH};
        platform::DebugOutputCapture capture;
        button_.DrawItem(&item);
        return capture.Utf8();
    }
    COLORREF Pixel(int x, int y) const { return GetPixel(canvas_.Get(), x, y); }

    HWND parent_ = nullptr;
    CCeBitBT button_{nullptr};
    ScopedDC canvas_{CreateCompatibleDC(nullptr)};
    ScopedGdiObject bitmap_{CreateBitmap(kButtonW, kButtonH, 1, 16, nullptr)};
    ScopedSelectObject select_{canvas_.Get(), bitmap_.Get()};
};

TEST_F(BitButtonTest, CreatesOneOwnerDrawnButtonControl) {
    const HWND hwnd = CreateButton();
    ASSERT_NE(hwnd, nullptr);
    WCHAR cls[32] = {};
    WCHAR text[32] = {};
    GetClassNameW(hwnd, cls, 32);
    GetWindowTextW(hwnd, text, 32);
    EXPECT_EQ(std::u16string(cls), u"button");
    EXPECT_EQ(std::u16string(text), u"BitmapButton");
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(GetDlgCtrlID(hwnd), static_cast<int>(kButtonId));
    EXPECT_EQ(GetParent(hwnd), parent_);
    EXPECT_EQ(CreateButton(), hwnd) << "a second create returns the existing control";
}

TEST_F(BitButtonTest, KeysGoToTheParent) {
    const HWND hwnd = CreateButton();
    EXPECT_EQ(SendMessageW(hwnd, WM_KEYDOWN, VK_LEFT, 0x4B0001), 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 7), 0);
    ASSERT_EQ(g_keysAtParent.size(), 2u);
    EXPECT_EQ(g_keysAtParent[0].key, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ(g_keysAtParent[0].data, 0x4B0001);
    EXPECT_EQ(g_keysAtParent[1].key, static_cast<WPARAM>(VK_RETURN));
}

TEST_F(BitButtonTest, StylusReleaseClearsPressed) {
    const HWND hwnd = CreateButton();
    ASSERT_TRUE(button_.SetPressedBitmap(uitest::kBlueBitmap));
    Draw(ODS_SELECTED);
    EXPECT_TRUE(button_.IsPressed());
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(button_.IsPressed());
}

TEST_F(BitButtonTest, BitmapPlacement) {
    struct Case {
        UINT bitmap;
        PlaceRect want;
    };
    const Case cases[] = {
        {uitest::kGreenBitmap, {20, 15, 20, 10}},
        {uitest::kOddBitmap, {19, 14, 21, 11}},  // (60 - 21) / 2 and (40 - 11) / 2 truncate
        {uitest::kLargeBitmap, {-10, -5, 80, 50}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(button_.SetNormalBitmap(c.bitmap), 1);
        const PlaceRect& got = button_.GetBitmapRect();
        EXPECT_EQ(got.x, c.want.x) << c.bitmap;
        EXPECT_EQ(got.y, c.want.y) << c.bitmap;
        EXPECT_EQ(got.width, c.want.width) << c.bitmap;
        EXPECT_EQ(got.height, c.want.height) << c.bitmap;
    }
    const PlaceRect given = {3, 4, 30, 20};
    EXPECT_EQ(button_.SetPressedBitmap(uitest::kBlueBitmap, &given), 1);
    EXPECT_EQ(button_.GetBitmapRect().x, 3);
    EXPECT_EQ(button_.GetBitmapRect().width, 30);
    // A missing bitmap changes nothing.
    EXPECT_EQ(button_.SetNormalBitmap(uitest::kMissingBitmap), 0);
    EXPECT_EQ(button_.SetPressedBitmap(uitest::kMissingBitmap, &given), 0);
    EXPECT_EQ(button_.GetBitmapRect().x, 3);
    EXPECT_EQ(button_.GetBitmapRect().height, 20);
}

TEST_F(BitButtonTest, PressedDrawingHasFrameFaceAndPressedBitmap) {
    CreateButton();
    ASSERT_TRUE(button_.SetNormalBitmap(uitest::kGreenBitmap));
    ASSERT_TRUE(button_.SetPressedBitmap(uitest::kBlueBitmap));
    EXPECT_EQ(Draw(ODS_SELECTED), "CCeBitBT::OnDrawItem==> ODS_SELECTED \n ");
    const COLORREF face = As565(GetSysColor(COLOR_BTNFACE));
    const COLORREF frame = As565(GetSysColor(COLOR_ACTIVEBORDER));
    for (auto [x, y] : {std::pair{0, 0}, {kButtonW - 1, 0}, {0, kButtonH - 1}, {30, kButtonH - 1}})
        EXPECT_EQ(Pixel(x, y), frame) << x << "," << y;
    EXPECT_EQ(Pixel(1, 1), face);
    EXPECT_EQ(Pixel(20, 15), face) << "the magenta column is transparent";
    EXPECT_EQ(Pixel(21, 15), As565(uitest::kBlue));
    EXPECT_EQ(Pixel(39, 24), As565(uitest::kBlue));
    EXPECT_EQ(Pixel(40, 24), face);
}

TEST_F(BitButtonTest, DefaultDrawingClearsPressedAndShowsTheNormalBitmap) {
    CreateButton();
    ASSERT_TRUE(button_.SetNormalBitmap(uitest::kGreenBitmap));
    ASSERT_TRUE(button_.SetPressedBitmap(uitest::kBlueBitmap));
    Draw(ODS_SELECTED);
    EXPECT_EQ(Draw(0), "CCeBitBT::OnDrawItem==> Default \n ");
    EXPECT_FALSE(button_.IsPressed());
    const COLORREF face = As565(GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(Pixel(0, 0), face) << "no frame when released";
    EXPECT_EQ(Pixel(21, 15), As565(uitest::kGreen));
}

TEST_F(BitButtonTest, FocusDrawingKeepsThePressedPicture) {
    CreateButton();
    ASSERT_TRUE(button_.SetNormalBitmap(uitest::kGreenBitmap));
    ASSERT_TRUE(button_.SetPressedBitmap(uitest::kBlueBitmap));
    Draw(ODS_SELECTED);
    EXPECT_EQ(Draw(ODS_FOCUS), "CCeBitBT::OnDrawItem==> Focus \n ");
    EXPECT_EQ(Pixel(21, 15), As565(uitest::kBlue)) << "still pressed: nothing is redrawn";

    SendMessageW(button_.GetHwnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Draw(ODS_FOCUS), "CCeBitBT::OnDrawItem==> Focus \n ");
    EXPECT_EQ(Pixel(21, 15), As565(uitest::kGreen));
    // The focus rectangle dots the edge; the face shows between the dots.
    const COLORREF face = As565(GetSysColor(COLOR_BTNFACE));
    int marked = 0;
    for (int x = 0; x < kButtonW; ++x)
        marked += Pixel(x, 0) != face;
    EXPECT_GT(marked, kButtonW / 4);
    EXPECT_LT(marked, kButtonW);
}

TEST_F(BitButtonTest, CaptionIsDrawnInTheTextColour) {
    CreateButton();
    ASSERT_TRUE(button_.SetNormalBitmap(uitest::kGreenBitmap));
    button_.SetText(u"MMMM", RECT{0, 0, kButtonW, 14}, DT_CENTER);
    Draw(0);
    // Glyph edges are blended, so count everything that is not the face.
    const COLORREF face = As565(GetSysColor(COLOR_BTNFACE));
    int textPixels = 0;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < kButtonW; ++x)
            textPixels += Pixel(x, y) != face;
    }
    EXPECT_GT(textPixels, 10);
}

TEST_F(BitButtonTest, PressVibratesWhenTouchVibrationIsOn) {
    CRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kVibeTonzKey));
    ASSERT_TRUE(key.SetDword(u"TouchVibeOn", 1));
    ASSERT_TRUE(key.SetDword(u"TouchVibeStrength", 1));
    platform::haptics::ClearJournal();
    InitVibration();
    CreateButton();
    ASSERT_TRUE(button_.SetPressedBitmap(uitest::kBlueBitmap));
    const std::string out = Draw(ODS_SELECTED);
    EXPECT_NE(out.find("Button Down Vibrated"), std::string::npos) << out;
    ASSERT_EQ(platform::haptics::Journal().size(), 1u);
    EXPECT_EQ(platform::haptics::Journal()[0].strength, 4000);
    Draw(0);
    EXPECT_EQ(platform::haptics::Journal().size(), 1u) << "only the press vibrates";
}

TEST_F(BitButtonTest, DestroyedWithItsObject) {
    HWND hwnd = nullptr;
    {
        CCeBitBT temporary(nullptr);
        hwnd = temporary.Create(parent_, nullptr, 77, RECT{0, 0, 10, 10});
        ASSERT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
