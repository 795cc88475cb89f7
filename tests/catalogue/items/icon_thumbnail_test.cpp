// Cell pictures of the icon items and the placeholders: where they sit at 96 and 192 dpi, in
// portrait and landscape, and which skin bitmap they are.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>

#include "platform/display/display.h"
#include "platform/user/resource_tables.h"
#include "resources/skin/skin_ids.h"
#include "tests/catalogue/items/item_test_env.h"

namespace {

using items_test::BitmapPixels;
using items_test::BitmapSize;
using items_test::ItemTest;
using items_test::SkinPixels;

constexpr COLORREF kCellBackground = RGB(244, 245, 244);

struct Placement {
    MediaType type;
    const char16_t* name;
    bool expired;  // the item's rights have run out
    UINT icon;
    RECT rect;
};

// Makes the item, ensures its thumbnail for the cell and checks the bitmap and its place; the
// problems found, one a line.
std::string CheckPlacements(
    int cellWidth, int cellHeight, std::initializer_list<Placement> cases,
    const std::function<std::unique_ptr<CMediaItem>(const Placement&)>& make) {
    std::ostringstream problems;
    for (const Placement& c : cases) {
        const std::unique_ptr<CMediaItem> item = make(c);
        item->m_dwDrmExpired = c.expired ? 1 : 0;
        if (item->EnsureThumbnail(cellWidth, cellHeight) != 1)
            problems << "no new thumbnail for type " << c.type << "\n";
        if (!(item->m_rcThumb == c.rect)) {
            problems << "type " << c.type << (c.expired ? " expired" : "") << ": rect "
                     << item->m_rcThumb << ", want " << c.rect << "\n";
        }
        // Pictures and videos are stretched without a key, so they get the cell background
        // where icons are transparent; icon items keep the key for TransparentImage.
        const bool stretched = c.type == MEDIA_IMAGE || c.type == MEDIA_VIDEO;
        const std::vector<COLORREF> want =
            SkinPixels(c.icon, stretched ? &kCellBackground : nullptr);
        if (want.empty() || BitmapPixels(item->m_hThumbnail) != want)
            problems << "type " << c.type << ": not the pixels of bitmap " << c.icon << "\n";
    }
    return problems.str();
}

class IconThumbnailTest : public ItemTest {
  protected:
    void SetUp() override {
        Put(u"Folder.txt", testing_support::SampleContent(10));
        Put(u"a.txt", testing_support::SampleContent(10));
        Put(u"a.mp3", testing_support::SampleContent(10));
        // Neither decodes: the placeholders show.
        Put(u"a.jpg", testing_support::SampleContent(10));
        Put(u"a.mp4", testing_support::SampleContent(10));
    }
    void TearDown() override { platform::InstallDisplay(nullptr); }

    std::unique_ptr<CMediaItem> Make(const Placement& c) const { return Item(c.type, c.name); }

    // Runs the check in a fresh copy of this test program showing a width x height screen at
    // `dpi`: scaled lengths are read once per process, so each dpi needs its own.
    void ExpectInFreshProcess(int width, int height, int dpi, int cellWidth, int cellHeight,
                              std::initializer_list<Placement> cases) {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        EXPECT_EXIT(
            {
                platform::InstallDisplay(platform::CreateHeadlessBackend({width, height, dpi, 1}));
                const std::string problems = CheckPlacements(
                    cellWidth, cellHeight, cases, [this](const Placement& c) { return Make(c); });
                std::fputs(problems.c_str(), stderr);
                std::fflush(stderr);
                _exit(problems.empty() ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
};

// At 96 dpi a 70 x 68 cell gives icons a 66 x 64 box and pictures 68 x 66.
TEST_F(IconThumbnailTest, PortraitAt96Dpi) {
    ExpectInFreshProcess(
        240, 400, 96, 70, 68,
        {
            {MEDIA_FOLDER, u"Folder.txt", false, IDB_KIND_FOLDER, {19, 16, 51, 44}},
            {MEDIA_DOCUMENT, u"a.txt", false, IDB_KIND_DOCUMENT, {19, 16, 51, 44}},
            {MEDIA_MUSIC, u"a.mp3", false, IDB_KIND_SOUND, {19, 16, 51, 44}},
            {MEDIA_IMAGE, u"a.jpg", false, IDB_PLACEHOLDER_PICTURE, {20, 19, 51, 43}},
            {MEDIA_VIDEO, u"a.mp4", false, IDB_PLACEHOLDER_VIDEO, {20, 19, 51, 43}},
            // The expired icon sits in the cell less 2, whatever the cell asked.
            {MEDIA_DOCUMENT, u"a.txt", true, IDB_PLACEHOLDER_PICTURE, {20, 19, 51, 43}},
            {MEDIA_FOLDER, u"Folder.txt", true, IDB_PLACEHOLDER_PICTURE, {20, 19, 51, 43}},
        });
}

TEST_F(IconThumbnailTest, LandscapeAt96Dpi) {
    // The landscape cell is 58 high: the expired icon's box is 68 x 56.
    ExpectInFreshProcess(
        400, 240, 96, 70, 58,
        {
            {MEDIA_MUSIC, u"a.mp3", false, IDB_KIND_SOUND, {19, 11, 51, 39}},
            {MEDIA_IMAGE, u"a.jpg", false, IDB_PLACEHOLDER_PICTURE, {20, 14, 51, 38}},
            {MEDIA_MUSIC, u"a.mp3", true, IDB_PLACEHOLDER_PICTURE, {20, 14, 51, 38}},
        });
}

// At 192 dpi the 2x bitmaps are taken, S(2) is 4 and the cell is 140 x 136 (116 in landscape).
TEST_F(IconThumbnailTest, PortraitAt192Dpi) {
    ExpectInFreshProcess(
        480, 800, 192, 140, 136,
        {
            {MEDIA_FOLDER, u"Folder.txt", false, IDB_KIND_FOLDER, {40, 34, 104, 90}},
            {MEDIA_IMAGE, u"a.jpg", false, IDB_PLACEHOLDER_PICTURE, {42, 39, 104, 87}},
            {MEDIA_VIDEO, u"a.mp4", false, IDB_PLACEHOLDER_VIDEO, {42, 39, 104, 87}},
            {MEDIA_DOCUMENT, u"a.txt", true, IDB_PLACEHOLDER_PICTURE, {42, 39, 104, 87}},
        });
}

TEST_F(IconThumbnailTest, LandscapeAt192Dpi) {
    ExpectInFreshProcess(
        800, 480, 192, 140, 116,
        {
            {MEDIA_DOCUMENT, u"a.txt", false, IDB_KIND_DOCUMENT, {40, 24, 104, 80}},
            {MEDIA_DOCUMENT, u"a.txt", true, IDB_PLACEHOLDER_PICTURE, {42, 29, 104, 77}},
        });
}

// Icon items keep the bitmap they have; only an expired item is switched (again) each time.
TEST_F(IconThumbnailTest, EnsureKeepsIconsAndAlwaysAnswersExpiry) {
    const auto document = Item(MEDIA_DOCUMENT, u"a.txt");
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 1);
    const HBITMAP first = document->m_hThumbnail;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 0);
    EXPECT_EQ(document->m_hThumbnail, first);
    EXPECT_EQ(document->EnsureThumbnail(100, 100), 0) << "a kept icon is not re-placed";

    document->FreeThumbnail();
    EXPECT_EQ(document->m_hThumbnail, nullptr);
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 1);

    document->m_dwDrmExpired = 1;
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(BitmapSize(document->m_hThumbnail).cx, 31) << "the 31 x 24 expired icon";
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 1) << "the expired icon is made again";
}

TEST_F(IconThumbnailTest, IconsNeedTheirBitmaps) {
    // Without the skin there is nothing to show: no bitmap and no answer of 1.
    platform::SetResourceCatalogue({});
    const auto folder = Item(MEDIA_FOLDER, u"Folder.txt");
    EXPECT_EQ(folder->EnsureThumbnail(70, 68), 0);
    EXPECT_EQ(folder->m_hThumbnail, nullptr);
    EXPECT_EQ(folder->m_rcThumb, kDefaultThumbRect);
}

}  // namespace
