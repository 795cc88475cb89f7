// The encoder: what it writes decodes (by ImageMagick) to what it was given, from every stored
// format; quality is honoured; a failing sink fails the encode.
#include <gtest/gtest.h>

#include "platform/imaging/pixels/convert.h"
#include "tests/platform/imaging/jpeg/jpeg_fixtures.h"

namespace jpeg_tests {
namespace {

using namespace platform::imaging;
using testing_support::TempDir;

// A smooth picture (JPEG's good case) as `format`, made from ImageMagick's 24-bit decode.
PixelBuffer SmoothPicture(const TempDir& dir, int width, int height, PixelFormatID format) {
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::string path = MakeJpeg(
        dir, "src.jpg",
        {"-size", size, "-seed", "5", "plasma:fractal", "-blur", "0x3", "-quality", "100"});
    DecodeRequest request;
    request.preferred = PixelFormat24bppRGB;
    PixelBuffer rgb;
    PixelBuffer out;
    if (DecodeBytes(testing_support::ReadBytes(path), request, &rgb) != S_OK ||
        PixelBuffer::Allocate(width, height, format, &out) != S_OK)
        return {};
    if (format == PixelFormat8bppIndexed) {
        // A grey ramp palette, the pixels indexing it by their green channel.
        for (int i = 0; i < 256; ++i)
            out.ColorTable().entries.push_back(0xFF000000u | i * 0x010101u);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                out.View().Row(y)[x] = rgb.View().Row(y)[x * 3 + 1];
        return out;
    }
    ConvertPixels(rgb.View(), out.View());
    return out;
}

Bytes Encode(const PixelBuffer& pixels, int quality) {
    MemorySink sink;
    EncodeOptions options;
    options.jpegQuality = quality;
    EXPECT_EQ(EncodeJpeg(pixels.View(), options, sink), S_OK);
    return sink.bytes;
}

TEST(JpegEncode, RoundTripThroughImageMagick) {
    struct Case {
        PixelFormatID format;
        int quality;
        double mean;
        int maximum;
    };
    // 16-bit sources are left out: their 5-bit steps are edges JPEG smooths, and the test
    // below shows they encode exactly like their 24-bit conversion.
    const Case cases[] = {
        {PixelFormat24bppRGB, 80, 2.0, 24},
        {PixelFormat24bppRGB, 100, 0.8, 6},
        {PixelFormat32bppARGB, 100, 0.8, 6},
        {PixelFormat8bppIndexed, 100, 0.8, 6},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.format << " q" << c.quality);
        const PixelBuffer source = SmoothPicture(dir, 97, 61, c.format);
        ASSERT_FALSE(source.Empty());
        const std::string path = dir / "out.jpg";
        ASSERT_TRUE(testing_support::WriteBytes(path, Encode(source, c.quality)));
        testing_support::RgbaPicture decoded;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &decoded));
        const auto difference = testing_support::Compare(decoded, ToRgba(source));
        EXPECT_LE(difference.mean, c.mean);
        EXPECT_LE(difference.maximum, c.maximum);
    }
}

// Formats fed as stored (32-bit) or converted a row at a time (16-bit, indexed) give the very
// file their 24-bit conversion gives.
TEST(JpegEncode, EveryFormatEncodesLikeItsConversion) {
    TempDir dir;
    for (PixelFormatID format :
         {PixelFormat32bppARGB, PixelFormat32bppRGB, PixelFormat32bppPARGB, PixelFormat16bppRGB565,
          PixelFormat16bppRGB555, PixelFormat8bppIndexed}) {
        SCOPED_TRACE(format);
        const PixelBuffer source = SmoothPicture(dir, 45, 37, format);
        ASSERT_FALSE(source.Empty());
        PixelBuffer rgb;
        ASSERT_EQ(PixelBuffer::Allocate(45, 37, PixelFormat24bppRGB, &rgb), S_OK);
        ASSERT_TRUE(ConvertPixels(source.View(), rgb.View()));
        EXPECT_EQ(Encode(source, 75), Encode(rgb, 75));
    }
}

TEST(JpegEncode, QualityChangesTheSize) {
    TempDir dir;
    const PixelBuffer source = SmoothPicture(dir, 160, 120, PixelFormat24bppRGB);
    std::size_t previous = 0;
    for (int quality : {0, 20, 50, 80, 95, 100}) {
        const std::size_t size = Encode(source, quality).size();
        EXPECT_GT(size, previous) << quality;
        previous = size;
    }
    // Out-of-range qualities are held to 0..100.
    EXPECT_EQ(Encode(source, 250).size(), Encode(source, 100).size());
    EXPECT_EQ(Encode(source, -3).size(), Encode(source, 0).size());
}

TEST(JpegEncode, WritesStandardFrame) {
    TempDir dir;
    const PixelBuffer source = SmoothPicture(dir, 33, 17, PixelFormat24bppRGB);
    const std::string path = dir / "frame.jpg";
    ASSERT_TRUE(testing_support::WriteBytes(path, Encode(source, 80)));
    const std::string report = dir / "identify.txt";
    ASSERT_EQ(testing_support::RunShell("identify -format '%wx%h %[jpeg:sampling-factor] %Q' '" +
                                        path + "' > '" + report + "'"),
              0);
    const Bytes text = testing_support::ReadBytes(report);
    EXPECT_EQ(std::string(text.begin(), text.end()), "33x17 2x2,1x1,1x1 80");
}

TEST(JpegEncode, FailingSinkFailsTheEncode) {
    // Noise compresses badly, so the file spans several 64 KiB blocks.
    PixelBuffer source;
    ASSERT_EQ(PixelBuffer::Allocate(400, 400, PixelFormat24bppRGB, &source), S_OK);
    std::uint32_t seed = 1;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400 * 3; ++x) {
            seed = seed * 1664525u + 1013904223u;
            source.View().Row(y)[x] = static_cast<std::uint8_t>(seed >> 24);
        }
    }
    ASSERT_GT(Encode(source, 100).size(), 3u * 64 * 1024);  // several blocks are written
    for (int failAt : {0, 1, 2}) {
        MemorySink sink(failAt);
        EncodeOptions options;
        options.jpegQuality = 100;
        EXPECT_EQ(EncodeJpeg(source.View(), options, sink), E_FAIL) << failAt;
        EXPECT_EQ(sink.bytes.size(), static_cast<std::size_t>(failAt) * 64 * 1024);
    }
}

TEST(JpegEncode, RefusesWhatCannotBeEncoded) {
    PixelBuffer indexed;
    ASSERT_EQ(PixelBuffer::Allocate(4, 4, PixelFormat8bppIndexed, &indexed, true), S_OK);
    RasterView noPalette = indexed.View();
    noPalette.palette = nullptr;
    RasterView unknownFormat = indexed.View();
    unknownFormat.format = PixelFormat4bppIndexed;
    std::uint8_t pixel[4] = {};
    const RasterView views[] = {
        {},
        noPalette,
        unknownFormat,
        {pixel, 4, 70000, 1, PixelFormat32bppRGB, nullptr},
    };
    for (const RasterView& view : views) {
        MemorySink sink;
        EXPECT_EQ(EncodeJpeg(view, {}, sink), E_INVALIDARG);
        EXPECT_TRUE(sink.bytes.empty());
    }
}

}  // namespace
}  // namespace jpeg_tests
