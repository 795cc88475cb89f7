// A font made real: its face opened and sized through FreeType, its metrics, the fallback faces
// it has needed so far and a bounded cache of rendered glyphs.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/gdi/text/font_match.h"
#include "platform/gdi/text/font_metrics.h"
#include "platform/gdi/text/freetype_handles.h"

namespace platform::text {

// A rendered glyph: coverage 0-255 in rows of `width` bytes, placed at (pen x + left,
// baseline - top); the pen then moves by `advance`.
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<std::uint8_t> coverage;
};

class RealizedFont {
  public:
    // Null when no installed font can be opened.
    static std::shared_ptr<RealizedFont> Create(const LOGFONTW& log, int dpi);

    const TEXTMETRICW& Metrics() const { return scale_.metrics; }
    const FontScale& Scale() const { return scale_; }
    const LOGFONTW& Log() const { return log_; }

    // Holds the font's lock while a call looks glyphs up and draws them; references handed out
    // stay valid until the session ends (the cache is trimmed only when a session starts).
    class Session {
      public:
        explicit Session(RealizedFont& font);
        const Glyph& Get(char32_t codePoint);
        int Advance(char32_t codePoint) { return Get(codePoint).advance; }

      private:
        RealizedFont& font_;
        std::unique_lock<std::mutex> lock_;
    };

    // Glyphs kept before the cache is emptied; a bound, not a working-set estimate.
    static constexpr std::size_t kMaxCachedGlyphs = 2048;
    std::size_t CachedGlyphCount() {
        std::lock_guard lock(mutex_);
        return glyphs_.size();
    }

    struct PrivateTag {};
    explicit RealizedFont(PrivateTag) {}
    RealizedFont(const RealizedFont&) = delete;
    RealizedFont& operator=(const RealizedFont&) = delete;

  private:
    struct SizedFace {
        FaceSource source;
        FtFacePtr face;
    };

    void TrimCache();
    const Glyph& Load(char32_t codePoint);
    // The face that has `codePoint`: the primary, a fallback, or the primary's missing glyph.
    std::pair<SizedFace*, FT_UInt> FaceFor(char32_t codePoint);
    SizedFace* AddFallback(const FaceSource& source);
    Glyph Render(SizedFace& face, FT_UInt index);

    LOGFONTW log_{};
    FaceRequest request_;
    FontScale scale_;
    bool mono_ = false;
    std::mutex mutex_;
    SizedFace primary_;
    std::deque<SizedFace> fallbacks_;
    std::deque<Glyph> glyphs_;
    std::array<const Glyph*, 256> latin_{};
    std::unordered_map<char32_t, const Glyph*> others_;
};

}  // namespace platform::text
