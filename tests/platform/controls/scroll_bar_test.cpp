#include "controls_test_support.h"
#include "platform/controls/scroll_bar/scroll_model.h"

namespace controlstest {
namespace {

using platform::controls::ScrollModel;

TEST(ScrollModelTest, SetScrollInfoClampsAsWin32) {
    struct Case {
        const char* name;
        SCROLLINFO in;
        int min, max;
        UINT page;
        int pos;
    };
    const Case cases[] = {
        {"pos within range", {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 50, 0}, 0, 100, 10, 50},
        {"pos past the last page",
         {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 95, 0},
         0,
         100,
         10,
         91},
        {"pos below min", {sizeof(SCROLLINFO), SIF_ALL, 1, 100, 10, -5, 0}, 1, 100, 10, 1},
        {"page 0 allows max", {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 100, 0}, 0, 100, 0, 100},
        {"page 1 allows max", {sizeof(SCROLLINFO), SIF_ALL, 0, 100, 1, 100, 0}, 0, 100, 1, 100},
        {"page larger than range", {sizeof(SCROLLINFO), SIF_ALL, 0, 9, 50, 5, 0}, 0, 9, 10, 0},
        // The browser's empty list: range 1..0 is inverted and becomes 0..0.
        {"inverted range", {sizeof(SCROLLINFO), SIF_ALL, 1, 0, 30, 1, 0}, 0, 0, 1, 0},
        {"browser, 5 rows of 3 shown",
         {sizeof(SCROLLINFO), SIF_ALL, 1, 50, 30, 21, 0},
         1,
         50,
         30,
         21},
        {"browser, position past end",
         {sizeof(SCROLLINFO), SIF_ALL, 1, 50, 30, 41, 0},
         1,
         50,
         30,
         21},
        {"huge range refused",
         {sizeof(SCROLLINFO), SIF_ALL, -2000000000, 2000000000, 0, 0, 0},
         0,
         0,
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScrollModel m;
        m.Set(c.in);
        EXPECT_EQ(m.min, c.min);
        EXPECT_EQ(m.max, c.max);
        EXPECT_EQ(m.page, c.page);
        EXPECT_EQ(m.pos, c.pos);
    }
}

TEST(ScrollModelTest, OnlyMaskedFieldsChangeAndPosReclampsToNewRange) {
    ScrollModel m;
    m.Set({sizeof(SCROLLINFO), SIF_ALL, 0, 100, 10, 80, 0});
    m.Set({sizeof(SCROLLINFO), SIF_RANGE, 0, 50, 999, 999, 0});
    EXPECT_EQ(m.page, 10u);
    EXPECT_EQ(m.pos, 41);  // clamped into the new range even without SIF_POS
    m.Set({sizeof(SCROLLINFO), SIF_DISABLENOSCROLL | SIF_PAGE, 0, 0, 51, 0, 0});
    EXPECT_TRUE(m.disabled);
    m.Set({sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 5, 0, 0});
    EXPECT_FALSE(m.disabled);
}

class ScrollBarTest : public ControlsTest {
  protected:
    void SetUp() override {
        ControlsTest::SetUp();
        bar_ = CreateControl(WC_SCROLLBARW, u"", SBS_VERT, RECT{200, 20, 218, 320}, 1234);
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 20, 40, 0};
        SetScrollInfo(bar_, SB_CTL, &si, TRUE);
        Pump();
        GetWindowRect(bar_, &screen_);
    }
    int X() const { return (screen_.left + screen_.right) / 2; }
    HWND bar_ = nullptr;
    RECT screen_{};
};

TEST_F(ScrollBarTest, ArrowsAndTroughReportAndEnd) {
    struct Case {
        const char* name;
        int y;  // offset from the bar's top
        WORD code;
    };
    const Case cases[] = {
        {"up arrow", 2, SB_LINEUP},
        {"down arrow", 297, SB_LINEDOWN},
        {"trough above the thumb", 25, SB_PAGEUP},
        {"trough below the thumb", 270, SB_PAGEDOWN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Notes().clear();
        Tap(X(), screen_.top + c.y);
        const std::vector<std::pair<WORD, int>> expected = {{c.code, 0}, {SB_ENDSCROLL, 0}};
        EXPECT_EQ(ScrollCodes(), expected);
        for (const Note& n : Notes())
            EXPECT_EQ(n.lParam, reinterpret_cast<LPARAM>(bar_));
        EXPECT_EQ(GetCapture(), nullptr);
    }
    // The bar never moves itself.
    EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 40);
}

TEST_F(ScrollBarTest, ThumbDragTracksThenReportsItsPosition) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    // Where the thumb is: between the trough's page-up and page-down parts.
    int thumbY = -1;
    for (int y = 20; y < 280 && thumbY < 0; ++y) {
        Notes().clear();
        StylusDown(X(), screen_.top + y);
        if (ScrollCodes().empty())
            thumbY = y;
        StylusUp(X(), screen_.top + y);
    }
    ASSERT_GT(thumbY, 0);
    Notes().clear();
    StylusDown(X(), screen_.top + thumbY);
    StylusMove(X(), screen_.top + thumbY + 40);
    ASSERT_TRUE(GetScrollInfo(bar_, SB_CTL, &si));
    const int tracked = si.nTrackPos;
    EXPECT_GT(tracked, 40);
    EXPECT_EQ(si.nPos, 40);                 // only the parent moves the position
    StylusMove(X(), screen_.bottom + 200);  // far past the end: the last position
    StylusUp(X(), screen_.bottom + 200);
    const auto codes = ScrollCodes();
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_EQ(codes[0], std::make_pair(SB_THUMBTRACK, tracked));
    EXPECT_EQ(codes[1], std::make_pair(SB_THUMBTRACK, 81));
    EXPECT_EQ(codes[2], std::make_pair(SB_THUMBPOSITION, 81));
    EXPECT_EQ(codes[3], std::make_pair(SB_ENDSCROLL, 0));
    ASSERT_TRUE(GetScrollInfo(bar_, SB_CTL, &si));
    EXPECT_EQ(si.nTrackPos, si.nPos);  // tracking ended
}

TEST_F(ScrollBarTest, NothingToScrollStillReportsArrowsButNoThumb) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 1, 0, 30, 1, 0};
    EXPECT_EQ(SetScrollInfo(bar_, SB_CTL, &si, TRUE), 0);
    Tap(X(), screen_.top + 150);
    EXPECT_TRUE(ScrollCodes().empty());
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    SetScrollInfo(bar_, SB_CTL, &si, TRUE);
    Tap(X(), screen_.top + 2);
    EXPECT_TRUE(ScrollCodes().empty());  // disabled arrows
}

TEST_F(ScrollBarTest, ScrollFunctionsRefuseOtherWindowsAndBadRecords) {
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 10, 1, 5, 0};
    EXPECT_EQ(SetScrollInfo(Parent(), SB_CTL, &si, FALSE), 0);
    EXPECT_EQ(SetScrollInfo(bar_, SB_VERT, &si, FALSE), 0);
    EXPECT_FALSE(GetScrollInfo(bar_, SB_CTL, nullptr));
    si.cbSize = 3;
    EXPECT_EQ(SetScrollInfo(bar_, SB_CTL, &si, FALSE), 0);
    EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 40);
    EXPECT_EQ(SetScrollPos(bar_, SB_CTL, 1000, FALSE), 40);
    EXPECT_EQ(GetScrollPos(bar_, SB_CTL), 81);
}

}  // namespace
}  // namespace controlstest
