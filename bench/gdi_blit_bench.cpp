// The drawing loops on screen-sized areas: same-format copies, format conversions, combining
// raster operations, fills, and the stretched, colour-keyed and alpha blits of the thumbnail
// grid, the viewer and the skins. The blits the gallery leans on most also report
// "vs_memcpy": their time over a plain memcpy of the same destination bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "vs_memcpy.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

// A memory DC holding a w x h bitmap of the given depth.
struct MemoryCanvas {
    MemoryCanvas(int w, int h, UINT bits)
        : dc(CreateCompatibleDC(nullptr)),
          bitmap(CreateBitmap(w, h, 1, bits, nullptr)),
          select(dc.Get(), bitmap.Get()) {}
    ScopedDC dc;
    ScopedGdiObject bitmap;
    ScopedSelectObject select;
};

using bench::RunAgainstMemcpy;

void Blit(benchmark::State& state, UINT sourceBits, UINT destBits, DWORD rop) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    MemoryCanvas source(w, h, sourceBits);
    MemoryCanvas dest(w, h, destBits);
    for (auto _ : state) {
        BitBlt(dest.dc.Get(), 0, 0, w, h, source.dc.Get(), 0, 0, rop);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void BM_Copy565(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    MemoryCanvas source(w, h, 16);
    MemoryCanvas dest(w, h, 16);
    RunAgainstMemcpy(state, std::size_t(w) * h * 2,
                     [&] { BitBlt(dest.dc.Get(), 0, 0, w, h, source.dc.Get(), 0, 0, SRCCOPY); });
}

// RGB565 to RGB565, source size in args 0-1, destination size in 2-3: a thumbnail cell and a
// full-screen picture.
void BM_Stretch565(benchmark::State& state) {
    const int ws = static_cast<int>(state.range(0)), hs = static_cast<int>(state.range(1));
    const int w = static_cast<int>(state.range(2)), h = static_cast<int>(state.range(3));
    MemoryCanvas source(ws, hs, 16);
    MemoryCanvas dest(w, h, 16);
    RunAgainstMemcpy(state, std::size_t(w) * h * 2, [&] {
        StretchBlt(dest.dc.Get(), 0, 0, w, h, source.dc.Get(), 0, 0, ws, hs, SRCCOPY);
    });
}

// A tab-bar-sized skin bitmap with a magenta key over a quarter of its pixels.
void BM_TransparentImage565(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    MemoryCanvas source(w, h, 16);
    MemoryCanvas dest(w, h, 16);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            SetPixel(source.dc.Get(), x, y, (x + y) % 4 == 0 ? RGB(255, 0, 255) : RGB(x, y, 9));
    }
    RunAgainstMemcpy(state, std::size_t(w) * h * 2, [&] {
        TransparentImage(dest.dc.Get(), 0, 0, w, h, source.dc.Get(), 0, 0, w, h, RGB(255, 0, 255));
    });
}

// A 32-bit premultiplied bar over RGB565: a third transparent, a third opaque, a third partial.
void BM_AlphaBlendPerPixel(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    std::vector<std::uint32_t> pixels(std::size_t(w) * h);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t alpha = i % 3 == 0 ? 0 : i % 3 == 1 ? 255 : 128;
        pixels[i] = alpha << 24 | (alpha / 2) << 16 | (alpha / 3) << 8 | alpha / 4;
    }
    ScopedDC sourceDc(CreateCompatibleDC(nullptr));
    ScopedGdiObject bitmap(CreateBitmap(w, h, 1, 32, pixels.data()));
    ScopedSelectObject select(sourceDc.Get(), bitmap.Get());
    MemoryCanvas dest(w, h, 16);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    RunAgainstMemcpy(state, std::size_t(w) * h * 2, [&] {
        AlphaBlend(dest.dc.Get(), 0, 0, w, h, sourceDc.Get(), 0, 0, w, h, blend);
    });
}
void BM_Convert24To565(benchmark::State& state) {
    Blit(state, 24, 16, SRCCOPY);
}
void BM_Convert32To565(benchmark::State& state) {
    Blit(state, 32, 16, SRCCOPY);
}
void BM_Convert565To32(benchmark::State& state) {
    Blit(state, 16, 32, SRCCOPY);
}
void BM_SrcInvert565(benchmark::State& state) {
    Blit(state, 16, 16, SRCINVERT);
}

// A copy within one bitmap that overlaps downwards, the case that walks rows bottom-up.
void BM_Scroll565(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    MemoryCanvas canvas(w, h, 16);
    for (auto _ : state) {
        BitBlt(canvas.dc.Get(), 0, 1, w, h - 1, canvas.dc.Get(), 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * (h - 1));
}

void BM_FillRect(benchmark::State& state, UINT bits) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    MemoryCanvas canvas(w, h, bits);
    ScopedGdiObject brush(CreateSolidBrush(RGB(12, 34, 56)));
    const RECT all{0, 0, w, h};
    for (auto _ : state) {
        FillRect(canvas.dc.Get(), &all, static_cast<HBRUSH>(brush.Get()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void BM_FillRect565(benchmark::State& state) {
    BM_FillRect(state, 16);
}
void BM_FillRect24(benchmark::State& state) {
    BM_FillRect(state, 24);
}

// The default screen and the high-density one.
#define SCREEN_SIZES Args({240, 400})->Args({480, 800})
BENCHMARK(BM_Copy565)->SCREEN_SIZES;
BENCHMARK(BM_Convert24To565)->SCREEN_SIZES;
BENCHMARK(BM_Convert32To565)->SCREEN_SIZES;
BENCHMARK(BM_Convert565To32)->SCREEN_SIZES;
BENCHMARK(BM_SrcInvert565)->SCREEN_SIZES;
BENCHMARK(BM_Scroll565)->SCREEN_SIZES;
BENCHMARK(BM_FillRect565)->SCREEN_SIZES;
BENCHMARK(BM_FillRect24)->SCREEN_SIZES;
BENCHMARK(BM_Stretch565)
    ->Args({160, 120, 70, 68})
    ->Args({640, 480, 240, 400})
    ->Args({640, 480, 480, 800});
BENCHMARK(BM_TransparentImage565)->Args({240, 47})->Args({480, 94});
BENCHMARK(BM_AlphaBlendPerPixel)->Args({240, 47})->Args({480, 94});

}  // namespace

BENCHMARK_MAIN();
