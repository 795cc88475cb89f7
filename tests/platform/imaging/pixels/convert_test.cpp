#include "platform/imaging/pixels/convert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/platform/imaging/pixels/pixel_test_support.h"

namespace {

using pixel_test::FormatName;
using platform::imaging::CanConvert;
using platform::imaging::ConvertPixels;
using platform::imaging::ConvertRow;
using platform::imaging::Palette;

// An independent model of each format, written from the definitions with real arithmetic.
struct Rgba {
    int r, g, b, a;
};

int Round(double v) {
    return static_cast<int>(std::lround(v));
}
int Narrow(int v, int levels) {
    return Round(v * (levels - 1) / 255.0);
}
// The stored formats widen by repeating the top bits (not quite rounding: 5-bit 24 is 198).
int Widen(int q, int levels) {
    const int bits = levels == 32 ? 5 : 6;
    return q << (8 - bits) | q >> (2 * bits - 8);
}
int PremultipliedOf(int c, int a) {
    return Round(c * a / 255.0);
}
int StraightOf(int c, int a) {
    return a == 0 ? 0 : std::min(255, Round(c * 255.0 / a));
}

std::vector<std::uint8_t> Encode(PixelFormatID format, Rgba c) {
    switch (format) {
        case PixelFormat16bppRGB565: {
            const int v = Narrow(c.r, 32) << 11 | Narrow(c.g, 64) << 5 | Narrow(c.b, 32);
            return {std::uint8_t(v), std::uint8_t(v >> 8)};
        }
        case PixelFormat16bppRGB555: {
            const int v = Narrow(c.r, 32) << 10 | Narrow(c.g, 32) << 5 | Narrow(c.b, 32);
            return {std::uint8_t(v), std::uint8_t(v >> 8)};
        }
        case PixelFormat24bppRGB:
            return {std::uint8_t(c.b), std::uint8_t(c.g), std::uint8_t(c.r)};
        case PixelFormat32bppRGB:
            return {std::uint8_t(c.b), std::uint8_t(c.g), std::uint8_t(c.r), 0xFF};
        case PixelFormat32bppARGB:
            return {std::uint8_t(c.b), std::uint8_t(c.g), std::uint8_t(c.r), std::uint8_t(c.a)};
        default:  // PARGB
            return {std::uint8_t(PremultipliedOf(c.b, c.a)),
                    std::uint8_t(PremultipliedOf(c.g, c.a)),
                    std::uint8_t(PremultipliedOf(c.r, c.a)), std::uint8_t(c.a)};
    }
}

Rgba Decode(PixelFormatID format, const std::vector<std::uint8_t>& p) {
    switch (format) {
        case PixelFormat16bppRGB565: {
            const int v = p[0] | p[1] << 8;
            return {Widen(v >> 11, 32), Widen(v >> 5 & 63, 64), Widen(v & 31, 32), 255};
        }
        case PixelFormat16bppRGB555: {
            const int v = p[0] | p[1] << 8;
            return {Widen(v >> 10 & 31, 32), Widen(v >> 5 & 31, 32), Widen(v & 31, 32), 255};
        }
        case PixelFormat24bppRGB:
        case PixelFormat32bppRGB:
            return {p[2], p[1], p[0], 255};
        case PixelFormat32bppARGB:
            return {p[2], p[1], p[0], p[3]};
        default:  // PARGB
            return {StraightOf(p[2], p[3]), StraightOf(p[1], p[3]), StraightOf(p[0], p[3]), p[3]};
    }
}

// Black, white, mid levels, values either side of the 5/6-bit steps, and alpha 0, 128, 255.
const Rgba kCharacteristic[] = {
    {0, 0, 0, 255},       {255, 255, 255, 255}, {128, 127, 129, 255}, {4, 3, 5, 255},
    {251, 252, 250, 255}, {255, 0, 0, 0},       {0, 0, 255, 128},     {200, 100, 50, 128},
    {1, 2, 254, 1},       {33, 66, 99, 254},
};

TEST(Convert, EveryPairOfFormatsMatchesTheModel) {
    using pixel_test::kDirectFormats;
    for (PixelFormatID from : kDirectFormats) {
        for (PixelFormatID to : kDirectFormats) {
            ASSERT_TRUE(CanConvert(from, to));
            std::vector<std::uint8_t> row, expected;
            for (const Rgba& c : kCharacteristic) {
                const auto stored = Encode(from, c);
                row.insert(row.end(), stored.begin(), stored.end());
                const auto want = Encode(to, Decode(from, stored));
                expected.insert(expected.end(), want.begin(), want.end());
            }
            std::vector<std::uint8_t> out(expected.size(), 0xEE);
            ConvertRow(row.data(), from, nullptr, out.data(), to, std::size(kCharacteristic));
            EXPECT_EQ(out, expected) << FormatName(from) << " -> " << FormatName(to);
        }
    }
}

TEST(Convert, KnownBytes) {
    struct Case {
        PixelFormatID from, to;
        std::vector<std::uint8_t> source, expected;
    };
    const Case cases[] = {
        // Orange: 5-bit red 31, 6-bit green round(128 x 63 / 255) = 32, blue 0.
        {PixelFormat24bppRGB, PixelFormat16bppRGB565, {0, 128, 255}, {0x00, 0xFC}},
        {PixelFormat24bppRGB, PixelFormat16bppRGB555, {0, 128, 255}, {0x00, 0x7E}},
        {PixelFormat16bppRGB565, PixelFormat24bppRGB, {0x00, 0xFC}, {0, 130, 255}},
        {PixelFormat16bppRGB555, PixelFormat24bppRGB, {0xFF, 0x7F}, {255, 255, 255}},
        // The top bit of 555 is not colour.
        {PixelFormat16bppRGB555, PixelFormat32bppARGB, {0x00, 0x80}, {0, 0, 0, 255}},
        {PixelFormat32bppARGB, PixelFormat32bppPARGB, {255, 128, 0, 128}, {128, 64, 0, 128}},
        {PixelFormat32bppPARGB, PixelFormat32bppARGB, {128, 64, 0, 128}, {255, 128, 0, 128}},
        // Colour above alpha in premultiplied data saturates rather than wrapping.
        {PixelFormat32bppPARGB, PixelFormat32bppARGB, {200, 10, 0, 100}, {255, 26, 0, 100}},
        {PixelFormat32bppPARGB, PixelFormat24bppRGB, {0, 0, 0, 0}, {0, 0, 0}},
        {PixelFormat32bppARGB, PixelFormat32bppRGB, {1, 2, 3, 0}, {1, 2, 3, 255}},
        {PixelFormat24bppRGB, PixelFormat32bppARGB, {1, 2, 3}, {1, 2, 3, 255}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> out(c.expected.size());
        ConvertRow(c.source.data(), c.from, nullptr, out.data(), c.to, 1);
        EXPECT_EQ(out, c.expected) << FormatName(c.from) << " -> " << FormatName(c.to);
    }
}

TEST(Convert, IndexedSourceReadsThePaletteAndStrayIndexesAreBlack) {
    const Palette palette{{0x80FF0000, 0xFF00FF00, 0x00000000}, PALFLAG_HASALPHA};
    const std::uint8_t indexes[] = {0, 1, 2, 200};
    struct Case {
        PixelFormatID to;
        std::vector<std::uint8_t> expected;
    };
    const Case cases[] = {
        {PixelFormat32bppARGB, {0, 0, 255, 128, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255}},
        {PixelFormat32bppPARGB, {0, 0, 128, 128, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255}},
        {PixelFormat24bppRGB, {0, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0}},
        {PixelFormat16bppRGB565, {0x00, 0xF8, 0xE0, 0x07, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> out(c.expected.size());
        ConvertRow(indexes, PixelFormat8bppIndexed, &palette, out.data(), c.to, 4);
        EXPECT_EQ(out, c.expected) << FormatName(c.to);
    }
    // No palette at all: opaque black rather than a crash.
    std::vector<std::uint8_t> out(16, 0x55);
    ConvertRow(indexes, PixelFormat8bppIndexed, nullptr, out.data(), PixelFormat32bppARGB, 4);
    EXPECT_EQ(out[2], 0);
    EXPECT_EQ(out[3], 255);
}

TEST(Convert, EightToFiveAndSixBitsRoundsAtEveryLevel) {
    for (int v = 0; v < 256; ++v) {
        const std::uint8_t bgr[3] = {std::uint8_t(v), std::uint8_t(v), std::uint8_t(v)};
        std::uint8_t p565[2], p555[2];
        ConvertRow(bgr, PixelFormat24bppRGB, nullptr, p565, PixelFormat16bppRGB565, 1);
        ConvertRow(bgr, PixelFormat24bppRGB, nullptr, p555, PixelFormat16bppRGB555, 1);
        const int v565 = p565[0] | p565[1] << 8, v555 = p555[0] | p555[1] << 8;
        EXPECT_EQ(v565 & 31, Round(v * 31 / 255.0)) << v;
        EXPECT_EQ(v565 >> 5 & 63, Round(v * 63 / 255.0)) << v;
        EXPECT_EQ(v565 >> 11, Round(v * 31 / 255.0)) << v;
        EXPECT_EQ(v555, (v565 & 31) * 0x421) << v;
    }
}

TEST(Convert, NarrowLevelsSurviveARoundTripThroughEightBits) {
    for (int q = 0; q < 64; ++q) {
        const int v565 = (q & 31) << 11 | q << 5 | (q & 31);
        const std::uint8_t in[2] = {std::uint8_t(v565), std::uint8_t(v565 >> 8)};
        std::uint8_t wide[4], back[2];
        ConvertRow(in, PixelFormat16bppRGB565, nullptr, wide, PixelFormat32bppARGB, 1);
        EXPECT_EQ(wide[1], Widen(q, 64)) << q;
        EXPECT_EQ(wide[0], Widen(q & 31, 32)) << q;
        ConvertRow(wide, PixelFormat32bppARGB, nullptr, back, PixelFormat16bppRGB565, 1);
        EXPECT_EQ(back[0] | back[1] << 8, v565) << q;
    }
}

TEST(Convert, PremultiplyIsExactAndRoundTrips) {
    std::vector<std::uint8_t> straight, premultiplied(256 * 256 * 4), again(256 * 256 * 4);
    for (int a = 0; a < 256; ++a) {
        for (int c = 0; c < 256; ++c)
            straight.insert(straight.end(), {std::uint8_t(c), 0, 0, std::uint8_t(a)});
    }
    ConvertRow(straight.data(), PixelFormat32bppARGB, nullptr, premultiplied.data(),
               PixelFormat32bppPARGB, 256 * 256);
    ConvertRow(premultiplied.data(), PixelFormat32bppPARGB, nullptr, again.data(),
               PixelFormat32bppARGB, 256 * 256);
    std::vector<std::uint8_t> twice(256 * 256 * 4);
    ConvertRow(again.data(), PixelFormat32bppARGB, nullptr, twice.data(), PixelFormat32bppPARGB,
               256 * 256);
    int wrong = 0;
    for (int i = 0; i < 256 * 256; ++i) {
        const int c = straight[i * 4], a = straight[i * 4 + 3];
        wrong += premultiplied[i * 4] != PremultipliedOf(c, a);
        wrong += again[i * 4] != StraightOf(PremultipliedOf(c, a), a);
        // Premultiplied values are a fixed point of the round trip.
        wrong += twice[i * 4] != premultiplied[i * 4];
        wrong += again[i * 4 + 3] != a;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Convert, CanConvertOnlyStoredFormatsAndIndexedOnlyToItself) {
    struct Case {
        PixelFormatID from, to;
        bool expected;
    };
    const Case cases[] = {
        {PixelFormat8bppIndexed, PixelFormat24bppRGB, true},
        {PixelFormat8bppIndexed, PixelFormat8bppIndexed, true},
        {PixelFormat24bppRGB, PixelFormat8bppIndexed, false},
        {PixelFormat16bppARGB1555, PixelFormat24bppRGB, false},
        {PixelFormat24bppRGB, PixelFormat4bppIndexed, false},
        {PixelFormatUndefined, PixelFormat24bppRGB, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanConvert(c.from, c.to), c.expected) << FormatName(c.from) << FormatName(c.to);
}

TEST(Convert, WholeViewsHonourStridesAndRefuseMismatches) {
    // A bottom-up destination: negative stride, rows written in the right places.
    auto source = pixel_test::MakePicture(3, 2, PixelFormat24bppRGB, [](int x, int y) {
        return 0xFF000000u | static_cast<ARGB>(x * 40 + y * 100);
    });
    std::vector<std::uint8_t> storage(2 * 12, 0);
    platform::imaging::RasterView dest{storage.data() + 12, -12, 3, 2, PixelFormat32bppARGB};
    ASSERT_TRUE(ConvertPixels(source.View(), dest));
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixel_test::ReadPixel(dest, x, y), 0xFF000000u | (x * 40 + y * 100));
    }
    EXPECT_EQ(storage[0], 100);  // the bottom row (y = 1) is first in memory
    dest.width = 2;
    EXPECT_FALSE(ConvertPixels(source.View(), dest));
    dest.width = 3;
    dest.format = PixelFormat8bppIndexed;
    EXPECT_FALSE(ConvertPixels(source.View(), dest));
}

}  // namespace
