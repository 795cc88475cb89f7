// Picture and video items over real files: decoded thumbnails, placeholders that are retried,
// sizes and the decode test cached, and protected pictures through the protected path.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/catalogue/items/item_test_env.h"
#include "tests/support/image_tools.h"

namespace {

using items_test::BitmapPixels;
using items_test::BitmapSize;
using items_test::ItemTest;
using testing_support::SampleContent;

// 640 x 480 fitted to the 68 x 66 picture box: width-bound, 51 high made even.
constexpr RECT kLargeRect{0, 7, 68, 59};
// 64 x 48 is smaller than the box and centred at its own size.
constexpr RECT kSmallRect{2, 9, 66, 57};
// The 31 x 24 placeholder centred in 68 x 66, then right 2 and up 2.
constexpr RECT kPlaceholderRect{20, 19, 51, 43};

bool MostlyRed(HBITMAP bitmap) {
    const std::vector<COLORREF> pixels = BitmapPixels(bitmap);
    std::size_t red = 0;
    for (COLORREF p : pixels)
        red += GetRValue(p) > 200 && GetGValue(p) < 60 && GetBValue(p) < 60;
    return !pixels.empty() && red * 10 >= pixels.size() * 9;
}

class PictureItemTest : public ItemTest {};

TEST_F(PictureItemTest, DecodedThumbnailIsKept) {
    Picture(u"big.jpg", 640, 480);
    Picture(u"small.png", 64, 48);
    struct Case {
        const char16_t* name;
        RECT rect;
    };
    for (const Case& c : {Case{u"big.jpg", kLargeRect}, Case{u"small.png", kSmallRect}}) {
        const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, c.name);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
        EXPECT_EQ(picture->m_dwThumbnailOk, 1u);
        EXPECT_EQ(picture->m_dwUsedPlaceholder, 0u);
        EXPECT_EQ(picture->m_rcThumb, c.rect);
        EXPECT_TRUE(MostlyRed(picture->m_hThumbnail));
        const HBITMAP kept = picture->m_hThumbnail;
        EXPECT_EQ(picture->EnsureThumbnail(70, 68), 0);
        EXPECT_EQ(picture->m_hThumbnail, kept);

        picture->FreeThumbnail();
        EXPECT_EQ(picture->m_hThumbnail, nullptr);
        EXPECT_EQ(picture->m_dwThumbnailOk, 0u);
        EXPECT_EQ(picture->m_rcThumb, kDefaultThumbRect);
        EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
        EXPECT_EQ(picture->m_rcThumb, c.rect);
    }
}

TEST_F(PictureItemTest, FailedDecodeShowsPlaceholderAndIsRetried) {
    Put(u"broken.jpg", SampleContent(500));
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"broken.jpg");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1) << "the placeholder is a bitmap too";
    EXPECT_EQ(picture->m_dwThumbnailOk, 0u);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 1u);
    EXPECT_EQ(picture->m_rcThumb, kPlaceholderRect);
    EXPECT_EQ(BitmapSize(picture->m_hThumbnail).cx, 31);

    // Still broken: tried again and the placeholder made again.
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 1u);

    // Once the file is whole, the next ensure shows it.
    Picture(u"broken.jpg", 64, 48);
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwThumbnailOk, 1u);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 0u);
    EXPECT_EQ(picture->m_rcThumb, kSmallRect);
    EXPECT_TRUE(MostlyRed(picture->m_hThumbnail));
}

TEST_F(PictureItemTest, MissingFileAndNoImageControlShowPlaceholder) {
    Picture(u"gone.jpg", 64, 48);
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"gone.jpg");
    std::filesystem::remove(HostOf(u"gone.jpg"));
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 1u);

    Picture(u"fine.jpg", 64, 48);
    const auto detached = ItemAs<CImageItem>(MEDIA_IMAGE, u"fine.jpg");
    detached->m_pImageCtrl = nullptr;
    EXPECT_EQ(detached->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(detached->m_dwUsedPlaceholder, 1u);
    EXPECT_EQ(detached->IsDecodable(), 0);
    int w = -1, h = -1;
    EXPECT_EQ(detached->GetImageSize(&w, &h), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(PictureItemTest, SizeReadOnceAndZeroReadAgain) {
    Picture(u"a.jpg", 64, 48);
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"a.jpg");
    int w = 0, h = 0;
    EXPECT_EQ(picture->GetImageSize(&w, &h), 1);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
    // Cached: a changed file keeps the size until it is read again on purpose.
    Picture(u"a.jpg", 20, 10);
    EXPECT_EQ(picture->GetImageSize(&w, &h), 1);
    EXPECT_EQ(w, 64);
    picture->RereadImageSize();
    EXPECT_EQ(picture->m_dwWidth, 20u);
    EXPECT_EQ(picture->m_dwHeight, 10u);

    Put(u"late.jpg", SampleContent(10));
    const auto late = ItemAs<CImageItem>(MEDIA_IMAGE, u"late.jpg");
    EXPECT_EQ(late->GetImageSize(&w, &h), 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    // 0 x 0 is not an answer to keep.
    Picture(u"late.jpg", 30, 40);
    EXPECT_EQ(late->GetImageSize(nullptr, nullptr), 1);
    EXPECT_EQ(late->m_dwWidth, 30u);
    EXPECT_EQ(late->m_dwHeight, 40u);
}

TEST_F(PictureItemTest, DecodeTestIsCached) {
    Picture(u"ok.gif", 8, 8);
    Put(u"bad.png", SampleContent(100));
    const auto ok = ItemAs<CImageItem>(MEDIA_IMAGE, u"ok.gif");
    const auto bad = ItemAs<CImageItem>(MEDIA_IMAGE, u"bad.png");
    EXPECT_EQ(ok->IsDecodable(), 1);
    EXPECT_EQ(bad->IsDecodable(), 0);
    std::filesystem::remove(HostOf(u"ok.gif"));
    Picture(u"bad.png", 8, 8);
    EXPECT_EQ(ok->IsDecodable(), 1);
    EXPECT_EQ(bad->IsDecodable(), 0);
}

TEST_F(PictureItemTest, ProtectedPictureGoesThroughTheProtectedPath) {
    // A forward-locked JPEG under a picture name: the plain path sees no picture in its bytes.
    Picture(u"clear.jpg", 64, 48);
    ForwardLocked(u"locked.jpg", "image/jpeg", testing_support::ReadBytes(HostOf(u"clear.jpg")));
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"locked.jpg");

    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 1u) << "unprotected path before the lookup";

    picture->LookUpRights();
    EXPECT_EQ(picture->m_dwIsDrm, 1u);
    EXPECT_EQ(picture->m_dwDrmChecked, 1u);
    EXPECT_TRUE(picture->IsProtected());
    EXPECT_EQ(picture->m_dwDrmExpired, 0u);
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwThumbnailOk, 1u);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 0u);
    EXPECT_EQ(picture->m_rcThumb, kSmallRect);
    EXPECT_TRUE(MostlyRed(picture->m_hThumbnail));
    int w = 0, h = 0;
    EXPECT_EQ(picture->GetImageSize(&w, &h), 1);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 48);
}

TEST_F(PictureItemTest, ExpiredPictureShowsIconUntilNextEnsure) {
    Separate(u"ended.jpg", "image/jpeg", items_test::Permission::Display, items_test::EndedTerms(),
             true);
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"ended.jpg");
    picture->LookUpRights();
    EXPECT_EQ(picture->m_dwIsDrm, 1u);
    EXPECT_EQ(picture->m_dwDrmExpired, 1u);
    EXPECT_EQ(BitmapSize(picture->m_hThumbnail).cx, 31);
    EXPECT_EQ(picture->m_rcThumb, kPlaceholderRect);
    EXPECT_EQ(picture->m_dwThumbnailOk, 0u);
    // Pictures skip the expiry check when ensured: the decode is tried (and fails here).
    EXPECT_EQ(picture->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(picture->m_dwUsedPlaceholder, 1u);
}

TEST_F(PictureItemTest, VideoShowsPlaceholderUntilFramesExist) {
    Put(u"clip.mp4", SampleContent(2000));
    const auto video = ItemAs<CVideoItem>(MEDIA_VIDEO, u"clip.mp4");
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->GetLength(), 0u);
    EXPECT_EQ(video->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(video->m_dwThumbnailOk, 0u);
    EXPECT_EQ(video->m_rcThumb, kPlaceholderRect);
    const std::vector<COLORREF> first = BitmapPixels(video->m_hThumbnail);
    EXPECT_EQ(video->EnsureThumbnail(70, 68), 1) << "a placeholder is retried";
    EXPECT_EQ(BitmapPixels(video->m_hThumbnail), first);
    video->FreeThumbnail();
    EXPECT_EQ(video->m_hThumbnail, nullptr);
    EXPECT_EQ(video->m_rcThumb, kDefaultThumbRect);
}

}  // namespace
