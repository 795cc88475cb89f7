// Line and boundary handling for the multipart envelope. Every search is bounded by the view it
// is given, so a body that happens to contain boundary-like bytes can mislead but never overrun.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rights/common/ascii.h"

namespace platform::rights::mime {

inline constexpr std::size_t kMaxLineLength = 998;  // excluding the line end
inline constexpr std::size_t kMaxBoundaryLength = 70;

enum class LineEnd { Crlf, Lf };

struct Line {
    std::string_view text;  // without CR LF
    std::size_t next = 0;   // first byte after the line end
};

// The line starting at `pos`; nullopt when it has no LF or is longer than `maxLength`.
std::optional<Line> ReadLine(std::string_view data, std::size_t pos, std::size_t maxLength);

bool IsWhitespace(char c);
std::string ToLower(std::string_view text);
bool IsValidBoundary(std::string_view boundary);

struct OpeningLine {
    std::string_view boundary;
    LineEnd lineEnd = LineEnd::Crlf;  // the style every delimiter of this message uses
    std::size_t next = 0;
};

std::optional<OpeningLine> ReadOpeningLine(std::string_view data);

struct Delimiter {
    std::size_t bodyEnd = 0;  // where the line break before "--boundary" starts
    std::size_t next = 0;     // first byte of the next part (or of the epilogue)
    bool closing = false;     // "--boundary--"
};

// The first real delimiter at or after `from`. Boundary text followed by anything other than
// "--" or padding and a line end is body data, so the search goes on past it.
std::optional<Delimiter> FindDelimiter(std::string_view data, std::size_t from,
                                       std::string_view boundary, LineEnd lineEnd);

}  // namespace platform::rights::mime
