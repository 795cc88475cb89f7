#include "platform/imaging/pixels/convert.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/imaging/pixels/pixel_math.h"

namespace platform::imaging {
namespace {

// One pixel with straight (not premultiplied) colour.
struct Px {
    std::uint8_t b, g, r, a;
};

using Lut = std::array<ARGB, 256>;

// The 8-to-5 and 8-to-6-bit roundings as tables: a load is cheaper than the multiply-divide.
template <unsigned (*Narrow)(unsigned)>
constexpr std::array<std::uint8_t, 256> NarrowTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned v = 0; v < 256; ++v)
        table[v] = static_cast<std::uint8_t>(Narrow(v));
    return table;
}
constexpr auto kTo5 = NarrowTable<To5Bits>();
constexpr auto kTo6 = NarrowTable<To6Bits>();

// Pixel layouts, each reading and writing straight colour. Opaque formats ignore alpha.
struct Rgb565 {
    static constexpr int kBytes = 2;
    static Px Load(const std::uint8_t* p, const Lut&) {
        const unsigned v = p[0] | (p[1] << 8);
        return {From5Bits(v & 0x1F), From6Bits((v >> 5) & 0x3F), From5Bits(v >> 11), 0xFF};
    }
    static void Store(std::uint8_t* p, Px c) {
        const unsigned v = (kTo5[c.r] << 11) | (kTo6[c.g] << 5) | kTo5[c.b];
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
};

struct Rgb555 {
    static constexpr int kBytes = 2;
    static Px Load(const std::uint8_t* p, const Lut&) {
        const unsigned v = p[0] | (p[1] << 8);
        return {From5Bits(v & 0x1F), From5Bits((v >> 5) & 0x1F), From5Bits((v >> 10) & 0x1F), 0xFF};
    }
    static void Store(std::uint8_t* p, Px c) {
        const unsigned v = (kTo5[c.r] << 10) | (kTo5[c.g] << 5) | kTo5[c.b];
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
    }
};

struct Rgb24 {
    static constexpr int kBytes = 3;
    static Px Load(const std::uint8_t* p, const Lut&) { return {p[0], p[1], p[2], 0xFF}; }
    static void Store(std::uint8_t* p, Px c) {
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
    }
};

struct Rgb32 {
    static constexpr int kBytes = 4;
    static Px Load(const std::uint8_t* p, const Lut&) { return {p[0], p[1], p[2], 0xFF}; }
    static void Store(std::uint8_t* p, Px c) {
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
        p[3] = 0xFF;
    }
};

struct Argb32 {
    static constexpr int kBytes = 4;
    static Px Load(const std::uint8_t* p, const Lut&) { return {p[0], p[1], p[2], p[3]}; }
    static void Store(std::uint8_t* p, Px c) {
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
        p[3] = c.a;
    }
};

struct Pargb32 {
    static constexpr int kBytes = 4;
    static Px Load(const std::uint8_t* p, const Lut&) {
        const unsigned a = p[3];
        if (a == 0xFF)
            return {p[0], p[1], p[2], 0xFF};
        return {Unpremultiply(p[0], a), Unpremultiply(p[1], a), Unpremultiply(p[2], a),
                static_cast<std::uint8_t>(a)};
    }
    static void Store(std::uint8_t* p, Px c) {
        if (c.a == 0xFF) {
            Argb32::Store(p, c);
            return;
        }
        p[0] = Premultiply(c.b, c.a);
        p[1] = Premultiply(c.g, c.a);
        p[2] = Premultiply(c.r, c.a);
        p[3] = c.a;
    }
};

struct Indexed8 {
    static constexpr int kBytes = 1;
    static Px Load(const std::uint8_t* p, const Lut& lut) {
        const ARGB c = lut[*p];
        return {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 24)};
    }
};

using RowFunction = void (*)(const std::uint8_t*, const Lut&, std::uint8_t*, int);

template <typename From, typename To>
void ConvertRowAs(const std::uint8_t* source, const Lut& lut, std::uint8_t* dest, int count) {
    for (int i = 0; i < count; ++i) {
        To::Store(dest, From::Load(source, lut));
        source += From::kBytes;
        dest += To::kBytes;
    }
}

// The source formats in table order; 8bppIndexed is last and is never a destination here.
constexpr std::array<PixelFormatID, 7> kFormats = {
    PixelFormat16bppRGB565, PixelFormat16bppRGB555, PixelFormat24bppRGB,   PixelFormat32bppRGB,
    PixelFormat32bppARGB,   PixelFormat32bppPARGB,  PixelFormat8bppIndexed};
constexpr int kDestinations = 6;

int FormatIndex(PixelFormatID format) {
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
        if (kFormats[i] == format)
            return static_cast<int>(i);
    }
    return -1;
}

template <typename From>
constexpr std::array<RowFunction, kDestinations> RowsFrom() {
    return {ConvertRowAs<From, Rgb565>, ConvertRowAs<From, Rgb555>, ConvertRowAs<From, Rgb24>,
            ConvertRowAs<From, Rgb32>,  ConvertRowAs<From, Argb32>, ConvertRowAs<From, Pargb32>};
}

constexpr std::array<std::array<RowFunction, kDestinations>, 7> kRows = {
    RowsFrom<Rgb565>(), RowsFrom<Rgb555>(),  RowsFrom<Rgb24>(),   RowsFrom<Rgb32>(),
    RowsFrom<Argb32>(), RowsFrom<Pargb32>(), RowsFrom<Indexed8>()};

// A full 256-entry table, so stray indexes beyond a short palette read opaque black.
void FillLut(const Palette* palette, Lut* lut) {
    lut->fill(0xFF000000);
    if (palette == nullptr)
        return;
    const std::size_t n = std::min<std::size_t>(palette->entries.size(), lut->size());
    std::copy_n(palette->entries.begin(), n, lut->begin());
}

// The row loop for one pair of formats, or null for a plain copy.
RowFunction PickRow(PixelFormatID from, PixelFormatID to) {
    if (from == to)
        return nullptr;
    return kRows[FormatIndex(from)][FormatIndex(to)];
}

}  // namespace

bool CanConvert(PixelFormatID from, PixelFormatID to) {
    const int fromIndex = FormatIndex(from);
    const int toIndex = FormatIndex(to);
    if (fromIndex < 0 || toIndex < 0)
        return false;
    return to != PixelFormat8bppIndexed || from == to;
}

void ConvertRow(const std::uint8_t* source, PixelFormatID from, const Palette* palette,
                std::uint8_t* dest, PixelFormatID to, int count) {
    if (count <= 0 || !CanConvert(from, to))
        return;
    const RowFunction row = PickRow(from, to);
    if (row == nullptr) {
        std::memmove(dest, source, static_cast<std::size_t>(count) * StoredBytesPerPixel(from));
        return;
    }
    Lut lut;
    if (from == PixelFormat8bppIndexed)
        FillLut(palette, &lut);
    row(source, lut, dest, count);
}

bool ConvertPixels(const RasterView& source, const RasterView& dest) {
    if (!CanConvert(source.format, dest.format) || source.width != dest.width ||
        source.height != dest.height)
        return false;
    if (source.Empty())
        return true;
    const RowFunction row = PickRow(source.format, dest.format);
    Lut lut;
    if (source.format == PixelFormat8bppIndexed)
        FillLut(source.palette, &lut);
    const std::size_t rowBytes =
        static_cast<std::size_t>(source.width) * StoredBytesPerPixel(source.format);
    for (int y = 0; y < source.height; ++y) {
        if (row == nullptr)
            std::memmove(dest.Row(y), source.Row(y), rowBytes);
        else
            row(source.Row(y), lut, dest.Row(y), source.width);
    }
    return true;
}

}  // namespace platform::imaging
