// GIF files that are cut short, damaged or hostile: a clear error at open, or frames that show
// what arrived; never a crash, and never more memory than the budget allows.
#include <gtest/gtest.h>

#include "platform/core/debug.h"
#include "platform/imaging/imaging.h"
#include "tests/platform/imaging/gif/gif_fixtures.h"
#include "tests/platform/imaging/gif/gif_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace platform::imaging;
using gif_tests::Bytes;
using testing_support::RgbaPicture;

// The four-frame animation (frame 1 is 8x6 lime at +3+2), and ImageMagick's frames of it.
struct Animation {
    Bytes bytes;
    std::vector<RgbaPicture> frames;
};

const Animation& TestAnimation() {
    static const Animation animation = [] {
        Animation made;
        testing_support::TempDir dir;
        const std::string path = dir / "anim.gif";
        gif_tests::AnimationPlan plan;
        plan.dispose = {"None", "Background", "None", "None"};
        if (!testing_support::RunConvert(gif_tests::AnimationArgs(plan, path)))
            return made;
        made.bytes = testing_support::ReadBytes(path);
        made.frames.resize(4);
        for (int k = 0; k < 4; ++k)
            testing_support::DecodeWithImageMagick(path, &made.frames[k], k);
        return made;
    }();
    return animation;
}

TEST(GifHostile, RefusedAtOpen) {
    const Bytes screen = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0};
    Bytes zeroFrames = screen;
    zeroFrames.push_back(0x3B);
    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"garbage", {'G', 'I', 'F', '9', '9', 'z', 1, 2, 3, 4, 5, 6, 7, 8}},
        {"signature only", {'G', 'I', 'F', '8', '7', 'a'}},
        {"screen cut short", {screen.begin(), screen.begin() + 9}},
        {"no frame", zeroFrames},
        {"no frame, no trailer", screen},
    };
    for (const auto& c : cases) {
        std::unique_ptr<PictureDecoder> decoder;
        EXPECT_EQ(gif_tests::Open(c.bytes, &decoder), E_FAIL) << c.name;
        EXPECT_EQ(decoder, nullptr) << c.name;
    }
}

// Cut inside frame k's data: frames before k are whole, frame k shows what arrived.
TEST(GifHostile, CutInsideEachFrame) {
    const Animation& animation = TestAnimation();
    ASSERT_FALSE(animation.bytes.empty());
    const std::vector<std::size_t> descriptors = gif_tests::ImageDescriptors(animation.bytes);
    ASSERT_EQ(descriptors.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        const std::size_t data = gif_tests::ImageData(animation.bytes, descriptors[k]);
        const Bytes cut(animation.bytes.begin(), animation.bytes.begin() + data + 4);
        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(gif_tests::Open(cut, &decoder), S_OK) << k;
        EXPECT_EQ(decoder->Header().frameCount, k + 1);
        for (int frame = 0; frame <= k; ++frame) {
            RgbaPicture ours;
            ASSERT_EQ(gif_tests::DecodeFrame(*decoder, frame, &ours), S_OK) << k;
            if (frame < k) {
                EXPECT_EQ(gif_tests::CountDifferences(ours, animation.frames[frame]), 0) << k;
            }
        }
    }
}

// Every length of the file either is refused at open or decodes every frame it claims.
TEST(GifHostile, EveryCutDecodesOrIsRefused) {
    const Animation& animation = TestAnimation();
    for (std::size_t size = 0; size < animation.bytes.size(); size += 3) {
        const Bytes cut(animation.bytes.begin(), animation.bytes.begin() + size);
        std::unique_ptr<PictureDecoder> decoder;
        if (gif_tests::Open(cut, &decoder) != S_OK)
            continue;
        for (int frame = decoder->Header().frameCount - 1; frame >= 0; --frame) {
            RgbaPicture ours;
            EXPECT_EQ(gif_tests::DecodeFrame(*decoder, frame, &ours), S_OK) << size;
        }
    }
}

// Frame 1 (8x6 lime) moved to column `left` of the 20-wide screen: drawn where it overlaps.
TEST(GifHostile, FramesOutsideTheScreenAreClipped) {
    const Animation& animation = TestAnimation();
    const std::size_t frame1 = gif_tests::ImageDescriptors(animation.bytes).at(1);
    for (int left : {16, 19, 20, 300, 65535}) {
        Bytes moved = animation.bytes;
        gif_tests::Put16(moved, frame1 + 1, left);
        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(gif_tests::Open(moved, &decoder), S_OK) << left;
        RgbaPicture expected = animation.frames[0];
        for (int y = 2; y < 8; ++y)
            for (int x = left; x < 20 && x < left + 8; ++x) {
                std::uint8_t* pixel = expected.rgba.data() + (y * 20 + x) * 4;
                pixel[0] = 0, pixel[1] = 255, pixel[2] = 0, pixel[3] = 255;
            }
        RgbaPicture ours;
        ASSERT_EQ(gif_tests::DecodeFrame(*decoder, 1, &ours), S_OK) << left;
        EXPECT_EQ(gif_tests::CountDifferences(ours, expected), 0) << left;
    }
}

// Damaged image data ends that frame early; the frames after it still decode.
TEST(GifHostile, DamagedFrameDoesNotStopTheNext) {
    const Animation& animation = TestAnimation();
    Bytes damaged = animation.bytes;
    const std::size_t frame1 = gif_tests::ImageDescriptors(damaged).at(1);
    const std::size_t data = gif_tests::ImageData(damaged, frame1) + 1;
    for (std::size_t i = data; i < data + 6; ++i)
        damaged[i] = 0xFF;
    platform::DebugOutputCapture capture;
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(gif_tests::Open(damaged, &decoder), S_OK);
    ASSERT_EQ(decoder->Header().frameCount, 4);
    for (int frame = 0; frame < 4; ++frame) {
        RgbaPicture ours;
        ASSERT_EQ(gif_tests::DecodeFrame(*decoder, frame, &ours), S_OK) << frame;
        // Frame 1 is disposed to the background, so frames 2 and 3 do not depend on its pixels.
        if (frame != 1) {
            EXPECT_EQ(gif_tests::CountDifferences(ours, animation.frames[frame]), 0) << frame;
        }
    }
    EXPECT_NE(capture.Utf8().find("frame 1 is cut short"), std::string::npos) << capture.Utf8();
}

class BudgetScope {
  public:
    explicit BudgetScope(std::size_t bytes) : saved_(platform::ImagingMemoryBudget()) {
        platform::SetImagingMemoryBudget(bytes);
    }
    ~BudgetScope() { platform::SetImagingMemoryBudget(saved_); }

  private:
    std::size_t saved_;
};

TEST(GifHostile, ScreenSizes) {
    const Animation& animation = TestAnimation();
    Bytes huge = animation.bytes;
    gif_tests::Put16(huge, 6, 65535);
    gif_tests::Put16(huge, 8, 65535);
    {
        BudgetScope budget(1 << 20);
        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(gif_tests::Open(huge, &decoder), S_OK);
        PixelBuffer pixels;
        EXPECT_EQ(decoder->Decode({}, &pixels), E_OUTOFMEMORY);
        EXPECT_EQ(decoder->Decode({.frame = 3}, &pixels), E_OUTOFMEMORY);
        EXPECT_TRUE(pixels.Empty());
    }
    // A screen of no size is taken from the frames.
    Bytes none = animation.bytes;
    gif_tests::Put16(none, 6, 0);
    gif_tests::Put16(none, 8, 0);
    std::unique_ptr<PictureDecoder> decoder;
    ASSERT_EQ(gif_tests::Open(none, &decoder), S_OK);
    EXPECT_EQ(decoder->Header().width, 20);
    EXPECT_EQ(decoder->Header().height, 14);
    RgbaPicture ours;
    ASSERT_EQ(gif_tests::DecodeFrame(*decoder, 3, &ours), S_OK);
    EXPECT_EQ(gif_tests::CountDifferences(ours, animation.frames[3]), 0);
}

}  // namespace
