#include "platform/services/haptics/ivt.h"

#include <algorithm>

namespace platform::haptics {
namespace {

constexpr int kMaxLevel = 10000;

std::uint16_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

// The parts of a block whose header and size checked out.
struct IvtLayout {
    int count = 0;
    std::span<const std::uint8_t> offsets;  // count u16 offsets into `storage`
    std::span<const std::uint8_t> storage;
};

std::optional<IvtLayout> ReadLayout(std::span<const std::uint8_t> bytes) {
    const std::optional<std::size_t> declared = IvtDeclaredSize(bytes);
    if (!declared || bytes.size() < *declared)
        return std::nullopt;
    IvtLayout layout;
    layout.count = U16(bytes, 2);
    const std::size_t storageSize = U16(bytes, 4);
    layout.offsets = bytes.subspan(kIvtHeaderBytes, 2 * std::size_t(layout.count));
    layout.storage = bytes.subspan(kIvtHeaderBytes + layout.offsets.size(), storageSize);
    return layout;
}

// The bytes of effect `index` from its offset to the end of the storage.
std::optional<std::span<const std::uint8_t>> EffectBytes(const IvtLayout& layout, int index) {
    if (index < 0 || index >= layout.count)
        return std::nullopt;
    const std::size_t offset = U16(layout.offsets, 2 * std::size_t(index));
    if (offset >= layout.storage.size())
        return std::nullopt;
    return layout.storage.subspan(offset);
}

std::optional<IvtEffect> ReadBasis(std::span<const std::uint8_t> e) {
    if (e.size() < kIvtBasisBytes)
        return std::nullopt;
    const int duration = U16(e, 2);
    const int magnitude = U16(e, 4);
    const int attackTime = U16(e, 8);
    const int attackLevel = U16(e, 10);
    const int fadeTime = U16(e, 12);
    const int fadeLevel = U16(e, 14);
    if (magnitude > kMaxLevel || attackLevel > kMaxLevel || fadeLevel > kMaxLevel)
        return std::nullopt;
    if (e[0] == kIvtPeriodic && U16(e, 6) == 0)
        return std::nullopt;  // a periodic effect needs a period
    IvtEffect effect{duration, magnitude};
    if (attackTime > 0)
        effect.magnitude = std::max(effect.magnitude, attackLevel);
    if (fadeTime > 0)
        effect.magnitude = std::max(effect.magnitude, fadeLevel);
    return effect;
}

bool IsBasis(std::uint8_t kind) {
    return kind == kIvtMagSweep || kind == kIvtPeriodic;
}

// A timeline launches basis effects only, so reading one never recurses.
std::optional<IvtEffect> ReadTimeline(const IvtLayout& layout, std::span<const std::uint8_t> e) {
    if (e.size() < 2 || e[1] == 0)
        return std::nullopt;
    const std::size_t launches = e[1];
    if (e.size() < 2 + 4 * launches)
        return std::nullopt;
    IvtEffect total;
    for (std::size_t i = 0; i < launches; ++i) {
        const int start = U16(e, 2 + 4 * i);
        const auto target = EffectBytes(layout, U16(e, 4 + 4 * i));
        if (!target || !IsBasis((*target)[0]))
            return std::nullopt;
        const std::optional<IvtEffect> basis = ReadBasis(*target);
        if (!basis)
            return std::nullopt;
        total.durationMs = std::max(total.durationMs, start + basis->durationMs);
        total.magnitude = std::max(total.magnitude, basis->magnitude);
    }
    return total;
}

}  // namespace

std::optional<std::size_t> IvtDeclaredSize(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kIvtHeaderBytes || bytes[0] != 1 || bytes[1] != 0)
        return std::nullopt;
    const std::size_t count = U16(bytes, 2);
    if (count == 0)
        return std::nullopt;
    return kIvtHeaderBytes + 4 * count + U16(bytes, 4) + U16(bytes, 6);
}

std::optional<IvtEffect> ReadIvtEffect(std::span<const std::uint8_t> bytes, int index) {
    const std::optional<IvtLayout> layout = ReadLayout(bytes);
    if (!layout)
        return std::nullopt;
    const auto effect = EffectBytes(*layout, index);
    if (!effect)
        return std::nullopt;
    if (IsBasis((*effect)[0]))
        return ReadBasis(*effect);
    if ((*effect)[0] == kIvtTimeline)
        return ReadTimeline(*layout, *effect);
    return std::nullopt;
}

}  // namespace platform::haptics
