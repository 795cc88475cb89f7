// WBMP: ImageMagick's pictures decoded exactly, malformed headers refused, random bytes not
// mistaken for a picture.
#include <gtest/gtest.h>

#include <random>

#include "platform/imaging/codec/wbmp/wbmp_header.h"
#include "tests/platform/imaging/bmp/bmp_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::imaging::LooksLikeWbmp;
using platform::imaging::OpenWbmpDecoder;

struct WbmpPicture {
    const char* name;
    std::vector<std::string> source;
};

class WbmpImageMagickTest : public ::testing::TestWithParam<WbmpPicture> {};

TEST_P(WbmpImageMagickTest, DecodesLikeImageMagick) {
    testing_support::TempDir dir;
    const std::string path = dir / "a.wbmp";
    std::vector<std::string> args = GetParam().source;
    args.push_back("WBMP:" + path);
    ASSERT_TRUE(testing_support::RunConvert(args));
    testing_support::RgbaPicture reference;
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
    const auto bytes = testing_support::ReadBytes(path);
    EXPECT_TRUE(LooksLikeWbmp(bytes));

    const bmp_test::Decoded ours =
        bmp_test::DecodeBytes(bytes, PixelFormatDontCare, OpenWbmpDecoder);
    ASSERT_EQ(ours.decode, S_OK);
    EXPECT_EQ(ours.header.format, platform::imaging::RawFormat::Wbmp);
    EXPECT_EQ(ours.pixels.Format(), PixelFormat8bppIndexed);
    EXPECT_EQ(ours.pixels.Width(), reference.width);
    EXPECT_EQ(ours.pixels.Height(), reference.height);
    EXPECT_EQ(testing_support::Compare(bmp_test::ToRgba(ours.pixels), reference).maximum, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, WbmpImageMagickTest,
    ::testing::Values(WbmpPicture{"Checkerboard9x5", {"-size", "9x5", "pattern:checkerboard"}},
                      WbmpPicture{"Gradient130x3", {"-size", "130x3", "gradient:", "-monochrome"}},
                      WbmpPicture{"Plasma8x8",
                                  {"-seed", "3", "-size", "8x8", "plasma:", "-monochrome"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct HeaderCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool picture;
};

class WbmpHeaderTest : public ::testing::TestWithParam<HeaderCase> {};

// Only a well-formed header whose rows fill the file exactly is taken for a picture.
TEST_P(WbmpHeaderTest, RecognisedOnlyWhenWellFormed) {
    EXPECT_EQ(LooksLikeWbmp(GetParam().bytes), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, WbmpHeaderTest,
    ::testing::Values(
        HeaderCase{"OneByOne", {0, 0, 1, 1, 0x80}, true},
        // 200 x 2: width in two bytes (1 * 128 + 72), 25 bytes a row.
        HeaderCase{"TwoByteWidth",
                   [] {
                       std::vector<std::uint8_t> b = {0, 0, 0x81, 0x48, 2};
                       b.resize(5 + 50);
                       return b;
                   }(),
                   true},
        HeaderCase{"OneByteTooMany", {0, 0, 1, 1, 0x80, 0}, false},
        HeaderCase{"OneByteTooFew", {0, 0, 9, 1, 0xFF}, false},
        HeaderCase{"TypeOne", {1, 0, 1, 1, 0x80}, false},
        HeaderCase{"ExtensionHeader", {0, 0x80, 1, 1, 0x80}, false},
        HeaderCase{"ZeroWidth", {0, 0, 0, 1}, false}, HeaderCase{"ZeroHeight", {0, 0, 1, 0}, false},
        HeaderCase{"LeadingZeroGroup", {0, 0, 0x80, 0x01, 1, 0x80}, false},
        HeaderCase{"FiveByteInteger", {0, 0, 0x81, 0x80, 0x80, 0x80, 0x00, 1, 0}, false},
        HeaderCase{"HeaderCutInInteger", {0, 0, 0x81}, false},
        HeaderCase{"Icon", {0, 0, 1, 0, 1, 0, 16, 16}, false}, HeaderCase{"Empty", {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WbmpSniff, RandomBytesOfManyLengthsAreRefused) {
    std::mt19937 random(20261207);
    for (std::size_t length = 0; length < 3000; length += 1 + length / 8) {
        for (int round = 0; round < 20; ++round) {
            std::vector<std::uint8_t> bytes(length);
            for (auto& b : bytes) {
                b = static_cast<std::uint8_t>(random());
            }
            EXPECT_FALSE(LooksLikeWbmp(bytes)) << length;
        }
    }
}

TEST(WbmpDecoder, CutShortShowsWhatArrivedAndFailsBadHeaders) {
    // 10 x 3 wants 6 bytes of rows; 3 arrive: row 0 whole, row 1 half, row 2 missing.
    const auto decoded = bmp_test::DecodeBytes({0, 0, 10, 3, 0xFF, 0xC0, 0xAA}, PixelFormatDontCare,
                                               OpenWbmpDecoder);
    ASSERT_EQ(decoded.decode, S_OK);
    const std::vector<std::uint8_t> expected = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  //
                                                1, 0, 1, 0, 1, 0, 1, 0, 0, 0,  //
                                                0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bmp_test::Indexes(decoded.pixels), expected);
    EXPECT_EQ(bmp_test::DecodeBytes({0, 0, 0x80, 1, 1}, PixelFormatDontCare, OpenWbmpDecoder).open,
              E_FAIL);
    const auto huge = bmp_test::DecodeBytes({0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F},
                                            PixelFormatDontCare, OpenWbmpDecoder);
    ASSERT_EQ(huge.open, S_OK);
    EXPECT_EQ(huge.decode, E_OUTOFMEMORY);
}

}  // namespace
