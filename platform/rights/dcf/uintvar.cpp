#include "platform/rights/dcf/uintvar.h"

namespace platform::rights {

bool DecodeUintvar(const std::uint8_t* data, std::size_t size, std::uint32_t& value,
                   std::size_t& consumed) {
    std::uint64_t result = 0;
    for (std::size_t i = 0; i < size && i < kMaxUintvarBytes; ++i) {
        result = (result << 7) | (data[i] & 0x7Fu);
        if ((data[i] & 0x80u) == 0) {
            if (result > UINT32_MAX)
                return false;
            value = static_cast<std::uint32_t>(result);
            consumed = i + 1;
            return true;
        }
    }
    return false;
}

void AppendUintvar(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[kMaxUintvarBytes];
    std::size_t count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7Fu);
        value >>= 7;
    } while (value != 0);
    while (count > 1)
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80u));
    out.push_back(groups[0]);
}

}  // namespace platform::rights
