// The menus' capability tests over real plain and protected files.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/core/wstring.h"
#include "platform/fs/attributes.h"
#include "tests/catalogue/items/item_test_env.h"
#include "tests/support/image_tools.h"

namespace {

using items_test::CountTerms;
using items_test::EndedTerms;
using items_test::ItemTest;
using items_test::Permission;
using testing_support::SampleContent;

constexpr const char* kIssuer = "http://rights.example/buy";

struct Case {
    const char* label;
    MediaType type;
    const char16_t* name;
    std::function<void(ItemTest&, const std::u16string&)> make;
    int canSend;
    int canSetAs;
    int canEdit;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.label;
}

void PlainFile(ItemTest& t, const std::u16string& name) {
    t.Put(name, SampleContent());
}
void PictureFile(ItemTest& t, const std::u16string& name) {
    t.Picture(name, 16, 16);
}
void NoFile(ItemTest&, const std::u16string&) {}

class CapabilitiesTest : public ItemTest, public testing::WithParamInterface<Case> {};

TEST_P(CapabilitiesTest, AnswersAsTheMenusNeed) {
    const Case& c = GetParam();
    c.make(*this, c.name);
    WIN32_FIND_DATAW entry{};
    lstrcpynW(entry.cFileName, c.name, MAX_PATH);
    const auto item = CreateMediaItem(c.type, entry, u"\\My Documents");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->CanSend(), c.canSend);
    EXPECT_EQ(item->CanSetAs(), c.canSetAs);
    EXPECT_EQ(item->CanEdit(), c.canEdit);
}

INSTANTIATE_TEST_SUITE_P(
    Items, CapabilitiesTest,
    testing::Values(
        Case{"Folder", MEDIA_FOLDER, u"Album",
             [](ItemTest& t, const std::u16string& n) { t.Put(n + u"\\x.txt", SampleContent()); },
             0, 0, 0},
        Case{"PlainSound", MEDIA_MUSIC, u"song.mp3", PlainFile, 1, 1, 0},
        Case{"RingtoneFormatAnyCase", MEDIA_MUSIC, u"tone.Mid", PlainFile, 1, 1, 0},
        Case{"AmrSound", MEDIA_MUSIC, u"voice.amr", PlainFile, 1, 1, 0},
        Case{"SoundNotForSetAs", MEDIA_MUSIC, u"talk.ra", PlainFile, 1, 0, 0},
        Case{"VideoForSetAs", MEDIA_VIDEO, u"clip.MP4", PlainFile, 1, 1, 0},
        Case{"VideoNotForSetAs", MEDIA_VIDEO, u"clip.avi", PlainFile, 1, 0, 0},
        Case{"Document", MEDIA_DOCUMENT, u"notes.txt", PlainFile, 1, 0, 0},
        Case{"MissingFile", MEDIA_DOCUMENT, u"gone.txt", NoFile, 0, 0, 0},
        // Forward lock: never sent on; plays, so Set as may use it.
        Case{"ForwardLockedSound", MEDIA_MUSIC, u"fl.mp3",
             [](ItemTest& t, const std::u16string& n) {
                 t.ForwardLocked(n, "audio/mpeg", SampleContent());
             },
             0, 1, 0},
        // Separate delivery travels without its rights; Set as needs the play right now.
        Case{"SeparateSoundWithRights", MEDIA_MUSIC, u"sd.mp3",
             [](ItemTest& t, const std::u16string& n) {
                 t.Separate(n, "audio/mpeg", Permission::Play, CountTerms(2), true);
             },
             1, 1, 0},
        Case{"SeparateSoundExpired", MEDIA_MUSIC, u"old.mp3",
             [](ItemTest& t, const std::u16string& n) {
                 t.Separate(n, "audio/mpeg", Permission::Play, EndedTerms(), true);
             },
             1, 0, 0},
        Case{"SeparateSoundWithoutRights", MEDIA_MUSIC, u"bare.mp3-drm",
             [](ItemTest& t, const std::u16string& n) {
                 t.Separate(n, "audio/mpeg", Permission::Play, {}, false);
             },
             1, 0, 0},
        Case{"IssuerOnlySound", MEDIA_MUSIC, u"ri.mp3",
             [](ItemTest& t, const std::u16string& n) {
                 t.Separate(n, "audio/mpeg", Permission::Play, {}, true, kIssuer);
             },
             1, 1, 0},
        Case{"Jpeg", MEDIA_IMAGE, u"photo.jpg", PictureFile, 1, 1, 1},
        Case{"Png", MEDIA_IMAGE, u"photo.PNG", PictureFile, 1, 1, 1},
        Case{"Gif", MEDIA_IMAGE, u"anim.gif", PictureFile, 1, 1, 0},
        Case{"Wbmp", MEDIA_IMAGE, u"logo.wbmp", PictureFile, 1, 0, 0},
        Case{"WbmpUpperCase", MEDIA_IMAGE, u"logo.WBMP", PictureFile, 1, 0, 0},
        Case{"UndecodablePicture", MEDIA_IMAGE, u"broken.jpg", PlainFile, 1, 0, 1},
        Case{"ReadOnlyPicture", MEDIA_IMAGE, u"ro.jpg",
             [](ItemTest& t, const std::u16string& n) {
                 t.Picture(n, 16, 16);
                 ASSERT_TRUE(
                     SetFileAttributesW(ItemTest::PathOf(n).c_str(), FILE_ATTRIBUTE_READONLY));
             },
             1, 1, 0},
        Case{"MissingPicture", MEDIA_IMAGE, u"gone.jpg", NoFile, 0, 0, 0},
        Case{"ForwardLockedPicture", MEDIA_IMAGE, u"fl.jpg",
             [](ItemTest& t, const std::u16string& n) {
                 t.Picture(u"clear.jpg", 16, 16);
                 t.ForwardLocked(n, "image/jpeg",
                                 testing_support::ReadBytes(t.HostOf(u"clear.jpg")));
             },
             0, 0, 1}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.label; });

// The system attribute lives in the host's extended attributes, which the test folder keeps.
TEST_F(ItemTest, SystemPictureIsNotEdited) {
    Picture(u"sys.jpg", 16, 16);
    const std::u16string path = PathOf(u"sys.jpg");
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_SYSTEM, 0u);
    const auto picture = Item(MEDIA_IMAGE, u"sys.jpg");
    EXPECT_EQ(picture->CanEdit(), 0);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(picture->CanEdit(), 1);
}

}  // namespace
