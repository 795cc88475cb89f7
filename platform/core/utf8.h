// UTF-8 and UTF-16 code-point helpers shared by the string conversions, the formatter and the
// JSON writer. Header-only so that the formatter's hot loop can inline them.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::utf {

constexpr char32_t kReplacement = 0xFFFD;

constexpr bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Decodes one code point at `pos` and advances past it. An ill-formed sequence (overlong form,
// encoded surrogate, value above U+10FFFF, truncated sequence) yields U+FFFD and skips only its
// maximal well-formed prefix, so that the next valid character is never swallowed.
inline char32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(pos++);
    if (lead < 0x80)
        return lead;
    int more;
    char32_t cp;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2, cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3, cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < more; ++i) {
        if (pos >= text.size())
            return kReplacement;
        const unsigned next = byte(pos);
        if (next < low || next > high)
            return kReplacement;
        low = 0x80, high = 0xBF;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    return cp;
}

// Decodes one code point from UTF-16 at `pos` and advances past it; a lone surrogate is U+FFFD.
inline char32_t DecodeUtf16(std::u16string_view text, std::size_t& pos) {
    const char32_t unit = text[pos++];
    if (!IsSurrogate(unit))
        return unit;
    if (IsHighSurrogate(unit) && pos < text.size() && IsLowSurrogate(text[pos])) {
        return 0x10000 + ((unit - 0xD800) << 10) + (text[pos++] - 0xDC00);
    }
    return kReplacement;
}

// Writes `cp` as UTF-8 into `out` (room for 4 bytes) and returns the byte count.
inline int EncodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

// Writes `cp` as UTF-16 into `out` (room for 2 units) and returns the unit count.
inline int EncodeUtf16(char32_t cp, char16_t* out) {
    if (cp < 0x10000) {
        out[0] = static_cast<char16_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

}  // namespace platform::utf
