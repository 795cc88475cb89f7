// The BMP encoder: each stored format written, read back by ImageMagick and by our decoder.
#include <gtest/gtest.h>

#include "platform/imaging/codec/encoder.h"
#include "platform/imaging/pixels/convert.h"
#include "tests/platform/imaging/bmp/bmp_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::imaging::ByteSink;
using platform::imaging::EncodeBmp;
using platform::imaging::EncodeOptions;
using platform::imaging::PixelBuffer;

class VectorSink : public ByteSink {
  public:
    explicit VectorSink(std::size_t limit = SIZE_MAX) : limit_(limit) {}
    bool Write(const void* bytes, std::size_t size) override {
        if (this->bytes.size() + size > limit_) {
            return false;
        }
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        this->bytes.insert(this->bytes.end(), p, p + size);
        return true;
    }
    std::vector<std::uint8_t> bytes;

  private:
    std::size_t limit_;
};

// 13 x 5 (odd: rows need padding in 24 bits) of varied colours and alphas, in `format`.
PixelBuffer Picture(PixelFormatID format) {
    constexpr int kWidth = 13;
    constexpr int kHeight = 5;
    PixelBuffer argb;
    EXPECT_EQ(PixelBuffer::Allocate(kWidth, kHeight, PixelFormat32bppARGB, &argb), S_OK);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* p = argb.View().Row(y);
        for (int x = 0; x < kWidth; ++x, p += 4) {
            p[0] = static_cast<std::uint8_t>(x * 19);
            p[1] = static_cast<std::uint8_t>(y * 60);
            p[2] = static_cast<std::uint8_t>(255 - x * 7 - y * 3);
            p[3] = static_cast<std::uint8_t>(x == 0 ? 255 : 40 + x * 15);
        }
    }
    PixelBuffer out;
    EXPECT_EQ(PixelBuffer::Allocate(kWidth, kHeight, format, &out), S_OK);
    if (format == PixelFormat8bppIndexed) {
        for (int i = 0; i < 40; ++i) {
            out.ColorTable().entries.push_back(0xFF000000u | static_cast<ARGB>(i * 6) << 16 |
                                               static_cast<ARGB>(255 - i * 6));
        }
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                out.View().Row(y)[x] = static_cast<std::uint8_t>((x + y * kWidth) % 40);
            }
        }
    } else {
        EXPECT_TRUE(platform::imaging::ConvertPixels(argb.View(), out.View()));
    }
    return out;
}

// Straight colours of any stored picture, through the converters.
testing_support::RgbaPicture Straight(const PixelBuffer& pixels) {
    PixelBuffer argb;
    EXPECT_EQ(PixelBuffer::Allocate(pixels.Width(), pixels.Height(), PixelFormat32bppARGB, &argb),
              S_OK);
    EXPECT_TRUE(platform::imaging::ConvertPixels(pixels.View(), argb.View()));
    return bmp_test::ToRgba(argb);
}

struct EncodeCase {
    PixelFormatID format;
    std::uint16_t bitCount;  // in the file
    bool alpha;              // kept in the file's fourth byte
};

class BmpEncoderTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(BmpEncoderTest, RoundTripsThroughImageMagickAndOurDecoder) {
    const EncodeCase& c = GetParam();
    const PixelBuffer input = Picture(c.format);
    VectorSink sink;
    ASSERT_EQ(EncodeBmp(input.View(), EncodeOptions{}, sink), S_OK);
    ASSERT_GT(sink.bytes.size(), 54u);
    EXPECT_EQ(sink.bytes[28], c.bitCount);
    const testing_support::RgbaPicture expected = Straight(input);

    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteBytes(dir / "out.bmp", sink.bytes));
    testing_support::RgbaPicture reference;
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(dir / "out.bmp", &reference));
    EXPECT_EQ(testing_support::Compare(expected, reference).maximum, 0);

    const bmp_test::Decoded ours = bmp_test::DecodeBytes(sink.bytes);
    ASSERT_EQ(ours.decode, S_OK);
    EXPECT_EQ(testing_support::Compare(expected, bmp_test::ToRgba(ours.pixels)).maximum, 0);
    if (c.alpha) {
        // Our decoder reads 32-bit BI_RGB as opaque, so the alpha is checked in the file itself:
        // the bottom row comes first, its pixel 1 has alpha 55.
        const std::size_t first = sink.bytes[10] | sink.bytes[11] << 8;
        EXPECT_EQ(sink.bytes[first + 4 + 3], 55);
    }
}

INSTANTIATE_TEST_SUITE_P(StoredFormats, BmpEncoderTest,
                         ::testing::Values(EncodeCase{PixelFormat16bppRGB565, 24, false},
                                           EncodeCase{PixelFormat16bppRGB555, 24, false},
                                           EncodeCase{PixelFormat24bppRGB, 24, false},
                                           EncodeCase{PixelFormat32bppRGB, 24, false},
                                           EncodeCase{PixelFormat32bppARGB, 32, true},
                                           EncodeCase{PixelFormat32bppPARGB, 32, true},
                                           EncodeCase{PixelFormat8bppIndexed, 8, false}),
                         [](const auto& info) {
                             switch (info.param.format) {
                                 case PixelFormat16bppRGB565:
                                     return std::string("Rgb565");
                                 case PixelFormat16bppRGB555:
                                     return std::string("Rgb555");
                                 case PixelFormat24bppRGB:
                                     return std::string("Rgb24");
                                 case PixelFormat32bppRGB:
                                     return std::string("Rgb32");
                                 case PixelFormat32bppARGB:
                                     return std::string("Argb32");
                                 case PixelFormat32bppPARGB:
                                     return std::string("Pargb32");
                                 default:
                                     return std::string("Indexed8");
                             }
                         });

TEST(BmpEncoder, SinkFailureIsReported) {
    const PixelBuffer input = Picture(PixelFormat24bppRGB);
    for (std::size_t limit : {0, 20, 54 + 40 * 2}) {
        VectorSink sink(limit);
        EXPECT_EQ(EncodeBmp(input.View(), EncodeOptions{}, sink), E_FAIL) << limit;
    }
}

TEST(BmpEncoder, RefusesWhatItCannotWrite) {
    VectorSink sink;
    EXPECT_EQ(EncodeBmp(platform::imaging::RasterView{}, EncodeOptions{}, sink), E_INVALIDARG);
    PixelBuffer indexed = Picture(PixelFormat8bppIndexed);
    platform::imaging::RasterView noPalette = indexed.View();
    noPalette.palette = nullptr;
    EXPECT_EQ(EncodeBmp(noPalette, EncodeOptions{}, sink), E_INVALIDARG);
    EXPECT_TRUE(sink.bytes.empty());
}

}  // namespace
