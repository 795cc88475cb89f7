#include "demo/wbmp_writer.h"

namespace demo {

namespace {

// Multi-byte integers: 7 bits a byte, most significant first, the high bit marking "more".
void PutMultiByte(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count-- > 0)
        out.push_back(static_cast<std::uint8_t>(groups[count] | (count > 0 ? 0x80 : 0)));
}

}  // namespace

std::vector<std::uint8_t> EncodeWbmp(const Pixels& pixels) {
    std::vector<std::uint8_t> out = {0, 0};  // type 0, fixed header 0
    PutMultiByte(out, static_cast<std::uint32_t>(pixels.width));
    PutMultiByte(out, static_cast<std::uint32_t>(pixels.height));
    for (int y = 0; y < pixels.height; ++y) {
        std::uint8_t byte = 0;
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint32_t p = pixels.At(x, y);
            const std::uint32_t luma =
                (((p >> 16) & 0xFF) * 299 + ((p >> 8) & 0xFF) * 587 + (p & 0xFF) * 114) / 1000;
            if (luma >= 128)
                byte |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            if (x % 8 == 7 || x == pixels.width - 1) {
                out.push_back(byte);
                byte = 0;
            }
        }
    }
    return out;
}

}  // namespace demo
