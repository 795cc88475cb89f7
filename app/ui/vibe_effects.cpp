#include "app/ui/vibe_effects.h"

#include <cstdint>
#include <string_view>

namespace {

// One timeline (effect 0) launching one basis effect (effect 1) at time 0, then the two names.
struct TapEffect {
    VibeUInt8 kind;  // 0x30 periodic, 0x20 magnitude sweep
    VibeUInt8 style;
    std::uint16_t durationMs;
    std::uint16_t magnitude;
    std::uint16_t periodMs;
    std::string_view timelineName;
    std::string_view pulseName;
};

constexpr std::size_t kHeader = 8;
constexpr std::size_t kEffects = 2;
constexpr std::size_t kTimelineBytes = 6;
constexpr std::size_t kStorage = kTimelineBytes + 16;
constexpr std::size_t kNames = kVibeBlockBytes - kHeader - 4 * kEffects - kStorage;

class BlockWriter {
  public:
    constexpr void Byte(VibeUInt8 v) { block_[at_++] = v; }
    constexpr void U16(std::size_t v) {
        Byte(static_cast<VibeUInt8>(v & 0xFF));
        Byte(static_cast<VibeUInt8>(v >> 8));
    }
    constexpr void Name(std::string_view text) {
        for (char c : text)
            Byte(static_cast<VibeUInt8>(c));
        Byte(0);
    }
    constexpr std::size_t At() const { return at_; }
    constexpr const VibeBlock& Block() const { return block_; }

  private:
    VibeBlock block_{};
    std::size_t at_ = 0;
};

constexpr VibeBlock MakeTapBlock(const TapEffect& e) {
    BlockWriter w;
    w.Byte(1);  // format 1.0
    w.Byte(0);
    w.U16(kEffects);
    w.U16(kStorage);
    w.U16(kNames);
    w.U16(0);  // effect offsets: the timeline, then the pulse
    w.U16(kTimelineBytes);
    w.Byte(0xF1);  // timeline: one launch of effect 1 at 0 ms
    w.Byte(1);
    w.U16(0);
    w.U16(1);
    w.Byte(e.kind);
    w.Byte(e.style);
    for (std::uint16_t v : {e.durationMs, e.magnitude, e.periodMs, std::uint16_t(0),
                            std::uint16_t(0), std::uint16_t(0), std::uint16_t(0)})
        w.U16(v);
    w.U16(0);  // name offsets
    w.U16(e.timelineName.size() + 1);
    w.Name(e.timelineName);
    w.Name(e.pulseName);
    // The rest of the name storage stays zero.
    return w.At() <= kVibeBlockBytes ? w.Block() : VibeBlock{};
}

constexpr VibeBlock kButtonDown =
    MakeTapBlock({0x30, 1, 30, 10000, 10, "ButtonDown", "ButtonDownPulse"});
constexpr VibeBlock kButtonUp = MakeTapBlock({0x20, 0, 15, 6000, 0, "ButtonUp", "ButtonUpPulse"});
static_assert(kButtonDown[0] == 1 && kButtonUp[0] == 1, "the effect names overflow the block");

}  // namespace

const VibeBlock g_ButtonDownIVT = kButtonDown;
const VibeBlock g_ButtonUpIVT = kButtonUp;
