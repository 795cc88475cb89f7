// What the thumbnail steps print and answer when the imaging service reports a zero-sized
// picture or refuses the thumbnail, over a picture object whose answers a test chooses.
#include "imaging/control/thumbnail_of_image.h"
#include "platform/core/com_object.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "tests/imaging/control/control_fixture.h"

namespace control_test {
namespace {

class ScriptedImage : public ComObject<ScriptedImage, IImage> {
  public:
    ScriptedImage(UINT width, UINT height, HRESULT thumbnail, HRESULT draw)
        : width_(width), height_(height), thumbnail_(thumbnail), draw_(draw) {}

    HRESULT GetPhysicalDimension(SIZE*) override { return E_NOTIMPL; }
    HRESULT GetImageInfo(ImageInfo* info) override {
        *info = ImageInfo{};
        info->PixelFormat = PixelFormat16bppRGB565;
        info->Width = width_;
        info->Height = height_;
        return S_OK;
    }
    HRESULT SetImageFlags(UINT) override { return E_NOTIMPL; }
    HRESULT Draw(HDC, const RECT*, const RECT*) override { return draw_; }
    HRESULT PushIntoSink(IImageSink*) override { return E_NOTIMPL; }
    HRESULT GetThumbnail(UINT width, UINT height, IImage** thumb) override {
        asked_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
        *thumb = nullptr;
        if (FAILED(thumbnail_))
            return thumbnail_;
        *thumb = Make(width, height, S_OK, draw_).Detach();
        return S_OK;
    }

    SIZE asked_{};

  private:
    UINT width_, height_;
    HRESULT thumbnail_, draw_;
};

struct ResultCase {
    const char* name;
    UINT width, height;
    HRESULT thumbnail;
    int sizeLine;
    bool printResult;
    const char* expected;
};

class ThumbnailResultTest : public ControlTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ThumbnailResultTest, FailsWithItsLine) {
    const ResultCase& c = GetParam();
    const ComPtr<ScriptedImage> image = ScriptedImage::Make(c.width, c.height, c.thumbnail, S_OK);
    RECT rect{7, 7, 7, 7};
    EXPECT_EQ(ThumbnailOfImage(ctrl_, image.Get(), &rect, 100, 100, c.sizeLine, c.printResult),
              nullptr);
    EXPECT_EQ(debug_.Utf8(), c.expected);
    EXPECT_EQ(rect.left, 7);  // untouched on failure
    EXPECT_EQ(rect.bottom, 7);
}

INSTANTIATE_TEST_SUITE_P(
    Results, ThumbnailResultTest,
    ::testing::Values(
        ResultCase{"ZeroWidth", 0, 10, S_OK, 1297, true,
                   "ERROR: .\\ImageCtrl line 1297: Invalid image size.(width:0, height:10)\n"},
        ResultCase{"ZeroHeightProtected", 10, 0, S_OK, 1179, false,
                   "ERROR: .\\ImageCtrl line 1179: Invalid image size.(width:10, height:0)\n"},
        ResultCase{"OutOfMemory", 640, 480, E_OUTOFMEMORY, 1297, true,
                   "GetThumbnail's result is E_OUTOFMEMORY\n"},
        ResultCase{"InvalidArg", 640, 480, E_INVALIDARG, 1297, true,
                   "GetThumbnail's result is E_INVALIDARG\n"},
        ResultCase{"Busy", 640, 480, IMGERR_OBJECTBUSY, 1297, true,
                   "GetThumbnail's result is IMGERR_OBJECTBUSY\n"},
        ResultCase{"CodecNotFound", 640, 480, IMGERR_CODECNOTFOUND, 1297, true,
                   "GetThumbnail's result is IMGERR_CODECNOTFOUND\n"},
        ResultCase{"OtherFailureUnnamed", 640, 480, E_FAIL, 1297, true, ""},
        ResultCase{"ProtectedUnprinted", 640, 480, IMGERR_CODECNOTFOUND, 1179, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlTest, ThumbnailIsAskedAtTheRectanglesSize) {
    const ComPtr<ScriptedImage> image = ScriptedImage::Make(640, 480, S_OK, S_OK);
    RECT rect{};
    const platform::ScopedGdiObject bitmap(
        ThumbnailOfImage(ctrl_, image.Get(), &rect, 100, 100, 1297, true));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(image->asked_.cx, 100);
    EXPECT_EQ(image->asked_.cy, 76);
    EXPECT_EQ(rect.top, 12);
    EXPECT_EQ(debug_.Utf8(), "");
}

TEST_F(ControlTest, EmptyCellAsksForNoThumbnail) {
    const ComPtr<ScriptedImage> image = ScriptedImage::Make(640, 480, S_OK, S_OK);
    RECT rect{};
    EXPECT_EQ(ThumbnailOfImage(ctrl_, image.Get(), &rect, 0, 0, 1297, true), nullptr);
    EXPECT_EQ(image->asked_.cx, 0);  // never asked
}

TEST_F(ControlTest, FailedDrawGivesNoBitmap) {
    const ComPtr<ScriptedImage> image = ScriptedImage::Make(20, 10, S_OK, E_FAIL);
    EXPECT_EQ(ctrl_.ImageToBitmap(image.Get()), nullptr);
    const ComPtr<ScriptedImage> drawn = ScriptedImage::Make(20, 10, S_OK, S_OK);
    const platform::ScopedGdiObject bitmap(ctrl_.ImageToBitmap(drawn.Get()));
    ASSERT_TRUE(bitmap);
    // Nothing drawn: the window colour fills it.
    const testing_support::RgbaPicture pixels = BitmapPixels(static_cast<HBITMAP>(bitmap.Get()));
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    EXPECT_NEAR(pixels.At(5, 5)[0], GetRValue(window), 8);
    EXPECT_NEAR(pixels.At(19, 9)[2], GetBValue(window), 8);
}

}  // namespace
}  // namespace control_test
