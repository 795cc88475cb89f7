// The PNG decoder against ImageMagick's own decode of fixtures it wrote: every colour type and
// depth, transparency, interlacing; then the header, and files that are cut short or hostile.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/imaging/imaging.h"
#include "tests/platform/imaging/png/png_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace platform::imaging;
using png_tests::DecodeOurs;
using testing_support::RgbaPicture;
using Args = std::vector<std::string>;

Args Join(Args a, const Args& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Pictures with many colours (so ImageMagick keeps them true colour) and with varied alpha.
const Args kColour = {"-size",
                      "40x30",
                      "gradient:red-blue",
                      "(",
                      "-size",
                      "30x40",
                      "gradient:lime-black",
                      "-rotate",
                      "90",
                      ")",
                      "-compose",
                      "plus",
                      "-composite"};
const Args kAlphaRamp = {"(",       "-size",    "30x40",       "gradient:white-black",
                         "-rotate", "-90",      ")",           "-alpha",
                         "off",     "-compose", "CopyOpacity", "-composite"};
const Args kGrey = {"-size", "19x13", "gradient:"};
// A black square made the one transparent colour: written as a tRNS colour key.
const Args kKeyedSquare = {"-fill", "black", "-draw", "rectangle 2,2 6,6", "-transparent", "black"};

struct PngCase {
    const char* name;
    Args args;
    std::string prefix;  // ImageMagick's output format, e.g. "PNG8:"
    int colorType;
    int bitDepth;
    bool trns;
    PixelFormatID delivered;
    int tolerance;  // 16-bit files: ImageMagick and we may round the last bit apart
};

std::vector<PngCase> Cases() {
    const Args depth8 = {"-depth", "8"};
    const Args depth16 = {"-depth", "16"};
    const Args interlace = {"-interlace", "PNG"};
    const Args greyType = {"-define", "png:color-type=0"};
    return {
        {"grey1", Join(kGrey, {"-define", "png:color-type=0", "-define", "png:bit-depth=1"}), "", 0,
         1, false, PixelFormat24bppRGB, 0},
        {"grey2", Join(kGrey, {"-depth", "2"}), "", 0, 2, false, PixelFormat24bppRGB, 0},
        {"grey4", Join(kGrey, {"-define", "png:color-type=0", "-define", "png:bit-depth=4"}), "", 0,
         4, false, PixelFormat24bppRGB, 0},
        {"grey8", Join(kGrey, Join(depth8, greyType)), "", 0, 8, false, PixelFormat24bppRGB, 0},
        {"grey16", Join(kGrey, Join(depth16, greyType)), "", 0, 16, false, PixelFormat24bppRGB, 1},
        {"grey16_interlaced", Join(kGrey, Join(depth16, Join(greyType, interlace))), "", 0, 16,
         false, PixelFormat24bppRGB, 1},
        {"grey_alpha8",
         Join(Join(kGrey, kAlphaRamp), Join(depth8, {"-define", "png:color-type=4"})), "", 4, 8,
         false, PixelFormat32bppARGB, 0},
        {"grey_alpha16",
         Join(Join(kGrey, kAlphaRamp), Join(depth16, {"-define", "png:color-type=4"})), "", 4, 16,
         false, PixelFormat32bppARGB, 1},
        {"rgb8", Join(kColour, depth8), "PNG24:", 2, 8, false, PixelFormat24bppRGB, 0},
        {"rgb16", Join(kColour, depth16), "PNG48:", 2, 16, false, PixelFormat24bppRGB, 1},
        {"rgb8_interlaced", Join(kColour, Join(depth8, interlace)), "PNG24:", 2, 8, false,
         PixelFormat24bppRGB, 0},
        {"rgba8", Join(Join(kColour, kAlphaRamp), depth8), "PNG32:", 6, 8, false,
         PixelFormat32bppARGB, 0},
        {"rgba16", Join(Join(kColour, kAlphaRamp), depth16), "PNG64:", 6, 16, false,
         PixelFormat32bppARGB, 1},
        {"rgba8_interlaced", Join(Join(kColour, kAlphaRamp), Join(depth8, interlace)), "PNG32:", 6,
         8, false, PixelFormat32bppARGB, 0},
        {"palette2", Join(kColour, {"-depth", "8", "+dither", "-colors", "3"}), "", 3, 2, false,
         PixelFormat8bppIndexed, 0},
        {"palette4",
         {"-size", "19x13", "gradient:red-blue", "-depth", "8", "+dither", "-colors", "16"},
         "",
         3,
         4,
         false,
         PixelFormat8bppIndexed,
         0},
        {"palette8", Join(kColour, {"-depth", "8", "+dither", "-colors", "200"}), "PNG8:", 3, 8,
         false, PixelFormat8bppIndexed, 0},
        {"palette8_interlaced",
         Join(kColour, {"-depth", "8", "+dither", "-colors", "50", "-interlace", "PNG"}),
         "PNG8:", 3, 8, false, PixelFormat8bppIndexed, 0},
        {"palette_alpha", Join(Join(kColour, kAlphaRamp), {"-depth", "8", "-colors", "60"}),
         "PNG8:", 3, 8, true, PixelFormat8bppIndexed, 0},
        {"rgb_colour_key", Join(Join(kColour, depth8), kKeyedSquare), "PNG24:", 2, 8, true,
         PixelFormat32bppARGB, 0},
        {"grey_colour_key",
         Join({"-size", "40x30", "gradient:white-gray10", "-depth", "8"}, kKeyedSquare), "", 0, 8,
         true, PixelFormat32bppARGB, 0},
        {"grey16_colour_key",
         Join({"-size", "40x30", "gradient:white-gray10", "-depth", "16"}, kKeyedSquare), "", 0, 16,
         true, PixelFormat32bppARGB, 1},
    };
}

class PngDecodeTest : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngDecodeTest, MatchesImageMagick) {
    const PngCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string path = dir / (std::string(c.name) + ".png");
    ASSERT_TRUE(testing_support::RunConvert(Join(c.args, {c.prefix + path})));
    const std::vector<std::uint8_t> bytes = testing_support::ReadBytes(path);
    // The fixture must be the kind of PNG the case stands for.
    const png_tests::Ihdr ihdr = png_tests::ReadIhdr(bytes);
    ASSERT_EQ(ihdr.colorType, c.colorType);
    ASSERT_EQ(ihdr.bitDepth, c.bitDepth);
    ASSERT_EQ(ihdr.hasTrns, c.trns);

    RgbaPicture ours, reference;
    PictureHeader header;
    PixelFormatID delivered = 0;
    ASSERT_EQ(DecodeOurs(bytes, &ours, &header, &delivered), S_OK);
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
    EXPECT_EQ(delivered, c.delivered);
    EXPECT_EQ(header.pixelFormat, c.delivered);
    EXPECT_EQ(header.format, RawFormat::Png);
    const bool alpha = c.delivered == PixelFormat32bppARGB || c.trns;
    EXPECT_EQ((header.flags & ImageFlagsHasAlpha) != 0, alpha);
    const testing_support::PixelDifference difference =
        testing_support::Compare(ours, reference, true);
    EXPECT_LE(difference.maximum, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(ColourTypes, PngDecodeTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PngHeader, ReadsSizeAndResolution) {
    testing_support::TempDir dir;
    const std::string path = dir / "dpi.png";
    ASSERT_TRUE(testing_support::RunConvert(
        Join(kGrey, {"-units", "PixelsPerInch", "-density", "300x150", path})));
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(OpenPngDecoder(OwnedMemorySource(testing_support::ReadBytes(path)), &decoder), S_OK);
    const PictureHeader& header = decoder->Header();
    EXPECT_EQ(header.width, 19);
    EXPECT_EQ(header.height, 13);
    EXPECT_EQ(header.frameCount, 1);
    EXPECT_NEAR(header.xdpi, 300, 0.1);
    EXPECT_NEAR(header.ydpi, 150, 0.1);
    EXPECT_NE(header.flags & ImageFlagsHasRealDPI, 0u);
    EXPECT_NE(header.flags & ImageFlagsColorSpaceGRAY, 0u);
    PixelBuffer pixels;
    EXPECT_EQ(decoder->Decode({.frame = 1}, &pixels), E_INVALIDARG);
}

// A PNG made of a signature and an IHDR (correct CRC) and nothing more.
std::vector<std::uint8_t> HeaderOnlyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    for (std::uint32_t value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<std::uint8_t>(value >> shift));
    png.insert(png.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, not interlaced
    const uLong crc = crc32(0, png.data() + 12, 17);
    for (int shift = 24; shift >= 0; shift -= 8)
        png.push_back(static_cast<std::uint8_t>(crc >> shift));
    // An empty IDAT lets the header be read; decoding then finds no data.
    png.insert(png.end(), {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E});
    return png;
}

class BudgetScope {
  public:
    explicit BudgetScope(std::size_t bytes) : saved_(platform::ImagingMemoryBudget()) {
        platform::SetImagingMemoryBudget(bytes);
    }
    ~BudgetScope() { platform::SetImagingMemoryBudget(saved_); }

  private:
    std::size_t saved_;
};

TEST(PngHostile, HugePictureUnderSmallBudgetIsOutOfMemory) {
    BudgetScope budget(1 << 20);
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(OpenPngDecoder(OwnedMemorySource(HeaderOnlyPng(65535, 65535)), &decoder), S_OK);
    EXPECT_EQ(decoder->Header().width, 65535);
    PixelBuffer pixels;
    EXPECT_EQ(decoder->Decode({}, &pixels), E_OUTOFMEMORY);
    EXPECT_TRUE(pixels.Empty());
}

// Found by fuzzing: a palette picture whose tEXt chunk claims 1.4 GB. Text is skipped unread,
// so the file is refused when the bytes run out instead of being buffered first.
const std::vector<std::uint8_t> kHugeTextChunk = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x08, 0x03, 0x00, 0x00, 0x00, 0xF3,
    0xD1, 0x4E, 0xB9, 0x00, 0x00, 0x00, 0x04, 0x67, 0x41, 0x6D, 0x41, 0x00, 0x00, 0xB1, 0x8F,
    0x0B, 0xFC, 0x61, 0x05, 0x00, 0x00, 0x00, 0x06, 0x50, 0x4C, 0x54, 0x45, 0xC8, 0xC8, 0xC8,
    0x36, 0x36, 0x36, 0x54, 0x00, 0xDD, 0x2B, 0x00, 0x00, 0x00, 0x07, 0x74, 0x4D, 0x4D, 0x45,
    0x07, 0xEA, 0x0C, 0xC1, 0x08, 0x88, 0x19, 0x00, 0x00, 0x74, 0x45, 0x58, 0x74, 0x00, 0x00,
    0x74, 0x45, 0x58, 0x74, 0x64, 0x61, 0x36, 0x36, 0x3A, 0x60, 0x82};

TEST(PngHostile, RefusedAtOpen) {
    const std::vector<std::uint8_t> valid = HeaderOnlyPng(4, 4);
    std::vector<std::uint8_t> badCrc = valid;
    badCrc[20] ^= 1;
    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', 0, 1, 2}},
        {"signature only", {valid.begin(), valid.begin() + 8}},
        {"cut in IHDR", {valid.begin(), valid.begin() + 20}},
        {"IHDR with a bad CRC", badCrc},
        {"wider than 65535", HeaderOnlyPng(70000, 4)},
        {"zero width", HeaderOnlyPng(0, 4)},
        {"tEXt claiming 1.4 GB", kHugeTextChunk},
    };
    for (const auto& c : cases) {
        std::unique_ptr<PictureDecoder> decoder;
        EXPECT_EQ(OpenPngDecoder(OwnedMemorySource(c.bytes), &decoder), E_FAIL) << c.name;
        EXPECT_EQ(decoder, nullptr) << c.name;
    }
}

TEST(PngHostile, NoImageDataFailsToDecode) {
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(OpenPngDecoder(OwnedMemorySource(HeaderOnlyPng(4, 4)), &decoder), S_OK);
    PixelBuffer pixels;
    EXPECT_EQ(decoder->Decode({}, &pixels), E_FAIL);
}

// A file cut inside its image data shows the rows that arrived, the rest transparent; every
// shorter cut either opens and decodes or is refused, never anything worse.
TEST(PngHostile, CutShortShowsWhatArrived) {
    testing_support::TempDir dir;
    const std::string path = dir / "cut.png";
    ASSERT_TRUE(testing_support::RunConvert(
        Join(Join(kColour, kAlphaRamp),
             {"-depth", "8", "-define", "png:compression-level=0", "PNG32:" + path})));
    const std::vector<std::uint8_t> whole = testing_support::ReadBytes(path);
    RgbaPicture reference;
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));

    const std::vector<std::uint8_t> half(whole.begin(), whole.begin() + whole.size() / 2);
    RgbaPicture ours;
    ASSERT_EQ(DecodeOurs(half, &ours), S_OK);
    int rowsMatching = 0;
    for (int y = 0; y < ours.height; ++y) {
        const std::uint8_t* row = ours.At(0, y);
        const std::size_t rowBytes = static_cast<std::size_t>(ours.width) * 4;
        if (std::equal(row, row + rowBytes, reference.At(0, y)))
            ++rowsMatching;
        else
            EXPECT_TRUE(std::all_of(row, row + rowBytes, [](int v) { return v == 0; })) << y;
    }
    EXPECT_GT(rowsMatching, 5);
    EXPECT_LT(rowsMatching, ours.height);

    for (std::size_t size = 0; size < whole.size(); size += 7) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
        const HRESULT hr = DecodeOurs(cut, &ours);
        EXPECT_TRUE(hr == S_OK || hr == E_FAIL) << size;
    }
}

}  // namespace
