#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/core/com_object.h"
#include "platform/imaging/objects/bitmap_from_image.h"
#include "platform/imaging/objects/bitmap_image.h"
#include "platform/imaging/objects/picture_object.h"
#include "platform/imaging/objects/sink_push.h"
#include "tests/platform/imaging/objects/dib_target.h"
#include "tests/platform/imaging/objects/objects_fixtures.h"

namespace {

using objects_test::As;
using objects_test::DibTarget;
using objects_test::OpenPicture;
using objects_test::PixelAt;

TEST(PictureCalls, ASecondThreadFindsThePictureBusy) {
    testing_support::TempDir dir;
    const std::string path = objects_test::MakeBlendPicture(dir, "p.jpg", 64, 48);
    ComPtr<IImage> image = OpenPicture(path);
    ASSERT_TRUE(image);
    std::promise<void> held;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    platform::imaging::testing::SetPictureHeldHook([&held, released] {
        held.set_value();
        released.wait();
    });
    HRESULT first = E_FAIL;
    std::thread worker([&] {
        ComPtr<IImage> thumb;
        first = image->GetThumbnail(16, 12, thumb.ReleaseAndGetAddressOf());
    });
    held.get_future().wait();
    platform::imaging::testing::SetPictureHeldHook({});

    ComPtr<IImage> thumb;
    EXPECT_EQ(image->GetThumbnail(16, 12, thumb.ReleaseAndGetAddressOf()), IMGERR_OBJECTBUSY);
    ComPtr<IBitmapImage> bitmap;
    EXPECT_EQ(platform::imaging::BitmapFromImage(image.Get(), 8, 8, 0, InterpolationHintDefault,
                                                 bitmap.ReleaseAndGetAddressOf()),
              IMGERR_OBJECTBUSY);
    DibTarget target(8, 8, 24, true);
    const RECT dst{0, 0, 8, 8};
    EXPECT_EQ(image->Draw(target.dc(), &dst, nullptr), IMGERR_OBJECTBUSY);
    ImageInfo info{};
    EXPECT_EQ(image->GetImageInfo(&info), S_OK) << "the header needs no decoder";

    release.set_value();
    worker.join();
    EXPECT_EQ(first, S_OK);
    EXPECT_EQ(image->GetThumbnail(16, 12, thumb.ReleaseAndGetAddressOf()), S_OK);
}

TEST(PictureCalls, PushIntoSinkDeliversPixelsAndFrameDelays) {
    testing_support::TempDir dir;
    const std::string gif = dir / "anim.gif";
    ASSERT_TRUE(testing_support::RunConvert({"-delay", "25", "-size", "20x10", "xc:red", "-delay",
                                             "40", "xc:blue", "-loop", "0", gif}));
    ComPtr<IImage> image = OpenPicture(gif);
    ASSERT_TRUE(image);
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(platform::imaging::CreateNewBitmapImage(1, 1, PixelFormat8bppIndexed,
                                                      bitmap.ReleaseAndGetAddressOf()),
              S_OK);
    ASSERT_EQ(image->PushIntoSink(As<IImageSink>(bitmap).Get()), S_OK);
    SIZE size{};
    bitmap->GetSize(&size);
    EXPECT_EQ(size.cx, 20);
    EXPECT_EQ(size.cy, 10);
    EXPECT_EQ(PixelAt(bitmap.Get(), 19, 9), 0xFFFF0000u) << "the first frame";
    const auto* properties = platform::imaging::BitmapProperties(bitmap.Get());
    ASSERT_NE(properties, nullptr);
    const auto* delays = properties->Find(PropertyTagFrameDelay);
    ASSERT_NE(delays, nullptr);
    ASSERT_EQ(delays->value.size(), 8u);
    UINT values[2];
    std::memcpy(values, delays->value.data(), 8);
    EXPECT_EQ(values[0], 25u);
    EXPECT_EQ(values[1], 40u);
}

TEST(PictureCalls, DrawDecodesTurnedAndScaled) {
    testing_support::TempDir dir;
    // A picture whose top-left pixel is red and the rest blue, losslessly stored.
    const std::string png = dir / "corner.png";
    ASSERT_TRUE(testing_support::RunConvert(
        {"-size", "40x30", "xc:blue", "-fill", "red", "-draw", "point 0,0", png}));
    ComPtr<IImage> image = OpenPicture(png);
    ASSERT_TRUE(image);
    DibTarget target(40, 30, 32, false);
    const RECT turned{40, 30, 0, 0};
    ASSERT_EQ(image->Draw(target.dc(), &turned, nullptr), S_OK);
    EXPECT_EQ(target.At(39, 29), 0xFF0000u) << "(0, 0) lands bottom-right";
    EXPECT_EQ(target.At(0, 0), 0x0000FFu);

    const std::string jpeg = objects_test::MakeBlendPicture(dir, "b.jpg", 800, 600);
    ComPtr<IImage> photo = OpenPicture(jpeg);
    ASSERT_TRUE(photo);
    DibTarget small(100, 75, 16, true);
    const RECT fit{0, 0, 100, 75};
    ASSERT_EQ(photo->Draw(small.dc(), &fit, nullptr), S_OK);
    // Corners of the blend: red top-left, green bottom-right (within 16-bit and JPEG error).
    const ARGB topLeft = small.At(0, 0);
    const ARGB bottomRight = small.At(99, 74);
    EXPECT_GT((topLeft >> 16) & 0xFF, 200u);
    EXPECT_LT(topLeft & 0xFF, 40u);
    EXPECT_GT((bottomRight >> 8) & 0xFF, 90u);
    EXPECT_LT((bottomRight >> 16) & 0xFF, 40u);
}

// An image made elsewhere, which only knows how to push its pixels into a sink.
class ForeignImage final : public ComObject<ForeignImage, IImage> {
  public:
    HRESULT GetPhysicalDimension(SIZE*) override { return E_NOTIMPL; }
    HRESULT GetImageInfo(ImageInfo* info) override {
        *info = ImageInfo{};
        info->RawDataFormat = ImageFormatMemoryBMP;
        info->PixelFormat = PixelFormat32bppARGB;
        info->Width = 2;
        info->Height = 2;
        return S_OK;
    }
    HRESULT SetImageFlags(UINT) override { return S_OK; }
    HRESULT Draw(HDC, const RECT*, const RECT*) override { return E_NOTIMPL; }
    HRESULT PushIntoSink(IImageSink* sink) override {
        ARGB pixels[4] = {0xFFFF0000, 0xFFFF0000, 0xFF0000FF, 0xFF0000FF};
        const platform::imaging::RasterView view{
            reinterpret_cast<std::uint8_t*>(pixels), 8, 2, 2, PixelFormat32bppARGB, nullptr};
        ImageInfo info{};
        GetImageInfo(&info);
        return platform::imaging::PushPixelsIntoSink(view, info, {}, sink);
    }
    HRESULT GetThumbnail(UINT, UINT, IImage**) override { return E_NOTIMPL; }
};

TEST(PictureCalls, ForeignImagesArePushedThenScaled) {
    ComPtr<ForeignImage> foreign = ForeignImage::Make();
    ComPtr<IBitmapImage> bitmap;
    ASSERT_EQ(platform::imaging::BitmapFromImage(foreign.Get(), 1, 2, PixelFormat24bppRGB,
                                                 InterpolationHintDefault,
                                                 bitmap.ReleaseAndGetAddressOf()),
              S_OK);
    PixelFormatID format = 0;
    bitmap->GetPixelFormatID(&format);
    EXPECT_EQ(format, PixelFormat24bppRGB);
    EXPECT_EQ(PixelAt(bitmap.Get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(bitmap.Get(), 0, 1), 0xFF0000FFu);
}

}  // namespace
