#include "platform/rights/common/base64.h"

#include <array>

namespace platform::rights {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
    std::array<std::int8_t, 256> table{};
    for (auto& entry : table)
        entry = -1;
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}
constexpr std::array<std::int8_t, 256> kDecode = MakeDecodeTable();

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text) {
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    int filled = 0;
    int padding = 0;
    for (const char c : text) {
        if (IsSpace(c))
            continue;
        if (c == '=') {
            // Padding only ends a group: at most two, after at least two data characters.
            if (filled < 2 || ++padding > 2)
                return std::nullopt;
            group <<= 6;
            ++filled;
        } else {
            const std::int8_t value = kDecode[static_cast<unsigned char>(c)];
            if (value < 0 || padding > 0)
                return std::nullopt;
            group = (group << 6) | static_cast<std::uint32_t>(value);
            ++filled;
        }
        if (filled == 4) {
            out.push_back(static_cast<std::uint8_t>(group >> 16));
            if (padding < 2)
                out.push_back(static_cast<std::uint8_t>(group >> 8));
            if (padding < 1)
                out.push_back(static_cast<std::uint8_t>(group));
            group = 0;
            filled = 0;
            if (padding > 0)
                padding = 3;  // nothing may follow a padded group
        }
    }
    if (filled != 0)
        return std::nullopt;
    return out;
}

std::string EncodeBase64(const std::uint8_t* data, std::size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (std::size_t i = 0; i < size; i += 3) {
        const std::size_t left = size - i;
        const std::uint32_t group = (std::uint32_t(data[i]) << 16) |
                                    (left > 1 ? std::uint32_t(data[i + 1]) << 8 : 0) |
                                    (left > 2 ? std::uint32_t(data[i + 2]) : 0);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        out += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return out;
}

}  // namespace platform::rights
