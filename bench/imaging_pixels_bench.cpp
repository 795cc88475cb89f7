// Stored-pixel work of the imaging service: resampling to screen and thumbnail sizes, a 3-MP
// format conversion and a quarter turn of a screen-sized picture. "vs_memcpy" compares each
// with a plain copy of the source bytes it has to read.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/imaging/pixels/bitmap_ops.h"
#include "platform/imaging/pixels/convert.h"
#include "platform/imaging/pixels/resample.h"
#include "vs_memcpy.h"

namespace {

using platform::imaging::PixelBuffer;

// A picture with detail everywhere, so no branch or cache behaves unusually well.
PixelBuffer Picture(int width, int height, PixelFormatID format) {
    PixelBuffer buffer;
    if (FAILED(PixelBuffer::Allocate(width, height, format, &buffer)))
        return buffer;
    const int bytes = platform::imaging::StoredBytesPerPixel(format);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = buffer.View().Row(y);
        for (int i = 0; i < width * bytes; ++i)
            row[i] = static_cast<std::uint8_t>((i * 7 + y * 13) ^ (i >> 5));
    }
    return buffer;
}

std::size_t SourceBytes(const PixelBuffer& source) {
    return static_cast<std::size_t>(source.Width()) * source.Height() *
           platform::imaging::StoredBytesPerPixel(source.Format());
}

void Resample(benchmark::State& state, int sw, int sh, int dw, int dh, PixelFormatID from,
              PixelFormatID to, InterpolationHint hint) {
    const PixelBuffer source = Picture(sw, sh, from);
    const PixelBuffer dest = Picture(dw, dh, to);
    if (source.Empty() || dest.Empty()) {
        state.SkipWithError("allocation failed");
        return;
    }
    bench::RunAgainstMemcpy(state, SourceBytes(source), [&] {
        if (FAILED(platform::imaging::Resample(source.View(), dest.View(), hint)))
            state.SkipWithError("resample failed");
    });
}

void BM_Resample1000x750To480x360(benchmark::State& state) {
    Resample(state, 1000, 750, 480, 360, PixelFormat24bppRGB, PixelFormat16bppRGB565,
             static_cast<InterpolationHint>(state.range(0)));
}
BENCHMARK(BM_Resample1000x750To480x360)
    ->Arg(InterpolationHintDefault)
    ->Arg(InterpolationHintBicubic)
    ->Unit(benchmark::kMicrosecond);

void BM_Resample500x375To68x64(benchmark::State& state) {
    Resample(state, 500, 375, 68, 64, PixelFormat24bppRGB, PixelFormat16bppRGB565,
             static_cast<InterpolationHint>(state.range(0)));
}
BENCHMARK(BM_Resample500x375To68x64)
    ->Arg(InterpolationHintDefault)
    ->Arg(InterpolationHintBicubic)
    ->Unit(benchmark::kMicrosecond);

void BM_Convert3MegapixelRgb24To565(benchmark::State& state) {
    const PixelBuffer source = Picture(2048, 1536, PixelFormat24bppRGB);
    const PixelBuffer dest = Picture(2048, 1536, PixelFormat16bppRGB565);
    bench::RunAgainstMemcpy(state, SourceBytes(source),
                            [&] { platform::imaging::ConvertPixels(source.View(), dest.View()); });
}
BENCHMARK(BM_Convert3MegapixelRgb24To565)->Unit(benchmark::kMicrosecond);

void BM_Rotate90Of480x800Rgb565(benchmark::State& state) {
    const PixelBuffer source = Picture(480, 800, PixelFormat16bppRGB565);
    bench::RunAgainstMemcpy(state, SourceBytes(source), [&] {
        PixelBuffer turned;
        if (FAILED(platform::imaging::RotatePixels(source.View(), 1, &turned)))
            state.SkipWithError("rotate failed");
        benchmark::DoNotOptimize(turned.Data());
    });
}
BENCHMARK(BM_Rotate90Of480x800Rgb565)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
