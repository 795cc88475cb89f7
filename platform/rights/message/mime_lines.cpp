#include "platform/rights/message/mime_lines.h"

#include <algorithm>
#include <string>

namespace platform::rights::mime {
namespace {

bool IsBoundaryChar(char c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return true;
    return std::string_view("'()+_,-./:=? ").find(c) != std::string_view::npos;
}

// After "--boundary": optional spaces or tabs, then a line end. Returns the byte after it.
std::optional<std::size_t> SkipPaddingToLineEnd(std::string_view data, std::size_t pos) {
    while (pos < data.size() && (data[pos] == ' ' || data[pos] == '\t'))
        ++pos;
    if (pos < data.size() && data[pos] == '\n')
        return pos + 1;
    if (pos + 1 < data.size() && data[pos] == '\r' && data[pos + 1] == '\n')
        return pos + 2;
    return std::nullopt;
}

}  // namespace

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t';
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

bool IsValidBoundary(std::string_view boundary) {
    if (boundary.empty() || boundary.size() > kMaxBoundaryLength || boundary.back() == ' ')
        return false;
    return std::all_of(boundary.begin(), boundary.end(), IsBoundaryChar);
}

std::optional<Line> ReadLine(std::string_view data, std::size_t pos, std::size_t maxLength) {
    if (pos > data.size())
        return std::nullopt;
    // Look no further than the longest allowed line plus its CR LF.
    const std::string_view window = data.substr(pos, maxLength + 2);
    const std::size_t lf = window.find('\n');
    if (lf == std::string_view::npos)
        return std::nullopt;
    std::string_view text = window.substr(0, lf);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    if (text.size() > maxLength)
        return std::nullopt;
    return Line{text, pos + lf + 1};
}

std::optional<OpeningLine> ReadOpeningLine(std::string_view data) {
    const auto line = ReadLine(data, 0, kMaxLineLength);
    if (!line || line->text.size() < 2 || line->text.substr(0, 2) != "--")
        return std::nullopt;
    // Trailing spaces are transport padding: a boundary never ends in a space.
    std::string_view boundary = line->text.substr(2);
    while (!boundary.empty() && IsWhitespace(boundary.back()))
        boundary.remove_suffix(1);
    if (!IsValidBoundary(boundary))
        return std::nullopt;
    const bool crlf = line->next >= 2 && data[line->next - 2] == '\r';
    return OpeningLine{boundary, crlf ? LineEnd::Crlf : LineEnd::Lf, line->next};
}

std::optional<Delimiter> FindDelimiter(std::string_view data, std::size_t from,
                                       std::string_view boundary, LineEnd lineEnd) {
    std::string pattern = lineEnd == LineEnd::Crlf ? "\r\n--" : "\n--";
    pattern += boundary;
    for (std::size_t at = data.find(pattern, from); at != std::string_view::npos;
         at = data.find(pattern, at + 1)) {
        const std::size_t after = at + pattern.size();
        if (data.substr(after, 2) == "--")
            return Delimiter{at, after + 2, true};
        if (const auto next = SkipPaddingToLineEnd(data, after))
            return Delimiter{at, *next, false};
    }
    return std::nullopt;
}

}  // namespace platform::rights::mime
