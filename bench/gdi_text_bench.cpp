// Text as the thumbnail grid draws it: a cell's name, single line, centred, end ellipsis, in a
// 70-pixel-wide rectangle on an RGB565 memory DC, and measuring the same name.
#include <benchmark/benchmark.h>

#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "vs_memcpy.h"

namespace {

using platform::ScopedDC;
using platform::ScopedGdiObject;
using platform::ScopedSelectObject;

constexpr UINT kCellName = DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr WCHAR kName[] = u"IMG_0001.jpg";

LOGFONTW TahomaLog(LONG height) {
    LOGFONTW log{};
    log.lfHeight = height;
    log.lfWeight = FW_NORMAL;
    log.lfQuality = CLEARTYPE_QUALITY;
    const WCHAR face[] = u"TAHOMA";
    std::copy(std::begin(face), std::end(face), log.lfFaceName);
    return log;
}

// A 240 x 400 RGB565 memory DC with the 12-point header font (14 pixels at 96 dpi) selected.
struct TextCanvas {
    TextCanvas()
        : dc(CreateCompatibleDC(nullptr)),
          bitmap(CreateBitmap(240, 400, 1, 16, nullptr)),
          selectBitmap(dc.Get(), bitmap.Get()),
          font(CreateFontIndirectW(&log)),
          selectFont(dc.Get(), font.Get()) {
        SetBkMode(dc.Get(), TRANSPARENT);
    }
    LOGFONTW log = TahomaLog(14);
    ScopedDC dc;
    ScopedGdiObject bitmap;
    ScopedSelectObject selectBitmap;
    ScopedGdiObject font;
    ScopedSelectObject selectFont;
};

// Compared with copying the name's 70 x 24 strip of RGB565 pixels.
void BM_DrawTextCellName(benchmark::State& state) {
    TextCanvas canvas;
    const RECT cell{85, 300, 155, 324};
    const std::size_t bytes = (cell.right - cell.left) * (cell.bottom - cell.top) * 2;
    bench::RunAgainstMemcpy(state, bytes, [&] {
        RECT r = cell;
        benchmark::DoNotOptimize(DrawTextW(canvas.dc.Get(), kName, -1, &r, kCellName));
    });
    state.SetItemsProcessed(state.iterations());
}

void BM_GetTextExtentCellName(benchmark::State& state) {
    TextCanvas canvas;
    SIZE size{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetTextExtentPoint32W(canvas.dc.Get(), kName, 12, &size));
    }
    state.SetItemsProcessed(state.iterations());
}

// Views make their font on each paint and delete it after; the face must not be reopened.
void BM_CreateSelectDeleteFont(benchmark::State& state) {
    TextCanvas canvas;
    const LOGFONTW log = TahomaLog(17);
    for (auto _ : state) {
        ScopedGdiObject font(CreateFontIndirectW(&log));
        ScopedSelectObject select(canvas.dc.Get(), font.Get());
        SIZE size{};
        benchmark::DoNotOptimize(GetTextExtentPoint32W(canvas.dc.Get(), kName, 12, &size));
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_DrawTextCellName);
BENCHMARK(BM_GetTextExtentCellName);
BENCHMARK(BM_CreateSelectDeleteFont);
BENCHMARK_MAIN();
