#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/text/realized_font.h"
#include "tests/platform/gdi/text/text_fixture.h"

namespace platform::test {
namespace {

// Fonts are measured from worker threads too. Threads share one realised font (same LOGFONT)
// and push its glyph cache past its bound, so entries are dropped while others draw.
TEST(TextThreads, SharedFontMeasuresTheSameEverywhere) {
    std::u16string many;
    for (char16_t c = 0x4E00; c < 0x4E00 + text::RealizedFont::kMaxCachedGlyphs + 300; ++c)
        many.push_back(c);
    const std::u16string name = u"IMG_0001.jpg";
    int expected = 0;
    {
        ScopedGdiObject font = MakeFont(14);
        Canvas canvas(4, 4, 16);
        ScopedSelectObject select(canvas.dc(), font.Get());
        expected = TextWidth(canvas.dc(), name);
    }
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            ScopedGdiObject font = MakeFont(14);
            TextCanvas canvas(64, 20, 16, font.Get());
            for (int round = 0; round < 3; ++round) {
                // Half the threads walk the large set, the others draw and measure the name.
                if (t % 2 == 0) {
                    SIZE size{};
                    GetTextExtentPoint32W(canvas.dc(), many.data(), int(many.size()), &size);
                    if (size.cx <= 0)
                        ++mismatches;
                }
                RECT r{0, 0, 64, 20};
                DrawTextW(canvas.dc(), name.c_str(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
                if (TextWidth(canvas.dc(), name) != expected)
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST(TextThreads, GlyphCacheStaysBounded) {
    ScopedGdiObject font = MakeFont(-13);
    Canvas canvas(4, 4, 16);
    ScopedSelectObject select(canvas.dc(), font.Get());
    std::u16string many;
    for (char16_t c = 0x4E00; c < 0x4E00 + 3 * text::RealizedFont::kMaxCachedGlyphs; ++c)
        many.push_back(c);
    for (std::size_t at = 0; at < many.size(); at += 100) {
        SIZE size{};
        GetTextExtentPoint32W(canvas.dc(), many.data() + at, 100, &size);
    }
    const auto realized = LookupGdiObjectAs<Font>(font.Get())->Realized();
    EXPECT_LE(realized->CachedGlyphCount(), text::RealizedFont::kMaxCachedGlyphs + 100);
}

}  // namespace
}  // namespace platform::test
