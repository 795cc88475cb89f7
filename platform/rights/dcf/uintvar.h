// Variable-length unsigned integers as WAP carries them: seven bits a byte, most significant
// first, the high bit set on every byte but the last.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::rights {

// The longest encoding of a 32-bit value; anything longer is malformed.
inline constexpr std::size_t kMaxUintvarBytes = 5;

// Reads one value from the front of `data`. False when the bytes end before the last byte, the
// encoding runs past five bytes, or the value needs more than 32 bits; `value` and `consumed`
// are left untouched then.
bool DecodeUintvar(const std::uint8_t* data, std::size_t size, std::uint32_t& value,
                   std::size_t& consumed);

// Appends the shortest encoding of `value`.
void AppendUintvar(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace platform::rights
