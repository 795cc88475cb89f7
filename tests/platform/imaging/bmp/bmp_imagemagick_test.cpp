// Every BMP variant ImageMagick writes, decoded by us and by ImageMagick, pixel for pixel.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/platform/imaging/bmp/bmp_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using bmp_test::DecodeBytes;
using bmp_test::ToRgba;
using testing_support::RgbaPicture;

struct ImageMagickCase {
    const char* name;
    const char* convertArgs;  // between the source picture and the output name, split at spaces
    const char* output;       // "BMP3:", "BMP:", ...
    PixelFormatID headerFormat;
    PixelFormatID deliveredFormat;
    int tolerance;  // 16-bit channels widen by repeating bits; ImageMagick may scale instead
    bool alpha;
};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// 37 x 11: odd widths exercise the row padding and the last partial byte of packed rows.
const std::vector<std::string> kSource = Split("-seed 7 -size 37x11 plasma:");
const std::vector<std::string> kAlphaSource = {"-size",
                                               "37x11",
                                               "xc:none",
                                               "-fill",
                                               "rgba(255,0,0,0.5)",
                                               "-draw",
                                               "rectangle 3,2 20,8",
                                               "-fill",
                                               "rgba(0,160,255,0.8)",
                                               "-draw",
                                               "circle 25,5 30,8"};

constexpr PixelFormatID kIndexed = PixelFormat8bppIndexed;
constexpr PixelFormatID kRgb = PixelFormat24bppRGB;
constexpr PixelFormatID kArgb = PixelFormat32bppARGB;

const ImageMagickCase kCases[] = {
    {"Bilevel", "-type Bilevel", "BMP3:", kIndexed, kIndexed, 0, false},
    {"Palette4", "-colors 16 -type Palette -compress None", "BMP3:", kIndexed, kIndexed, 0, false},
    {"Palette8", "-colors 200 -type Palette -compress None", "BMP3:", kIndexed, kIndexed, 0, false},
    {"Rle8", "-colors 200 -type Palette -compress RLE", "BMP3:", kIndexed, kIndexed, 0, false},
    {"Palette8V5Header", "-colors 200 -type Palette -compress None", "BMP:", kIndexed, kIndexed, 0,
     false},
    {"Bmp3FormatDefine", "-define bmp:format=bmp3", "BMP:", kRgb, kRgb, 0, false},
    {"Core24", "", "BMP2:", kRgb, kRgb, 0, false},
    {"CorePalette4", "-colors 12 -type Palette", "BMP2:", kIndexed, kIndexed, 0, false},
    {"Rgb24", "", "BMP3:", kRgb, kRgb, 0, false},
    {"Rgb24V5Header", "", "BMP:", kRgb, kRgb, 0, false},
    {"Rgb565", "-define bmp:subtype=RGB565", "BMP:", PixelFormat16bppRGB565, kRgb, 1, false},
    {"Rgb555", "-define bmp:subtype=RGB555", "BMP:", PixelFormat16bppRGB555, kRgb, 1, false},
};

const ImageMagickCase kAlphaCases[] = {
    {"Argb32", "", "BMP:", kArgb, kArgb, 0, true},
    // ImageMagick shifts 4-bit channels up without filling the low bits (15 reads as 240, not
    // 255), so it differs from a full-scale widening by up to 15; exact values are checked on
    // hand-made files.
    {"Argb4444", "-define bmp:subtype=ARGB4444", "BMP:", kArgb, kArgb, 15, true},
};

class BmpImageMagickTest : public ::testing::TestWithParam<ImageMagickCase> {};

TEST_P(BmpImageMagickTest, DecodesLikeImageMagick) {
    const ImageMagickCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string path = dir / "picture.bmp";
    std::vector<std::string> args = c.alpha ? kAlphaSource : kSource;
    const std::vector<std::string> extra = Split(c.convertArgs);
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(std::string(c.output) + path);
    ASSERT_TRUE(testing_support::RunConvert(args));
    RgbaPicture reference;
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));

    const bmp_test::Decoded ours = DecodeBytes(testing_support::ReadBytes(path));
    ASSERT_EQ(ours.open, S_OK);
    ASSERT_EQ(ours.decode, S_OK);
    EXPECT_EQ(ours.header.width, 37);
    EXPECT_EQ(ours.header.height, 11);
    EXPECT_EQ(ours.header.pixelFormat, c.headerFormat);
    EXPECT_EQ(ours.pixels.Format(), c.deliveredFormat);
    EXPECT_EQ((ours.header.flags & ImageFlagsHasAlpha) != 0, c.alpha);
    const auto difference = testing_support::Compare(ToRgba(ours.pixels), reference, c.alpha);
    EXPECT_LE(difference.maximum, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Opaque, BmpImageMagickTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Alpha, BmpImageMagickTest, ::testing::ValuesIn(kAlphaCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A caller that wants an opaque format gets it written straight from the rows.
TEST(BmpPreferredFormat, WritesRequestedOpaqueFormatDirectly) {
    testing_support::TempDir dir;
    const std::string path = dir / "p.bmp";
    std::vector<std::string> args = kSource;
    args.insert(args.end(), {"-colors", "30", "-type", "Palette", "-compress", "None"});
    args.push_back("BMP3:" + path);
    ASSERT_TRUE(testing_support::RunConvert(args));
    const auto bytes = testing_support::ReadBytes(path);
    for (PixelFormatID format :
         {PixelFormat16bppRGB565, PixelFormat24bppRGB, PixelFormat32bppRGB}) {
        const bmp_test::Decoded direct = DecodeBytes(bytes, format);
        ASSERT_EQ(direct.decode, S_OK);
        EXPECT_EQ(direct.pixels.Format(), format);
        RgbaPicture reference;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
        // 565 keeps 5 and 6 bits of each channel.
        const int tolerance = format == PixelFormat16bppRGB565 ? 8 : 0;
        EXPECT_LE(testing_support::Compare(ToRgba(direct.pixels), reference).maximum, tolerance);
    }
}

}  // namespace
