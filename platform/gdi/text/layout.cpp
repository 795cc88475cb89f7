#include "platform/gdi/text/layout.h"

#include <algorithm>

#include "platform/core/utf8.h"
#include "platform/gdi/text.h"

namespace platform::text {
namespace {

constexpr UINT kEllipsisFormats = DT_END_ELLIPSIS | DT_WORD_ELLIPSIS;

class LineBuilder {
  public:
    LineBuilder(const LayoutInput& input, UINT format, int maxWidth)
        : in_(input), format_(format), maxWidth_(maxWidth) {}

    std::vector<TextLine> Build() {
        if (format_ & DT_SINGLELINE) {
            Emit(0, in_.chars.size());
            return std::move(lines_);
        }
        std::size_t pos = 0;
        const std::size_t n = in_.chars.size();
        do {
            std::size_t end = pos;
            while (end < n && in_.chars[end] != U'\r' && in_.chars[end] != U'\n')
                ++end;
            Paragraph(pos, end);
            pos = end;
            if (pos < n && in_.chars[pos] == U'\r')
                ++pos;
            if (pos < n && in_.chars[pos] == U'\n')
                ++pos;
        } while (pos < n);
        return std::move(lines_);
    }

  private:
    int Width(std::size_t start, std::size_t end) const {
        int w = 0;
        for (std::size_t i = start; i < end; ++i)
            w += in_.advances[i];
        return w;
    }
    bool IsSpace(std::size_t i) const { return in_.chars[i] == U' '; }

    void Paragraph(std::size_t start, std::size_t end) {
        if (!(format_ & DT_WORDBREAK)) {
            Emit(start, end);
            return;
        }
        std::size_t pos = start;
        do {
            pos = WrapOne(pos, end);
            while (pos < end && IsSpace(pos))
                ++pos;
        } while (pos < end);
    }

    // Emits the line starting at `start` and returns where the next one starts.
    std::size_t WrapOne(std::size_t start, std::size_t end) {
        int width = 0;
        std::size_t lastSpace = end;
        std::size_t i = start;
        for (; i < end; ++i) {
            if (IsSpace(i))
                lastSpace = i;
            else if (width + in_.advances[i] > maxWidth_ && i > start)
                break;
            width += in_.advances[i];
        }
        if (i == end) {
            Emit(start, end);
            return end;
        }
        if (lastSpace != end && lastSpace > start) {
            Emit(start, lastSpace);
            return lastSpace + 1;
        }
        // One word wider than the line. Ellipsis formats cut it; otherwise it breaks where the
        // line is full, so nothing is drawn outside the rectangle.
        if (format_ & kEllipsisFormats) {
            std::size_t wordEnd = i;
            while (wordEnd < end && !IsSpace(wordEnd))
                ++wordEnd;
            const bool lastWord = wordEnd == in_.chars.size();
            Emit(start, wordEnd,
                 (format_ & DT_WORD_ELLIPSIS) || lastWord ? Cut::Ellipsis : Cut::Plain);
            return wordEnd;
        }
        Emit(start, i);
        return i;
    }

    // How an over-wide line is shortened: as the format says, or regardless of it.
    enum class Cut { AsFormat, Ellipsis, Plain };

    void Emit(std::size_t start, std::size_t end, Cut cut = Cut::AsFormat) {
        TextLine line{start, end, false, 0, -1};
        // Spaces where a wrapped line ends take no room.
        if (format_ & DT_WORDBREAK) {
            while (line.end > start && IsSpace(line.end - 1))
                --line.end;
        }
        line.width = Width(start, line.end);
        if (line.width > maxWidth_) {
            if (cut == Cut::Plain)
                Shorten(line, false);
            else if (cut == Cut::Ellipsis || (format_ & kEllipsisFormats))
                Shorten(line, true);
        }
        if (in_.underline >= 0 && std::size_t(in_.underline) >= line.start &&
            std::size_t(in_.underline) < line.end) {
            line.underline = static_cast<int>(std::size_t(in_.underline) - line.start);
        }
        lines_.push_back(line);
    }

    void Shorten(TextLine& line, bool withEllipsis) {
        const int room = maxWidth_ - (withEllipsis ? in_.ellipsisAdvance : 0);
        int width = 0;
        std::size_t keep = line.start;
        while (keep < line.end && width + in_.advances[keep] <= room)
            width += in_.advances[keep++];
        line.end = keep;
        line.ellipsis = withEllipsis;
        line.width = width + (withEllipsis ? in_.ellipsisAdvance : 0);
    }

    const LayoutInput& in_;
    UINT format_;
    int maxWidth_;
    std::vector<TextLine> lines_;
};

}  // namespace

std::u32string DecodeUtf16(std::u16string_view text, std::vector<std::uint8_t>* unitsOut) {
    std::u32string out;
    out.reserve(text.size());
    if (unitsOut)
        unitsOut->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        std::uint8_t units = 1;
        if (utf::IsHighSurrogate(c) && i + 1 < text.size() && utf::IsLowSurrogate(text[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
            units = 2;
        } else if (utf::IsSurrogate(c)) {
            c = utf::kReplacement;
        }
        out.push_back(c);
        if (unitsOut)
            unitsOut->push_back(units);
    }
    return out;
}

PrefixedText ApplyPrefixes(std::u32string chars, UINT format) {
    PrefixedText result;
    if (format & DT_NOPREFIX) {
        result.chars = std::move(chars);
        return result;
    }
    result.chars.reserve(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] != U'&') {
            result.chars.push_back(chars[i]);
            continue;
        }
        if (++i == chars.size())
            break;
        if (chars[i] != U'&' && !(format & DT_HIDEPREFIX))
            result.underline = static_cast<int>(result.chars.size());
        result.chars.push_back(chars[i]);
    }
    return result;
}

std::vector<TextLine> BreakLines(const LayoutInput& input, UINT format, int maxWidth) {
    return LineBuilder(input, format, maxWidth).Build();
}

}  // namespace platform::text
