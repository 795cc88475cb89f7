#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/core/debug.h"
#include "platform/display/display.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Reads a PNG with libpng's simplified API, as an 8-bit RGB picture.
bool ReadPng(const fs::path& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr);
    png_image_free(&image);
    return ok;
}

class ScreenshotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("pictarium-shot-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> Entries(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
};

// All 65536 screen values, one per pixel, come back with each channel widened by repeating its
// top bits.
TEST_F(ScreenshotTest, EveryScreenValueIsWrittenExactly) {
    Surface screen;
    screen.Resize(256, 256);
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) {
        screen.pixels[i] = static_cast<std::uint16_t>(i);
    }
    const fs::path file = dir_ / "all.png";
    ASSERT_TRUE(WriteScreenshotPng(screen, file.string()));
    Picture picture;
    ASSERT_TRUE(ReadPng(file, picture));
    ASSERT_EQ(picture.width, 256);
    ASSERT_EQ(picture.height, 256);
    for (unsigned v = 0; v <= 0xFFFF; ++v) {
        const unsigned r5 = v >> 11, g6 = (v >> 5) & 0x3F, b5 = v & 0x1F;
        const std::uint8_t* px = &picture.rgb[3 * v];
        ASSERT_EQ(px[0], (r5 << 3) | (r5 >> 2)) << std::hex << v;
        ASSERT_EQ(px[1], (g6 << 2) | (g6 >> 4)) << std::hex << v;
        ASSERT_EQ(px[2], (b5 << 3) | (b5 >> 2)) << std::hex << v;
    }
    // Spot values that the formula must give.
    EXPECT_EQ(picture.rgb[3 * 0xFFFF], 255);
    EXPECT_EQ(picture.rgb[3 * 0x8410 + 1], 130);
    EXPECT_EQ(Entries(dir_), std::vector<std::string>{"all.png"}) << "no temporary file left";
}

TEST_F(ScreenshotTest, CreatesMissingFoldersAndReplacesAnOldFileWhole) {
    const fs::path file = dir_ / "a" / "b" / "shot.png";
    Surface big;
    big.Resize(64, 64);
    ASSERT_TRUE(WriteScreenshotPng(big, file.string()));
    Surface small;
    small.Resize(3, 2);
    small.pixels = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
    ASSERT_TRUE(WriteScreenshotPng(small, file.string()));
    Picture picture;
    ASSERT_TRUE(ReadPng(file, picture));
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 2);
    const std::vector<std::uint8_t> expected = {255, 0,   0,   0, 255, 0, 0,   0,   255,
                                                255, 255, 255, 0, 0,   0, 132, 130, 132};
    EXPECT_EQ(picture.rgb, expected);
    EXPECT_EQ(Entries(file.parent_path()), std::vector<std::string>{"shot.png"});
}

TEST_F(ScreenshotTest, ScreenWithWiderStrideWritesOnlyVisiblePixels) {
    Surface screen;
    screen.width = 2;
    screen.height = 2;
    screen.stride = 3;
    screen.pixels = {0xFFFF, 0xFFFF, 0x1234, 0x0000, 0xF800, 0x1234};
    const fs::path file = dir_ / "stride.png";
    ASSERT_TRUE(WriteScreenshotPng(screen, file.string()));
    Picture picture;
    ASSERT_TRUE(ReadPng(file, picture));
    const std::vector<std::uint8_t> expected = {255, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0, 0};
    EXPECT_EQ(picture.rgb, expected);
}

TEST_F(ScreenshotTest, FailuresSayWhyAndLeaveNothingBehind) {
    Surface good;
    good.Resize(4, 4);
    Surface truncated;
    truncated.Resize(4, 4);
    truncated.pixels.resize(5);
    Surface empty;
    fs::create_directories(dir_ / "occupied.png");
    std::ofstream(dir_ / "plain-file") << "x";
    struct Case {
        const Surface* screen;
        fs::path path;
    };
    const std::vector<Case> cases = {
        {&truncated, dir_ / "t.png"},
        {&empty, dir_ / "e.png"},
        {&good, dir_ / "occupied.png"},          // a folder is in the way
        {&good, dir_ / "plain-file" / "x.png"},  // a file is in the way of the folder
        {&good, fs::path()},
    };
    for (const Case& c : cases) {
        DebugOutputCapture capture;
        EXPECT_FALSE(WriteScreenshotPng(*c.screen, c.path.string())) << c.path;
        EXPECT_NE(capture.Utf8().find("WriteScreenshotPng"), std::string::npos) << c.path;
    }
    auto names = Entries(dir_);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"occupied.png", "plain-file"}));
    EXPECT_TRUE(fs::is_directory(dir_ / "occupied.png"));
}

}  // namespace
}  // namespace platform
