// The painting protocol: merged update rectangles, WM_ERASEBKGND inside BeginPaint, paint
// order, hidden windows, and pixels that land where the window is and nowhere else.
#include <map>

#include "platform/display/display_headless.h"
#include "platform/gdi/gdi.h"
#include "user_test_support.h"

namespace usertest {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

void FillScreen(uint16_t pixel) {
    platform::Surface& screen = platform::GetDisplay().Screen();
    std::fill(screen.pixels.begin(), screen.pixels.end(), pixel);
}

class PaintTest : public UserTest {
  protected:
    void SetUp() override {
        UserTest::SetUp();
        FillScreen(0);
        // Windows named here paint their whole DC (and more) in their colour.
        SetHook([this](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT || !colours_.count(hwnd))
                return std::nullopt;
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(hwnd, &ps);
            painted_.push_back(ps.rcPaint);
            const HBRUSH brush = CreateSolidBrush(colours_[hwnd]);
            const RECT everything{-1000, -1000, 1000, 1000};
            FillRect(dc, &everything, brush);
            DeleteObject(brush);
            EndPaint(hwnd, &ps);
            return 0;
        });
    }
    void TearDown() override {
        UserTest::TearDown();
        FillScreen(0);
    }
    std::map<HWND, COLORREF> colours_;
    std::vector<RECT> painted_;
};

TEST_F(PaintTest, EraseHappensInsideBeginPaintAndOnlyOnce) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80});
    Log().Clear();
    Pump();
    EXPECT_TRUE(SequenceIs({{hwnd, WM_PAINT}, {hwnd, WM_ERASEBKGND}}));
    Log().Clear();
    Pump();
    EXPECT_TRUE(Log().Entries().empty());
    // The class brush was used for the background.
    EXPECT_EQ(ScreenPixel(25, 55), AsShown(ClassBackground()));
}

TEST_F(PaintTest, InvalidationsMergeIntoOneBoundingPaint) {
    HWND hwnd = CreateTop(RECT{0, 30, 100, 130});
    Pump();
    colours_[hwnd] = kRed;
    Log().Clear();
    const RECT a{10, 10, 20, 20};
    const RECT b{50, 60, 70, 65};
    InvalidateRect(hwnd, &a, FALSE);
    InvalidateRect(hwnd, &b, FALSE);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    const RECT bounding{10, 10, 70, 65};
    EXPECT_TRUE(EqualRect(&update, &bounding));
    Pump();
    EXPECT_TRUE(SequenceIs({{hwnd, WM_PAINT}}));
    ASSERT_EQ(painted_.size(), 1u);
    EXPECT_TRUE(EqualRect(&painted_[0], &bounding));
    // Drawing outside the update rectangle did not reach the screen.
    EXPECT_EQ(ScreenPixel(5, 35), AsShown(ClassBackground()));
    EXPECT_EQ(ScreenPixel(10, 40), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(69, 94), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(70, 94), AsShown(ClassBackground()));
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
}

TEST_F(PaintTest, EndPaintPresentsThePaintedRectangle) {
    auto* headless = dynamic_cast<platform::HeadlessBackend*>(&platform::GetDisplay());
    ASSERT_NE(headless, nullptr);
    HWND hwnd = CreateTop(RECT{20, 40, 120, 140});
    Pump();
    const RECT part{5, 6, 15, 16};
    InvalidateRect(hwnd, &part, TRUE);
    const auto before = headless->PresentCount();
    Pump();
    EXPECT_EQ(headless->PresentCount(), before + 1);
    const RECT shown = headless->LastPresented();
    const RECT expected{25, 46, 35, 56};
    EXPECT_TRUE(EqualRect(&shown, &expected));
}

TEST_F(PaintTest, HiddenWindowsAndChildrenOfHiddenParentsAreNotPainted) {
    HWND parent = CreateTop(RECT{0, 30, 100, 130}, 0);
    HWND child = CreateChild(parent, RECT{0, 0, 10, 10});
    InvalidateRect(parent, nullptr, TRUE);
    InvalidateRect(child, nullptr, TRUE);
    Log().Clear();
    Pump();
    EXPECT_TRUE(Log().Of(WM_PAINT).empty());
    ShowWindow(parent, SW_SHOWNA);
    Log().Clear();
    Pump();
    const auto paints = Log().Of(WM_PAINT);
    ASSERT_EQ(paints.size(), 2u);
    EXPECT_EQ(paints[0].hwnd, parent) << "parents paint before their children";
    EXPECT_EQ(paints[1].hwnd, child);
}

TEST_F(PaintTest, AProcedureThatIgnoresPaintIsNotAskedForever) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80});
    SetHook([&](HWND h, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (h == hwnd && m == WM_PAINT)
            return 0;
        return std::nullopt;
    });
    Log().Clear();
    Pump();
    EXPECT_EQ(Log().Of(WM_PAINT).size(), 1u);
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceOnlyWhenNeeded) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80});
    Pump();
    Log().Clear();
    UpdateWindow(hwnd);
    EXPECT_TRUE(Log().Of(WM_PAINT).empty());
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
    EXPECT_EQ(Log().Of(WM_PAINT).size(), 1u);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
}

TEST_F(PaintTest, ValidateRectTakesWholeBandsOnly) {
    HWND hwnd = CreateTop(RECT{0, 30, 100, 130});
    Pump();
    const RECT area{0, 0, 50, 50};
    struct Case {
        RECT validated;
        bool remains;
        RECT after;
    };
    const Case cases[] = {
        {{0, 0, 50, 20}, true, {0, 20, 50, 50}},   // a band across the top
        {{40, 0, 60, 50}, true, {0, 0, 40, 50}},   // a band down the right side
        {{10, 10, 20, 20}, true, {0, 0, 50, 50}},  // a hole keeps the rectangle whole
        {{-5, -5, 60, 60}, false, {0, 0, 0, 0}},   // all of it
    };
    for (const Case& c : cases) {
        InvalidateRect(hwnd, &area, FALSE);
        ValidateRect(hwnd, &c.validated);
        RECT update{};
        EXPECT_EQ(GetUpdateRect(hwnd, &update, FALSE) != FALSE, c.remains);
        EXPECT_TRUE(EqualRect(&update, &c.after));
        ValidateRect(hwnd, nullptr);
    }
}

TEST_F(PaintTest, PixelsAreClippedToTheWindowAndItsParent) {
    HWND parent = CreateTop(RECT{20, 40, 120, 140});
    HWND child = CreateChild(parent, RECT{80, 80, 150, 150});
    colours_[parent] = kGreen;
    colours_[child] = kRed;
    InvalidateRect(parent, nullptr, TRUE);
    Pump();
    // The child's visible part is parent (100, 120) to (120, 140) on screen.
    EXPECT_EQ(ScreenPixel(100, 120), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(119, 139), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(99, 119), AsShown(kGreen));
    EXPECT_EQ(ScreenPixel(120, 139), 0u) << "nothing painted outside the parent";
    EXPECT_EQ(ScreenPixel(119, 140), 0u);
    EXPECT_EQ(ScreenPixel(19, 39), 0u);
}

TEST_F(PaintTest, OverlappedWindowsPaintOverWhatIsBelowThem) {
    HWND back = CreateTop(RECT{0, 30, 100, 130});
    HWND front = CreateTop(RECT{50, 80, 150, 180});
    colours_[back] = kGreen;
    colours_[front] = kRed;
    Pump();
    // Painting the back window again must not leave it on top of the front one.
    InvalidateRect(back, nullptr, FALSE);
    Pump();
    EXPECT_EQ(ScreenPixel(60, 90), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(40, 60), AsShown(kGreen));
    // A window drawn with GetDC does not stay over the windows above it either.
    HDC dc = GetDC(back);
    const HBRUSH brush = CreateSolidBrush(kGreen);
    const RECT all{0, 0, 100, 100};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(back, dc);
    Pump();
    EXPECT_EQ(ScreenPixel(60, 90), AsShown(kRed));
    // Moving the front window away uncovers the back window, which paints there again.
    MoveWindow(front, 150, 230, 50, 50, TRUE);
    Pump();
    EXPECT_EQ(ScreenPixel(60, 90), AsShown(kGreen));
    EXPECT_EQ(ScreenPixel(120, 150), 0u) << "the bare desktop is black";
}

TEST_F(PaintTest, ScreenDcCoversTheWholeScreenAndIsReleasedOnce) {
    HDC dc = GetDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const HBRUSH brush = CreateSolidBrush(kRed);
    const RECT corner{230, 390, 240, 400};
    FillRect(dc, &corner, brush);
    DeleteObject(brush);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 1);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    EXPECT_EQ(ScreenPixel(239, 399), AsShown(kRed));
}

TEST_F(PaintTest, ResizeRepaintsTheWholeWindow) {
    HWND hwnd = CreateTop(RECT{0, 30, 50, 80});
    Pump();
    Log().Clear();
    SetWindowPos(hwnd, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    const RECT whole{0, 0, 60, 50};
    EXPECT_TRUE(EqualRect(&update, &whole));
}

TEST_F(PaintTest, BorderIsDrawnAroundTheClientArea) {
    FillScreen(0xFFFF);
    HWND hwnd = CreateTop(RECT{20, 40, 60, 80}, WS_VISIBLE | WS_BORDER);
    colours_[hwnd] = kRed;
    Pump();
    EXPECT_EQ(ScreenPixel(20, 40), 0u) << "the border is black";
    EXPECT_EQ(ScreenPixel(59, 79), 0u);
    EXPECT_EQ(ScreenPixel(21, 41), AsShown(kRed));
    EXPECT_EQ(ScreenPixel(58, 78), AsShown(kRed));
}

}  // namespace
}  // namespace usertest
