// Scaled decodes: the smallest n/8 scale still covering the requested size, and what it looks like.
#include <gtest/gtest.h>

#include <map>

#include "tests/platform/imaging/jpeg/jpeg_fixtures.h"

namespace jpeg_tests {
namespace {

using namespace platform::imaging;
using testing_support::TempDir;

TEST(JpegScale, OutputIsSmallestScaleCoveringTheMinimum) {
    struct Case {
        int width, height;        // the picture
        int minWidth, minHeight;  // the request
        int outWidth, outHeight;  // what the decode delivers
    };
    const Case cases[] = {
        {2000, 1500, 0, 0, 2000, 1500},        // full size asked
        {2000, 1500, 68, 64, 250, 188},        // thumbnail: 1/8 (1500 / 8 rounds up)
        {2000, 1500, 250, 188, 250, 188},      // exactly 1/8
        {2000, 1500, 251, 188, 500, 375},      // just over 1/8 across
        {2000, 1500, 250, 189, 500, 375},      // just over 1/8 down
        {2000, 1500, 480, 0, 500, 375},        // width only
        {2000, 1500, 0, 376, 750, 563},        // height only, just over 2/8
        {2000, 1500, 1000, 750, 1000, 750},    // exactly 4/8
        {2000, 1500, 1751, 1, 2000, 1500},     // just over 7/8: full
        {2000, 1500, 4000, 3000, 2000, 1500},  // larger than the picture: full, never enlarged
        {17, 9, 3, 2, 3, 2},                   // odd sizes round up
        {17, 9, 4, 2, 5, 3},
        {1000, 3, 1, 1, 125, 1},
        {1000, 3, 126, 0, 250, 1},
        {1, 1, 1, 1, 1, 1},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " min " << c.minWidth << "x" << c.minHeight);
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        const Bytes bytes = testing_support::ReadBytes(
            MakeJpeg(dir, size + ".jpg", {"-size", size, "gradient:red-blue"}));
        DecodeRequest request;
        request.minWidth = c.minWidth;
        request.minHeight = c.minHeight;
        PixelBuffer pixels;
        ASSERT_EQ(DecodeBytes(bytes, request, &pixels), S_OK);
        EXPECT_EQ(pixels.Width(), c.outWidth);
        EXPECT_EQ(pixels.Height(), c.outHeight);
    }
}

// A reduced decode shows the same picture: compared with ImageMagick's box-filtered shrink of the
// full decode, at every scale, for the subsampling kinds that take different paths.
TEST(JpegScale, ReducedDecodeLooksLikeTheShrunkPicture) {
    const std::vector<std::vector<std::string>> kinds = {
        {"-size", "320x240", "-seed", "9", "plasma:fractal", "-blur", "0x2", "-sampling-factor",
         "2x2"},
        {"-size", "320x240", "-seed", "9", "plasma:fractal", "-blur", "0x2", "-sampling-factor",
         "1x1", "-interlace", "Plane"},
        {"-size", "320x240", "gradient:white-black", "-colorspace", "Gray"},
    };
    TempDir dir;
    for (const auto& kind : kinds) {
        const std::string path = MakeJpeg(dir, "s.jpg", kind);
        const Bytes bytes = testing_support::ReadBytes(path);
        for (int n = 1; n < 8; ++n) {
            SCOPED_TRACE(testing::Message() << kind.back() << " at " << n << "/8");
            const int width = 320 * n / 8;
            const int height = 240 * n / 8;
            const std::string shrunk = dir / "shrunk.ppm";
            ASSERT_TRUE(testing_support::RunConvert(
                {path, "-filter", "Box", "-resize",
                 std::to_string(width) + "x" + std::to_string(height) + "!", shrunk}));
            testing_support::RgbaPicture reference;
            ASSERT_TRUE(testing_support::DecodeWithImageMagick(shrunk, &reference));
            DecodeRequest request;
            request.minWidth = width;
            request.minHeight = height;
            PixelBuffer pixels;
            ASSERT_EQ(DecodeBytes(bytes, request, &pixels), S_OK);
            ASSERT_EQ(pixels.Width(), width);
            ASSERT_EQ(pixels.Height(), height);
            const auto difference = testing_support::Compare(ToRgba(pixels), reference);
            EXPECT_LE(difference.mean, 2.5);
        }
    }
}

}  // namespace
}  // namespace jpeg_tests
