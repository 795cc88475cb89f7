// Composed GIF frames against ImageMagick's coalesced frames: disposal methods, offsets,
// transparency, interlacing; asked in order (the animation path) and out of order.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/imaging/gif/gif_fixtures.h"
#include "tests/platform/imaging/gif/gif_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace platform::imaging;
using gif_tests::AnimationPlan;
using testing_support::RgbaPicture;

struct ComposeCase {
    const char* name;
    AnimationPlan plan;
};

const ComposeCase kCases[] = {
    {"keep", {}},
    {"background", {{"Background", "Background", "Background", "Background"}}},
    {"previous", {{"None", "Previous", "Previous", "Previous"}}},
    {"mixed", {{"None", "Previous", "Background", "None"}}},
    {"previous_then_background", {{"Background", "None", "Previous", "Background"}}},
    {"interlaced", {{"None", "Background", "None", "None"}, true}},
};

class GifComposeTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(GifComposeTest, FramesMatchImageMagick) {
    const ComposeCase& c = GetParam();
    testing_support::TempDir dir;
    const std::string path = dir / "anim.gif";
    ASSERT_TRUE(testing_support::RunConvert(gif_tests::AnimationArgs(c.plan, path)));
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(gif_tests::Open(testing_support::ReadBytes(path), &decoder), S_OK);
    const PictureHeader& header = decoder->Header();
    EXPECT_EQ(header.format, RawFormat::Gif);
    EXPECT_EQ(header.frameCount, 4);
    EXPECT_EQ(header.pixelFormat, PixelFormat8bppIndexed);
    EXPECT_EQ(header.width, 20);
    EXPECT_EQ(header.height, 14);
    EXPECT_NE(header.flags & ImageFlagsHasAlpha, 0u);  // frame 2 has transparent pixels
    const std::vector<UINT> delays = decoder->FrameDelays();
    EXPECT_EQ(std::vector<unsigned>(delays.begin(), delays.end()), gif_tests::kAnimationDelays);

    std::vector<RgbaPicture> references(4);
    for (int k = 0; k < 4; ++k)
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &references[k], k)) << k;
    // In order, as the animation asks, then backwards and skipping, which starts over.
    for (int k : {0, 1, 2, 3, 3, 2, 0, 3, 1}) {
        RgbaPicture ours;
        ASSERT_EQ(gif_tests::DecodeFrame(*decoder, k, &ours), S_OK) << k;
        EXPECT_EQ(gif_tests::CountDifferences(ours, references[k]), 0) << "frame " << k;
    }
    PixelBuffer pixels;
    EXPECT_EQ(decoder->Decode({.frame = 4}, &pixels), E_INVALIDARG);
    EXPECT_EQ(decoder->Decode({.frame = -1}, &pixels), E_INVALIDARG);
}

INSTANTIATE_TEST_SUITE_P(Disposal, GifComposeTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Where no frame has drawn, the screen is transparent. (ImageMagick shows the background colour
// there instead, so only the drawn part is compared with it.)
TEST(GifCompose, ScreenLargerThanFirstFrameIsTransparentAround) {
    testing_support::TempDir dir;
    const std::string path = dir / "partial.gif";
    AnimationPlan plan;
    plan.dispose = {"None", "Previous", "Background", "None"};
    plan.firstFramePartial = true;
    ASSERT_TRUE(testing_support::RunConvert(gif_tests::AnimationArgs(plan, path)));
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(gif_tests::Open(testing_support::ReadBytes(path), &decoder), S_OK);
    ASSERT_EQ(decoder->Header().width, 24);
    ASSERT_EQ(decoder->Header().height, 18);
    for (int k = 0; k < 3; ++k) {  // frames 0..2 draw inside frame 0's rectangle
        RgbaPicture ours, reference;
        ASSERT_EQ(gif_tests::DecodeFrame(*decoder, k, &ours), S_OK);
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference, k));
        const RECT first{2, 2, 22, 16};
        RgbaPicture inside = reference;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 24; ++x) {
                const bool drawn =
                    x >= first.left && x < first.right && y >= first.top && y < first.bottom;
                if (!drawn) {
                    EXPECT_EQ(ours.At(x, y)[3], 0) << k << ": " << x << "," << y;
                    std::copy_n(ours.At(x, y), 4, inside.rgba.begin() + (y * 24 + x) * 4);
                }
            }
        EXPECT_EQ(gif_tests::CountDifferences(ours, inside), 0) << k;
    }
}

TEST(GifStill, OneFrameWithTransparency) {
    testing_support::TempDir dir;
    const std::string path = dir / "still.gif";
    ASSERT_TRUE(testing_support::RunConvert(
        {"-size", "9x7", "xc:none", "-fill", "red", "-draw", "rectangle 1,1 4,3", path}));
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(gif_tests::Open(testing_support::ReadBytes(path), &decoder), S_OK);
    EXPECT_EQ(decoder->Header().frameCount, 1);
    EXPECT_TRUE(decoder->FrameDelays().empty());
    RgbaPicture ours, reference;
    ASSERT_EQ(gif_tests::DecodeFrame(*decoder, 0, &ours), S_OK);
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
    EXPECT_EQ(gif_tests::CountDifferences(ours, reference), 0);
    EXPECT_EQ(ours.At(2, 2)[3], 255);
    EXPECT_EQ(ours.At(6, 5)[3], 0);
}

}  // namespace
