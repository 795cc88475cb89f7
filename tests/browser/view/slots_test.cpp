// Filling the page's slots, decoding the visible pictures, and rebuilding one item's thumbnail
// by name, over a real folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/browser/view/view_test_env.h"

namespace viewtest {
namespace {

class SlotsTest : public ViewTest {
  protected:
    void SetUp() override {
        ViewTest::SetUp();
        MakeView(MakeParent(240, 348));
        std::filesystem::create_directories(device_.HostPath(kFolder + u"\\a_folder"));
        Jpeg(u"b_photo.jpg", "red");
        Put(u"c_notes.txt", testing_support::SampleContent(50));
        Jpeg(u"d_late.jpg", "blue");
        container_ = LoadFolder();
        ASSERT_EQ(container_->GetShownCount(), 4);
    }

    CMediaItem* Item(int index) const { return container_->ItemAt(index); }

    CMediaContainer* container_ = nullptr;
};

TEST_F(SlotsTest, FillMakesIconsAtOnceAndLeavesPicturesForLater) {
    // A page of three: the fourth item is outside it.
    view_->ShowPage(container_, 0, 2);
    view_->FillSlots();
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ(view_->GetSlotItem(slot), Item(slot)) << slot;
    for (int slot = 3; slot < kMaxPageCells; ++slot)
        EXPECT_EQ(view_->GetSlotItem(slot), nullptr) << slot;
    EXPECT_NE(Item(0)->m_hThumbnail, nullptr) << "folder icon";
    EXPECT_NE(Item(2)->m_hThumbnail, nullptr) << "document icon";
    EXPECT_EQ(Item(1)->m_hThumbnail, nullptr) << "pictures wait for decoding";

    view_->DecodeVisibleThumbnails();
    auto* photo = dynamic_cast<CImageItem*>(Item(1));
    ASSERT_NE(photo, nullptr);
    EXPECT_NE(photo->m_hThumbnail, nullptr);
    EXPECT_EQ(photo->m_dwThumbnailOk, 1u);
    EXPECT_EQ(Item(3)->m_hThumbnail, nullptr) << "not visible, not decoded";

    // A later page empties the slots it no longer uses.
    view_->ShowPage(container_, 3, 3);
    view_->FillSlots();
    EXPECT_EQ(view_->GetSlotItem(0), Item(3));
    EXPECT_EQ(view_->GetSlotItem(1), nullptr);
    EXPECT_EQ(view_->GetSlotItem(2), nullptr);
}

TEST_F(SlotsTest, RefreshThumbnailByName) {
    view_->ShowPage(container_, 0, 2);
    view_->FillSlots();
    auto* photo = dynamic_cast<CImageItem*>(Item(1));
    ASSERT_NE(photo, nullptr);

    // A visible picture not decoded yet is decoded now.
    EXPECT_EQ(view_->RefreshThumbnail(u"b_photo.jpg"), 1);
    EXPECT_EQ(photo->m_dwThumbnailOk, 1u);
    const HBITMAP decoded = photo->m_hThumbnail;
    ASSERT_NE(decoded, nullptr);
    // A decoded one is left alone; names compare without regard to case.
    EXPECT_EQ(view_->RefreshThumbnail(u"B_PHOTO.JPG"), 1);
    EXPECT_EQ(photo->m_hThumbnail, decoded);
    // Icons are made again.
    Item(2)->FreeThumbnail();
    EXPECT_EQ(view_->RefreshThumbnail(u"c_notes.txt"), 1);
    EXPECT_NE(Item(2)->m_hThumbnail, nullptr);

    struct Case {
        const char16_t* name;
        const char* why;
    };
    const Case hidden[] = {
        {u"d_late.jpg", "outside the page"},
        {u"missing.jpg", "no such item"},
    };
    for (const Case& c : hidden) {
        EXPECT_EQ(view_->RefreshThumbnail(c.name), 0) << c.why;
    }
    EXPECT_EQ(Item(3)->m_hThumbnail, nullptr) << "an invisible picture is not decoded";
    EXPECT_EQ(view_->RefreshThumbnail(nullptr), 0);
}

}  // namespace
}  // namespace viewtest
