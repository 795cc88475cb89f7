#include "platform/registry/reg_names.h"

#include "platform/core/wstring.h"
#include "platform/registry/registry.h"

namespace platform::registry {

Bytes EncodeName(std::u16string_view name) {
    Bytes out;
    out.reserve(name.size() * 2);
    for (char16_t unit : name) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return out;
}

std::u16string DecodeName(std::span<const std::uint8_t> stored) {
    std::u16string name;
    name.reserve(stored.size() / 2);
    for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
        name.push_back(static_cast<char16_t>(stored[i] | (stored[i + 1] << 8)));
    }
    return name;
}

Bytes FoldName(std::u16string_view name) {
    Bytes out;
    out.reserve(name.size() * 2);
    for (char16_t unit : name) {
        const char16_t upper = platform::ToUpperChar(unit);
        out.push_back(static_cast<std::uint8_t>(upper >> 8));
        out.push_back(static_cast<std::uint8_t>(upper & 0xFF));
    }
    return out;
}

bool SplitKeyPath(std::u16string_view path, std::vector<std::u16string>& names) {
    names.clear();
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos)
            end = path.size();
        if (end - start > kMaxRegistryKeyNameLength)
            return false;
        if (end > start)
            names.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

}  // namespace platform::registry
