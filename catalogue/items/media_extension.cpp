#include "catalogue/items/media_extension.h"

#include "platform/core/wstring.h"

namespace catalogue_items {

std::u16string_view LastExtension(LPCWSTR name) {
    if (name == nullptr)
        return {};
    const std::u16string_view text(name);
    const std::size_t dot = text.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : text.substr(dot);
}

bool ExtensionIn(std::u16string_view extension, std::span<const char16_t* const> list,
                 bool ignoreCase) {
    if (extension.empty())
        return false;
    for (const char16_t* entry : list) {
        if (ignoreCase ? platform::EqualsNoCase(extension, entry) : extension == entry)
            return true;
    }
    return false;
}

}  // namespace catalogue_items
