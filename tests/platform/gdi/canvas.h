// Test canvases: memory DCs with a bitmap of a chosen depth, and raw access to its pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

namespace platform::test {

class Canvas {
  public:
    Canvas(int width, int height, UINT bits)
        : dc_(CreateCompatibleDC(nullptr)),
          bitmap_(CreateBitmap(width, height, 1, bits, nullptr)),
          select_(dc_.Get(), bitmap_.Get()) {}

    HDC dc() const { return dc_.Get(); }
    HGDIOBJ bitmap() const { return bitmap_.Get(); }
    PixelView View() const { return LookupGdiObjectAs<Bitmap>(bitmap_.Get())->View(); }

    // The stored value of one pixel, whatever the format.
    std::uint32_t Raw(int x, int y) const {
        const PixelView view = View();
        return WithPixelTraits(view.format,
                               [&](auto t) { return decltype(t)::Load(view.At(x, y)); });
    }
    void SetRaw(int x, int y, std::uint32_t v) const {
        const PixelView view = View();
        WithPixelTraits(view.format, [&](auto t) { decltype(t)::Store(view.At(x, y), v); });
    }
    // Fills every pixel with a value derived from its position, so misplaced pixels show.
    void FillPattern(std::uint32_t seed) const {
        const PixelView view = View();
        for (int y = 0; y < view.height; ++y) {
            for (int x = 0; x < view.width; ++x)
                SetRaw(x, y, Pattern(seed, x, y));
        }
    }
    static std::uint32_t Pattern(std::uint32_t seed, int x, int y) {
        const std::uint32_t v =
            seed * 2654435761u ^ (std::uint32_t(x) * 40503u) ^ (std::uint32_t(y) * 9973u << 8);
        return v * 2246822519u >> 7;
    }

  private:
    ScopedDC dc_;
    ScopedGdiObject bitmap_;
    ScopedSelectObject select_;
};

}  // namespace platform::test
