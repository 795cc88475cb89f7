// Blits and shapes: a colour-keyed picture, constant and per-pixel alpha, a stretch, and the
// pen and brush rules of the shapes, over a checkerboard that shows what is transparent.
#include <array>
#include <cstdint>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/user/metrics.h"
#include "tools/controls-demo/demo_page.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kTile = 48;  // design units

void FillChecker(HDC dc, const RECT& area) {
    const int cell = platform::ScaleForDpi(8);
    platform::ScopedGdiObject light(CreateSolidBrush(RGB(0xE8, 0xE8, 0xE8)));
    for (int y = area.top; y < area.bottom; y += cell) {
        for (int x = area.left + ((y - area.top) / cell % 2) * cell; x < area.right;
             x += 2 * cell) {
            RECT r{x, y, x + cell, y + cell};
            FillRect(dc, &r, static_cast<HBRUSH>(light.Get()));
        }
    }
}

// A keyed picture: magenta background, a blue disc and an orange square.
HBITMAP MakeKeyedPicture(HDC screen, int size) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    platform::ScopedDC dc(CreateCompatibleDC(screen));
    platform::ScopedSelectObject selected(dc.Get(), bitmap);
    platform::ScopedGdiObject key(CreateSolidBrush(kKey));
    RECT all{0, 0, size, size};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(key.Get()));
    platform::ScopedGdiObject blue(CreateSolidBrush(RGB(0x1F, 0x5F, 0xAF)));
    platform::ScopedSelectObject brush(dc.Get(), blue.Get());
    platform::ScopedSelectObject pen(dc.Get(), GetStockObject(NULL_PEN));
    Ellipse(dc.Get(), 0, 0, size * 3 / 4, size * 3 / 4);
    platform::ScopedGdiObject orange(CreateSolidBrush(RGB(0xF0, 0x90, 0x20)));
    RECT square{size / 2, size / 2, size, size};
    FillRect(dc.Get(), &square, static_cast<HBRUSH>(orange.Get()));
    return bitmap;
}

// A 32-bit premultiplied picture whose alpha falls from left to right.
HBITMAP MakeAlphaRamp(HDC screen, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return bitmap;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = 255 - 255 * x / (width - 1);
            // Premultiplied green-blue: each channel already scaled by alpha.
            const std::uint32_t g = 0x90 * a / 255, b = 0xE0 * a / 255;
            pixels[y * width + x] = (a << 24) | (g << 8) | b;
        }
    }
    return bitmap;
}

class BlitsPage final : public DemoPage {
  public:
    LPCWSTR Title() const override { return u"Blits and shapes"; }

    void Paint(HDC dc, const RECT& area) override {
        FillChecker(dc, area);
        const int s = platform::ScaleForDpi(1);
        const int tile = platform::ScaleForDpi(kTile);
        platform::ScopedGdiObject keyed(MakeKeyedPicture(dc, tile));
        platform::ScopedDC source(CreateCompatibleDC(dc));
        {
            platform::ScopedSelectObject selected(source.Get(), keyed.Get());
            int x = 8 * s, y = 8 * s;
            BitBlt(dc, x, y, tile, tile, source.Get(), 0, 0, SRCCOPY);
            x += tile + 8 * s;
            TransparentImage(dc, x, y, tile, tile, source.Get(), 0, 0, tile, tile, kKey);
            x += tile + 8 * s;
            TransparentImage(dc, x, y, tile * 3 / 2, tile * 3 / 2, source.Get(), 0, 0, tile, tile,
                             kKey);
            y += tile * 3 / 2 + 8 * s;
            StretchBlt(dc, 8 * s, y, tile / 2, tile / 2, source.Get(), 0, 0, tile, tile, SRCCOPY);
            BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
            AlphaBlend(dc, 8 * s + tile, y, tile, tile, source.Get(), 0, 0, tile, tile, half);
        }
        PaintAlpha(dc, 8 * s, 8 * s + tile * 5 / 2 + 16 * s, area.right - 16 * s, 24 * s);
        PaintShapes(dc, 8 * s, 8 * s + tile * 5 / 2 + 48 * s);
    }

  private:
    static void PaintAlpha(HDC dc, int x, int y, int width, int height) {
        platform::ScopedGdiObject ramp(MakeAlphaRamp(dc, width, height));
        platform::ScopedDC source(CreateCompatibleDC(dc));
        platform::ScopedSelectObject selected(source.Get(), ramp.Get());
        BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, x, y, width, height, source.Get(), 0, 0, width, height, perPixel);
    }

    static void PaintShapes(HDC dc, int x, int y) {
        const int s = platform::ScaleForDpi(1);
        const int size = 40 * s;
        platform::ScopedGdiObject thick(CreatePen(PS_SOLID, 3 * s, RGB(0x20, 0x20, 0x20)));
        platform::ScopedGdiObject fill(CreateSolidBrush(RGB(0xF0, 0x90, 0x20)));
        platform::ScopedSelectObject pen(dc, thick.Get());
        platform::ScopedSelectObject brush(dc, fill.Get());
        Rectangle(dc, x, y, x + size, y + size);
        Ellipse(dc, x + size + 8 * s, y, x + 2 * size + 8 * s, y + size);
        const std::array<POINT, 3> triangle = {{{x + 2 * size + 16 * s + size / 2, y},
                                                {x + 3 * size + 16 * s, y + size},
                                                {x + 2 * size + 16 * s, y + size}}};
        Polygon(dc, triangle.data(), static_cast<int>(triangle.size()));
        platform::ScopedSelectObject thin(dc, GetStockObject(BLACK_PEN));
        for (int i = 0; i < 5; ++i) {
            MoveToEx(dc, x, y + size + (8 + 4 * i) * s, nullptr);
            LineTo(dc, x + 3 * size + 16 * s, y + size + (8 + 4 * i) * s + i * 4 * s);
        }
        RECT focus{x, y + size + 36 * s, x + 3 * size + 16 * s, y + size + 56 * s};
        DrawFocusRect(dc, &focus);
    }
};

}  // namespace

std::unique_ptr<DemoPage> MakeBlitsPage() {
    return std::make_unique<BlitsPage>();
}
