#include "platform/gdi/pixel_convert.h"

#include <cstring>

namespace platform {
namespace {

template <typename From, typename To>
void ConvertRow(const std::uint8_t* source, std::uint8_t* dest, int count) {
    if constexpr (From::kFormat == To::kFormat) {
        std::memmove(dest, source, static_cast<std::size_t>(count) * From::kBytes);
    } else {
        for (int i = 0; i < count; ++i) {
            const std::uint32_t v = From::Load(source);
            To::Store(dest, To::FromRgb(From::Red(v), From::Green(v), From::Blue(v)));
            source += From::kBytes;
            dest += To::kBytes;
        }
    }
}

template <typename From>
ConvertRowFn ConverterFrom(PixelFormat to) {
    return WithPixelTraits(
        to, [](auto toTraits) -> ConvertRowFn { return &ConvertRow<From, decltype(toTraits)>; });
}

}  // namespace

ConvertRowFn RowConverter(PixelFormat from, PixelFormat to) {
    return WithPixelTraits(
        from, [to](auto fromTraits) { return ConverterFrom<decltype(fromTraits)>(to); });
}

}  // namespace platform
