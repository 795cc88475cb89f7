// Refresh media on a picture: its size is read again and a decoded thumbnail is rebuilt at the
// grid's current cell size (or the default cell before the grid set one).
#include "app/ui/common_utils.h"
#include "tests/catalogue/container/container_fixture.h"

namespace containertest {
namespace {

class RefreshPictureTest : public ContainerTest {
  protected:
    void SetUp() override {
        ContainerTest::SetUp();
        WriteFile(u"\\Ref\\p.bmp", BmpPicture(4, 3));
        WriteFile(u"\\Ref\\q.bmp", BmpPicture(4, 3));
        LoadSorted(u"\\Ref");
        picture_ = static_cast<CImageItem*>(container_->FindByName(u"p.bmp"));
        ASSERT_NE(picture_, nullptr);
        ASSERT_EQ(picture_->EnsureThumbnail(70, 68), 1);
        ASSERT_EQ(picture_->m_dwThumbnailOk, 1u);
        // Wider than any cell, so the rebuilt thumbnail spans the cell's whole width.
        WriteFile(u"\\Ref\\p.bmp", BmpPicture(400, 100));
    }
    int ThumbWidth() const { return picture_->m_rcThumb.right - picture_->m_rcThumb.left; }

    CImageItem* picture_ = nullptr;
};

TEST_F(RefreshPictureTest, RebuildsAtCellSetByGrid) {
    container_->SetThumbnailCellSize(42, 32);
    ASSERT_EQ(container_->RefreshMedia(u"p.bmp"), 1);
    int width = 0;
    int height = 0;
    EXPECT_EQ(picture_->GetImageSize(&width, &height), 1);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 100);
    EXPECT_NE(picture_->m_hThumbnail, nullptr);
    EXPECT_EQ(picture_->m_dwThumbnailOk, 1u);
    EXPECT_EQ(ThumbWidth(), 40) << "the cell less its 2-pixel margin";
}

TEST_F(RefreshPictureTest, RebuildsAtDefaultCell) {
    ASSERT_EQ(container_->RefreshMedia(u"p.bmp"), 1);
    const int box = CCommonUtils::ScaleX(70) - 2;
    EXPECT_GE(ThumbWidth(), box);
    EXPECT_LE(ThumbWidth(), box + 1);
}

TEST_F(RefreshPictureTest, PictureWithoutThumbnailGetsNone) {
    WriteFile(u"\\Ref\\q.bmp", BmpPicture(8, 6));
    ASSERT_EQ(container_->RefreshMedia(u"q.bmp"), 1);
    const auto* other = static_cast<CImageItem*>(container_->FindByName(u"q.bmp"));
    EXPECT_EQ(other->m_hThumbnail, nullptr);
    EXPECT_EQ(other->m_dwWidth, 8u);
    EXPECT_EQ(other->m_dSizeKB, (54.0 + 8 * 6 * 3) / 1024);
}

// A picture that was broken and is rewritten whole counts as showable again after its refresh.
TEST_F(RefreshPictureTest, ARepairedPictureBecomesShowable) {
    WriteFile(u"\\Ref\\q.bmp", testing_support::Bytes{'B', 'M', 0, 0});
    ASSERT_EQ(container_->RefreshMedia(u"q.bmp"), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, FALSE), 1);
    WriteFile(u"\\Ref\\q.bmp", BmpPicture(8, 6));
    ASSERT_EQ(container_->RefreshMedia(u"q.bmp"), 1);
    EXPECT_EQ(container_->GetCount(MEDIA_IMAGE, FALSE), 2);
}

}  // namespace
}  // namespace containertest
