// The rights lookup over real protected files: which items become protected, when the expired
// icon replaces the kind icon, and that renewed rights bring the kind icon back.
#include <gtest/gtest.h>

#include <functional>

#include "platform/core/wstring.h"
#include "platform/rights/file_drm.h"
#include "resources/skin/skin_ids.h"
#include "tests/catalogue/items/item_test_env.h"

namespace {

using items_test::BitmapPixels;
using items_test::CountTerms;
using items_test::EndedTerms;
using items_test::ItemTest;
using items_test::Permission;
using items_test::SkinPixels;
using testing_support::SampleContent;

// The expired icon (31 x 24) in the 68 x 66 box of a portrait cell at 96 dpi.
constexpr RECT kExpiredRect{20, 19, 51, 43};
// The 32 x 28 kind icons in a 70 x 68 cell less 4.
constexpr RECT kKindRect{19, 16, 51, 44};

class ItemRightsTest : public ItemTest {};

TEST_F(ItemRightsTest, LookUpSetsProtectionAndExpiry) {
    struct Case {
        const char* label;
        MediaType type;
        std::function<std::u16string(ItemRightsTest&)> make;
        DWORD isDrm;
        DWORD expired;
    };
    const Case cases[] = {
        {"plain document", MEDIA_DOCUMENT,
         [](ItemRightsTest& t) { return t.Put(u"plain.txt", SampleContent()); }, 0, 0},
        {"missing sound", MEDIA_MUSIC,
         [](ItemRightsTest&) { return std::u16string(u"\\My Documents\\none.mp3"); }, 0, 0},
        {"forward-locked sound", MEDIA_MUSIC,
         [](ItemRightsTest& t) {
             return t.ForwardLocked(u"fl.mp3", "audio/mpeg", SampleContent());
         },
         1, 0},
        {"sound with running rights", MEDIA_MUSIC,
         [](ItemRightsTest& t) {
             return t.Separate(u"sd.mp3", "audio/mpeg", Permission::Play, CountTerms(3), true);
         },
         1, 0},
        {"document whose rights ended", MEDIA_DOCUMENT,
         [](ItemRightsTest& t) {
             return t.Separate(u"ended.txt", "text/plain", Permission::Play, EndedTerms(), true);
         },
         1, 1},
        {"sound without rights installed", MEDIA_MUSIC,
         [](ItemRightsTest& t) {
             return t.Separate(u"none.mp3", "audio/mpeg", Permission::Play, {}, false);
         },
         1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::u16string path = c.make(*this);
        WIN32_FIND_DATAW entry{};
        lstrcpynW(entry.cFileName, path.substr(path.rfind(u'\\') + 1).c_str(), MAX_PATH);
        const auto item = CreateMediaItem(c.type, entry, u"\\My Documents");
        item->LookUpRights();
        EXPECT_EQ(item->m_dwDrmChecked, 1u);
        EXPECT_EQ(item->m_dwIsDrm, c.isDrm);
        EXPECT_EQ(item->IsProtected(), c.isDrm == 1);
        EXPECT_EQ(item->m_dwDrmExpired, c.expired);
        EXPECT_EQ(item->m_hThumbnail != nullptr, c.expired == 1) << "only expiry makes a picture";
        if (c.expired) {
            EXPECT_EQ(item->m_rcThumb, kExpiredRect);
            EXPECT_EQ(BitmapPixels(item->m_hThumbnail), SkinPixels(IDB_PLACEHOLDER_PICTURE));
        }
    }
}

TEST_F(ItemRightsTest, FoldersAreNeverLookedUp) {
    ForwardLocked(u"Locked", "audio/mpeg", SampleContent());
    const auto folder = Item(MEDIA_FOLDER, u"Locked");
    folder->LookUpRights();
    EXPECT_EQ(folder->m_dwDrmChecked, 0u);
    EXPECT_FALSE(folder->IsProtected());
}

TEST_F(ItemRightsTest, UsedUpCountSwapsTheKindIconAtOnce) {
    const std::u16string path =
        Separate(u"once.mp3", "audio/mpeg", Permission::Play, CountTerms(1), true);
    const auto sound = Item(MEDIA_MUSIC, u"once.mp3");
    sound->LookUpRights();
    EXPECT_EQ(sound->m_dwDrmExpired, 0u);
    EXPECT_EQ(sound->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(sound->m_rcThumb, kKindRect);
    EXPECT_EQ(BitmapPixels(sound->m_hThumbnail), SkinPixels(IDB_KIND_SOUND));

    ASSERT_TRUE(items_test::SpendOneUse(path, FDRRF_PLAY));
    // The record held still says "not expired"; the next lookup (the next cell draw) sees it.
    EXPECT_EQ(sound->EnsureThumbnail(70, 68), 0);
    sound->LookUpRights();
    EXPECT_EQ(sound->m_dwDrmExpired, 1u);
    EXPECT_EQ(sound->m_rcThumb, kExpiredRect);
    EXPECT_EQ(BitmapPixels(sound->m_hThumbnail), SkinPixels(IDB_PLACEHOLDER_PICTURE));
    EXPECT_EQ(sound->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(BitmapPixels(sound->m_hThumbnail), SkinPixels(IDB_PLACEHOLDER_PICTURE));
}

TEST_F(ItemRightsTest, EndDateReachedWhileShown) {
    items_test::Terms terms;
    terms.end = items_test::kNow + items_test::kDay;
    Separate(u"week.txt", "text/plain", Permission::Play, terms, true);
    const auto document = Item(MEDIA_DOCUMENT, u"week.txt");
    document->LookUpRights();
    EXPECT_EQ(document->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(BitmapPixels(document->m_hThumbnail), SkinPixels(IDB_KIND_DOCUMENT));

    clock_.Advance(2 * items_test::kDay);
    document->LookUpRights();
    EXPECT_EQ(document->m_dwDrmExpired, 1u);
    EXPECT_EQ(BitmapPixels(document->m_hThumbnail), SkinPixels(IDB_PLACEHOLDER_PICTURE));
}

TEST_F(ItemRightsTest, RenewedRightsBringTheKindIconBack) {
    testing_support::SeparateDelivery made;
    Separate(u"renew.mp3", "audio/mpeg", Permission::Play, EndedTerms(), true, {}, &made);
    const auto sound = Item(MEDIA_MUSIC, u"renew.mp3");
    sound->LookUpRights();
    ASSERT_EQ(sound->m_dwDrmExpired, 1u);

    platform::rights::RightsObject renewed = made.rights;
    renewed.permissions[Permission::Play] = platform::rights::Constraint{};
    device_.Install(renewed, testing_support::RightsXml(renewed));
    sound->LookUpRights();
    EXPECT_EQ(sound->m_dwDrmExpired, 0u);
    EXPECT_EQ(sound->m_hThumbnail, nullptr);
    EXPECT_EQ(sound->EnsureThumbnail(70, 68), 1);
    EXPECT_EQ(BitmapPixels(sound->m_hThumbnail), SkinPixels(IDB_KIND_SOUND));
}

TEST_F(ItemRightsTest, FileNoLongerProtected) {
    ForwardLocked(u"swap.mp3", "audio/mpeg", SampleContent());
    const auto sound = Item(MEDIA_MUSIC, u"swap.mp3");
    sound->LookUpRights();
    ASSERT_TRUE(sound->IsProtected());
    Put(u"swap.mp3", SampleContent(50));
    sound->LookUpRights();
    EXPECT_FALSE(sound->IsProtected());
    EXPECT_EQ(sound->m_dwIsDrm, 0u);
}

}  // namespace
