// GPS positions read from real JPEG files written by exiftool, and the files that give none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/debug.h"
#include "platform/core/wstring.h"
#include "tests/catalogue/items/item_test_env.h"
#include "tests/support/image_tools.h"

namespace {

using items_test::ItemTest;
using testing_support::SampleContent;

class PositionTest : public ItemTest {
  protected:
    // A 32 x 24 JPEG (or any format by name) with the exiftool tags given.
    void Tagged(const std::u16string& name, const std::vector<std::string>& tags) {
        Picture(name, 32, 24);
        if (tags.empty())
            return;
        std::vector<std::string> args = tags;
        args.push_back("-overwrite_original");
        args.push_back(HostOf(name));
        ASSERT_TRUE(testing_support::RunExiftool(args));
    }
};

TEST_F(PositionTest, GpsTagsGiveThePosition) {
    // 48.8583 N = 48 deg 51 min 29.88 s; 2.2945 E = 2 deg 17 min 40.2 s.
    Tagged(u"paris.JPG", {"-GPSLatitude=48.8583", "-GPSLatitudeRef=N", "-GPSLongitude=2.2945",
                          "-GPSLongitudeRef=E", "-GPSAltitude=35.5", "-GPSAltitudeRef#=0"});
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"paris.JPG");
    EXPECT_EQ(picture->ReadPosition(), 1);
    EXPECT_EQ(picture->m_dwPositionRead, 1u);
    EXPECT_EQ(picture->m_dwHasPosition, 1u);
    const MediaPosition& p = picture->m_position;
    EXPECT_EQ(p.nLatitudeDegrees, 48);
    EXPECT_EQ(p.nLatitudeMinutes, 51);
    EXPECT_NEAR(p.fLatitudeSeconds, 29.88, 0.01);
    EXPECT_EQ(p.nLongitudeDegrees, 2);
    EXPECT_EQ(p.nLongitudeMinutes, 17);
    EXPECT_NEAR(p.fLongitudeSeconds, 40.2, 0.01);
    EXPECT_NEAR(p.fAltitude, 35.5, 0.01);
}

TEST_F(PositionTest, LargeFileIsReadByItsHead) {
    Picture(u"large.jpg", 900, 900, "plasma:");
    ASSERT_TRUE(testing_support::RunExiftool(
        {"-GPSLatitude=1.5", "-GPSLatitudeRef=S", "-GPSLongitude=100.25", "-GPSLongitudeRef=W",
         "-GPSAltitude=3", "-overwrite_original", HostOf(u"large.jpg")}));
    ASSERT_GT(testing_support::ReadBytes(HostOf(u"large.jpg")).size(), 184320u);
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"large.jpg");
    EXPECT_EQ(picture->ReadPosition(), 1);
    EXPECT_EQ(picture->m_position.nLatitudeDegrees, 1);
    EXPECT_EQ(picture->m_position.nLatitudeMinutes, 30);
    EXPECT_EQ(picture->m_position.nLongitudeDegrees, 100);
    EXPECT_EQ(picture->m_position.nLongitudeMinutes, 15);
}

TEST_F(PositionTest, AltitudeAloneIsAPosition) {
    Tagged(u"sea.jpeg", {"-GPSLatitude=0", "-GPSLatitudeRef=N", "-GPSLongitude=0",
                         "-GPSLongitudeRef=E", "-GPSAltitude=12", "-GPSAltitudeRef#=0"});
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"sea.jpeg");
    EXPECT_EQ(picture->ReadPosition(), 1);
    EXPECT_EQ(picture->m_position.nLatitudeDegrees, 0);
    EXPECT_NEAR(picture->m_position.fAltitude, 12, 0.001);
}

TEST_F(PositionTest, NoPositionCases) {
    struct Case {
        const char16_t* name;
        std::vector<std::string> tags;
        const char* debugText;  // what the read prints, or null
    };
    const std::vector<Case> cases = {
        {u"plain.jpg", {}, nullptr},  // a JPEG without EXIF GPS data
        {u"camera.jpe", {"-Make=Test", "-Orientation#=6"}, nullptr},
        // Everything zero names no place.
        {u"zero.jpg",
         {"-GPSLatitude=0", "-GPSLatitudeRef=N", "-GPSLongitude=0", "-GPSLongitudeRef=E",
          "-GPSAltitude=0", "-GPSAltitudeRef#=0"},
         nullptr},
        // Latitude without a longitude: its denominators are missing.
        {u"half.jpg", {"-GPSLatitude=10", "-GPSLatitudeRef=N"}, nullptr},
        // Not a JPEG name: nothing is read at all.
        {u"tagged.png", {"-GPSLatitude=10", "-GPSLongitude=10", "-GPSAltitude=1"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.name));
        Tagged(c.name, c.tags);
        const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, c.name);
        EXPECT_EQ(picture->ReadPosition(), 0);
        EXPECT_EQ(picture->m_dwPositionRead, 1u);
        EXPECT_EQ(picture->m_dwHasPosition, 0u);
    }
}

TEST_F(PositionTest, UnreadableFilesPrintWhy) {
    struct Case {
        const char16_t* name;
        std::vector<std::uint8_t> bytes;
        bool create;
        const char* text;
    };
    const Case cases[] = {
        {u"missing.jpg", {}, false, "Input bitstream file open error\n"},
        {u"empty.jpg", {}, true, "Stream file is empty \n"},
        {u"text.jpg", SampleContent(300), true, "(Codec)Decoder creation failure \n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::ToUtf8(c.name));
        if (c.create)
            Put(c.name, c.bytes);
        WIN32_FIND_DATAW entry{};
        lstrcpynW(entry.cFileName, c.name, MAX_PATH);
        const auto item = CreateMediaItem(MEDIA_IMAGE, entry, u"\\My Documents");
        auto* picture = dynamic_cast<CImageItem*>(item.get());
        const platform::DebugOutputCapture capture;
        EXPECT_EQ(picture->ReadPosition(), 0);
        EXPECT_EQ(picture->m_dwPositionRead, 1u);
        EXPECT_NE(capture.Utf8().find(c.text), std::string::npos) << capture.Utf8();
    }
}

TEST_F(PositionTest, ReadOnlyOnce) {
    Tagged(u"later.jpg", {});
    const auto picture = ItemAs<CImageItem>(MEDIA_IMAGE, u"later.jpg");
    EXPECT_EQ(picture->ReadPosition(), 0);
    ASSERT_TRUE(testing_support::RunExiftool(
        {"-GPSLatitude=10", "-GPSLatitudeRef=N", "-GPSLongitude=20", "-GPSLongitudeRef=E",
         "-GPSAltitude=5", "-overwrite_original", HostOf(u"later.jpg")}));
    EXPECT_EQ(picture->ReadPosition(), 0) << "the answer is kept";

    const auto fresh = ItemAs<CImageItem>(MEDIA_IMAGE, u"later.jpg");
    EXPECT_EQ(fresh->ReadPosition(), 1);
    EXPECT_EQ(fresh->m_position.nLongitudeDegrees, 20);
    // Read once: the file going away changes nothing.
    std::remove(HostOf(u"later.jpg").c_str());
    EXPECT_EQ(fresh->ReadPosition(), 1);
}

}  // namespace
