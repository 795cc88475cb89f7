#include "platform/imaging/objects/palette_io.h"

#include <algorithm>
#include <cstddef>

namespace platform::imaging {

ColorPalette* NewColorPalette(const Palette& palette) {
    const std::size_t count = palette.entries.size();
    const std::size_t bytes = offsetof(ColorPalette, Entries) + std::max<std::size_t>(count, 1) * 4;
    auto* out = static_cast<ColorPalette*>(CoTaskMemAlloc(bytes));
    if (!out)
        return nullptr;
    out->Flags = palette.flags;
    out->Count = static_cast<UINT>(count);
    std::copy(palette.entries.begin(), palette.entries.end(), out->Entries);
    return out;
}

HRESULT ReadColorPalette(const ColorPalette* from, Palette* to) {
    if (!from || from->Count > 256)
        return E_INVALIDARG;
    to->flags = from->Flags;
    to->entries.assign(from->Entries, from->Entries + from->Count);
    return S_OK;
}

Palette GreyPalette() {
    Palette grey;
    grey.flags = PALFLAG_GRAYSCALE;
    grey.entries.resize(256);
    for (UINT i = 0; i < 256; ++i)
        grey.entries[i] = 0xFF000000u | (i << 16) | (i << 8) | i;
    return grey;
}

}  // namespace platform::imaging
