// Cutting a rectangle out of an RGB565 bitmap.
#include "tests/imaging/control/control_fixture.h"

namespace control_test {
namespace {

constexpr int kWidth = 203;  // odd, so a rectangle at the right edge ends on an odd column
constexpr int kHeight = 57;

struct CropCase {
    const char* name;
    RECT rect;
};

class CropBitmapTest : public ControlTest, public ::testing::WithParamInterface<CropCase> {};

TEST_P(CropBitmapTest, CopiesTheRegionAndReleasesTheSource) {
    const RECT& r = GetParam().rect;
    IBitmapImage* source = PatternBitmap(ctrl_.Factory(), kWidth, kHeight);
    ASSERT_NE(source, nullptr);
    source->AddRef();  // ours, to see the crop let go of its reference
    IBitmapImage* keep = source;

    IBitmapImage* crop = ctrl_.CropBitmap(&source, r);
    EXPECT_EQ(source, nullptr);
    EXPECT_EQ(keep->Release(), 0u);
    ASSERT_NE(crop, nullptr);
    SIZE size{};
    ASSERT_EQ(crop->GetSize(&size), S_OK);
    EXPECT_EQ(size.cx, r.right - r.left);
    EXPECT_EQ(size.cy, r.bottom - r.top);
    BitmapData data{};
    ASSERT_EQ(crop->LockBits(nullptr, ImageLockModeRead, PixelFormat16bppRGB565, &data), S_OK);
    int wrong = 0;
    for (int y = 0; y < size.cy; ++y) {
        const auto* row =
            reinterpret_cast<const WORD*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < size.cx; ++x)
            wrong += row[x] != Pattern(r.left + x, r.top + y);
    }
    EXPECT_EQ(wrong, 0);
    crop->UnlockBits(&data);
    crop->Release();

    const std::string out = debug_.Utf8();
    EXPECT_EQ(out.rfind("1(", 0), 0u) << out;
    EXPECT_NE(out.find(")\n2("), std::string::npos) << out;
    EXPECT_NE(out.find(")\n3("), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(Rectangles, CropBitmapTest,
                         ::testing::Values(CropCase{"OddWidth", {3, 5, 104, 25}},
                                           CropCase{"RightAndBottomEdges",
                                                    {kWidth - 101, kHeight - 9, kWidth, kHeight}},
                                           CropCase{"TopLeftCorner", {0, 0, 101, 1}},
                                           CropCase{"Whole", {0, 0, kWidth, kHeight}},
                                           CropCase{"OnePixel", {kWidth - 1, 0, kWidth, 1}},
                                           CropCase{"EvenWidth", {10, 10, 74, 50}}),
                         [](const auto& info) { return std::string(info.param.name); });

class CropRefusalTest : public ControlTest, public ::testing::WithParamInterface<CropCase> {};

TEST_P(CropRefusalTest, LeavesTheSourceAlone) {
    IBitmapImage* source = PatternBitmap(ctrl_.Factory(), kWidth, kHeight);
    ASSERT_NE(source, nullptr);
    IBitmapImage* const original = source;
    EXPECT_EQ(ctrl_.CropBitmap(&source, GetParam().rect), nullptr);
    EXPECT_EQ(source, original);
    SIZE size{};
    EXPECT_EQ(source->GetSize(&size), S_OK);
    EXPECT_EQ(source->Release(), 0u);
    EXPECT_EQ(debug_.Utf8(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, CropRefusalTest,
    ::testing::Values(CropCase{"PastTheRight", {kWidth - 100, 0, kWidth + 1, 10}},
                      CropCase{"PastTheBottom", {0, kHeight - 5, 10, kHeight + 5}},
                      CropCase{"NegativeLeft", {-1, 0, 10, 10}},
                      CropCase{"Empty", {10, 10, 10, 20}}, CropCase{"Inverted", {20, 10, 10, 20}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlTest, CropWithoutSourceGivesNothing) {
    IBitmapImage* none = nullptr;
    EXPECT_EQ(ctrl_.CropBitmap(&none, RECT{0, 0, 1, 1}), nullptr);
    EXPECT_EQ(ctrl_.CropBitmap(nullptr, RECT{0, 0, 1, 1}), nullptr);
}

}  // namespace
}  // namespace control_test
