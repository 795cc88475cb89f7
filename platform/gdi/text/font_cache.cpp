// Realised fonts shared between font handles: the program creates its fonts afresh on many
// paints, so the faces of recently used LOGFONTs are kept rather than reopened each time.
#include <algorithm>
#include <cstring>
#include <list>

#include "platform/core/no_destructor.h"
#include "platform/display/display.h"
#include "platform/gdi/text/realized_font.h"

namespace platform {
namespace {

constexpr std::size_t kKeptFonts = 24;

// Escapement and orientation do not change how the text layer draws, so they are not compared.
bool SameRealization(const LOGFONTW& a, const LOGFONTW& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic && a.lfUnderline == b.lfUnderline &&
           a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           std::memcmp(a.lfFaceName, b.lfFaceName, sizeof a.lfFaceName) == 0;
}

class FontCache {
  public:
    std::shared_ptr<text::RealizedFont> Get(const LOGFONTW& log) {
        std::lock_guard lock(mutex_);
        const auto it = std::find_if(recent_.begin(), recent_.end(), [&](const auto& font) {
            return SameRealization(font->Log(), log);
        });
        if (it != recent_.end()) {
            recent_.splice(recent_.begin(), recent_, it);
            return recent_.front();
        }
        auto font = text::RealizedFont::Create(log, GetDisplay().Profile().dpi);
        if (font) {
            recent_.push_front(font);
            if (recent_.size() > kKeptFonts)
                recent_.pop_back();
        }
        return font;
    }

  private:
    std::mutex mutex_;
    std::list<std::shared_ptr<text::RealizedFont>> recent_;
};

FontCache& TheFontCache() {
    static NoDestructor<FontCache> cache;
    return *cache;
}

}  // namespace

std::shared_ptr<text::RealizedFont> Font::Realized() const {
    std::lock_guard lock(realizeMutex_);
    if (!realized_)
        realized_ = TheFontCache().Get(log_);
    return realized_;
}

}  // namespace platform
