// Cells as the screen shows them: background and border, placeholder, selection box and mark,
// focus frame, name, rights and position badges, and the one-cell repaint after decoding.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/gdi/gdi.h"
#include "platform/rights/rel/rights_object.h"
#include "platform/shell/cursor.h"
#include "platform/user/user.h"
#include "resources/skin/skin_ids.h"
#include "tests/browser/view/view_test_env.h"

namespace viewtest {
namespace {

using platform::rights::Permission;
using testing_support::CountTerms;
using testing_support::Terms;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBorder = RGB(201, 201, 201);
constexpr COLORREF kFill = RGB(244, 245, 244);

COLORREF Shown(COLORREF c) {
    return testsupport::AsShown(c);
}

// Rights that ended yesterday.
Terms EndedTerms() {
    const std::int64_t now = std::time(nullptr);
    Terms terms;
    terms.start = now - 10 * 86'400;
    terms.end = now - 86'400;
    return terms;
}

class DrawTest : public ViewTest {
  protected:
    // Portrait grid at 96 dpi: 3 columns x 4 rows of 70 x 68.
    void SetUp() override {
        ViewTest::SetUp();
        MakeView(MakeParent(240, 348));
    }

    // Shows the whole folder from its first item.
    CMediaContainer* ShowFolder() {
        CMediaContainer* container = LoadFolder();
        const int shown = container->GetShownCount();
        view_->ShowPage(container, 0, std::min(shown, view_->GetPageSize()) - 1);
        view_->FillSlots();
        return container;
    }

    void DrawAll() {
        for (int slot = 0; slot <= view_->GetLastIndex(); ++slot)
            view_->DrawCell(slot, nullptr);
    }

    bool AnyPixelIn(const RECT& r, COLORREF colour) const {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (ViewPixel(x, y) == Shown(colour))
                    return true;
            }
        }
        return false;
    }
};

TEST_F(DrawTest, CellsShowTheirBadges) {
    const testing_support::Bytes media = JpegBytes("green");
    Put(u"a_notes.txt", testing_support::SampleContent(50));
    // Without a forward permission the rights service calls combined delivery forward-locked,
    // exactly as it does forward lock itself: neither shows a badge.
    Put(u"b_combined.jpg",
        testing_support::CombinedDeliveryFile("image/jpeg", media, "cid:b@view",
                                              Permission::Display, CountTerms(5)));
    Put(u"c_locked.jpg", testing_support::ForwardLockFile("image/jpeg", media));
    const testing_support::SeparateDelivery ended = testing_support::SeparateDeliveryFile(
        "image/jpeg", media, "cid:d@view", Permission::Display, EndedTerms());
    device_.Install(ended.rights, ended.rightsXml);
    Put(u"d_ended.jpg", ended.dcf);
    const testing_support::SeparateDelivery issued = testing_support::SeparateDeliveryFile(
        "image/jpeg", media, "cid:e@view", Permission::Display, CountTerms(5), "http://ri/");
    device_.Install(issued.rights, issued.rightsXml);
    Put(u"e_issued.jpg", issued.dcf);
    Jpeg(u"f_gps.jpg", "yellow", true);
    Jpeg(u"g_plain.jpg", "yellow");
    ShowFolder();
    ASSERT_EQ(view_->GetLastIndex(), 6);
    FillView(kBlue);
    DrawAll();

    struct Case {
        int slot;
        UINT rightsBadge;  // 0: none
        bool positionBadge;
    };
    const Case cases[] = {
        {0, 0, false},                   // a document without rights
        {1, 0, false},                   // combined delivery
        {2, 0, false},                   // forward lock
        {3, IDB_RIGHTS_EXPIRED, false},  // rights that ended
        {4, IDB_RIGHTS_VALID, false},    // running rights with a rights issuer
        {5, 0, true},                    // a picture with a GPS position
        {6, 0, false},                   // a picture without one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        const RECT& cell = view_->GetCellRect(c.slot);
        if (c.rightsBadge != 0) {
            EXPECT_TRUE(ShowsSkin(c.rightsBadge, cell.right - 25, cell.top, 25, 20));
        } else {
            EXPECT_FALSE(ShowsSkin(IDB_RIGHTS_VALID, cell.right - 25, cell.top, 25, 20));
            EXPECT_FALSE(ShowsSkin(IDB_RIGHTS_EXPIRED, cell.right - 25, cell.top, 25, 20));
        }
        EXPECT_EQ(ShowsSkin(IDB_POSITION_BADGE, cell.right - 16, cell.top, 16, 16),
                  c.positionBadge);
        if (c.rightsBadge == 0 && !c.positionBadge) {
            // The corner is plain cell background.
            EXPECT_EQ(ViewPixel(cell.right - 6, cell.top + 6), Shown(kFill));
        }
    }
}

TEST_F(DrawTest, BackgroundBoxMarkFocusAndName) {
    Put(u"a_notes.txt", testing_support::SampleContent(50));
    Jpeg(u"b_photo.jpg", "red");
    Put(u"c_song.mp3", testing_support::SampleContent(50));
    CMediaContainer* container = ShowFolder();
    ASSERT_EQ(view_->GetLastIndex(), 2);
    container->ToggleSelect(container->ItemAt(0));
    container->SetCursorIndex(0);
    FillView(kBlue);
    DrawAll();

    const RECT& notes = view_->GetCellRect(0);
    const RECT& photo = view_->GetCellRect(1);
    const RECT& song = view_->GetCellRect(2);
    const int midY = photo.top + 40;  // below the boxes and badges, above the name band

    // Border and fill of a plain cell, the 2-pixel white margin and what lies beyond it.
    EXPECT_EQ(ViewPixel(photo.left, midY), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.right - 1, midY), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left + 30, photo.top), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left + 30, photo.bottom - 1), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left + 1, midY), Shown(kFill));
    EXPECT_EQ(ViewPixel(photo.right - 2, photo.bottom - 2), Shown(kFill));
    EXPECT_EQ(ViewPixel(photo.right, midY), Shown(kWhite));
    EXPECT_EQ(ViewPixel(photo.right + 1, midY), Shown(kWhite));
    EXPECT_EQ(ViewPixel(photo.left + 30, photo.bottom + 1), Shown(kWhite));
    EXPECT_EQ(ViewPixel(photo.left + 30, photo.bottom + 2), Shown(kBlue));

    // Selection boxes: outlined on every file, the mark only on the selected one.
    EXPECT_EQ(ViewPixel(photo.left + 14, photo.top + 7), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left + 7, photo.top + 14), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left + 7, photo.top + 7), Shown(kFill));
    EXPECT_TRUE(ShowsSkin(IDB_SELECTION_MARK, notes.left, notes.top, 15, 15));
    EXPECT_FALSE(ShowsSkin(IDB_SELECTION_MARK, photo.left, photo.top, 15, 15));

    // The focus frame: 2 pixels in the highlight colour, 1 pixel outside the cell on the left
    // and top, over the cell's last column and row on the right and bottom.
    const COLORREF highlight = Shown(GetSysColor(COLOR_HIGHLIGHT));
    ASSERT_NE(highlight, Shown(kBorder));
    EXPECT_EQ(ViewPixel(notes.left - 3, midY), Shown(kBlue));
    EXPECT_EQ(ViewPixel(notes.left - 2, midY), highlight);
    EXPECT_EQ(ViewPixel(notes.left - 1, midY), highlight);
    EXPECT_EQ(ViewPixel(notes.left, midY), Shown(kBorder));
    EXPECT_EQ(ViewPixel(notes.right - 2, midY), Shown(kFill));
    EXPECT_EQ(ViewPixel(notes.right - 1, midY), highlight);
    EXPECT_EQ(ViewPixel(notes.right, midY), highlight);
    EXPECT_EQ(ViewPixel(notes.left + 30, notes.top - 2), highlight);
    EXPECT_EQ(ViewPixel(notes.left + 30, notes.top - 3), Shown(kBlue));
    EXPECT_EQ(ViewPixel(notes.left + 30, notes.bottom), highlight);
    EXPECT_EQ(ViewPixel(notes.left + 30, notes.bottom + 1), Shown(kWhite));
    EXPECT_NE(ViewPixel(song.left - 1, midY), highlight);
    EXPECT_EQ(ViewPixel(song.left, midY), Shown(kBorder));

    // Names under icons in black; pictures show none.
    const auto band = [](const RECT& cell) {
        return RECT{cell.left + 2, cell.bottom - 24, cell.right - 2, cell.bottom - 1};
    };
    EXPECT_TRUE(AnyPixelIn(band(notes), RGB(0, 0, 0)));
    EXPECT_TRUE(AnyPixelIn(band(song), RGB(0, 0, 0)));
    EXPECT_FALSE(AnyPixelIn(band(photo), RGB(0, 0, 0)));
}

TEST_F(DrawTest, PlaceholderUntilDecodedThenOnlyThatCellRepaints) {
    Put(u"a_notes.txt", testing_support::SampleContent(50));
    Jpeg(u"b_photo.jpg", "red");
    Put(u"c_song.mp3", testing_support::SampleContent(50));
    CMediaContainer* container = ShowFolder();
    ASSERT_EQ(view_->GetLastIndex(), 2);
    container->SetCursorIndex(0);
    DrawAll();

    // Before decoding, the picture's cell shows the pending mark, centred and 2 pixels up.
    const RECT& photo = view_->GetCellRect(1);
    const SIZE pending = SkinSize(IDB_THUMB_PENDING);
    ASSERT_GT(pending.cx, 0);
    EXPECT_EQ(container->ItemAt(1)->m_hThumbnail, nullptr);
    EXPECT_TRUE(ShowsSkin(IDB_THUMB_PENDING, photo.left + (70 - pending.cx) / 2,
                          photo.top + (68 - pending.cy) / 2 - 2));

    FillView(kBlue);
    view_->DecodeVisibleThumbnails();
    EXPECT_NE(container->ItemAt(1)->m_hThumbnail, nullptr);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW)) << "the busy cursor is gone";
    // The decoded picture fills the middle of its cell; its border and margin came with it.
    EXPECT_TRUE(NearColour(ViewPixel(photo.left + 35, photo.top + 34), RGB(255, 0, 0)))
        << std::hex << ViewPixel(photo.left + 35, photo.top + 34);
    EXPECT_EQ(ViewPixel(photo.left, photo.top + 40), Shown(kBorder));
    EXPECT_EQ(ViewPixel(photo.left - 2, photo.top + 40), Shown(kWhite));
    EXPECT_EQ(ViewPixel(photo.left - 3, photo.top + 40), Shown(kBlue));
    // The other cells were not drawn again.
    for (int slot : {0, 2}) {
        const RECT& cell = view_->GetCellRect(slot);
        EXPECT_EQ(ViewPixel(cell.left + 35, cell.top + 34), Shown(kBlue)) << slot;
        EXPECT_EQ(ViewPixel(cell.left, cell.top), Shown(kBlue)) << slot;
    }

    // Decoding again makes nothing new and draws nothing.
    FillView(kBlue);
    view_->DecodeVisibleThumbnails();
    EXPECT_EQ(ViewPixel(photo.left + 35, photo.top + 34), Shown(kBlue));
}

TEST_F(DrawTest, NothingDrawnOutsideTheVisibleWindow) {
    Put(u"a_notes.txt", testing_support::SampleContent(50));
    Put(u"b_notes.txt", testing_support::SampleContent(50));
    CMediaContainer* container = ShowFolder();
    FillView(kBlue);
    const RECT& third = view_->GetCellRect(2);
    for (int slot : {-1, 2, 5, kMaxPageCells, 1000})
        view_->DrawCell(slot, nullptr);
    EXPECT_EQ(ViewPixel(third.left + 5, third.top + 5), Shown(kBlue));
    // Through the window message as the decoder sends it.
    SendMessageW(view_->GetHwnd(), WM_DRAW_CELL, 1, 0);
    const RECT& second = view_->GetCellRect(1);
    EXPECT_EQ(ViewPixel(second.left, second.top + 30), Shown(kBorder));
    // An empty page draws nothing either.
    FillView(kBlue);
    view_->ShowPage(container, -1, -2);
    view_->FillSlots();
    view_->DrawCell(0, nullptr);
    EXPECT_EQ(ViewPixel(view_->GetCellRect(0).left, view_->GetCellRect(0).top + 30), Shown(kBlue));
}

}  // namespace
}  // namespace viewtest
