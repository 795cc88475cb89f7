// Damaged and hostile files: cut short, garbage, empty, huge headers, and inputs the fuzzer found.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "platform/core/debug.h"
#include "platform/imaging/imaging.h"
#include "tests/platform/imaging/jpeg/jpeg_fixtures.h"

namespace jpeg_tests {
namespace {

using namespace platform::imaging;
using testing_support::TempDir;

// Offset of the first byte after the start-of-scan segment.
std::size_t ScanDataStart(const Bytes& bytes) {
    for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA)
            return i + 2 + (bytes[i + 2] << 8 | bytes[i + 3]);
    }
    return bytes.size();
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

TEST(JpegDamage, TruncatedFiles) {
    TempDir dir;
    const Bytes whole = testing_support::ReadBytes(MakeJpeg(
        dir, "t.jpg", {"-size", "64x64", "-seed", "2", "plasma:fractal", "-quality", "95"}));
    PixelBuffer full;
    ASSERT_EQ(DecodeBytes(whole, {}, &full), S_OK);
    const std::size_t scan = ScanDataStart(whole);
    const std::size_t entropy = whole.size() - 2 - scan;
    struct Case {
        const char* name;
        std::size_t keep;
        HRESULT result;
        int exactRows;     // leading rows identical to the whole file's decode
        bool greyLastRow;  // the part never read is filled with neutral grey
    };
    const Case cases[] = {
        {"empty", 0, E_FAIL, 0, false},
        {"SOI only", 2, E_FAIL, 0, false},
        {"inside the first segment", 11, E_FAIL, 0, false},
        {"before the scan", scan - 4, E_FAIL, 0, false},
        {"at the scan", scan, S_OK, 0, true},
        {"a quarter of the scan", scan + entropy / 4, S_OK, 0, true},
        {"half the scan", scan + entropy / 2, S_OK, 8, true},
        {"three quarters of the scan", scan + entropy * 3 / 4, S_OK, 16, false},
        {"without the end marker", whole.size() - 2, S_OK, 64, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(c.keep));
        PixelBuffer pixels;
        platform::DebugOutputCapture debug;
        ASSERT_EQ(DecodeBytes(cut, {}, &pixels), c.result);
        if (FAILED(c.result)) {
            EXPECT_TRUE(pixels.Empty());
            continue;
        }
        const std::size_t rowBytes = 64 * 3;
        for (int y = 0; y < c.exactRows; ++y)
            ASSERT_TRUE(std::equal(pixels.View().Row(y), pixels.View().Row(y) + rowBytes,
                                   full.View().Row(y)))
                << "row " << y;
        if (c.greyLastRow) {
            const std::uint8_t* last = pixels.View().Row(63);
            EXPECT_TRUE(
                std::all_of(last, last + rowBytes, [](std::uint8_t v) { return v == 128; }));
            EXPECT_NE(debug.Utf8().find("ends early"), std::string::npos);
        }
    }
}

TEST(JpegDamage, ProgressiveCutShortStillDecodes) {
    TempDir dir;
    const Bytes whole = testing_support::ReadBytes(MakeJpeg(
        dir, "p.jpg", {"-size", "64x48", "-seed", "2", "plasma:fractal", "-interlace", "Plane"}));
    for (std::size_t keep : {whole.size() / 2, whole.size() * 3 / 4, whole.size() - 2}) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
        PixelBuffer pixels;
        EXPECT_EQ(DecodeBytes(cut, {}, &pixels), S_OK) << keep;
        EXPECT_EQ(pixels.Width(), 64);
    }
}

// A progressive file whose last scan is repeated thousands of times would keep the decoder busy
// for as long as the file goes on; it is refused instead.
TEST(JpegDamage, EndlessScansAreRefused) {
    TempDir dir;
    const Bytes whole = testing_support::ReadBytes(MakeJpeg(
        dir, "p.jpg", {"-size", "16x16", "-seed", "2", "plasma:fractal", "-interlace", "Plane"}));
    std::size_t lastScan = 0;
    for (std::size_t i = 0; i + 1 < whole.size(); ++i) {
        if (whole[i] == 0xFF && whole[i + 1] == 0xDA)
            lastScan = i;
    }
    ASSERT_GT(lastScan, 0u);
    for (int repeats : {10, 2000}) {
        Bytes bytes(whole.begin(), whole.end() - 2);
        for (int r = 0; r < repeats; ++r)
            bytes.insert(bytes.end(), whole.begin() + static_cast<std::ptrdiff_t>(lastScan),
                         whole.end() - 2);
        bytes.insert(bytes.end(), {0xFF, 0xD9});
        PixelBuffer pixels;
        EXPECT_EQ(DecodeBytes(bytes, {}, &pixels), repeats < 100 ? S_OK : E_FAIL) << repeats;
    }
}

TEST(JpegDamage, NotAPictureFailsAtOpen) {
    Bytes garbage = {0xFF, 0xD8, 0xFF};
    for (int i = 0; i < 4000; ++i)
        garbage.push_back(static_cast<std::uint8_t>(i * 37 % 0xFF));
    garbage.erase(std::remove(garbage.begin() + 3, garbage.end(), 0xFF), garbage.end());
    const Bytes cases[] = {
        {},
        {0xFF},
        {0xFF, 0xD8, 0xFF, 0xD9},
        garbage,
        {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0},
    };
    for (const Bytes& bytes : cases) {
        std::unique_ptr<PictureDecoder> decoder;
        EXPECT_EQ(OpenJpegDecoder(OwnedMemorySource(bytes), &decoder), E_FAIL) << bytes.size();
        EXPECT_EQ(decoder, nullptr);
    }
    EXPECT_EQ(OpenJpegDecoder(nullptr, nullptr), E_INVALIDARG);
}

TEST(JpegDamage, Recognition) {
    const std::pair<Bytes, bool> cases[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0}, true},  {{0xFF, 0xD8, 0xFF}, true},     {{0xFF, 0xD8}, false},
        {{0xFF, 0xD8, 0x00, 0xE0}, false}, {{0x89, 'P', 'N', 'G'}, false}, {{}, false},
    };
    for (const auto& [head, expected] : cases)
        EXPECT_EQ(LooksLikeJpeg(head), expected) << head.size();
}

// Writes 65500 x 65500 (the largest side a JPEG may have) into the frame header of a small picture.
Bytes WithHugeFrame(Bytes bytes) {
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
            for (std::size_t at : {i + 5, i + 7}) {
                bytes[at] = 0xFF;
                bytes[at + 1] = 0xDC;
            }
            return bytes;
        }
    }
    return {};
}

TEST(JpegDamage, HugeHeaderBeyondTheBudget) {
    BudgetScope budget(64u << 20);
    TempDir dir;
    struct Case {
        const char* interlace;
        int minSide;
        HRESULT result;
    };
    const Case cases[] = {
        {"None", 0, E_OUTOFMEMORY},   // 12 GB of pixels
        {"None", 1, E_OUTOFMEMORY},   // 1/8 scale is still 200 MB
        {"Plane", 1, E_OUTOFMEMORY},  // progressive keeps every coefficient
        {"Plane", 0, E_OUTOFMEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interlace << " " << c.minSide);
        const Bytes bytes = WithHugeFrame(testing_support::ReadBytes(
            MakeJpeg(dir, "h.jpg", {"-size", "16x16", "xc:red", "-interlace", c.interlace})));
        ASSERT_FALSE(bytes.empty());
        std::unique_ptr<PictureDecoder> decoder;
        ASSERT_EQ(OpenJpegDecoder(OwnedMemorySource(bytes), &decoder), S_OK);
        EXPECT_EQ(decoder->Header().width, 65500);
        DecodeRequest request;
        request.minWidth = request.minHeight = c.minSide;
        PixelBuffer pixels;
        EXPECT_EQ(decoder->Decode(request, &pixels), c.result);
        EXPECT_TRUE(pixels.Empty());
    }
}

TEST(JpegDamage, BadRequests) {
    TempDir dir;
    const Bytes bytes =
        testing_support::ReadBytes(MakeJpeg(dir, "r.jpg", {"-size", "8x8", "xc:red"}));
    struct Case {
        int frame, minWidth, minHeight;
    };
    for (const Case& c : {Case{1, 0, 0}, Case{-1, 0, 0}, Case{0, -5, 0}}) {
        DecodeRequest request;
        request.frame = c.frame;
        request.minWidth = c.minWidth;
        request.minHeight = c.minHeight;
        PixelBuffer pixels;
        EXPECT_EQ(DecodeBytes(bytes, request, &pixels), E_INVALIDARG);
    }
}

// Decoders on different threads share nothing: each gives the single-threaded result.
TEST(JpegDamage, ConcurrentDecodesAgree) {
    TempDir dir;
    const Bytes bytes = testing_support::ReadBytes(MakeJpeg(
        dir, "c.jpg", {"-size", "200x150", "-seed", "1", "plasma:fractal", "-interlace", "Plane"}));
    PixelBuffer expected;
    ASSERT_EQ(DecodeBytes(bytes, {}, &expected), S_OK);
    const auto reference = ToRgba(expected);
    int worst[4] = {-1, -1, -1, -1};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                PixelBuffer pixels;
                if (DecodeBytes(bytes, {}, &pixels) != S_OK)
                    return;
                worst[t] =
                    std::max(worst[t], testing_support::Compare(ToRgba(pixels), reference).maximum);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int w : worst)
        EXPECT_EQ(w, 0);
}

}  // namespace
}  // namespace jpeg_tests
