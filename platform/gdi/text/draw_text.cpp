// DrawTextW: lays text out in a rectangle (prefixes, line breaks, word breaking, end ellipsis,
// alignment) and draws it, or with DT_CALCRECT measures it.
#include <algorithm>
#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/text/layout.h"
#include "platform/gdi/text/text_call.h"

namespace {

using platform::text::TextLine;

constexpr char32_t kEllipsisText[] = {platform::text::kEllipsis, 0};

std::int64_t LineLeft(const RECT& rect, const TextLine& line, UINT format) {
    if (format & DT_CENTER)
        return (std::int64_t(rect.left) + rect.right - line.width) / 2;
    if (format & DT_RIGHT)
        return std::int64_t(rect.right) - line.width;
    return rect.left;
}

// DT_VCENTER and DT_BOTTOM place single-line text only, as GDI does.
std::int64_t TextTop(const RECT& rect, std::int64_t height, UINT format) {
    if (!(format & DT_SINGLELINE))
        return rect.top;
    if (format & DT_VCENTER)
        return (std::int64_t(rect.top) + rect.bottom - height) / 2;
    if (format & DT_BOTTOM)
        return std::int64_t(rect.bottom) - height;
    return rect.top;
}

void DrawLines(const platform::text::TextCall& call, platform::text::RealizedFont::Session& glyphs,
               std::u32string_view chars, const std::vector<TextLine>& lines, const RECT& rect,
               UINT format, std::int64_t top, int lineHeight) {
    platform::Box clip = call.Clip();
    if (!(format & DT_NOCLIP))
        clip = clip.Intersect(call.ToDevice(rect));
    std::int64_t y = top;
    for (const TextLine& line : lines) {
        platform::text::Span span;
        span.x = LineLeft(rect, line, format);
        span.y = y;
        span.chars = chars.substr(line.start, line.end - line.start);
        span.underline = line.underline;
        platform::text::DrawSpan(call, glyphs, span, clip);
        if (line.ellipsis) {
            span.x += line.width - glyphs.Advance(platform::text::kEllipsis);
            span.chars = kEllipsisText;
            span.underline = -1;
            platform::text::DrawSpan(call, glyphs, span, clip);
        }
        y += lineHeight;
    }
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    std::size_t length = 0;
    if (!platform::text::ResolveLength(text, count, length))
        return 0;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto call = platform::text::BeginTextCall(hdc);
    if (!call)
        return 0;
    if (length == 0) {
        if (format & DT_CALCRECT) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return 0;
    }
    const TEXTMETRICW& tm = call->font->Metrics();
    const int lineHeight =
        tm.tmHeight + ((format & DT_EXTERNALLEADING) ? int(tm.tmExternalLeading) : 0);

    platform::text::PrefixedText prefixed = platform::text::ApplyPrefixes(
        platform::text::DecodeUtf16(std::u16string_view(text, length)), format);
    platform::text::RealizedFont::Session glyphs(*call->font);
    std::vector<int> advances(prefixed.chars.size());
    std::transform(prefixed.chars.begin(), prefixed.chars.end(), advances.begin(),
                   [&](char32_t c) { return glyphs.Advance(c); });
    const platform::text::LayoutInput input{prefixed.chars, advances, prefixed.underline,
                                            glyphs.Advance(platform::text::kEllipsis)};
    const auto width = static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t(rect->right) - rect->left, INT32_MIN, INT32_MAX));
    const std::vector<TextLine> lines = platform::text::BreakLines(input, format, width);

    const std::int64_t height = std::int64_t(lineHeight) * std::int64_t(lines.size());
    const auto result = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, line.width);
        rect->right = result(std::int64_t(rect->left) + widest);
        rect->bottom = result(std::int64_t(rect->top) + height);
        return result(height);
    }
    const std::int64_t top = TextTop(*rect, height, format);
    DrawLines(*call, glyphs, prefixed.chars, lines, *rect, format, top, lineHeight);
    if (format & (DT_VCENTER | DT_BOTTOM) && (format & DT_SINGLELINE))
        return result(top + height - rect->top);
    return result(height);
}
