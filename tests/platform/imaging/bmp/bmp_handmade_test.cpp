// Hand-made BMP files for what ImageMagick does not write (RLE4, top-down rows, 2-bit palettes,
// unusual masks) and for damaged files: every one decodes to known pixels or fails cleanly.
#include <gtest/gtest.h>

#include <climits>

#include "platform/core/debug.h"
#include "platform/imaging/imaging.h"
#include "tests/platform/imaging/bmp/bmp_test_support.h"

namespace {

using bmp_test::BmpFields;
using bmp_test::BuildBmp;
using bmp_test::DecodeBytes;

// 0xAARRGGBB of every pixel, top row first.
std::vector<ARGB> Pixels(const bmp_test::PixelBuffer& pixels) {
    const auto rgba = bmp_test::ToRgba(pixels);
    std::vector<ARGB> out;
    for (std::size_t i = 0; i < rgba.rgba.size(); i += 4) {
        out.push_back(static_cast<ARGB>(rgba.rgba[i + 3]) << 24 | rgba.rgba[i] << 16 |
                      rgba.rgba[i + 1] << 8 | rgba.rgba[i + 2]);
    }
    return out;
}

constexpr ARGB kBlack = 0xFF000000;
constexpr ARGB kRed = 0xFFFF0000;
constexpr ARGB kGreen = 0xFF00FF00;
constexpr ARGB kBlue = 0xFF0000FF;
constexpr ARGB kWhite = 0xFFFFFFFF;

// Palette entry i is a distinct colour: i in the red channel.
std::vector<std::uint32_t> Ramp(int count) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back(static_cast<std::uint32_t>(i) << 16 | 0x40);
    }
    return palette;
}
ARGB RampColour(int index) {
    return 0xFF000000u | static_cast<ARGB>(index) << 16 | 0x40;
}
std::vector<ARGB> RampColours(std::initializer_list<int> indexes) {
    std::vector<ARGB> out;
    for (int i : indexes) {
        out.push_back(RampColour(i));
    }
    return out;
}

struct HandmadeCase {
    const char* name;
    BmpFields fields;
    PixelFormatID delivered;
    std::vector<ARGB> expected;
    bool cutShort = false;  // the debug output says the file ends early
};

std::vector<HandmadeCase> HandmadeCases() {
    return {
        // Bottom row: a run of alternating nibbles, then a 3-nibble literal clipped at the row end;
        // a delta skips the middle row; EOB ends the picture with most pixels never written.
        {"Rle4RunsLiteralDeltaClip",
         {.width = 7,
          .height = 3,
          .bitCount = 4,
          .compression = 2,
          .palette = Ramp(16),
          .pixels = {0x05, 0x12, 0x00, 0x03, 0x34, 0x50, 0x00, 0x00, 0x00, 0x02, 0x02, 0x01, 0x02,
                     0x77, 0x00, 0x01}},
         PixelFormat8bppIndexed,
         RampColours({0, 0, 7, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 1, 2, 1, 3, 4})},
        // An odd literal with its pad byte, end of line, a run past the row end; the last line's
        // end
        // completes the picture without an EOB.
        {"Rle8LiteralPadAndClippedRun",
         {.width = 4,
          .height = 2,
          .bitCount = 8,
          .compression = 1,
          .palette = Ramp(10),
          .pixels = {0x00, 0x03, 0x09, 0x08, 0x07, 0x00, 0x00, 0x00, 0x06, 0x02, 0x00, 0x00}},
         PixelFormat8bppIndexed,
         RampColours({2, 2, 2, 2, 9, 8, 7, 0})},
        {"Rle8CutShortInLiteral",
         {.width = 4,
          .height = 1,
          .bitCount = 8,
          .compression = 1,
          .palette = Ramp(10),
          .pixels = {0x00, 0x04, 0x05, 0x06}},
         PixelFormat8bppIndexed,
         RampColours({5, 6, 0, 0}),
         true},
        {"TopDown24",
         {.width = 2,
          .height = -2,
          .pixels = {0, 0, 255, 0, 255, 0, 0, 0,  //
                     255, 0, 0, 255, 255, 255, 0, 0}},
         PixelFormat24bppRGB,
         {kRed, kGreen, kBlue, kWhite}},
        {"TopDown1Bit",
         {.width = 3,
          .height = -2,
          .bitCount = 1,
          .palette = {0x000000, 0xFF8000},
          .pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0}},
         PixelFormat8bppIndexed,
         {0xFFFF8000, kBlack, 0xFFFF8000, kBlack, 0xFFFF8000, kBlack}},
        {"TwoBitPalette",
         {.width = 5, .height = 1, .bitCount = 2, .palette = Ramp(4), .pixels = {0x1B, 0x80, 0, 0}},
         PixelFormat8bppIndexed,
         RampColours({0, 1, 2, 3, 2})},
        {"Core8BitPaletteOf3ByteEntries",
         {.headerSize = 12,
          .width = 2,
          .height = 1,
          .bitCount = 8,
          .palette = Ramp(3),
          .pixels = {2, 1, 0, 0}},
         PixelFormat8bppIndexed,
         RampColours({2, 1})},
        {"Masks565AfterInfoHeader",
         {.width = 2,
          .height = 1,
          .bitCount = 16,
          .compression = 3,
          .masks = {0xF800, 0x07E0, 0x001F},
          .pixels = {0x00, 0xF8, 0xE0, 0x07}},
         PixelFormat24bppRGB,
         {kRed, kGreen}},
        {"Argb4444WidenedToFullScale",
         {.headerSize = 56,
          .width = 2,
          .height = 1,
          .bitCount = 16,
          .compression = 3,
          .masks = {0x0F00, 0x00F0, 0x000F, 0xF000},
          .pixels = {0x0F, 0xF8, 0x00, 0x70}},
         PixelFormat32bppARGB,
         {0xFF8800FF, 0x77000000}},
        {"Masks32ReversedInV4Header",
         {.headerSize = 108,
          .width = 1,
          .height = 1,
          .bitCount = 32,
          .compression = 3,
          .masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000},
          .pixels = {0x11, 0x22, 0x33, 0x44}},
         PixelFormat32bppARGB,
         {0x44112233}},
        {"Rgb32IgnoresFourthByte",
         {.width = 1, .height = 1, .bitCount = 32, .pixels = {0x10, 0x20, 0x30, 0x40}},
         PixelFormat24bppRGB,
         {0xFF302010}},
        {"AlphaMaskButNoAlphaIsOpaque",
         {.headerSize = 56,
          .width = 1,
          .height = 1,
          .bitCount = 32,
          .compression = 3,
          .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
          .pixels = {0x10, 0x20, 0x30, 0x00}},
         PixelFormat32bppARGB,
         {0xFF302010}},
        {"IndexBeyondPaletteIsBlack",
         {.width = 2,
          .height = 1,
          .bitCount = 8,
          .palette = {0xFFFFFF, 0x0000FF},
          .pixels = {1, 5, 0, 0}},
         PixelFormat8bppIndexed,
         {kBlue, kBlack}},
        {"PaletteShorterThanDeclared",
         {.width = 2,
          .height = 1,
          .bitCount = 8,
          .palette = {0xFF0000, 0x00FF00},
          .colorsUsed = 0,
          .pixels = {1, 0, 0, 0}},
         PixelFormat8bppIndexed,
         {kGreen, kRed}},
        // Bottom row whole, the middle row's first pixel, then the file ends.
        {"Rows24CutShort",
         {.width = 2, .height = 3, .pixels = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255}},
         PixelFormat24bppRGB,
         {kBlack, kBlack, kRed, kBlack, kBlue, kGreen},
         true},
    };
}

class BmpHandmadeTest : public ::testing::TestWithParam<HandmadeCase> {};

TEST_P(BmpHandmadeTest, DecodesToKnownPixels) {
    const HandmadeCase& c = GetParam();
    platform::DebugOutputCapture debug;
    const bmp_test::Decoded decoded = DecodeBytes(BuildBmp(c.fields));
    ASSERT_EQ(decoded.open, S_OK);
    ASSERT_EQ(decoded.decode, S_OK);
    EXPECT_EQ(decoded.pixels.Format(), c.delivered);
    EXPECT_EQ(Pixels(decoded.pixels), c.expected);
    EXPECT_EQ(debug.Utf8().find("end") != std::string::npos, c.cutShort) << debug.Utf8();
}

INSTANTIATE_TEST_SUITE_P(Files, BmpHandmadeTest, ::testing::ValuesIn(HandmadeCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Headers that cannot be decoded are refused when the decoder opens, never read out of bounds.
struct BrokenCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

std::vector<BrokenCase> BrokenCases() {
    const BmpFields valid{.width = 2,
                          .height = 2,
                          .bitCount = 8,
                          .palette = Ramp(4),
                          .pixels = std::vector<std::uint8_t>(8, 1)};
    auto with = [&](auto change) {
        BmpFields fields = valid;
        change(fields);
        return BuildBmp(fields);
    };
    return {
        {"OffsetBeyondFile", with([](BmpFields& s) { s.offBits = 4000; })},
        {"OffsetInsideHeader", with([](BmpFields& s) { s.offBits = 20; })},
        {"HeightIntMin", with([](BmpFields& s) { s.height = INT_MIN; })},
        {"HeightZero", with([](BmpFields& s) { s.height = 0; })},
        {"WidthZero", with([](BmpFields& s) { s.width = 0; })},
        {"WidthNegative", with([](BmpFields& s) { s.width = -5; })},
        {"BitCount3", with([](BmpFields& s) { s.bitCount = 3; })},
        {"CoreHeader16Bit", with([](BmpFields& s) { s.headerSize = 12, s.bitCount = 16; })},
        {"EmbeddedPng", with([](BmpFields& s) { s.bitCount = 0, s.compression = 5; })},
        {"EmbeddedJpeg", with([](BmpFields& s) { s.compression = 4; })},
        {"Rle8With4Bits", with([](BmpFields& s) { s.bitCount = 4, s.compression = 1; })},
        {"Rle4With8Bits", with([](BmpFields& s) { s.compression = 2; })},
        {"BitFieldsWith8Bits", with([](BmpFields& s) { s.compression = 3; })},
        {"UnknownHeaderSize", with([](BmpFields& s) { s.headerSize = 20; })},
        {"HeaderCutShort", Cut(BuildBmp(valid), 30)},
        {"PaletteLongerThanFile",
         Cut(with([](BmpFields& s) { s.offBits = 0, s.palette = Ramp(256), s.pixels.clear(); }),
             14 + 40 + 100)},
        {"MasksCutShort",
         Cut(with([](BmpFields& s) {
                 s.bitCount = 16, s.compression = 3, s.palette.clear(), s.masks = {1, 2, 3};
             }),
             14 + 40 + 6)},
        {"NotBm", {'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0}},
        {"Empty", {}},
    };
}

class BmpBrokenTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BmpBrokenTest, RefusedWhenOpened) {
    EXPECT_EQ(DecodeBytes(GetParam().bytes).open, E_FAIL);
}

INSTANTIATE_TEST_SUITE_P(Headers, BmpBrokenTest, ::testing::ValuesIn(BrokenCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Sizes the header states but memory cannot hold answer E_OUTOFMEMORY at decode, so callers
// can tell them from damaged files.
TEST(BmpBudget, HugeSizesAreOutOfMemory) {
    for (const BmpFields& fields : {
             BmpFields{.width = INT_MAX, .height = INT_MAX, .bitCount = 32},
             BmpFields{.width = INT_MAX, .height = -INT_MAX, .bitCount = 1, .palette = Ramp(2)},
             BmpFields{.width = 60000, .height = 60000, .bitCount = 8, .compression = 1},
         }) {
        const bmp_test::Decoded decoded = DecodeBytes(BuildBmp(fields));
        ASSERT_EQ(decoded.open, S_OK);
        EXPECT_EQ(decoded.header.width, fields.width);
        EXPECT_EQ(decoded.decode, E_OUTOFMEMORY);
    }
}

TEST(BmpDecoder, OnlyFrameZeroExists) {
    std::unique_ptr<platform::imaging::PictureDecoder> decoder;
    ASSERT_EQ(
        platform::imaging::OpenBmpDecoder(
            platform::imaging::OwnedMemorySource(BuildBmp({.pixels = {1, 2, 3, 0}})), &decoder),
        S_OK);
    platform::imaging::DecodeRequest request;
    request.frame = 1;
    bmp_test::PixelBuffer pixels;
    EXPECT_EQ(decoder->Decode(request, &pixels), E_INVALIDARG);
}

}  // namespace
