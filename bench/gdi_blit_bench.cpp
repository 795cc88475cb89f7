// The drawing loops on screen-sized areas: same-format copies, format conversions, combining
// raster operations and fills, as the gallery's painting uses them.
#include <benchmark/benchmark.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"

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
    Blit(state, 16, 16, SRCCOPY);
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

}  // namespace

BENCHMARK_MAIN();
