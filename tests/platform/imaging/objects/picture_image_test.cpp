#include <gtest/gtest.h>

#include <memory>

#include "platform/imaging/codec/byte_source.h"
#include "platform/imaging/objects/bitmap_from_image.h"
#include "platform/imaging/objects/picture_image.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::MakeBlendPicture;
using objects_test::OpenPicture;
using objects_test::ReadRgba;
using testing_support::Compare;
using testing_support::RgbaPicture;

// One picture of each format as ImageMagick writes it, and what its header says.
struct FormatCase {
    const char* file;
    std::vector<std::string> options;
    const GUID* raw;
    bool indexed;
    bool keptIndexed;  // format 0 at its own size gives an indexed bitmap
    bool alpha;
    int tolerance;  // largest channel difference from ImageMagick's own decode
};

const std::vector<FormatCase>& Formats() {
    static const std::vector<FormatCase> cases = {
        {"a.jpg", {"-quality", "95"}, &ImageFormatJPEG, false, false, false, 12},
        // ImageMagick writes 16-bit samples here; reduced to 8 bits they may round differently.
        {"a.png", {}, &ImageFormatPNG, false, false, false, 1},
        {"alpha.png",
         {"-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel"},
         &ImageFormatPNG,
         false,
         false,
         true,
         1},
        {"palette.png", {"-colors", "16", "PNG8:"}, &ImageFormatPNG, true, true, false, 0},
        // The GIF decoder delivers its composed canvas as 32bppARGB, whatever the file holds.
        {"a.gif", {}, &ImageFormatGIF, true, false, false, 0},
        {"a.bmp", {"-type", "TrueColor"}, &ImageFormatBMP, false, false, false, 0},
        {"palette.bmp",
         {"-colors", "16", "-type", "Palette", "BMP3:"},
         &ImageFormatBMP,
         true,
         true,
         false,
         0},
        {"a.wbmp", {"-monochrome", "WBMP:"}, &ImageFormatWBMP, true, true, false, 0},
    };
    return cases;
}

// ImageMagick writes "PNG8:name": the prefix goes in front of the output path.
std::string MakeFixture(const testing_support::TempDir& dir, const FormatCase& c, int width,
                        int height) {
    std::vector<std::string> options = c.options;
    std::string prefix;
    if (!options.empty() && options.back().back() == ':') {
        prefix = options.back();
        options.pop_back();
    }
    if (prefix.empty())
        return MakeBlendPicture(dir, c.file, width, height, options);
    const std::string plain =
        MakeBlendPicture(dir, std::string("src-") + c.file + ".png", width, height, options);
    const std::string path = dir / c.file;
    return testing_support::RunConvert({plain, prefix + path}) ? path : std::string();
}

TEST(PictureImage, ReportsTheHeaderOfEachFormat) {
    testing_support::TempDir dir;
    for (const FormatCase& c : Formats()) {
        const std::string path = MakeFixture(dir, c, 37, 21);
        ASSERT_FALSE(path.empty()) << c.file;
        HRESULT hr = E_FAIL;
        ComPtr<IImage> image = OpenPicture(path, &hr);
        ASSERT_EQ(hr, S_OK) << c.file;
        ImageInfo info{};
        ASSERT_EQ(image->GetImageInfo(&info), S_OK);
        EXPECT_TRUE(IsEqualGUID(info.RawDataFormat, *c.raw)) << c.file;
        EXPECT_EQ(info.Width, 37u) << c.file;
        EXPECT_EQ(info.Height, 21u) << c.file;
        EXPECT_EQ(IsIndexedPixelFormat(info.PixelFormat), c.indexed) << c.file;
        EXPECT_EQ(IsAlphaPixelFormat(info.PixelFormat) || (info.Flags & ImageFlagsHasAlpha),
                  c.alpha)
            << c.file;
        SIZE physical{};
        ASSERT_EQ(image->GetPhysicalDimension(&physical), S_OK);
        EXPECT_NEAR(physical.cx, 37 * 2540.0 / info.Xdpi, 1) << c.file;
    }
}

TEST(PictureImage, UnknownAndBrokenBytesAreToldApart) {
    static const std::uint8_t text[] = "hello, this is no picture at all";
    static const std::uint8_t brokenGif[] = {'G', 'I', 'F', '8', '9', 'a', 1};
    struct Case {
        std::span<const std::uint8_t> bytes;
        HRESULT expected;
    };
    const Case cases[] = {{text, IMGERR_CODECNOTFOUND}, {brokenGif, E_FAIL}};
    for (const Case& c : cases) {
        ComPtr<IImage> image;
        EXPECT_EQ(
            platform::imaging::CreatePictureImage(platform::imaging::BorrowedMemorySource(c.bytes),
                                                  image.ReleaseAndGetAddressOf()),
            c.expected);
        EXPECT_FALSE(image);
    }
    ComPtr<IImage> none;
    EXPECT_EQ(platform::imaging::CreatePictureImage(nullptr, none.ReleaseAndGetAddressOf()),
              E_INVALIDARG);
}

TEST(BitmapFromPicture, FullSizeEqualsTheReferenceDecode) {
    testing_support::TempDir dir;
    for (const FormatCase& c : Formats()) {
        const std::string path = MakeFixture(dir, c, 61, 47);
        ComPtr<IImage> image = OpenPicture(path);
        ASSERT_TRUE(image) << c.file;
        ComPtr<IBitmapImage> bitmap;
        ASSERT_EQ(
            platform::imaging::BitmapFromImage(image.Get(), 61, 47, 0, InterpolationHintDefault,
                                               bitmap.ReleaseAndGetAddressOf()),
            S_OK)
            << c.file;
        PixelFormatID format = 0;
        bitmap->GetPixelFormatID(&format);
        EXPECT_EQ(IsIndexedPixelFormat(format), c.keptIndexed) << c.file;
        RgbaPicture reference;
        ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
        const auto difference = Compare(ReadRgba(bitmap.Get()), reference, c.alpha);
        EXPECT_LE(difference.maximum, c.tolerance) << c.file;
    }
}

TEST(BitmapFromPicture, ScaledIsCloseToABoxFilteredResize) {
    testing_support::TempDir dir;
    const std::string jpeg = MakeBlendPicture(dir, "big.jpg", 640, 480, {"-quality", "92"});
    const std::string png = MakeBlendPicture(dir, "big.png", 640, 480);
    for (const std::string& path : {jpeg, png}) {
        ComPtr<IImage> image = OpenPicture(path);
        ASSERT_TRUE(image) << path;
        for (const auto& [width, height] : {std::pair{68, 64}, {240, 180}, {480, 360}}) {
            ComPtr<IBitmapImage> bitmap;
            ASSERT_EQ(platform::imaging::BitmapFromImage(
                          image.Get(), width, height, PixelFormat24bppRGB, InterpolationHintDefault,
                          bitmap.ReleaseAndGetAddressOf()),
                      S_OK);
            const std::string size = std::to_string(width) + "x" + std::to_string(height);
            const std::string scaled = dir / ("ref-" + size + ".pam");
            ASSERT_TRUE(testing_support::RunConvert(
                {path, "-filter", "Box", "-resize", size + "!", "-depth", "8", scaled}));
            RgbaPicture reference;
            ASSERT_TRUE(
                testing_support::ReadNetpbm(testing_support::ReadBytes(scaled), &reference));
            const auto difference = Compare(ReadRgba(bitmap.Get()), reference);
            EXPECT_LE(difference.maximum, 24) << path << " at " << size;
            EXPECT_LE(difference.mean, 3.0) << path << " at " << size;
        }
    }
}

TEST(BitmapFromPicture, DeliversEachRequestedFormat) {
    testing_support::TempDir dir;
    const std::string path = MakeBlendPicture(dir, "f.jpg", 160, 120, {"-quality", "95"});
    RgbaPicture reference;
    ASSERT_TRUE(testing_support::DecodeWithImageMagick(path, &reference));
    ComPtr<IImage> image = OpenPicture(path);
    ASSERT_TRUE(image);
    struct Case {
        PixelFormatID format;
        int tolerance;  // 5-bit channels lose 3 bits
    };
    const Case cases[] = {{PixelFormat16bppRGB565, 20},
                          {PixelFormat16bppRGB555, 20},
                          {PixelFormat24bppRGB, 12},
                          {PixelFormat32bppARGB, 12}};
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> bitmap;
        ASSERT_EQ(platform::imaging::BitmapFromImage(image.Get(), 160, 120, c.format,
                                                     InterpolationHintBicubic,
                                                     bitmap.ReleaseAndGetAddressOf()),
                  S_OK);
        PixelFormatID format = 0;
        bitmap->GetPixelFormatID(&format);
        EXPECT_EQ(format, c.format);
        EXPECT_LE(Compare(ReadRgba(bitmap.Get()), reference).maximum, c.tolerance)
            << std::hex << c.format;
    }
}

TEST(BitmapFromPicture, IndexedPicturesStayIndexedOnlyAtTheirOwnSize) {
    testing_support::TempDir dir;
    const std::string plain = MakeBlendPicture(dir, "i.png", 40, 30, {"-colors", "32"});
    const std::string path = dir / "i8.png";
    ASSERT_TRUE(testing_support::RunConvert({plain, "PNG8:" + path}));
    ComPtr<IImage> image = OpenPicture(path);
    ASSERT_TRUE(image);
    struct Case {
        UINT width;
        PixelFormatID requested;
        HRESULT expected;
        PixelFormatID result;
    };
    const Case cases[] = {{40, 0, S_OK, PixelFormat8bppIndexed},
                          {20, 0, S_OK, PixelFormat32bppARGB},
                          {40, PixelFormat8bppIndexed, S_OK, PixelFormat8bppIndexed},
                          {20, PixelFormat8bppIndexed, IMGERR_NOCONVERSION, 0},
                          {0, 0, E_INVALIDARG, 0}};
    for (const Case& c : cases) {
        ComPtr<IBitmapImage> bitmap;
        EXPECT_EQ(platform::imaging::BitmapFromImage(image.Get(), c.width, 30, c.requested,
                                                     InterpolationHintDefault,
                                                     bitmap.ReleaseAndGetAddressOf()),
                  c.expected)
            << c.width << " " << std::hex << c.requested;
        if (SUCCEEDED(c.expected)) {
            PixelFormatID format = 0;
            bitmap->GetPixelFormatID(&format);
            EXPECT_EQ(format, c.result);
        }
    }
}

// The decode manager's retry: full size, then 90 %, 80 % ... of each side until the bitmap
// fits the memory budget.
TEST(BitmapFromPicture, OutOfMemoryIsReportedSoSmallerRetriesSucceed) {
    testing_support::TempDir dir;
    const std::string path = MakeBlendPicture(dir, "big.jpg", 2048, 1536);
    ComPtr<IImage> image = OpenPicture(path);
    ASSERT_TRUE(image);
    objects_test::ScopedBudget budget(4 * 1024 * 1024);
    std::vector<HRESULT> results;
    int succeededAt = 0;
    for (int tenths = 10; tenths >= 2 && succeededAt == 0; --tenths) {
        ComPtr<IBitmapImage> bitmap;
        const UINT width = 2048 * tenths / 10;
        const UINT height = 1536 * tenths / 10;
        const HRESULT hr = platform::imaging::BitmapFromImage(
            image.Get(), width, height, PixelFormat16bppRGB565, InterpolationHintDefault,
            bitmap.ReleaseAndGetAddressOf());
        results.push_back(hr);
        if (SUCCEEDED(hr)) {
            succeededAt = tenths;
            SIZE size{};
            bitmap->GetSize(&size);
            EXPECT_EQ(size.cx, static_cast<LONG>(width));
            EXPECT_EQ(size.cy, static_cast<LONG>(height));
        }
    }
    ASSERT_GE(results.size(), 2u);
    EXPECT_EQ(results.front(), E_OUTOFMEMORY);
    for (std::size_t i = 0; i + 1 < results.size(); ++i)
        EXPECT_EQ(results[i], E_OUTOFMEMORY) << "try " << i;
    EXPECT_GT(succeededAt, 0) << "no size fitted the budget";
    // The budget is what stopped the larger tries: the bitmap itself fits at the size found.
    EXPECT_LE(2048 * succeededAt / 10 * (1536 * succeededAt / 10) * 2, 4 * 1024 * 1024);
}

}  // namespace
