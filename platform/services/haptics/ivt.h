// Reading IVT effect blocks. A block is little-endian:
//   header (8 bytes): format 1.0, effect count N (u16), effect storage size S (u16), name storage
//                     size M (u16)
//   N effect offsets (u16, into the effect storage), the effect storage (S bytes),
//   N name offsets (u16, into the name storage), the name storage (M bytes)
// so a block is 8 + 4N + S + M bytes. Effects in the storage:
//   basis effect (16 bytes): kind 0x20 (magnitude sweep) or 0x30 (periodic), style, then u16
//                            duration ms, magnitude, period ms, attack time, attack level, fade
//                            time, fade level
//   timeline (2 + 4n bytes): kind 0xF1, launch count n, then n times u16 start ms, u16 index of
//                            a basis effect in the same block
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace platform::haptics {

constexpr std::uint8_t kIvtMagSweep = 0x20;
constexpr std::uint8_t kIvtPeriodic = 0x30;
constexpr std::uint8_t kIvtTimeline = 0xF1;
constexpr std::size_t kIvtHeaderBytes = 8;
constexpr std::size_t kIvtBasisBytes = 16;

// What playing one effect does.
struct IvtEffect {
    int durationMs = 0;  // until the last launched basis effect ends
    int magnitude = 0;   // the strongest level reached, 0..10000
};

// The size the header declares, when the header is readable from `bytes`.
std::optional<std::size_t> IvtDeclaredSize(std::span<const std::uint8_t> bytes);

// Effect `index` of the block; nullopt when the block is malformed, `bytes` is shorter than the
// size it declares, or there is no such effect.
std::optional<IvtEffect> ReadIvtEffect(std::span<const std::uint8_t> bytes, int index);

}  // namespace platform::haptics
