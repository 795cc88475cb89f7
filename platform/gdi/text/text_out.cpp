// ExtTextOutW and TextOutW.
#include <limits>
#include <vector>

#include "platform/core/error.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/raster.h"
#include "platform/gdi/text/layout.h"
#include "platform/gdi/text/text_call.h"

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx) {
    if (count > UINT(std::numeric_limits<int>::max()) || (!text && count != 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto call = platform::text::BeginTextCall(hdc);
    if (!call)
        return FALSE;
    platform::Box clip = call->Clip();
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        const platform::Box box = call->ToDevice(*rect);
        if (options & ETO_OPAQUE) {
            const platform::Box fill = box.Intersect(clip);
            if (!fill.Empty() && !call->target.pixels.Empty())
                platform::raster::Fill(call->target.pixels, fill.ToRect(),
                                       call->attributes.bkColor);
        }
        if (options & ETO_CLIPPED)
            clip = clip.Intersect(box);
    }
    if (count == 0)
        return TRUE;

    std::vector<std::uint8_t> units;
    const std::u32string chars =
        platform::text::DecodeUtf16(std::u16string_view(text, count), dx ? &units : nullptr);
    // The caller's spacing is per code unit; a surrogate pair moves by both of its entries.
    std::vector<int> advances;
    if (dx) {
        advances.reserve(chars.size());
        std::size_t unit = 0;
        for (const std::uint8_t n : units) {
            advances.push_back(n == 2 ? dx[unit] + dx[unit + 1] : dx[unit]);
            unit += n;
        }
    }
    platform::text::RealizedFont::Session glyphs(*call->font);
    platform::text::Span span;
    span.x = x;
    span.y = y;
    span.chars = chars;
    span.advances = dx ? advances.data() : nullptr;
    platform::text::DrawSpan(*call, glyphs, span, clip);
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}
