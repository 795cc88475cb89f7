// Cell thumbnails of plain and protected pictures.
#include "platform/gdi/gdi.h"
#include "platform/gdi/scoped.h"
#include "platform/imaging/imaging.h"
#include "tests/imaging/control/control_fixture.h"
#include "tests/support/temp_dir.h"

namespace control_test {
namespace {

// Three flat areas, so any fair scaling of the picture keeps them apart.
const std::vector<std::string> kBlocks = {"-size",
                                          "640x480",
                                          "xc:red",
                                          "-fill",
                                          "blue",
                                          "-draw",
                                          "rectangle 320,0 639,479",
                                          "-fill",
                                          "lime",
                                          "-draw",
                                          "rectangle 0,360 639,479"};

// ImageMagick's own scaling of the picture to exactly width x height.
testing_support::RgbaPicture Reference(const std::string& host, int width, int height) {
    testing_support::TempDir dir;
    const std::string scaled = dir / "scaled.png";
    testing_support::RgbaPicture picture;
    const std::string size = std::to_string(width) + "x" + std::to_string(height) + "!";
    if (testing_support::RunConvert({host, "-resize", size, scaled}))
        testing_support::DecodeWithImageMagick(scaled, &picture);
    return picture;
}

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

struct ThumbCase {
    const char* name;
    const char* file;
    bool isProtected;
};

class ThumbnailTest : public ControlTest, public ::testing::WithParamInterface<ThumbCase> {};

TEST_P(ThumbnailTest, BitmapFillsTheRectangleAndResemblesThePicture) {
    const ThumbCase& c = GetParam();
    const std::u16string plain = MakePicture(c.file, kBlocks);
    ASSERT_FALSE(plain.empty());
    const std::u16string path = c.isProtected ? ForwardLock("t.dcf", plain, "image/jpeg") : plain;
    RECT rect{};
    const platform::ScopedGdiObject bitmap(
        c.isProtected ? ctrl_.GetProtectedThumbnail(path.c_str(), &rect, 100, 100)
                      : ctrl_.GetThumbnail(path.c_str(), &rect, 100, 100));
    ASSERT_TRUE(bitmap);
    ExpectRect(rect, 0, 12, 100, 88);
    const testing_support::RgbaPicture ours = BitmapPixels(static_cast<HBITMAP>(bitmap.Get()));
    ASSERT_EQ(ours.width, 100);
    ASSERT_EQ(ours.height, 76);
    const testing_support::RgbaPicture reference = Reference(Host(plain), 100, 76);
    ASSERT_EQ(reference.width, 100);
    const testing_support::PixelDifference diff = testing_support::Compare(ours, reference);
    // RGB565 and JPEG cost a few levels; edges may differ more, but little of the picture is edge.
    EXPECT_LT(diff.mean, 8.0);
    // The flat areas themselves are right.
    EXPECT_GT(ours.At(20, 20)[0], 200);  // red
    EXPECT_GT(ours.At(80, 20)[2], 200);  // blue
    EXPECT_GT(ours.At(50, 70)[1], 200);  // lime
}

INSTANTIATE_TEST_SUITE_P(Files, ThumbnailTest,
                         ::testing::Values(ThumbCase{"Plain", "t.jpg", false},
                                           ThumbCase{"Protected", "t.jpg", true},
                                           ThumbCase{"PlainPng", "t.png", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlTest, SmallPictureKeepsItsOwnSize) {
    const std::u16string path = MakePicture("small.png", {"-size", "50x30", "xc:#3060c0"});
    ASSERT_FALSE(path.empty());
    RECT rect{};
    const platform::ScopedGdiObject bitmap(ctrl_.GetThumbnail(path.c_str(), &rect, 100, 100));
    ASSERT_TRUE(bitmap);
    ExpectRect(rect, 25, 35, 75, 65);
    const testing_support::RgbaPicture ours = BitmapPixels(static_cast<HBITMAP>(bitmap.Get()));
    EXPECT_EQ(ours.width, 50);
    EXPECT_EQ(ours.height, 30);
    const std::uint8_t* p = ours.At(25, 15);
    EXPECT_NEAR(p[0], 0x30, 8);
    EXPECT_NEAR(p[1], 0x60, 8);
    EXPECT_NEAR(p[2], 0xc0, 8);
}

TEST_F(ControlTest, NotAPictureGivesNoThumbnailAndNoResultLine) {
    const std::u16string path = Put("fake.jpg", testing_support::SampleContent());
    RECT rect{1, 2, 3, 4};
    EXPECT_EQ(ctrl_.GetThumbnail(path.c_str(), &rect, 100, 100), nullptr);
    EXPECT_EQ(ctrl_.GetProtectedThumbnail(path.c_str(), &rect, 100, 100), nullptr);
    ExpectRect(rect, 1, 2, 3, 4);
    EXPECT_EQ(debug_.Utf8().find("GetThumbnail's result"), std::string::npos);
}

// Decoding needs more than the imaging memory budget allows, so the service's GetThumbnail
// answers E_OUTOFMEMORY; only the plain route names the result.
class OutOfMemoryTest : public ControlTest {
  protected:
    void SetUp() override {
        ControlTest::SetUp();
        saved_ = platform::ImagingMemoryBudget();
    }
    void TearDown() override {
        platform::SetImagingMemoryBudget(saved_);
        ControlTest::TearDown();
    }
    std::size_t saved_ = 0;
};

TEST_F(OutOfMemoryTest, PlainRoutePrintsTheResult) {
    const std::u16string plain = MakePicture("big.png", {"-size", "1200x900", "plasma:"});
    ASSERT_FALSE(plain.empty());
    const std::u16string locked = ForwardLock("big.dcf", plain, "image/png");
    platform::SetImagingMemoryBudget(64 * 1024);
    RECT rect{};
    EXPECT_EQ(ctrl_.GetThumbnail(plain.c_str(), &rect, 100, 100), nullptr);
    EXPECT_EQ(debug_.Utf8(), "GetThumbnail's result is E_OUTOFMEMORY\n");
    debug_.Clear();
    EXPECT_EQ(ctrl_.GetProtectedThumbnail(locked.c_str(), &rect, 100, 100), nullptr);
    EXPECT_EQ(debug_.Utf8(), "");
}

TEST_F(ControlTest, ImageToBitmapDrawsAtTheImagesSize) {
    const std::u16string path = MakePicture("d.png", {"-size", "31x17", "xc:white"});
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(ctrl_.ImageToBitmap(nullptr), nullptr);
    IImage* image = nullptr;
    ASSERT_EQ(ctrl_.Factory()->CreateImageFromFile(path.c_str(), &image), S_OK);
    const platform::ScopedGdiObject bitmap(ctrl_.ImageToBitmap(image));
    image->Release();
    ASSERT_TRUE(bitmap);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(bitmap.Get(), sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBm.bmWidth, 31);
    EXPECT_EQ(section.dsBm.bmHeight, 17);
    EXPECT_EQ(section.dsBm.bmBitsPixel, 16);  // the display's depth
    EXPECT_GT(section.dsBmih.biHeight, 0);    // bottom-up
}

}  // namespace
}  // namespace control_test
