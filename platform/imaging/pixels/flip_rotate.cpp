#include <algorithm>
#include <cstring>

#include "platform/imaging/pixels/bitmap_ops.h"

namespace platform::imaging {
namespace {

// Rotation copies tiles small enough that the source columns being read stay in cache.
constexpr int kTile = 32;

HRESULT AllocateLike(const RasterView& source, int width, int height, PixelBuffer* out) {
    PixelBuffer fresh;
    const HRESULT hr = PixelBuffer::Allocate(width, height, source.format, &fresh);
    if (FAILED(hr))
        return hr;
    if (source.palette != nullptr)
        fresh.ColorTable() = *source.palette;
    *out = std::move(fresh);
    return S_OK;
}

template <int kBytes>
void MirrorRow(const std::uint8_t* from, std::uint8_t* to, int width) {
    const std::uint8_t* p = from + static_cast<std::ptrdiff_t>(width - 1) * kBytes;
    for (int x = 0; x < width; ++x, p -= kBytes, to += kBytes)
        std::memcpy(to, p, kBytes);
}

template <int kBytes>
void FlipAs(const RasterView& source, bool flipX, bool flipY, const RasterView& dest) {
    const std::size_t rowBytes = static_cast<std::size_t>(source.width) * kBytes;
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* from = source.Row(flipY ? source.height - 1 - y : y);
        if (flipX)
            MirrorRow<kBytes>(from, dest.Row(y), source.width);
        else
            std::memcpy(dest.Row(y), from, rowBytes);
    }
}

// A quarter turn either way: destination (x, y) reads source (y, H-1-x) clockwise, or
// (W-1-y, x) anticlockwise. Each destination row walks one source column.
template <int kBytes>
void QuarterTurnAs(const RasterView& source, bool clockwise, const RasterView& dest) {
    for (int ty = 0; ty < dest.height; ty += kTile) {
        const int yEnd = std::min(dest.height, ty + kTile);
        for (int tx = 0; tx < dest.width; tx += kTile) {
            const int xEnd = std::min(dest.width, tx + kTile);
            for (int y = ty; y < yEnd; ++y) {
                const int sx = clockwise ? y : source.width - 1 - y;
                const int sy = clockwise ? source.height - 1 - tx : tx;
                const std::ptrdiff_t step = clockwise ? -source.stride : source.stride;
                const std::uint8_t* from =
                    source.Row(sy) + static_cast<std::ptrdiff_t>(sx) * kBytes;
                std::uint8_t* to = dest.Row(y) + static_cast<std::ptrdiff_t>(tx) * kBytes;
                for (int x = tx; x < xEnd; ++x, from += step, to += kBytes)
                    std::memcpy(to, from, kBytes);
            }
        }
    }
}

// Runs `op.template operator()<bytes>()` for the view's pixel size.
template <typename Op>
void WithPixelSize(int bytes, Op op) {
    switch (bytes) {
        case 1:
            op.template operator()<1>();
            break;
        case 2:
            op.template operator()<2>();
            break;
        case 3:
            op.template operator()<3>();
            break;
        default:
            op.template operator()<4>();
            break;
    }
}

}  // namespace

HRESULT FlipPixels(const RasterView& source, bool flipX, bool flipY, PixelBuffer* out) {
    if (out == nullptr || source.Empty() || !IsStoredPixelFormat(source.format))
        return E_INVALIDARG;
    PixelBuffer result;
    const HRESULT hr = AllocateLike(source, source.width, source.height, &result);
    if (FAILED(hr))
        return hr;
    const RasterView dest = result.View();
    WithPixelSize(StoredBytesPerPixel(source.format),
                  [&]<int kBytes>() { FlipAs<kBytes>(source, flipX, flipY, dest); });
    *out = std::move(result);
    return S_OK;
}

HRESULT RotatePixels(const RasterView& source, int quarterTurns, PixelBuffer* out) {
    if (out == nullptr || source.Empty() || !IsStoredPixelFormat(source.format))
        return E_INVALIDARG;
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns % 2 == 0)
        return FlipPixels(source, turns == 2, turns == 2, out);
    PixelBuffer result;
    const HRESULT hr = AllocateLike(source, source.height, source.width, &result);
    if (FAILED(hr))
        return hr;
    const RasterView dest = result.View();
    WithPixelSize(StoredBytesPerPixel(source.format),
                  [&]<int kBytes>() { QuarterTurnAs<kBytes>(source, turns == 1, dest); });
    *out = std::move(result);
    return S_OK;
}

}  // namespace platform::imaging
