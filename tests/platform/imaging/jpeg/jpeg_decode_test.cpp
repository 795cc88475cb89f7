// Full-size decodes against ImageMagick's, the header fields, and the formats written directly.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/imaging/pixels/convert.h"
#include "tests/platform/imaging/jpeg/jpeg_fixtures.h"

namespace jpeg_tests {
namespace {

using namespace platform::imaging;
using testing_support::TempDir;

struct KindCase {
    const char* name;
    std::vector<std::string> args;  // convert arguments before the output path
    UINT colorSpaceFlag;
};

const std::vector<KindCase>& Kinds() {
    static const std::vector<KindCase> kinds = {
        {"baseline 4:2:0",
         {"-size", "67x45", "-seed", "3", "plasma:fractal", "-sampling-factor", "2x2", "-quality",
          "90"},
         ImageFlagsColorSpaceRGB},
        {"baseline 4:4:4",
         {"-size", "64x40", "-seed", "4", "plasma:fractal", "-sampling-factor", "1x1", "-quality",
          "90"},
         ImageFlagsColorSpaceRGB},
        {"baseline 4:2:2",
         {"-size", "50x33", "-seed", "5", "plasma:fractal", "-sampling-factor", "2x1", "-quality",
          "85"},
         ImageFlagsColorSpaceRGB},
        {"grayscale",
         {"-size", "40x30", "gradient:white-black", "-colorspace", "Gray"},
         ImageFlagsColorSpaceGRAY},
        {"progressive",
         {"-size", "61x47", "-seed", "6", "plasma:fractal", "-interlace", "Plane"},
         ImageFlagsColorSpaceRGB},
        {"cmyk",
         {"-size", "48x32", "-seed", "7", "plasma:fractal", "-colorspace", "CMYK"},
         ImageFlagsColorSpaceRGB},
        {"1x1", {"-size", "1x1", "xc:#3080C0"}, ImageFlagsColorSpaceRGB},
        {"17x9", {"-size", "17x9", "gradient:red-blue"}, ImageFlagsColorSpaceRGB},
        {"1000x3", {"-size", "1000x3", "-seed", "8", "plasma:fractal"}, ImageFlagsColorSpaceRGB},
    };
    return kinds;
}

TEST(JpegDecode, FullSizeMatchesImageMagick) {
    TempDir dir;
    for (const KindCase& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        const std::string path = MakeJpeg(dir, "k.jpg", kind.args);
        ASSERT_FALSE(path.empty());
        // The shared reference decode hands CMYK tuples over as they are; turn them into
        // colours first.
        const bool cmyk = kind.colorSpaceFlag == ImageFlagsColorSpaceRGB &&
                          std::find(kind.args.begin(), kind.args.end(), "CMYK") != kind.args.end();
        const std::string referencePath = cmyk ? dir / "cmyk.png" : path;
        ASSERT_TRUE(!cmyk ||
                    testing_support::RunConvert({path, "-colorspace", "sRGB", referencePath}));
        testing_support::RgbaPicture reference;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(referencePath, &reference));

        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(OpenJpegDecoder(OwnedMemorySource(testing_support::ReadBytes(path)), &decoder),
                  S_OK);
        const PictureHeader& header = decoder->Header();
        EXPECT_EQ(header.format, RawFormat::Jpeg);
        EXPECT_EQ(header.width, reference.width);
        EXPECT_EQ(header.height, reference.height);
        EXPECT_EQ(header.pixelFormat, PixelFormat24bppRGB);
        EXPECT_EQ(header.flags & (ImageFlagsColorSpaceRGB | ImageFlagsColorSpaceGRAY),
                  kind.colorSpaceFlag);
        EXPECT_EQ(header.frameCount, 1);

        PixelBuffer pixels;
        ASSERT_EQ(decoder->Decode({}, &pixels), S_OK);
        EXPECT_EQ(pixels.Format(), PixelFormat24bppRGB);
        const auto difference = testing_support::Compare(ToRgba(pixels), reference);
        EXPECT_LE(difference.mean, 1.0);
        EXPECT_LE(difference.maximum, 4);
        // A second decode of the same object reads the file again and gives the same pixels.
        PixelBuffer again;
        ASSERT_EQ(decoder->Decode({}, &again), S_OK);
        EXPECT_EQ(testing_support::Compare(ToRgba(again), ToRgba(pixels)).maximum, 0);
    }
}

TEST(JpegDecode, ResolutionFromJfifDensity) {
    struct Case {
        std::vector<std::string> density;
        double dpi;
        bool real;
    };
    const Case cases[] = {
        {{"-units", "PixelsPerInch", "-density", "300"}, 300, true},
        {{"-units", "PixelsPerCentimeter", "-density", "100"}, 254, true},
        {{"-units", "PixelsPerInch", "-density", "72x144"}, 72, true},
        {{}, 96, false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        std::vector<std::string> args = {"-size", "8x8", "xc:gray"};
        args.insert(args.end(), c.density.begin(), c.density.end());
        const std::string path = MakeJpeg(dir, "d.jpg", args);
        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(OpenJpegDecoder(OwnedMemorySource(testing_support::ReadBytes(path)), &decoder),
                  S_OK);
        SCOPED_TRACE(c.dpi);
        EXPECT_NEAR(decoder->Header().xdpi, c.dpi, 0.01);
        EXPECT_EQ((decoder->Header().flags & ImageFlagsHasRealDPI) != 0, c.real);
    }
}

// The 24-bit decode converted by the pixel library, against what libjpeg wrote directly.
void ExpectSameAsConverted(const PixelBuffer& direct, const PixelBuffer& rgb24) {
    ASSERT_EQ(direct.Width(), rgb24.Width());
    ASSERT_EQ(direct.Height(), rgb24.Height());
    const int bytes = StoredBytesPerPixel(direct.Format());
    std::vector<std::uint8_t> row(static_cast<std::size_t>(direct.Width()) * bytes);
    int worst = 0;
    for (int y = 0; y < direct.Height(); ++y) {
        ConvertRow(rgb24.View().Row(y), PixelFormat24bppRGB, nullptr, row.data(), direct.Format(),
                   direct.Width());
        const std::uint8_t* got = direct.View().Row(y);
        for (int x = 0; x < direct.Width(); ++x) {
            if (bytes == 2) {
                // libjpeg truncates to 5 and 6 bits where the conversion rounds: one step apart.
                const int a = got[x * 2] | got[x * 2 + 1] << 8;
                const int b = row[x * 2] | row[x * 2 + 1] << 8;
                for (int shift : {0, 5, 11}) {
                    const int mask = shift == 5 ? 0x3F : 0x1F;
                    worst = std::max(worst, std::abs((a >> shift & mask) - (b >> shift & mask)));
                }
            } else {
                for (int i = 0; i < bytes; ++i)
                    worst = std::max(worst, std::abs(got[x * bytes + i] - row[x * bytes + i]));
            }
        }
    }
    EXPECT_LE(worst, bytes == 2 ? 1 : 0);
}

TEST(JpegDecode, PreferredFormatsWrittenDirectly) {
    struct Case {
        PixelFormatID preferred;
        PixelFormatID delivered;
    };
    const Case cases[] = {
        {PixelFormat16bppRGB565, PixelFormat16bppRGB565},
        {PixelFormat24bppRGB, PixelFormat24bppRGB},
        {PixelFormat32bppARGB, PixelFormat32bppARGB},
        {PixelFormat32bppRGB, PixelFormat32bppRGB},
        {PixelFormat32bppPARGB, PixelFormat32bppPARGB},
        {PixelFormat16bppRGB555, PixelFormat24bppRGB},
        {PixelFormat8bppIndexed, PixelFormat24bppRGB},
        {PixelFormatDontCare, PixelFormat24bppRGB},
    };
    TempDir dir;
    for (int kind : {0, 3, 5}) {  // colour, grey and CMYK sources
        const Bytes bytes = testing_support::ReadBytes(MakeJpeg(dir, "p.jpg", Kinds()[kind].args));
        PixelBuffer rgb24;
        ASSERT_EQ(DecodeBytes(bytes, {}, &rgb24), S_OK);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(Kinds()[kind].name) + " to " + std::to_string(c.preferred));
            DecodeRequest request;
            request.preferred = c.preferred;
            PixelBuffer direct;
            ASSERT_EQ(DecodeBytes(bytes, request, &direct), S_OK);
            // CMYK has no 16-bit path; it is converted by us into 24 or 32 bits.
            const bool cmyk16 = kind == 5 && c.delivered == PixelFormat16bppRGB565;
            EXPECT_EQ(direct.Format(), cmyk16 ? PixelFormat24bppRGB : c.delivered);
            ExpectSameAsConverted(direct, rgb24);
        }
    }
}

}  // namespace
}  // namespace jpeg_tests
