#include <gtest/gtest.h>

#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::As;
using objects_test::OpenPicture;
using objects_test::PixelAt;

// A blue 640 x 480 JPEG carrying a red 160 x 120 EXIF thumbnail: a red result proves the
// embedded thumbnail was used, a blue one that the picture was decoded.
class ThumbnailTest : public ::testing::Test {
  protected:
    void SetUp() override {
        picture_ = dir_ / "main.jpg";
        const std::string thumb = dir_ / "thumb.jpg";
        ASSERT_TRUE(testing_support::RunConvert({"-size", "640x480", "xc:blue", picture_}));
        ASSERT_TRUE(testing_support::RunConvert({"-size", "160x120", "xc:red", thumb}));
        ASSERT_TRUE(testing_support::RunExiftool(
            {"-overwrite_original", "-ThumbnailImage<=" + thumb, picture_}));
    }

    testing_support::TempDir dir_;
    std::string picture_;
};

struct Thumb {
    HRESULT result = E_FAIL;
    SIZE size{};
    ARGB centre = 0;
};

Thumb TakeThumbnail(IImage* image, UINT width, UINT height) {
    Thumb thumb;
    ComPtr<IImage> small;
    thumb.result = image->GetThumbnail(width, height, small.ReleaseAndGetAddressOf());
    if (FAILED(thumb.result))
        return thumb;
    ComPtr<IBitmapImage> bitmap = As<IBitmapImage>(small);
    bitmap->GetSize(&thumb.size);
    thumb.centre = PixelAt(bitmap.Get(), thumb.size.cx / 2, thumb.size.cy / 2);
    return thumb;
}

bool Reddish(ARGB c) {
    return ((c >> 16) & 0xFF) > 200 && (c & 0xFF) < 60;
}
bool Bluish(ARGB c) {
    return (c & 0xFF) > 200 && ((c >> 16) & 0xFF) < 60;
}

TEST_F(ThumbnailTest, UsesTheEmbeddedThumbnailOnlyWhenItIsLargeEnough) {
    ComPtr<IImage> image = OpenPicture(picture_);
    ASSERT_TRUE(image);
    struct Case {
        UINT width;
        UINT height;
        bool embedded;
        LONG expectedWidth;
        LONG expectedHeight;
    };
    const Case cases[] = {{68, 64, true, 68, 64},      {160, 120, true, 160, 120},
                          {120, 90, true, 120, 90},    {161, 120, false, 161, 120},
                          {320, 240, false, 320, 240}, {0, 0, true, 120, 120}};
    for (const Case& c : cases) {
        const Thumb thumb = TakeThumbnail(image.Get(), c.width, c.height);
        ASSERT_EQ(thumb.result, S_OK) << c.width << "x" << c.height;
        EXPECT_EQ(thumb.size.cx, c.expectedWidth);
        EXPECT_EQ(thumb.size.cy, c.expectedHeight);
        EXPECT_TRUE(c.embedded ? Reddish(thumb.centre) : Bluish(thumb.centre))
            << c.width << "x" << c.height << std::hex << " centre " << thumb.centre;
    }
}

TEST_F(ThumbnailTest, OneZeroSideIsRejected) {
    ComPtr<IImage> image = OpenPicture(picture_);
    ASSERT_TRUE(image);
    EXPECT_EQ(TakeThumbnail(image.Get(), 0, 40).result, E_INVALIDARG);
    EXPECT_EQ(TakeThumbnail(image.Get(), 40, 0).result, E_INVALIDARG);
}

TEST(Thumbnail, PicturesWithoutExifAndBitmapsScaleTheirPixels) {
    testing_support::TempDir dir;
    const std::string png = dir / "green.png";
    const std::string alpha = dir / "alpha.png";
    ASSERT_TRUE(testing_support::RunConvert({"-size", "300x200", "xc:lime", png}));
    ASSERT_TRUE(testing_support::RunConvert({"-size", "300x200", "xc:rgba(0,255,0,0.5)", alpha}));
    for (const std::string& path : {png, alpha}) {
        ComPtr<IImage> image = OpenPicture(path);
        ASSERT_TRUE(image) << path;
        const Thumb thumb = TakeThumbnail(image.Get(), 30, 20);
        ASSERT_EQ(thumb.result, S_OK);
        EXPECT_EQ(thumb.size.cx, 30);
        EXPECT_EQ((thumb.centre >> 8) & 0xFF, 0xFFu) << path;
        EXPECT_NEAR(static_cast<int>(thumb.centre >> 24), path == alpha ? 128 : 255, 1) << path;
    }
    ComPtr<IImage> bitmap = As<IImage>(
        objects_test::MakeBitmap(2, 2, PixelFormat24bppRGB, std::vector<ARGB>(4, 0xFF00FF00)));
    const Thumb fromBitmap = TakeThumbnail(bitmap.Get(), 7, 5);
    ASSERT_EQ(fromBitmap.result, S_OK);
    EXPECT_EQ(fromBitmap.size.cx, 7);
    EXPECT_EQ(fromBitmap.centre, 0xFF00FF00u);
}

}  // namespace
