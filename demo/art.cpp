#include "demo/art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace demo {

namespace {

struct Palette {
    COLORREF skyTop, skyBottom, hillFar, hillNear, wall, roof;
};

constexpr Palette kPalettes[] = {
    {RGB(40, 110, 210), RGB(170, 215, 250), RGB(90, 160, 90), RGB(50, 130, 60), RGB(240, 225, 190),
     RGB(180, 50, 40)},
    {RGB(70, 90, 190), RGB(250, 200, 160), RGB(120, 150, 80), RGB(80, 120, 50), RGB(250, 250, 245),
     RGB(60, 70, 90)},
    {RGB(20, 140, 200), RGB(200, 240, 255), RGB(150, 180, 110), RGB(100, 150, 70),
     RGB(230, 200, 150), RGB(140, 70, 40)},
    {RGB(110, 80, 180), RGB(240, 170, 200), RGB(70, 130, 120), RGB(40, 100, 90), RGB(255, 240, 210),
     RGB(90, 40, 80)},
};

const Palette& PaletteFor(int variant) {
    constexpr int count = static_cast<int>(std::size(kPalettes));
    return kPalettes[((variant % count) + count) % count];
}

// A hill line across the canvas: a sum of two waves over `base`, closed along the bottom.
std::vector<POINT> Hill(int width, int height, double base, double amplitude, double phase) {
    std::vector<POINT> points;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i) {
        const double x = double(i) / kSteps;
        const double y = base + amplitude * (std::sin(x * 5.0 + phase) * 0.7 +
                                             std::sin(x * 11.0 + phase * 2) * 0.3);
        points.push_back({static_cast<LONG>(x * width), static_cast<LONG>(y * height)});
    }
    points.push_back({width, height});
    points.push_back({0, height});
    return points;
}

void DrawHouse(Canvas& canvas, const Palette& palette, int variant) {
    const int w = canvas.Width(), h = canvas.Height();
    const int unit = std::min(w, h) / 10;
    const int left = w * (2 + variant % 4) / 10;
    const int ground = h * 74 / 100;
    const int right = left + unit * 3, top = ground - unit * 2;
    canvas.FillRect(left, top, right, ground, palette.wall);
    const POINT roof[] = {
        {left - unit / 3, top}, {(left + right) / 2, top - unit * 3 / 2}, {right + unit / 3, top}};
    canvas.Polygon(roof, 3, palette.roof);
    canvas.FillRect(left + unit * 5 / 4, ground - unit, left + unit * 7 / 4, ground,
                    RGB(110, 70, 40));
    canvas.FillRect(left + unit / 3, top + unit / 3, left + unit, top + unit, RGB(250, 240, 150));
    canvas.FillRect(right - unit, top + unit / 3, right - unit / 3, top + unit, RGB(250, 240, 150));
}

void DrawScene(Canvas& canvas, int variant) {
    const Palette& palette = PaletteFor(variant);
    const int w = canvas.Width(), h = canvas.Height();
    canvas.VerticalGradient(0, 0, w, h * 7 / 10, palette.skyTop, palette.skyBottom);
    canvas.FillRect(0, h * 7 / 10, w, h, palette.hillNear);
    const int sun = std::min(w, h) / 6;
    const int sunX = w * (6 + variant % 3) / 10;
    canvas.Ellipse(sunX - sun / 2, h / 8, sunX + sun / 2, h / 8 + sun, RGB(255, 220, 60));
    const auto far = Hill(w, h, 0.58, 0.06, variant * 0.9);
    canvas.Polygon(far.data(), static_cast<int>(far.size()), palette.hillFar);
    const auto near = Hill(w, h, 0.76, 0.04, variant * 1.7 + 2);
    canvas.Polygon(near.data(), static_cast<int>(near.size()), palette.hillNear);
    DrawHouse(canvas, palette, variant);
}

void DrawSunset(Canvas& canvas, int variant) {
    const int w = canvas.Width(), h = canvas.Height();
    const int horizon = h * 62 / 100;
    canvas.VerticalGradient(0, 0, w, horizon, RGB(60, 30, 110), RGB(255, 150, 60));
    const int sun = std::min(w, h) * 2 / 5;
    const int cx = w * (4 + variant % 3) / 10;
    canvas.Ellipse(cx - sun / 2, horizon - sun / 2, cx + sun / 2, horizon + sun / 2,
                   RGB(255, 190, 70));
    // The sea covers the sun's lower half.
    canvas.VerticalGradient(0, horizon, w, h, RGB(40, 60, 120), RGB(10, 20, 50));
    // The sun's reflection: narrowing bands on the water.
    for (int i = 0; i < 6; ++i) {
        const int y = horizon + (h - horizon) * i / 7;
        const int half = sun / 2 - i * sun / 16;
        canvas.FillRect(cx - half, y, cx + half, y + std::max(2, h / 80), RGB(240, 160, 80));
    }
}

void DrawGradient(Canvas& canvas, int variant) {
    const int w = canvas.Width(), h = canvas.Height();
    const Palette& palette = PaletteFor(variant + 1);
    canvas.VerticalGradient(0, 0, w, h, palette.skyTop, palette.roof);
    // Concentric rings fading from one colour to another.
    const int rings = 8;
    const int cx = w * (3 + variant % 5) / 10, cy = h * (3 + variant % 3) / 10;
    for (int i = 0; i < rings; ++i) {
        const int r = std::min(w, h) * (rings - i) / (rings * 2);
        canvas.Ellipse(cx - r, cy - r, cx + r, cy + r,
                       Mix(palette.skyBottom, palette.hillFar, double(i) / (rings - 1)));
    }
}

void DrawShapes(Canvas& canvas, int variant) {
    const int w = canvas.Width(), h = canvas.Height();
    canvas.VerticalGradient(0, 0, w, h, RGB(250, 248, 240), RGB(215, 225, 235));
    std::uint32_t seed = 2654435761u * static_cast<std::uint32_t>(variant + 1);
    auto next = [&seed](int limit) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(std::max(1, limit)));
    };
    const int unit = std::min(w, h) / 5;
    for (int i = 0; i < 14; ++i) {
        const COLORREF colour = RGB(next(200) + 40, next(200) + 40, next(200) + 40);
        const int x = next(w), y = next(h * 4 / 5), size = unit / 2 + next(unit);
        switch (i % 3) {
            case 0:
                canvas.Ellipse(x - size / 2, y - size / 2, x + size / 2, y + size / 2, colour);
                break;
            case 1:
                canvas.FillRect(x - size / 2, y - size / 3, x + size / 2, y + size / 3, colour);
                break;
            default: {
                const POINT triangle[] = {
                    {x, y - size / 2}, {x + size / 2, y + size / 2}, {x - size / 2, y + size / 2}};
                canvas.Polygon(triangle, 3, colour);
            }
        }
    }
}

}  // namespace

void DrawArt(Canvas& canvas, Art art, int variant) {
    switch (art) {
        case Art::Scene:
            return DrawScene(canvas, variant);
        case Art::Sunset:
            return DrawSunset(canvas, variant);
        case Art::Gradient:
            return DrawGradient(canvas, variant);
        case Art::Shapes:
            return DrawShapes(canvas, variant);
    }
}

void DrawUpMarker(Canvas& canvas) {
    const int w = canvas.Width(), h = canvas.Height();
    const int unit = std::min(w, h) / 12;
    const int cx = w / 2, top = h / 20;
    const POINT arrow[] = {{cx, top},
                           {cx + unit * 2, top + unit * 2},
                           {cx + unit * 2 / 3, top + unit * 2},
                           {cx + unit * 2 / 3, top + unit * 4},
                           {cx - unit * 2 / 3, top + unit * 4},
                           {cx - unit * 2 / 3, top + unit * 2},
                           {cx - unit * 2, top + unit * 2}};
    canvas.Polygon(arrow, 7, RGB(230, 30, 40));
    canvas.Text(u"UP", RECT{cx + unit * 2, top, cx + unit * 6, top + unit * 2}, unit * 3 / 2,
                RGB(255, 255, 255));
}

void DrawName(Canvas& canvas, const std::u16string& name) {
    const int w = canvas.Width(), h = canvas.Height();
    const int textHeight = std::max(10, std::min(h / 10, w / std::max<int>(8, int(name.size()))));
    canvas.Text(name, RECT{0, h - textHeight * 2, w, h - textHeight / 3}, textHeight,
                RGB(255, 255, 255));
}

}  // namespace demo
