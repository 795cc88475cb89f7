#include "platform/gdi/text/glyph_blend.h"

namespace platform::text {
namespace {

struct Ink {
    int r, g, b;
};

// Coverage a of 255 is the text colour itself, so fully covered pixels are exact.
template <typename T>
void BlendGlyph(const PixelView& view, const Box& clip, const Glyph& glyph, std::int64_t left,
                std::int64_t top, std::uint32_t native, Ink ink) {
    const Box box = Box::FromExtent(left, top, glyph.width, glyph.height).Intersect(clip);
    if (box.Empty())
        return;
    const int x0 = static_cast<int>(box.left), x1 = static_cast<int>(box.right);
    for (int y = static_cast<int>(box.top); y < box.bottom; ++y) {
        const std::uint8_t* src = glyph.coverage.data() + (y - top) * glyph.width + (x0 - left);
        std::uint8_t* dst = view.Row(y) + static_cast<std::ptrdiff_t>(x0) * T::kBytes;
        for (int x = x0; x < x1; ++x, ++src, dst += T::kBytes) {
            const int a = *src;
            if (a == 0)
                continue;
            if (a == 255) {
                T::Store(dst, native);
                continue;
            }
            const std::uint32_t d = T::Load(dst);
            const auto mix = [a](int from, int to) {
                return static_cast<std::uint32_t>(from + ((to - from) * a + 127) / 255);
            };
            T::Store(dst, T::FromRgb(mix(int(T::Red(d)), ink.r), mix(int(T::Green(d)), ink.g),
                                     mix(int(T::Blue(d)), ink.b)));
        }
    }
}

template <typename T>
std::int64_t BlendRunAs(const PixelView& view, const Box& clip, RealizedFont::Session& glyphs,
                        std::int64_t x, std::int64_t baseline, std::u32string_view chars,
                        const int* advances, COLORREF color) {
    const std::uint32_t native = NativeFromColorRef<T>(color);
    const Ink ink{GetRValue(color), GetGValue(color), GetBValue(color)};
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const Glyph& glyph = glyphs.Get(chars[i]);
        if (glyph.width > 0)
            BlendGlyph<T>(view, clip, glyph, x + glyph.left, baseline - glyph.top, native, ink);
        x += advances ? advances[i] : glyph.advance;
    }
    return x;
}

}  // namespace

std::int64_t BlendRun(const PixelView& view, const Box& clip, RealizedFont::Session& glyphs,
                      std::int64_t x, std::int64_t baseline, std::u32string_view chars,
                      const int* advances, COLORREF color) {
    return WithPixelTraits(view.format, [&](auto traits) {
        return BlendRunAs<decltype(traits)>(view, clip, glyphs, x, baseline, chars, advances,
                                            color);
    });
}

}  // namespace platform::text
