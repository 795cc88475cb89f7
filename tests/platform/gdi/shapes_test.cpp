#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/platform/gdi/canvas.h"
#include "tests/platform/gdi/picture.h"

namespace platform {
namespace {

using test::Picture;
using test::Show;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kPen = RGB(0, 0, 255);
constexpr COLORREF kBrush = RGB(255, 0, 0);
constexpr COLORREF kGap = RGB(0, 255, 0);

// A white 24-bit canvas with a pen and a brush of known colours selected.
struct Board {
    Board(int w, int h, int penStyle, int penWidth, bool nullBrush)
        : canvas(w, h, 24),
          pen(CreatePen(penStyle, penWidth, kPen)),
          brush(CreateSolidBrush(kBrush)),
          selectPen(canvas.dc(), pen.Get()),
          selectBrush(canvas.dc(), nullBrush ? GetStockObject(NULL_BRUSH) : brush.Get()),
          width(w),
          height(h) {
        const RECT all{0, 0, w, h};
        FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    std::string Text() const {
        return Show(test::Snapshot(canvas.dc(), width, height,
                                   {{kWhite, '.'}, {kPen, '#'}, {kBrush, 'o'}, {kGap, '-'}}));
    }
    test::Canvas canvas;
    ScopedGdiObject pen, brush;
    ScopedSelectObject selectPen, selectBrush;
    int width, height;
};

struct ShapeCase {
    const char* name;
    int penStyle, penWidth;
    bool nullBrush;
    RECT box;
    Picture expected;
};

TEST(Rectangle, PenAndBrushCoverExactlyTheirPixels) {
    // clang-format off
    const std::vector<ShapeCase> cases = {
        {"thin pen", PS_SOLID, 1, false, {1, 1, 6, 5},
         {".......",
          ".#####.",
          ".#ooo#.",
          ".#ooo#.",
          ".#####.",
          "......."}},
        {"corners given backwards", PS_SOLID, 0, false, {6, 5, 1, 1},
         {".......",
          ".#####.",
          ".#ooo#.",
          ".#ooo#.",
          ".#####.",
          "......."}},
        {"null brush", PS_SOLID, 1, true, {1, 1, 6, 5},
         {".......",
          ".#####.",
          ".#...#.",
          ".#...#.",
          ".#####.",
          "......."}},
        {"null pen leaves out the last row and column", PS_NULL, 1, false, {1, 1, 6, 5},
         {".......",
          ".oooo..",
          ".oooo..",
          ".oooo..",
          ".......",
          "......."}},
        {"two wide, centred on the outline", PS_SOLID, 2, false, {2, 2, 7, 6},
         {"........",
          ".######.",
          ".######.",
          ".##oo##.",
          ".######.",
          ".######.",
          "........"}},
        {"three wide", PS_SOLID, 3, false, {2, 2, 8, 7},
         {"..........",
          ".########.",
          ".########.",
          ".########.",
          ".###oo###.",
          ".########.",
          ".########.",
          ".########.",
          ".........."}},
        {"one pixel", PS_SOLID, 1, false, {2, 1, 3, 2}, {".....", "..#..", "....."}},
        {"empty", PS_SOLID, 1, false, {2, 1, 2, 3}, {".....", ".....", "....."}},
    };
    // clang-format on
    for (const ShapeCase& c : cases) {
        Board b(static_cast<int>(c.expected[0].size()), static_cast<int>(c.expected.size()),
                c.penStyle, c.penWidth, c.nullBrush);
        ASSERT_TRUE(Rectangle(b.canvas.dc(), c.box.left, c.box.top, c.box.right, c.box.bottom));
        EXPECT_EQ(b.Text(), Show(c.expected)) << c.name;
    }
}

TEST(Rectangle, DashedPenPaintsGapsOnlyWhenOpaque) {
    for (int mode : {OPAQUE, TRANSPARENT}) {
        Board b(30, 3, PS_DASH, 1, true);
        SetBkColor(b.canvas.dc(), kGap);
        SetBkMode(b.canvas.dc(), mode);
        ASSERT_TRUE(Rectangle(b.canvas.dc(), 0, 0, 30, 3));
        const char gap = mode == OPAQUE ? '-' : '.';
        const std::string top = std::string(18, '#') + std::string(6, gap) + std::string(6, '#');
        EXPECT_EQ(
            test::Snapshot(b.canvas.dc(), 30, 1, {{kWhite, '.'}, {kPen, '#'}, {kGap, '-'}})[0],
            top);
    }
}

TEST(Ellipse, OutlineRingAndInsideAreDisjointAndSymmetric) {
    // clang-format off
    const std::vector<ShapeCase> cases = {
        {"circle", PS_SOLID, 1, false, {0, 0, 8, 8},
         {"..####..",
          ".#oooo#.",
          "#oooooo#",
          "#oooooo#",
          "#oooooo#",
          "#oooooo#",
          ".#oooo#.",
          "..####.."}},
        {"null pen leaves out the last row and column", PS_NULL, 1, false, {0, 0, 8, 8},
         {"..ooo...",
          ".ooooo..",
          "ooooooo.",
          "ooooooo.",
          "ooooooo.",
          ".ooooo..",
          "..ooo...",
          "........"}},
        {"null brush", PS_SOLID, 1, true, {0, 0, 6, 4},
         {".####.",
          "#....#",
          "#....#",
          ".####."}},
        {"wide pen, centred on the outline", PS_SOLID, 2, false, {1, 1, 9, 9},
         {"..#####...",
          ".#######..",
          "###ooo###.",
          "##ooooo##.",
          "##ooooo##.",
          "##ooooo##.",
          "###ooo###.",
          ".#######..",
          "..#####...",
          ".........."}},
    };
    // clang-format on
    for (const ShapeCase& c : cases) {
        Board b(static_cast<int>(c.expected[0].size()), static_cast<int>(c.expected.size()),
                c.penStyle, c.penWidth, c.nullBrush);
        ASSERT_TRUE(Ellipse(b.canvas.dc(), c.box.left, c.box.top, c.box.right, c.box.bottom));
        EXPECT_EQ(b.Text(), Show(c.expected)) << c.name;
    }
}

TEST(Polygon, FillsByAlternateRuleAndOutlinesEveryEdge) {
    Board b(7, 7, PS_SOLID, 1, false);
    // A diamond, closed explicitly as the slide show's shape is.
    const POINT diamond[] = {{0, 3}, {3, 0}, {6, 3}, {3, 6}, {0, 3}};
    ASSERT_TRUE(Polygon(b.canvas.dc(), diamond, 5));
    EXPECT_EQ(b.Text(),
              Show({"...#...", "..#o#..", ".#ooo#.", "#ooooo#", ".#ooo#.", "..#o#..", "...#..."}));

    // A self-crossing star: the centre is crossed twice and stays unfilled.
    Board s(11, 11, PS_NULL, 1, false);
    const POINT star[] = {{0, 2}, {10, 2}, {10, 8}, {2, 8}, {2, 0}, {8, 0}, {8, 10}, {0, 10}};
    ASSERT_TRUE(Polygon(s.canvas.dc(), star, 8));
    EXPECT_EQ(GetPixel(s.canvas.dc(), 5, 5), kWhite);
    EXPECT_EQ(GetPixel(s.canvas.dc(), 1, 5), kBrush);
    EXPECT_EQ(GetPixel(s.canvas.dc(), 5, 1), kBrush);
    EXPECT_EQ(GetPixel(s.canvas.dc(), 9, 1), kWhite);

    EXPECT_FALSE(Polygon(s.canvas.dc(), star, 1));
    EXPECT_FALSE(Polygon(s.canvas.dc(), nullptr, 3));
}

TEST(LineTo, LeavesOutTheEndPointInEveryDirection) {
    struct LineCase {
        POINT from, to;
        Picture expected;
    };
    const std::vector<LineCase> cases = {
        {{0, 1}, {5, 1}, {"......", "#####.", "......"}},
        {{5, 1}, {0, 1}, {"......", ".#####", "......"}},
        {{1, 0}, {1, 3}, {".#.", ".#.", ".#.", "..."}},
        {{0, 0}, {3, 3}, {"#...", ".#..", "..#.", "...."}},
        {{3, 0}, {0, 3}, {"...#", "..#.", ".#..", "...."}},
        {{0, 0}, {6, 2}, {"##.....", "..###..", ".....#.", "......."}},
        {{2, 2}, {2, 2}, {"...", "...", "..."}},
    };
    for (const LineCase& c : cases) {
        Board b(static_cast<int>(c.expected[0].size()), static_cast<int>(c.expected.size()),
                PS_SOLID, 1, true);
        POINT previous{-1, -1};
        ASSERT_TRUE(MoveToEx(b.canvas.dc(), c.from.x, c.from.y, &previous));
        EXPECT_EQ(previous.x, 0);
        ASSERT_TRUE(LineTo(b.canvas.dc(), c.to.x, c.to.y));
        EXPECT_EQ(b.Text(), Show(c.expected)) << c.from.x << "," << c.from.y;
        // The end point became the current position.
        ASSERT_TRUE(MoveToEx(b.canvas.dc(), 0, 0, &previous));
        EXPECT_EQ(previous.x, c.to.x);
        EXPECT_EQ(previous.y, c.to.y);
    }
}

TEST(LineTo, WidePenIncludesTheEndWithRoundCaps) {
    Board b(12, 5, PS_SOLID, 3, true);
    MoveToEx(b.canvas.dc(), 2, 2, nullptr);
    ASSERT_TRUE(LineTo(b.canvas.dc(), 9, 2));
    EXPECT_EQ(b.Text(), Show({"............", ".##########.", ".##########.", ".##########.",
                              "............"}));
}

TEST(Polyline, DrawsEverySegmentAndKeepsThePosition) {
    Board b(5, 5, PS_SOLID, 1, true);
    MoveToEx(b.canvas.dc(), 4, 4, nullptr);
    const POINT corner[] = {{0, 0}, {4, 0}, {4, 4}};
    ASSERT_TRUE(Polyline(b.canvas.dc(), corner, 3));
    EXPECT_EQ(b.Text(), Show({"#####", "....#", "....#", "....#", "....."}));
    POINT previous{};
    MoveToEx(b.canvas.dc(), 0, 0, &previous);
    EXPECT_EQ(previous.x, 4);
    EXPECT_EQ(previous.y, 4);
}

TEST(NullPen, DrawsNoLineButMovesThePosition) {
    Board b(4, 2, PS_NULL, 1, true);
    MoveToEx(b.canvas.dc(), 0, 0, nullptr);
    ASSERT_TRUE(LineTo(b.canvas.dc(), 4, 0));
    EXPECT_EQ(b.Text(), Show({"....", "...."}));
    POINT previous{};
    MoveToEx(b.canvas.dc(), 0, 0, &previous);
    EXPECT_EQ(previous.x, 4);
}

TEST(DrawFocusRect, InvertsAlternatePixelsOfTheFrameAndUndoesItself) {
    test::Canvas c(6, 5, 24);
    const RECT all{0, 0, 6, 5};
    FillRect(c.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT focus{0, 0, 6, 4};
    ASSERT_TRUE(DrawFocusRect(c.dc(), &focus));
    const std::map<COLORREF, char> letters{{kWhite, '.'}, {RGB(0, 0, 0), '#'}};
    EXPECT_EQ(Show(test::Snapshot(c.dc(), 6, 5, letters)),
              Show({"#.#.#.", ".....#", "#.....", ".#.#.#", "......"}));
    ASSERT_TRUE(DrawFocusRect(c.dc(), &focus));
    EXPECT_EQ(Show(test::Snapshot(c.dc(), 6, 5, letters)),
              Show({"......", "......", "......", "......", "......"}));
    // A one-pixel-high rectangle inverts each pixel once, not twice.
    const RECT flat{0, 1, 6, 2};
    ASSERT_TRUE(DrawFocusRect(c.dc(), &flat));
    EXPECT_EQ(test::Snapshot(c.dc(), 6, 5, letters)[1], ".#.#.#");
}

TEST(Shapes, ClipToTheDcAndSurviveHugeCoordinates) {
    Surface screen;
    screen.Resize(10, 8);
    std::fill(screen.pixels.begin(), screen.pixels.end(), 0xFFFF);
    {
        // A window at (2, 1) whose paintable part is the screen rectangle (3, 2)-(8, 6).
        ScopedDC dc(CreateSurfaceDC(screen, POINT{2, 1}, RECT{3, 2, 8, 6}));
        ScopedGdiObject brush(CreateSolidBrush(RGB(0, 0, 0)));
        ScopedSelectObject select(dc.Get(), brush.Get());
        ASSERT_TRUE(Rectangle(dc.Get(), -5, -5, 40, 40));
        ASSERT_TRUE(Ellipse(dc.Get(), -2000000000, -2000000000, 2000000000, 2000000000));
        MoveToEx(dc.Get(), -2147483647, -2147483647, nullptr);
        ASSERT_TRUE(LineTo(dc.Get(), 2147483647, 2147483647));
        const POINT far[] = {{-2000000000, 0}, {2000000000, 1}, {0, 2000000000}};
        ASSERT_TRUE(Polygon(dc.Get(), far, 3));
        const RECT r{-100, -100, 100, 100};
        ASSERT_TRUE(DrawFocusRect(dc.Get(), &r));
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x < 8 && y >= 2 && y < 6;
            if (!inside)
                EXPECT_EQ(screen.pixels[y * 10 + x], 0xFFFF) << x << "," << y;
            else
                EXPECT_EQ(screen.pixels[y * 10 + x], 0) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace platform
