// DrawText's layout, apart from fonts and pixels: prefix characters, line breaks, word breaking
// and end ellipses over code points whose advances the caller has measured.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/types.h"

namespace platform::text {

constexpr char32_t kEllipsis = U'\u2026';

// Code points of UTF-16 text; a lone surrogate becomes U+FFFD. `unitsOut`, when given, receives
// how many code units each code point took.
std::u32string DecodeUtf16(std::u16string_view text, std::vector<std::uint8_t>* unitsOut = nullptr);

struct PrefixedText {
    std::u32string chars;
    // Index into `chars` of the character shown underlined, or -1.
    int underline = -1;
};

// Without DT_NOPREFIX, "&x" shows x underlined (the last such x is the one underlined), "&&"
// shows "&" and a final lone "&" shows nothing.
PrefixedText ApplyPrefixes(std::u32string chars, UINT format);

// One line to draw: chars [start, end) of the text, then U+2026 when `ellipsis` is set.
struct TextLine {
    std::size_t start = 0;
    std::size_t end = 0;
    bool ellipsis = false;
    int width = 0;
    // Index within the line of the prefix-underlined character, or -1.
    int underline = -1;
};

struct LayoutInput {
    std::u32string_view chars;
    std::span<const int> advances;  // one per char
    int underline = -1;
    int ellipsisAdvance = 0;
};

// Lines for `format` within `maxWidth`: DT_SINGLELINE keeps one line; otherwise CR, LF and
// CR LF end lines (a final one starts no new line) and DT_WORDBREAK wraps at spaces, breaking a
// word that is wider than a line by itself. DT_END_ELLIPSIS and DT_WORD_ELLIPSIS shorten a line
// that does not fit to the longest prefix that fits with U+2026 after it.
std::vector<TextLine> BreakLines(const LayoutInput& input, UINT format, int maxWidth);

}  // namespace platform::text
