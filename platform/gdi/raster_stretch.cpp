#include "platform/gdi/raster_stretch.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/raster.h"

namespace platform::raster {
namespace {

using u32 = std::uint32_t;

template <typename S, typename D>
u32 Convert(u32 v) {
    if constexpr (S::kFormat == D::kFormat)
        return v;
    else
        return D::FromRgb(S::Red(v), S::Green(v), S::Blue(v));
}

template <typename T>
constexpr bool kHasAlpha = T::kFormat == PixelFormat::Bgra32;

// Source columns as a table, or as a plain run when the plan is not stretched horizontally;
// the run lets the compiler turn the row loops into straight pointer walks.
struct MappedColumns {
    const int* map;
    int operator[](int i) const { return map[i]; }
};
struct UnitColumns {
    int first;
    int operator[](int i) const { return first + i; }
};

// Calls fn(S{}, D{}, columns) with the traits of both formats and the plan's column mapping.
template <typename Fn>
void Dispatch(PixelFormat source, PixelFormat dest, const StretchPlan& plan, Fn&& fn) {
    WithPixelTraits(source, [&](auto s) {
        WithPixelTraits(dest, [&](auto d) {
            if (plan.unitColumns)
                fn(s, d, UnitColumns{plan.sourceX.front()});
            else
                fn(s, d, MappedColumns{plan.sourceX.data()});
        });
    });
}

// Calls row(destRow, sourceRow, r) for every row of the plan.
template <typename Row>
void ForEachRow(const PixelView& dest, const RECT& at, const StretchPlan& plan,
                const PixelView& source, Row&& row) {
    for (int r = 0; r < static_cast<int>(plan.sourceY.size()); ++r)
        row(dest.At(at.left, at.top + r), source.Row(plan.sourceY[r]), r);
}

// Writes the stretched source into `out` at `at`, converted to its format. A row sampled from
// the same source row as the one before is copied from it instead: enlarging costs a memcpy.
void SampleInto(const PixelView& out, const RECT& at, const StretchPlan& plan,
                const PixelView& source) {
    const int width = static_cast<int>(plan.sourceX.size());
    const auto rowBytes = static_cast<std::size_t>(width) * BytesPerPixel(out.format);
    Dispatch(source.format, out.format, plan, [&](auto st, auto dt, auto columns) {
        using S = decltype(st);
        using D = decltype(dt);
        ForEachRow(out, at, plan, source, [&](std::uint8_t* d, const std::uint8_t* s, int r) {
            if (r > 0 && plan.sourceY[r] == plan.sourceY[r - 1]) {
                std::memcpy(d, out.At(at.left, at.top + r - 1), rowBytes);
                return;
            }
            for (int i = 0; i < width; ++i, d += D::kBytes)
                D::Store(d, Convert<S, D>(S::Load(s + columns[i] * S::kBytes)));
        });
    });
}

struct Channels {
    u32 r, g, b, a;
};

template <typename T>
Channels Split(u32 v) {
    return {T::Red(v), T::Green(v), T::Blue(v), kHasAlpha<T> ? v >> 24 : 255u};
}

template <typename T>
u32 Join(const Channels& c) {
    const u32 rgb = T::FromRgb(c.r, c.g, c.b);
    if constexpr (kHasAlpha<T>)
        return rgb | (c.a << 24);
    else
        return rgb;
}

// Premultiplied source over destination.
template <typename S, typename D>
void BlendPerPixel(std::uint8_t* d, u32 v, u32 constant) {
    Channels s = Split<S>(v);
    if (constant != 255)
        s = {Div255(s.r * constant), Div255(s.g * constant), Div255(s.b * constant),
             Div255(s.a * constant)};
    if (s.a == 255) {
        D::Store(d, Join<D>(s));
        return;
    }
    if ((s.r | s.g | s.b | s.a) == 0)
        return;
    const Channels t = Split<D>(D::Load(d));
    const u32 keep = 255 - s.a;
    const auto over = [keep](u32 sc, u32 dc) { return std::min<u32>(255, sc + Div255(dc * keep)); };
    D::Store(d, Join<D>({over(s.r, t.r), over(s.g, t.g), over(s.b, t.b), over(s.a, t.a)}));
}

template <typename S, typename D>
void BlendConstant(std::uint8_t* d, u32 v, u32 constant) {
    const Channels s = Split<S>(v);
    const Channels t = Split<D>(D::Load(d));
    const u32 keep = 255 - constant;
    const auto mix = [constant, keep](u32 sc, u32 dc) { return Div255(sc * constant + dc * keep); };
    D::Store(d, Join<D>({mix(s.r, t.r), mix(s.g, t.g), mix(s.b, t.b), mix(s.a, t.a)}));
}

}  // namespace

void StretchCopy(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                 std::uint8_t rop3, COLORREF pattern) {
    if (plan.Empty())
        return;
    // Unstretched: the plain blit, which also handles overlapping source and destination.
    if (plan.unitColumns && plan.unitRows) {
        Blit(dest, plan.dest, source, POINT{plan.sourceX.front(), plan.sourceY.front()}, rop3,
             pattern);
        return;
    }
    if (rop3 == Rop3(SRCCOPY))
        return SampleInto(dest, plan.dest, plan, source);
    // Other operations combine a stretched copy with the destination through the plain blit.
    PixelView copy;
    copy.width = static_cast<int>(plan.sourceX.size());
    copy.height = static_cast<int>(plan.sourceY.size());
    copy.format = dest.format;
    copy.stride = std::ptrdiff_t{copy.width} * BytesPerPixel(dest.format);
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(copy.stride) * copy.height);
    copy.top = scratch.data();
    SampleInto(copy, RECT{0, 0, copy.width, copy.height}, plan, source);
    Blit(dest, plan.dest, copy, POINT{0, 0}, rop3, pattern);
}

void StretchKeyed(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                  COLORREF key) {
    const int width = static_cast<int>(plan.sourceX.size());
    Dispatch(source.format, dest.format, plan, [&](auto st, auto dt, auto columns) {
        using S = decltype(st);
        using D = decltype(dt);
        // The alpha byte of a 32-bit source does not take part in the comparison.
        constexpr u32 kColourBits = S::kMask & 0x00FFFFFF;
        const u32 keyValue = NativeFromColorRef<S>(key);
        ForEachRow(dest, plan.dest, plan, source, [&](std::uint8_t* d, const std::uint8_t* s, int) {
            // A select rather than a branch: keyed pixels come in no order a predictor learns.
            for (int i = 0; i < width; ++i, d += D::kBytes) {
                const u32 v = S::Load(s + columns[i] * S::kBytes);
                const u32 out = Convert<S, D>(v);
                D::Store(d, (v & kColourBits) != keyValue ? out : D::Load(d));
            }
        });
    });
}

void StretchBlend(const PixelView& dest, const StretchPlan& plan, const PixelView& source,
                  Blend blend) {
    const u32 constant = blend.constantAlpha;
    // Without per-pixel alpha, 0 changes nothing and 255 is a copy, exactly by the formula.
    if (!blend.perPixel && constant == 0)
        return;
    if (!blend.perPixel && constant == 255)
        return StretchCopy(dest, plan, source, Rop3(SRCCOPY), 0);
    const int width = static_cast<int>(plan.sourceX.size());
    Dispatch(source.format, dest.format, plan, [&](auto st, auto dt, auto columns) {
        using S = decltype(st);
        using D = decltype(dt);
        const auto run = [&](auto op) {
            ForEachRow(dest, plan.dest, plan, source,
                       [&](std::uint8_t* d, const std::uint8_t* s, int) {
                           for (int i = 0; i < width; ++i, d += D::kBytes)
                               op(d, S::Load(s + columns[i] * S::kBytes), constant);
                       });
        };
        if (blend.perPixel)
            run([](std::uint8_t* d, u32 v, u32 c) { BlendPerPixel<S, D>(d, v, c); });
        else
            run([](std::uint8_t* d, u32 v, u32 c) { BlendConstant<S, D>(d, v, c); });
    });
}

}  // namespace platform::raster
