#include "platform/gdi/raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/gdi_types.h"
#include "platform/gdi/pixel_convert.h"

namespace platform::raster {
namespace {

using u32 = std::uint32_t;

// The common operations as plain expressions, so their loops compile to one or two instructions
// per pixel; every other code goes through the general evaluator.
struct RopSrcCopy {
    u32 operator()(u32, u32 s, u32) const { return s; }
};
struct RopSrcAnd {
    u32 operator()(u32, u32 s, u32 d) const { return s & d; }
};
struct RopSrcPaint {
    u32 operator()(u32, u32 s, u32 d) const { return s | d; }
};
struct RopSrcInvert {
    u32 operator()(u32, u32 s, u32 d) const { return s ^ d; }
};
struct RopNotSrcCopy {
    u32 operator()(u32, u32 s, u32) const { return ~s; }
};
struct RopPatInvert {
    u32 operator()(u32 p, u32, u32 d) const { return p ^ d; }
};
struct RopDstInvert {
    u32 operator()(u32, u32, u32 d) const { return ~d; }
};
struct RopBlackness {
    u32 operator()(u32, u32, u32) const { return 0; }
};
struct RopWhiteness {
    u32 operator()(u32, u32, u32) const { return ~u32{0}; }
};
struct RopGeneral {
    std::uint8_t code;
    u32 operator()(u32 p, u32 s, u32 d) const { return EvalRop3(code, p, s, d); }
};

template <typename Fn>
void WithRop(std::uint8_t rop3, Fn&& fn) {
    switch (rop3) {
        case Rop3(SRCCOPY):
            return fn(RopSrcCopy{});
        case Rop3(SRCAND):
            return fn(RopSrcAnd{});
        case Rop3(SRCPAINT):
            return fn(RopSrcPaint{});
        case Rop3(SRCINVERT):
            return fn(RopSrcInvert{});
        case Rop3(NOTSRCCOPY):
            return fn(RopNotSrcCopy{});
        case Rop3(PATINVERT):
            return fn(RopPatInvert{});
        case Rop3(DSTINVERT):
            return fn(RopDstInvert{});
        case Rop3(BLACKNESS):
            return fn(RopBlackness{});
        case Rop3(WHITENESS):
            return fn(RopWhiteness{});
        default:
            return fn(RopGeneral{rop3});
    }
}

// Writes one pixel, then doubles the written run with memcpy: fast for every pixel size.
template <typename T>
void FillRow(std::uint8_t* row, int count, u32 value) {
    T::Store(row, value);
    const std::size_t total = static_cast<std::size_t>(count) * T::kBytes;
    std::size_t filled = T::kBytes;
    while (filled < total) {
        const std::size_t n = std::min(filled, total - filled);
        std::memcpy(row + filled, row, n);
        filled += n;
    }
}

template <typename T, bool kWithSource, typename Op>
void CombineRow(std::uint8_t* dest, const std::uint8_t* source, int count, u32 pattern, Op op) {
    for (int i = 0; i < count; ++i) {
        const u32 s = kWithSource ? T::Load(source + i * T::kBytes) : 0;
        std::uint8_t* d = dest + i * T::kBytes;
        T::Store(d, op(pattern, s, T::Load(d)) & T::kMask);
    }
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

}  // namespace

void Fill(const PixelView& view, const RECT& rect, COLORREF color) {
    if (Width(rect) <= 0 || Height(rect) <= 0)
        return;
    WithPixelTraits(view.format, [&](auto traits) {
        using T = decltype(traits);
        const u32 value = NativeFromColorRef<T>(color);
        for (int y = rect.top; y < rect.bottom; ++y) {
            FillRow<T>(view.At(rect.left, y), Width(rect), value);
        }
    });
}

void PatternOp(const PixelView& view, const RECT& rect, std::uint8_t rop3, COLORREF pattern) {
    if (Width(rect) <= 0 || Height(rect) <= 0)
        return;
    if (rop3 == Rop3(PATCOPY))
        return Fill(view, rect, pattern);
    WithPixelTraits(view.format, [&](auto traits) {
        using T = decltype(traits);
        const u32 p = NativeFromColorRef<T>(pattern);
        WithRop(rop3, [&](auto op) {
            for (int y = rect.top; y < rect.bottom; ++y) {
                CombineRow<T, false>(view.At(rect.left, y), nullptr, Width(rect), p, op);
            }
        });
    });
}

void Blit(const PixelView& dest, const RECT& destRect, const PixelView& source, POINT sourceTopLeft,
          std::uint8_t rop3, COLORREF pattern) {
    const int width = Width(destRect);
    const int height = Height(destRect);
    if (width <= 0 || height <= 0)
        return;
    // On shared pixels, a copy downwards walks the rows from the bottom so none is overwritten
    // before it is read; within a row memmove or the scratch row takes care of it.
    const bool upward = dest.top == source.top && destRect.top > sourceTopLeft.y;
    const auto rowIndex = [&](int i) { return upward ? height - 1 - i : i; };
    const auto sourceRow = [&](int r) { return source.At(sourceTopLeft.x, sourceTopLeft.y + r); };
    const auto destRow = [&](int r) { return dest.At(destRect.left, destRect.top + r); };
    const ConvertRowFn convert = RowConverter(source.format, dest.format);

    if (rop3 == Rop3(SRCCOPY)) {
        for (int i = 0; i < height; ++i)
            convert(sourceRow(rowIndex(i)), destRow(rowIndex(i)), width);
        return;
    }
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(width) * BytesPerPixel(dest.format));
    WithPixelTraits(dest.format, [&](auto traits) {
        using T = decltype(traits);
        const u32 p = NativeFromColorRef<T>(pattern);
        WithRop(rop3, [&](auto op) {
            for (int i = 0; i < height; ++i) {
                const int r = rowIndex(i);
                convert(sourceRow(r), scratch.data(), width);
                CombineRow<T, true>(destRow(r), scratch.data(), width, p, op);
            }
        });
    });
}

COLORREF ReadPixel(const PixelView& view, int x, int y) {
    return WithPixelTraits(view.format, [&](auto traits) {
        using T = decltype(traits);
        return ColorRefFromNative<T>(T::Load(view.At(x, y)));
    });
}

COLORREF WritePixel(const PixelView& view, int x, int y, COLORREF color) {
    return WithPixelTraits(view.format, [&](auto traits) {
        using T = decltype(traits);
        const u32 value = NativeFromColorRef<T>(color);
        T::Store(view.At(x, y), value);
        return ColorRefFromNative<T>(value);
    });
}

}  // namespace platform::raster
