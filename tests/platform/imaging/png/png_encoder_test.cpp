// The PNG encoder: every stored format written, then read back by ImageMagick and by our own
// decoder, equal to the input within what the format holds; and a destination that fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/imaging/png/png_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace platform::imaging;
using png_tests::MemorySink;
using testing_support::RgbaPicture;

constexpr int kWidth = 23;
constexpr int kHeight = 9;

// The picture every case stores: colour ramps, and alpha in steps from clear to opaque.
void PatternAt(int x, int y, std::uint8_t rgba[4]) {
    rgba[0] = static_cast<std::uint8_t>(x * 11);
    rgba[1] = static_cast<std::uint8_t>(y * 28);
    rgba[2] = static_cast<std::uint8_t>(255 - x * 7 - y * 3);
    rgba[3] = static_cast<std::uint8_t>(x % 4 == 0 ? 0 : x % 4 == 1 ? 255 : 96 + y * 16);
}

// Packs one RGBA pixel the way each stored format keeps it (our own packing, not ConvertRow).
void Pack(PixelFormatID format, const std::uint8_t rgba[4], std::uint8_t* out) {
    const int r = rgba[0], g = rgba[1], b = rgba[2], a = rgba[3];
    switch (format) {
        case PixelFormat16bppRGB565: {
            const int v = (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
            out[0] = static_cast<std::uint8_t>(v), out[1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case PixelFormat16bppRGB555: {
            const int v = (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
            out[0] = static_cast<std::uint8_t>(v), out[1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case PixelFormat32bppPARGB:
            for (int i = 0; i < 3; ++i)
                out[i] = static_cast<std::uint8_t>((rgba[2 - i] * a + 127) / 255);
            out[3] = static_cast<std::uint8_t>(a);
            break;
        default:  // 24bppRGB, 32bppRGB, 32bppARGB: B, G, R (, A)
            out[0] = static_cast<std::uint8_t>(b), out[1] = static_cast<std::uint8_t>(g);
            out[2] = static_cast<std::uint8_t>(r);
            if (StoredBytesPerPixel(format) == 4)
                out[3] = static_cast<std::uint8_t>(format == PixelFormat32bppRGB ? 0x5A : a);
    }
}

struct EncodeCase {
    const char* name;
    PixelFormatID format;
    int colorType;
    int tolerance;   // what the format's precision allows
    bool keepAlpha;  // the PNG carries alpha
};

const EncodeCase kCases[] = {
    {"rgb565", PixelFormat16bppRGB565, 2, 7, false},
    {"rgb555", PixelFormat16bppRGB555, 2, 7, false},
    {"rgb24", PixelFormat24bppRGB, 2, 0, false},
    {"rgb32", PixelFormat32bppRGB, 2, 0, false},
    {"argb32", PixelFormat32bppARGB, 6, 0, true},
    {"pargb32", PixelFormat32bppPARGB, 6, 2, true},
};

void ExpectClose(const RgbaPicture& got, const EncodeCase& c, const char* reader) {
    ASSERT_EQ(got.width, kWidth) << reader;
    ASSERT_EQ(got.height, kHeight) << reader;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            std::uint8_t want[4];
            PatternAt(x, y, want);
            const std::uint8_t* have = got.At(x, y);
            EXPECT_EQ(have[3], c.keepAlpha ? want[3] : 255) << reader << " " << x << "," << y;
            // Premultiplied storage keeps no colour where alpha is 0, and little where it is low.
            if (c.format == PixelFormat32bppPARGB && want[3] < 96)
                continue;
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(have[i], want[i], c.tolerance) << reader << " " << x << "," << y;
        }
}

TEST(PngEncoder, StoredFormatsRoundTrip) {
    testing_support::TempDir dir;
    for (const EncodeCase& c : kCases) {
        PixelBuffer pixels;
        ASSERT_EQ(PixelBuffer::Allocate(kWidth, kHeight, c.format, &pixels), S_OK);
        const int bytesPerPixel = StoredBytesPerPixel(c.format);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t rgba[4];
                PatternAt(x, y, rgba);
                Pack(c.format, rgba, pixels.View().Row(y) + x * bytesPerPixel);
            }
        MemorySink sink;
        ASSERT_EQ(EncodePng(pixels.View(), {}, sink), S_OK) << c.name;
        EXPECT_EQ(png_tests::ReadIhdr(sink.bytes).colorType, c.colorType) << c.name;
        EXPECT_EQ(png_tests::ReadIhdr(sink.bytes).bitDepth, 8) << c.name;

        const std::string path = dir / (std::string(c.name) + ".png");
        ASSERT_TRUE(testing_support::WriteBytes(path, sink.bytes));
        RgbaPicture reference, ours;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference)) << c.name;
        ExpectClose(reference, c, "ImageMagick");
        ASSERT_EQ(png_tests::DecodeOurs(sink.bytes, &ours), S_OK) << c.name;
        ExpectClose(ours, c, "ours");
    }
}

// Indexed pictures become palette PNGs at the smallest depth their palette needs, with tRNS only
// when some colour is translucent; indexes past the palette still make a valid file.
TEST(PngEncoder, IndexedBecomesPalettePng) {
    const struct {
        const char* name;
        std::vector<ARGB> palette;
        int bitDepth;
        bool trns;
    } cases[] = {
        {"two colours", {0xFFFF0000, 0xFF0000FF}, 1, false},
        {"four with alpha", {0xFF000000, 0x80FFFFFF, 0x00000000, 0xFF00FF00}, 2, true},
        {"twelve", std::vector<ARGB>(12, 0xFF336699), 4, false},
        {"empty palette", {}, 4, false},
        {"full", std::vector<ARGB>(256, 0xC0123456), 8, true},
    };
    testing_support::TempDir dir;
    for (const auto& c : cases) {
        PixelBuffer pixels;
        ASSERT_EQ(PixelBuffer::Allocate(kWidth, kHeight, PixelFormat8bppIndexed, &pixels), S_OK);
        pixels.ColorTable().entries = c.palette;
        const int colours = c.palette.empty() ? 9 : static_cast<int>(c.palette.size());
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                pixels.View().Row(y)[x] = static_cast<std::uint8_t>((x + y) % colours);
        MemorySink sink;
        ASSERT_EQ(EncodePng(pixels.View(), {}, sink), S_OK) << c.name;
        const png_tests::Ihdr ihdr = png_tests::ReadIhdr(sink.bytes);
        EXPECT_EQ(ihdr.colorType, 3) << c.name;
        EXPECT_EQ(ihdr.bitDepth, c.bitDepth) << c.name;
        EXPECT_EQ(ihdr.hasTrns, c.trns) << c.name;

        const std::string path = dir / "indexed.png";
        ASSERT_TRUE(testing_support::WriteBytes(path, sink.bytes));
        RgbaPicture reference;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference)) << c.name;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int index = (x + y) % colours;
                const ARGB want = c.palette.empty() ? 0xFF000000 : c.palette[index];
                const std::uint8_t* have = reference.At(x, y);
                EXPECT_EQ(have[3], want >> 24) << c.name;
                if (want >> 24 != 0) {
                    EXPECT_EQ(have[0] << 16 | have[1] << 8 | have[2], want & 0xFFFFFF) << c.name;
                }
            }
    }
}

TEST(PngEncoder, RefusedDestinationOrPixels) {
    PixelBuffer pixels;
    ASSERT_EQ(PixelBuffer::Allocate(kWidth, kHeight, PixelFormat24bppRGB, &pixels, true), S_OK);
    MemorySink whole;
    ASSERT_EQ(EncodePng(pixels.View(), {}, whole), S_OK);
    for (std::size_t limit :
         {std::size_t{0}, std::size_t{8}, std::size_t{40}, whole.bytes.size() - 1}) {
        MemorySink failing(limit);
        EXPECT_EQ(EncodePng(pixels.View(), {}, failing), E_FAIL) << limit;
    }
    MemorySink sink;
    EXPECT_EQ(EncodePng(RasterView{}, {}, sink), E_INVALIDARG);
    RasterView notStored = pixels.View();
    notStored.format = PixelFormat4bppIndexed;
    EXPECT_EQ(EncodePng(notStored, {}, sink), E_INVALIDARG);
    EXPECT_TRUE(sink.bytes.empty());
}

}  // namespace
